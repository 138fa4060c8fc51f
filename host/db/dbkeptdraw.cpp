// How kept entities show in plan: what the file's groups describe, drawn with the sink's
// primitives. Hatches fill or carry their pattern clipped to their boundary, curves are
// flattened to the sink's deviation, dimensions and tables draw their blocks, and a block
// reference's kept attributes draw their values. Every value comes from a file and may be
// absurd: counts are bounded by the groups present, work by the limits below, and nothing
// that is not finite reaches a sink.
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
#include "host/ge/getol.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDegToRad = kPi / 180.0;

// ---- limits ----

// Pattern lines of one hatch beyond which it shows as its boundary: a pattern at a tiny scale
// over a whole site would take seconds and read as a smear anyway.
constexpr double kMaxHatchLines = 20000;
// Dashes and dots of one hatch (a dot pattern over a lawn) beyond which the same holds.
constexpr double kMaxHatchDashes = 200000;
// Crossings of pattern lines with a boundary (a boundary of many fine teeth).
constexpr double kMaxHatchCrossings = 1000000;
// Points of one flattened curve, and chords of one knot span.
constexpr double kMaxCurvePoints = 20000;
constexpr int kMaxSpanChords = 256;
constexpr int kMaxDegree = 25;
// Loops times vertices a fill may compare to tell islands from outlines.
constexpr double kMaxNestingWork = 4.0e7;
// Half the length of a construction line drawn when the sink does not say what it shows.
constexpr double kFarReach = 1.0e6;
// Copies an array reference (MINSERT) draws.
constexpr double kMaxArrayCopies = 10000;
// Coordinates beyond this belong to no drawing; such a point is left out.
constexpr double kFar = 1.0e12;

bool Ok(double v) { return std::isfinite(v) && std::fabs(v) < kFar; }
bool Ok(const AcGePoint3d& p) { return Ok(p.x) && Ok(p.y) && Ok(p.z); }
bool Ok(const AcGePoint2d& p) { return Ok(p.x) && Ok(p.y); }

// The chord tolerance the sink asks for, or the host's default.
double Tolerance(const AcGiWorldDraw* draw) {
    const double d = draw ? draw->deviation() : 0.0;
    return d > 0.0 && std::isfinite(d) ? d : vorn::ge::kArcChordTol;
}

