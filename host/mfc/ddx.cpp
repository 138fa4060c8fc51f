// Dialog data exchange: each DDX_ call moves one value between a control and a variable in the
// direction of the exchange, and refuses values that do not read as what the variable holds.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <limits>

#include "host/mfc/dialog.h"
#include "host/mfc/msgbox.h"

using vorn::mfc::ControlKind;

namespace {

std::wstring IdText(int id) { return std::to_wstring(id); }

std::wstring WindowText(HWND hwnd) {
  CString text;
  CWnd::FromHandle(hwnd)->GetWindowText(text);
  return text.str();
}

// Reads a whole text as a finite number; blanks around it are allowed, anything else is not.
bool ReadDouble(const std::wstring& text, double& value) {
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const double v = std::wcstod(begin, &end);
  if (end == begin || errno == ERANGE || !std::isfinite(v)) return false;
  while (*end == L' ' || *end == L'\t') ++end;
  if (*end != L'\0') return false;
  value = v;
  return true;
}

bool ReadLong(const std::wstring& text, long long lo, long long hi, long long& value) {
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  errno = 0;
  const long long v = std::wcstoll(begin, &end, 10);
  if (end == begin || errno == ERANGE || v < lo || v > hi) return false;
  while (*end == L' ' || *end == L'\t') ++end;
  if (*end != L'\0') return false;
  value = v;
  return true;
}

HWND Ctrl(CDataExchange* dx, int id) { return dx->m_failed ? nullptr : dx->PrepareCtrl(id); }

bool RequireKind(CDataExchange* dx, HWND hwnd, int id, bool ok, const wchar_t* expected) {
  if (ok) return true;
  dx->Fail((L"control " + IdText(id) + L" is not " + expected).c_str());
  (void)hwnd;
  return false;
}

template <typename Int>
void ExchangeInteger(CDataExchange* dx, int id, Int& value, long long lo, long long hi, const wchar_t* what) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd) return;
  if (!dx->m_bSaveAndValidate) {
    ::SetWindowTextW(hwnd, std::to_wstring(value).c_str());
    return;
  }
  long long v = 0;
  const std::wstring text = WindowText(hwnd);
  if (!ReadLong(text, lo, hi, v)) {
    dx->Fail((L"\"" + text + L"\" in control " + IdText(id) + L" is not " + what).c_str());
    return;
  }
  value = static_cast<Int>(v);
}

template <typename Real>
void ExchangeReal(CDataExchange* dx, int id, Real& value) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd) return;
  if (!dx->m_bSaveAndValidate) {
    CString text;
    text.Format(L"%.15g", static_cast<double>(value));
    ::SetWindowTextW(hwnd, text);
    return;
  }
  double v = 0;
  const std::wstring text = WindowText(hwnd);
  if (!ReadDouble(text, v) || std::fabs(v) > static_cast<double>(std::numeric_limits<Real>::max())) {
    dx->Fail((L"\"" + text + L"\" in control " + IdText(id) + L" is not a number; enter a number").c_str());
    return;
  }
  value = static_cast<Real>(v);
}

int FindRowExact(HWND hwnd, UINT message, const CString& value) {
  return static_cast<int>(::SendMessageW(hwnd, message, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())));
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
  HWND hwnd = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
  if (!hwnd) Fail((L"the dialog has no control " + IdText(id)).c_str());
  return hwnd;
}

void CDataExchange::Fail(const wchar_t* what) {
  if (m_failed) return;
  m_failed = true;
  AfxMessageBox(what, MB_OK | MB_ICONEXCLAMATION);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd) return;
  if (dx->m_bSaveAndValidate) value = WindowText(hwnd);
  else ::SetWindowTextW(hwnd, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  ExchangeInteger(dx, id, value, INT_MIN, INT_MAX, L"a whole number; enter a whole number");
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
  ExchangeInteger(dx, id, value, 0, UINT_MAX, L"a whole number of 0 or more; enter one");
}

