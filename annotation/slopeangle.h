// Which way a slope arrow points along the road: the road's tangent turned to the uphill side.
#pragma once

// The tangent angle t (either direction of the road) turned by half a turn when it points more
// than a quarter turn away from the reference angle rho (the uphill direction between the two
// symbols), so the arrow keeps pointing uphill where the road bends back. Result in [0, 2*pi).
double KyRoadSlopeOrientAngle(double t, double rho);