// UTF-8 as kept groups hold it, to the host's wide strings (a bad byte becomes U+FFFD).
std::wstring Wide(const std::string& s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        std::uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool good = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
        for (int k = 1; good && k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            good = (d >> 6) == 2;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (!good || cp > 0x10FFFF) {
            out += L'\uFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(cp);
        i += 1 + static_cast<size_t>(extra);
    }
    return out;
}

bool SameText(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

// ---- reading groups ----

// The groups of a record that describe its shape: those outside brace blocks
// ({ACAD_REACTORS ...}) and without the host's own marks (negative codes).
class Rec {
public:
    explicit Rec(const AcDbKeptGroups& all) {
        m_g.reserve(all.size());
        bool brace = false;
        for (const AcDbKeptGroup& g : all) {
            if (g.code == 102) {
                brace = !g.value.empty() && g.value[0] == '{';
                continue;
            }
            if (!brace && g.code >= 0 && g.code < 1000) m_g.push_back(&g);
        }
    }
    size_t size() const { return m_g.size(); }
    int code(size_t i) const { return m_g[i]->code; }
    const std::string& text(size_t i) const { return m_g[i]->value; }
    bool real(size_t i, double& v) const {
        double x = 0.0;
        if (!vorn::db::KeptReal(*m_g[i], x) || !Ok(x)) return false;
        v = x;
        return true;
    }
    // A whole number, rounded and held within what any count or flag could mean.
    long long integer(size_t i, long long fallback) const {
        double v = 0.0;
        if (!real(i, v)) return fallback;
        return static_cast<long long>(std::llround(std::clamp(v, -1.0e15, 1.0e15)));
    }
    // The point whose X group is at i, with Y and Z where the file gives them.
    // The point whose X group is at i, with Y and Z where the file gives them; p is left as it
    // was when one of them is no number.
    bool point(size_t i, AcGePoint3d& p) const {
        AcGePoint3d q;
        if (!real(i, q.x)) return false;
        if (i + 1 < size() && code(i + 1) == code(i) + 10) {
            if (!real(i + 1, q.y)) return false;
            if (i + 2 < size() && code(i + 2) == code(i) + 20 && !real(i + 2, q.z)) return false;
        }
        p = q;
        return true;
    }
    size_t find(int c, size_t from = 0) const {
        for (size_t i = from; i < size(); ++i)
            if (code(i) == c) return i;
        return size();
    }
    size_t findText(int c, const char* value, size_t from = 0) const {
        for (size_t i = from; i < size(); ++i)
            if (code(i) == c && text(i) == value) return i;
        return size();
    }
    double realOf(int c, double fallback, size_t from = 0, size_t to = SIZE_MAX) const {
        double v = 0.0;
        for (size_t i = from; i < size() && i < to; ++i)
            if (code(i) == c) return real(i, v) ? v : fallback;
        return fallback;
    }
    long long integerOf(int c, long long fallback, size_t from = 0, size_t to = SIZE_MAX) const {
        for (size_t i = from; i < size() && i < to; ++i)
            if (code(i) == c) return integer(i, fallback);
        return fallback;
    }
    bool pointOf(int c, AcGePoint3d& p, size_t from = 0, size_t to = SIZE_MAX) const {
        for (size_t i = from; i < size() && i < to; ++i)
            if (code(i) == c) return point(i, p);
        return false;
    }

private:
    std::vector<const AcDbKeptGroup*> m_g;
};

// Steps through a record's groups in the order a structured part of it (a hatch's paths)
// gives them; every read checks the code first, so a missing group is a default, never a
// misread one.
class Cursor {
public:
    Cursor(const Rec& r, size_t at) : m_r(r), m_i(at) {}
    bool done() const { return m_i >= m_r.size(); }
    bool at(int code) const { return !done() && m_r.code(m_i) == code; }
    int code() const { return done() ? -1 : m_r.code(m_i); }
    void skip() { ++m_i; }
    bool take(int code, double& v) {
        if (!at(code)) return false;
        const bool ok = m_r.real(m_i++, v);
        return ok;
    }
    bool take(int code, long long& v) {
        if (!at(code)) return false;
        v = m_r.integer(m_i++, v);
        return true;
    }
    // A point of X code and Y code + 10 (a Z code + 20 is passed over).
    bool take2d(int code, AcGePoint2d& p) {
        if (!at(code)) return false;
        bool ok = m_r.real(m_i++, p.x);
        if (at(code + 10)) ok = m_r.real(m_i++, p.y) && ok;
        else ok = false;
        if (at(code + 20)) ++m_i;
        return ok;
    }

private:
    const Rec& m_r;
    size_t m_i;
};

// The record's extrusion direction (the world Z axis when it gives none or a useless one).
AcGeVector3d Normal(const Rec& r) {
    AcGePoint3d p;
    if (!r.pointOf(210, p)) return AcGeVector3d::kZAxis;
    const AcGeVector3d n(p.x, p.y, p.z);
    const double len = n.length();
    if (!(len > 1e-12) || !std::isfinite(len)) return AcGeVector3d::kZAxis;
    return n / len;
}

// From a record's object coordinates to the world: nothing for the plan; for a plan seen from
// below (0, 0, -1) a mirror in X; other directions tilt the plane, which the plan then shows
// projected.
AcGeMatrix3d OcsToWorld(const AcGeVector3d& n) {
    if (std::fabs(n.x) < 1e-12 && std::fabs(n.y) < 1e-12 && n.z > 0) return AcGeMatrix3d::kIdentity;
    return AcGeMatrix3d::planeToWorld(n);
}

// A model transform for the life of a scope.
class Pushed {
public:
    Pushed(AcGiGeometry& g, const AcGeMatrix3d& m) : m_g(g) { m_g.pushModelTransform(m); }
    ~Pushed() { m_g.popModelTransform(); }
    Pushed(const Pushed&) = delete;
    Pushed& operator=(const Pushed&) = delete;

private:
    AcGiGeometry& m_g;
};

// ---- primitives with their points checked ----

bool Polyline(AcGiWorldDraw* d, const std::vector<AcGePoint3d>& pts, bool closed = false) {
    if (pts.empty()) return false;
    for (const AcGePoint3d& p : pts)
        if (!Ok(p)) return false;
    return d->geometry().polyline(pts, closed);
}

bool Polygon(AcGiWorldDraw* d, const std::vector<AcGePoint3d>& pts) {
    if (pts.empty()) return false;
    for (const AcGePoint3d& p : pts)
        if (!Ok(p)) return false;
    return d->geometry().polygon(pts);
}

bool Dot(AcGiWorldDraw* d, const AcGePoint3d& p) { return Polyline(d, {p}); }

std::vector<AcGePoint3d> Lift(const std::vector<AcGePoint2d>& pts, double z) {
    std::vector<AcGePoint3d> out;
    out.reserve(pts.size());
    for (const AcGePoint2d& p : pts) out.emplace_back(p.x, p.y, z);
    return out;
}

// A closed arrowhead of length size at tip, pointing along from -> tip; left out, as plan
// views do, when the leader's first segment (room) is shorter than two arrows.
bool Arrow(AcGiWorldDraw* d, const AcGePoint3d& tip, const AcGePoint3d& from, double size, double room) {
    AcGeVector3d dir(tip.x - from.x, tip.y - from.y, 0.0);
    const double len = dir.length();
    if (!(size > 0.0) || !Ok(size) || !(len > 0.0) || !(room >= 2.0 * size)) return false;
    dir = dir / len;
    const AcGeVector3d side(-dir.y, dir.x, 0.0);
    const AcGePoint3d back = tip - dir * size;
    return Polygon(d, {tip, back + side * (size / 6.0), back - side * (size / 6.0)});
}

// ---- curves ----

// Points of an ellipse C + cos t U + sin t V for t from start through sweep, flattened to tol
// (counted on the larger axis).
void EllipsePoints(const AcGePoint3d& c, const AcGeVector3d& u, const AcGeVector3d& v, double start, double sweep,
                   double tol, std::vector<AcGePoint3d>& out) {
    const double r = std::max(u.length(), v.length());
    const int n = vorn::db::ArcSegmentCount(r, sweep, tol);
    for (int k = 0; k <= n; ++k) {
        const double t = start + sweep * k / n;
        out.push_back(c + u * std::cos(t) + v * std::sin(t));
    }
}

// A NURBS curve as drawing files give it.
struct Nurbs {
    int degree = 3;
    std::vector<double> knots;
    std::vector<AcGePoint3d> points;
    std::vector<double> weights;
};

// Makes the data fit to evaluate: a degree the points allow, knots that fit them (a clamped
// uniform vector when the file's do not: wrong count, decreasing, or no span to draw) and
// weights that fit (all 1 otherwise). False when there is no curve.
bool Mend(Nurbs& s) {
    if (s.points.size() < 2 || s.points.size() > 10000000) return false;
    const int n = static_cast<int>(s.points.size());
    const int p = std::clamp(s.degree, 1, std::min(n - 1, kMaxDegree));
    bool knotsFit = p == s.degree && s.knots.size() == static_cast<size_t>(n + p + 1);
    for (size_t i = 1; knotsFit && i < s.knots.size(); ++i) knotsFit = s.knots[i] >= s.knots[i - 1];
    knotsFit = knotsFit && s.knots[static_cast<size_t>(p)] < s.knots[static_cast<size_t>(n)];
    s.degree = p;
    if (!knotsFit) {
        s.knots.assign(static_cast<size_t>(n + p + 1), 0.0);
        for (int i = 0; i <= n + p; ++i)
            s.knots[static_cast<size_t>(i)] = std::clamp(static_cast<double>(i - p) / (n - p), 0.0, 1.0);
    }
    bool weightsFit = s.weights.size() == static_cast<size_t>(n);
    double lo = HUGE_VAL, hi = 0.0;
    for (size_t i = 0; weightsFit && i < s.weights.size(); ++i) {
        weightsFit = s.weights[i] > 0.0;
        lo = std::min(lo, s.weights[i]);
        hi = std::max(hi, s.weights[i]);
    }
    if (!weightsFit || hi > lo * 1e12) s.weights.assign(static_cast<size_t>(n), 1.0);
    return true;
}

// The point at u of span k (knots[k] <= u <= knots[k + 1]) by de Boor's scheme on the
// homogeneous points.
AcGePoint3d DeBoor(const Nurbs& s, size_t k, double u, std::vector<double>& d) {
    const size_t p = static_cast<size_t>(s.degree);
    d.resize(4 * (p + 1));
    for (size_t j = 0; j <= p; ++j) {
        const AcGePoint3d& q = s.points[k - p + j];
        const double w = s.weights[k - p + j];
        d[4 * j] = q.x * w, d[4 * j + 1] = q.y * w, d[4 * j + 2] = q.z * w, d[4 * j + 3] = w;
    }
    for (size_t r = 1; r <= p; ++r)
        for (size_t j = p; j >= r; --j) {
            const size_t i = k - p + j;
            const double span = s.knots[i + p + 1 - r] - s.knots[i];
            const double a = span > 0.0 ? std::clamp((u - s.knots[i]) / span, 0.0, 1.0) : 0.0;
            for (size_t c = 0; c < 4; ++c) d[4 * j + c] = (1.0 - a) * d[4 * (j - 1) + c] + a * d[4 * j + c];
        }
    const double w = d[4 * p + 3];
    return AcGePoint3d(d[4 * p] / w, d[4 * p + 1] / w, d[4 * p + 2] / w);
}

// The curve flattened: each span in chords enough that the curve strays less than about tol
// (judged from the span's control polygon), all within the point limit.
std::vector<AcGePoint3d> Flatten(const Nurbs& s, double tol) {
    std::vector<AcGePoint3d> out;
    const size_t p = static_cast<size_t>(s.degree), n = s.points.size();
    std::vector<std::pair<size_t, int>> spans;
    double total = 0.0;
    for (size_t k = p; k < n; ++k) {
        if (!(s.knots[k] < s.knots[k + 1])) continue;
        double bend = 0.0;
        for (size_t j = k - p + 1; j < k && p > 1; ++j)
            bend = std::max(bend, (s.points[j + 1] - s.points[j] - (s.points[j] - s.points[j - 1])).length());
        int m = 1;
        if (p > 1) {
            const double want = std::sqrt(static_cast<double>(p * (p - 1)) * bend / (8.0 * tol));
            m = static_cast<int>(std::clamp(std::ceil(want), 4.0, static_cast<double>(kMaxSpanChords)));
        }
        spans.emplace_back(k, m);
        total += m;
    }
    if (spans.empty()) return out;
    const double cut = total > kMaxCurvePoints ? kMaxCurvePoints / total : 1.0;
    std::vector<double> work;
    out.push_back(DeBoor(s, spans.front().first, s.knots[spans.front().first], work));
    for (const auto& [k, chords] : spans) {
        const int m = std::max(1, static_cast<int>(chords * cut));
        const double a = s.knots[k], b = s.knots[k + 1];
        for (int i = 1; i <= m; ++i) out.push_back(DeBoor(s, k, i == m ? b : a + (b - a) * i / m, work));
    }
    return out;
}

// A smooth curve through fit points: the cubic spline of chord-length parameters with the
// given end tangents (unit vectors), or free ends without them.
std::vector<AcGePoint3d> FitCurve(const std::vector<AcGePoint3d>& fit, const AcGeVector3d* startTangent,
                                  const AcGeVector3d* endTangent, double tol) {
    std::vector<AcGePoint3d> p;
    for (const AcGePoint3d& q : fit)
        if (Ok(q) && (p.empty() || (q - p.back()).length() > 1e-12)) p.push_back(q);
    if (p.size() < 2 || p.size() > 200000) return p;
    const size_t n = p.size() - 1;
    std::vector<double> h(n);
    for (size_t i = 0; i < n; ++i) h[i] = (p[i + 1] - p[i]).length();
    // The second derivatives M solve a tridiagonal system (a below, b on, c above the diagonal).
    std::vector<double> a(n + 1, 0.0), b(n + 1, 1.0), c(n + 1, 0.0);
    std::vector<AcGeVector3d> r(n + 1), m(n + 1);
    const auto slope = [&](size_t i) { return (p[i + 1] - p[i]) / h[i]; };
    for (size_t i = 1; i < n; ++i) {
        a[i] = h[i - 1], b[i] = 2.0 * (h[i - 1] + h[i]), c[i] = h[i];
        r[i] = (slope(i) - slope(i - 1)) * 6.0;
    }
    if (startTangent) b[0] = 2.0 * h[0], c[0] = h[0], r[0] = (slope(0) - *startTangent) * 6.0;
    if (endTangent) a[n] = h[n - 1], b[n] = 2.0 * h[n - 1], r[n] = (*endTangent - slope(n - 1)) * 6.0;
    for (size_t i = 1; i <= n; ++i) {
        const double f = a[i] / b[i - 1];
        b[i] -= f * c[i - 1];
        r[i] -= r[i - 1] * f;
    }
    m[n] = r[n] / b[n];
    for (size_t i = n; i-- > 0;) m[i] = (r[i] - m[i + 1] * c[i]) / b[i];
    std::vector<int> chords(n);
    double total = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double bend = std::max(m[i].length(), m[i + 1].length());
        const double want = std::sqrt(bend * h[i] * h[i] / (8.0 * tol));
        chords[i] = static_cast<int>(std::clamp(std::ceil(want), 1.0, static_cast<double>(kMaxSpanChords)));
        total += chords[i];
    }
    const double cut = total > kMaxCurvePoints ? kMaxCurvePoints / total : 1.0;
    std::vector<AcGePoint3d> out{p[0]};
    for (size_t i = 0; i < n; ++i) {
        const double hi = h[i];
        const int count = std::max(1, static_cast<int>(chords[i] * cut));
        for (int k = 1; k <= count; ++k) {
            const double s = hi * k / count, t = hi - s;
            const AcGeVector3d q = m[i] * (t * t * t / (6.0 * hi)) + m[i + 1] * (s * s * s / (6.0 * hi)) +
                                   (p[i].asVector() / hi - m[i] * (hi / 6.0)) * t +
                                   (p[i + 1].asVector() / hi - m[i + 1] * (hi / 6.0)) * s;
            out.emplace_back(q.x, q.y, q.z);
        }
        out.back() = p[i + 1];
    }
    return out;
}

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

// ---- curves and points ----

bool DrawSpline(const Rec& r, AcGiWorldDraw* d) {
    Nurbs s;
    s.degree = static_cast<int>(std::clamp<long long>(r.integerOf(71, 3), 0, 100));
    std::vector<AcGePoint3d> fit;
    AcGePoint3d p, t0, t1;
    bool has0 = false, has1 = false;
    for (size_t i = 0; i < r.size(); ++i) {
        double v = 0.0;
        switch (r.code(i)) {
            case 40: if (r.real(i, v)) s.knots.push_back(v); break;
            case 41: if (r.real(i, v)) s.weights.push_back(v); break;
            case 10: if (r.point(i, p)) s.points.push_back(p); break;
            case 11: if (r.point(i, p)) fit.push_back(p); break;
            case 12: has0 = r.point(i, t0); break;
            case 13: has1 = r.point(i, t1); break;
            default: break;
        }
    }
    // Weights are written only for rational curves; a count that does not fit means none.
    if (!(r.integerOf(70, 0) & 4)) s.weights.clear();
    std::vector<AcGePoint3d> pts;
    const double tol = Tolerance(d);
    if (Mend(s)) {
        pts = Flatten(s, tol);
    } else {
        if ((r.integerOf(70, 0) & 1) && fit.size() > 2) fit.push_back(fit.front());
        AcGeVector3d a = t0.asVector().normal(), b = t1.asVector().normal();
        pts = FitCurve(fit, has0 && a.length() > 0 ? &a : nullptr, has1 && b.length() > 0 ? &b : nullptr, tol);
    }
    return Polyline(d, pts);
}

bool DrawEllipse(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c, major;
    if (!r.pointOf(10, c) || !r.pointOf(11, major)) return false;
    const AcGeVector3d u = major.asVector();
    const double ratio = r.realOf(40, 1.0);
    if (!(u.length() > 0.0) || std::fabs(ratio) > 1e6) return false;
    // The minor axis turns from the major one counter-clockwise about the extrusion.
    const AcGeVector3d v = Normal(r).crossProduct(u) * ratio;
    const double start = r.realOf(41, 0.0);
    double end = r.realOf(42, kTwoPi);
    double sweep = std::fmod(end - start, kTwoPi);
    if (sweep <= 1e-12) sweep += kTwoPi;
    std::vector<AcGePoint3d> pts;
    EllipsePoints(c, u, v, start, sweep, Tolerance(d), pts);
    return Polyline(d, pts);
}

double HeaderReal(const AcDbDatabase* db, const char* name, int code, double fallback) {
    if (!db) return fallback;
    for (const auto& [n, groups] : vorn::db::FileDataOf(*db).header)
        if (n == name) return Rec(groups).realOf(code, fallback);
    return fallback;
}

// A point by the drawing's point style: PDMODE's figure (0 a dot, 1 nothing, 2 a cross, 3 an
// X, 4 a tick) with a circle (+32) and a square (+64) around it, PDSIZE its size in drawing
// units (negative: a percentage of the view's height; 0: five percent of it).
bool DrawPoint(const Rec& r, const AcDbDatabase* db, AcGiWorldDraw* d) {
    AcGePoint3d p;
    if (!r.pointOf(10, p) || !Ok(p)) return false;
    const long long mode = static_cast<long long>(HeaderReal(db, "$PDMODE", 70, 0.0));
    double size = HeaderReal(db, "$PDSIZE", 40, 0.0);
    if (size <= 0.0) {
        const AcDbExtents view = d->viewExtents();
        const double height = view.isValid() ? view.maxPoint().y - view.minPoint().y : 0.0;
        size = height * (size < 0.0 ? -size / 100.0 : 0.05);
    }
    long long figure = mode & 7;
    if (figure > 4) figure = 0;
    if (!(size > 0.0) || !Ok(size)) return figure == 1 && !(mode & 96) ? false : Dot(d, p);
    const double a = r.realOf(50, 0.0) * kDegToRad, h = size / 2.0;
    const AcGeVector3d x(std::cos(a) * h, std::sin(a) * h, 0.0), y(-x.y, x.x, 0.0);
    bool stop = false;
    if (figure == 0) stop = Dot(d, p);
    else if (figure == 2) stop = Polyline(d, {p - x, p + x}) || Polyline(d, {p - y, p + y});
    else if (figure == 3) stop = Polyline(d, {p - x - y, p + x + y}) || Polyline(d, {p - x + y, p + x - y});
    else if (figure == 4) stop = Polyline(d, {p, p + y});
    if (!stop && (mode & 32)) stop = d->geometry().circle(p, h);
    if (!stop && (mode & 64)) stop = Polyline(d, {p - x - y, p + x - y, p + x + y, p - x + y}, true);
    return stop;
}

// SOLID and TRACE: a filled quadrilateral of corners 1, 2, 4, 3 (a triangle when 3 and 4 are
// one point), in object coordinates.
bool DrawSolid(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c[4];
    if (!r.pointOf(10, c[0]) || !r.pointOf(11, c[1]) || !r.pointOf(12, c[2])) return false;
    if (!r.pointOf(13, c[3])) c[3] = c[2];
    std::vector<AcGePoint3d> pts;
    for (int k : {0, 1, 3, 2})
        if (pts.empty() || !(c[k] - pts.back()).isZeroLength()) pts.push_back(c[k]);
    if (pts.size() > 1 && (pts.back() - pts.front()).isZeroLength()) pts.pop_back();
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return pts.size() >= 3 ? Polygon(d, pts) : Polyline(d, pts);
}

// 3DFACE: its edges 1-2, 2-3, 3-4, 4-1, each left out when flag 1, 2, 4 or 8 makes it invisible.
bool DrawFace(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c[4];
    if (!r.pointOf(10, c[0]) || !r.pointOf(11, c[1]) || !r.pointOf(12, c[2])) return false;
    if (!r.pointOf(13, c[3])) c[3] = c[2];
    const long long hidden = r.integerOf(70, 0);
    std::vector<AcGePoint3d> run;
    for (int e = 0; e < 4; ++e) {
        if (hidden & (1LL << e)) {
            if (Polyline(d, run)) return true;
            run.clear();
            continue;
        }
        if (run.empty()) run.push_back(c[e]);
        run.push_back(c[(e + 1) % 4]);
    }
    return Polyline(d, run);
}

// The extents the drawing file said it had ($EXTMIN, $EXTMAX); invalid when it said none.
AcDbExtents FileExtents(const AcDbDatabase* db) {
    AcDbExtents box;
    if (!db) return box;
    AcGePoint3d lo, hi;
    bool hasLo = false, hasHi = false;
    for (const auto& [name, groups] : vorn::db::FileDataOf(*db).header) {
        if (name == "$EXTMIN") hasLo = Rec(groups).pointOf(10, lo);
        if (name == "$EXTMAX") hasHi = Rec(groups).pointOf(10, hi);
    }
    if (hasLo && hasHi && lo.x < hi.x && lo.y < hi.y && Ok(lo) && Ok(hi)) box.set(lo, hi);
    return box;
}

// XLINE and RAY: the part within the view. When the sink does not say what it shows, the
// part within the file's extents grown by their size on every side, else a long way either
// side of the base point.
bool DrawConstructionLine(const Rec& r, bool ray, const AcDbDatabase* db, AcGiWorldDraw* d) {
    AcGePoint3d base, dir3;
    if (!r.pointOf(10, base) || !r.pointOf(11, dir3) || !Ok(base)) return false;
    const double len = std::hypot(dir3.x, dir3.y);
    if (!(len > 1e-12)) return Dot(d, base);
    const AcGeVector3d dir(dir3.x / len, dir3.y / len, 0.0);  // the plan shows it at the base's height
    const auto size = [](const AcDbExtents& b) {
        return std::max(b.maxPoint().x - b.minPoint().x, b.maxPoint().y - b.minPoint().y);
    };
    AcDbExtents box = d->viewExtents();
    if (box.isValid() && Ok(box.minPoint()) && Ok(box.maxPoint())) {
        box.expandBy(0.01 * size(box));
    } else if ((box = FileExtents(db)).isValid()) {
        box.addPoint(base);
        box.expandBy(size(box));
    } else {
        const AcGeVector3d reach(kFarReach, kFarReach, 0.0);
        box = AcDbExtents(base - reach, base + reach);
    }
    double t0 = ray ? 0.0 : -HUGE_VAL, t1 = HUGE_VAL;
    const double lo[2] = {box.minPoint().x, box.minPoint().y}, hi[2] = {box.maxPoint().x, box.maxPoint().y};
    const double o[2] = {base.x, base.y}, v[2] = {dir.x, dir.y};
    for (int k = 0; k < 2; ++k) {
        if (std::fabs(v[k]) < 1e-15) {
            if (o[k] < lo[k] || o[k] > hi[k]) return false;
            continue;
        }
        double a = (lo[k] - o[k]) / v[k], b = (hi[k] - o[k]) / v[k];
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a), t1 = std::min(t1, b);
    }
    if (!(t1 >= t0)) return false;
    return Polyline(d, {base + dir * t0, base + dir * t1});
}

