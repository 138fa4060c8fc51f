// vorncad runs the elevation and slope commands from scripts: the marks and arrows they write,
// read back through LIST and the saved drawing, and what the transcript tells the user.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

fs::path WorkDir() {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "annotation" / "script";
    fs::create_directories(dir);
    return dir;
}

struct ScriptRun {
    std::string transcript;
    fs::path dxf;
};

// Runs script under name with its own settings file (kept between runs of one test when the
// same settings name is given) and saves the drawing, which must audit clean.
ScriptRun RunScript(const std::string& name, const std::string& script,
              const std::string& settings = std::string()) {
    const fs::path dir = WorkDir();
    const fs::path scr = dir / (name + ".scr");
    std::ofstream(scr) << script;
    const fs::path store = dir / ((settings.empty() ? name : settings) + ".json");
    if (settings.empty()) fs::remove(store);
    ScriptRun run;
    run.dxf = dir / (name + ".dxf");
    run.transcript = vorn::test::RunScriptSaving(scr, store, run.dxf).out;
    return run;
}

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

struct Mark {
    double x = 0, y = 0;
    std::string text;
};

// The elevation marks LIST printed, in drawing order.
std::vector<Mark> ListedMarks(const std::string& transcript) {
    std::vector<Mark> marks;
    std::istringstream in(transcript);
    std::string line;
    bool inMark = false;
    while (std::getline(in, line)) {
        if (line.rfind("VORN_SYMB_ELEVATION", 0) == 0) {
            marks.emplace_back();
            inMark = true;
        } else if (inMark && line.find("  Location: (") == 0) {
            std::sscanf(line.c_str(), "  Location: (%lf, %lf)", &marks.back().x, &marks.back().y);
        } else if (inMark && line.find("  Elevation: \"") == 0) {
            const std::size_t a = line.find('"') + 1;
            marks.back().text = line.substr(a, line.find('"', a) - a);
        } else if (!line.empty() && line[0] != ' ') {
            inMark = false;
        }
    }
    return marks;
}

// The text of the mark standing at x, y ("" when none stands there).
std::string TextAt(const std::vector<Mark>& marks, double x, double y) {
    for (const Mark& m : marks)
        if (std::fabs(m.x - x) < 1e-6 && std::fabs(m.y - y) < 1e-6) return m.text;
    return std::string();
}

struct Arrow {
    std::string text1, text2;
    std::vector<std::pair<double, double>> vertices;
    std::string layer;
};

// The slope arrows of a saved drawing: the fields the INSERT's XDATA carries.
std::vector<Arrow> SavedArrows(const fs::path& dxf) {
    std::ifstream in(dxf);
    std::vector<std::pair<int, std::string>> pairs;
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value)) {
        if (!value.empty() && value.back() == '\r') value.pop_back();
        pairs.emplace_back(std::stoi(code), value);
    }
    std::vector<Arrow> arrows;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].first != 1000 || pairs[i].second != "VORN_SYMB_ARROW") continue;
        Arrow a;
        // The layer is named before the XDATA, in the INSERT's own groups.
        for (std::size_t k = i; k > 0 && pairs[k].first != 0; --k)
            if (pairs[k].first == 8) a.layer = pairs[k].second;
        std::size_t j = i + 1;
        if (j + 1 < pairs.size()) a.text1 = pairs[j].second, a.text2 = pairs[j + 1].second;
        for (j += 2; j + 1 < pairs.size() && pairs[j].first != 0 && pairs[j].first != 1070; ++j)
            if (pairs[j].first == 1010)
                a.vertices.emplace_back(std::stod(pairs[j].second), std::stod(pairs[j + 1].second));
        arrows.push_back(a);
    }
    return arrows;
}

// A point x, y scaled by f, as a script line.
std::string At(double x, double y, double f) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g,%.10g\n", x * f, y * f);
    return buf;
}

