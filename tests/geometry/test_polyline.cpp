// Polylines: vertex editing, bulges, closed outlines with arcs, offsets, sub-curves and joins.
#include <cmath>

#include "geomtest.h"

namespace {

// A 10 x 10 square from (0,0) whose top edge bulges out into a half circle (counter-clockwise).
KyGePolyline2d DomedSquare() {
    KyGePolyline2d pl;
    pl.AppendVertex(KyGePoint(0, 0));
    pl.AppendVertex(KyGePoint(10, 0));
    pl.AppendVertex(KyGePoint(10, 10), 1.0);
    pl.AppendVertex(KyGePoint(0, 10));
    pl.SetClosed(true);
    return pl;
}

}  // namespace

TEST(GeomPolyline, VerticesSegmentsAndBulges) {
    KyGePolyline2d pl = DomedSquare();
    EXPECT_EQ(pl.GetVertexNum(), 4);
    EXPECT_EQ(pl.GetSegNum(), 4);
    EXPECT_TRUE(pl.IsArcSeg(2));
    EXPECT_FALSE(pl.IsArcSeg(3));
    auto arc = pl.GetSegment(2);
    ASSERT_TRUE(arc && arc->IsClassOf(KyGeArc2d::s_classInfo));
    EXPECT_TRUE(Near(KyGeCast<KyGeArc2d>(arc.get())->GetCenter(), KyGePoint(5, 10)));
    EXPECT_TRUE(Near(arc->GetMidPoint(), KyGePoint(5, 15)));
    EXPECT_NEAR(pl.Length(), 30 + 5 * KyGePi, 1e-9);
    EXPECT_NEAR(pl.GetArea(), 100 + 12.5 * KyGePi, 1e-9);
    EXPECT_FALSE(pl.IsClockwise());
    EXPECT_FALSE(pl.AppendVertex(KyGePoint(std::nan(""), 0)));
    EXPECT_FALSE(pl.InsertVertex(9, KyGePoint(1, 1)));
    EXPECT_EQ(pl.GetSegment(7), nullptr);
    // Bulge and arc agree both ways.
    auto a = KyGeArc2d::CreateFromBulge(KyGePoint(0, 0), KyGePoint(10, 0), -0.5);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->IsClockwise());
    EXPECT_NEAR(a->GetBulge(), -0.5, 1e-12);
}

TEST(GeomPolyline, HitTestOfClosedOutlineWithArc) {
    KyGePolyline2d pl = DomedSquare();
    EXPECT_EQ(pl.HitTest(KyGePoint(5, 5)), kKyGeHitInside);
    EXPECT_EQ(pl.HitTest(KyGePoint(5, 13)), kKyGeHitInside);  // inside the dome
    EXPECT_EQ(pl.HitTest(KyGePoint(9.5, 14)), 0);             // beside the dome
    EXPECT_EQ(pl.HitTest(KyGePoint(-1, 5)), 0);
    EXPECT_EQ(pl.HitTest(KyGePoint(5, 15)), kKyGeHitOn);
    EXPECT_EQ(pl.HitTest(KyGePoint(0, 5)), kKyGeHitOn);
    // The same outline run clockwise, and with the arc bent inwards.
    KyGePolyline2d rev = pl;
    rev.Reverse();
    EXPECT_TRUE(rev.IsClockwise());
    EXPECT_EQ(rev.HitTest(KyGePoint(5, 13)), kKyGeHitInside);
    KyGePolyline2d bite = pl;
    bite.SetBulge(2, -1.0);
    EXPECT_EQ(bite.HitTest(KyGePoint(5, 8)), 0);  // bitten away
    EXPECT_EQ(bite.HitTest(KyGePoint(1, 4)), kKyGeHitInside);
    // Open polylines answer the side of their nearest segment.
    KyGePolyline2d open;
    open.AppendVertex(KyGePoint(0, 0));
    open.AppendVertex(KyGePoint(10, 0));
    EXPECT_EQ(open.HitTest(KyGePoint(5, 2)), kKyGeHitLeft);
}

TEST(GeomPolyline, ReverseKeepsTheShape) {
    KyGePolyline2d pl = DomedSquare();
    pl.SetClosed(false);
    KyGePolyline2d rev = pl;
    rev.Reverse();
    EXPECT_TRUE(Near(rev.GetStartPoint(), pl.GetEndPoint()));
    EXPECT_NEAR(rev.Length(), pl.Length(), 1e-9);
    EXPECT_TRUE(Near(rev.GetPtFromPa(0.3), pl.GetPtFromPa(0.7), 1e-9));
    rev.Reverse();
    for (int i = 0; i < pl.GetVertexNum(); ++i) EXPECT_DOUBLE_EQ(rev.GetBulge(i), pl.GetBulge(i));
}

