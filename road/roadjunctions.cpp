// Junction processing: the existing road edges a new segment crosses, the rebuild of each
// junction, the replaced edges erased, the new pieces written and the new corners filleted.
#include "road/roadjunctions.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/select/KyAdsEntSet.h"
#include "host/db/dbarc.h"
#include "host/db/dbentity.h"
#include "host/db/dbextents.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/ed/aced.h"
#include "host/mfc/cstring.h"
#include "road/roadcorners.h"
#include "road/roadfillet.h"
#include "road/roadgeneral.h"
#include "road/roadpieces.h"
#include "road/roadpredicates.h"
#include "road/roadrebuild.h"
#include "road/roadsearch.h"
#include "road/roadsettings.h"

namespace {

const KyGeCurve2d* CurveAt(const KyGeObjList& list, int i) { return KyGeCast<KyGeCurve2d>(list[i]); }

bool SameShape(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    const auto same = [](const KyGePoint& p, const KyGePoint& q) { return Distance2d(p, q) <= KyRoadDistZero(); };
    return same(a.GetEndPoint(), b.GetEndPoint()) && same(a.GetStartPoint(), b.GetStartPoint()) &&
           same(a.GetMidPoint(), b.GetMidPoint());
}

// One existing edge the new road crosses.
struct CrossedEdge {
    AcDbObjectId id;
    std::unique_ptr<KyGeCurve2d> curve;
    bool rebuilt = false;
};

// Takes every change this call made to the drawing back (the database's own undo log), so that
// a junction that fails half-built leaves neither pieces nor a centre line behind.
class DrawingCheckpoint {
public:
    DrawingCheckpoint() : m_db(acdbHostApplicationServices()->workingDatabase()), m_pos(m_db ? m_db->undoPosition() : 0) {}
    void Restore() const {
        if (!m_db || m_db->undoPosition() <= m_pos) return;
        AcDbUndoChunk discarded;
        m_db->revertTo(m_pos, discarded);
    }

private:
    AcDbDatabase* m_db;
    size_t m_pos;
};

// Every line and arc on a road layer: the set, and the ids and geometry of those that convert.
KyAdsEntSet ReadRoadLayer(const wchar_t* layer, std::vector<AcDbObjectId>& ids, KyGeObjList& G) {
    KyAdsEntSet set;
    set.Get(L"X", nullptr, nullptr, RoadCurveFilter(KyDtGetLayerName(layer)));
    ReadRoadCurves(set, ids, G);
    return set;
}

KyRoadSearch g_roadSearch = KyRoadSearch::kIndexed;

// The plan box of a curve (an arc's whole circle), grown by margin.
AcDbExtents CurveBox(const KyGeCurve2d& c, double margin) {
    AcDbExtents box;
    if (const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(&c)) {
        const KyGePoint o = arc->GetCenter();
        const double r = arc->GetRadius();
        box.set(AcGePoint3d(o.x - r, o.y - r, 0), AcGePoint3d(o.x + r, o.y + r, 0));
    } else {
        box.set(AcGePoint3d(c.GetStartPoint().x, c.GetStartPoint().y, 0), AcGePoint3d(c.GetEndPoint().x, c.GetEndPoint().y, 0));
    }
    box.expandBy(margin);
    return box;
}

// The road lines and arcs on a layer whose extents meet the box, in database order: the ids and
// the geometry of those that convert. With the plain scan, every one on the layer.
void ReadRoadsMeeting(const wchar_t* layer, const AcDbExtents& box, std::vector<AcDbObjectId>& ids, KyGeObjList& G) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (g_roadSearch == KyRoadSearch::kPlainScan || !db) {
        ReadRoadLayer(layer, ids, G);
        return;
    }
    const std::wstring name = KyDtGetLayerName(layer);
    for (const AcDbObjectId& id : db->entitiesMeetingBox(box)) {
        const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id));
        if (!e || (!AcDbLine::cast(e) && !AcDbArc::cast(e)) || e->layer() != name) continue;
        if (std::unique_ptr<KyGeCurve2d> curve = ReadRoadCurve(id)) {
            ids.push_back(id);
            G << std::move(curve);
        }
    }
}

