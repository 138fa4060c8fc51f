// AcDbExtents: an axis-aligned box that starts empty (invalid) and grows by points and boxes.
#pragma once

#include "host/ge/ge.h"

class AcDbExtents {
public:
    AcDbExtents() = default;
    // The box spanned by two corners in any order.
    AcDbExtents(const AcGePoint3d& a, const AcGePoint3d& b);

    // False until a point was added.
    bool isValid() const { return m_valid; }
    const AcGePoint3d& minPoint() const { return m_min; }
    const AcGePoint3d& maxPoint() const { return m_max; }
    void set(const AcGePoint3d& a, const AcGePoint3d& b);
    // Non-finite points are ignored (a box never holds NaN or infinity).
    void addPoint(const AcGePoint3d& p);
    void addExt(const AcDbExtents& other);
    void reset() { m_valid = false; m_min = m_max = AcGePoint3d(); }
    // The box of this box's eight corners transformed.
    void transformBy(const AcGeMatrix3d& m);
    // Grown by d on every side; an invalid box stays invalid.
    void expandBy(double d);

    // True when the boxes meet in X and Y (touching counts); an invalid box meets nothing.
    bool intersects2d(const AcDbExtents& other) const;
    // True when this box lies inside other in X and Y.
    bool isInside2d(const AcDbExtents& other) const;
    bool contains2d(const AcGePoint3d& p) const;
    // Plan distance from p to the box (0 inside).
    double distanceTo2d(const AcGePoint3d& p) const;

private:
    AcGePoint3d m_min, m_max;
    bool m_valid = false;
};
