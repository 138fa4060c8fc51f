// A dialog with one control of every kind, its template registered in a test resource module,
// and handlers that record what reached them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/base/hostio.h"
#include "host/mfc/afx.h"

namespace vorn::test {

enum : int {
  kDialogId = 9000,
  kEdit = 101, kNumber = 102, kReal = 103, kCombo = 104, kDropList = 105, kList = 106, kDragList = 107,
  kButton = 108, kCheck = 109, kRadioA = 110, kRadioB = 111, kRadioC = 112, kRadioX = 113, kRadioY = 114,
  kLabel = 115, kPreview = 116, kGroup = 117, kReadOnly = 118,
};

inline vorn::mfc::DialogTemplate TestTemplate() {
  using vorn::mfc::ControlKind;
  vorn::mfc::DialogTemplate t;
  t.id = kDialogId;
  t.caption = L"测试对话框";
  t.cx = 200;
  t.cy = 140;
  t.controls = {
      {kEdit, ControlKind::Edit, L"", 5, 5, 40, 12, vorn::mfc::kStyleTabStop},
      {kNumber, ControlKind::Edit, L"", 50, 5, 30, 12, 0},
      {kReal, ControlKind::Edit, L"", 85, 5, 30, 12, 0},
      {kCombo, ControlKind::ComboDropDown, L"", 5, 20, 50, 60, 0},
      {kDropList, ControlKind::ComboDropList, L"", 60, 20, 50, 60, 0},
      {kList, ControlKind::ListBox, L"", 5, 40, 50, 40, vorn::mfc::kStyleNotify},
      {kDragList, ControlKind::DragListBox, L"", 60, 40, 50, 40, 0},
      {kButton, ControlKind::PushButton, L"添加 >>", 120, 40, 40, 14, 0},
      {kCheck, ControlKind::CheckBox, L"道路倒角", 120, 60, 50, 10, 0},
      {kRadioA, ControlKind::RadioButton, L"基线", 120, 75, 30, 10, vorn::mfc::kStyleGroup},
      {kRadioB, ControlKind::RadioButton, L"左边线", 120, 85, 30, 10, 0},
      {kRadioC, ControlKind::RadioButton, L"右边线", 120, 95, 30, 10, 0},
      {kRadioX, ControlKind::RadioButton, L"同圆心", 160, 75, 30, 10, vorn::mfc::kStyleGroup},
      {kRadioY, ControlKind::RadioButton, L"同半径", 160, 85, 30, 10, 0},
      {kLabel, ControlKind::Static, L"左&宽：", 5, 85, 30, 8, vorn::mfc::kStyleGroup},
      {kPreview, ControlKind::Static, L"静态", 40, 85, 40, 30, vorn::mfc::kStyleNotify},
      {kGroup, ControlKind::GroupBox, L"定位线位置", 115, 70, 80, 40, 0},
      {kReadOnly, ControlKind::Edit, L"固定", 160, 5, 30, 12, vorn::mfc::kStyleReadOnly},
      {IDOK, ControlKind::PushButton, L"确定", 120, 122, 35, 14, vorn::mfc::kStyleDefault},
      {IDCANCEL, ControlKind::PushButton, L"取消", 160, 122, 35, 14, 0},
  };
  return t;
}

class TestDialog : public CAcUiDialog {
 public:
  explicit TestDialog(CWnd* parent = nullptr) : CAcUiDialog(kDialogId, parent) {}

  CString m_text = L"hello";
  int m_number = 7;
  double m_real = 2.5;
  CString m_combo = L"2500.00";
  CString m_dropList = L"双排";
  int m_listIndex = 1;
  int m_check = 1;
  int m_radio = 2;
  int m_radio2 = 0;
  CDragListBox m_dragList;
  std::vector<std::wstring> calls;
  bool destroyOnClose = false;
  HCURSOR cursorOverPreview = nullptr;
  std::function<void()> onButton;  // what the button does besides being recorded

