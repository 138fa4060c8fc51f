// The drawing and drafting commands run by vorncad on scripts. Each case draws its input, saves
// it, runs one command, saves again and takes the command back with U; ezdxf reads the three
// drawings: the second must hold exactly the expected entities, the third must equal the first.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/commandoutput.h"
#include "tests/pictureink.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

struct Case {
    const char* name;
    const char* options;     // more options of vorncad
    const char* setup;       // script lines that draw the input
    const char* command;     // script lines of the command under test
    bool changes;            // the command changes the drawing (and U takes it back)
    const char* expected;    // the drawing after the command, as dump.py prints it
    const char* transcript;  // what the transcript must hold, pieces separated by '|' ("": nothing)
    int status;              // vorncad's exit status: 3 when a line is meant to be refused
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// A line (0,0)-(100,0), a polyline with a semicircular arc (bulge 1) and an arc 0..180 degrees.
#define VORN_OFFSET_INPUT "LINE\n0,0\n100,0\n\nPLINE\n200,0\n300,0\nA\n350,50\n300,100\n\nARC\n0,200\n50,250\n100,200\n"

const Case kCases[] = {
    {"offset", "", VORN_OFFSET_INPUT,
     // Left of the line, inside the polyline's arc, outside the arc (twice: Undo takes one back).
     "OFFSET\n10\n50,0\n50,5\n250,0\n250,5\n50,250\n50,300\nU\n50,250\n50,300\n\n", true,
     "ARC (50,200) r50 0..180 0\nARC (50,200) r60 0..180 0\nLINE (0,0) (100,0) 0\nLINE (0,10) (100,10) 0\n"
     "PLINE (200,0) (300,0)b1 (300,100) 0\nPLINE (200,10) (300,10)b1 (300,90) 0\n",
     "", 0},
    {"offset-through", "", VORN_OFFSET_INPUT,
     // Through a point inside the arc; then through its centre, which would leave no radius.
     "OFFSET\nT\n50,250\n50,230\n50,250\n50,200\n\n", true,
     "ARC (50,200) r30 0..180 0\nARC (50,200) r50 0..180 0\nLINE (0,0) (100,0) 0\n"
     "PLINE (200,0) (300,0)b1 (300,100) 0\n",
     "Cannot offset this object by 50.0000 to that side", 3},
    {"trim", "",
     // A vertical cutting edge x = 50 across a line, a circle and a polyline's arc (bulge -1).
     "LINE\n50,-50\n50,150\n\nLINE\n0,0\n100,0\n\nCIRCLE\n50,130\n15\nPLINE\n0,40\nA\n50,90\n100,40\n\n",
     // The polyline is trimmed twice: Undo puts its right part back for the second pick.
     "TRIM\n50,-40\n\n80,0\n65,130\n85.3553,75.3553\nU\n85.3553,75.3553\n\n", true,
     "ARC (50,130) r15 90..270 0\nLINE (0,0) (50,0) 0\nLINE (50,-50) (50,150) 0\nPLINE (0,40)b-0.4142 (50,90) 0\n",
     "", 0},
    {"trim-all-edges", "",
     "LINE\n0,140\n100,140\n\nLINE\n50,100\n50,200\n\nLINE\n70,130\n70,150\n\nCIRCLE\n300,0\n10\n",
     // Enter: every curve cuts; the line loses its middle and becomes two. The circle meets no
     // edge: refused.
     "TRIM\n\n60,140\n310,0\n\n", true,
     "CIRCLE (300,0) r10 0\nLINE (0,140) (50,140) 0\nLINE (50,100) (50,200) 0\nLINE (70,130) (70,150) 0\n"
     "LINE (70,140) (100,140) 0\n",
     "A closed object is trimmed between two crossings", 3},
    {"extend", "",
     // A boundary x = 200; a line, an arc 180..270 of centre (150,50) and a polyline whose
     // last segment is straight after an arc.
     "LINE\n200,-100\n200,200\n\nLINE\n0,0\n150,0\n\nARC\n50,50\n79.2893219,-20.7106781\n150,-50\n"
     "PLINE\n0,120\nA\n50,170\n100,120\nL\n150,120\n\n",
     "EXTEND\n200,-90\n\n140,0\n132.6352,-48.4808\n149,120\n\n", true,
     "ARC (150,50) r100 180..300 0\nLINE (0,0) (200,0) 0\nLINE (200,-100) (200,200) 0\n"
     "PLINE (0,120)b-1 (100,120) (200,120) 0\n",
     "", 0},
    {"rotate-reference", "", "PLINE\n100,0\nA\n150,50\n200,0\n\nLINE\n100,0\n200,0\n\n",
     // From a reference of 30 degrees to 120: a quarter turn about the origin.
     "ROTATE\nALL\n\n0,0\nR\n30\n120\n", true, "LINE (0,100) (0,200) 0\nPLINE (0,100)b-1 (0,200) 0\n", "", 0},
    {"scale-reference", "", "LINE\n0,0\n100,0\n\nCIRCLE\n50,50\n10\n",
     // A factor 0 is refused; then a reference length 100 becomes 250.
     "SCALE\nALL\n\n0,0\n0\nR\n100\n250\n", true, "CIRCLE (125,125) r25 0\nLINE (0,0) (250,0) 0\n", "", 3},
    {"mirror-in-ucs", "",
     // The mirror line is given in a UCS at (1000,0) turned by 90 degrees: it is the world X axis.
     "LINE\n0,10\n100,20\n\nARC\n200,100\n250,150\n300,100\nUCS\n1000,0\n90\n",
     "MIRROR\nALL\n\n0,0\n0,0\n0,10\n\n", true,
     "ARC (250,-100) r50 180..0 0\nARC (250,100) r50 0..180 0\nLINE (0,-10) (100,-20) 0\nLINE (0,10) (100,20) 0\n",
     "", 3},
    {"explode", "",
     // A block of one line inserted at scale 2, a polyline with an arc, and a circle (refused).
     "LINE\n0,0\n10,0\n\nSAVEAS\nblock.dxf\nERASE\nALL\n\nINSERT\nblock.dxf\n100,100\n2\n\n"
     "PLINE\n0,0\n100,0\nA\n150,50\n100,100\n\nCIRCLE\n300,0\n10\n",
     "EXPLODE\nALL\n\n", true,
     "ARC (100,50) r50 270..90 0\nCIRCLE (300,0) r10 0\nLINE (0,0) (100,0) 0\nLINE (100,100) (120,100) 0\n",
     "1 CIRCLE object(s) cannot be exploded", 0},
    // The drawing commands: what they leave and what they refuse. LINE: a point equal to the
    // last, Undo of a segment, Close.
    {"line", "", "", "LINE\n0,0\n10,0\n10,0\n10,10\n99,99\nU\n0,10\nC\n", true,
     "LINE (0,0) (10,0) 0\nLINE (0,10) (0,0) 0\nLINE (10,0) (10,10) 0\nLINE (10,10) (0,10) 0\n",
     "must differ from the last one", 0},
    // Three points on one line make no arc; the same half circle from both pick orders.
    {"arc", "", "ARC\n10,0\n0,10\n-10,0\nARC\n0,0\n1,1\n2,2\n3,1\n", "ARC\n-10,0\n0,10\n10,0\n", true,
     "ARC (0,0) r10 0..180 0\nARC (0,0) r10 0..180 0\nARC (2,-1) r2.2361 63.4349..153.4349 0\n", "lie on one line",
     0},
    // A closed polyline with a half circle; Undo takes a vertex back.
    {"pline", "", "PLINE\n0,0\n10,0\nA\n15,5\n10,10\nL\n0,10\nC\n", "PLINE\n0,0\n5,0\nU\n7,0\n\n", true,
     "PLINE (0,0) (7,0) 0\nPLINE closed (0,0) (10,0)b1 (10,10) (0,10) 0\n", "", 0},
    // A radius of 0 and below refused; an empty text draws nothing.
    {"circle-text", "", "CIRCLE\n5,5\n0\n-2\n3\nTEXT\n0,0\n\n\n\n", "TEXT\n1,2\n0.5\n90\n总平面图 A\n", true,
     "CIRCLE (5,5) r3 0\nTEXT (1,2) h0.5 90 总平面图 A 0\n", "No text was given", 3},
    // LAYER makes layers (each current when made) and sets one; a missing or bad name is told.
    {"layer", "", "LAYER\nM\nROAD\nM\nSITE\n\nLINE\n0,5\n1,5\n\nLAYER\nS\nROAD\nS\nNOPE\nM\nbad|name\n\n",
     "LINE\n0,0\n1,0\n\n", true, "LINE (0,0) (1,0) ROAD\nLINE (0,5) (1,5) SITE\n",
     "Layer \"NOPE\" does not exist|not a valid layer name", 0},
    {"move-copy", "", "LINE\n0,0\n10,0\n\nMOVE\n5,0\n\n0,0\n0,100\n", "COPY\n5,100\n\n0,0\n50,0\n", true,
     "LINE (0,100) (10,100) 0\nLINE (50,100) (60,100) 0\n", "", 0},
    {"erase", "", "LINE\n0,0\n10,0\n\n", "ERASE\n5,0\n\n", true, "", "", 0},
    // A drawing file becomes a block once (a missing block refused first); a second INSERT
    // takes the block by its name.
    {"insert", "", "LINE\n0,0\n1,0\n\nSAVEAS\ntree.dxf\nERASE\nALL\n\nINSERT\nnothing_here\ntree.dxf\n5,5\n2\n90\n",
     "INSERT\ntree\n0,0\n\n\n", true, "INSERT tree (0,0) x1 0 0\nINSERT tree (5,5) x2 90 0\n",
     "There is no block \"nothing_here\"", 0},
    {"dist-in-ucs", "", "",
     "DIST\n1000,2000\n4000,6000\nUCS\n0,0\n90\nDIST\n0,0\n10,0\n", false, "",
     "Distance = 5000.0000 (5.0000 m), Angle in XY Plane = 53.1301\nDelta X = 3000.0000, Delta Y = 4000.0000, "
     "Delta Z = 0.0000|Distance = 10.0000 (0.0100 m), Angle in XY Plane = 0.0000\nDelta X = 10.0000, Delta Y = 0.0000",
     0},
    {"area-in-metres", "--units m", "CIRCLE\n300,300\n10\nPLINE\n0,0\n100,0\nA\n150,50\n100,100\nL\n0,100\nC\n",
     // Points (two only first: Enter is refused), a circle, a closed polyline with an arc.
     "AREA\n0,0\n40,0\n\n40,30\n0,30\n\nAREA\nO\n310,300\nAREA\n\n0,50\n", false, "",
     "An area needs at least three corner points|"
     "Area = 1200.0000 (1200.0000 m\u00b2), Perimeter = 140.0000 (140.0000 m)|"
     "Area = 314.1593 (314.1593 m\u00b2), Perimeter = 62.8319 (62.8319 m)|"
     "Area = 13926.9908 (13926.9908 m\u00b2), Perimeter = 457.0796 (457.0796 m)",
     3},
};

// The sections of dump.py's output by file name.
std::map<std::string, std::string> Dumps(const std::string& text) {
    std::map<std::string, std::string> out;
    std::string name;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) == 0) name = line.substr(3);
        else out[name] += line + "\n";
    }
    return out;
}

