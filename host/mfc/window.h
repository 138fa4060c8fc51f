// The native windows of the headless host: a dialog and its controls as plain data (kind, id,
// text, state, rows, layout in dialog units), the free Win32 calls on them, and the keyboard focus.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/mfc/afxtypes.h"
#include "host/mfc/winmsg.h"

typedef struct _cairo cairo_t;
class CWnd;

namespace vorn::mfc {

enum class ControlKind {
  Dialog,        // a top-level dialog window
  Frame,         // a host window that is not a dialog (the main frame, the drawing view)
  Edit,
  ComboDropDown,  // combo box with an edit field
  ComboDropList,  // combo box whose text is always one of its rows
  ListBox,
  DragListBox,
  PushButton,
  CheckBox,
  RadioButton,
  Static,         // static text
  Picture,        // static frame or picture; owner-drawn previews live here
  GroupBox,
};

// Style bits of a control in a template and on its window.
enum ControlStyle : DWORD {
  kStyleGroup = 0x0001,      // starts a group (radio groups run to the next group start)
  kStyleTabStop = 0x0002,
  kStyleDisabled = 0x0004,
  kStyleHidden = 0x0008,
  kStyleReadOnly = 0x0010,
  kStyleMultiline = 0x0020,
  kStyleNotify = 0x0040,     // a static sends STN_CLICKED; a list box sends its notifications
  kStyleBorder = 0x0080,
  kStyleVScroll = 0x0100,
  kStyleSort = 0x0200,       // list and combo rows kept in order
  kStyleNoIntegralHeight = 0x0400,
  kStyleRightText = 0x0800,  // text right of a check box; left-aligned static otherwise
  kStyleCenter = 0x1000,
  kStyleDefault = 0x2000,    // the default push button
};

// Pixels per dialog unit, from the base units of a 9-point font at 96 dots per inch: a character
// cell of 6 × 12 pixels spans 4 horizontal and 8 vertical dialog units.
constexpr double kDluToPixelX = 1.5;
constexpr double kDluToPixelY = 1.5;

using PaintHandler = std::function<void(cairo_t* cr, double x, double y, double w, double h)>;

}  // namespace vorn::mfc

// One window. Dialogs own their controls; the main frame and the drawing view are host windows.
struct HWND__ {
  vorn::mfc::ControlKind kind = vorn::mfc::ControlKind::Static;
  int id = 0;
  std::wstring text;
  DWORD style = 0;
  // Position and size in dialog units, relative to the parent's client area.
  int x = 0, y = 0, cx = 0, cy = 0;
  bool enabled = true;
  bool visible = true;
  int check = BST_UNCHECKED;
  std::vector<std::wstring> rows;
  int curSel = -1;
  HWND__* parent = nullptr;
  std::vector<std::unique_ptr<HWND__>> children;  // in template (tab) order
  // The C++ object that handles this window's messages: the dialog object for a dialog, the
  // subclassing control object (DDX_Control, SubclassDlgItem) for a control, else null.
  CWnd* handler = nullptr;
  vorn::mfc::PaintHandler paint;
  // Counts Invalidate calls and paint handler changes: a window front end paints an owner-drawn
  // control again only when this has changed, not on every refresh.
  unsigned long paintCount = 0;
  // Dialog attributes.
  std::wstring fontName;
  int fontSize = 9;
  bool modal = false;
  bool destroyed = false;
  unsigned long serial = 0;  // creation order, for "the most recently created dialog"
};

namespace vorn::mfc {

// A live window of that handle (not destroyed, not a dangling handle).
bool IsLiveWindow(HWND hwnd);
// Creates a top-level window; dialogs are built by CDialog from their templates.
HWND CreateTopLevelWindow(ControlKind kind, const std::wstring& caption);
HWND CreateChildWindow(HWND parent, ControlKind kind, int id, const std::wstring& text, DWORD style,
                       int x, int y, int cx, int cy);
// Top-level windows not yet destroyed, oldest first.
std::vector<HWND> TopLevelWindows();
HWND FindChild(HWND parent, int id);
// The radio group a radio button belongs to, in order: from the last group start at or before
// it up to the next group start.
std::vector<HWND> RadioGroupOf(HWND radio);
bool IsComboBox(const HWND__* hwnd);
bool IsListBox(const HWND__* hwnd);
// The owner-drawn handler of a static or picture control.
void SetPaintHandler(HWND hwnd, PaintHandler handler);
// What a click does to a control: a check box toggles, a radio button is checked and the others
// of its group cleared, then BN_CLICKED (STN_CLICKED for a static with the notify style) goes to
// the parent. Nothing for a disabled or hidden control; false when the control takes no clicks.
bool ClickControl(HWND hwnd);
// Sends a WM_COMMAND notification from a control to its parent.
void NotifyParent(HWND control, UINT code);
// The platform's default handling of a message: texts, rows, checks, closing.
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vorn::mfc

// Win32 calls as free functions. SendMessageW sends synchronously; notifications go to the parent
// dialog's message map as WM_COMMAND.
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL EnableWindow(HWND hwnd, BOOL enable);  // the previous state: nonzero when it was disabled
BOOL IsWindowEnabled(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);    // nonzero when it was visible
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL DestroyWindow(HWND hwnd);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);
int GetWindowTextLengthW(HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetParent(HWND hwnd);
// Moving the focus notifies the control that loses it and the one that gains it.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
