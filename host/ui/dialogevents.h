// Dialog events typed while a prompt waits ('@edit 2005 3.5', '@click 2020', '@show', ...):
// parsed from the text after '@' and dispatched to the open dialog.
#pragma once

#include <string>

#include "host/mfc/afxtypes.h"

namespace vorn::ui {

struct DialogEvent {
  enum class Kind { Edit, Click, Select, DblClick, Focus, Close, Show, DialogShot };
  Kind kind;
  int id = 0;
  int row = 0;
  std::wstring text;
  std::string file;
  // The dialog a window's widget produced the event in; null for typed and script events,
  // which go to the open dialog. A window event must not reach a dialog opened after it.
  HWND dialog = nullptr;
};

// Parses the text after '@' ("edit 2005 3.5", "click 2020", "select 2001 2", "show", ...).
bool ParseDialogEvent(const std::wstring& line, DialogEvent& event, std::wstring& error);
// Dispatches to event.dialog, else to the open dialog. False with a message (what was wrong and
// what is expected) when no dialog is open, the control is missing, of the wrong kind, disabled or
// hidden, or a row is out of range. Text for the transcript (the @show listing) is appended to
// output.
bool DispatchDialogEvent(const DialogEvent& event, std::wstring& output);
bool HasOpenDialog();

}  // namespace vorn::ui
