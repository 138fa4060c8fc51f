// KyRoadFillet: crossing windows over road corners, the radius each corner gets, and the
// FILLET runs that round them.
#include "road/roadfilletcmd.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyPtSysVar.h"
#include "host/db/dbentity.h"
#include "host/db/dbextents.h"
#include "host/db/dbmain.h"
#include "host/ed/aced.h"
#include "road/roadcorners.h"
#include "road/roadpredicates.h"
#include "road/roadsearch.h"
#include "road/roadsettings.h"

double g_dRoadFilletCmdRadius = 5000.0;

namespace {

// Pick points lie a tenth of the way in from the end they are near.
constexpr double kNearStart = 0.1, kNearEnd = 0.9;
// Radii past this many millimetres are no site-plan radius; refusing them keeps the kept
// radius finite in every drawing unit.
constexpr double kMaxRadiusMm = 1e12;

// TangentCase answers.
enum { kOrdinaryCorner = 0, kBridgeFilletArc = 1, kBridgeArc = 2, kSkipCorner = 3 };

struct WindowCurve {
    AcDbObjectId id;
    std::unique_ptr<KyGeCurve2d> curve;
};
using WindowCurves = std::vector<WindowCurve>;

const KyGeArc2d* Arc(const KyGeCurve2d& c) { return KyGeCast<KyGeArc2d>(&c); }
bool Near(double a, double b) { return std::fabs(a - b) <= KyRoadDistZero(); }
double NearEnd(bool atStart) { return atStart ? kNearStart : kNearEnd; }

// ---- corners in a window

// Whether gj, meeting gi at J, is a tangent arc to bridge (an old fillet), a smooth
// continuation to skip, or an ordinary corner.
int TangentCase(const KyGeCurve2d& gi, const KyGeCurve2d& gj, const KyGePoint& J, double R) {
    const KyGePoint pi = gi.GetPtFromPa(NearEnd(Near(gi.GetPaFromPt(J), 0.0)));
    const KyGePoint pj = gj.GetPtFromPa(NearEnd(Near(gj.GetPaFromPt(J), 0.0)));
    // The picks on opposite sides of the line through a and b (the radius through J, or the
    // line of the centres).
    const auto opposite = [&](const KyGePoint& a, const KyGePoint& b) {
        const KyGeLineSeg2d L(a, b);
        return L.HitTest(pi) != L.HitTest(pj);
    };
    const KyGeArc2d *ai = Arc(gi), *aj = Arc(gj);
    if (ai && !aj) {
        if (ExtendedCrossings(gi, gj).size() == 1 && opposite(J, ai->GetCenter())) return kSkipCorner;
    } else if (!ai && aj) {
        if (ExtendedCrossings(gi, gj).size() == 1 && opposite(J, aj->GetCenter()))
            return Near(aj->GetRadius(), R) ? kBridgeFilletArc : kBridgeArc;
    } else if (ai && aj) {
        const double ri = ai->GetRadius(), rj = aj->GetRadius();
        const double d = Distance2d(ai->GetCenter(), aj->GetCenter());
        if (Near(d - ri - rj, 0.0) || Near(std::fabs(rj - ri) - d, 0.0)) {
            // Two pieces of one circle continue each other: there is no corner to round, and
            // the line of their centres does not exist.
            if (d <= KyRoadDistZero()) return kSkipCorner;
            if (opposite(ai->GetCenter(), aj->GetCenter())) {
                if (Near(rj, R)) return kBridgeFilletArc;
                if (rj - ri <= KyRoadDistZero() && !Near(ri, R)) return kBridgeArc;
                return kSkipCorner;
            }
        }
    }
    return kOrdinaryCorner;
}

bool CurveEndsAt(const KyGeCurve2d& c, const KyGePoint& X, KyGePoint& pick) {
    if (Equal2d(c.GetStartPoint(), X)) {
        pick = c.GetPtFromPa(kNearStart);
        return true;
    }
    if (Equal2d(c.GetEndPoint(), X)) {
        pick = c.GetPtFromPa(kNearEnd);
        return true;
    }
    return false;
}

// The curve at the far end X of the arc S[j] that gi (S[i]) runs into: the first after the
// arc in selection order, going on round from the first curve, never gi. A window selects in
// drawing order, where an old fillet arc usually comes after both edges it joins.
bool CurveBeyond(const WindowCurves& S, int i, int j, const KyGePoint& X, int& k, KyGePoint& pick) {
    const int n = static_cast<int>(S.size());
    for (int step = 1; step < n; ++step) {
        k = (j + step) % n;
        if (k != i && CurveEndsAt(*S[k].curve, X, pick)) return true;
    }
    return false;
}

// The corner at gi's start (end 0) or end (end 1) with S[j]: -1 none, 1 an ordinary corner
// recorded, 2 a corner recorded across the tangent arc S[j], which the caller erases. With
// bridgesOnly an ordinary corner is not recorded (it is found from S[j]'s side).
int PairAtEnd(const WindowCurves& S, int i, int j, int end, RoadCornerFillet rec, std::vector<RoadCornerFillet>& V,
              bool bridgesOnly) {
    const KyGeCurve2d &gi = *S[i].curve, &gj = *S[j].curve;
    const KyGePoint J = end == 0 ? gi.GetStartPoint() : gi.GetEndPoint();
    const bool atStartOfJ = Equal2d(J, gj.GetStartPoint());
    if (!atStartOfJ && !Equal2d(J, gj.GetEndPoint())) return -1;
    const int c = TangentCase(gi, gj, J, rec.radius);
    if (c == kSkipCorner || (bridgesOnly && c == kOrdinaryCorner)) return -1;
    const KyGePoint nearOnI = gi.GetPtFromPa(NearEnd(end == 0));
    KyGePoint P;
    if (c == kOrdinaryCorner) {
        const int t = TwoCrossingPickPoint(gi, gj, P);
        rec.pair = {S[i].id, S[j].id, t == 1 ? P : nearOnI, t == 2 ? P : gj.GetPtFromPa(NearEnd(atStartOfJ))};
        V.push_back(rec);
        return 1;
    }
    const KyGePoint X = Equal2d(J, gj.GetEndPoint()) ? gj.GetStartPoint() : gj.GetEndPoint();
    int k = 0;
    KyGePoint beyond;
    if (!CurveBeyond(S, i, j, X, k, beyond)) return -1;
    // The corner filleted is gi's with the curve beyond the arc, so the picks are chosen for
    // those two curves (never on the arc, which goes).
    const int t = TwoCrossingPickPoint(gi, *S[k].curve, P);
    rec.pair = {S[i].id, S[k].id, t == 1 ? P : nearOnI, t == 2 ? P : beyond};
    V.push_back(rec);
    return 2;
}

void EraseEntity(const AcDbObjectId& id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) return;
    entity->erase();
    entity->close();
}

