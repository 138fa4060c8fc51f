// Road curves found in the drawing through selections and entity geometry.
#include "road/roadsearch.h"

#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyGeConvert.h"
#include "framework/select/KyUtInput.h"
#include "host/db/dbcurve.h"
#include "host/db/dbentity.h"
#include "host/ed/aced.h"
#include "host/ed/selection.h"
#include "road/roadcorners.h"
#include "road/roadpredicates.h"
#include "road/roadsettings.h"

namespace {

bool Coincide(const KyGePoint& a, const KyGePoint& b) { return Distance2d(a, b) <= KyRoadDistZero(); }

bool SameShape(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    return Coincide(a.GetEndPoint(), b.GetEndPoint()) && Coincide(a.GetStartPoint(), b.GetStartPoint()) &&
           Coincide(a.GetMidPoint(), b.GetMidPoint());
}

std::unique_ptr<KyGeCurve2d> CurveOf(const AcDbCurve* entity) {
    std::unique_ptr<KyGeObject> object(AcDb2KyGe(entity));
    if (!KyGeCast<KyGeCurve2d>(object.get())) return nullptr;
    return std::unique_ptr<KyGeCurve2d>(static_cast<KyGeCurve2d*>(object.release()));
}

}  // namespace

std::unique_ptr<KyGeCurve2d> ReadRoadCurve(const AcDbObjectId& id) {
    AcDbCurve* entity = nullptr;
    if (id.isNull() || acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return nullptr;
    std::unique_ptr<KyGeCurve2d> curve = CurveOf(entity);
    entity->close();
    return curve;
}

KyAdsRBList RoadCurveFilter(const std::wstring& layers) {
    KyAdsRBList filter;
    filter.AddTypes(L"LINE,ARC");
    filter.AddLayers(layers.c_str());
    return filter;
}

void ReadRoadCurves(const KyAdsEntSet& S, std::vector<AcDbObjectId>& ids, KyGeObjList& G) {
    for (const AcDbObjectId& id : S.Ids()) {
        if (std::unique_ptr<KyGeCurve2d> curve = ReadRoadCurve(id)) {
            ids.push_back(id);
            G << std::move(curve);
        }
    }
}

void EraseMatchingEntity(const KyAdsEntSet& S, const KyGeCurve2d& e) {
    for (const AcDbObjectId& id : S.Ids()) {
        AcDbCurve* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
        const std::unique_ptr<KyGeCurve2d> curve = CurveOf(entity);
        const bool match = curve && SameShape(*curve, e);
        if (match) entity->erase();
        entity->close();
        if (match) return;
    }
}

AcDbObjectId FindTouchingRoadEdge(const KyGeCurve2d& p, int end, std::unique_ptr<KyGeCurve2d>& curve,
                                  int& touchingEnd) {
    curve.reset();
    touchingEnd = -1;
    const KyGePoint J = end == 0 ? p.GetStartPoint() : p.GetEndPoint();
    // Only an edge whose extents hold J can touch it there: a crossing window round J finds
    // them through the drawing's spatial index, in drawing order.
    const AcGePoint3d c1 = WcsToUcs(AcGePoint3d(J.x - 10 * KyRoadDistZero(), J.y - 10 * KyRoadDistZero(), 0.0), 0);
    const AcGePoint3d c2 = WcsToUcs(AcGePoint3d(J.x + 10 * KyRoadDistZero(), J.y + 10 * KyRoadDistZero(), 0.0), 0);
    const ads_point u1 = {c1.x, c1.y, 0.0}, u2 = {c2.x, c2.y, 0.0};
    KyAdsEntSet roads;
    roads.Get(L"C", u1, u2, RoadCurveFilter(KyDtGetLayerName(L"PLAN-ROAD")));
    for (const AcDbObjectId& id : roads.Ids()) {
        std::unique_ptr<KyGeCurve2d> g = ReadRoadCurve(id);
        if (!g || p.IsInclude(*g)) continue;  // p itself, or a piece of it
        const int touching = Equal2d(J, g->GetEndPoint()) ? 1 : Equal2d(J, g->GetStartPoint()) ? 0 : -1;
        if (touching < 0) continue;
        curve = std::move(g);
        touchingEnd = touching;
        return id;
    }
    return AcDbObjectId();
}

KyAdsEntSet SelectCenterLinesIn(const KyGePolyline2d& outline) {
    KyAdsEntSet centres;
    // The selection polygon: the outline with its arcs as chords, in the user's coordinates.
    const std::unique_ptr<KyGePolyline2d> chords = outline.PLinearize(g_dLinearDistPrec);
    if (!chords) return centres;
    std::vector<AcGePoint3d> polygon;
    for (int i = 0; i < chords->GetVertexNum(); ++i) {
        const KyGePoint v = chords->GetVertex(i);
        polygon.push_back(WcsToUcs(AcGePoint3d(v.x, v.y, 0.0), 0));
    }
    const KyAdsRBList fence = KyUtGetPolyFence(polygon, 1);
    if (!fence.IsEmpty())
        centres.Get(L"CP", fence.Get(), nullptr, RoadCurveFilter(KyDtGetLayerName(L"PLAN-ROAD_CENTER")));
    return centres;
}

AcDbObjectId FindRoadCenterLine(const KyGeCurve2d& a, const KyGeCurve2d& b, double& distA, double& distB) {
    KyGePolyline2d outline;
    if (!RoadOutlineExact(a, b, outline)) return AcDbObjectId();
    const KyAdsEntSet centres = SelectCenterLinesIn(outline);
    for (const AcDbObjectId& id : centres.Ids()) {
        const std::unique_ptr<KyGeCurve2d> m = ReadRoadCurve(id);
        if (!m || !IsPartnerEdge(*m, a)) continue;
        distA = EdgeDistance(a, *m);
        distB = EdgeDistance(b, *m);
        return id;
    }
    return AcDbObjectId();
}
