// Elevation marks and base curves read from the drawing for the annotation commands.
#include "annotation/annotationdb.h"

#include <memory>

#include "annotation/annotationmath.h"
#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyGeConvert.h"
#include "geometry/KyGePoint.h"
#include "host/db/dbentity.h"
#include "host/mfc/cstring.h"

KyAdsRBList KyAnnoElevationFilter() {
    KyAdsRBList filter;
    filter.AddTypes(L"VORN_SYMB_ELEVATION");
    return filter;
}

KyAdsRBList KyAnnoBaseCurveFilter() {
    KyAdsRBList filter;
    filter.AddTypes(L"POLYLINE,LWPOLYLINE,LINE,ARC");
    return filter;
}

bool KyAnnoReadElevationMark(const AcDbObjectId& id, KyAnnoElevationMark& mark,
                             KyDbSymbElevation** copy) {
    AcDbEntity* entity = nullptr;
    if (id.isNull() || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk || !entity)
        return false;
    const KyDbSymbElevation* symbol = KyDbSymbElevation::cast(entity);
    if (symbol) {
        mark.location = symbol->GetLocation();
        mark.text = symbol->GetElevationText();
        mark.elevation = 0.0;
        mark.problem = KyAnnoCheckElevationText(mark.text, mark.elevation);
        if (copy) *copy = static_cast<KyDbSymbElevation*>(symbol->clone());
    }
    entity->close();
    return symbol != nullptr;
}

bool KyAnnoCurveAsPolyline(const AcDbObjectId& id, KyGePolyline2d& out) {
    AcDbEntity* entity = nullptr;
    if (id.isNull() || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk || !entity)
        return false;
    std::unique_ptr<KyGeObject> object(AcDb2KyGe(entity));
    entity->close();
    const KyGeCurve2d* curve = KyGeCast<KyGeCurve2d>(object.get());
    if (!curve) return false;
    if (const KyGePolyline2d* polyline = KyGeCast<KyGePolyline2d>(curve)) {
        out.CopyFrom(*polyline);
    } else {
        std::unique_ptr<KyGePolyline2d> linear = curve->PLinearize(0.0);
        if (!linear) return false;
        out.CopyFrom(*linear);
    }
    return out.GetVertexNum() >= 2;
}

KyGePolyline2d KyAnnoSegmentLine(const AcGePoint3d& a, const AcGePoint3d& b) {
    KyGePolyline2d line;
    line.AppendVertex(KyAnnoGePoint(a));
    line.AppendVertex(KyAnnoGePoint(b));
    return line;
}

KyGePoint KyAnnoGePoint(const AcGePoint3d& p) { return KyGePoint(p.x, p.y); }

bool KyAnnoProjectOnLine(const KyGePolyline2d& line, const AcGePoint3d& p, AcGePoint3d& out) {
    KyGePoint foot;
    const bool onLine = line.GetClosestPoint2d(KyAnnoGePoint(p), foot);
    out = AcGePoint3d(foot.x, foot.y, p.z);
    return onLine || Distance2d(foot, KyAnnoGePoint(p)) <= g_distZero;
}

AcGePoint3d KyAnnoNearestOnLine(const KyGePolyline2d& line, const AcGePoint3d& p) {
    AcGePoint3d out;
    KyAnnoProjectOnLine(line, p, out);
    return out;
}
