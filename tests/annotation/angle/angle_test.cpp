// The arrow follows the road's tangent but always on the uphill side, also past a bend back.
#include "annotation/slopeangle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const double kPi = 3.14159265358979;
}

TEST(SlopeAngle, TangentTurnedTowardsUphillForEveryReferenceQuadrant) {
  // Uphill towards +X (the wrapping case): a tangent pointing -X is turned, +X kept.
  EXPECT_NEAR(std::cos(KyRoadSlopeOrientAngle(kPi, 0.0)), 1.0, 1e-9);
  EXPECT_NEAR(KyRoadSlopeOrientAngle(0.3, 0.0), 0.3, 1e-9);
  EXPECT_NEAR(KyRoadSlopeOrientAngle(2 * kPi - 0.3, 0.0), 2 * kPi - 0.3, 1e-9);
  // Uphill towards -X: +X is turned.
  EXPECT_NEAR(KyRoadSlopeOrientAngle(0.0, kPi), kPi, 1e-9);
  EXPECT_NEAR(KyRoadSlopeOrientAngle(kPi + 0.2, kPi), kPi + 0.2, 1e-9);
  // Uphill towards +Y and -Y.
  EXPECT_NEAR(KyRoadSlopeOrientAngle(1.5 * kPi, 0.5 * kPi), 0.5 * kPi, 1e-9);
  EXPECT_NEAR(KyRoadSlopeOrientAngle(0.5 * kPi + 0.4, 1.5 * kPi), 1.5 * kPi + 0.4, 1e-9);
}

TEST(SlopeAngle, RoadBendingBackKeepsPointingAlongTheRoadUphill) {
  // Uphill from the first symbol to the second is +X overall; past a hairpin the road runs -X
  // locally, and the arrow is turned; on the leg before the bend it runs +X and stays.
  const double rho = 0.1;
  EXPECT_NEAR(KyRoadSlopeOrientAngle(kPi - 0.05, rho), 2 * kPi - 0.05, 1e-9);
  EXPECT_NEAR(KyRoadSlopeOrientAngle(-0.05, rho), 2 * kPi - 0.05, 1e-9);
  const double t = KyRoadSlopeOrientAngle(kPi + 0.7, rho);
  EXPECT_TRUE(std::isfinite(t));
  EXPECT_NEAR(t, 0.7, 1e-9);
}
