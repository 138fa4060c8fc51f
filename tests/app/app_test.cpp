// vorncad as a user runs it: options, exit codes, the transcript of a script.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "tests/sounddrawing.h"

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

// A drawing made by a script, saved with -o, read back by the DXF reader and by vorncad again.
TEST(Vorncad, SavesTheDrawingAndOpensItAgain) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    const std::string script =
        WriteScript("draw.scr", "LINE\n0,0\n100,0\n\nCIRCLE\n50,50\n20\n");
    const std::string out = (dir / "drawn.dxf").string();
    fs::remove(out);
    Result r = Vorncad("-s '" + script + "' -o '" + out + "' --quiet");
    ASSERT_EQ(r.status, 0) << r.out;
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(out, error);
    ASSERT_TRUE(db) << error;
    AcDbObjectIdArray ids = db->modelSpaceIds();
    ASSERT_EQ(ids.length(), 2);
    const auto* line = AcDbLine::cast(db->peekObject(ids[0]));
    const auto* circle = AcDbCircle::cast(db->peekObject(ids[1]));
    ASSERT_TRUE(line && circle);
    EXPECT_TRUE(line->endPoint().isEqualTo({100, 0, 0}));
    EXPECT_DOUBLE_EQ(circle->radius(), 20.0);
    EXPECT_TRUE(vorn::test::SoundDrawing(out));

    // Opened and saved again without changes: the same entities come back.
    const std::string again = (dir / "drawn-again.dxf").string();
    r = Vorncad("'" + out + "' -s /dev/null -o '" + again + "' --quiet");
    ASSERT_EQ(r.status, 0) << r.out;
    std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(again, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->modelSpaceIds().length(), 2);
}

TEST(Vorncad, BadDrawingsAndFailedSavesSayWhy) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    const std::string bad = WriteScript("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n");
    Result r = Vorncad("'" + bad + "' -s /dev/null");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("broken.dxf:8: expected a number"), std::string::npos) << r.out;
    r = Vorncad("no/such/drawing.dxf -s /dev/null");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("no/such/drawing.dxf"), std::string::npos) << r.out;

    // A save that cannot happen exits with 1, names the reason and leaves an old file alone.
    r = Vorncad("-s /dev/null -o no/such/folder/out.dxf");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("No such file or directory"), std::string::npos) << r.out;
    const fs::path target = dir / "taken.dxf";
    fs::remove_all(target);
    fs::create_directories(target);  // a folder where the file should go: the rename fails
    r = Vorncad("-s /dev/null -o '" + target.string() + "'");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(fs::is_directory(target));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find("taken.dxf."), std::string::npos)
            << entry.path();
    fs::remove_all(target);
}

// --size sets the pixels of the end picture and of @snapshot; a size that no picture can have
// is refused before anything runs.
TEST(Vorncad, PictureSizeAppliesToRenderAndSnapshot) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    const auto pngSize = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        unsigned char h[24] = {};
        in.read(reinterpret_cast<char*>(h), sizeof h);
        const auto be = [&](int at) {
            return (h[at] << 24) | (h[at + 1] << 16) | (h[at + 2] << 8) | h[at + 3];
        };
        return std::make_pair(be(16), be(20));
    };
    const fs::path end = dir / "size-end.png", snap = dir / "size-snap.png";
    fs::remove(end);
    fs::remove(snap);
    const Result r =
        Vorncad("-s - --size 400x300 --render '" + end.string() + "'",
                "LINE\n0,0\n100,50\n\nLINE\n0,0\n~50,80\n@snapshot " + snap.string() + "\n");
    EXPECT_EQ(r.status, 0) << r.out;
    if (!fs::exists(end)) GTEST_SKIP() << "pictures are not available in this build";
    EXPECT_EQ(pngSize(end), std::make_pair(400, 300));
    EXPECT_EQ(pngSize(snap), std::make_pair(400, 300)) << r.out;
    for (const char* bad : {"--size 800", "--size 0x600", "--size 800x", "--size 9000x600",
                            "--size 800x600x1", "--size 99999999999x600", "--size -800x600"}) {
        const Result b = Vorncad(bad);
        EXPECT_EQ(b.status, 2) << bad;
        EXPECT_NE(b.out.find("option --size expects WIDTHxHEIGHT"), std::string::npos)
            << bad << b.out;
    }
}
