// The junction rebuild through junctions already built: edges cut at the new edges, pieces kept
// on the boundary of the pavement the roads make together, corners filleted afresh.
#include "road/roadgeneral.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "host/db/dbextents.h"
#include "host/db/dbmain.h"
#include "road/roadfillet.h"
#include "road/roadpredicates.h"
#include "road/roadrebuild.h"
#include "road/roadsearch.h"
#include "road/roadsettings.h"

namespace {

// Cosines between the normals of two pieces at a join: above kTangentJoin the pavement side runs
// on from one to the other (FILLET's arcs meet their lines within rounding); below kCornerJoin
// the join is a corner and tells nothing of the side.
constexpr double kTangentJoin = 1.0 - 1e-6;
constexpr double kCornerJoin = 0.9;
// A new edge meeting an existing one at less than about 3 degrees does not clearly go into or
// out of the pavement there: the rebuild is not attempted.
constexpr double kClearCrossing = 0.05;

bool Near(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }
bool IsEndOf(const KyGeCurve2d& c, const KyGePoint& p) { return Near(c.GetStartPoint(), p) || Near(c.GetEndPoint(), p); }
double Dot(const KyGeVector2d& a, const KyGeVector2d& b) { return a.x * b.x + a.y * b.y; }

// The unit normal on the left of travel at p's foot on c.
KyGeVector2d LeftNormal(const KyGeCurve2d& c, const KyGePoint& p) {
    const KyGeVector2d t = c.GetTangent(c.GetPaFromPt(p));
    return KyGeVector2d(-t.y, t.x);
}

// One road edge of the rebuild: an existing one (its entity id) or a new one.
struct Piece {
    std::unique_ptr<KyGeCurve2d> curve;
    AcDbObjectId id;       // the entity it comes from; null for the new road's edges
    bool changed = false;  // cut, run on to a corner or new: written afresh
    bool keep = true;
    int side = 0;  // the pavement lies on the left of travel (+1), on the right (-1), unknown (0)
    int partner = -1;  // the index of its nearest partner edge, -1 when it has none
    // The pavement's normal at p (pointing into the pavement).
    KyGeVector2d Into(const KyGePoint& p) const {
        const KyGeVector2d n = LeftNormal(*curve, p);
        return KyGeVector2d(n.x * side, n.y * side);
    }
};

// A corner to fillet: where it is and at which radius.
struct Corner {
    KyGePoint at;
    double radius;
    KyGePoint arcCentre;  // a former corner's: the centre of the fillet it had
    bool former;
};

// Each edge's pavement side: towards its nearest partner edge, or, for a fillet arc that has
// none, the side its tangent neighbour's pavement continues on.
void FindSides(std::vector<Piece>& P) {
    for (Piece& p : P) {
        const KyGePoint m = p.curve->GetMidPoint();
        double best = -1.0;
        KyGePoint towards;
        for (size_t j = 0; j < P.size(); ++j) {
            const Piece& o = P[j];
            // Asked both ways: a short piece is the partner of a long edge it lies beside.
            if (&o == &p || !(IsPartnerEdge(*p.curve, *o.curve) || IsPartnerEdge(*o.curve, *p.curve))) continue;
            const double d = EdgeDistance(*p.curve, *o.curve);
            const std::unique_ptr<KyGeCurve2d> ext = o.curve->GetExtendCurve();
            KyGePoint q;
            if (!ext || (best >= 0 && d >= best)) continue;
            ext->GetClosestPoint2d(m, q);
            best = d;
            towards = q;
            p.partner = static_cast<int>(j);
        }
        if (best >= 0) p.side = Dot(KyGeVector2d(towards.x - m.x, towards.y - m.y), LeftNormal(*p.curve, m)) > 0 ? 1 : -1;
    }
    for (bool again = true; again;) {
        again = false;
        for (Piece& p : P) {
            for (const Piece& o : P) {
                if (p.side || !o.side || &o == &p) continue;
                for (const KyGePoint& J : {p.curve->GetStartPoint(), p.curve->GetEndPoint()}) {
                    if (!IsEndOf(*o.curve, J)) continue;
                    const double d = Dot(o.Into(J), LeftNormal(*p.curve, J));
                    if (std::fabs(d) < kCornerJoin) continue;
                    p.side = d > 0 ? 1 : -1;
                    again = true;
                    break;
                }
            }
        }
    }
}

// The piece of P other than i with an end at J, joining i tangentially; -1 when none.
int TangentNeighbour(const std::vector<Piece>& P, size_t i, const KyGePoint& J) {
    for (size_t j = 0; j < P.size(); ++j) {
        if (j == i || !P[j].keep || !IsEndOf(*P[j].curve, J)) continue;
        const double d = Dot(LeftNormal(*P[j].curve, J), LeftNormal(*P[i].curve, J));
        if (std::fabs(d) > kTangentJoin) return static_cast<int>(j);
    }
    return -1;
}

// c with its end at J moved on to V along its line or circle; null when that cannot be made or
// would not be c run on by the short way (an arc going round the other way).
std::unique_ptr<KyGeCurve2d> RunOnTo(const KyGeCurve2d& c, const KyGePoint& J, const KyGePoint& V) {
    const std::unique_ptr<KyGeCurve2d> ext = c.GetExtendCurve();
    if (!ext) return nullptr;
    std::unique_ptr<KyGeCurve2d> run =
        Near(c.GetStartPoint(), J) ? ext->GetSubCurve(V, c.GetEndPoint()) : ext->GetSubCurve(c.GetStartPoint(), V);
    if (!run || !(run->HitTest(c.GetMidPoint()) & kKyGeHitOn) ||
        run->Length() > c.Length() + 2.0 * Distance2d(J, V) + KyRoadDistZero())
        return nullptr;
    return run;
}

// Fillet arc i of P taken out and the pieces it joins run on to the corner v they make: 1 when
// done, 0 when arc i joins no two pieces tangentially (no fillet), -1 when the corner cannot be
// made.
int TakeOutFillet(std::vector<Piece>& P, size_t i, KyGePoint& v) {
    const KyGeCurve2d& arc = *P[i].curve;
    const KyGePoint J1 = arc.GetStartPoint(), J2 = arc.GetEndPoint();
    const int n1 = TangentNeighbour(P, i, J1), n2 = TangentNeighbour(P, i, J2);
    if (n1 < 0 || n2 < 0 || n1 == n2) return 0;
    const std::vector<KyGePoint> V = ExtendedCrossings(*P[n1].curve, *P[n2].curve);
    if (V.empty()) return -1;
    const KyGePoint mid = arc.GetMidPoint();
    v = *std::min_element(V.begin(), V.end(), [&](const KyGePoint& a, const KyGePoint& b) {
        return Distance2d(a, mid) < Distance2d(b, mid);
    });
    std::unique_ptr<KyGeCurve2d> c1 = RunOnTo(*P[n1].curve, J1, v), c2 = RunOnTo(*P[n2].curve, J2, v);
    if (!c1 || !c2) return -1;
    P[n1].curve = std::move(c1);
    P[n2].curve = std::move(c2);
    P[n1].changed = P[n2].changed = true;
    P[i].keep = false;
    return 1;
}

// The fillet arcs the new road reaches (crossed by a new edge, or the arc or the corner it rounds
// lying in the new pavement) taken out; the corners into `corners`.
bool TakeOutFillets(std::vector<Piece>& P, const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                    double width, std::vector<Corner>& corners) {
    for (size_t i = 0; i < P.size(); ++i) {
        const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(P[i].curve.get());
        if (!arc || !P[i].keep || !IsFilletSized(*arc, KyRoadFilletRadius() + 2.0 * width)) continue;
        KyGeObjList pts;
        left.IntersectWith(*arc, pts);
        right.IntersectWith(*arc, pts);
        if (pts.IsEmpty() && !InsideRoadPavement(arc->GetMidPoint(), left, right, centre, width) &&
            !InsideRoadPavement(FilletCorner(*arc), left, right, centre, width))
            continue;
        const double radius = arc->GetRadius();
        const KyGePoint arcCentre = arc->GetCenter();
        KyGePoint v;
        const int taken = TakeOutFillet(P, i, v);
        if (taken < 0) return false;
        if (taken > 0) corners.push_back({v, radius, arcCentre, true});
    }
    return true;
}

// The centre lines of the former bends whose corner the new road has taken in: each one's arc
// (about the bend's fillet centre, or in the same-radius style about its own, rounding a corner
// on the new road) taken out and its two centre lines run on to their corner, so that they meet
// the new centre line there as at any junction.
void JoinCentreLines(const std::vector<AcDbObjectId>& ids, const KyGeObjList& curves,
                     const std::vector<KyGePoint>& arcCentres, const KyGeCurve2d& left, const KyGeCurve2d& right,
                     const KyGeCurve2d& centre, double width) {
    const auto onNewRoad = [&](const KyGePoint& p) {
        KyGePoint foot;
        return OnRoadPavement(p, left, right, centre, width) || (centre.GetClosestPoint2d(p, foot) && Near(foot, p));
    };
    std::vector<Piece> C;
    for (int i = 0; i < curves.GetLength() && static_cast<size_t>(i) < ids.size(); ++i)
        if (const KyGeCurve2d* c = KyGeCast<KyGeCurve2d>(curves[i])) {
            Piece piece;
            piece.curve = c->Clone();
            piece.id = ids[static_cast<size_t>(i)];
            C.push_back(std::move(piece));
        }
    for (size_t i = 0; i < C.size(); ++i) {
        const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(C[i].curve.get());
        if (!arc || !IsFilletSized(*arc, KyRoadFilletRadius() + 2.0 * width) ||
            (!std::any_of(arcCentres.begin(), arcCentres.end(), [&](const KyGePoint& o) { return Near(o, arc->GetCenter()); }) &&
             !onNewRoad(FilletCorner(*arc))))
            continue;
        KyGePoint v;
        TakeOutFillet(C, i, v);
    }
    for (const Piece& p : C) {
        if (p.id.isNull() || (p.keep && !p.changed)) continue;
        EraseRoadEntity(p.id);
        if (p.keep) WriteRoadCurve(*p.curve, L"PLAN-ROAD_CENTER");
    }
}

// A point where a new edge crosses an existing piece, and whether the new edge goes into the
// pavement there.
struct Crossing {
    double pa;
    KyGePoint at;
    bool entering;
    bool openEnd = false;  // through an existing road's open end: no edge there, no corner
};

// The existing pieces cut where the new edges cross them and where the new road's ends lie
// across them; the crossings along each new edge, also where it passes through an open road end
// (caps). The points where the pavement ends open into `open`. False when a new edge meets a
// piece whose pavement side is unknown or runs along it.
bool CutAtNewEdges(std::vector<Piece>& P, const std::vector<RoadEndCap>& caps, const KyGeCurve2d* edges[2],
                   std::vector<Crossing> along[2], std::vector<KyGePoint>& open) {
    const KyGeLineSeg2d ends[2] = {KyGeLineSeg2d(edges[0]->GetStartPoint(), edges[1]->GetStartPoint()),
                                   KyGeLineSeg2d(edges[0]->GetEndPoint(), edges[1]->GetEndPoint())};
    const size_t existing = P.size();
    for (size_t i = 0; i < existing; ++i) {
        if (!P[i].keep) continue;
        std::vector<double> cuts;
        for (int k = 0; k < 2; ++k) {
            KyGeObjList pts;
            if (!edges[k]->IntersectWith(*P[i].curve, pts)) continue;
            for (int j = 0; j < pts.GetLength(); ++j) {
                const KyGePoint2d* p = KyGeCast<KyGePoint2d>(pts[j]);
                if (!p) continue;
                const KyGePoint x = p->GetPoint();
                if (!P[i].side) return false;
                const KyGeVector2d t = edges[k]->GetTangent(edges[k]->GetPaFromPt(x));
                const double into = Dot(t, P[i].Into(x));
                if (std::fabs(into) < kClearCrossing) return false;
                along[k].push_back({edges[k]->GetPaFromPt(x), x, into > 0});
                // A new edge ending on a piece does not cut it.
                if (!IsEndOf(*P[i].curve, x) && !IsEndOf(*edges[k], x)) cuts.push_back(P[i].curve->GetPaFromPt(x));
            }
        }
        for (const KyGeLineSeg2d& end : ends)
            for (const KyGePoint& x : KyGeIntersectPoints(*P[i].curve, end))
                if (!IsEndOf(*P[i].curve, x) && !IsEndOf(end, x)) {
                    cuts.push_back(P[i].curve->GetPaFromPt(x));
                    open.push_back(x);
                }
        if (cuts.empty()) continue;
        std::sort(cuts.begin(), cuts.end());
        cuts.insert(cuts.begin(), 0.0);
        cuts.push_back(1.0);
        for (size_t c = 0; c + 1 < cuts.size(); ++c) {
            std::unique_ptr<KyGeCurve2d> sub = P[i].curve->GetSubCurve(cuts[c], cuts[c + 1]);
            if (!sub || sub->Length() <= KyRoadDistZero()) continue;
            Piece piece;
            piece.curve = std::move(sub);
            piece.side = P[i].side;
            piece.changed = true;
            P.push_back(std::move(piece));
        }
        P[i].keep = false;
    }
    for (const RoadEndCap& cap : caps)
        for (int k = 0; k < 2; ++k)
            for (const KyGePoint& x : KyGeIntersectPoints(*edges[k], KyGeLineSeg2d(cap.a, cap.b))) {
                // Through a corner of the end the edge crossing there counts.
                if (Near(x, cap.a) || Near(x, cap.b) || IsEndOf(*edges[k], x)) continue;
                const double into = Dot(edges[k]->GetTangent(edges[k]->GetPaFromPt(x)), cap.into);
                if (std::fabs(into) < kClearCrossing) return false;
                along[k].push_back({edges[k]->GetPaFromPt(x), x, into > 0, true});
                open.push_back(x);
            }
    for (int k = 0; k < 2; ++k) {
        std::vector<Crossing>& X = along[k];
        std::sort(X.begin(), X.end(), [](const Crossing& a, const Crossing& b) { return a.pa < b.pa; });
        // One crossing where the edge passes through the join of two pieces.
        std::vector<Crossing> once;
        for (const Crossing& x : X) {
            if (!once.empty() && Near(once.back().at, x.at)) {
                if (once.back().entering != x.entering) return false;
                continue;
            }
            once.push_back(x);
        }
        X = once;
    }
    return true;
}

// p lies between an existing edge and its partner, off both and with its feet on both: on an
// existing road whatever the crossings say (a new edge leaving a road through its open end).
bool BetweenPartners(const std::vector<Piece>& P, size_t existing, const KyGePoint& p) {
    const double tol = KyRoadDistZero();
    for (size_t i = 0; i < existing; ++i) {
        if (P[i].partner < 0) continue;
        const KyGeCurve2d& e = *P[i].curve;
        const KyGeCurve2d& g = *P[static_cast<size_t>(P[i].partner)].curve;
        KyGePoint fe, fg;
        if (!e.GetClosestPoint2d(p, fe) || !g.GetClosestPoint2d(p, fg)) continue;
        const double de = Distance2d(p, fe), dg = Distance2d(p, fg);
        if (de > tol && dg > tol && de + dg <= EdgeDistance(e, g) + tol) return true;
    }
    return false;
}

// The new edge's pieces between its crossings that lie outside the pavement around; false when
// the crossings do not alternate into and out of it, the edge crosses nothing, or a piece taken
// for outside lies on an existing road after all.
bool OutsidePieces(const KyGeCurve2d& edge, const std::vector<Crossing>& X, size_t existing, std::vector<Piece>& P) {
    if (X.empty()) return false;
    for (size_t i = 1; i < X.size(); ++i)
        if (X[i].entering == X[i - 1].entering) return false;
    std::vector<double> cuts{0.0};
    for (const Crossing& x : X) cuts.push_back(x.pa);
    cuts.push_back(1.0);
    for (size_t c = 0; c + 1 < cuts.size(); ++c) {
        // Before the first crossing the edge is inside when that crossing leaves the pavement.
        const bool inside = c == 0 ? !X[0].entering : X[c - 1].entering;
        if (inside) continue;
        std::unique_ptr<KyGeCurve2d> sub = edge.GetSubCurve(cuts[c], cuts[c + 1]);
        if (!sub || sub->Length() <= KyRoadDistZero()) continue;
        if (BetweenPartners(P, existing, sub->GetMidPoint())) return false;
        Piece piece;
        piece.curve = std::move(sub);
        piece.changed = true;
        P.push_back(std::move(piece));
    }
    return true;
}

// Every end of a piece kept meets another piece kept, or was open before (`open`).
bool NoEndLeftOpen(const std::vector<Piece>& P, const std::vector<KyGePoint>& open) {
    for (size_t i = 0; i < P.size(); ++i) {
        if (!P[i].keep) continue;
        for (const KyGePoint& e : {P[i].curve->GetStartPoint(), P[i].curve->GetEndPoint()}) {
            bool met = std::any_of(open.begin(), open.end(), [&](const KyGePoint& o) { return Near(o, e); });
            for (size_t j = 0; j < P.size() && !met; ++j) met = j != i && P[j].keep && IsEndOf(*P[j].curve, e);
            if (!met) return false;
        }
    }
    return true;
}

// No two pieces kept cross or touch other than end to end.
bool NoPiecesCross(const std::vector<Piece>& P) {
    for (size_t i = 0; i < P.size(); ++i) {
        if (!P[i].keep) continue;
        for (size_t j = i + 1; j < P.size(); ++j) {
            if (!P[j].keep) continue;
            KyGeObjList pts;
            P[i].curve->IntersectWith(*P[j].curve, pts);
            for (int k = 0; k < pts.GetLength(); ++k) {
                const KyGePoint2d* p = KyGeCast<KyGePoint2d>(pts[k]);
                if (p && !(IsEndOf(*P[i].curve, p->GetPoint()) && IsEndOf(*P[j].curve, p->GetPoint()))) return false;
            }
        }
    }
    return true;
}

// The ends of the pieces that meet no other piece.
std::vector<KyGePoint> OpenEnds(const std::vector<Piece>& P) {
    std::vector<KyGePoint> open;
    for (size_t i = 0; i < P.size(); ++i)
        for (const KyGePoint& e : {P[i].curve->GetStartPoint(), P[i].curve->GetEndPoint()}) {
            bool met = false;
            for (size_t j = 0; j < P.size() && !met; ++j) met = j != i && IsEndOf(*P[j].curve, e);
            if (!met) open.push_back(e);
        }
    return open;
}

// The pick on c near its end at p: a tenth of c in, or half the radius when that is nearer, so
// that FILLET takes the crossing at p and not another of c's circle.
KyGePoint PickNear(const KyGeCurve2d& c, const KyGePoint& p, double radius) {
    const double in = std::min(0.1 * c.Length(), 0.5 * radius);
    return c.GetPtFromDist(Near(c.GetStartPoint(), p) ? in : c.Length() - in);
}

// The road edges ids as they are in the drawing now.
std::vector<Piece> ReadPieces(const std::vector<AcDbObjectId>& ids) {
    std::vector<Piece> P;
    for (const AcDbObjectId& id : ids)
        if (std::unique_ptr<KyGeCurve2d> now = ReadRoadCurve(id)) {
            Piece piece;
            piece.curve = std::move(now);
            P.push_back(std::move(piece));
        }
    return P;
}

// FILLET at each corner, the pieces around being `pieces`. A fillet that crosses another piece
// (a radius too large for two roads close together, or an arc run round the long way) is taken
// back, and one line says the corner stays sharp.
void FilletClear(const std::map<double, std::vector<RoadFilletPair>>& byRadius, std::vector<AcDbObjectId> pieces) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    for (const auto& group : byRadius) {
        if (!SetRoadFilletRadius(group.first)) continue;
        for (const RoadFilletPair& pair : group.second) {
            AcDbExtents box;
            for (const AcDbObjectId& id : {pair.first, pair.second})
                if (const std::unique_ptr<KyGeCurve2d> c = ReadRoadCurve(id))
                    for (const KyGePoint& p : {c->GetStartPoint(), c->GetMidPoint(), c->GetEndPoint()})
                        box.addPoint(AcGePoint3d(p.x, p.y, 0.0));
            box.expandBy(4.0 * group.first);
            const AcDbObjectIdArray was = db->entitiesMeetingBox(box);
            const size_t before = db->undoPosition();
            RunFillet(pair.first, pair.second, pair.firstPick, pair.secondPick);
            if (db->undoPosition() == before) continue;
            std::vector<AcDbObjectId> now = pieces;
            for (const AcDbObjectId& id : db->entitiesMeetingBox(box))
                if (!was.contains(id)) now.push_back(id);
            if (NoPiecesCross(ReadPieces(now))) {
                pieces = now;
                continue;
            }
            AcDbUndoChunk undone;
            db->revertTo(before, undone);
            ReportSharpRoadCorner(pair.first, pair.firstPick, group.first);
        }
    }
}

}  // namespace

