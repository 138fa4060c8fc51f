// Plane affine transforms (rotation, translation, scale, mirror) applied to points and curves.
#pragma once

#include "geometry/KyGePoint.h"

class KyGeMatrix {
public:
    // Row-major 2x3: x' = m[0][0]x + m[0][1]y + m[0][2], y' = m[1][0]x + m[1][1]y + m[1][2].
    double m[2][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}};

    KyGeMatrix() = default;

    static KyGeMatrix CreateRotateMatrix(double angle, const KyGePoint& centre = KyGePoint());
    static KyGeMatrix CreateTranslateMatrix(const KyGeVector2d& offset);
    static KyGeMatrix CreateScaleMatrix(double scale, const KyGePoint& centre = KyGePoint());
    // Mirror in the line through a and b; identity when a and b coincide.
    static KyGeMatrix CreateMirrorMatrix(const KyGePoint& a, const KyGePoint& b);

    // this * other: other is applied first.
    KyGeMatrix operator*(const KyGeMatrix& other) const;
    KyGePoint Transform(const KyGePoint& p) const;   // z kept
    KyGeVector2d Transform(const KyGeVector2d& v) const;
    double Determinant() const { return m[0][0] * m[1][1] - m[0][1] * m[1][0]; }
    // Keeps circles circles: a rotation, mirror, translation and uniform scale only.
    bool IsConformal() const;
    // The uniform scale of a conformal matrix.
    double Scale() const;
    // False (out unchanged) when singular.
    bool Inverse(KyGeMatrix& out) const;
};
