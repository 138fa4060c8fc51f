// The native windows: ownership and lifetime, the default handling of texts, rows and checks for
// each control kind, notifications to the parent, and the keyboard focus.
#include "host/mfc/window.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <set>

#include "host/mfc/cwnd.h"

using vorn::mfc::ControlKind;

namespace {

struct WindowWorld {
  std::vector<std::unique_ptr<HWND__>> topLevel;
  std::set<const HWND__*> live;
  // Windows destroyed while a message was being handled: freed once no message is in flight,
  // so that a handler may destroy its own dialog.
  std::vector<std::unique_ptr<HWND__>> graveyard;
  std::vector<std::unique_ptr<CWnd>> deadTemporaries;
  std::map<const HWND__*, std::unique_ptr<CWnd>> temporaries;
  HWND focus = nullptr;
  unsigned long serial = 0;
  int depth = 0;
};

WindowWorld& World() {
  static WindowWorld world;
  return world;
}

void ReleaseGraveyard() {
  WindowWorld& w = World();
  if (w.depth == 0) {
    w.graveyard.clear();
    w.deadTemporaries.clear();
  }
}

struct DepthGuard {
  DepthGuard() { ++World().depth; }
  ~DepthGuard() {
    --World().depth;
    ReleaseGraveyard();
  }
};

bool IsButtonKind(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::CheckBox || k == ControlKind::RadioButton;
}

bool EqualNoCase(const std::wstring& a, const wchar_t* b) {
  const size_t n = std::wcslen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return true;
}

bool StartsNoCase(const std::wstring& a, const wchar_t* prefix) {
  const size_t n = std::wcslen(prefix);
  if (a.size() < n) return false;
  return EqualNoCase(a.substr(0, n), prefix);
}

// Searches rows after start (-1: from the first), wrapping around once, as list boxes do.
int FindRow(const std::vector<std::wstring>& rows, WPARAM startAfter, LPARAM text, bool exact) {
  const auto* key = reinterpret_cast<const wchar_t*>(text);
  if (!key || rows.empty()) return -1;
  const int n = static_cast<int>(rows.size());
  int start = static_cast<int>(static_cast<std::intptr_t>(startAfter));
  if (start < -1 || start >= n) start = -1;
  for (int k = 1; k <= n; ++k) {
    const int i = (start + k) % n;
    const std::wstring& row = rows[static_cast<size_t>(i)];
    if (exact ? EqualNoCase(row, key) : StartsNoCase(row, key)) return i;
  }
  return -1;
}

LRESULT CopyText(const std::wstring& text, WPARAM maxCount, LPARAM buffer) {
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  if (!out || maxCount == 0) return 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(maxCount) - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), out);
  out[n] = L'\0';
  return static_cast<LRESULT>(n);
}

// Rows shared by list boxes and combo boxes; the codes differ, the behaviour does not.
struct RowMessages {
  UINT add, insert, remove, reset, setSel, getSel, getText, getTextLen, count, find, findExact;
};
constexpr RowMessages kListMessages{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                    LB_SETCURSEL, LB_GETCURSEL, LB_GETTEXT, LB_GETTEXTLEN, LB_GETCOUNT,
                                    LB_FINDSTRING, LB_FINDSTRINGEXACT};
constexpr RowMessages kComboMessages{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                     CB_SETCURSEL, CB_GETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETCOUNT,
                                     CB_FINDSTRING, CB_FINDSTRINGEXACT};

void ShowSelectionInCombo(HWND hwnd) {
  if (!vorn::mfc::IsComboBox(hwnd)) return;
  hwnd->text = hwnd->curSel >= 0 ? hwnd->rows[static_cast<size_t>(hwnd->curSel)] : std::wstring();
}