// ---- blocks drawn for an entity ----

// The block the record names in group 2, placed by m (after its base point goes to the origin).
bool DrawBlock(const AcDbKeptEntity& e, const Rec& r, const AcGeMatrix3d& m, AcGiWorldDraw* d) {
    AcDbDatabase* db = e.database();
    const size_t at = r.find(2);
    if (!db || at >= r.size() || r.text(at).empty()) return false;
    const auto* block = AcDbBlockTableRecord::cast(db->peekObject(db->findBlock(Wide(r.text(at)))));
    if (!block) return false;
    return vorn::db::DrawBlockAt(block, m * AcGeMatrix3d::translation(-block->origin().asVector()), &e, d);
}

// A dimension's block holds its lines, arrows and text where they show; a copy made by a
// block's insertion keeps the block and says how far it moved (group 12).
bool DrawDimension(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d moved;
    r.pointOf(12, moved);
    return DrawBlock(e, r, OcsToWorld(Normal(r)) * AcGeMatrix3d::translation(moved.asVector()), d);
}

// A table's block is laid out from the table's insertion point.
bool DrawTable(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d at;
    r.pointOf(10, at, 0, r.findText(100, "AcDbTable"));
    return DrawBlock(e, r, AcGeMatrix3d::translation(at.asVector()), d);
}

