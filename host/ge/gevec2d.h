// Plane points and vectors of the host: AcGePoint2d, AcGeVector2d.
#pragma once

#include "host/ge/getol.h"

class AcGeVector2d {
public:
    double x = 0.0, y = 0.0;

    AcGeVector2d() = default;
    AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGeVector2d kIdentity;  // the zero vector, as the platform names it
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
    AcGeVector2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGeVector2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    AcGeVector2d& operator*=(double s) { x *= s; y *= s; return *this; }
    bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
    bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }

    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    // The unit vector; the zero vector stays zero (never NaN).
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
    // Angle from the X axis in [0, 2pi); 0 for the zero vector.
    double angle() const;
    // Counter-clockwise angle from this to v in [0, 2pi).
    double angleTo(const AcGeVector2d& v) const;
    double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The z of the 3-D cross product.
    double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }
    AcGeVector2d perpVector() const { return {-y, x}; }
    AcGeVector2d& rotateBy(double angle);
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    double operator[](int i) const { return i == 0 ? x : y; }
};

inline AcGeVector2d operator*(double s, const AcGeVector2d& v) { return v * s; }

class AcGePoint2d {
public:
    double x = 0.0, y = 0.0;

    AcGePoint2d() = default;
    AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    static const AcGePoint2d kOrigin;

    AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGePoint2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }

    double distanceTo(const AcGePoint2d& p) const;
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d asVector() const { return {x, y}; }
    double operator[](int i) const { return i == 0 ? x : y; }
};
