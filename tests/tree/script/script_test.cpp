// vorncad runs the tree command twice with one settings file: the dialog's first look, the
// drag's trees in the saved drawing, and the spacing and mode set in the first run coming back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) { return vorn::test::CommandOutput(command); }

// A fresh folder for a test's runs under the build tree, its settings file gone.
fs::path Folder(const char* name) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script" / name;
    fs::create_directories(dir);
    fs::remove(dir / "settings.json");
    return dir;
}

// The transcript of a script (of this folder when named without one) run with the settings of
// dir; the drawing it saves, SCRIPT.dxf in dir, must audit clean.
std::string RunScript(const fs::path& dir, const fs::path& script, const std::string& options = "") {
    const fs::path src = script.is_absolute() ? script : fs::path(VORN_SOURCE_DIR) / "tests/tree/script" / script;
    return vorn::test::RunScriptSaving(src, dir / "settings.json", dir / (script.filename().string() + ".dxf"),
                                       options)
        .out;
}

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

}  // namespace

TEST(TreeScript, SettingsOfOneRunComeBackInTheNext) {
    const fs::path dir = Folder("");
    const std::string first = RunScript(dir, "first.scr");
    EXPECT_TRUE(Has(first, "2073 edit \"1500.00\"")) << first;
    EXPECT_TRUE(Has(first, "2074 edit \"3000.00\" [disabled]"));
    EXPECT_TRUE(Has(first, "2084 radio \"任意点取\" [checked]"));
    EXPECT_TRUE(Has(first, "2076 check \"间距自调\" [disabled]"));
    EXPECT_TRUE(Has(first, "2081 radio \"点取本图图块\" [checked]"));
    EXPECT_TRUE(Has(first, "输入下一点或 [回退(U)]<结束>:10000,0"));
    const std::string second = RunScript(dir, "second.scr");
    EXPECT_TRUE(Has(second, "2074 edit \"2500.00\"")) << second;
    EXPECT_TRUE(Has(second, "2005 radio \"拖动绘制\" [checked]"));
}

namespace {

// What ezdxf reads in a saved drawing: one line per model-space entity (type, layer, insertion
// point of an INSERT), then the extents of the LWPOLYLINEs.
std::string Entities(const fs::path& dxf) {
    return Output("/usr/bin/python3 -c \"import ezdxf,sys\nfrom ezdxf import bbox\n"
                  "d=ezdxf.readfile(sys.argv[1]); m=d.modelspace()\n"
                  "for e in m: print(e.dxftype(), e.dxf.layer, ('%.0f,%.0f' % tuple(e.dxf.insert)[:2]) if e.dxftype()=='INSERT' else '')\n"
                  "b=bbox.extents([e for e in m if e.dxftype()=='LWPOLYLINE'])\n"
                  "print('box %.0f %.0f %.0f %.0f' % (b.extmin.x, b.extmin.y, b.extmax.x, b.extmax.y))\" '" +
                  dxf.string() + "' 2>&1");
}

}  // namespace

TEST(TreeScript, AnAreaSweepLeavesOneCanopyRegionAndAModeChangeGoesOn) {
    const fs::path dir = Folder("area");
    const std::string out = RunScript(dir, "area.scr");
    EXPECT_TRUE(Has(out, "请点击鼠标左键开始<退出>:0,0")) << out;
    EXPECT_TRUE(Has(out, "成功！"));
    EXPECT_TRUE(Has(out, "请点取插入点<退出>:20000,0"));
    // The four crowns of radius 1000 overlap into one outline from -1000 to 4000; the trees it
    // replaced are gone, the one placed afterwards stands on its own.
    const std::string entities = Entities(dir / "area.scr.dxf");
    EXPECT_EQ(entities, "LWPOLYLINE PLAN-TREE \nINSERT PLAN-TREE 20000,0\nbox -1000 -1000 4000 1000\n") << entities;
}

TEST(TreeScript, TheDialogShowsMetresInAMetreDrawing) {
    const fs::path dir = Folder("metre");
    const std::string out = RunScript(dir, "metre.scr", "--units m");
    EXPECT_TRUE(Has(out, "2073 edit \"1.50\"")) << out;
    EXPECT_TRUE(Has(out, "2074 edit \"3.00\" [disabled]"));
    EXPECT_TRUE(Has(out, "2087 edit \"0.80\""));
    EXPECT_TRUE(Has(out, "2089 edit \"1.50\""));
    EXPECT_TRUE(Has(out, "2088 edit \"1.00\""));
    EXPECT_TRUE(Has(out, "2090 edit \"2.00\""));
}

