// vorncad as a user runs it: options, exit codes, the transcript of a script.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "host/base/textcodec.h"
#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;  // standard output and standard error together
};

Result Vorncad(const std::string& args, const std::string& input = "",
               const std::string& program = "'" + std::string(VORNCAD) + "'") {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    fs::create_directories(dir);
    // One input file per test: ctest runs the tests side by side.
    const fs::path in =
        dir / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".in");
    std::ofstream(in) << input;
    Result r;
    r.out = vorn::test::CommandOutput("cd '" + dir.string() + "' && " + program + " " + args + " < '" +
                                          in.string() + "' 2>&1",
                                      r.status);
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

// A program away from its build tree and from an installed prefix finds no plug-in and no
// support folder; it says so at start instead of lacking the site-plan commands in silence.
TEST(Vorncad, AProgramAwayFromItsFilesSaysWhatIsMissing) {
    const fs::path bin = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work" / "away" / "bin";
    fs::remove_all(bin.parent_path());
    fs::create_directories(bin);
    std::error_code ec;
    fs::create_hard_link(VORNCAD, bin / "vorncad", ec);  // a link names itself in /proc/self/exe
    if (ec) fs::copy_file(VORNCAD, bin / "vorncad");
    const fs::path prefix = bin.parent_path();
    const std::string program = "'" + (bin / "vorncad").string() + "'";
    const std::string plugin = (prefix / "lib/vorncad/VornGeneralDrawing.arx").string();
    Result r = Vorncad("--version", "", program);
    EXPECT_EQ(r.status, 0) << r.out;
    const std::string support = (prefix / "share/vorncad/support").string();
    EXPECT_NE(r.out.find("support folder: " + support + " (missing)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("plug-in: " + plugin + " (missing)"), std::string::npos) << r.out;
    r = Vorncad("-s -", "sample\n", program);
    EXPECT_NE(r.out.find("Note: the site-plan module " + plugin + " is missing"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Note: the support folder"), std::string::npos) << r.out;
    fs::remove_all(prefix);
}

TEST(Vorncad, BadOptionsExitWithTwoAndSayWhy) {
    for (const char* args : {"--bogus", "--units km", "--lang fr", "-o out.txt", "--render a.bmp",
                             "-s", "a.dxf b.dxf", "--support no/such/folder"}) {
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
                                           "SETVAR\nPICKBOX\n");  // left waiting at the end
    const Result r = Vorncad("-s '" + script + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Command: SETVAR\nEnter variable name or [?]: PICKBOX\n"
                         "Enter new value for PICKBOX <3>: 5\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Enter new value for PICKBOX <5>: *Cancel*"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("refused"), std::string::npos) << r.out;
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
    // A damaged drawing opens with what could be read and says what was left out; a file
    // without any drawing in it is refused.
    const std::string bad = WriteScript("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n");
    Result r = Vorncad("'" + bad + "' -s /dev/null");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("broken.dxf:7: a LINE entity with a value that is no finite number (group 10) was left out"),
              std::string::npos)
        << r.out;
    const std::string none = WriteScript("none.dxf", "Dear surveyor,\nthe plan follows.\n");
    r = Vorncad("'" + none + "' -s /dev/null");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("none.dxf:1: expected a group code"), std::string::npos) << r.out;
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

// ---- Scripts that go wrong, quiet runs, typed values, HELP ----

namespace {

// A drawing's entities as lines "TYPE layer minx,miny maxx,maxy [text]", extents rounded to
// thousandths, in drawing order: equal drawings give equal fingerprints.
std::string Fingerprint(const std::string& dxf) {
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(dxf, error);
    if (!db) return "unreadable: " + error;
    std::string out;
    const auto r = [](double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.3f", v + 0.0);
        return std::string(buf);
    };
    const AcDbObjectIdArray ids = db->modelSpaceIds();
    for (int i = 0; i < ids.length(); ++i) {
        const auto* e = AcDbEntity::cast(db->peekObject(ids[i]));
        if (!e) continue;
        AcDbExtents box;
        e->getGeomExtents(box);
        out += vorn::ToUtf8(e->isA()->name()) + " " + vorn::ToUtf8(e->layer()) + " " +
               r(box.minPoint().x) + "," + r(box.minPoint().y) + " " + r(box.maxPoint().x) + "," +
               r(box.maxPoint().y);
        if (const auto* t = AcDbText::cast(e)) out += " " + vorn::ToUtf8(t->textStringW());
        out += "\n";
    }
    return out;
}

// Lines 4, 7, 10 and 12 are refused: a word at a point prompt, a point at Command:, a value
// out of range, a dialog event without a dialog. The script goes on after each.
const char* const kOutOfStep =
    "LINE\n0,0\n100,0\nA\n100,100\n\n30000,-5000\n"
    "SETVAR\nPICKBOX\n99\n4\n@click 2005\n"
    "CIRCLE\n0,0\n5\n";

}  // namespace

TEST(Vorncad, RefusedLinesAreNumberedCountedAndExitWithThree) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    WriteScript("site.scr", kOutOfStep);
    const std::string out = (dir / "out-of-step.dxf").string();
    fs::remove(out);
    // By file (named as given) and by standard input.
    for (const std::string& name : {std::string("site.scr"), std::string("<stdin>")}) {
        const Result r = name == "site.scr" ? Vorncad("-s site.scr -o '" + out + "'")
                                            : Vorncad("-s - --quiet", kOutOfStep);
        EXPECT_EQ(r.status, 3) << r.out;
        for (const char* message :
             {":4: \"A\" is not accepted here: expected a point (x,y, x,y,z or @dx,dy), or Undo.\n",
              ":7: Unknown command \"30000,-5000\". Type HELP for the list of commands.\n",
              ":10: PICKBOX must be a whole number from 0 to 50.\n",
              ":12: @click 2005: no dialog is open to take this event.\n",
              ": 4 lines were refused\n"})
            EXPECT_NE(r.out.find(name + message), std::string::npos) << name + message << "\n" << r.out;
    }
    // The lines after each refusal still ran: both line segments and the circle.
    EXPECT_EQ(Fingerprint(out),
              "AcDbLine 0 0.000,0.000 100.000,0.000\nAcDbLine 0 100.000,0.000 100.000,100.000\n"
              "AcDbCircle 0 -5.000,-5.000 5.000,5.000\n");
    // A script without a refused line exits with 0 and says nothing of refusals.
    const Result clean = Vorncad("-s -", "LINE\n0,0\n1,1\n\n");
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out.find("refused"), std::string::npos) << clean.out;
}

TEST(Vorncad, StopOnErrorEndsAtTheFirstRefusedLineAndStillSaves) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    WriteScript("stop.scr", kOutOfStep);
    const std::string out = (dir / "stopped.dxf").string();
    fs::remove(out);
    const Result r = Vorncad("-s stop.scr --stop-on-error -o '" + out + "'");
    EXPECT_EQ(r.status, 3) << r.out;
    EXPECT_NE(r.out.find("stop.scr:4: \"A\" is not accepted here"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Specify next point or [Undo]: *Cancel*\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("stop.scr:7:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stop.scr: 1 line was refused; the script was stopped at stop.scr:4 (--stop-on-error)"),
              std::string::npos)
        << r.out;
    // What was drawn before the refused line is saved; nothing after it ran.
    EXPECT_EQ(Fingerprint(out), "AcDbLine 0 0.000,0.000 100.000,0.000\n");
}

// Quiet writes messages only: no prompt of the host's nor of the module's (which prints its
// own before it drags), in either language; messages and refusals stay.
TEST(Vorncad, QuietWritesMessagesButNoPrompts) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    const std::string shot = (dir / "quiet-road.png").string();
    const std::string script =
        "KyDrawRoad\n@dialogshot " + shot +
        "\n0,0\n10000,0\nA\n20000,10000\n17071,2929\nL\n20000,20000\nU\n\n\n"
        "SETVAR\nPICKBOX\n99\n4\nfoo\n";
    for (const char* lang : {"zh", "en"}) {
        const Result r = Vorncad(std::string("-s - --quiet --settings quiet.json --lang ") + lang, script);
        EXPECT_EQ(r.status, 3) << r.out;
        for (const char* prompt : {"Command:", "请点取", "圆弧道路的中间点", "Pick the", "Middle point",
                                   "Specify", "Enter variable", "Enter new value"})
            EXPECT_EQ(r.out.find(prompt), std::string::npos) << lang << ": " << prompt << "\n" << r.out;
        EXPECT_NE(r.out.find("<stdin>:15: PICKBOX must be a whole number from 0 to 50.\n"), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("<stdin>:17: Unknown command \"foo\""), std::string::npos) << r.out;
    }
    // A message the road prints without a line end, between its prompts, is all that shows.
    const Result message = Vorncad("-s - --quiet --settings quiet.json",
                                   "KyDrawRoad\n0,0\n10000,0\nA\n20000,0\n30000,0\n\n\n");
    EXPECT_EQ(message.out,
              "此段道路未绘制：道路边线无法生成（线段过短、三点共线，或圆弧半径不大于内侧道路宽度）。\n");
    if (!fs::exists(shot)) GTEST_SKIP() << "pictures are not available in this build";
    // @dialogshot and @snapshot say what they wrote, quiet or not.
    const Result r = Vorncad("-s - --quiet --settings quiet.json --size 320x200",
                             "KyDrawRoad\n@dialogshot " + shot + "\n0,0\n~500,500\n@snapshot snap.svg\nESC\n");
    EXPECT_NE(r.out.find("Wrote " + shot + " ("), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" PNG)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Wrote snap.svg (320×200 SVG)\n"), std::string::npos) << r.out;
}

