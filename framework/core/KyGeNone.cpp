// The stream's geometry input while the geometry library is not part of the build: no
// geometry object can exist then, so there is nothing to draw.
#include "framework/core/KyGiStream.h"

KyGiStream& KyGiStream::operator<<(const KyGeObject&) { return *this; }
KyGiStream& KyGiStream::operator<<(const KyGeObject* object) {
    if (object) *this << *object;
    return *this;
}
