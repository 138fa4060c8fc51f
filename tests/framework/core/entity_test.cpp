// Framework entities: refused fields, drawing through the stream, explode into host entities,
// sizes that follow the print scale. Saved fields read back are checked through a file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyFramework.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbtext.h"
#include "tests/testdrawing.h"

namespace {

class Entities : public ::testing::Test {
protected:
    void SetUp() override { KyRegisterFrameworkClasses(); }

    // A block holding one line from (0,0) to (10,4).
    AcDbObjectId MakeBlock(const wchar_t* name = L"B") { return m_drawing.block(name, {vorn::test::Line(0, 0, 10, 4)}); }
    static std::vector<AcDbXDataItem> Fields(const AcDbEntity& e) {
        std::vector<AcDbXDataItem> f;
        e.writeFields(f);
        return f;
    }

    vorn::test::TestDrawing m_drawing;
    AcDbDatabase* const m_db = &m_drawing.db();
};

// An entity of the kind a module writes: a line, a text and a block through the stream.
class Sample : public KyDbEntity {
public:
    AcDbObjectId block;
    static AcRxClass* desc();
    AcRxClass* isA() const override { return desc(); }
    void OnExplode(KyGiStream& s) const override {
        AcDbLine line(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0));
        s << line;
        s.SetColorIndex(3);
        KyDbText t(AcGePoint3d(1, 1, 0), L"N", KyGiText::kCenterMiddle);
        t.SetTextHeight(2.0, KyDbText::kPlotted);
        s << t;
        s.SetColorIndex(KyGiStream::kColorOfOwner);
        s << KyGiBlock(AcGePoint3d(20, 0, 0), block, 0.0, 2.0, 2.0, 1.0);
        s << static_cast<const KyGeObject*>(nullptr);
    }
};
AcRxClass* Sample::desc() {
    static AcRxClass* cls = new AcRxClass(L"TestSample", L"", KyDbEntity::desc(), nullptr);
    return cls;
}

}  // namespace

TEST_F(Entities, FieldsThatDoNotFitOrAreNotFiniteAreRefusedAndChangeNothing) {
    KyDbSymbElevation elev(AcGePoint3d(1, 1, 0), L"1.00");
    auto good = Fields(elev);
    auto bad = good;
    bad[0].point.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(elev.readFields(bad), Acad::eInvalidInput);
    bad = good;
    bad.pop_back();  // neither the short nor the long form
    EXPECT_EQ(elev.readFields(bad), Acad::eInvalidInput);
    EXPECT_EQ(Fields(elev), good);

    KyDbText text(AcGePoint3d(0, 0, 0), L"x");
    auto tf = Fields(text);
    tf[2].integer = 12;  // no such alignment
    EXPECT_EQ(text.readFields(tf), Acad::eInvalidInput);
    tf = Fields(text);
    tf[3].real = 0.0;
    EXPECT_EQ(text.readFields(tf), Acad::eInvalidInput);

    KyDbSymbArrow arrow;
    EXPECT_EQ(arrow.SetVertices({{AcGePoint2d(1, 1), 0.0}, {AcGePoint2d(1, 1), 0.0}}), Acad::eInvalidInput);
    EXPECT_EQ(arrow.readFields({AcDbXDataItem::string(L"a"), AcDbXDataItem::string(L"b")}), Acad::eInvalidInput);
    EXPECT_EQ(text.SetTextHeight(std::numeric_limits<double>::infinity()), Acad::eInvalidInput);
    KyDbBlockReference ref;
    EXPECT_EQ(ref.SetScaleFactors(1, 0, 1), Acad::eInvalidInput);
}

