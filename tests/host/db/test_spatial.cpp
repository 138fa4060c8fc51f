// The spatial index against a plain scan, on random drawings that change, erase, undo and redo.
#include <random>

#include "tests/host/db/dbtestutil.h"

using dbtest::Add;

namespace {

AcDbEntity* RandomEntity(std::mt19937& rng, double span) {
    std::uniform_real_distribution<double> at(0, span), size(0.5, span / 50);
    std::uniform_int_distribution<int> kind(0, 4);
    AcGePoint3d p(at(rng), at(rng), 0);
    switch (kind(rng)) {
        case 0: return new AcDbLine(p, p + AcGeVector3d(size(rng), size(rng) - span / 100, 0));
        case 1: return new AcDbCircle(p, AcGeVector3d::kZAxis, size(rng));
        case 2: return new AcDbArc(p, size(rng), at(rng), at(rng));
        case 3: {
            auto* pl = new AcDbPolyline();
            pl->addVertexAt(0, {p.x, p.y}, 0.7);
            pl->addVertexAt(1, {p.x + size(rng), p.y + size(rng)});
            return pl;
        }
        default: return new AcDbText(p, L"道路 12.50", AcDbObjectId::kNull, size(rng) / 5, at(rng));
    }
}

// The plain scan the index must agree with.
AcDbObjectIdArray Scan(AcDbDatabase& db, const AcDbExtents& box) {
    AcDbObjectIdArray out;
    for (const AcDbObjectId& id : db.modelSpaceIds()) {
        AcDbExtents e;
        if (dbtest::Peek<AcDbEntity>(db, id)->getGeomExtents(e) == Acad::eOk && e.intersects2d(box)) out.append(id);
    }
    return out;
}

void CheckQueries(AcDbDatabase& db, std::mt19937& rng, double span) {
    std::uniform_real_distribution<double> at(-span / 10, span), size(0, span / 5);
    for (int q = 0; q < 40; ++q) {
        AcGePoint3d a(at(rng), at(rng), 0);
        AcDbExtents box(a, a + AcGeVector3d(size(rng), size(rng), 0));
        ASSERT_EQ(db.entitiesMeetingBox(box), Scan(db, box)) << "query " << q;
    }
}

}  // namespace

TEST(Spatial, AgreesWithAScanAsTheDrawingChanges) {
    std::mt19937 rng(12345);
    const double span = 100000;
    AcDbDatabase db;
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 3000; ++i) ids.push_back(Add(db, RandomEntity(rng, span)));
    CheckQueries(db, rng, span);
    size_t mark = db.undoPosition();

    // Move some, erase some, add some.
    std::uniform_int_distribution<size_t> pick(0, ids.size() - 1);
    for (int i = 0; i < 300; ++i) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenAcDbEntity(e, ids[pick(rng)], AcDb::kForWrite, true), Acad::eOk);
        if (i % 3 == 0) e->erase(!e->isErased());
        else e->transformBy(AcGeMatrix3d::translation({span / 7, -span / 9, 0}));
        e->close();
    }
    for (int i = 0; i < 200; ++i) Add(db, RandomEntity(rng, span));
    CheckQueries(db, rng, span);

    AcDbUndoChunk redo;
    ASSERT_EQ(db.revertTo(mark, redo), Acad::eOk);
    CheckQueries(db, rng, span);
    ASSERT_EQ(db.reapply(redo), Acad::eOk);
    CheckQueries(db, rng, span);
}

TEST(Spatial, NearPointAndBlockChanges) {
    AcDbDatabase db;
    AcDbObjectId near = Add(db, new AcDbLine({0, 0, 0}, {10, 0, 0}));
    Add(db, new AcDbLine({0, 50, 0}, {10, 50, 0}));
    AcDbObjectIdArray hits = db.entitiesNearPoint({5, 2, 0}, 3);
    ASSERT_EQ(hits.length(), 1);
    EXPECT_EQ(hits[0], near);

    // A reference's extents follow its block's contents.
    const AcDbObjectId blockId = dbtest::Block(db, L"TREE", {new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 1)});
    AcDbObjectId ref = Add(db, new AcDbBlockReference({1000, 1000, 0}, blockId));
    AcDbExtents farBox({1400, 1400, 0}, {1600, 1600, 0});
    EXPECT_EQ(db.entitiesMeetingBox(farBox).length(), 0);
    AcDbBlockTableRecord* rec = nullptr;
    ASSERT_EQ(acdbOpenObject(rec, blockId, AcDb::kForWrite), Acad::eOk);
    auto* big = new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 500);
    rec->appendAcDbEntity(big);
    big->close();
    rec->close();
    AcDbObjectIdArray after = db.entitiesMeetingBox(farBox);
    ASSERT_EQ(after.length(), 1);
    EXPECT_EQ(after[0], ref);
    // Entities of a block definition are never model-space hits themselves: this box holds the
    // block's circles (drawn about the origin) and the two lines, but not the reference at 500..1500.
    EXPECT_EQ(db.entitiesMeetingBox(AcDbExtents({-400, -400, 0}, {400, 400, 0})).length(), 2);
}

TEST(Spatial, AuditListsDegenerateEntities) {
    AcDbDatabase db;
    AcDbObjectId zeroLine = Add(db, new AcDbLine({1, 1, 0}, {1, 1, 0}));
    AcDbObjectId zeroCircle = Add(db, new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 0));
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, {3, 3});
    pl->addVertexAt(1, {3, 3});
    AcDbObjectId onePoint = Add(db, pl);
    auto* t = new AcDbText({0, 0, 0}, L"x");
    AcDbObjectId fine = Add(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
    AcDbObjectId region = Add(db, new AcDbRegion());
    delete t;
    auto found = db.auditEntities();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].id, zeroLine);
    EXPECT_EQ(found[0].reason, L"zero-length line");
    EXPECT_EQ(found[1].id, zeroCircle);
    EXPECT_EQ(found[2].id, onePoint);
    EXPECT_EQ(found[3].id, region);
    (void)fine;
}
