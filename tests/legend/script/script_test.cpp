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

}  // namespace

TEST(LegendScript, VorncadPlacesTheChosenSymbolsAsALegend) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "legend" / "script";
    fs::create_directories(dir);
    const fs::path dxf = dir / "legend.dxf";
    fs::remove(dxf);
    const std::string script = std::string(VORN_SOURCE_DIR) + "/tests/legend/script/legend.scr";
    const std::string support = std::string(VORN_SOURCE_DIR) + "/support";
    int status = -1;
    const std::string out = Output("'" + std::string(VORNCAD) + "' --support '" + support + "' -s '" +
                                       script + "' -o '" + dxf.string() + "' 2>&1",
                                   status);
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
    fs::create_directories(dir);
    for (const char* f : {"drag-one.png", "drag-two.png", "drag.dxf"}) fs::remove(dir / f);
    const std::string script = std::string(VORN_SOURCE_DIR) + "/tests/legend/script/drag.scr";
    const std::string support = std::string(VORN_SOURCE_DIR) + "/support";
    int status = -1;
    const std::string out = Output("cd '" + dir.string() + "' && '" + std::string(VORNCAD) + "' --support '" +
                                       support + "' --settings settings.json -s '" + script +
                                       "' -o drag.dxf 2>&1",
                                   status);
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
