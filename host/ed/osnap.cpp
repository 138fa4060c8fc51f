// Running object snaps for clicks: the best snap point within the aperture of the modes OSMODE
// holds; nearest only when no other mode finds one.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
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

// Where a candidate stands in the order the candidates are weighed: first the entities' own
// points (ends, middles, centres, quadrants, nodes, insertion points) entity by entity in the
// drawing's order, then intersections pair by pair, then perpendicular feet, then nearest
// points, each in the order of the curves. The nearest candidate within reach wins, and of
// equally near ones the last in this order.
struct Rank {
    int phase = -1;
    std::uint32_t a = 0, b = 0, c = 0;
    bool operator>(const Rank& o) const {
        if (phase != o.phase) return phase > o.phase;
        if (a != o.a) return a > o.a;
        if (b != o.b) return b > o.b;
        return c > o.c;
    }
};

// The best candidate so far; the search may weigh candidates in any order.
class Choice {
public:
    Choice(const AcGePoint3d& p, double reach) : m_p(p), m_best(reach) {}

    void weigh(const AcGePoint3d& q, int mode, const Rank& rank) {
        const double dx = q.x - m_p.x, dy = q.y - m_p.y;
        // Most candidates are far: a cheap look first, the exact distance only near the best.
        if (dx * dx + dy * dy > m_best * m_best * (1 + 1e-6) + 1e-300) return;
        const double d = std::hypot(dx, dy);
        if (!std::isfinite(d) || d > m_best) return;
        if (m_found && d == m_best && !(rank > m_rank)) return;
        m_best = d;
        m_rank = rank;
        m_point = q;
        m_mode = mode;
        m_found = true;
    }

    double best() const { return m_best; }
    bool found() const { return m_found; }
    const AcGePoint3d& point() const { return m_point; }
    int mode() const { return m_mode; }

private:
    AcGePoint3d m_p;
    double m_best;
    bool m_found = false;
    Rank m_rank;
    AcGePoint3d m_point;
    int m_mode = 0;
};

// A curve that passes within reach of the cursor, with its point nearest to it and its box.
struct NearCurve {
    Curve curve;
    std::uint32_t entity = 0, index = 0;  // the entity's place in the drawing's order; the curve's in it
    AcGePoint3d closest;
    double distance = 0;
    double lo[2] = {0, 0}, hi[2] = {0, 0};
};

// Takes what one entity draws: weighs its own points and keeps its curves near the cursor.
class SnapSink : public vorn::db::GiWorldSink {
public:
    SnapSink(int mode, const AcGePoint3d& p, double reach, double slack, Choice& choice, std::vector<NearCurve>& curves)
        : m_mode(mode), m_p(p), m_reach(reach), m_slack(slack), m_choice(choice), m_curves(curves) {}

    void startEntity(std::uint32_t rank) {
        m_entity = rank;
        m_points = 0;
        m_curveCount = 0;
    }

protected:
    bool emit(vorn::db::GiPrimitive&& g) override {
        switch (g.kind) {
            case vorn::db::GiPrimitive::kText:
                point(g.text.position, kInsertion);
                break;
            case vorn::db::GiPrimitive::kArc:
                addArc(g);
                break;
            case vorn::db::GiPrimitive::kPolyline:
            case vorn::db::GiPrimitive::kPolygon:
                addPolyline(g.points, g.closed || g.kind == vorn::db::GiPrimitive::kPolygon);
                break;
        }
        return false;
    }

private:
    void point(const AcGePoint3d& q, int mode) {
        const std::uint32_t n = m_points++;
        if (m_mode & mode) m_choice.weigh(q, mode, {0, m_entity, n, 0});
    }

