// Orienting the slope arrow's tangent towards the uphill reference angle.
#include "annotation/slopeangle.h"

#include <cmath>

#include "geometry/KyGePoint.h"

// Compared by the angle between t and rho rather than by the bounds of rho's half-plane: those
// bounds wrap through zero when rho points straight up or down, and the arrow then pointed
// downhill on half the road.
double KyRoadSlopeOrientAngle(double t, double rho) {
  const double pi = 3.14159265358979323846;
  t = GetStdAngle(t);
  double diff = std::fabs(t - GetStdAngle(rho));
  if (diff > pi) diff = 2.0 * pi - diff;
  const bool flip = diff > 0.5 * pi + g_distZero;
  return GetStdAngle(flip ? t + pi : t);
}
