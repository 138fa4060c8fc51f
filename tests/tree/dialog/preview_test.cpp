// The tree dialog's preview: the first default tree when nothing is chosen, the next default
// tree at each click in the area mode, a block of the drawing; the tree cursor over the preview
// in the area mode only.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/KyDbUtil.h"
#include "framework/library/KyFindFile.h"
#include "framework/store/KyHistoryData.h"
#include "host/base/textcodec.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbsymtb.h"
#include "host/ed/aced.h"
#include "host/mfc/resources.h"
#include "tests/host/ed/session.h"
#include "tests/modulecommand.h"
#include "tests/testdrawing.h"
#include "tree/treedlg.h"
#include "tree/treesettings.h"

namespace {

// What the command's pending prompt gets after a dialog request: the dialog's cancel.
int PendingPromptAnswer() {
    ads_point p;
    return acedGetPoint(nullptr, L"", p);
}

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class TreeDialog : public ::testing::Test {
protected:
    void SetUp() override {
        // A file for each test: ctest runs the tests of this program side by side.
        g_dictHistoryData.SetFileName(std::string(VORN_BINARY_DIR) + "/tree_dialog_" +
                                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".json");
        std::remove(g_dictHistoryData.GetFileName().c_str());
        g_dictHistoryData.Load(g_dictHistoryData.GetFileName());
        SetMainDirectory(VORN_SOURCE_DIR L"/support/");
        vorn::test::LoadModuleFrame();
        g_nTreeDrawMode = 0;
        g_nTreeDefaultIndex = 0;
        g_idTreeBlock = AcDbObjectId();
        g_strTreeBlockFile = L"";
    }
    void TearDown() override { vorn::test::UnloadModuleFrame(); }
    // A block of the drawing: a line ten long.
    AcDbObjectId MakeBlock() { return m_drawing.block(L"MYTREE", {vorn::test::Line(-5, 0, 5, 0)}); }
    bool Create(KyRYBSDlg& dialog) {
        KyUtPushResource guard(VornModuleResources());
        return dialog.Create(IDD_TREE_DLG) != FALSE;
    }
    vorn::test::TestDrawing m_drawing;
    vorn::ed::test::Session m_session{""};  // takes the cancels the dialog sends
};

}  // namespace

TEST_F(TreeDialog, PreviewStartsWithTheFirstTreeAndStepsThroughTheDefaultsInTheAreaMode) {
    KyRYBSDlg dialog;
    ASSERT_TRUE(Create(dialog));
    EXPECT_TRUE(EndsWith(dialog.GetPreview().GetFileName(), L"_Tree1.dxf"))
        << vorn::ToUtf8(dialog.GetPreview().GetFileName());
    EXPECT_GT(dialog.GetPreview().GetEntityCount(), 0);

    HWND preview = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TREE_PREVIEW);
    vorn::mfc::ClickControl(preview);  // outside the area mode a click changes nothing
    EXPECT_TRUE(EndsWith(dialog.GetPreview().GetFileName(), L"_Tree1.dxf"));
    ::SendMessageW(dialog.GetSafeHwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(preview), 0);
    EXPECT_NE(vorn::mfc::CursorId(vorn::mfc::CurrentCursor()), 2008);

    vorn::mfc::ClickControl(::GetDlgItem(dialog.GetSafeHwnd(), IDC_TREE_MODE_AREA));
    for (const wchar_t* next : {L"_Tree2.dxf", L"_Tree3.dxf", L"_Tree4.dxf", L"_Tree1.dxf"}) {
        vorn::mfc::ClickControl(preview);
        EXPECT_TRUE(EndsWith(dialog.GetPreview().GetFileName(), next)) << vorn::ToUtf8(next);
        EXPECT_TRUE(EndsWith(g_strTreeBlockFile.GetString(), next));
    }
    ::SendMessageW(dialog.GetSafeHwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(preview), 0);
    EXPECT_EQ(vorn::mfc::CursorId(vorn::mfc::CurrentCursor()), 2008);
    dialog.DestroyWindow();
}

