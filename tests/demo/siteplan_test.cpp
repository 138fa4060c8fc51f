// vorncad draws the site plan of examples/site-plan.scr as the demo does: the script runs to its
// end without a refusal or a failure message, AUDIT finds nothing, and the saved drawing holds
// every part of the plan on its layer, with no non-finite number anywhere in the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "host/base/textcodec.h"
#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The plan drawn once per process, from the top of the source tree as the demo runs it (the
// script names a library drawing by a path from there), into a folder named after the first
// test that asks: ctest runs each test in a process of its own, side by side.
struct Plan {
    int status = -1;
    std::string transcript;
    fs::path dxf, png, pdf;
};

const Plan& DrawnPlan() {
    static const Plan plan = [] {
        Plan p;
        const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "demo" /
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(dir);
        const fs::path settings = dir / "settings.json";
        fs::remove(settings);
        p.dxf = dir / "site-plan.dxf";
        p.png = dir / "site-plan.png";
        fs::remove(p.dxf);
        p.pdf = dir / "site-plan.pdf";
        fs::remove(p.png);
        fs::remove(p.pdf);
        const std::string command = "cd '" + std::string(VORN_SOURCE_DIR) + "' && '" + std::string(VORNCAD) +
                                    "' -s examples/site-plan.scr --settings '" + settings.string() + "' -o '" +
                                    p.dxf.string() + "' --render '" + p.png.string() + "' --plot '" + p.pdf.string() +
                                    "' --sheet A1 --plot-scale 1:500 2>&1";
        p.transcript = vorn::test::CommandOutput(command, p.status);
        return p;
    }();
    return plan;
}

using Counts = std::map<std::pair<std::string, std::string>, int>;  // (layer, kind) → entities

Counts CountByLayerAndKind(const fs::path& dxf) {
    Counts counts;
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(dxf.string(), error);
    EXPECT_TRUE(db) << error;
    if (!db) return counts;
    for (const AcDbObjectId& id : db->modelSpaceIds()) {
        const auto* e = AcDbEntity::cast(db->peekObject(id));
        if (e) ++counts[{vorn::ToUtf8(e->layer()), vorn::ToUtf8(e->isA()->dxfName())}];
    }
    return counts;
}

int OnLayer(const Counts& counts, const std::string& layer) {
    int n = 0;
    for (const auto& [key, count] : counts)
        if (key.first == layer) n += count;
    return n;
}

int Of(const Counts& counts, const std::string& layer, const std::string& kind) {
    const auto it = counts.find({layer, kind});
    return it == counts.end() ? 0 : it->second;
}

}  // namespace

TEST(SitePlan, TheScriptRunsToItsEndWithoutARefusalAndAuditFindsNothing) {
    const Plan& plan = DrawnPlan();
    const std::string& t = plan.transcript;
    ASSERT_EQ(plan.status, 0) << t;
    EXPECT_TRUE(Has(t, "Audit: no entity has non-finite or degenerate geometry.")) << t;
    // A refused answer or a command the host does not know would shift every later line.
    for (const char* bad : {"Unknown command", "is not accepted here", "is required here", "must not be",
                            "Unknown variable"})
        EXPECT_FALSE(Has(t, bad)) << bad << "\n" << t;
    // The module's own failure messages.
    for (const char* bad : {"空间太小", "失败", "没有在线上", "超过两个对象", "不能构成", "必须大于"})
        EXPECT_FALSE(Has(t, bad)) << bad << "\n" << t;
    // The steps whose end shows in the transcript: the canopy region, the guide line erased.
    EXPECT_TRUE(Has(t, "成功！")) << t;
    EXPECT_TRUE(Has(t, "1 object(s) erased.")) << t;
    EXPECT_TRUE(fs::is_regular_file(plan.png) && fs::file_size(plan.png) > 10000) << t;
}

