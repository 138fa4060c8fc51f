// Extents boxes.
#include "host/db/dbextents.h"

#include <algorithm>
#include <cmath>

namespace {
bool finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

AcDbExtents::AcDbExtents(const AcGePoint3d& a, const AcGePoint3d& b) { set(a, b); }

void AcDbExtents::set(const AcGePoint3d& a, const AcGePoint3d& b) {
    reset();
    addPoint(a);
    addPoint(b);
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
    if (!finite(p)) return;
    if (!m_valid) {
        m_min = m_max = p;
        m_valid = true;
        return;
    }
    m_min.x = std::min(m_min.x, p.x), m_min.y = std::min(m_min.y, p.y), m_min.z = std::min(m_min.z, p.z);
    m_max.x = std::max(m_max.x, p.x), m_max.y = std::max(m_max.y, p.y), m_max.z = std::max(m_max.z, p.z);
}

void AcDbExtents::addExt(const AcDbExtents& o) {
    if (!o.m_valid) return;
    addPoint(o.m_min);
    addPoint(o.m_max);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& m) {
    if (!m_valid) return;
    AcDbExtents out;
    for (int i = 0; i < 8; ++i) {
        AcGePoint3d p((i & 1) ? m_max.x : m_min.x, (i & 2) ? m_max.y : m_min.y, (i & 4) ? m_max.z : m_min.z);
        out.addPoint(m * p);
    }
    *this = out;
}

void AcDbExtents::expandBy(double d) {
    if (!m_valid || !std::isfinite(d)) return;
    m_min -= AcGeVector3d(d, d, d);
    m_max += AcGeVector3d(d, d, d);
}

bool AcDbExtents::intersects2d(const AcDbExtents& o) const {
    return m_valid && o.m_valid && m_min.x <= o.m_max.x && o.m_min.x <= m_max.x && m_min.y <= o.m_max.y &&
           o.m_min.y <= m_max.y;
}

bool AcDbExtents::isInside2d(const AcDbExtents& o) const {
    return m_valid && o.m_valid && m_min.x >= o.m_min.x && m_max.x <= o.m_max.x && m_min.y >= o.m_min.y &&
           m_max.y <= o.m_max.y;
}

bool AcDbExtents::contains2d(const AcGePoint3d& p) const {
    return m_valid && p.x >= m_min.x && p.x <= m_max.x && p.y >= m_min.y && p.y <= m_max.y;
}

double AcDbExtents::distanceTo2d(const AcGePoint3d& p) const {
    if (!m_valid) return HUGE_VAL;
    double dx = std::max({m_min.x - p.x, 0.0, p.x - m_max.x});
    double dy = std::max({m_min.y - p.y, 0.0, p.y - m_max.y});
    return std::hypot(dx, dy);
}
