// Reading the groups of kept entities and drawing their shapes: the pieces that the drawing
// of kept entities (dbkeptdraw.cpp) and of hatches (dbkepthatch.cpp) share. Every value comes
// from a file and may be absurd: counts are bounded by the groups present, work by the limits
// below, and nothing that is not finite reaches a sink. Inside the host's database library only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/dbkept.h"
#include "host/db/gi.h"

namespace vorn::db::keptshape {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kDegToRad = kPi / 180.0;

// ---- limits ----

// Pattern lines of one hatch beyond which it shows as its boundary: a pattern at a tiny scale
// over a whole site would take seconds and read as a smear anyway.
inline constexpr double kMaxHatchLines = 20000;
// Dashes and dots of one hatch (a dot pattern over a lawn) beyond which the same holds.
inline constexpr double kMaxHatchDashes = 200000;
// Crossings of pattern lines with a boundary (a boundary of many fine teeth).
inline constexpr double kMaxHatchCrossings = 1000000;
// Points of one flattened curve, and chords of one knot span.
inline constexpr double kMaxCurvePoints = 20000;
inline constexpr int kMaxSpanChords = 256;
inline constexpr int kMaxDegree = 25;
// Loops times vertices a fill may compare to tell islands from outlines.
inline constexpr double kMaxNestingWork = 4.0e7;
// Half the length of a construction line drawn when the sink does not say what it shows.
inline constexpr double kFarReach = 1.0e6;
// Copies an array reference (MINSERT) draws.
inline constexpr double kMaxArrayCopies = 10000;
// Coordinates beyond this belong to no drawing; such a point is left out.
inline constexpr double kFar = 1.0e12;

inline bool Ok(double v) { return std::isfinite(v) && std::fabs(v) < kFar; }
inline bool Ok(const AcGePoint3d& p) { return Ok(p.x) && Ok(p.y) && Ok(p.z); }
inline bool Ok(const AcGePoint2d& p) { return Ok(p.x) && Ok(p.y); }

// The chord tolerance the sink asks for, or the host's default.
double Tolerance(const AcGiWorldDraw* draw);

// UTF-8 as kept groups hold it, to the host's wide strings (a bad byte becomes U+FFFD).
std::wstring Wide(const std::string& s);

bool SameText(const std::string& a, const char* b);

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
AcGeVector3d Normal(const Rec& r);

// From a record's object coordinates to the world: nothing for the plan; for a plan seen from
// below (0, 0, -1) a mirror in X; other directions tilt the plane, which the plan then shows
// projected.
AcGeMatrix3d OcsToWorld(const AcGeVector3d& n);

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

bool Polyline(AcGiWorldDraw* d, const std::vector<AcGePoint3d>& pts, bool closed = false);

bool Polygon(AcGiWorldDraw* d, const std::vector<AcGePoint3d>& pts);

bool Dot(AcGiWorldDraw* d, const AcGePoint3d& p);

std::vector<AcGePoint3d> Lift(const std::vector<AcGePoint2d>& pts, double z);

// A closed arrowhead of length size at tip, pointing along from -> tip; left out, as plan
// views do, when the leader's first segment (room) is shorter than two arrows.
bool Arrow(AcGiWorldDraw* d, const AcGePoint3d& tip, const AcGePoint3d& from, double size, double room);

// ---- curves ----

// Points of an ellipse C + cos t U + sin t V for t from start through sweep, flattened to tol
// (counted on the larger axis).
void EllipsePoints(const AcGePoint3d& c, const AcGeVector3d& u, const AcGeVector3d& v, double start, double sweep,
                   double tol, std::vector<AcGePoint3d>& out);

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
bool Mend(Nurbs& s);

// The point at u of span k (knots[k] <= u <= knots[k + 1]) by de Boor's scheme on the
// homogeneous points.
AcGePoint3d DeBoor(const Nurbs& s, size_t k, double u, std::vector<double>& d);

// The curve flattened: each span in chords enough that the curve strays less than about tol
// (judged from the span's control polygon), all within the point limit.
std::vector<AcGePoint3d> Flatten(const Nurbs& s, double tol);
// The box of the points Flatten(s, tol) gives, found without evaluating those that cannot
// widen it; false when it cannot tell that way (weights that differ, points out of range):
// then Flatten's own points say it.
bool FlattenedBox(const Nurbs& s, double tol, AcDbExtents& box);

// A smooth curve through fit points: the cubic spline of chord-length parameters with the
// given end tangents (unit vectors), or free ends without them.
std::vector<AcGePoint3d> FitCurve(const std::vector<AcGePoint3d>& fit, const AcGeVector3d* startTangent,
                                  const AcGeVector3d* endTangent, double tol);

// ---- hatches ----

// Draws a HATCH record: its fill, or its pattern clipped to its boundary, or the boundary.
bool DrawHatch(const Rec& r, const AcDbDatabase* db, AcGiWorldDraw* d);
// The box of a HATCH record's boundary, in the world.
bool HatchExtents(const Rec& r, AcDbExtents& extents);

}  // namespace vorn::db::keptshape
