// The parking dialog's schematic (outline, style extras, field markers) and the settings'
// texts in millimetre and metre drawings.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbsymtb.h"
#include "parking/parkdlg.h"
#include "parking/parksettings.h"
#include "tests/testdrawing.h"

namespace {

AcGePoint3d Vertex(const AcDbEntity* e, unsigned i) {
    AcGePoint3d p;
    AcDbPolyline::cast(e)->getPointAt(i, p);
    return p;
}

class ParkDialog : public ::testing::Test {
protected:
    AcDbObjectId Block() { return m_drawing.block(L"CAR", {vorn::test::Line(-900, -2400, 900, 2400)}); }
    vorn::test::TestDrawing m_drawing;
    AcDbDatabase* const m_db = &m_drawing.db();
};

TEST_F(ParkDialog, SchematicOutlineExtrasAndMarkers) {
    // Right angle, width marker, no style: a rectangle and the bracket over the front edge.
    auto e = BuildParkPreview(0, 0, 90, {});
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0]->colorIndex(), 7);
    EXPECT_DOUBLE_EQ(Vertex(e[0].get(), 3).x, -200);
    EXPECT_EQ(e[1]->colorIndex(), 3);
    EXPECT_DOUBLE_EQ(Vertex(e[1].get(), 3).y, 420);
    // Every other angle gives the same parallelogram, skewed by 100.
    for (double angle : {30.0, 60.0, 0.0}) {
        e = BuildParkPreview(1, 1, angle, {});
        ASSERT_EQ(e.size(), 3u);
        EXPECT_DOUBLE_EQ(Vertex(e[0].get(), 3).x, -300);
        EXPECT_DOUBLE_EQ(Vertex(e[1].get(), 1).x, 100);  // the diagonal to the back corner
        EXPECT_DOUBLE_EQ(Vertex(e[2].get(), 5).y, -380);  // depth bracket with its slant
    }
    // Double diagonal and the angle arc.
    e = BuildParkPreview(2, 2, 45, {});
    ASSERT_EQ(e.size(), 3u);
    EXPECT_DOUBLE_EQ(Vertex(e[1].get(), 1).y, 400);
    EXPECT_EQ(AcDbPolyline::cast(e[2].get())->numVerts(), 2u);
    // The car at a tenth of its size, turned a little when skewed; none without its block.
    const AcDbObjectId car = Block();
    e = BuildParkPreview(0, 3, 60, car);
    ASSERT_EQ(e.size(), 3u);
    const auto* ref = AcDbBlockReference::cast(e[1].get());
    ASSERT_NE(ref, nullptr);
    EXPECT_DOUBLE_EQ(ref->position().x, -50);
    EXPECT_DOUBLE_EQ(ref->scaleFactors().sx, 0.1);
    EXPECT_NEAR(std::remainder(ref->rotation() + std::atan(0.125), 2 * M_PI), 0, 1e-12);
    EXPECT_EQ(BuildParkPreview(0, 3, 90, {}).size(), 2u);
}

TEST_F(ParkDialog, SizeTextsInBothUnitsAndMemoryInMillimetres) {
    g_dParkWidth = 2400;
    g_dParkDepth = 5300;
    KyParkSettingsToTexts();
    EXPECT_STREQ(g_strParkWidth, L"2400.00");
    EXPECT_STREQ(g_strParkDepth, L"5300.00");
    m_db->setDrawUnit(1);
    KyParkSettingsToTexts();
    EXPECT_STREQ(g_strParkWidth, L"2.40");
    EXPECT_STREQ(g_strParkDepth, L"5.30");
    // 2.5 typed in a metre drawing comes back as 2500.00 in a millimetre one.
    g_strParkWidth = L"2.5";
    g_strParkDepth = L"abc";  // no number reads as 0, and 0 is what comes back
    KyParkTextsToSettings();
    EXPECT_DOUBLE_EQ(g_dParkWidth, 2500);
    EXPECT_DOUBLE_EQ(g_dParkDepth, 0);
    m_db->setDrawUnit(0);
    KyParkSettingsToTexts();
    EXPECT_STREQ(g_strParkWidth, L"2500.00");

    EXPECT_EQ(KyParkTextValue(L"abc"), 0.0);
    EXPECT_EQ(KyParkTextValue(L"nan"), 0.0);
    EXPECT_EQ(KyParkStyleFromText(L"有停车"), 3);
    EXPECT_EQ(KyParkStyleFromText(L"无斜线"), 0);
    EXPECT_EQ(KyParkStyleFromText(L"单斜线"), 1);
    EXPECT_EQ(KyParkStyleFromText(L"其它"), 2);
    EXPECT_TRUE(KyParkIsDoubleRow(L"双排"));
    EXPECT_FALSE(KyParkIsDoubleRow(L"单排"));
}

}  // namespace
