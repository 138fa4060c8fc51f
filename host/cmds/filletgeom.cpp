// Fillet arcs between lines and arcs: every circle of the radius tangent to both curves is a
// candidate (its centre lies where the curves' offsets meet); the pick points choose one.
#include "host/cmds/filletgeom.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "host/ge/getol.h"

namespace vorn::cmds {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double NormAngle(double a) {
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}
// The counter-clockwise turn from one angle to another, in [0, 2pi).
double Ccw(double from, double to) { return NormAngle(to - from); }
double AngleOf(const AcGePoint3d& c, const AcGePoint3d& p) { return NormAngle(std::atan2(p.y - c.y, p.x - c.x)); }
double Cross(const AcGeVector3d& a, const AcGeVector3d& b) { return a.x * b.y - a.y * b.x; }
AcGeVector3d Unit(const AcGeVector3d& v) {
    const double len = std::hypot(v.x, v.y);
    return len > 0 ? AcGeVector3d(v.x / len, v.y / len, 0) : AcGeVector3d(0, 0, 0);
}
AcGePoint3d Flat(const AcGePoint3d& p) { return AcGePoint3d(p.x, p.y, 0); }

// The distance below which two points meet, for coordinates up to `scale`: doubles carry about
// 16 digits, so at 1e7 mm round-off alone reaches 1e-9 mm.
double Tolerance(double scale) { return std::max(vorn::ge::kPointTol, 1e-12 * scale); }

// An offset of a curve: an unbounded line (point and unit direction) or a full circle.
struct Offset {
    bool line = true;
    AcGePoint3d p;
    AcGeVector3d d;
    double r = 0;
};

std::vector<Offset> Offsets(const FilletCurve& c, double radius) {
    std::vector<Offset> out;
    if (c.kind == FilletCurve::kLine) {
        const AcGeVector3d d = Unit(c.end - c.start);
        const AcGeVector3d n(-d.y, d.x, 0);
        out.push_back({true, c.start + n * radius, d, 0});
        if (radius > 0) out.push_back({true, c.start - n * radius, d, 0});
    } else {
        out.push_back({false, c.centre, {}, c.radius + radius});
        if (radius > 0 && std::fabs(c.radius - radius) > 0)
            out.push_back({false, c.centre, {}, std::fabs(c.radius - radius)});
    }
    return out;
}

void LineLine(const Offset& a, const Offset& b, std::vector<AcGePoint3d>& out) {
    const double den = Cross(a.d, b.d);
    if (std::fabs(den) < 1e-12) return;
    const double s = Cross(b.p - a.p, b.d) / den;
    out.push_back(a.p + a.d * s);
}

void LineCircle(const Offset& l, const Offset& c, double tol, std::vector<AcGePoint3d>& out) {
    const AcGePoint3d foot = l.p + l.d * (c.p - l.p).dotProduct(l.d);
    const double h = std::hypot(c.p.x - foot.x, c.p.y - foot.y);
    if (h > c.r + tol) return;
    if (std::fabs(h - c.r) <= tol) {
        out.push_back(foot);
        return;
    }
    const double m = std::sqrt(std::max(0.0, c.r * c.r - h * h));
    out.push_back(foot + l.d * m);
    out.push_back(foot - l.d * m);
}

void CircleCircle(const Offset& a, const Offset& b, double tol, std::vector<AcGePoint3d>& out) {
    const AcGeVector3d v = b.p - a.p;
    const double dist = std::hypot(v.x, v.y);
    if (dist <= tol || dist > a.r + b.r + tol || dist < std::fabs(a.r - b.r) - tol) return;
    const AcGeVector3d u = v / dist;
    const double along = (a.r * a.r - b.r * b.r + dist * dist) / (2 * dist);
    const double h = std::sqrt(std::max(0.0, a.r * a.r - along * along));
    const AcGePoint3d mid = a.p + u * along;
    const AcGeVector3d n(-u.y, u.x, 0);
    out.push_back(mid + n * h);
    if (h > tol) out.push_back(mid - n * h);
}

void Meet(const Offset& a, const Offset& b, double tol, std::vector<AcGePoint3d>& out) {
    if (a.line && b.line) LineLine(a, b, out);
    else if (a.line) LineCircle(a, b, tol, out);
    else if (b.line) LineCircle(b, a, tol, out);
    else CircleCircle(a, b, tol, out);
}

// -1, 0 or 1: which side of the curve (left of a line, inside/outside a circle) p lies on.
int SideOf(const FilletCurve& c, const AcGePoint3d& p, double tol) {
    double s;
    if (c.kind == FilletCurve::kLine) s = Cross(Unit(c.end - c.start), p - c.start);
    else s = std::hypot(p.x - c.centre.x, p.y - c.centre.y) - c.radius;
    return s > tol ? 1 : (s < -tol ? -1 : 0);
}

bool OnArc(const FilletCurve& c, double angle) {
    return Ccw(c.startAngle, angle) <= Ccw(c.startAngle, c.endAngle) + vorn::ge::kAngleTol;
}

AcGePoint3d ClosestOnCurve(const FilletCurve& c, const AcGePoint3d& p) {
    if (c.kind == FilletCurve::kLine) {
        const AcGeVector3d v = c.end - c.start;
        const double t = std::clamp((p - c.start).dotProduct(v) / v.lengthSqrd(), 0.0, 1.0);
        return c.start + v * t;
    }
    const double a = AngleOf(c.centre, p);
    const AcGePoint3d s = c.centre + AcGeVector3d(std::cos(c.startAngle), std::sin(c.startAngle), 0) * c.radius;
    const AcGePoint3d e = c.centre + AcGeVector3d(std::cos(c.endAngle), std::sin(c.endAngle), 0) * c.radius;
    if (OnArc(c, a)) return c.centre + AcGeVector3d(std::cos(a), std::sin(a), 0) * c.radius;
    return p.distanceTo(s) <= p.distanceTo(e) ? s : e;
}

// Where the fillet circle (centre f, radius r) touches the curve; false for a concentric arc.
bool TouchPoint(const FilletCurve& c, const AcGePoint3d& f, double r, AcGePoint3d& t) {
    if (c.kind == FilletCurve::kLine) {
        const AcGeVector3d d = Unit(c.end - c.start);
        t = c.start + d * (f - c.start).dotProduct(d);
        return true;
    }
    const AcGeVector3d u = Unit(f - c.centre);
    if (u.isZeroLength()) return false;
    const AcGePoint3d near = c.centre + u * c.radius, far = c.centre - u * c.radius;
    t = std::fabs(near.distanceTo(f) - r) <= std::fabs(far.distanceTo(f) - r) ? near : far;
    return true;
}

// The curve cut or extended to end at t, keeping the part on the pick's side of the corner
// (where the two curves meet; t itself when they do not), so that a pick between the corner
// and t chooses the part beyond t; `into` is the direction from t into the kept part. False
// when nothing of the curve would be left.
bool Trim(const FilletCurve& c, const AcGePoint3d& t, const AcGePoint3d& corner, const AcGePoint3d& pick,
          double tol, FilletCurve& out, AcGeVector3d& into) {
    out = c;
    if (c.kind == FilletCurve::kLine) {
        const AcGeVector3d d = Unit(c.end - c.start);
        const double len = (c.end - c.start).dotProduct(d);
        const double ut = (t - c.start).dotProduct(d), up = (pick - c.start).dotProduct(d);
        const double uc = (corner - c.start).dotProduct(d);
        bool keepEnd = up > uc;
        if (std::fabs(up - uc) <= tol) keepEnd = len - uc > uc;
        if (keepEnd) {
            if (len - ut <= tol) return false;
            out.start = t;
            into = d;
        } else {
            if (ut <= tol) return false;
            out.end = t;
            into = -d;
        }
        out.start.z = out.end.z = 0;
        return true;
    }
    const double at = AngleOf(c.centre, t), ap = AngleOf(c.centre, pick), ac = AngleOf(c.centre, corner);
    const double a0 = c.startAngle, a1 = c.endAngle, eps = vorn::ge::kAngleTol;
    // Keeping the end (from the corner counter-clockwise to a1) or the start (a0 to it).
    const bool endHoldsPick = Ccw(ac, ap) <= Ccw(ac, a1) + eps;
    const bool startHoldsPick = Ccw(a0, ap) <= Ccw(a0, ac) + eps;
    const double moveStart = std::min(Ccw(a0, ac), Ccw(ac, a0));
    const double moveEnd = std::min(Ccw(a1, ac), Ccw(ac, a1));
    bool keepEnd;
    if (endHoldsPick && startHoldsPick) keepEnd = moveStart <= moveEnd;
    else if (endHoldsPick || startHoldsPick) keepEnd = endHoldsPick;
    else return false;
    const double sweep = keepEnd ? Ccw(at, a1) : Ccw(a0, at);
    if (sweep * c.radius <= tol) return false;
    if (keepEnd) {
        out.startAngle = at;
        into = AcGeVector3d(-std::sin(at), std::cos(at), 0);
    } else {
        out.endAngle = at;
        into = AcGeVector3d(std::sin(at), -std::cos(at), 0);
    }
    return true;
}

double Scale(const FilletCurve& c) {
    if (c.kind == FilletCurve::kLine)
        return std::max({std::fabs(c.start.x), std::fabs(c.start.y), std::fabs(c.end.x), std::fabs(c.end.y)});
    return std::max({std::fabs(c.centre.x), std::fabs(c.centre.y), c.radius});
}

bool Usable(const FilletCurve& c, double tol) {
    if (c.kind == FilletCurve::kLine)
        return std::isfinite(c.start.x + c.start.y + c.end.x + c.end.y) &&
               std::hypot(c.end.x - c.start.x, c.end.y - c.start.y) > tol;
    return std::isfinite(c.centre.x + c.centre.y + c.radius + c.startAngle + c.endAngle) && c.radius > tol;
}

bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

FilletCurve FilletCurve::Line(const AcGePoint3d& a, const AcGePoint3d& b) {
    FilletCurve c;
    c.kind = kLine;
    c.start = Flat(a);
    c.end = Flat(b);
    return c;
}

FilletCurve FilletCurve::Arc(const AcGePoint3d& centre, double r, double a0, double a1) {
    FilletCurve c;
    c.kind = kArc;
    c.centre = Flat(centre);
    c.radius = r;
    c.startAngle = NormAngle(a0);
    c.endAngle = NormAngle(a1);
    return c;
}

FilletResult ComputeFillet(const FilletCurve& c1, const AcGePoint3d& pick1, const FilletCurve& c2,
                           const AcGePoint3d& pick2, double radius) {
    FilletResult best;
    const double tol = Tolerance(std::max(Scale(c1), Scale(c2)));
    if (!std::isfinite(radius) || radius < 0 || !Usable(c1, tol) || !Usable(c2, tol) ||
        !Finite(pick1) || !Finite(pick2)) {
        best.status = FilletStatus::kDegenerate;
        return best;
    }
    const AcGePoint3d p1 = ClosestOnCurve(c1, Flat(pick1)), p2 = ClosestOnCurve(c2, Flat(pick2));

    // Where the curves themselves meet: the corners a fillet can round.
    std::vector<AcGePoint3d> corners;
    for (const Offset& a : Offsets(c1, 0.0))
        for (const Offset& b : Offsets(c2, 0.0)) Meet(a, b, tol, corners);

    std::vector<AcGePoint3d> centres;
    for (const Offset& a : Offsets(c1, radius))
        for (const Offset& b : Offsets(c2, radius)) Meet(a, b, tol, centres);
    if (centres.empty() && c1.kind == FilletCurve::kLine && c2.kind == FilletCurve::kLine) {
        best.status = FilletStatus::kParallel;
        return best;
    }

    // The picks choose the corner: of the places where the curves (extended) meet, the one
    // nearest both picks. A fillet of another corner (a line meeting a circle at its far side
    // too) would stretch both curves across the drawing to reach it.
    const AcGePoint3d* picked = nullptr;
    for (const AcGePoint3d& x : corners)
        if (!picked || x.distanceTo(p1) + x.distanceTo(p2) < picked->distanceTo(p1) + picked->distanceTo(p2))
            picked = &x;

    double bestScore = std::numeric_limits<double>::infinity();
    for (const AcGePoint3d& f : centres) {
        if (!Finite(f)) continue;
        // The centre lies in the corner both kept parts bound: on the side of each curve where
        // the other curve's pick is.
        const int s1 = SideOf(c1, f, tol), q1 = SideOf(c1, p2, tol);
        const int s2 = SideOf(c2, f, tol), q2 = SideOf(c2, p1, tol);
        if (s1 * q1 < 0 || s2 * q2 < 0) continue;
        FilletResult r;
        if (!TouchPoint(c1, f, radius, r.tangent1) || !TouchPoint(c2, f, radius, r.tangent2)) continue;
        // The corner this fillet rounds: the meeting point nearest its tangent points.
        const AcGePoint3d between = r.tangent1 + (r.tangent2 - r.tangent1) * 0.5;
        const AcGePoint3d* corner = nullptr;
        for (const AcGePoint3d& x : corners)
            if (!corner || x.distanceTo(between) < corner->distanceTo(between)) corner = &x;
        if (corner != picked) continue;
        AcGeVector3d k1, k2;
        if (!Trim(c1, r.tangent1, corner ? *corner : r.tangent1, p1, tol, r.first, k1) ||
            !Trim(c2, r.tangent2, corner ? *corner : r.tangent2, p2, tol, r.second, k2))
            continue;
        if (radius > 0) {
            // The arc must continue both kept parts smoothly: it leaves curve 1 against the
            // direction into it and enters curve 2 along the direction into it.
            const AcGeVector3d r1 = Unit(r.tangent1 - f), r2 = Unit(r.tangent2 - f);
            const AcGeVector3d ccw1(-r1.y, r1.x, 0), ccw2(-r2.y, r2.x, 0);
            const bool ccw = ccw1.dotProduct(k1) < 0;
            if ((ccw ? ccw2 : -ccw2).dotProduct(k2) <= 0) continue;
            const double a1 = AngleOf(f, r.tangent1), a2 = AngleOf(f, r.tangent2);
            r.arc = ccw ? FilletCurve::Arc(f, radius, a1, a2) : FilletCurve::Arc(f, radius, a2, a1);
            // A fillet turns less than half a circle; a longer arc would loop around a corner
            // whose tangent points lie beyond the curves' far ends.
            const double sweep = Ccw(r.arc.startAngle, r.arc.endAngle);
            if (sweep * radius <= tol || sweep > kPi + vorn::ge::kAngleTol) continue;
            r.hasArc = true;
        }
        const double score = r.tangent1.distanceTo(p1) + r.tangent2.distanceTo(p2);
        if (score < bestScore) {
            bestScore = score;
            best = r;
            best.status = FilletStatus::kOk;
        }
    }
    return best;
}

}  // namespace vorn::cmds
