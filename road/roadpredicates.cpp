// Road predicates over geometry curves: partners, junction candidates, corners.
#include "road/roadpredicates.h"

#include <cmath>
#include <memory>
#include <vector>
#include "road/roadsettings.h"

namespace {

// Pick points lie a tenth of the way in from the end they are near.
constexpr double kNearStart = 0.1, kNearEnd = 0.9;

const KyGeArc2d* Arc(const KyGeCurve2d& c) { return KyGeCast<KyGeArc2d>(&c); }

bool Coincide(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }

bool LiesOn(const KyGeCurve2d& c, const KyGePoint& p) { return (c.HitTest(p) & kKyGeHitOn) != 0; }

KyGeVector2d Chord(const KyGeCurve2d& c) { return KyGeVector2d(c.GetStartPoint(), c.GetEndPoint()); }

bool ArcsArePartners(const KyGeArc2d& c, const KyGeArc2d& e) {
    if (!Coincide(c.GetCenter(), e.GetCenter())) return false;
    const double d = c.GetRadius() - e.GetRadius();
    if (std::fabs(d) <= KyRoadDistZero()) return false;  // one circle: pieces of one edge
    // c brought onto e's circle.
    const std::unique_ptr<KyGeCurve2d> off = c.GetOffsetCurve(c.IsClockwise() ? d : -d);
    if (!off) return true;
    if (off->IsInclude(e) || e.IsInclude(*off)) return true;
    const std::unique_ptr<KyGeCurve2d> joined = off->Clone();
    joined->Conbine(e, true);
    return !(joined->Length() - (off->Length() + e.Length() + KyRoadMm(kRoadPartnerArcGap)) > KyRoadDistZero());
}

bool LinesArePartners(const KyGeCurve2d& c, const KyGeCurve2d& e) {
    if (!Chord(e).IsParallelWith(Chord(c))) return false;
    const std::unique_ptr<KyGeCurve2d> x = c.GetExtendCurve();
    if (!x || LiesOn(*x, e.GetStartPoint())) return false;  // one line: not two edges
    KyGePoint pS, pE, pM;
    x->GetClosestPoint2d(e.GetStartPoint(), pS);
    x->GetClosestPoint2d(e.GetEndPoint(), pE);
    x->GetClosestPoint2d(e.GetPtFromPa(0.5), pM);
    const bool onS = LiesOn(c, pS), onE = LiesOn(c, pE), onM = LiesOn(c, pM);
    if (!onS && !onE && !onM) return false;
    const bool touchesAtEnd = Coincide(pS, c.GetStartPoint()) || Coincide(pE, c.GetEndPoint()) ||
                              Coincide(pS, c.GetEndPoint()) || Coincide(pE, c.GetStartPoint());
    return !touchesAtEnd || onM;
}

// The direction in which a curve leaves its end J: towards its middle for a straight curve,
// across its radius for an arc.
double LeavingAngle(const KyGeCurve2d& c, const KyGePoint& J) {
    if (const KyGeArc2d* arc = Arc(c)) return GetAngle2d(J, arc->GetCenter()) + 1.5707963268;
    return GetAngle2d(J, c.GetMidPoint());
}

}  // namespace

std::vector<KyGePoint> ExtendedCrossings(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    std::vector<KyGePoint> pts;
    const std::unique_ptr<KyGeCurve2d> xa = a.GetExtendCurve(), xb = b.GetExtendCurve();
    if (!xa || !xb) return pts;
    KyGeObjList found;
    xa->IntersectWith(*xb, found);
    for (int i = 0; i < found.GetLength(); ++i)
        if (const KyGePoint2d* p = KyGeCast<KyGePoint2d>(found[i])) pts.push_back(p->GetPoint());
    return pts;
}

bool IsJunctionCandidate(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const KyGeArc2d *arcA = Arc(a), *arcB = Arc(b);
    if (arcA && arcB) return !Coincide(arcA->GetCenter(), arcB->GetCenter());
    if (arcA || arcB) return true;
    return !Chord(b).IsParallelWith(Chord(a));
}

bool IsPartnerEdge(const KyGeCurve2d& c, const KyGeCurve2d& e) {
    const KyGeArc2d *arcC = Arc(c), *arcE = Arc(e);
    if (arcC && arcE) return ArcsArePartners(*arcC, *arcE);
    if (arcC || arcE) return false;
    return LinesArePartners(c, e);
}

void KeepNearestByStart(const KyGeObjList& T, const KyGeCurve2d* x, KyGeObjList& R) {
    if (!x) return;
    double best = 0.0;
    bool any = false;
    for (int i = 0; i < T.GetLength(); ++i) {
        const KyGeCurve2d* t = KyGeCast<KyGeCurve2d>(T[i]);
        if (!t) continue;
        KyGePoint foot;
        x->GetClosestPoint2d(t->GetStartPoint(), foot);
        const double d = Distance2d(t->GetStartPoint(), foot);
        if (!any || best - d > KyRoadDistZero()) {
            R.Reset();
            R << t->Clone();
            best = d;
            any = true;
        } else if (std::fabs(best - d) <= KyRoadDistZero()) {
            R << t->Clone();
        }
    }
}

