// KyRoadSlopeJig: the slope arrow's drag, either turning about a fixed point (the manual mode)
// or moving along the base line with the arrow laid along the road and turned uphill.
#pragma once

#include <string>

#include "framework/jig/VornEdJig.h"
#include "geometry/KyGePolyline2d.h"

class KyDbSymbArrow;

// The last grade in percent and slope length in metres, found or typed; the defaults of the
// manual mode.
extern double g_roadSlopePercent;
extern double g_roadSlopeLength;

// Length of the arrow in drawing units: 15 plotted millimetres, 20 in a metre drawing.
double KyRoadSlopeArrowLength();

// The road's direction at point: the tangent of the first segment of line the point's foot lies
// on, turned to within a quarter turn of the uphill angle. False when no segment holds the foot.
bool KyRoadSlopeAngleOnLine(const KyGePolyline2d& line, const AcGePoint3d& point, double uphill,
                            double& angle);

class KyRoadSlopeJig : public VornEdJig {
public:
    // Turning about point, starting at angle 0, without texts.
    explicit KyRoadSlopeJig(const AcGePoint3d& point);
    // Moving along baseLine from point; angle is the uphill reference and the first direction.
    KyRoadSlopeJig(double angle, const AcGePoint3d& point, const std::wstring& text1,
                   const std::wstring& text2, const KyGePolyline2d& baseLine);
    ~KyRoadSlopeJig() override;

    // Prints the drag's prompt and drags: RTNORM, RTCAN, or RTNONE for anything else.
    int DoDrag();

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override;

    KyDbSymbArrow* Arrow() const { return m_pArrow; }
    double GetAngle() const { return m_dAngle; }

private:
    KyDbSymbArrow* m_pArrow;
    double m_dAngle;
    double m_dRefAngle;
    AcGePoint3d m_ptPosition;
    std::wstring m_strText1;
    std::wstring m_strText2;
    int m_nTurning;
    KyGePolyline2d m_baseLine;
};

// The arrow's look: text style, layer, text colour, layout angle, alignment, height, head type
// and size, then the texts laid out anew.
void KyRoadSlopeStyleArrow(KyDbSymbArrow& arrow);
