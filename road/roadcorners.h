// Where two roads meet: the closed outline of a road between its two edges, whether road ends
// reach into another road, the crossings on one side of a corner and which edge pair makes
// the outer corner of a bend.
#pragma once

#include <memory>
#include <vector>

#include "geometry/KyGeometry.h"

// Sides of a curve in these operations: its start end or its end end.
enum : int { kRoadSideStart = 1, kRoadSideEnd = 2 };

// The closed outline of the road between edges a and b: a as it is, then b backwards (its
// arcs as chords). False when either edge has no polyline form.
bool RoadOutline(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePolyline2d& out);
// The same outline with b's arcs kept exact as well.
bool RoadOutlineExact(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePolyline2d& out);

// End `side` of the road a1/a2 reaches into the road whose outline is given: at least one of its
// two end points lies on or inside the outline. An end whose both points lie outside does not.
bool RoadEndMeetsOutline(const KyGeCurve2d& a1, const KyGeCurve2d& a2, int side,
                         const KyGePolyline2d& outline);

// The ends sideA of road a1/a2 and sideB of road b1/b2 reach into each other (a corner, where one
// road begins where the other ends). False when an outline cannot be built.
bool RoadEndsOverlap(const KyGeCurve2d& a1, const KyGeCurve2d& a2, const KyGeCurve2d& b1,
                     const KyGeCurve2d& b2, int sideA, int sideB);

// The crossings of the lines or circles of a and b that lie towards a's start (side 1) or end
// (side 2): of two crossings the one on that side of the line halfway between them; a single
// crossing is always kept.
std::vector<KyGePoint> SideIntersections(const KyGeCurve2d& a, const KyGeCurve2d& b, int side);

// Which of q1 and q2 lies farther along p's line or circle from p's far end (side 1: measured
// back from p's end; side 2: from p's start): result 1 or 2. False when they are as far.
bool FartherCrossing(const KyGePoint& q1, const KyGePoint& q2, const KyGeCurve2d& p, int side,
                     int& result);

// The outer corner where road pA/pB meets road cA/cB at pA's side: 0 when it is the pair
// pA, cA, 1 when it is pB, cB, -1 when that cannot be told. Where pA's line or circle misses
// an edge of cA/cB, the way the road turns tells (OuterCornerByTurn).
int OuterCornerSide(const KyGeCurve2d& pA, const KyGeCurve2d& pB, const KyGeCurve2d& cA,
                    const KyGeCurve2d& cB, int side);

// The outer corner told from the way the road turns at pA's side, for bends whose edges' lines
// or circles do not meet both edges of the other road (a straight road turning gently into an
// arc): 0 when pA with the edge cA it meets there is the outer corner (pA's partner pB lies on
// the side towards which cA turns away), 1 when it is the inner one, -1 when they run straight on.
int OuterCornerByTurn(const KyGeCurve2d& pA, const KyGeCurve2d& pB, const KyGeCurve2d& cA, int side);
