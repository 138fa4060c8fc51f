// The canopy region of a patch: overlapping trees give one region around both and are erased;
// a block without closed outlines keeps its trees and says why.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/db/dbarc.h"
#include "host/db/dbextents.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbregion.h"
#include "host/db/dbsymtb.h"
#include "tree/treearea.h"
#include "tree/treeplace.h"
#include "tests/testdrawing.h"

namespace {

class TreeArea : public ::testing::Test {
protected:
    AcDbObjectId MakeBlock(const wchar_t* name, AcDbEntity* outline) { return m_drawing.block(name, {outline}); }
    int Count(bool regions) const {
        int n = 0;
        for (const AcDbObjectId& id : m_drawing.db().modelSpaceIds())
            n += (AcDbRegion::cast(m_drawing.db().peekObject(id)) != nullptr) == regions;
        return n;
    }
    vorn::test::TestDrawing m_drawing;
};

TEST_F(TreeArea, OverlappingTreesBecomeOneRegionAroundBoth) {
    const AcDbObjectId block = MakeBlock(L"ROUND", vorn::test::Circle(0, 0, 1));
    const std::vector<AcDbObjectId> trees = {AddTreeAt(block, AcGePoint3d(0, 0, 0), 2000),
                                             AddTreeAt(block, AcGePoint3d(1500, 0, 0), 2000)};
    ASSERT_TRUE(trees[0].isValid() && trees[1].isValid());
    ASSERT_TRUE(KyTreeMakeAreaRegion(trees));
    EXPECT_EQ(Count(false), 0);  // the trees are gone
    ASSERT_EQ(Count(true), 1);
    for (const AcDbRegion* region : m_drawing.all<AcDbRegion>()) {
        EXPECT_EQ(region->layer(), L"PLAN-TREE");
        EXPECT_EQ(region->loops().size(), 1u);
        AcDbExtents ext;
        ASSERT_EQ(region->getGeomExtents(ext), Acad::eOk);
        EXPECT_NEAR(ext.minPoint().x, -1000, 20);
        EXPECT_NEAR(ext.maxPoint().x, 2500, 20);
        EXPECT_TRUE(region->contains(AcGePoint2d(750, 0)));
    }
}

TEST_F(TreeArea, TreesWithoutClosedOutlinesStayWhenNoRegionCanBeMade) {
    const AcDbObjectId block = MakeBlock(L"STICK", vorn::test::Line(0, 0, 4, 3));
    const std::vector<AcDbObjectId> trees = {AddTreeAt(block, AcGePoint3d(0, 0, 0), 3000)};
    ASSERT_TRUE(trees[0].isValid());
    EXPECT_FALSE(KyTreeMakeAreaRegion(trees));
    EXPECT_EQ(Count(false), 1);
    EXPECT_EQ(Count(true), 0);
}

TEST_F(TreeArea, ASizelessBlockIsRefusedRatherThanScaledToInfinity) {
    const AcDbObjectId block = MakeBlock(L"DOT", vorn::test::Line(5, 5, 5, 5));
    EXPECT_FALSE(AddTreeAt(block, AcGePoint3d(0, 0, 0), 3000).isValid());
    EXPECT_EQ(Count(false), 0);
}

}  // namespace
