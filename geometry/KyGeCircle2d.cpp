// The full circle: the unbounded form of an arc, with a reference point where it starts.
#include "geometry/KyGeArc2d.h"

#include <cmath>

#include "geometry/KyGePolyline2d.h"

const KyGeClassInfo KyGeCircle2d::s_classInfo = {"KyGeCircle2d", &KyGeArc2d::s_classInfo};

namespace {
constexpr double kTwoPi = 2.0 * KyGePi;
}

KyGeCircle2d::KyGeCircle2d(const KyGePoint& centre, double radius, double refAngle, bool clockwise) {
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(radius) || !std::isfinite(refAngle) ||
        !(radius > g_distZero))
        return;
    m_centre = centre;
    m_radius = radius;
    m_startAngle = GetStdAngle(refAngle);
    m_sweep = kTwoPi;
    m_clockwise = clockwise;
}

double KyGeCircle2d::GetPaFromPt(const KyGePoint& p) const {
    if (!IsValid()) return 0.0;
    return TravelTo(std::atan2(p.y - m_centre.y, p.x - m_centre.x)) / kTwoPi;
}

KyGePoint KyGeCircle2d::GetPtFromDist(double d) const {
    if (!std::isfinite(d) || !IsValid()) return GetStartPoint();
    return GetPtFromPa(d / Length());
}

bool KyGeCircle2d::GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const {
    out = GetStartPoint();
    if (!IsValid() || Distance2d(p, m_centre) <= g_distZero) return false;
    out = PointAtAngle(std::atan2(p.y - m_centre.y, p.x - m_centre.x));
    return true;
}

std::unique_ptr<KyGeCurve2d> KyGeCircle2d::GetOffsetCurve(double d) const {
    if (!IsValid() || !std::isfinite(d)) return nullptr;
    const double r = m_clockwise ? m_radius - d : m_radius + d;
    if (!(r > g_distZero) || r > g_maxGeomSize) return nullptr;
    return std::make_unique<KyGeCircle2d>(m_centre, r, m_startAngle, m_clockwise);
}

std::unique_ptr<KyGeCurve2d> KyGeCircle2d::GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const {
    KyGePoint f1, f2;
    if (!GetClosestPoint2d(p1, f1) || !GetClosestPoint2d(p2, f2)) return nullptr;
    if (Distance2d(f1, f2) <= g_distZero) return nullptr;
    // From p1 round the circle in its sense to p2.
    const double a1 = std::atan2(f1.y - m_centre.y, f1.x - m_centre.x);
    const double a2 = std::atan2(f2.y - m_centre.y, f2.x - m_centre.x);
    return KyGeArc2d::Create(m_centre, m_radius, a1, a2, m_clockwise);
}

std::unique_ptr<KyGeCurve2d> KyGeCircle2d::GetSubCurve(double pa1, double pa2) const {
    if (!IsValid() || !std::isfinite(pa1) || !std::isfinite(pa2)) return nullptr;
    if (std::fabs(pa2 - pa1) >= 1.0 - g_fZero) return nullptr;  // the whole circle is no arc
    double span = pa2 - pa1;
    span -= std::floor(span);
    if (span * Length() <= g_distZero) return nullptr;
    const double a1 = m_clockwise ? m_startAngle - pa1 * kTwoPi : m_startAngle + pa1 * kTwoPi;
    const double a2 = m_clockwise ? a1 - span * kTwoPi : a1 + span * kTwoPi;
    return KyGeArc2d::Create(m_centre, m_radius, a1, a2, m_clockwise);
}

std::unique_ptr<KyGeCurve2d> KyGeCircle2d::GetExtendCurve() const {
    if (!IsValid()) return nullptr;
    return std::make_unique<KyGeCircle2d>(*this);
}

bool KyGeCircle2d::Conbine(const KyGeCurve2d& other, bool) {
    const KyGeArc2d* o = KyGeCast<KyGeArc2d>(&other);
    if (!o || !IsValid() || !o->IsValid()) return false;
    return Distance2d(m_centre, o->GetCenter()) <= g_distZero && std::fabs(m_radius - o->GetRadius()) <= g_distZero;
}

std::unique_ptr<KyGePolyline2d> KyGeCircle2d::PLinearize(double precision) const { return KyGeArc2d::PLinearize(precision); }

bool KyGeCircle2d::AssignFrom(const KyGeCurve2d& other) {
    if (other.GetClassInfo() != &s_classInfo) return false;
    *this = static_cast<const KyGeCircle2d&>(other);
    return true;
}
