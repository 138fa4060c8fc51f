// The parking command from scripts: the dialog's reactions (marker, exchange, sizes kept in
// millimetres across units), the side toggle, and sizes refused in every way a row is laid.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "framework/library/KyFindFile.h"
#include "framework/core/KyDbUtil.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/dbtext.h"
#include "parking/parksettings.h"
#include "tests/modulecommand.h"
#include "tests/fontcaches.h"
#include "tests/testdrawing.h"

namespace {

using vorn::test::RunModuleScript;

class ParkCommand : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainDirectory(VORN_SOURCE_DIR L"/support/");
        Defaults();
        g_strParkRows = L"单排";
        g_strParkStyle = L"有停车";
        g_nParkStyleIndex = 3;
        g_nParkActiveField = 0;
        g_bParkLabelCount = 1;
    }
    void TearDown() override { SetMainDirectory(L""); }
    static void Defaults() { g_dParkWidth = 2400, g_dParkDepth = 5300, g_strParkAngle = L"90"; }
    std::string Run(const std::string& script) { return RunModuleScript(script).out; }
    template <class T>
    std::vector<const T*> All() const { return m_drawing.all<T>(); }
    vorn::test::TestDrawing m_drawing;
};

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

TEST_F(ParkCommand, DialogMarksTheEditedFieldSwapsSizesAndKeepsMillimetres) {
    m_drawing.db().setDrawUnit(1);
    std::string out = Run("KyDrawParkSpace\n@edit 2010 5.5\n@edit 2007 45\n@select 2009 1\n@focus 2003\n"
                          "@edit 2003 2.5\n@click 2000\n@show\n@close\n");
    EXPECT_TRUE(Has(out, "2003 combo \"5.5\"")) << out;
    EXPECT_TRUE(Has(out, "2010 combo \"2.5\""));
    EXPECT_EQ(g_nParkStyleIndex, 1);
    EXPECT_STREQ(g_strParkStyle, L"单斜线");
    EXPECT_STREQ(g_strParkAngle, L"45");
    // The sizes went back into millimetres when the dialog went.
    EXPECT_DOUBLE_EQ(g_dParkWidth, 5500);
    EXPECT_DOUBLE_EQ(g_dParkDepth, 2500);

    // Typing moves the marker: depth, then angle; the focus alone moves it too.
    m_drawing.db().setDrawUnit(0);
    Run("KyDrawParkSpace\n@edit 2010 5000\n@close\n");
    EXPECT_EQ(g_nParkActiveField, 1);
    out = Run("KyDrawParkSpace\n@edit 2007 30\n@show\n@close\n");
    EXPECT_EQ(g_nParkActiveField, 2);
    EXPECT_TRUE(Has(out, "2003 combo \"5500.00\"")) << out;
    Run("KyDrawParkSpace\n@focus 2003\n@close\n");
    EXPECT_EQ(g_nParkActiveField, 0);
    EXPECT_TRUE(All<AcDbPolyline>().empty());
}

TEST_F(ParkCommand, TheFirstQFlipsTheRowSeenEvenAfterARowOnTheOtherSide) {
    // Row 1: Q puts it right of travel. Row 2 starts on that side; its first Q brings it back.
    const std::string out = Run("KyDrawParkSpace\n0,0\nQ\n~12000,0\n12000,0\n\n0,20000\nQ\n12000,20000\n\n\n");
    ASSERT_EQ(All<AcDbPolyline>().size(), 10u) << out;
    int below = 0, above = 0;
    for (const AcDbPolyline* p : All<AcDbPolyline>()) {
        AcGePoint3d v;
        p->getPointAt(0, v);
        AcGePoint3d w;
        p->getPointAt(1, w);
        const double lowest = std::min(v.y, w.y);
        if (lowest < 0) ++below;
        if (lowest >= 20000 - 1e-6) ++above;
    }
    EXPECT_EQ(below, 5);
    EXPECT_EQ(above, 5);
    EXPECT_EQ(All<AcDbBlockReference>().size(), 10u);
    // Enter at the label prompt: no label.
    EXPECT_TRUE(All<AcDbText>().empty());
}

// A width, depth or angle that cannot be laid is refused in every way a row is laid: the answer
// that would lay it is refused (numbered and counted as a script's refusal), nothing is
// written, and the same prompt comes again.
TEST_F(ParkCommand, SizesThatCannotBeLaidAreRefusedAndThePromptComesAgain) {
    struct Case {
        const char* edit;
        const char* message;
    };
    const Case cases[] = {
        {"@edit 2003 2,400", "车位宽度\"2,400\"不可用，应为大于100且不超过1e12的数值；未布置车位。"},
        {"@edit 2003 abc", "车位宽度\"abc\"不可用"},
        {"@edit 2003 -2400", "车位宽度\"-2400\"不可用"},
        {"@edit 2003 50", "车位宽度\"50\"不可用"},  // no space 50 wide along a row
        {"@edit 2010 1e308", "车位深度\"1e308\"不可用，应为大于0且不超过1e12的数值"},
        {"@edit 2010 0", "车位深度\"0\"不可用"},
        {"@edit 2007 0", "车位角度\"0\"不可用，应为大于0且小于180的度数"},
        {"@edit 2007 180", "车位角度\"180\"不可用"},
    };
    const struct Way {
        const char* answers;  // after the edit
        const char* prompt;   // asked again after the refusal
    } ways[] = {
        {"0,0\n12000,0\n\n", "请点取车位终点"},
        {"A\n6000,-10000\n\n\n", "请选择曲线"},
    };
    for (const Case& c : cases)
        for (const Way& way : ways) {
            Defaults();
            m_drawing.renew();
            m_drawing.add(vorn::test::Line(0, -10000, 12000, -10000));
            const auto run = RunModuleScript("KyDrawParkSpace\n" + std::string(c.edit) + "\n" + way.answers, L"park.scr");
            SCOPED_TRACE(std::string(c.edit) + " / " + way.prompt + "\n" + run.out);
            EXPECT_TRUE(run.Has(c.message));
            // The refusal's line, then the same prompt again.
            const std::size_t at = run.out.find(c.message);
            EXPECT_EQ(run.out.find(way.prompt, at), run.out.find('\n', at) + 1);
            EXPECT_EQ(run.refused, 1);
            EXPECT_TRUE(All<AcDbPolyline>().empty());
            EXPECT_TRUE(All<AcDbBlockReference>().empty());
            EXPECT_TRUE(All<AcDbText>().empty());
        }
}

}  // namespace
