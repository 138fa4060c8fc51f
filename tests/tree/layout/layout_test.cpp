// The numbers of tree placement that the command scripts cannot reach: unusable spacings and
// extents, random sizes in both units, and the spacing grid of the area sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tree/treelayout.h"

namespace {

TEST(TreeLayout, UnusableSpacingsAndExtentsGiveNothingRatherThanLoopsOrInfinities) {
    EXPECT_EQ(KyTreeDistancesAlong(9, 3), (std::vector<double>{0, 3, 6}));  // never the end
    for (double s : {0.0, -3.0, double(NAN)}) {
        EXPECT_TRUE(KyTreeDistancesAlong(10, s).empty()) << s;
        EXPECT_FALSE(KyTreeSelfAdjustedSpacing(10, s)) << s;
    }
    EXPECT_TRUE(KyTreeDistancesAlong(INFINITY, 3).empty());
    EXPECT_FALSE(KyTreeSelfAdjustedSpacing(2, 3));
    EXPECT_DOUBLE_EQ(*KyTreeScaleForExtents(4000, 3000, 0, 3000), 0.75);
    EXPECT_FALSE(KyTreeScaleForExtents(0, 0, 0, 3000));
    EXPECT_FALSE(KyTreeScaleForExtents(NAN, 1, 1, 3000));
    for (int r : {1, 359, 12345, 2147483647}) {
        const double deg = KyTreeRotationFromRandom(r) * 180 / M_PI;
        EXPECT_NEAR(deg, std::round(deg), 1e-6) << r;
        EXPECT_TRUE(deg >= 0 && deg < 359.5) << r;
    }
}

// Random sizes step by one millimetre in every unit: a metre drawing once stepped by whole
// metres, which gave every tree of a 1.6 to 3 m range the same size.
TEST(TreeLayout, RandomSizesSpreadAlikeInMillimetresAndMetres) {
    struct Case {
        double lo, hi, step;
        int random;
        double want;
    };
    const Case cases[] = {
        {3000, 5000, 1, 0, 3000},        {3000, 5000, 1, 1999, 4999},   {3000, 5000, 1, 2000, 3000},
        {3, 5, 0.001, 1999, 4.999},      {1.6, 3.0, 0.001, 700, 2.3},   {1600, 1600.8, 1, 12345, 1600},
        {1.6, 1.6008, 0.001, 12345, 1.6}, {5000, 3000, 1, 7, 3007},     {5, 3, 0.001, 7, 3.007},
    };
    for (const Case& c : cases) {
        double lo = c.lo, hi = c.hi;
        EXPECT_NEAR(KyTreeRandomSize(lo, hi, c.random, c.step), c.want, 1e-9) << c.lo << " " << c.hi;
        EXPECT_LE(lo, hi);  // a reversed range is exchanged and stays so
    }
}

TEST(TreeLayout, TheSpacingGridFindsTreesInNeighbouringCellsOnly) {
    KyTreeSpacingGrid grid(1000);
    grid.Add(0, 0);
    grid.Add(-5000, 99999);
    EXPECT_FALSE(grid.Clear(999, 0, 1000));
    EXPECT_TRUE(grid.Clear(1000, 0, 1000));  // one spacing away is far enough
    EXPECT_FALSE(grid.Clear(-700, -700, 1000));
    EXPECT_TRUE(grid.Clear(-700, -700, 900));
    EXPECT_FALSE(grid.Clear(-5000.5, 99999.5, 1000));
    EXPECT_TRUE(grid.Clear(1e300, -1e300, 1000));
}

}  // namespace
