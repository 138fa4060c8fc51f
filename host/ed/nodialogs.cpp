// Without the dialog layer no dialog can take an event.
#include "host/ed/editorstate.h"

namespace vorn::ed {

DialogEventHandler DefaultDialogHandler() { return nullptr; }

}  // namespace vorn::ed
