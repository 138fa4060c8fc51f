// vorncad as a user runs it: options, exit codes, the transcript of a script.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;  // standard output and standard error together
};

Result Vorncad(const std::string& args, const std::string& input = "") {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    fs::create_directories(dir);
    // One input file per test: ctest runs the tests side by side.
    const fs::path in =
        dir / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".in");
    std::ofstream(in) << input;
    const std::string cmd = "cd '" + dir.string() + "' && '" + std::string(VORNCAD) + "' " + args +
                            " < '" + in.string() + "' 2>&1";
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string WriteScript(const std::string& name, const std::string& text) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    fs::create_directories(dir);
    const fs::path p = dir / name;
    std::ofstream(p) << text;
    return p.string();
}

}  // namespace

TEST(Vorncad, HelpAndVersion) {
    Result r = Vorncad("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: vorncad [DRAWING.dxf] [-s SCRIPT | -s -]"), std::string::npos);
    r = Vorncad("--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("vorncad ", 0), 0u);
}

TEST(Vorncad, BadOptionsExitWithTwoAndSayWhy) {
    for (const char* args : {"--bogus", "--units km", "--lang fr", "-o out.txt", "--render a.bmp",
                             "-s", "a.dxf b.dxf"}) {
        const Result r = Vorncad(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.out.find("vorncad: "), std::string::npos) << args;
    }
    const Result r = Vorncad("--units km");
    EXPECT_NE(r.out.find("expects mm or m, not \"km\""), std::string::npos);
}

TEST(Vorncad, AnUnreadableScriptNamesTheFile) {
    const Result r = Vorncad("-s no/such/script.scr");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("no/such/script.scr"), std::string::npos);
    EXPECT_NE(r.out.find("No such file"), std::string::npos);
}

TEST(Vorncad, RunsAScriptToItsEndAndCancelsAWaitingCommand) {
    const std::string script = WriteScript("setvar.scr",
                                           "; a comment line\n"
                                           "SETVAR\nPICKBOX\n5\n"
                                           "nosuchcommand\n"
                                           "SETVAR\nPICKBOX\n");  // left waiting at the end
    const Result r = Vorncad("-s '" + script + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Command: SETVAR\nEnter variable name or [?]: PICKBOX\n"
                         "Enter new value for PICKBOX <3>: 5\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Unknown command \"nosuchcommand\""), std::string::npos);
    EXPECT_NE(r.out.find("Enter new value for PICKBOX <5>: *Cancel*"), std::string::npos) << r.out;
}

TEST(Vorncad, ReadsAScriptFromStandardInput) {
    const Result r = Vorncad("-s -", "HELP\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("SETVAR"), std::string::npos);
}

TEST(Vorncad, QuietKeepsMessagesOnly) {
    const Result r = Vorncad("-s - --quiet", "SETVAR\nPICKBOX\n99\n4\nfoo\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("Command:"), std::string::npos);
    EXPECT_NE(r.out.find("PICKBOX must be a whole number from 0 to 50"), std::string::npos);
    EXPECT_NE(r.out.find("Unknown command \"foo\""), std::string::npos);
}
