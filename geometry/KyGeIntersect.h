// Intersections between curves and the splitting of curves at their mutual crossings.
#pragma once

#include <vector>

#include "geometry/KyGeObject.h"

class KyGeObjList;

// The crossing points of two curves, each point once (within g_distZero), ordered along a.
// Tangency gives one point; collinear or concentric overlaps give the overlap's end points.
std::vector<KyGePoint> KyGeIntersectPoints(const KyGeCurve2d& a, const KyGeCurve2d& b);

// Splits every bounded curve of the list at its crossings with every other curve of the list
// (a polyline is not cut at its own vertices or self-crossings; a closed one is not cut at its
// start vertex). The list is replaced by the pieces, each curve's pieces in place of it in its
// direction of travel; pieces shorter than g_distZero are dropped; unbounded curves and objects
// that are not curves are kept whole. True when anything was split.
bool InterBreakCurve2d(KyGeObjList& curves);
