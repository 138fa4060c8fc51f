// Status codes of platform calls and the small enumerations of the drawing database.
#pragma once

#include <cstdint>

namespace Acad {
// Values are stable: some are written into logs and compared by tests.
enum ErrorStatus {
    eOk = 0,
    eNotImplemented = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eKeyNotFound = 4,
    eDuplicateKey = 5,
    eNullObjectId = 6,
    eNullEntityPointer = 7,
    eWasErased = 8,
    ePermanentlyErased = 9,
    eWasOpenForRead = 10,
    eWasOpenForWrite = 11,
    eNotOpenForWrite = 12,
    eWasNotOpenForWrite = 13,
    eDegenerateGeometry = 14,
    eInvalidIndex = 15,
    eOutOfRange = 16,
    eFilerError = 17,
    eNotAnEntity = 18,
    eNotThatKindOfClass = 19,
    eAlreadyInDb = 20,
    eNotInDatabase = 21,
    eWrongDatabase = 22,
    eCannotScaleNonUniformly = 23,
    eInvalidExtents = 24,
    eWasOpenForUndo = 25,
    eInvalidOwnerObject = 26,
    eNoDatabase = 27,
    eBadDxfSequence = 28,
    eNotClosed = 29,
    eInvalidDxfCode = 30,
    eAmbiguousOutput = 31,
};

// A short English text for a status, for messages ("eWasErased: the object was erased").
const char* errorStatusText(ErrorStatus es);
}  // namespace Acad

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum BoolOperType { kBoolUnite = 0, kBoolIntersect = 1, kBoolSubtract = 2 };
enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
// Unit codes of the drawing header: 0 millimetres, 1 metres.
enum DrawUnit { kUnitMillimeters = 0, kUnitMeters = 1 };
}  // namespace AcDb

// Objects made on the host's heap: the platform's base of heap-allocated classes.
class AcHeapOperators {};
