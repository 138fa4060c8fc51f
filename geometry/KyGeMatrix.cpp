// Plane affine transforms.
#include "geometry/KyGeMatrix.h"

#include <cmath>

KyGeMatrix KyGeMatrix::CreateRotateMatrix(double angle, const KyGePoint& centre) {
    const double c = std::cos(angle), s = std::sin(angle);
    KyGeMatrix r;
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    // Keep the centre fixed: p' = R (p - c) + c.
    r.m[0][2] = centre.x - (c * centre.x - s * centre.y);
    r.m[1][2] = centre.y - (s * centre.x + c * centre.y);
    return r;
}

KyGeMatrix KyGeMatrix::CreateTranslateMatrix(const KyGeVector2d& offset) {
    KyGeMatrix r;
    r.m[0][2] = offset.x;
    r.m[1][2] = offset.y;
    return r;
}

KyGeMatrix KyGeMatrix::CreateScaleMatrix(double scale, const KyGePoint& centre) {
    KyGeMatrix r;
    r.m[0][0] = scale;
    r.m[1][1] = scale;
    r.m[0][2] = centre.x * (1.0 - scale);
    r.m[1][2] = centre.y * (1.0 - scale);
    return r;
}

KyGeMatrix KyGeMatrix::CreateMirrorMatrix(const KyGePoint& a, const KyGePoint& b) {
    const KyGeVector2d d = KyGeVector2d(a, b).Normal();
    KyGeMatrix r;
    if (d.IsZero(0.0)) return r;
    // Reflection about the direction d through a.
    r.m[0][0] = d.x * d.x - d.y * d.y;
    r.m[0][1] = 2.0 * d.x * d.y;
    r.m[1][0] = 2.0 * d.x * d.y;
    r.m[1][1] = d.y * d.y - d.x * d.x;
    r.m[0][2] = a.x - (r.m[0][0] * a.x + r.m[0][1] * a.y);
    r.m[1][2] = a.y - (r.m[1][0] * a.x + r.m[1][1] * a.y);
    return r;
}

KyGeMatrix KyGeMatrix::operator*(const KyGeMatrix& o) const {
    KyGeMatrix r;
    for (int i = 0; i < 2; ++i) {
        r.m[i][0] = m[i][0] * o.m[0][0] + m[i][1] * o.m[1][0];
        r.m[i][1] = m[i][0] * o.m[0][1] + m[i][1] * o.m[1][1];
        r.m[i][2] = m[i][0] * o.m[0][2] + m[i][1] * o.m[1][2] + m[i][2];
    }
    return r;
}

KyGePoint KyGeMatrix::Transform(const KyGePoint& p) const {
    return KyGePoint(m[0][0] * p.x + m[0][1] * p.y + m[0][2], m[1][0] * p.x + m[1][1] * p.y + m[1][2], p.z);
}

KyGeVector2d KyGeMatrix::Transform(const KyGeVector2d& v) const {
    return KyGeVector2d(m[0][0] * v.x + m[0][1] * v.y, m[1][0] * v.x + m[1][1] * v.y);
}

bool KyGeMatrix::IsConformal() const {
    const double c0 = std::hypot(m[0][0], m[1][0]);
    const double c1 = std::hypot(m[0][1], m[1][1]);
    if (!(c0 > g_fZero) || !std::isfinite(c0) || !std::isfinite(c1)) return false;
    const double dot = m[0][0] * m[0][1] + m[1][0] * m[1][1];
    return std::fabs(c0 - c1) <= g_fZero * c0 && std::fabs(dot) <= g_fZero * c0 * c1;
}

double KyGeMatrix::Scale() const { return std::sqrt(std::fabs(Determinant())); }

bool KyGeMatrix::Inverse(KyGeMatrix& out) const {
    const double det = Determinant();
    const double norm = std::fabs(m[0][0]) + std::fabs(m[0][1]) + std::fabs(m[1][0]) + std::fabs(m[1][1]);
    if (!std::isfinite(det) || std::fabs(det) <= g_fZero * norm * norm) return false;
    KyGeMatrix r;
    r.m[0][0] = m[1][1] / det;
    r.m[0][1] = -m[0][1] / det;
    r.m[1][0] = -m[1][0] / det;
    r.m[1][1] = m[0][0] / det;
    r.m[0][2] = -(r.m[0][0] * m[0][2] + r.m[0][1] * m[1][2]);
    r.m[1][2] = -(r.m[1][0] * m[0][2] + r.m[1][1] * m[1][2]);
    out = r;
    return true;
}
