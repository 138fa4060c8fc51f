// CWnd and the control classes: C++ objects over the host's native windows, with the messages
// the module sends to list boxes, combo boxes, buttons and edits.
#pragma once

#include "host/mfc/cstring.h"
#include "host/mfc/msgmap.h"
#include "host/mfc/window.h"

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }  // NOLINT: as the original
  // A temporary object for a window that nothing has attached to; owned by the host and valid
  // until the window is destroyed.
  static CWnd* FromHandle(HWND hwnd);

  // Binds this object to an existing window so that it handles the window's messages; FALSE
  // when the window is missing or already bound to another object.
  BOOL Attach(HWND hwnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hwnd) { return Attach(hwnd); }
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow() { return Detach(); }

  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  CWnd* GetParent() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  void SetWindowText(const wchar_t* text);
  void GetWindowText(CString& text) const;
  int GetWindowText(wchar_t* buffer, int maxCount) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int id, const wchar_t* text);
  UINT GetDlgItemText(int id, CString& text) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int firstId, int lastId, int checkId);
  CWnd* SetFocus();
  static CWnd* GetFocus();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // The Win32 calls on a window handle, so that code inside a dialog's member functions may call
  // them unqualified; the members above would otherwise hide the free functions.
  static LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hwnd, message, wParam, lParam);
  }
  static LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hwnd, message, wParam, lParam);
  }
  static BOOL EnableWindow(HWND hwnd, BOOL enable) { return ::EnableWindow(hwnd, enable); }
  static BOOL IsWindowEnabled(HWND hwnd) { return ::IsWindowEnabled(hwnd); }
  static BOOL ShowWindow(HWND hwnd, int command) { return ::ShowWindow(hwnd, command); }
  static HWND SetFocus(HWND hwnd) { return ::SetFocus(hwnd); }
  // Rectangles in pixels (dialog units times the host's dialog-unit size).
  void GetWindowRect(CRect* rect) const;
  void GetClientRect(CRect* rect) const;
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow() {}
  virtual BOOL DestroyWindow();

  // The window's message handling: the message map first, then the default behaviour.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND from a child: notification code and control id.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT Default();

  // Default handlers, reached through the message map of a derived class or when it has none.
  void OnClose();
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

 protected:
  // What WM_CLOSE does when no map handles it: a dialog cancels, a window is destroyed.
  virtual void DefaultClose();
  DECLARE_MESSAGE_MAP()

 private:
  UINT m_currentMessage = 0;
  WPARAM m_currentWParam = 0;
  LPARAM m_currentLParam = 0;
};

class CEdit : public CWnd {
 public:
  void SetReadOnly(BOOL readOnly = TRUE);
  void LimitText(int maxChars = 0);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
};

class CButton : public CWnd {
 public:
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
};

class CStatic : public CWnd {
 public:
  // An owner-drawn picture: the handler draws the control's rectangle (pixels) in dialog pictures.
  void SetPaintHandler(vorn::mfc::PaintHandler handler);
};

class CListBox : public CWnd {
 public:
  int AddString(const wchar_t* text);
  int InsertString(int index, const wchar_t* text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int GetText(int index, CString& text) const;
  int GetTextLen(int index) const;
  int FindStringExact(int startAfter, const wchar_t* text) const;
  int FindString(int startAfter, const wchar_t* text) const;
};

// A list box whose rows the user can reorder by dragging; headless, MoveRow is the drag.
class CDragListBox : public CListBox {
 public:
  // Moves row from to position to; FALSE when either is out of range.
  BOOL MoveRow(int from, int to);
};

class CComboBox : public CWnd {
 public:
  int AddString(const wchar_t* text);
  int InsertString(int index, const wchar_t* text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int GetLBText(int index, CString& text) const;
  int GetLBTextLen(int index) const;
  int FindStringExact(int startAfter, const wchar_t* text) const;
  int FindString(int startAfter, const wchar_t* text) const;
  int SelectString(int startAfter, const wchar_t* text);
};