TEST_F(TreeDialog, ABlockOfTheDrawingIsPreviewedByItself) {
    g_idTreeBlock = MakeBlock();

    KyRYBSDlg dialog;
    ASSERT_TRUE(Create(dialog));
    EXPECT_TRUE(dialog.GetPreview().GetFileName().empty());
    EXPECT_EQ(dialog.GetPreview().GetEntityCount(), 1);
    AcDbExtents box;
    ASSERT_TRUE(dialog.GetPreview().GetExtents(box));
    EXPECT_NEAR(box.maxPoint().x - box.minPoint().x, 10.0, 1e-9);
    dialog.PreviewBlockId(AcDbObjectId());  // a null block keeps what is shown
    EXPECT_EQ(dialog.GetPreview().GetEntityCount(), 1);
    dialog.DestroyWindow();
}

TEST_F(TreeDialog, ThePickButtonTakesTheBlockFromTheChosenSourceAndTellsTheCommand) {
    const AcDbObjectId block = MakeBlock();
    m_drawing.add(new AcDbBlockReference(AcGePoint3d(100, 100, 0), block));

    // Answers, in order: a pick of the placed block, an Enter that picks nothing, a library
    // item by name, a file from the open-file dialog.
    const std::string tree3 = std::string(VORN_SOURCE_DIR) + "/support/_Tree3.dwg";
    vorn::ed::test::Session answers("100,100\n\n环形乔木\n" + tree3 + "\n");
    vorn::ed::InstallHostChannels();  // the picker and the file dialog read their answers there
    KyRYBSDlg dialog;
    ASSERT_TRUE(Create(dialog));
    dialog.ShowWindow(SW_SHOW);
    HWND pick = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TREE_PICKBLOCK);

    vorn::mfc::ClickControl(pick);  // source 0: the drawing
    EXPECT_EQ(PendingPromptAnswer(), RTCAN);
    EXPECT_EQ(g_idTreeBlock, block);
    EXPECT_TRUE(g_strTreeBlockFile.IsEmpty());
    EXPECT_EQ(dialog.GetPreview().GetEntityCount(), 1);
    EXPECT_EQ(dialog.m_bRefresh, 1);
    EXPECT_TRUE(dialog.IsWindowVisible());  // back after the pick
    dialog.m_bRefresh = 0;

    vorn::mfc::ClickControl(pick);  // nothing picked: the block stays
    EXPECT_EQ(PendingPromptAnswer(), RTCAN);
    EXPECT_TRUE(answers.Has("图块无效！"));
    EXPECT_EQ(g_idTreeBlock, block);

    vorn::mfc::ClickControl(::GetDlgItem(dialog.GetSafeHwnd(), IDC_TREE_SRC_LIBRARY));
    vorn::mfc::ClickControl(pick);
    EXPECT_EQ(PendingPromptAnswer(), RTCAN);
    EXPECT_TRUE(EndsWith(g_strTreeBlockFile.GetString(), L"Tree3.dxf")) << answers.Out();
    EXPECT_TRUE(g_idTreeBlock.isNull());
    EXPECT_TRUE(EndsWith(dialog.GetPreview().GetFileName(), L"Tree3.dxf"));

    vorn::mfc::ClickControl(::GetDlgItem(dialog.GetSafeHwnd(), IDC_TREE_SRC_FILE));
    vorn::mfc::ClickControl(pick);
    EXPECT_EQ(PendingPromptAnswer(), RTCAN);
    EXPECT_EQ(std::string(vorn::ToUtf8(g_strTreeBlockFile.GetString())), tree3);
    EXPECT_GT(dialog.GetPreview().GetEntityCount(), 0);  // its ".dxf" twin is drawn
    dialog.DestroyWindow();
}
