// The test dialog's message map.
#include "testdialog.h"

namespace vorn::test {

BEGIN_MESSAGE_MAP(TestDialog, CAcUiDialog)
  ON_EN_CHANGE(kEdit, OnEditChange)
  ON_EN_KILLFOCUS(kEdit, OnEditKill)
  ON_EN_SETFOCUS(kEdit, OnEditSet)
  ON_CBN_SELCHANGE(kCombo, OnComboSel)
  ON_CBN_EDITCHANGE(kCombo, OnComboEdit)
  ON_CBN_SETFOCUS(kCombo, OnComboFocus)
  ON_CBN_SELCHANGE(kDropList, OnDropSel)
  ON_LBN_SELCHANGE(kList, OnListSel)
  ON_LBN_DBLCLK(kList, OnListDbl)
  ON_BN_CLICKED(kButton, OnButton)
  ON_BN_CLICKED(kCheck, OnCheck)
  ON_BN_CLICKED(kRadioA, OnRadioA)
  ON_STN_CLICKED(kPreview, OnPreview)
  ON_WM_CLOSE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

}  // namespace vorn::test

namespace vorn::test {

// Win32 calls written unqualified inside a dialog member, as the module writes them.
void TestDialog::GreyFillet(BOOL enable) {
  EnableWindow(::GetDlgItem(m_hWnd, kCheck), enable);
  SendMessageW(::GetDlgItem(m_hWnd, kList), LB_SETCURSEL, 0, 0);
}

}  // namespace vorn::test
