// KyDbBlockReference: the framework's block reference ("VORN_INSERT"): a block with an
// optional plan block drawn in its place, position, rotation and scale. Saved as an INSERT
// with the framework's extended data.
#pragma once

#include <string>

#include "framework/core/KyDbEntity.h"

class AcDbBlockReference;

class KyDbBlockReference : public KyDbEntity {
    ACRX_DECLARE_MEMBERS(KyDbBlockReference)
public:
    KyDbBlockReference() = default;
    KyDbBlockReference(const AcGePoint3d& position, const AcDbObjectId& blockId);
    KyDbBlockReference(const KyDbBlockReference&) = default;

    AcDbObjectId GetBlockTableRecord() const;
    Acad::ErrorStatus SetBlockTableRecord(const AcDbObjectId& blockId);
    // The block shown in plan (null: the block itself).
    AcDbObjectId GetBlockTableRecord2d() const;
    Acad::ErrorStatus SetBlockTableRecord2d(const AcDbObjectId& blockId);
    // The block that is drawn: the plan block when there is one, else the block.
    AcDbObjectId GetDrawnBlock() const;

    AcGePoint3d GetPosition() const { return m_ptPosition; }
    Acad::ErrorStatus SetPosition(const AcGePoint3d& p);
    double GetRotation() const { return m_dRotation; }
    Acad::ErrorStatus SetRotation(double rotation);
    AcGeScale3d GetScaleFactors() const { return m_scale; }
    // Zero or non-finite factors give eInvalidInput and change nothing.
    Acad::ErrorStatus SetScaleFactors(const AcGeScale3d& scale);
    Acad::ErrorStatus SetScaleFactors(double x, double y, double z);

    // The plane box of the drawn block as placed (position, rotation, scale); eInvalidExtents
    // when the block is missing or empty.
    Acad::ErrorStatus GetGeomExtents2d(AcDbExtents& extents) const;
    // A new host block reference of the drawn block with the same placement, layer and
    // colour (caller owns); null when there is no block.
    AcDbBlockReference* AsAcDbBlockReference() const;

    void OnExplode(KyGiStream& stream) const override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // Block name (1000), plan block name (1000, empty for none), position (1010), rotation
    // (1040), x, y, z scale (1042 each).
    void writeFields(std::vector<AcDbXDataItem>& fields) const override;
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& fields) override;
    std::wstring list() const override;
    std::wstring degeneracy() const override;
    AcRxObject* clone() const override { return new KyDbBlockReference(*this); }
    bool isFiniteObject() const override;
    void remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) override;

private:
    AcDbObjectId m_idBlock, m_idBlock2d;
    std::wstring m_strBlockName, m_strBlock2dName;  // saved names not yet found in a drawing
    AcGePoint3d m_ptPosition;
    double m_dRotation = 0.0;
    AcGeScale3d m_scale;
};