void DDX_Text(CDataExchange* dx, int id, long& value) {
  ExchangeInteger(dx, id, value, LONG_MIN, LONG_MAX, L"a whole number; enter a whole number");
}

void DDX_Text(CDataExchange* dx, int id, double& value) { ExchangeReal(dx, id, value); }
void DDX_Text(CDataExchange* dx, int id, float& value) { ExchangeReal(dx, id, value); }

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd || !RequireKind(dx, hwnd, id, hwnd->kind == ControlKind::CheckBox || hwnd->kind == ControlKind::RadioButton,
                            L"a check box"))
    return;
  if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(hwnd, BM_GETCHECK, 0, 0));
  else ::SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  HWND first = Ctrl(dx, id);
  if (!first || !RequireKind(dx, first, id, first->kind == ControlKind::RadioButton, L"a radio button")) return;
  // The group runs from this button to the next control that starts a group.
  std::vector<HWND> group;
  auto& siblings = first->parent->children;
  size_t at = 0;
  while (siblings[at].get() != first) ++at;
  for (size_t i = at; i < siblings.size(); ++i) {
    if (i > at && (siblings[i]->style & vorn::mfc::kStyleGroup)) break;
    if (siblings[i]->kind == ControlKind::RadioButton) group.push_back(siblings[i].get());
  }
  if (dx->m_bSaveAndValidate) {
    value = -1;
    for (size_t i = 0; i < group.size(); ++i)
      if (group[i]->check == BST_CHECKED) {
        value = static_cast<int>(i);
        break;
      }
  } else {
    for (size_t i = 0; i < group.size(); ++i)
      ::SendMessageW(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

namespace {

void ExchangeComboString(CDataExchange* dx, int id, CString& value, bool exactOnly) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd || !RequireKind(dx, hwnd, id, vorn::mfc::IsComboBox(hwnd), L"a combo box")) return;
  if (dx->m_bSaveAndValidate) {
    value = WindowText(hwnd);
    return;
  }
  int row = FindRowExact(hwnd, CB_FINDSTRINGEXACT, value);
  if (row < 0 && !exactOnly && hwnd->kind == ControlKind::ComboDropList)
    row = static_cast<int>(::SendMessageW(hwnd, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(value.GetString())));
  if (row >= 0) {
    ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  } else {
    ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    if (hwnd->kind == ControlKind::ComboDropDown) hwnd->text = value.str();
  }
}

}  // namespace

void DDX_CBString(CDataExchange* dx, int id, CString& value) { ExchangeComboString(dx, id, value, false); }
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value) { ExchangeComboString(dx, id, value, true); }

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd || !RequireKind(dx, hwnd, id, vorn::mfc::IsComboBox(hwnd), L"a combo box")) return;
  if (dx->m_bSaveAndValidate) index = static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
  else ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index)), 0);
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd || !RequireKind(dx, hwnd, id, vorn::mfc::IsListBox(hwnd), L"a list box")) return;
  if (dx->m_bSaveAndValidate) index = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
  else ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(index)), 0);
}

void DDX_LBString(CDataExchange* dx, int id, CString& value) {
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd || !RequireKind(dx, hwnd, id, vorn::mfc::IsListBox(hwnd), L"a list box")) return;
  if (dx->m_bSaveAndValidate) {
    value = hwnd->curSel >= 0 ? hwnd->rows[static_cast<size_t>(hwnd->curSel)] : std::wstring();
    return;
  }
  int row = FindRowExact(hwnd, LB_FINDSTRINGEXACT, value);
  if (row < 0) row = FindRowExact(hwnd, LB_FINDSTRING, value);
  ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(row)), 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;  // bound on an earlier exchange
  HWND hwnd = Ctrl(dx, id);
  if (!hwnd) return;
  if (!control.Attach(hwnd)) dx->Fail((L"control " + IdText(id) + L" is already bound to another object").c_str());
}