// ---- same-centre radii

// r and g lie beside each other: the shorter one's start or end has its foot on the other.
bool LiesAlong(const KyGeCurve2d& r, const KyGeCurve2d& g) {
    const bool shorter = r.Length() - g.Length() <= KyRoadDistZero();
    const KyGeCurve2d& onto = shorter ? g : r;
    const KyGeCurve2d& from = shorter ? r : g;
    const std::unique_ptr<KyGeCurve2d> x = onto.GetExtendCurve();
    if (!x) return false;
    for (const KyGePoint& p : {from.GetStartPoint(), from.GetEndPoint()}) {
        KyGePoint foot;
        x->GetClosestPoint2d(p, foot);
        if (onto.HitTest(foot) & kKyGeHitOn) return true;
    }
    return false;
}

// The other edge of g's road among G (entities ids): of the nearest partner edges that lie
// along g, the one whose start (side 1) or end (side 2) is nearest g's; index is the first
// curve of G other than g holding it.
bool FindPartnerInSet(const std::vector<AcDbObjectId>& ids, const KyGeObjList& G, const KyGeCurve2d& g,
                      int& index, const AcDbObjectId& gId, int side) {
    if (G.IsEmpty()) return false;
    KyGeObjList R;
    const std::unique_ptr<KyGeCurve2d> x = g.GetExtendCurve();
    if (!x || !FindPartnerEdges(G, g, R)) return false;
    const KyGePoint gEnd = side == kRoadSideStart ? g.GetStartPoint() : g.GetEndPoint();
    const KyGeCurve2d* best = nullptr;
    double bestDist = 0.0;
    for (int i = 0; i < R.GetLength(); ++i) {
        const KyGeCurve2d* r = KyGeCast<KyGeCurve2d>(R[i]);
        if (!r || !LiesAlong(*r, g)) continue;
        KyGePoint foot;
        x->GetClosestPoint2d(side == kRoadSideStart ? r->GetStartPoint() : r->GetEndPoint(), foot);
        const double d = Distance2d(foot, gEnd);
        if (!best || bestDist - d > KyRoadDistZero()) best = r, bestDist = d;
    }
    if (!best) return false;
    const int n = std::min(static_cast<int>(ids.size()), G.GetLength());
    for (int i = 0; i < n; ++i) {
        const KyGeCurve2d* c = KyGeCast<KyGeCurve2d>(G[i]);
        if (ids[i] != gId && c && c->IsInclude(*best)) {
            index = i;
            return true;
        }
    }
    return false;
}