TEST(GeomPolyline, RemoveDupPointAndJoin) {
    KyGePolyline2d pl;
    pl.AppendVertex(KyGePoint(0, 0));
    pl.AppendVertex(KyGePoint(0, 0));
    pl.AppendVertex(KyGePoint(10, 0), 0.5);
    pl.AppendVertex(KyGePoint(20, 0));
    pl.AppendVertex(KyGePoint(0, 0));
    pl.SetClosed(true);
    EXPECT_EQ(pl.RemoveDupPoint(), 2);
    EXPECT_EQ(pl.GetVertexNum(), 3);
    EXPECT_DOUBLE_EQ(pl.GetBulge(1), 0.5);

    KyGePolyline2d chain;
    chain.AppendVertex(KyGePoint(0, 0));
    chain.AppendVertex(KyGePoint(10, 0));
    EXPECT_TRUE(chain.Conbine(KyGeArc2d(KyGePoint(10, 5), 5, -KyGePi / 2, KyGePi / 2), true));
    EXPECT_TRUE(chain.Conbine(KyGeLineSeg2d(KyGePoint(0, 20), KyGePoint(10, 10)), true));  // reversed
    EXPECT_TRUE(chain.Conbine(KyGeLineSeg2d(KyGePoint(-5, 0), KyGePoint(0, 0)), true));    // prepended
    EXPECT_EQ(chain.GetVertexNum(), 5);
    EXPECT_TRUE(Near(chain.GetStartPoint(), KyGePoint(-5, 0)));
    EXPECT_TRUE(Near(chain.GetEndPoint(), KyGePoint(0, 20)));
    EXPECT_TRUE(chain.IsArcSeg(2));
    EXPECT_FALSE(chain.Conbine(KyGeLineSeg2d(KyGePoint(50, 50), KyGePoint(60, 60)), true));
}

TEST(GeomPolyline, OffsetKeepsDistanceAndSide) {
    KyGePolyline2d pl;
    pl.AppendVertex(KyGePoint(0, 0));
    pl.AppendVertex(KyGePoint(100, 0), 0.4);
    pl.AppendVertex(KyGePoint(150, 50));
    pl.AppendVertex(KyGePoint(150, 120));
    for (double d : {-7.0, 7.0}) {
        auto off = pl.GetOffsetCurve(d);
        ASSERT_TRUE(off) << d;
        for (double t = 0.02; t < 1.0; t += 0.05) {
            const KyGePoint p = off->GetPtFromPa(t);
            KyGePoint foot;
            pl.GetClosestPoint2d(p, foot);
            EXPECT_NEAR(Distance2d(p, foot), 7.0, 1e-6) << d << " at " << t;
        }
        // Side of the first segment: negative offsets on its left.
        KyGeLineSeg2d first(pl.GetVertex(0), pl.GetVertex(1));
        EXPECT_EQ(first.HitTest(off->GetPtFromDist(10)), d < 0 ? kKyGeHitLeft : 0);
    }
    // An arc segment that would shrink to nothing: no offset.
    KyGePolyline2d tight;
    tight.AppendVertex(KyGePoint(0, 0), 1.0);
    tight.AppendVertex(KyGePoint(2, 0));
    EXPECT_EQ(tight.GetOffsetCurve(-5), nullptr);
}

TEST(GeomPolyline, SubCurveLinearizeAndTransform) {
    KyGePolyline2d pl = DomedSquare();
    pl.SetClosed(false);
    auto piece = pl.GetSubCurve(KyGePoint(5, -1), KyGePoint(5, 16));
    ASSERT_TRUE(piece);
    EXPECT_TRUE(Near(piece->GetStartPoint(), KyGePoint(5, 0)));
    EXPECT_TRUE(Near(piece->GetEndPoint(), KyGePoint(5, 15)));
    EXPECT_NEAR(piece->Length(), 5 + 10 + 2.5 * KyGePi, 1e-9);
    auto back = pl.GetSubCurve(0.9, 0.1);
    ASSERT_TRUE(back);
    EXPECT_TRUE(Near(back->GetStartPoint(), pl.GetPtFromPa(0.9), 1e-9));
    // Chords stay within the precision of the arcs they replace.
    auto chords = pl.PLinearize(0.01);
    ASSERT_TRUE(chords);
    for (int i = 0; i < chords->GetSegNum(); ++i) EXPECT_FALSE(chords->IsArcSeg(i));
    EXPECT_NEAR(chords->Length(), pl.Length(), 0.05);
    EXPECT_GT(chords->GetVertexNum(), pl.GetVertexNum());
    auto exact = KyGeArc2d(KyGePoint(0, 0), 10, 0, 1.9 * KyGePi).PLinearize(0.0);
    ASSERT_TRUE(exact);
    EXPECT_NEAR(exact->Length(), 19 * KyGePi, 1e-9);
    for (int i = 0; i < exact->GetSegNum(); ++i) EXPECT_LE(std::fabs(exact->GetBulge(i)), 1.0 + 1e-12);
    auto circle = KyGeCircle2d(KyGePoint(0, 0), 10).PLinearize(0.0);
    ASSERT_TRUE(circle);
    EXPECT_TRUE(circle->IsClosed());
    EXPECT_NEAR(circle->GetArea(), 100 * KyGePi, 1e-9);
    // A mirror turns the bulges.
    KyGePolyline2d m = DomedSquare();
    ASSERT_TRUE(m.TransformBy(KyGeMatrix::CreateMirrorMatrix(KyGePoint(0, 0), KyGePoint(0, 1))));
    EXPECT_LT(m.GetBulge(2), 0);
    EXPECT_NEAR(m.GetArea(), -(100 + 12.5 * KyGePi), 1e-9);
}

