// Road curves looked up in a drawing: the edge touching an end, the centre line of a road,
// the entity matching a curve, and the FILLET of two centre lines at a road bend.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "host/ed/commands.h"
#include "host/ed/ucs.h"
#include "road/roadfillet.h"
#include "road/roadsearch.h"
#include "tests/host/cmds/cmdsession.h"

namespace {

using vorn::cmds::test::CmdTest;
using vorn::cmds::test::ExpectPoint;

constexpr double kPi = 3.14159265358979323846;

class RoadSearch : public CmdTest {};

std::function<void()> g_body;
void RunBody() { g_body(); }

// Runs code as a command, so that it may issue host commands itself.
class RoadCentreFillet : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        vorn::ed::AddCommand(L"ROADSEARCHTESTS", L"BODY", L"BODY", 0, RunBody);
    }
    void TearDown() override {
        vorn::ed::RemoveGroup(L"ROADSEARCHTESTS");
        CmdTest::TearDown();
    }
    void RunCode(std::function<void()> body) {
        g_body = std::move(body);
        Run("BODY\n");
    }
};

}  // namespace

TEST_F(RoadSearch, TheTouchingEdgeIsAnotherRoadEdgeAtThatEnd) {
    const KyGeLineSeg2d p(KyGePoint(0, 0), KyGePoint(100, 0));
    AddLine(0, 0, 100, 0, L"PLAN-ROAD");                            // p itself
    AddLine(50, 0, 100, 0, L"PLAN-ROAD");                           // a piece of p
    AddLine(100, 0, 100, 100, L"PLAN-ROAD_CENTER");                 // not an edge
    const AcDbObjectId atEnd = AddLine(100, 0, 100, 100, L"PLAN-ROAD");
    const AcDbObjectId atStart = AddLine(0, -100, 0, 0, L"PLAN-ROAD");
    std::unique_ptr<KyGeCurve2d> curve;
    int touching = 7;
    EXPECT_EQ(FindTouchingRoadEdge(p, 1, curve, touching), atEnd);
    EXPECT_EQ(touching, 0);
    ASSERT_TRUE(curve);
    ExpectPoint(AcGePoint3d(curve->GetEndPoint().x, curve->GetEndPoint().y, 0), 100, 100);
    EXPECT_EQ(FindTouchingRoadEdge(p, 0, curve, touching), atStart);
    EXPECT_EQ(touching, 1);

    const KyGeLineSeg2d apart(KyGePoint(0, 500), KyGePoint(100, 500));
    EXPECT_TRUE(FindTouchingRoadEdge(apart, 0, curve, touching).isNull());
    EXPECT_EQ(touching, -1);
    EXPECT_FALSE(curve);
}

TEST_F(RoadSearch, TheTouchingEdgeIsFoundInATurnedUserSystem) {
    // The user's axes turned by 45 degrees, an edge leaving the end in every direction but back
    // along p.
    vorn::ed::Ucs ucs;
    ucs.angle = kPi / 4;
    ASSERT_TRUE(vorn::ed::SetUcs(ucs));
    std::unique_ptr<KyGeCurve2d> curve;
    int touching = -1;
    for (int degrees = 0; degrees < 360; degrees += 15) {
        if (degrees == 180) continue;
        SCOPED_TRACE(degrees);
        const double a = degrees * kPi / 180;
        const AcDbObjectId edge = AddLine(100 + 100 * std::cos(a), 100 * std::sin(a), 100, 0, L"PLAN-ROAD");
        EXPECT_EQ(FindTouchingRoadEdge(KyGeLineSeg2d(KyGePoint(0, 0), KyGePoint(100, 0)), 1, curve, touching), edge);
        EXPECT_EQ(touching, 1);
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, edge, AcDb::kForWrite) == Acad::eOk) e->erase(), e->close();
    }
    vorn::ed::SetWorldUcs();
}

TEST_F(RoadSearch, OnlyTheFirstEntityOfTheSameShapeIsErased) {
    const AcDbObjectId reversed = AddLine(100, 0, 0, 0);
    const AcDbObjectId first = AddLine(0, 0, 100, 0);
    const AcDbObjectId second = AddLine(0, 0, 100, 0);
    KyAdsEntSet S;
    S += reversed;
    S += first;
    S += second;
    EraseMatchingEntity(S, KyGeLineSeg2d(KyGePoint(0, 0), KyGePoint(100, 0)));
    EXPECT_FALSE(reversed.isErased());
    EXPECT_TRUE(first.isErased());
    EXPECT_FALSE(second.isErased());
    // An erased entity is skipped: the next match goes.
    EraseMatchingEntity(S, KyGeLineSeg2d(KyGePoint(0, 0), KyGePoint(100, 0)));
    EXPECT_TRUE(second.isErased());
}

