// Road corners filleted by the host's FILLET: the pairs of curves to fillet, kept once each,
// and the runs of FILLET that join them.
#pragma once

#include <vector>

#include "geometry/KyGeometry.h"
#include "host/db/dbid.h"

// One corner: two entities and a point on each near the corner (world coordinates).
struct RoadFilletPair {
    AcDbObjectId first, second;
    KyGePoint firstPick, secondPick;
};

// The same corner: no null id, ids and picks matching in the same or the swapped order.
bool operator==(const RoadFilletPair& a, const RoadFilletPair& b);

// FILLETRAD of the working drawing set to radius; false when there is no drawing or it refuses
// the radius (negative or not finite).
bool SetRoadFilletRadius(double radius);

// FILLET on the two entities picked at the two points, prompts hidden; CMDECHO has its former
// value afterwards. Nothing when an id is null or names no entity. The radius is FILLETRAD's.
// A corner FILLET cannot round is left sharp, and one line says where and why.
void RunFillet(const AcDbObjectId& id1, const AcDbObjectId& id2, const KyGePoint& pick1,
               const KyGePoint& pick2);

// The corner left sharp at radius (0: the curves do not meet), on one line: its place (the end
// of curve id next to pick, in the user's coordinates) and why.
void ReportSharpRoadCorner(const AcDbObjectId& id, const KyGePoint& pick, double radius);

// Appends the pair unless the same corner is in the list already.
void AddFilletPair(std::vector<RoadFilletPair>& list, const RoadFilletPair& pair);

// The pairs for every corner that curve k (entity kId) makes with the curves G, the geometry of
// the entities ids (same order): only where they meet at a real corner at a shared end; picks a
// tenth in from the shared ends, or inside the right span when the curves' extensions cross
// twice. Nothing when kId is null.
void CollectCornerFillets(const std::vector<AcDbObjectId>& ids, const KyGeObjList& G,
                          const KyGeCurve2d& k, const AcDbObjectId& kId,
                          std::vector<RoadFilletPair>& out);

// FILLETRAD = radius, then FILLET for each pair in order; nothing when the radius is refused.
void FilletPairs(const std::vector<RoadFilletPair>& list, double radius);

// FILLET of two centre lines where a road (edge pA, centre line N) turns out of another (edge
// cA, centre line O) at pA's start (end 0) or end (end 1) and cA's touchingEnd, at radius.
// The picks lie a tenth in from those ends (the ends swap on a centre line running against its
// edge), or inside the right span when the lines' extensions cross twice. Nothing when an id
// is null, an entity cannot be read, the lines make no real corner or the radius is refused.
void FilletCenterLines(const KyGeCurve2d& pA, const AcDbObjectId& N, const KyGeCurve2d& cA,
                       const AcDbObjectId& O, int end, int touchingEnd, double radius);
