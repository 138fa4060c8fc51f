// Roads handed to the edge stage as the road command hands each segment over, where no junction
// must be opened (parallel roads, roads going on along one line or circle) and where arc roads
// cross arc roads: the pieces written on the road layers. Crossings, tees, bends and junctions
// of more roads are checked through vorncad by the script tests.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/db/dbarc.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/ed/commands.h"
#include "road/roadedges.h"
#include "road/roadsettings.h"
#include "tests/host/cmds/cmdsession.h"

namespace {

using vorn::cmds::test::CmdTest;

constexpr double kTol = 1e-6;

std::vector<std::unique_ptr<KyGeCurve2d>> g_centres;

void DrawCentres() {
    for (const auto& c : g_centres) DrawRoadFromCenter(*c, nullptr);
}

struct Piece {
    std::wstring layer;
    bool arc = false;
    AcGePoint3d start, end, centre;
    double radius = 0;
};

class RoadJunctions : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        vorn::ed::AddCommand(L"ROADJUNCTIONTESTS", L"ROADSEGMENTS", L"ROADSEGMENTS", 0, DrawCentres);
        g_strRoadLeftWidth = L"2000";
        g_strRoadRightWidth = L"2000";
        g_strRoadFilletRadius = L"5000";
        g_bRoadCenterLine = 1;
        g_bRoadFillet = 0;
        g_nRoadFilletStyle = 0;
        g_centres.clear();
    }
    void TearDown() override {
        g_centres.clear();
        vorn::ed::RemoveGroup(L"ROADJUNCTIONTESTS");
        CmdTest::TearDown();
    }
    // Draws roads along the centre lines one after the other, each as one segment.
    void Draw(std::vector<std::unique_ptr<KyGeCurve2d>> centres) {
        for (auto& c : centres) {
            g_centres.clear();
            g_centres.push_back(std::move(c));
            Run("ROADSEGMENTS\n");
        }
    }
    std::vector<Piece> Pieces(const wchar_t* layer) const {
        std::vector<Piece> all;
        for (const AcDbObjectId& id : m_db->modelSpaceIds()) {
            const auto* e = AcDbEntity::cast(m_db->peekObject(id));
            if (!e || e->layer() != layer) continue;
            Piece p;
            p.layer = e->layer();
            if (const auto* l = AcDbLine::cast(e)) {
                p.start = l->startPoint();
                p.end = l->endPoint();
            } else if (const auto* a = AcDbArc::cast(e)) {
                p.arc = true;
                p.centre = a->center();
                p.radius = a->radius();
                a->getStartPoint(p.start);
                a->getEndPoint(p.end);
            }
            all.push_back(p);
        }
        return all;
    }
    static bool Near(const AcGePoint3d& p, double x, double y) {
        return std::fabs(p.x - x) <= kTol && std::fabs(p.y - y) <= kTol;
    }
    bool HasLine(double ax, double ay, double bx, double by, const wchar_t* layer = L"PLAN-ROAD") const {
        for (const Piece& p : Pieces(layer))
            if (!p.arc && ((Near(p.start, ax, ay) && Near(p.end, bx, by)) || (Near(p.start, bx, by) && Near(p.end, ax, ay))))
                return true;
        return false;
    }
    int Arcs(double radius, const wchar_t* layer = L"PLAN-ROAD") const {
        int n = 0;
        for (const Piece& p : Pieces(layer)) n += p.arc && std::fabs(p.radius - radius) <= kTol;
        return n;
    }
};

std::unique_ptr<KyGeCurve2d> Seg(double x1, double y1, double x2, double y2) {
    return std::make_unique<KyGeLineSeg2d>(KyGePoint(x1, y1), KyGePoint(x2, y2));
}

template <class... T>
std::vector<std::unique_ptr<KyGeCurve2d>> Roads(T... curves) {
    std::vector<std::unique_ptr<KyGeCurve2d>> v;
    (v.push_back(std::move(curves)), ...);
    return v;
}

}  // namespace