TEST_F(RoadSearch, TheCentreLineLiesInsideTheRoadAndBesideItsEdges) {
    const KyGeLineSeg2d a(KyGePoint(0, 0), KyGePoint(10000, 0)), b(KyGePoint(0, 4000), KyGePoint(10000, 4000));
    AddLine(0, 20000, 10000, 20000, L"PLAN-ROAD_CENTER");  // another road's
    AddLine(5000, -1000, 5000, 5000, L"PLAN-ROAD_CENTER");  // across the road, not beside it
    AddLine(0, 1500, 10000, 1500, L"PLAN-ROAD");            // an edge, not a centre line
    const AcDbObjectId centre = AddLine(0, 1500, 10000, 1500, L"PLAN-ROAD_CENTER");
    double dA = 0, dB = 0;
    EXPECT_EQ(FindRoadCenterLine(a, b, dA, dB), centre);
    EXPECT_NEAR(dA, 1500, 1e-9);
    EXPECT_NEAR(dB, 2500, 1e-9);

    // Arc roads: concentric edges, the centre line's distances are differences of radii.
    const KyGeArc2d inner(KyGePoint(0, 0), 10000, 0, kPi / 2), outer(KyGePoint(0, 0), 14000, 0, kPi / 2);
    const AcDbObjectId arcCentre = AddArc(0, 0, 12500, 0, 90, L"PLAN-ROAD_CENTER");
    EXPECT_EQ(FindRoadCenterLine(inner, outer, dA, dB), arcCentre);
    EXPECT_NEAR(dA, 2500, 1e-9);
    EXPECT_NEAR(dB, 1500, 1e-9);

    const KyGeLineSeg2d c(KyGePoint(0, 30000), KyGePoint(100, 30000)), d(KyGePoint(0, 30100), KyGePoint(100, 30100));
    EXPECT_TRUE(FindRoadCenterLine(c, d, dA, dB).isNull());
}

TEST_F(RoadCentreFillet, CentreLinesAtABendGetOneArcAtTheRadius) {
    // Road 1 runs east to x = 10000, road 2 turns north out of its end.
    const AcDbObjectId O = AddLine(0, 0, 10000, 0, L"PLAN-ROAD_CENTER");
    const AcDbObjectId N = AddLine(10000, 0, 10000, 10000, L"PLAN-ROAD_CENTER");
    const KyGeLineSeg2d cA(KyGePoint(0, -2000), KyGePoint(12000, -2000));
    const KyGeLineSeg2d pA(KyGePoint(12000, -2000), KyGePoint(12000, 10000));
    m_db->setFilletrad(3);
    RunCode([&] { FilletCenterLines(pA, N, cA, O, 0, 1, 7000); });
    ASSERT_EQ(Of<AcDbArc>().size(), 1u);
    EXPECT_NEAR(Get<AcDbArc>(Of<AcDbArc>()[0])->radius(), 7000, 1e-6);
    ExpectPoint(Get<AcDbLine>(N)->startPoint(), 10000, 7000);
    ExpectPoint(Get<AcDbLine>(O)->endPoint(), 3000, 0);
    EXPECT_DOUBLE_EQ(m_db->filletrad(), 7000);

    // A refused radius, a null id or a line running on tangentially out of an arc: nothing.
    const AcDbObjectId arc = AddArc(0, 10000, 10000, 180, 270, L"PLAN-ROAD_CENTER");  // ends at (0, 0)
    RunCode([&] {
        FilletCenterLines(pA, N, cA, O, 0, 1, -1);
        FilletCenterLines(pA, AcDbObjectId(), cA, O, 0, 1, 500);
        FilletCenterLines(cA, arc, cA, O, 1, 0, 500);  // tangent at (0, 0)
    });
    EXPECT_EQ(Of<AcDbArc>().size(), 2u);
    EXPECT_DOUBLE_EQ(m_db->filletrad(), 7000);
}
