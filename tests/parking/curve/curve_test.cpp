// Parking along curves: the outlines of arc spaces (radii, counts, too small arcs), which side
// of travel a point lies on, arc marks and car turns, and curves laid into a drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "geometry/KyGeLine2d.h"
#include "geometry/KyGePolyline2d.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbsymtb.h"
#include "host/db/dbtext.h"
#include "parking/parkcurve.h"
#include "parking/parksettings.h"
#include "tests/testdrawing.h"

namespace {

const KyGePolyline2d& Outline(const KyGeObjList& list, int i) {
    return *KyGeCast<KyGePolyline2d>(list[i]);
}

// Inner and outer radius of every outline about o.
void ExpectRadii(const KyGeObjList& list, const KyGePoint& o, double inner, double outer) {
    for (int i = 0; i < list.GetLength(); ++i) {
        const KyGePolyline2d& q = Outline(list, i);
        ASSERT_EQ(q.GetVertexNum(), 4);
        EXPECT_TRUE(q.IsClosed());
        EXPECT_NEAR(Distance2d(o, q.GetVertex(0)), inner, 1e-6);
        EXPECT_NEAR(Distance2d(o, q.GetVertex(1)), inner, 1e-6);
        EXPECT_NEAR(Distance2d(o, q.GetVertex(2)), outer, 1e-6);
        EXPECT_NEAR(Distance2d(o, q.GetVertex(3)), outer, 1e-6);
        // The chord is the space's width.
        EXPECT_NEAR(Distance2d(q.GetVertex(0), q.GetVertex(1)), 2400, 1e-6);
    }
}

TEST(ParkArcOutlines, OutsideAndInsideRadiiForBothSenses) {
    const KyGePoint o(0, 0);
    const double outer = 20000 + 5300 / std::sqrt(1 - 0.06 * 0.06);
    for (bool clockwise : {false, true}) {
        SCOPED_TRACE(clockwise ? "clockwise" : "counter-clockwise");
        const KyGeArc2d arc(o, 20000, 0, KyGePi / 2, clockwise);
        KyGeObjList out;
        BuildArcOutlines(arc, 2400, 5300, out);
        // Arc length per space is the chord's arc: a little more than the width.
        const double step = 2 * std::asin(0.06) * 20000;
        EXPECT_EQ(out.GetLength(), static_cast<int>(arc.Length() / step));
        ExpectRadii(out, o, 20000, outer);
        EXPECT_NEAR(outer, 25309.6, 0.1);
        // The first space starts at the arc's start, whichever way it runs.
        EXPECT_NEAR(Distance2d(Outline(out, 0).GetVertex(0), arc.GetStartPoint()), 0, 1e-6);

        // Inside: the arc moved by the depth towards its centre is the base.
        const auto inner = arc.GetOffsetCurve(clockwise ? 5300 : -5300);
        ASSERT_TRUE(inner);
        KyGeObjList in;
        BuildArcOutlines(*KyGeCast<KyGeArc2d>(inner.get()), 2400, 5300, in);
        ASSERT_GT(in.GetLength(), 0);
        const double reach = 14700 + 5300 / std::sqrt(1 - std::pow(1200.0 / 14700, 2));
        ExpectRadii(in, o, 14700, reach);
        EXPECT_GT(reach, 20000);
        EXPECT_LT(reach, 20020);
    }
}

TEST(ParkArcOutlines, TooSmallArcsAndBadSizesGiveNothing) {
    testing::internal::CaptureStdout();
    KyGeObjList out;
    // Shorter than one width: the message and nothing.
    BuildArcOutlines(KyGeArc2d(KyGePoint(0, 0), 20000, 0, 0.1), 2400, 5300, out);
    EXPECT_EQ(out.GetLength(), 0);
    // A radius below half the width has no chord of that length: the message, nothing, no NaN.
    BuildArcOutlines(KyGeArc2d(KyGePoint(0, 0), 1100, 0, 3), 2400, 5300, out);
    EXPECT_EQ(out.GetLength(), 0);
    // A chord across the whole circle: too tight as well.
    BuildArcOutlines(KyGeArc2d(KyGePoint(0, 0), 1200, 0, 6), 2400, 5300, out);
    for (int i = 0; i < out.GetLength(); ++i)
        for (int v = 0; v < 4; ++v) EXPECT_TRUE(std::isfinite(Outline(out, i).GetVertex(v).x));
    out.Reset();
    // Zero, negative and non-finite widths lay nothing and never loop without end.
    for (double w : {0.0, -2400.0, std::nan(""), HUGE_VAL})
        BuildArcOutlines(KyGeArc2d(KyGePoint(0, 0), 20000, 0, 1), w, 5300, out);
    BuildArcOutlines(KyGeArc2d(KyGePoint(0, 0), 20000, 0, 1), 2400, 0, out);
    EXPECT_EQ(out.GetLength(), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "空间太小！空间太小！空间太小！");
}

TEST(ParkSide, LeftOfTravelOnLinesAndArcsOfBothSenses) {
    const KyGeLineSeg2d east(KyGePoint(0, 0), KyGePoint(10000, 0));
    EXPECT_EQ(SideOfFirstSegment(east, KyGePoint(5000, 100)), 1);
    EXPECT_EQ(SideOfFirstSegment(east, KyGePoint(5000, -100)), 2);
    const KyGeLineSeg2d west(KyGePoint(10000, 0), KyGePoint(0, 0));
    EXPECT_EQ(SideOfFirstSegment(west, KyGePoint(5000, 100)), 2);
    // Counter-clockwise: left of travel is inside the circle.
    const KyGeArc2d ccw(KyGePoint(0, 0), 20000, 0, 1, false);
    EXPECT_EQ(SideOfFirstSegment(ccw, KyGePoint(10000, 5000)), 1);
    EXPECT_EQ(SideOfFirstSegment(ccw, KyGePoint(25000, 5000)), 2);
    // Clockwise: left of travel is outside.
    const KyGeArc2d cw(KyGePoint(0, 0), 20000, 1, 0, true);
    EXPECT_EQ(SideOfFirstSegment(cw, KyGePoint(25000, 5000)), 1);
    EXPECT_EQ(SideOfFirstSegment(cw, KyGePoint(10000, 5000)), 2);
}

TEST(ParkArcExtras, MarksAndCarTurnsPerSideAndKind) {
    // A space standing on the x axis around angle 0: p0 below, p1 above, far side outwards.
    const KyGePoint o(0, 0);
    const KyGePoint quad[4] = {{20000, -1200}, {20000, 1200}, {25000, 1200}, {25000, -1200}};
    auto e = ArcSpaceExtras(quad, 1, 1, o, false);
    ASSERT_EQ(e.mark.size(), 2u);
    EXPECT_NEAR(e.mark[0].y, 1200, 1e-9);   // p1
    EXPECT_NEAR(e.mark[1].x, 25000, 1e-9);  // q0
    e = ArcSpaceExtras(quad, 1, 2, o, false);
    EXPECT_NEAR(e.mark[0].y, -1200, 1e-9);  // p0 → q1
    EXPECT_NEAR(e.mark[1].y, 1200, 1e-9);
    // A V standing on the row arc, apex in the middle of the far side; inside the other way.
    e = ArcSpaceExtras(quad, 2, 1, o, false);
    ASSERT_EQ(e.mark.size(), 3u);
    EXPECT_NEAR(e.mark[1].x, 25000, 1e-9);
    EXPECT_NEAR(e.mark[1].y, 0, 1e-9);
    e = ArcSpaceExtras(quad, 2, 2, o, false);
    EXPECT_NEAR(e.mark[1].x, 20000, 1e-9);
    // Wide: the V lies along the row, apex in the middle of the end p1..q1.
    e = ArcSpaceExtras(quad, 2, 1, o, true);
    EXPECT_NEAR(e.mark[1].x, 22500, 1e-9);
    EXPECT_NEAR(e.mark[1].y, 1200, 1e-9);
    // Cars: at the centre, turned a quarter back from the radial direction (0 outwards).
    e = ArcSpaceExtras(quad, 3, 1, o, false);
    EXPECT_TRUE(e.mark.empty());
    EXPECT_NEAR(e.carAt.x, 22500, 1e-9);
    EXPECT_NEAR(std::remainder(e.carRotation + KyGePi / 2, 2 * KyGePi), 0, 1e-9);
    e = ArcSpaceExtras(quad, 3, 2, o, false);  // radial direction inwards: pi
    EXPECT_NEAR(std::remainder(e.carRotation - KyGePi / 2, 2 * KyGePi), 0, 1e-9);
    e = ArcSpaceExtras(quad, 3, 1, o, true);
    EXPECT_NEAR(std::remainder(e.carRotation + KyGePi, 2 * KyGePi), 0, 1e-9);
    e = ArcSpaceExtras(quad, 3, 2, o, true);
    EXPECT_NEAR(std::remainder(e.carRotation - KyGePi, 2 * KyGePi), 0, 1e-9);
}

// Curves written into a drawing: entities per kind, and the outlines' extents.
class ParkAlongCurve : public ::testing::Test {
protected:
    AcDbObjectId Add(AcDbEntity* e) { return m_drawing.add(e); }
    // Closed polylines on the parking layer (spaces) after the first skip entities, with the
    // extents of their vertices.
    int Spaces(double& minY, double& maxY, int skip) {
        const AcDbObjectIdArray ids = m_drawing.db().modelSpaceIds();
        int n = 0;
        minY = 1e300;
        maxY = -1e300;
        for (int i = skip; i < ids.length(); ++i)
            if (const auto* p = AcDbPolyline::cast(m_drawing.db().peekObject(ids[i])); p && p->isClosed()) {
                EXPECT_EQ(std::wstring(p->layer()), L"PLAN-CAR_PLACE");
                ++n;
                for (unsigned v = 0; v < p->numVerts(); ++v) {
                    AcGePoint3d q;
                    p->getPointAt(v, q);
                    minY = std::min(minY, q.y);
                    maxY = std::max(maxY, q.y);
                }
            }
        return n;
    }
    vorn::test::TestDrawing m_drawing;
};

TEST_F(ParkAlongCurve, LinesAndPolylinesRowPerSegmentWithAngleIgnoredInSpacing) {
    const AcDbObjectId line = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(12000, 0, 0)));
    double lo, hi;
    ASSERT_TRUE(LayoutAlongCurve(2400, 5300, KyGePoint(6000, 100), KyGePi / 2, 0, 1, {}, line));
    EXPECT_EQ(Spaces(lo, hi, 1), 5);
    EXPECT_NEAR(lo, 0, 1e-6);
    EXPECT_NEAR(hi, 5300, 1e-6);
    // Double row: five more on the right; width 5000 leaves 2000 over: two each side.
    ASSERT_TRUE(LayoutAlongCurve(5000, 2400, KyGePoint(), KyGePi / 2, 0, 2, {}, line));
    EXPECT_EQ(Spaces(lo, hi, 6), 4);
    EXPECT_NEAR(lo, -2400, 1e-6);

    // Two 5000 segments: each starts its own row at its vertex; the 2000 piece is too small.
    auto* pl = new AcDbPolyline;
    pl->addVertexAt(0, AcGePoint2d(0, 100000));
    pl->addVertexAt(1, AcGePoint2d(5000, 100000));
    pl->addVertexAt(2, AcGePoint2d(10000, 100000));
    pl->addVertexAt(3, AcGePoint2d(12000, 100000));
    const AcDbObjectId path = Add(pl);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(LayoutAlongCurve(2400, 5300, KyGePoint(1, 99000), KyGePi / 3, 1, 1, {}, path));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "空间太小！");
    // 4 spaces, 8 entities with their marks; side point below: the spaces hang down.
    EXPECT_EQ(Spaces(lo, hi, 11), 4);
    EXPECT_NEAR(hi, 100000, 1e-6);
    EXPECT_NEAR(lo, 100000 - 5300 * std::sin(KyGePi / 3), 1e-6);
}

