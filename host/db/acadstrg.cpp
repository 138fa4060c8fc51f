// Texts of the status codes and the handle's file form.
#include <cstdio>

#include "host/db/acadstrg.h"
#include "host/db/dbid.h"

const char* Acad::errorStatusText(ErrorStatus es) {
    switch (es) {
        case eOk: return "eOk: no error";
        case eNotImplemented: return "eNotImplemented: the operation is not available for this object";
        case eNotApplicable: return "eNotApplicable: the operation does not apply to this kind of object";
        case eInvalidInput: return "eInvalidInput: a value was out of range, non-finite or malformed";
        case eKeyNotFound: return "eKeyNotFound: no entry of that name";
        case eDuplicateKey: return "eDuplicateKey: an entry of that name already exists";
        case eNullObjectId: return "eNullObjectId: the object id is null";
        case eNullEntityPointer: return "eNullEntityPointer: no entity was given";
        case eWasErased: return "eWasErased: the object was erased";
        case ePermanentlyErased: return "ePermanentlyErased: the object no longer exists";
        case eWasOpenForRead: return "eWasOpenForRead: the object is open for read elsewhere";
        case eWasOpenForWrite: return "eWasOpenForWrite: the object is open for write";
        case eNotOpenForWrite: return "eNotOpenForWrite: the object must be open for write";
        case eWasNotOpenForWrite: return "eWasNotOpenForWrite: the object was not open for write";
        case eDegenerateGeometry: return "eDegenerateGeometry: the geometry has no extent";
        case eInvalidIndex: return "eInvalidIndex: the index is outside the valid range";
        case eOutOfRange: return "eOutOfRange: the value is outside the valid range";
        case eFilerError: return "eFilerError: the data could not be read or written";
        case eNotAnEntity: return "eNotAnEntity: the object is not an entity";
        case eNotThatKindOfClass: return "eNotThatKindOfClass: the object is of another class";
        case eAlreadyInDb: return "eAlreadyInDb: the object already belongs to a database";
        case eNotInDatabase: return "eNotInDatabase: the object is not in a database";
        case eWrongDatabase: return "eWrongDatabase: the object belongs to another database";
        case eCannotScaleNonUniformly: return "eCannotScaleNonUniformly: this kind cannot follow a non-uniform scale";
        case eInvalidExtents: return "eInvalidExtents: the object has no extents";
        case eWasOpenForUndo: return "eWasOpenForUndo: the object is being undone";
        case eInvalidOwnerObject: return "eInvalidOwnerObject: the owner cannot hold this object";
        case eNoDatabase: return "eNoDatabase: no drawing is open";
        case eBadDxfSequence: return "eBadDxfSequence: the items are not in the expected order";
        case eNotClosed: return "eNotClosed: the curve is not closed";
        case eInvalidDxfCode: return "eInvalidDxfCode: an item has an unexpected code";
        case eAmbiguousOutput: return "eAmbiguousOutput: the result is not unique";
    }
    return "unknown error status";
}

std::wstring AcDbHandle::toString() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(m_value));
    return std::wstring(buf, buf + std::char_traits<char>::length(buf));
}
