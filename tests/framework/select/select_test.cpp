// Selection through the framework: filters with comma type lists and layers, set arithmetic,
// the keyword form of prompted selection, and scoped system variables.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyFramework.h"
#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsEntSet.h"
#include "framework/select/KyAdsRBList.h"
#include "framework/select/KyPtSelect.h"
#include "framework/select/KyPtSysVar.h"
#include "framework/select/KyUtInput.h"
#include "host/db/dbarc.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/ed/aced.h"
#include "host/ed/selection.h"
#include "host/mfc/cstring.h"
#include "tests/host/ed/session.h"
#include "tests/testdrawing.h"

namespace {

class Select : public ::testing::Test {
protected:
    void SetUp() override {
        KyRegisterFrameworkClasses();
        const AcDbObjectId road = m_drawing.layer(L"PLAN-ROAD");
        AcDbLine* l1 = vorn::test::Line(0, 0, 10, 0);
        l1->setLayer(road);
        m_line = m_drawing.add(l1);
        auto* a = new AcDbArc(AcGePoint3d(50, 0, 0), 5, 0, 3);
        a->setLayer(road);
        m_arc = m_drawing.add(a);
        m_other = m_drawing.add(vorn::test::Line(0, 20, 10, 20));
        m_elev = m_drawing.add(new KyDbSymbElevation(AcGePoint3d(100, 100, 0), L"1.00"));
    }
    vorn::test::TestDrawing m_drawing;
    AcDbObjectId m_line, m_arc, m_other, m_elev;
};

}  // namespace

TEST_F(Select, FiltersTakeCommaTypeListsLayersAndFrameworkTypeNames) {
    KyAdsEntSet set;
    KyAdsRBList filter(acutBuildList(RTDXF0, L"LINE,ARC", 8, L"plan-road", 0));  // names in any case
    ASSERT_EQ(set.Get(L"X", nullptr, nullptr, filter), RTNORM);
    ASSERT_EQ(set.GetLength(), 2);
    EXPECT_EQ(set[0], m_line);
    EXPECT_EQ(set[1], m_arc);
    EXPECT_TRUE(set[2].isNull());

    KyAdsRBList elevations;
    elevations.AddTypes(L"VORN_SYMB_ELEVATION");
    ASSERT_EQ(set.Get(L"X", nullptr, nullptr, elevations), RTNORM);
    ASSERT_EQ(set.GetLength(), 1);
    EXPECT_EQ(set[0], m_elev);

    KyAdsRBList none;
    none.AddTypes(L"CIRCLE");
    EXPECT_NE(set.Get(L"X", nullptr, nullptr, none), RTNORM);
    EXPECT_EQ(set.GetLength(), 0);

    // A crossing polygon around the first line only.
    KyAdsRBList fence = KyUtGetPolyFence({AcGePoint3d(-1, -1, 0), AcGePoint3d(11, -1, 0), AcGePoint3d(11, 1, 0),
                                          AcGePoint3d(-1, 1, 0), AcGePoint3d(-1, -1, 0)});
    ASSERT_EQ(set.Get(L"CP", fence.Get(), nullptr, nullptr), RTNORM);
    ASSERT_EQ(set.GetLength(), 1);
    EXPECT_EQ(set[0], m_line);
}

TEST_F(Select, SetsAddWithoutRepeatsAndSubtract) {
    KyAdsEntSet a, b;
    a += m_line;
    a += m_line;
    a += m_arc;
    b += m_arc;
    b += m_other;
    a += b;
    ASSERT_EQ(a.GetLength(), 3);
    EXPECT_EQ(a[2], m_other);
    a -= b;
    ASSERT_EQ(a.GetLength(), 1);
    EXPECT_EQ(a[0], m_line);
    a -= a;
    EXPECT_TRUE(a.IsEmpty());
    b += b;
    EXPECT_EQ(b.GetLength(), 2);
    ads_name ss;
    ASSERT_EQ(b.MakeAdsSet(ss), RTNORM);
    KyAdsEntSet c;
    c.AssignFromAdsSet(ss);
    acedSSFree(ss);
    EXPECT_EQ(c.Ids(), b.Ids());
}