// The box of a curve in the plan (its arcs within the chord tolerance).
AcDbExtents PlanBox(const KyGeCurve2d& c) {
    AcDbExtents box;
    if (const std::unique_ptr<KyGePolyline2d> chords = c.PLinearize(g_dLinearDistPrec))
        for (int i = 0; i < chords->GetVertexNum(); ++i)
            box.addPoint(AcGePoint3d(chords->GetVertex(i).x, chords->GetVertex(i).y, 0.0));
    box.expandBy(g_dLinearDistPrec);
    return box;
}

// The road edges a crossing window over box selects, in drawing order; true when the box holds
// the whole drawing, so that they are all of them.
bool RoadEdgesIn(const AcDbExtents& box, std::vector<AcDbObjectId>& ids, KyGeObjList& G) {
    ids.clear();
    G.Reset();
    // The window is drawn in the user's coordinates: the one about the box's corners there.
    const AcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
    AcDbExtents user;
    for (const AcGePoint3d& corner : {lo, hi, AcGePoint3d(lo.x, hi.y, 0.0), AcGePoint3d(hi.x, lo.y, 0.0)})
        user.addPoint(WcsToUcs(corner, 0));
    const ads_point p1 = {user.minPoint().x, user.minPoint().y, 0.0}, p2 = {user.maxPoint().x, user.maxPoint().y, 0.0};
    KyAdsEntSet edges;
    edges.Get(L"C", p1, p2, RoadCurveFilter(KyDtGetLayerName(L"PLAN-ROAD")));
    ReadRoadCurves(edges, ids, G);
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const AcDbExtents all = db ? db->modelSpaceExtents() : AcDbExtents();
    return !all.isValid() || all.isInside2d(box);
}

// The distance of g's nearest partner edges among G (from their starts to g's line or
// circle); false when G holds none.
bool NearestPartner(const KyGeObjList& G, const KyGeCurve2d& g, double& nearest) {
    KyGeObjList R;
    if (!FindPartnerEdges(G, g, R)) return false;
    const std::unique_ptr<KyGeCurve2d> x = g.GetExtendCurve();
    const KyGeCurve2d* r = KyGeCast<KyGeCurve2d>(R[0]);
    if (!x || !r) return false;
    KyGePoint foot;
    x->GetClosestPoint2d(r->GetStartPoint(), foot);
    nearest = Distance2d(r->GetStartPoint(), foot);
    return true;
}

// FindPartnerInSet over every road edge of the drawing, looked at window by window: an edge
// of g's road at distance d from g has a point within d of g (within d plus the arc gap for
// arcs), so once the nearest partner a window holds is no farther than the window reaches,
// no edge outside could change the answer. ids and G receive the window's edges, index the
// partner's place among them.
bool FindPartnerNear(const KyGeCurve2d& g, const AcDbObjectId& gId, int side, std::vector<AcDbObjectId>& ids,
                     KyGeObjList& G, int& index) {
    const AcDbExtents box = PlanBox(g);
    if (!box.isValid()) return false;
    const double gap = Arc(g) ? KyRoadMm(kRoadPartnerArcGap) : 0.0;
    for (double reach = std::max(g.Length(), KyRoadMm(1.0));; reach *= 4.0) {
        AcDbExtents window = box;
        window.expandBy(reach + gap + KyRoadMm(1.0));
        const bool whole = RoadEdgesIn(window, ids, G);
        double nearest = 0.0;
        if (whole || (NearestPartner(G, g, nearest) && nearest <= reach))
            return FindPartnerInSet(ids, G, g, index, gId, side);
    }
}

