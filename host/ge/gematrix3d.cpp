// The host's 4x4 transformation matrix: construction, products, inverse.
#include <cmath>
#include <utility>

#include "host/ge/ge.h"

const AcGeMatrix3d AcGeMatrix3d::kIdentity;

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) {
    AcGeMatrix3d m;
    m.entry[0][3] = v.x;
    m.entry[1][3] = v.y;
    m.entry[2][3] = v.z;
    return m;
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axisIn, const AcGePoint3d& centre) {
    AcGeVector3d axis = axisIn.normal();
    if (axis.isZeroLength()) axis = AcGeVector3d::kZAxis;
    double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    double x = axis.x, y = axis.y, z = axis.z;
    AcGeMatrix3d r;
    r.entry[0][0] = t * x * x + c;
    r.entry[0][1] = t * x * y - s * z;
    r.entry[0][2] = t * x * z + s * y;
    r.entry[1][0] = t * x * y + s * z;
    r.entry[1][1] = t * y * y + c;
    r.entry[1][2] = t * y * z - s * x;
    r.entry[2][0] = t * x * z - s * y;
    r.entry[2][1] = t * y * z + s * x;
    r.entry[2][2] = t * z * z + c;
    AcGeVector3d o = centre.asVector();
    return translation(o) * r * translation(-o);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double factor, const AcGePoint3d& centre) {
    return scaling(AcGeScale3d(factor), centre);
}

AcGeMatrix3d AcGeMatrix3d::scaling(const AcGeScale3d& f, const AcGePoint3d& centre) {
    AcGeMatrix3d s;
    s.entry[0][0] = f.sx;
    s.entry[1][1] = f.sy;
    s.entry[2][2] = f.sz;
    AcGeVector3d o = centre.asVector();
    return translation(o) * s * translation(-o);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& p, const AcGeVector3d& dirIn) {
    AcGeVector3d d = AcGeVector3d(dirIn.x, dirIn.y, 0.0).normal();
    if (d.isZeroLength()) d = AcGeVector3d::kXAxis;
    AcGeMatrix3d m;
    // Reflection across the line: 2 d d^T - I in the plane.
    m.entry[0][0] = 2.0 * d.x * d.x - 1.0;
    m.entry[0][1] = 2.0 * d.x * d.y;
    m.entry[1][0] = 2.0 * d.x * d.y;
    m.entry[1][1] = 2.0 * d.y * d.y - 1.0;
    AcGeVector3d o = p.asVector();
    return translation(o) * m * translation(-o);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normalIn) {
    AcGeVector3d n = normalIn.normal();
    if (n.isZeroLength()) return kIdentity;
    // The arbitrary axis rule: X is Wy x N when N is near the world Z axis, else Wz x N.
    const double limit = 1.0 / 64.0;
    AcGeVector3d ax = (std::fabs(n.x) < limit && std::fabs(n.y) < limit)
                          ? AcGeVector3d::kYAxis.crossProduct(n)
                          : AcGeVector3d::kZAxis.crossProduct(n);
    ax.normalize();
    AcGeVector3d ay = n.crossProduct(ax).normal();
    return alignCoordSys(AcGePoint3d::kOrigin, ax, ay, n);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& origin, const AcGeVector3d& x, const AcGeVector3d& y,
                                         const AcGeVector3d& z) {
    AcGeMatrix3d m;
    const AcGeVector3d* axes[3] = {&x, &y, &z};
    for (int c = 0; c < 3; ++c) {
        m.entry[0][c] = axes[c]->x;
        m.entry[1][c] = axes[c]->y;
        m.entry[2][c] = axes[c]->z;
    }
    m.entry[0][3] = origin.x;
    m.entry[1][3] = origin.y;
    m.entry[2][3] = origin.z;
    return m;
}

AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& a, const AcGeMatrix3d& b) {
    AcGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k) s += a.entry[i][k] * b.entry[k][j];
            r.entry[i][j] = s;
        }
    return *this = r;
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) { return setToProduct(left, *this); }
AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) { return setToProduct(*this, right); }

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
    AcGeMatrix3d r;
    r.setToProduct(*this, m);
    return r;
}

