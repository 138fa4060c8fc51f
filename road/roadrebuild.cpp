// The straight junctions of the road edge network: the dispatch, corners, crossings, tees and
// the centre-line join at a corner; with the drawing access the junction code shares.
#include "road/roadrebuild.h"

#include <cmath>
#include <memory>

#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "host/db/dbentity.h"
#include "road/roadcorners.h"
#include "road/roadcurve.h"
#include "road/roadpieces.h"
#include "road/roadpredicates.h"
#include "road/roadsearch.h"
#include "road/roadsettings.h"

namespace {

const KyGeCurve2d* CurveAt(const KyGeObjList& list, int i) { return KyGeCast<KyGeCurve2d>(list[i]); }
bool IsArc(const KyGeCurve2d& c) { return c.IsClassOf(KyGeArc2d::s_classInfo); }
bool Coincide(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }
bool LiesOn(const KyGeCurve2d& c, const KyGePoint& p) { return (c.HitTest(p) & kKyGeHitOn) != 0; }
bool Crosses(const KyGeCurve2d& x, const KyGeCurve2d& y) { return !KyGeIntersectPoints(x, y).empty(); }

KyGePoint EndPoint(const KyGeCurve2d& c, int side) {
    return side == kRoadSideStart ? c.GetStartPoint() : c.GetEndPoint();
}

void WritePieces(const KyGeObjList& pieces) {
    for (int i = 0; i < pieces.GetLength(); ++i)
        if (const KyGeCurve2d* c = CurveAt(pieces, i)) WriteRoadCurve(*c, L"PLAN-ROAD");
}

// A centre line K turned to run along the edge x: the same direction angle, or the same sense.
void OrientAlong(KyGeCurve2d& K, const KyGeCurve2d& x) {
    if (IsArc(K)) {
        if (K.IsClockwise() != x.IsClockwise()) K.Reverse();
        return;
    }
    const KyGeBaseLine2d *k = KyGeCast<KyGeBaseLine2d>(&K), *l = KyGeCast<KyGeBaseLine2d>(&x);
    if (!k || !l) return;
    const double diff = std::fabs(GetStdAngle(k->GetAngle() - l->GetAngle()));
    if (diff > g_angleZero && std::fabs(diff - 2 * KyGePi) > g_angleZero) K.Reverse();
}

// K is a centre line of the road with edge e: of the same kind, parallel or concentric, beside
// e's middle. K is turned to run along e.
bool IsCentreLineOf(KyGeCurve2d& K, const KyGeCurve2d& e) {
    if (IsArc(K) != IsArc(e)) return false;
    if (IsArc(K)) {
        const KyGeArc2d &k = static_cast<const KyGeArc2d&>(K), &x = static_cast<const KyGeArc2d&>(e);
        if (!Coincide(k.GetCenter(), x.GetCenter())) return false;
    } else {
        const KyGeBaseLine2d *k = KyGeCast<KyGeBaseLine2d>(&K), *x = KyGeCast<KyGeBaseLine2d>(&e);
        if (!k || !x || !k->IsParallelWith(*x)) return false;
    }
    OrientAlong(K, e);
    const std::unique_ptr<KyGeCurve2d> ext = K.GetExtendCurve();
    KyGePoint foot;
    if (!ext) return false;
    ext->GetClosestPoint2d(e.GetMidPoint(), foot);
    return LiesOn(K, foot);
}

// ---- crossing ----

bool DropJunctionPieces(KyGeObjList& P, const KyGeCurve2d& e, const KyGeCurve2d& g,
                        const KyGeCurve2d& a, const KyGeCurve2d& b) {
    std::vector<KyGePoint> pts;
    for (const KyGeCurve2d* x : {&e, &g})
        for (const KyGeCurve2d* y : {&a, &b}) {
            const std::vector<KyGePoint> q = KyGeIntersectPoints(*x, *y);
            pts.insert(pts.end(), q.begin(), q.end());
        }
    if (pts.size() != 4) return false;
    const auto chosen = [&](const KyGePoint& p) {
        for (const KyGePoint& q : pts)
            if (Coincide(p, q)) return true;
        return false;
    };
    for (int i = P.GetLength() - 1; i >= 0; --i) {
        const KyGeCurve2d* c = CurveAt(P, i);
        if (c && chosen(c->GetStartPoint()) && chosen(c->GetEndPoint())) P.Del(i);
    }
    return true;
}

void TakeNewRoadPieces(KyGeObjList& edges, KyGeObjList& P, const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const auto onExactly = [](const KyGeCurve2d& x, const KyGePoint& p) { return x.HitTest(p) == kKyGeHitOn; };
    for (int i = 0; i < P.GetLength();) {
        const KyGeCurve2d* c = CurveAt(P, i);
        const bool onA = c && onExactly(a, c->GetStartPoint()) && onExactly(a, c->GetEndPoint());
        const bool onB = c && onExactly(b, c->GetStartPoint()) && onExactly(b, c->GetEndPoint());
        if (onA || onB)
            edges << P.TakeOff(i);
        else
            ++i;
    }
    RemoveMatchingCurve(edges, a);
    RemoveMatchingCurve(edges, b);
}

// ---- tee ----

// Road S ends with its end k on road T, whose near edge N its edges meet; F is T's far edge.
// f = 1 when the stem is the crossed road, 2 when it is the new road.
bool CutLineTee(const KyGeCurve2d& S1, const KyGeCurve2d& S2, const KyGeCurve2d& N, const KyGeCurve2d& F,
                KyGeObjList& edges, int f, int k) {
    const std::vector<KyGePoint> q1 = ExtendedCrossings(S1, N), q2 = ExtendedCrossings(S2, N);
    if (q1.size() + q2.size() != 2 || q1.size() != 1) return false;
    const KyGePoint X1 = q1.front(), X2 = q2.front();
    // Split N, dropping its stretch across the stem's mouth.
    const KyGePoint ns = N.GetStartPoint(), ne = N.GetEndPoint();
    const bool x2First = Distance2d(ns, X1) - Distance2d(ns, X2) >= -KyRoadDistZero();
    KyGeObjList nPieces;
    nPieces << ExtendedPiece(N, ns, x2First ? X2 : X1) << ExtendedPiece(N, x2First ? X1 : X2, ne);
    // The stem's edges trimmed back to N or extended up to it, running the way they ran.
    KyGeObjList stem;
    if (k == kRoadSideEnd)
        stem << ExtendedPiece(S1, S1.GetStartPoint(), X1) << ExtendedPiece(S2, S2.GetStartPoint(), X2);
    else
        stem << ExtendedPiece(S1, X1, S1.GetEndPoint()) << ExtendedPiece(S2, X2, S2.GetEndPoint());
    if (f == 1) {
        WritePieces(stem);
        RemoveMatchingCurve(edges, N);
        edges.Splice(nPieces);
        return true;
    }
    WritePieces(nPieces);
    for (int i = 0; i < stem.GetLength(); ++i) {
        const KyGeCurve2d* piece = CurveAt(stem, i);
        if (!piece || !RoadCurveToEntity(*piece)) continue;
        RemoveMatchingCurve(edges, i == 0 ? S1 : S2);
        edges.AppendClone(*piece);
    }
    // The crossed road's former edges are all erased afterwards: its far edge is written again.
    WriteRoadCurve(F, L"PLAN-ROAD");
    return true;
}

bool BuildLineTee(const KyGeCurve2d& S1, const KyGeCurve2d& S2, const KyGeCurve2d& T1, const KyGeCurve2d& T2,
                  KyGeObjList& edges, int f, int k) {
    if (Crosses(S1, T1) || Crosses(S2, T1)) return CutLineTee(S1, S2, T1, T2, edges, f, k);
    if (Crosses(S1, T2) || Crosses(S2, T2)) return CutLineTee(S1, S2, T2, T1, edges, f, k);
    if (Crosses(T1, S1) || Crosses(T2, S1)) return CutLineTee(T1, T2, S1, S2, edges, f, k);
    if (Crosses(T1, S2) || Crosses(T2, S2)) return CutLineTee(T1, T2, S2, S1, edges, f, k);
    return false;
}

// ---- corner ----

bool FindCornerPoints(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                      int kC, int kN, KyGePoint& P1, KyGePoint& P2) {
    const KyGeCurve2d *X = nullptr, *Y = nullptr, *Xo = nullptr, *Yo = nullptr;
    for (const KyGeCurve2d* x : {&e, &g}) {
        for (const KyGeCurve2d* y : {&a, &b}) {
            const std::vector<KyGePoint> pts = KyGeIntersectPoints(*x, *y);
            if (pts.empty()) continue;
            X = x, Y = y, P1 = pts.front();
            break;
        }
        if (X) break;
    }
    if (!X) return false;
    Xo = X == &e ? &g : &e;
    Yo = Y == &a ? &b : &a;
    const std::vector<KyGePoint> q = ExtendedCrossings(*Xo, *Yo);
    if (q.empty()) return false;
    const KyGePoint Q = q.front();
    const KyGePoint yFar = EndPoint(*Y, kN == kRoadSideStart ? kRoadSideEnd : kRoadSideStart);
    const KyGePoint yoFar = EndPoint(*Yo, kN == kRoadSideStart ? kRoadSideEnd : kRoadSideStart);
    const KyGePoint xFar = EndPoint(*X, kC == kRoadSideStart ? kRoadSideEnd : kRoadSideStart);
    const KyGePoint xoFar = EndPoint(*Xo, kC == kRoadSideStart ? kRoadSideEnd : kRoadSideStart);
    const std::unique_ptr<KyGeCurve2d> tYo = ExtendedPiece(*Yo, Q, yoFar), tY = ExtendedPiece(*Y, P1, yFar);
    const std::unique_ptr<KyGeCurve2d> tX = ExtendedPiece(*X, xFar, P1), tXo = ExtendedPiece(*Xo, xoFar, Q);
    const bool clear = !(tX && tYo && Crosses(*tX, *tYo)) && !(tXo && tY && Crosses(*tXo, *tY));
    if (clear) {
        P2 = Q;
        return true;
    }
    // The first crossing lay on the outer side: the inner corner is that of X with Y's partner.
    std::vector<KyGePoint> r = ExtendedCrossings(*X, *Yo);
    const std::vector<KyGePoint> r2 = ExtendedCrossings(*Xo, *Y);
    r.insert(r.end(), r2.begin(), r2.end());
    if (r.size() != 2) return false;
    P1 = r[0];
    P2 = r[1];
    return true;
}

// The pieces of a road's edges X (inner) and X' (outer) away from the corner: from the corner
// points to the far ends.
void CornerPieces(const KyGeCurve2d& Xo, const KyGeCurve2d& X, const KyGePoint& P1, const KyGePoint& P2,
                  KyGeObjList& out) {
    if (Distance2d(X.GetStartPoint(), P1) - Distance2d(X.GetEndPoint(), P1) <= KyRoadDistZero())
        out << ExtendedPiece(X, P1, X.GetEndPoint()) << ExtendedPiece(Xo, P2, Xo.GetEndPoint());
    else
        out << ExtendedPiece(X, X.GetStartPoint(), P1) << ExtendedPiece(Xo, Xo.GetStartPoint(), P2);
}

bool CutLineCorner(const KyGeCurve2d& Xo, const KyGeCurve2d& X, const KyGeCurve2d& Yo, const KyGeCurve2d& Y,
                   const KyGePoint& P1, const KyGePoint& P2, KyGeObjList& edges) {
    if (ExtendedCrossings(Xo, Yo).empty()) return false;
    KyGeObjList crossed, fresh;
    CornerPieces(Xo, X, P1, P2, crossed);
    CornerPieces(Yo, Y, P1, P2, fresh);
    RemoveMatchingCurve(edges, Yo);
    RemoveMatchingCurve(edges, Y);
    edges.Splice(fresh);
    WritePieces(crossed);
    return true;
}

bool BuildLineCorner(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                     const KyGePoint& P1, const KyGePoint& P2, KyGeObjList& edges) {
    for (const KyGeCurve2d* X : {&e, &g})
        for (const KyGeCurve2d* Y : {&a, &b}) {
            const std::vector<KyGePoint> pts = ExtendedCrossings(*X, *Y);
            if (pts.empty() || !Coincide(pts.front(), P1)) continue;
            return CutLineCorner(X == &e ? g : e, *X, Y == &a ? b : a, *Y, P1, P2, edges);
        }
    return false;
}

}  // namespace

