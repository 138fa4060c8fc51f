// The change log: reverting and reapplying entities, erasures, layers and header values.
#include <algorithm>

#include "tests/host/db/dbtestutil.h"

using dbtest::Add;
using dbtest::Peek;

namespace {
// A fingerprint of the drawing that undo must restore exactly.
struct State {
    std::vector<std::wstring> entities;  // handle, kind, erased, geometry
    std::vector<std::wstring> layers;
    AcDbDatabaseHeader header;
    bool operator==(const State& o) const {
        return entities == o.entities && layers == o.layers && header == o.header;
    }
};

State Capture(AcDbDatabase& db) {
    State s;
    for (const AcDbObjectId& id : db.modelSpaceIds(true)) {
        const AcDbEntity* e = Peek<AcDbEntity>(db, id);
        s.entities.push_back(id.handle().toString() + L" " + (e->isErased() ? L"erased " : L"") + e->list());
    }
    AcDbLayerTable* t = nullptr;
    db.getLayerTable(t, AcDb::kForRead);
    for (const AcDbObjectId& id : t->recordIds(true)) s.layers.push_back(Peek<AcDbLayerTableRecord>(db, id)->name());
    t->close();
    s.header = db.header();
    return s;
}

void Modify(AcDbDatabase&, const AcDbObjectId& id, const AcGePoint3d& end) {
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    line->setEndPoint(end);
    line->close();
}

void Erase(AcDbDatabase&, const AcDbObjectId& id) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
}
}  // namespace

TEST(Undo, RevertAndReapplyRestoreExactly) {
    AcDbDatabase db;
    AcDbObjectId a = Add(db, new AcDbLine({0, 0, 0}, {10, 0, 0}));
    AcDbObjectId d = Add(db, new AcDbArc({0, 0, 0}, 5, 0, 1));
    State s0 = Capture(db);
    size_t p0 = db.undoPosition();

    // A unit of work: a layer, entities on it, a change, erasures of a new entity and of one
    // that was there before, header values.
    AcDbObjectId layer;
    ASSERT_EQ(db.ensureLayer(L"PLAN-ROAD", layer), Acad::eOk);
    auto* b = new AcDbLine({0, 5, 0}, {10, 5, 0});
    b->setLayer(layer);
    AcDbObjectId bId = Add(db, b);
    AcDbObjectId c = Add(db, new AcDbCircle({3, 3, 0}, AcGeVector3d::kZAxis, 2));
    Modify(db, a, {20, 0, 0});
    Erase(db, c);
    Erase(db, d);
    ASSERT_EQ(db.setFilletrad(250), Acad::eOk);
    ASSERT_EQ(db.setClayer(layer), Acad::eOk);
    ASSERT_EQ(db.setDrawUnit(1), Acad::eOk);
    State s1 = Capture(db);
    size_t p1 = db.undoPosition();

    AcDbUndoChunk redo;
    ASSERT_EQ(db.revertTo(p0, redo), Acad::eOk);
    EXPECT_EQ(db.undoPosition(), p0);
    EXPECT_TRUE(Capture(db) == s0);
    EXPECT_FALSE(bId.isValid());
    EXPECT_FALSE(d.isErased());
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, d, AcDb::kForRead), Acad::eOk);
    e->close();
    EXPECT_TRUE(db.findLayer(L"PLAN-ROAD").isNull());
    EXPECT_EQ(db.filletrad(), 0.0);
    EXPECT_EQ(db.clayer(), db.layerZero());

    ASSERT_EQ(db.reapply(redo), Acad::eOk);
    EXPECT_EQ(db.undoPosition(), p1);
    EXPECT_TRUE(Capture(db) == s1);
    EXPECT_EQ(db.findLayer(L"plan-road"), layer);  // the same id comes back
    EXPECT_EQ(Peek<AcDbEntity>(db, bId)->layerId(), layer);
    EXPECT_TRUE(d.isErased());
    // Database order survives: a, d, b, c by handle.
    AcDbObjectIdArray ids = db.modelSpaceIds(true);
    ASSERT_EQ(ids.length(), 4);
    EXPECT_EQ(ids[0], a);
    EXPECT_EQ(ids[1], d);
    EXPECT_EQ(ids[2], bId);
    EXPECT_EQ(ids[3], c);

    // And once more back and forth from the redone state.
    ASSERT_EQ(db.revertTo(p0, redo), Acad::eOk);
    ASSERT_EQ(db.reapply(redo), Acad::eOk);
    EXPECT_TRUE(Capture(db) == s1);
}

TEST(Undo, StepByStepInReverseOrder) {
    AcDbDatabase db;
    AcDbObjectId a = Add(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
    std::vector<size_t> marks;
    for (int i = 2; i <= 5; ++i) {
        marks.push_back(db.undoPosition());
        Modify(db, a, {double(i), 0, 0});
    }
    for (int i = 3; i >= 0; --i) {
        AcDbUndoChunk redo;
        ASSERT_EQ(db.revertTo(marks[static_cast<size_t>(i)], redo), Acad::eOk);
        EXPECT_EQ(Peek<AcDbLine>(db, a)->endPoint().x, double(i + 1));
    }
}

TEST(Undo, RefusedWhileOpenAndStaleChunks) {
    AcDbDatabase db;
    AcDbObjectId a = Add(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
    size_t p = db.undoPosition();
    Modify(db, a, {2, 0, 0});
    AcDbObject* o = nullptr;
    acdbOpenAcDbObject(o, a, AcDb::kForRead);
    AcDbUndoChunk redo;
    EXPECT_EQ(db.revertTo(p, redo), Acad::eWasOpenForWrite);
    EXPECT_EQ(Peek<AcDbLine>(db, a)->endPoint().x, 2.0);
    o->close();
    EXPECT_EQ(db.revertTo(db.undoPosition() + 1, redo), Acad::eInvalidInput);
    ASSERT_EQ(db.revertTo(p, redo), Acad::eOk);
    // A new change after the revert makes the redo chunk stale: it must not apply.
    Modify(db, a, {7, 0, 0});
    EXPECT_EQ(db.reapply(redo), Acad::eInvalidInput);
    EXPECT_EQ(Peek<AcDbLine>(db, a)->endPoint().x, 7.0);
}

TEST(Undo, UndoneAppendsLeaveQueriesAndIterationAlone) {
    AcDbDatabase db;
    size_t p = db.undoPosition();
    AcDbObjectId a = Add(db, new AcDbLine({0, 0, 0}, {10, 10, 0}));
    AcDbExtents box({-1, -1, 0}, {11, 11, 0});
    EXPECT_EQ(db.entitiesMeetingBox(box).length(), 1);
    AcDbUndoChunk redo;
    ASSERT_EQ(db.revertTo(p, redo), Acad::eOk);
    EXPECT_EQ(db.entitiesMeetingBox(box).length(), 0);
    EXPECT_EQ(db.modelSpaceIds(true).length(), 0);
    AcDbObject* o = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(o, a, AcDb::kForRead, true), Acad::ePermanentlyErased);
    ASSERT_EQ(db.reapply(redo), Acad::eOk);
    EXPECT_EQ(db.entitiesMeetingBox(box).length(), 1);
}