bool FindPartnerEdges(const KyGeObjList& L, const KyGeCurve2d& c, KyGeObjList& R) {
    const std::unique_ptr<KyGeCurve2d> x = c.GetExtendCurve();
    if (!x) return false;
    KyGeObjList partners;
    for (int i = 0; i < L.GetLength(); ++i)
        if (const KyGeCurve2d* e = KyGeCast<KyGeCurve2d>(L[i]))
            if (IsPartnerEdge(c, *e)) partners << e->Clone();
    KeepNearestByStart(partners, x.get(), R);
    return !R.IsEmpty();
}

double EdgeDistance(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const KyGeArc2d *arcA = Arc(a), *arcB = Arc(b);
    if (arcA && arcB) return std::fabs(arcA->GetRadius() - arcB->GetRadius());
    const std::unique_ptr<KyGeCurve2d> x = b.GetExtendCurve();
    if (!x) return 0.0;
    KyGePoint foot;
    x->GetClosestPoint2d(a.GetStartPoint(), foot);
    return Distance2d(a.GetStartPoint(), foot);
}

int TwoCrossingPickPoint(const KyGeCurve2d& a, const KyGeCurve2d& b, KyGePoint& P) {
    const std::vector<KyGePoint> pts = ExtendedCrossings(a, b);
    if (pts.size() != 2) return 0;
    const KyGePoint &q0 = pts[0], &q1 = pts[1];
    // On the curve that holds both crossings, a tenth of the span in from the crossing the
    // other curve reaches, or the middle of the span when it reaches neither.
    const auto pick = [&](const KyGeCurve2d& on, const KyGeCurve2d& other) {
        const double t0 = on.GetPaFromPt(q0), t1 = on.GetPaFromPt(q1);
        if (LiesOn(other, q0))
            P = on.GetPtFromPa(t0 + (t1 - t0) * 0.1);
        else if (LiesOn(other, q1))
            P = on.GetPtFromPa(t1 + (t0 - t1) * 0.1);
        else
            P = on.GetPtFromPa((t0 + t1) * 0.5);
    };
    if (LiesOn(a, q0) && LiesOn(a, q1)) {
        pick(a, b);
        return 1;
    }
    if (LiesOn(b, q0) && LiesOn(b, q1)) {
        pick(b, a);
        return 2;
    }
    return 0;
}

bool IsRealCorner(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const KyGeArc2d *arcA = Arc(a), *arcB = Arc(b);
    if (!arcA && !arcB) return true;
    KyGePoint J;
    double ta, tb;
    if (Equal2d(a.GetStartPoint(), b.GetStartPoint())) {
        J = a.GetStartPoint(), ta = kNearStart, tb = kNearStart;
    } else if (Equal2d(a.GetStartPoint(), b.GetEndPoint())) {
        J = a.GetStartPoint(), ta = kNearStart, tb = kNearEnd;
    } else if (Equal2d(a.GetEndPoint(), b.GetStartPoint())) {
        J = a.GetEndPoint(), ta = kNearEnd, tb = kNearStart;
    } else if (Equal2d(a.GetEndPoint(), b.GetEndPoint())) {
        J = a.GetEndPoint(), ta = kNearEnd, tb = kNearEnd;
    } else {
        return false;
    }
    const KyGePoint pa = a.GetPtFromPa(ta), pb = b.GetPtFromPa(tb);
    // The line from the shared end through the arc's centre divides the two sides of the corner.
    const KyGeLine2d divider(J, arcB ? arcB->GetCenter() : arcA->GetCenter());
    if (divider.HitTest(pa) == divider.HitTest(pb)) return true;
    const double diff = GetStdAngle(LeavingAngle(a, J) - LeavingAngle(b, J));
    const double thr = (arcA && arcB ? 0.3 : 0.15) * 0.01745329252;
    const double pi = 3.1415926536;
    return diff - thr >= -KyRoadDistZero() && diff + pi - thr >= -KyRoadDistZero() &&
           std::fabs(diff - pi) - thr >= -KyRoadDistZero() && 6.2831853072 - diff - thr >= -KyRoadDistZero();
}

bool OnRoadPavement(const KyGePoint& p, const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                    double width) {
    KyGePoint onLeft, onRight, onCentre;
    const double tol = KyRoadDistZero();
    if (!centre.GetClosestPoint2d(p, onCentre) || Distance2d(onCentre, centre.GetStartPoint()) <= tol ||
        Distance2d(onCentre, centre.GetEndPoint()) <= tol)
        return false;
    if (!left.GetClosestPoint2d(p, onLeft) || !right.GetClosestPoint2d(p, onRight)) return false;
    return Distance2d(p, onLeft) + Distance2d(p, onRight) <= width + tol;
}

bool InsideRoadPavement(const KyGePoint& p, const KyGeCurve2d& left, const KyGeCurve2d& right,
                        const KyGeCurve2d& centre, double width) {
    KyGePoint onLeft, onRight;
    if (!left.GetClosestPoint2d(p, onLeft) || !right.GetClosestPoint2d(p, onRight)) return false;
    const double tol = KyRoadDistZero();
    return Distance2d(p, onLeft) > tol && Distance2d(p, onRight) > tol &&
           OnRoadPavement(p, left, right, centre, width);
}