class Drafting : public ::testing::TestWithParam<Case> {};

TEST_P(Drafting, TheCommandGivesTheExpectedDrawingAndUndoTakesItBack) {
    const Case& c = GetParam();
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "host" / "drafting" / c.name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "case.scr") << c.setup << "SAVEAS\nbefore.dxf\n"
                                    << c.command << "SAVEAS\nafter.dxf\n"
                                    << (c.changes ? "U\n" : "");
    int status = -1;
    const std::string out = vorn::test::CommandOutput("cd '" + dir.string() + "' && '" + VORNCAD +
                                                          "' --settings settings.json " + c.options +
                                                          " -s case.scr -o undone.dxf 2>&1",
                                                      status);
    EXPECT_EQ(status, c.status) << out;
    std::istringstream pieces(c.transcript);
    for (std::string piece; std::getline(pieces, piece, '|');)
        EXPECT_NE(out.find(piece), std::string::npos) << "missing: " << piece << "\n" << out;
    const std::string dump = vorn::test::CommandOutput("cd '" + dir.string() + "' && /usr/bin/python3 '" +
                                                           VORN_SOURCE_DIR +
                                                           "/tests/host/drafting/dump.py' before.dxf after.dxf "
                                                           "undone.dxf 2>&1",
                                                       status);
    ASSERT_EQ(status, 0) << dump;
    auto d = Dumps(dump);
    if (c.changes) EXPECT_EQ(d["after.dxf"], c.expected) << out;
    else EXPECT_EQ(d["after.dxf"], d["before.dxf"]);
    EXPECT_EQ(d["undone.dxf"], d["before.dxf"]) << "U did not take the command back";
    EXPECT_TRUE(vorn::test::SoundDrawing(dir / "after.dxf"));
}

