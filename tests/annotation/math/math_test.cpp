// Decimal texts and the grades that cannot be computed.
#include "annotation/annotationmath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FormatDecimals, CutsAfterTheRequestedDecimals) {
  EXPECT_EQ(FormatDecimals(0.5, 2), L"0.50");
  EXPECT_EQ(FormatDecimals(60.0, 2), L"60.00");
  EXPECT_EQ(FormatDecimals(0.5, 0), L"0.");
  EXPECT_EQ(FormatDecimals(1.23456789, 6), L"1.234568");  // six-decimal print rounds
  EXPECT_EQ(FormatDecimals(-2.999, 2), L"-2.99");  // truncation, not rounding
  EXPECT_EQ(FormatDecimals(0.5, 3), L"0.500");
}

TEST(FormatDecimals, RefusesPrecisionsOutsideZeroToSixAndNonFiniteValues) {
  EXPECT_TRUE(KyAnnoPrecisionValid(0));
  EXPECT_TRUE(KyAnnoPrecisionValid(6));
  EXPECT_FALSE(KyAnnoPrecisionValid(7));
  EXPECT_FALSE(KyAnnoPrecisionValid(-1));
  EXPECT_EQ(FormatDecimals(1.0, 7), L"");
  EXPECT_EQ(FormatDecimals(1.0, -1), L"");
  EXPECT_EQ(FormatDecimals(std::numeric_limits<double>::infinity(), 2), L"");
  EXPECT_EQ(FormatDecimals(std::nan(""), 2), L"");
}

TEST(ElevationText, TwoOrThreeDecimals) {
  EXPECT_EQ(KyAnnoElevationText(9.8, true), L"9.80");
  EXPECT_EQ(KyAnnoElevationText(9.8, false), L"9.800");
  EXPECT_EQ(KyAnnoElevationText(std::nan(""), true), L"");
}

// Grades from marks, both units and both sides are checked by the elevation scripts; what they
// cannot reach is a grade that would be infinite or undefined.
TEST(Grade, CoincidingProjectionsAreRefusedAndLeaveTheGrade) {
  double s = 7.0;
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, 0.0, 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, 1e-9, 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, std::nan(""), 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(1e308, -1e308, 1e-3, 1e-6, s));
  EXPECT_EQ(s, 7.0);
}