// Base 10.00 and second 10.50 25 m apart on a straight road, in a drawing of the unit code
// with f drawing units a metre: the grade found extrapolates past the second mark and falls on
// the other side of the base; "W" offers the remembered 2 % (per 100 drawing units that is
// 2 in metres, 0.002 in millimetres) and takes a typed 3 %; three-decimal marks write three
// decimals. The line comes first, so a pick on a mark finds the mark.
void CheckGradeFromTwoMarks(const char* name, const char* unit, double f) {
    const ScriptRun run = RunScript(name,
        std::string("SETVAR\nDRAWUNIT\n") + unit + "\nLINE\n" + At(-100, 0, f) + At(100, 0, f) +
        "\nSYMBELEV\n0,0\n10.00\n\nSYMBELEV\n" + At(25, 0, f) + "10.50\n\n" +
        "KyRoadElev\n0,0\n" + At(25, 0, f) + At(-50, 0, f) + At(50, 0, f) + At(-10, 0, f) + "\n" +
        "KyRoadElev\n0,0\nW\n\n" + At(-50, 0, f) + At(10, 0, f) + "\n" +
        "KyRoadElev\n0,0\nW\n3\n" + At(-50, 0, f) + At(20, 0, f) + At(-20, 0, f) + "\n" +
        "SYMBELEV\n" + At(0, 100, f) + "10\n3\nLINE\n" + At(-100, 100, f) + At(100, 100, f) +
        "\nKyRoadElev\n" + At(0, 100, f) + "W\n\n" + At(-50, 100, f) + At(-10, 100, f) + "\n" +
        "LIST\nALL\n\n");
    const std::vector<Mark> marks = ListedMarks(run.transcript);
    EXPECT_EQ(TextAt(marks, 50 * f, 0), "11.00") << run.transcript;
    EXPECT_EQ(TextAt(marks, -10 * f, 0), "9.80");
    EXPECT_TRUE(Has(run.transcript, "请输入坡度值(正值为上坡)(%)<2>:"));
    EXPECT_EQ(TextAt(marks, 10 * f, 0), "10.20");
    // Typed 3 %: 20 m away on either side both rise by 0.6.
    EXPECT_EQ(TextAt(marks, 20 * f, 0), "10.60");
    EXPECT_EQ(TextAt(marks, -20 * f, 0), "10.60");
    // The last run takes 3 % from the three-decimal mark: 10 m away is 0.3 higher.
    EXPECT_TRUE(Has(run.transcript, "请输入坡度值(正值为上坡)(%)<3>:"));
    EXPECT_EQ(TextAt(marks, -10 * f, 100 * f), "10.300");
    EXPECT_EQ(TextAt(marks, 0, 100 * f), "10.000");
}

}  // namespace

TEST(RoadElevScript, GradeFromTwoMarksInMetresAndMillimetres) {
    CheckGradeFromTwoMarks("elev_metres", "1", 1.0);
    CheckGradeFromTwoMarks("elev_millimetres", "0", 1000.0);
}

