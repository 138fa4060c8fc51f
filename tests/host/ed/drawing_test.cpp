// The editor over a drawing: undo steps and marks, selection modes with filters, entity picks,
// running snaps, jigs fed cursor moves, drawing variables.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/jig.h"
#include "host/ed/selection.h"
#include "host/ed/sysvars.h"
#include "session.h"

using vorn::ed::test::Session;
namespace dbx = vorn::ed::dbx;

namespace {

AcDbObjectId AddLine(double x1, double y1, double x2, double y2, const wchar_t* layer = nullptr) {
    auto* line = new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0));
    if (layer) {
        AcDbObjectId lid;
        dbx::Working()->ensureLayer(layer, lid);
        line->setLayer(lid);
    }
    return dbx::AppendToModelSpace(line);
}

std::size_t Live() {
    std::size_t n = 0;
    for (const AcDbObjectId& id : dbx::ModelSpace())
        if (!id.isErased()) ++n;
    return n;
}

// Two points, a line between them: the smallest drawing command.
void Seg() {
    ads_point a, b;
    if (acedGetPoint(nullptr, L"\nFrom: ", a) != RTNORM) return;
    if (acedGetPoint(a, L"\nTo: ", b) != RTNORM) return;
    AddLine(a[0], a[1], b[0], b[1]);
}

// Draws, marks, draws, backs up: one line must be left; the whole command is one undo step.
void MarkBack() {
    AddLine(0, 0, 10, 0);
    acedCommand(RTSTR, L"UNDO", RTSTR, L"MARK", 0);
    AddLine(0, 5, 10, 5);
    AddLine(0, 6, 10, 6);
    acedCommand(RTSTR, L"UNDO", RTSTR, L"BACK", 0);
    acedCommand(RTSTR, L"UNDO", RTSTR, L"MARK", 0);
    AddLine(0, 7, 10, 7);
    acedCommand(RTSTR, L".UNDO", RTSTR, L"1", 0);
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        m_db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        vorn::ed::AddCommand(L"DRAWTESTS", L"SEG", L"SEG", 0, Seg);
        vorn::ed::AddCommand(L"DRAWTESTS", L"MARKBACK", L"MARKBACK", 0, MarkBack);
    }
    void TearDown() override {
        vorn::ed::RemoveGroup(L"DRAWTESTS");
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    std::unique_ptr<AcDbDatabase> m_db;
};

}  // namespace

TEST_F(Drawing, MarkAndBackInsideACommandThenUTakesTheWholeCommand) {
    Session s("MARKBACK\nU\nREDO\n");
    vorn::ed::RunCommandLoop();
    // After MARKBACK one line; U removes it; REDO brings it back.
    EXPECT_EQ(Live(), 1u);
    EXPECT_TRUE(s.Has("Undone: MARKBACK"));
    EXPECT_TRUE(s.Has("Redone: MARKBACK"));
}

TEST_F(Drawing, UndoMarksGroupsAndCountsAtTheCommandPrompt) {
    Session s("SEG\n0,0\n1,0\nUNDO\nM\nSEG\n0,1\n1,1\nSEG\n0,2\n1,2\nUNDO\nB\n"
              "UNDO\nBE\nSEG\n0,3\n1,3\nSEG\n0,4\n1,4\nUNDO\nE\nU\n"
              "SEG\n0,5\n1,5\nSEG\n0,6\n1,6\nUNDO\n2\nU\nU\nREDO\n");
    vorn::ed::RunCommandLoop();
    // SEG | MARK | SEG SEG -> BACK leaves 1; BEGIN SEG SEG END then U leaves 1; two SEGs and
    // UNDO 2 leave 1; U takes the first; the second U finds nothing; REDO brings one back.
    EXPECT_EQ(Live(), 1u);
    EXPECT_TRUE(s.Has("Everything has been undone."));
}

TEST_F(Drawing, EntityPicksNearestWithinPickboxLastAddedWins) {
    const AcDbObjectId a = AddLine(0, 0, 100, 0, L"A");
    const AcDbObjectId b = AddLine(0, 0, 100, 0, L"B");  // on top of a
    const AcDbObjectId c = AddLine(0, 10, 100, 10, L"C");
    Session s("50,50\n50,1\n50,1\n");
    ads_name e;
    ads_point p;
    ASSERT_EQ(acedEntSel(L"\nPick: ", e, p), RTNORM);  // 50,50 misses and is refused
    AcDbObjectId id;
    ASSERT_EQ(acdbGetObjectId(id, e), Acad::eOk);
    EXPECT_EQ(id, b);
    EXPECT_TRUE(s.Has("No object that can be selected here lies at that point"));
    resbuf* onlyA = acutBuildList(8, L"A,C", 0);
    ASSERT_EQ(vorn::ed::SelectEntity(L"\nPick: ", onlyA, e, p), RTNORM);
    acdbGetObjectId(id, e);
    EXPECT_EQ(id, a);  // b lies as near and on top, but the filter refuses it
    acutRelRb(onlyA);
    (void)c;
}

