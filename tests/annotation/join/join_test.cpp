// Two base curves meet end to end in each of the four orientations; a gap leaves two pieces.
#include "annotation/slopejoin.h"

#include <gtest/gtest.h>

namespace {
KyGePolyline2d Line(KyGePoint a, KyGePoint b, double bulge = 0.0) {
  KyGePolyline2d p;
  p.AppendVertex(a, bulge);
  p.AppendVertex(b);
  return p;
}
}  // namespace

TEST(SlopeJoin, FourOrientationsGiveOneLineThroughAllPoints) {
  const KyGePoint a(0, 0), b(10, 0), c(20, 5);
  struct Case { KyGePolyline2d first, second; };
  const Case cases[] = {
      {Line(b, c), Line(b, a)},  // second starts at the line's start
      {Line(a, b), Line(b, c)},  // second starts at the line's end
      {Line(b, c), Line(a, b)},  // second ends at the line's start
      {Line(a, b), Line(c, b)},  // second ends at the line's end
  };
  for (const Case& k : cases) {
    const auto pieces = KyRoadSlopeJoinCurves({k.first, k.second});
    ASSERT_EQ(pieces.size(), 1u);
    const KyGePolyline2d& p = pieces[0];
    ASSERT_EQ(p.GetVertexNum(), 3);
    EXPECT_TRUE(Equal2d(p.GetVertex(1), b));
    const bool ac = Equal2d(p.GetStartPoint(), a) && Equal2d(p.GetEndPoint(), c);
    const bool ca = Equal2d(p.GetStartPoint(), c) && Equal2d(p.GetEndPoint(), a);
    EXPECT_TRUE(ac || ca);
  }
}

TEST(SlopeJoin, BulgeFollowsItsSegmentWhenReversed) {
  // An arc from b to a put in front of the line b-c comes back as a to b with its bulge negated.
  const auto pieces = KyRoadSlopeJoinCurves({Line({10, 0}, {20, 0}), Line({10, 0}, {0, 0}, 0.5)});
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(Equal2d(pieces[0].GetStartPoint(), KyGePoint(0, 0)));
  EXPECT_DOUBLE_EQ(pieces[0].GetBulge(0), -0.5);
  EXPECT_DOUBLE_EQ(pieces[0].GetBulge(1), 0.0);
}

TEST(SlopeJoin, GapLeavesTwoPiecesAndLateCurvesStillJoin) {
  EXPECT_EQ(KyRoadSlopeJoinCurves({Line({0, 0}, {10, 0}), Line({11, 0}, {20, 0})}).size(), 2u);
  // The third curve links the first two, found on a later pass.
  const auto pieces = KyRoadSlopeJoinCurves(
      {Line({0, 0}, {10, 0}), Line({20, 0}, {30, 0}), Line({10, 0}, {20, 0})});
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].GetVertexNum(), 4);
}
