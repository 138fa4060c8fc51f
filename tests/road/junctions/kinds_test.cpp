// Which junction two roads make, on hand-drawn roads of width 4000: which ends pair up, roads
// passing right through each other, a road ending on the side of another, the ends of a corner.
#include <gtest/gtest.h>

#include "road/roadcorners.h"
#include "road/roadrebuild.h"

namespace {

KyGeLineSeg2d Seg(double x1, double y1, double x2, double y2) {
    return KyGeLineSeg2d(KyGePoint(x1, y1), KyGePoint(x2, y2));
}

// The crossed road along the x axis from 0 to 20000, edges at y = 2000 (e) and -2000 (g).
const KyGeLineSeg2d e = Seg(0, 2000, 20000, 2000), g = Seg(0, -2000, 20000, -2000);

}  // namespace

TEST(RoadJunctionKinds, AtACornerTheEndsThatMeetPairUpWhicheverWayTheNewRoadRuns) {
    // A road leaving the crossed road's end upwards: its start meets the crossed road's end.
    const KyGeLineSeg2d bend1 = Seg(18000, 2000, 18000, 20000), bend2 = Seg(22000, -2000, 22000, 20000);
    EXPECT_FALSE(RoadsRunAlike(e, g, bend1, bend2));
    // The same road drawn back down towards the crossed road's end: its end meets that end.
    const KyGeLineSeg2d back1 = Seg(22000, 20000, 22000, -2000), back2 = Seg(18000, 20000, 18000, 2000);
    EXPECT_TRUE(RoadsRunAlike(e, g, back1, back2));
}

TEST(RoadJunctionKinds, CrossingsTeesAndCornersAreTold) {
    const KyGeLineSeg2d up1 = Seg(8000, -10000, 8000, 10000), up2 = Seg(12000, -10000, 12000, 10000);
    EXPECT_TRUE(RoadsCrossThrough(e, g, up1, up2));
    int k = 0;
    EXPECT_FALSE(FindTeeEnd(up1, up2, e, g, k));
    EXPECT_FALSE(FindTeeEnd(e, g, up1, up2, k));

    // A road starting inside the crossed road, and one ending exactly on its near edge.
    const KyGeLineSeg2d stem1 = Seg(8000, 500, 8000, 12000), stem2 = Seg(12000, 500, 12000, 12000);
    EXPECT_FALSE(RoadsCrossThrough(e, g, stem1, stem2));
    ASSERT_TRUE(FindTeeEnd(stem1, stem2, e, g, k));
    EXPECT_EQ(k, kRoadSideStart);
    EXPECT_FALSE(FindTeeEnd(e, g, stem1, stem2, k));
    const KyGeLineSeg2d onEdge1 = Seg(12000, 12000, 12000, 2000), onEdge2 = Seg(8000, 12000, 8000, 2000);
    ASSERT_TRUE(FindTeeEnd(onEdge1, onEdge2, e, g, k));
    EXPECT_EQ(k, kRoadSideEnd);

    // A road stopping short of the crossed road reaches into nothing.
    const KyGeLineSeg2d short1 = Seg(8000, 3000, 8000, 12000), short2 = Seg(12000, 3000, 12000, 12000);
    EXPECT_FALSE(FindTeeEnd(short1, short2, e, g, k));

    // A corner: the ends reach into each other, end 2 of the crossed road with end 1 of the new.
    const KyGeLineSeg2d bend1 = Seg(18000, 0, 18000, 20000), bend2 = Seg(22000, 0, 22000, 20000);
    EXPECT_TRUE(RoadEndsOverlap(e, g, bend1, bend2, kRoadSideEnd, kRoadSideStart));
    EXPECT_FALSE(RoadEndsOverlap(e, g, bend1, bend2, kRoadSideStart, kRoadSideStart));
    EXPECT_FALSE(RoadsCrossThrough(e, g, bend1, bend2));
}

TEST(RoadJunctionKinds, AnEndReachesInWithOnePointOnOrInsideTheOutline) {
    KyGePolyline2d outline;
    ASSERT_TRUE(RoadOutline(e, g, outline));
    // One point inside is enough; both on the outline count; both outside do not.
    EXPECT_TRUE(RoadEndMeetsOutline(Seg(5000, 1000, 5000, 9000), Seg(9000, 3000, 9000, 9000), kRoadSideStart, outline));
    EXPECT_TRUE(RoadEndMeetsOutline(Seg(5000, 2000, 5000, 9000), Seg(9000, 2000, 9000, 9000), kRoadSideStart, outline));
    EXPECT_FALSE(RoadEndMeetsOutline(Seg(5000, 2500, 5000, 9000), Seg(9000, 2500, 9000, 9000), kRoadSideStart, outline));
    EXPECT_FALSE(RoadEndMeetsOutline(Seg(5000, 1000, 5000, 9000), Seg(9000, 1000, 9000, 9000), kRoadSideEnd, outline));
}
