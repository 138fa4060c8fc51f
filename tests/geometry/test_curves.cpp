// Lines, segments, arcs and circles: offsets, parameters, sub-curves, hit tests, degenerate input.
#include <cmath>
#include <limits>

#include "geomtest.h"

namespace {
const KyGePoint O(0, 0);
}

TEST(GeomOffset, SegmentNegativeLeftPositiveRight) {
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(100, 0));
    auto left = seg.GetOffsetCurve(-5);
    auto right = seg.GetOffsetCurve(5);
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(Near(left->GetStartPoint(), KyGePoint(0, 5)));
    EXPECT_TRUE(Near(right->GetEndPoint(), KyGePoint(100, -5)));
    EXPECT_EQ(seg.HitTest(left->GetMidPoint()), kKyGeHitLeft);
    EXPECT_EQ(seg.HitTest(right->GetMidPoint()), 0);
    EXPECT_TRUE(left->IsClassOf(KyGeLineSeg2d::s_classInfo));
    KyGeLine2d line(seg);
    auto l2 = line.GetOffsetCurve(-5);
    ASSERT_TRUE(l2);
    EXPECT_FALSE(l2->IsBounded());
    EXPECT_TRUE(seg.Offset(3));
    EXPECT_TRUE(Near(seg.GetStartPoint(), KyGePoint(0, -3)));
}

TEST(GeomOffset, ArcsOfBothSensesAtDistanceOnTheRightSide) {
    for (bool cw : {false, true}) {
        KyGeArc2d arc(O, 100, 0, KyGePi / 2, cw);  // cw: from 0 down round to pi/2
        ASSERT_TRUE(arc.IsValid());
        auto left = arc.GetOffsetCurve(-10);
        ASSERT_TRUE(left);
        const auto* a = KyGeCast<KyGeArc2d>(left.get());
        ASSERT_TRUE(a);
        // Left of travel is inside for counter-clockwise, outside for clockwise.
        EXPECT_NEAR(a->GetRadius(), cw ? 110.0 : 90.0, 1e-9);
        EXPECT_EQ(a->IsClockwise(), cw);
        // The offset's points lie on the left by the side test of the arc itself.
        const int flags = arc.HitTest(left->GetMidPoint());
        EXPECT_EQ(flags, cw ? kKyGeHitOutside : kKyGeHitLeft);
        // Too far towards the centre: no offset.
        EXPECT_EQ(arc.GetOffsetCurve(cw ? 100 : -100), nullptr);
        EXPECT_EQ(arc.GetOffsetCurve(cw ? 150 : -150), nullptr);
    }
}

TEST(GeomArc, ThreePointConstructionAndSense) {
    KyGeArc2d ccw(KyGePoint(10, 0), KyGePoint(0, 10), KyGePoint(-10, 0));
    ASSERT_TRUE(ccw.IsValid());
    EXPECT_TRUE(Near(ccw.GetCenter(), O));
    EXPECT_NEAR(ccw.GetRadius(), 10, 1e-12);
    EXPECT_FALSE(ccw.IsClockwise());
    EXPECT_NEAR(ccw.Length(), 10 * KyGePi, 1e-9);
    EXPECT_TRUE(Near(ccw.GetMidPoint(), KyGePoint(0, 10)));
    KyGeArc2d cw(KyGePoint(10, 0), KyGePoint(0, -10), KyGePoint(-10, 0));
    EXPECT_TRUE(cw.IsClockwise());
    EXPECT_TRUE(Near(cw.GetMidPoint(), KyGePoint(0, -10)));
    // Far from the origin the centre keeps its digits.
    const KyGePoint f(1e7, 2e7);
    KyGeArc2d far(KyGePoint(f.x + 5000, f.y), KyGePoint(f.x, f.y + 5000), KyGePoint(f.x - 5000, f.y));
    EXPECT_TRUE(Near(far.GetCenter(), f, 1e-6));
    EXPECT_NEAR(far.GetRadius(), 5000, 1e-7);
}