std::vector<RoadEndCap> FindRoadEndCaps(const KyGeObjList& curves) {
    std::vector<const KyGeCurve2d*> C;
    for (int i = 0; i < curves.GetLength(); ++i)
        if (const KyGeCurve2d* c = KyGeCast<KyGeCurve2d>(curves[i])) C.push_back(c);
    const auto open = [&](size_t i, const KyGePoint& end) {
        for (size_t j = 0; j < C.size(); ++j)
            if (j != i && IsEndOf(*C[j], end)) return false;
        return true;
    };
    std::vector<RoadEndCap> caps;
    for (size_t i = 0; i < C.size(); ++i)
        for (size_t j = i + 1; j < C.size(); ++j) {
            if (!IsPartnerEdge(*C[i], *C[j]) && !IsPartnerEdge(*C[j], *C[i])) continue;
            const double w = EdgeDistance(*C[i], *C[j]);
            for (const bool startI : {true, false})
                for (const bool startJ : {true, false}) {
                    const KyGePoint a = startI ? C[i]->GetStartPoint() : C[i]->GetEndPoint();
                    const KyGePoint b = startJ ? C[j]->GetStartPoint() : C[j]->GetEndPoint();
                    // Across the road, square to it: as far apart as the edges are.
                    if (Distance2d(a, b) > w + KyRoadDistZero() || !open(i, a) || !open(j, b)) continue;
                    const KyGeVector2d t = C[i]->GetTangent(startI ? 0.0 : 1.0);
                    caps.push_back({a, b, startI ? t : KyGeVector2d(-t.x, -t.y)});
                }
        }
    return caps;
}

