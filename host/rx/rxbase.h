// The base of run-time objects and the error status of platform calls, as the registry uses them.
#pragma once

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

namespace Acad {
enum ErrorStatus { eOk = 0, eInvalidInput = 3, eKeyNotFound = 4, eDuplicateKey = 5 };
}