    void curve(const Curve& k) {
        const std::uint32_t index = m_curveCount++;
        const AcGePoint3d c = Closest(k, m_p);
        const double dx = c.x - m_p.x, dy = c.y - m_p.y;
        if (dx * dx + dy * dy > (m_reach + m_slack) * (m_reach + m_slack) * (1 + 1e-6)) return;
        const double d = std::hypot(dx, dy);
        if (d > m_reach + m_slack) return;
        NearCurve n;
        n.curve = k;
        n.entity = m_entity;
        n.index = index;
        n.closest = c;
        n.distance = d;
        if (k.arc) {
            n.lo[0] = k.c.x - k.r, n.lo[1] = k.c.y - k.r, n.hi[0] = k.c.x + k.r, n.hi[1] = k.c.y + k.r;
        } else {
            n.lo[0] = std::fmin(k.a.x, k.b.x), n.lo[1] = std::fmin(k.a.y, k.b.y);
            n.hi[0] = std::fmax(k.a.x, k.b.x), n.hi[1] = std::fmax(k.a.y, k.b.y);
        }
        // Intersections are found with a little tolerance at the curves' ends.
        const double grow = 1e-6 * (n.hi[0] - n.lo[0] + n.hi[1] - n.lo[1]) + m_slack;
        n.lo[0] -= grow, n.lo[1] -= grow, n.hi[0] += grow, n.hi[1] += grow;
        m_curves.push_back(n);
    }

    void addArc(const vorn::db::GiPrimitive& g) {
        Curve k;
        k.arc = true;
        k.c = g.centre, k.r = g.radius, k.start = g.startAngle, k.sweep = g.sweep;
        curve(k);
        const bool full = k.sweep >= 2 * kPi - 1e-12;
        point(k.c, kCenter);
        if (!full) {
            point(OnCircle(k, k.start), kEndpoint);
            point(OnCircle(k, k.start + k.sweep), kEndpoint);
            point(OnCircle(k, k.start + k.sweep / 2), kMidpoint);
        }
        if (m_mode & kQuadrant)
            for (int q = 0; q < 4; ++q)
                if (AngleOnArc(k, q * kPi / 2)) point(OnCircle(k, q * kPi / 2), kQuadrant);
    }

    void addPolyline(const std::vector<AcGePoint3d>& pts, bool closed) {
        if (pts.size() == 1) point(pts[0], kNode);
        const std::size_t n = pts.size();
        const std::size_t segs = n < 2 ? 0 : (closed ? n : n - 1);
        for (std::size_t i = 0; i < segs; ++i) {
            Curve k;
            k.a = pts[i];
            k.b = pts[(i + 1) % n];
            curve(k);
            point(k.a, kEndpoint);
            point(k.b, kEndpoint);
            point({(k.a.x + k.b.x) / 2, (k.a.y + k.b.y) / 2, (k.a.z + k.b.z) / 2}, kMidpoint);
        }
    }

    int m_mode;
    AcGePoint3d m_p;
    double m_reach, m_slack;
    Choice& m_choice;
    std::vector<NearCurve>& m_curves;
    std::uint32_t m_entity = 0, m_points = 0, m_curveCount = 0;
};

