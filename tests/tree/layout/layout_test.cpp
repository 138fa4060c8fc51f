// Where trees stand along pieces, self-adjusted spacing carried on, scale from extents,
// whole-degree turns and random sizes in whole units.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tree/treelayout.h"

namespace {

void ExpectDistances(const std::vector<double>& got, const std::vector<double>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << i;
}

TEST(TreeDistances, StartAndEverySpacingButNeverTheEnd) {
    ExpectDistances(KyTreeDistancesAlong(10, 3), {0, 3, 6, 9});
    ExpectDistances(KyTreeDistancesAlong(9, 3), {0, 3, 6});
    // The drag case: 10000 then 5000 at 3000.
    ExpectDistances(KyTreeDistancesAlong(10000, 3000), {0, 3000, 6000, 9000});
    ExpectDistances(KyTreeDistancesAlong(5000, 3000), {0, 3000});
    EXPECT_TRUE(KyTreeDistancesAlong(0, 3).empty());
}

TEST(TreeDistances, UnusableSpacingGivesNothingInsteadOfLoopingForever) {
    EXPECT_TRUE(KyTreeDistancesAlong(10, 0).empty());
    EXPECT_TRUE(KyTreeDistancesAlong(10, -3).empty());
    EXPECT_TRUE(KyTreeDistancesAlong(10, NAN).empty());
    EXPECT_TRUE(KyTreeDistancesAlong(INFINITY, 3).empty());
}

TEST(TreeDistances, SelfAdjustedSpacingDividesThePieceAndCarriesOn) {
    const auto s = KyTreeSelfAdjustedSpacing(10, 3);
    ASSERT_TRUE(s);
    EXPECT_NEAR(*s, 10.0 / 3, 1e-12);
    ExpectDistances(KyTreeDistancesAlong(10, *s), {0, 10.0 / 3, 20.0 / 3});
    // The next entity (length 12) starts from 3.333...: k = 3, spacing 4.
    const auto next = KyTreeSelfAdjustedSpacing(12, *s);
    ASSERT_TRUE(next);
    EXPECT_NEAR(*next, 4.0, 1e-12);
    EXPECT_FALSE(KyTreeSelfAdjustedSpacing(2, 3));
    EXPECT_FALSE(KyTreeSelfAdjustedSpacing(10, 0));
}

TEST(TreeScale, LargestExtentBecomesTheDiameter) {
    EXPECT_DOUBLE_EQ(*KyTreeScaleForExtents(4000, 3000, 0, 3000), 0.75);
    EXPECT_DOUBLE_EQ(*KyTreeScaleForExtents(100, 200, 50, 3000), 15.0);
    EXPECT_FALSE(KyTreeScaleForExtents(0, 0, 0, 3000));
    EXPECT_FALSE(KyTreeScaleForExtents(NAN, 1, 1, 3000));
    EXPECT_FALSE(KyTreeScaleForExtents(10, 10, 0, 0));
}

TEST(TreeRotation, WholeDegreesFromZeroTo359) {
    EXPECT_DOUBLE_EQ(KyTreeRotationFromRandom(0), 0.0);
    EXPECT_NEAR(KyTreeRotationFromRandom(90), M_PI / 2, 1e-9);
    EXPECT_NEAR(KyTreeRotationFromRandom(360 + 45), M_PI / 4, 1e-9);
    for (int r : {1, 359, 12345, 2147483647}) {
        const double deg = KyTreeRotationFromRandom(r) * 180 / M_PI;
        EXPECT_NEAR(deg, std::round(deg), 1e-6) << r;
        EXPECT_GE(deg, 0);
        EXPECT_LT(deg, 359.5);
    }
}

TEST(TreeRandomSize, WholeStepsFromTheLowerAndOrderKept) {
    double lo = 3000, hi = 5000;
    EXPECT_DOUBLE_EQ(KyTreeRandomSize(lo, hi, 0), 3000);
    EXPECT_DOUBLE_EQ(KyTreeRandomSize(lo, hi, 1999), 4999);
    EXPECT_DOUBLE_EQ(KyTreeRandomSize(lo, hi, 2000), 3000);
    // Reversed range is exchanged and stays so.
    double a = 5000, b = 3000;
    EXPECT_DOUBLE_EQ(KyTreeRandomSize(a, b, 7), 3007);
    EXPECT_DOUBLE_EQ(a, 3000);
    EXPECT_DOUBLE_EQ(b, 5000);
    // A range narrower than one unit gives the lower value.
    double n1 = 1600, n2 = 1600.8;
    EXPECT_DOUBLE_EQ(KyTreeRandomSize(n1, n2, 12345), 1600);
}

}  // namespace
