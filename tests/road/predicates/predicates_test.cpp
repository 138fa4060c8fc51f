// The road predicates on hand-drawn configurations: which edges are partners, which curves
// can make a junction, how far edges lie apart, picks between two crossings and real corners.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "road/roadpredicates.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

KyGeLineSeg2d Seg(double x1, double y1, double x2, double y2) {
    return KyGeLineSeg2d(KyGePoint(x1, y1), KyGePoint(x2, y2));
}
KyGeArc2d ArcAbout(double cx, double cy, double r, double a0, double a1, bool cw = false) {
    return KyGeArc2d(KyGePoint(cx, cy), r, a0, a1, cw);
}

void ExpectPoint(const KyGePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-6);
    EXPECT_NEAR(p.y, y, 1e-6);
}

}  // namespace

TEST(RoadPartners, ParallelStraightEdgesArePartnersOnlyWhereTheyOverlapOnAnotherLine) {
    const KyGeLineSeg2d c = Seg(0, 0, 10000, 0);
    EXPECT_TRUE(IsPartnerEdge(c, Seg(0, 4000, 10000, 4000)));
    EXPECT_TRUE(IsPartnerEdge(c, Seg(10000, 4000, 0, 4000)));   // drawn the other way
    EXPECT_TRUE(IsPartnerEdge(c, Seg(5000, -4000, 15000, -4000)));  // overlapping half
    EXPECT_FALSE(IsPartnerEdge(c, Seg(10000, 0, 20000, 0)));     // the same line
    EXPECT_FALSE(IsPartnerEdge(c, Seg(10000, 4000, 20000, 4000)));  // touching end to end
    EXPECT_FALSE(IsPartnerEdge(c, Seg(12000, 4000, 20000, 4000)));  // beside, no overlap
    EXPECT_FALSE(IsPartnerEdge(c, Seg(0, 4000, 10000, 4100)));   // not parallel
    EXPECT_FALSE(IsPartnerEdge(c, ArcAbout(5000, 0, 4000, 0, kPi)));  // a line and an arc
}

TEST(RoadPartners, ConcentricArcsArePartnersUpTo5000AlongTheCircle) {
    const KyGeArc2d c = ArcAbout(0, 0, 5000, 0, kPi / 2);
    EXPECT_TRUE(IsPartnerEdge(c, ArcAbout(0, 0, 9000, 0, kPi / 2)));
    EXPECT_TRUE(IsPartnerEdge(c, ArcAbout(0, 0, 9000, kPi / 2, 0, true)));  // other sense
    EXPECT_FALSE(IsPartnerEdge(c, ArcAbout(0, 0, 5000, kPi, 1.5 * kPi)));  // one circle
    EXPECT_FALSE(IsPartnerEdge(c, ArcAbout(100, 0, 9000, 0, kPi / 2)));    // other centre
    // On the circle of radius 9000 the partner begins 4000 or 6000 past the end of c's span.
    const double a4 = kPi / 2 + 4000.0 / 9000.0, a6 = kPi / 2 + 6000.0 / 9000.0;
    EXPECT_TRUE(IsPartnerEdge(c, ArcAbout(0, 0, 9000, a4, a4 + 0.5)));
    EXPECT_FALSE(IsPartnerEdge(c, ArcAbout(0, 0, 9000, a6, a6 + 0.5)));
    // A clockwise c is brought onto the other circle the other way round.
    const KyGeArc2d cw = ArcAbout(0, 0, 5000, kPi / 2, 0, true);
    EXPECT_TRUE(IsPartnerEdge(cw, ArcAbout(0, 0, 3000, 0, kPi / 2)));
    const double b6 = kPi / 2 + 6000.0 / 3000.0;
    EXPECT_FALSE(IsPartnerEdge(cw, ArcAbout(0, 0, 3000, b6, b6 + 0.3)));
}

TEST(RoadPartners, NearestPartnersByStartKeepTheCollinearPiecesOfOneEdge) {
    KyGeObjList edges;
    edges << std::make_unique<KyGeLineSeg2d>(Seg(0, 8000, 4000, 8000));   // far partner
    edges << std::make_unique<KyGeLineSeg2d>(Seg(0, 4000, 3000, 4000));   // near piece 1
    edges << std::make_unique<KyGeLineSeg2d>(Seg(5000, 4000, 9000, 4000));  // near piece 2
    edges << std::make_unique<KyGeLineSeg2d>(Seg(0, 1000, 9000, 1500));   // not parallel
    KyGeObjList R;
    ASSERT_TRUE(FindPartnerEdges(edges, Seg(0, 0, 10000, 0), R));
    ASSERT_EQ(R.GetLength(), 2);
    ExpectPoint(KyGeCast<KyGeCurve2d>(R[0])->GetStartPoint(), 0, 4000);
    ExpectPoint(KyGeCast<KyGeCurve2d>(R[1])->GetStartPoint(), 5000, 4000);
    KyGeObjList none;
    EXPECT_FALSE(FindPartnerEdges(edges, Seg(0, 0, 0, 10000), none));
    KeepNearestByStart(edges, nullptr, none);
    EXPECT_TRUE(none.IsEmpty());
}