// ---- drawing access ----

AcDbObjectId WriteRoadCurve(const KyGeCurve2d& curve, const wchar_t* layer) {
    std::unique_ptr<AcDbEntity> entity = RoadCurveToEntity(curve);
    if (!entity) return AcDbObjectId::kNull;
    entity->setLayer(KyDtInitStdLayer(layer, nullptr), true, false);
    return AddToCurrentSpace(entity.release(), 1);
}

bool EraseRoadEntity(const AcDbObjectId& id) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForWrite) != Acad::eOk) return false;
    const bool erased = object->erase() == Acad::eOk;
    object->close();
    return erased;
}

// ---- junction kinds ----

bool RoadsRunAlike(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const KyGeCurve2d *X = &g, *Y = &b;
    if (Crosses(e, a))
        X = &e, Y = &a;
    else if (Crosses(e, b))
        X = &e, Y = &b;
    else if (Crosses(g, a))
        X = &g, Y = &a;
    const KyGeLine2d M(X->GetMidPoint(), Y->GetMidPoint());
    const KyGePoint xs = X->GetStartPoint(), xe = X->GetEndPoint(), ys = Y->GetStartPoint(), ye = Y->GetEndPoint();
    if (M.HitTest(xs) != M.HitTest(xe) && M.HitTest(ys) != M.HitTest(ye)) return M.HitTest(xs) == M.HitTest(ys);
    // Along M: the roads run alike when their starts (or their ends) lie farthest apart.
    const double pxs = M.GetDistFromPt(xs), pxe = M.GetDistFromPt(xe);
    const double pys = M.GetDistFromPt(ys), pye = M.GetDistFromPt(ye);
    const double dss = std::fabs(pys - pxs), dse = std::fabs(pys - pxe), des = std::fabs(pye - pxs),
                 dee = std::fabs(pye - pxe);
    const auto largest = [](double d, double o1, double o2, double o3) {
        return d - o1 > KyRoadDistZero() && d - o2 > KyRoadDistZero() && d - o3 > KyRoadDistZero();
    };
    return largest(dss, dse, des, dee) || largest(dee, dss, dse, des);
}

