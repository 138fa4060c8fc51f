// The module frame in process: message 1 registers the eight commands and the resources,
// messages 3 to 5 change nothing, message 2 takes exactly the module's group away and a second
// message 1 brings it back; guards restore in reverse order; the language key of the module's
// file; translation with and without a language switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/ed/commands.h"
#include "host/mfc/resources.h"
#include "host/rx/rxregistry.h"

namespace {

namespace fs = std::filesystem;

const wchar_t* const kNames[] = {L"sample",      L"KyDrawParkSpace", L"KyRYBS",     L"KyDrawRoad",
                                 L"KyRoadFillet", L"KyMapLegend",     L"KyRoadElev", L"KyRoadSlope"};

std::vector<std::wstring> GroupCommands(const std::wstring& group) {
    std::vector<std::wstring> names;
    for (const vorn::ed::CommandInfo& c : vorn::ed::AllCommands())
        if (c.group == group) names.push_back(c.globalName);
    return names;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing");
        VornFrameAttach(m_module, L"/opt/vorncad/VornGeneralDrawing.arx");
        KyInstallLanguageSwitch(L"", "");
    }
    void TearDown() override {
        VornFrameEntryPoint(AcRx::kUnloadAppMsg, &m_appId);
        KyInstallLanguageSwitch(L"", "");
        g_pModuleLang = nullptr;
    }
    HINSTANCE m_module = nullptr;
    int m_appId = 0;
};

}  // namespace

TEST_F(FrameTest, LoadUnloadAndReloadRegisterExactlyTheModulesGroup) {
    // The table itself: eight entries in their order, each with the pick-set flag.
    const KyCmdTable* table = vorn::frame::CommandTable();
    for (int i = 0; i < vorn::frame::kCommandCount; ++i) {
        EXPECT_EQ(std::wstring(table[i].name), kNames[i]);
        EXPECT_EQ(table[i].flags, ACRX_CMD_USEPICKSET);
    }
    ASSERT_TRUE(vorn::ed::AddCommand(L"OTHER", L"KEEPME", L"KEEPME", 0, [] {}));
    ASSERT_EQ(VornFrameEntryPoint(AcRx::kInitAppMsg, &m_appId), AcRx::kRetOK);
    EXPECT_EQ(GroupCommands(L"VornGeneralDrawing").size(), 8u);
    for (const wchar_t* name : kNames) {
        const vorn::ed::CommandInfo* c = vorn::ed::LookupCommand(name);
        ASSERT_NE(c, nullptr) << vorn::ToUtf8(name);
        EXPECT_EQ(c->group, L"VornGeneralDrawing");
        EXPECT_EQ(c->flags, ACRX_CMD_USEPICKSET);
    }
    EXPECT_EQ(VornModuleResources(), m_module);
    EXPECT_NE(vorn::mfc::FindDialogTemplate(m_module, 2004), nullptr);
    EXPECT_NE(LoadCursorW(m_module, MAKEINTRESOURCEW(2008)), nullptr);

    // "sample" does nothing, visibly.
    std::wstring printed;
    vorn::HostPrinter saved = vorn::SetHostPrinter([&](const std::wstring& t) { printed += t; });
    vorn::ed::LookupCommand(L"sample")->function();
    vorn::SetHostPrinter(saved);
    EXPECT_TRUE(printed.empty());

    // Messages 3, 4, 5 and the others the module does not answer: success, and nothing moves.
    for (AcRx::AppMsgCode msg : {AcRx::kLoadDwgMsg, AcRx::kUnloadDwgMsg, AcRx::kInvkSubrMsg, AcRx::kNullMsg,
                                 AcRx::kCfgMsg, AcRx::kQuitMsg, AcRx::kSaveMsg}) {
        EXPECT_EQ(VornFrameEntryPoint(msg, &m_appId), AcRx::kRetOK);
        EXPECT_EQ(GroupCommands(L"VornGeneralDrawing").size(), 8u);
        EXPECT_EQ(VornModuleResources(), m_module);
    }

    EXPECT_EQ(VornFrameEntryPoint(AcRx::kUnloadAppMsg, &m_appId), AcRx::kRetOK);
    EXPECT_FALSE(vorn::ed::HasGroup(L"VornGeneralDrawing"));
    EXPECT_EQ(vorn::ed::LookupCommand(L"KyDrawRoad"), nullptr);
    EXPECT_NE(vorn::ed::LookupCommand(L"KEEPME"), nullptr);  // another group is left alone
    EXPECT_EQ(VornModuleResources(), nullptr);

    ASSERT_EQ(VornFrameEntryPoint(AcRx::kInitAppMsg, &m_appId), AcRx::kRetOK);
    EXPECT_EQ(GroupCommands(L"VornGeneralDrawing").size(), 8u);
    EXPECT_EQ(VornModuleResources(), m_module);
    vorn::ed::RemoveGroup(L"OTHER");
}

