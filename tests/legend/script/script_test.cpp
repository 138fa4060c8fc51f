// vorncad runs a legend script: the transcript shows the dialog's lists and refusals, and the
// saved drawing holds the title, the names and the symbols on the legend layer.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/pictureink.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) { return vorn::test::CommandOutput(command, status); }

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

// vorncad run in dir with the shipped support folder on a script of this folder.
std::string Vorncad(const fs::path& dir, const char* script, const std::string& options, int& status) {
    fs::create_directories(dir);
    return Output("cd '" + dir.string() + "' && '" + std::string(VORNCAD) + "' --support '" VORN_SOURCE_DIR
                  "/support' " + options + " -s '" VORN_SOURCE_DIR "/tests/legend/script/" + script + "' 2>&1",
                  status);
}

}  // namespace

TEST(LegendScript, VorncadPlacesTheChosenSymbolsAsALegend) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "legend" / "script";
    const fs::path dxf = dir / "legend.dxf";
    fs::remove(dxf);
    int status = -1;
    fs::remove(dir / "settings.json");
    const std::string out = Vorncad(dir, "legend.scr", "--settings settings.json -o '" + dxf.string() + "'", status);
    EXPECT_TRUE(Has(out, "2028 row 0 \"新建建筑\"")) << out;
    EXPECT_TRUE(Has(out, "2028 row 10 \"指北针\""));
    EXPECT_TRUE(Has(out, "点取图例位置或 [改基点(T)]<退出>:"));
    if (Has(out, "reads no drawing files"))
        GTEST_SKIP() << "this build loads no symbol drawings, so every symbol is refused";
    EXPECT_TRUE(Has(out, "已选择此图例！"));
    EXPECT_TRUE(Has(out, "2029 row 1 \"乔木\""));
    if (Has(out, "cannot be saved by this build")) GTEST_SKIP() << "this build saves no drawings";
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    const std::string listing = Output(
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
        "print(sorted((e.dxftype(), e.dxf.layer) for e in d.modelspace()))\" '" + dxf.string() + "'",
        status);
    ASSERT_EQ(status, 0) << listing;
    EXPECT_EQ(listing,
              "[('INSERT', 'PLAN-SAMPLE'), ('INSERT', 'PLAN-SAMPLE'), ('TEXT', 'PLAN-SAMPLE'), "
              "('TEXT', 'PLAN-SAMPLE'), ('TEXT', 'PLAN-SAMPLE')]\n");
}

namespace {

// Pixels of a picture that are not the background of its top-left corner; -1 when unreadable.
long InkPixels(const fs::path& png) { return vorn::test::InkOf(png).pixels; }

}  // namespace

TEST(LegendScript, TheDraggedLegendFollowsTheDialogsSelection) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "legend" / "script" / "drag";
    for (const char* f : {"drag-one.png", "drag-two.png", "drag.dxf"}) fs::remove(dir / f);
    int status = -1;
    const std::string out = Vorncad(dir, "drag.scr", "--settings settings.json -o drag.dxf", status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(vorn::test::SoundDrawing(dir / "drag.dxf"));
    const long one = InkPixels(dir / "drag-one.png"), two = InkPixels(dir / "drag-two.png");
    ASSERT_GT(one, 0) << out;
    // The second symbol's row (its block and its name) is drawn under the cursor as well.
    EXPECT_GT(two, one + 50) << out;
    // Esc placed nothing: model space holds only the four lines of the frame.
    int pyStatus = -1;
    const std::string count = Output("/usr/bin/python3 -c \"import ezdxf,sys; print(len(ezdxf.readfile(sys.argv[1]).modelspace()))\" '" +
                                         (dir / "drag.dxf").string() + "' 2>&1",
                                     pyStatus);
    EXPECT_EQ(count, "4\n") << "a legend was written though the drag was cancelled";
}

namespace {

// The legend of a saved drawing, one line per entity: kind, position, text height or x scale,
// the lengths divided by unit (1000 for a millimetre drawing, 1 for a metre one).
std::string LegendOf(const fs::path& dxf, int unit) {
    int status = -1;
    return Output("/usr/bin/python3 -c \"import ezdxf,sys\nu=float(sys.argv[2])\n"
                  "for e in ezdxf.readfile(sys.argv[1]).modelspace():\n"
                  " s=e.dxf.height/u if e.dxftype()=='TEXT' else e.dxf.xscale*1000/u\n"
                  " p=e.dxf.insert\n"
                  " print(e.dxftype(), e.dxf.layer, '%.4f %.4f %.5f' % (p.x/u, p.y/u, s))\" '" +
                      dxf.string() + "' " + std::to_string(unit) + " 2>&1",
                  status);
}

}  // namespace

// A metre drawing's legend once spread its rows 6 km apart with symbols 9 km wide beside names
// 3.5 m high; it must be the millimetre legend a thousandth the size. Print scales outside
// 0.01 to 100000 are refused, each with its message, and change nothing.
TEST(LegendScript, AMetreDrawingsLegendLooksLikeTheMillimetreOne) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "legend" / "script" / "metre";
    std::string legends[2];
    for (int metres = 0; metres < 2; ++metres) {
        const fs::path dxf = dir / (metres ? "m.dxf" : "mm.dxf");
        fs::remove(dxf);
        int status = -1;
        const std::string options = std::string("--settings settings.json ") + (metres ? "--units m " : "") +
                                    "-o '" + dxf.string() + "'";
        const std::string out = Vorncad(dir, "metre.scr", options, status);
        if (Has(out, "reads no drawing files")) GTEST_SKIP() << "this build loads no symbol drawings";
        EXPECT_EQ(status, 3) << out;  // the four refused scales
        for (const char* line : {"metre.scr:6: ", "metre.scr:10: ", "metre.scr:14: "})
            EXPECT_TRUE(Has(out, std::string(line) + "PRINTSCALE must be a number from 0.01 to 100000 (100 means 1:100)."))
                << line << "\n" << out;
        EXPECT_TRUE(Has(out, "metre.scr:18: \"abc\" is not a finite number; PRINTSCALE takes one."));
        EXPECT_TRUE(Has(out, "metre.scr: 4 lines were refused")) << out;
        EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
        legends[metres] = LegendOf(dxf, metres ? 1 : 1000);
    }
    EXPECT_EQ(legends[0], legends[1]);
    // At 1:1000 the first row's name stands 1.75 m right of and 7.75 m below the handle, 3.5 m
    // high, level with its block 6 m below the handle.
    EXPECT_TRUE(Has(legends[1], "TEXT PLAN-SAMPLE 1.7500 -7.7500 3.50000")) << legends[1];
    EXPECT_TRUE(Has(legends[1], "INSERT PLAN-SAMPLE -6.2500 -6.0000")) << legends[1];
}
