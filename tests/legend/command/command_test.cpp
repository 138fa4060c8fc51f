// The legend command from scripts: the dialog's lists and refusals, the legend written at each
// click, "T", a turned user system, the selection kept between runs, an unreadable library.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbText.h"
#include "framework/library/KyFindFile.h"
#include "host/db/dbextents.h"
#include "host/db/dbline.h"
#include "host/db/dbsymtb.h"
#include "host/db/dbmain.h"
#include "host/ed/editor.h"
#include "host/ed/ucs.h"
#include "host/ui/dialogevents.h"
#include "host/ui/dialogregistry.h"
#include "legend/legendlibrary.h"
#include "tests/fontcaches.h"
#include "tests/modulecommand.h"
#include "tests/testdrawing.h"

namespace {

// Symbol blocks made in the working drawing in place of the library's drawings: "Road.dxf"
// is 18 × 3 and "Tree.dxf" 2 × 9 (both fit at 0.5), any other file 4.5 × 4.5.
AcDbObjectId MakeSymbol(const KyDtLibItemBase& row) {
    const auto* item = dynamic_cast<const KyDtLibItem*>(&row);
    if (!item) return AcDbObjectId::kNull;
    const std::wstring name = item->GetDataFile();
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* bt = nullptr;
    if (!db || db->getBlockTable(bt, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (bt->getAt(name.c_str(), id) == Acad::eOk) {
        bt->close();
        return id;
    }
    auto* block = new AcDbBlockTableRecord();
    block->setName(name.c_str());
    bt->add(id, block);
    bt->close();
    const double w = name == L"Road.dxf" ? 18 : name == L"Tree.dxf" ? 2 : 4.5;
    const double h = name == L"Road.dxf" ? 3 : name == L"Tree.dxf" ? 9 : 4.5;
    auto* line = new AcDbLine({1, 1, 0}, {1 + w, 1 + h, 0});
    block->appendAcDbEntity(line);
    line->close();
    block->close();
    return id;
}

class LegendCommand : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainDirectory(VORN_SOURCE_DIR L"/support/");
        g_legendNames.clear();
        g_legendBlockIds.setLogicalLength(0);
        SetLegendSymbolLoader(MakeSymbol);
    }
    void TearDown() override {
        SetLegendSymbolLoader(nullptr);
        SetMainDirectory(L"");
    }
    // setup runs once the session stands (the editor is reset when it starts).
    std::string Run(const std::string& script, const std::function<void()>& setup = nullptr) {
        return vorn::test::RunModuleScript(script, L"", [&] {
                   vorn::ed::InstallHostChannels();  // message boxes print into the transcript
                   if (setup) setup();
               }).out;
    }
    std::vector<const KyDbText*> Texts() const { return m_drawing.all<KyDbText>(); }
    std::vector<const KyDbBlockReference*> Blocks() const { return m_drawing.all<KyDbBlockReference>(); }
    vorn::test::TestDrawing m_drawing;
};

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

bool Near(const AcGePoint3d& p, double x, double y) {
    return std::fabs(p.x - x) < 1e-6 && std::fabs(p.y - y) < 1e-6;
}

// 道路 (row 1) and 乔木 (row 3) of the shipped legend directory, then a second 道路.
const char* kAddTwo = "@select 2028 1\n@click 2025\n@dblclick 2028 3\n@select 2028 1\n@click 2025\n";

}  // namespace