// Handles a row message; false when message is not one of them.
bool RowProc(HWND hwnd, const RowMessages& m, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  auto& rows = hwnd->rows;
  const int count = static_cast<int>(rows.size());
  const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  const auto* text = reinterpret_cast<const wchar_t*>(lParam);
  if (message == m.add || message == m.insert) {
    if (!text) { result = LB_ERR; return true; }
    int at = count;
    if (message == m.insert) {
      if (index < -1 || index > count) { result = LB_ERR; return true; }
      if (index >= 0) at = index;
    } else if (hwnd->style & vorn::mfc::kStyleSort) {
      at = static_cast<int>(std::upper_bound(rows.begin(), rows.end(), std::wstring(text)) - rows.begin());
    }
    rows.insert(rows.begin() + at, text);
    if (hwnd->curSel >= at) ++hwnd->curSel;
    result = at;
  } else if (message == m.remove) {
    if (index < 0 || index >= count) { result = LB_ERR; return true; }
    rows.erase(rows.begin() + index);
    if (hwnd->curSel == index) hwnd->curSel = -1;
    else if (hwnd->curSel > index) --hwnd->curSel;
    result = count - 1;
  } else if (message == m.reset) {
    rows.clear();
    hwnd->curSel = -1;
    if (hwnd->kind == ControlKind::ComboDropList) hwnd->text.clear();
    result = 0;
  } else if (message == m.setSel) {
    const bool valid = index >= 0 && index < count;
    hwnd->curSel = valid ? index : -1;
    ShowSelectionInCombo(hwnd);
    result = valid ? index : LB_ERR;
  } else if (message == m.getSel) {
    result = hwnd->curSel;
  } else if (message == m.getText) {
    if (index < 0 || index >= count || !lParam) { result = LB_ERR; return true; }
    // The caller sizes the buffer from the text length, as the platform requires.
    const std::wstring& row = rows[static_cast<size_t>(index)];
    auto* out = reinterpret_cast<wchar_t*>(lParam);
    std::copy(row.begin(), row.end(), out);
    out[row.size()] = L'\0';
    result = static_cast<LRESULT>(row.size());
  } else if (message == m.getTextLen) {
    result = (index < 0 || index >= count) ? LB_ERR : static_cast<LRESULT>(rows[static_cast<size_t>(index)].size());
  } else if (message == m.count) {
    result = count;
  } else if (message == m.find || message == m.findExact) {
    result = FindRow(rows, wParam, lParam, message == m.findExact);
  } else if (message == CB_SELECTSTRING && vorn::mfc::IsComboBox(hwnd)) {
    const int at = FindRow(rows, wParam, lParam, false);
    if (at >= 0) {
      hwnd->curSel = at;
      ShowSelectionInCombo(hwnd);
    }
    result = at;
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<HWND__> NewWindow(ControlKind kind, const std::wstring& text) {
  auto w = std::make_unique<HWND__>();
  w->kind = kind;
  w->text = text;
  w->serial = ++World().serial;
  World().live.insert(w.get());
  return w;
}

void Unlink(HWND hwnd) {
  WindowWorld& w = World();
  for (auto& child : hwnd->children) Unlink(child.get());
  hwnd->destroyed = true;
  w.live.erase(hwnd);
  if (w.focus == hwnd) w.focus = nullptr;
  if (hwnd->handler) {
    hwnd->handler->m_hWnd = nullptr;
    hwnd->handler = nullptr;
  }
  auto t = w.temporaries.find(hwnd);
  if (t != w.temporaries.end()) {
    t->second->m_hWnd = nullptr;
    w.deadTemporaries.push_back(std::move(t->second));
    w.temporaries.erase(t);
  }
}

UINT FocusCode(const HWND__* hwnd, bool gained) {
  if (hwnd->kind == ControlKind::Edit) return gained ? EN_SETFOCUS : EN_KILLFOCUS;
  if (vorn::mfc::IsComboBox(hwnd)) return gained ? CBN_SETFOCUS : CBN_KILLFOCUS;
  if (vorn::mfc::IsListBox(hwnd)) return gained ? LBN_SETFOCUS : LBN_KILLFOCUS;
  return 0xffff;  // buttons and statics report focus only with styles the module never uses
}

}  // namespace

namespace vorn::mfc {

bool IsLiveWindow(HWND hwnd) { return hwnd && World().live.count(hwnd) != 0; }

HWND CreateTopLevelWindow(ControlKind kind, const std::wstring& caption) {
  World().topLevel.push_back(NewWindow(kind, caption));
  HWND w = World().topLevel.back().get();
  w->visible = false;
  return w;
}

HWND CreateChildWindow(HWND parent, ControlKind kind, int id, const std::wstring& text, DWORD style,
                       int x, int y, int cx, int cy) {
  if (!IsLiveWindow(parent)) return nullptr;
  auto w = NewWindow(kind, text);
  w->id = id;
  w->style = style;
  w->x = x;
  w->y = y;
  w->cx = cx;
  w->cy = cy;
  w->enabled = (style & kStyleDisabled) == 0;
  w->visible = (style & kStyleHidden) == 0;
  w->parent = parent;
  // A drop-down list shows only its rows; whatever text a template gives it is not shown.
  if (kind == ControlKind::ComboDropList || kind == ControlKind::ListBox || kind == ControlKind::DragListBox)
    w->text.clear();
  parent->children.push_back(std::move(w));
  return parent->children.back().get();
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> out;
  for (auto& w : World().topLevel) out.push_back(w.get());
  return out;
}

HWND FindChild(HWND parent, int id) {
  if (!IsLiveWindow(parent)) return nullptr;
  for (auto& c : parent->children)
    if (c->id == id) return c.get();
  return nullptr;
}

std::vector<HWND> RadioGroupOf(HWND radio) {
  std::vector<HWND> group;
  if (!IsLiveWindow(radio) || !radio->parent) return group;
  auto& siblings = radio->parent->children;
  size_t at = 0;
  while (siblings[at].get() != radio) ++at;
  size_t first = at;
  while (first > 0 && !(siblings[first]->style & kStyleGroup)) --first;
  for (size_t i = first; i < siblings.size(); ++i) {
    if (i > first && (siblings[i]->style & kStyleGroup)) break;
    if (siblings[i]->kind == ControlKind::RadioButton) group.push_back(siblings[i].get());
  }
  return group;
}

bool IsComboBox(const HWND__* hwnd) {
  return hwnd && (hwnd->kind == ControlKind::ComboDropDown || hwnd->kind == ControlKind::ComboDropList);
}

bool IsListBox(const HWND__* hwnd) {
  return hwnd && (hwnd->kind == ControlKind::ListBox || hwnd->kind == ControlKind::DragListBox);
}

void SetPaintHandler(HWND hwnd, PaintHandler handler) {
  if (!IsLiveWindow(hwnd)) return;
  hwnd->paint = std::move(handler);
  ++hwnd->paintCount;
}

void NotifyParent(HWND control, UINT code) {
  if (!IsLiveWindow(control) || !control->parent) return;
  ::SendMessageW(control->parent, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(control->id), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(control));
}

bool ClickControl(HWND hwnd) {
  if (!IsLiveWindow(hwnd)) return false;
  const bool staticKind = hwnd->kind == ControlKind::Static || hwnd->kind == ControlKind::Picture;
  if (!IsButtonKind(hwnd->kind) && !(staticKind && (hwnd->style & kStyleNotify))) return false;
  if (!hwnd->enabled || !hwnd->visible) return true;
  if (hwnd->kind == ControlKind::CheckBox) {
    hwnd->check = hwnd->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  } else if (hwnd->kind == ControlKind::RadioButton) {
    for (HWND other : RadioGroupOf(hwnd)) other->check = BST_UNCHECKED;
    hwnd->check = BST_CHECKED;
  }
  NotifyParent(hwnd, staticKind ? STN_CLICKED : BN_CLICKED);
  return true;
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsLiveWindow(hwnd)) return 0;
  switch (message) {
    case WM_SETTEXT: {
      // A text set from code notifies no one; only typing (a dialog event) sends EN_CHANGE.
      const auto* text = reinterpret_cast<const wchar_t*>(lParam);
      const std::wstring value = text ? text : L"";
      if (hwnd->kind == ControlKind::ComboDropList) {
        // A drop-down list can only show one of its rows.
        const int at = FindRow(hwnd->rows, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()), true);
        if (at < 0) return CB_ERR;
        hwnd->curSel = at;
        ShowSelectionInCombo(hwnd);
        return TRUE;
      }
      hwnd->text = value;
      return TRUE;
    }
    case WM_GETTEXT:
      return CopyText(hwnd->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(hwnd->text.size());
    case WM_CLOSE:
      ::DestroyWindow(hwnd);
      return 0;
    case BM_GETCHECK:
      return IsButtonKind(hwnd->kind) ? hwnd->check : 0;
    case BM_SETCHECK:
      if (hwnd->kind == ControlKind::CheckBox || hwnd->kind == ControlKind::RadioButton)
        hwnd->check = static_cast<int>(wParam) == BST_CHECKED ? BST_CHECKED
                    : static_cast<int>(wParam) == BST_INDETERMINATE ? BST_INDETERMINATE : BST_UNCHECKED;
      return 0;
    case BM_GETSTATE:
      return IsButtonKind(hwnd->kind) ? hwnd->check : 0;
    case BM_CLICK:
      ClickControl(hwnd);
      return 0;
    default:
      break;
  }
  LRESULT result = 0;
  if (IsListBox(hwnd) && RowProc(hwnd, kListMessages, message, wParam, lParam, result)) return result;
  if (IsComboBox(hwnd) && RowProc(hwnd, kComboMessages, message, wParam, lParam, result)) return result;
  return 0;
}

}  // namespace vorn::mfc

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!vorn::mfc::IsLiveWindow(hwnd)) return 0;
  DepthGuard guard;
  if (hwnd->handler) return hwnd->handler->WindowProc(message, wParam, lParam);
  return vorn::mfc::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(hwnd, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // No message loop runs between events here; a posted message is handled at once.
  if (!vorn::mfc::IsLiveWindow(hwnd)) return FALSE;
  SendMessageW(hwnd, message, wParam, lParam);
  return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  if (!vorn::mfc::IsLiveWindow(hwnd)) return FALSE;
  const BOOL wasDisabled = hwnd->enabled ? FALSE : TRUE;
  hwnd->enabled = enable != FALSE;
  if (!hwnd->enabled && World().focus == hwnd) SetFocus(nullptr);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) { return vorn::mfc::IsLiveWindow(hwnd) && hwnd->enabled ? TRUE : FALSE; }

