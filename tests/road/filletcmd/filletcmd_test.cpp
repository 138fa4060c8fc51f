// The corners a crossing window collects for the road fillet command and the radii they get:
// old fillet arcs bridged whatever the drawing order, smooth joins left alone, and concentric
// radii at bends of roads whose centre line is off the middle.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "host/ed/ucs.h"
#include "road/roadfilletcmd.h"
#include "tests/host/cmds/cmdsession.h"

namespace {

using vorn::cmds::test::CmdTest;

class RoadFilletWindow : public CmdTest {
protected:
    std::vector<RoadCornerFillet> Collect(double R = 5000) {
        const ads_point p1 = {-50000, -50000, 0}, p2 = {50000, 50000, 0};
        std::vector<RoadCornerFillet> V;
        CollectWindowFillets(p1, p2, R, V);
        return V;
    }
};

bool SamePair(const RoadCornerFillet& r, const AcDbObjectId& a, const AcDbObjectId& b) {
    return (r.pair.first == a && r.pair.second == b) || (r.pair.first == b && r.pair.second == a);
}

double RadiusOf(const std::vector<RoadCornerFillet>& V, const AcDbObjectId& a, const AcDbObjectId& b) {
    for (const RoadCornerFillet& r : V)
        if (SamePair(r, a, b)) return r.radius;
    return -1;
}

}  // namespace

