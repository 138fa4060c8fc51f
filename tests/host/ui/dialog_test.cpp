// Dialogs built from templates: creation against the current resources, data exchange in both
// directions for every control kind, radio groups, enabling, cursors and lifetime.
#include <gtest/gtest.h>

#include "testdialog.h"

using namespace vorn::test;

namespace {

std::wstring Text(const CDialog& d, int id) {
  CString s;
  d.GetDlgItemText(id, s);
  return s.str();
}

HWND Item(const CDialog& d, int id) { return ::GetDlgItem(d.m_hWnd, id); }

}  // namespace

// A dialog is made only from the current module's resources: a missing template is named with
// its module; with the host's resources current the module's template is not found; a module
// registered twice is one module, and one that goes away stops being current; an extension
// module is in the resource chain while its library lives.
TEST(DialogCreate, OnlyFromTheCurrentModulesResources) {
  DialogFixture f;
  CAcUiDialog dialog(4242);
  EXPECT_FALSE(dialog.Create(4242, acedGetAcadFrame()));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_NE(f.transcript.find(L"4242"), std::wstring::npos);
  EXPECT_NE(f.transcript.find(L"VornTestDialogs"), std::wstring::npos);

  TestDialog inOwnModule;
  EXPECT_TRUE(inOwnModule.Create(kDialogId, acedGetAcadFrame()));
  AfxSetResourceHandle(vorn::mfc::HostResourceModule());
  TestDialog inHost;
  EXPECT_FALSE(inHost.Create(kDialogId, acedGetAcadFrame()));

  HINSTANCE other = vorn::mfc::RegisterResourceModule(L"VornOtherModule");
  EXPECT_EQ(vorn::mfc::RegisterResourceModule(L"VornOtherModule"), other);
  AfxSetResourceHandle(other);
  vorn::mfc::UnregisterResourceModule(other);
  EXPECT_EQ(AfxGetResourceHandle(), vorn::mfc::HostResourceModule());
  AfxSetResourceHandle(f.module);

  AFX_EXTENSION_MODULE ext;
  EXPECT_FALSE(AfxInitExtensionModule(ext, nullptr));
  ASSERT_TRUE(AfxInitExtensionModule(ext, f.module));
  {
    CDynLinkLibrary library(ext);
    const auto chain = AfxResourceChain();
    EXPECT_NE(std::find(chain.begin(), chain.end(), f.module), chain.end());
  }
  const auto chain = AfxResourceChain();
  EXPECT_EQ(std::find(chain.begin(), chain.end(), f.module), chain.end());
  AfxTermExtensionModule(ext);
}

TEST(DataExchange, FromControlsReadsEveryKind) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  d.SetDlgItemText(kEdit, L"3.50");
  d.SetDlgItemText(kNumber, L" -12 ");
  d.SetDlgItemText(kReal, L"1e3");
  d.SetDlgItemText(kCombo, L"2.5");
  ::SendMessageW(Item(d, kDropList), CB_SETCURSEL, 0, 0);
  ::SendMessageW(Item(d, kList), LB_SETCURSEL, 2, 0);
  ::CheckDlgButton(d.m_hWnd, kCheck, BST_UNCHECKED);
  ::CheckRadioButton(d.m_hWnd, kRadioA, kRadioC, kRadioA);
  ::CheckRadioButton(d.m_hWnd, kRadioX, kRadioY, 0);  // none of the second group
  ASSERT_TRUE(d.UpdateData(TRUE));
  EXPECT_EQ(d.m_text, L"3.50");
  EXPECT_EQ(d.m_number, -12);
  EXPECT_DOUBLE_EQ(d.m_real, 1000.0);
  EXPECT_EQ(d.m_combo, L"2.5");
  EXPECT_EQ(d.m_dropList, L"单排");
  EXPECT_EQ(d.m_listIndex, 2);
  EXPECT_EQ(d.m_check, 0);
  EXPECT_EQ(d.m_radio, 0);
  EXPECT_EQ(d.m_radio2, -1);
}