// The road edges junction processing reads: those near the new segment and near each crossed
// edge, gathered once each; or, with the plain scan or when an edge's partner may lie farther
// out, the whole road layer.
class RoadEdgeSet {
public:
    explicit RoadEdgeSet(double reach) : m_reach(reach) {}
    void Read(const AcDbExtents& box) {
        if (m_all) return;
        std::vector<AcDbObjectId> ids;
        KyGeObjList G;
        ReadRoadsMeeting(L"PLAN-ROAD", box, ids, G);
        if (g_roadSearch == KyRoadSearch::kPlainScan) m_all = true;
        for (size_t i = 0; i < ids.size(); ++i) {
            if (std::find(m_ids.begin(), m_ids.end(), ids[i]) != m_ids.end()) continue;
            m_ids.push_back(ids[i]);
            m_curves.AppendClone(*G[static_cast<int>(i)]);
        }
    }
    // The partner edges of c nearest to its line or circle. Through the index only the edges
    // within reach of c are looked at; a partner found within reach is the nearest of all,
    // since any nearer one overlaps c closer still. Otherwise the whole layer is read.
    bool FindPartners(const KyGeCurve2d& c, KyGeObjList& R) {
        const bool arc = c.IsClassOf(KyGeArc2d::s_classInfo);
        // Arc partners may stand apart along their circle as well.
        Read(CurveBox(c, m_reach + (arc ? KyRoadMm(kRoadPartnerArcGap) : 0.0)));
        if (FindPartnerEdges(m_curves, c, R) && (m_all || EdgeDistance(*KyGeCast<KyGeCurve2d>(R[0]), c) <= m_reach))
            return true;
        R.Reset();
        ReadAll();
        return FindPartnerEdges(m_curves, c, R);
    }
    void ReadAll() {
        if (m_all) return;
        m_ids.clear();
        m_curves.Reset();
        ReadRoadLayer(L"PLAN-ROAD", m_ids, m_curves);
        m_all = true;
    }
    const std::vector<AcDbObjectId>& Ids() const { return m_ids; }
    const KyGeObjList& Curves() const { return m_curves; }
    // The edges read, in database order, for erasing an edge found by its shape.
    KyAdsEntSet InDrawingOrder() const {
        std::vector<AcDbObjectId> ids = m_ids;
        std::sort(ids.begin(), ids.end(), [](const AcDbObjectId& a, const AcDbObjectId& b) { return a.index() < b.index(); });
        KyAdsEntSet set;
        for (const AcDbObjectId& id : ids) set += id;
        return set;
    }

private:
    double m_reach;
    bool m_all = false;
    std::vector<AcDbObjectId> m_ids;
    KyGeObjList m_curves;
};

KyGePoint PickAt(const KyGeCurve2d& c, int end) { return c.GetPtFromPa(end == 0 ? 0.1 : 0.9); }

