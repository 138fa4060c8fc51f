// CWnd and the control classes over the native windows.
#include "host/mfc/cwnd.h"

#include <algorithm>
#include <cwchar>

#include "host/mfc/resources.h"

namespace vorn::mfc {
CWnd* TemporaryWindowObject(HWND hwnd);
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() { Detach(); }

CWnd* CWnd::FromHandle(HWND hwnd) { return vorn::mfc::TemporaryWindowObject(hwnd); }

BOOL CWnd::Attach(HWND hwnd) {
  if (!vorn::mfc::IsLiveWindow(hwnd)) return FALSE;
  if (hwnd->handler == this && m_hWnd == hwnd) return TRUE;
  if (hwnd->handler || m_hWnd) return FALSE;
  hwnd->handler = this;
  m_hWnd = hwnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (vorn::mfc::IsLiveWindow(hwnd) && hwnd->handler == this) hwnd->handler = nullptr;
  m_hWnd = nullptr;
  return hwnd;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  return Attach(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
void CWnd::SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
  const int n = GetWindowTextLength();
  std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(m_hWnd, &buffer[0], n + 1);
  buffer.resize(static_cast<size_t>(std::max(got, 0)));
  text = buffer;
}

int CWnd::GetWindowText(wchar_t* buffer, int maxCount) const { return ::GetWindowTextW(m_hWnd, buffer, maxCount); }
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
void CWnd::SetDlgItemText(int id, const wchar_t* text) { ::SetWindowTextW(::GetDlgItem(m_hWnd, id), text); }

UINT CWnd::GetDlgItemText(int id, CString& text) const {
  CWnd* item = GetDlgItem(id);
  if (!item) {
    text.Empty();
    return 0;
  }
  item->GetWindowText(text);
  return static_cast<UINT>(text.GetLength());
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  CString text;
  if (isSigned) text.Format(L"%d", static_cast<int>(value));
  else text.Format(L"%u", value);
  SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  CString text;
  GetDlgItemText(id, text);
  text.Trim();
  wchar_t* end = nullptr;
  const long long value = std::wcstoll(text, &end, 10);
  const bool ok = !text.IsEmpty() && end && *end == L'\0' && (isSigned || value >= 0) &&
                  value >= (isSigned ? -2147483648LL : 0) && value <= (isSigned ? 2147483647LL : 4294967295LL);
  if (translated) *translated = ok ? TRUE : FALSE;
  return ok ? static_cast<UINT>(value) : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) { ::CheckRadioButton(m_hWnd, firstId, lastId, checkId); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::PostMessageW(m_hWnd, message, wParam, lParam); }

void CWnd::GetWindowRect(CRect* rect) const {
  if (!rect) return;
  *rect = CRect();
  if (!vorn::mfc::IsLiveWindow(m_hWnd)) return;
  int x = 0, y = 0;
  for (HWND w = m_hWnd; w; w = w->parent) {
    x += w->x;
    y += w->y;
  }
  const auto px = [](int dlu, double f) { return static_cast<LONG>(dlu * f + 0.5); };
  *rect = CRect(px(x, vorn::mfc::kDluToPixelX), px(y, vorn::mfc::kDluToPixelY),
                px(x + m_hWnd->cx, vorn::mfc::kDluToPixelX), px(y + m_hWnd->cy, vorn::mfc::kDluToPixelY));
}

void CWnd::GetClientRect(CRect* rect) const {
  if (!rect) return;
  GetWindowRect(rect);
  rect->OffsetRect(-rect->left, -rect->top);
}

void CWnd::Invalidate(BOOL) {
  if (vorn::mfc::IsLiveWindow(m_hWnd)) ++m_hWnd->paintCount;
}

BOOL CWnd::DestroyWindow() { return ::DestroyWindow(m_hWnd); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT savedMessage = m_currentMessage;
  const WPARAM savedW = m_currentWParam;
  const LPARAM savedL = m_currentLParam;
  m_currentMessage = message;
  m_currentWParam = wParam;
  m_currentLParam = lParam;
  LRESULT result = 0;
  bool handled = false;
  switch (message) {
    case WM_COMMAND:
      handled = OnCommand(wParam, lParam) != FALSE;
      break;
    case WM_CLOSE:
      handled = DispatchMapEntry(WM_CLOSE, 0, 0, wParam, lParam, result);
      if (!handled) {
        OnClose();
        handled = true;
      }
      break;
    case WM_SETCURSOR: {
      const auto over = reinterpret_cast<WPARAM>(FromHandle(reinterpret_cast<HWND>(wParam)));
      handled = DispatchMapEntry(WM_SETCURSOR, 0, 0, over, lParam, result);
      if (!handled) {
        result = OnSetCursor(reinterpret_cast<CWnd*>(over), LOWORD(lParam), HIWORD(lParam));
        handled = true;
      }
      break;
    }
    default:
      handled = DispatchMapEntry(message, 0, 0, wParam, lParam, result);
      break;
  }
  if (!handled) result = Default();
  m_currentMessage = savedMessage;
  m_currentWParam = savedW;
  m_currentLParam = savedL;
  return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  return DispatchMapEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), wParam, lParam, result) ? TRUE : FALSE;
}

LRESULT CWnd::Default() {
  return vorn::mfc::DefWindowProcW(m_hWnd, m_currentMessage, m_currentWParam, m_currentLParam);
}

void CWnd::OnClose() { DefaultClose(); }

void CWnd::DefaultClose() { DestroyWindow(); }

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return FALSE;
}

