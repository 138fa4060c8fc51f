// The road's curves: offsets on the right side at the right distance for lines and both arc
// senses, refusals of impossible offsets, and the three lines a picked segment gives.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/db/dbarc.h"
#include "host/db/dbline.h"
#include "road/roadcurve.h"
#include "road/roadedges.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0); }

void ExpectPoint(const KyGePoint& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-6);
    EXPECT_NEAR(p.y, y, 1e-6);
}
void ExpectPoint(const AcGePoint3d& p, double x, double y) { ExpectPoint(KyGePoint(p.x, p.y), x, y); }

const KyGeArc2d& AsArc(const std::unique_ptr<KyGeCurve2d>& curve) {
    const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(curve.get());
    EXPECT_NE(arc, nullptr);
    static const KyGeArc2d none;
    return arc ? *arc : none;
}

double OffsetRadius(const std::unique_ptr<KyGeCurve2d>& curve, double d) {
    return AsArc(RoadOffsetCurve(*curve, d)).GetRadius();
}

// A line from (0,0) to (10000,0) picked as each of the three lines, widths 2000 and 2000.
struct PosCase {
    int posLine;
    double centreY, leftY, rightY;
};

}  // namespace

TEST(RoadLines, ThePickedLineIsTheCentreOrAnEdgeByThePositioning) {
    const auto picked = MakeRoadLine(P(0, 0), P(10000, 0));
    ASSERT_TRUE(picked);
    for (const PosCase c : {PosCase{0, 0, 2000, -2000}, PosCase{1, -2000, 0, -4000},
                            PosCase{2, 2000, 4000, 0}}) {
        SCOPED_TRACE(c.posLine);
        const KyRoadSegmentLines lines = DeriveRoadLines(*picked, c.posLine, 2000, 2000);
        ASSERT_TRUE(lines.centre && lines.left && lines.right);
        ExpectPoint(lines.centre->GetStartPoint(), 0, c.centreY);
        ExpectPoint(lines.centre->GetEndPoint(), 10000, c.centreY);
        ExpectPoint(lines.left->GetStartPoint(), 0, c.leftY);
        ExpectPoint(lines.right->GetEndPoint(), 10000, c.rightY);
    }
}

TEST(RoadLines, UnequalWidthsAndTravelDirectionDecideTheSides) {
    // Travelling down the y axis, left is +x.
    const auto picked = MakeRoadLine(P(0, 10000), P(0, 0));
    ASSERT_TRUE(picked);
    const KyRoadSegmentLines lines = DeriveRoadLines(*picked, 0, 1000, 3000);
    ExpectPoint(lines.left->GetStartPoint(), 1000, 10000);
    ExpectPoint(lines.right->GetStartPoint(), -3000, 10000);
    // Zero widths (texts that are no number) put both edges on the centre.
    const KyRoadSegmentLines flat = DeriveRoadLines(*picked, 2, 0, 0);
    ExpectPoint(flat.left->GetEndPoint(), 0, 0);
    ExpectPoint(flat.right->GetEndPoint(), 0, 0);
}

TEST(RoadCurve, ArcsThroughThreePointsOfBothSensesOffsetToTheirSides) {
    // Anticlockwise half circle of radius 5000 about (5000,0): the centre is on the left.
    const auto ccw = MakeRoadArc(P(10000, 0), P(5000, 5000), P(0, 0));
    ASSERT_TRUE(ccw);
    EXPECT_FALSE(ccw->IsClockwise());
    ExpectPoint(AsArc(ccw).GetCenter(), 5000, 0);
    EXPECT_NEAR(AsArc(ccw).GetRadius(), 5000, 1e-6);
    EXPECT_NEAR(OffsetRadius(ccw, -2000), 3000, 1e-6);
    EXPECT_NEAR(OffsetRadius(ccw, +2000), 7000, 1e-6);
    ExpectPoint(RoadOffsetCurve(*ccw, -2000)->GetStartPoint(), 8000, 0);
    // The same arc travelled the other way is clockwise: the centre is on the right.
    const auto cw = MakeRoadArc(P(0, 0), P(5000, 5000), P(10000, 0));
    ASSERT_TRUE(cw);
    EXPECT_TRUE(cw->IsClockwise());
    EXPECT_NEAR(OffsetRadius(cw, -2000), 7000, 1e-6);
    EXPECT_NEAR(OffsetRadius(cw, +2000), 3000, 1e-6);
    ExpectPoint(RoadOffsetCurve(*cw, +2000)->GetEndPoint(), 8000, 0);
}