TEST_F(ParkAlongCurve, ArcSegmentKeepsTheSideOfTravelAndRefusesWhatCannotBeLaid) {
    // A line east, then a counter-clockwise arc of radius 20000 turning left (centre above).
    auto* pl = new AcDbPolyline;
    pl->addVertexAt(0, AcGePoint2d(-12000, -20000));
    pl->addVertexAt(1, AcGePoint2d(0, -20000), std::tan(KyGePi / 8));
    pl->addVertexAt(2, AcGePoint2d(20000, 0));
    const AcDbObjectId path = Add(pl);
    double lo, hi;
    // Side point on the right of travel (below the line): outside the arc.
    ASSERT_TRUE(LayoutAlongCurve(2400, 5300, KyGePoint(-6000, -21000), KyGePi / 2, 0, 1, {}, path));
    const int spaces = Spaces(lo, hi, 1);
    EXPECT_EQ(spaces, 5 + static_cast<int>(20000 * KyGePi / 2 / (2 * std::asin(0.06) * 20000)));
    EXPECT_NEAR(lo, -25309.57, 0.1);

    // Zero width (which the command refuses before): nothing laid; an entity that is no curve:
    // refused.
    testing::internal::CaptureStdout();
    EXPECT_TRUE(LayoutAlongCurve(0, 5300, KyGePoint(), KyGePi / 2, 0, 2, {}, path));
    auto* text = new AcDbText(AcGePoint3d(), L"x");
    EXPECT_FALSE(LayoutAlongCurve(2400, 5300, KyGePoint(), KyGePi / 2, 0, 2, {}, Add(text)));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("不能转换为曲线"), std::string::npos) << printed;
    EXPECT_EQ(Spaces(lo, hi, 1), spaces);
}

}  // namespace