BOOL ShowWindow(HWND hwnd, int command) {
  if (!vorn::mfc::IsLiveWindow(hwnd)) return FALSE;
  const BOOL wasVisible = hwnd->visible ? TRUE : FALSE;
  hwnd->visible = command != SW_HIDE;
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  for (HWND w = hwnd; w; w = w->parent)
    if (!vorn::mfc::IsLiveWindow(w) || !w->visible) return FALSE;
  return hwnd ? TRUE : FALSE;
}

BOOL IsWindow(HWND hwnd) { return vorn::mfc::IsLiveWindow(hwnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND hwnd) {
  if (!vorn::mfc::IsLiveWindow(hwnd)) return FALSE;
  WindowWorld& w = World();
  Unlink(hwnd);
  auto take = [&](std::vector<std::unique_ptr<HWND__>>& owners) {
    for (auto it = owners.begin(); it != owners.end(); ++it)
      if (it->get() == hwnd) {
        w.graveyard.push_back(std::move(*it));
        owners.erase(it);
        return;
      }
  };
  if (hwnd->parent) take(hwnd->parent->children);
  else take(w.topLevel);
  ReleaseGraveyard();
  return TRUE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) == TRUE ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
  if (maxCount <= 0) return 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

HWND GetDlgItem(HWND dialog, int id) { return vorn::mfc::FindChild(dialog, id); }

int GetDlgCtrlID(HWND hwnd) { return vorn::mfc::IsLiveWindow(hwnd) ? hwnd->id : 0; }

HWND GetParent(HWND hwnd) { return vorn::mfc::IsLiveWindow(hwnd) ? hwnd->parent : nullptr; }

HWND SetFocus(HWND hwnd) {
  WindowWorld& w = World();
  if (hwnd && (!vorn::mfc::IsLiveWindow(hwnd) || !hwnd->enabled)) return nullptr;
  HWND old = w.focus;
  if (old == hwnd) return old;
  w.focus = hwnd;
  // The control losing the focus hears of it first, as the platform orders it.
  if (vorn::mfc::IsLiveWindow(old) && old->parent) {
    const UINT code = FocusCode(old, false);
    if (code != 0xffff) vorn::mfc::NotifyParent(old, code);
  }
  if (vorn::mfc::IsLiveWindow(hwnd) && w.focus == hwnd && hwnd->parent) {
    const UINT code = FocusCode(hwnd, true);
    if (code != 0xffff) vorn::mfc::NotifyParent(hwnd, code);
  }
  return vorn::mfc::IsLiveWindow(old) ? old : nullptr;
}

HWND GetFocus() { return vorn::mfc::IsLiveWindow(World().focus) ? World().focus : nullptr; }

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND b = GetDlgItem(dialog, id);
  if (!b) return FALSE;
  SendMessageW(b, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
  if (!vorn::mfc::IsLiveWindow(dialog)) return FALSE;
  for (auto& c : dialog->children)
    if (c->id >= firstId && c->id <= lastId)
      SendMessageW(c.get(), BM_SETCHECK, c->id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}

namespace vorn::mfc {
// Used by CWnd::FromHandle: a host-owned object for a window nothing is bound to.
CWnd* TemporaryWindowObject(HWND hwnd) {
  if (!IsLiveWindow(hwnd)) return nullptr;
  if (hwnd->handler) return hwnd->handler;
  auto& slot = World().temporaries[hwnd];
  if (!slot) {
    slot = std::make_unique<CWnd>();
    slot->m_hWnd = hwnd;
  }
  return slot.get();
}
}  // namespace vorn::mfc
