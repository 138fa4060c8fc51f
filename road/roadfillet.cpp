// The road fillet machinery: corner pairs and FILLET through the host's command line.
#include "road/roadfillet.h"

#include <algorithm>
#include <memory>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyPtSysVar.h"
#include "host/db/dbmain.h"
#include "host/mfc/cstring.h"
#include "host/ed/aced.h"
#include "host/ed/selection.h"
#include "road/roadpredicates.h"
#include "road/roadsearch.h"

namespace {

// The point a tenth in from the chosen end (0 start, 1 end) of c, that end swapped when c runs
// in the other sense than its edge.
KyGePoint NearEndPick(const KyGeCurve2d& c, const KyGeCurve2d& edge, int end) {
    int s = end;
    if (c.IsClockwise() != edge.IsClockwise()) s = s == 0 ? 1 : 0;
    return c.GetPtFromPa(s == 0 ? 0.1 : 0.9);
}

}  // namespace

void ReportSharpRoadCorner(const AcDbObjectId& id, const KyGePoint& pick, double radius) {
    KyGePoint corner = pick;
    if (const std::unique_ptr<KyGeCurve2d> c = ReadRoadCurve(id))
        corner = Distance2d(c->GetStartPoint(), pick) <= Distance2d(c->GetEndPoint(), pick) ? c->GetStartPoint()
                                                                                              : c->GetEndPoint();
    const AcGePoint3d at = WcsToUcs(AcGePoint3d(corner.x, corner.y, 0.0), 0);
    CString line;
    if (radius > 0)
        line.Format(KyUtTranslate(L"\n道路转角(%.2f,%.2f)保持尖角：半径%.2f的圆角在此放不下（道路相距太近或路段太短）。").c_str(),
                    at.x, at.y, radius);
    else
        line.Format(KyUtTranslate(L"\n道路转角(%.2f,%.2f)保持尖角：两条边线在此不相交。").c_str(), at.x, at.y);
    acutPrintf(L"%s", line.GetString());
}

bool operator==(const RoadFilletPair& a, const RoadFilletPair& b) {
    if (a.first.isNull() || a.second.isNull()) return false;
    const bool sameOrder = a.first == b.first && a.second == b.second &&
                           Equal2d(a.firstPick, b.firstPick) && Equal2d(a.secondPick, b.secondPick);
    const bool swapped = a.first == b.second && a.second == b.first &&
                         Equal2d(a.firstPick, b.secondPick) && Equal2d(a.secondPick, b.firstPick);
    return sameOrder || swapped;
}

void RunFillet(const AcDbObjectId& id1, const AcDbObjectId& id2, const KyGePoint& pick1,
               const KyGePoint& pick2) {
    if (!id1.isValid() || !id2.isValid()) return;
    ads_name n1, n2;
    if (acdbGetAdsName(n1, id1) != Acad::eOk || acdbGetAdsName(n2, id2) != Acad::eOk) return;
    // The command line takes points in the user's coordinates; the picks are world points.
    const AcGePoint3d u1 = WcsToUcs(AcGePoint3d(pick1.x, pick1.y, pick1.z), 0);
    const AcGePoint3d u2 = WcsToUcs(AcGePoint3d(pick2.x, pick2.y, pick2.z), 0);
    const ads_point p1 = {u1.x, u1.y, u1.z}, p2 = {u2.x, u2.y, u2.z};
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const std::size_t before = db ? db->undoPosition() : 0;
    {
        KyPtPushSysVar echo(L"CMDECHO", 0);
        acedCommand(RTSTR, L"FILLET", RTLB, RTENAME, n1, RT3DPOINT, p1, RTLE, RTLB, RTENAME, n2,
                    RT3DPOINT, p2, RTLE, 0);
    }
    if (db && db->undoPosition() == before) ReportSharpRoadCorner(id1, pick1, db->filletrad());
}

void AddFilletPair(std::vector<RoadFilletPair>& list, const RoadFilletPair& pair) {
    const bool known = std::any_of(list.begin(), list.end(),
                                   [&](const RoadFilletPair& stored) { return stored == pair; });
    if (!known) list.push_back(pair);
}

bool SetRoadFilletRadius(double radius) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    return db && db->setFilletrad(radius) == Acad::eOk;
}

void FilletPairs(const std::vector<RoadFilletPair>& list, double radius) {
    if (!SetRoadFilletRadius(radius)) return;
    for (const RoadFilletPair& pair : list)
        RunFillet(pair.first, pair.second, pair.firstPick, pair.secondPick);
}

void CollectCornerFillets(const std::vector<AcDbObjectId>& ids, const KyGeObjList& G,
                          const KyGeCurve2d& k, const AcDbObjectId& kId,
                          std::vector<RoadFilletPair>& out) {
    if (!kId.isValid()) return;
    const KyGePoint sk = k.GetStartPoint(), ek = k.GetEndPoint();
    const int n = std::min(static_cast<int>(ids.size()), G.GetLength());
    for (int i = 0; i < n; ++i) {
        const KyGeCurve2d* g = KyGeCast<KyGeCurve2d>(G[i]);
        if (!g || ids[i] == kId) continue;
        KyGeObjList crossings;
        if (!k.IntersectWith(*g, crossings) || crossings.IsEmpty() || !IsRealCorner(k, *g)) continue;
        KyGePoint Q;
        // Curves that share both ends (a line closing an arc, two arcs of a lens) meet at two
        // corners, and the pick inside the span of their two crossings would name the same
        // corner twice: each corner is then picked a tenth in from its own end.
        const bool startShared = Equal2d(g->GetStartPoint(), sk) || Equal2d(g->GetEndPoint(), sk);
        const bool endShared = Equal2d(g->GetStartPoint(), ek) || Equal2d(g->GetEndPoint(), ek);
        const int t = startShared && endShared ? 0 : TwoCrossingPickPoint(k, *g, Q);
        const auto add = [&](double tk, double tg) {
            AddFilletPair(out, {kId, ids[i], t == 1 ? Q : k.GetPtFromPa(tk), t == 2 ? Q : g->GetPtFromPa(tg)});
        };
        // A tenth in from the shared end on each curve.
        if (Equal2d(g->GetStartPoint(), sk))
            add(0.1, 0.1);
        else if (Equal2d(g->GetStartPoint(), ek))
            add(0.9, 0.1);
        if (Equal2d(g->GetEndPoint(), sk))
            add(0.1, 0.9);
        else if (Equal2d(g->GetEndPoint(), ek))
            add(0.9, 0.9);
    }
}

void FilletCenterLines(const KyGeCurve2d& pA, const AcDbObjectId& N, const KyGeCurve2d& cA,
                       const AcDbObjectId& O, int end, int touchingEnd, double radius) {
    if (N.isNull() || O.isNull()) return;
    const std::unique_ptr<KyGeCurve2d> mN = ReadRoadCurve(N), mO = ReadRoadCurve(O);
    if (!mN || !mO || !IsRealCorner(*mN, *mO)) return;
    KyGePoint P;
    const int t = TwoCrossingPickPoint(*mN, *mO, P);
    const KyGePoint pickN = t == 1 ? P : NearEndPick(*mN, pA, end);
    const KyGePoint pickO = t == 2 ? P : NearEndPick(*mO, cA, touchingEnd);
    if (SetRoadFilletRadius(radius)) RunFillet(N, O, pickN, pickO);
}
