// AcDb2dPolyline: the old-style polyline; curve questions go through a lightweight copy.
#include "host/db/db2dpline.h"

#include "host/db/dbgeomutil.h"

using namespace vorn::db::detail;
using vorn::db::BulgeVertex;

ACRX_DXF_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, L"POLYLINE")

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const std::vector<AcGePoint3d>& points, double elevation,
                               bool closed)
    : m_type(type), m_closed(closed), m_elevation(elevation) {
    for (const auto& p : points) m_verts.push_back(BulgeVertex{AcGePoint2d(p.x, p.y), 0.0, 0.0, 0.0});
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_type = type;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(const AcGePoint3d& point, double bulge, double sw, double ew) {
    BulgeVertex v{AcGePoint2d(point.x, point.y), bulge, sw, ew};
    if (!Finite(point) || !Finite(bulge) || !Finite(sw) || !Finite(ew)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts.push_back(v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setVertices(const std::vector<BulgeVertex>& vertices) {
    AcDbPolyline check;
    if (check.setVertices(vertices) != Acad::eOk) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts = vertices;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::vertexPosition(unsigned int index, AcGePoint3d& point) const {
    if (index >= m_verts.size()) return Acad::eInvalidIndex;
    point = AcGePoint3d(m_verts[index].point.x, m_verts[index].point.y, m_elevation);
    return Acad::eOk;
}

void AcDb2dPolyline::setClosed(bool closed) {
    if (assertWriteEnabled()) m_closed = closed;
}

void AcDb2dPolyline::setElevation(double z) {
    if (Finite(z) && assertWriteEnabled()) m_elevation = z;
}

AcDbPolyline AcDb2dPolyline::asPolyline() const {
    AcDbPolyline p;
    p.setVertices(m_verts);
    p.setClosed(m_closed);
    p.setElevation(m_elevation);
    return p;
}

AcDbPolyline* AcDb2dPolyline::toPolyline() const {
    auto* p = new AcDbPolyline(asPolyline());
    p->setPropertiesFrom(this);
    return p;
}

Acad::ErrorStatus AcDb2dPolyline::getStartParam(double& p) const { return asPolyline().getStartParam(p); }
Acad::ErrorStatus AcDb2dPolyline::getEndParam(double& p) const { return asPolyline().getEndParam(p); }
Acad::ErrorStatus AcDb2dPolyline::getStartPoint(AcGePoint3d& p) const { return asPolyline().getStartPoint(p); }
Acad::ErrorStatus AcDb2dPolyline::getEndPoint(AcGePoint3d& p) const { return asPolyline().getEndPoint(p); }
Acad::ErrorStatus AcDb2dPolyline::getPointAtParam(double param, AcGePoint3d& p) const {
    return asPolyline().getPointAtParam(param, p);
}
Acad::ErrorStatus AcDb2dPolyline::getParamAtPoint(const AcGePoint3d& p, double& param) const {
    return asPolyline().getParamAtPoint(p, param);
}
Acad::ErrorStatus AcDb2dPolyline::getDistAtParam(double param, double& d) const {
    return asPolyline().getDistAtParam(param, d);
}
Acad::ErrorStatus AcDb2dPolyline::getParamAtDist(double d, double& param) const {
    return asPolyline().getParamAtDist(d, param);
}
Acad::ErrorStatus AcDb2dPolyline::getFirstDeriv(double param, AcGeVector3d& d) const {
    return asPolyline().getFirstDeriv(param, d);
}
Acad::ErrorStatus AcDb2dPolyline::getClosestPointTo(const AcGePoint3d& g, AcGePoint3d& c, bool extend) const {
    return asPolyline().getClosestPointTo(g, c, extend);
}
Acad::ErrorStatus AcDb2dPolyline::getArea(double& a) const { return asPolyline().getArea(a); }

Acad::ErrorStatus AcDb2dPolyline::reverseCurve() {
    AcDbPolyline p = asPolyline();
    p.reverseCurve();
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts = p.vertices();
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getGeomExtents(AcDbExtents& e) const { return asPolyline().getGeomExtents(e); }

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform) {
    AcDbPolyline p = asPolyline();
    Acad::ErrorStatus es = p.transformBy(xform);
    if (es != Acad::eOk) return es;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_verts = p.vertices();
    m_elevation = p.elevation();
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::explode(AcDbVoidPtrArray& set) const {
    AcDbPolyline p = asPolyline();
    p.setPropertiesFrom(this);
    return p.explode(set);
}

bool AcDb2dPolyline::worldDraw(AcGiWorldDraw* draw) const { return asPolyline().worldDraw(draw); }

std::wstring AcDb2dPolyline::list() const {
    std::wstring body = asPolyline().list();
    size_t cut = body.find(L"  Closed");
    if (cut == std::wstring::npos) cut = body.find(L"  Open");
    return listHeader() + (cut == std::wstring::npos ? L"" : body.substr(cut));
}

std::wstring AcDb2dPolyline::degeneracy() const { return asPolyline().degeneracy(); }

bool AcDb2dPolyline::isFiniteObject() const { return asPolyline().isFiniteObject() && AcDbEntity::isFiniteObject(); }