// The centre lines inside the road's outline that run beside its edge.
WindowCurves CentreLinesBeside(const KyGePolyline2d& outline, const KyGeCurve2d& edge) {
    WindowCurves out;
    const KyAdsEntSet centres = SelectCenterLinesIn(outline);
    for (const AcDbObjectId& id : centres.Ids()) {
        std::unique_ptr<KyGeCurve2d> m = ReadRoadCurve(id);
        if (m && IsPartnerEdge(edge, *m)) out.push_back({id, std::move(m)});
    }
    return out;
}

// The centre line of C that is one of the pair's curves (first before second), not taken.
const WindowCurve* PairMember(const WindowCurves& C, const RoadFilletPair& pair, const WindowCurve* taken) {
    for (const WindowCurve& m : C)
        if ((m.id == pair.first || m.id == pair.second) && (!taken || m.id != taken->id)) return &m;
    return nullptr;
}

// The corners of the two roads' centre lines (gi/pA and gj/pB) get R plus the distance from
// the bend's inner edge to the centre line, so that their arc shares the edges' centre: with
// s 0 the pair gi, gj is the outer corner and pA the inner edge of the first road; otherwise
// gj is the inner edge of the second road. Records adjusted once are listed in U.
void AdjustCenterLinePairs(std::vector<RoadCornerFillet>& V, const KyGeCurve2d& gi, const KyGeCurve2d& pA,
                           const KyGeCurve2d& gj, const KyGeCurve2d& pB, int s, std::vector<std::size_t>& U) {
    KyGePolyline2d O1, O2;
    if (!RoadOutline(gi, pA, O1) || !RoadOutline(gj, pB, O2)) return;
    const WindowCurves C1 = CentreLinesBeside(O1, gi), C2 = CentreLinesBeside(O2, gj);
    for (std::size_t q = 0; q < V.size(); ++q) {
        if (std::find(U.begin(), U.end(), q) != U.end()) continue;
        const WindowCurve* x = PairMember(C1, V[q].pair, nullptr);
        const WindowCurve* y = PairMember(C2, V[q].pair, x);
        if (!x || !y) continue;
        V[q].radius += s == 0 ? EdgeDistance(pA, *x->curve) : EdgeDistance(gj, *y->curve);
        U.push_back(q);
    }
}

// The side (1 start, 2 end) of c whose half holds the pick.
int SideOfPick(const KyGeCurve2d& c, const KyGePoint& pick) {
    return c.GetPaFromPt(pick) - 0.5 <= g_fZero ? kRoadSideStart : kRoadSideEnd;
}

bool OnLayer(const AcDbObjectId& id, const AcDbObjectId& layer, bool& opened) {
    AcDbEntity* entity = nullptr;
    opened = acdbOpenAcDbEntity(entity, id, AcDb::kForRead) == Acad::eOk;
    if (!opened) return false;
    const bool on = entity->layerId() == layer;
    entity->close();
    return on;
}

// ---- the command

std::wstring FormatRadius(double R) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.2f", R);
    return text;
}

// A prompt through the language switch with the radius text in place of its %s.
std::wstring RadiusPrompt(const wchar_t* prompt, double R) {
    std::wstring text = KyUtTranslate(prompt);
    const std::size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, FormatRadius(R));
    return text;
}

// The "R" keyword: a new radius, Enter keeping the old one.
void AskRadius(double& R, double f) {
    for (;;) {
        acedInitGet(RSG_NONEG, nullptr);
        ads_real value = R;
        if (acedGetDist(nullptr, RadiusPrompt(L"\n请输入倒角半径<%s>:", R).c_str(), &value) != RTNORM) return;
        if (value / f <= kMaxRadiusMm) {
            R = value;
            return;
        }
        acutPrintf(L"%s", KyUtTranslate(L"\n倒角半径太大：请输入不超过 1000000000000 毫米的半径。").c_str());
    }
}

void FilletWindow(const ads_point p1, const ads_point p2, double R, int mode) {
    std::vector<RoadCornerFillet> V;
    CollectWindowFillets(p1, p2, R, V);
    if (mode == 1) AdjustSameCentreRadii(V);
    for (const RoadCornerFillet& rec : V)
        if (SetRoadFilletRadius(rec.radius))
            RunFillet(rec.pair.first, rec.pair.second, rec.pair.firstPick, rec.pair.secondPick);
}

}  // namespace

