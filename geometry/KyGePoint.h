// Points and plane vectors, the distance and angle helpers every curve is built on.
#pragma once

#include "geometry/KyGeTol.h"

struct KyGePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr KyGePoint() = default;
    constexpr KyGePoint(double ax, double ay, double az = 0.0) : x(ax), y(ay), z(az) {}
};

// Plane distance (z ignored) and space distance.
double Distance2d(const KyGePoint& a, const KyGePoint& b);
double Distance3d(const KyGePoint& a, const KyGePoint& b);
// Plane equality within tol (z ignored).
bool Equal2d(const KyGePoint& a, const KyGePoint& b, double tol = g_distZero);
// Plane equality within g_distZero, so that != reads as "a different place in the plan".
bool operator==(const KyGePoint& a, const KyGePoint& b);
bool operator!=(const KyGePoint& a, const KyGePoint& b);
// The midpoint of a and b (z averaged too).
KyGePoint MidPoint(const KyGePoint& a, const KyGePoint& b);

// An angle brought into [0, 2*pi); a non-finite angle gives 0.
double GetStdAngle(double angle);
// The angle of the direction from a to b in [0, 2*pi); 0 when the points coincide.
double GetAngle2d(const KyGePoint& from, const KyGePoint& to);
// The point at distance dist from p in direction angle.
KyGePoint PolarPoint(const KyGePoint& p, double angle, double dist);

class KyGeVector2d {
public:
    double x = 0.0;
    double y = 0.0;

    constexpr KyGeVector2d() = default;
    constexpr KyGeVector2d(double ax, double ay) : x(ax), y(ay) {}
    // The vector from a to b.
    KyGeVector2d(const KyGePoint& from, const KyGePoint& to);

    // A vector of the given length (default unit) in direction angle.
    static KyGeVector2d CreateFromAngle(double angle, double length = 1.0);

    double Length() const;
    // Scales to the given length; false (vector unchanged) when it has no direction.
    bool SetLength(double length);
    // A unit vector in the same direction; the zero vector when it has none.
    KyGeVector2d Normal() const;
    // Direction in [0, 2*pi); 0 for the zero vector.
    double GetAngle() const;
    // Counter-clockwise angle from this vector to other in [0, 2*pi).
    double GetAngleTo(const KyGeVector2d& other) const;
    // Same or opposite direction within angTol; false when either is a zero vector.
    bool IsParallelWith(const KyGeVector2d& other, double angTol = g_angleZero) const;
    bool IsZero(double tol = g_distZero) const;

    double Dot(const KyGeVector2d& v) const { return x * v.x + y * v.y; }
    // z of the cross product: positive when v turns counter-clockwise from this.
    double Cross(const KyGeVector2d& v) const { return x * v.y - y * v.x; }
    // Turned by +90 degrees (to the left).
    KyGeVector2d Perp() const { return KyGeVector2d(-y, x); }
    KyGeVector2d Rotate(double angle) const;

    KyGeVector2d operator+(const KyGeVector2d& v) const { return KyGeVector2d(x + v.x, y + v.y); }
    KyGeVector2d operator-(const KyGeVector2d& v) const { return KyGeVector2d(x - v.x, y - v.y); }
    KyGeVector2d operator-() const { return KyGeVector2d(-x, -y); }
    KyGeVector2d operator*(double s) const { return KyGeVector2d(x * s, y * s); }
};

inline KyGePoint operator+(const KyGePoint& p, const KyGeVector2d& v) { return KyGePoint(p.x + v.x, p.y + v.y, p.z); }
inline KyGePoint operator-(const KyGePoint& p, const KyGeVector2d& v) { return KyGePoint(p.x - v.x, p.y - v.y, p.z); }
inline KyGeVector2d operator-(const KyGePoint& a, const KyGePoint& b) { return KyGeVector2d(a.x - b.x, a.y - b.y); }

// Orientation of c against the directed line a->b: +1 left, -1 right, 0 collinear. Decided by
// an exactly rounded sign of the cross product (error-free products), so that topology does not
// flip on rounding.
int Orient2d(const KyGePoint& a, const KyGePoint& b, const KyGePoint& c);
