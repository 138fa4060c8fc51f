// AcDbRegion: a plane area kept as closed polygon loops (outer loops counter-clockwise, holes
// clockwise), arcs finely linearised. Made from closed curves; united, intersected and
// subtracted with the polygon clipper.
#pragma once

#include <vector>

#include "host/db/dbentity.h"

class AcDbRegion : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbRegion)
public:
    using Loop = std::vector<AcGePoint2d>;

    AcDbRegion() = default;
    AcDbRegion(const AcDbRegion&) = default;

    // One new region (caller owns) for each closed loop among the curves: a closed polyline,
    // a circle, or lines, arcs and open polylines chained end to end. Curves that close no loop
    // are left out. eInvalidInput when the array holds a non-curve or no loop at all.
    static Acad::ErrorStatus createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions);

    // Combines other into this region; other ends up empty. Both must be writable. A union is
    // kept aside and made, with every union since, when the loops are next read.
    Acad::ErrorStatus booleanOper(AcDb::BoolOperType operation, AcDbRegion* other);
    Acad::ErrorStatus getArea(double& area) const;
    Acad::ErrorStatus getPerimeter(double& perimeter) const;
    bool isNull() const {
        settle();
        return m_loops.empty();
    }

    const std::vector<Loop>& loops() const {
        settle();
        return m_loops;
    }
    // Sets loops as the file gives them; they are normalised (self-overlaps resolved, outer
    // loops counter-clockwise). Non-finite points are refused with eInvalidInput.
    Acad::ErrorStatus setLoops(const std::vector<Loop>& loops);
    // True when the point lies inside the area (on the boundary counts).
    bool contains(const AcGePoint2d& p) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // One closed polyline per loop.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbRegion(*this); }
    bool isFiniteObject() const override;

private:
    // Makes the unions kept aside; the region's area is the same before and after.
    void settle() const;

    mutable std::vector<Loop> m_loops;
    mutable std::vector<Loop> m_pendingUnion;  // loops of regions united since the last settle
};
