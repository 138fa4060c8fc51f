// Running object snaps for clicks: the best snap point within the aperture of the modes OSMODE
// holds; nearest only when no other mode finds one.
#include <cmath>
#include <vector>

#include "host/ed/dbaccess.h"
#include "host/ed/editorstate.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr int kEndpoint = 1, kMidpoint = 2, kCenter = 4, kNode = 8, kQuadrant = 16,
              kIntersection = 32, kInsertion = 64, kPerpendicular = 128, kNearest = 512;

struct Curve {  // a segment (a, b) or an arc
    bool arc = false;
    AcGePoint3d a, b;
    AcGePoint3d c;
    double r = 0, start = 0, sweep = 0;
};

struct Candidate {
    AcGePoint3d point;
    int mode = 0;  // the OSMODE bit that found it
};

bool AngleOnArc(const Curve& k, double angle) {
    if (k.sweep >= 2 * kPi - 1e-12) return true;
    double d = std::fmod(angle - k.start, 2 * kPi);
    if (d < 0) d += 2 * kPi;
    return d <= k.sweep + 1e-12;
}

AcGePoint3d OnCircle(const Curve& k, double angle) {
    return {k.c.x + k.r * std::cos(angle), k.c.y + k.r * std::sin(angle), k.c.z};
}

// Closest point of a curve to p (plan).
AcGePoint3d Closest(const Curve& k, const AcGePoint3d& p) {
    if (!k.arc) {
        const double dx = k.b.x - k.a.x, dy = k.b.y - k.a.y, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((p.x - k.a.x) * dx + (p.y - k.a.y) * dy) / len2 : 0;
        t = std::fmax(0, std::fmin(1, t));
        return {k.a.x + t * dx, k.a.y + t * dy, k.a.z};
    }
    const double ang = std::atan2(p.y - k.c.y, p.x - k.c.x);
    if (AngleOnArc(k, ang)) return OnCircle(k, ang);
    const AcGePoint3d s = OnCircle(k, k.start), e = OnCircle(k, k.start + k.sweep);
    return std::hypot(p.x - s.x, p.y - s.y) < std::hypot(p.x - e.x, p.y - e.y) ? s : e;
}

void Intersections(const Curve& u, const Curve& v, std::vector<AcGePoint3d>& out) {
    if (!u.arc && !v.arc) {
        const double d1x = u.b.x - u.a.x, d1y = u.b.y - u.a.y, d2x = v.b.x - v.a.x, d2y = v.b.y - v.a.y;
        const double den = d1x * d2y - d1y * d2x;
        if (std::fabs(den) < 1e-15 * (std::fabs(d1x * d2y) + std::fabs(d1y * d2x) + 1e-300)) return;
        const double t = ((v.a.x - u.a.x) * d2y - (v.a.y - u.a.y) * d2x) / den;
        const double s = ((v.a.x - u.a.x) * d1y - (v.a.y - u.a.y) * d1x) / den;
        if (t >= -1e-9 && t <= 1 + 1e-9 && s >= -1e-9 && s <= 1 + 1e-9)
            out.push_back({u.a.x + t * d1x, u.a.y + t * d1y, u.a.z});
        return;
    }
    if (u.arc && !v.arc) return Intersections(v, u, out);
    if (!u.arc) {  // segment u with arc v
        const double dx = u.b.x - u.a.x, dy = u.b.y - u.a.y;
        const double fx = u.a.x - v.c.x, fy = u.a.y - v.c.y;
        const double a = dx * dx + dy * dy, b = 2 * (fx * dx + fy * dy), c = fx * fx + fy * fy - v.r * v.r;
        const double disc = b * b - 4 * a * c;
        if (a <= 0 || disc < 0) return;
        for (double sign : {-1.0, 1.0}) {
            const double t = (-b + sign * std::sqrt(disc)) / (2 * a);
            if (t < -1e-9 || t > 1 + 1e-9) continue;
            const AcGePoint3d p(u.a.x + t * dx, u.a.y + t * dy, u.a.z);
            if (AngleOnArc(v, std::atan2(p.y - v.c.y, p.x - v.c.x))) out.push_back(p);
            if (disc == 0) break;
        }
        return;
    }
    const double dx = v.c.x - u.c.x, dy = v.c.y - u.c.y, d = std::hypot(dx, dy);
    if (d <= 0 || d > u.r + v.r || d < std::fabs(u.r - v.r)) return;
    const double a = (u.r * u.r - v.r * v.r + d * d) / (2 * d);
    const double h = std::sqrt(std::fmax(0, u.r * u.r - a * a));
    const double mx = u.c.x + a * dx / d, my = u.c.y + a * dy / d;
    for (double sign : {-1.0, 1.0}) {
        const AcGePoint3d p(mx + sign * h * (-dy) / d, my + sign * h * dx / d, u.c.z);
        if (AngleOnArc(u, std::atan2(p.y - u.c.y, p.x - u.c.x)) &&
            AngleOnArc(v, std::atan2(p.y - v.c.y, p.x - v.c.x)))
            out.push_back(p);
    }
}

}  // namespace

