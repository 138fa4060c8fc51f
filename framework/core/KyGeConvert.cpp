// Host curve entities to geometry objects and back, and the stream's geometry input, which
// draws a geometry object as the host entity it converts to.
#include "framework/core/KyGeConvert.h"

#include <cmath>
#include <memory>

#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyGiStream.h"
#include "geometry/KyGeometry.h"
#include "host/db/db2dpline.h"
#include "host/db/dbarc.h"
#include "host/db/dbline.h"
#include "host/db/dbpline.h"

namespace {

bool Finite(double v) { return std::isfinite(v); }

KyGeObject* PolylineFromVertices(const std::vector<vorn::db::BulgeVertex>& vertices, bool closed) {
    if (vertices.size() < 2) return nullptr;
    auto pl = std::make_unique<KyGePolyline2d>();
    for (const vorn::db::BulgeVertex& v : vertices)
        if (!pl->AppendVertex(KyGePoint(v.point.x, v.point.y), v.bulge)) return nullptr;
    pl->SetClosed(closed);
    if (!(pl->Length() > g_distZero)) return nullptr;  // every vertex on one spot
    return pl.release();
}

KyGeObject* FromLine(const AcDbLine& line) {
    const AcGePoint3d a = line.startPoint(), b = line.endPoint();
    if (!Finite(a.x) || !Finite(a.y) || !Finite(b.x) || !Finite(b.y)) return nullptr;
    const KyGePoint p1(a.x, a.y), p2(b.x, b.y);
    if (Distance2d(p1, p2) <= g_distZero) return nullptr;
    return new KyGeLineSeg2d(p1, p2);
}

KyGeObject* FromArc(const AcDbArc& arc) {
    // Host arcs run counter-clockwise from the start angle to the end angle.
    std::unique_ptr<KyGeArc2d> ge = KyGeArc2d::Create(KyGePoint(arc.center().x, arc.center().y), arc.radius(),
                                                      arc.startAngle(), arc.endAngle(), false);
    return ge.release();
}

KyGeObject* FromCircle(const AcDbCircle& circle) {
    const double r = circle.radius();
    const double cx = circle.center().x, cy = circle.center().y;
    if (!Finite(r) || !Finite(cx) || !Finite(cy) || r <= g_distZero) return nullptr;
    // Two half circles, counter-clockwise from the point at angle 0.
    auto pl = std::make_unique<KyGePolyline2d>();
    pl->AppendVertex(KyGePoint(cx + r, cy), 1.0);
    pl->AppendVertex(KyGePoint(cx - r, cy), 1.0);
    pl->SetClosed(true);
    return pl.release();
}

AcDbEntity* ToPolyline(const KyGePolyline2d& pl) {
    const int n = pl.GetVertexNum();
    if (n < 2) return nullptr;
    auto out = std::make_unique<AcDbPolyline>(static_cast<unsigned int>(n));
    for (int i = 0; i < n; ++i) {
        const KyGePoint p = pl.GetVertex(i);
        if (out->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(p.x, p.y), pl.GetBulge(i)) != Acad::eOk)
            return nullptr;
    }
    out->setClosed(pl.IsClosed());
    return out.release();
}

}  // namespace

KyGeObject* AcDb2KyGe(const AcDbEntity* entity) {
    if (!entity) return nullptr;
    if (const AcDbLine* line = AcDbLine::cast(entity)) return FromLine(*line);
    if (const AcDbArc* arc = AcDbArc::cast(entity)) return FromArc(*arc);
    if (const AcDbCircle* circle = AcDbCircle::cast(entity)) return FromCircle(*circle);
    if (const AcDbPolyline* pl = AcDbPolyline::cast(entity)) return PolylineFromVertices(pl->vertices(), pl->isClosed());
    if (const AcDb2dPolyline* pl = AcDb2dPolyline::cast(entity))
        return PolylineFromVertices(pl->vertices(), pl->isClosed());
    return nullptr;
}

AcDbEntity* KyGe2AcDb(const KyGeObject* object) {
    if (!object) return nullptr;
    if (object->IsClassOf(KyGeLineSeg2d::s_classInfo)) {
        const auto& seg = static_cast<const KyGeLineSeg2d&>(*object);
        const KyGePoint a = seg.GetStartPoint(), b = seg.GetEndPoint();
        return new AcDbLine(AcGePoint3d(a.x, a.y, 0.0), AcGePoint3d(b.x, b.y, 0.0));
    }
    if (object->IsClassOf(KyGeCircle2d::s_classInfo)) {
        const auto& c = static_cast<const KyGeCircle2d&>(*object);
        if (!c.IsValid()) return nullptr;
        return new AcDbCircle(AcGePoint3d(c.GetCenter().x, c.GetCenter().y, 0.0), AcGeVector3d::kZAxis, c.GetRadius());
    }
    if (object->IsClassOf(KyGeArc2d::s_classInfo)) {
        const auto& arc = static_cast<const KyGeArc2d&>(*object);
        if (!arc.IsValid()) return nullptr;
        // A clockwise arc covers the same points as the counter-clockwise one from its end.
        const double from = arc.IsClockwise() ? arc.GetEndAngle() : arc.GetStartAngle();
        const double to = arc.IsClockwise() ? arc.GetStartAngle() : arc.GetEndAngle();
        return new AcDbArc(AcGePoint3d(arc.GetCenter().x, arc.GetCenter().y, 0.0), arc.GetRadius(), from, to);
    }
    if (object->IsClassOf(KyGePolyline2d::s_classInfo))
        return ToPolyline(static_cast<const KyGePolyline2d&>(*object));
    return nullptr;  // unbounded lines, points and anything else have no drawing entity
}

KyGiStream& KyGiStream::operator<<(const KyGeObject& object) {
    Deliver(KyGe2AcDb(&object));
    return *this;
}

KyGiStream& KyGiStream::operator<<(const KyGeObject* object) {
    if (object) *this << *object;
    return *this;
}

Acad::ErrorStatus KyDbSymbArrow::SetPolyline(const KyGePolyline2d& polyline) {
    std::vector<vorn::db::BulgeVertex> vertices;
    const int n = polyline.GetVertexNum();
    for (int i = 0; i < n; ++i) {
        const KyGePoint p = polyline.GetVertex(i);
        vorn::db::BulgeVertex v;
        v.point = AcGePoint2d(p.x, p.y);
        v.bulge = polyline.GetBulge(i);
        vertices.push_back(v);
    }
    // The arrow runs along the whole outline of a closed polyline, back to where it began.
    if (polyline.IsClosed() && n > 1) {
        vorn::db::BulgeVertex back;
        back.point = vertices.front().point;
        vertices.push_back(back);
    } else if (!vertices.empty()) {
        vertices.back().bulge = 0.0;
    }
    return SetVertices(vertices);
}