bool IsFilletSized(const KyGeArc2d& arc, double largest) {
    return arc.GetRadius() <= largest && arc.Length() <= arc.GetRadius() * KyGePi;
}

KyGePoint FilletCorner(const KyGeArc2d& arc) {
    const KyGePoint o = arc.GetCenter(), a = arc.GetStartPoint(), b = arc.GetEndPoint();
    const KyGePoint m((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, 0.0);
    const double d2 = (m.x - o.x) * (m.x - o.x) + (m.y - o.y) * (m.y - o.y);
    if (!(d2 > 0.0)) return arc.GetMidPoint();
    const double k = arc.GetRadius() * arc.GetRadius() / d2;
    return KyGePoint(o.x + (m.x - o.x) * k, o.y + (m.y - o.y) * k, 0.0);
}

bool RebuildAcrossBuiltJunctions(const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                                 const std::vector<AcDbObjectId>& ids, const KyGeObjList& curves,
                                 const std::vector<AcDbObjectId>& centreIds, const KyGeObjList& centreCurves) {
    std::vector<Piece> P;
    for (int i = 0; i < curves.GetLength() && static_cast<size_t>(i) < ids.size(); ++i) {
        const KyGeCurve2d* c = KyGeCast<KyGeCurve2d>(curves[i]);
        if (!c) continue;
        Piece piece;
        piece.curve = c->Clone();
        piece.id = ids[static_cast<size_t>(i)];
        P.push_back(std::move(piece));
    }
    const double width = EdgeDistance(left, right);
    const size_t existing = P.size();
    std::vector<KyGePoint> open = OpenEnds(P);
    for (const KyGeCurve2d* e : {&left, &right}) open.insert(open.end(), {e->GetStartPoint(), e->GetEndPoint()});
    FindSides(P);
    std::vector<Corner> corners;
    if (!TakeOutFillets(P, left, right, centre, width, corners)) return false;
    const KyGeCurve2d* edges[2] = {&left, &right};
    std::vector<Crossing> along[2];
    if (!CutAtNewEdges(P, FindRoadEndCaps(curves), edges, along, open)) return false;
    for (Piece& p : P)
        if (p.keep && InsideRoadPavement(p.curve->GetMidPoint(), left, right, centre, width)) p.keep = false;
    if (!OutsidePieces(left, along[0], existing, P) || !OutsidePieces(right, along[1], existing, P)) return false;
    if (!NoEndLeftOpen(P, open) || !NoPiecesCross(P)) return false;

    // The drawing: former entities out, pieces written afresh.
    std::vector<std::pair<AcDbObjectId, const KyGeCurve2d*>> written;
    for (const Piece& p : P)
        if (!p.id.isNull() && (!p.keep || p.changed)) EraseRoadEntity(p.id);
    for (const Piece& p : P) {
        if (!p.keep) continue;
        const AcDbObjectId id = p.changed || p.id.isNull() ? WriteRoadCurve(*p.curve, L"PLAN-ROAD") : p.id;
        written.emplace_back(id, p.curve.get());
    }
    if (g_bRoadCenterLine) WriteRoadCurve(centre, L"PLAN-ROAD_CENTER");

    // New corners where a new edge meets an existing one; former corners still there, and the
    // centre lines of those no longer there.
    for (int k = 0; k < 2; ++k)
        for (const Crossing& x : along[k])
            if (!x.openEnd) corners.push_back({x.at, KyRoadFilletRadius(), KyGePoint(), false});
    std::map<double, std::vector<RoadFilletPair>> byRadius;
    std::vector<KyGePoint> goneBends;
    for (const Corner& c : corners) {
        std::vector<size_t> at;
        for (size_t i = 0; i < written.size(); ++i)
            if (IsEndOf(*written[i].second, c.at)) at.push_back(i);
        const bool there = at.size() == 2 && IsJunctionCandidate(*written[at[0]].second, *written[at[1]].second);
        if (c.former && !there) goneBends.push_back(c.arcCentre);
        if (!there) continue;
        const auto& a = written[at[0]];
        const auto& b = written[at[1]];
        AddFilletPair(byRadius[c.radius], {a.first, b.first, PickNear(*a.second, c.at, c.radius), PickNear(*b.second, c.at, c.radius)});
    }
    if (!goneBends.empty()) JoinCentreLines(centreIds, centreCurves, goneBends, left, right, centre, width);
    if (!g_bRoadFillet) return true;
    std::vector<AcDbObjectId> pieces;
    for (const auto& w : written) pieces.push_back(w.first);
    FilletClear(byRadius, pieces);
    return true;
}
