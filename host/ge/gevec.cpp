// Points, vectors and scale triples of the host: the out-of-line operations.
#include <cmath>

#include "host/ge/ge.h"

namespace {
constexpr double kTwoPi = 6.283185307179586476925286766559;

double wrapAngle(double a) {
    if (!std::isfinite(a)) return 0.0;
    a = std::fmod(a, kTwoPi);
    if (a < 0.0) a += kTwoPi;
    if (a >= kTwoPi) a = 0.0;
    return a;
}
}  // namespace

const AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);
const AcGeVector3d AcGeVector3d::kIdentity(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);
const AcGeScale3d AcGeScale3d::kIdentity(1.0, 1.0, 1.0);

// ---- 2-D ----

double AcGeVector2d::length() const { return std::hypot(x, y); }

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
    double len = length();
    if (!(len > tol.equalVector()) || !std::isfinite(len)) return {0.0, 0.0};
    return {x / len, y / len};
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) { return *this = normal(tol); }

double AcGeVector2d::angle() const {
    if (x == 0.0 && y == 0.0) return 0.0;
    return wrapAngle(std::atan2(y, x));
}

double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
    if (isZeroLength() || v.isZeroLength()) return 0.0;
    return wrapAngle(std::atan2(crossProduct(v), dotProduct(v)));
}

AcGeVector2d& AcGeVector2d::rotateBy(double a) {
    double c = std::cos(a), s = std::sin(a);
    double nx = x * c - y * s, ny = x * s + y * c;
    x = nx;
    y = ny;
    return *this;
}

bool AcGeVector2d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }

bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    AcGeVector2d a = normal(tol), b = v.normal(tol);
    if (a.isZeroLength(tol) || b.isZeroLength(tol)) return false;
    return std::fabs(a.crossProduct(b)) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

double AcGePoint2d::distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }

bool AcGePoint2d::isEqualTo(const AcGePoint2d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}

// ---- 3-D ----

double AcGeVector3d::length() const { return std::sqrt(x * x + y * y + z * z); }

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    double len = length();
    if (!(len > tol.equalVector()) || !std::isfinite(len)) return {0.0, 0.0, 0.0};
    return {x / len, y / len, z / len};
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) { return *this = normal(tol); }

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
    if (isZeroLength() || v.isZeroLength()) return 0.0;
    return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const {
    if (isZeroLength() || v.isZeroLength()) return 0.0;
    AcGeVector3d c = crossProduct(v);
    double a = std::atan2(c.length(), dotProduct(v));
    if (c.dotProduct(reference) < 0.0) a = kTwoPi - a;
    return wrapAngle(a);
}

AcGeVector3d AcGeVector3d::perpVector() const {
    if (std::fabs(z) < 0.5 * length() || (x == 0.0 && y == 0.0 && z == 0.0)) return {-y, x, 0.0};
    return {0.0, -z, y};
}

AcGeVector3d& AcGeVector3d::rotateBy(double a, const AcGeVector3d& axis) {
    return transformBy(AcGeMatrix3d::rotation(a, axis));
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }

bool AcGeVector3d::isZeroLength(const AcGeTol& tol) const { return length() <= tol.equalVector(); }

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    AcGeVector3d a = normal(tol), b = v.normal(tol);
    if (a.isZeroLength(tol) || b.isZeroLength(tol)) return false;
    return a.crossProduct(b).length() <= tol.equalVector();
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    AcGeVector3d a = normal(tol), b = v.normal(tol);
    if (a.isZeroLength(tol) || b.isZeroLength(tol)) return false;
    return std::fabs(a.dotProduct(b)) <= tol.equalVector();
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector();
}

double AcGePoint3d::distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }

bool AcGePoint3d::isEqualTo(const AcGePoint3d& p, const AcGeTol& tol) const {
    return distanceTo(p) <= tol.equalPoint();
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) { return *this = m * *this; }

bool AcGeScale3d::isEqualTo(const AcGeScale3d& s, const AcGeTol& tol) const {
    return std::fabs(sx - s.sx) <= tol.equalVector() && std::fabs(sy - s.sy) <= tol.equalVector() &&
           std::fabs(sz - s.sz) <= tol.equalVector();
}

bool AcGeScale3d::isProper() const {
    return std::isfinite(sx) && std::isfinite(sy) && std::isfinite(sz) && sx != 0.0 && sy != 0.0 && sz != 0.0;
}
