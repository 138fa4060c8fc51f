// vorncad runs a road script: the transcript shows the dialog and the prompts, and the saved
// drawing holds each segment's edges and centre line on the road layers.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) { return vorn::test::CommandOutput(command, status); }

}  // namespace

TEST(RoadScript, VorncadDrawsTheRoadAndSavesItsLayers) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "road" / "script";
    fs::create_directories(dir);
    const fs::path dxf = dir / "road.dxf";
    fs::remove(dxf);
    const std::string script = std::string(VORN_SOURCE_DIR) + "/tests/road/script/road.scr";
    int status = -1;
    const std::string out =
        Output("'" + std::string(VORNCAD) + "' -s '" + script + "' -o '" + dxf.string() + "' 2>&1", status);
    EXPECT_NE(out.find("2005 edit \"2000.00\""), std::string::npos) << out;
    EXPECT_NE(out.find("[弧道路(A)/回退(U)/闭合(C)]<退出>:A\n"), std::string::npos);
    EXPECT_NE(out.find("圆弧道路的中间点<退出>：20000,10000"), std::string::npos);
    if (out.find("cannot be saved by this build") != std::string::npos)
        GTEST_SKIP() << "this build saves no drawings";
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    // Entity kinds per layer as a DXF peer reads them.
    const std::string listing = Output(
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
        "print(sorted((e.dxftype(), e.dxf.layer) for e in d.modelspace()))\" '" + dxf.string() + "'",
        status);
    ASSERT_EQ(status, 0) << listing;
    // The arc turning out of the straight road's end makes a corner: its inner edges filleted.
    EXPECT_EQ(listing,
              "[('ARC', 'PLAN-ROAD'), ('ARC', 'PLAN-ROAD'), ('ARC', 'PLAN-ROAD'), ('ARC', 'PLAN-ROAD_CENTER'), "
              "('LINE', 'PLAN-ROAD'), ('LINE', 'PLAN-ROAD'), ('LINE', 'PLAN-ROAD'), "
              "('LINE', 'PLAN-ROAD'), ('LINE', 'PLAN-ROAD_CENTER'), ('LINE', 'PLAN-ROAD_CENTER')]\n");
}
