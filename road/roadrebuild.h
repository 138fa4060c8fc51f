// The rebuild of the road edge network where a new road segment meets an existing road: which
// kind of junction the two roads make (corner, crossing, tee), the cut edges of both roads, and
// at a corner the join of their centre lines. The existing road's pieces are written to the
// drawing here; the new road's pieces replace its edges in the caller's edge list.
//
// A road is a pair of edges; end 1 of a road is the start of both its edges, end 2 their end.
// e and g are the edges of the crossed (existing) road, g the one the new road crosses; a and b
// are the current left and right pieces of the new road.
#pragma once

#include <memory>
#include <vector>

#include "geometry/KyGeometry.h"
#include "host/db/dbid.h"

class KyGePolyline2d;

// ---- the drawing side of road curves ----

// Writes the curve as a host line or arc on the named layer (made by the layer standard when
// missing); the new id, null when the curve has no entity form.
AcDbObjectId WriteRoadCurve(const KyGeCurve2d& curve, const wchar_t* layer);
// Erases an entity of the drawing; false when it cannot be opened for write.
bool EraseRoadEntity(const AcDbObjectId& id);

// ---- junction kinds ----

// End 1 of the crossed road pairs with end 1 of the new road (the two roads run the same way
// through the junction).
bool RoadsRunAlike(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                   const KyGeCurve2d& b);
// Neither road has an end reaching into the other: the roads pass right through each other.
bool RoadsCrossThrough(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                       const KyGeCurve2d& b);
// Road X1/X2 ends with its end k on road Y1/Y2 (a tee with X as the stem): neither end of Y
// reaches into X and end k of X does. k tried 1 then 2; false when neither holds.
bool FindTeeEnd(const KyGeCurve2d& X1, const KyGeCurve2d& X2, const KyGeCurve2d& Y1,
                const KyGeCurve2d& Y2, int& k);

// ---- rebuild ----

// Rebuilds the junction of the crossed road e/g with the new road's pieces a/b: the straight
// rebuild when neither e nor a is an arc, otherwise the arc rebuild. True when it was rebuilt;
// on false nothing of the edge list has changed.
bool RebuildJunctionEdges(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                          const KyGeCurve2d& b, KyGeObjList& edges, AcDbObjectId& centreLine);
bool RebuildLineJunction(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                         const KyGeCurve2d& b, KyGeObjList& edges, AcDbObjectId& centreLine);
// The arc rebuild looks at both ends of the crossed road in turn, the second on the edges cut at
// the first, and at a crossing of the two roads. False when no junction was found, so that
// nothing is written and the crossed edges stay as they are.
bool RebuildArcJunction(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                        const KyGeCurve2d& b, KyGeObjList& edges, AcDbObjectId& centreLine);

// At a corner (crossed end kC, new end kN), the crossed road's centre line and the new road's
// (centreLine) are trimmed or extended to their common point and written again; centreLine then
// names the new road's new centre line. Nothing when either centre line is not found.
void JoinCornerCenterLines(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                           const KyGeCurve2d& b, int kC, int kN, AcDbObjectId& centreLine);

// ---- shared by the straight and arc rebuilds ----

// The piece of x's line or circle from p to q; null when they coincide.
std::unique_ptr<KyGeCurve2d> ExtendedPiece(const KyGeCurve2d& x, const KyGePoint& p, const KyGePoint& q);
// Each piece turned to run the same way as the first of e, g, a, b that holds it.
void OrientPieces(KyGeObjList& pieces, const KyGeCurve2d& e, const KyGeCurve2d& g,
                  const KyGeCurve2d& a, const KyGeCurve2d& b);
