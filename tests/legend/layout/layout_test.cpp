// The legend directory search, restoring a selection and symbol fit factors, against
// hand-computed values (row positions are checked through the command and its scripts).
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

TEST(LegendDirectory, FoundDepthFirstThroughCategoriesOnlyOrNull) {
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
    // None found: an item of that name is no directory, and an empty library has none.
    KyDtLibrary none(L"lib", L"/x/");
    none.AddChild(Dir(L"总平设计"))->AddChild(Dir(kLegendDirectoryName));
    none.AddChild(Item(L"总平图例"));
    EXPECT_EQ(FindLegendDirectory(none), nullptr);
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
