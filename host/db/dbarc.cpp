// AcDbCircle and AcDbArc.
#include "host/db/dbarc.h"

#include <algorithm>

#include "host/db/dbbulge.h"
#include "host/db/dbgeomutil.h"
#include "host/db/dbpline.h"

using namespace vorn::db::detail;

ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
ACRX_DXF_DEFINE_MEMBERS(AcDbArc, AcDbCurve, L"ARC")

namespace {
double onCircleTol(const AcGePoint3d& c, double r) {
    return std::max(vorn::ge::kPointTol, 1e-12 * (std::fabs(c.x) + std::fabs(c.y) + r));
}

AcGePoint3d atAngle(const AcGePoint3d& c, double r, double a) {
    return {c.x + r * std::cos(a), c.y + r * std::sin(a), c.z};
}

// The arc's segment form, for extents and closest points.
vorn::db::BulgeSegment segmentOf(const AcGePoint3d& c, double r, double start, double sweep) {
    vorn::db::BulgeSegment s;
    s.isArc = true;
    s.centre = AcGePoint2d(c.x, c.y);
    s.radius = r;
    s.startAngle = start;
    s.sweep = sweep;
    s.start = s.pointAt(0.0);
    s.end = s.pointAt(1.0);
    return s;
}

// Transforms centre, radius and a start angle and sweep (counter-clockwise) by a similarity.
Acad::ErrorStatus transformArc(const AcGeMatrix3d& m, AcGePoint3d& c, double& r, double& start, double& sweep) {
    double scale, turn;
    bool mirrored;
    if (!Similarity(m, scale, turn, mirrored)) return Acad::eCannotScaleNonUniformly;
    AcGePoint3d nc = m * c;
    double nr = r * scale;
    if (!Finite(nc) || !Finite(nr)) return Acad::eInvalidInput;
    if (mirrored) {
        start = turn - start - sweep;
    } else {
        start = start + turn;
    }
    c = nc;
    r = nr;
    start = WrapAngle(start);
    return Acad::eOk;
}
}  // namespace

// ---- circle ----

