// Road outlines and the sides of road corners, over geometry curves.
#include "road/roadcorners.h"

#include <cmath>

#include "road/roadpredicates.h"
#include "road/roadsettings.h"

namespace {

KyGePoint SidePoint(const KyGeCurve2d& c, int side) {
    return side == kRoadSideStart ? c.GetStartPoint() : c.GetEndPoint();
}

double LengthOf(const std::unique_ptr<KyGeCurve2d>& c) { return c ? c->Length() : 0.0; }

// a kept exact, b linearised at precisionB, then joined backwards into one closed outline.
bool JoinedOutline(const KyGeCurve2d& a, const KyGeCurve2d& b, double precisionB, KyGePolyline2d& out) {
    const std::unique_ptr<KyGePolyline2d> pa = a.PLinearize(0.0);
    if (!pa) return false;
    std::unique_ptr<KyGePolyline2d> pb = b.PLinearize(precisionB);
    if (!pb) return false;
    out.CopyFrom(*pa);
    pb->Reverse();
    for (int i = 0; i < pb->GetVertexNum(); ++i) out.AppendVertex(pb->GetVertex(i), pb->GetBulge(i));
    out.SetClosed(true);
    out.RemoveDupPoint();
    return true;
}

}  // namespace

bool RoadOutline(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePolyline2d& out) {
    return JoinedOutline(a, b, KyRoadMm(g_dLinearDistPrec), out);
}

bool RoadOutlineExact(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePolyline2d& out) {
    return JoinedOutline(a, b, 0.0, out);
}

bool RoadEndMeetsOutline(const KyGeCurve2d& a1, const KyGeCurve2d& a2, int side,
                         const KyGePolyline2d& outline) {
    // A closed outline's hit test answers 0 for a point outside it, on or inside otherwise.
    const auto outside = [&](const KyGePoint& p) { return (outline.HitTest(p) & (kKyGeHitOn | kKyGeHitInside)) == 0; };
    return !(outside(SidePoint(a1, side)) && outside(SidePoint(a2, side)));
}

bool RoadEndsOverlap(const KyGeCurve2d& a1, const KyGeCurve2d& a2, const KyGeCurve2d& b1,
                     const KyGeCurve2d& b2, int sideA, int sideB) {
    KyGePolyline2d outlineA, outlineB;
    if (!RoadOutline(a1, a2, outlineA) || !RoadOutline(b1, b2, outlineB)) return false;
    return RoadEndMeetsOutline(a1, a2, sideA, outlineB) && RoadEndMeetsOutline(b1, b2, sideB, outlineA);
}

std::vector<KyGePoint> SideIntersections(const KyGeCurve2d& a, const KyGeCurve2d& b, int side) {
    const std::vector<KyGePoint> out = ExtendedCrossings(a, b);
    if (out.size() != 2) return out;
    // Two crossings lie on the arc's circle, so the line halfway between them is the one
    // through the arc's centre; built from the chord it stays a line when a straight curve
    // runs through that centre.
    const KyGePoint mid = MidPoint(out[0], out[1]);
    const KyGeVector2d chord(out[0], out[1]);
    const KyGeLine2d divider(mid, mid + chord.Perp());
    const int keep = divider.HitTest(SidePoint(a, side));
    std::vector<KyGePoint> kept;
    for (const KyGePoint& q : out)
        if (divider.HitTest(q) == keep) kept.push_back(q);
    return kept;
}

bool FartherCrossing(const KyGePoint& q1, const KyGePoint& q2, const KyGeCurve2d& p, int side,
                     int& result) {
    const std::unique_ptr<KyGeCurve2d> x = p.GetExtendCurve();
    if (!x) return false;
    const bool fromEnd = side == kRoadSideStart;
    const double s1 = LengthOf(fromEnd ? x->GetSubCurve(q1, p.GetEndPoint()) : x->GetSubCurve(p.GetStartPoint(), q1));
    const double s2 = LengthOf(fromEnd ? x->GetSubCurve(q2, p.GetEndPoint()) : x->GetSubCurve(p.GetStartPoint(), q2));
    if (s1 - s2 > KyRoadDistZero()) {
        result = 1;
        return true;
    }
    if (s2 - s1 > KyRoadDistZero()) {
        result = 2;
        return true;
    }
    return false;
}

int OuterCornerSide(const KyGeCurve2d& pA, const KyGeCurve2d& pB, const KyGeCurve2d& cA,
                    const KyGeCurve2d& cB, int side) {
    // Both edges of the crossing road are met by pA's line; the one met farther out bounds the
    // outer corner.
    const std::vector<KyGePoint> l1 = SideIntersections(pA, cA, side);
    const std::vector<KyGePoint> l2 = SideIntersections(pA, cB, side);
    int result = 0;
    if (!l1.empty() && !l2.empty() && FartherCrossing(l1.front(), l2.front(), pA, side, result))
        return result == 1 ? 0 : 1;
    return OuterCornerByTurn(pA, pB, cA, side);
}

namespace {

// The direction in which c leaves J, one of its ends.
KyGeVector2d Leaving(const KyGeCurve2d& c, const KyGePoint& J) {
    const KyGeVector2d inward(J, c.GetMidPoint());
    const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(&c);
    if (!arc) return inward;
    const KyGeVector2d along = KyGeVector2d(arc->GetCenter(), J).Perp();
    return along.x * inward.x + along.y * inward.y < 0 ? -along : along;
}

double Cross(const KyGeVector2d& u, const KyGeVector2d& v) {
    const double n = u.Length() * v.Length();
    return n > 0 ? (u.x * v.y - u.y * v.x) / n : 0.0;
}

}  // namespace

int OuterCornerByTurn(const KyGeCurve2d& pA, const KyGeCurve2d& pB, const KyGeCurve2d& cA, int side) {
    // pA and cA leave their corner J along u and v; the corner is the outer one when pA's partner
    // lies on the side of pA towards which cA turns away.
    const KyGePoint J = SidePoint(pA, side);
    const bool cStart = Distance2d(cA.GetStartPoint(), J) <= Distance2d(cA.GetEndPoint(), J);
    const KyGeVector2d u = Leaving(pA, J), v = Leaving(cA, cStart ? cA.GetStartPoint() : cA.GetEndPoint());
    // The foot on pB's whole line or circle: pB may stop short of the corner.
    const std::unique_ptr<KyGeCurve2d> whole = pB.GetExtendCurve();
    KyGePoint foot;
    if (!whole || !whole->GetClosestPoint2d(J, foot)) return -1;
    const double turn = Cross(u, v), across = Cross(u, KyGeVector2d(J, foot));
    if (!(std::fabs(turn) > g_fZero) || !(std::fabs(across) > g_fZero)) return -1;
    return (turn > 0) == (across > 0) ? 0 : 1;
}
