// The tree settings through the store: a corrupt file, stored values that are out of range, and
// what counts as a number.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "framework/store/KyHistoryData.h"
#include "tree/treesettings.h"

namespace {

std::string Scratch(const char* name) {
    return std::string(VORN_BINARY_DIR) + "/tree_settings_" + name + ".json";
}

void Defaults() {
    g_dTreeRadius = 1500; g_dTreeSpacing = 3000;
    g_dTreeRadiusMin = 800; g_dTreeRadiusMax = 1500;
    g_dTreeSpacingMin = 1000; g_dTreeSpacingMax = 2000;
    g_nTreeBlockSource = g_nTreeDrawMode = 0;
    g_bTreeRandomRotate = g_bTreeSelfAdjust = g_bTreeFixedRadius = g_bTreeFixedSpacing = 0;
}

// First-run texts and values kept between runs are checked by the tree scripts.
TEST(TreeSettings, CorruptOrOutOfRangeStoreKeepsTheDefaults) {
    const std::string file = Scratch("corrupt");
    { std::ofstream(file) << "{ not json"; }
    g_dictHistoryData.SetFileName(file);
    Defaults();
    g_dictHistoryData.Load(file);
    KyTreeLoadSettings();
    EXPECT_STREQ(g_strTreeRadius, L"1500.00");
    EXPECT_EQ(g_nTreeDrawMode, 0);

    KyHistoryDict& dict = g_dictHistoryData.FindOrAddDict(kTreeSettingsPath);
    dict.SetValue(L"RADIOSGRAY", 9);
    dict.SetValue(L"RADIOVALUE", -5.0);
    dict.SetValue(L"SPACEVALUE", std::wstring(L"wide"));
    Defaults();
    KyTreeLoadSettings();
    EXPECT_EQ(g_nTreeDrawMode, 0);
    EXPECT_STREQ(g_strTreeRadius, L"1500.00");
    EXPECT_STREQ(g_strTreeSpacing, L"3000.00");
    std::remove(file.c_str());
    std::remove((file + ".bad").c_str());
}

TEST(TreeSettings, NumberTexts) {
    EXPECT_TRUE(KyTreeIsNumberText(L"2.5"));
    EXPECT_TRUE(KyTreeIsNumberText(L"1500"));
    EXPECT_FALSE(KyTreeIsNumberText(L"12a"));
    EXPECT_FALSE(KyTreeIsNumberText(L"1.2.3"));
    EXPECT_FALSE(KyTreeIsNumberText(L""));
    EXPECT_FALSE(KyTreeIsNumberText(L"-3"));
}

}  // namespace
