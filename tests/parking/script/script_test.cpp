// vorncad runs parking scripts: the dialog's first look in both units, rows from point to point
// with their counts and labels, rows along a polyline with an arc, refusals, the saved drawing.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) { return vorn::test::CommandOutput(command, status); }

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

class ParkScript : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::path(VORN_BINARY_DIR) / "tests" / "parking" / "script";
        fs::create_directories(m_dir);
    }
    // Runs the script in the test's folder (pictures land there) with a settings file of its own.
    // refusals: the script refuses lines on purpose, and the run says so by its status.
    std::string Run(const std::string& script, const std::string& options = "", bool refusals = false) {
        const fs::path settings = m_dir / (script + ".json");
        fs::remove(settings);
        const auto run = vorn::test::RunScriptSaving(fs::path(VORN_SOURCE_DIR) / "tests/parking/script" / script,
                                                     settings, m_dir / (script + ".dxf"), options, m_dir);
        EXPECT_EQ(run.status, refusals ? 3 : 0) << run.out;
        return run.out;
    }
    std::string Summary(const std::string& script, const std::string& centre = "") {
        int status = -1;
        const std::string out = Output("/usr/bin/python3 '" + std::string(VORN_SOURCE_DIR) +
                                           "/tests/parking/script/summary.py' '" +
                                           (m_dir / (script + ".dxf")).string() + "' " + centre + " 2>&1",
                                       status);
        EXPECT_EQ(status, 0) << out;
        return out;
    }
    fs::path m_dir;
};

TEST_F(ParkScript, RowsFromPointToPoint) {
    const std::string out = Run("rows.scr");
    // The first look: sizes in millimetres, the lists in their order, the defaults chosen.
    EXPECT_TRUE(Has(out, "2003 combo \"2400.00\"")) << out;
    EXPECT_TRUE(Has(out, "2003 row 0 \"2400.00\" [selected]\n2003 row 1 \"2500.00\"\n2003 row 2 \"2600.00\"\n"
                         "2003 row 3 \"2800.00\"\n2003 row 4 \"3000.00\""));
    EXPECT_TRUE(Has(out, "2010 combo \"5300.00\"\n2010 row 0 \"5000.00\"\n2010 row 1 \"5300.00\" [selected]"));
    EXPECT_TRUE(Has(out, "2007 row 0 \"30\"\n2007 row 1 \"45\"\n2007 row 2 \"60\"\n2007 row 3 \"90\" [selected]"));
    EXPECT_TRUE(Has(out, "2008 row 0 \"单排\" [selected]\n2008 row 1 \"双排\""));
    EXPECT_TRUE(Has(out, "2009 row 0 \"无斜线\"\n2009 row 1 \"单斜线\"\n2009 row 2 \"双斜线\"\n2009 row 3 \"有停车\" [selected]"));
    EXPECT_TRUE(Has(out, "2001 check \"标车位数\" [checked]"));
    EXPECT_TRUE(Has(out, "请点取车位终点或 [切换车位布置方向(Q)]<退出>:"));
    EXPECT_TRUE(Has(out, "请点取标注位置<退出>："));
    // After the exchange the width box holds the depth and the other way round.
    EXPECT_TRUE(Has(out, "2003 combo \"5300.00\"")) << out;
    EXPECT_TRUE(Has(out, "2010 combo \"2400.00\""));
    EXPECT_TRUE(fs::file_size(m_dir / "dialog.png") > 0);
    EXPECT_TRUE(fs::file_size(m_dir / "drag.png") > 0);

    const std::string summary = Summary("rows.scr");
    // Five 2400 × 5300 spaces left of the row with a car each, the label "5辆" 700 high.
    EXPECT_TRUE(Has(summary, "band 0: closed 5 open 0 cars 5 ['car 0.00 1.0000'] texts ['5辆 700.00'] "
                             "box 0.00 0.00 12000.00 5300.00")) << summary;
    // Q: the same row on the right of travel.
    EXPECT_TRUE(Has(summary, "band 1: closed 5 open 0 cars 5 ['car 180.00 1.0000'] texts ['5辆 700.00'] "
                             "box 0.00 14700.00 12000.00 20000.00"));
    // Double row: five each side, the label counts both.
    EXPECT_TRUE(Has(summary, "band 2: closed 10 open 0 cars 10 ['car 0.00 1.0000', 'car 180.00 1.0000'] "
                             "texts ['10辆 700.00'] box 0.00 34700.00 12000.00 45300.00"));
    // The side chosen with Q stays for the next single rows of the run.
    // 60°: spacing 2400 / sin 60° = 2771.28, four parallelograms; no label (Enter).
    EXPECT_TRUE(Has(summary, "band 3: closed 4 open 0 cars 0 [] texts [] box 0.00 55410.07 13735.13 60000.00"));
    // Wide after the exchange: two 5300-long spaces, their V along the row.
    EXPECT_TRUE(Has(summary, "band 4: closed 2 open 2 cars 0 [] texts [] box 0.00 77600.00 10600.00 80000.00"));
    EXPECT_TRUE(Has(summary, "other 0"));
}