// Whether every point an entity offers lies within its box: true of lines, polylines, texts
// and circles, and of block references whose blocks hold only those. An arc's centre may lie
// far outside (a short arc of a large circle).
class CentreInBox {
public:
    bool operator()(const AcDbEntity* e, int depth = 0) {
        const AcRxClass* kind = e->isA();
        if (kind == AcDbLine::desc() || kind == AcDbPolyline::desc() || kind == AcDbText::desc() ||
            kind == AcDbCircle::desc())
            return true;
        if (kind != AcDbBlockReference::desc() || depth > 8) return false;
        const AcDbObjectId block = static_cast<const AcDbBlockReference*>(e)->blockTableRecord();
        const auto known = m_blocks.find(block);
        if (known != m_blocks.end()) return known->second;
        bool inside = true;
        const AcDbDatabase* db = block.database();
        if (const auto* rec = db ? AcDbBlockTableRecord::cast(db->peekObject(block)) : nullptr) {
            for (const AcDbObjectId& id : rec->entityIds()) {
                const AcDbEntity* inner = AcDbEntity::cast(db->peekObject(id));
                if (inner && !(*this)(inner, depth + 1)) {
                    inside = false;
                    break;
                }
            }
        }
        m_blocks[block] = inside;
        return inside;
    }

private:
    std::map<AcDbObjectId, bool> m_blocks;
};

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
    AcDbDatabase* db = dbx::Working();
    if (!db || !std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(reach) || reach < 0) return result;
    const double slack = 1e-9 * (reach + std::fabs(p.x) + std::fabs(p.y));

    // The entities whose boxes come within reach, nearest box first: once the best candidate
    // is nearer than an entity's box, nothing of that entity can win (unless it may offer a
    // centre outside its box).
    struct Near {
        AcDbObjectId id;
        double distance;
        std::uint32_t rank;  // place in the drawing's order
    };
    std::vector<Near> near;
    const AcDbExtents square(AcGePoint3d(p.x - reach, p.y - reach, 0.0), AcGePoint3d(p.x + reach, p.y + reach, 0.0));
    db->forEachEntityMeetingBox(square, [&](const AcDbObjectId& id, const AcDbExtents& box) {
        const double d = box.distanceTo2d(p);
        if (d <= reach) near.push_back({id, d, static_cast<std::uint32_t>(near.size())});
    });
    std::stable_sort(near.begin(), near.end(), [](const Near& a, const Near& b) { return a.distance < b.distance; });

    Choice choice(p, reach);
    std::vector<NearCurve> curves;
    SnapSink sink(mode, p, reach, slack, choice, curves);
    CentreInBox centreInBox;
    for (const Near& n : near) {
        const bool within = n.distance <= choice.best() + slack;
        if (!within && !(mode & kCenter)) continue;
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, n.id, AcDb::kForRead) != Acad::eOk) continue;
        if (within || !centreInBox(e)) {
            sink.startEntity(n.rank);
            vorn::db::DrawEntity(e, &sink);
        }
        e->close();
    }
    // Curves in the drawing's order, as pairs and feet are ranked.
    std::sort(curves.begin(), curves.end(), [](const NearCurve& a, const NearCurve& b) {
        return a.entity != b.entity ? a.entity < b.entity : a.index < b.index;
    });
    const auto uint = [](std::size_t v) { return static_cast<std::uint32_t>(v); };

    // Intersections, perpendicular feet and nearest points lie on their curves: a curve that
    // stays farther from the cursor than the best candidate so far gives none that could win,
    // nor does a pair whose boxes do not meet.
    if (mode & kIntersection) {
        std::vector<AcGePoint3d> crossing;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            const NearCurve& u = curves[i];
            if (u.distance > choice.best() + slack) continue;
            for (std::size_t j = i + 1; j < curves.size(); ++j) {
                const NearCurve& v = curves[j];
                if (v.distance > choice.best() + slack || v.lo[0] > u.hi[0] || v.hi[0] < u.lo[0] ||
                    v.lo[1] > u.hi[1] || v.hi[1] < u.lo[1])
                    continue;
                crossing.clear();
                Intersections(u.curve, v.curve, crossing);
                for (std::size_t c = 0; c < crossing.size(); ++c)
                    choice.weigh(crossing[c], kIntersection, {1, uint(i), uint(j), uint(c)});
            }
        }
    }
    if (mode & kPerpendicular) {
        const double* l = State().lastPoint;
        const AcGePoint3d from(l[0], l[1], l[2]);
        for (std::size_t i = 0; i < curves.size(); ++i) {
            if (curves[i].distance > choice.best() + slack) continue;
            const Curve& k = curves[i].curve;
            if (!k.arc) {
                const double dx = k.b.x - k.a.x, dy = k.b.y - k.a.y, len2 = dx * dx + dy * dy;
                if (len2 <= 0) continue;
                const double t = ((from.x - k.a.x) * dx + (from.y - k.a.y) * dy) / len2;
                if (t >= 0 && t <= 1)
                    choice.weigh({k.a.x + t * dx, k.a.y + t * dy, k.a.z}, kPerpendicular, {2, uint(i), 0, 0});
            } else {
                const double ang = std::atan2(from.y - k.c.y, from.x - k.c.x);
                std::uint32_t c = 0;
                for (double a : {ang, ang + kPi}) {
                    if (AngleOnArc(k, a)) choice.weigh(OnCircle(k, a), kPerpendicular, {2, uint(i), c, 0});
                    ++c;
                }
            }
        }
    }
    if (!choice.found() && (mode & kNearest))
        for (std::size_t i = 0; i < curves.size(); ++i) choice.weigh(curves[i].closest, kNearest, {3, uint(i), 0, 0});
    if (!choice.found()) return result;
    const double fw[3] = {choice.point().x, choice.point().y, choice.point().z};
    WcsToUcsPoint(fw, result.ucs);
    result.mode = choice.mode();
    return result;
}

void SnapClick(const double ucsIn[3], double ucsOut[3]) {
    const SnapPoint snap = FindSnap(ucsIn);
    for (int i = 0; i < 3; ++i) ucsOut[i] = snap.ucs[i];
}

}  // namespace vorn::ed