TEST_F(LegendCommand, DialogRemovesRowsByButtonAndDoubleClick) {
    const std::string out = Run(std::string("KyMapLegend\n") + kAddTwo +
                                "@show\n@select 2029 0\n@click 2026\n@show\n@dblclick 2029 0\n@close\n");
    // The lists and the refusal of a second 乔木 are checked by the legend script. Removing row 0 left 乔木 alone; the double click took it away too.
    EXPECT_TRUE(Has(out, "2029 row 0 \"乔木\""));
    EXPECT_TRUE(g_legendNames.empty());
    EXPECT_EQ(g_legendBlockIds.length(), 0);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(LegendCommand, EachClickWritesTheLegendWithRowsSixApartAndFittedBlocks) {
    const std::string out = Run(std::string("KyMapLegend\n") + kAddTwo + "~5,5\n10,20\n110,20\n\n");
    EXPECT_TRUE(Has(out, "点取图例位置或 [改基点(T)]<退出>:"));
    const auto texts = Texts();
    const auto blocks = Blocks();
    ASSERT_EQ(texts.size(), 6u);
    ASSERT_EQ(blocks.size(), 4u);
    for (const auto* t : texts) EXPECT_EQ(t->layer(), std::wstring(L"PLAN-SAMPLE"));
    EXPECT_EQ(texts[0]->GetText(), L"图例");
    EXPECT_TRUE(Near(texts[0]->GetPosition(), 10, 20));
    EXPECT_EQ(texts[0]->GetAlignment(), KyGiText::kCenterMiddle);
    EXPECT_EQ(texts[1]->GetText(), L"道路");
    EXPECT_TRUE(Near(texts[1]->GetPosition(), 11.75, 12.25));
    EXPECT_EQ(texts[1]->GetAlignment(), KyGiText::kLeftMiddle);
    EXPECT_TRUE(Near(texts[2]->GetPosition(), 11.75, 6.25));
    EXPECT_TRUE(Near(texts[3]->GetPosition(), 110, 20));  // the second legend
    EXPECT_TRUE(Near(blocks[0]->GetPosition(), 3.75, 14));
    EXPECT_TRUE(Near(blocks[1]->GetPosition(), 3.75, 8));
    for (const auto* b : blocks) {
        EXPECT_EQ(b->layer(), std::wstring(L"PLAN-SAMPLE"));
        // Fitted into 9 × 4.5: one side fills the cell, neither exceeds it.
        AcDbExtents box;
        ASSERT_EQ(b->GetGeomExtents2d(box), Acad::eOk);
        const double w = box.maxPoint().x - box.minPoint().x;
        const double h = box.maxPoint().y - box.minPoint().y;
        EXPECT_LE(w, 9.0 + 1e-6);
        EXPECT_LE(h, 4.5 + 1e-6);
        EXPECT_TRUE(std::fabs(w - 9.0) < 1e-6 || std::fabs(h - 4.5) < 1e-6) << w << " x " << h;
        EXPECT_DOUBLE_EQ(b->GetScaleFactors().sx, 0.5);
    }
}

TEST_F(LegendCommand, TheBaseKeywordMovesTheHandleWithoutAJump) {
    const std::string out =
        Run(std::string("KyMapLegend\n") + kAddTwo + "~100,100\nT\n90,95\n~90,95\nT\nESC\n200,200\n\n");
    EXPECT_TRUE(Has(out, "输入插入点"));
    // The legend shown during the pick was taken away again; only the click's copy stays.
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_TRUE(Near(texts[0]->GetPosition(), 210, 205));
}

TEST_F(LegendCommand, InATurnedUserSystemRowsRunDownItsYAxis) {
    Run(std::string("KyMapLegend\n") + kAddTwo + "0,0\n\n", [] {
        vorn::ed::Ucs turned;
        turned.angle = M_PI / 6;
        vorn::ed::SetUcs(turned);
    });
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 2u);
    const double a = M_PI / 6, c = std::cos(a), s = std::sin(a);
    EXPECT_TRUE(Near(blocks[1]->GetPosition(), -6.25 * c + 12 * s, -6.25 * s - 12 * c));
    EXPECT_NEAR(blocks[0]->GetRotation(), a, 1e-9);
    EXPECT_NEAR(Texts()[1]->GetRotation(), 0.0, 1e-12);
}

