// The plane geometry library, all of it. Conventions:
// - Units are the drawing's (millimetres on site plans); work is in the XY plane, z is carried.
// - Angles are radians counter-clockwise from +X; GetStdAngle brings them into [0, 2*pi).
// - Parameters are normalised: 0 at a curve's start, 1 at its end, proportional to distance.
//   An unbounded line has 0 and 1 at its two defining points; a full circle goes round once.
// - Sides are taken along the direction of travel: a negative offset lies on the left, a
//   positive one on the right. HitTest bits: 1 on the curve; 2 left of a straight curve or
//   inside an arc's circle, 4 outside it (so 4 is left of a clockwise arc); 4 strictly inside
//   a closed polyline.
// - Ownership: every object returned new is a std::unique_ptr the caller owns; KyGeObjList
//   owns its entries. Nothing returns NaN or infinity: degenerate input gives null/false/empty.
#pragma once

#include "geometry/KyGeArc2d.h"
#include "geometry/KyGeIntersect.h"
#include "geometry/KyGeLine2d.h"
#include "geometry/KyGeMatrix.h"
#include "geometry/KyGeObjList.h"
#include "geometry/KyGeObject.h"
#include "geometry/KyGePoint.h"
#include "geometry/KyGePolyline2d.h"
#include "geometry/KyGeTol.h"