TEST_F(ParkScript, RowsAlongAPolylineWithAnArcAndRefusals) {
    const std::string out = Run("curve.scr", "", true);
    EXPECT_TRUE(Has(out, "请选择曲线(直线、圆弧、多段线)<退出>:")) << out;
    EXPECT_TRUE(Has(out, "请点取车位所在一侧<退出>: "));
    EXPECT_TRUE(Has(out, "空间太小！"));
    EXPECT_TRUE(Has(out, "curve.scr:23: 车位宽度\"abc\"不可用，应为大于100且不超过1e12的数值；未布置车位。"));
    EXPECT_TRUE(Has(out, "\"abc\" is not accepted here"));
    EXPECT_TRUE(Has(out, "[切换车位布置方向(Q)]<退出>:*Cancel*\nCommand:"));
    const std::string summary = Summary("curve.scr", "12000 20000");
    // Five spaces under the line, thirteen radial spaces outside the arc, a car in each.
    EXPECT_TRUE(Has(summary, "arc spaces 13 radius 20000.00 to 25309.57")) << summary;
    EXPECT_TRUE(Has(summary, "other 2"));
    int spaces = 0;
    for (std::size_t at = 0; (at = summary.find("closed ", at)) != std::string::npos; at += 7)
        spaces += std::stoi(summary.substr(at + 7));
    EXPECT_EQ(spaces, 18);
}

TEST_F(ParkScript, MetreDrawingShowsMetresAndLabelsAtItsHeight) {
    const std::string out = Run("metre.scr", "--units m");
    EXPECT_TRUE(Has(out, "2003 combo \"2.40\"")) << out;
    EXPECT_TRUE(Has(out, "2010 combo \"5.30\""));
    EXPECT_TRUE(Has(out, "2003 row 4 \"3.00\""));
    const std::string summary = Summary("metre.scr");
    EXPECT_TRUE(Has(summary, "closed 5 open 0 cars 5 ['car 0.00 0.0010'] texts ['5辆 3.50'] box 0.00 0.00 12.00 5.30"))
        << summary;
}

// An arc too tight for its spaces once laid nothing without a word.
TEST_F(ParkScript, AnArcTooTightForItsSpacesSaysSoOnEitherSide) {
    const std::string out = Run("tight.scr");
    EXPECT_TRUE(Has(out, "一侧<退出>: 1000,2000\n空间太小！\n")) << out;
    EXPECT_TRUE(Has(out, "一侧<退出>: 1000,500\n空间太小！\n"));
    EXPECT_EQ(Summary("tight.scr"), "other 1\n");  // the arc alone
}

TEST_F(ParkScript, WithoutTheCarDrawingTheCommandEndsAtOnce) {
    const fs::path empty = m_dir / "nosupport";
    fs::create_directories(empty);
    const std::string out = Run("nocar.scr", "--support '" + empty.string() + "'", true);
    EXPECT_FALSE(Has(out, "请点取车位起点")) << out;
    EXPECT_TRUE(Has(out, "Command: 0,0"));
}

}  // namespace