TEST(DataExchange, BadNumberFailsWithMessageAndKeepsTheValue) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  for (const wchar_t* bad : {L"12a", L"", L"1e999", L"nan"}) {
    f.transcript.clear();
    d.m_real = 2.5;
    d.SetDlgItemText(kReal, bad);
    EXPECT_FALSE(d.UpdateData(TRUE)) << bad;
    EXPECT_DOUBLE_EQ(d.m_real, 2.5) << bad;
    EXPECT_NE(f.transcript.find(L"103"), std::wstring::npos) << bad;
    EXPECT_NE(f.transcript.find(L"number"), std::wstring::npos) << bad;
  }
  d.SetDlgItemText(kReal, L"1");
  d.SetDlgItemText(kNumber, L"3000000000");  // beyond an int
  EXPECT_FALSE(d.UpdateData(TRUE));
  EXPECT_EQ(d.m_number, 7);
}

// Regression: a combo value that only starts like a row ("2" against "2400.00") must not be
// replaced by that row when shown again; it would silently change a width the user typed.
TEST(DataExchange, EditableComboKeepsTypedTextThatOnlyPrefixesARow) {
  DialogFixture f;
  TestDialog d;
  d.m_combo = L"2";
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  EXPECT_EQ(Text(d, kCombo), L"2");
  EXPECT_EQ(Item(d, kCombo)->curSel, -1);
  d.m_combo = L"2600.00";
  d.UpdateData(FALSE);
  EXPECT_EQ(Item(d, kCombo)->curSel, 2);
  // A drop-down list cannot show free text: a value that is no row shows nothing.
  d.m_dropList = L"三排";
  d.UpdateData(FALSE);
  EXPECT_EQ(Text(d, kDropList), L"");
  EXPECT_EQ(Item(d, kDropList)->curSel, -1);
}

TEST(DataExchange, ExchangeOnAMissingOrWrongControlFails) {
  DialogFixture f;
  struct Broken : TestDialog {
    int value = 0;
    void DoDataExchange(CDataExchange* dx) override { DDX_Check(dx, kEdit, value); }
  } d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  EXPECT_FALSE(d.UpdateData(TRUE));
  EXPECT_NE(f.transcript.find(L"101"), std::wstring::npos);
}

TEST(RadioGroups, AClickChecksOneAndClearsOnlyItsGroup) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  ASSERT_TRUE(vorn::mfc::ClickControl(Item(d, kRadioB)));
  EXPECT_EQ(Item(d, kRadioA)->check, BST_UNCHECKED);
  EXPECT_EQ(Item(d, kRadioB)->check, BST_CHECKED);
  EXPECT_EQ(Item(d, kRadioC)->check, BST_UNCHECKED);
  EXPECT_EQ(Item(d, kRadioX)->check, BST_CHECKED);  // the other group keeps its choice
  std::vector<HWND> group = vorn::mfc::RadioGroupOf(Item(d, kRadioC));
  ASSERT_EQ(group.size(), 3u);
  EXPECT_EQ(group.front(), Item(d, kRadioA));
  d.UpdateData(TRUE);
  EXPECT_EQ(d.m_radio, 1);
}

TEST(Enabling, DisabledControlsIgnoreClicksAndLoseTheFocus) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  CWnd* check = d.GetDlgItem(kCheck);
  EXPECT_FALSE(check->EnableWindow(FALSE));  // it was enabled
  EXPECT_FALSE(check->IsWindowEnabled());
  vorn::mfc::ClickControl(check->m_hWnd);
  EXPECT_EQ(check->m_hWnd->check, BST_CHECKED);
  EXPECT_TRUE(d.calls.empty());
  EXPECT_TRUE(::EnableWindow(check->m_hWnd, TRUE));  // it was disabled
  d.GreyFillet(FALSE);
  EXPECT_FALSE(check->IsWindowEnabled());
  EXPECT_EQ(::SendMessageW(::GetDlgItem(d.m_hWnd, kList), LB_GETCURSEL, 0, 0), 0);
  d.GreyFillet(TRUE);
  d.GetDlgItem(kEdit)->SetFocus();
  d.GetDlgItem(kEdit)->EnableWindow(FALSE);
  EXPECT_EQ(::GetFocus(), nullptr);
  EXPECT_EQ(d.GetDlgItem(kEdit)->SetFocus(), nullptr);
}

