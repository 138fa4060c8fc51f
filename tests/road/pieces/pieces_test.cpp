// Road edge pieces at junctions, on a road along the x axis and crossing roads across it.
#include <gtest/gtest.h>

#include <memory>

#include "road/roadpieces.h"

namespace {

std::unique_ptr<KyGeLineSeg2d> Seg(double x1, double y1, double x2, double y2) {
    return std::make_unique<KyGeLineSeg2d>(KyGePoint(x1, y1), KyGePoint(x2, y2));
}
KyGePoint StartOf(const KyGeObjList& list, int i) { return KyGeCast<KyGeCurve2d>(list[i])->GetStartPoint(); }

}  // namespace

TEST(RoadPieces, CrossingPartnersAreThePiecesTheCrossingRoadMeets) {
    // A partner edge broken at x = 3000..5000; a crossing road with edges at x = 6000 and 8000.
    KyGeObjList R, O;
    R << Seg(0, 4000, 3000, 4000) << Seg(5000, 4000, 9000, 4000);
    ASSERT_TRUE(PickCrossingPartners(R, *Seg(6000, -9000, 6000, 9000), *Seg(8000, -9000, 8000, 9000), O));
    ASSERT_EQ(O.GetLength(), 1);
    EXPECT_DOUBLE_EQ(StartOf(O, 0).x, 5000);
    ASSERT_EQ(R.GetLength(), 1);  // moved out of R
    EXPECT_DOUBLE_EQ(StartOf(R, 0).x, 0);
    // A crossing road in the gap meets neither: the piece starting nearest its first crossing.
    KyGeObjList R2, O2;
    R2 << Seg(0, 4000, 3000, 4000) << Seg(5000, 4000, 9000, 4000);
    ASSERT_TRUE(PickCrossingPartners(R2, *Seg(4000, -9000, 4000, 9000), *Seg(4500, -9000, 4500, 9000), O2));
    ASSERT_EQ(O2.GetLength(), 1);
    EXPECT_DOUBLE_EQ(StartOf(O2, 0).x, 5000);
    // A crossing road parallel to the partners meets nothing; an empty list answers false.
    KyGeObjList R3, O3, none;
    R3 << Seg(0, 4000, 3000, 4000) << Seg(5000, 4000, 9000, 4000);
    EXPECT_FALSE(PickCrossingPartners(R3, *Seg(0, 0, 1, 0), *Seg(0, 9000, 1, 9000), O3));
    EXPECT_FALSE(PickCrossingPartners(none, *Seg(0, 0, 1, 0), *Seg(0, 1, 1, 1), O3));
}

TEST(RoadPieces, TheCurrentEdgePairIsTheCrossingPieceAndItsPartnerBesideIt) {
    KyGeObjList E, out;
    E << Seg(0, 2000, 20000, 2000) << Seg(0, -2000, 20000, -2000);
    ASSERT_TRUE(FindCurrentEdgePair(E, *Seg(10000, -9000, 10000, 9000), *Seg(14000, -9000, 14000, 9000), out));
    ASSERT_EQ(out.GetLength(), 2);
    EXPECT_DOUBLE_EQ(StartOf(out, 0).y, 2000);
    EXPECT_DOUBLE_EQ(StartOf(out, 1).y, -2000);
    // A crossing road beyond the new road's end meets no piece.
    KyGeObjList missed;
    EXPECT_FALSE(FindCurrentEdgePair(E, *Seg(30000, -9000, 30000, 9000), *Seg(34000, -9000, 34000, 9000), missed));
}

TEST(RoadPieces, MatchingCurvesAndEndPieces) {
    KyGeObjList L;
    L << Seg(0, 0, 3000, 0) << Seg(3000, 0, 6000, 0) << Seg(7000, 0, 10000, 0) << Seg(0, 100, 10000, 100);
    const auto edge = Seg(0, 0, 10000, 0);
    EXPECT_EQ(FindEndPiece(*edge, 0, L), 0);
    EXPECT_EQ(FindEndPiece(*edge, 1, L), 2);  // the piece off the edge's line is not one
    // Drawn the other way the piece does not match; the same piece does.
    RemoveMatchingCurve(L, *Seg(6000, 0, 3000, 0));
    EXPECT_EQ(L.GetLength(), 4);
    RemoveMatchingCurve(L, *Seg(3000, 0, 6000, 0));
    ASSERT_EQ(L.GetLength(), 3);
    EXPECT_DOUBLE_EQ(StartOf(L, 1).x, 7000);
    KyGeObjList empty;
    EXPECT_EQ(FindEndPiece(*edge, 0, empty), -1);
}
