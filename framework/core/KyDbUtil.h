// Drawing services of the framework: adding entities to a drawing, the drawing's unit and
// print scale, user/world coordinate conversions and the framework's number format.
#pragma once

#include <string>

#include "host/db/dbid.h"
#include "host/ed/adsdefs.h"
#include "host/ge/ge.h"

class AcDbDatabase;
class AcDbEntity;

// Appends a new entity (not yet in a drawing) to model space of db (null: the working
// drawing) and, with close 1, closes it; with close 0 it stays open for write for the caller
// to close. Returns its id. When the drawing refuses it (no drawing, non-finite values, an
// entity already in a drawing) the id is null and the entity has been deleted, unless it
// already belonged to a drawing, which then keeps it.
AcDbObjectId AddToModelSpace(AcDbEntity* entity, int close = 1, AcDbDatabase* db = nullptr);
// The same for the current space; this plan host draws in model space only.
AcDbObjectId AddToCurrentSpace(AcDbEntity* entity, int close = 1, AcDbDatabase* db = nullptr);

// Unit code of the drawing (null: the working drawing): 0 millimetres, 1 metres; 0 without
// a drawing.
int KyDbGetDrawUnit(AcDbDatabase* db = nullptr);
// Print scale (100 for 1:100); 1 without a drawing.
double KyDbGetPrintScale(AcDbDatabase* db = nullptr);
// Drawing units per plotted millimetre: the print scale, times 0.001 in a metre drawing.
// Framework symbols and plotted text heights are drawn at their size times this.
double KyDbGetPlotFactor(AcDbDatabase* db = nullptr);

// Points between the user coordinate system and world; disp non-zero converts a
// displacement (no origin shift).
AcGePoint3d UcsToWcs(const AcGePoint3d& point, int disp = 0);
AcGePoint3d WcsToUcs(const AcGePoint3d& point, int disp = 0);
AcGePoint3d UcsToWcs(const ads_point point, int disp = 0);
AcGePoint3d WcsToUcs(const ads_point point, int disp = 0);
// An angle (radians) of the user system as a world angle, and back.
double UcsToWcs(double angle);
double WcsToUcs(double angle);

// The framework's number text: fixed notation rounded to six decimals, trailing zeros and a
// trailing point dropped ("1500", "2.5", "0.333333"), never "-0"; non-finite values give "0".
std::wstring DistToString(double value);
