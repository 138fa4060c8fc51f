// Parking rows along lines, arcs and polylines.
#include "parking/parkcurve.h"

#include <cmath>
#include <memory>

#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyGeConvert.h"
#include "framework/select/KyAdsEnt.h"
#include "geometry/KyGePolyline2d.h"
#include "host/db/dbblockref.h"
#include "host/db/dbcurve.h"
#include "host/db/dbpline.h"
#include "host/ed/aced.h"
#include "parking/parkrowlayout.h"
#include "parking/parksettings.h"
#include "parking/parkspace.h"

namespace {

constexpr double kPi = 3.1415926536;
constexpr double kHalfPi = 1.5707963268;
constexpr const wchar_t* kParkLayer = L"PLAN-CAR_PLACE";

bool PositiveFinite(double v) { return std::isfinite(v) && v > 0.0; }

void ReportTooSmall() { acutPrintf(L"%s", KyUtTranslate(L"空间太小！").c_str()); }

AcDbPolyline* DbPolyline(const std::vector<KyGePoint>& points, bool closed) {
    auto* pline = new AcDbPolyline;
    unsigned int i = 0;
    for (const KyGePoint& p : points) pline->addVertexAt(i++, AcGePoint2d(p.x, p.y));
    pline->setClosed(closed);
    return pline;
}

}  // namespace

int SideOfFirstSegment(const KyGeCurve2d& segment, const KyGePoint& p) {
    const int hit = segment.HitTest(p);
    // For a clockwise arc the left of travel is outside its circle.
    const int left = segment.IsClassOf(KyGeArc2d::s_classInfo) && segment.IsClockwise() ? kKyGeHitOutside
                                                                                         : kKyGeHitLeft;
    return (hit & kKyGeHitOn) == 0 && (hit & left) != 0 ? 1 : 2;
}

void BuildArcOutlines(const KyGeArc2d& arc, double w, double d, KyGeObjList& outlines) {
    if (!PositiveFinite(w) || !PositiveFinite(d) || !arc.IsValid()) return;
    const double length = arc.Length();
    if (w > length) {
        ReportTooSmall();
        return;
    }
    const KyGePoint o = arc.GetCenter();
    const double r = Distance2d(o, arc.GetStartPoint());
    // No chord of length w fits a circle of radius below w / 2: too tight for one space.
    if (!(w / 2 < r)) {
        ReportTooSmall();
        return;
    }
    const double phi = 2 * std::asin((w / 2) / r);
    const double beta = (kPi - phi) / 2;
    const double e = std::fabs(d / std::sin(beta));
    const double step = phi * r;
    if (!std::isfinite(e) || e > g_maxGeomSize || !(step > g_distZero)) return;
    const int k = vorn::parking::ParkSpaceCount(length + g_distZero, step, 0.0);
    // The arc is longer than w but shorter than the arc one chord of w cuts off.
    if (k == 0) ReportTooSmall();
    for (int j = 0; j < k; ++j) {
        const KyGePoint p0 = arc.GetPtFromDist(j * step);
        const KyGePoint p1 = arc.GetPtFromDist((j + 1) * step);
        const KyGePoint q1 = PolarPoint(o, GetAngle2d(o, p1), r + e);
        const KyGePoint q0 = PolarPoint(o, GetAngle2d(o, p0), r + e);
        auto outline = std::make_unique<KyGePolyline2d>();
        for (const KyGePoint& p : {p0, p1, q1, q0}) outline->AppendVertex(p);
        outline->SetClosed(true);
        outlines << std::move(outline);
    }
}

KyParkArcExtras ArcSpaceExtras(const KyGePoint quad[4], int style, int side, const KyGePoint& centre,
                               bool wide) {
    const KyGePoint &p0 = quad[0], &p1 = quad[1], &q1 = quad[2], &q0 = quad[3];
    KyParkArcExtras out;
    if (style == kParkSingleDiagonal) {
        out.mark = side == 2 ? std::vector<KyGePoint>{p0, q1} : std::vector<KyGePoint>{p1, q0};
    } else if (style == kParkDoubleDiagonal && !wide) {
        out.mark = side == 2 ? std::vector<KyGePoint>{q0, MidPoint(p0, p1), q1}
                             : std::vector<KyGePoint>{p0, MidPoint(q1, q0), p1};
    } else if (style == kParkDoubleDiagonal) {
        out.mark = {p0, MidPoint(p1, q1), q0};
    }
    out.carAt = MidPoint(p0, q1);
    const double a = side == 1 ? GetAngle2d(centre, out.carAt) : GetAngle2d(out.carAt, centre);
    out.carRotation = !wide ? a - kHalfPi : (side == 1 ? a - kPi : a);
    return out;
}