TEST(GeomDegenerate, NegativeAnswersNeverNaN) {
    EXPECT_EQ(KyGeArc2d::Create(KyGePoint(0, 0), KyGePoint(1, 1), KyGePoint(2, 2)), nullptr);
    EXPECT_EQ(KyGeArc2d::Create(KyGePoint(0, 0), KyGePoint(0, 0), KyGePoint(2, 2)), nullptr);
    // Nearly collinear at 1e7: a middle point within the tolerance of the chord makes no arc.
    EXPECT_EQ(KyGeArc2d::Create(KyGePoint(1e7, 1e7), KyGePoint(1e7 + 500, 1e7 + 5e-5), KyGePoint(1e7 + 1000, 1e7)), nullptr);
    EXPECT_EQ(KyGeArc2d::CreateFromBulge(KyGePoint(0, 0), KyGePoint(10, 0), 1e300), nullptr);
    EXPECT_EQ(KyGeArc2d::Create(O, 0.0, 0, 1), nullptr);
    EXPECT_EQ(KyGeArc2d::Create(O, 5.0, 1, 1), nullptr);
    EXPECT_EQ(KyGeArc2d::Create(O, std::numeric_limits<double>::quiet_NaN(), 0, 1), nullptr);
    EXPECT_EQ(KyGeArc2d::CreateFromBulge(O, O, 1.0), nullptr);
    KyGeLineSeg2d zero(KyGePoint(5, 5), KyGePoint(5, 5));
    EXPECT_EQ(zero.GetOffsetCurve(1), nullptr);
    EXPECT_EQ(zero.GetExtendCurve(), nullptr);
    EXPECT_EQ(zero.GetSubCurve(0.0, 1.0), nullptr);
    KyGePoint out;
    EXPECT_FALSE(zero.GetClosestPoint2d(KyGePoint(0, 0), out));
    EXPECT_TRUE(std::isfinite(zero.GetPaFromPt(KyGePoint(1, 1))));
    EXPECT_TRUE(std::isfinite(zero.GetTangent(0.5).x));
    KyGeObjList list;
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(10, 10));
    EXPECT_FALSE(zero.IntersectWith(seg, list));
    // Parallel lines never meet.
    KyGeLine2d l1(KyGePoint(0, 0), KyGePoint(1, 0)), l2(KyGePoint(0, 1), KyGePoint(1, 1));
    EXPECT_FALSE(l1.IntersectWith(l2, list));
    EXPECT_EQ(list.GetLength(), 0);
    KyGeArc2d bad;
    EXPECT_EQ(bad.GetOffsetCurve(1), nullptr);
    EXPECT_EQ(bad.PLinearize(0), nullptr);
    EXPECT_TRUE(std::isfinite(bad.GetPaFromPt(KyGePoint(1, 1))));
    EXPECT_FALSE(seg.GetOffsetCurve(std::numeric_limits<double>::infinity()));
}

// Offsets by absurd (finite) distances would put coordinates beyond the finite numbers.
TEST(GeomDegenerate, AbsurdOffsetsAreRefused) {
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(1e7, 1e7));
    EXPECT_EQ(seg.GetOffsetCurve(1e300), nullptr);
    EXPECT_EQ(KyGeLine2d(KyGePoint(0, 0), KyGePoint(1, 0)).GetOffsetCurve(-1e300), nullptr);
    auto arc = KyGeArc2d::Create(KyGePoint(0, 0), 1e11, 0, 1);
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->GetOffsetCurve(1e12), nullptr);
    KyGeCircle2d circle(O, 10, 0, false);
    EXPECT_EQ(circle.GetOffsetCurve(1e300), nullptr);
    // A site-sized offset still works.
    auto moved = seg.GetOffsetCurve(5000);
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(std::isfinite(moved->GetStartPoint().x));
}

TEST(GeomParams, PointParameterRoundTrips) {
    KyGeLineSeg2d seg(KyGePoint(1e7, 1e7), KyGePoint(1e7 + 300, 1e7 - 400));
    KyGeArc2d arc(KyGePoint(5, 5), 50, 0.3, 2.5, true);
    KyGeCircle2d circle(KyGePoint(-3, 4), 20, 1.0, true);
    KyGeLine2d line(KyGePoint(2, 2), KyGePoint(4, 3));
    const KyGeCurve2d* curves[] = {&seg, &arc, &circle, &line};
    for (const KyGeCurve2d* c : curves) {
        for (double t : {0.0, 0.1, 0.5, 0.9, 0.999}) {
            const KyGePoint p = c->GetPtFromPa(t);
            EXPECT_NEAR(c->GetPaFromPt(p), t, 1e-9);
            EXPECT_TRUE(OnCurve(*c, p));
        }
    }
    EXPECT_TRUE(Near(seg.GetPtFromDist(250), KyGePoint(1e7 + 150, 1e7 - 200)));
    EXPECT_TRUE(Near(seg.GetPtFromDist(1e9), seg.GetEndPoint()));  // clamped
    EXPECT_TRUE(Near(line.GetPtFromPa(-1), KyGePoint(0, 1)));      // unbounded goes on
    EXPECT_NEAR(arc.GetDistFromPt(arc.GetPtFromDist(30)), 30, 1e-9);
    // Tangents follow travel.
    KyGeArc2d quarter(O, 10, 0, KyGePi / 2);
    EXPECT_TRUE(Near(KyGePoint() + quarter.GetTangent(0), KyGePoint(0, 1)));
    quarter.Reverse();
    EXPECT_TRUE(Near(KyGePoint() + quarter.GetTangent(1), KyGePoint(0, -1)));
    EXPECT_TRUE(Near(quarter.GetStartPoint(), KyGePoint(0, 10)));
}

