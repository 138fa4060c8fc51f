// Hatches as the plan shows them: a fill with its islands, a pattern of dashed parallel lines
// clipped to the boundary, or the boundary alone when the pattern is unknown or too fine to draw.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/db/db.h"
#include "host/db/dbbulge.h"
#include "host/db/dbkept.h"
#include "host/db/gi.h"
#include "host/db/dbkeptshape.h"
#include "host/ge/getol.h"

namespace vorn::db::keptshape {
namespace {

// ---- hatches ----

struct HatchLoop {
    std::vector<AcGePoint2d> points;  // closed, in object coordinates
    long long flags = 0;              // 1 external, 2 polyline, 16 outermost, ...
};

// One family of parallel pattern lines as drawing files store them: already turned and scaled,
// the offset from one line to the next as a vector of the plane.
struct PatternLine {
    double angle = 0.0;  // degrees
    AcGePoint2d base;
    AcGeVector2d offset;
    std::vector<double> dashes;  // > 0 dash, < 0 gap, 0 dot
};

struct Hatch {
    double elevation = 0.0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    std::string pattern;
    bool solid = false;
    long long style = 0;  // 0 odd parity, 1 outermost, 2 ignore islands
    double angle = 0.0, scale = 1.0;
    bool doubled = false;
    std::vector<HatchLoop> loops;
    std::vector<PatternLine> lines;
};

void Append(std::vector<AcGePoint2d>& out, const AcGePoint2d& p) {
    if (!Ok(p)) return;
    if (!out.empty() && out.back().x == p.x && out.back().y == p.y) return;
    out.push_back(p);
}

// Arc and elliptic arc edges: from start to end (degrees) counter-clockwise; a clockwise edge
// (ccw 0) is stored mirrored, its angles counted clockwise.
void ArcEdge(const AcGePoint2d& c, const AcGeVector2d& u, const AcGeVector2d& v, double start, double end, bool ccw,
             double tol, std::vector<AcGePoint2d>& out) {
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0.0) sweep += 360.0;
    double a0 = start * kDegToRad, s = sweep * kDegToRad;
    if (!ccw) a0 = -a0, s = -s;
    std::vector<AcGePoint3d> pts;
    EllipsePoints(AcGePoint3d(c.x, c.y, 0.0), AcGeVector3d(u.x, u.y, 0.0), AcGeVector3d(v.x, v.y, 0.0), a0, s, tol,
                  pts);
    for (const AcGePoint3d& p : pts) Append(out, AcGePoint2d(p.x, p.y));
}

void ReadEdges(Cursor& c, long long count, double tol, std::vector<AcGePoint2d>& out) {
    for (long long k = 0; k < count && c.at(72); ++k) {
        long long type = 0;
        c.take(72, type);
        if (type == 1) {
            AcGePoint2d a, b;
            if (c.take2d(10, a)) Append(out, a);
            if (c.take2d(11, b)) Append(out, b);
        } else if (type == 2 || type == 3) {
            AcGePoint2d centre, major(1.0, 0.0);
            double radius = 0.0, ratio = 1.0, start = 0.0, end = 360.0;
            long long ccw = 1;
            const bool ok = c.take2d(10, centre);
            if (type == 3) c.take2d(11, major);
            c.take(40, type == 2 ? radius : ratio);
            c.take(50, start);
            c.take(51, end);
            c.take(73, ccw);
            AcGeVector2d u(major.x, major.y);
            if (type == 2) u = AcGeVector2d(radius, 0.0);
            const AcGeVector2d v = u.perpVector() * (type == 2 ? 1.0 : ratio);
            if (ok && std::isfinite(u.length())) ArcEdge(centre, u, v, start, end, ccw != 0, tol, out);
        } else if (type == 4) {
            Nurbs s;
            long long degree = 3, rational = 0, periodic = 0, knots = 0, points = 0, fits = 0;
            c.take(94, degree);
            c.take(73, rational);
            c.take(74, periodic);
            c.take(95, knots);
            c.take(96, points);
            s.degree = static_cast<int>(std::clamp<long long>(degree, 0, 100));
            for (double v = 0.0; c.take(40, v);) s.knots.push_back(v);
            // Weights follow each control point, or all come after them.
            std::vector<double> after;
            for (AcGePoint2d p; c.at(10);) {
                const bool ok = c.take2d(10, p);
                double w = 1.0;
                const bool weighted = c.at(42) && c.take(42, w);
                if (ok) s.points.emplace_back(p.x, p.y, 0.0);
                if (ok && weighted) s.weights.push_back(w);
            }
            for (double w = 0.0; c.at(42);)
                if (c.take(42, w)) after.push_back(w);
            if (s.weights.size() != s.points.size()) s.weights = after;
            if (!rational) s.weights.clear();
            std::vector<AcGePoint3d> fit;
            if (c.take(97, fits))
                for (AcGePoint2d p; c.at(11);)
                    if (c.take2d(11, p)) fit.emplace_back(p.x, p.y, 0.0);
            AcGePoint2d t0, t1;
            const bool has0 = c.take2d(12, t0), has1 = c.take2d(13, t1);
            std::vector<AcGePoint3d> pts;
            if (Mend(s)) {
                pts = Flatten(s, tol);
            } else {
                AcGeVector3d a(t0.x, t0.y, 0.0), b(t1.x, t1.y, 0.0);
                a = a.normal(), b = b.normal();
                pts = FitCurve(fit, has0 && a.length() > 0 ? &a : nullptr, has1 && b.length() > 0 ? &b : nullptr, tol);
            }
            for (const AcGePoint3d& p : pts) Append(out, AcGePoint2d(p.x, p.y));
        } else {
            return;  // an edge of no known kind: its groups cannot be told from the next
        }
    }
}

bool AfterPaths(int code) {
    switch (code) {
        case 75: case 76: case 52: case 41: case 77: case 78: case 47: case 98: case 450: case 451:
        case 452: case 453: case 460: case 461: case 462: case 463: case 470: case 421: case 63:
            return true;
        default:
            return false;
    }
}

// Reads a hatch's boundary loops (flattened to tol) and its pattern; false when it has none.
bool ReadHatch(const Rec& r, double tol, Hatch& h) {
    size_t i = r.findText(100, "AcDbHatch");
    i = i < r.size() ? i + 1 : 0;
    const size_t paths = r.find(91, i);
    if (paths >= r.size()) return false;
    AcGePoint3d elevation;
    if (r.pointOf(10, elevation, i, paths)) h.elevation = elevation.z;
    h.normal = Normal(r);
    for (size_t k = i; k < paths; ++k)
        if (r.code(k) == 2) h.pattern = r.text(k);
    h.solid = (r.integerOf(70, 0, i, paths) & 1) != 0 || SameText(h.pattern, "SOLID");
    Cursor c(r, paths);
    long long count = 0;
    c.take(91, count);
    for (long long k = 0; k < count && c.at(92); ++k) {
        HatchLoop loop;
        c.take(92, loop.flags);
        if (loop.flags & 2) {
            long long bulges = 0, closed = 1, n = 0;
            c.take(72, bulges);
            c.take(73, closed);
            c.take(93, n);
            std::vector<vorn::db::BulgeVertex> verts;
            for (long long v = 0; v < n && c.at(10); ++v) {
                vorn::db::BulgeVertex bv;
                const bool ok = c.take2d(10, bv.point);
                if (c.at(42)) c.take(42, bv.bulge);
                if (ok) verts.push_back(bv);
            }
            for (const AcGePoint2d& p : vorn::db::FlattenPath(verts, true, tol)) Append(loop.points, p);
        } else {
            long long edges = 0;
            c.take(93, edges);
            ReadEdges(c, edges, tol, loop.points);
        }
        // The closing point repeats the first.
        while (loop.points.size() > 1 && loop.points.back().x == loop.points.front().x &&
               loop.points.back().y == loop.points.front().y)
            loop.points.pop_back();
        if (!loop.points.empty()) h.loops.push_back(std::move(loop));
        while (!c.done() && !c.at(92) && !AfterPaths(c.code())) c.skip();
    }
    while (!c.done() && !c.at(98)) {
        switch (c.code()) {
            case 75: c.take(75, h.style); break;
            case 52: c.take(52, h.angle); break;
            case 41: c.take(41, h.scale); break;
            case 450: {
                long long gradient = 0;
                c.take(450, gradient);
                if (gradient == 1) h.solid = true;  // a gradient shows as its colour
                break;
            }
            case 77: {
                long long d = 0;
                c.take(77, d);
                h.doubled = d != 0;
                break;
            }
            case 53: {
                PatternLine line;
                long long dashes = 0;
                c.take(53, line.angle);
                c.take(43, line.base.x);
                c.take(44, line.base.y);
                c.take(45, line.offset.x);
                c.take(46, line.offset.y);
                c.take(79, dashes);
                for (double v = 0.0; c.at(49) && (dashes <= 0 || static_cast<long long>(line.dashes.size()) < dashes);)
                    if (c.take(49, v)) line.dashes.push_back(v);
                h.lines.push_back(std::move(line));
                break;
            }
            default: c.skip(); break;
        }
    }
    return !h.loops.empty();
}

// Patterns for hatches whose record names a pattern but holds no lines of it, in millimetres:
// angle, origin, offset (along the line, across it) and dashes, before the hatch's own angle
// and scale.
struct PatternDef {
    double angle, x, y, dx, dy;
    std::vector<double> dashes;
};

const std::vector<PatternDef>* BuiltInPattern(const std::string& name) {
    static const std::vector<PatternDef> kAnsi31{{45, 0, 0, 0, 3.175, {}}};
    static const std::vector<PatternDef> kAnsi37{{45, 0, 0, 0, 3.175, {}}, {135, 0, 0, 0, 3.175, {}}};
    static const std::vector<PatternDef> kNet{{0, 0, 0, 0, 3.175, {}}, {90, 0, 0, 0, 3.175, {}}};
    static const std::vector<PatternDef> kDots{{0, 0, 0, 0.79375, 1.5875, {0.0, -1.5875}}};
    static const std::vector<PatternDef> kGrass{{90, 0, 0, 17.9605, 17.9605, {4.7625, -31.1585}},
                                                {45, 0, 0, 0, 25.4, {4.7625, -20.6375}},
                                                {135, 0, 0, 0, 25.4, {4.7625, -20.6375}}};
    if (SameText(name, "ANSI31")) return &kAnsi31;
    if (SameText(name, "ANSI37")) return &kAnsi37;
    if (SameText(name, "NET")) return &kNet;
    if (SameText(name, "DOTS")) return &kDots;
    if (SameText(name, "GRASS")) return &kGrass;
    return nullptr;
}

// The built-in pattern turned by angle and scaled as the file's own lines would be stored;
// inches when the drawing measures in them.
std::vector<PatternLine> PatternLines(const Hatch& h, bool imperial) {
    std::vector<PatternLine> out;
    const std::vector<PatternDef>* def = BuiltInPattern(h.pattern);
    if (!def) return out;
    const double s = (h.scale > 0.0 ? h.scale : 1.0) * (imperial ? 1.0 / 25.4 : 1.0);
    for (int pass = 0; pass < (h.doubled ? 2 : 1); ++pass)
        for (const PatternDef& d : *def) {
            PatternLine line;
            const double turn = h.angle * kDegToRad, a = (d.angle + h.angle + 90.0 * pass) * kDegToRad;
            line.angle = d.angle + h.angle + 90.0 * pass;
            line.base = AcGePoint2d((d.x * std::cos(turn) - d.y * std::sin(turn)) * s,
                                    (d.x * std::sin(turn) + d.y * std::cos(turn)) * s);
            line.offset = AcGeVector2d((d.dx * std::cos(a) - d.dy * std::sin(a)) * s,
                                       (d.dx * std::sin(a) + d.dy * std::cos(a)) * s);
            for (double v : d.dashes) line.dashes.push_back(v * s);
            out.push_back(std::move(line));
        }
    return out;
}

// One stretch of a pattern line inside the boundary: line k of a family, from t0 to t1 along it.
struct Stretch {
    size_t family;
    double k, t0, t1;
};

enum class PatternResult { kDrawn, kTooDense, kStopped };

// The pattern's lines cut to the loops by the even-odd rule. Each family's lines run through
// base + k * offset; a boundary edge crosses line k where its ends' line numbers u (the
// distance across the lines, in offsets) lie on either side of k, an end exactly on a line
// counting as above it, so that each closed loop crosses every line an even number of times.
// Nothing is drawn until the whole pattern is known to stay within the limits.
PatternResult DrawPattern(const std::vector<HatchLoop>& loops, const std::vector<PatternLine>& lines, double z,
                          AcGiWorldDraw* d) {
    struct Family {
        AcGeVector2d dir, across;
        const PatternLine* line;
        double spacing;  // offset . across
        double dashLength = 0.0;
        double kmin = 0.0, kmax = -1.0;
    };
    std::vector<Family> families;
    double rows = 0.0;
    for (const PatternLine& line : lines) {
        Family f;
        f.line = &line;
        const double a = line.angle * kDegToRad;
        f.dir = AcGeVector2d(std::cos(a), std::sin(a));
        f.across = f.dir.perpVector();
        f.spacing = line.offset.dotProduct(f.across);
        if (!(std::fabs(f.spacing) > 0.0) || !Ok(f.spacing) || !Ok(line.base) || !Ok(line.offset.x) ||
            !Ok(line.offset.y))
            continue;
        double lo = HUGE_VAL, hi = -HUGE_VAL;
        for (const HatchLoop& loop : loops)
            for (const AcGePoint2d& p : loop.points) {
                const double u = ((p.x - line.base.x) * f.across.x + (p.y - line.base.y) * f.across.y) / f.spacing;
                lo = std::min(lo, u), hi = std::max(hi, u);
            }
        if (!(std::fabs(lo) < 1e15) || !(std::fabs(hi) < 1e15)) continue;
        f.kmin = std::floor(lo) + 1.0;
        f.kmax = std::floor(hi);
        if (f.kmax < f.kmin) continue;
        rows += f.kmax - f.kmin + 1.0;
        if (rows > kMaxHatchLines) return PatternResult::kTooDense;
        for (double v : line.dashes) f.dashLength += std::fabs(v);
        families.push_back(f);
    }
    std::vector<Stretch> stretches;
    double crossings = 0.0, pieces = 0.0;
    std::vector<double> u;
    for (size_t fi = 0; fi < families.size(); ++fi) {
        const Family& f = families[fi];
        const PatternLine& line = *f.line;
        std::vector<std::vector<double>> hits(static_cast<size_t>(f.kmax - f.kmin + 1.0));
        for (const HatchLoop& loop : loops) {
            const size_t n = loop.points.size();
            u.resize(n);
            for (size_t i = 0; i < n; ++i) {
                const AcGePoint2d& p = loop.points[i];
                u[i] = ((p.x - line.base.x) * f.across.x + (p.y - line.base.y) * f.across.y) / f.spacing;
            }
            for (size_t i = 0; i < n && n > 1; ++i) {
                const size_t j = (i + 1) % n;
                const double ua = u[i], ub = u[j];
                if (ua == ub) continue;
                const double first = std::floor(std::min(ua, ub)) + 1.0, last = std::floor(std::max(ua, ub));
                crossings += last - first + 1.0;
                if (crossings > kMaxHatchCrossings) return PatternResult::kTooDense;
                const AcGePoint2d& a = loop.points[i];
                const AcGePoint2d& b = loop.points[j];
                for (double k = first; k <= last; k += 1.0) {
                    const double s = (k - ua) / (ub - ua);
                    const double x = a.x + s * (b.x - a.x) - (line.base.x + k * line.offset.x);
                    const double y = a.y + s * (b.y - a.y) - (line.base.y + k * line.offset.y);
                    hits[static_cast<size_t>(k - f.kmin)].push_back(x * f.dir.x + y * f.dir.y);
                }
            }
        }
        for (size_t row = 0; row < hits.size(); ++row) {
            std::vector<double>& t = hits[row];
            std::sort(t.begin(), t.end());
            for (size_t i = 0; i + 1 < t.size(); i += 2) {
                if (!(t[i + 1] > t[i])) continue;
                stretches.push_back({fi, f.kmin + static_cast<double>(row), t[i], t[i + 1]});
                if (f.dashLength > 0.0)
                    pieces += (t[i + 1] - t[i]) / f.dashLength * static_cast<double>(line.dashes.size()) + 2.0;
                else
                    pieces += 1.0;
                if (pieces > kMaxHatchDashes) return PatternResult::kTooDense;
            }
        }
    }
    for (const Stretch& s : stretches) {
        const Family& f = families[s.family];
        const PatternLine& line = *f.line;
        const AcGePoint2d origin(line.base.x + s.k * line.offset.x, line.base.y + s.k * line.offset.y);
        const auto at = [&](double t) { return AcGePoint3d(origin.x + t * f.dir.x, origin.y + t * f.dir.y, z); };
        bool stop = false;
        // Dashes are placed from the line's origin; where the origin lies so far off that a
        // period is lost in the numbers, the line is drawn whole.
        if (!(f.dashLength > 0.0) || std::fabs(s.t0) / f.dashLength > 1e12) {
            stop = Polyline(d, {at(s.t0), at(s.t1)});
        } else {
            for (double period = std::floor(s.t0 / f.dashLength); !stop; period += 1.0) {
                double pos = period * f.dashLength;
                if (pos > s.t1) break;
                for (double v : line.dashes) {
                    const double len = std::fabs(v);
                    if (v >= 0.0) {
                        const double a = std::max(pos, s.t0), b = std::min(pos + len, s.t1);
                        if (len == 0.0 && pos >= s.t0 && pos <= s.t1) stop = Dot(d, at(pos));
                        else if (len > 0.0 && b > a) stop = Polyline(d, {at(a), at(b)});
                    }
                    pos += len;
                    if (stop || pos > s.t1) break;
                }
            }
        }
        if (stop || d->regenAbort()) return PatternResult::kStopped;
    }
    return PatternResult::kDrawn;
}

double SignedArea(const std::vector<AcGePoint2d>& p) {
    double a = 0.0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) a += (p[j].x - p[i].x) * (p[j].y + p[i].y);
    return a / 2.0;
}