TEST_F(Select, PromptedSelectionWithKeywordsHandsTheKeywordOut) {
    vorn::ed::test::Session s("U\n5,0\n\nALL\n\n");
    KyAdsEntSet set;
    std::wstring keywords = L"A U";
    EXPECT_EQ(KyPtSelectEntities(L"\nSelect roads or [Add(A)/Undo(U)]: ", set, nullptr, keywords), RTKWORD);
    EXPECT_EQ(keywords, L"U");
    EXPECT_TRUE(set.IsEmpty());
    CString kw(L"A U");
    KyAdsRBList lines(acutBuildList(RTDXF0, L"LINE", 0));
    EXPECT_EQ(KyPtSelectEntities(L"\nSelect: ", set, lines, kw), RTNORM);
    EXPECT_EQ(kw, L"A U");  // no keyword: the list is left as it was
    ASSERT_EQ(set.GetLength(), 1);
    EXPECT_EQ(set[0], m_line);
    EXPECT_EQ(KyPtSelectEntities(L"\nSelect: ", set, lines), RTNORM);
    EXPECT_EQ(set.GetLength(), 2);  // ALL with the filter: both lines, not the arc
}

TEST_F(Select, OneEntityPickedOpenedAndHighlighted) {
    vorn::ed::test::Session s("50,5\n");
    KyAdsEnt ent;
    KyAdsRBList arcs(acutBuildList(RTDXF0, L"ARC", 0));
    ASSERT_EQ(KyPtSelectEntity(L"\nPick an arc: ", ent, arcs), RTNORM);
    EXPECT_EQ(ent.GetObjectId(), m_arc);
    AcDbEntity* e = ent.Open(AcDb::kForRead);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(AcDbArc::cast(e), nullptr);
    e->close();
    EXPECT_EQ(ent.Redraw(3), RTNORM);
    EXPECT_TRUE(KyAdsEnt::IsHighlighted(m_arc));
    EXPECT_EQ(ent.Redraw(4), RTNORM);
    EXPECT_FALSE(KyAdsEnt::IsHighlighted(m_arc));
    EXPECT_EQ(ent.Redraw(7), RTREJ);
}

TEST_F(Select, PushedSystemVariablesComeBackOnEveryWayOut) {
    int echo = -1;
    ASSERT_EQ(KyPtGetVar(L"CMDECHO", echo), RTNORM);
    {
        KyPtPushSysVar a(L"CMDECHO", 0);
        int now = -1;
        KyPtGetVar(L"CMDECHO", now);
        EXPECT_EQ(now, 0);
        EXPECT_EQ(a.GetOldValue(), echo);
        KyPtPushSysVar b(L"CMDECHO", 1);  // nested guards unwind in reverse order
    }
    int after = -1;
    KyPtGetVar(L"CMDECHO", after);
    EXPECT_EQ(after, echo);
    int osmode = 0;
    KyPtGetVar(L"OSMODE", osmode);
    try {
        KyPtPushSysVar guard(L"OSMODE", osmode | 163);
        throw std::runtime_error("way out");
    } catch (const std::runtime_error&) {
    }
    KyPtGetVar(L"OSMODE", after);
    EXPECT_EQ(after, osmode);
    KyPtPushSysVar unknown(L"NO_SUCH_VARIABLE", 3);
    EXPECT_FALSE(unknown.IsValid());
    int v = 42;
    EXPECT_EQ(KyPtGetVar(L"NO_SUCH_VARIABLE", v), RTERROR);
    EXPECT_EQ(v, 42);
    {
        KyPushVar<bool> flag(g_bOnlySnapBaseCurve, true);
        EXPECT_TRUE(g_bOnlySnapBaseCurve);
    }
    EXPECT_FALSE(g_bOnlySnapBaseCurve);
}

TEST_F(Select, SendEscCancelsThePendingPrompt) {
    vorn::ed::test::Session s("1,1\n");
    KySendESC();
    AcGePoint3d p(7, 7, 0);
    EXPECT_EQ(KyUtGetPoint(nullptr, L"\nPoint: ", p), RTCAN);
    EXPECT_DOUBLE_EQ(p.x, 7.0);
    EXPECT_EQ(KyUtGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p.x, 1.0);
}