// An array of block references (MINSERT), or a reference out of the plan: columns and rows
// at their spacing in the reference's own turned frame.
bool DrawArray(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d pos;
    r.pointOf(10, pos);
    const AcGeScale3d scale(r.realOf(41, 1.0), r.realOf(42, 1.0), r.realOf(43, 1.0));
    const double rotation = r.realOf(50, 0.0) * kDegToRad;
    double cols = static_cast<double>(std::max<long long>(1, r.integerOf(70, 1)));
    double rows = static_cast<double>(std::max<long long>(1, r.integerOf(71, 1)));
    cols = std::min(cols, kMaxArrayCopies), rows = std::min(rows, std::floor(kMaxArrayCopies / cols));
    const double dx = r.realOf(44, 0.0), dy = r.realOf(45, 0.0);
    const AcGeMatrix3d frame = OcsToWorld(Normal(r)) * AcGeMatrix3d::translation(pos.asVector()) *
                               AcGeMatrix3d::rotation(rotation, AcGeVector3d::kZAxis);
    for (double row = 0; row < rows; ++row)
        for (double col = 0; col < cols; ++col) {
            const AcGeMatrix3d m =
                frame * AcGeMatrix3d::translation(AcGeVector3d(col * dx, row * dy, 0.0)) * AcGeMatrix3d::scaling(scale);
            if (!m.isFinite()) return false;
            if (DrawBlock(e, r, m, d)) return true;
        }
    return false;
}

