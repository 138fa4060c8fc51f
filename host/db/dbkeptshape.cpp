// Reading the groups of kept entities and the shapes they share: checked primitives and curves.
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

// ---- primitives with their points checked ----

bool Polyline(AcGiWorldDraw* d, const std::vector<AcGePoint3d>& pts, bool closed) {
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

namespace {
// The blossom of span k at the parameters t[0..p-1]: de Boor's scheme with parameter t[r - 1]
// at step r. With every t the same it is the curve's point there; with c and d mixed, the
// control points of the piece between c and d.
AcGePoint3d Blossom(const Nurbs& s, size_t k, const double* t, double* d) {
    const size_t p = static_cast<size_t>(s.degree);
    for (size_t j = 0; j <= p; ++j) {
        const AcGePoint3d& q = s.points[k - p + j];
        const double w = s.weights[k - p + j];
        d[4 * j] = q.x * w, d[4 * j + 1] = q.y * w, d[4 * j + 2] = q.z * w, d[4 * j + 3] = w;
    }
    for (size_t r = 1; r <= p; ++r)
        for (size_t j = p; j >= r; --j) {
            const size_t i = k - p + j;
            const double span = s.knots[i + p + 1 - r] - s.knots[i];
            const double a = span > 0.0 ? std::clamp((t[r - 1] - s.knots[i]) / span, 0.0, 1.0) : 0.0;
            for (size_t c = 0; c < 4; ++c) d[4 * j + c] = (1.0 - a) * d[4 * (j - 1) + c] + a * d[4 * j + c];
        }
    const double w = d[4 * p + 3];
    return AcGePoint3d(d[4 * p] / w, d[4 * p + 1] / w, d[4 * p + 2] / w);
}

}  // namespace

// The point at u of span k (knots[k] <= u <= knots[k + 1]) by de Boor's scheme on the
// homogeneous points.
AcGePoint3d DeBoor(const Nurbs& s, size_t k, double u, std::vector<double>& d) {
    const size_t p = static_cast<size_t>(s.degree);
    d.assign(p + 4 * (p + 1), u);  // the parameter at each step, then the points
    return Blossom(s, k, d.data(), d.data() + p);
}

namespace {

// The spans Flatten draws, each with its number of chords: enough that the curve strays less
// than about tol (judged from the span's control polygon), all within the point limit.
std::vector<std::pair<size_t, int>> SpanChords(const Nurbs& s, double tol) {
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
    const double cut = total > kMaxCurvePoints ? kMaxCurvePoints / total : 1.0;
    for (auto& span : spans) span.second = std::max(1, static_cast<int>(span.second * cut));
    return spans;
}

// The parameter of chord end i of m in span k.
double ChordEnd(const Nurbs& s, size_t k, int i, int m) {
    const double a = s.knots[k], b = s.knots[k + 1];
    return i == m ? b : a + (b - a) * i / m;
}

}  // namespace

std::vector<AcGePoint3d> Flatten(const Nurbs& s, double tol) {
    std::vector<AcGePoint3d> out;
    const std::vector<std::pair<size_t, int>> spans = SpanChords(s, tol);
    if (spans.empty()) return out;
    std::vector<double> work;
    out.push_back(DeBoor(s, spans.front().first, s.knots[spans.front().first], work));
    for (const auto& [k, m] : spans)
        for (int i = 1; i <= m; ++i) out.push_back(DeBoor(s, k, ChordEnd(s, k, i, m), work));
    return out;
}

bool FlattenedBox(const Nurbs& s, double tol, AcDbExtents& box) {
    // A piece of the curve lies in the box of its control points. That holds for the computed
    // points within rounding, far less than the margin by which a piece's box must lie inside
    // what was found for its chord ends to be passed over. Only for equal weights, where the
    // rounding stays that small, and points far from the limit of what is drawn.
    const size_t p = static_cast<size_t>(s.degree);
    if (p > static_cast<size_t>(kMaxDegree)) return false;
    double size = 0.0;
    bool flat = true;  // every point at height 0: so is every point of the curve, exactly
    for (size_t j = 0; j < s.points.size(); ++j) {
        const AcGePoint3d& q = s.points[j];
        if (!Ok(q) || s.weights[j] != s.weights[0]) return false;
        size = std::max({size, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
        flat = flat && q.z == 0.0;
    }
    if (!(size < kFar / 2)) return false;
    const double margin = 1e-9 * size + 1e-300;
    box.reset();
    const std::vector<std::pair<size_t, int>> spans = SpanChords(s, tol);
    if (spans.empty()) return true;
    std::vector<double> work;
    double t[kMaxDegree], d[4 * (kMaxDegree + 1)];
    // The ends of every span first: most of each piece then lies inside.
    box.addPoint(DeBoor(s, spans.front().first, s.knots[spans.front().first], work));
    for (const auto& [k, m] : spans) box.addPoint(DeBoor(s, k, ChordEnd(s, k, m, m), work));
    const auto inside = [&](size_t k, double c, double e) {
        for (size_t j = 0; j <= p; ++j) {
            for (size_t r = 0; r < p; ++r) t[r] = r < j ? e : c;
            const AcGePoint3d q = Blossom(s, k, t, d);
            const AcGePoint3d& lo = box.minPoint();
            const AcGePoint3d& hi = box.maxPoint();
            if (!(q.x - margin >= lo.x && q.x + margin <= hi.x && q.y - margin >= lo.y && q.y + margin <= hi.y &&
                  (flat || (q.z - margin >= lo.z && q.z + margin <= hi.z))))
                return false;
        }
        return true;
    };
    // Chord ends i0 < i < i1 of span k, those at i0 and i1 already in the box.
    const auto between = [&](auto&& self, size_t k, int m, int i0, int i1) -> void {
        if (i1 - i0 < 2 || inside(k, ChordEnd(s, k, i0, m), ChordEnd(s, k, i1, m))) return;
        if (i1 - i0 <= 4) {
            for (int i = i0 + 1; i < i1; ++i) box.addPoint(DeBoor(s, k, ChordEnd(s, k, i, m), work));
            return;
        }
        const int mid = (i0 + i1) / 2;
        box.addPoint(DeBoor(s, k, ChordEnd(s, k, mid, m), work));
        self(self, k, m, i0, mid);
        self(self, k, m, mid, i1);
    };
    for (const auto& [k, m] : spans) between(between, k, m, 0, m);
    return true;
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


}  // namespace vorn::db::keptshape
