// The arc junctions of the road edge network. An arc road may meet another road at both of its
// ends, and circles cross lines and circles twice: both ends of the crossed road are looked at
// in turn, the second on the edges cut at the first, and a crossing drops only the pieces of
// the junction area the roads meet in.
#include <algorithm>
#include <memory>
#include <vector>

#include "road/roadcorners.h"
#include "road/roadpieces.h"
#include "road/roadpredicates.h"
#include "road/roadrebuild.h"
#include "road/roadsettings.h"

namespace {

using Curve = std::unique_ptr<KyGeCurve2d>;

const KyGeCurve2d* CurveAt(const KyGeObjList& list, int i) { return KyGeCast<KyGeCurve2d>(list[i]); }
bool Coincide(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }

int OtherSide(int side) { return side == kRoadSideStart ? kRoadSideEnd : kRoadSideStart; }

// Whether end 1 of the crossed road (edges e, g) pairs with end 1 of the new road (a, b). An arc
// road may meet a straight one at both of its ends, and then the line through the edges'
// middles, which decides it for straight roads, can pair each end with the far end of the
// other road; so the pairing that brings the road ends nearest together decides, and the
// straight test only a tie (roads folding back on one line).
bool ArcRoadsRunAlike(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const KyGePoint c1 = MidPoint(e.GetStartPoint(), g.GetStartPoint()), c2 = MidPoint(e.GetEndPoint(), g.GetEndPoint());
    const KyGePoint n1 = MidPoint(a.GetStartPoint(), b.GetStartPoint()), n2 = MidPoint(a.GetEndPoint(), b.GetEndPoint());
    const double same = Distance2d(c1, n1) + Distance2d(c2, n2), crossed = Distance2d(c1, n2) + Distance2d(c2, n1);
    if (crossed - same > KyRoadDistZero()) return true;
    if (same - crossed > KyRoadDistZero()) return false;
    return RoadsRunAlike(e, g, a, b);
}

// The four working edges: the crossed road's e, g in the output list, the new road's a, b in the
// edge list; each builder replaces them by their cut pieces.
struct ArcJunction {
    Curve e, g, a, b;
    KyGeObjList& edges;
    KyGeObjList out;
};

// The curve cut back at p from its end `end`: from its start to p (end 2), else from p to its
// end. Kept as it is when p is that end already.
void CutBackToPoint(Curve& curve, int end, const KyGePoint& p) {
    Curve piece = end == kRoadSideEnd ? ExtendedPiece(*curve, curve->GetStartPoint(), p)
                                      : ExtendedPiece(*curve, p, curve->GetEndPoint());
    if (piece) curve = std::move(piece);
}

bool RoadEndButtsInto(const KyGeCurve2d& X1, const KyGeCurve2d& X2, const KyGeCurve2d& Y1, const KyGeCurve2d& Y2,
                      int kX, int kY) {
    KyGePolyline2d ox, oy;
    if (!RoadOutline(X1, X2, ox) || !RoadOutline(Y1, Y2, oy)) return false;
    return !RoadEndMeetsOutline(Y1, Y2, kY, ox) && RoadEndMeetsOutline(X1, X2, kX, oy);
}

bool RoadsCrossAtEnds(const KyGeCurve2d& X1, const KyGeCurve2d& X2, const KyGeCurve2d& Y1, const KyGeCurve2d& Y2,
                      int kX, int kY) {
    size_t n = 0;
    for (const KyGeCurve2d* x : {&X1, &X2})
        for (const KyGeCurve2d* y : {&Y1, &Y2}) n += KyGeIntersectPoints(*x, *y).size();
    if (n < 4) return false;
    KyGePolyline2d ox, oy;
    if (!RoadOutline(X1, X2, ox) || !RoadOutline(Y1, Y2, oy)) return false;
    return !RoadEndMeetsOutline(Y1, Y2, kY, ox) && !RoadEndMeetsOutline(X1, X2, kX, oy);
}

// ---- corner ----

bool BuildArcCorner(ArcJunction& J, int kC, int kN) {
    const std::vector<KyGePoint> Lea = SideIntersections(*J.e, *J.a, kC), Leb = SideIntersections(*J.e, *J.b, kC);
    const std::vector<KyGePoint> Lga = SideIntersections(*J.g, *J.a, kC), Lgb = SideIntersections(*J.g, *J.b, kC);
    if (Lea.empty() && Leb.empty() && Lga.empty() && Lgb.empty()) return false;
    RemoveMatchingCurve(J.out, *J.e);
    RemoveMatchingCurve(J.out, *J.g);
    RemoveMatchingCurve(J.edges, *J.a);
    RemoveMatchingCurve(J.edges, *J.b);
    int rC = 0, rN = 0;
    if (!Lea.empty() && !Leb.empty())
        FartherCrossing(Lea[0], Leb[0], *J.e, kC, rC);
    else if (!Lga.empty() && !Lgb.empty())
        FartherCrossing(Lga[0], Lgb[0], *J.g, kC, rC);
    if (!Lea.empty() && !Lga.empty())
        FartherCrossing(Lea[0], Lga[0], *J.a, kN, rN);
    else if (!Leb.empty() && !Lgb.empty())
        FartherCrossing(Leb[0], Lgb[0], *J.b, kN, rN);
    const auto cut = [&](Curve& x, Curve& y, const std::vector<KyGePoint>& at) {
        if (at.empty()) return false;
        CutBackToPoint(x, kC, at[0]);
        CutBackToPoint(y, kN, at[0]);
        return true;
    };
    if (rC != 0 && rN != 0 && rC == rN) {
        cut(J.e, J.a, Lea);
        cut(J.g, J.b, Lgb);
    } else if (rC != 0 && rN != 0) {
        cut(J.e, J.b, Leb);
        cut(J.g, J.a, Lga);
    } else {
        cut(J.e, J.a, Lea) || cut(J.e, J.b, Leb) || cut(J.g, J.a, Lga) || cut(J.g, J.b, Lgb);
    }
    J.out.AppendClone(*J.e);
    J.out.AppendClone(*J.g);
    J.edges.AppendClone(*J.a);
    J.edges.AppendClone(*J.b);
    return true;
}

// ---- tee ----

// Road S (S1, S2 in sList) ends with its end kS on road T, whose near edge N (in tList) it
// meets at p1 on S1; the through road's end at this junction is kT.
bool CutArcTee(Curve& S1, Curve& S2, Curve& N, int kS, const KyGePoint& p1, int kT, KyGeObjList& sList,
               KyGeObjList& tList) {
    const std::vector<KyGePoint> qs = SideIntersections(*S2, *N, kS);
    if (qs.empty()) return false;
    const KyGePoint q = qs.front();
    if (!(N->HitTest(p1) & kKyGeHitOn) || !(N->HitTest(q) & kKyGeHitOn)) return false;
    const double t1 = N->GetPaFromPt(p1), t2 = N->GetPaFromPt(q);
    // N loses its stretch between the two crossings: the mouth of the stem.
    Curve n1 = t1 - t2 <= KyRoadDistZero() ? N->GetSubCurve(0.0, t1) : N->GetSubCurve(0.0, t2);
    Curve n2 = t1 - t2 <= KyRoadDistZero() ? N->GetSubCurve(t2, 1.0) : N->GetSubCurve(t1, 1.0);
    // The stem's edges from the crossing to their far ends (extended when they stopped short).
    Curve s1 = kS == kRoadSideStart ? ExtendedPiece(*S1, p1, S1->GetEndPoint()) : ExtendedPiece(*S1, S1->GetStartPoint(), p1);
    Curve s2 = kS == kRoadSideStart ? ExtendedPiece(*S2, q, S2->GetEndPoint()) : ExtendedPiece(*S2, S2->GetStartPoint(), q);
    if (!n1 || !n2 || !s1 || !s2) return false;
    RemoveMatchingCurve(tList, *N);
    RemoveMatchingCurve(sList, *S1);
    RemoveMatchingCurve(sList, *S2);
    sList.AppendClone(*s1);
    sList.AppendClone(*s2);
    tList.AppendClone(*n1);
    tList.AppendClone(*n2);
    S1 = std::move(s1);
    S2 = std::move(s2);
    N = kT == kRoadSideStart ? std::move(n2) : std::move(n1);
    return true;
}

bool BuildArcTee(Curve& S1, Curve& S2, Curve& T1, Curve& T2, int kS, int kT, KyGeObjList& sList, KyGeObjList& tList) {
    const std::vector<KyGePoint> L1 = SideIntersections(*S1, *T1, kS), L2 = SideIntersections(*S1, *T2, kS);
    if (L1.empty() || L2.empty()) return false;
    int r = 0;
    if (!FartherCrossing(L1[0], L2[0], *S1, kS, r)) return false;
    // The through edge met farther from the stem's far end is the far edge; it stays as it is.
    if (r == 1) return CutArcTee(S1, S2, T2, kS, L2[0], kT, sList, tList);
    return CutArcTee(S1, S2, T1, kS, L1[0], kT, sList, tList);
}

// ---- crossing ----

enum Edge { kE, kG, kA, kB };

struct SplitPlan {
    std::vector<Edge> split;               // the edges cut at their mutual crossings
    std::vector<std::pair<Edge, Edge>> at;  // the pairs whose crossings bound the junction
    std::vector<Edge> lens;                 // whose piece of a double crossing is kept
};

int CountMeets(const KyGeCurve2d& x, const KyGeCurve2d& y) { return static_cast<int>(ExtendedCrossings(x, y).size()); }

const KyGeCurve2d& EdgeOf(const ArcJunction& J, Edge which) {
    return which == kE ? *J.e : which == kG ? *J.g : which == kA ? *J.a : *J.b;
}

// Puts a piece where the edge holding it belongs: the crossed road's pieces to the output list,
// the new road's to the edge list; a piece neither holds is dropped.
void Distribute(ArcJunction& J, const KyGeCurve2d& piece) {
    if (J.e->IsInclude(piece) || J.g->IsInclude(piece))
        J.out.AppendClone(piece);
    else if (J.a->IsInclude(piece) || J.b->IsInclude(piece))
        J.edges.AppendClone(piece);
}

bool SplitByPlan(ArcJunction& J, const SplitPlan& plan) {
    std::vector<KyGePoint> chosen;
    for (const auto& pair : plan.at) {
        const std::vector<KyGePoint> q = ExtendedCrossings(EdgeOf(J, pair.first), EdgeOf(J, pair.second));
        chosen.insert(chosen.end(), q.begin(), q.end());
    }
    const auto isChosen = [&](const KyGePoint& p) {
        for (const KyGePoint& q : chosen)
            if (Coincide(p, q)) return true;
        return false;
    };
    KyGeObjList pieces;
    for (Edge which : plan.split) pieces.AppendClone(EdgeOf(J, which));
    InterBreakCurve2d(pieces);
    OrientPieces(pieces, *J.e, *J.g, *J.a, *J.b);
    // Two edges cutting each other twice give two pieces between the same points: the lens.
    for (int i = 0; i < pieces.GetLength(); ++i) {
        const KyGeCurve2d* p = CurveAt(pieces, i);
        int twin = -1;
        for (int j = i + 1; j < pieces.GetLength() && twin < 0; ++j) {
            const KyGeCurve2d* t = CurveAt(pieces, j);
            const bool same = Coincide(p->GetStartPoint(), t->GetStartPoint()) && Coincide(p->GetEndPoint(), t->GetEndPoint());
            const bool turned = Coincide(p->GetStartPoint(), t->GetEndPoint()) && Coincide(p->GetEndPoint(), t->GetStartPoint());
            if (same || turned) twin = j;
        }
        if (twin < 0) continue;
        for (Edge which : {kE, kG, kA, kB}) {
            if (std::find(plan.lens.begin(), plan.lens.end(), which) == plan.lens.end()) continue;
            const KyGeCurve2d& edge = EdgeOf(J, which);
            KyGeObjList& to = which == kE || which == kG ? J.out : J.edges;
            if (edge.IsInclude(*p)) {
                to << pieces.TakeOff(i--);
                break;
            }
            if (edge.IsInclude(*CurveAt(pieces, twin))) {
                to.AppendClone(*CurveAt(pieces, twin));
                break;
            }
        }
    }
    for (int i = 0; i < pieces.GetLength(); ++i) {
        const KyGeCurve2d* p = CurveAt(pieces, i);
        if (!(isChosen(p->GetStartPoint()) && isChosen(p->GetEndPoint()))) Distribute(J, *p);
    }
    for (Edge which : {kE, kG, kA, kB})
        if (std::find(plan.split.begin(), plan.split.end(), which) == plan.split.end()) {
            KyGeObjList& to = which == kE || which == kG ? J.out : J.edges;
            to.AppendClone(EdgeOf(J, which));
        }
    return true;
}

// The divider between the two junction areas of two roads whose edges cross twice: the line of
// the centres of two circles, or the perpendicular from a circle's centre to a line.
KyGeLine2d CrossingDivider(const KyGeCurve2d& e, const KyGeCurve2d& a) {
    const KyGeArc2d *ce = KyGeCast<KyGeArc2d>(&e), *ca = KyGeCast<KyGeArc2d>(&a);
    if (ce && ca) return KyGeLine2d(ce->GetCenter(), ca->GetCenter());
    const KyGeArc2d* arc = ce ? ce : ca;
    const KyGeCurve2d& line = ce ? a : e;
    const KyGeVector2d along(line.GetStartPoint(), line.GetEndPoint());
    return KyGeLine2d(arc->GetCenter(), arc->GetCenter() + along.Perp());
}

void CutArcCrossing(ArcJunction& J) {
    const KyGeLine2d divider = CrossingDivider(*J.e, *J.a);
    std::vector<KyGePoint> pts;
    for (const KyGeCurve2d* x : {J.a.get(), J.b.get()})
        for (const KyGeCurve2d* y : {J.e.get(), J.g.get()}) {
            const std::vector<KyGePoint> q = ExtendedCrossings(*x, *y);
            pts.insert(pts.end(), q.begin(), q.end());
        }
    const int firstSide = pts.empty() ? 0 : divider.HitTest(pts.front());
    const auto group = [&](const KyGePoint& p) {
        for (const KyGePoint& q : pts)
            if (Coincide(p, q)) return divider.HitTest(q) == firstSide ? 1 : 2;
        return 0;
    };
    KyGeObjList pieces;
    for (const KyGeCurve2d* c : {J.e.get(), J.g.get(), J.a.get(), J.b.get()}) pieces.AppendClone(*c);
    InterBreakCurve2d(pieces);
    OrientPieces(pieces, *J.e, *J.g, *J.a, *J.b);
    for (int i = 0; i < pieces.GetLength(); ++i) {
        const KyGeCurve2d* p = CurveAt(pieces, i);
        const int gs = group(p->GetStartPoint()), ge = group(p->GetEndPoint());
        if (gs != 0 && gs == ge) continue;  // between crossings of one junction area
        Distribute(J, *p);
    }
}

bool BuildArcCrossing(ArcJunction& J) {
    const int nae = CountMeets(*J.a, *J.e), nag = CountMeets(*J.a, *J.g);
    const int nbe = CountMeets(*J.b, *J.e), nbg = CountMeets(*J.b, *J.g);
    SplitPlan plan;
    bool general = false;
    if (nae == 0 && nag < 2 && nbg == 2 && nbe < 2) {
        plan = {{kB, kG}, {{kB, kG}}, {}};
    } else if (nae == 0 && nag < 2 && nbg < 2 && nbe == 2) {
        plan = {{kB, kE}, {{kB, kE}}, {}};
    } else if (nae < 2 && nag == 2 && nbg != 2) {
        plan = {{kA, kG}, {{kA, kG}}, {}};
    } else if (nae < 2 && nag == 2 && nbg == 2 && nbe < 2) {
        plan = {{kA, kG, kB}, {{kA, kG}, {kB, kG}}, {kG}};
    } else if (nae < 2 && nag == 2 && nbg == 2 && nbe == 2) {
        plan = {{kE, kG, kA, kB}, {{kA, kG}, {kB, kG}, {kB, kE}}, {kG, kB}};
    } else if (nae == 2 && nag == 2 && nbg == 2 && nbe == 2) {
        general = true;
    } else if (nae == 2 && nag == 2 && nbg == 2) {
        // b's double crossing bounds the junction too, so b is cut at it like the others.
        plan = {{kE, kG, kA, kB}, {{kA, kG}, {kA, kE}, {kB, kG}}, {kG, kA}};
    } else if (nae == 2 && nag == 2 && nbe == 2) {
        plan = {{kE, kG, kA, kB}, {{kA, kG}, {kA, kE}, {kB, kE}}, {kE, kA}};
    } else if (nae == 2 && nag == 2) {
        plan = {{kE, kG, kA}, {{kA, kG}, {kA, kE}}, {kA}};
    } else {
        return false;  // no junction area: every edge stays as it is
    }
    RemoveMatchingCurve(J.out, *J.e);
    RemoveMatchingCurve(J.out, *J.g);
    RemoveMatchingCurve(J.edges, *J.a);
    RemoveMatchingCurve(J.edges, *J.b);
    if (general)
        CutArcCrossing(J);
    else
        SplitByPlan(J, plan);
    return true;
}

}  // namespace

