// The junction rebuild for a new road running through junctions or bends already built: the
// pavement as the union of the new road with the roads around it, whatever their number.
#pragma once

#include <vector>

#include "geometry/KyGeometry.h"
#include "host/db/dbid.h"

// The arc could be a fillet: no wider than largest and at most a half turn.
bool IsFilletSized(const KyGeArc2d& arc, double largest);
// The corner a fillet arc (less than a half turn) rounds: where the tangents at its ends meet.
KyGePoint FilletCorner(const KyGeArc2d& arc);

// The open end of a road: the segment a to b between the free ends of two partner edges (ends
// no other curve of curves meets), and the direction from it into the road.
struct RoadEndCap {
    KyGePoint a, b;
    KyGeVector2d into;
};
std::vector<RoadEndCap> FindRoadEndCaps(const KyGeObjList& curves);

// Rebuilds the road edges ids/curves (the "PLAN-ROAD" lines and arcs near the new road, the
// geometry of ids in the same order) with the new road between edges left and right: the fillet
// arcs the new road reaches are taken out (their lines run on to the corner again), every edge
// is cut where the new edges or the new road's ends cross it, the pieces inside the other roads'
// pavement are dropped (an open road end the new road passes through bounds that pavement and
// stays open), and each corner left is filleted, a new one with the dialog's radius and a former
// one with its former radius; a fillet that would cross another edge is taken back and its
// corner named as left sharp. Writes the centre line when the settings ask for it; where a
// bend's corner is gone, its centre lines (centreIds/centreCurves, "PLAN-ROAD_CENTER" near the
// new road) lose their arc and run on to their corner. False, with nothing written, when the
// pavement around cannot be told (an edge whose pavement side is unknown, a new edge crossing
// nothing) or the pieces would leave an edge end open or cross one another.
bool RebuildAcrossBuiltJunctions(const KyGeCurve2d& left, const KyGeCurve2d& right,
                                 const KyGeCurve2d& centre, const std::vector<AcDbObjectId>& ids,
                                 const KyGeObjList& curves, const std::vector<AcDbObjectId>& centreIds,
                                 const KyGeObjList& centreCurves);