// ---- leaders ----

// The arrow size of a dimension style by name, from the drawing's kept DIMSTYLE table (its
// DIMASZ times DIMSCALE), else the drawing's own, else 2.5.
double ArrowSize(const AcDbDatabase* db, const std::string& style) {
    if (!db) return 2.5;
    const auto scaled = [](const Rec& r, int sizeCode, int scaleCode) {
        const double size = r.realOf(sizeCode, -1.0), scale = r.realOf(scaleCode, 1.0);
        return size * (scale > 0.0 ? scale : 1.0);
    };
    for (const auto& t : vorn::db::FileDataOf(*db).tables) {
        if (t.name != "DIMSTYLE") continue;
        for (const AcDbKeptRecord& rec : t.records) {
            const Rec r(rec.groups);
            const size_t name = r.find(2);
            if (name < r.size() && SameText(r.text(name), style.c_str())) {
                const double size = scaled(r, 41, 40);
                if (size >= 0.0) return size;
            }
        }
    }
    double scale = HeaderReal(db, "$DIMSCALE", 40, 1.0);
    if (!(scale > 0.0)) scale = 1.0;
    const double size = HeaderReal(db, "$DIMASZ", 40, -1.0) * scale;
    return size >= 0.0 && Ok(size) ? size : 2.5;
}