// Type and layer filters of the whole drawing are checked through the framework's sets.
TEST_F(Drawing, SelectionWindowsCrossingWindowsAndPolygons) {
    AddLine(0, 0, 10, 0, L"PLAN-ROAD");
    AddLine(20, 0, 30, 0, L"OTHER");
    auto* arc = new AcDbArc(AcGePoint3d(5, 5, 0), 2, 0, 3.14159);
    dbx::AppendToModelSpace(arc);
    ads_name ss;
    std::int32_t n = 0;
    const ads_point lo = {-1, -1, 0}, hi = {11, 8, 0}, mid = {25, -1, 0}, top = {26, 1, 0};
    ASSERT_EQ(acedSSGet(L"W", lo, hi, nullptr, ss), RTNORM);  // the first line and the arc
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 2);
    acedSSFree(ss);
    EXPECT_EQ(acedSSGet(L"W", mid, top, nullptr, ss), RTERROR);  // the second line only crosses
    ASSERT_EQ(acedSSGet(L"C", mid, top, nullptr, ss), RTNORM);
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 1);
    acedSSFree(ss);
    const ads_point p1 = {24, -1, 0}, p2 = {26, -1, 0}, p3 = {25, 3, 0};
    resbuf* poly = acutBuildList(RTPOINT, p1, RTPOINT, p2, RTPOINT, p3, 0);
    ASSERT_EQ(acedSSGet(L"CP", poly, nullptr, nullptr, ss), RTNORM);
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 1);
    acedSSFree(ss);
    EXPECT_EQ(acedSSLength(ss, &n), RTERROR);  // freed
    acutRelRb(poly);
}

// A set built one entity at a time keeps the order of adding, holds each entity once, and is
// changed in place: the result of an add to a set is that set.
TEST_F(Drawing, SetsGrowInPlaceKeepTheirOrderAndHoldEachEntityOnce) {
    std::vector<AcDbObjectId> lines;
    for (int i = 0; i < 2000; ++i) lines.push_back(AddLine(i, 0, i + 0.5, 0));
    ads_name ss = {0, 0}, e, got;
    ASSERT_EQ(acdbGetAdsName(e, lines[5]), Acad::eOk);
    ASSERT_EQ(acedSSAdd(e, nullptr, ss), RTNORM);
    for (int i = 1999; i >= 0; --i) {  // lines[5] a second time among them
        ASSERT_EQ(acdbGetAdsName(e, lines[static_cast<std::size_t>(i)]), Acad::eOk);
        ads_name result;
        ASSERT_EQ(acedSSAdd(e, ss, result), RTNORM);
        ASSERT_TRUE(result[0] == ss[0] && result[1] == ss[1]);
    }
    std::int32_t n = 0;
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 2000);
    AcDbObjectId id;
    ASSERT_EQ(acedSSName(ss, 0, got), RTNORM);
    acdbGetObjectId(id, got);
    EXPECT_EQ(id, lines[5]);
    ASSERT_EQ(acedSSName(ss, 1, got), RTNORM);
    acdbGetObjectId(id, got);
    EXPECT_EQ(id, lines[1999]);

    acdbGetAdsName(e, lines[7]);
    EXPECT_EQ(acedSSMemb(e, ss), RTNORM);
    EXPECT_EQ(acedSSDel(e, ss), RTNORM);
    EXPECT_EQ(acedSSMemb(e, ss), RTERROR);
    EXPECT_EQ(acedSSDel(e, ss), RTERROR);  // no longer there
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 1999);
    ads_name result;
    EXPECT_EQ(acedSSAdd(e, ss, result), RTNORM);  // back at the end
    ASSERT_EQ(acedSSName(ss, 1999, got), RTNORM);
    acdbGetObjectId(id, got);
    EXPECT_EQ(id, lines[7]);

    const ads_name forged = {ss[0] + 1000, ss[1]}, forgedEntity = {e[0], 999999};
    EXPECT_EQ(acedSSAdd(e, forged, result), RTERROR);
    AcDbObjectId none;
    EXPECT_NE(acdbGetObjectId(none, forgedEntity), Acad::eOk);
    EXPECT_EQ(acedSSAdd(nullptr, nullptr, result), RTNORM);  // an empty set of its own
    acedSSLength(result, &n);
    EXPECT_EQ(n, 0);
    acedSSFree(result);
    acedSSFree(ss);
}

TEST_F(Drawing, PromptedSelectionPointsWindowsAllAndKeywords) {
    AddLine(0, 0, 10, 0);
    AddLine(20, 0, 30, 0);
    AddLine(40, 0, 50, 0);
    Session s("5,0\n5,0\nW\n15,-1\n35,1\nALL\n\nD\n\n");
    ads_name ss;
    std::wstring kw;
    ASSERT_EQ(vorn::ed::SelectEntities(L"\nSelect: ", nullptr, ss, L"D E", &kw), RTNORM);
    std::int32_t n = 0;
    acedSSLength(ss, &n);
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(s.Has("1 found, 1 total"));
    EXPECT_TRUE(s.Has("1 found, 2 total"));  // W took the second line
    EXPECT_TRUE(s.Has("3 found, 3 total"));
    EXPECT_EQ(vorn::ed::SelectEntities(L"\nSelect: ", nullptr, ss, L"D E", &kw), RTKWORD);
    EXPECT_EQ(kw, L"D");
    EXPECT_EQ(vorn::ed::SelectEntities(L"\nSelect: ", nullptr, ss, nullptr, nullptr), RTNONE);
}