bool RoadsCrossThrough(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b) {
    KyGePolyline2d crossed, fresh;
    if (!RoadOutline(e, g, crossed) || !RoadOutline(a, b, fresh)) return false;
    for (int side : {kRoadSideStart, kRoadSideEnd})
        if (RoadEndMeetsOutline(e, g, side, fresh) || RoadEndMeetsOutline(a, b, side, crossed)) return false;
    return true;
}

bool FindTeeEnd(const KyGeCurve2d& X1, const KyGeCurve2d& X2, const KyGeCurve2d& Y1, const KyGeCurve2d& Y2, int& k) {
    KyGePolyline2d ox, oy;
    if (!RoadOutline(X1, X2, ox) || !RoadOutline(Y1, Y2, oy)) return false;
    if (RoadEndMeetsOutline(Y1, Y2, kRoadSideStart, ox) || RoadEndMeetsOutline(Y1, Y2, kRoadSideEnd, ox)) return false;
    for (int side : {kRoadSideStart, kRoadSideEnd})
        if (RoadEndMeetsOutline(X1, X2, side, oy)) {
            k = side;
            return true;
        }
    return false;
}

// ---- shared pieces ----

std::unique_ptr<KyGeCurve2d> ExtendedPiece(const KyGeCurve2d& x, const KyGePoint& p, const KyGePoint& q) {
    const std::unique_ptr<KyGeCurve2d> ext = x.GetExtendCurve();
    return ext ? ext->GetSubCurve(p, q) : nullptr;
}

