// Framework entities: saved fields read back by class name, drawing through the stream,
// explode into host entities, sizes that follow the print scale.
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

namespace {

class Entities : public ::testing::Test {
protected:
    void SetUp() override {
        KyRegisterFrameworkClasses();
        m_db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
    }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }

    // A block "B" holding one line from (0,0) to (10,4).
    AcDbObjectId MakeBlock(const wchar_t* name = L"B") {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(m_db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
        auto* rec = new AcDbBlockTableRecord();
        rec->setName(name);
        AcDbObjectId id;
        EXPECT_EQ(table->add(id, rec), Acad::eOk);
        rec->appendAcDbEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 4, 0)));
        AcDbEntity* line = nullptr;
        acdbOpenAcDbEntity(line, rec->entityIds()[0], AcDb::kForWrite);
        if (line) line->close();
        rec->close();
        table->close();
        return id;
    }

    // What the file reader does: a new object of the class named in the file, given the fields.
    static std::unique_ptr<AcDbEntity> ReadBack(const AcDbEntity& e) {
        std::vector<AcDbXDataItem> fields;
        e.writeFields(fields);
        std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(acrxCreateByDxfName(e.isA()->dxfName())));
        EXPECT_NE(copy, nullptr) << "class not known by its drawing type name";
        if (copy) {
            EXPECT_EQ(copy->readFields(fields), Acad::eOk);
        }
        return copy;
    }
    static std::vector<AcDbXDataItem> Fields(const AcDbEntity& e) {
        std::vector<AcDbXDataItem> f;
        e.writeFields(f);
        return f;
    }

    std::unique_ptr<AcDbDatabase> m_db;
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

TEST_F(Entities, EachFrameworkEntityReadsBackFromItsFieldsByDrawingTypeName) {
    AcDbObjectId block = MakeBlock();
    AcDbObjectId plan = MakeBlock(L"B2D");
    KyDbText text(AcGePoint3d(1, 2, 0), L"总平图", KyGiText::kCenterMiddle);
    text.SetTextHeight(3.5, KyDbText::kPlotted);
    text.SetRotation(0.5);
    text.SetTextStyle(m_db->findTextStyle(L"Standard"));
    KyDbBlockReference ref(AcGePoint3d(3, 4, 0), block);
    ref.SetBlockTableRecord2d(plan);
    ref.SetRotation(1.25);
    ref.SetScaleFactors(2, 3, 1);
    KyDbSymbElevation elev(AcGePoint3d(7, 8, 0), L"9.80", true);
    elev.SetLayoutAngle(0.3);
    KyDbSymbArrow arrow;
    ASSERT_EQ(arrow.SetVertices({{AcGePoint2d(0, 0), 0.0}, {AcGePoint2d(10, 0), 0.4}, {AcGePoint2d(20, 5), 0.0}}),
              Acad::eOk);
    arrow.SetText1(L"2.50%%%");
    arrow.SetText2(L"L=12.00");
    arrow.SetArrowType(KyDbSymbArrow::kOpenHead);
    arrow.SetArrowSize(2.5);
    arrow.SetTextAlignment(KyDbSymbArrow::kAtStart);
    arrow.SetTextColor(7);
    arrow.SetTextHeight(3.0);
    arrow.SetLayoutAngle(0.1);

    for (const AcDbEntity* e : std::initializer_list<const AcDbEntity*>{&text, &ref, &elev, &arrow}) {
        auto copy = ReadBack(*e);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->isA(), e->isA());
        EXPECT_EQ(Fields(*copy), Fields(*e)) << copy->isA()->dxfName();
    }
    EXPECT_STREQ(KyDbSymbElevation::desc()->dxfName(), L"VORN_SYMB_ELEVATION");
    EXPECT_STREQ(KyDbSymbArrow::desc()->dxfName(), L"VORN_SYMB_ARROW");
    EXPECT_STREQ(KyDbText::desc()->dxfName(), L"VORN_TEXT");
    EXPECT_STREQ(KyDbBlockReference::desc()->dxfName(), L"VORN_INSERT");
    // Blocks are found again by name in the drawing.
    auto refCopy = ReadBack(ref);
    EXPECT_EQ(static_cast<KyDbBlockReference*>(refCopy.get())->GetBlockTableRecord(), block);
    EXPECT_EQ(static_cast<KyDbBlockReference*>(refCopy.get())->GetDrawnBlock(), plan);
    // The elevation symbol's leading fields are the ones every reader relies on.
    auto f = Fields(elev);
    ASSERT_GE(f.size(), 3u);
    EXPECT_EQ(f[0].code, 1010);
    EXPECT_EQ(f[1].str, L"9.80");
    EXPECT_EQ(f[2].integer, 1);
}

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
        AddToModelSpace(new KyDbSymbElevation(AcGePoint3d(100, 100, 0), L"12.50"), 1, m_db.get())
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