TEST_F(Drawing, ClicksSnapByOsmodeTypedPointsStayExact) {
    AddLine(0, 0, 100, 0);
    AddLine(50, -50, 50, 50);
    Session s("!99,1\n99,1\n!51,2\n!30,1\n");
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 1 | 32;  // endpoint, intersection
    acedSetVar(L"OSMODE", &rb);
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 100);
    EXPECT_DOUBLE_EQ(p[1], 0);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 99);  // typed: exact
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 50);
    EXPECT_DOUBLE_EQ(p[1], 0);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);  // nothing in the aperture
    EXPECT_DOUBLE_EQ(p[0], 30);
}

namespace {

// A line from a fixed start to the cursor, with keywords.
class LineJig : public AcEdJig {
public:
    LineJig() : m_line(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 0, 0))) {}
    ~LineJig() override { delete m_line; }
    DragStatus sampler() override {
        ++samples;
        setUserInputControls(kNullResponseAccepted | kNoZeroResponseAccepted);
        setKeywordList(L"A U C");
        AcGePoint3d p;
        const DragStatus s = acquirePoint(p, AcGePoint3d(0, 0, 0));
        if (s != kNormal) return s;
        if (p.distanceTo(m_end) < 1e-9) return kNoChange;
        m_end = p;
        return kNormal;
    }
    bool update() override {
        ++updates;
        m_line->setEndPoint(m_end);
        return true;
    }
    AcDbEntity* entity() const override { return m_line; }
    int samples = 0, updates = 0;
    AcGePoint3d m_end;

private:
    AcDbLine* m_line;
};

}  // namespace

TEST_F(Drawing, JigFollowsMovesAndEndsOnAPick) {
    Session s("~1,1\n~2,2\n~2,2\n@snapshot x.png\n2,2\n~5,5\nc\n\nESC\n");
    const AcDbEntity* seen = nullptr;
    vorn::ed::SetSnapshotWriter([&](const std::wstring&, const AcDbEntity* preview, std::wstring&) {
        seen = preview;
        return true;
    });
    LineJig jig;
    EXPECT_EQ(jig.drag(), AcEdJig::kNormal);  // the pick lands where the cursor was: still normal
    EXPECT_EQ(jig.samples, 4);
    EXPECT_EQ(jig.updates, 2);
    EXPECT_EQ(seen, jig.entity());
    EXPECT_DOUBLE_EQ(jig.m_end.x, 2);
    EXPECT_EQ(jig.drag(), AcEdJig::kKW3);
    EXPECT_EQ(jig.drag(), AcEdJig::kNull);
    EXPECT_EQ(jig.drag(), AcEdJig::kCancel);
    EXPECT_EQ(AcEdJig::active(), nullptr);
    vorn::ed::SetSnapshotWriter(nullptr);
}

TEST_F(Drawing, ARefusedAnswerBringsBackThePromptACommandPrintedItself) {
    Session s("xyz\n3,4\n");
    acutPrintf(L"\nMiddle point of the arc: ");
    LineJig jig;
    EXPECT_EQ(jig.drag(), AcEdJig::kNormal);
    EXPECT_DOUBLE_EQ(jig.m_end.y, 4);
    EXPECT_EQ(s.Count("Middle point of the arc: "), 2u) << s.Out();
    EXPECT_TRUE(s.Has("is not accepted here")) << s.Out();
}

// acedCommand picking entities by name and point is checked by FILLET run so (host_cmds_tests).
TEST_F(Drawing, DrawingVariablesLiveInTheDrawing) {
    Session s("");
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = 250;
    EXPECT_EQ(acedSetVar(L"FILLETRAD", &rb), RTNORM);
    EXPECT_EQ(m_db->filletrad(), 250);
    rb.resval.rreal = -1;
    EXPECT_EQ(acedSetVar(L"FILLETRAD", &rb), RTREJ);
    EXPECT_EQ(m_db->filletrad(), 250);
    std::wstring err;
    EXPECT_TRUE(vorn::ed::SetSysVarFromText(L"DRAWUNIT", L"1", err));
    EXPECT_EQ(m_db->drawUnit(), 1);
    EXPECT_FALSE(vorn::ed::SetSysVarFromText(L"DRAWUNIT", L"2", err));
    EXPECT_FALSE(vorn::ed::SetSysVarFromText(L"CLAYER", L"NOSUCH", err));
    std::wstring layer;
    ASSERT_TRUE(vorn::ed::GetSysVarText(L"CLAYER", layer));
    EXPECT_EQ(layer, L"0");
}
