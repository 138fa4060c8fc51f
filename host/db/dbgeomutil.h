// Small numeric helpers shared by the entity files.
#pragma once

#include <cmath>
#include <sstream>
#include <string>

#include "host/ge/ge.h"

namespace vorn::db::detail {

constexpr double kPi = 3.14159265358979323846264338327950288;
constexpr double kTwoPi = 2.0 * kPi;

inline bool Finite(double v) { return std::isfinite(v); }
inline bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
inline bool Finite(const AcGePoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
inline bool Finite(const AcGeVector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// An angle in [0, 2pi); non-finite gives 0.
inline double WrapAngle(double a) {
    if (!std::isfinite(a)) return 0.0;
    a = std::fmod(a, kTwoPi);
    if (a < 0.0) a += kTwoPi;
    if (a >= kTwoPi) a = 0.0;
    return a;
}

// A parameter slack: parameters this far outside a curve's range still count as on it.
constexpr double kParamTol = 1e-9;

inline std::wstring Num(double v) {
    std::wostringstream s;
    s.precision(10);
    s << v;
    return s.str();
}
inline std::wstring Pt(const AcGePoint3d& p) { return L"(" + Num(p.x) + L", " + Num(p.y) + L", " + Num(p.z) + L")"; }

// The rotation angle and uniform scale of a matrix's XY part when it keeps circles round;
// false otherwise. mirrored tells a reflection.
inline bool Similarity(const AcGeMatrix3d& m, double& scale, double& turn, bool& mirrored) {
    double ax = m(0, 0), ay = m(1, 0), bx = m(0, 1), by = m(1, 1);
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (!(la > 0.0) || !std::isfinite(la)) return false;
    if (std::fabs(la - lb) > 1e-9 * la || std::fabs(ax * bx + ay * by) > 1e-9 * la * la) return false;
    // The XY plane must stay the XY plane.
    if (std::fabs(m(2, 0)) > 1e-12 * la || std::fabs(m(2, 1)) > 1e-12 * la) return false;
    scale = la;
    turn = std::atan2(ay, ax);
    mirrored = ax * by - ay * bx < 0.0;
    return true;
}

}  // namespace vorn::db::detail
