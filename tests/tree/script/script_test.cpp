// vorncad runs the tree command twice with one settings file: the dialog's first look, the
// drag's trees in the saved drawing, and the spacing and mode set in the first run coming back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) { return vorn::test::CommandOutput(command); }

// The transcript of a script of this folder; the drawing it saves must audit clean.
std::string RunScript(const fs::path& dir, const char* script, const fs::path& settings,
                      const std::string& options = "") {
    const std::string src = std::string(VORN_SOURCE_DIR) + "/tests/tree/script/" + script;
    const fs::path dxf = dir / (std::string(script) + ".dxf");
    fs::remove(dxf);
    const std::string out =
        Output("'" + std::string(VORNCAD) + "' " + options + " -s '" + src + "' --settings '" +
               settings.string() + "' -o '" + dxf.string() + "' 2>&1");
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    return out;
}

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

}  // namespace

TEST(TreeScript, SettingsOfOneRunComeBackInTheNext) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script";
    fs::create_directories(dir);
    const fs::path settings = dir / "settings.json";
    fs::remove(settings);
    const std::string first = RunScript(dir, "first.scr", settings);
    EXPECT_TRUE(Has(first, "2073 edit \"1500.00\"")) << first;
    EXPECT_TRUE(Has(first, "2074 edit \"3000.00\" [disabled]"));
    EXPECT_TRUE(Has(first, "2084 radio \"任意点取\" [checked]"));
    EXPECT_TRUE(Has(first, "输入下一点或 [回退(U)]<结束>:10000,0"));
    const std::string second = RunScript(dir, "second.scr", settings);
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
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script" / "area";
    fs::create_directories(dir);
    const fs::path settings = dir / "settings.json";
    fs::remove(settings);
    const std::string out = RunScript(dir, "area.scr", settings);
    EXPECT_TRUE(Has(out, "请点击鼠标左键开始<退出>:0,0")) << out;
    EXPECT_TRUE(Has(out, "成功！"));
    EXPECT_TRUE(Has(out, "请点取插入点<退出>:20000,0"));
    // The four crowns of radius 1000 overlap into one outline from -1000 to 4000; the trees it
    // replaced are gone, the one placed afterwards stands on its own.
    const std::string entities = Entities(dir / "area.scr.dxf");
    EXPECT_EQ(entities, "LWPOLYLINE PLAN-TREE \nINSERT PLAN-TREE 20000,0\nbox -1000 -1000 4000 1000\n") << entities;
}

TEST(TreeScript, TheDialogShowsMetresInAMetreDrawing) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script" / "metre";
    fs::create_directories(dir);
    const fs::path settings = dir / "settings.json";
    fs::remove(settings);
    const std::string out = RunScript(dir, "metre.scr", settings, "--units m");
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
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script" / "paths";
    fs::create_directories(dir);
    const fs::path drawing = dir / "doubled.dxf";
    Output("/usr/bin/python3 -c \"import ezdxf,sys\nd=ezdxf.new()\n"
           "d.modelspace().add_lwpolyline([(0,0),(10000,0),(10000,0),(10000,9000)])\nd.saveas(sys.argv[1])\" '" +
           drawing.string() + "'");
    const fs::path settings = dir / "settings.json";
    fs::remove(settings);
    const std::string out = RunScript(dir, "paths.scr", settings, "'" + drawing.string() + "'");
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
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "tree" / "script" / "metrearea";
    fs::create_directories(dir);
    const fs::path settings = dir / "settings.json";
    fs::remove(settings);
    const std::string out = RunScript(dir, "metrearea.scr", settings, "--units m");
    EXPECT_TRUE(Has(out, "成功！")) << out;
    const std::string sizes = Output("/usr/bin/python3 -c \"import ezdxf,sys\nfrom ezdxf import bbox\n"
                                     "m=ezdxf.readfile(sys.argv[1]).modelspace()\n"
                                     "w=[bbox.extents([e]).size.x for e in m]\n"
                                     "print(len(w), len(set(round(x,3) for x in w)), min(w)>=1.6-1e-3, max(w)<=3.0)\" '" +
                                     (dir / "metrearea.scr.dxf").string() + "' 2>&1");
    // Six crowns apart, each of its own size within 1.6 to 3.0 m.
    EXPECT_EQ(sizes, "6 6 True True\n") << sizes;
}
