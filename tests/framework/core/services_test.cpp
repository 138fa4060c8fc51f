// Drawing services: adding entities (refusals delete, never leak), the layer standard, the
// default text style, the number format, coordinates and the SYMBELEV command.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtBlock.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyFramework.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/ed/commands.h"
#include "host/ed/ucs.h"
#include "tests/host/ed/session.h"
#include "tests/testdrawing.h"

namespace {

class Services : public ::testing::Test {
protected:
    void TearDown() override { vorn::ed::SetWorldUcs(); }
    vorn::test::TestDrawing m_drawing;
    AcDbDatabase* const m_db = &m_drawing.db();
};

}  // namespace

TEST_F(Services, AddToModelSpaceAppendsClosesAndDeletesWhatTheDrawingRefuses) {
    AcDbObjectId id = AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), 1);
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(m_db->openObjectCount(), 0u);
    // Refused input: null id, the entity deleted (the leak checker would see it otherwise).
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(AddToModelSpace(new AcDbLine(AcGePoint3d(nan, 0, 0), AcGePoint3d(1, 0, 0)), 1).isNull());
    EXPECT_TRUE(AddToCurrentSpace(nullptr, 1).isNull());
    // An entity already in the drawing is not added twice, nor deleted from under it.
    AcDbEntity* resident = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(resident, id, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(AddToModelSpace(resident, 0).isNull());
    resident->close();
    EXPECT_EQ(m_db->modelSpaceIds().length(), 1);
    // Without a drawing.
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_TRUE(AddToModelSpace(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0)), 1).isNull());
}

TEST_F(Services, StandardLayersAreMadeOnceWithTheirColoursAndLineTypes) {
    AcDbObjectId center = KyDtInitStdLayer(L"PLAN-ROAD_CENTER");
    ASSERT_FALSE(center.isNull());
    EXPECT_EQ(KyDtInitStdLayer(L"PLAN-ROAD_CENTER"), center);
    EXPECT_EQ(KyDtInitLayer(L"plan-road_center"), center);  // names compare without case
    const auto* rec = AcDbLayerTableRecord::cast(m_db->peekObject(center));
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->color().colorIndex(), 1);
    EXPECT_EQ(rec->linetypeObjectId(), m_db->findLinetype(L"CENTER"));
    const auto* tree = AcDbLayerTableRecord::cast(m_db->peekObject(KyDtInitStdLayer(L"PLAN-TREE")));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->color().colorIndex(), 3);
    // A layer the drawing already has is left as the designer set it.
    AcDbObjectId own;
    m_db->ensureLayer(L"PLAN-ROAD", own);
    EXPECT_EQ(KyDtInitStdLayer(L"PLAN-ROAD"), own);
    EXPECT_TRUE(KyDtInitLayer(L"bad<name>").isNull());
    EXPECT_TRUE(KyDtInitLayer(L"").isNull());
    EXPECT_EQ(KyDtGetLayerName(L"PLAN-ROAD"), L"PLAN-ROAD");
}

TEST_F(Services, DefaultTextStyleIsMadeOtherMissingStylesAreNot) {
    AcDbObjectId ts = KyDtInitTextStyle(L"TS_DEFAULT");
    ASSERT_FALSE(ts.isNull());
    EXPECT_EQ(KyDtInitTextStyle(L"TS_DEFAULT"), ts);
    EXPECT_TRUE(KyDtInitTextStyle(L"NO_SUCH_STYLE").isNull());
    EXPECT_EQ(KyDtInitTextStyle(L"Standard"), m_db->findTextStyle(L"Standard"));
    // Both name the Chinese big font beside the text font, so SHX readers show Chinese texts.
    for (const AcDbObjectId& id : {ts, m_db->findTextStyle(L"Standard")}) {
        const auto* style = AcDbTextStyleTableRecord::cast(m_db->peekObject(id));
        ASSERT_TRUE(style);
        EXPECT_STREQ(style->fileName(), L"txt");
        EXPECT_STREQ(style->bigFontFileName(), L"gbcbig.shx");
    }
}

TEST_F(Services, NumbersAreWrittenShortAndNeverAsNanOrMinusZero) {
    EXPECT_EQ(DistToString(1500.0), L"1500");
    EXPECT_EQ(DistToString(2.5), L"2.5");
    EXPECT_EQ(DistToString(0.1 + 0.2), L"0.3");
    EXPECT_EQ(DistToString(-0.0000001), L"0");
    EXPECT_EQ(DistToString(1.0 / 3.0), L"0.333333");
    EXPECT_EQ(DistToString(std::numeric_limits<double>::quiet_NaN()), L"0");
    EXPECT_EQ(DistToString(-12.75), L"-12.75");
}

TEST_F(Services, UserCoordinatesConvertBothWaysForPointsDisplacementsAndAngles) {
    vorn::ed::Ucs ucs;
    ucs.origin[0] = 100;
    ucs.angle = 1.5707963267948966;
    ASSERT_TRUE(vorn::ed::SetUcs(ucs));
    AcGePoint3d w = UcsToWcs(AcGePoint3d(10, 0, 0));
    EXPECT_NEAR(w.x, 100.0, 1e-9);
    EXPECT_NEAR(w.y, 10.0, 1e-9);
    AcGePoint3d d = UcsToWcs(AcGePoint3d(10, 0, 0), 1);
    EXPECT_NEAR(d.x, 0.0, 1e-9);
    EXPECT_NEAR(d.y, 10.0, 1e-9);
    AcGePoint3d back = WcsToUcs(w);
    EXPECT_NEAR(back.x, 10.0, 1e-9);
    EXPECT_NEAR(UcsToWcs(0.0), ucs.angle, 1e-12);
    EXPECT_EQ(KyDbGetDrawUnit(), 0);
    EXPECT_DOUBLE_EQ(KyDbGetPrintScale(), 1.0);
}

TEST_F(Services, SymbelevPlacesAMarkWithTheChosenDecimals) {
    KyFrameworkInit();
    KyFrameworkInit();  // a second start-up changes nothing
    vorn::ed::test::Session s("SYMBELEV\n10,20\n12.5\n3\nSYMBELEV\n0,0\n7\n\nSYMBELEV\n5,5\n±0.00\n2\n");
    vorn::ed::RunCommandLoop();
    AcDbObjectIdArray ids = m_db->modelSpaceIds();
    ASSERT_EQ(ids.length(), 3);
    const auto* a = KyDbSymbElevation::cast(m_db->peekObject(ids[0]));
    const auto* b = KyDbSymbElevation::cast(m_db->peekObject(ids[1]));
    const auto* c = KyDbSymbElevation::cast(m_db->peekObject(ids[2]));
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->GetElevationText(), L"12.500");
    EXPECT_FALSE(a->IsPrec2());
    EXPECT_DOUBLE_EQ(a->GetLocation().x, 10.0);
    EXPECT_EQ(b->GetElevationText(), L"7.00");  // Enter: two decimals
    EXPECT_TRUE(b->IsPrec2());
    EXPECT_EQ(c->GetElevationText(), L"±0.00");  // not a number: kept as typed
}

TEST_F(Services, LoadingABlockFromAMissingFileFails) {
    EXPECT_TRUE(KyDtLoadBlock(L"/no/such/dir/car.dwg").isNull());
}
