// The legend directory search, restoring a selection, row positions and symbol fit factors,
// against hand-computed values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "framework/core/KyDtLayer.h"
#include "host/db/dbmain.h"
#include "legend/legendlayout.h"
#include "legend/legendlibrary.h"

namespace {

std::unique_ptr<KyDtLibItemBase> Dir(const wchar_t* name) {
    return std::make_unique<KyDtLibDirectory>(name);
}
std::unique_ptr<KyDtLibItemBase> Cat(const wchar_t* name) {
    return std::make_unique<KyDtLibCategory>(name);
}
std::unique_ptr<KyDtLibItemBase> Item(const wchar_t* name, const wchar_t* file = L"a.dxf") {
    return std::make_unique<KyDtLibItem>(name, file);
}

// The right angle is a rounded constant: positions agree to about 1e-10 per unit.
void ExpectAt(const AcGePoint3d& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-7);
    EXPECT_NEAR(p.y, y, 1e-7);
}

TEST(LegendDirectory, FoundDepthFirstThroughCategoriesOnly) {
    KyDtLibrary lib(L"lib", L"/x/");
    // A directory of another name is not entered, even when it holds a legend directory.
    KyDtLibItemBase* other = lib.AddChild(Dir(L"总平设计"));
    KyDtLibItemBase* hidden = other->AddChild(Dir(kLegendDirectoryName));
    hidden->AddChild(Item(L"hidden"));
    KyDtLibItemBase* cat = lib.AddChild(Cat(L"常用"));
    KyDtLibItemBase* inner = cat->AddChild(Cat(L"更深"));
    KyDtLibItemBase* first = inner->AddChild(Dir(kLegendDirectoryName));
    first->AddChild(Item(L"道路"));
    first->AddChild(Item(L""));
    first->AddChild(Item(L"乔木"));
    KyDtLibItemBase* second = lib.AddChild(Dir(kLegendDirectoryName));
    second->AddChild(Item(L"late"));

    const KyDtLibItemBase* found = FindLegendDirectory(lib);
    ASSERT_EQ(found, first);
    const auto rows = LegendRows(*found);
    ASSERT_EQ(rows.size(), 2u);  // the unnamed child has no row
    EXPECT_EQ(rows[0]->GetName(), L"道路");
    EXPECT_EQ(rows[1]->GetName(), L"乔木");
}

TEST(LegendDirectory, MissingGivesNull) {
    KyDtLibrary lib(L"lib", L"/x/");
    lib.AddChild(Dir(L"总平设计"))->AddChild(Dir(kLegendDirectoryName));
    lib.AddChild(Item(L"总平图例"));  // an item of that name is no directory
    EXPECT_EQ(FindLegendDirectory(lib), nullptr);
    KyDtLibrary empty(L"e", L"/x/");
    EXPECT_EQ(FindLegendDirectory(empty), nullptr);
}

TEST(LegendRestore, KeepsOrderDropsMissingAndUnloadable) {
    KyDtLibDirectory dir(kLegendDirectoryName);
    dir.AddChild(Item(L"A"));
    dir.AddChild(Item(L"B", L"broken.dxf"));
    dir.AddChild(Item(L"C"));
    const auto rows = LegendRows(dir);
    AcDbDatabase db(true);
    const LegendSymbolLoader load = [&](const KyDtLibItemBase& row) {
        auto* item = dynamic_cast<const KyDtLibItem*>(&row);
        if (item->GetDataFile() == L"broken.dxf") return AcDbObjectId::kNull;
        return KyDtInitLayer(row.GetName().c_str(), &db);  // any live id stands for a block
    };
    std::vector<std::wstring> names{L"C", L"gone", L"B", L"A", L"c"};
    AcDbObjectIdArray ids;
    RestoreLegendSelection(rows, names, ids, load);
    ASSERT_EQ(names, (std::vector<std::wstring>{L"C", L"A"}));  // exact, case-sensitive names
    ASSERT_EQ(ids.length(), 2);
    EXPECT_EQ(ids[0], KyDtInitLayer(L"C", &db));
    EXPECT_EQ(ids[1], KyDtInitLayer(L"A", &db));
}

TEST(LegendLayout, RowsAtPrintScaleOneAndTwo) {
    const AcGePoint3d p(100, 200, 0);
    auto rows = LegendRowLayout(p, 0.0, 1.0, 2);
    ASSERT_EQ(rows.size(), 2u);
    ExpectAt(rows[0].block, 93.75, 194.0);
    ExpectAt(rows[0].text, 101.75, 192.25);
    ExpectAt(rows[1].block, 93.75, 188.0);
    ExpectAt(rows[1].text, 101.75, 186.25);

    rows = LegendRowLayout(p, 0.0, 100.0, 1);
    ExpectAt(rows[0].block, 100 - 625, 200 - 600);
    ExpectAt(rows[0].text, 100 + 175, 200 - 775);
    EXPECT_TRUE(LegendRowLayout(p, 0.0, 1.0, 0).empty());
}

TEST(LegendLayout, RowsRunDownTheTurnedUserYAxis) {
    const double a = M_PI / 6;  // user X axis at 30°
    const auto rows = LegendRowLayout(AcGePoint3d(0, 0, 0), a, 1.0, 2);
    // In user terms the first block stands at (-6.25, -6), the second at (-6.25, -12).
    const double c = std::cos(a), s = std::sin(a);
    auto world = [&](double ux, double uy) { return AcGePoint3d(ux * c - uy * s, ux * s + uy * c, 0); };
    const AcGePoint3d b0 = world(-6.25, -6.0), t0 = world(1.75, -7.75), b1 = world(-6.25, -12.0);
    ExpectAt(rows[0].block, b0.x, b0.y);
    ExpectAt(rows[0].text, t0.x, t0.y);
    EXPECT_NEAR(rows[1].block.x, b1.x, 1e-8);
    EXPECT_NEAR(rows[1].block.y, b1.y, 1e-8);
}

TEST(LegendFit, FactorsAndZeroExtents) {
    EXPECT_DOUBLE_EQ(LegendFitFactor(3, 18, 1), 0.5);   // the width limits
    EXPECT_DOUBLE_EQ(LegendFitFactor(9, 2, 1), 0.5);    // the height limits
    EXPECT_DOUBLE_EQ(LegendFitFactor(4.5, 9, 1), 1.0);
    EXPECT_DOUBLE_EQ(LegendFitFactor(300, 1800, 100), 0.5);
    EXPECT_DOUBLE_EQ(LegendFitFactor(0, 18, 1), 0.5);   // a flat symbol: from its width
    EXPECT_DOUBLE_EQ(LegendFitFactor(9, 0, 1), 0.5);    // a thin one: from its height
    EXPECT_DOUBLE_EQ(LegendFitFactor(0, 0, 1), 1.0);    // a point: left as it is
    EXPECT_DOUBLE_EQ(LegendFitFactor(NAN, INFINITY, 1), 1.0);
    // Blocks that cannot be measured take the previous sizes: the cell at first, factor 1.
    AcDbObjectIdArray none;
    none.append(AcDbObjectId::kNull);
    const auto factors = LegendFitFactors(none, 100);
    ASSERT_EQ(factors.size(), 1u);
    EXPECT_DOUBLE_EQ(factors[0], 1.0);
}

}  // namespace