SnapPoint FindSnap(const double ucsIn[3]) {
    SnapPoint result;
    for (int i = 0; i < 3; ++i) result.ucs[i] = ucsIn[i];
    const int mode = OsMode();
    if (mode == 0 || (mode & 16384)) return result;  // 16384 switches the running snaps off
    double w[3];
    UcsToWcsPoint(ucsIn, w);
    const AcGePoint3d p(w[0], w[1], w[2]);
    const double reach = Aperture() * PixelSize();
    std::vector<Curve> curves;
    std::vector<Candidate> special;  // candidates of every mode but nearest
    for (const AcDbObjectId& id : dbx::Near(p, reach)) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
        for (const dbx::Primitive& pr : dbx::Primitives(e)) {
            if (pr.kind == dbx::Primitive::kText) {
                if (mode & kInsertion) special.push_back({pr.position, kInsertion});
                continue;
            }
            if (pr.kind == dbx::Primitive::kArc) {
                Curve k;
                k.arc = true;
                k.c = pr.centre, k.r = pr.radius, k.start = pr.start, k.sweep = pr.sweep;
                curves.push_back(k);
                const bool full = pr.sweep >= 2 * kPi - 1e-12;
                if (mode & kCenter) special.push_back({pr.centre, kCenter});
                if ((mode & kEndpoint) && !full) {
                    special.push_back({OnCircle(k, k.start), kEndpoint});
                    special.push_back({OnCircle(k, k.start + k.sweep), kEndpoint});
                }
                if ((mode & kMidpoint) && !full) special.push_back({OnCircle(k, k.start + k.sweep / 2), kMidpoint});
                if (mode & kQuadrant)
                    for (int q = 0; q < 4; ++q)
                        if (AngleOnArc(k, q * kPi / 2)) special.push_back({OnCircle(k, q * kPi / 2), kQuadrant});
                continue;
            }
            const auto& pts = pr.points;
            if (pts.size() == 1 && (mode & kNode)) special.push_back({pts[0], kNode});
            const std::size_t n = pts.size();
            const std::size_t segs = n < 2 ? 0 : (pr.closed ? n : n - 1);
            for (std::size_t i = 0; i < segs; ++i) {
                Curve k;
                k.a = pts[i];
                k.b = pts[(i + 1) % n];
                curves.push_back(k);
                if (mode & kEndpoint) special.insert(special.end(), {{k.a, kEndpoint}, {k.b, kEndpoint}});
                if (mode & kMidpoint)
                    special.push_back({{(k.a.x + k.b.x) / 2, (k.a.y + k.b.y) / 2, (k.a.z + k.b.z) / 2},
                                       kMidpoint});
            }
        }
        e->close();
    }
    if (mode & kIntersection)
        for (std::size_t i = 0; i < curves.size(); ++i)
            for (std::size_t j = i + 1; j < curves.size(); ++j) {
                std::vector<AcGePoint3d> crossing;
                Intersections(curves[i], curves[j], crossing);
                for (const AcGePoint3d& c : crossing) special.push_back({c, kIntersection});
            }
    if (mode & kPerpendicular) {
        const double* l = State().lastPoint;
        const AcGePoint3d from(l[0], l[1], l[2]);
        for (const Curve& k : curves) {
            if (!k.arc) {
                const double dx = k.b.x - k.a.x, dy = k.b.y - k.a.y, len2 = dx * dx + dy * dy;
                if (len2 <= 0) continue;
                const double t = ((from.x - k.a.x) * dx + (from.y - k.a.y) * dy) / len2;
                if (t >= 0 && t <= 1) special.push_back({{k.a.x + t * dx, k.a.y + t * dy, k.a.z}, kPerpendicular});
            } else {
                const double ang = std::atan2(from.y - k.c.y, from.x - k.c.x);
                for (double a : {ang, ang + kPi})
                    if (AngleOnArc(k, a)) special.push_back({OnCircle(k, a), kPerpendicular});
            }
        }
    }
    const auto best = [&](const std::vector<Candidate>& cands, Candidate& found) {
        double bestD = reach;
        bool any = false;
        for (const Candidate& c : cands) {
            const double d = std::hypot(c.point.x - p.x, c.point.y - p.y);
            if (std::isfinite(d) && d <= bestD) {
                bestD = d;
                found = c;
                any = true;
            }
        }
        return any;
    };
    Candidate found;
    bool any = best(special, found);
    if (!any && (mode & kNearest)) {
        std::vector<Candidate> near;
        for (const Curve& k : curves) near.push_back({Closest(k, p), kNearest});
        any = best(near, found);
    }
    if (!any) return result;
    const double fw[3] = {found.point.x, found.point.y, found.point.z};
    WcsToUcsPoint(fw, result.ucs);
    result.mode = found.mode;
    return result;
}

void SnapClick(const double ucsIn[3], double ucsOut[3]) {
    const SnapPoint snap = FindSnap(ucsIn);
    for (int i = 0; i < 3; ++i) ucsOut[i] = snap.ucs[i];
}

}  // namespace vorn::ed
