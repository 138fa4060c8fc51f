// The host's 4x4 transformation matrix AcGeMatrix3d (row-major, points as columns: p' = M p).
#pragma once

#include "host/ge/gevec3d.h"

class AcGeMatrix3d {
public:
    double entry[4][4];

    AcGeMatrix3d();  // the identity

    static const AcGeMatrix3d kIdentity;

    static AcGeMatrix3d translation(const AcGeVector3d& v);
    // Rotation by angle (radians, counter-clockwise seen from the tip of axis) about the axis
    // through centre.
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                                 const AcGePoint3d& centre = AcGePoint3d::kOrigin);
    static AcGeMatrix3d scaling(double factor, const AcGePoint3d& centre = AcGePoint3d::kOrigin);
    // Scaling by different factors along the axes, about centre.
    static AcGeMatrix3d scaling(const AcGeScale3d& factors,
                                const AcGePoint3d& centre = AcGePoint3d::kOrigin);
    // Reflection in the line through p in direction dir within the XY plane.
    static AcGeMatrix3d mirroring(const AcGePoint3d& p, const AcGeVector3d& dir);
    // From the object coordinate system of an extrusion direction (the arbitrary axis rule
    // of drawing files) to world coordinates.
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    // From the frame (origin, x, y, z) to world coordinates.
    static AcGeMatrix3d alignCoordSys(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                      const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);

    AcGeMatrix3d& setToIdentity();
    AcGeMatrix3d& setToTranslation(const AcGeVector3d& v) { return *this = translation(v); }
    AcGeMatrix3d& setToProduct(const AcGeMatrix3d& a, const AcGeMatrix3d& b);
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left);
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right);
    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
    AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return postMultBy(m); }

    double det() const;
    bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    // The inverse; a singular matrix gives the identity. invert() on a singular matrix returns
    // false and leaves the matrix unchanged.
    AcGeMatrix3d inverse() const;
    bool invert();
    AcGeMatrix3d transpose() const;
    bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
    bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }
    bool operator!=(const AcGeMatrix3d& m) const { return !isEqualTo(m); }
    // True when the linear part keeps angles and scales all directions alike.
    bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // The largest factor by which the matrix stretches a length.
    double scale() const;
    // The image of the X-Y plane's orientation: false when the matrix mirrors.
    bool keepsOrientation() const { return det() > 0.0; }
    AcGeVector3d translationPart() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
    bool isFinite() const;

    double operator()(int row, int col) const { return entry[row][col]; }
    double& operator()(int row, int col) { return entry[row][col]; }
};
