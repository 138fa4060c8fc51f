// Message boxes, file dialogs and modal dialogs through the host's installed print and line
// channels.
#include <gtest/gtest.h>

#include <deque>

#include "host/ui/modalinput.h"
#include "testdialog.h"

using namespace vorn::test;

namespace {

// Feeds lines to HostReadLine; an exhausted feed is the end of input.
struct LineFeed {
  explicit LineFeed(std::deque<std::wstring> input) : lines(std::move(input)) {
    old = vorn::SetHostLineReader([this](const std::wstring& prompt, std::wstring& line) {
      prompts.push_back(prompt);
      if (lines.empty()) return false;
      line = lines.front();
      lines.pop_front();
      return true;
    });
  }
  ~LineFeed() { vorn::SetHostLineReader(old); }
  LineFeed(const LineFeed&) = delete;
  LineFeed& operator=(const LineFeed&) = delete;
  std::deque<std::wstring> lines;
  std::vector<std::wstring> prompts;
  vorn::HostLineReader old;
};

}  // namespace

TEST(MessageBox, PrintsCaptionAndTextAndAnswersTheDefaultButton) {
  DialogFixture f;
  EXPECT_EQ(MessageBoxW(nullptr, L"读取图库组失败", L"错误", MB_ICONERROR), IDOK);
  EXPECT_EQ(f.transcript, L"\n[错误] 读取图库组失败");
  EXPECT_EQ(MessageBoxW(nullptr, L"?", L"", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"?", nullptr, MB_OKCANCEL), IDOK);
  EXPECT_EQ(AfxMessageBox(L"已选择此图例！"), IDOK);
  EXPECT_NE(f.transcript.find(L"已选择此图例！"), std::wstring::npos);
}

TEST(FileDialog, TakesTheNextLineAsThePath) {
  DialogFixture f;
  LineFeed feed({L"  \"/tmp/trees/橡树\"  ", L"ESC", L""});
  CFileDialog open(TRUE, L"dwg", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, L"CAD图形文件(*.dwg)||");
  ASSERT_EQ(open.DoModal(), IDOK);
  EXPECT_EQ(open.GetPathName(), L"/tmp/trees/橡树.dwg");
  EXPECT_EQ(open.GetFileName(), L"橡树.dwg");
  EXPECT_EQ(open.GetFileTitle(), L"橡树");
  EXPECT_EQ(open.GetFileExt(), L"dwg");
  EXPECT_EQ(open.GetFolderPath(), L"/tmp/trees");
  EXPECT_NE(feed.prompts[0].find(L"CAD图形文件(*.dwg)"), std::wstring::npos);
  CFileDialog cancelled(TRUE);
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);  // ESC
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);  // an empty line
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);  // end of input
  EXPECT_TRUE(cancelled.GetPathName().IsEmpty());
}

TEST(ModalDialog, EventsThenEnterAnswerOkWithTheData) {
  DialogFixture f;
  vorn::ui::InstallModalDialogInput();
  LineFeed feed({L"@edit 101 新值", L"hello?", L"@bogus", L"", L"unused"});
  TestDialog d;
  EXPECT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(d.m_text, L"新值");
  EXPECT_EQ(d.m_hWnd, nullptr);
  EXPECT_EQ(feed.lines.size(), 1u);
  EXPECT_NE(f.transcript.find(L"is waiting"), std::wstring::npos);
  EXPECT_NE(f.transcript.find(L"unknown dialog event"), std::wstring::npos);
}

TEST(ModalDialog, EscapeOrEndOfInputCancels) {
  DialogFixture f;
  vorn::ui::InstallModalDialogInput();
  {
    LineFeed feed({L"@edit 101 changed", L"ESC"});
    TestDialog d;
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(d.m_text, L"hello");
  }
  {
    LineFeed feed({});
    TestDialog d;
    EXPECT_EQ(d.DoModal(), IDCANCEL);
  }
  {
    // A bad number keeps the dialog open after Enter; ESC then cancels it.
    LineFeed feed({L"@edit 103 abc", L"", L"ESC"});
    TestDialog d;
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_TRUE(feed.lines.empty());
  }
  TestDialog missing;
  AfxSetResourceHandle(vorn::mfc::HostResourceModule());
  EXPECT_EQ(missing.DoModal(), -1);
  AfxSetResourceHandle(f.module);
}
