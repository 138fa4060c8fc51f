// Bulge paths: segment geometry, lengths, areas, extents and flattening.
#include "host/db/dbbulge.h"

#include <algorithm>
#include <cmath>

#include "host/db/dbgeomutil.h"

namespace vorn::db {

using detail::kPi;
using detail::kTwoPi;

// Chords per turn at least, for an arc flattened to a view's tolerance.
constexpr int kMinViewArcSegments = 8;

double BulgeSegment::length() const {
    return isArc ? radius * std::fabs(sweep) : start.distanceTo(end);
}

AcGePoint2d BulgeSegment::pointAt(double f) const {
    if (!isArc) return AcGePoint2d(start.x + (end.x - start.x) * f, start.y + (end.y - start.y) * f);
    double a = startAngle + sweep * f;
    return AcGePoint2d(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
}

AcGeVector2d BulgeSegment::tangentAt(double f) const {
    if (!isArc) return end - start;
    double a = startAngle + sweep * f;
    return AcGeVector2d(-std::sin(a), std::cos(a)) * (radius * sweep);
}

double BulgeSegment::closestFraction(const AcGePoint2d& p, AcGePoint2d& closest) const {
    if (!isArc) {
        AcGeVector2d d = end - start;
        double len2 = d.lengthSqrd();
        double t = len2 > 0.0 ? std::clamp((p - start).dotProduct(d) / len2, 0.0, 1.0) : 0.0;
        closest = pointAt(t);
        return t;
    }
    double best = 0.0;
    closest = start;
    double bestD = p.distanceTo(start);
    if (p.distanceTo(end) < bestD) {
        best = 1.0;
        closest = end;
        bestD = p.distanceTo(end);
    }
    if (p.distanceTo(centre) > 0.0 && sweep != 0.0) {
        double a = std::atan2(p.y - centre.y, p.x - centre.x);
        // Fraction of the sweep at that angle, in the sweep's direction.
        double rel = sweep > 0.0 ? detail::WrapAngle(a - startAngle) : detail::WrapAngle(startAngle - a);
        double f = rel / std::fabs(sweep);
        if (f <= 1.0) {
            AcGePoint2d q = pointAt(f);
            if (p.distanceTo(q) < bestD) {
                best = f;
                closest = q;
            }
        }
    }
    return best;
}

void BulgeSegment::addToExtents(AcDbExtents& ext, double z) const {
    ext.addPoint(AcGePoint3d(start.x, start.y, z));
    ext.addPoint(AcGePoint3d(end.x, end.y, z));
    if (!isArc) return;
    // Add the quadrant points the sweep passes.
    double lo = sweep >= 0.0 ? startAngle : startAngle + sweep;
    double span = std::fabs(sweep);
    for (int k = 0; k < 4; ++k) {
        double q = k * kPi / 2;
        double rel = detail::WrapAngle(q - lo);
        if (rel <= span)
            ext.addPoint(AcGePoint3d(centre.x + radius * std::cos(q), centre.y + radius * std::sin(q), z));
    }
}

int SegmentCount(const std::vector<BulgeVertex>& v, bool closed) {
    int n = static_cast<int>(v.size());
    if (n < 2) return 0;
    return closed ? n : n - 1;
}

BulgeSegment SegmentAt(const std::vector<BulgeVertex>& v, bool closed, int i) {
    BulgeSegment s;
    int n = static_cast<int>(v.size());
    if (n == 0) return s;
    const BulgeVertex& a = v[static_cast<size_t>(i % n)];
    const BulgeVertex& b = v[static_cast<size_t>((i + 1) % n)];
    (void)closed;
    s.start = a.point;
    s.end = b.point;
    double chord = a.point.distanceTo(b.point);
    if (a.bulge == 0.0 || !std::isfinite(a.bulge) || !(chord > vorn::ge::kPointTol)) return s;
    double sweep = 4.0 * std::atan(a.bulge);
    double radius = chord / (2.0 * std::fabs(std::sin(sweep / 2.0)));
    if (!std::isfinite(radius)) return s;
    // The centre sits on the chord's perpendicular bisector, left of the chord for a positive bulge
    // below a half turn.
    AcGeVector2d d = (b.point - a.point) / chord;
    AcGeVector2d left(-d.y, d.x);
    double h = radius * std::cos(sweep / 2.0);  // signed: negative beyond a half turn
    double side = sweep > 0.0 ? 1.0 : -1.0;
    AcGePoint2d mid((a.point.x + b.point.x) / 2, (a.point.y + b.point.y) / 2);
    s.centre = mid + left * (h * side);
    s.radius = radius;
    s.startAngle = std::atan2(a.point.y - s.centre.y, a.point.x - s.centre.x);
    s.sweep = sweep;
    s.isArc = true;
    return s;
}

double PathLength(const std::vector<BulgeVertex>& v, bool closed) {
    double len = 0.0;
    for (int i = 0, n = SegmentCount(v, closed); i < n; ++i) len += SegmentAt(v, closed, i).length();
    return len;
}

AcDbExtents PathExtents(const std::vector<BulgeVertex>& v, bool closed, double z) {
    AcDbExtents ext;
    for (const auto& p : v) ext.addPoint(AcGePoint3d(p.point.x, p.point.y, z));
    for (int i = 0, n = SegmentCount(v, closed); i < n; ++i) SegmentAt(v, closed, i).addToExtents(ext, z);
    return ext;
}

double PathSignedArea(const std::vector<BulgeVertex>& v, bool closed) {
    double area = 0.0;
    int n = static_cast<int>(v.size());
    if (n < 2) return 0.0;
    for (int i = 0; i < n; ++i) {
        const AcGePoint2d& a = v[static_cast<size_t>(i)].point;
        const AcGePoint2d& b = v[static_cast<size_t>((i + 1) % n)].point;
        area += 0.5 * (a.x * b.y - b.x * a.y);
    }
    for (int i = 0, m = SegmentCount(v, true); i < m; ++i) {
        if (!closed && i == n - 1) break;  // the closing chord of an open path has no bulge
        BulgeSegment s = SegmentAt(v, true, i);
        if (!s.isArc) continue;
        double a = std::fabs(s.sweep);
        double seg = 0.5 * s.radius * s.radius * (a - std::sin(a));
        area += s.sweep > 0.0 ? seg : -seg;
    }
    return area;
}

int ArcSegmentCount(double radius, double sweep, double tol) {
    const bool viewTolerance = tol > 0.0;
    if (tol < 0.0 && std::isfinite(radius)) tol = -tol * radius;
    if (!(tol > 0.0)) tol = vorn::ge::kArcChordTol;
    double turn = std::fabs(sweep) / kTwoPi;
    const int perTurn = viewTolerance ? kMinViewArcSegments : vorn::ge::kMinArcSegments;
    int minimum = std::max(1, static_cast<int>(std::ceil(perTurn * turn)));
    int maximum = std::max(minimum, static_cast<int>(std::ceil(vorn::ge::kMaxArcSegments * turn)));
    if (!(radius > tol) || !std::isfinite(radius)) return minimum;
    // A chord of angle t strays r (1 - cos(t/2)) from the arc.
    double step = 2.0 * std::acos(1.0 - tol / radius);
    if (!(step > 0.0)) return maximum;
    int n = static_cast<int>(std::ceil(std::fabs(sweep) / step));
    return std::clamp(n, minimum, maximum);
}

void FlattenArc(const AcGePoint2d& centre, double radius, double startAngle, double sweep,
                std::vector<AcGePoint2d>& out, double tol) {
    const int n = ArcSegmentCount(radius, sweep, tol);
    // The chord ends turn by one fixed rotation each; every 64th is placed afresh so that the
    // rounding of the rotations never adds up.
    const double step = sweep / n;
    const double c = std::cos(step), s = std::sin(step);
    double dx = 0.0, dy = 0.0;
    out.reserve(out.size() + static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) {
        if (k % 64 == 1) {
            const double a = startAngle + sweep * (k - 1) / n;
            dx = radius * std::cos(a);
            dy = radius * std::sin(a);
        }
        const double x = dx * c - dy * s;
        dy = dx * s + dy * c;
        dx = x;
        if (k == n) {
            const double a = startAngle + sweep;
            out.emplace_back(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
        } else {
            out.emplace_back(centre.x + dx, centre.y + dy);
        }
    }
}

std::vector<AcGePoint2d> FlattenPath(const std::vector<BulgeVertex>& v, bool closed, double tol) {
    std::vector<AcGePoint2d> out;
    if (v.empty()) return out;
    out.push_back(v[0].point);
    for (int i = 0, n = SegmentCount(v, closed); i < n; ++i) {
        BulgeSegment s = SegmentAt(v, closed, i);
        if (s.isArc) {
            FlattenArc(s.centre, s.radius, s.startAngle, s.sweep, out, tol);
            out.back() = s.end;  // exact end vertex
        } else {
            out.push_back(s.end);
        }
    }
    if (closed && out.size() > 1) out.pop_back();  // the start repeated
    return out;
}

double BulgeFromSweep(double sweep) { return std::tan(sweep / 4.0); }

}  // namespace vorn::db
