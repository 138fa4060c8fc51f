// Dialog events as a script types them: parsing, dispatch to the open dialog's handlers, the
// @show listing, and refusals that say what was wrong.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/base/textcodec.h"
#include "host/ui/dialogevents.h"
#include "host/ui/dialogregistry.h"
#include "testdialog.h"

using namespace vorn::test;
using vorn::ui::DialogEvent;

namespace {

// Parses and dispatches one event line; the refusal or listing comes back in output.
bool Event(const std::wstring& line, std::wstring& output) {
  DialogEvent event;
  std::wstring error;
  if (!vorn::ui::ParseDialogEvent(line, event, error)) {
    output = error;
    return false;
  }
  output.clear();
  return vorn::ui::DispatchDialogEvent(event, output);
}

bool Event(const std::wstring& line) {
  std::wstring output;
  return Event(line, output);
}

struct OpenDialog : DialogFixture {
  OpenDialog() {
    EXPECT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
    d.ShowWindow(SW_SHOW);
    acedGetAcadDwgView()->SetFocus();
  }
  TestDialog d;
};

}  // namespace

TEST(DialogEventParse, RefusesMalformedEventsSayingWhatIsExpected) {
  DialogEvent e;
  std::wstring error;
  const struct {
    const wchar_t* line;
    const wchar_t* says;
  } cases[] = {
      {L"press 12", L"expected @edit"},   {L"click", L"control id"},       {L"click x12", L"\"x12\""},
      {L"select 2001", L"row number"},    {L"select 2001 -1", L"row number"}, {L"click 1 2", L"left over"},
      {L"show all", L"nothing after"},    {L"dialogshot", L".png"},        {L"click 99999999999", L"control id"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(vorn::ui::ParseDialogEvent(c.line, e, error)) << c.line;
    EXPECT_NE(error.find(c.says), std::wstring::npos) << c.line << " -> " << std::string(error.begin(), error.end());
  }
}

// An event may come with its @ and in capitals; quotes keep the blanks of a text, and an edit
// without a text empties the field.
TEST(DialogEvents, EditTypesThenLeavesTheField) {
  OpenDialog o;
  ASSERT_TRUE(Event(L"@EDIT 101 \" two words \""));
  const std::vector<std::wstring> expected = {L"edit-set", L"edit-change", L"edit-kill"};
  EXPECT_EQ(o.d.calls, expected);
  EXPECT_EQ(::GetFocus(), acedGetAcadDwgView()->m_hWnd);
  o.d.UpdateData(TRUE);
  EXPECT_EQ(o.d.m_text, L" two words ");
  ASSERT_TRUE(Event(L"edit 101"));
  o.d.UpdateData(TRUE);
  EXPECT_EQ(o.d.m_text, L"");
  o.d.calls.clear();
  ASSERT_TRUE(Event(L"edit 104 2.5"));
  const std::vector<std::wstring> combo = {L"combo-focus", L"combo-edit"};
  EXPECT_EQ(o.d.calls, combo);
  EXPECT_EQ(::GetDlgItem(o.d.m_hWnd, kCombo)->curSel, -1);
}

TEST(DialogEvents, ClicksSelectsAndCloseReachHandlers) {
  OpenDialog o;
  ASSERT_TRUE(Event(L"click 109"));  // the check box toggles
  EXPECT_EQ(::IsDlgButtonChecked(o.d.m_hWnd, kCheck), static_cast<UINT>(BST_UNCHECKED));
  ASSERT_TRUE(Event(L"click 110"));
  EXPECT_EQ(::IsDlgButtonChecked(o.d.m_hWnd, kRadioA), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(::IsDlgButtonChecked(o.d.m_hWnd, kRadioC), static_cast<UINT>(BST_UNCHECKED));
  ASSERT_TRUE(Event(L"click 108"));
  ASSERT_TRUE(Event(L"click 116"));  // a static that reports clicks
  ASSERT_TRUE(Event(L"select 104 0"));
  EXPECT_EQ(o.d.GetDlgItem(kCombo)->m_hWnd->text, L"2400.00");
  ASSERT_TRUE(Event(L"dblclick 106 2"));
  EXPECT_EQ(::SendMessageW(::GetDlgItem(o.d.m_hWnd, kList), LB_GETCURSEL, 0, 0), 2);
  ASSERT_TRUE(Event(L"click 111"));  // a radio button without an entry: nothing runs
  EXPECT_EQ(::IsDlgButtonChecked(o.d.m_hWnd, kRadioB), static_cast<UINT>(BST_CHECKED));
  ASSERT_TRUE(Event(L"close"));
  const std::vector<std::wstring> expected = {L"check", L"radio-a", L"button", L"preview", L"combo-focus",
                                              L"combo-sel", L"list-sel:2", L"list-dbl:2", L"close"};
  EXPECT_EQ(o.d.calls, expected);
  EXPECT_FALSE(vorn::ui::HasOpenDialog());  // closed: cancelled and hidden, not destroyed
  EXPECT_TRUE(::IsWindow(o.d.m_hWnd));
}

TEST(DialogEvents, RefusedWithAMessageNamingTheProblem) {
  OpenDialog o;
  ::EnableWindow(::GetDlgItem(o.d.m_hWnd, kButton), FALSE);
  ::ShowWindow(::GetDlgItem(o.d.m_hWnd, kEdit), SW_HIDE);
  const struct {
    const wchar_t* line;
    const wchar_t* says;
  } cases[] = {
      {L"click 777", L"no control 777"},     {L"click 108", L"disabled"},        {L"edit 101 x", L"hidden"},
      {L"edit 109 x", L"takes no typing"},   {L"edit 118 x", L"read-only"},      {L"click 115", L"takes no clicks"},
      {L"click 117", L"takes no clicks"},    {L"select 106 3", L"rows 0 to 2"},  {L"select 107 0", L"has no rows"},
      {L"select 109 0", L"has no rows"},     {L"dblclick 104 0", L"not a list"}, {L"focus 115", L"cannot take"},
      {L"dialogshot x.bmp", L".png, .svg or .pdf"},
  };
  for (const auto& c : cases) {
    std::wstring output;
    EXPECT_FALSE(Event(c.line, output)) << c.line;
    EXPECT_NE(output.find(c.says), std::wstring::npos) << c.line << " -> " << std::string(output.begin(), output.end());
  }
  EXPECT_TRUE(o.d.calls.empty());
}

// Events go to the newest dialog that is shown; with none shown they are refused.
TEST(DialogEvents, EventsAddressTheNewestShownDialogOrAreRefused) {
  OpenDialog o;
  TestDialog second, hidden;
  ASSERT_TRUE(second.Create(kDialogId, acedGetAcadFrame()));
  second.ShowWindow(SW_SHOW);
  ASSERT_TRUE(hidden.Create(kDialogId, acedGetAcadFrame()));  // created but never shown
  EXPECT_EQ(vorn::ui::TheOpenDialog(), &second);
  ASSERT_TRUE(Event(L"click 108"));
  EXPECT_EQ(second.calls.size(), 1u);
  EXPECT_TRUE(o.d.calls.empty());
  second.DestroyWindow();
  EXPECT_EQ(vorn::ui::TheOpenDialog(), &o.d);
  o.d.ShowWindow(SW_HIDE);
  EXPECT_FALSE(vorn::ui::HasOpenDialog());
  std::wstring output;
  EXPECT_FALSE(Event(L"show", output));
  EXPECT_NE(output.find(L"No dialog is open"), std::wstring::npos);
}

TEST(DialogEvents, ShowListsControlsAndRowsExactly) {
  OpenDialog o;
  ::EnableWindow(::GetDlgItem(o.d.m_hWnd, kButton), FALSE);
  ::ShowWindow(::GetDlgItem(o.d.m_hWnd, kNumber), SW_HIDE);
  o.d.SetDlgItemText(kEdit, L"say \"hi\"");
  std::wstring output;
  ASSERT_TRUE(Event(L"  show ", output));
  const std::wstring expected =
      L"\n101 edit \"say \\\"hi\\\"\""
      L"\n102 edit \"7\" [hidden]"
      L"\n103 edit \"2.5\""
      L"\n104 combo \"2500.00\""
      L"\n104 row 0 \"2400.00\""
      L"\n104 row 1 \"2500.00\" [selected]"
      L"\n104 row 2 \"2600.00\""
      L"\n105 combo \"双排\""
      L"\n105 row 0 \"单排\""
      L"\n105 row 1 \"双排\" [selected]"
      L"\n106 list \"\""
      L"\n106 row 0 \"a\""
      L"\n106 row 1 \"b\" [selected]"
      L"\n106 row 2 \"c\""
      L"\n107 list \"\""
      L"\n108 button \"添加 >>\" [disabled]"
      L"\n109 check \"道路倒角\" [checked]"
      L"\n110 radio \"基线\""
      L"\n111 radio \"左边线\""
      L"\n112 radio \"右边线\" [checked]"
      L"\n113 radio \"同圆心\" [checked]"
      L"\n114 radio \"同半径\""
      L"\n115 static \"左&宽：\""
      L"\n116 static \"静态\""
      L"\n117 group \"定位线位置\""
      L"\n118 edit \"固定\""
      L"\n1 button \"确定\""
      L"\n2 button \"取消\"";
  EXPECT_EQ(output, expected);
  // A picture of the dialog under a name in Chinese.
  const std::filesystem::path shot =
      std::filesystem::path(VORN_BINARY_DIR) / "test-output" / "host-ui" / "道路.png";
  std::filesystem::create_directories(shot.parent_path());
  std::filesystem::remove(shot);
  ASSERT_TRUE(Event(L"dialogshot " + vorn::FromUtf8(shot.string()), output)) << vorn::ToUtf8(output);
  EXPECT_TRUE(std::filesystem::exists(shot));
}
