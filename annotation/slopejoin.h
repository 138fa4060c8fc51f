// Joining the base curves picked for a slope arrow into one polyline, end to end in any
// orientation.
#pragma once

#include <vector>

#include "geometry/KyGePolyline2d.h"

// Joins curves into pieces: each piece starts from the first curve left and takes, pass after
// pass, any curve whose start or end meets the piece's start or end (reversed where needed,
// bulges kept). Returns the pieces; one piece means the curves form a single line.
std::vector<KyGePolyline2d> KyRoadSlopeJoinCurves(std::vector<KyGePolyline2d> curves);
