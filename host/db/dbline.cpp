// AcDbLine.
#include "host/db/dbline.h"

#include <algorithm>

#include "host/db/dbgeomutil.h"

using namespace vorn::db::detail;

ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_start = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_end = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartParam(double& param) const { param = 0.0; return Acad::eOk; }
Acad::ErrorStatus AcDbLine::getEndParam(double& param) const { param = m_start.distanceTo(m_end); return Acad::eOk; }
Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const { point = m_start; return Acad::eOk; }
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const { point = m_end; return Acad::eOk; }

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
    double len = m_start.distanceTo(m_end);
    double slack = kParamTol * std::max(1.0, len);
    if (!Finite(param) || param < -slack || param > len + slack) return Acad::eInvalidInput;
    point = len > 0.0 ? m_start + (m_end - m_start) * (param / len) : m_start;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    AcGePoint3d c;
    getClosestPointTo(point, c, false);
    if (c.distanceTo(point) > vorn::ge::kPointTol * std::max(1.0, point.asVector().length() * 1e-6))
        return Acad::eInvalidInput;
    param = c.distanceTo(m_start);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
    double len = m_start.distanceTo(m_end);
    if (!Finite(param) || param < -kParamTol * std::max(1.0, len) || param > len * (1 + kParamTol) + kParamTol)
        return Acad::eInvalidInput;
    dist = std::clamp(param, 0.0, len);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtDist(double dist, double& param) const { return getDistAtParam(dist, param); }

Acad::ErrorStatus AcDbLine::getFirstDeriv(double, AcGeVector3d& deriv) const {
    deriv = (m_end - m_start).normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend) const {
    AcGeVector3d d = m_end - m_start;
    double len2 = d.lengthSqrd();
    if (!(len2 > 0.0)) {
        closest = m_start;
        return Acad::eOk;
    }
    double t = (given - m_start).dotProduct(d) / len2;
    if (!extend) t = std::clamp(t, 0.0, 1.0);
    closest = m_start + d * t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getArea(double& area) const { area = 0.0; return Acad::eOk; }

Acad::ErrorStatus AcDbLine::reverseCurve() {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    std::swap(m_start, m_end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
    extents.set(m_start, m_end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
    AcGePoint3d a = xform * m_start, b = xform * m_end;
    if (!Finite(a) || !Finite(b)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_start = a;
    m_end = b;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

bool AcDbLine::worldDraw(AcGiWorldDraw* draw) const { return draw->geometry().line(m_start, m_end); }

std::wstring AcDbLine::list() const {
    return listHeader() + L"  from point: " + Pt(m_start) + L"\n  to point: " + Pt(m_end) + L"\n  Length: " +
           Num(m_start.distanceTo(m_end)) + L"\n";
}

std::wstring AcDbLine::degeneracy() const {
    return m_start.distanceTo(m_end) <= vorn::ge::kPointTol ? L"zero-length line" : L"";
}

bool AcDbLine::isFiniteObject() const { return Finite(m_start) && Finite(m_end) && AcDbEntity::isFiniteObject(); }
