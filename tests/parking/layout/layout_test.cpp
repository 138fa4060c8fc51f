// Row layout of parking spaces: corners and order per side, slanted spacing, counts, marks.
#include "parking/parkrowlayout.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vorn::parking;

namespace {
void ExpectPt(ParkPt p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-6);
  EXPECT_NEAR(p.y, y, 1e-6);
}
}  // namespace

TEST(ParkRowLayout, RightAngleRowFiveSpacesLeftAndRight) {
  const int n = ParkSpaceCount(12000, 2400, 100);
  EXPECT_EQ(n, 5);
  auto left = LayParkRowSide({0, 0}, {12000, 0}, 2400, 5300, 1.5707963268, 1, n, 0);
  ASSERT_EQ(left.size(), 5u);
  ExpectPt(left[0].outline[0], 0, 5300);
  ExpectPt(left[0].outline[1], 0, 0);
  ExpectPt(left[0].outline[2], 2400, 0);
  ExpectPt(left[0].outline[3], 2400, 5300);
  ExpectPt(left[4].outline[2], 12000, 0);
  auto right = LayParkRowSide({0, 0}, {12000, 0}, 2400, 5300, 1.5707963268, 2, n, 0);
  ExpectPt(right[0].outline[0], 0, 0);
  ExpectPt(right[0].outline[1], 0, -5300);
  ExpectPt(right[0].outline[2], 2400, -5300);
}

TEST(ParkRowLayout, SlantedSpacingAndRemainder) {
  const double a = 60 * 3.1415926536 / 180;
  const double w = std::fabs(2400 / std::sin(a));
  EXPECT_NEAR(w, 2771.28, 0.01);
  EXPECT_EQ(ParkSpaceCount(12000, w, 100), 4);
  auto row = LayParkRowSide({0, 0}, {12000, 0}, w, 5300, a, 1, 4, 0);
  ExpectPt(row[0].outline[0], 5300 * 0.5, 5300 * std::sin(a));
  ExpectPt(row[1].outline[1], w, 0);
}

TEST(ParkRowLayout, ZeroOrBadWidthGivesNoSpaces) {
  EXPECT_EQ(ParkSpaceCount(12000, 0, 100), 0);
  EXPECT_EQ(ParkSpaceCount(12000, 50, 100), 0);
  EXPECT_EQ(ParkSpaceCount(12000, NAN, 100), 0);
  EXPECT_TRUE(LayParkRowSide({0, 0}, {1, 0}, 0, 5300, 1.57, 1, 3, 0).empty());
}

TEST(ParkRowLayout, MarksAndCarForNormalAndWideSpaces) {
  auto v = LayParkRowSide({0, 0}, {12000, 0}, 2400, 5300, 1.5707963268, 1, 1, 2);
  ASSERT_EQ(v[0].mark.size(), 3u);
  ExpectPt(v[0].mark[1], 1200, 5300);
  ExpectPt(v[0].carCentre, 1200, 2650);
  EXPECT_NEAR(v[0].carRotation, 0, 1e-9);
  auto wide = LayParkRowSide({0, 0}, {12000, 0}, 5300, 2400, 1.5707963268, 1, 1, 2);
  ExpectPt(wide[0].mark[0], 0, 2400);
  ExpectPt(wide[0].mark[1], 5300, 1200);
  ExpectPt(wide[0].mark[2], 0, 0);
  EXPECT_NEAR(wide[0].carRotation, -1.5707963268, 1e-9);
  auto diag = LayParkRowSide({0, 0}, {0, 12000}, 2400, 5300, 1.5707963268, 1, 1, 1);
  ExpectPt(diag[0].mark[0], -5300, 0);
  ExpectPt(diag[0].mark[1], 0, 2400);
}
