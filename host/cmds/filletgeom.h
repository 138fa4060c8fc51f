// The geometry of FILLET in the plane: the arc of a given radius tangent to two lines or arcs in
// the corner the two pick points choose, and the two curves trimmed or extended to it.
#pragma once

#include "host/ge/ge.h"

namespace vorn::cmds {

// A line segment or a counter-clockwise arc, in world XY.
struct FilletCurve {
    enum Kind { kLine, kArc } kind = kLine;
    AcGePoint3d start, end;  // lines
    AcGePoint3d centre;      // arcs
    double radius = 0, startAngle = 0, endAngle = 0;

    static FilletCurve Line(const AcGePoint3d& a, const AcGePoint3d& b);
    static FilletCurve Arc(const AcGePoint3d& c, double r, double a0, double a1);
};

enum class FilletStatus {
    kOk,
    kNoFit,          // no arc of that radius touches both curves in the chosen corner
    kParallel,       // two parallel lines
    kDegenerate,     // a curve without length, or a radius that is negative or not finite
};

struct FilletResult {
    FilletStatus status = FilletStatus::kNoFit;
    FilletCurve first, second;  // the curves after trimming or extending
    bool hasArc = false;        // false for radius 0: a sharp corner
    FilletCurve arc;            // the new fillet arc
    AcGePoint3d tangent1, tangent2;
};

// pick1 and pick2 are points on (or near) each curve: the part of a curve on the pick's side
// of the new corner is kept. The results hold no NaN: failures answer a status instead.
FilletResult ComputeFillet(const FilletCurve& c1, const AcGePoint3d& pick1, const FilletCurve& c2,
                           const AcGePoint3d& pick2, double radius);

}  // namespace vorn::cmds
