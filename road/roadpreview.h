// KyDbRoad: the road segment shown while its end (or an arc's middle point) is dragged. It
// lives only inside the road jig and is never added to a drawing.
#pragma once

#include "framework/core/KyDbEntity.h"
#include "host/ge/ge.h"

class KyDbRoad : public KyDbEntity {
public:
    KyDbRoad() = default;
    ~KyDbRoad() override;

    std::uint32_t DrawableAttributes() const override { return 0; }
    int ViewportDrawFlags() const override { return 0; }
    int OnExplodeBegin(KyGiStream&) const override { return 0; }
    // Straight: the picked line in grey and the edges the positioning leaves to derive.
    // Arc: the edge arcs (and the picked arc when it is an edge itself).
    void OnExplode(KyGiStream& stream) const override;
    void OnExplodeAux(KyGiStream&) const override {}
    bool HasGrips() const override { return false; }

    double m_dLeftWidth = 0.0;   // drawing units
    double m_dRightWidth = 0.0;  // drawing units
    int m_nPosLine = 0;          // 0 centre line, 1 left edge, 2 right edge
    AcGePoint3d m_ptFirst;       // segment start
    AcGePoint3d m_ptSecond;      // segment end
    AcGePoint3d m_ptThird;       // arc middle point
    int m_nMode = 0;             // 0 straight, 1 arc
};