TEST_F(RoadJunctions, ParallelRoadsAndRoadsGoingOnAlongOneLineOrCircleAreNoJunction) {
    g_bRoadFillet = 1;
    Draw(Roads(Seg(0, 0, 20000, 0), Seg(0, 3000, 20000, 3000)));
    EXPECT_EQ(Pieces(L"PLAN-ROAD").size(), 4u);
    EXPECT_TRUE(HasLine(0, 2000, 20000, 2000));
    EXPECT_TRUE(HasLine(0, 1000, 20000, 1000));
    EXPECT_EQ(Arcs(5000), 0);

    // A road going straight on from another's end, and an arc road going on round the circle
    // of another: their new edges touch the old ends, and nothing is cut or filleted.
    m_db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    const double h = 20000 / std::sqrt(2.0);
    auto arc = [](double x1, double y1, double x2, double y2, double x3, double y3) {
        return std::unique_ptr<KyGeCurve2d>(KyGeArc2d::Create(KyGePoint(x1, y1), KyGePoint(x2, y2), KyGePoint(x3, y3)).release());
    };
    Draw(Roads(Seg(-40000, -30000, -20000, -30000), Seg(-20000, -30000, 0, -30000), arc(20000, 0, h, h, 0, 20000),
               arc(0, 20000, -h, h, -20000, 0)));
    EXPECT_EQ(Pieces(L"PLAN-ROAD").size(), 8u);
    EXPECT_TRUE(HasLine(-40000, -28000, -20000, -28000));
    EXPECT_TRUE(HasLine(-20000, -28000, 0, -28000));
    EXPECT_EQ(Arcs(18000), 2);
    EXPECT_EQ(Arcs(22000), 2);
    EXPECT_EQ(Arcs(5000), 0);
}

TEST_F(RoadJunctions, AnArcRoadThroughAnArcRoadOfAnotherCentreDropsTheFourShortPiecesOfEach) {
    auto arc = [](double x1, double y1, double x2, double y2, double x3, double y3) {
        return std::unique_ptr<KyGeCurve2d>(KyGeArc2d::Create(KyGePoint(x1, y1), KyGePoint(x2, y2), KyGePoint(x3, y3)).release());
    };
    // About (20000,-15000) with radius 25000, and about (-45166.67,5000) with radius 68166.67.
    Draw(Roads(arc(0, 0, 20000, 10000, 40000, 0), arc(20000, -15000, 23000, 5000, 20000, 25000)));
    const double rB = std::hypot(20000 + 45000 + 500.0 / 3.0, 20000.0);
    EXPECT_EQ(Arcs(23000), 2);
    EXPECT_EQ(Arcs(27000), 2);
    EXPECT_EQ(Arcs(rB - 2000), 2);
    EXPECT_EQ(Arcs(rB + 2000), 2);
    EXPECT_EQ(Pieces(L"PLAN-ROAD").size(), 8u);
    // The centre lines run on through the junction.
    EXPECT_EQ(Pieces(L"PLAN-ROAD_CENTER").size(), 2u);
}

TEST_F(RoadJunctions, ArcRoadsWhoseCirclesCrossTwiceOpenOnlyTheJunctionTheyMeetAt) {
    const double k = KyGePi / 180.0;
    auto arc = [](double cx, double cy, double r, double a0, double a1) {
        return std::unique_ptr<KyGeCurve2d>(KyGeArc2d::Create(KyGePoint(cx, cy), r, a0, a1).release());
    };
    // The lower half circle about the origin, and a short arc about (0,-30000) through the left
    // of the two places where the circles cross; the right one stays closed.
    Draw(Roads(arc(0, 0, 20000, 180 * k, 360 * k), arc(0, -30000, 20000, 100 * k, 160 * k)));
    std::vector<Piece> outer, inner;
    for (const Piece& p : Pieces(L"PLAN-ROAD")) {
        if (!p.arc || !Near(p.centre, 0, 0)) continue;
        if (std::fabs(p.radius - 22000) <= kTol) outer.push_back(p);
        if (std::fabs(p.radius - 18000) <= kTol) inner.push_back(p);
    }
    for (const std::vector<Piece>* edge : {&outer, &inner}) {
        ASSERT_EQ(edge->size(), 2u);
        const double r = edge->front().radius;
        // One piece from the left end, one running on to the right end past the right crossing.
        int fromLeft = 0, toRight = 0;
        for (const Piece& p : *edge) {
            fromLeft += Near(p.start, -r, 0) || Near(p.end, -r, 0);
            toRight += Near(p.end, r, 0) && p.start.x < 0;  // anticlockwise from left of the centre
        }
        EXPECT_EQ(fromLeft, 1) << r;
        EXPECT_EQ(toRight, 1) << r;
    }
    EXPECT_EQ(Arcs(22000) + Arcs(18000), 8);  // both roads' edges in two pieces each
}
