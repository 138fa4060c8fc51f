// FILLET: tangent points and arcs of line-line, line-arc and arc-arc corners against values
// worked out by hand, the corner the picks choose, radius 0, refusals, layers, acedCommand, undo.
#include <algorithm>
#include <cmath>
#include <string>

#include "cmdsession.h"
#include "host/cmds/filletgeom.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"

using vorn::cmds::test::CmdTest;
using vorn::cmds::test::ExpectPoint;

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

AcGePoint3d ArcPoint(const AcDbArc* a, double angle) {
    return a->center() + AcGeVector3d(std::cos(angle), std::sin(angle), 0) * a->radius();
}

class Fillet : public CmdTest {};

// Two lines and the picks that choose their corner: the kept parts end where the arc of the
// radius touches them, the far ends stay; the arc takes the curves' layer when they share one.
TEST_F(Fillet, TwoLinesKeepThePickedPartsUpToTheArc) {
    const double x = 4.0e6, y = 3.0e6;
    const struct Case {
        const char* what;
        double a[4], b[4];  // the lines before, x1 y1 x2 y2
        const wchar_t* layers[3];  // of the two lines and of the arc
        std::string script;  // FILLET's answers: the radius when typed, then the picks
        double radius;
        double keptA[4], keptB[4], centre[2];
    } cases[] = {
        {"crossing lines, the radius typed", {-10000, 0, 20000, 0}, {0, -10000, 0, 20000},
         {L"ROAD", L"ROAD", L"ROAD"},
         "R\n5000\n10000,0\n0,10000\n", 5000, {5000, 0, 20000, 0}, {0, 5000, 0, 20000}, {5000, 5000}},
        {"the opposite quadrant keeps the other halves", {-10000, 0, 20000, 0}, {0, -10000, 0, 20000},
         {nullptr, nullptr, L"0"},
         "-8000,0\n0,-8000\n", 2000, {-10000, 0, -2000, 0}, {0, -10000, 0, -2000}, {-2000, -2000}},
        {"lines of different layers: the arc on the current layer", {-100, 0, 100, 0}, {0, -100, 0, 100},
         {L"A", L"B", L"0"},
         "50,0\n0,50\n", 10, {10, 0, 100, 0}, {0, 10, 0, 100}, {10, 10}},
        // How roads meet: an L corner far from the origin, each line picked a tenth of the way
        // in from its far end.
        {"an L corner at site coordinates", {x, y, x + 10000, y}, {x + 10000, y, x + 10000, y + 10000},
         {L"ROAD", L"ROAD", L"ROAD"},
         "4001000,3000000\n4010000,3009000\n", 3000, {x, y, x + 7000, y},
         {x + 10000, y + 3000, x + 10000, y + 10000}, {x + 7000, y + 3000}},
        // Regression: picks between the corner and the tangent points (a tenth in from the
        // shared end, as road code picks) used to keep the short parts and fit no arc.
        {"picks inside the radius", {0, 0, 10000, 0}, {10000, 0, 10000, 10000}, {nullptr, nullptr, L"0"},
         "9000,0\n10000,1000\n", 7000, {0, 0, 3000, 0}, {10000, 7000, 10000, 10000}, {3000, 7000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewDrawing();
        const AcDbObjectId a = AddLine(c.a[0], c.a[1], c.a[2], c.a[3], c.layers[0]);
        const AcDbObjectId b = AddLine(c.b[0], c.b[1], c.b[2], c.b[3], c.layers[1]);
        m_db->setFilletrad(c.script[0] == 'R' ? 0 : c.radius);
        Run("FILLET\n" + c.script);
        ExpectPoint(Get<AcDbLine>(a)->startPoint(), c.keptA[0], c.keptA[1]);
        ExpectPoint(Get<AcDbLine>(a)->endPoint(), c.keptA[2], c.keptA[3]);
        ExpectPoint(Get<AcDbLine>(b)->startPoint(), c.keptB[0], c.keptB[1]);
        ExpectPoint(Get<AcDbLine>(b)->endPoint(), c.keptB[2], c.keptB[3]);
        ASSERT_EQ(Of<AcDbArc>().size(), 1u) << out;
        const AcDbArc* arc = Get<AcDbArc>(Of<AcDbArc>()[0]);
        ExpectPoint(arc->center(), c.centre[0], c.centre[1]);
        EXPECT_DOUBLE_EQ(arc->radius(), c.radius);
        EXPECT_DOUBLE_EQ(m_db->filletrad(), c.radius);
        EXPECT_EQ(arc->layer(), c.layers[2]);
        // The arc's ends are where the kept parts end.
        for (const double angle : {arc->startAngle(), arc->endAngle()}) {
            const AcGePoint3d end = ArcPoint(arc, angle);
            double nearest = 1e300;
            for (const AcDbObjectId& id : {a, b})
                for (const AcGePoint3d& p : {Get<AcDbLine>(id)->startPoint(), Get<AcDbLine>(id)->endPoint()})
                    nearest = std::min(nearest, p.distanceTo(end));
            EXPECT_LT(nearest, 1e-6);
        }
    }
}

TEST_F(Fillet, RadiusZeroTrimsAndExtendsToASharpCorner) {
    const AcDbObjectId a = AddLine(0, 0, 10, 0);
    const AcDbObjectId b = AddLine(20, 5, 20, 30);
    const AcDbObjectId c = AddLine(-5, 40, 50, 40);  // crossed by b: its far part goes
    Run("FILLET\n5,0\n20,20\nFILLET\n20,20\n0,40\n");
    ExpectPoint(Get<AcDbLine>(a)->endPoint(), 20, 0);
    ExpectPoint(Get<AcDbLine>(b)->startPoint(), 20, 0);
    ExpectPoint(Get<AcDbLine>(b)->endPoint(), 20, 40);
    ExpectPoint(Get<AcDbLine>(c)->startPoint(), -5, 40);
    ExpectPoint(Get<AcDbLine>(c)->endPoint(), 20, 40);
    EXPECT_TRUE(Of<AcDbArc>().empty());
}

TEST_F(Fillet, LineAndArcTouchAtHandComputedPoints) {
    // Circle r 50 at the origin, line y = 0, fillet r 24 outside the circle: its centre is 74
    // from the origin and 24 above the line, so (70, 24); it touches the circle at 50/74 of it.
    const AcDbObjectId line = AddLine(-100, 0, 200, 0);
    const AcDbObjectId arc = AddArc(0, 0, 50, 0, 90);
    m_db->setFilletrad(24);
    Run("FILLET\n150,0\n25,43.30127\n");
    ExpectPoint(Get<AcDbLine>(line)->startPoint(), 70, 0);
    ExpectPoint(Get<AcDbLine>(line)->endPoint(), 200, 0);
    const AcDbArc* cut = Get<AcDbArc>(arc);
    ExpectPoint(ArcPoint(cut, cut->startAngle()), 3500.0 / 74, 1200.0 / 74);
    EXPECT_NEAR(cut->endAngle(), 90 * kDeg, 1e-12);
    const auto arcs = Of<AcDbArc>();
    ASSERT_EQ(arcs.size(), 2u);
    const AcDbArc* f = Get<AcDbArc>(arcs[1]);
    ExpectPoint(f->center(), 70, 24);
    ExpectPoint(ArcPoint(f, f->startAngle()), 3500.0 / 74, 1200.0 / 74);
    ExpectPoint(ArcPoint(f, f->endAngle()), 70, 0);
    // A line meeting an arc at a right angle, both picked next to where they meet: the fillet
    // centre lies 20 below the line and 120 from the arc's centre.
    NewDrawing();
    const AcDbObjectId line2 = AddLine(-100, 0, 0, 0);
    const AcDbObjectId arc2 = AddArc(100, 0, 100, 180, 270);  // from (0, 0) down to (100, -100)
    m_db->setFilletrad(20);
    Run("FILLET\n-1,0\n0.0038,-0.8727\n");
    const double cx = 100 - std::sqrt(120.0 * 120.0 - 400.0);
    ExpectPoint(Get<AcDbLine>(line2)->startPoint(), -100, 0);
    ExpectPoint(Get<AcDbLine>(line2)->endPoint(), cx, 0);
    EXPECT_NEAR(Get<AcDbArc>(arc2)->startAngle(), std::atan2(-20.0, cx - 100) + 360 * kDeg, 1e-9);
    EXPECT_NEAR(Get<AcDbArc>(arc2)->endAngle(), 270 * kDeg, 1e-12);
    EXPECT_EQ(Of<AcDbArc>().size(), 2u);
}

TEST_F(Fillet, TwoArcsMeetThroughAnArcTangentToBoth) {
    // Circles r 50 at (0,0) and (80,0); a fillet r 8 outside both has its centre 58 from each:
    // (40, 42), and touches each circle 50/58 of the way to it.
    const AcDbObjectId a = AddArc(0, 0, 50, 0, 90);
    const AcDbObjectId b = AddArc(80, 0, 50, 90, 180);
    m_db->setFilletrad(8);
    Run("FILLET\n8.68241,49.24039\n71.31759,49.24039\n");
    const AcGePoint3d t1(2000.0 / 58, 2100.0 / 58, 0), t2(80 - 2000.0 / 58, 2100.0 / 58, 0);
    const AcDbArc* ca = Get<AcDbArc>(a);
    const AcDbArc* cb = Get<AcDbArc>(b);
    ExpectPoint(ArcPoint(ca, ca->startAngle()), t1.x, t1.y);
    EXPECT_NEAR(ca->endAngle(), 90 * kDeg, 1e-12);
    EXPECT_NEAR(cb->startAngle(), 90 * kDeg, 1e-12);
    ExpectPoint(ArcPoint(cb, cb->endAngle()), t2.x, t2.y);
    const AcDbArc* f = Get<AcDbArc>(Of<AcDbArc>()[2]);
    ExpectPoint(f->center(), 40, 42);
    EXPECT_DOUBLE_EQ(f->radius(), 8);
    ExpectPoint(ArcPoint(f, f->startAngle()), t1.x, t1.y);
    ExpectPoint(ArcPoint(f, f->endAngle()), t2.x, t2.y);
}

TEST_F(Fillet, NoFitLeavesTheDrawingAloneAndSaysWhy) {
    const AcDbObjectId a = AddLine(0, 0, 100, 0);
    const AcDbObjectId b = AddLine(0, 10, 100, 10);
    const AcDbObjectId c = AddLine(200, 0, 200, 50);
    m_db->setFilletrad(5000);
    Run("FILLET\n50,0\n50,10\nFILLET\n90,0\n200,25\nFILLET\n50,0\n50,0.5\n");
    EXPECT_TRUE(Has("parallel"));
    EXPECT_TRUE(Has("No fillet of radius 5000.0000 fits"));
    EXPECT_TRUE(Has("Cannot fillet an object with itself"));
    ExpectPoint(Get<AcDbLine>(a)->startPoint(), 0, 0, 0);
    ExpectPoint(Get<AcDbLine>(a)->endPoint(), 100, 0, 0);
    ExpectPoint(Get<AcDbLine>(b)->endPoint(), 100, 10, 0);
    ExpectPoint(Get<AcDbLine>(c)->startPoint(), 200, 0, 0);
    EXPECT_TRUE(Of<AcDbArc>().empty());
}

TEST_F(Fillet, OnlyTheCornerThePicksChooseIsRounded) {
    // A road's edge stub runs 4934 past the inner edge of an arc road (radius 30500 about
    // 30000,12500) and stops: too short for a radius of 5000 at the picked corner. The fillet of
    // the corner where its extension leaves the circle again, 55 m away, is not the one picked.
    const AcDbObjectId arc = AddArc(30000, 12500, 30500, 202.62, 266.24);
    const AcDbObjectId stub = AddLine(28000, -17934.3556, 28000, -13000);
    m_db->setFilletrad(5000);
    Run("FILLET\n28000,-17441\n24642.4,-17525.8\n");
    EXPECT_TRUE(Has("No fillet of radius 5000.0000 fits"));
    ExpectPoint(Get<AcDbLine>(stub)->endPoint(), 28000, -13000, 0);
    EXPECT_DOUBLE_EQ(Get<AcDbArc>(arc)->startAngle(), 202.62 * kDeg);
    EXPECT_EQ(Of<AcDbArc>().size(), 1u);
}

TEST_F(Fillet, RefusesOtherObjectsAndBadRadii) {
    const AcDbObjectId a = AddLine(0, 0, 100, 0);
    vorn::ed::dbx::AppendToModelSpace(new AcDbCircle(AcGePoint3d(500, 0, 0), AcGeVector3d::kZAxis, 50));
    Run("FILLET\nR\n-3\nnan\n7\n550,0\n");
    EXPECT_TRUE(Has("lines, arcs and polyline end segments"));
    EXPECT_DOUBLE_EQ(m_db->filletrad(), 7);
    ExpectPoint(Get<AcDbLine>(a)->endPoint(), 100, 0, 0);
}

TEST_F(Fillet, PolylineEndSegmentMovesOnlyItsFreeVertex) {
    Run("PLINE\n0,0\n100,0\n100,100\n\nLINE\n50,80\n200,80\n\nPLINE\n300,0\n400,0\n400,100\nC\n"
        "FILLET\nR\n10\n100,30\n180,80\nFILLET\n350,0\n");
    const AcDbPolyline* pl = Get<AcDbPolyline>(Of<AcDbPolyline>()[0]);
    AcGePoint2d v;
    pl->getPointAt(1, v);
    ExpectPoint(AcGePoint3d(v), 100, 0, 0);
    pl->getPointAt(2, v);
    ExpectPoint(AcGePoint3d(v), 100, 70);
    ExpectPoint(Get<AcDbLine>(Of<AcDbLine>()[0])->startPoint(), 110, 80);
    ExpectPoint(Get<AcDbArc>(Of<AcDbArc>()[0])->center(), 110, 70);
    EXPECT_TRUE(Has("Only an end segment of an open polyline"));
}

// What the road code does: FILLET through acedCommand with entity/point pairs, prompts hidden.
AcDbObjectId g_first, g_second;
void FilletFromCode() {
    ads_name n1, n2;
    acdbGetAdsName(n1, g_first);
    acdbGetAdsName(n2, g_second);
    const ads_point p1 = {60, 0, 0}, p2 = {0, 60, 0};
    resbuf echo;
    echo.restype = RTSHORT;
    echo.resval.rint = 0;
    acedSetVar(L"CMDECHO", &echo);
    acedCommand(RTSTR, L"FILLET", RTLB, RTENAME, n1, RT3DPOINT, p1, RTLE, RTLB, RTENAME, n2,
                RT3DPOINT, p2, RTLE, 0);
    echo.resval.rint = 1;
    acedSetVar(L"CMDECHO", &echo);
}

TEST_F(Fillet, RunsFromAcedCommandInsideACommandAndUndoesAsOneStep) {
    g_first = AddLine(-100, 0, 100, 0, L"ROAD");
    g_second = AddLine(0, -100, 0, 100, L"ROAD");
    m_db->setFilletrad(20);
    vorn::ed::AddCommand(L"CMDSTESTS", L"CODEFILLET", L"CODEFILLET", 0, FilletFromCode);
    Run("CODEFILLET\n");
    ExpectPoint(Get<AcDbLine>(g_first)->startPoint(), 20, 0);
    ExpectPoint(Get<AcDbLine>(g_second)->startPoint(), 0, 20);
    ASSERT_EQ(Of<AcDbArc>().size(), 1u);
    EXPECT_FALSE(Has("Select first object"));  // CMDECHO 0 hid FILLET's prompts
    Run("U\n");
    EXPECT_TRUE(Of<AcDbArc>().empty());
    ExpectPoint(Get<AcDbLine>(g_first)->startPoint(), -100, 0, 0);
    ExpectPoint(Get<AcDbLine>(g_second)->startPoint(), 0, -100, 0);
    vorn::ed::RemoveGroup(L"CMDSTESTS");
}

// Sweeps corners of two random lines: every fillet found is tangent to both kept parts and
// leaves nothing non-finite; mirrored picks give the mirrored corner.
TEST(FilletGeometry, RandomCornersAreTangentAndFinite) {
    using vorn::cmds::ComputeFillet;
    using vorn::cmds::FilletCurve;
    unsigned seed = 12345;
    auto rnd = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) % 20001) / 10000.0 - 1.0;
    };
    int made = 0;
    for (int i = 0; i < 500; ++i) {
        const AcGePoint3d x(rnd() * 1e6, rnd() * 1e6, 0);
        const AcGeVector3d u = AcGeVector3d(rnd(), rnd(), 0).normal(), w = AcGeVector3d(rnd(), rnd(), 0).normal();
        if (u.isZeroLength() || w.isZeroLength() || std::fabs(u.x * w.y - u.y * w.x) < 0.05) continue;
        const FilletCurve a = FilletCurve::Line(x - u * 1000, x + u * 1e5);
        const FilletCurve b = FilletCurve::Line(x - w * 1000, x + w * 1e5);
        const auto r = ComputeFillet(a, x + u * 5e4, b, x + w * 5e4, 300);
        ASSERT_EQ(r.status, vorn::cmds::FilletStatus::kOk) << i;
        ++made;
        EXPECT_NEAR(r.arc.centre.distanceTo(r.tangent1), 300, 1e-6);
        EXPECT_NEAR(r.arc.centre.distanceTo(r.tangent2), 300, 1e-6);
        EXPECT_NEAR((r.tangent1 - r.arc.centre).dotProduct(u), 0, 1e-6);
        EXPECT_NEAR(r.first.end.distanceTo(x + u * 1e5), 0, 1e-6);  // far ends kept
        EXPECT_NEAR(r.second.end.distanceTo(x + w * 1e5), 0, 1e-6);
        EXPECT_LT(r.first.start.distanceTo(x), 1e5);
    }
    EXPECT_GT(made, 300);
    const auto bad = ComputeFillet(FilletCurve::Line({0, 0, 0}, {0, 0, 0}), {0, 0, 0},
                                   FilletCurve::Line({0, 0, 0}, {1, 1, 0}), {1, 1, 0}, 1);
    EXPECT_EQ(bad.status, vorn::cmds::FilletStatus::kDegenerate);
    const auto inf = ComputeFillet(FilletCurve::Line({0, 0, 0}, {1, 0, 0}), {1, 0, 0},
                                   FilletCurve::Line({0, 0, 0}, {0, 1, 0}), {0, 1, 0}, INFINITY);
    EXPECT_EQ(inf.status, vorn::cmds::FilletStatus::kDegenerate);
}

}  // namespace