// The concentric bend where the new road (pieces pA, pB) turns out of the end of an existing
// road at the new road's start (end 0) or end (end 1): the outer corner at R + width, the inner
// at R, the centre lines at R + their distance from the inner edge.
bool FilletBendSameCentre(const KyGeCurve2d& pA, const KyGeCurve2d& pB, double R, int end, const AcDbObjectId& idA,
                          const AcDbObjectId& idB, std::vector<RoadFilletPair>& V) {
    std::unique_ptr<KyGeCurve2d> cA, cB;
    int touchA = -1, touchB = -1;
    const AcDbObjectId oA = FindTouchingRoadEdge(pA, end, cA, touchA);
    const AcDbObjectId oB = FindTouchingRoadEdge(pB, end, cB, touchB);
    const double w = EdgeDistance(pA, pB);
    if (oA.isNull() || oB.isNull() || !cA || !cB || touchA < 0 || touchA != touchB || !IsPartnerEdge(*cA, *cB))
        return false;
    if (!RoadEndsOverlap(pA, pB, *cA, *cB, end + 1, touchA + 1)) return false;
    if (!IsRealCorner(pA, *cA) || !IsRealCorner(pB, *cB)) return false;
    KyGePoint qA, qB;
    const int tA = TwoCrossingPickPoint(pA, *cA, qA), tB = TwoCrossingPickPoint(pB, *cB, qB);
    const RoadFilletPair pairA{idA, oA, tA == 1 ? qA : PickAt(pA, end), tA == 2 ? qA : PickAt(*cA, touchA)};
    const RoadFilletPair pairB{idB, oB, tB == 1 ? qB : PickAt(pB, end), tB == 2 ? qB : PickAt(*cB, touchA)};
    const int s = OuterCornerSide(pA, pB, *cA, *cB, end + 1);
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (s >= 0) {
        const RoadFilletPair& outer = s == 0 ? pairA : pairB;
        const RoadFilletPair& inner = s == 0 ? pairB : pairA;
        if (db->setFilletrad(R + w) == Acad::eOk) {
            AddFilletPair(V, outer);
            RunFillet(outer.first, outer.second, outer.firstPick, outer.secondPick);
        }
        if (db->setFilletrad(R) == Acad::eOk) {
            AddFilletPair(V, inner);
            RunFillet(inner.first, inner.second, inner.firstPick, inner.secondPick);
        }
    }
    double dOldA = 0, dOldB = 0, dA = 0, dB = 0;
    const AcDbObjectId oldCentre = FindRoadCenterLine(*cA, *cB, dOldA, dOldB);
    const AcDbObjectId newCentre = FindRoadCenterLine(pA, pB, dA, dB);
    const double centreRadius = s == 0 ? R + dB : s == 1 ? R + dA : 0.0;
    FilletCenterLines(pA, newCentre, *cA, oldCentre, end, touchA, centreRadius);
    return true;
}

// The concentric bend at the new road's end, with the pieces there as the bend at its start has
// left them (trimmed by its fillet when one piece runs from end to end).
bool FilletBendAtEnd(const KyGeCurve2d& a, const KyGeCurve2d& b, double R, const AcDbObjectId& idA,
                     const AcDbObjectId& idB, std::vector<RoadFilletPair>& V) {
    const std::unique_ptr<KyGeCurve2d> nowA = ReadRoadCurve(idA), nowB = ReadRoadCurve(idB);
    return FilletBendSameCentre(nowA ? *nowA : a, nowB ? *nowB : b, R, 1, idA, idB, V);
}

// The concentric bends at the ends of the new road. The end pieces are written here and taken
// out of the edge list; false (nothing left written) when neither end turns out of an existing
// road end.
bool FilletJunctionBend(const KyGeCurve2d& left, const KyGeCurve2d& right, KyGeObjList& edges, double R) {
    const int ia0 = FindEndPiece(left, 0, edges), ib0 = FindEndPiece(right, 0, edges);
    const int ia1 = FindEndPiece(left, 1, edges), ib1 = FindEndPiece(right, 1, edges);
    if (ia0 < 0 || ib0 < 0 || ia1 < 0 || ib1 < 0) return false;
    const KyGeCurve2d *a0 = CurveAt(edges, ia0), *b0 = CurveAt(edges, ib0);
    const KyGeCurve2d *a1 = CurveAt(edges, ia1), *b1 = CurveAt(edges, ib1);
    if (!a0 || !b0 || !a1 || !b1) return false;
    std::vector<int> written;
    std::vector<AcDbObjectId> writtenIds;
    const auto write = [&](int index, const KyGeCurve2d& piece) {
        for (size_t i = 0; i < written.size(); ++i)
            if (written[i] == index) return writtenIds[i];
        const AcDbObjectId id = WriteRoadCurve(piece, L"PLAN-ROAD");
        written.push_back(index);
        writtenIds.push_back(id);
        return id;
    };
    const AcDbObjectId idA0 = write(ia0, *a0), idB0 = write(ib0, *b0);
    const AcDbObjectId idA1 = write(ia1, *a1), idB1 = write(ib1, *b1);
    std::vector<RoadFilletPair> V;
    // Both ends: the segment that closes a loop turns out of a road end at each of them.
    const bool atStart = FilletBendSameCentre(*a0, *b0, R, 0, idA0, idB0, V);
    const bool atEnd = FilletBendAtEnd(*a1, *b1, R, idA1, idB1, V);
    if (!atStart && !atEnd) {
        for (const AcDbObjectId& id : writtenIds) EraseRoadEntity(id);
        return false;
    }
    // The other corners these pieces make (a junction at the far end of a short piece).
    AcDbExtents near = CurveBox(*a0, KyRoadDistZero());
    for (const KyGeCurve2d* piece : {b0, a1, b1}) near.addExt(CurveBox(*piece, KyRoadDistZero()));
    std::vector<AcDbObjectId> ids;
    KyGeObjList G;
    ReadRoadsMeeting(L"PLAN-ROAD", near, ids, G);
    std::vector<RoadFilletPair> W;
    const std::pair<const KyGeCurve2d*, AcDbObjectId> pieces[] = {{a0, idA0}, {b0, idB0}, {a1, idA1}, {b1, idB1}};
    for (const auto& piece : pieces)
        if (const std::unique_ptr<KyGeCurve2d> now = ReadRoadCurve(piece.second))
            CollectCornerFillets(ids, G, *now, piece.second, W);
    W.erase(std::remove_if(W.begin(), W.end(),
                           [&](const RoadFilletPair& p) { return std::find(V.begin(), V.end(), p) != V.end(); }),
            W.end());
    if (!W.empty()) FilletPairs(W, R);
    std::sort(written.begin(), written.end());
    for (auto it = written.rbegin(); it != written.rend(); ++it) edges.Del(*it);
    return true;
}

