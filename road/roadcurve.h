// A road segment in the plan: a line segment or a three-point arc, with the offsets the road
// edges are made of and its form as a host entity. The road code speaks of its curves only
// through this type, so it stands on the shared plane geometry once that is part of the build.
#pragma once

#include <memory>
#include <optional>

#include "host/ge/ge.h"

class AcDbEntity;

class KyRoadCurve {
public:
    // Lengths at or below this are zero: site plans in millimetres with coordinates up to 1e7
    // keep about nine significant digits after a subtraction.
    static constexpr double kDistZero = 1e-6;

    // Null for a segment shorter than kDistZero.
    static std::optional<KyRoadCurve> Line(const AcGePoint3d& start, const AcGePoint3d& end);
    // The arc from start through a point on it to end; null when the three points are
    // (nearly) on one line or two of them coincide.
    static std::optional<KyRoadCurve> Arc(const AcGePoint3d& start, const AcGePoint3d& onArc,
                                          const AcGePoint3d& end);

    bool IsArc() const { return m_arc; }
    AcGePoint3d GetStartPoint() const { return m_start; }
    AcGePoint3d GetEndPoint() const { return m_end; }
    // Arc only: centre, radius, and whether it runs clockwise from start to end.
    AcGePoint3d GetCenter() const { return m_center; }
    double GetRadius() const { return m_radius; }
    bool IsClockwise() const { return m_clockwise; }

    // The parallel curve at |d|: left of the direction of travel for negative d, right for
    // positive d. Null when there is none (an arc whose radius would not stay positive) or
    // when d is not finite.
    std::optional<KyRoadCurve> GetOffsetCurve(double d) const;

    // A new host line or arc in the plan (z 0), with the drawing defaults.
    std::unique_ptr<AcDbEntity> ToEntity() const;

private:
    KyRoadCurve() = default;
    bool m_arc = false;
    AcGePoint3d m_start, m_end, m_center;
    double m_radius = 0.0;
    double m_startAngle = 0.0, m_endAngle = 0.0;  // radians at start and end, about the centre
    bool m_clockwise = false;
};
