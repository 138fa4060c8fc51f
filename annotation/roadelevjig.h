// KyRoadElevJig: drags a copy of the base elevation mark along the base line, its text showing
// the elevation interpolated from the base elevation and the grade at the cursor's foot.
#pragma once

#include "framework/jig/VornEdJig.h"
#include "geometry/KyGePolyline2d.h"

class KyDbSymbElevation;

// The last grade in percent typed or found; the default of the typed-grade prompt.
extern double g_roadElevSlope;

// The elevation at point (a point of the base line) for a base elevation e1 at basePoint and a
// grade per 100 drawing units, by the direction mode (0 rising towards the start of the line,
// 1 rising towards its end, 2 typed: rising both ways). Distances are straight from the base
// point; before and after are decided by the distances along the line. A line with fewer than
// two vertices counts every point as before.
double KyRoadElevationOnLine(const KyGePolyline2d& line, const AcGePoint3d& basePoint, double e1,
                             double grade, int mode, const AcGePoint3d& point);

class KyRoadElevJig : public VornEdJig {
public:
    // The preview starts as a copy of base standing at basePoint.
    KyRoadElevJig(const KyDbSymbElevation* base, const AcGePoint3d& basePoint, double grade,
                  int mode);
    ~KyRoadElevJig() override;

    // The line the marks are placed on. A line of fewer than two vertices leaves the marks where
    // the cursor is.
    void SetBaseLine(const KyGePolyline2d& line) { m_baseLine.CopyFrom(line); }

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override;

private:
    KyDbSymbElevation* m_pSymbol;
    AcGePoint3d m_ptBase;
    double m_dBaseElevation;
    double m_dGrade;
    KyGePolyline2d m_baseLine;
    AcGePoint3d m_ptCurrent;
    int m_nMode;
};