bool DrawLeader(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    std::vector<AcGePoint3d> pts;
    AcGePoint3d p;
    for (size_t i = 0; i < r.size(); ++i)
        if (r.code(i) == 10 && r.point(i, p)) pts.push_back(p);
    if (pts.size() < 2) return Polyline(d, pts);
    const std::vector<AcGePoint3d> path = r.integerOf(72, 0) == 1 ? FitCurve(pts, nullptr, nullptr, Tolerance(d)) : pts;
    if (Polyline(d, path)) return true;
    if (r.integerOf(71, 1) == 0) return false;
    const size_t style = r.find(3);
    const double size = ArrowSize(e.database(), style < r.size() ? r.text(style) : "");
    return Arrow(d, pts[0], path.size() > 1 ? path[1] : pts[1], size, (pts[1] - pts[0]).length());
}

// A multileader: each leader line from its arrow to the landing and along the dogleg, and
// the text of its context as a paragraph text.
bool DrawMultiLeader(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const size_t begin = r.findText(300, "CONTEXT_DATA{");
    if (begin >= r.size()) return false;
    const size_t end = std::min(r.findText(301, "}", begin), r.size());
    const size_t firstLeader = std::min(r.findText(302, "LEADER{", begin), end);
    double arrow = r.realOf(140, -1.0, begin, end);
    if (!(arrow > 0.0)) arrow = r.realOf(42, 0.0, end);
    const bool lines = r.integerOf(170, 1, end) != 0;
    bool stop = false;
    for (size_t i = firstLeader; lines && !stop && i < end; i = r.findText(302, "LEADER{", i + 1)) {
        const size_t close = std::min(r.findText(303, "}", i), end);
        AcGePoint3d landing, dogleg;
        const bool hasLanding = r.pointOf(10, landing, i, std::min(r.findText(304, "LEADER_LINE{", i), close));
        const bool hasDogleg = r.pointOf(11, dogleg, i, close);
        const double doglegLength = r.realOf(40, 0.0, i, close);
        for (size_t k = r.findText(304, "LEADER_LINE{", i); !stop && k < close;
             k = r.findText(304, "LEADER_LINE{", k + 1)) {
            const size_t lineEnd = std::min(r.findText(305, "}", k), close);
            std::vector<AcGePoint3d> pts;
            AcGePoint3d p;
            for (size_t j = k; j < lineEnd; ++j)
                if (r.code(j) == 10 && r.point(j, p)) pts.push_back(p);
            if (hasLanding) pts.push_back(landing);
            stop = Polyline(d, pts);
            if (!stop && pts.size() > 1) stop = Arrow(d, pts[0], pts[1], arrow, (pts[1] - pts[0]).length());
        }
        if (!stop && hasLanding && hasDogleg && doglegLength > 0.0)
            stop = Polyline(d, {landing, landing + dogleg.asVector().normal() * doglegLength});
    }
    if (stop) return true;
    // The text: contents, place, height, direction, width and attachment of the context.
    const size_t text = r.find(304, begin);
    if (text >= firstLeader || r.text(text).empty()) return false;
    AcGePoint3d at, dir(1.0, 0.0, 0.0);
    if (!r.pointOf(12, at, begin, firstLeader)) return false;
    r.pointOf(13, dir, begin, firstLeader);
    AcDbMText mtext;
    std::wstring contents = Wide(r.text(text));
    mtext.setContents(contents.c_str());
    mtext.setLocation(at);
    mtext.setTextHeight(std::max(r.realOf(41, 2.5, begin, firstLeader), 1e-9));
    mtext.setWidth(std::max(r.realOf(43, 0.0, begin, firstLeader), 0.0));
    if (std::hypot(dir.x, dir.y) > 0.0) mtext.setRotation(std::atan2(dir.y, dir.x));
    const long long attach = r.integerOf(171, 1, begin, firstLeader);
    mtext.setAttachment(static_cast<AcDbMText::AttachmentPoint>(attach >= 1 && attach <= 9 ? attach : 1));
    const size_t style = r.find(340, begin);
    if (const AcDbDatabase* db = e.database(); db && style < firstLeader) {
        const AcDbObjectId id = vorn::db::IdOfHandle(*db, std::strtoull(r.text(style).c_str(), nullptr, 16));
        if (AcDbTextStyleTableRecord::cast(db->peekObject(id))) mtext.setTextStyle(id);
    }
    return mtext.worldDraw(d);
}

// ---- images, meshes, polylines, curves out of the plan ----

// IMAGE and WIPEOUT: the clip boundary when there is one, else the image's rectangle. Clip
// vertices count pixels from the image's top left corner; the insertion point is the lower
// left corner of pixel (0, 0).
bool DrawImageFrame(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d base, u3, v3, size3(1.0, 1.0, 0.0);
    if (!r.pointOf(10, base) || !r.pointOf(11, u3) || !r.pointOf(12, v3)) return false;
    r.pointOf(13, size3);
    const AcGeVector3d u = u3.asVector(), v = v3.asVector();
    const double h = size3.y;
    const auto at = [&](double x, double y) { return base + u * (x + 0.5) + v * (h - y - 0.5); };
    std::vector<AcGePoint2d> clip;
    AcGePoint3d p;
    const bool clipped = r.integerOf(280, 1) != 0;
    for (size_t i = r.find(91); clipped && i < r.size(); ++i)
        if (r.code(i) == 14 && r.point(i, p)) clip.emplace_back(p.x, p.y);
    if (clip.size() == 2) {
        const AcGePoint2d a = clip[0], b = clip[1];
        clip = {a, AcGePoint2d(b.x, a.y), b, AcGePoint2d(a.x, b.y)};
    }
    std::vector<AcGePoint3d> frame;
    if (clip.size() >= 3) {
        for (const AcGePoint2d& c : clip) frame.push_back(at(c.x, c.y));
        if ((frame.back() - frame.front()).isZeroLength()) frame.pop_back();
    } else {
        frame = {base, base + u * size3.x, base + u * size3.x + v * h, base + v * h};
    }
    return Polyline(d, frame, true);
}

