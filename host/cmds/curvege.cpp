// Conversions between the drawing's curves and the geometry library's.
#include "host/cmds/curvege.h"

#include <cmath>
#include <vector>

#include "host/cmds/cmdutil.h"
#include "host/db/dbkept.h"

namespace vorn::cmds {
namespace {

KyGePoint P(const AcGePoint3d& p) { return KyGePoint(p.x, p.y); }
KyGePoint P(const AcGePoint2d& p) { return KyGePoint(p.x, p.y); }

// The one width every segment of a polyline has; 0 when they differ.
double ConstantWidth(const std::vector<vorn::db::BulgeVertex>& v) {
    if (v.empty()) return 0;
    for (const auto& x : v)
        if (x.startWidth != v[0].startWidth || x.endWidth != v[0].startWidth) return 0;
    return v[0].startWidth;
}

std::vector<vorn::db::BulgeVertex> VerticesOf(const KyGePolyline2d& pl, double width) {
    std::vector<vorn::db::BulgeVertex> v;
    for (int i = 0; i < pl.GetVertexNum(); ++i) {
        const KyGePoint p = pl.GetVertex(i);
        v.push_back({AcGePoint2d(p.x, p.y), pl.GetBulge(i), width, width});
    }
    return v;
}

// A counter-clockwise arc's start and end angles.
void CcwAngles(const KyGeArc2d& arc, double& start, double& end) {
    start = arc.GetStartAngle();
    end = arc.GetEndAngle();
    if (arc.IsClockwise()) std::swap(start, end);
}

bool SameKind(const AcDbEntity* e, const KyGeCurve2d& c) {
    if (AcDbLine::cast(e)) return KyGeCast<KyGeLineSeg2d>(&c) != nullptr;
    if (AcDbArc::cast(e)) return KyGeCast<KyGeArc2d>(&c) && !KyGeCast<KyGeCircle2d>(&c);
    if (AcDbCircle::cast(e)) return KyGeCast<KyGeCircle2d>(&c) != nullptr;
    if (AcDbPolyline::cast(e) || AcDb2dPolyline::cast(e)) return KyGeCast<KyGePolyline2d>(&c) != nullptr;
    return false;
}

std::unique_ptr<KyGeCurve2d> PolylineOf(const std::vector<vorn::db::BulgeVertex>& vertices, bool closed) {
    auto out = std::make_unique<KyGePolyline2d>();
    for (const auto& v : vertices) out->AppendVertex(P(v.point), v.bulge);
    out->SetClosed(closed);
    out->RemoveDupPoint();
    if (out->GetSegNum() < 1) return nullptr;
    return out;
}

}  // namespace

std::unique_ptr<KyGeCurve2d> CurveOf(const AcDbEntity* e) {
    if (const AcDbLine* l = AcDbLine::cast(e)) return std::make_unique<KyGeLineSeg2d>(P(l->startPoint()), P(l->endPoint()));
    if (const AcDbArc* a = AcDbArc::cast(e))
        return KyGeArc2d::Create(P(a->center()), a->radius(), a->startAngle(), a->endAngle());
    if (const AcDbCircle* c = AcDbCircle::cast(e)) {
        if (!(c->radius() > g_distZero)) return nullptr;
        return std::make_unique<KyGeCircle2d>(P(c->center()), c->radius());
    }
    if (const AcDbPolyline* pl = AcDbPolyline::cast(e)) return PolylineOf(pl->vertices(), pl->isClosed());
    // A fitted or splined old-style polyline is not the path of its vertices: left alone.
    if (const AcDb2dPolyline* pl = AcDb2dPolyline::cast(e); pl && pl->polyType() == AcDb::k2dSimplePoly)
        return PolylineOf(pl->vertices(), pl->isClosed());
    return nullptr;
}

double ElevationOf(const AcDbEntity* e) {
    if (const AcDbLine* l = AcDbLine::cast(e)) return l->startPoint().z;
    if (const AcDbArc* a = AcDbArc::cast(e)) return a->center().z;
    if (const AcDbCircle* c = AcDbCircle::cast(e)) return c->center().z;
    if (const AcDbPolyline* pl = AcDbPolyline::cast(e)) return pl->elevation();
    if (const AcDb2dPolyline* pl = AcDb2dPolyline::cast(e)) return pl->elevation();
    return 0;
}

AcDbEntity* NewEntityOf(const KyGeCurve2d& c, double z) {
    AcDbEntity* e = nullptr;
    if (const auto* s = KyGeCast<KyGeLineSeg2d>(&c)) {
        e = new AcDbLine(AcGePoint3d(s->GetStartPoint().x, s->GetStartPoint().y, z),
                         AcGePoint3d(s->GetEndPoint().x, s->GetEndPoint().y, z));
    } else if (const auto* k = KyGeCast<KyGeCircle2d>(&c)) {
        e = new AcDbCircle(AcGePoint3d(k->GetCenter().x, k->GetCenter().y, z), AcGeVector3d::kZAxis, k->GetRadius());
    } else if (const auto* a = KyGeCast<KyGeArc2d>(&c)) {
        double start, end;
        CcwAngles(*a, start, end);
        e = new AcDbArc(AcGePoint3d(a->GetCenter().x, a->GetCenter().y, z), a->GetRadius(), start, end);
    } else if (const auto* pl = KyGeCast<KyGePolyline2d>(&c)) {
        auto* p = new AcDbPolyline(static_cast<unsigned>(pl->GetVertexNum()));
        e = p;
        if (p->setVertices(VerticesOf(*pl, 0)) != Acad::eOk) {
            delete e;
            return nullptr;
        }
        p->setClosed(pl->IsClosed());
        p->setElevation(z);
    }
    if (e && !e->isFiniteObject()) {
        delete e;
        e = nullptr;
    }
    return e;
}

bool SetCurve(AcDbEntity* e, const KyGeCurve2d& c) {
    if (!SameKind(e, c)) return false;
    const double z = ElevationOf(e);
    {
        AcDbEntity* probe = NewEntityOf(c, z);  // refuses what is not finite
        if (!probe) return false;
        delete probe;
    }
    Acad::ErrorStatus es = Acad::eOk;
    if (AcDbLine* l = AcDbLine::cast(e)) {
        const KyGePoint a = c.GetStartPoint(), b = c.GetEndPoint();
        es = l->setStartPoint(AcGePoint3d(a.x, a.y, z));
        if (es == Acad::eOk) es = l->setEndPoint(AcGePoint3d(b.x, b.y, z));
    } else if (AcDbCircle* k = AcDbCircle::cast(e)) {
        const auto& g = static_cast<const KyGeCircle2d&>(c);
        es = k->setCenter(AcGePoint3d(g.GetCenter().x, g.GetCenter().y, z));
        if (es == Acad::eOk) es = k->setRadius(g.GetRadius());
    } else if (AcDbArc* a = AcDbArc::cast(e)) {
        const auto& g = static_cast<const KyGeArc2d&>(c);
        double start, end;
        CcwAngles(g, start, end);
        es = a->setCenter(AcGePoint3d(g.GetCenter().x, g.GetCenter().y, z));
        if (es == Acad::eOk) es = a->setRadius(g.GetRadius());
        if (es == Acad::eOk) es = a->setStartAngle(start);
        if (es == Acad::eOk) es = a->setEndAngle(end);
    } else if (AcDbPolyline* p = AcDbPolyline::cast(e)) {
        const auto& g = static_cast<const KyGePolyline2d&>(c);
        es = p->setVertices(VerticesOf(g, ConstantWidth(p->vertices())));
        if (es == Acad::eOk) p->setClosed(g.IsClosed());
    } else if (AcDb2dPolyline* p = AcDb2dPolyline::cast(e)) {
        const auto& g = static_cast<const KyGePolyline2d&>(c);
        es = p->setVertices(VerticesOf(g, ConstantWidth(p->vertices())));
        if (es == Acad::eOk) p->setClosed(g.IsClosed());
    }
    return es == Acad::eOk;
}

bool ReplaceCurve(const AcDbObjectId& id, const std::vector<std::unique_ptr<KyGeCurve2d>>& pieces) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) return false;
    // Every new entity is made before anything changes, so that a piece that cannot be
    // stored leaves the drawing as it was.
    std::vector<AcDbEntity*> made;
    bool ok = true;
    bool keepFirst = !pieces.empty() && SameKind(e, *pieces[0]);
    for (std::size_t i = keepFirst ? 1 : 0; ok && i < pieces.size(); ++i) {
        AcDbEntity* n = nullptr;
        if (SameKind(e, *pieces[i])) {
            n = static_cast<AcDbEntity*>(e->clone());
            vorn::db::PrepareCopy(n, false);
            if (!SetCurve(n, *pieces[i])) {
                delete n;
                n = nullptr;
            }
        } else if ((n = NewEntityOf(*pieces[i], ElevationOf(e))) != nullptr) {
            n->setPropertiesFrom(e);
        }
        if (n) made.push_back(n);
        else ok = false;
    }
    if (ok && keepFirst) ok = SetCurve(e, *pieces[0]);
    if (ok && !keepFirst) ok = e->erase() == Acad::eOk;
    e->close();
    if (!ok) {
        for (AcDbEntity* n : made) delete n;
        return false;
    }
    for (AcDbEntity* n : made) Append(n);
    return true;
}

}  // namespace vorn::cmds