// Marks placed or rewritten from a base line in a metre drawing: the marks LIST shows after the
// run (how many, when given, and the texts at given places) and a message the command gives.
TEST(RoadElevScript, MarksFromTheBaseLineTheClicksOrRewritten) {
    struct At {
        double x, y;
        const char* text;
    };
    const struct Case {
        const char* name;
        const char* what;
        const char* script;
        std::size_t marks;  // 0: not counted
        std::vector<At> texts;
        const char* message;
    } cases[] = {
        {"elev_segment", "Enter at the base line: the segment between the marks; a click off it lands on its "
                         "foot, one beyond the second mark on the segment's end",
         "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n-25,0\n10.50\n\nKyRoadElev\n0,0\n-25,0\n\n-12.5,7\n-40,3\n\n",
         4, {{-12.5, 0, "10.25"}, {-25, 0, "10.50"}}, ""},
        // s = 0.5 per 70.71 units; the mark 100 from the base rises by 0.71.
        {"elev_arc", "an arc as the base line: elevations by the straight distance from the base, 100 across "
                     "the half circle and not 157 along it",
         "ARC\n50,0\n0,50\n-50,0\nSYMBELEV\n50,0\n10.00\n\nSYMBELEV\n0,50\n10.50\n\n"
         "KyRoadElev\n50,0\n0,50\n-35.3553390593,35.3553390593\n-60,0\n\n",
         0, {{-50, 0, "10.71"}}, ""},
        {"elev_rewrite", "R rewrites the chosen marks by their feet and leaves them where they stand; a mark off "
                         "the line's end keeps its text; the line runs towards the base mark, the rise is still "
                         "towards the fixed mark",
         "LINE\n60,0\n-30,0\n\nSYMBELEV\n0,0\n10.00\n\nSYMBELEV\n25,0\n10.50\n\n"
         "SYMBELEV\n5,3\n0\n\nSYMBELEV\n40,-2\n0\n3\nSYMBELEV\n80,0\n7.77\n\n"
         "KyRoadElev\n0,0\nR\n25,0\n5,3\n40,-2\n80,0\n\n-20,0\n",
         5, {{5, 3, "10.10"}, {40, -2, "10.800"}, {80, 0, "7.77"}}, ""},
        {"elev_coincide", "marks whose feet coincide give no grade: a message and nothing written",
         "LINE\n-100,0\n100,0\n\nSYMBELEV\n10,0\n10.00\n\nSYMBELEV\n10,30\n10.50\n\nKyRoadElev\n10,0\n10,30\n-50,0\n",
         2, {}, "两个标高在基准线上的投影点重合"},
        {"elev_free", "a typed grade and Enter at the base line: the marks go where the user clicks, each by its "
                      "straight distance from the base mark",
         "SYMBELEV\n5,5\n10.00\n\nKyRoadElev\n5,5\nW\n3\n\n5,25\n-15,5\n\n", 0,
         {{5, 25, "10.60"}, {-15, 5, "10.60"}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScriptRun run = RunScript(c.name, std::string("SETVAR\nDRAWUNIT\n1\n") + c.script + "LIST\nALL\n\n");
        SCOPED_TRACE(run.transcript);
        const std::vector<Mark> marks = ListedMarks(run.transcript);
        if (c.marks) {
            EXPECT_EQ(marks.size(), c.marks);
        }
        for (const At& at : c.texts) EXPECT_EQ(TextAt(marks, at.x, at.y), at.text) << at.x << "," << at.y;
        EXPECT_TRUE(Has(run.transcript, c.message));
    }
}

namespace {

// A metre drawing at 1:1000, so the arrow is 20 units long, with marks 10.00 at the origin and
// 10.30 at 60,0 on a straight road.
const char kSlopeMetres[] =
    "SETVAR\nDRAWUNIT\n1\nSETVAR\nPRINTSCALE\n1000\nLINE\n-100,0\n100,0\n\n"
    "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n60,0\n10.30\n\n";

// Cosine of the angle between the arrow's direction (first vertex away from the last) and the
// direction dx, dy.
double Along(const Arrow& a, double dx, double dy) {
    const double ax = a.vertices.front().first - a.vertices.back().first;
    const double ay = a.vertices.front().second - a.vertices.back().second;
    return (ax * dx + ay * dy) / (std::hypot(ax, ay) * std::hypot(dx, dy));
}

}  // namespace

// Two marks on a straight road in metres: the grade and the length, the arrow centred on the
// click along the road with its first vertex uphill, on its own layer; marks picked the other
// way round (the higher first) give the same arrow; one mark picked asks for the second.
TEST(RoadSlopeScript, ArrowFromTwoMarksInMetres) {
    const ScriptRun run = RunScript("slope_metres", std::string(kSlopeMetres) +
        "KyRoadSlope\n0,0\n60,0\n\n-50,0\n\n~30,5\n30,5\n"
        "60,0\n0,0\n\n\n10,-5\n"
        "60,0\n\n0,0\n-50,0\n\n50,7\n\n");
    EXPECT_TRUE(Has(run.transcript, "选取第二个道路标高<退出>:")) << run.transcript;
    const std::vector<Arrow> arrows = SavedArrows(run.dxf);
    ASSERT_EQ(arrows.size(), 3u) << run.transcript;
    for (const Arrow& a : arrows) {
        EXPECT_EQ(a.text1, "0.50%%%");
        EXPECT_EQ(a.text2, "L=60.00");
        EXPECT_EQ(a.layer, "PLAN-SYMB_ARROW");
        ASSERT_EQ(a.vertices.size(), 2u);
    }
    EXPECT_NEAR(arrows[0].vertices[0].first, 40.0, 1e-9);
    EXPECT_NEAR(arrows[0].vertices[0].second, 5.0, 1e-9);
    EXPECT_NEAR(arrows[0].vertices[1].first, 20.0, 1e-9);
    // Enter at the base line: the segment between the marks, uphill still towards 60,0.
    EXPECT_NEAR(arrows[1].vertices[0].first, 20.0, 1e-9);
    EXPECT_NEAR(arrows[1].vertices[1].first, 0.0, 1e-9);
    EXPECT_NEAR(arrows[2].vertices[0].first, 60.0, 1e-9);
}

// The same road in millimetres (60,000 apart at 1:1) writes the same texts, with an arrow of
// 15 mm.
TEST(RoadSlopeScript, ArrowFromTwoMarksInMillimetres) {
    const ScriptRun run = RunScript("slope_millimetres",
        "LINE\n-100000,0\n100000,0\n\nSYMBELEV\n0,0\n10.30\n\nSYMBELEV\n60000,0\n10.00\n\n"
        "KyRoadSlope\n0,0\n60000,0\n\n-50000,0\n\n30000,5\n\n");
    const std::vector<Arrow> arrows = SavedArrows(run.dxf);
    ASSERT_EQ(arrows.size(), 1u) << run.transcript;
    EXPECT_EQ(arrows[0].text1, "0.50%%%");
    EXPECT_EQ(arrows[0].text2, "L=60.00");
    ASSERT_EQ(arrows[0].vertices.size(), 2u);
    // The higher mark is at the origin: the first vertex lies towards it.
    EXPECT_NEAR(arrows[0].vertices[0].first, 29992.5, 1e-6);
    EXPECT_NEAR(arrows[0].vertices[1].first, 30007.5, 1e-6);
}

// A road that bends back: along each leg the arrow lies along the leg under the cursor and its
// first vertex is never more than a quarter turn off the direction from the lower mark to the
// higher; the length is measured along the road between the marks' feet.
TEST(RoadSlopeScript, ArrowFollowsTheRoadWhereItBendsBack) {
    const ScriptRun run = RunScript("slope_bend",
        "SETVAR\nDRAWUNIT\n1\nSETVAR\nPRINTSCALE\n1000\n"
        "PLINE\n0,0\n100,0\n100,40\n20,40\n\n"
        "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n20,40\n10.44\n\n"
        "KyRoadSlope\n0,0\n20,40\n\n50,0\n\n50,-3\n"
        "0,0\n20,40\n\n50,0\n\n103,20\n"
        "0,0\n20,40\n\n50,0\n\n60,43\n\n");
    const std::vector<Arrow> arrows = SavedArrows(run.dxf);
    ASSERT_EQ(arrows.size(), 3u) << run.transcript;
    EXPECT_EQ(arrows[0].text1, "0.20%%%");
    EXPECT_EQ(arrows[0].text2, "L=220.00");
    for (const Arrow& a : arrows) {
        ASSERT_EQ(a.vertices.size(), 2u);
        EXPECT_GE(Along(a, 20.0, 40.0), 0.0);
    }
    // First leg along x, the middle leg along y, the last leg along x again.
    EXPECT_NEAR(std::fabs(Along(arrows[0], 1, 0)), 1.0, 1e-9);
    EXPECT_NEAR(std::fabs(Along(arrows[1], 0, 1)), 1.0, 1e-9);
    EXPECT_NEAR(std::fabs(Along(arrows[2], 1, 0)), 1.0, 1e-9);
}

// An arc as the base line: the length runs along the arc between the marks, and the arrow lies
// along the arc's tangent under the cursor, its first vertex towards the higher mark.
TEST(RoadSlopeScript, ArcBaseLineMeasuresAlongTheArc) {
    const ScriptRun run = RunScript("slope_arc",
        "SETVAR\nDRAWUNIT\n1\nSETVAR\nPRINTSCALE\n1000\nARC\n50,0\n35.3553390593,35.3553390593\n0,50\n"
        "SYMBELEV\n50,0\n10.00\n\nSYMBELEV\n0,50\n10.30\n\n"
        "KyRoadSlope\n50,0\n0,50\n\n43.3012701892,25\n\n35.3553390593,35.3553390593\n\n");
    const std::vector<Arrow> arrows = SavedArrows(run.dxf);
    ASSERT_EQ(arrows.size(), 1u) << run.transcript;
    // A quarter of a circle of radius 50 is 78.54 long; 0.3 over it is 0.382 %.
    EXPECT_EQ(arrows[0].text1, "0.38%%%");
    EXPECT_EQ(arrows[0].text2, "L=78.53");
    ASSERT_EQ(arrows[0].vertices.size(), 2u);
    EXPECT_NEAR(Along(arrows[0], -1.0, 1.0), 1.0, 1e-9);
}

// Base curves picked in pieces join when they meet end to end, whatever their directions;
// pieces with a gap are refused with a message, and so are three marks at once.
TEST(RoadSlopeScript, BaseCurvesJoinOrAreRefused) {
    const ScriptRun joined = RunScript("slope_join",
        "SETVAR\nDRAWUNIT\n1\nLINE\n0,0\n30,0\n\nLINE\n60,0\n30,0\n\nLINE\n60,0\n90,0\n\n"
        "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n90,0\n10.45\n\nSYMBELEV\n45,20\n10.20\n\n"
        "KyRoadSlope\n0,0\n90,0\n45,20\n\n\n");
    EXPECT_TRUE(Has(joined.transcript, "超过两个对象,请正确选择!")) << joined.transcript;
    EXPECT_TRUE(SavedArrows(joined.dxf).empty());

    const ScriptRun run = RunScript("slope_join2",
        "SETVAR\nDRAWUNIT\n1\nLINE\n0,0\n30,0\n\nLINE\n60,0\n30,0\n\nLINE\n60,0\n90,0\n\n"
        "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n90,0\n10.45\n\n"
        "KyRoadSlope\n0,0\n90,0\n\n75,0\n15,0\n45,0\n\n50,2\n\n");
    const std::vector<Arrow> arrows = SavedArrows(run.dxf);
    ASSERT_EQ(arrows.size(), 1u) << run.transcript;
    EXPECT_EQ(arrows[0].text1, "0.50%%%");
    EXPECT_EQ(arrows[0].text2, "L=90.00");

    const ScriptRun gap = RunScript("slope_gap",
        "SETVAR\nDRAWUNIT\n1\nLINE\n0,0\n30,0\n\nLINE\n31,0\n60,0\n\n"
        "SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n60,0\n10.30\n\n"
        "KyRoadSlope\n0,0\n60,0\n\n15,0\n45,0\n\n");
    EXPECT_TRUE(Has(gap.transcript, "所选曲线不能构成一条完整的曲线,检测是否断!")) << gap.transcript;
    EXPECT_TRUE(SavedArrows(gap.dxf).empty());
}

// "D" turns an arrow about a picked point and takes a typed grade and the last length found;
// "E" refuses 7 decimals, takes 3 for the rest of the run, and the next run starts with 3.
TEST(RoadSlopeScript, ManualArrowAndDecimalsKeptBetweenRuns) {
    fs::remove(WorkDir() / "slope_decimals.json");
    const ScriptRun first = RunScript("slope_manual", std::string(kSlopeMetres) +
        "KyRoadSlope\n0,0\n60,0\n\n\n30,5\n"
        "D\n10,10\n~10,20\n10,20\n2\n\n"
        "E\n7\n3\n0,0\n60,0\n\n\n30,-5\n\n",
        "slope_decimals");
    EXPECT_TRUE(Has(first.transcript, "请输入道路坡度(%)<0.50%>:")) << first.transcript;
    EXPECT_TRUE(Has(first.transcript, "请输入道路坡长(M)<60.00>:"));
    EXPECT_TRUE(Has(first.transcript, "小数位数应为0到6之间的整数!"));
    const std::vector<Arrow> arrows = SavedArrows(first.dxf);
    ASSERT_EQ(arrows.size(), 3u) << first.transcript;
    EXPECT_EQ(arrows[1].text1, "2.00%%%");
    EXPECT_EQ(arrows[1].text2, "L=60.00");
    ASSERT_EQ(arrows[1].vertices.size(), 2u);
    EXPECT_NEAR(arrows[1].vertices[0].first, 10.0, 1e-9);
    EXPECT_NEAR(arrows[1].vertices[0].second, 10.0, 1e-9);
    EXPECT_NEAR(arrows[1].vertices[1].first, 10.0, 1e-9);
    EXPECT_NEAR(arrows[1].vertices[1].second, 30.0, 1e-9);
    EXPECT_EQ(arrows[2].text1, "0.500%%%");
    EXPECT_EQ(arrows[2].text2, "L=60.000");

    const ScriptRun second = RunScript("slope_manual_again", "KyRoadSlope\nE\n\n\n", "slope_decimals");
    EXPECT_TRUE(Has(second.transcript, "请输入要保留的小数位数<3>:")) << second.transcript;
}

// Values the annotation commands cannot use are refused where they are read: an elevation mark
// whose text is no elevation (as base, second or either mark of a slope), a typed grade beyond
// ±100 %, a slope length not above 0. The refusal is numbered and counted, the same prompt comes
// again, and nothing is written (the mark count stays, no arrow appears).
TEST(AnnotationScript, ValuesThatCannotBeUsedAreRefusedAndThePromptComesAgain) {
    struct Case {
        const char* script;
        const char* message;
        const char* prompt;  // asked again
    };
    const Case cases[] = {
        {"SYMBELEV\n0,0\nabc\n\nKyRoadElev\n0,0\n\n", "标高\"abc\"不可用，应为-10000到10000之间的数值(米)；请选择别的标高。",
         "请选择基准标高"},
        {"SYMBELEV\n0,0\n20000\n\nKyRoadElev\n0,0\n\n", "标高\"20000.00\"不可用", "请选择基准标高"},
        {"SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n25,0\n-99999\n\nKyRoadElev\n0,0\n25,0\n\n", "标高\"-99999.00\"不可用",
         "请选择第二个标高"},
        {"SYMBELEV\n0,0\n10.00\n\nKyRoadElev\n0,0\nW\n1e308\nESC\n", "坡度1e+308不可用，应为-100到100之间的百分数。",
         "请输入坡度值"},
        {"SYMBELEV\n0,0\n10.00\n\nSYMBELEV\n25,0\nabc\n\nKyRoadSlope\n0,0\n25,0\n\n\n", "标高\"abc\"不可用",
         "选取两个道路标高"},
        {"KyRoadSlope\nD\n10,10\n10,20\n1e308\nESC\n\n", "坡度1e+308不可用", "请输入道路坡度"},
        {"KyRoadSlope\nD\n10,10\n10,20\n2\n-5\nESC\n\n", "坡长-5不可用，应为大于0且不超过100000的数值(米)。",
         "请输入道路坡长"},
        {"KyRoadSlope\nD\n10,10\n10,20\n2\n0\nESC\n\n", "坡长0不可用", "请输入道路坡长"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string script = std::string("SETVAR\nDRAWUNIT\n1\n") + c.script + "LIST\nALL\n\n";
        const ScriptRun run = RunScript("refusal" + std::to_string(n++), script);
        SCOPED_TRACE(run.transcript);
        const std::size_t at = run.transcript.find(c.message);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) {
            EXPECT_EQ(run.transcript.find(c.prompt, at), run.transcript.find('\n', at) + 1);
        }
        EXPECT_TRUE(Has(run.transcript, ".scr: 1 line was refused"));
        const std::size_t made = std::string(c.script).find("SYMBELEV\n25") != std::string::npos ? 2u
                                 : std::string(c.script).find("SYMBELEV") != std::string::npos  ? 1u
                                                                                                 : 0u;
        EXPECT_EQ(ListedMarks(run.transcript).size(), made);
        EXPECT_TRUE(SavedArrows(run.dxf).empty());
    }
}
