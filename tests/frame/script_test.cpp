// vorncad with the module: unloaded and reloaded at the command line, and in English with
// --lang en (the same keyword letters answer), or as written without it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

// The transcript of a script of this folder; the drawing it leaves must audit clean.
std::string RunScript(const char* script, const std::string& options = "") {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "frame" / "script";
    fs::create_directories(dir);
    const fs::path settings = dir / (std::string(script) + ".settings.json");
    fs::remove(settings);
    return vorn::test::RunScriptSaving(fs::path(VORN_SOURCE_DIR) / "tests/frame" / script, settings,
                                       dir / (std::string(script) + ".dxf"), options)
        .out;
}

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

// The lines of a UTF-8 transcript holding a Chinese, Japanese or Korean character or a
// full-width form (CJK punctuation, ideographs, syllables).
std::string LinesWithCjk(const std::string& out) {
    std::string found, line;
    bool cjk = false;
    for (std::size_t i = 0; i <= out.size(); ++i) {
        if (i == out.size() || out[i] == '\n') {
            if (cjk) found += line + "\n";
            line.clear();
            cjk = false;
            continue;
        }
        line += out[i];
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if ((c & 0xF0) != 0xE0 || i + 2 >= out.size()) continue;
        const unsigned cp = (c & 0x0Fu) << 12 | (static_cast<unsigned char>(out[i + 1]) & 0x3Fu) << 6 |
                            (static_cast<unsigned char>(out[i + 2]) & 0x3Fu);
        if ((cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xAC00 && cp <= 0xD7AF) ||
            (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF00 && cp <= 0xFFEF))
            cjk = true;
    }
    return found;
}

}  // namespace

TEST(FrameScript, UnloadedCommandsGoAndComeBackOnReload) {
    const std::string out = RunScript("reload.scr");
    EXPECT_TRUE(Has(out, "VornGeneralDrawing.arx unloaded.")) << out;
    EXPECT_TRUE(Has(out, "Unknown command \"KyDrawRoad\""));
    EXPECT_TRUE(Has(out, "VornGeneralDrawing.arx loaded."));
    EXPECT_TRUE(Has(out, "Command: sample\nCommand: KyDrawRoad\n请点取道路起点<退出>:"));
}

// The script walks every command of the module with its dialogs shown and its library lists.
TEST(FrameScript, EnglishPromptsKeepTheirKeyLettersAndWithoutLangTextsShowAsWritten) {
    const std::string en = RunScript("english.scr", "--lang en");
    EXPECT_EQ(LinesWithCjk(en), "") << en;
    // Library items are listed and answered by their English names; dialogs show English
    // labels and list rows.
    EXPECT_TRUE(Has(en, "  Plants/Trees/Clump tree\nItem name<cancel>: Star tree\n")) << en;
    EXPECT_TRUE(Has(en, "2008 row 1 \"Double row\"\n"));
    EXPECT_TRUE(Has(en, "2029 row 1 \"Tree\""));
    EXPECT_TRUE(Has(en, "Pick the start point of the road<Exit>:0,0\n")) << en;
    EXPECT_TRUE(Has(en, "Pick the next point of the road or [Arc road(A)]<Exit>:A\n"));
    EXPECT_TRUE(Has(en, "Pick the next point of the arc road or [Straight road(L)]<Exit>:L\n"));
    EXPECT_TRUE(Has(en, "Pick the position of the legend or [Change the base point(T)]<Exit>:"));
    EXPECT_FALSE(Has(en, "请点取"));

    const std::string zh = RunScript("english.scr");
    EXPECT_TRUE(Has(zh, "请点取道路起点<退出>:0,0\n")) << zh;
    EXPECT_TRUE(Has(zh, "2008 row 1 \"双排\"\n"));
    EXPECT_TRUE(Has(zh, "[弧道路(A)]<退出>:A\n"));
    EXPECT_FALSE(Has(zh, "Pick the"));
}