void CEdit::SetReadOnly(BOOL readOnly) {
  if (!vorn::mfc::IsLiveWindow(m_hWnd)) return;
  if (readOnly) m_hWnd->style |= vorn::mfc::kStyleReadOnly;
  else m_hWnd->style &= ~static_cast<DWORD>(vorn::mfc::kStyleReadOnly);
}

void CEdit::LimitText(int) {}
void CEdit::SetSel(int, int, BOOL) {}

int CButton::GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int check) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0)); }

void CStatic::SetPaintHandler(vorn::mfc::PaintHandler handler) { vorn::mfc::SetPaintHandler(m_hWnd, std::move(handler)); }

namespace {

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) { return ::SendMessageW(hwnd, message, wParam, lParam); }
LPARAM Text(const wchar_t* text) { return reinterpret_cast<LPARAM>(text); }
WPARAM Index(int index) { return static_cast<WPARAM>(static_cast<std::intptr_t>(index)); }

int RowText(HWND hwnd, UINT lenMessage, UINT textMessage, int index, CString& text) {
  const auto n = Send(hwnd, lenMessage, Index(index), 0);
  if (n < 0) {
    text.Empty();
    return static_cast<int>(n);
  }
  std::wstring buffer(static_cast<size_t>(n) + 1, L'\0');
  const auto got = Send(hwnd, textMessage, Index(index), reinterpret_cast<LPARAM>(&buffer[0]));
  buffer.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
  text = buffer;
  return static_cast<int>(got);
}

}  // namespace

int CListBox::AddString(const wchar_t* text) { return static_cast<int>(Send(m_hWnd, LB_ADDSTRING, 0, Text(text))); }
int CListBox::InsertString(int index, const wchar_t* text) { return static_cast<int>(Send(m_hWnd, LB_INSERTSTRING, Index(index), Text(text))); }
int CListBox::DeleteString(UINT index) { return static_cast<int>(Send(m_hWnd, LB_DELETESTRING, index, 0)); }
void CListBox::ResetContent() { Send(m_hWnd, LB_RESETCONTENT, 0, 0); }
int CListBox::GetCount() const { return static_cast<int>(Send(m_hWnd, LB_GETCOUNT, 0, 0)); }
int CListBox::GetCurSel() const { return static_cast<int>(Send(m_hWnd, LB_GETCURSEL, 0, 0)); }
int CListBox::SetCurSel(int index) { return static_cast<int>(Send(m_hWnd, LB_SETCURSEL, Index(index), 0)); }
int CListBox::GetText(int index, CString& text) const { return RowText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, index, text); }
int CListBox::GetTextLen(int index) const { return static_cast<int>(Send(m_hWnd, LB_GETTEXTLEN, Index(index), 0)); }
int CListBox::FindStringExact(int startAfter, const wchar_t* text) const { return static_cast<int>(Send(m_hWnd, LB_FINDSTRINGEXACT, Index(startAfter), Text(text))); }
int CListBox::FindString(int startAfter, const wchar_t* text) const { return static_cast<int>(Send(m_hWnd, LB_FINDSTRING, Index(startAfter), Text(text))); }

BOOL CDragListBox::MoveRow(int from, int to) {
  if (!vorn::mfc::IsLiveWindow(m_hWnd)) return FALSE;
  auto& rows = m_hWnd->rows;
  const int n = static_cast<int>(rows.size());
  if (from < 0 || from >= n || to < 0 || to >= n) return FALSE;
  std::wstring moved = rows[static_cast<size_t>(from)];
  rows.erase(rows.begin() + from);
  rows.insert(rows.begin() + to, moved);
  // The selection follows the row the user dragged.
  m_hWnd->curSel = to;
  return TRUE;
}

int CComboBox::AddString(const wchar_t* text) { return static_cast<int>(Send(m_hWnd, CB_ADDSTRING, 0, Text(text))); }
int CComboBox::InsertString(int index, const wchar_t* text) { return static_cast<int>(Send(m_hWnd, CB_INSERTSTRING, Index(index), Text(text))); }
int CComboBox::DeleteString(UINT index) { return static_cast<int>(Send(m_hWnd, CB_DELETESTRING, index, 0)); }
void CComboBox::ResetContent() { Send(m_hWnd, CB_RESETCONTENT, 0, 0); }
int CComboBox::GetCount() const { return static_cast<int>(Send(m_hWnd, CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Send(m_hWnd, CB_GETCURSEL, 0, 0)); }
int CComboBox::SetCurSel(int index) { return static_cast<int>(Send(m_hWnd, CB_SETCURSEL, Index(index), 0)); }
int CComboBox::GetLBText(int index, CString& text) const { return RowText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, text); }
int CComboBox::GetLBTextLen(int index) const { return static_cast<int>(Send(m_hWnd, CB_GETLBTEXTLEN, Index(index), 0)); }
int CComboBox::FindStringExact(int startAfter, const wchar_t* text) const { return static_cast<int>(Send(m_hWnd, CB_FINDSTRINGEXACT, Index(startAfter), Text(text))); }
int CComboBox::FindString(int startAfter, const wchar_t* text) const { return static_cast<int>(Send(m_hWnd, CB_FINDSTRING, Index(startAfter), Text(text))); }
int CComboBox::SelectString(int startAfter, const wchar_t* text) { return static_cast<int>(Send(m_hWnd, CB_SELECTSTRING, Index(startAfter), Text(text))); }
