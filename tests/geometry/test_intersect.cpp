// Intersections: every point on both curves, tangency, shared ends, far from the origin,
// and splitting curves at their crossings.
#include <cmath>

#include "geomtest.h"

namespace {

// Intersects both ways and checks each point lies on both curves; returns the points.
std::vector<KyGePoint> Cut(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    KyGeObjList list, back;
    const bool any = a.IntersectWith(b, list);
    EXPECT_EQ(any, list.GetLength() > 0);
    b.IntersectWith(a, back);
    EXPECT_EQ(list.GetLength(), back.GetLength());
    for (int i = 0; i < list.GetLength(); ++i) EXPECT_TRUE(list[i]->IsClassOf(KyGePoint2d::s_classInfo));
    std::vector<KyGePoint> pts = Points(list);
    for (const KyGePoint& p : pts) {
        EXPECT_TRUE(OnCurve(a, p)) << p.x << "," << p.y;
        EXPECT_TRUE(OnCurve(b, p)) << p.x << "," << p.y;
    }
    return pts;
}

}  // namespace

TEST(GeomIntersect, StraightPairs) {
    KyGeLineSeg2d s1(KyGePoint(0, 0), KyGePoint(10, 10)), s2(KyGePoint(0, 10), KyGePoint(10, 0));
    auto p = Cut(s1, s2);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_TRUE(Near(p[0], KyGePoint(5, 5)));
    // Segments that would cross beyond their ends do not; their lines do.
    KyGeLineSeg2d s3(KyGePoint(20, 0), KyGePoint(30, -10));
    EXPECT_TRUE(Cut(s1, s3).empty());
    EXPECT_EQ(Cut(KyGeLine2d(s1), KyGeLine2d(s3)).size(), 1u);
    EXPECT_EQ(Cut(KyGeLine2d(s1), s3).size(), 0u);
    // Segments meeting end to end meet in their shared end.
    KyGeLineSeg2d s4(KyGePoint(10, 10), KyGePoint(20, 0));
    p = Cut(s1, s4);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_TRUE(Near(p[0], KyGePoint(10, 10)));
    // Collinear overlap: the overlap's ends.
    KyGeLineSeg2d s5(KyGePoint(5, 5), KyGePoint(15, 15));
    EXPECT_EQ(Cut(s1, s5).size(), 2u);
}

TEST(GeomIntersect, LinesWithArcsAndCircles) {
    KyGeCircle2d circle(KyGePoint(0, 0), 10);
    KyGeLineSeg2d through(KyGePoint(-20, 0), KyGePoint(20, 0));
    auto p = Cut(through, circle);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_TRUE(Near(p[0], KyGePoint(-10, 0)));  // ordered along the segment
    // Tangent: exactly one point.
    KyGeLineSeg2d tangent(KyGePoint(-20, 10), KyGePoint(20, 10));
    p = Cut(tangent, circle);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_TRUE(Near(p[0], KyGePoint(0, 10)));
    // The upper half arc keeps only the upper crossing of a vertical segment.
    KyGeArc2d upper(KyGePoint(0, 0), 10, 0, KyGePi);
    KyGeLineSeg2d vertical(KyGePoint(3, -20), KyGePoint(3, 20));
    p = Cut(vertical, upper);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_GT(p[0].y, 0);
    // A segment ending on the arc's end.
    KyGeLineSeg2d toEnd(KyGePoint(-10, 0), KyGePoint(-10, -5));
    EXPECT_EQ(Cut(toEnd, upper).size(), 1u);
    KyGeLineSeg2d miss(KyGePoint(-20, 30), KyGePoint(20, 30));
    EXPECT_TRUE(Cut(miss, upper).empty());
}

TEST(GeomIntersect, ArcPairs) {
    KyGeCircle2d c1(KyGePoint(0, 0), 10), c2(KyGePoint(12, 0), 10);
    auto p = Cut(c1, c2);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_NEAR(p[0].x, 6, 1e-9);
    // Outer and inner tangency: one point each.
    EXPECT_EQ(Cut(c1, KyGeCircle2d(KyGePoint(20, 0), 10)).size(), 1u);
    EXPECT_EQ(Cut(c1, KyGeCircle2d(KyGePoint(4, 0), 6)).size(), 1u);
    EXPECT_TRUE(Cut(c1, KyGeCircle2d(KyGePoint(1, 0), 3)).empty());
    EXPECT_TRUE(Cut(c1, KyGeCircle2d(KyGePoint(0, 0), 3)).empty());
    // Arcs on one circle overlap at the ends of their overlap.
    KyGeArc2d a1(KyGePoint(0, 0), 10, 0, 2), a2(KyGePoint(0, 0), 10, 1, 3);
    EXPECT_EQ(Cut(a1, a2).size(), 2u);
    // Arc against arc of another circle, clockwise.
    KyGeArc2d a3(KyGePoint(12, 0), 10, KyGePi, KyGePi / 2, true);
    EXPECT_EQ(Cut(KyGeArc2d(KyGePoint(0, 0), 10, 0, KyGePi), a3).size(), 1u);
}

