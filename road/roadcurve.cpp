// Road curves from picked points, finite offsets and host entities.
#include "road/roadcurve.h"

#include <cmath>

#include "host/db/dbarc.h"
#include "host/db/dbline.h"

namespace {

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool Finite(const KyGePoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

AcGePoint3d HostPoint(const KyGePoint& p) { return AcGePoint3d(p.x, p.y, 0.0); }

}  // namespace

KyGePoint RoadPoint(const AcGePoint3d& p) { return KyGePoint(p.x, p.y, 0.0); }

std::unique_ptr<KyGeCurve2d> MakeRoadLine(const AcGePoint3d& start, const AcGePoint3d& end) {
    if (!Finite(start) || !Finite(end)) return nullptr;
    auto line = std::make_unique<KyGeLineSeg2d>(RoadPoint(start), RoadPoint(end));
    if (line->IsDegenerate()) return nullptr;
    return line;
}

std::unique_ptr<KyGeCurve2d> MakeRoadArc(const AcGePoint3d& start, const AcGePoint3d& onArc,
                                         const AcGePoint3d& end) {
    if (!Finite(start) || !Finite(onArc) || !Finite(end)) return nullptr;
    return KyGeArc2d::Create(RoadPoint(start), RoadPoint(onArc), RoadPoint(end));
}

std::unique_ptr<KyGeCurve2d> RoadOffsetCurve(const KyGeCurve2d& curve, double d) {
    std::unique_ptr<KyGeCurve2d> offset = curve.GetOffsetCurve(d);
    if (!offset) return nullptr;
    if (!Finite(offset->GetStartPoint()) || !Finite(offset->GetEndPoint())) return nullptr;
    if (const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(offset.get()))
        if (!std::isfinite(arc->GetRadius()) || !Finite(arc->GetCenter())) return nullptr;
    return offset;
}

std::unique_ptr<AcDbEntity> RoadCurveToEntity(const KyGeCurve2d& curve) {
    if (const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(&curve)) {
        if (!arc->IsValid() || !arc->IsBounded()) return nullptr;
        // Host arcs run anticlockwise: a clockwise arc is the same arc from its end to its start.
        const bool cw = arc->IsClockwise();
        const double a0 = cw ? arc->GetEndAngle() : arc->GetStartAngle();
        const double a1 = cw ? arc->GetStartAngle() : arc->GetEndAngle();
        return std::make_unique<AcDbArc>(HostPoint(arc->GetCenter()), arc->GetRadius(), a0, a1);
    }
    if (const KyGeLineSeg2d* line = KyGeCast<KyGeLineSeg2d>(&curve))
        return std::make_unique<AcDbLine>(HostPoint(line->GetStartPoint()),
                                          HostPoint(line->GetEndPoint()));
    return nullptr;
}
