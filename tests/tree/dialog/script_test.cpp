// vorncad: the tree dialog's pick button takes a block placed in the drawing, and the next
// tree is planted with it, scaled to the tree diameter.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace fs = std::filesystem;
using vorn::test::CommandOutput;

TEST(TreeDialogScript, APickedBlockOfTheDrawingIsPlantedNext) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "dialog";
    fs::create_directories(dir);
    const fs::path script = dir / "pick.scr", dxf = dir / "pick.dxf", settings = dir / "pick.settings.json";
    fs::remove(settings);
    fs::remove(dxf);
    // A unit tree (radius 500) placed at the origin, picked on its outline through the dialog.
    std::ofstream(script) << "INSERT\n" << VORN_SOURCE_DIR << "/support/_Tree1.dxf\n0,0\n1\n0\n"
                          << "KyRYBS\n@click 2097\n!500,0\n100,100\n\n";
    const std::string out = CommandOutput("'" + std::string(VORNCAD) + "' -s '" + script.string() + "' --settings '" +
                                          settings.string() + "' -o '" + dxf.string() + "' 2>&1");
    EXPECT_NE(out.find("请选择要布置的图块<返回>：!500,0\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("图块无效！"), std::string::npos);
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    const std::string listing = CommandOutput(
        "/usr/bin/python3 -c \"import ezdxf,sys\n"
        "for e in ezdxf.readfile(sys.argv[1]).modelspace(): print(e.dxf.name, e.dxf.layer, float(e.dxf.xscale))\" '" +
        dxf.string() + "' 2>&1");
    // The default tree radius 1500 makes a 3000 diameter: three times the unit tree.
    EXPECT_EQ(listing, "_Tree1 0 1.0\n_Tree1 PLAN-TREE 3.0\n");
}