// Points, distances, numbers and angles typed with a Chinese input method in full-width mode
// draw what the ASCII answers draw, through the host's prompts (points, distances, angles, whole
// numbers and reals) and the road's drag alike; the text of TEXT stays as typed.
TEST(Vorncad, FullWidthAnswersDrawWhatAsciiAnswersDraw) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work";
    const std::string ascii =
        "LINE\n10,20\n-30.5,40\n@15,0\n\nCIRCLE\n0,0\n12.5\n"
        "TEXT\n5,5\n2.5\n45\n１０，２０\n"
        "KyDrawRoad\n0,-10000\n20000,-10000\n\n\n"
        "KyRoadSlope\nE\n3\nD\n10,10\n10,20\n-2.5\n60\n\n";
    const std::string wide =
        "LINE\n１０，２０\n－３０．５，４０\n＠１５，０\n\nCIRCLE\n０，０\n12。5\n"
        "TEXT\n５，５\n２．５\n４５\n１０，２０\n"
        "KyDrawRoad\n0，－１００００\n２００００，-10000\n\n\n"
        "KyRoadSlope\nE\n３\nD\n１０，１０\n10，２０\n－２。5\n６０\n\n";
    std::string fingerprint[2];
    for (int i = 0; i < 2; ++i) {
        const std::string out = (dir / (i ? "wide.dxf" : "ascii.dxf")).string();
        fs::remove(out);
        const Result r = Vorncad("-s - --quiet --settings widths.json -o '" + out + "'", i ? wide : ascii);
        EXPECT_EQ(r.status, 0) << r.out;
        fingerprint[i] = Fingerprint(out);
    }
    EXPECT_EQ(fingerprint[0], fingerprint[1]);
    EXPECT_NE(fingerprint[0].find("AcDbLine PLAN-ROAD"), std::string::npos) << fingerprint[0];
    EXPECT_NE(fingerprint[0].find(" １０，２０\n"), std::string::npos) << fingerprint[0];
}

