// Plots read back as a user's printer would see them: the PDF drawn into pixels by poppler's
// pdftoppm at ten pixels a millimetre, its lines measured, their dashes counted and their
// colours looked at; and plots that cannot be written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commandoutput.h"

namespace {

namespace fs = std::filesystem;

bool HavePoppler() { return std::system("pdftoppm -v >/dev/null 2>&1") == 0; }

fs::path WorkDir() {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "plot" /
                         ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir);
    return dir;
}

std::string Vorncad(const std::string& args, int& status) {
    return vorn::test::CommandOutput("'" + std::string(VORNCAD) + "' " + args + " 2>&1", status);
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The test drawing, in millimetres, 100 m by 60 m: four lines of 100 m from x 0 to 100000 and a
// text, as another CAD program writes them. At y 0 a line of colour 7 without a weight (the
// table gives 0.35 mm); at 20000 one on layer AXIS (red, line type CENTER, the table's 0.18
// mm); at 40000 one on layer HEAVY (green, 0.70 mm on the layer); at 60000 one with 1.00 mm
// of its own.
std::string TestDrawing() {
    std::ostringstream d;
    const auto g = [&](int code, const std::string& value) { d << code << "\n" << value << "\n"; };
    g(0, "SECTION"), g(2, "HEADER"), g(9, "$ACADVER"), g(1, "AC1015"), g(9, "$INSUNITS"), g(70, "4"), g(0, "ENDSEC");
    g(0, "SECTION"), g(2, "TABLES");
    g(0, "TABLE"), g(2, "LTYPE"), g(70, "1");
    g(0, "LTYPE"), g(2, "CENTER"), g(70, "0"), g(3, "Center"), g(72, "65"), g(73, "4"), g(40, "50.8");
    for (const char* dash : {"31.75", "-6.35", "6.35", "-6.35"}) g(49, dash);
    g(0, "ENDTAB");
    g(0, "TABLE"), g(2, "LAYER"), g(70, "2");
    g(0, "LAYER"), g(2, "AXIS"), g(70, "0"), g(62, "1"), g(6, "CENTER"), g(370, "-3");
    g(0, "LAYER"), g(2, "HEAVY"), g(70, "0"), g(62, "3"), g(6, "CONTINUOUS"), g(370, "70");
    g(0, "ENDTAB"), g(0, "ENDSEC");
    g(0, "SECTION"), g(2, "ENTITIES");
    const auto line = [&](const char* layer, int y, const char* weight) {
        g(0, "LINE"), g(8, layer);
        if (weight) g(370, weight);
        g(10, "0"), g(20, std::to_string(y)), g(30, "0"), g(11, "100000"), g(21, std::to_string(y)), g(31, "0");
    };
    line("0", 0, nullptr);
    line("AXIS", 20000, nullptr);
    line("HEAVY", 40000, nullptr);
    line("0", 60000, "100");
    g(0, "TEXT"), g(8, "0"), g(10, "10000"), g(20, "50000"), g(30, "0"), g(40, "2500"), g(1, "总平面图 Site plan");
    g(0, "ENDSEC"), g(0, "EOF");
    return d.str();
}

// A part of a page in pixels (RGB), as pdftoppm draws it.
struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // 0 for white paper, 1 for full ink of any colour.
    double ink(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        const unsigned char* p = &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
        return 1.0 - std::min({p[0], p[1], p[2]}) / 255.0;
    }
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<std::size_t>(y) * width + x)]; }
};

constexpr double kPxPerMm = 10.0;  // 254 dpi

// The rectangle (millimetres from the page's top left corner) of a PDF's first page.
Raster Rasterise(const fs::path& pdf, double x, double y, double w, double h) {
    const fs::path out = pdf.parent_path() / "crop";
    const auto px = [](double mm) { return std::to_string(static_cast<long>(std::lround(mm * kPxPerMm))); };
    const std::string cmd = "pdftoppm -r 254 -singlefile -x " + px(x) + " -y " + px(y) + " -W " + px(w) + " -H " +
                            px(h) + " '" + pdf.string() + "' '" + out.string() + "' 2>&1";
    int status = -1;
    const std::string said = vorn::test::CommandOutput(cmd, status);
    Raster r;
    if (status != 0) {
        ADD_FAILURE() << cmd << "\n" << said;
        return r;
    }
    std::ifstream in(out.string() + ".ppm", std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> r.width >> r.height >> maxval;
    in.get();
    r.rgb.resize(static_cast<std::size_t>(r.width) * r.height * 3);
    in.read(reinterpret_cast<char*>(r.rgb.data()), static_cast<std::streamsize>(r.rgb.size()));
    EXPECT_EQ(magic, "P6");
    return r;
}

// The runs of ink along row y: their count, and the ends of the first and the last.
struct Runs {
    int count = 0, first = -1, last = -1;
};
Runs InkRuns(const Raster& r, int y) {
    Runs runs;
    bool in = false;
    for (int x = 0; x < r.width; ++x) {
        const bool inked = r.ink(x, y) > 0.3;
        if (inked && !in) ++runs.count;
        if (inked && runs.first < 0) runs.first = x;
        if (inked) runs.last = x;
        in = inked;
    }
    return runs;
}

// The pen's width in millimetres across column x near row y: the ink summed across the line.
double InkWidth(const Raster& r, int x, int y) {
    double sum = 0;
    for (int k = y - 20; k <= y + 20; ++k) sum += r.ink(x, k);
    return sum / kPxPerMm;
}

}  // namespace