TEST(GeomClosest, FalseWhenTheFootLiesOff) {
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(10, 0));
    KyGePoint out;
    EXPECT_TRUE(seg.GetClosestPoint2d(KyGePoint(5, 3), out));
    EXPECT_TRUE(Near(out, KyGePoint(5, 0)));
    EXPECT_FALSE(seg.GetClosestPoint2d(KyGePoint(12, 3), out));
    KyGeArc2d arc(O, 10, 0, KyGePi / 2);
    EXPECT_TRUE(arc.GetClosestPoint2d(KyGePoint(20, 20), out));
    EXPECT_TRUE(Near(out, KyGePoint(10 / std::sqrt(2.0), 10 / std::sqrt(2.0))));
    EXPECT_FALSE(arc.GetClosestPoint2d(KyGePoint(-5, -5), out));
    EXPECT_FALSE(arc.GetClosestPoint2d(O, out));  // every point is as near
    KyGeLine2d line(seg);
    EXPECT_TRUE(line.GetClosestPoint2d(KyGePoint(50, 7), out));
    EXPECT_TRUE(Near(out, KyGePoint(50, 0)));
}

TEST(GeomSubCurve, UnboundedLinesAndCirclesReachBeyondTheirEdge) {
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(10, 0));
    auto ext = seg.GetExtendCurve();
    ASSERT_TRUE(ext);
    auto piece = ext->GetSubCurve(KyGePoint(-5, 2), KyGePoint(25, -1));
    ASSERT_TRUE(piece);
    EXPECT_TRUE(Near(piece->GetStartPoint(), KyGePoint(-5, 0)));
    EXPECT_TRUE(Near(piece->GetEndPoint(), KyGePoint(25, 0)));
    EXPECT_EQ(seg.GetSubCurve(KyGePoint(-5, 0), KyGePoint(5, 0)), nullptr);  // off the segment
    auto back = seg.GetSubCurve(KyGePoint(8, 1), KyGePoint(2, 1));
    ASSERT_TRUE(back);
    EXPECT_TRUE(Near(back->GetStartPoint(), KyGePoint(8, 0)));

    // A quarter arc's circle: from a point before the arc's start round to its end.
    KyGeArc2d arc(O, 10, 0, KyGePi / 2);
    auto circle = arc.GetExtendCurve();
    ASSERT_TRUE(circle && circle->IsClassOf(KyGeCircle2d::s_classInfo));
    EXPECT_TRUE(Near(circle->GetStartPoint(), arc.GetStartPoint()));
    auto longer = circle->GetSubCurve(KyGePoint(0, -10), arc.GetEndPoint());
    ASSERT_TRUE(longer);
    EXPECT_NEAR(longer->Length(), 10 * KyGePi, 1e-9);
    EXPECT_FALSE(longer->IsClockwise());
    auto wrap = circle->GetSubCurve(0.75, 0.25);
    ASSERT_TRUE(wrap);
    EXPECT_NEAR(wrap->Length(), 10 * KyGePi, 1e-9);
    EXPECT_TRUE(Near(wrap->GetMidPoint(), KyGePoint(10, 0)));
    // Clockwise circles go round the other way.
    KyGeArc2d cwArc(O, 10, KyGePi / 2, 0, true);
    auto cwCircle = cwArc.GetExtendCurve();
    auto cwPiece = cwCircle->GetSubCurve(KyGePoint(0, 10), KyGePoint(-10, 0));
    ASSERT_TRUE(cwPiece);
    EXPECT_NEAR(cwPiece->Length(), 15 * KyGePi, 1e-9);
    EXPECT_TRUE(cwPiece->IsClockwise());
    // Sub-arc backwards along a bounded arc turns its sense.
    auto rev = arc.GetSubCurve(0.8, 0.2);
    ASSERT_TRUE(rev);
    EXPECT_TRUE(rev->IsClockwise());
    EXPECT_TRUE(Near(rev->GetStartPoint(), arc.GetPtFromPa(0.8)));
    EXPECT_TRUE(Near(rev->GetEndPoint(), arc.GetPtFromPa(0.2)));
}

