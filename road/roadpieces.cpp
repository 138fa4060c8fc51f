// Road edge pieces through junctions, over lists of geometry curves.
#include "road/roadpieces.h"

#include <vector>

#include "road/roadpredicates.h"
#include "road/roadsettings.h"

namespace {

const KyGeCurve2d* CurveAt(const KyGeObjList& list, int i) { return KyGeCast<KyGeCurve2d>(list[i]); }

bool Coincide(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }

int CrossingCount(const KyGeCurve2d& x, const KyGeCurve2d& c) {
    KyGeObjList pts;
    x.IntersectWith(c, pts);
    return pts.GetLength();
}

// y lies beside x along its length: the middle of the shorter one has a foot on the other
// (straight), or the radius through one's middle meets the other (arcs).
bool Overlaps(const KyGeCurve2d& x, const KyGeCurve2d& y) {
    const KyGePoint mx = x.GetMidPoint(), my = y.GetMidPoint();
    const KyGeArc2d *ax = KyGeCast<KyGeArc2d>(&x), *ay = KyGeCast<KyGeArc2d>(&y);
    if (!ax || !ay) {
        KyGePoint foot;
        if (x.Length() - y.Length() <= KyRoadDistZero()) return y.GetClosestPoint2d(mx, foot);
        return x.GetClosestPoint2d(my, foot);
    }
    KyGeObjList pts;
    if (ax->GetRadius() - ay->GetRadius() <= KyRoadDistZero())
        KyGeLine2d(ay->GetCenter(), my).IntersectWith(x, pts);
    else
        KyGeLine2d(ax->GetCenter(), mx).IntersectWith(y, pts);
    return !pts.IsEmpty();
}

}  // namespace

bool PickCrossingPartners(KyGeObjList& R, const KyGeCurve2d& A, const KyGeCurve2d& B, KyGeObjList& O) {
    if (R.IsEmpty() || !CurveAt(R, 0)) return false;
    if (R.GetLength() == 1) {
        O.AppendClone(*R[0]);
        return true;
    }
    std::vector<KyGePoint> pts = ExtendedCrossings(*CurveAt(R, 0), A);
    const std::vector<KyGePoint> withB = ExtendedCrossings(*CurveAt(R, 0), B);
    pts.insert(pts.end(), withB.begin(), withB.end());
    if (pts.empty()) return false;
    for (const KyGePoint& q : pts) {
        for (int i = 0; i < R.GetLength();) {
            const KyGeCurve2d* r = CurveAt(R, i);
            if (r && r->HitTest(q) == kKyGeHitOn)
                O << R.TakeOff(i);
            else
                ++i;
        }
    }
    if (O.IsEmpty()) {
        int best = -1;
        double bestDist = 0.0;
        for (int i = 0; i < R.GetLength(); ++i) {
            const KyGeCurve2d* r = CurveAt(R, i);
            if (!r) continue;
            const double d = Distance2d(r->GetStartPoint(), pts.front());
            if (best < 0 || bestDist - d > KyRoadDistZero()) best = i, bestDist = d;
        }
        if (best >= 0) O.AppendClone(*R[best]);
    }
    return !O.IsEmpty();
}

bool FindCurrentEdgePair(const KyGeObjList& E, const KyGeCurve2d& c, const KyGeCurve2d& p, KyGeObjList& out) {
    const KyGeCurve2d* x = nullptr;
    for (int i = 0; i < E.GetLength() && !x; ++i) {
        const KyGeCurve2d* e = CurveAt(E, i);
        if (e && CrossingCount(*e, c) + CrossingCount(*e, p) >= 1) x = e;
    }
    if (!x) return false;
    KyGeObjList R2, O2;
    if (!FindPartnerEdges(E, *x, R2) || !PickCrossingPartners(R2, c, p, O2)) return false;
    for (int i = 0; i < O2.GetLength(); ++i) {
        const KyGeCurve2d* y = CurveAt(O2, i);
        if (y && Overlaps(*x, *y)) {
            out << x->Clone() << y->Clone();
            return true;
        }
    }
    return false;
}

void RemoveMatchingCurve(KyGeObjList& L, const KyGeCurve2d& x) {
    for (int i = 0; i < L.GetLength(); ++i) {
        const KyGeCurve2d* c = CurveAt(L, i);
        if (c && Coincide(c->GetEndPoint(), x.GetEndPoint()) && Coincide(c->GetStartPoint(), x.GetStartPoint()) &&
            Coincide(c->GetMidPoint(), x.GetMidPoint())) {
            L.Del(i);
            return;
        }
    }
}

int FindEndPiece(const KyGeCurve2d& edge, int end, const KyGeObjList& list) {
    const std::unique_ptr<KyGeCurve2d> x = edge.GetExtendCurve();
    if (!x) return -1;
    const KyGePoint edgeEnd = end == 0 ? edge.GetStartPoint() : edge.GetEndPoint();
    double best = -1.0;
    int index = -1;
    for (int j = 0; j < list.GetLength(); ++j) {
        const KyGeCurve2d* piece = CurveAt(list, j);
        if (!piece) continue;
        const KyGePoint q = end == 0 ? piece->GetStartPoint() : piece->GetEndPoint();
        if (!(x->HitTest(q) & kKyGeHitOn)) continue;
        const double d = Distance2d(q, edgeEnd);
        if (best < -KyRoadDistZero() || best - d >= -KyRoadDistZero()) best = d, index = j;
    }
    return index;
}
