// KyDtLoadBlock while the drawing file reader is not part of the build: every load fails
// with a message, so callers take their no-block path.
#include "framework/core/KyDtBlock.h"

#include <string>

#include "host/ed/aced.h"

AcDbObjectId KyDtLoadBlock(const wchar_t* file, AcDbDatabase*) {
    acutPrintf(L"\nCannot load block \"%s\": this build reads no drawing files.", file ? file : L"");
    return AcDbObjectId::kNull;
}
