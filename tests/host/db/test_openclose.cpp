// Opening and closing objects, and the database's refusal of non-finite values.
#include <cmath>
#include <limits>

#include "tests/host/db/dbtestutil.h"

using dbtest::Add;
using dbtest::Peek;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}  // namespace

TEST(OpenClose, ManyReadersOrOneWriter) {
    AcDbDatabase db;
    AcDbObjectId id = Add(db, new AcDbLine({0, 0, 0}, {10, 0, 0}));
    AcDbObject *r1 = nullptr, *r2 = nullptr, *w = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(r1, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenAcDbObject(r2, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbObject(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    // Two readers: no upgrade.
    EXPECT_EQ(r1->upgradeOpen(), Acad::eWasOpenForRead);
    EXPECT_EQ(r2->close(), Acad::eOk);
    EXPECT_EQ(r1->upgradeOpen(), Acad::eOk);
    EXPECT_TRUE(r1->isWriteEnabled());
    EXPECT_EQ(acdbOpenAcDbObject(r2, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(r1->downgradeOpen(), Acad::eOk);
    EXPECT_FALSE(r1->isWriteEnabled());
    EXPECT_EQ(r1->close(), Acad::eOk);
    EXPECT_EQ(db.openObjectCount(), 0u);
    EXPECT_EQ(r1->close(), Acad::eNotApplicable);  // nothing left open
}

TEST(OpenClose, SettersNeedWriteAccess) {
    AcDbDatabase db;
    AcDbObjectId id = Add(db, new AcDbLine({0, 0, 0}, {10, 0, 0}));
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(line->setEndPoint({5, 5, 0}), Acad::eNotOpenForWrite);
    EXPECT_EQ(line->endPoint(), AcGePoint3d(10, 0, 0));
    EXPECT_EQ(line->erase(), Acad::eNotOpenForWrite);
    line->close();
}

TEST(OpenClose, WrongKindAndBadIds) {
    AcDbDatabase db;
    AcDbObjectId id = Add(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
    AcDbArc* arc = nullptr;
    EXPECT_EQ(acdbOpenObject(arc, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(db.openObjectCount(), 0u);
    AcDbEntity* e = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(e, db.layerZero(), AcDb::kForRead), Acad::eNotAnEntity);
    EXPECT_EQ(acdbOpenAcDbEntity(e, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    EXPECT_EQ(db.openObjectCount(), 0u);
}

TEST(OpenClose, ErasedObjectsOpenOnlyWhenAsked) {
    AcDbDatabase db;
    AcDbObjectId id = Add(db, new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 5));
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(e->erase(), Acad::eOk);
    e->close();
    EXPECT_TRUE(id.isErased());
    EXPECT_TRUE(id.isValid());
    EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(e->erase(false), Acad::eOk);
    e->close();
    EXPECT_FALSE(id.isErased());
    EXPECT_EQ(db.modelSpaceIds().length(), 1);
}

TEST(OpenClose, NonFiniteEntitiesAreRefusedAtAppend) {
    AcDbDatabase db;
    struct Case {
        const char* what;
        AcDbEntity* entity;
    };
    AcDbPolyline pl;
    std::vector<vorn::db::BulgeVertex> bad = {{{0, 0}, kNaN, 0, 0}, {{1, 1}, 0, 0, 0}};
    EXPECT_EQ(pl.setVertices(bad), Acad::eInvalidInput);
    EXPECT_EQ(pl.numVerts(), 0u);
    Case cases[] = {
        {"line", new AcDbLine({0, 0, 0}, {kNaN, 0, 0})},
        {"circle", new AcDbCircle({kInf, 0, 0}, AcGeVector3d::kZAxis, 1)},
        {"arc", new AcDbArc({0, 0, 0}, 1, 0, kNaN)},
        {"text", new AcDbText({0, 0, 0}, L"x", AcDbObjectId::kNull, kInf)},
    };
    size_t before = db.undoPosition();
    for (auto& c : cases) {
        Acad::ErrorStatus es;
        AcDbObjectId id = Add(db, c.entity, &es);
        EXPECT_EQ(es, Acad::eInvalidInput) << c.what;
        EXPECT_TRUE(id.isNull()) << c.what;
        EXPECT_FALSE(c.entity->isDatabaseResident()) << c.what;
        delete c.entity;  // still the caller's
    }
    EXPECT_EQ(db.modelSpaceIds().length(), 0);
    // Opening model space for write may leave a (no-op) record; none of it may bring an entity back.
    AcDbUndoChunk redo;
    ASSERT_EQ(db.revertTo(before, redo), Acad::eOk);
    ASSERT_EQ(db.reapply(redo), Acad::eOk);
    EXPECT_EQ(db.modelSpaceIds().length(), 0);
    // Non-finite XDATA is refused too.
    AcDbLine fine({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(fine.setXData(L"APP", {AcDbXDataItem::number(kNaN)}), Acad::eInvalidInput);
}

// A framework-style entity whose fields can go bad behind the setters' back.
class TestSymbol : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(TestSymbol)
public:
    AcGePoint3d location;
    void writeFields(std::vector<AcDbXDataItem>& f) const override { f.push_back(AcDbXDataItem::position(location)); }
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& f) override {
        if (f.size() != 1 || f[0].kind() != AcDbXDataItem::kPoint) return Acad::eInvalidInput;
        location = f[0].point;
        return Acad::eOk;
    }
    bool worldDraw(AcGiWorldDraw* d) const override { return d->geometry().circle(location, 1.0); }
};
ACRX_DXF_DEFINE_MEMBERS(TestSymbol, AcDbEntity, L"VORN_TEST_SYMBOL")

TEST(OpenClose, NonFiniteAtCloseRestoresTheStateAtOpen) {
    AcDbDatabase db;
    AcDbObjectId lineId = Add(db, new AcDbLine({0, 0, 0}, {10, 0, 0}));
    auto* sym = new TestSymbol();
    sym->location = AcGePoint3d(3, 4, 0);
    AcDbObjectId symId = Add(db, sym);
    size_t pos = db.undoPosition();

    TestSymbol* s = nullptr;
    ASSERT_EQ(acdbOpenObject(s, symId, AcDb::kForWrite), Acad::eOk);
    s->location.x = kNaN;  // a custom field set without a check
    EXPECT_EQ(s->downgradeOpen(), Acad::eInvalidInput);  // refuses to hand out bad data for reading
    EXPECT_TRUE(s->isWriteEnabled());
    EXPECT_EQ(s->close(), Acad::eInvalidInput);
    EXPECT_EQ(db.openObjectCount(), 0u);
    const TestSymbol* back = Peek<TestSymbol>(db, symId);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->location, AcGePoint3d(3, 4, 0));
    EXPECT_EQ(db.undoPosition(), pos);  // nothing recorded

    // The same for a symbol appended with bad data after append: put back as appended.
    auto* fresh = new TestSymbol();
    fresh->location = AcGePoint3d(1, 1, 0);
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite);
    AcDbObjectId freshId;
    ASSERT_EQ(ms->appendAcDbEntity(freshId, fresh), Acad::eOk);
    ms->close();
    fresh->location.y = kInf;
    EXPECT_EQ(fresh->close(), Acad::eInvalidInput);
    EXPECT_EQ(Peek<TestSymbol>(db, freshId)->location, AcGePoint3d(1, 1, 0));
    EXPECT_TRUE(db.auditEntities().empty());
    (void)lineId;
}

TEST(OpenClose, ClassesAreMadeByDrawingTypeName) {
    AcDbDatabase db;
    TestSymbol::rxInit();
    std::unique_ptr<AcRxObject> made(acrxCreateByDxfName(L"vorn_test_symbol"));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isKindOf(AcDbEntity::desc()));
    EXPECT_EQ(made->isA(), TestSymbol::desc());
    std::unique_ptr<AcRxObject> line(acrxCreateByDxfName(L"LINE"));
    EXPECT_NE(AcDbCurve::cast(line.get()), nullptr);
    EXPECT_EQ(acrxCreateByDxfName(L"NO_SUCH_THING"), nullptr);
    EXPECT_EQ(acrxCreateByDxfName(L"CURVE"), nullptr);  // abstract classes have no drawing type
    // The generic clone goes through the saved fields.
    TestSymbol s;
    s.location = AcGePoint3d(7, 8, 0);
    s.setXData(L"VORN", {AcDbXDataItem::string(L"VORN_TEST_SYMBOL")});
    std::unique_ptr<TestSymbol> copy(TestSymbol::cast(s.clone()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->location, s.location);
    EXPECT_EQ(copy->xData(L"VORN"), s.xData(L"VORN"));
}

TEST(OpenClose, HeaderRefusesBadValues) {
    AcDbDatabase db;
    EXPECT_EQ(db.setFilletrad(-1), Acad::eInvalidInput);
    EXPECT_EQ(db.setFilletrad(kNaN), Acad::eInvalidInput);
    EXPECT_EQ(db.setFilletrad(kInf), Acad::eInvalidInput);
    EXPECT_EQ(db.setFilletrad(0), Acad::eOk);
    EXPECT_EQ(db.setPrintScale(0), Acad::eInvalidInput);
    EXPECT_EQ(db.setDrawUnit(2), Acad::eInvalidInput);
    EXPECT_EQ(db.setClayer(db.modelSpaceId()), Acad::eInvalidInput);
    EXPECT_EQ(db.printScale(), 1.0);
    EXPECT_EQ(db.drawUnit(), 0);
}

TEST(OpenClose, TablesFindNamesWithoutCase) {
    AcDbDatabase db;
    AcDbObjectId id;
    ASSERT_EQ(db.ensureLayer(L"Plan-Road", id), Acad::eOk);
    EXPECT_EQ(db.findLayer(L"PLAN-ROAD"), id);
    AcDbObjectId again;
    ASSERT_EQ(db.ensureLayer(L"plan-road", again), Acad::eOk);
    EXPECT_EQ(again, id);
    ASSERT_EQ(db.ensureLayer(L"道路", id), Acad::eOk);
    EXPECT_EQ(db.findLayer(L"道路"), id);
    AcDbObjectId refused;
    EXPECT_EQ(db.ensureLayer(L"bad*name", refused), Acad::eInvalidInput);
    EXPECT_TRUE(refused.isNull());
    EXPECT_FALSE(db.findTextStyle(L"standard").isNull());
    EXPECT_FALSE(db.findLinetype(L"continuous").isNull());
    AcDbObjectId lt;
    EXPECT_EQ(db.ensureLinetype(L"dashdot", lt), Acad::eOk);
    EXPECT_EQ(db.ensureLinetype(L"MYOWN", lt), Acad::eKeyNotFound);
    // Anonymous blocks get the next free number.
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(db.getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    auto* a = new AcDbBlockTableRecord();
    a->setName(L"*U");
    auto* b = new AcDbBlockTableRecord();
    b->setName(L"*U");
    ASSERT_EQ(bt->add(a), Acad::eOk);
    ASSERT_EQ(bt->add(b), Acad::eOk);
    EXPECT_NE(a->name(), b->name());
    EXPECT_TRUE(a->isAnonymous());
    auto* dup = new AcDbBlockTableRecord();
    dup->setName(a->getName());
    EXPECT_EQ(bt->add(dup), Acad::eDuplicateKey);
    delete dup;
    a->close();
    b->close();
    bt->close();
    // Renaming onto a taken name is refused.
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(acdbOpenObject(rec, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(rec->setName(L"0"), Acad::eDuplicateKey);
    EXPECT_EQ(rec->setName(L"renamed"), Acad::eOk);
    rec->close();
    EXPECT_EQ(db.findLayer(L"RENAMED"), id);
    EXPECT_TRUE(db.findLayer(L"道路").isNull());
}
