// Segment tests for window, crossing and polygon selection.
#include "host/ed/selectgeom.h"

#include <algorithm>
#include <cmath>

#include "host/ed/dbaccess.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Touching counts as crossing; selection needs no exact predicates.
double Cross(const Pt2& o, const Pt2& a, const Pt2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool OnSegment(const Pt2& p, const Pt2& a, const Pt2& b) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool SegmentsIntersect(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& d) {
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    if (d1 == 0 && OnSegment(a, c, d)) return true;
    if (d2 == 0 && OnSegment(b, c, d)) return true;
    if (d3 == 0 && OnSegment(c, a, b)) return true;
    if (d4 == 0 && OnSegment(d, a, b)) return true;
    return false;
}

void Add(std::vector<Pt2>& out, const AcGePoint3d& a, const AcGePoint3d& b) {
    out.push_back({a.x, a.y});
    out.push_back({b.x, b.y});
}

}  // namespace

bool EntityOutline(const AcDbEntity* entity, std::vector<Pt2>& out) {
    out.clear();
    for (const dbx::Primitive& p : dbx::Primitives(entity)) {
        switch (p.kind) {
            case dbx::Primitive::kPolyline:
                if (p.points.size() == 1) Add(out, p.points[0], p.points[0]);
                for (std::size_t i = 1; i < p.points.size(); ++i) Add(out, p.points[i - 1], p.points[i]);
                if (p.closed && p.points.size() > 2) Add(out, p.points.back(), p.points.front());
                break;
            case dbx::Primitive::kArc: {
                const int n = std::max(4, static_cast<int>(std::ceil(std::fabs(p.sweep) / (2 * kPi) * 96)));
                const AcGePoint3d& c = p.centre;
                AcGePoint3d prev(c.x + p.radius * std::cos(p.start), c.y + p.radius * std::sin(p.start), c.z);
                for (int i = 1; i <= n; ++i) {
                    const double a = p.start + p.sweep * i / n;
                    const AcGePoint3d q(c.x + p.radius * std::cos(a), c.y + p.radius * std::sin(a), c.z);
                    Add(out, prev, q);
                    prev = q;
                }
                break;
            }
            case dbx::Primitive::kText: {
                // The text's box along its direction.
                const double cs = std::cos(p.rotation), sn = std::sin(p.rotation), h = p.height;
                const AcGePoint3d& o = p.position;
                const AcGePoint3d q[4] = {o, {o.x + p.width * cs, o.y + p.width * sn, o.z},
                                          {o.x + p.width * cs - h * sn, o.y + p.width * sn + h * cs, o.z},
                                          {o.x - h * sn, o.y + h * cs, o.z}};
                for (int i = 0; i < 4; ++i) Add(out, q[i], q[(i + 1) % 4]);
                break;
            }
        }
    }
    return !out.empty();
}

bool PointInPolygon(const Pt2& p, const std::vector<Pt2>& poly) {
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt2& a = poly[i];
        const Pt2& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool SegmentsCrossPolygon(const std::vector<Pt2>& segs, const std::vector<Pt2>& poly) {
    if (poly.size() < 3) return false;
    for (std::size_t i = 0; i + 1 < segs.size(); i += 2) {
        if (PointInPolygon(segs[i], poly) || PointInPolygon(segs[i + 1], poly)) return true;
        for (std::size_t k = 0; k < poly.size(); ++k)
            if (SegmentsIntersect(segs[i], segs[i + 1], poly[k], poly[(k + 1) % poly.size()]))
                return true;
    }
    return false;
}

bool SegmentsInsidePolygon(const std::vector<Pt2>& segs, const std::vector<Pt2>& poly) {
    if (poly.size() < 3 || segs.empty()) return false;
    for (std::size_t i = 0; i + 1 < segs.size(); i += 2) {
        if (!PointInPolygon(segs[i], poly) || !PointInPolygon(segs[i + 1], poly)) return false;
        for (std::size_t k = 0; k < poly.size(); ++k)
            if (SegmentsIntersect(segs[i], segs[i + 1], poly[k], poly[(k + 1) % poly.size()]))
                return false;
    }
    return true;
}

}  // namespace vorn::ed