AcDbCircle::AcDbCircle(const AcGePoint3d& centre, const AcGeVector3d&, double radius)
    : m_center(centre), m_radius(radius) {}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c) {
    if (!Finite(c)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_center = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double r) {
    if (!Finite(r) || r < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_radius = r;
    return Acad::eOk;
}

double AcDbCircle::circumference() const { return kTwoPi * m_radius; }

Acad::ErrorStatus AcDbCircle::getStartParam(double& p) const { p = 0.0; return Acad::eOk; }
Acad::ErrorStatus AcDbCircle::getEndParam(double& p) const { p = kTwoPi; return Acad::eOk; }
Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& p) const { p = atAngle(m_center, m_radius, 0.0); return Acad::eOk; }
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& p) const { p = atAngle(m_center, m_radius, 0.0); return Acad::eOk; }

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
    if (!Finite(param)) return Acad::eInvalidInput;
    point = atAngle(m_center, m_radius, param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double d = std::hypot(point.x - m_center.x, point.y - m_center.y);
    if (std::fabs(d - m_radius) > onCircleTol(m_center, m_radius)) return Acad::eInvalidInput;
    param = WrapAngle(std::atan2(point.y - m_center.y, point.x - m_center.x));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
    if (!Finite(param) || param < -kParamTol || param > kTwoPi + kParamTol) return Acad::eInvalidInput;
    dist = std::clamp(param, 0.0, kTwoPi) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtDist(double dist, double& param) const {
    double len = circumference();
    if (!Finite(dist) || dist < -kParamTol * std::max(1.0, len) || dist > len * (1 + kParamTol) + kParamTol ||
        !(m_radius > 0.0))
        return Acad::eInvalidInput;
    param = std::clamp(dist / m_radius, 0.0, kTwoPi);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getFirstDeriv(double param, AcGeVector3d& d) const {
    d = AcGeVector3d(-std::sin(param), std::cos(param), 0.0) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool) const {
    AcGeVector3d v(given.x - m_center.x, given.y - m_center.y, 0.0);
    if (v.isZeroLength()) v = AcGeVector3d::kXAxis;
    closest = m_center + v.normal() * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const { area = kPi * m_radius * m_radius; return Acad::eOk; }

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& e) const {
    e.set(m_center - AcGeVector3d(m_radius, m_radius, 0.0), m_center + AcGeVector3d(m_radius, m_radius, 0.0));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
    AcGePoint3d c = m_center;
    double r = m_radius, start = 0.0, sweep = kTwoPi;
    Acad::ErrorStatus es = transformArc(xform, c, r, start, sweep);
    if (es != Acad::eOk) return es;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_center = c;
    m_radius = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

bool AcDbCircle::worldDraw(AcGiWorldDraw* draw) const { return draw->geometry().circle(m_center, m_radius); }

std::wstring AcDbCircle::list() const {
    return listHeader() + L"  center point: " + Pt(m_center) + L"\n  radius: " + Num(m_radius) +
           L"\n  circumference: " + Num(circumference()) + L"\n  area: " + Num(kPi * m_radius * m_radius) + L"\n";
}

std::wstring AcDbCircle::degeneracy() const { return m_radius <= vorn::ge::kPointTol ? L"zero-radius circle" : L""; }

bool AcDbCircle::isFiniteObject() const { return Finite(m_center) && Finite(m_radius) && AcDbEntity::isFiniteObject(); }

// ---- arc ----

AcDbArc::AcDbArc(const AcGePoint3d& centre, double radius, double startAngle, double endAngle)
    : m_center(centre), m_radius(radius), m_start(WrapAngle(startAngle)), m_end(WrapAngle(endAngle)) {
    // A non-finite angle is kept so that the database refuses the arc rather than storing 0.
    if (!Finite(startAngle)) m_start = startAngle;
    if (!Finite(endAngle)) m_end = endAngle;
}

AcDbArc::AcDbArc(const AcGePoint3d& centre, const AcGeVector3d&, double radius, double startAngle, double endAngle)
    : AcDbArc(centre, radius, startAngle, endAngle) {}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& c) {
    if (!Finite(c)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_center = c;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setRadius(double r) {
    if (!Finite(r) || r < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_radius = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
    if (!Finite(a)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_start = WrapAngle(a);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
    if (!Finite(a)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_end = WrapAngle(a);
    return Acad::eOk;
}

double AcDbArc::totalAngle() const {
    double s = m_end - m_start;
    if (!Finite(s)) return 0.0;
    if (s <= 0.0) s += kTwoPi;
    return s;
}

Acad::ErrorStatus AcDbArc::getStartParam(double& p) const { p = m_start; return Acad::eOk; }
Acad::ErrorStatus AcDbArc::getEndParam(double& p) const { p = m_start + totalAngle(); return Acad::eOk; }
Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& p) const { p = atAngle(m_center, m_radius, m_start); return Acad::eOk; }
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& p) const { p = atAngle(m_center, m_radius, m_end); return Acad::eOk; }

Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
    if (!Finite(param) || param < m_start - kParamTol || param > m_start + totalAngle() + kParamTol)
        return Acad::eInvalidInput;
    point = atAngle(m_center, m_radius, param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double d = std::hypot(point.x - m_center.x, point.y - m_center.y);
    if (std::fabs(d - m_radius) > onCircleTol(m_center, m_radius)) return Acad::eInvalidInput;
    double a = WrapAngle(std::atan2(point.y - m_center.y, point.x - m_center.x) - m_start);
    double sweep = totalAngle();
    // Points just before the start (round-off) count as the start.
    if (a > sweep + kParamTol) {
        if (kTwoPi - a <= kParamTol + onCircleTol(m_center, m_radius) / std::max(m_radius, 1e-300)) a = 0.0;
        else return Acad::eInvalidInput;
    }
    param = m_start + std::min(a, sweep);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double param, double& dist) const {
    double sweep = totalAngle();
    if (!Finite(param) || param < m_start - kParamTol || param > m_start + sweep + kParamTol) return Acad::eInvalidInput;
    dist = std::clamp(param - m_start, 0.0, sweep) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtDist(double dist, double& param) const {
    double len = arcLength();
    if (!Finite(dist) || !(m_radius > 0.0) || dist < -kParamTol * std::max(1.0, len) ||
        dist > len * (1 + kParamTol) + kParamTol)
        return Acad::eInvalidInput;
    param = m_start + std::clamp(dist / m_radius, 0.0, totalAngle());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getFirstDeriv(double param, AcGeVector3d& d) const {
    d = AcGeVector3d(-std::sin(param), std::cos(param), 0.0) * m_radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend) const {
    if (extend) {
        AcDbCircle c(m_center, AcGeVector3d::kZAxis, m_radius);
        return c.getClosestPointTo(given, closest, false);
    }
    vorn::db::BulgeSegment s = segmentOf(m_center, m_radius, m_start, totalAngle());
    AcGePoint2d c;
    s.closestFraction(AcGePoint2d(given.x, given.y), c);
    closest = AcGePoint3d(c.x, c.y, m_center.z);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getArea(double& area) const {
    double a = totalAngle();
    area = 0.5 * m_radius * m_radius * (a - std::sin(a));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& e) const {
    e.reset();
    segmentOf(m_center, m_radius, m_start, totalAngle()).addToExtents(e, m_center.z);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
    AcGePoint3d c = m_center;
    double r = m_radius, start = m_start, sweep = totalAngle();
    Acad::ErrorStatus es = transformArc(xform, c, r, start, sweep);
    if (es != Acad::eOk) return es;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_center = c;
    m_radius = r;
    m_start = start;
    m_end = WrapAngle(start + sweep);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

bool AcDbArc::worldDraw(AcGiWorldDraw* draw) const {
    return draw->geometry().circularArc(m_center, m_radius, m_start, totalAngle());
}

std::wstring AcDbArc::list() const {
    return listHeader() + L"  center point: " + Pt(m_center) + L"\n  radius: " + Num(m_radius) +
           L"\n  start angle: " + Num(m_start * 180.0 / kPi) + L"\n  end angle: " + Num(m_end * 180.0 / kPi) +
           L"\n  length: " + Num(arcLength()) + L"\n";
}

std::wstring AcDbArc::degeneracy() const {
    if (m_radius <= vorn::ge::kPointTol) return L"zero-radius arc";
    if (arcLength() <= vorn::ge::kPointTol) return L"zero-length arc";
    return L"";
}

bool AcDbArc::isFiniteObject() const {
    return Finite(m_center) && Finite(m_radius) && Finite(m_start) && Finite(m_end) && AcDbEntity::isFiniteObject();
}