// Crossings far from the origin are checked by the random sweep; a line all but tangent there
// still gives its point on both.
TEST(GeomIntersect, FarFromOriginANearTangentLandsOnBoth) {
    const KyGePoint o(1.234567e7, 9.87654e6);
    const double top = o.y + 400 + 1200.5 - 1e-5;
    KyGeLine2d nearTangent(KyGePoint(o.x - 5000, top), KyGePoint(o.x + 5000, top));
    KyGeCircle2d circle(KyGePoint(o.x + 900, o.y + 400), 1200.5);
    EXPECT_EQ(Cut(nearTangent, circle).size(), 1u);
}

TEST(GeomIntersect, ResultsAreSortedAlongTheAskingCurve) {
    KyGePolyline2d zig;
    zig.AppendVertex(KyGePoint(0, -5));
    zig.AppendVertex(KyGePoint(10, 5));
    zig.AppendVertex(KyGePoint(20, -5));
    KyGeLineSeg2d axis(KyGePoint(30, 0), KyGePoint(-10, 0));
    KyGeObjList list;
    ASSERT_TRUE(axis.IntersectWith(zig, list));
    ASSERT_EQ(list.GetLength(), 2);
    list.Sort(true);  // keys are parameters on the asking curve
    EXPECT_TRUE(Near(KyGeCast<KyGePoint2d>(list[0])->GetPoint(), KyGePoint(15, 0)));
    EXPECT_LT(list.GetKey(0), list.GetKey(1));
}

TEST(GeomBreak, CrossingSquareOfFourLines) {
    // Four segments overshooting each other like a hash sign: each is cut twice.
    KyGeObjList list;
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(-5, 0), KyGePoint(15, 0));
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(10, -5), KyGePoint(10, 15));
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(15, 10), KyGePoint(-5, 10));
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(0, 15), KyGePoint(0, -5));
    ASSERT_TRUE(InterBreakCurve2d(list));
    ASSERT_EQ(list.GetLength(), 12);
    double total = 0;
    for (int i = 0; i < list.GetLength(); ++i) total += KyGeCast<KyGeCurve2d>(list[i])->Length();
    EXPECT_NEAR(total, 80, 1e-9);
    // The first segment's pieces stay in place and in its direction.
    const auto* first = KyGeCast<KyGeCurve2d>(list[0]);
    EXPECT_TRUE(Near(first->GetStartPoint(), KyGePoint(-5, 0)));
    EXPECT_TRUE(Near(first->GetEndPoint(), KyGePoint(0, 0)));
    EXPECT_TRUE(Near(KyGeCast<KyGeCurve2d>(list[1])->GetEndPoint(), KyGePoint(10, 0)));
    // Touching at ends only: nothing to split.
    KyGeObjList chain;
    chain << std::make_unique<KyGeLineSeg2d>(KyGePoint(0, 0), KyGePoint(10, 0));
    chain << std::make_unique<KyGeLineSeg2d>(KyGePoint(10, 0), KyGePoint(10, 10));
    EXPECT_FALSE(InterBreakCurve2d(chain));
    EXPECT_EQ(chain.GetLength(), 2);
}

TEST(GeomBreak, ArcCutByASegment) {
    KyGeObjList list;
    list << std::make_unique<KyGeArc2d>(KyGePoint(0, 0), 10, 0, KyGePi);
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(0, -1), KyGePoint(0, 20));
    ASSERT_TRUE(InterBreakCurve2d(list));
    ASSERT_EQ(list.GetLength(), 4);
    const auto* a0 = KyGeCast<KyGeArc2d>(list[0]);
    ASSERT_TRUE(a0);
    EXPECT_NEAR(a0->GetSweep(), KyGePi / 2, 1e-9);
    EXPECT_TRUE(Near(a0->GetEndPoint(), KyGePoint(0, 10)));
}