bool Inside(const AcGePoint2d& q, const std::vector<AcGePoint2d>& poly) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const AcGePoint2d &a = poly[i], &b = poly[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// A fill of loops with holes by the even-odd rule, as one polygon: each loop turned
// counter-clockwise when an even number of others hold it and clockwise otherwise, then all
// joined by bridges run there and back. The sinks fill by the nonzero or the even-odd rule, and
// under both the bridges add nothing and the loops nested this way give exactly the even-odd
// area; only the bridges' strokes show, as hairlines inside the fill. Too many loops to sort
// in time are filled one by one.
bool Fill(std::vector<HatchLoop> loops, double z, AcGiWorldDraw* d) {
    loops.erase(std::remove_if(loops.begin(), loops.end(), [](const HatchLoop& l) { return l.points.size() < 3; }),
                loops.end());
    if (loops.empty()) return false;
    double total = 0.0;
    for (const HatchLoop& l : loops) total += static_cast<double>(l.points.size());
    if (static_cast<double>(loops.size()) * total > kMaxNestingWork) {
        for (const HatchLoop& l : loops)
            if (Polygon(d, Lift(l.points, z))) return true;
        return false;
    }
    std::vector<int> depth(loops.size(), 0);
    for (size_t i = 0; i < loops.size(); ++i)
        for (size_t j = 0; j < loops.size(); ++j)
            if (i != j && Inside(loops[i].points[0], loops[j].points)) ++depth[i];
    std::vector<size_t> order(loops.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depth[a] < depth[b]; });
    std::vector<AcGePoint2d> joined;
    for (size_t i : order) {
        std::vector<AcGePoint2d>& p = loops[i].points;
        if ((SignedArea(p) < 0.0) == (depth[i] % 2 == 0)) std::reverse(p.begin(), p.end());
        if (joined.empty()) {
            joined = p;
            continue;
        }
        // The bridge runs left from the loop's leftmost vertex to the nearest edge of what is
        // joined so far (short and level, so its hairline hardly shows); to the nearest vertex
        // when nothing lies to the left.
        size_t v = 0;
        for (size_t k = 1; k < p.size(); ++k)
            if (p[k].x < p[v].x) v = k;
        const AcGePoint2d from = p[v];
        size_t edge = joined.size();
        double best = HUGE_VAL;
        AcGePoint2d to;
        for (size_t k = 0; k < joined.size(); ++k) {
            const AcGePoint2d& a = joined[k];
            const AcGePoint2d& b = joined[(k + 1) % joined.size()];
            if ((a.y > from.y) == (b.y > from.y)) continue;
            const double x = a.x + (from.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x <= from.x && from.x - x < best) best = from.x - x, edge = k, to = AcGePoint2d(x, from.y);
        }
        if (edge == joined.size()) {
            for (size_t k = 0; k < joined.size(); ++k) {
                const double dx = joined[k].x - from.x, dy = joined[k].y - from.y, dist = dx * dx + dy * dy;
                if (dist < best) best = dist, edge = k, to = joined[k];
            }
        }
        std::vector<AcGePoint2d> piece{to};
        piece.reserve(p.size() + 3);
        for (size_t k = 0; k <= p.size(); ++k) piece.push_back(p[(v + k) % p.size()]);
        piece.push_back(to);
        joined.insert(joined.begin() + static_cast<std::ptrdiff_t>(edge) + 1, piece.begin(), piece.end());
    }
    return Polygon(d, Lift(joined, z));
}