void FilletRoadCorners(const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                       const AcDbObjectId& centreLine, KyGeObjList& edges, double R) {
    if (!g_bRoadFillet) return;
    if (g_nRoadFilletStyle == 0) {
        FilletJunctionBend(left, right, edges, R);
        return;
    }
    if (!g_bRoadCenterLine) return;
    // The centre line as it is now: a corner may have trimmed or extended it.
    const std::unique_ptr<KyGeCurve2d> now = ReadRoadCurve(centreLine);
    std::vector<AcDbObjectId> ids;
    KyGeObjList G;
    ReadRoadsMeeting(L"PLAN-ROAD_CENTER", CurveBox(now ? *now : centre, KyRoadDistZero()), ids, G);
    if (ids.empty()) return;
    std::vector<RoadFilletPair> Q;
    CollectCornerFillets(ids, G, now ? *now : centre, centreLine, Q);
    if (!Q.empty()) FilletPairs(Q, R);
}

// Writes the new road's pieces; with fillets on, each corner a piece makes with what is in the
// drawing already is collected once, when its second piece is written.
void WriteNewPieces(const KyGeObjList& edges, std::vector<RoadFilletPair>& P) {
    for (int i = 0; i < edges.GetLength(); ++i) {
        const KyGeCurve2d* piece = CurveAt(edges, i);
        if (!piece) continue;
        const AcDbObjectId id = WriteRoadCurve(*piece, L"PLAN-ROAD");
        if (id.isNull() || !g_bRoadFillet) continue;
        std::vector<AcDbObjectId> ids;
        KyGeObjList G;
        ReadRoadsMeeting(L"PLAN-ROAD", CurveBox(*piece, KyRoadDistZero()), ids, G);
        CollectCornerFillets(ids, G, *piece, id, P);
    }
}

// The existing road curve c runs along the new road's pavement for a length: a point of c a
// tenth or more in from its ends lies on it, or c passes over a point of the new centre line.
bool RunsAlong(const KyGeCurve2d& c, const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
               double width, KyGePoint& at) {
    for (int i = 1; i < 10; ++i) {
        const KyGePoint s = c.GetPtFromPa(i / 10.0);
        KyGePoint f;
        if (OnRoadPavement(s, left, right, centre, width)) return at = s, true;
        const KyGePoint q = centre.GetPtFromPa(i / 10.0);
        if (c.GetClosestPoint2d(q, f) && Distance2d(f, c.GetStartPoint()) > KyRoadDistZero() &&
            Distance2d(f, c.GetEndPoint()) > KyRoadDistZero() && OnRoadPavement(f, left, right, centre, width))
            return at = f, true;
    }
    return false;
}