bool DrawMesh(const Rec& r, AcGiWorldDraw* d) {
    std::vector<AcGePoint3d> verts;
    const size_t first = r.find(92);
    const long long count = first < r.size() ? r.integer(first, 0) : 0;
    size_t i = first + 1;
    for (AcGePoint3d p; i < r.size() && static_cast<long long>(verts.size()) < count && r.code(i) != 93; ++i)
        if (r.code(i) == 10) verts.push_back(r.point(i, p) ? p : AcGePoint3d());
    long long size = 0;
    Cursor f(r, r.find(93, std::min(i, r.size())));
    f.take(93, size);
    std::vector<long long> list;
    for (long long k = 0, v = 0; k < size && f.take(90, v); ++k) list.push_back(v);
    for (size_t k = 0; k < list.size();) {
        const long long n = list[k++];
        if (n < 2 || static_cast<size_t>(n) > list.size() - k) break;
        std::vector<AcGePoint3d> face;
        for (long long j = 0; j < n; ++j) {
            const long long v = list[k++];
            if (v >= 0 && static_cast<size_t>(v) < verts.size()) face.push_back(verts[static_cast<size_t>(v)]);
        }
        if (Polyline(d, face, true)) return true;
    }
    return false;
}

// A polyline the host keeps as it is: a 3D polyline, a polygon mesh (its rows and columns),
// a polyface mesh (its visible face edges) or a plan polyline out of the plan or with
// fitted vertices.
bool DrawPolyline(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const long long flags = r.integerOf(70, 0);
    struct Vertex {
        AcGePoint3d p;
        double bulge;
        long long flags;
        long long index[4];
    };
    std::vector<Vertex> verts, faces;
    for (const AcDbKeptRecord& rec : e.following()) {
        if (rec.type != "VERTEX") continue;
        const Rec v(rec.groups);
        Vertex x{AcGePoint3d(), v.realOf(42, 0.0), v.integerOf(70, 0), {}};
        for (int k = 0; k < 4; ++k) x.index[k] = v.integerOf(71 + k, 0);
        const bool face = (x.flags & 192) == 128;
        if (!face && !v.pointOf(10, x.p)) continue;
        (face ? faces : verts).push_back(x);
    }
    if (flags & 64) {
        for (const Vertex& f : faces) {
            int n = 0;
            while (n < 4 && f.index[n] != 0) ++n;
            for (int k = 0; k < n; ++k) {
                const long long a = f.index[k], b = f.index[(k + 1) % n];
                if (a < 0) continue;  // a negative number hides the edge from that vertex
                const long long ia = std::llabs(a) - 1, ib = std::llabs(b) - 1;
                if (ia >= static_cast<long long>(verts.size()) || ib >= static_cast<long long>(verts.size())) continue;
                if (Polyline(d, {verts[static_cast<size_t>(ia)].p, verts[static_cast<size_t>(ib)].p})) return true;
            }
        }
        return false;
    }
    if (flags & 16) {
        const long long m = r.integerOf(71, 0), n = r.integerOf(72, 0);
        const long long count = static_cast<long long>(verts.size());
        if (m < 1 || n < 1 || m > count || n > count || m * n != count) return false;
        const auto at = [&](long long i, long long j) { return verts[static_cast<size_t>(i * n + j)].p; };
        for (long long i = 0; i < m; ++i) {
            std::vector<AcGePoint3d> row;
            for (long long j = 0; j < n; ++j) row.push_back(at(i, j));
            if (Polyline(d, row, (flags & 32) != 0)) return true;
        }
        for (long long j = 0; j < n; ++j) {
            std::vector<AcGePoint3d> col;
            for (long long i = 0; i < m; ++i) col.push_back(at(i, j));
            if (Polyline(d, col, (flags & 1) != 0)) return true;
        }
        return false;
    }
    // A fitted polyline shows its fitted vertices, not its frame.
    std::vector<Vertex> shown;
    for (const Vertex& v : verts)
        if (!(v.flags & 16)) shown.push_back(v);
    const bool closed = (flags & 1) != 0;
    if (flags & 8) {
        std::vector<AcGePoint3d> pts;
        for (const Vertex& v : shown) pts.push_back(v.p);
        return Polyline(d, pts, closed);
    }
    std::vector<vorn::db::BulgeVertex> path;
    for (const Vertex& v : shown) {
        vorn::db::BulgeVertex b;
        b.point = AcGePoint2d(v.p.x, v.p.y);
        b.bulge = Ok(v.bulge) ? v.bulge : 0.0;
        path.push_back(b);
    }
    AcGePoint3d elevation;
    r.pointOf(10, elevation);
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return Polyline(d, Lift(vorn::db::FlattenPath(path, closed, Tolerance(d)), elevation.z), closed);
}

// CIRCLE, ARC and LWPOLYLINE whose plane is not the plan's.
bool DrawTilted(const std::string& type, const Rec& r, AcGiWorldDraw* d) {
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    if (type == "LWPOLYLINE") {
        std::vector<vorn::db::BulgeVertex> path;
        for (size_t i = 0; i < r.size(); ++i) {
            if (r.code(i) == 42 && !path.empty()) r.real(i, path.back().bulge);
            AcGePoint3d p;
            if (r.code(i) != 10 || !r.point(i, p)) continue;
            vorn::db::BulgeVertex v;
            v.point = AcGePoint2d(p.x, p.y);
            path.push_back(v);
        }
        const bool closed = (r.integerOf(70, 0) & 1) != 0;
        return Polyline(d, Lift(vorn::db::FlattenPath(path, closed, Tolerance(d)), r.realOf(38, 0.0)), closed);
    }
    AcGePoint3d c;
    const double radius = r.realOf(40, 0.0);
    if (!r.pointOf(10, c) || !(radius > 0.0)) return false;
    if (type == "CIRCLE") return d->geometry().circle(c, radius);
    const double start = r.realOf(50, 0.0), end = r.realOf(51, 360.0);
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0.0) sweep += 360.0;
    return d->geometry().circularArc(c, radius, start * kDegToRad, sweep * kDegToRad);
}

// ---- attributes ----

// A TEXT-like record (an attribute): its value at its insertion point, or at its alignment
// point for the other justifications, in its own plane.
bool DrawTextRecord(const Rec& r, const std::wstring& value, const AcDbDatabase* db, AcGiWorldDraw* d) {
    if (value.empty()) return false;
    AcGePoint3d at, align;
    if (!r.pointOf(10, at)) return false;
    const bool aligned = r.pointOf(11, align);
    AcDbText t;
    t.setPosition(at);
    t.setAlignmentPoint(aligned ? align : at);
    t.setTextString(value.c_str());
    t.setHeight(std::max(r.realOf(40, 0.0), 0.0));
    t.setRotation(r.realOf(50, 0.0) * kDegToRad);
    const double width = r.realOf(41, 1.0);
    if (width > 0.0) t.setWidthFactor(width);
    t.setOblique(r.realOf(51, 0.0) * kDegToRad);
    const long long h = r.integerOf(72, 0), v = r.integerOf(74, 0);
    if (aligned) {
        t.setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp<long long>(h, 0, 5)));
        t.setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp<long long>(v, 0, 3)));
    }
    const size_t style = r.find(7);
    if (db && style < r.size()) {
        const AcDbObjectId id = db->findTextStyle(Wide(r.text(style)));
        if (!id.isNull()) t.setTextStyle(id);
    }
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return t.worldDraw(d);
}