bool DrawLoops(const std::vector<HatchLoop>& loops, double z, AcGiWorldDraw* d) {
    for (const HatchLoop& l : loops)
        if (Polyline(d, Lift(l.points, z), true)) return true;
    return false;
}

bool Imperial(const AcDbDatabase* db) {
    if (!db) return false;
    for (const auto& [name, groups] : vorn::db::FileDataOf(*db).header)
        if (name == "$MEASUREMENT") {
            const Rec r(groups);
            return r.integerOf(70, 1) == 0;
        }
    return false;
}

}  // namespace

bool DrawHatch(const Rec& r, const AcDbDatabase* db, AcGiWorldDraw* d) {
    Hatch h;
    if (!ReadHatch(r, Tolerance(d), h)) return false;
    if (h.style == 2) {
        // Islands ignored: the outer loops alone, when the file marks them.
        std::vector<HatchLoop> outer;
        for (const HatchLoop& l : h.loops)
            if (l.flags & 1) outer.push_back(l);
        if (!outer.empty()) h.loops = std::move(outer);
    }
    Pushed ocs(d->geometry(), OcsToWorld(h.normal));
    if (h.solid) return Fill(h.loops, h.elevation, d);
    std::vector<PatternLine> lines = h.lines.empty() ? PatternLines(h, Imperial(db)) : h.lines;
    if (!lines.empty()) {
        const PatternResult res = DrawPattern(h.loops, lines, h.elevation, d);
        if (res != PatternResult::kTooDense) return res == PatternResult::kStopped;
    }
    return DrawLoops(h.loops, h.elevation, d);
}

bool HatchExtents(const Rec& r, AcDbExtents& extents) {
    Hatch h;
    if (!ReadHatch(r, vorn::ge::kArcChordTol, h)) return false;
    const AcGeMatrix3d m = OcsToWorld(h.normal);
    for (const HatchLoop& l : h.loops)
        for (const AcGePoint2d& p : l.points) extents.addPoint(m * AcGePoint3d(p.x, p.y, h.elevation));
    return extents.isValid();
}

}  // namespace vorn::db::keptshape
