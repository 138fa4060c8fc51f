// Row layout of parking spaces beyond what the row scripts show: unusable widths, and the marks
// and car turns of normal and wide spaces.
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