TEST(RoadPredicates, JunctionCandidatesAndEdgeDistances) {
    EXPECT_TRUE(IsJunctionCandidate(Seg(0, 0, 10, 0), Seg(5, -5, 5, 5)));
    EXPECT_FALSE(IsJunctionCandidate(Seg(0, 0, 10, 0), Seg(20, 5, 0, 5)));
    EXPECT_TRUE(IsJunctionCandidate(Seg(0, 0, 10, 0), ArcAbout(0, 0, 5, 0, kPi)));
    EXPECT_FALSE(IsJunctionCandidate(ArcAbout(0, 0, 5, 0, kPi), ArcAbout(0, 0, 9, 1, 2)));
    EXPECT_TRUE(IsJunctionCandidate(ArcAbout(0, 0, 5, 0, kPi), ArcAbout(3, 0, 9, 1, 2)));
    // From a's start to b's line, even beyond b's ends; radii apart for arcs.
    EXPECT_NEAR(EdgeDistance(Seg(20000, 4000, 30000, 4000), Seg(0, 0, 10000, 0)), 4000, 1e-9);
    EXPECT_NEAR(EdgeDistance(ArcAbout(0, 0, 5000, 0, 1), ArcAbout(0, 0, 9000, 2, 3)), 4000, 1e-9);
}

TEST(RoadPredicates, APickBetweenTwoCrossingsLiesInsideTheSpanTheOtherCurveReaches) {
    const KyGeLineSeg2d a = Seg(-10000, 0, 10000, 0);  // crosses the circle r 5000 at x = -5000, 5000
    KyGePoint P;
    // The quarter from (5000,0) to (0,5000) reaches the crossing at x = 5000.
    EXPECT_EQ(TwoCrossingPickPoint(a, ArcAbout(0, 0, 5000, 0, kPi / 2), P), 1);
    ExpectPoint(P, 4000, 0);
    // The quarter from (0,5000) to (-5000,0) reaches the one at x = -5000.
    EXPECT_EQ(TwoCrossingPickPoint(a, ArcAbout(0, 0, 5000, kPi / 2, kPi), P), 1);
    ExpectPoint(P, -4000, 0);
    // An arc reaching neither: the middle of the span.
    EXPECT_EQ(TwoCrossingPickPoint(a, ArcAbout(0, 0, 5000, 1, 2), P), 1);
    ExpectPoint(P, 0, 0);
    // A short line inside the circle: the crossings lie on the arc, the pick too.
    EXPECT_EQ(TwoCrossingPickPoint(Seg(-1000, 0, 1000, 0), ArcAbout(0, 0, 5000, 0, kPi), P), 2);
    ExpectPoint(P, 0, 5000);
    EXPECT_EQ(TwoCrossingPickPoint(Seg(0, 0, 10, 0), Seg(5, -5, 5, 5), P), 0);  // one crossing
}

TEST(RoadCorners, TangentContinuationsAreNoCornersRadialMeetingsAre) {
    const KyGeArc2d quarter = ArcAbout(0, 0, 1000, 0, kPi / 2);  // (1000,0) to (0,1000)
    EXPECT_FALSE(IsRealCorner(quarter, Seg(0, 1000, -1000, 1000)));  // tangent on
    EXPECT_FALSE(IsRealCorner(Seg(-1000, 1000, 0, 1000), quarter));   // tangent, end to end
    EXPECT_TRUE(IsRealCorner(quarter, Seg(0, 1000, 0, 2000)));        // along the radius
    EXPECT_TRUE(IsRealCorner(quarter, Seg(0, 1000, -1000, 1100)));    // a few degrees off
    EXPECT_FALSE(IsRealCorner(quarter, Seg(0, 1100, -1000, 1100)));   // no shared end
    // An S of two arcs is smooth; the same arcs meeting as a cusp are not.
    EXPECT_FALSE(IsRealCorner(quarter, ArcAbout(0, 2000, 1000, 1.5 * kPi, kPi, true)));
    EXPECT_TRUE(IsRealCorner(quarter, ArcAbout(-1000, 1000, 1000, 0, -kPi / 2, true)));
    // Two straight curves always count: the host's fillet decides.
    EXPECT_TRUE(IsRealCorner(Seg(0, 0, 10, 0), Seg(20, 5, 30, 5)));
}