TEST(SitePlan, EveryPartOfThePlanIsOnItsLayer) {
    const Plan& plan = DrawnPlan();
    ASSERT_EQ(plan.status, 0) << plan.transcript;
    const Counts c = CountByLayerAndKind(plan.dxf);

    // Roads: every corner is rounded. Arcs of the edges: four at the crossing, two at each bend,
    // two at the ring's tee, the loop's two half circles and its four corners, and the service
    // road's bend and tee rounded afterwards. The centre lines bend round the two ring bends,
    // the loop and the service road's bend.
    EXPECT_EQ(Of(c, "PLAN-ROAD", "ARC"), 20);
    EXPECT_EQ(Of(c, "PLAN-ROAD_CENTER", "ARC"), 4);
    EXPECT_GE(Of(c, "PLAN-ROAD", "LINE"), 20);
    EXPECT_LE(Of(c, "PLAN-ROAD", "LINE"), 30);
    EXPECT_GE(Of(c, "PLAN-ROAD_CENTER", "LINE"), 6);
    EXPECT_EQ(OnLayer(c, "PLAN-ROAD"), Of(c, "PLAN-ROAD", "ARC") + Of(c, "PLAN-ROAD", "LINE"));

    // Parking: a row of 17 with cars, a double row of 2 × 11 with diagonals, a curved row with
    // cars, and the counts of the two rows laid from point to point.
    EXPECT_GE(Of(c, "PLAN-CAR_PLACE", "INSERT"), 17 + 6);
    EXPECT_LE(Of(c, "PLAN-CAR_PLACE", "INSERT"), 17 + 16);
    EXPECT_GE(Of(c, "PLAN-CAR_PLACE", "LWPOLYLINE"), 17 + 22 + 22 + 6);
    EXPECT_EQ(Of(c, "PLAN-CAR_PLACE", "TEXT"), 2);

    // Trees: 6 single ones, 5 along the verge, 16 along the guide line; the patch is one region
    // (its outline and any gaps in the canopy), its trees gone.
    EXPECT_EQ(Of(c, "PLAN-TREE", "INSERT"), 6 + 5 + 16);
    EXPECT_GE(OnLayer(c, "PLAN-TREE") - Of(c, "PLAN-TREE", "INSERT"), 1);
    EXPECT_EQ(OnLayer(c, "PLAN-GUIDE"), 0);

    // Annotation: two surveyed elevations and five marks from their grade, two slope arrows, and
    // a legend of five symbols under its title.
    EXPECT_EQ(OnLayer(c, "PLAN-SYMB_ELEV"), 7);
    EXPECT_EQ(OnLayer(c, "PLAN-SYMB_ARROW"), 2);
    EXPECT_EQ(Of(c, "PLAN-SAMPLE", "INSERT"), 5);
    EXPECT_EQ(Of(c, "PLAN-SAMPLE", "TEXT"), 6);

    // The plot, its buildings, their names, the title and the north arrow.
    EXPECT_EQ(Of(c, "SITE-BOUNDARY", "LWPOLYLINE"), 1);
    EXPECT_EQ(Of(c, "PLAN-BUILDING", "LWPOLYLINE"), 2);
    EXPECT_EQ(Of(c, "PLAN-TEXT", "TEXT"), 3);
    EXPECT_EQ(Of(c, "PLAN-TEXT", "INSERT"), 1);
}

TEST(SitePlan, TheSavedFileHoldsNoNonFiniteNumberAndPassesAPeersAudit) {
    const Plan& plan = DrawnPlan();
    ASSERT_EQ(plan.status, 0) << plan.transcript;
    EXPECT_TRUE(vorn::test::SoundDrawing(plan.dxf));

    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) GTEST_SKIP() << "ezdxf is not installed";
    int status = -1;
    const std::string audit =
        vorn::test::CommandOutput("/usr/bin/python3 -m ezdxf audit '" + plan.dxf.string() + "' 2>&1", status);
    EXPECT_TRUE(Has(audit, "No errors found.")) << audit;
}

// Another CAD program reads the whole plan: LibreCAD prints it to a PDF beside the drawing. An
// empty drawing prints to about a kilobyte; the plan's lines and texts make it far larger.
TEST(SitePlan, LibreCadReadsThePlanAndPrintsItToAPdf) {
    const Plan& plan = DrawnPlan();
    ASSERT_EQ(plan.status, 0) << plan.transcript;
    if (std::system("command -v librecad >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreCAD is not installed";
    const fs::path copy = plan.dxf.parent_path() / "librecad" / "site-plan.dxf";
    fs::create_directories(copy.parent_path());
    fs::copy_file(plan.dxf, copy, fs::copy_options::overwrite_existing);
    const fs::path pdf = fs::path(copy).replace_extension(".pdf");
    fs::remove(pdf);
    int status = -1;
    const std::string out = vorn::test::CommandOutput(
        "QT_QPA_PLATFORM=offscreen librecad dxf2pdf -a '" + copy.string() + "' 2>&1", status);
    EXPECT_EQ(status, 0) << out;
    ASSERT_TRUE(fs::exists(pdf)) << out;
    EXPECT_GT(fs::file_size(pdf), 20000u) << out;
}

// The plan plotted as the demo plots it: an A1 sheet at 1:500 whose texts, Chinese and English,
// are text a reader can find and copy, in a font carried inside the file.
TEST(SitePlan, PlotsOnAnA1SheetWithItsTextsAsText) {
    const Plan& plan = DrawnPlan();
    ASSERT_EQ(plan.status, 0) << plan.transcript;
    EXPECT_TRUE(Has(plan.transcript, "Plotted on A1 (841 x 594 mm) at 1:500 to ")) << plan.transcript;
    if (std::system("pdfinfo -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    const std::string info = vorn::test::CommandOutput("pdfinfo '" + plan.pdf.string() + "'");
    EXPECT_TRUE(Has(info, "Page size:       2383.94 x 1683.78 pts (A1)")) << info;
    const std::string text = vorn::test::CommandOutput("pdftotext '" + plan.pdf.string() + "' -");
    for (const char* shown : {"滨河科技园总平面图 1:500", "1# 办公楼", "停车位", "L=108.00", "2.00%"})
        EXPECT_TRUE(Has(text, shown)) << shown << "\n" << text;
    const std::string fonts = vorn::test::CommandOutput("pdffonts '" + plan.pdf.string() + "'");
    EXPECT_TRUE(Has(fonts, "WenQuanYiMicroHei")) << fonts;
    EXPECT_FALSE(Has(fonts, " no ")) << fonts;  // every font embedded (a subset), with its text map
}