TEST_F(Entities, ExplodeGivesHostEntitiesWithTheOwnersLayerAndTheStreamsColour) {
    Sample sample;
    sample.block = MakeBlock();
    AcDbObjectId layer;
    m_db->ensureLayer(L"PLAN-TEST", layer);
    sample.setLayer(layer);
    sample.setColorIndex(5);
    AcDbVoidPtrArray parts;
    ASSERT_EQ(sample.explode(parts), Acad::eOk);
    ASSERT_EQ(parts.length(), 3);
    auto* line = AcDbLine::cast(static_cast<AcDbEntity*>(parts[0]));
    auto* text = AcDbText::cast(static_cast<AcDbEntity*>(parts[1]));
    auto* ref = AcDbBlockReference::cast(static_cast<AcDbEntity*>(parts[2]));
    ASSERT_TRUE(line && text && ref);
    EXPECT_EQ(line->layerId(), layer);
    EXPECT_EQ(line->colorIndex(), 5);
    EXPECT_EQ(text->colorIndex(), 3);
    EXPECT_EQ(text->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(text->verticalMode(), AcDb::kTextVertMid);
    EXPECT_DOUBLE_EQ(text->height(), 2.0);  // plotted 2 mm at 1:1 in millimetres
    EXPECT_EQ(ref->blockTableRecord(), sample.block);
    EXPECT_DOUBLE_EQ(ref->scaleFactors().sx, 2.0);
    for (void* p : parts) delete static_cast<AcDbEntity*>(p);

    // Extents come from the same drawing: the block at (20,0) scaled twice reaches x = 40; the
    // "N" 2 high centred at x = 1 holds its whole drawn width (1.05 heights) and reaches -0.05.
    AcDbExtents ext;
    ASSERT_EQ(sample.getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x, 40.0, 1e-9);
    EXPECT_NEAR(ext.minPoint().x, -0.05, 1e-9);
}

TEST_F(Entities, SymbolsAndPlottedTextsGrowWithThePrintScaleAndShrinkInMetres) {
    KyDbSymbElevation elev(AcGePoint3d(100, 100, 0), L"12.50");
    AcDbExtents at1;
    ASSERT_EQ(elev.getGeomExtents(at1), Acad::eOk);
    EXPECT_NEAR(at1.minPoint().y, 100.0, 1e-9);  // the tip stands on the location
    const double h1 = at1.maxPoint().y - at1.minPoint().y;
    m_db->setPrintScale(100.0);
    AcDbExtents at100;
    ASSERT_EQ(elev.getGeomExtents(at100), Acad::eOk);
    EXPECT_NEAR((at100.maxPoint().y - at100.minPoint().y) / h1, 100.0, 1e-6);

    m_db->setDrawUnit(1);
    KyDbText text(AcGePoint3d(0, 0, 0), L"x");
    text.SetTextHeight(3.5, KyDbText::kPlotted);
    EXPECT_NEAR(text.GetDrawHeight(), 0.35, 1e-12);  // 3.5 mm at 1:100 in a metre drawing
    text.SetTextHeight(3.5, KyDbText::kDrawingUnits);
    EXPECT_DOUBLE_EQ(text.GetDrawHeight(), 3.5);
}

// The drawing's extents and its spatial searches follow a symbol that a new print scale or
// drawing unit resized, also when the change is undone.
TEST_F(Entities, TheDrawingsBoxFollowsSymbolsResizedByThePrintScale) {
    ASSERT_FALSE(
        AddToModelSpace(new KyDbSymbElevation(AcGePoint3d(100, 100, 0), L"12.50"), 1, m_db)
            .isNull());
    const double h1 = m_db->modelSpaceExtents().maxPoint().y - 100.0;
    ASSERT_GT(h1, 0.0);
    const std::size_t before = m_db->undoPosition();
    ASSERT_EQ(m_db->setPrintScale(500.0), Acad::eOk);
    EXPECT_NEAR((m_db->modelSpaceExtents().maxPoint().y - 100.0) / h1, 500.0, 1e-6);
    const AcDbExtents high(AcGePoint3d(90, 100 + 400 * h1, 0), AcGePoint3d(110, 100 + 450 * h1, 0));
    EXPECT_EQ(m_db->entitiesMeetingBox(high).length(), 1);
    ASSERT_EQ(m_db->setDrawUnit(1), Acad::eOk);  // metres: a thousandth of the size
    EXPECT_NEAR((m_db->modelSpaceExtents().maxPoint().y - 100.0) / h1, 0.5, 1e-6);
    AcDbUndoChunk redo;
    ASSERT_EQ(m_db->revertTo(before, redo), Acad::eOk);
    EXPECT_NEAR(m_db->modelSpaceExtents().maxPoint().y - 100.0, h1, 1e-9);
    EXPECT_EQ(m_db->entitiesMeetingBox(high).length(), 0);
    ASSERT_EQ(m_db->reapply(redo), Acad::eOk);
    EXPECT_NEAR((m_db->modelSpaceExtents().maxPoint().y - 100.0) / h1, 0.5, 1e-6);
}

TEST_F(Entities, ArrowTextsStayReadableWhateverWayThePathRuns) {
    KyDbSymbArrow arrow;
    arrow.SetVertices({{AcGePoint2d(20, 0), 0.0}, {AcGePoint2d(0, 0), 0.0}});  // runs leftwards
    arrow.SetText1(L"2%");
    arrow.SetText2(L"L=20");
    arrow.ResetTextPos();
    EXPECT_NEAR(std::cos(arrow.GetTextRotation()), 1.0, 1e-9);
    EXPECT_GT(arrow.GetText1Position().y, 0.0);  // text 1 above the line
    EXPECT_LT(arrow.GetText2Position().y, 0.0);
    EXPECT_NEAR(arrow.GetText1Position().x, 10.0, 1e-9);

    AcDbVoidPtrArray parts;
    arrow.explode(parts);
    int texts = 0, closed = 0;
    for (void* p : parts) {
        auto* e = static_cast<AcDbEntity*>(p);
        if (AcDbText::cast(e)) ++texts;
        if (auto* pl = AcDbPolyline::cast(e); pl && pl->isClosed()) {
            ++closed;  // the filled head, tip at the path's end
            AcGePoint2d tip;
            pl->getPointAt(1, tip);
            EXPECT_NEAR(tip.x, 0.0, 1e-9);
        }
        delete e;
    }
    EXPECT_EQ(texts, 2);
    EXPECT_EQ(closed, 1);
}

TEST_F(Entities, BlockReferenceDrawsItsPlanBlockAndConvertsToAHostReference) {
    AcDbObjectId block = MakeBlock();
    KyDbBlockReference ref(AcGePoint3d(100, 0, 0), block);
    AcDbExtents ext;
    ASSERT_EQ(ref.GetGeomExtents2d(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x - ext.minPoint().x, 10.0, 1e-9);
    EXPECT_NEAR(ext.maxPoint().y - ext.minPoint().y, 4.0, 1e-9);
    ref.SetScaleFactors(0.5, 0.5, 1.0);
    std::unique_ptr<AcDbBlockReference> host(ref.AsAcDbBlockReference());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->blockTableRecord(), block);
    EXPECT_DOUBLE_EQ(host->position().x, 100.0);
    EXPECT_DOUBLE_EQ(host->scaleFactors().sx, 0.5);
    KyDbBlockReference none;
    EXPECT_EQ(none.AsAcDbBlockReference(), nullptr);
    EXPECT_EQ(none.GetGeomExtents2d(ext), Acad::eInvalidExtents);
}