// The colour and layer a kept record names for itself (ByBlock: the owner's colour; an
// unknown layer: the owner's).
void SetTraitsOf(const Rec& r, const AcDbEntity* owner, AcGiWorldDraw* d) {
    AcCmColor colour;
    const long long aci = r.integerOf(62, 256);
    if (aci >= 0 && aci <= 256) colour.setColorIndex(static_cast<std::uint16_t>(aci));
    const long long rgb = r.integerOf(420, -1);
    if (rgb >= 0 && rgb <= 0xFFFFFF)
        colour.setRGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb));
    d->subEntityTraits().setTrueColor(colour.isByBlock() ? owner->color() : colour);
    AcDbObjectId layer = owner->layerId();
    const size_t name = r.find(8);
    if (const AcDbDatabase* db = owner->database(); db && name < r.size()) {
        const AcDbObjectId id = db->findLayer(Wide(r.text(name)));
        if (!id.isNull()) layer = id;
    }
    d->subEntityTraits().setLayer(layer);
}

// An attribute definition shows in a block only when constant; outside blocks its tag shows.
bool DrawAttributeDefinition(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const long long flags = r.integerOf(70, 0);
    const AcDbDatabase* db = e.database();
    const bool inSpace = db && (e.ownerId() == db->modelSpaceId() || e.ownerId() == db->paperSpaceId());
    const int code = (flags & 2) ? 1 : inSpace ? 2 : -1;
    if (code < 0 || (flags & 1)) return false;
    const size_t at = r.find(code);
    return at < r.size() && DrawTextRecord(r, Wide(r.text(at)), db, d);
}

}  // namespace

namespace vorn::db {

// The visible attributes a block reference keeps after it in the file, drawn with their own
// colour and layer; the owner's traits are set again afterwards.
bool DrawKeptAttributes(const AcDbEntity* owner, AcGiWorldDraw* draw) {
    const AcDbKeptData* kept = owner ? owner->keptData() : nullptr;
    if (!kept || !draw) return false;
    bool stop = false, any = false;
    for (const AcDbKeptRecord& rec : kept->following) {
        if (rec.type != "ATTRIB") continue;
        const Rec r(rec.groups);
        if (r.integerOf(70, 0) & 1) continue;  // invisible
        const size_t value = r.find(1);
        if (value >= r.size() || r.text(value).empty()) continue;
        SetTraitsOf(r, owner, draw);
        any = true;
        if ((stop = DrawTextRecord(r, Wide(r.text(value)), owner->database(), draw) || draw->regenAbort())) break;
    }
    if (any) {
        draw->subEntityTraits().setTrueColor(owner->color());
        draw->subEntityTraits().setLayer(owner->layerId());
    }
    return stop;
}

namespace detail {

// The box of what a kept entity draws, for the kinds whose groups' points alone miss part of
// it (a hatch's arcs, a dimension's text, the curve of a spline); false for the others.
bool KeptDrawnExtents(const AcDbKeptEntity& e, AcDbExtents& extents) {
    const std::string& type = e.type();
    extents.reset();
    if (type == "HATCH") {
        const Rec r(e.groups());
        Hatch h;
        if (!ReadHatch(r, vorn::ge::kArcChordTol, h)) return false;
        const AcGeMatrix3d m = OcsToWorld(h.normal);
        for (const HatchLoop& l : h.loops)
            for (const AcGePoint2d& p : l.points) extents.addPoint(m * AcGePoint3d(p.x, p.y, h.elevation));
        return extents.isValid();
    }
    static const char* const kDrawn[] = {"DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "ACAD_TABLE",
                                         "MULTILEADER", "MLEADER", "SPLINE", "ELLIPSE", "CIRCLE", "ARC",
                                         "LWPOLYLINE", "INSERT", "LEADER"};
    bool drawn = false;
    for (const char* k : kDrawn) drawn = drawn || type == k;
    if (!drawn) return false;
    GiCollector sink;
    e.worldDraw(&sink);
    extents = sink.extents();
    return extents.isValid();
}

}  // namespace detail
}  // namespace vorn::db

bool AcDbKeptEntity::worldDraw(AcGiWorldDraw* draw) const {
    if (!draw) return false;
    const Rec r(groups());
    const std::string& t = m_type;
    if (t == "HATCH") return DrawHatch(r, database(), draw);
    if (t == "SPLINE") return DrawSpline(r, draw);
    if (t == "ELLIPSE") return DrawEllipse(r, draw);
    if (t == "POINT") return DrawPoint(r, database(), draw);
    if (t == "SOLID" || t == "TRACE") return DrawSolid(r, draw);
    if (t == "3DFACE") return DrawFace(r, draw);
    if (t == "XLINE" || t == "RAY") return DrawConstructionLine(r, t == "RAY", database(), draw);
    if (t == "DIMENSION" || t == "ARC_DIMENSION" || t == "LARGE_RADIAL_DIMENSION") return DrawDimension(*this, r, draw);
    if (t == "ACAD_TABLE") return DrawTable(*this, r, draw);
    if (t == "LEADER") return DrawLeader(*this, r, draw);
    if (t == "MULTILEADER" || t == "MLEADER") return DrawMultiLeader(*this, r, draw);
    if (t == "IMAGE" || t == "WIPEOUT") return DrawImageFrame(r, draw);
    if (t == "MESH") return DrawMesh(r, draw);
    if (t == "POLYLINE") return DrawPolyline(*this, r, draw);
    if (t == "CIRCLE" || t == "ARC" || t == "LWPOLYLINE") return DrawTilted(t, r, draw);
    if (t == "ATTDEF") return DrawAttributeDefinition(*this, r, draw);
    if (t == "INSERT") return DrawArray(*this, r, draw) || vorn::db::DrawKeptAttributes(this, draw);
    return false;
}
