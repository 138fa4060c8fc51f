// Points, vectors, angles and the exact orientation sign.
#include "geometry/KyGePoint.h"

#include <cmath>
#include <vector>

double Distance2d(const KyGePoint& a, const KyGePoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double Distance3d(const KyGePoint& a, const KyGePoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

bool Equal2d(const KyGePoint& a, const KyGePoint& b, double tol) { return Distance2d(a, b) <= tol; }
bool operator==(const KyGePoint& a, const KyGePoint& b) { return Equal2d(a, b); }
bool operator!=(const KyGePoint& a, const KyGePoint& b) { return !Equal2d(a, b); }

KyGePoint MidPoint(const KyGePoint& a, const KyGePoint& b) {
    return KyGePoint((a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5);
}

double GetStdAngle(double angle) {
    if (!std::isfinite(angle)) return 0.0;
    double a = std::fmod(angle, 2.0 * KyGePi);
    if (a < 0.0) a += 2.0 * KyGePi;
    // fmod of a tiny negative angle plus 2*pi can round up to 2*pi itself.
    if (a >= 2.0 * KyGePi) a = 0.0;
    return a;
}

double GetAngle2d(const KyGePoint& from, const KyGePoint& to) { return KyGeVector2d(from, to).GetAngle(); }

KyGePoint PolarPoint(const KyGePoint& p, double angle, double dist) {
    return KyGePoint(p.x + dist * std::cos(angle), p.y + dist * std::sin(angle), p.z);
}

KyGeVector2d::KyGeVector2d(const KyGePoint& from, const KyGePoint& to) : x(to.x - from.x), y(to.y - from.y) {}

KyGeVector2d KyGeVector2d::CreateFromAngle(double angle, double length) {
    return KyGeVector2d(length * std::cos(angle), length * std::sin(angle));
}

double KyGeVector2d::Length() const { return std::hypot(x, y); }

bool KyGeVector2d::SetLength(double length) {
    const double len = Length();
    if (!(len > 0.0) || !std::isfinite(length)) return false;
    x = x / len * length;
    y = y / len * length;
    return true;
}

KyGeVector2d KyGeVector2d::Normal() const {
    const double len = Length();
    if (!(len > 0.0)) return KyGeVector2d();
    return KyGeVector2d(x / len, y / len);
}

double KyGeVector2d::GetAngle() const {
    if (x == 0.0 && y == 0.0) return 0.0;
    return GetStdAngle(std::atan2(y, x));
}

double KyGeVector2d::GetAngleTo(const KyGeVector2d& other) const {
    return GetStdAngle(std::atan2(Cross(other), Dot(other)));
}

bool KyGeVector2d::IsParallelWith(const KyGeVector2d& other, double angTol) const {
    const double la = Length(), lb = other.Length();
    if (!(la > 0.0) || !(lb > 0.0)) return false;
    // |sin| of the angle between them; near 0 for both same and opposite directions.
    return std::fabs(Cross(other)) / (la * lb) <= angTol;
}

bool KyGeVector2d::IsZero(double tol) const { return Length() <= tol; }

KyGeVector2d KyGeVector2d::Rotate(double angle) const {
    const double c = std::cos(angle), s = std::sin(angle);
    return KyGeVector2d(x * c - y * s, x * s + y * c);
}

namespace {

// Adds b to the non-overlapping expansion e exactly (Shewchuk's grow-expansion).
void GrowExpansion(std::vector<double>& e, double b) {
    double q = b;
    std::vector<double> out;
    out.reserve(e.size() + 1);
    for (double ei : e) {
        const double sum = q + ei;
        const double bv = sum - q;
        const double err = (q - (sum - bv)) + (ei - bv);
        if (err != 0.0) out.push_back(err);
        q = sum;
    }
    if (q != 0.0) out.push_back(q);
    e.swap(out);
}

void AddProduct(std::vector<double>& e, double a, double b) {
    const double p = a * b;
    GrowExpansion(e, std::fma(a, b, -p));
    GrowExpansion(e, p);
}

}  // namespace

int Orient2d(const KyGePoint& a, const KyGePoint& b, const KyGePoint& c) {
    const double det = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    const double bound = 1e-14 * (std::fabs((b.x - a.x) * (c.y - a.y)) + std::fabs((b.y - a.y) * (c.x - a.x)));
    if (det > bound) return 1;
    if (det < -bound) return -1;
    // Close call: sum the six products of the expanded determinant exactly.
    std::vector<double> e;
    AddProduct(e, a.x, b.y);
    AddProduct(e, -a.y, b.x);
    AddProduct(e, b.x, c.y);
    AddProduct(e, -b.y, c.x);
    AddProduct(e, c.x, a.y);
    AddProduct(e, -c.y, a.x);
    if (e.empty()) return 0;
    return e.back() > 0.0 ? 1 : -1;
}