void CollectWindowFillets(const ads_point p1, const ads_point p2, double R, std::vector<RoadCornerFillet>& V) {
    const std::wstring layers = KyDtGetLayerName(L"PLAN-ROAD") + L"," + KyDtGetLayerName(L"PLAN-ROAD_CENTER");
    KyAdsEntSet selected;
    if (selected.Get(L"C", p1, p2, RoadCurveFilter(layers)) != RTNORM) return;
    WindowCurves S;
    for (const AcDbObjectId& id : selected.Ids())
        if (std::unique_ptr<KyGeCurve2d> curve = ReadRoadCurve(id)) S.push_back({id, std::move(curve)});
    // Once S[j] has been bridged it is gone: its other end is not tried again.
    const auto tryPair = [&](int i, int j, bool bridgesOnly) {
        const RoadCornerFillet rec{{S[i].id, AcDbObjectId(), KyGePoint(), KyGePoint()}, R};
        if (PairAtEnd(S, i, j, 0, rec, V, bridgesOnly) != 2 && PairAtEnd(S, i, j, 1, rec, V, bridgesOnly) != 2)
            return false;
        EraseEntity(S[j].id);
        S.erase(S.begin() + j);
        return true;
    };
    for (int i = 0; i < static_cast<int>(S.size()); ++i) {
        // An old fillet arc selected before gi is bridged from gi as well, so that the result
        // does not hang on which was drawn first.
        for (int j = 0; j < i; ++j)
            if (Arc(*S[j].curve) && tryPair(i, j, true)) --i, --j;
        for (int j = i + 1; j < static_cast<int>(S.size()); ++j)
            if (tryPair(i, j, false)) --j;
    }
}

void AdjustSameCentreRadii(std::vector<RoadCornerFillet>& V) {
    const AcDbObjectId centreLayer = KyDtInitStdLayer(L"PLAN-ROAD_CENTER");
    std::vector<std::size_t> U;
    for (RoadCornerFillet& q : V) {
        bool opened = false;
        if (OnLayer(q.pair.first, centreLayer, opened) || !opened) continue;
        const std::unique_ptr<KyGeCurve2d> gi = ReadRoadCurve(q.pair.first), gj = ReadRoadCurve(q.pair.second);
        if (!gi || !gj) continue;
        const int side = SideOfPick(*gi, q.pair.firstPick);
        // The other edge of each road, from the road edges about it.
        std::vector<AcDbObjectId> idsA, idsB;
        KyGeObjList GA, GB;
        int ia = -1, ib = -1;
        if (!FindPartnerNear(*gi, q.pair.first, side, idsA, GA, ia) ||
            !FindPartnerNear(*gj, q.pair.second, side, idsB, GB, ib))
            continue;
        const KyGeCurve2d& pA = *KyGeCast<KyGeCurve2d>(GA[ia]);
        const KyGeCurve2d& pB = *KyGeCast<KyGeCurve2d>(GB[ib]);
        const int s = OuterCornerSide(*gi, pA, *gj, pB, side);
        if (s == 0) q.radius += EdgeDistance(*gi, pA);
        AdjustCenterLinePairs(V, *gi, pA, *gj, pB, s, U);
    }
}

void KyRoadFillet() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    KyPtPushUndoGroup undoGroup;
    const double f = KyRoadUnitFactor();
    double R = g_dRoadFilletCmdRadius * f;
    const double savedRadius = db->filletrad();
    int mode = 1;
    for (;;) {
        const wchar_t* prompt =
            mode == 1 ? L"\n请框选要倒角的道路线或 [同半径倒角(Q)，当前：同圆心/倒角半径(R)，当前:R=%s]<退出>:"
                      : L"\n请框选要倒角的道路线或 [同圆心倒角(Q)，当前：同半径/倒角半径(R)，当前：R=%s]<退出>:";
        acedInitGet(0, L"Q R");
        ads_point p1;
        const int rc = acedGetPoint(nullptr, RadiusPrompt(prompt, R).c_str(), p1);
        if (rc == RTNORM) {
            ads_point p2;
            if (acedGetCorner(p1, nullptr, p2) == RTNORM) FilletWindow(p1, p2, R, mode);
            continue;
        }
        if (rc != RTKWORD) break;
        wchar_t keyword[kAdsMaxInput + 1] = {0};
        if (acedGetInput(keyword) != RTNORM) break;
        if (keyword[0] == L'Q')
            mode = mode == 1 ? 0 : 1;
        else if (keyword[0] == L'R')
            AskRadius(R, f);
    }
    g_dRoadFilletCmdRadius = R / f;
    db->setFilletrad(savedRadius);
}

VORN_MODULE_COMMAND(L"KyRoadFillet", KyRoadFillet);
