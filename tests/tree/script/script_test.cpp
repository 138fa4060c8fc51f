// vorncad runs the tree command twice with one settings file: the dialog's first look, the
// drag's trees in the saved drawing, and the spacing and mode set in the first run coming back.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
}

std::string RunScript(const fs::path& dir, const char* script, const fs::path& settings) {
    const std::string src = std::string(VORN_SOURCE_DIR) + "/tests/tree/script/" + script;
    const fs::path dxf = dir / (std::string(script) + ".dxf");
    return Output("'" + std::string(VORNCAD) + "' -s '" + src + "' --settings '" + settings.string() +
                  "' -o '" + dxf.string() + "' 2>&1");
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