TEST_F(FrameTest, NestedGuardsRestoreInReverseOrder) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "test-output" / "frame" / "guards";
    fs::create_directories(dir);
    std::ofstream(dir / "VORNGENERALDRAWING.en.json") << R"({"a": "b"})";
    KyInstallLanguageSwitch(L"en", dir.string());
    ASSERT_EQ(GetModuleLangKey(), L"VORNGENERALDRAWING");
    KyDtDictionary* const moduleLang = g_pModuleLang;
    ASSERT_NE(moduleLang, nullptr);
    const HINSTANCE before = AfxGetResourceHandle();
    KyDtDictionary callerLang;
    g_pCurModuleLang = &callerLang;
    const HINSTANCE other = vorn::mfc::RegisterResourceModule(L"OtherModule");
    {
        KyUtPushResource outer(m_module);
        EXPECT_EQ(AfxGetResourceHandle(), m_module);
        EXPECT_EQ(g_pCurModuleLang, moduleLang);
        {
            KyUtPushResource inner(other);
            EXPECT_EQ(AfxGetResourceHandle(), other);
            g_pCurModuleLang = nullptr;  // whatever the inner work leaves behind
        }
        EXPECT_EQ(AfxGetResourceHandle(), m_module);
        EXPECT_EQ(g_pCurModuleLang, moduleLang);
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
    EXPECT_EQ(g_pCurModuleLang, &callerLang);
    g_pCurModuleLang = nullptr;
    vorn::mfc::UnregisterResourceModule(other);
}

TEST(FrameLangKey, TheUpperCaseStemOfTheModulesFileLessOneFinalDigit) {
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/VornGeneralDrawing.arx"), L"VORNGENERALDRAWING");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/VornGeneralDrawing2.arx"), L"VORNGENERALDRAWING");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/VornGeneralDrawing12.arx"), L"VORNGENERALDRAWING1");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/v1/a.b.arx"), L"A");  // the first full stop ends the stem
    // No key: no separator, the separator first or last, no full stop or one at the start.
    EXPECT_EQ(KyModuleLangKeyFromPath(L"VornGeneralDrawing.arx"), L"");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/VornGeneralDrawing.arx"), L"");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/"), L"");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/VornGeneralDrawing"), L"");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/vorncad/.arx"), L"");
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/opt/7.arx"), L"");
    // Only the first 1023 characters of the path count.
    EXPECT_EQ(KyModuleLangKeyFromPath(L"/" + std::wstring(1030, L'a') + L".arx"), L"");
}

TEST_F(FrameTest, TextsTranslateThroughTheSwitchAndShowAsWrittenWithoutOne) {
    EXPECT_EQ(KyUtTranslate(L"\n请点取道路起点<退出>:"), L"\n请点取道路起点<退出>:");
    EXPECT_EQ(GetModuleLangKey(), L"");  // no switch: no key, and no dictionary
    EXPECT_EQ(g_pModuleLang, nullptr);

    const fs::path dir = fs::path(VORN_BINARY_DIR) / "test-output" / "frame" / "lang";
    fs::create_directories(dir);
    std::ofstream(dir / "VORNGENERALDRAWING.en.json") << R"({"你好": "Hello"})";
    KyInstallLanguageSwitch(L"en", dir.string());
    EXPECT_EQ(KyUtTranslate(L"你好"), L"Hello");
    EXPECT_EQ(KyUtTranslate(L"再见"), L"再见");  // no translation: as written
    EXPECT_EQ(GetModuleLangKey(), L"VORNGENERALDRAWING");
    ASSERT_NE(g_pModuleLang, nullptr);
    EXPECT_EQ(g_pCurModuleLang, nullptr);  // only a guard makes the dictionary current

    // A new switch frees the old dictionaries; the frame resolves its dictionary again.
    std::ofstream(dir / "VORNGENERALDRAWING.de.json") << R"({"你好": "Hallo"})";
    KyInstallLanguageSwitch(L"de", dir.string());
    EXPECT_EQ(KyUtTranslate(L"你好"), L"Hallo");
    KyInstallLanguageSwitch(L"", "");
    EXPECT_EQ(KyUtTranslate(L"你好"), L"你好");
    // A language without a dictionary file shows the texts as written.
    KyInstallLanguageSwitch(L"fr", dir.string());
    EXPECT_EQ(KyUtTranslate(L"你好"), L"你好");
}

TEST(FrameDictionary, TheShippedEnglishTextsKeepKeyLettersAndFormats) {
    KyDtDictionary en;
    std::wstring error;
    ASSERT_TRUE(en.Load(std::string(VORN_SOURCE_DIR) + "/resources/lang/VORNGENERALDRAWING.en.json", error))
        << vorn::ToUtf8(error);
    EXPECT_GT(en.Size(), 30u);
    const std::wstring* road = en.Find(L"\n请点取道路的下一点或 [弧道路(A)/回退(U)/闭合(C)]<退出>:");
    ASSERT_NE(road, nullptr);
    EXPECT_NE(road->find(L"(A)"), std::wstring::npos);
    EXPECT_NE(road->find(L"(U)"), std::wstring::npos);
    EXPECT_NE(road->find(L"(C)"), std::wstring::npos);
    const std::wstring* radius = en.Find(L"\n树半径<%lg>:");
    ASSERT_NE(radius, nullptr);
    EXPECT_NE(radius->find(L"%lg"), std::wstring::npos);
    // Layer names are not translated (the parking lists' choices are: the commands read them
    // in either language).
    EXPECT_EQ(en.Find(L"PLAN-ROAD_CENTER"), nullptr);
}