  BOOL OnInitDialog() override {
    // Rows exist before the base exchange shows the bound values, as a dialog fills its lists.
    for (const wchar_t* r : {L"2400.00", L"2500.00", L"2600.00"}) SendDlgItemMessageW(kCombo, CB_ADDSTRING, r);
    for (const wchar_t* r : {L"单排", L"双排"}) SendDlgItemMessageW(kDropList, CB_ADDSTRING, r);
    for (const wchar_t* r : {L"a", L"b", L"c"}) SendDlgItemMessageW(kList, LB_ADDSTRING, r);
    return CAcUiDialog::OnInitDialog();
  }

  void GreyFillet(BOOL enable);
  void Record(const std::wstring& what) { calls.push_back(what); }
  void OnEditChange() { Record(L"edit-change"); }
  void OnEditKill() { Record(L"edit-kill"); }
  void OnEditSet() { Record(L"edit-set"); }
  void OnComboSel() { Record(L"combo-sel"); }
  void OnComboEdit() { Record(L"combo-edit"); }
  void OnComboFocus() { Record(L"combo-focus"); }
  void OnDropSel() { Record(L"drop-sel:" + Row(kDropList, CB_GETCURSEL)); }
  void OnListSel() { Record(L"list-sel:" + Row(kList, LB_GETCURSEL)); }
  void OnListDbl() { Record(L"list-dbl:" + Row(kList, LB_GETCURSEL)); }
  void OnButton() {
    Record(L"button");
    if (onButton) onButton();
  }
  void OnCheck() { Record(L"check"); }
  void OnRadioA() { Record(L"radio-a"); }
  void OnPreview() { Record(L"preview"); }
  void OnClose() {
    Record(L"close");
    if (destroyOnClose) DestroyWindow();
    else CAcUiDialog::OnClose();
  }
  BOOL OnSetCursor(CWnd* wnd, UINT hit, UINT message) {
    if (wnd && wnd->GetDlgCtrlID() == kPreview && cursorOverPreview) {
      ::SetCursor(cursorOverPreview);
      return TRUE;
    }
    return CAcUiDialog::OnSetCursor(wnd, hit, message);
  }

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Text(dx, kEdit, m_text);
    DDX_Text(dx, kNumber, m_number);
    DDX_Text(dx, kReal, m_real);
    DDX_CBString(dx, kCombo, m_combo);
    DDX_CBString(dx, kDropList, m_dropList);
    DDX_LBIndex(dx, kList, m_listIndex);
    DDX_Check(dx, kCheck, m_check);
    DDX_Radio(dx, kRadioA, m_radio);
    DDX_Radio(dx, kRadioX, m_radio2);
    DDX_Control(dx, kDragList, m_dragList);
  }

 private:
  LRESULT SendDlgItemMessageW(int id, UINT message, const wchar_t* text) {
    return ::SendMessageW(::GetDlgItem(m_hWnd, id), message, 0, reinterpret_cast<LPARAM>(text));
  }
  std::wstring Row(int id, UINT message) { return std::to_wstring(SendDlgItemMessageW(id, message, nullptr)); }
  DECLARE_MESSAGE_MAP()
};

// The test module's resources, current for the life of the fixture; the transcript captured.
class DialogFixture {
 public:
  DialogFixture() {
    module = vorn::mfc::RegisterResourceModule(L"VornTestDialogs");
    vorn::mfc::AddDialogTemplate(module, TestTemplate());
    vorn::mfc::AddCursorResource(module, {2008, L"tree-cursor", 4, 4});
    previous = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    oldPrinter = vorn::SetHostPrinter([this](const std::wstring& t) { transcript += t; });
  }
  ~DialogFixture() {
    vorn::SetHostPrinter(oldPrinter);
    AfxSetResourceHandle(previous);
  }
  DialogFixture(const DialogFixture&) = delete;
  DialogFixture& operator=(const DialogFixture&) = delete;

  HINSTANCE module = nullptr;
  HINSTANCE previous = nullptr;
  std::wstring transcript;
  vorn::HostPrinter oldPrinter;
};

}  // namespace vorn::test
