// Road outlines and corner sides on hand-drawn roads: a straight road from x = 0 to 10000
// between y = 2000 and y = -2000, crossing roads across it, arcs through a road's line.
#include <gtest/gtest.h>

#include <cmath>

#include "road/roadcorners.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

KyGeLineSeg2d Seg(double x1, double y1, double x2, double y2) {
    return KyGeLineSeg2d(KyGePoint(x1, y1), KyGePoint(x2, y2));
}
KyGeArc2d ArcAbout(double cx, double cy, double r, double a0, double a1) {
    return KyGeArc2d(KyGePoint(cx, cy), r, a0, a1);
}
void ExpectPoint(const KyGePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-6);
    EXPECT_NEAR(p.y, y, 1e-6);
}

const KyGeLineSeg2d kLeft = Seg(0, 2000, 10000, 2000);
const KyGeLineSeg2d kRight = Seg(0, -2000, 10000, -2000);

}  // namespace

TEST(RoadOutline, TheOutlineRunsAlongOneEdgeAndBackAlongTheOther) {
    KyGePolyline2d outline;
    ASSERT_TRUE(RoadOutline(kLeft, kRight, outline));
    EXPECT_TRUE(outline.IsClosed());
    ASSERT_EQ(outline.GetVertexNum(), 4);
    ExpectPoint(outline.GetVertex(1), 10000, 2000);
    ExpectPoint(outline.GetVertex(2), 10000, -2000);
    ExpectPoint(outline.GetVertex(3), 0, -2000);
    EXPECT_NEAR(std::fabs(outline.GetArea()), 40e6, 1e-3);
    // Concentric quarter arcs of radii 5000 and 9000: the inner one keeps its bulge, the outer
    // one comes back as chords, so the area is the ring's quarter less a little.
    KyGePolyline2d ring;
    ASSERT_TRUE(RoadOutline(ArcAbout(0, 0, 5000, 0, kPi / 2), ArcAbout(0, 0, 9000, 0, kPi / 2), ring));
    EXPECT_NEAR(ring.GetBulge(0), std::tan(kPi / 8), 1e-9);
    EXPECT_GT(ring.GetVertexNum(), 4);
    EXPECT_NEAR(std::fabs(ring.GetArea()), kPi / 4 * (81e6 - 25e6), 1e4);
}

TEST(RoadOutline, RoadEndsInsideAnotherRoadAreTold) {
    // A crossing road between x = 8000 and x = 12000 holds the end of the straight road.
    const KyGeLineSeg2d c1 = Seg(8000, -10000, 8000, 10000), c2 = Seg(12000, -10000, 12000, 10000);
    KyGePolyline2d crossing;
    ASSERT_TRUE(RoadOutline(c1, c2, crossing));
    EXPECT_TRUE(RoadEndMeetsOutline(kLeft, kRight, kRoadSideEnd, crossing));
    EXPECT_FALSE(RoadEndMeetsOutline(kLeft, kRight, kRoadSideStart, crossing));
    // The crossing road's ends lie far from the straight road: no corner either way.
    EXPECT_FALSE(RoadEndsOverlap(kLeft, kRight, c1, c2, kRoadSideEnd, kRoadSideStart));
    EXPECT_FALSE(RoadEndsOverlap(kLeft, kRight, c1, c2, kRoadSideStart, kRoadSideStart));
    // A road going on from x = 10000 touches the end on its outline: a corner.
    EXPECT_TRUE(RoadEndsOverlap(kLeft, kRight, Seg(10000, 2000, 20000, 2000),
                                Seg(10000, -2000, 20000, -2000), kRoadSideEnd, kRoadSideStart));
}

TEST(RoadCorners, CrossingsAreKeptOnTheSideAsked) {
    // The road's line through a circle of radius 3000 about (10000,0): crossings at 7000, 13000,
    // with the line running right through the centre.
    const KyGeLineSeg2d a = Seg(0, 0, 20000, 0);
    const KyGeArc2d b = ArcAbout(10000, 0, 3000, 0, kPi);
    std::vector<KyGePoint> pts = SideIntersections(a, b, kRoadSideStart);
    ASSERT_EQ(pts.size(), 1u);
    ExpectPoint(pts[0], 7000, 0);
    pts = SideIntersections(a, b, kRoadSideEnd);
    ASSERT_EQ(pts.size(), 1u);
    ExpectPoint(pts[0], 13000, 0);
    // Off the centre: x = 10000 +- sqrt(3000^2 - 1000^2).
    pts = SideIntersections(Seg(0, 1000, 20000, 1000), b, kRoadSideEnd);
    ASSERT_EQ(pts.size(), 1u);
    ExpectPoint(pts[0], 10000 + std::sqrt(8e6), 1000);
    // One crossing of two straight curves is always kept; parallel ones give none.
    EXPECT_EQ(SideIntersections(kLeft, Seg(20000, -5, 20000, 5), kRoadSideStart).size(), 1u);
    EXPECT_TRUE(SideIntersections(kLeft, kRight, kRoadSideEnd).empty());
}

TEST(RoadCorners, TheFartherCrossingAndTheOuterCornerAtBothEnds) {
    int result = 0;
    // Measured from the start for the end side, back from the end for the start side.
    ASSERT_TRUE(FartherCrossing(KyGePoint(12000, 2000), KyGePoint(8000, 2000), kLeft, kRoadSideEnd, result));
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(FartherCrossing(KyGePoint(12000, 2000), KyGePoint(8000, 2000), kLeft, kRoadSideStart, result));
    ASSERT_TRUE(FartherCrossing(KyGePoint(2000, 2000), KyGePoint(-2000, 2000), kLeft, kRoadSideStart, result));
    EXPECT_EQ(result, 2);
    // A crossing road at the end, edges at x = 12000 and 8000: the far edge makes the outer
    // corner with the left edge, whichever of the pair it is handed as.
    const KyGeLineSeg2d far = Seg(12000, -10000, 12000, 10000), near = Seg(8000, -10000, 8000, 10000);
    EXPECT_EQ(OuterCornerSide(kLeft, kRight, far, near, kRoadSideEnd), 0);
    EXPECT_EQ(OuterCornerSide(kLeft, kRight, near, far, kRoadSideEnd), 1);
    // At the start, with edges at x = -2000 and 2000, the one nearer the start is farther out.
    const KyGeLineSeg2d before = Seg(-2000, -10000, -2000, 10000), after = Seg(2000, -10000, 2000, 10000);
    EXPECT_EQ(OuterCornerSide(kLeft, kRight, before, after, kRoadSideStart), 0);
    EXPECT_EQ(OuterCornerSide(kLeft, kRight, after, before, kRoadSideStart), 1);
    // A crossing road parallel to this one gives no corner.
    EXPECT_EQ(OuterCornerSide(kLeft, kRight, Seg(0, 9000, 1, 9000), near, kRoadSideEnd), -1);
}
