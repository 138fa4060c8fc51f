// Instantiates every container template once so the whole interface compiles with warnings on.
#include "framework/container/KyArray.h"
#include "framework/container/KyDynArray.h"
#include "framework/container/KyList.h"
#include "framework/container/KyPtrArrays.h"

template class KyDynArray<int>;
template class KyLinkedList<double, false>;
template class KyLinkedList<double, true>;
template class KyList<int>;
template class KyDList<int>;
template class KyXList<int>;
template class KyOwningArray<int, KyDynArray<int*>>;
template class KyOwningArray<int, KyDList<int*>>;
template class KyOwningArray<int, KyXList<int*>>;
template class KyArray<int>;
template class Ky2dArray<int>;
