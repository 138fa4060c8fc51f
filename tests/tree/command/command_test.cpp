// The tree command from scripts: the drag positions with undo, sizes refused in every mode, an
// edit left without a number and the dialog's controls in the area mode.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/KyDbUtil.h"
#include "framework/store/KyHistoryData.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbsymtb.h"
#include "host/db/dbmain.h"
#include "tests/modulecommand.h"
#include "tests/testdrawing.h"
#include "tree/treesettings.h"

namespace {

using vorn::test::RunModuleScript;

class TreeCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // A file for each test: ctest runs the tests of this program side by side.
        g_dictHistoryData.SetFileName(std::string(VORN_BINARY_DIR) + "/tree_command_" +
                                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".json");
        std::remove(g_dictHistoryData.GetFileName().c_str());
        g_dictHistoryData.Load(g_dictHistoryData.GetFileName());
        g_dTreeRadius = 1500; g_dTreeSpacing = 3000;
        g_nTreeDrawMode = 0;
        g_bTreeRandomRotate = g_bTreeSelfAdjust = 0;
        // A 4000 x 3000 tree outline.
        g_idTreeBlock = m_drawing.block(L"TREE", {vorn::test::Line(-2000, -1500, 2000, 1500)});
        g_strTreeBlockFile = L"";
    }
    std::string Run(const std::string& script) { return RunModuleScript(script).out; }
    std::vector<AcGePoint3d> Trees() const {
        std::vector<AcGePoint3d> out;
        for (const AcDbBlockReference* r : m_drawing.all<AcDbBlockReference>())
            if (std::wstring(r->layer()) == L"PLAN-TREE") out.push_back(r->position());
        return out;
    }
    vorn::test::TestDrawing m_drawing;
};

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

void ExpectAt(const std::vector<AcGePoint3d>& trees, const std::vector<std::pair<double, double>>& want) {
    ASSERT_EQ(trees.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(trees[i].x, want[i].first, 1e-6) << i;
        EXPECT_NEAR(trees[i].y, want[i].second, 1e-6) << i;
    }
}

}  // namespace

// A second stroke's U takes its last segment back.
TEST_F(TreeCommand, DragPlantsEverySpacingAndUndoTakesTheLastSegmentBack) {
    const std::string out = Run("KyRYBS\n@click 2005\n0,0\n10000,0\n10000,5000\n\n"
                                "KyRYBS\n@click 2005\n0,20000\n10000,20000\n10000,25000\nU\n\n");
    SCOPED_TRACE(out);
    ExpectAt(Trees(), {{0, 0}, {3000, 0}, {6000, 0}, {9000, 0}, {10000, 0}, {10000, 3000},
                       {0, 20000}, {3000, 20000}, {6000, 20000}, {9000, 20000}});
}

// Sizes a mode cannot plant with are refused in every mode while the command goes on: the
// answer that would plant is refused (counted as a script's refusal), no tree is written and
// the mode's prompt comes again. A stroke of more than 10,000 trees asks first.
TEST_F(TreeCommand, SizesThatCannotBePlantedAreRefusedAndThePromptComesAgain) {
    m_drawing.add(vorn::test::Line(0, 0, 10000, 0));
    struct Case {
        const char* script;
        const char* message;
        const char* prompt;  // asked again
    };
    const Case cases[] = {
        {"@edit 2073 0\n100,200\n\n", "树半径\"0\"不可用，应为大于0.0001且不超过1e12的数值；未布置树。", "请点取插入点"},
        {"@click 2005\n@edit 2074 .\n0,0\n\n", "树间隔\".\"不可用", "请输入起始点"},
        {"@click 2005\n0,0\n@edit 2074 0\n10000,0\n\n", "树间隔\"0\"不可用", "输入下一点"},
        {"@click 2005\n@edit 2074 0.5\n0,0\n10000,0\nN\n\n",
         "这一次将布置20000棵树，超过10000棵，确定布置吗？[是(Y)/否(N)]<否>:", "输入下一点"},
        {"@click 2085\n@edit 2074 0\nALL\n\n\n", "树间隔\"0\"不可用", "请选择作为路径的曲线"},
        {"@click 2005\n@edit 2074 0.001\n0,0\n10000,0\n\n", "这一次将布置10000000棵树，超过一次最多的1000000棵",
         "输入下一点"},
        {"@click 2085\n@edit 2074 0.5\nALL\n\nN\n\n", "这一次将布置20000棵树，超过10000棵，确定布置吗？", "请选择作为路径的曲线"},
        {"@click 2086\n@edit 2088 0\n0,0\n\n", "最小树间距\"0\"不可用", "请点击鼠标左键开始"},
        {"@click 2086\n@edit 2089 99999999999999\n0,0\n\n", "最大树半径\"99999999999999\"不可用", "请点击鼠标左键开始"},
    };
    const auto defaults = [] {
        g_dTreeRadius = 1500, g_dTreeSpacing = 3000, g_dTreeRadiusMin = 800, g_dTreeRadiusMax = 1500;
        g_dTreeSpacingMin = 1000, g_dTreeSpacingMax = 2000, g_nTreeDrawMode = 0;
        g_bTreeFixedRadius = g_bTreeFixedSpacing = 0;
        std::remove(g_dictHistoryData.GetFileName().c_str());
        g_dictHistoryData.Load(g_dictHistoryData.GetFileName());
    };
    for (const Case& c : cases) {
        defaults();
        const auto run = RunModuleScript(std::string("KyRYBS\n") + c.script, L"tree.scr");
        SCOPED_TRACE(std::string(c.script) + "\n" + run.out);
        EXPECT_TRUE(run.Has(c.message));
        // The refusal's line, then the same prompt again.
        const std::size_t at = run.out.find(c.message);
        EXPECT_EQ(run.out.find(c.prompt, at), run.out.find('\n', at) + 1);
        // A declined count is the user's choice, not a refusal.
        EXPECT_EQ(run.refused, std::string(c.message).find("确定布置") == std::string::npos);
        EXPECT_TRUE(Trees().empty());
    }
    defaults();
}

// Scaling to the diameter and self-adjusted spacing along paths are checked by the tree scripts.
TEST_F(TreeCommand, AnEditLeftWithNoNumberGetsTheLastValidTextBack) {
    const std::string out =
        Run("KyRYBS\n@edit 2073 12a\n@click 2005\n@edit 2074 2.5\n@click 2086\n@click 2091\n@show\n@close\n\n");
    EXPECT_TRUE(Has(out, "2073 edit \"1500.00\"")) << out;
    EXPECT_STREQ(g_strTreeRadius, L"1500.00");
    EXPECT_STREQ(g_strTreeSpacing, L"2.5");
    // Area mode: the range controls replace the others, the block source is greyed and the
    // ticked fixed radius greys the maximum radius.
    EXPECT_TRUE(Has(out, "2089 edit \"1500.00\" [disabled]"));
    EXPECT_TRUE(Has(out, "2081 radio \"点取本图图块\" [checked] [disabled]"));
    EXPECT_FALSE(Has(out, "2073 edit \"1500.00\"\n2074"));
    // Written to the store when the dialog went.
    double stored = 0;
    EXPECT_TRUE(g_dictHistoryData.FindOrAddDict(kTreeSettingsPath).GetValue(L"SPACEVALUE", stored));
    EXPECT_DOUBLE_EQ(stored, 2.5);
}
