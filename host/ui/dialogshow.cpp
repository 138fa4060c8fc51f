// The @show listing of a dialog's controls and rows.
#include "host/ui/dialogshow.h"

using vorn::mfc::ControlKind;

namespace vorn::ui {

namespace {

std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += L'\\';
      out += c;
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (c == L'\r') {
      out += L"\\r";
    } else {
      out += c;
    }
  }
  return out + L"\"";
}

}  // namespace

const wchar_t* ControlKindWord(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit: return L"edit";
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList: return L"combo";
    case ControlKind::ListBox:
    case ControlKind::DragListBox: return L"list";
    case ControlKind::PushButton: return L"button";
    case ControlKind::CheckBox: return L"check";
    case ControlKind::RadioButton: return L"radio";
    case ControlKind::GroupBox: return L"group";
    case ControlKind::Static:
    case ControlKind::Picture:
    case ControlKind::Dialog:
    case ControlKind::Frame: break;
  }
  return L"static";
}

std::wstring ShowDialog(HWND dialog) {
  std::wstring out;
  if (!vorn::mfc::IsLiveWindow(dialog)) return out;
  for (const auto& c : dialog->children) {
    const std::wstring id = std::to_wstring(c->id);
    out += L"\n" + id + L" " + ControlKindWord(c->kind) + L" " + Quoted(c->text);
    if ((c->kind == ControlKind::CheckBox || c->kind == ControlKind::RadioButton) && c->check == BST_CHECKED)
      out += L" [checked]";
    if (!c->enabled) out += L" [disabled]";
    if (!c->visible) out += L" [hidden]";
    if (vorn::mfc::IsListBox(c.get()) || vorn::mfc::IsComboBox(c.get())) {
      for (size_t r = 0; r < c->rows.size(); ++r) {
        out += L"\n" + id + L" row " + std::to_wstring(r) + L" " + Quoted(c->rows[r]);
        if (static_cast<int>(r) == c->curSel) out += L" [selected]";
      }
    }
  }
  return out;
}

}  // namespace vorn::ui
