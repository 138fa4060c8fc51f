// What the road code adds to the plane geometry: road curves made from picked points, offsets
// that never leave the finite numbers, and a curve as a host line or arc in the plan.
#pragma once

#include <memory>

#include "geometry/KyGeometry.h"
#include "host/ge/ge.h"

class AcDbEntity;

// The picked point in the plan (z 0).
KyGePoint RoadPoint(const AcGePoint3d& p);

// A straight road curve; null when an end is not finite or it is shorter than g_distZero.
std::unique_ptr<KyGeCurve2d> MakeRoadLine(const AcGePoint3d& start, const AcGePoint3d& end);
// The arc from start through a point on it to end; null when the three points are (nearly) on
// one line, two of them coincide, or a point is not finite.
std::unique_ptr<KyGeCurve2d> MakeRoadArc(const AcGePoint3d& start, const AcGePoint3d& onArc,
                                         const AcGePoint3d& end);

// curve.GetOffsetCurve(d), refused (null) as well when a width so large that the edge would
// leave the finite numbers, so that no edge written to the drawing holds an infinity.
std::unique_ptr<KyGeCurve2d> RoadOffsetCurve(const KyGeCurve2d& curve, double d);

// A new host line (segment) or arc (arc, either sense) in the plan with the drawing defaults;
// null for other curves.
std::unique_ptr<AcDbEntity> RoadCurveToEntity(const KyGeCurve2d& curve);