bool RebuildArcJunction(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                        KyGeObjList& edges, AcDbObjectId& centreLine) {
    ArcJunction J{e.Clone(), g.Clone(), a.Clone(), b.Clone(), edges, KyGeObjList()};
    // The crossed road's edges stand in the output list as they are until a builder cuts them,
    // so that an end without a junction writes them again unchanged.
    J.out.AppendClone(e);
    J.out.AppendClone(g);
    const bool alike = ArcRoadsRunAlike(e, g, a, b);
    bool built = false, free1 = false, free2 = false;
    for (int kC : {kRoadSideStart, kRoadSideEnd}) {
        const int kN = alike ? kC : OtherSide(kC);
        if (RoadEndsOverlap(*J.e, *J.g, *J.a, *J.b, kC, kN)) {
            JoinCornerCenterLines(*J.e, *J.g, *J.a, *J.b, kC, kN, centreLine);
            built = BuildArcCorner(J, kC, kN) || built;
        } else if (RoadEndButtsInto(*J.e, *J.g, *J.a, *J.b, kC, kN)) {
            built = BuildArcTee(J.e, J.g, J.a, J.b, kC, kN, J.out, J.edges) || built;
        } else if (RoadEndButtsInto(*J.a, *J.b, *J.e, *J.g, kN, kC)) {
            built = BuildArcTee(J.a, J.b, J.e, J.g, kN, kC, J.edges, J.out) || built;
        } else {
            (kC == kRoadSideStart ? free1 : free2) = true;
        }
    }
    if (free1 && RoadsCrossAtEnds(*J.e, *J.g, *J.a, *J.b, kRoadSideStart, alike ? kRoadSideStart : kRoadSideEnd))
        built = BuildArcCrossing(J) || built;
    else if (free2 && RoadsCrossAtEnds(*J.e, *J.g, *J.a, *J.b, kRoadSideEnd, alike ? kRoadSideEnd : kRoadSideStart))
        built = BuildArcCrossing(J) || built;
    if (!built) return false;
    for (int i = 0; i < J.out.GetLength(); ++i)
        if (const KyGeCurve2d* c = CurveAt(J.out, i)) WriteRoadCurve(*c, L"PLAN-ROAD");
    return true;
}
