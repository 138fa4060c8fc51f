// Which road curves belong together: junction candidates, the two edges of one road, the
// distance between edges, pick points between double crossings and real corners. Roads are
// loose lines and arcs, so these answers are worked out from geometry each time.
#pragma once

#include <vector>

#include "geometry/KyGeometry.h"

// The farthest two edges of one arc road lie apart along their circle, in millimetres (scaled
// to the drawing with KyRoadMm).
constexpr double kRoadPartnerArcGap = 5000.0;

// The points where the lines or circles that a and b lie on cross, in order along a's.
std::vector<KyGePoint> ExtendedCrossings(const KyGeCurve2d& a, const KyGeCurve2d& b);

// A new edge a and an existing curve b can make a junction: not two concentric arcs, not two
// parallel straight curves.
bool IsJunctionCandidate(const KyGeCurve2d& a, const KyGeCurve2d& b);

// c and e are the two edges of one road: parallel straight curves on different lines that
// overlap (not merely touching end to end), or concentric arcs of different radii no more than
// 5000 drawing units apart along their circle.
bool IsPartnerEdge(const KyGeCurve2d& c, const KyGeCurve2d& e);

// R becomes copies of the curves of T whose start lies nearest to x (several when equally near,
// as the collinear pieces of one broken edge are). Nothing when x is null.
void KeepNearestByStart(const KyGeObjList& T, const KyGeCurve2d* x, KyGeObjList& R);

// R: the partner edges of c among L nearest to c's line or circle; false when there are none.
bool FindPartnerEdges(const KyGeObjList& L, const KyGeCurve2d& c, KyGeObjList& R);

// The distance between two edges of one road: from a's start to b's line (straight a), or the
// difference of the radii (two arcs).
double EdgeDistance(const KyGeCurve2d& a, const KyGeCurve2d& b);

// When the extensions of a and b cross exactly twice, a pick point P inside the span between
// the crossings on the curve that holds both: 1 when P is on a, 2 when on b, 0 otherwise.
int TwoCrossingPickPoint(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePoint& P);

// a and b meet at a corner worth a fillet: always for two straight curves; with an arc, only
// at a shared end point and at a real angle, not where one continues the other tangentially.
bool IsRealCorner(const KyGeCurve2d& a, const KyGeCurve2d& b);

// p lies on the pavement of the road between edges left and right (width apart, centre line
// centre), away from the road's ends: between the edges, its foot on the centre line inside it.
bool OnRoadPavement(const KyGePoint& p, const KyGeCurve2d& left, const KyGeCurve2d& right,
                    const KyGeCurve2d& centre, double width);
// The same, and off both edges.
bool InsideRoadPavement(const KyGePoint& p, const KyGeCurve2d& left, const KyGeCurve2d& right,
                        const KyGeCurve2d& centre, double width);
