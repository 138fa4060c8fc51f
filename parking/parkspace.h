// KyDbParkSpace: the row of parking spaces shown while the row's end is dragged (the spaces of
// one or both sides, the row line and the live count at the cursor), and AddParkRow, which
// writes one side of such a row into the drawing. The entity itself never enters a drawing.
#pragma once

#include "framework/core/KyDbEntity.h"
#include "host/db/dbid.h"
#include "host/ge/ge.h"

class KyDbParkSpace : public KyDbEntity {
public:
    explicit KyDbParkSpace(const AcDbObjectId& carBlock = AcDbObjectId());
    ~KyDbParkSpace() override;

    AcDbObjectId GetCarBlock() const { return m_idCarBlock; }
    void SetCarBlock(const AcDbObjectId& id) { m_idCarBlock = id; }
    AcGePoint3d GetStartPoint() const { return m_ptStart; }
    void SetStartPoint(const AcGePoint3d& p) { m_ptStart = p; }
    AcGePoint3d GetEndPoint() const { return m_ptEnd; }
    void SetEndPoint(const AcGePoint3d& p) { m_ptEnd = p; }
    // Spacing along the row and slanted depth, drawing units.
    double GetSpaceWidth() const { return m_dWidth; }
    void SetSpaceWidth(double w) { m_dWidth = w; }
    double GetDepth() const { return m_dDepth; }
    void SetDepth(double d) { m_dDepth = d; }
    int GetStyle() const { return m_nStyle; }
    void SetStyle(int style) { m_nStyle = style; }
    // Radians in [0, 2*pi) between the row line and the spaces' sides.
    double GetAngle() const { return m_dAngle; }
    void SetAngle(double a) { m_dAngle = a; }
    // Single row: 1 lays it on side 1 (left of start to end), 0 on side 2.
    int GetSideFlag() const { return m_nSideFlag; }
    void SetSideFlag(int flag) { m_nSideFlag = flag; }
    int GetRows() const { return m_nRows; }
    void SetRows(int rows) { m_nRows = rows; }
    // Spaces per side.
    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }

    std::uint32_t DrawableAttributes() const override { return 0; }
    int ViewportDrawFlags() const override { return 0; }
    int OnExplodeBegin(KyGiStream&) const override { return 0; }
    void OnExplode(KyGiStream& stream) const override;
    void OnExplodeAux(KyGiStream&) const override {}
    bool HasGrips() const override { return false; }

private:
    AcDbObjectId m_idCarBlock;
    AcGePoint3d m_ptStart;
    AcGePoint3d m_ptEnd;
    double m_dWidth = 0.0;
    double m_dDepth = 0.0;
    int m_nStyle = 0;
    double m_dAngle = 0.0;
    int m_nSideFlag = 1;
    int m_nRows = 1;
    int m_nCount = 0;
};

// Writes n spaces of one side (1 or 2) of the row from s towards e into model space on layer
// "PLAN-CAR_PLACE": each outline as a closed polyline, its style mark as an open one, and for
// style 3 with a car block a reference to it turned with the space.
void AddParkRow(const AcGePoint3d& s, const AcGePoint3d& e, double w, double d, double a, int side,
                int n, int style, const AcDbObjectId& carBlock);
