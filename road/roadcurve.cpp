// Road segments: construction from picked points, offsets and host entities.
#include "road/roadcurve.h"

#include <cmath>

#include "host/db/dbarc.h"
#include "host/db/dbline.h"

namespace {

AcGePoint3d Flat(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0.0); }

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<KyRoadCurve> KyRoadCurve::Line(const AcGePoint3d& start, const AcGePoint3d& end) {
    if (!Finite(start) || !Finite(end)) return std::nullopt;
    if (std::hypot(end.x - start.x, end.y - start.y) <= kDistZero) return std::nullopt;
    KyRoadCurve c;
    c.m_start = Flat(start);
    c.m_end = Flat(end);
    return c;
}

std::optional<KyRoadCurve> KyRoadCurve::Arc(const AcGePoint3d& start, const AcGePoint3d& onArc,
                                            const AcGePoint3d& end) {
    if (!Finite(start) || !Finite(onArc) || !Finite(end)) return std::nullopt;
    // Work relative to the start so that far coordinates keep their digits.
    const double bx = onArc.x - start.x, by = onArc.y - start.y;
    const double cx = end.x - start.x, cy = end.y - start.y;
    const double lb = std::hypot(bx, by), lc = std::hypot(cx, cy);
    const double lbc = std::hypot(cx - bx, cy - by);
    if (lb <= kDistZero || lc <= kDistZero || lbc <= kDistZero) return std::nullopt;
    const double cross = bx * cy - by * cx;
    // The height of the middle point over the chord decides whether there is an arc at all.
    if (std::fabs(cross) / lc <= kDistZero) return std::nullopt;
    const double d = 2.0 * cross;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    KyRoadCurve c;
    c.m_arc = true;
    c.m_start = Flat(start);
    c.m_end = Flat(end);
    c.m_center = AcGePoint3d(start.x + ux, start.y + uy, 0.0);
    c.m_radius = std::hypot(ux, uy);
    c.m_clockwise = cross < 0.0;
    c.m_startAngle = std::atan2(-uy, -ux);
    c.m_endAngle = std::atan2(cy - uy, cx - ux);
    if (!std::isfinite(c.m_radius) || !Finite(c.m_center)) return std::nullopt;
    return c;
}

std::optional<KyRoadCurve> KyRoadCurve::GetOffsetCurve(double d) const {
    if (!std::isfinite(d)) return std::nullopt;
    KyRoadCurve c = *this;
    if (!m_arc) {
        const double len = std::hypot(m_end.x - m_start.x, m_end.y - m_start.y);
        // The right-hand normal of the direction of travel.
        const double nx = (m_end.y - m_start.y) / len, ny = -(m_end.x - m_start.x) / len;
        c.m_start = AcGePoint3d(m_start.x + d * nx, m_start.y + d * ny, 0.0);
        c.m_end = AcGePoint3d(m_end.x + d * nx, m_end.y + d * ny, 0.0);
        if (!Finite(c.m_start) || !Finite(c.m_end)) return std::nullopt;
        return c;
    }
    // Travelling anticlockwise the centre lies on the left, so a left offset shrinks the arc.
    c.m_radius = m_clockwise ? m_radius - d : m_radius + d;
    if (c.m_radius <= kDistZero || !std::isfinite(c.m_radius)) return std::nullopt;
    c.m_start = AcGePoint3d(m_center.x + c.m_radius * std::cos(m_startAngle),
                            m_center.y + c.m_radius * std::sin(m_startAngle), 0.0);
    c.m_end = AcGePoint3d(m_center.x + c.m_radius * std::cos(m_endAngle),
                          m_center.y + c.m_radius * std::sin(m_endAngle), 0.0);
    if (!Finite(c.m_start) || !Finite(c.m_end)) return std::nullopt;
    return c;
}

std::unique_ptr<AcDbEntity> KyRoadCurve::ToEntity() const {
    if (!m_arc) return std::make_unique<AcDbLine>(m_start, m_end);
    // Host arcs run anticlockwise: a clockwise arc is the same arc from its end to its start.
    const double a0 = m_clockwise ? m_endAngle : m_startAngle;
    const double a1 = m_clockwise ? m_startAngle : m_endAngle;
    return std::make_unique<AcDbArc>(m_center, m_radius, a0, a1);
}
