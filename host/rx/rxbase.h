// The base of run-time objects and the error status of platform calls, as the registry uses
// them: the drawing database's when the host has one.
#pragma once

#ifdef VORN_HAVE_DB
#include "host/db/rxobject.h"
#else
class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

namespace Acad {
enum ErrorStatus { eOk = 0, eInvalidInput = 3, eKeyNotFound = 4, eDuplicateKey = 5 };
}
#endif