TEST_F(LegendCommand, TheNextRunRestoresTheSelectionAndDropsVanishedNames) {
    Run(std::string("KyMapLegend\n") + kAddTwo + "@close\n");
    ASSERT_EQ(g_legendNames, (std::vector<std::wstring>{L"道路", L"乔木"}));
    g_legendNames.insert(g_legendNames.begin() + 1, L"不存在");
    // A new drawing: the blocks are loaded afresh into it.
    m_drawing.renew();
    const std::string out = Run("KyMapLegend\n@show\n0,0\n\n");
    EXPECT_TRUE(Has(out, "2029 row 0 \"道路\""));
    EXPECT_TRUE(Has(out, "2029 row 1 \"乔木\""));
    EXPECT_EQ(g_legendNames, (std::vector<std::wstring>{L"道路", L"乔木"}));
    EXPECT_EQ(Blocks().size(), 2u);
}

TEST_F(LegendCommand, AnUnreadableGroupSaysSoAndPlacesNothing) {
    g_legendNames = {L"道路"};
    SetMainDirectory(VORN_BINARY_DIR L"/no-such-support/");
    const std::string out = Run("KyMapLegend\n@show\n0,0\n@close\n");
    EXPECT_TRUE(Has(out, "读取图库组失败"));
    EXPECT_TRUE(Has(out, "错误"));
    EXPECT_TRUE(Texts().empty());
    // The selection is kept for a run that can read the library again.
    EXPECT_EQ(g_legendNames, (std::vector<std::wstring>{L"道路"}));
}

TEST_F(LegendCommand, TheSelectedRowsSymbolShowsInTheDialogPicture) {
    const std::string dir = VORN_BINARY_DIR "/tests/legend/command";
    std::filesystem::create_directories(dir);
    const std::string empty = dir + "/legend-none.png", shown = dir + "/legend-road.png";
    std::filesystem::remove(empty);
    std::filesystem::remove(shown);
    SetMainDirectory(VORN_BINARY_DIR L"/no-such-support/");
    Run("KyMapLegend\n@dialogshot " + empty + "\n@close\n");
    SetMainDirectory(VORN_SOURCE_DIR L"/support/");
    Run("KyMapLegend\n@select 2028 1\n@dialogshot " + shown + "\n@close\n");
    ASSERT_TRUE(std::filesystem::exists(empty));
    ASSERT_TRUE(std::filesystem::exists(shown));
    // The same dialog with a symbol drawn in its frame (and rows in its list) differs.
    EXPECT_NE(std::filesystem::file_size(empty), std::filesystem::file_size(shown));
}

TEST_F(LegendCommand, RowsDraggedInTheSelectedListTakeTheirBlocksAlong) {
    // The user drags row 1 above row 0 once 草坪 is chosen (while its symbol loads).
    static bool moved;
    moved = false;
    SetLegendSymbolLoader([](const KyDtLibItemBase& row) {
        if (row.GetName() == L"草坪" && !std::exchange(moved, true))
            if (CDialog* dialog = vorn::ui::TheOpenDialog())
                if (HWND item = ::GetDlgItem(dialog->GetSafeHwnd(), 2029))
                    if (auto* list = dynamic_cast<CDragListBox*>(item->handler)) list->MoveRow(1, 0);
        return MakeSymbol(row);
    });
    Run(std::string("KyMapLegend\n") + kAddTwo + "@select 2028 5\n@click 2025\n~1,1\n0,0\n\n");
    ASSERT_EQ(g_legendNames, (std::vector<std::wstring>{L"乔木", L"道路", L"草坪"}));
    const auto blocks = Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    // Row 0 now holds the tree's block (2 × 9, fitted by its height).
    AcDbExtents box;
    ASSERT_EQ(blocks[0]->GetGeomExtents2d(box), Acad::eOk);
    EXPECT_NEAR(box.maxPoint().y - box.minPoint().y, 4.5, 1e-6);
    EXPECT_NEAR(box.maxPoint().x - box.minPoint().x, 1.0, 1e-6);
    EXPECT_EQ(Texts()[1]->GetText(), L"乔木");
}