TEST(GeomHitTest, LineSidesAndArcSenses) {
    KyGeLineSeg2d seg(KyGePoint(0, 0), KyGePoint(10, 0));
    EXPECT_EQ(seg.HitTest(KyGePoint(5, 0)), kKyGeHitOn);
    EXPECT_EQ(seg.HitTest(KyGePoint(5, 1)), kKyGeHitLeft);
    EXPECT_EQ(seg.HitTest(KyGePoint(5, -1)), 0);
    EXPECT_EQ(seg.HitTest(KyGePoint(15, 0)), 0);  // on the extension only
    KyGeLine2d line(seg);
    EXPECT_EQ(line.HitTest(KyGePoint(15, 0)), kKyGeHitOn);
    // A counter-clockwise arc's left (inside) answers 2, a clockwise arc's left (outside) 4.
    KyGeArc2d ccw(O, 10, 0, KyGePi);
    KyGeArc2d cw(O, 10, KyGePi, 0, true);
    EXPECT_EQ(ccw.HitTest(KyGePoint(0, 5)), kKyGeHitLeft);
    EXPECT_EQ(cw.HitTest(KyGePoint(0, 15)), kKyGeHitOutside);
    EXPECT_EQ(ccw.HitTest(KyGePoint(0, 10)), kKyGeHitOn);
    EXPECT_EQ(ccw.HitTest(KyGePoint(0, -12)), kKyGeHitOutside);
    EXPECT_EQ(ccw.HitTest(KyGePoint(0, -10)) & kKyGeHitOn, 0);  // on the circle, off the arc
    EXPECT_TRUE(ccw.IsInclude(KyGePoint(10, 0)));
}

TEST(GeomConbine, JoinsAlongOneLineOrCircle) {
    KyGeLineSeg2d a(KyGePoint(0, 0), KyGePoint(10, 0));
    EXPECT_TRUE(a.Conbine(KyGeLineSeg2d(KyGePoint(15, 0), KyGePoint(5, 0)), true));
    EXPECT_TRUE(Near(a.GetEndPoint(), KyGePoint(15, 0)));
    EXPECT_TRUE(Near(a.GetStartPoint(), KyGePoint(0, 0)));
    // A gap joins only when asked to be bridged.
    EXPECT_FALSE(a.Conbine(KyGeLineSeg2d(KyGePoint(20, 0), KyGePoint(30, 0)), false));
    EXPECT_TRUE(a.Conbine(KyGeLineSeg2d(KyGePoint(20, 0), KyGePoint(30, 0)), true));
    EXPECT_NEAR(a.Length(), 30, 1e-12);
    EXPECT_FALSE(a.Conbine(KyGeLineSeg2d(KyGePoint(0, 1), KyGePoint(10, 1)), true));   // parallel
    KyGeArc2d arc(O, 10, 0, KyGePi / 2);
    EXPECT_TRUE(arc.Conbine(KyGeArc2d(O, 10, KyGePi, KyGePi / 4, true), true));
    EXPECT_NEAR(arc.GetSweep(), KyGePi, 1e-9);
    EXPECT_TRUE(Near(arc.GetStartPoint(), KyGePoint(10, 0)));
    EXPECT_FALSE(arc.Conbine(KyGeArc2d(O, 11, 0, 1), true));
    // Arcs apart on one circle: bridging the gap the short way round measures how far apart.
    KyGeArc2d p1(O, 1000, 0, 0.5), p2(O, 1000, 2.0, 1.5, true);
    KyGeArc2d u = p1;
    EXPECT_FALSE(u.Conbine(p2, false));
    ASSERT_TRUE(u.Conbine(p2, true));
    EXPECT_NEAR(u.Length() - (p1.Length() + p2.Length()), 1000.0, 1e-9);
    EXPECT_FALSE(u.IsClockwise());
    KyGeArc2d behind(O, 1000, -1.0, -0.5);  // before p1's start: joined in front of it
    u = p1;
    ASSERT_TRUE(u.Conbine(behind, true));
    EXPECT_NEAR(u.GetSweep(), 1.5, 1e-12);
    EXPECT_TRUE(Near(u.GetStartPoint(), behind.GetStartPoint()));
    EXPECT_TRUE(arc.IsInclude(KyGeArc2d(O, 10, 0.5, 1.0)));
    EXPECT_FALSE(arc.IsInclude(KyGeArc2d(O, 10, 3.0, 3.5)));
}

TEST(GeomTransform, ArcsFollowRotationAndMirror) {
    KyGeArc2d arc(KyGePoint(10, 0), 5, 0, KyGePi / 2);
    ASSERT_TRUE(arc.TransformBy(KyGeMatrix::CreateRotateMatrix(KyGePi / 2, O)));
    EXPECT_TRUE(Near(arc.GetCenter(), KyGePoint(0, 10)));
    EXPECT_TRUE(Near(arc.GetStartPoint(), KyGePoint(0, 15)));
    const KyGePoint endBefore = arc.GetEndPoint();
    ASSERT_TRUE(arc.TransformBy(KyGeMatrix::CreateMirrorMatrix(KyGePoint(-1, 0), KyGePoint(1, 0))));
    EXPECT_TRUE(arc.IsClockwise());
    EXPECT_TRUE(Near(arc.GetEndPoint(), KyGePoint(endBefore.x, -endBefore.y)));
    KyGeMatrix squash;
    squash.m[1][1] = 0.5;
    EXPECT_FALSE(arc.TransformBy(squash));
}
