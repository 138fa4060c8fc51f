// vorncad runs KyRoadFillet over road bends: the transcript shows the prompts of both modes and
// the refused answers, and the saved drawing holds the fillet arcs with their radii, centres
// and tangent points.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) { return vorn::test::CommandOutput(command, status); }

struct ScriptRun {
    std::string transcript, drawing;  // the drawing as a DXF peer lists it
    bool saved = false;
};

// Runs a script of this folder with a settings file of its own; the drawing's arcs and lines
// are listed by ezdxf, rounded, in file order, then its FILLETRAD.
ScriptRun RunScript(const std::string& name, const std::string& options = "") {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "road" / "filletscript";
    fs::create_directories(dir);
    const fs::path dxf = dir / (name + ".dxf"), settings = dir / (name + ".json");
    fs::remove(dxf);
    fs::remove(settings);
    const std::string script = std::string(VORN_SOURCE_DIR) + "/tests/road/filletscript/" + name + ".scr";
    ScriptRun run;
    int status = -1;
    run.transcript = Output("'" + std::string(VORNCAD) + "' " + options + " -s '" + script + "' --settings '" +
                                settings.string() + "' -o '" + dxf.string() + "' 2>&1",
                            status);
    // 3: the script went on past lines it refused on purpose, and the drawing was saved.
    if ((status != 0 && status != 3) || !fs::exists(dxf)) return run;
    run.saved = true;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    run.drawing = Output(
        "/usr/bin/python3 -c \"import ezdxf,sys\n"
        "d=ezdxf.readfile(sys.argv[1])\n"
        "r=lambda v: round(v,3)+0.0\n"
        "for e in d.modelspace():\n"
        "  if e.dxftype()=='ARC': print('ARC',e.dxf.layer,r(e.dxf.radius),r(e.dxf.center.x),r(e.dxf.center.y))\n"
        "  else: print(e.dxftype(),e.dxf.layer,r(e.dxf.start.x),r(e.dxf.start.y),r(e.dxf.end.x),r(e.dxf.end.y))\n"
        "print('FILLETRAD',r(d.header.get('\\$FILLETRAD',-1)))\" '" + dxf.string() + "'",
        status);
    return run;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(RoadFilletScript, ABendOfPlainLinesInBothModesAcrossItsOldArcs) {
    const ScriptRun run = RunScript("lines");
    const std::string& t = run.transcript;
    // The prompts of both modes (an ASCII colon before R= in one, a full-width one in the other),
    // the radius prompt with its default, and the answers the host refuses.
    EXPECT_TRUE(Has(t, "\n请框选要倒角的道路线或 [同半径倒角(Q)，当前：同圆心/倒角半径(R)，当前:R=5000.00]<退出>:X\n"))
        << t;
    EXPECT_TRUE(Has(t, "\"X\" is not accepted here"));
    EXPECT_TRUE(Has(t, "请输入倒角半径<5000.00>:-5\n"));
    EXPECT_TRUE(Has(t, "请输入倒角半径<5000.00>:\n"));
    EXPECT_TRUE(Has(t, "当前:R=3000.00]<退出>:Q\n请框选要倒角的道路线或 [同圆心倒角(Q)，当前：同半径/倒角半径(R)，当前：R=3000.00]<退出>:"));
    EXPECT_TRUE(Has(t, "当前：同半径/倒角半径(R)，当前：R=3000.00]<退出>:Q\n请框选要倒角的道路线或 [同半径倒角(Q)，当前：同圆心"));
    if (Has(t, "cannot be saved by this build")) GTEST_SKIP() << "this build saves no drawings";
    ASSERT_TRUE(run.saved) << t;
    // Three windows: concentric 5000/9000/7000, concentric 3000/7000/5000 across those arcs, then
    // 3000 everywhere across them again. Only the last arcs are left, each edge ending at its
    // tangent point; FILLETRAD is what it was before the command.
    EXPECT_EQ(run.drawing,
              "LINE PLAN-ROAD 0.0 2000.0 5000.0 2000.0\n"
              "LINE PLAN-ROAD 8000.0 5000.0 8000.0 20000.0\n"
              "LINE PLAN-ROAD 0.0 -2000.0 9000.0 -2000.0\n"
              "LINE PLAN-ROAD 12000.0 1000.0 12000.0 20000.0\n"
              "LINE PLAN-ROAD_CENTER 0.0 0.0 7000.0 0.0\n"
              "LINE PLAN-ROAD_CENTER 10000.0 3000.0 10000.0 20000.0\n"
              "ARC PLAN-ROAD 3000.0 5000.0 5000.0\n"
              "ARC PLAN-ROAD 3000.0 9000.0 1000.0\n"
              "ARC PLAN-ROAD_CENTER 3000.0 7000.0 3000.0\n"
              "FILLETRAD 250.0\n");
}

TEST(RoadFilletScript, RoadsDrawnByTheRoadCommandGetConcentricArcsAtStraightAndArcBends) {
    const ScriptRun run = RunScript("roads");
    if (Has(run.transcript, "cannot be saved by this build")) GTEST_SKIP() << "this build saves no drawings";
    ASSERT_TRUE(run.saved) << run.transcript;
    const std::string& d = run.drawing;
    // The straight bend: all three arcs about (3000, 7000), the edges ending on them.
    EXPECT_TRUE(Has(d, "ARC PLAN-ROAD 5000.0 3000.0 7000.0\nARC PLAN-ROAD 9000.0 3000.0 7000.0\n"
                       "ARC PLAN-ROAD_CENTER 7000.0 3000.0 7000.0\n")) << d;
    EXPECT_TRUE(Has(d, "LINE PLAN-ROAD 0.0 2000.0 3000.0 2000.0\n")) << d;
    EXPECT_TRUE(Has(d, "LINE PLAN-ROAD 8000.0 7000.0 8000.0 20000.0\n")) << d;
    // The arc road turning west: the three arcs share one centre, 5000 below the inner edge of
    // the west road (y 20100), on the circle of radius 18000 + 5000 about the arc road's centre.
    EXPECT_TRUE(Has(d, "ARC PLAN-ROAD 5000.0 112041.18 15100.0\nARC PLAN-ROAD 9000.0 112041.18 15100.0\n"
                       "ARC PLAN-ROAD_CENTER 7000.0 112041.18 15100.0\n")) << d;
    EXPECT_TRUE(Has(d, "LINE PLAN-ROAD 112041.18 20100.0 100000.0 20100.0\n")) << d;
}

TEST(RoadFilletScript, AMetreDrawingOffersMetresAndKeepsTheRadiusInMillimetres) {
    const ScriptRun run = RunScript("metre", "--units m");
    const std::string& t = run.transcript;
    EXPECT_TRUE(Has(t, "当前:R=5.00]<退出>:-1,-5\n")) << t;
    EXPECT_TRUE(Has(t, "请输入倒角半径<5.00>:4\n"));
    // The next run offers the 4 m kept as 4000 mm.
    EXPECT_TRUE(Has(t, "当前:R=4.00]<退出>:\n"));
    if (Has(t, "cannot be saved by this build")) GTEST_SKIP() << "this build saves no drawings";
    ASSERT_TRUE(run.saved) << t;
    EXPECT_TRUE(Has(run.drawing, "ARC PLAN-ROAD 5.0 3.0 7.0\nARC PLAN-ROAD 9.0 3.0 7.0\nARC PLAN-ROAD_CENTER 7.0 3.0 7.0\n"))
        << run.drawing;
}

TEST(RoadFilletScript, OneUndoTakesTheWholeRunAway) {
    const ScriptRun run = RunScript("undo");
    EXPECT_TRUE(Has(run.transcript, "Undone: KYROADFILLET")) << run.transcript;
    if (Has(run.transcript, "cannot be saved by this build")) GTEST_SKIP() << "this build saves no drawings";
    ASSERT_TRUE(run.saved) << run.transcript;
    EXPECT_EQ(run.drawing,
              "LINE PLAN-ROAD 0.0 2000.0 8000.0 2000.0\n"
              "LINE PLAN-ROAD 8000.0 2000.0 8000.0 20000.0\n"
              "LINE PLAN-ROAD 0.0 -2000.0 12000.0 -2000.0\n"
              "LINE PLAN-ROAD 12000.0 -2000.0 12000.0 20000.0\n"
              "FILLETRAD 0.0\n");
}
