// KyDbMapLegend: the legend shown under the cursor while it is placed (a title above one row
// per symbol), and BuildLegendEntities, which writes it into the drawing as plain texts and
// block references. The entity itself never enters a drawing.
#pragma once

#include <string>
#include <vector>

#include "framework/core/KyDbEntity.h"
#include "host/db/dbid.h"
#include "host/ge/ge.h"

using KyGePointArray = std::vector<AcGePoint3d>;

class KyDbMapLegend : public KyDbEntity {
public:
    KyDbMapLegend() = default;
    ~KyDbMapLegend() override;

    void SetPosition(const AcGePoint3d& p) { m_ptPosition = p; }
    AcGePoint3d GetPosition() const { return m_ptPosition; }
    void SetBlockIds(const AcDbObjectIdArray& ids) { m_blockIds = ids; }
    bool GetBlockIds(AcDbObjectIdArray& ids) const;
    void SetBlockPositions(const KyGePointArray& points) { m_blockPositions = points; }
    bool GetBlockPositions(KyGePointArray& points) const;
    void SetNames(const std::vector<std::wstring>& names) { m_names = names; }
    bool GetNames(std::vector<std::wstring>& names) const;
    void SetTextPositions(const KyGePointArray& points) { m_textPositions = points; }
    bool GetTextPositions(KyGePointArray& points) const;
    // The rotation of the row blocks (world radians); the user X axis when the jig makes it.
    double m_dRotation = 0.0;

    int OnExplodeBegin(KyGiStream&) const override { return 0; }
    void OnExplode(KyGiStream& stream) const override;
    void OnExplodeAux(KyGiStream&) const override {}
    bool HasGrips() const override { return false; }

private:
    AcGePoint3d m_ptPosition;
    AcDbObjectIdArray m_blockIds;
    KyGePointArray m_blockPositions;
    std::vector<std::wstring> m_names;
    KyGePointArray m_textPositions;
};

// Writes the legend on layer "PLAN-SAMPLE" of the working drawing and appends the id of each
// entity added. Nothing without block ids; a null block id (a symbol that did not load) and an
// empty name are left out.
void BuildLegendEntities(const KyDbMapLegend& legend, AcDbObjectIdArray& ids);
