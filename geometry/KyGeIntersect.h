// Intersections between curves and the splitting of curves at their mutual crossings.
#pragma once

#include <vector>

#include "geometry/KyGeObject.h"

class KyGeObjList;

// The crossing points of two curves, each point once (within g_distZero), ordered along a.
// Tangency gives one point; collinear or concentric overlaps give the overlap's end points.
std::vector<KyGePoint> KyGeIntersectPoints(const KyGeCurve2d& a, const KyGeCurve2d& b);

// Splits every curve of the list at its crossings with every other curve of the list (and
// with itself for polylines, at their vertices only). The list is replaced by the pieces, each
// curve's pieces in place of it in its direction of travel; pieces shorter than g_distZero are
// dropped and objects that are not curves are kept as they are. True when anything was split.
bool InterBreakCurve2d(KyGeObjList& curves);