// The A1 sheet at 1:500 and 1:1000: the page is A1 in points; each 100 m line measures 100 m at
// the scale; each has the pen of its own weight, its layer's, or the table's for its colour;
// the centre line is dashed (and solid once PSLTSCALE 0 measures its dashes in drawing units);
// colours plot as they are on white, colour 7 black, or all black with --mono.
TEST(Plot, TheSheetMeasuresTrue) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const fs::path dir = WorkDir();
    const fs::path dxf = dir / "lines.dxf";
    std::ofstream(dxf, std::ios::binary) << TestDrawing();
    const std::string dashesScript = (dir / "drawing-dashes.scr").string();
    std::ofstream(dashesScript) << "SETVAR\nPSLTSCALE\n0\n";
    struct Case {
        const char* name;
        double scale;
        const char* extra;
        int minDashes, maxDashes;  // separate runs of the centre line
        bool mono;
    };
    const Case cases[] = {
        {"500", 500, "", 6, 10, false},
        {"1000", 1000, "", 3, 6, false},
        {"mono", 500, " --mono", 6, 10, true},
        {"drawing-dashes", 500, "", 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path pdf = dir / (std::string(c.name) + ".pdf");
        int status = -1;
        const std::string script = c.maxDashes == 1 ? dashesScript : "/dev/null";
        const std::string said = Vorncad("'" + dxf.string() + "' -s '" + script + "' --plot '" + pdf.string() +
                                             "' --sheet A1 --plot-scale 1:" + std::to_string(static_cast<int>(c.scale)) +
                                             c.extra,
                                         status);
        ASSERT_EQ(status, 0) << said;
        const std::string info = vorn::test::CommandOutput("pdfinfo '" + pdf.string() + "'");
        double w = 0, h = 0;
        ASSERT_EQ(std::sscanf(info.substr(info.find("Page size:")).c_str(), "Page size: %lf x %lf", &w, &h), 2) << info;
        EXPECT_NEAR(w, 2384, 1);
        EXPECT_NEAR(h, 1684, 1);

        // The 100 m x 60 m drawing centred on the 841 x 594 mm sheet.
        const double drawn = 100000 / c.scale, left = (841 - drawn) / 2, top = (594 - 60000 / c.scale) / 2;
        const Raster r = Rasterise(pdf, left - 5, top - 5, drawn + 10, 60000 / c.scale + 10);
        ASSERT_GT(r.width, 0);
        const auto row = [&](double y) { return static_cast<int>(std::lround((5 + (60000 - y) / c.scale) * kPxPerMm)); };
        struct Line {
            double y, weight;
        };
        for (const Line& l : {Line{0, 0.35}, Line{20000, 0.18}, Line{40000, 0.70}, Line{60000, 1.00}}) {
            SCOPED_TRACE("line at y " + std::to_string(static_cast<int>(l.y)));
            const Runs runs = InkRuns(r, row(l.y));
            ASSERT_GE(runs.count, 1);
            // Five millimetres in from the start: inside the centre line's first long dash.
            EXPECT_NEAR(InkWidth(r, static_cast<int>(10 * kPxPerMm), row(l.y)), l.weight, 0.06);
            if (l.y == 20000) {
                EXPECT_GE(runs.count, c.minDashes);
                EXPECT_LE(runs.count, c.maxDashes);
                const unsigned char* p = r.at(static_cast<int>(10 * kPxPerMm), row(l.y));
                if (c.mono) EXPECT_TRUE(p[0] < 100 && p[1] < 100 && p[2] < 100);
                else EXPECT_TRUE(p[0] > 200 && p[1] < 120 && p[2] < 120) << int(p[0]) << "," << int(p[1]);
                continue;
            }
            EXPECT_EQ(runs.count, 1);
            // End to end the line and its pen's round ends: 100 m at the scale, plus the pen.
            EXPECT_NEAR((runs.last - runs.first + 1) / kPxPerMm, drawn + l.weight, 0.25);
        }
        // Colour 7 plots black, the sheet around it white.
        const unsigned char* seven = r.at(static_cast<int>(10 * kPxPerMm), row(0));
        EXPECT_TRUE(seven[0] < 100 && seven[1] < 100 && seven[2] < 100);
        const unsigned char* paper = r.at(2, 2);
        EXPECT_TRUE(paper[0] == 255 && paper[1] == 255 && paper[2] == 255);

        const std::string text = vorn::test::CommandOutput("pdftotext '" + pdf.string() + "' -");
        EXPECT_NE(text.find("总平面图 Site plan"), std::string::npos) << text;
    }
}