TEST(RoadCurve, HostArcsRunAnticlockwiseOverTheSameSpanForBothSenses) {
    // A quarter arc about the origin from (1000,0) to (0,1000), taken both ways.
    const double s = std::sqrt(0.5) * 1000;
    for (bool reverse : {false, true}) {
        SCOPED_TRACE(reverse);
        const auto arc = reverse ? MakeRoadArc(P(0, 1000), P(s, s), P(1000, 0))
                                 : MakeRoadArc(P(1000, 0), P(s, s), P(0, 1000));
        ASSERT_TRUE(arc);
        const std::unique_ptr<AcDbEntity> e = RoadCurveToEntity(*arc);
        const AcDbArc* host = AcDbArc::cast(e.get());
        ASSERT_NE(host, nullptr);
        EXPECT_NEAR(host->radius(), 1000, 1e-6);
        EXPECT_NEAR(host->startAngle(), 0, 1e-9);
        EXPECT_NEAR(host->endAngle(), kPi / 2, 1e-9);
    }
    const auto line = MakeRoadLine(P(1, 2), P(3, 4));
    const std::unique_ptr<AcDbEntity> e = RoadCurveToEntity(*line);
    ASSERT_NE(AcDbLine::cast(e.get()), nullptr);
    ExpectPoint(AcDbLine::cast(e.get())->endPoint(), 3, 4);
}

TEST(RoadCurve, ImpossibleCurvesAndOffsetsAreRefused) {
    EXPECT_FALSE(MakeRoadLine(P(5, 5), P(5, 5)));
    EXPECT_FALSE(MakeRoadLine(P(0, 0), P(NAN, 1)));
    EXPECT_FALSE(MakeRoadArc(P(0, 0), P(5, 0), P(10, 0)));      // on one line
    EXPECT_FALSE(MakeRoadArc(P(0, 0), P(0, 0), P(10, 10)));     // two points the same
    EXPECT_FALSE(MakeRoadArc(P(0, 0), P(5, 5), P(0, 0)));       // start is end
    const auto arc = MakeRoadArc(P(10000, 0), P(5000, 5000), P(0, 0));
    EXPECT_FALSE(RoadOffsetCurve(*arc, -5000));  // radius would be zero
    EXPECT_FALSE(RoadOffsetCurve(*arc, -6000));
    EXPECT_FALSE(RoadOffsetCurve(*arc, INFINITY));
    EXPECT_FALSE(RoadOffsetCurve(*MakeRoadLine(P(0, 0), P(1, 0)), NAN));
    // Widths near the largest double would carry the edge to infinity.
    EXPECT_FALSE(RoadOffsetCurve(*MakeRoadLine(P(1e308, 0), P(1e308, 1)), 1.7e308));
    EXPECT_FALSE(RoadOffsetCurve(*arc, 1.7e308));  // a radius past any site
    // An arc too tight for the width on its inner side gives no centre or no edge.
    const KyRoadSegmentLines tight = DeriveRoadLines(*arc, 0, 6000, 2000);
    EXPECT_TRUE(tight.centre && tight.right);
    EXPECT_FALSE(tight.left);
    const KyRoadSegmentLines noCentre = DeriveRoadLines(*arc, 2, 2000, 6000);
    EXPECT_FALSE(noCentre.centre);
}

TEST(RoadCurve, FarFromTheOriginTheArcKeepsItsCentreAndRadius) {
    const double x0 = 1e7, y0 = -1e7;
    const auto arc = MakeRoadArc(P(x0 + 3000, y0), P(x0, y0 + 3000), P(x0 - 3000, y0));
    ASSERT_TRUE(arc);
    ExpectPoint(AsArc(arc).GetCenter(), x0, y0);
    EXPECT_NEAR(OffsetRadius(arc, +1000), 4000, 1e-6);
}
