// Grades, elevations and decimal texts against hand-computed road figures.
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

TEST(Grade, PercentConversionsBothWays) {
  EXPECT_DOUBLE_EQ(KyAnnoGradeFromPercent(3.0, 1), 3.0);
  EXPECT_DOUBLE_EQ(KyAnnoGradeFromPercent(2.0, 0), 0.002);
  EXPECT_DOUBLE_EQ(KyAnnoPercentFromGrade(2.0, 1), 2.0);
  EXPECT_DOUBLE_EQ(KyAnnoPercentFromGrade(0.002, 0), 2.0);
}

TEST(Grade, FromTwoSymbolsInMetresAndMillimetres) {
  double s = -1;
  ASSERT_TRUE(KyAnnoGradeFromElevations(10.0, 10.5, 25.0, 1e-6, s));
  EXPECT_NEAR(s, 2.0, 1e-12);
  // Second symbol after the base: 50 beyond on its side 11.00, 10 on the other side 9.80.
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 50.0, true, 1), 11.0, 1e-12);
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 10.0, false, 1), 9.8, 1e-12);
  // Second symbol before the base: the rise is towards it.
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 50.0, false, 0), 11.0, 1e-12);
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 10.0, true, 0), 9.8, 1e-12);

  ASSERT_TRUE(KyAnnoGradeFromElevations(10.0, 10.5, 25000.0, 1e-6, s));
  EXPECT_NEAR(s, 0.002, 1e-15);
  EXPECT_NEAR(KyAnnoPercentFromGrade(s, 0), 2.0, 1e-12);
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 50000.0, true, 1), 11.0, 1e-12);
}

TEST(Grade, TypedGradeRisesOnBothSides) {
  const double s = KyAnnoGradeFromPercent(3.0, 1);
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 20.0, true, 2), 10.6, 1e-12);
  EXPECT_NEAR(KyAnnoElevationAt(10.0, s, 20.0, false, 2), 10.6, 1e-12);
}

TEST(Grade, CoincidingProjectionsAreRefusedAndLeaveTheGrade) {
  double s = 7.0;
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, 0.0, 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, 1e-9, 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(10.0, 10.5, std::nan(""), 1e-6, s));
  EXPECT_FALSE(KyAnnoGradeFromElevations(1e308, -1e308, 1e-3, 1e-6, s));
  EXPECT_EQ(s, 7.0);
}
