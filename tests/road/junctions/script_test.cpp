// vorncad draws roads across, into and out of existing roads from scripts; the saved drawing
// holds exactly the expected pieces, and every fillet arc runs on tangentially into its lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <regex>
#include <sstream>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command, int& status) { return vorn::test::CommandOutput(command, status); }

// The script in a metre drawing: every coordinate and every size typed into the road dialog
// divided by 1000.
std::string InMetres(const std::string& script) {
    static const std::regex point(R"(^(~?)(-?[0-9.]+),(-?[0-9.]+)$)"), size(R"(^@edit (2005|2006|2010) (.+)$)");
    const auto metres = [](const std::string& mm) {
        std::ostringstream out;
        out << std::setprecision(17) << std::stod(mm) / 1000.0;
        return out.str();
    };
    std::istringstream in(script);
    std::string out = "SETVAR\nDRAWUNIT\n1\n", line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_match(line, m, point))
            line = m[1].str() + metres(m[2]) + "," + metres(m[3]);
        else if (std::regex_match(line, m, size))
            line = "@edit " + m[1].str() + " " + metres(m[2]);
        out += line + "\n";
    }
    return out;
}

// Runs scripts/<name>.scr with a settings file of its own, in millimetres or (metres) in a metre
// drawing; the pieces of the saved drawing, in millimetres. Runs with their own tag write files
// of their own, so that tests running at once do not share them.
std::string Pieces(const std::string& name, bool metres = false, const std::string& tag = "",
                   std::string* transcript = nullptr) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "road" / "junctions";
    fs::create_directories(dir);
    const std::string run = name + tag + (metres ? "-m" : "");
    const fs::path dxf = dir / (run + ".dxf"), settings = dir / (run + ".json");
    fs::remove(dxf);
    fs::remove(settings);
    const std::string src = std::string(VORN_SOURCE_DIR) + "/tests/road/junctions/";
    fs::path script = src + "scripts/" + name + ".scr";
    if (metres) {
        std::ifstream in(script);
        std::stringstream text;
        text << in.rdbuf();
        script = dir / (run + ".scr");
        std::ofstream(script) << InMetres(text.str());
    }
    int status = -1;
    const std::string out = Output("'" + std::string(VORNCAD) + "' -s '" + script.string() + "' --settings '" +
                                       settings.string() + "' -o '" + dxf.string() + "' 2>&1",
                                   status);
    EXPECT_EQ(status, 0) << out;
    if (transcript) *transcript = out;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    const std::string pieces = Output("/usr/bin/python3 '" + src + "dxfpieces.py' '" + dxf.string() + "'" +
                                          (metres ? " 1000" : ""),
                                      status);
    EXPECT_EQ(status, 0) << pieces;
    return pieces;
}

// scripts/<name>.scr with the dialog's fillet style (style "radius": same radius; "off": no
// fillets) clicked in once the road command is up, in millimetres or metres; the drawing checked
// against the pavement the script asks for (pavement.py), and the transcript.
std::string Checked(const std::string& name, const std::string& style, bool metres, std::string& said) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "road" / "junctions";
    fs::create_directories(dir);
    const std::string run = "checked-" + name + "-" + style + (metres ? "-m" : "");
    const fs::path dxf = dir / (run + ".dxf"), settings = dir / (run + ".json"), script = dir / (run + ".scr");
    fs::remove(dxf);
    fs::remove(settings);
    const std::string src = std::string(VORN_SOURCE_DIR) + "/tests/road/junctions/";
    std::ifstream in(src + "scripts/" + name + ".scr");
    std::stringstream text;
    text << in.rdbuf();
    std::string body = text.str();
    const std::string click = style == "radius" ? "@click 2019\n" : style == "off" ? "@click 2020\n" : "";
    const size_t command = body.find("KyDrawRoad\n");
    if (command != std::string::npos) body.insert(command + 11, click);
    std::ofstream(script) << (metres ? InMetres(body) : body);
    int status = -1;
    said = Output("'" + std::string(VORNCAD) + "' -s '" + script.string() + "' --settings '" + settings.string() +
                      "' -o '" + dxf.string() + "' 2>&1",
                  status);
    EXPECT_EQ(status, 0) << said;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
    // The pavement comes from the script in millimetres, with the style clicked in.
    const fs::path mm = dir / (run + "-mm.scr");
    std::ofstream(mm) << body;
    return Output("/usr/bin/python3 '" + src + "pavement.py' '" + mm.string() + "' '" + dxf.string() + "'" +
                      (metres ? " 1000" : ""),
                  status);
}

}  // namespace

