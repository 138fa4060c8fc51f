// LIST and AUDIT over a drawing a script cannot make (a line of no length). What the drawing
// and editing commands leave is checked by the drafting tests, through vorncad.
#include "cmdsession.h"

using vorn::cmds::test::CmdTest;

namespace {

class Draw : public CmdTest {};

TEST_F(Draw, ListShowsTheDataAndAuditFindsBadGeometry) {
    AddLine(0, 0, 10, 0, L"ROAD");
    Run("LIST\n5,0\n\nAUDIT\n");
    EXPECT_TRUE(Has("LINE"));
    EXPECT_TRUE(Has("ROAD"));
    EXPECT_TRUE(Has("no entity has non-finite or degenerate geometry"));
    AddLine(3, 3, 3, 3);  // no length
    Run("AUDIT\n");
    EXPECT_TRUE(Has("Audit: 1 entity has bad geometry"));
}

}  // namespace