TEST_F(RoadFilletWindow, AnOldFilletArcIsBridgedWhicheverCurveWasDrawnFirst) {
    // L1 runs east into a tangent arc of radius 5000 that turns north into L2.
    const std::vector<std::function<AcDbObjectId()>> makers = {
        [&] { return AddLine(0, 0, 5000, 0, L"PLAN-ROAD"); },
        [&] { return AddLine(10000, 5000, 10000, 20000, L"PLAN-ROAD"); },
        [&] { return AddArc(5000, 5000, 5000, 270, 360, L"PLAN-ROAD"); },
    };
    std::vector<int> order = {0, 1, 2};
    do {
        SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
        SetUp();
        AcDbObjectId ids[3];
        for (int k : order) ids[k] = makers[k]();
        const std::vector<RoadCornerFillet> V = Collect(3000);
        ASSERT_EQ(V.size(), 1u);
        EXPECT_TRUE(SamePair(V[0], ids[0], ids[1]));
        EXPECT_TRUE(ids[2].isErased());
        EXPECT_FALSE(ids[0].isErased() || ids[1].isErased());
        // Picks a tenth in from the ends at the old arc, on the two curves filleted.
        const bool l1First = V[0].pair.first == ids[0];
        const KyGePoint onL1 = l1First ? V[0].pair.firstPick : V[0].pair.secondPick;
        const KyGePoint onL2 = l1First ? V[0].pair.secondPick : V[0].pair.firstPick;
        EXPECT_NEAR(onL1.x, 4500, 1e-6);
        EXPECT_NEAR(onL2.y, 6500, 1e-6);
        EXPECT_DOUBLE_EQ(V[0].radius, 3000);
        TearDown();
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(RoadFilletWindow, ArcsFilletedAtSiteCoordinatesAreBridgedAgain) {
    // A line-line and a line-arc corner far from the origin, filleted by FILLET: a second window
    // finds each corner across its fillet arc, which goes.
    const double x = 4.0e6, y = 3.0e6;
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    const AcDbObjectId a = AddLine(x, y, x + 10000, y, L"PLAN-ROAD");
    const AcDbObjectId b = AddLine(x + 10000, y, x + 10000, y + 10000, L"PLAN-ROAD");
    const AcDbObjectId c = AddArc(x + 30000, y, 10000, 180, 270, L"PLAN-ROAD");  // from (x + 20000, y)
    const AcDbObjectId d = AddLine(x + 20000, y, x + 25000, y + 10000, L"PLAN-ROAD");
    m_db->setFilletrad(3000);
    RunFillet(a, b, KyGePoint(x + 9000, y), KyGePoint(x + 10000, y + 1000));
    RunFillet(c, d, KyGePoint(x + 20038.05, y - 871.56), KyGePoint(x + 20500, y + 1000));
    ASSERT_EQ(Of<AcDbArc>().size(), 3u);
    const AcDbObjectId arc1 = Of<AcDbArc>()[1], arc2 = Of<AcDbArc>()[2];
    const ads_point p1 = {x - 1000, y - 20000, 0}, p2 = {x + 40000, y + 20000, 0};
    std::vector<RoadCornerFillet> V;
    CollectWindowFillets(p1, p2, 2000, V);
    ASSERT_EQ(V.size(), 2u);
    EXPECT_TRUE(SamePair(V[0], a, b));
    EXPECT_TRUE(SamePair(V[1], c, d));
    EXPECT_TRUE(arc1.isErased() && arc2.isErased());
    EXPECT_FALSE(c.isErased());
}

TEST_F(RoadFilletWindow, SmoothJoinsAndLooseEndsMakeNoCorner) {
    // A line running on into a tangent arc with nothing at the arc's far end, two pieces of one
    // circle, and curves that only cross: nothing to fillet, nothing erased.
    const AcDbObjectId line = AddLine(0, 0, 5000, 0, L"PLAN-ROAD");
    const AcDbObjectId arc = AddArc(5000, 5000, 5000, 270, 360, L"PLAN-ROAD");
    AddArc(0, 30000, 8000, 0, 90, L"PLAN-ROAD");
    AddArc(0, 30000, 8000, 90, 180, L"PLAN-ROAD");
    AddLine(-20000, -10000, -20000, 10000, L"PLAN-ROAD");
    AddLine(-30000, 0, -10000, 0, L"PLAN-ROAD");
    AddLine(20000, 0, 30000, 0, L"PLAN-ROAD_CENTER");
    EXPECT_TRUE(Collect().empty());
    EXPECT_FALSE(arc.isErased() || line.isErased());
}

TEST_F(RoadFilletWindow, ABendOfARoadOffItsMiddleGetsConcentricRadiiTurningEitherWay) {
    // A road with its centre line 1000 from one edge and 3000 from the other turns towards the
    // near edge at x = 10000 (north, or south when mirrored), in sharp corners: inner R, outer
    // R plus the width, centre line R plus its distance from the inner edge, whichever corner
    // the window lists first. The mirrored bend is drawn with the user's axes turned by 30
    // degrees, so that every window the search opens is one in user coordinates.
    for (double m : {1.0, -1.0}) {
        for (bool outerFirst : {true, false}) {
            SCOPED_TRACE(testing::Message() << "mirror " << m << " outer first " << outerFirst);
            SetUp();
            vorn::ed::Ucs ucs;
            ucs.angle = m < 0 ? 3.14159265358979323846 / 6 : 0.0;
            vorn::ed::SetUcs(ucs);
            AcDbObjectId in1, in2, out1, out2;
            const auto inner = [&] {
                in1 = AddLine(0, m * 1000, 9000, m * 1000, L"PLAN-ROAD");
                in2 = AddLine(9000, m * 1000, 9000, m * 20000, L"PLAN-ROAD");
            };
            const auto outer = [&] {
                out1 = AddLine(0, m * -3000, 13000, m * -3000, L"PLAN-ROAD");
                out2 = AddLine(13000, m * -3000, 13000, m * 20000, L"PLAN-ROAD");
            };
            if (outerFirst) outer(), inner();
            else inner(), outer();
            const AcDbObjectId c1 = AddLine(0, 0, 10000, 0, L"PLAN-ROAD_CENTER");
            const AcDbObjectId c2 = AddLine(10000, 0, 10000, m * 20000, L"PLAN-ROAD_CENTER");
            std::vector<RoadCornerFillet> V = Collect();
            ASSERT_EQ(V.size(), 3u);
            AdjustSameCentreRadii(V);
            EXPECT_NEAR(RadiusOf(V, in1, in2), 5000, 1e-9);
            EXPECT_NEAR(RadiusOf(V, out1, out2), 9000, 1e-9);
            EXPECT_NEAR(RadiusOf(V, c1, c2), 6000, 1e-9);
            vorn::ed::SetWorldUcs();
            TearDown();
        }
    }
}
