// AcDbBlockReference (INSERT): a block definition placed with a position, rotation about the
// normal and scale factors. Its extents, drawing and explode go through the block's entities.
#pragma once

#include "host/db/dbentity.h"

class AcDbBlockTableRecord;

class AcDbBlockReference : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(AcDbBlockReference)
public:
    AcDbBlockReference() = default;
    AcDbBlockReference(const AcGePoint3d& position, const AcDbObjectId& blockTableRecord);
    AcDbBlockReference(const AcDbBlockReference&) = default;

    AcDbObjectId blockTableRecord() const { return m_block; }
    Acad::ErrorStatus setBlockTableRecord(const AcDbObjectId& block);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& p);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double r);
    AcGeScale3d scaleFactors() const { return m_scale; }
    // A zero or non-finite factor is refused with eInvalidInput.
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);
    AcGeVector3d normal() const { return m_normal; }
    // Only (0, 0, +-1) is supported in this plan host; others give eNotApplicable.
    Acad::ErrorStatus setNormal(const AcGeVector3d& n);
    // From block coordinates to world: translate(position) * rotate * scale * translate(-origin).
    AcGeMatrix3d blockTransform() const;
    // Sets position, rotation and scale from a matrix that keeps axes perpendicular (eInvalidInput
    // for a shear).
    Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& xform);

    // The box of the block's entities transformed by parentXform * blockTransform, each entity
    // measured in its own transformed shape (tighter than transforming the block's box).
    Acad::ErrorStatus geomExtentsBestFit(AcDbExtents& extents,
                                         const AcGeMatrix3d& parentXform = AcGeMatrix3d::kIdentity) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Transformed copies of the block's entities; circles and arcs under non-uniform scale
    // become polylines that follow the stretched shape within the chord tolerance. Entities on
    // layer "0" take the reference's layer, ByBlock colours its colour.
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
    bool worldDraw(AcGiWorldDraw* draw) const override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new AcDbBlockReference(*this); }
    bool isFiniteObject() const override;
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    AcGePoint3d m_position;
    AcDbObjectId m_block;
    double m_rotation = 0.0;
    AcGeScale3d m_scale;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

namespace vorn::db {

// Draws a block's entities placed by the matrix (after the block's base point went to the
// origin) as entity `by` shows them: what lies on layer "0" takes its layer, ByBlock colours its
// colour. Blocks nested past a sane depth (one holding itself) are not followed. True when the
// sink asked to stop.
bool DrawBlockAt(const AcDbBlockTableRecord* block, const AcGeMatrix3d& placement, const AcDbEntity* by,
                 AcGiWorldDraw* draw);

}  // namespace vorn::db