// Path planting with self-adjusted spacing over a polyline with a doubled vertex once planted
// the first leg and ended in silence; a line followed by an arc shorter than the adjusted
// spacing left the arc bare and ended in silence too.
TEST(TreeScript, PathPlantingSkipsADoubledVertexAndRefusesAPieceItCannotDivide) {
    const fs::path dir = Folder("paths");
    const fs::path drawing = dir / "doubled.dxf";
    Output("/usr/bin/python3 -c \"import ezdxf,sys\nd=ezdxf.new()\n"
           "d.modelspace().add_lwpolyline([(0,0),(10000,0),(10000,0),(10000,9000)])\nd.saveas(sys.argv[1])\" '" +
           drawing.string() + "'");
    const std::string out = RunScript(dir, "paths.scr", "'" + drawing.string() + "'");
    EXPECT_TRUE(Has(out, "paths.scr:19: 路径上有一段长3141.59，短于树间隔3333.33，间距自调无法均分；未布置树，"
                         "请减小树间隔或关闭间距自调。\n请选择作为路径的曲线")) << out;
    // Both legs of the first polyline, the vertex tree where the second begins; none on the
    // refused one.
    const std::string entities = Entities(dir / "paths.scr.dxf");
    EXPECT_TRUE(Has(entities, "INSERT PLAN-TREE 0,0\nINSERT PLAN-TREE 3333,0\nINSERT PLAN-TREE 6667,0\n"
                              "INSERT PLAN-TREE 10000,0\nINSERT PLAN-TREE 10000,4500\nbox")) << entities;
}

// Random sizes of an area sweep once stepped by whole drawing units: in a metre drawing every
// tree of the default ranges came out 1.6 m across.
TEST(TreeScript, AnAreaSweepInAMetreDrawingHasTreesOfManySizes) {
    const fs::path dir = Folder("metrearea");
    const std::string out = RunScript(dir, "metrearea.scr", "--units m");
    EXPECT_TRUE(Has(out, "成功！")) << out;
    const std::string sizes = Output("/usr/bin/python3 -c \"import ezdxf,sys\nfrom ezdxf import bbox\n"
                                     "m=ezdxf.readfile(sys.argv[1]).modelspace()\n"
                                     "w=[bbox.extents([e]).size.x for e in m]\n"
                                     "print(len(w), len(set(round(x,3) for x in w)), min(w)>=1.6-1e-3, max(w)<=3.0)\" '" +
                                     (dir / "metrearea.scr.dxf").string() + "' 2>&1");
    // Six crowns apart, each of its own size within 1.6 to 3.0 m.
    EXPECT_EQ(sizes, "6 6 True True\n") << sizes;
}

// The dialog's pick button takes a block placed in the drawing, and the next tree is planted
// with it, scaled to the tree diameter.
TEST(TreeScript, APickedBlockOfTheDrawingIsPlantedNext) {
    const fs::path dir = Folder("pick");
    const fs::path script = dir / "pick.scr";
    // A unit tree (radius 500) placed at the origin, picked on its outline through the dialog.
    std::ofstream(script) << "INSERT\n" << VORN_SOURCE_DIR << "/support/_Tree1.dxf\n0,0\n1\n0\n"
                          << "KyRYBS\n@click 2097\n!500,0\n100,100\n\n";
    const std::string out = RunScript(dir, script);
    EXPECT_TRUE(Has(out, "请选择要布置的图块<返回>：!500,0\n")) << out;
    EXPECT_FALSE(Has(out, "图块无效！"));
    const std::string listing = Output("/usr/bin/python3 -c \"import ezdxf,sys\n"
                                       "for e in ezdxf.readfile(sys.argv[1]).modelspace(): print(e.dxf.name, e.dxf.layer, float(e.dxf.xscale))\" '" +
                                       (dir / "pick.scr.dxf").string() + "' 2>&1");
    // The default tree radius 1500 makes a 3000 diameter: three times the unit tree.
    EXPECT_EQ(listing, "_Tree1 0 1.0\n_Tree1 PLAN-TREE 3.0\n");
}