TEST(GeomPolyline, ClosestPointOnCornersAndEnds) {
    KyGePolyline2d pl;
    pl.AppendVertex(KyGePoint(0, 0));
    pl.AppendVertex(KyGePoint(10, 0));
    pl.AppendVertex(KyGePoint(10, 10));
    KyGePoint out;
    EXPECT_TRUE(pl.GetClosestPoint2d(KyGePoint(12, -2), out));  // outside the corner: the corner
    EXPECT_TRUE(Near(out, KyGePoint(10, 0)));
    EXPECT_FALSE(pl.GetClosestPoint2d(KyGePoint(-3, 0), out));  // beyond the open start
    KyGeMLine2d chain(DomedSquare());
    EXPECT_EQ(chain.GetSegNum(), 4);
    KyGePoint c;
    EXPECT_TRUE(chain.GetCenter(2, c));
    EXPECT_TRUE(Near(c, KyGePoint(5, 10)));
    EXPECT_FALSE(chain.GetCenter(0, c));
}

TEST(GeomPolyline, IntersectionsAndBreaksThroughSegments) {
    // The domed square far from the origin, cut by a vertical line through the dome's top.
    KyGePolyline2d pl = DomedSquare();
    ASSERT_TRUE(pl.TransformBy(KyGeMatrix::CreateTranslateMatrix(KyGeVector2d(1e7, 1e7))));
    KyGeLine2d cut(KyGePoint(1e7 + 5, 0), KyGePoint(1e7 + 5, 1));
    KyGeObjList hits;
    ASSERT_TRUE(pl.IntersectWith(cut, hits));
    ASSERT_EQ(hits.GetLength(), 2);
    for (const KyGePoint& p : Points(hits)) {
        EXPECT_TRUE(OnCurve(pl, p));
        EXPECT_TRUE(OnCurve(cut, p));
    }
    EXPECT_EQ(pl.HitTest(KyGePoint(1e7 + 5, 1e7 + 14.9)), kKyGeHitInside);
    EXPECT_EQ(pl.HitTest(KyGePoint(1e7 + 5, 1e7 + 15.1)), 0);
    // Splitting the outline and a segment across it.
    KyGeObjList list;
    list.AppendClone(pl);
    list << std::make_unique<KyGeLineSeg2d>(KyGePoint(1e7 + 5, 1e7 - 5), KyGePoint(1e7 + 5, 1e7 + 20));
    ASSERT_TRUE(InterBreakCurve2d(list));
    EXPECT_EQ(list.GetLength(), 5);  // two pieces of the outline, three of the segment
    double total = 0;
    for (int i = 0; i < 2; ++i) total += KyGeCast<KyGeCurve2d>(list[i])->Length();
    EXPECT_NEAR(total, pl.Length(), 1e-6);
}

TEST(GeomPolyline, ClosedOutlineOffsetsInwardsAndOutwards) {
    KyGePolyline2d square;
    for (KyGePoint p : {KyGePoint(0, 0), KyGePoint(100, 0), KyGePoint(100, 100), KyGePoint(0, 100)}) square.AppendVertex(p);
    square.SetClosed(true);
    // Counter-clockwise: the left of travel is inside.
    auto inner = square.GetOffsetCurve(-10);
    auto outer = square.GetOffsetCurve(10);
    ASSERT_TRUE(inner && outer);
    EXPECT_NEAR(KyGeCast<KyGePolyline2d>(inner.get())->GetArea(), 80 * 80, 1e-6);
    EXPECT_NEAR(KyGeCast<KyGePolyline2d>(outer.get())->GetArea(), 120 * 120, 1e-6);
    EXPECT_TRUE(Near(inner->GetStartPoint(), KyGePoint(10, 10)));
}