// Notifications reaching their handlers, and the close box, are checked through the dialog
// events a script types (events_test).
TEST(MessageMaps, SetCursorHandlerPicksTheModuleCursor) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  d.cursorOverPreview = LoadCursorW(f.module, MAKEINTRESOURCEW(2008));
  ASSERT_NE(d.cursorOverPreview, nullptr);
  EXPECT_EQ(LoadCursorW(f.module, MAKEINTRESOURCEW(2009)), nullptr);
  auto over = [&](int id) {
    return d.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(d, id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  EXPECT_EQ(over(kPreview), TRUE);
  EXPECT_EQ(vorn::mfc::CursorName(vorn::mfc::CurrentCursor()), L"tree-cursor");
  EXPECT_EQ(over(kEdit), FALSE);
  EXPECT_EQ(vorn::mfc::CursorName(vorn::mfc::CurrentCursor()), L"arrow");
}

// Regression: a close handler that destroys its own dialog must not leave the dispatch reading
// freed windows.
TEST(Lifetime, HandlerMayDestroyItsOwnDialog) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  d.m_dragList.AddString(L"x");
  HWND hwnd = d.m_hWnd;
  d.destroyOnClose = true;
  ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(d.m_hWnd, nullptr);
  EXPECT_EQ(d.m_dragList.m_hWnd, nullptr);
  EXPECT_EQ(d.m_dragList.GetCount(), 0);  // a dead control answers nothing
  EXPECT_EQ(::SendMessageW(hwnd, WM_CLOSE, 0, 0), 0);
}

TEST(Controls, ListAndComboMessagesKeepSelectionInStep) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  CDragListBox& list = d.m_dragList;
  EXPECT_EQ(list.AddString(L"甲"), 0);
  EXPECT_EQ(list.AddString(L"乙"), 1);
  EXPECT_EQ(list.InsertString(0, L"丙"), 0);
  EXPECT_EQ(list.InsertString(9, L"x"), LB_ERR);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(list.DeleteString(0), 2);
  EXPECT_EQ(list.GetCurSel(), 1);  // still 乙
  CString row;
  EXPECT_EQ(list.GetText(1, row), 1);
  EXPECT_EQ(row, L"乙");
  EXPECT_EQ(list.GetText(5, row), LB_ERR);
  EXPECT_EQ(list.FindStringExact(-1, L"甲"), 0);
  EXPECT_EQ(list.FindStringExact(0, L"甲"), 0);  // wraps around
  EXPECT_EQ(list.DeleteString(1), 1);
  EXPECT_EQ(list.GetCurSel(), -1);
  EXPECT_TRUE(list.MoveRow(0, 0));
  EXPECT_FALSE(list.MoveRow(0, 3));

  CComboBox combo;
  ASSERT_TRUE(combo.SubclassDlgItem(kDropList, &d));
  EXPECT_FALSE(combo.Attach(Item(d, kCombo)));  // already bound to another window
  EXPECT_EQ(combo.GetCount(), 2);
  EXPECT_EQ(combo.SelectString(-1, L"单"), 0);
  CString text;
  combo.GetWindowText(text);
  EXPECT_EQ(text, L"单排");
  EXPECT_EQ(combo.GetLBTextLen(1), 2);
  combo.ResetContent();
  combo.GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
  combo.Detach();
}