TEST(RoadJunctionScript, EveryJunctionComesOutOpenCleanAndRoundedOrSaysWhy) {
    // Each scenario in a fillet style and unit: the checker finds no crossing or doubled edge,
    // no edge inside the pavement or ending there, every side of it edged, every fillet tangent
    // at the radius asked for, every centre line reaching its road's end or another centre line.
    // A road the command refuses or draws plain is marked so in its script and named here.
    struct Case {
        const char* name;
        const char* style;  // "centre", "radius" or "off"
        bool metres;
        const char* said;  // a line the command must print, or ""
    };
    const char* kSharp = "的圆角在此放不下（道路相距太近或路段太短）。\n";
    const Case cases[] = {
        {"crossing", "centre", false, ""},
        {"crossing", "radius", true, ""},
        {"crossing", "off", false, ""},
        {"tee", "centre", true, ""},
        {"tee", "off", false, ""},
        {"bend", "radius", false, ""},
        {"bend", "off", true, ""},
        {"loop", "centre", true, ""},
        {"loop", "radius", false, ""},
        {"crossleft", "centre", false, ""},
        {"arcbend", "centre", false, ""},
        {"arcstem", "centre", true, ""},
        {"arcloop", "radius", false, ""},
        {"meet", "centre", false, ""},
        {"meet", "radius", true, ""},
        {"meet", "off", false, ""},
        {"faredge", "centre", true, ""},
        {"faredge", "off", false, ""},
        {"short", "centre", false, "此段道路未绘制：路段长50.00，短于道路宽度4000.00；"},
        {"short", "radius", true, "此段道路未绘制：路段长0.60，短于道路宽度4.00；"},
        {"overlap", "centre", false, "此段道路未绘制：它在(12000.00,2000.00)沿已有道路画出，与之重叠；"},
        {"overlap", "off", true, "此段道路未绘制：它在(12.00,2.00)沿已有道路画出，与之重叠；"},
        {"through", "centre", false, ""},
        {"through", "radius", true, ""},
        {"throughsharp", "centre", true, ""},
        {"fivearms", "centre", false, ""},
        {"fivearms", "off", true, ""},
        {"sixarms", "centre", false, ""},
        {"sixarms", "radius", true, kSharp},
        {"twojunctions", "centre", false, kSharp},
        {"twojunctions", "off", true, ""},
        {"bendacross", "centre", false, kSharp},
        {"bendacross", "radius", true, ""},
        {"bendcorner", "centre", true, ""},
        {"bendcorner", "radius", false, ""},
        {"teemouth", "off", false, ""},
        {"teemouth", "radius", true, kSharp},
        {"arcends", "centre", false, kSharp},
        {"arcends", "off", true, ""},
        {"teearc", "centre", false, kSharp},
        {"teearc", "radius", true, kSharp},
        {"teearcend", "radius", true, ""},
        {"teearcend", "off", false, ""},
        {"hairpin", "centre", false, "此段道路未绘制：它在(40000.00,0.00)折回171度，超过150度，两段路面互相重叠；"},
        {"hairpin", "off", true, "此段道路未绘制：它在(40.00,-20.00)折回174度，"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.style + (c.metres ? " in metres" : ""));
        std::string said;
        EXPECT_EQ(Checked(c.name, c.style, c.metres, said), "ok\n");
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

TEST(RoadJunctionScript, ACrossingKeepsFourPiecesPerRoadAndFilletsTheFourCorners) {
    EXPECT_EQ(Pieces("crossing"),
              "ARC PLAN-ROAD 17000,-7000 r=5000\n"
              "ARC PLAN-ROAD 17000,7000 r=5000\n"
              "ARC PLAN-ROAD 3000,-7000 r=5000\n"
              "ARC PLAN-ROAD 3000,7000 r=5000\n"
              "LINE PLAN-ROAD 0,-2000 3000,-2000\n"
              "LINE PLAN-ROAD 0,2000 3000,2000\n"
              "LINE PLAN-ROAD 12000,-20000 12000,-7000\n"
              "LINE PLAN-ROAD 12000,7000 12000,20000\n"
              "LINE PLAN-ROAD 17000,-2000 20000,-2000\n"
              "LINE PLAN-ROAD 17000,2000 20000,2000\n"
              "LINE PLAN-ROAD 8000,-20000 8000,-7000\n"
              "LINE PLAN-ROAD 8000,7000 8000,20000\n"
              "LINE PLAN-ROAD_CENTER 0,0 20000,0\n"
              "LINE PLAN-ROAD_CENTER 10000,-20000 10000,20000\n"
              "tangent\n");
}

TEST(RoadJunctionScript, TeesOpenTheThroughRoadAndEndTheStemOnItsNearEdge) {
    // Left: the new road starts inside the first road; right: the existing road ends inside the
    // new one. Each far edge stays whole, each stem ends on the near edge, both corners filleted.
    EXPECT_EQ(Pieces("tee"),
              "ARC PLAN-ROAD 17000,7000 r=5000\n"
              "ARC PLAN-ROAD 3000,7000 r=5000\n"
              "ARC PLAN-ROAD 33000,7000 r=5000\n"
              "ARC PLAN-ROAD 47000,7000 r=5000\n"
              "LINE PLAN-ROAD 0,-2000 20000,-2000\n"
              "LINE PLAN-ROAD 0,2000 3000,2000\n"
              "LINE PLAN-ROAD 12000,7000 12000,12000\n"
              "LINE PLAN-ROAD 17000,2000 20000,2000\n"
              "LINE PLAN-ROAD 30000,-2000 50000,-2000\n"
              "LINE PLAN-ROAD 30000,2000 33000,2000\n"
              "LINE PLAN-ROAD 38000,7000 38000,12000\n"
              "LINE PLAN-ROAD 42000,7000 42000,12000\n"
              "LINE PLAN-ROAD 47000,2000 50000,2000\n"
              "LINE PLAN-ROAD 8000,7000 8000,12000\n"
              "LINE PLAN-ROAD_CENTER 0,0 20000,0\n"
              "LINE PLAN-ROAD_CENTER 10000,500 10000,12000\n"
              "LINE PLAN-ROAD_CENTER 30000,0 50000,0\n"
              "LINE PLAN-ROAD_CENTER 40000,-500 40000,12000\n"
              "tangent\n");
}

TEST(RoadJunctionScript, ABendIsConcentricInTheSameCentreStyleAndEqualInTheSameRadiusStyle) {
    EXPECT_EQ(Pieces("bend"),
              "ARC PLAN-ROAD 13000,7000 r=5000\n"
              "ARC PLAN-ROAD 13000,7000 r=9000\n"
              "ARC PLAN-ROAD_CENTER 13000,7000 r=7000\n"
              "LINE PLAN-ROAD 0,-2000 13000,-2000\n"
              "LINE PLAN-ROAD 0,2000 13000,2000\n"
              "LINE PLAN-ROAD 18000,7000 18000,20000\n"
              "LINE PLAN-ROAD 22000,7000 22000,20000\n"
              "LINE PLAN-ROAD_CENTER 0,0 13000,0\n"
              "LINE PLAN-ROAD_CENTER 20000,7000 20000,20000\n"
              "tangent\n");
    EXPECT_EQ(Pieces("bendradius"),
              "ARC PLAN-ROAD 13000,7000 r=5000\n"
              "ARC PLAN-ROAD 17000,3000 r=5000\n"
              "ARC PLAN-ROAD_CENTER 15000,5000 r=5000\n"
              "LINE PLAN-ROAD 0,-2000 17000,-2000\n"
              "LINE PLAN-ROAD 0,2000 13000,2000\n"
              "LINE PLAN-ROAD 18000,7000 18000,20000\n"
              "LINE PLAN-ROAD 22000,3000 22000,20000\n"
              "LINE PLAN-ROAD_CENTER 0,0 15000,0\n"
              "LINE PLAN-ROAD_CENTER 20000,5000 20000,20000\n"
              "tangent\n");
}

TEST(RoadJunctionScript, AnArcRoadLeavingAndRejoiningAStraightRoadOpensBothTees) {
    // The straight road's near edge y = 28000 keeps its three pieces outside the two mouths; the
    // far edge stays whole; the four corners, two of them between the near edge and the inner
    // arc, are each filleted once.
    EXPECT_EQ(Pieces("arcloop"),
              "ARC PLAN-ROAD 115083,23000 r=5000\n"
              "ARC PLAN-ROAD 54916.8,23000 r=5000\n"
              "ARC PLAN-ROAD 71306.9,23000 r=5000\n"
              "ARC PLAN-ROAD 85000,35625 r=23625\n"
              "ARC PLAN-ROAD 85000,35625 r=27625\n"
              "ARC PLAN-ROAD 98693.1,23000 r=5000\n"
              "ARC PLAN-ROAD_CENTER 85000,35625 r=25625\n"
              "LINE PLAN-ROAD -8000,28000 54916.8,28000\n"
              "LINE PLAN-ROAD -8000,32000 128000,32000\n"
              "LINE PLAN-ROAD 115083,28000 128000,28000\n"
              "LINE PLAN-ROAD 71306.9,28000 98693.1,28000\n"
              "LINE PLAN-ROAD_CENTER -8000,30000 128000,30000\n"
              "tangent\n");
}

TEST(RoadJunctionScript, AStubTooShortForTheRadiusKeepsItsLengthAndItsCorners) {
    std::string said;
    EXPECT_EQ(Pieces("arcstub", false, "", &said),
              "ARC PLAN-ROAD 23000,-26374.8 r=5000\n"
              "ARC PLAN-ROAD 30000,12500 r=30500\n"
              "ARC PLAN-ROAD 30000,12500 r=30500\n"
              "ARC PLAN-ROAD 30000,12500 r=34500\n"
              "ARC PLAN-ROAD 30000,12500 r=34500\n"
              "ARC PLAN-ROAD 37000,-26374.8 r=5000\n"
              "ARC PLAN-ROAD_CENTER 30000,12500 r=32500\n"
              "LINE PLAN-ROAD 28000,-17934.4 28000,-13000\n"
              "LINE PLAN-ROAD 28000,-40000 28000,-26374.8\n"
              "LINE PLAN-ROAD 32000,-17934.4 32000,-13000\n"
              "LINE PLAN-ROAD 32000,-40000 32000,-26374.8\n"
              "LINE PLAN-ROAD_CENTER 30000,-40000 30000,-13000\n"
              "2 arc ends not tangent\n");
    // Each corner left sharp is named on a line of its own with the reason.
    for (const char* corner : {"(28000.00,-17934.36)", "(32000.00,-17934.36)"})
        EXPECT_NE(said.find(std::string("\n道路转角") + corner +
                            "保持尖角：半径5000.00的圆角在此放不下（道路相距太近或路段太短）。\n"),
                  std::string::npos)
            << said;
    EXPECT_EQ(said.find("No fillet of radius"), std::string::npos) << said;
}

TEST(RoadJunctionScript, AnArcBendIsConcentricOrEqualAsAStraightOne) {
    // Out of the end of y = 0 into a quarter circle about 40000,0 turning left: the fillets run
    // on into the arc edges (r 18000 and 22000) as into lines.
    EXPECT_EQ(Pieces("arcbend"),
              "ARC PLAN-ROAD 13923.2,7000 r=5000\n"
              "ARC PLAN-ROAD 13923.2,7000 r=9000\n"
              "ARC PLAN-ROAD 40000,0 r=18000\n"
              "ARC PLAN-ROAD 40000,0 r=22000\n"
              "ARC PLAN-ROAD_CENTER 13923.2,7000 r=7000\n"
              "ARC PLAN-ROAD_CENTER 40000,0 r=20000\n"
              "LINE PLAN-ROAD 0,-2000 13923.2,-2000\n"
              "LINE PLAN-ROAD 0,2000 13923.2,2000\n"
              "LINE PLAN-ROAD_CENTER 0,0 13923.2,0\n"
              "tangent\n");
    EXPECT_EQ(Pieces("arcbendradius"),
              "ARC PLAN-ROAD 13923.2,7000 r=5000\n"
              "ARC PLAN-ROAD 17196.5,3000 r=5000\n"
              "ARC PLAN-ROAD 40000,0 r=18000\n"
              "ARC PLAN-ROAD 40000,0 r=22000\n"
              "ARC PLAN-ROAD_CENTER 15505.1,5000 r=5000\n"
              "ARC PLAN-ROAD_CENTER 40000,0 r=20000\n"
              "LINE PLAN-ROAD 0,-2000 17196.5,-2000\n"
              "LINE PLAN-ROAD 0,2000 13923.2,2000\n"
              "LINE PLAN-ROAD_CENTER 0,0 15505.1,0\n"
              "tangent\n");
}

TEST(RoadJunctionScript, OneUndoAfterTheCommandBringsTheCrossedRoadBackWhole) {
    EXPECT_EQ(Pieces("undo"),
              "LINE PLAN-ROAD 0,-2000 20000,-2000\n"
              "LINE PLAN-ROAD 0,2000 20000,2000\n"
              "LINE PLAN-ROAD_CENTER 0,0 20000,0\n"
              "tangent\n");
}

TEST(RoadJunctionScript, TheClosingCornerOfALoopAndAGentleArcBendAreConcentricAsEveryBend) {
    // Four corners alike: edge arcs of 5000 and 9000 and a centre-line arc of 7000 about one centre.
    const std::string loop = Pieces("loop");
    for (const char* centre : {"7000,7000", "33000,7000", "7000,33000", "33000,33000"})
        EXPECT_NE(loop.find(std::string("ARC PLAN-ROAD ") + centre + " r=5000\nARC PLAN-ROAD " + centre +
                            " r=9000\n"),
                  std::string::npos)
            << centre << "\n" << loop;
    EXPECT_EQ(std::count(loop.begin(), loop.end(), '\n'), 25) << loop;  // 12 arcs, 12 lines, "tangent"
    EXPECT_NE(loop.find("ARC PLAN-ROAD_CENTER 7000,7000 r=7000\n"), std::string::npos) << loop;
    EXPECT_NE(loop.find("tangent\n"), std::string::npos) << loop;
    // The bend's outer edge gets R plus the width although the inner arc's circle never meets
    // the straight road's outer edge; KyRoadFillet rounds the same sharp bend alike.
    const std::string bend = Pieces("arcgentle");
    EXPECT_EQ(bend,
              "ARC PLAN-ROAD 45015.7,37087.4 r=38000\n"
              "ARC PLAN-ROAD 45015.7,37087.4 r=42000\n"
              "ARC PLAN-ROAD 58571.2,7000 r=5000\n"
              "ARC PLAN-ROAD 58571.2,7000 r=9000\n"
              "ARC PLAN-ROAD_CENTER 45015.7,37087.4 r=40000\n"
              "ARC PLAN-ROAD_CENTER 58571.2,7000 r=7000\n"
              "LINE PLAN-ROAD 0,-2000 58571.2,-2000\n"
              "LINE PLAN-ROAD 0,2000 58571.2,2000\n"
              "LINE PLAN-ROAD_CENTER 0,0 58571.2,0\n"
              "tangent\n");
    EXPECT_EQ(Pieces("arcgentlefillet"), bend);
}

TEST(RoadJunctionScript, AJunctionThatCannotBeBuiltIsNamedAndTheRoadDrawnPlain) {
    std::string said;
    EXPECT_EQ(Pieces("stray", false, "", &said),
              "LINE PLAN-ROAD -10000,-2000 10000,-2000\n"
              "LINE PLAN-ROAD -10000,2000 10000,2000\n"
              "LINE PLAN-ROAD 0,-10000 0,10000\n"
              "LINE PLAN-ROAD_CENTER -10000,0 10000,0\n"
              "tangent\n");
    EXPECT_NE(said.find("\n道路路口(0.00,2000.00)未能打开：被交道路的另一条边线找不到；此段道路按原样画出，未开任何路口。\n"),
              std::string::npos)
        << said;
}

TEST(RoadJunctionScript, AMetreDrawingComesOutAsTheSameDrawingInMillimetres) {
    // Every junction kind above, and an arc stem ending 240 mm inside an arc road: tolerances and
    // reaches follow the drawing's unit.
    for (const char* name : {"crossing", "tee", "bend", "bendradius", "arcbend", "arcstub", "arcloop", "arcstem",
                             "loop", "arcgentle", "arcgentlefillet", "stray"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Pieces(name, true, "-unit"), Pieces(name, false, "-unit"));
    }
}