// One line naming the junction at `at` (world) that was not opened, why, and what was drawn
// instead.
void ReportJunctionAt(const KyGePoint& at, const wchar_t* why, const wchar_t* drawn) {
    const AcGePoint3d u = WcsToUcs(AcGePoint3d(at.x, at.y, 0.0), 0);
    CString line;
    line.Format(KyUtTranslate(L"\n道路路口(%.2f,%.2f)未能打开：%s；%s。").c_str(), u.x, u.y, KyUtTranslate(why).c_str(),
                KyUtTranslate(drawn).c_str());
    acutPrintf(L"%s", line.GetString());
}

// The same for the junction of the new edges with the crossed edge c.
void ReportJunctionNotOpened(const KyGeCurve2d& c, const KyGeCurve2d& left, const KyGeCurve2d& right,
                             const wchar_t* why, const wchar_t* drawn) {
    KyGeObjList pts;
    left.IntersectWith(c, pts);
    right.IntersectWith(c, pts);
    const KyGePoint2d* p = pts.IsEmpty() ? nullptr : KyGeCast<KyGePoint2d>(pts[0]);
    ReportJunctionAt(p ? p->GetPoint() : c.GetMidPoint(), why, drawn);
}

bool EndsJoin(const KyGeCurve2d& a, const KyGePoint& end) {
    const double tol = KyRoadDistZero();
    return Distance2d(a.GetStartPoint(), end) <= tol || Distance2d(a.GetEndPoint(), end) <= tol;
}

// What the new road runs into. A junction or bend already built: a point where two road edges
// join at a corner or a fillet inside the new pavement, or a fillet arc (joined at both ends,
// at most a half turn, no wider than the current radius and two road widths) that a new edge
// crosses or whose corner lies in the new pavement; the rebuild of two roads would cut such a junction apart. Else an edge
// broken in two inside the new pavement (two roads meeting end to end), or the new road ending
// on the far edge of a road, which that rebuild opens on one piece or one edge only. Or an open
// road end the new road passes through (an arc crossing a short road twice), whose pavement
// that rebuild does not see.
enum class InTheWay { kNothing, kBrokenEdge, kBuiltJunction, kOpenEnd };
InTheWay FindBuiltJunctionInTheWay(const KyGeObjList& curves, const KyGeCurve2d& left, const KyGeCurve2d& right,
                                   const KyGeCurve2d& centre, KyGePoint& at) {
    const double width = EdgeDistance(left, right);
    // Another piece ends at the end of piece i: at a corner, or (corner false) running on along
    // the same line or circle, one edge broken in two.
    const auto joined = [&](int i, const KyGePoint& end, bool corner) {
        const KyGeCurve2d& c = *CurveAt(curves, i);
        for (int j = 0; j < curves.GetLength(); ++j) {
            const KyGeCurve2d* other = CurveAt(curves, j);
            if (j != i && other && EndsJoin(*other, end) && IsJunctionCandidate(c, *other) == corner) return true;
        }
        return false;
    };
    const double fillet = KyRoadFilletRadius() + 2.0 * width;
    InTheWay found = InTheWay::kNothing;
    for (int i = 0; i < curves.GetLength(); ++i) {
        const KyGeCurve2d* c = CurveAt(curves, i);
        if (!c) continue;
        for (const KyGePoint& end : {c->GetStartPoint(), c->GetEndPoint()}) {
            if (!InsideRoadPavement(end, left, right, centre, width)) continue;
            if (joined(i, end, true)) return at = end, InTheWay::kBuiltJunction;
            if (found == InTheWay::kNothing && joined(i, end, false)) at = end, found = InTheWay::kBrokenEdge;
        }
        const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(c);
        if (!arc || !IsFilletSized(*arc, fillet) ||
            !joined(i, c->GetStartPoint(), true) || !joined(i, c->GetEndPoint(), true))
            continue;
        KyGeObjList pts;
        left.IntersectWith(*c, pts);
        right.IntersectWith(*c, pts);
        if (const KyGePoint2d* p = pts.IsEmpty() ? nullptr : KyGeCast<KyGePoint2d>(pts[0]))
            return at = p->GetPoint(), InTheWay::kBuiltJunction;
        // A road drawn from the corner a fillet rounds off.
        const KyGePoint corner = FilletCorner(*arc);
        if (InsideRoadPavement(corner, left, right, centre, width)) return at = corner, InTheWay::kBuiltJunction;
    }
    // Through an open road end, away from the new road's own ends (a bend out of that end).
    for (const RoadEndCap& cap : FindRoadEndCaps(curves))
        for (const KyGeCurve2d* edge : {&left, &right})
            for (const KyGePoint& x : KyGeIntersectPoints(*edge, KyGeLineSeg2d(cap.a, cap.b))) {
                const double clear = width + Distance2d(cap.a, cap.b) + KyRoadDistZero();
                if (Distance2d(x, centre.GetStartPoint()) > clear && Distance2d(x, centre.GetEndPoint()) > clear)
                    return at = x, InTheWay::kOpenEnd;
            }
    // A stem snapped to the far edge: the new road ends on an edge whose partner it crosses.
    for (int i = 0; i < curves.GetLength() && found == InTheWay::kNothing; ++i) {
        const KyGeCurve2d* c = CurveAt(curves, i);
        if (!c) continue;
        for (const KyGePoint& end : {centre.GetStartPoint(), centre.GetEndPoint()}) {
            KyGePoint foot;
            if (!c->GetClosestPoint2d(end, foot) || Distance2d(foot, end) > KyRoadDistZero()) continue;
            for (int j = 0; j < curves.GetLength(); ++j) {
                const KyGeCurve2d* g = CurveAt(curves, j);
                KyGeObjList pts;
                if (j == i || !g || !IsPartnerEdge(*c, *g)) continue;
                left.IntersectWith(*g, pts);
                right.IntersectWith(*g, pts);
                if (!pts.IsEmpty()) at = end, found = InTheWay::kBrokenEdge;
            }
        }
    }
    return found;
}