double AcGeMatrix3d::det() const {
    // Determinant of the full 4x4 by cofactor expansion along the first row.
    const double(*e)[4] = entry;
    auto det3 = [&](int c0, int c1, int c2) {
        return e[1][c0] * (e[2][c1] * e[3][c2] - e[2][c2] * e[3][c1]) -
               e[1][c1] * (e[2][c0] * e[3][c2] - e[2][c2] * e[3][c0]) +
               e[1][c2] * (e[2][c0] * e[3][c1] - e[2][c1] * e[3][c0]);
    };
    return e[0][0] * det3(1, 2, 3) - e[0][1] * det3(0, 2, 3) + e[0][2] * det3(0, 1, 3) - e[0][3] * det3(0, 1, 2);
}

bool AcGeMatrix3d::isSingular(const AcGeTol&) const {
    double d = det();
    return !std::isfinite(d) || std::fabs(d) < vorn::ge::kSingularTol;
}

bool AcGeMatrix3d::invert() {
    // Gauss-Jordan elimination with partial pivoting.
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = entry[r][c];
            a[r][c + 4] = r == c ? 1.0 : 0.0;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        // A singular matrix has no inverse: report it and keep the matrix as it was, so a
        // caller that ignores the result still holds a meaningful transform.
        if (!(std::fabs(a[pivot][col]) > vorn::ge::kSingularTol)) return false;
        if (pivot != col)
            for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[col][c]);
        double p = a[col][col];
        for (int c = 0; c < 8; ++c) a[col][c] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == col) continue;
            double f = a[r][col];
            if (f == 0.0) continue;
            for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) entry[r][c] = a[r][c + 4];
    return true;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
    AcGeMatrix3d m = *this;
    if (!m.invert()) m.setToIdentity();
    return m;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
    AcGeMatrix3d m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m.entry[r][c] = entry[c][r];
    return m;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            // Translations compare as points, the linear part as unit-free factors.
            double t = c == 3 ? tol.equalPoint() : tol.equalVector();
            if (!(std::fabs(entry[r][c] - m.entry[r][c]) <= t)) return false;
        }
    return true;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
    AcGeVector3d x(entry[0][0], entry[1][0], entry[2][0]);
    AcGeVector3d y(entry[0][1], entry[1][1], entry[2][1]);
    AcGeVector3d z(entry[0][2], entry[1][2], entry[2][2]);
    double lx = x.length(), ly = y.length(), lz = z.length();
    if (!(lx > tol.equalVector())) return false;
    double rel = 1e-9 * lx;
    if (std::fabs(lx - ly) > rel || std::fabs(lx - lz) > rel) return false;
    return std::fabs(x.dotProduct(y)) <= rel * lx && std::fabs(x.dotProduct(z)) <= rel * lx &&
           std::fabs(y.dotProduct(z)) <= rel * lx;
}

double AcGeMatrix3d::scale() const {
    double best = 0.0;
    for (int c = 0; c < 3; ++c) {
        double l = std::sqrt(entry[0][c] * entry[0][c] + entry[1][c] * entry[1][c] + entry[2][c] * entry[2][c]);
        if (l > best) best = l;
    }
    return best;
}

bool AcGeMatrix3d::isFinite() const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(entry[r][c])) return false;
    return true;
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
    const double(*e)[4] = m.entry;
    return {e[0][0] * p.x + e[0][1] * p.y + e[0][2] * p.z + e[0][3],
            e[1][0] * p.x + e[1][1] * p.y + e[1][2] * p.z + e[1][3],
            e[2][0] * p.x + e[2][1] * p.y + e[2][2] * p.z + e[2][3]};
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    const double(*e)[4] = m.entry;
    return {e[0][0] * v.x + e[0][1] * v.y + e[0][2] * v.z, e[1][0] * v.x + e[1][1] * v.y + e[1][2] * v.z,
            e[2][0] * v.x + e[2][1] * v.y + e[2][2] * v.z};
}