INSTANTIATE_TEST_SUITE_P(Commands, Drafting, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == '-') ch = '_';
                             return name;
                         });

}  // namespace

namespace {

// A line and a shorter one 100 above it. A zoom window round the lower one leaves the upper one
// out of the pictures of @snapshot and --render; PAN moves the window onto the upper one, ZOOM 0.5
// shows it smaller, ZOOM E shows both, ZOOM P goes back.
TEST(DraftingZoom, AScriptsZoomAndPanChooseWhatItsPicturesShow) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "host" / "drafting" / "zoom";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "zoom.scr") << "LINE\n0,0\n100,0\n\nLINE\n0,100\n50,100\n\n"
                                       "ZOOM\n0,-10\n100,10\n@snapshot window.png\n"
                                       "PAN\n0,0\n0,-100\n@snapshot pan.png\n"
                                       "ZOOM\n0.5\n@snapshot half.png\n"
                                       "ZOOM\nE\n@snapshot whole.png\nZOOM\nP\nZOOM\nP\nZOOM\nP\n"
                                       "ZOOM\n0,0\n0,0\n100,5\n";
    int status = -1;
    const std::string out = vorn::test::CommandOutput("cd '" + dir.string() + "' && '" + VORNCAD +
                                                          "' --settings settings.json --size 400x300 -s zoom.scr "
                                                          "--render render.png 2>&1",
                                                      status);
    // The last ZOOM's corner on the first is refused; the next one makes a window round the
    // lower line again.
    EXPECT_EQ(status, 3) << out;
    EXPECT_NE(out.find("a zoom window needs two different corners"), std::string::npos) << out;
    const vorn::test::Ink window = vorn::test::InkOf(dir / "window.png"), pan = vorn::test::InkOf(dir / "pan.png"),
                          half = vorn::test::InkOf(dir / "half.png"), whole = vorn::test::InkOf(dir / "whole.png"),
                          render = vorn::test::InkOf(dir / "render.png");
    EXPECT_GT(window.pixels, 0) << out;
    EXPECT_LE(window.rows(), 4) << "the upper line shows in the zoomed picture";
    // The upper line is half as long: after the pan it alone shows, at half the ink.
    EXPECT_LE(pan.rows(), 4);
    EXPECT_NEAR(pan.pixels, window.pixels / 2, window.pixels / 10);
    EXPECT_NEAR(half.pixels, pan.pixels / 2, pan.pixels / 10);
    EXPECT_GT(whole.rows(), 200) << "ZOOM E did not show the whole drawing";
    EXPECT_GT(render.pixels, 0);
    EXPECT_LE(render.rows(), 4) << "--render did not show the script's last zoom window";
}

}  // namespace