void OrientPieces(KyGeObjList& pieces, const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a,
                  const KyGeCurve2d& b) {
    for (int i = 0; i < pieces.GetLength(); ++i) {
        KyGeCurve2d* p = KyGeCast<KyGeCurve2d>(pieces[i]);
        if (!p) continue;
        for (const KyGeCurve2d* s : {&e, &g, &a, &b}) {
            if (!s->IsInclude(*p)) continue;
            if (IsArc(*s)) {
                if (s->IsClockwise() != p->IsClockwise()) p->Reverse();
            } else if (Distance2d(s->GetStartPoint(), p->GetStartPoint()) -
                           Distance2d(s->GetStartPoint(), p->GetEndPoint()) > KyRoadDistZero()) {
                p->Reverse();
            }
            break;
        }
    }
}

// ---- the rebuild ----

bool RebuildJunctionEdges(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                          KyGeObjList& edges, AcDbObjectId& centreLine) {
    if (!IsArc(e) && !IsArc(a)) return RebuildLineJunction(e, g, a, b, edges, centreLine);
    return RebuildArcJunction(e, g, a, b, edges, centreLine);
}

bool RebuildLineJunction(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                         KyGeObjList& edges, AcDbObjectId& centreLine) {
    KyGeObjList P;
    for (const KyGeCurve2d* c : {&a, &b, &e, &g}) P.AppendClone(*c);
    InterBreakCurve2d(P);
    const bool alike = RoadsRunAlike(e, g, a, b);
    int kC = kRoadSideStart, kN = alike ? kRoadSideStart : kRoadSideEnd;
    bool corner = RoadEndsOverlap(e, g, a, b, kC, kN);
    if (!corner) {
        kC = kRoadSideEnd, kN = alike ? kRoadSideEnd : kRoadSideStart;
        corner = RoadEndsOverlap(e, g, a, b, kC, kN);
    }
    if (corner) {
        KyGePoint P1, P2;
        if (!FindCornerPoints(e, g, a, b, kC, kN, P1, P2)) return false;
        JoinCornerCenterLines(e, g, a, b, kC, kN, centreLine);
        return BuildLineCorner(e, g, a, b, P1, P2, edges);
    }
    if (RoadsCrossThrough(e, g, a, b)) {
        if (!DropJunctionPieces(P, e, g, a, b)) return false;
        TakeNewRoadPieces(edges, P, a, b);
        OrientPieces(P, e, g, a, b);
        WritePieces(P);
        return true;
    }
    int k = 0;
    if (FindTeeEnd(e, g, a, b, k)) return BuildLineTee(e, g, a, b, edges, 1, k);
    if (FindTeeEnd(a, b, e, g, k)) return BuildLineTee(a, b, e, g, edges, 2, k);
    return false;
}

