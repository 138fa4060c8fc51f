// Inserting one drawing into another as a block definition.
#include "tests/host/db/dbtestutil.h"

using dbtest::Add;
using dbtest::Peek;

TEST(Insert, ModelSpaceBecomesABlockWithItsLayersStylesAndBlocks) {
    AcDbDatabase source;
    AcDbObjectId tree;
    source.ensureLayer(L"PLAN-TREE", tree);
    AcDbLayerTableRecord* layer = nullptr;
    acdbOpenObject(layer, tree, AcDb::kForWrite);
    layer->setColor(AcCmColor::fromIndex(3));
    layer->close();
    // A nested block in the source.
    auto* dot = new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 0.5);
    dot->setLayer(tree);
    const AcDbObjectId leafId = dbtest::Block(source, L"LEAF", {dot});
    auto* crown = new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 3);
    crown->setLayer(tree);
    Add(source, crown);
    Add(source, new AcDbBlockReference({1, 1, 0}, leafId));
    auto* label = new AcDbText({0, -4, 0}, L"乔木");
    Add(source, label);

    AcDbDatabase dest;
    AcDbObjectId existingTree;
    dest.ensureLayer(L"plan-tree", existingTree);  // already here: used as it is
    AcDbObjectId blockId;
    ASSERT_EQ(dest.insert(blockId, L"_Tree1", &source), Acad::eOk);
    const AcDbBlockTableRecord* block = Peek<AcDbBlockTableRecord>(dest, blockId);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(dest.findBlock(L"_TREE1"), blockId);
    AcDbObjectIdArray ids = block->entityIds();
    ASSERT_EQ(ids.length(), 3);
    const AcDbCircle* c = Peek<AcDbCircle>(dest, ids[0]);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->layerId(), existingTree);
    const AcDbBlockReference* ref = Peek<AcDbBlockReference>(dest, ids[1]);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->blockTableRecord().database(), &dest);
    EXPECT_EQ(ref->blockTableRecord(), dest.findBlock(L"LEAF"));
    const AcDbText* t = Peek<AcDbText>(dest, ids[2]);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->textStyle(), dest.findTextStyle(L"Standard"));
    EXPECT_EQ(t->textStringW(), L"乔木");

    // A reference to the new block measures through both levels.
    AcDbBlockReference placed({100, 0, 0}, blockId);
    AcDbExtents e;
    ASSERT_EQ(placed.getGeomExtents(e), Acad::eOk);
    EXPECT_NEAR(e.minPoint().x, 97, 1e-9);
    EXPECT_NEAR(e.maxPoint().y, 3, 1e-9);

    // The same name twice, a bad name, or the drawing into itself: refused.
    AcDbObjectId again;
    EXPECT_EQ(dest.insert(again, L"_tree1", &source), Acad::eDuplicateKey);
    EXPECT_EQ(dest.insert(again, L"a|b", &source), Acad::eInvalidInput);
    EXPECT_EQ(dest.insert(again, L"SELF", &dest), Acad::eInvalidInput);
    EXPECT_EQ(dest.openObjectCount(), 0u);
    EXPECT_EQ(source.openObjectCount(), 0u);
}

TEST(Insert, UndoneAsOneStep) {
    AcDbDatabase source;
    Add(source, new AcDbLine({0, 0, 0}, {1, 1, 0}));
    AcDbObjectId srcLayer;
    source.ensureLayer(L"ONLY-THERE", srcLayer);
    auto* l = new AcDbLine({0, 0, 0}, {2, 0, 0});
    l->setLayer(srcLayer);
    Add(source, l);
    AcDbDatabase dest;
    size_t mark = dest.undoPosition();
    AcDbObjectId blockId;
    ASSERT_EQ(dest.insert(blockId, L"CAR", &source), Acad::eOk);
    EXPECT_FALSE(dest.findLayer(L"ONLY-THERE").isNull());
    AcDbUndoChunk redo;
    ASSERT_EQ(dest.revertTo(mark, redo), Acad::eOk);
    EXPECT_TRUE(dest.findBlock(L"CAR").isNull());
    EXPECT_TRUE(dest.findLayer(L"ONLY-THERE").isNull());
    ASSERT_EQ(dest.reapply(redo), Acad::eOk);
    EXPECT_EQ(dest.findBlock(L"CAR"), blockId);
    EXPECT_EQ(Peek<AcDbBlockTableRecord>(dest, blockId)->entityIds().length(), 2);
}
