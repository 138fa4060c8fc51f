// The road command from scripts, as a user drives it: prompts and keywords by point count,
// the dialog's values and reactions, entities on the road layers, undo, restored variables.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

#include "frame/VornFrame.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbarc.h"
#include "host/db/dbcolor.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "framework/select/KyPtSysVar.h"
#include "host/mfc/resources.h"
#include "host/ui/dialogevents.h"
#include "road/roadpreview.h"
#include "road/roadsettings.h"
#include "tests/host/ed/session.h"

namespace {

struct Seen {
    std::wstring layer;
    bool arc = false;
    AcGePoint3d start, end, centre;
    double radius = 0;
};

int g_appId = 0;

class RoadCommand : public ::testing::Test {
protected:
    void SetUp() override {
        m_db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        // The memory of earlier runs in this process is not part of a case.
        g_dRoadLeftWidth = g_dRoadRightWidth = 2000;
        g_dRoadFilletRadius = 5000;
        g_bRoadCenterLine = g_bRoadFillet = 1;
        g_nRoadFilletStyle = g_nRoadPosLine = 0;
    }
    void TearDown() override {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    // Runs the script at the Command: prompt with the module loaded; the transcript.
    // before runs inside the session once the loop has ended, while its variables still stand.
    std::string Run(const std::string& script, const std::function<void()>& before = nullptr) {
        vorn::ed::test::Session s(script);
        VornFrameAttach(vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing"),
                        L"VornGeneralDrawing.arx");
        VornFrameEntryPoint(AcRx::kInitAppMsg, &g_appId);
        vorn::ed::RunCommandLoop();
        if (before) before();
        VornFrameEntryPoint(AcRx::kUnloadAppMsg, &g_appId);
        return s.Out();
    }
    std::vector<Seen> Entities() const {
        std::vector<Seen> all;
        for (const AcDbObjectId& id : m_db->modelSpaceIds()) {
            const auto* e = AcDbEntity::cast(m_db->peekObject(id));
            if (!e) continue;
            Seen s;
            s.layer = e->layer();
            if (const auto* l = AcDbLine::cast(e)) {
                s.start = l->startPoint();
                s.end = l->endPoint();
            } else if (const auto* a = AcDbArc::cast(e)) {
                s.arc = true;
                s.centre = a->center();
                s.radius = a->radius();
            }
            all.push_back(s);
        }
        return all;
    }
    int Count(const wchar_t* layer) const {
        int n = 0;
        for (const Seen& s : Entities()) n += s.layer == layer;
        return n;
    }
    // A line on the layer from a to b (either way round).
    bool HasLine(const wchar_t* layer, double ax, double ay, double bx, double by) const {
        const auto near = [](const AcGePoint3d& p, double x, double y) {
            return std::fabs(p.x - x) < 1e-6 && std::fabs(p.y - y) < 1e-6;
        };
        for (const Seen& s : Entities())
            if (s.layer == layer && !s.arc &&
                ((near(s.start, ax, ay) && near(s.end, bx, by)) ||
                 (near(s.start, bx, by) && near(s.end, ax, ay))))
                return true;
        return false;
    }
    std::unique_ptr<AcDbDatabase> m_db;
};

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

}  // namespace

TEST_F(RoadCommand, TheDialogOpensWithTheSettingsAndGreysTheFilletControls) {
    const std::string out = Run("KyDrawRoad\n@show\n@click 2020\n@show\n@close\n");
    EXPECT_TRUE(Has(out, "2005 edit \"2000.00\"\n"));
    EXPECT_TRUE(Has(out, "2006 edit \"2000.00\"\n"));
    EXPECT_TRUE(Has(out, "2010 edit \"5000.00\"\n"));
    EXPECT_TRUE(Has(out, "2007 check \"道路中心线\" [checked]\n"));
    EXPECT_TRUE(Has(out, "2020 check \"道路倒角\" [checked]\n"));
    EXPECT_TRUE(Has(out, "2018 radio \"同圆心\" [checked]\n"));
    EXPECT_TRUE(Has(out, "2015 radio \"基线\" [checked]\n"));
    for (const char* line : {"2018 radio \"同圆心\" [checked] [disabled]\n",
                             "2019 radio \"同半径\" [disabled]\n", "2021 static \"倒角半径：\" [disabled]\n",
                             "2010 edit \"5000.00\" [disabled]\n"})
        EXPECT_TRUE(Has(out, line)) << line;
    // The close box ended the command: the next line was read at Command:.
    EXPECT_EQ(g_bRoadFillet, 0);
    EXPECT_TRUE(Entities().empty());
}

TEST_F(RoadCommand, KeywordsGrowWithThePointsAndEachSegmentIsWrittenAtOnce) {
    g_bRoadFillet = 0;  // the corners between segments stay sharp, so each edge's ends are known
    const std::string out = Run("KyDrawRoad\n0,0\n10000,0\n10000,10000\n0,10000\nC\n\n");
    EXPECT_TRUE(Has(out, "请点取道路的下一点或 [弧道路(A)]<退出>:10000,0"));
    EXPECT_TRUE(Has(out, "请点取道路的下一点或 [弧道路(A)/回退(U)]<退出>:10000,10000"));
    EXPECT_TRUE(Has(out, "请点取道路的下一点或 [弧道路(A)/回退(U)/闭合(C)]<退出>:0,10000"));
    // "C" closed the road and ended it: the start-point prompt came back.
    EXPECT_TRUE(Has(out, "闭合(C)]<退出>:C\n请点取道路起点<退出>:"));
    EXPECT_EQ(Count(L"PLAN-ROAD"), 8);
    EXPECT_EQ(Count(L"PLAN-ROAD_CENTER"), 4);
    // Each corner trims the inner edges to their crossing and extends the outer ones to theirs.
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", 2000, 2000, 8000, 2000));
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", -2000, -2000, 12000, -2000));
    EXPECT_TRUE(HasLine(L"PLAN-ROAD_CENTER", 0, 10000, 0, 0));  // the closing segment
}

TEST_F(RoadCommand, PositioningAndCentreLineOptionChosenInTheDialogCountFromTheNextSegment) {
    g_bRoadFillet = 0;
    Run("KyDrawRoad\n0,0\n@click 2016\n@click 2007\n~5000,0\n10000,0\n@click 2017\n10000,10000\n\n\n");
    // Left edge picked: the centre would run along y = -2000 and the right edge along -4000.
    // The two segments make a sharp corner: inner edges meet at (6000,0), outer at (10000,-4000).
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", 0, 0, 6000, 0));
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", 0, -4000, 10000, -4000));
    // Right edge picked going up x = 10000: the left edge lies 4000 further left.
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", 10000, -4000, 10000, 10000));
    EXPECT_TRUE(HasLine(L"PLAN-ROAD", 6000, 0, 6000, 10000));
    EXPECT_EQ(Count(L"PLAN-ROAD_CENTER"), 0);
    EXPECT_EQ(Count(L"PLAN-ROAD"), 4);
}

TEST_F(RoadCommand, UndoTakesTheLastSegmentAwayAndTheRoadGoesOn) {
    const std::string out = Run("KyDrawRoad\n0,0\n10000,0\n20000,0\nU\n10000,5000\n\n\n");
    EXPECT_TRUE(Has(out, "闭合(C)]<退出>:U\n请点取道路的下一点或 [弧道路(A)/回退(U)]<退出>:"));
    EXPECT_EQ(Count(L"PLAN-ROAD"), 4);
    EXPECT_FALSE(HasLine(L"PLAN-ROAD_CENTER", 10000, 0, 20000, 0));
    EXPECT_TRUE(HasLine(L"PLAN-ROAD_CENTER", 10000, 0, 10000, 5000));
}

TEST_F(RoadCommand, ArcsGoThroughThreePointsAndASwitchWithoutAPointDrawsNothing) {
    const std::string out =
        Run("KyDrawRoad\n0,0\nA\nL\nA\n10000,0\n~5000,3000\n5000,5000\nU\n\n\n");
    EXPECT_TRUE(Has(out, "请点取弧道路的下一点或 [直道路(L)]<退出>:L\n请点取道路的下一点或 [弧道路(A)]<退出>:"));
    EXPECT_TRUE(Has(out, "圆弧道路的中间点<退出>：5000,5000"));
    EXPECT_TRUE(Has(out, "请点取道路的下一点或 [直道路(L)/回退(U)]<退出>:U"));
    // "U" in arc mode took the arc away again.
    EXPECT_TRUE(Entities().empty());

    Run("KyDrawRoad\n0,0\nA\n10000,0\n5000,5000\n\n\n");
    std::vector<double> radii;
    for (const Seen& s : Entities()) {
        ASSERT_TRUE(s.arc);
        EXPECT_NEAR(s.centre.x, 5000, 1e-6);
        EXPECT_NEAR(s.centre.y, 0, 1e-6);
        radii.push_back(s.radius);
    }
    ASSERT_EQ(radii.size(), 3u);
    EXPECT_NEAR(radii[0], 7000, 1e-6);  // left of a clockwise arc: outside
    EXPECT_NEAR(radii[1], 3000, 1e-6);
    EXPECT_NEAR(radii[2], 5000, 1e-6);
}

TEST_F(RoadCommand, AnArcTooTightForTheWidthIsReportedAndTheRoadGoesOn) {
    const std::string out = Run("KyDrawRoad\n@edit 2006 6000\n0,0\nA\n10000,0\n5000,5000\nL\n10000,-10000\n\n\n");
    EXPECT_TRUE(Has(out, "此段道路未绘制"));
    // The arc point still counts: the straight segment starts at its end.
    EXPECT_TRUE(HasLine(L"PLAN-ROAD_CENTER", 10000, 0, 10000, -10000));
    EXPECT_EQ(Count(L"PLAN-ROAD"), 2);
}

TEST_F(RoadCommand, MetreDrawingsShowAndKeepTheSizesInMetres) {
    std::string out = Run("SETVAR\nDRAWUNIT\n1\nKyDrawRoad\n@show\n@edit 2005 3.5\n\n");
    EXPECT_TRUE(Has(out, "2005 edit \"2.00\"\n"));
    EXPECT_TRUE(Has(out, "2010 edit \"5.00\"\n"));
    EXPECT_DOUBLE_EQ(g_dRoadLeftWidth, 3500);
    out = Run("KyDrawRoad\n@show\n\n");
    EXPECT_TRUE(Has(out, "2005 edit \"3.50\"\n"));
}

TEST_F(RoadCommand, SizesThatAreNoUsableNumberAreRefusedAndTheLastGoodValueComesBack) {
    struct Case {
        const char* edit;
        const char* message;
        const char* shown;  // the field after the refusal
    };
    const Case cases[] = {
        {"2005 0", "左宽\"0\"不可用，应为大于0且不超过1e12的数值；仍用2000.00。", "2005 edit \"2000.00\""},
        {"2006 -3000", "右宽\"-3000\"不可用，应为大于0且不超过1e12的数值；仍用2000.00。", "2006 edit \"2000.00\""},
        {"2005 abc", "左宽\"abc\"不可用", "2005 edit \"2000.00\""},
        {"2006 1e999", "右宽\"1e999\"不可用", "2006 edit \"2000.00\""},
        {"2010 -1", "倒角半径\"-1\"不可用，应为不小于0且不超过1e12的数值；仍用5000.00。", "2010 edit \"5000.00\""},
        {"2010 5m", "倒角半径\"5m\"不可用", "2010 edit \"5000.00\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        m_db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        const std::string out = Run(std::string("KyDrawRoad\n@edit ") + c.edit + "\n@show\n0,0\n10000,0\n\n\n");
        EXPECT_TRUE(Has(out, c.message)) << out;
        EXPECT_TRUE(Has(out, c.shown)) << out;
        // The road is drawn at the sizes kept, and they stay in memory for the next run.
        EXPECT_TRUE(HasLine(L"PLAN-ROAD", 0, 2000, 10000, 2000));
        EXPECT_TRUE(HasLine(L"PLAN-ROAD", 0, -2000, 10000, -2000));
        EXPECT_EQ(g_dRoadLeftWidth, 2000);
        EXPECT_EQ(g_dRoadRightWidth, 2000);
        EXPECT_EQ(g_dRoadFilletRadius, 5000);
    }
    // A radius of 0 is a usable one: the corners stay sharp.
    const std::string out = Run("KyDrawRoad\n@edit 2010 0\n\n");
    EXPECT_FALSE(Has(out, "不可用")) << out;
    EXPECT_EQ(g_dRoadFilletRadius, 0);
}

TEST_F(RoadCommand, VariablesComeBackAndOneUndoRemovesTheWholeRun) {
    int osmode = -1, echo = -1;
    bool emptyBeforeUndo = false;
    Run("SETVAR\nOSMODE\n4\nSETVAR\nCMDECHO\n1\nKyDrawRoad\n0,0\n10000,0\n20000,0\n\n0,5000\n"
        "5000,5000\n\nESC\n",
        [&] {
            KyPtGetVar(L"OSMODE", osmode);
            KyPtGetVar(L"CMDECHO", echo);
            emptyBeforeUndo = Entities().empty();
            vorn::ed::QueueLine(L"U");
            vorn::ed::RunCommandLoop();
        });
    EXPECT_EQ(osmode, 4);
    EXPECT_EQ(echo, 1);
    EXPECT_FALSE(emptyBeforeUndo);
    EXPECT_TRUE(Entities().empty());
}

namespace {

// What a snapshot of the road preview holds: each piece's colour index and its kind and place.
struct Piece {
    int colour;
    bool arc;
    double y0, radius;
};

std::vector<Piece> PreviewPieces(const AcDbEntity* preview) {
    std::vector<Piece> pieces;
    const auto* road = dynamic_cast<const KyDbRoad*>(preview);
    if (!road) return pieces;
    AcDbVoidPtrArray parts;
    KyGiExplodeStream stream(parts, road);
    road->Explode(stream);
    for (int i = 0; i < parts.length(); ++i) {
        auto* e = static_cast<AcDbEntity*>(parts[i]);
        Piece p{e->colorIndex(), false, 0, 0};
        if (const auto* l = AcDbLine::cast(e)) p.y0 = l->startPoint().y;
        if (const auto* a = AcDbArc::cast(e)) {
            p.arc = true;
            p.radius = a->radius();
        }
        pieces.push_back(p);
        delete e;
    }
    return pieces;
}

}  // namespace

TEST_F(RoadCommand, ThePreviewFollowsTheDialogDuringTheDrag) {
    std::vector<std::vector<Piece>> shots;
    vorn::ed::SetSnapshotWriter([&](const std::wstring&, const AcDbEntity* preview, std::wstring&) {
        shots.push_back(PreviewPieces(preview));
        return true;
    });
    Run("KyDrawRoad\n0,0\n~10000,0\n@snapshot a.png\n@click 2016\n~10000,1\n~10000,0\n"
        "@snapshot b.png\n10000,0\nA\n20000,0\n~15000,5000\n@snapshot c.png\n@click 2015\n"
        "~15000,5001\n@snapshot d.png\n\n\n\n");
    vorn::ed::SetSnapshotWriter(nullptr);
    AcCmColor grey;
    grey.setRGB(150, 150, 150);
    const int g = grey.colorIndex(), own = KyGiStream::kColorOfOwner;
    ASSERT_EQ(shots.size(), 4u);
    // Straight, base line: the picked line in grey, both edges in the stream's colour.
    ASSERT_EQ(shots[0].size(), 3u);
    EXPECT_EQ(shots[0][0].colour, g);
    EXPECT_EQ(shots[0][1].colour, own);
    EXPECT_DOUBLE_EQ(shots[0][1].y0, 2000);
    EXPECT_DOUBLE_EQ(shots[0][2].y0, -2000);
    // Left edge chosen during the drag: the grey line and the right edge only.
    ASSERT_EQ(shots[1].size(), 2u);
    EXPECT_EQ(shots[1][0].colour, g);
    EXPECT_DOUBLE_EQ(shots[1][1].y0, -4000);
    // Arc, left edge: the picked arc and the right edge arc; base line: two edge arcs, no centre.
    ASSERT_EQ(shots[2].size(), 2u);
    EXPECT_TRUE(shots[2][0].arc && shots[2][1].arc);
    EXPECT_EQ(shots[2][0].colour, own);
    EXPECT_NEAR(shots[2][0].radius, 5000, 1e-6);
    EXPECT_NEAR(shots[2][1].radius, 1000, 1e-6);
    ASSERT_EQ(shots[3].size(), 2u);
    EXPECT_NEAR(shots[3][0].radius, 7000, 0.01);  // left of a clockwise arc: outside
    EXPECT_NEAR(shots[3][1].radius, 3000, 0.01);
}

// Regression: an arc dropped at its middle point left an undo mark, so the next "U" removed
// nothing from the drawing while it took the previous arc's point off the road.
TEST_F(RoadCommand, UndoAfterADroppedArcRemovesThePreviousArc) {
    Run("KyDrawRoad\n0,0\nA\n10000,0\n5000,5000\n20000,0\nESC\nU\nL\n10000,-8000\n\n\n");
    EXPECT_EQ(Count(L"PLAN-ROAD"), 2);
    for (const Seen& s : Entities()) EXPECT_FALSE(s.arc);
    EXPECT_TRUE(HasLine(L"PLAN-ROAD_CENTER", 0, 0, 10000, -8000));
}

TEST_F(RoadCommand, SnapsAreOnWhileTheCommandRunsAndEverythingComesBackAfterAnException) {
    int during = -1, after = -1, echoAfter = -1;
    bool dialogAfter = true;
    vorn::ed::SetSnapshotWriter([&](const std::wstring&, const AcDbEntity*, std::wstring&) -> bool {
        KyPtGetVar(L"OSMODE", during);
        throw std::runtime_error("picture failed");
    });
    Run("SETVAR\nOSMODE\n4\nSETVAR\nCMDECHO\n1\nKyDrawRoad\n0,0\n~5,5\n@snapshot x.png\n10,10\n\n\n",
        [&] {
            KyPtGetVar(L"OSMODE", after);
            KyPtGetVar(L"CMDECHO", echoAfter);
            dialogAfter = vorn::ui::HasOpenDialog();
        });
    vorn::ed::SetSnapshotWriter(nullptr);
    EXPECT_EQ(during, 4 | 163);
    EXPECT_EQ(after, 4);
    EXPECT_EQ(echoAfter, 1);
    EXPECT_FALSE(dialogAfter);
}