// ---- centre lines at a corner ----

void JoinCornerCenterLines(const KyGeCurve2d& e, const KyGeCurve2d& g, const KyGeCurve2d& a, const KyGeCurve2d& b,
                           int kC, int kN, AcDbObjectId& centreLine) {
    KyGePolyline2d outline;
    if (!RoadOutline(e, g, outline)) return;
    (void)b;
    const KyAdsEntSet centres = SelectCenterLinesIn(outline);
    for (const AcDbObjectId& id : centres.Ids()) {
        if (id == centreLine) continue;
        std::unique_ptr<KyGeCurve2d> K = ReadRoadCurve(id);
        if (!K || !IsCentreLineOf(*K, e)) continue;
        std::unique_ptr<KyGeCurve2d> N = ReadRoadCurve(centreLine);
        if (!N) return;
        OrientAlong(*N, a);
        const std::unique_ptr<KyGeCurve2d> xK = K->GetExtendCurve(), xN = N->GetExtendCurve();
        const std::vector<KyGePoint> pts = ExtendedCrossings(*N, *K);
        if (pts.empty() || pts.size() > 2) continue;
        const auto kPiece = [&](const KyGePoint& I) {
            return kC == kRoadSideStart ? xK->GetSubCurve(I, K->GetEndPoint()) : xK->GetSubCurve(K->GetStartPoint(), I);
        };
        KyGePoint I = pts.front();
        if (pts.size() == 2) {
            // Of two crossings, the one that changes the crossed centre line's length least.
            const std::unique_ptr<KyGeCurve2d> k0 = kPiece(pts[0]), k1 = kPiece(pts[1]);
            const double d0 = k0 ? std::fabs(k0->Length() - K->Length()) : HUGE_VAL;
            const double d1 = k1 ? std::fabs(k1->Length() - K->Length()) : HUGE_VAL;
            if (d1 < d0 - KyRoadDistZero()) I = pts[1];
        }
        const wchar_t* centreLayer = L"PLAN-ROAD_CENTER";
        if (const std::unique_ptr<KyGeCurve2d> newK = kPiece(I)) {
            if (!WriteRoadCurve(*newK, centreLayer).isNull()) EraseRoadEntity(id);
        }
        const std::unique_ptr<KyGeCurve2d> newN =
            kN == kRoadSideStart ? xN->GetSubCurve(I, N->GetEndPoint()) : xN->GetSubCurve(N->GetStartPoint(), I);
        if (newN) {
            const AcDbObjectId written = WriteRoadCurve(*newN, centreLayer);
            if (!written.isNull()) {
                EraseRoadEntity(centreLine);
                centreLine = written;
            }
        }
        return;
    }
}
