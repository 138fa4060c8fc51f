// KyRoadFillet: the corners of road curves inside a crossing window filleted by the host's
// FILLET, concentric at road bends ("同圆心") or all at one radius ("同半径").
#pragma once

#include <vector>

#include "host/ed/adsdefs.h"
#include "road/roadfillet.h"

// The command's radius in millimetres, kept while the module is loaded; 5000 at load.
extern double g_dRoadFilletCmdRadius;

// One corner of a window with the radius it is filleted at (drawing units).
struct RoadCornerFillet {
    RoadFilletPair pair;
    double radius = 0.0;
};

// The corners of the road curves ("PLAN-ROAD" and "PLAN-ROAD_CENTER") that the crossing
// window p1, p2 (user coordinates) selects: every two curves sharing an end point, at radius
// R. A tangent arc between two curves (an old fillet) is bridged: the corner is recorded
// between the curves it joins and the arc is erased.
void CollectWindowFillets(const ads_point p1, const ads_point p2, double R, std::vector<RoadCornerFillet>& V);

// Concentric radii for road bends: the outer edge corner gets R plus the road width, and the
// corner of the two roads' centre lines R plus the centre line's distance from the inner edge.
void AdjustSameCentreRadii(std::vector<RoadCornerFillet>& V);

// The command function.
void KyRoadFillet();
