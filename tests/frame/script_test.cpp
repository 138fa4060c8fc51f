// vorncad with the module: unloaded and reloaded at the command line, and in English with
// --lang en (the same keyword letters answer), or as written without it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

using vorn::test::CommandOutput;

// The transcript of a script of this folder; the drawing it leaves must audit clean.
std::string RunScript(const char* script, const std::string& options = "") {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "frame" / "script";
    fs::create_directories(dir);
    const fs::path settings = dir / (std::string(script) + ".settings.json"),
                   dxf = dir / (std::string(script) + ".dxf");
    fs::remove(settings);
    fs::remove(dxf);
    const std::string src = std::string(VORN_SOURCE_DIR) + "/tests/frame/" + script;
    const std::string out =
        CommandOutput("'" + std::string(VORNCAD) + "' -s '" + src + "' --settings '" +
                      settings.string() + "' -o '" + dxf.string() + "' " + options + " 2>&1");
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    return out;
}

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

}  // namespace

TEST(FrameScript, UnloadedCommandsGoAndComeBackOnReload) {
    const std::string out = RunScript("reload.scr");
    EXPECT_TRUE(Has(out, "VornGeneralDrawing.arx unloaded.")) << out;
    EXPECT_TRUE(Has(out, "Unknown command \"KyDrawRoad\""));
    EXPECT_TRUE(Has(out, "VornGeneralDrawing.arx loaded."));
    EXPECT_TRUE(Has(out, "Command: sample\nCommand: KyDrawRoad\n请点取道路起点<退出>:"));
}

TEST(FrameScript, EnglishPromptsKeepTheirKeyLettersAndWithoutLangTextsShowAsWritten) {
    const std::string en = RunScript("english.scr", "--lang en");
    EXPECT_TRUE(Has(en, "Pick the start point of the road<Exit>:0,0\n")) << en;
    EXPECT_TRUE(Has(en, "Pick the next point of the road or [Arc road(A)]<Exit>:A\n"));
    EXPECT_TRUE(Has(en, "Pick the next point of the arc road or [Straight road(L)]<Exit>:L\n"));
    EXPECT_TRUE(Has(en, "Pick the position of the legend or [Change the base point(T)]<Exit>:"));
    EXPECT_FALSE(Has(en, "请点取"));

    const std::string zh = RunScript("english.scr");
    EXPECT_TRUE(Has(zh, "请点取道路起点<退出>:0,0\n")) << zh;
    EXPECT_TRUE(Has(zh, "[弧道路(A)]<退出>:A\n"));
    EXPECT_FALSE(Has(zh, "Pick the"));
}