// The road lines and arcs on a layer within a fillet and two widths of the new road: their ids
// and geometry.
void ReadNeighbourhood(const wchar_t* layer, const KyGeCurve2d& left, const KyGeCurve2d& right,
                       std::vector<AcDbObjectId>& ids, KyGeObjList& near) {
    const double reach = KyRoadFilletRadius() + 2.0 * EdgeDistance(left, right) + KyRoadDistZero();
    AcDbExtents box = CurveBox(left, reach);
    box.addExt(CurveBox(right, reach));
    std::vector<AcDbObjectId> read;
    KyGeObjList G;
    ReadRoadsMeeting(layer, box, read, G);
    for (int i = 0; i < G.GetLength(); ++i) {
        const KyGeCurve2d* c = CurveAt(G, i);
        if (!c || !CurveBox(*c, 0.0).intersects2d(box)) continue;
        ids.push_back(read[static_cast<size_t>(i)]);
        near.AppendClone(*c);
    }
}

// The general rebuild over the road edges near (ids, near) and the centre lines there;
// FILLETRAD as it was afterwards.
bool RebuildNeighbourhood(const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                          const std::vector<AcDbObjectId>& ids, const KyGeObjList& near) {
    std::vector<AcDbObjectId> centreIds;
    KyGeObjList centres;
    ReadNeighbourhood(L"PLAN-ROAD_CENTER", left, right, centreIds, centres);
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const double savedRadius = db->filletrad();
    const bool rebuilt = RebuildAcrossBuiltJunctions(left, right, centre, ids, near, centreIds, centres);
    db->setFilletrad(savedRadius);
    return rebuilt;
}

constexpr const wchar_t* kSegmentDrawnPlain = L"此段道路按原样画出，未开任何路口";
constexpr const wchar_t* kBuiltJunctionInTheWay = L"新道路穿过已建成的路口或转角，周围道路的路面无法判定";
constexpr const wchar_t* kOpenEndInTheWay = L"新道路穿过已有道路的开口端，周围道路的路面无法判定";

}  // namespace

