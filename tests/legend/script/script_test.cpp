// vorncad runs a legend script: the transcript shows the dialog's lists and refusals, and the
// saved drawing holds the title, the names and the symbols on the legend layer.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int st = pclose(p);
    status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

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
    const std::string listing = Output(
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
        "print(sorted((e.dxftype(), e.dxf.layer) for e in d.modelspace()))\" '" + dxf.string() + "'",
        status);
    ASSERT_EQ(status, 0) << listing;
    EXPECT_EQ(listing,
              "[('INSERT', 'PLAN-SAMPLE'), ('INSERT', 'PLAN-SAMPLE'), ('TEXT', 'PLAN-SAMPLE'), "
              "('TEXT', 'PLAN-SAMPLE'), ('TEXT', 'PLAN-SAMPLE')]\n");
}