// PLOT's prompts in a script: without a window there is no current view to plot, and the
// keyword is refused (the line counted, exit status 3) while the prompt stays for a window by
// two corners; the sheet answered is the PDF's page.
TEST(Plot, ThePromptsRefuseTheCurrentViewWithoutAWindow) {
    if (!HavePoppler()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    const fs::path dir = WorkDir();
    const fs::path dxf = dir / "lines.dxf", pdf = dir / "window.pdf", script = dir / "plot.scr";
    std::ofstream(dxf, std::ios::binary) << TestDrawing();
    fs::remove(pdf);
    std::ofstream(script) << "PLOT\nA4P\n1:1000\nView\nWindow\n0,0\n50000,50000\n\n\n\n" << pdf.string() << "\n";
    int status = -1;
    const std::string said = Vorncad("'" + dxf.string() + "' -s '" + script.string() + "'", status);
    EXPECT_EQ(status, 3) << said;
    EXPECT_NE(said.find("There is no window whose view could be plotted"), std::string::npos) << said;
    EXPECT_NE(said.find("Plotted on A4P (210 x 297 mm) at 1:1000"), std::string::npos) << said;
    const std::string info = vorn::test::CommandOutput("pdfinfo '" + pdf.string() + "' 2>&1");
    double w = 0, h = 0;
    ASSERT_NE(info.find("Page size:"), std::string::npos) << info;
    ASSERT_EQ(std::sscanf(info.substr(info.find("Page size:")).c_str(), "Page size: %lf x %lf", &w, &h), 2) << info;
    EXPECT_NEAR(w, 595.3, 1);
    EXPECT_NEAR(h, 841.9, 1);
}

// A plot that cannot be written exits with 1 and says why, and the file that was there stays
// as it was; a plot that cannot be set up is a bad option (2) before anything runs.
TEST(Plot, APlotThatCannotBeWrittenKeepsTheOldFile) {
    const fs::path dir = WorkDir();
    const fs::path old = dir / "old.png";
    std::ofstream(old) << "the plot of yesterday";
    fs::remove_all(dir / "taken.pdf");
    fs::create_directories(dir / "taken.pdf");  // a folder where the file should go: the rename fails
    std::ofstream(dir / "bad-style.json") << R"({"colours": {"7": -1}})";
    struct Case {
        std::string args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"--plot '" + (dir / "no/such/folder/p.pdf").string() + "'", 1, "No such file or directory"},
        {"--plot '" + old.string() + "' --sheet 5000x5000", 1, "plot it as a PDF"},
        {"--plot '" + (dir / "taken.pdf").string() + "'", 1, "cannot write"},
        {"--plot '" + old.string() + "' --sheet B5", 2, "expected A0 to A4"},
        {"--plot '" + old.string() + "' --plot-scale 500", 2, "expected 1:N such as 1:500"},
        {"--plot '" + old.string() + "' --plot-style '" + (dir / "bad-style.json").string() + "'", 2,
         "the weight of colour 7 is -1; expected a line weight in millimetres"},
        {"--sheet A1", 2, "give --plot FILE as well"},
        {"--plot p.dwg", 2, "expects a file name ending in .pdf, .png or .svg"},
    };
    for (const Case& c : cases) {
        int status = -1;
        const std::string said = Vorncad("-s /dev/null " + c.args, status);
        EXPECT_EQ(status, c.status) << c.args << "\n" << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << c.args << "\n" << said;
        EXPECT_EQ(ReadFile(old), "the plot of yesterday") << c.args;
    }
    EXPECT_TRUE(fs::is_directory(dir / "taken.pdf"));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}