bool ProcessRoadJunctions(const KyGeCurve2d* left, const KyGeCurve2d* right, const KyGeCurve2d* centre) {
    if (!left || !right || !centre) return false;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return false;

    // Partners of crossed edges lie within a few road widths of them, as a rule.
    RoadEdgeSet roads(std::max(KyRoadMm(10000.0), 4.0 * (KyRoadLeftWidth() + KyRoadRightWidth())));
    AcDbExtents box = CurveBox(*left, KyRoadDistZero());
    box.addExt(CurveBox(*right, KyRoadDistZero()));
    roads.Read(box);
    std::vector<CrossedEdge> crossed;
    for (int i = 0; i < roads.Curves().GetLength(); ++i) {
        const KyGeCurve2d* curve = CurveAt(roads.Curves(), i);
        if (!curve || !IsJunctionCandidate(*left, *curve)) continue;
        KyGeObjList pts;
        left->IntersectWith(*curve, pts);
        right->IntersectWith(*curve, pts);
        if (!pts.IsEmpty()) crossed.push_back({roads.Ids()[static_cast<size_t>(i)], curve->Clone(), false});
    }
    KyGePoint builtAt;
    std::vector<AcDbObjectId> nearIds;
    KyGeObjList near;
    ReadNeighbourhood(L"PLAN-ROAD", *left, *right, nearIds, near);
    // A road drawn from the corner a fillet rounds off crosses nothing, and still joins the road.
    const InTheWay inTheWay = FindBuiltJunctionInTheWay(near, *left, *right, *centre, builtAt);
    if (crossed.empty() && inTheWay != InTheWay::kBuiltJunction) return false;
    if (inTheWay != InTheWay::kNothing) {
        const DrawingCheckpoint before;
        if (RebuildNeighbourhood(*left, *right, *centre, nearIds, near)) return true;
        before.Restore();
        if (inTheWay == InTheWay::kBuiltJunction || inTheWay == InTheWay::kOpenEnd) {
            ReportJunctionAt(builtAt, inTheWay == InTheWay::kOpenEnd ? kOpenEndInTheWay : kBuiltJunctionInTheWay,
                             kSegmentDrawnPlain);
            return false;
        }
    }

    const DrawingCheckpoint start;
    KyGeObjList edges;
    edges.AppendClone(*left);
    edges.AppendClone(*right);
    AcDbObjectId centreLine;
    if (g_bRoadCenterLine) centreLine = WriteRoadCurve(*centre, L"PLAN-ROAD_CENTER");
    // A junction that cannot be found undoes the whole call; the general rebuild is tried, and
    // when that cannot build it either the caller writes the plain segment.
    const auto fail = [&](const KyGeCurve2d& c, const wchar_t* why) {
        start.Restore();
        if (RebuildNeighbourhood(*left, *right, *centre, nearIds, near)) return true;
        ReportJunctionNotOpened(c, *left, *right, why, kSegmentDrawnPlain);
        return false;
    };

    std::unique_ptr<KyGeCurve2d> curLeft = left->Clone(), curRight = right->Clone();
    KyGeObjList processed;
    int k = 0;
    for (size_t i = 0; i < crossed.size(); ++i, ++k) {
        const KyGeCurve2d& c = *crossed[i].curve;
        KyGeObjList R;
        if (!roads.FindPartners(c, R)) return fail(c, L"被交道路的另一条边线找不到");
        if (k > 0) {
            KyGeObjList pair;
            if (!FindCurrentEdgePair(edges, c, *CurveAt(R, 0), pair))
                return fail(c, L"新道路在此处的边线找不到");
            curLeft = CurveAt(pair, 0)->Clone();
            curRight = CurveAt(pair, 1)->Clone();
        }
        KyGeObjList O;
        if (!PickCrossingPartners(R, *curLeft, *curRight, O)) return fail(c, L"被交道路的两条边线无法与新道路配对");
        const KyGeCurve2d* e = nullptr;
        for (int j = 0; j < O.GetLength() && !e; ++j) e = CurveAt(O, j);
        if (!e) continue;
        // A junction that is not built leaves the drawing and the crossed edge as they were.
        const DrawingCheckpoint beforeJunction;
        const AcDbObjectId centreBefore = centreLine;
        if (!RebuildJunctionEdges(*e, c, *curLeft, *curRight, edges, centreLine)) {
            beforeJunction.Restore();
            centreLine = centreBefore;
            ReportJunctionNotOpened(c, *curLeft, *curRight, L"路口边线无法重建", L"被交道路保持原样");
            continue;
        }
        crossed[i].rebuilt = true;
        processed.AppendClone(*e);
        // A partner that crosses the new road too is part of this junction, not one of its own.
        for (size_t j = 0; j < crossed.size(); ++j) {
            if (j == i || !SameShape(*crossed[j].curve, *e)) continue;
            crossed.erase(crossed.begin() + static_cast<std::ptrdiff_t>(j));
            if (j < i) --i;
            break;
        }
    }

    const KyAdsEntSet roadSet = roads.InDrawingOrder();
    for (int i = 0; i < processed.GetLength(); ++i) EraseMatchingEntity(roadSet, *CurveAt(processed, i));
    for (const CrossedEdge& edge : crossed)
        if (edge.rebuilt) EraseRoadEntity(edge.id);

    const double savedRadius = db->filletrad();
    const double R = KyRoadFilletRadius();
    FilletRoadCorners(*curLeft, *curRight, *centre, centreLine, edges, R);
    std::vector<RoadFilletPair> P;
    WriteNewPieces(edges, P);
    if (!P.empty()) FilletPairs(P, R);
    db->setFilletrad(savedRadius);
    return true;
}

