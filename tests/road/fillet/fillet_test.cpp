// Road corner pairs and the FILLET runs made of them: a corner found twice is filleted once,
// FILLETRAD takes the radius, CMDECHO comes back as it was, refused radii fillet nothing.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/select/KyPtSysVar.h"
#include "host/ed/commands.h"
#include "host/ed/sysvars.h"
#include "road/roadfillet.h"
#include "tests/host/cmds/cmdsession.h"

namespace {

using vorn::cmds::test::CmdTest;

std::vector<RoadFilletPair> g_pairs;
double g_radius = 0;
int g_echoAfter = -1;

int g_echoBefore = 1;

void FilletFromRoadCode() {
    acedSetVar(L"CMDECHO", KyAdsResBuf(g_echoBefore));
    FilletPairs(g_pairs, g_radius);
    KyPtGetVar(L"CMDECHO", g_echoAfter);
}

class RoadFillet : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        vorn::ed::AddCommand(L"ROADFILLETTESTS", L"ROADPAIRS", L"ROADPAIRS", 0, FilletFromRoadCode);
        g_pairs.clear();
        g_echoAfter = -1;
    }
    void TearDown() override {
        vorn::ed::RemoveGroup(L"ROADFILLETTESTS");
        CmdTest::TearDown();
    }
};

}  // namespace

TEST(RoadFilletPairs, ACornerFoundTwiceInEitherOrderIsKeptOnce) {
    AcDbDatabase db(true);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    const AcDbObjectId a =
        vorn::ed::dbx::AppendToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    const AcDbObjectId b =
        vorn::ed::dbx::AppendToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0)));
    std::vector<RoadFilletPair> list;
    AddFilletPair(list, {a, b, KyGePoint(60, 0), KyGePoint(0, 60)});
    AddFilletPair(list, {b, a, KyGePoint(0, 60), KyGePoint(60, 0)});
    AddFilletPair(list, {a, b, KyGePoint(60, 0), KyGePoint(0, 60)});
    EXPECT_EQ(list.size(), 1u);
    // Swapped ids with unswapped picks, or other picks, are another corner.
    AddFilletPair(list, {b, a, KyGePoint(60, 0), KyGePoint(0, 60)});
    AddFilletPair(list, {a, b, KyGePoint(-60, 0), KyGePoint(0, 60)});
    EXPECT_EQ(list.size(), 3u);
    // A pair with a null id matches nothing, itself included.
    const RoadFilletPair open{a, AcDbObjectId(), KyGePoint(), KyGePoint()};
    EXPECT_FALSE(open == open);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

TEST_F(RoadFillet, EachCornerIsFilletedOnceAtTheRadiusAndCmdechoComesBack) {
    const AcDbObjectId a = AddLine(-100, 0, 100, 0, L"PLAN-ROAD");
    const AcDbObjectId b = AddLine(0, -100, 0, 100, L"PLAN-ROAD");
    AddFilletPair(g_pairs, {a, b, KyGePoint(60, 0), KyGePoint(0, 60)});
    AddFilletPair(g_pairs, {b, a, KyGePoint(0, 60), KyGePoint(60, 0)});
    g_radius = 20;
    for (int echo : {1, 0}) {
        SCOPED_TRACE(echo);
        g_echoBefore = echo;
        Run("ROADPAIRS\n");
        EXPECT_EQ(g_echoAfter, echo);
        int now = -1;
        KyPtGetVar(L"CMDECHO", now);
        EXPECT_EQ(now, echo);
        EXPECT_DOUBLE_EQ(m_db->filletrad(), 20);
        if (echo == 1) {  // the first run: one arc for the pair found twice
            ASSERT_EQ(Of<AcDbArc>().size(), 1u);
            EXPECT_NEAR(Get<AcDbArc>(Of<AcDbArc>()[0])->radius(), 20, 1e-9);
            vorn::cmds::test::ExpectPoint(Get<AcDbLine>(a)->startPoint(), 20, 0);
        }
    }
}

TEST_F(RoadFillet, ARefusedRadiusOrAMissingEntityFilletsNothing) {
    const AcDbObjectId a = AddLine(-100, 0, 100, 0, L"PLAN-ROAD");
    const AcDbObjectId b = AddLine(0, -100, 0, 100, L"PLAN-ROAD");
    m_db->setFilletrad(5);
    g_pairs = {{a, b, KyGePoint(60, 0), KyGePoint(0, 60)}};
    g_radius = -1;
    Run("ROADPAIRS\n");
    EXPECT_TRUE(Of<AcDbArc>().empty());
    EXPECT_DOUBLE_EQ(m_db->filletrad(), 5);
    g_pairs = {{a, AcDbObjectId(), KyGePoint(60, 0), KyGePoint(0, 60)}};
    g_radius = 10;
    Run("ROADPAIRS\n");
    EXPECT_TRUE(Of<AcDbArc>().empty());
}

TEST(RoadFilletPairs, CornersAreCollectedAtSharedEndsOnlyWhereTheyAreReal) {
    AcDbDatabase db(true);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    std::vector<AcDbObjectId> ids;
    KyGeObjList G;
    const auto add = [&](std::unique_ptr<KyGeCurve2d> curve) {
        ids.push_back(vorn::ed::dbx::AppendToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0))));
        G << std::move(curve);
    };
    const KyGeLineSeg2d k(KyGePoint(0, 0), KyGePoint(100, 0));
    add(std::make_unique<KyGeLineSeg2d>(k));                                           // k itself
    add(std::make_unique<KyGeLineSeg2d>(KyGePoint(100, 0), KyGePoint(100, 100)));     // at k's end
    add(std::make_unique<KyGeLineSeg2d>(KyGePoint(0, -100), KyGePoint(0, 0)));        // at k's start
    add(std::make_unique<KyGeArc2d>(KyGePoint(0, 50), 50.0, 1.5 * 3.14159265358979, 3.14159265358979, true));  // tangent at the start
    add(std::make_unique<KyGeLineSeg2d>(KyGePoint(0, 500), KyGePoint(100, 500)));     // apart
    std::vector<RoadFilletPair> out;
    CollectCornerFillets(ids, G, k, ids[0], out);
    CollectCornerFillets(ids, G, k, ids[0], out);  // found again: kept once
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].second, ids[1]);
    EXPECT_NEAR(out[0].firstPick.x, 90, 1e-9);
    EXPECT_NEAR(out[0].secondPick.y, 10, 1e-9);
    EXPECT_EQ(out[1].second, ids[2]);
    EXPECT_NEAR(out[1].firstPick.x, 10, 1e-9);
    EXPECT_NEAR(out[1].secondPick.y, -10, 1e-9);
    std::vector<RoadFilletPair> none;
    CollectCornerFillets(ids, G, k, AcDbObjectId(), none);
    EXPECT_TRUE(none.empty());
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