void AddArcRow(const KyGeObjList& outlines, int style, int side, const AcDbObjectId& carBlock,
               const KyGePoint& centre, bool wide) {
    const AcDbObjectId layer = KyDtInitLayer(kParkLayer);
    auto add = [&layer](AcDbEntity* entity) {
        if (!entity) return;
        if (!layer.isNull()) entity->setLayer(layer);
        AddToModelSpace(entity, 1);
    };
    const double f = KyParkUnitFactor();
    for (int i = 0; i < outlines.GetLength(); ++i) {
        const auto* outline = KyGeCast<KyGePolyline2d>(outlines[i]);
        if (!outline || outline->GetVertexNum() != 4) continue;
        const KyGePoint quad[4] = {outline->GetVertex(0), outline->GetVertex(1), outline->GetVertex(2),
                                   outline->GetVertex(3)};
        add(KyGe2AcDb(outline));
        const KyParkArcExtras extras = ArcSpaceExtras(quad, style, side, centre, wide);
        if (!extras.mark.empty()) add(DbPolyline(extras.mark, false));
        if (style == kParkWithCar && !carBlock.isNull()) {
            auto* car = new AcDbBlockReference(AcGePoint3d(extras.carAt.x, extras.carAt.y, 0), carBlock);
            car->setRotation(extras.carRotation);
            car->setScaleFactors(AcGeScale3d(f, f, f));
            add(car);
        }
    }
}

void ArcRowSide(const KyGeArc2d& arc, double w, double d, int style, int side, const AcDbObjectId& carBlock) {
    std::unique_ptr<KyGeCurve2d> offset;
    const KyGeArc2d* base = &arc;
    if (side == 2) {
        // Towards the centre: right of travel on a clockwise arc, left on the other.
        offset = arc.GetOffsetCurve(arc.IsClockwise() ? d : -d);
        base = KyGeCast<KyGeArc2d>(offset.get());
        // Spaces deeper than the radius would reach past the centre.
        if (!base) {
            ReportTooSmall();
            return;
        }
    }
    KyGeObjList outlines;
    BuildArcOutlines(*base, w, d, outlines);
    AddArcRow(outlines, style, side, carBlock, base->GetCenter(), w - d > g_distZero);
}

void LayoutAlongArc(const KyGeArc2d& arc, double w, double d, int rows, int style, int side,
                    const AcDbObjectId& carBlock) {
    ArcRowSide(arc, w, d, style, side, carBlock);
    if (rows == 2) ArcRowSide(arc, w, d, style, 3 - side, carBlock);
}

void LayoutAlongSegment(const KyGeCurve2d& segment, double w, double d, int rows, double a, int side,
                        int style, const AcDbObjectId& carBlock) {
    const double length = segment.Length();
    if (!PositiveFinite(w)) return;
    if (w > length) {
        ReportTooSmall();
        return;
    }
    // A hair of tolerance so that a segment of exactly n widths holds n spaces.
    const int n = vorn::parking::ParkSpaceCount(length + g_distZero, w, 0.0);
    const KyGePoint s = segment.GetStartPoint(), e = segment.GetEndPoint();
    const AcGePoint3d s3(s.x, s.y, 0), e3(e.x, e.y, 0);
    if (rows == 2) {
        AddParkRow(s3, e3, w, d, a, 1, n, style, carBlock);
        AddParkRow(s3, e3, w, d, a, 2, n, style, carBlock);
    } else {
        AddParkRow(s3, e3, w, d, a, side, n, style, carBlock);
    }
}

bool LayoutAlongCurve(double w, double d, const KyGePoint& sidePoint, double a, int style, int rows,
                      const AcDbObjectId& carBlock, const AcDbObjectId& curve) {
    AcDbEntity* entity = KyAdsEnt(curve).Open(AcDb::kForRead);
    if (!entity) return false;
    std::unique_ptr<KyGeObject> ge;
    if (dynamic_cast<const AcDbCurve*>(entity)) ge.reset(AcDb2KyGe(entity));
    entity->close();
    KyGePolyline2d path;
    if (const auto* pline = KyGeCast<KyGePolyline2d>(ge.get())) {
        path.CopyFrom(*pline);
    } else if (const auto* c = KyGeCast<KyGeCurve2d>(ge.get())) {
        if (std::unique_ptr<KyGePolyline2d> p = c->PLinearize(0.0)) path.CopyFrom(*p);
    }
    path.RemoveDupPoint();
    const int n = path.GetSegNum();
    if (n <= 0) {
        acutPrintf(L"%s", KyUtTranslate(L"\n所选对象不能转换为曲线，未布置车位。").c_str());
        return false;
    }
    // The command has checked the sizes (KyParkCheckSizes); unusable ones lay nothing.
    if (!PositiveFinite(w) || !PositiveFinite(d)) return true;
    int side = 1;
    for (int i = 0; i < n; ++i) {
        const std::unique_ptr<KyGeCurve2d> segment = path.GetSegment(i);
        if (!segment) continue;
        if (i == 0) side = SideOfFirstSegment(*segment, sidePoint);
        if (const auto* arc = KyGeCast<KyGeArc2d>(segment.get()))
            LayoutAlongArc(*arc, w, d, rows, style, arc->IsClockwise() ? side : 3 - side, carBlock);
        else
            LayoutAlongSegment(*segment, w, d, rows, a, side, style, carBlock);
    }
    return true;
}