TEST(Vorncad, HelpListsTheCommandsAndDescribesOne) {
    struct Case {
        const char* lang;
        const char* listHead;
        const char* line;       // LINE's row in the list
        const char* road;       // part of HELP KyDrawRoad
    };
    for (const Case& c : {Case{"en", "Commands (", "  LINE             Draws straight lines from point to point.\n",
                               "C closes the road back to its start and ends it"},
                          Case{"zh", "命令（", "  LINE             绘制直线段。\n", "C 闭合到起点并结束该道路"}}) {
        const Result r = Vorncad(std::string("-s - --lang ") + c.lang,
                                 "HELP\nhelp line\nHELP KyDrawRoad\nHELP NOSUCH\n");
        EXPECT_EQ(r.status, 3) << r.out;  // the unknown name
        EXPECT_NE(r.out.find(c.listHead), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c.line), std::string::npos) << r.out;
        // Every command has its row with a description: host commands and the module's.
        for (const char* name : {"ARC", "HELP", "SETVAR", "UNDO", "ZOOM", "KyDrawParkSpace", "KyRYBS", "sample"}) {
            const std::size_t row = r.out.find(std::string("\n  ") + name + " ");
            ASSERT_NE(row, std::string::npos) << name << "\n" << r.out;
            const std::size_t end = r.out.find('\n', row + 1);
            EXPECT_GT(end - row, 22u) << name;  // name, blanks, then a description
        }
        EXPECT_NE(r.out.find(std::string("LINE - ")), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(c.lang == std::string("en") ? "Keywords: C closes back to the first point, U takes the last point back."
                                                        : "关键字：C 闭合到第一点，U 回退上一点。"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find(c.road), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("<stdin>:4: HELP: there is no command \"NOSUCH\"; HELP expects a command name"),
                  std::string::npos)
            << r.out;
    }
}
