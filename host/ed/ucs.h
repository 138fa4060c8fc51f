// The user coordinate system: an origin and the angle of its X axis in the world XY plane.
// Typed points, picks and acedGetPoint answers are user coordinates; the drawing is world.
#pragma once

#include "host/ed/adsdefs.h"

// Transforms a point (disp 0) or a displacement (disp non-zero) between the systems named by
// from and to (RTSHORT 0 world, 1 user). RTNORM, or RTREJ for other systems.
int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result);

namespace vorn::ed {

struct Ucs {
    double origin[3] = {0, 0, 0};  // world coordinates
    double angle = 0;              // radians, counter-clockwise from the world X axis
};

const Ucs& CurrentUcs();
// Refuses (false) non-finite values.
bool SetUcs(const Ucs& ucs);
void SetWorldUcs();

void UcsToWcsPoint(const double ucs[3], double wcs[3]);
void WcsToUcsPoint(const double wcs[3], double ucs[3]);
// Angles in the XY plane, radians.
double UcsToWcsAngle(double angle);
double WcsToUcsAngle(double angle);

}  // namespace vorn::ed
