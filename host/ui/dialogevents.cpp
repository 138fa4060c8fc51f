// Parsing of dialog events and their dispatch to the open dialog, as a user's typing, clicking
// and choosing would reach it: the cursor over the control, the focus, then the notifications.
#include "host/ui/dialogevents.h"

#include <cwctype>

#include "host/base/textcodec.h"
#include "host/mfc/hostwindows.h"
#include "host/ui/dialogregistry.h"
#include "host/ui/dialogshot.h"
#include "host/ui/dialogshow.h"
#include "host/ui/modalinput.h"

using vorn::mfc::ControlKind;

namespace vorn::ui {

namespace {

std::wstring Trim(const std::wstring& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// Splits off the first blank-separated word; rest keeps its inner blanks.
std::wstring NextWord(std::wstring& rest) {
  rest = Trim(rest);
  size_t end = 0;
  while (end < rest.size() && !std::iswspace(static_cast<wint_t>(rest[end]))) ++end;
  std::wstring word = rest.substr(0, end);
  rest = end < rest.size() ? rest.substr(end + 1) : std::wstring();
  return word;
}

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return s;
}

bool ReadInt(const std::wstring& word, int& value) {
  if (word.empty() || word.size() > 9) return false;
  size_t i = word[0] == L'-' ? 1 : 0;
  if (i == word.size()) return false;
  for (size_t k = i; k < word.size(); ++k)
    if (word[k] < L'0' || word[k] > L'9') return false;
  value = std::stoi(word);
  return true;
}

const wchar_t* const kExpected =
    L"expected @edit ID TEXT, @click ID, @select ID ROW, @dblclick ID ROW, @focus ID, @close, @show, "
    L"@dialogshot FILE or @snapshot FILE";

std::wstring EventName(DialogEvent::Kind kind) {
  switch (kind) {
    case DialogEvent::Kind::Edit: return L"@edit";
    case DialogEvent::Kind::Click: return L"@click";
    case DialogEvent::Kind::Select: return L"@select";
    case DialogEvent::Kind::DblClick: return L"@dblclick";
    case DialogEvent::Kind::Focus: return L"@focus";
    case DialogEvent::Kind::Close: return L"@close";
    case DialogEvent::Kind::Show: return L"@show";
    case DialogEvent::Kind::DialogShot: return L"@dialogshot";
  }
  return L"@";
}

bool IsEditable(const HWND__* c) { return c->kind == ControlKind::Edit || c->kind == ControlKind::ComboDropDown; }

bool TakesFocus(const HWND__* c) {
  switch (c->kind) {
    case ControlKind::Edit:
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList:
    case ControlKind::ListBox:
    case ControlKind::DragListBox:
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return true;
    default: return false;
  }
}

// The mouse arrives over the control first: the dialog may set its own cursor there.
void CursorOver(HWND dialog, HWND control) {
  ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

std::wstring Describe(const HWND__* c) {
  return std::wstring(ControlKindWord(c->kind)) + L" " + std::to_wstring(c->id);
}

// Modal dialogs read their events from the input channel as soon as this layer is linked in.
const bool kModalInputInstalled = (InstallModalDialogInput(), true);

bool Refuse(std::wstring& output, const std::wstring& message) {
  if (!output.empty()) output += L"\n";
  output += message;
  return false;
}

void TypeInto(HWND control, const std::wstring& text) {
  control->text = text;
  if (vorn::mfc::IsComboBox(control)) {
    // Typing that matches a row does not choose it; only the text changes.
    control->curSel = -1;
    vorn::mfc::NotifyParent(control, CBN_EDITCHANGE);
  } else {
    vorn::mfc::NotifyParent(control, EN_CHANGE);
  }
}

// Leaving a field hands the focus back to the drawing, where typing goes to the command line.
void Leave(HWND control) {
  if (::GetFocus() == control) acedGetAcadDwgView()->SetFocus();
}

}  // namespace

bool ParseDialogEvent(const std::wstring& line, DialogEvent& event, std::wstring& error) {
  std::wstring rest = Trim(line);
  if (!rest.empty() && rest[0] == L'@') rest = rest.substr(1);
  const std::wstring verb = Lower(NextWord(rest));
  event = DialogEvent{};
  static const struct {
    const wchar_t* word;
    DialogEvent::Kind kind;
  } verbs[] = {{L"edit", DialogEvent::Kind::Edit},         {L"click", DialogEvent::Kind::Click},
               {L"select", DialogEvent::Kind::Select},     {L"dblclick", DialogEvent::Kind::DblClick},
               {L"focus", DialogEvent::Kind::Focus},       {L"close", DialogEvent::Kind::Close},
               {L"show", DialogEvent::Kind::Show},         {L"dialogshot", DialogEvent::Kind::DialogShot}};
  bool known = false;
  for (const auto& v : verbs)
    if (verb == v.word) {
      event.kind = v.kind;
      known = true;
    }
  if (!known) {
    error = L"unknown dialog event \"@" + verb + L"\"; " + kExpected;
    return false;
  }
  const std::wstring name = EventName(event.kind);
  switch (event.kind) {
    case DialogEvent::Kind::Close:
    case DialogEvent::Kind::Show:
      if (!Trim(rest).empty()) {
        error = name + L" takes nothing after it; found \"" + Trim(rest) + L"\"";
        return false;
      }
      return true;
    case DialogEvent::Kind::DialogShot: {
      const std::wstring file = Trim(rest);
      if (file.empty()) {
        error = L"@dialogshot needs a file name ending in .png, .svg or .pdf";
        return false;
      }
      event.file = ToUtf8(file);
      return true;
    }
    default: break;
  }
  const std::wstring idWord = NextWord(rest);
  if (!ReadInt(idWord, event.id)) {
    error = name + L" needs a control id (a whole number)" + (idWord.empty() ? L"" : L", not \"" + idWord + L"\"");
    return false;
  }
  if (event.kind == DialogEvent::Kind::Edit) {
    // The text is the rest of the line; quotes around it keep leading or trailing blanks.
    std::wstring text = rest;
    const std::wstring trimmed = Trim(text);
    if (trimmed.size() >= 2 && trimmed.front() == L'"' && trimmed.back() == L'"') text = trimmed.substr(1, trimmed.size() - 2);
    else text = trimmed;
    event.text = text;
    return true;
  }
  if (event.kind == DialogEvent::Kind::Select || event.kind == DialogEvent::Kind::DblClick) {
    const std::wstring rowWord = NextWord(rest);
    if (!ReadInt(rowWord, event.row) || event.row < 0) {
      error = name + L" " + idWord + L" needs a row number from 0" +
              (rowWord.empty() ? L"" : L", not \"" + rowWord + L"\"");
      return false;
    }
  }
  if (!Trim(rest).empty()) {
    error = name + L" has too many values: \"" + Trim(rest) + L"\" is left over; " + kExpected;
    return false;
  }
  return true;
}

bool HasOpenDialog() {
  (void)kModalInputInstalled;
  return TheOpenDialog() != nullptr;
}

bool DispatchDialogEvent(const DialogEvent& event, std::wstring& output) {
  CDialog* dialog = TheOpenDialog();
  if (event.dialog)
    dialog = vorn::mfc::IsLiveWindow(event.dialog) ? dynamic_cast<CDialog*>(event.dialog->handler)
                                                   : nullptr;
  const std::wstring name = EventName(event.kind);
  if (!dialog) return Refuse(output, L"No dialog is open; " + name + L" needs an open dialog.");
  HWND dlg = dialog->m_hWnd;
  switch (event.kind) {
    case DialogEvent::Kind::Show:
      output += ShowDialog(dlg);
      return true;
    case DialogEvent::Kind::DialogShot: {
      std::wstring error;
      if (!DrawDialogPicture(dlg, event.file, error)) return Refuse(output, error);
      return true;
    }
    case DialogEvent::Kind::Close:
      ::SendMessageW(dlg, WM_CLOSE, 0, 0);
      return true;
    default: break;
  }
  HWND c = vorn::mfc::FindChild(dlg, event.id);
  const std::wstring id = std::to_wstring(event.id);
  if (!c) return Refuse(output, L"The dialog \"" + dlg->text + L"\" has no control " + id + L"; @show lists its controls.");
  if (!c->visible) return Refuse(output, L"The " + Describe(c) + L" is hidden; " + name + L" needs a visible control.");
  if (!c->enabled) return Refuse(output, L"The " + Describe(c) + L" is disabled; " + name + L" needs an enabled control.");
  const int rows = static_cast<int>(c->rows.size());
  switch (event.kind) {
    case DialogEvent::Kind::Edit:
      if (!IsEditable(c))
        return Refuse(output, L"The " + Describe(c) + L" takes no typing; @edit needs an edit or an editable combo box.");
      if (c->style & vorn::mfc::kStyleReadOnly)
        return Refuse(output, L"The " + Describe(c) + L" is read-only; @edit needs a field that can be typed into.");
      CursorOver(dlg, c);
      if (vorn::mfc::IsLiveWindow(c)) ::SetFocus(c);
      if (vorn::mfc::IsLiveWindow(c)) TypeInto(c, event.text);
      if (vorn::mfc::IsLiveWindow(c)) Leave(c);
      return true;
    case DialogEvent::Kind::Click: {
      const bool button = c->kind == ControlKind::PushButton || c->kind == ControlKind::CheckBox ||
                          c->kind == ControlKind::RadioButton;
      const bool notifyStatic = (c->kind == ControlKind::Static || c->kind == ControlKind::Picture) &&
                                (c->style & vorn::mfc::kStyleNotify);
      if (!button && !notifyStatic)
        return Refuse(output, L"The " + Describe(c) +
                                  L" takes no clicks; @click needs a button, a check box, a radio button or a static "
                                  L"that reports clicks.");
      CursorOver(dlg, c);
      if (button && vorn::mfc::IsLiveWindow(c)) ::SetFocus(c);
      if (vorn::mfc::IsLiveWindow(c)) vorn::mfc::ClickControl(c);
      return true;
    }
    case DialogEvent::Kind::Select:
    case DialogEvent::Kind::DblClick: {
      const bool list = vorn::mfc::IsListBox(c);
      if (event.kind == DialogEvent::Kind::DblClick && !list)
        return Refuse(output, L"The " + Describe(c) + L" is not a list box; @dblclick needs a list box.");
      if (!list && !vorn::mfc::IsComboBox(c))
        return Refuse(output, L"The " + Describe(c) + L" has no rows; @select needs a list or combo box.");
      if (event.row >= rows)
        return Refuse(output, L"Row " + std::to_wstring(event.row) + L" is out of range; the " + Describe(c) +
                                  (rows == 0 ? std::wstring(L" has no rows.")
                                             : L" has rows 0 to " + std::to_wstring(rows - 1) + L"."));
      CursorOver(dlg, c);
      if (vorn::mfc::IsLiveWindow(c)) ::SetFocus(c);
      if (!vorn::mfc::IsLiveWindow(c) || event.row >= static_cast<int>(c->rows.size())) return true;
      c->curSel = event.row;
      if (!list) c->text = c->rows[static_cast<size_t>(event.row)];
      vorn::mfc::NotifyParent(c, list ? LBN_SELCHANGE : CBN_SELCHANGE);
      if (event.kind == DialogEvent::Kind::DblClick && vorn::mfc::IsLiveWindow(c)) vorn::mfc::NotifyParent(c, LBN_DBLCLK);
      return true;
    }
    case DialogEvent::Kind::Focus:
      if (!TakesFocus(c)) return Refuse(output, L"The " + Describe(c) + L" cannot take the focus; @focus needs a field, list or button.");
      ::SetFocus(c);
      return true;
    default: break;
  }
  return true;
}

}  // namespace vorn::ui