bool FindRoadAlong(const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre, KyGePoint& at) {
    AcDbExtents box = CurveBox(left, KyRoadDistZero());
    box.addExt(CurveBox(right, KyRoadDistZero()));
    const double width = EdgeDistance(left, right);
    for (const wchar_t* layer : {L"PLAN-ROAD", L"PLAN-ROAD_CENTER"}) {
        std::vector<AcDbObjectId> ids;
        KyGeObjList G;
        ReadRoadsMeeting(layer, box, ids, G);
        for (int i = 0; i < G.GetLength(); ++i) {
            const KyGeCurve2d* c = CurveAt(G, i);
            // Only curves parallel to the new road can run along it.
            if (c && !IsJunctionCandidate(centre, *c) && RunsAlong(*c, left, right, centre, width, at)) return true;
        }
    }
    return false;
}

double FindRoadTurnBack(const KyGeCurve2d& centre, KyGePoint& at) {
    const auto unit = [](const KyGeVector2d& v) {
        const double n = std::hypot(v.x, v.y);
        return n > 0.0 ? KyGeVector2d(v.x / n, v.y / n) : v;
    };
    double most = 0.0;
    for (int end = 0; end < 2; ++end) {
        const KyGePoint J = end == 0 ? centre.GetStartPoint() : centre.GetEndPoint();
        std::vector<AcDbObjectId> ids;
        KyGeObjList near;
        // The old road may be wider than the new one.
        ReadRoadsMeeting(L"PLAN-ROAD", CurveBox(KyGeLineSeg2d(J, J), 4.0 * (KyRoadLeftWidth() + KyRoadRightWidth())), ids, near);
        for (const RoadEndCap& cap : FindRoadEndCaps(near)) {
            KyGePoint foot;
            if (!KyGeLineSeg2d(cap.a, cap.b).GetClosestPoint2d(J, foot) || Distance2d(foot, J) > KyRoadDistZero()) continue;
            // The way through the end: out of the existing road and along the new one, or the
            // other way round.
            const KyGeVector2d t = unit(centre.GetTangent(end == 0 ? 0.0 : 1.0)), in = unit(cap.into);
            const double c = end == 0 ? -(t.x * in.x + t.y * in.y) : t.x * in.x + t.y * in.y;
            const double turn = std::acos(std::max(-1.0, std::min(1.0, c))) * 180.0 / KyGePi;
            if (turn > most) most = turn, at = J;
        }
    }
    return most;
}

void SetRoadJunctionSearch(KyRoadSearch search) { g_roadSearch = search; }
KyRoadSearch GetRoadJunctionSearch() { return g_roadSearch; }
