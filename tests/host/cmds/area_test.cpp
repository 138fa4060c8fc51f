// AREA of a region: its loops' area less its holes, and the length of every loop.
#include "cmdsession.h"

using vorn::cmds::test::CmdTest;

namespace {

class Area : public CmdTest {};

TEST_F(Area, ARegionCountsItsHoleOutAndItsHoleEdgeIn) {
    auto* region = new AcDbRegion;
    ASSERT_EQ(region->setLoops({{{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}},
                                {{1000, 1000}, {1000, 2000}, {2000, 2000}, {2000, 1000}}}),
              Acad::eOk);
    vorn::ed::dbx::AppendToModelSpace(region);
    Run("AREA\nO\n4000,1500\n");
    EXPECT_TRUE(Has("Area = 11000000.0000 (11.0000 m\u00b2), Perimeter = 18000.0000 (18.0000 m)")) << out;
}

}  // namespace
