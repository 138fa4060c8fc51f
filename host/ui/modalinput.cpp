// Headless input for modal dialogs: lines from the host's input channel drive the dialog until
// it ends.
#include "host/ui/modalinput.h"

#include <cwctype>

#include "host/base/hostio.h"
#include "host/ui/dialogevents.h"

namespace vorn::ui {

namespace {

std::wstring Trimmed(const std::wstring& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(static_cast<wint_t>(s[b]))) ++b;
  while (e > b && std::iswspace(static_cast<wint_t>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// The push button with the default style, else the dialog's OK.
int DefaultButtonId(HWND dialog) {
  for (const auto& c : dialog->children)
    if (c->kind == vorn::mfc::ControlKind::PushButton && (c->style & vorn::mfc::kStyleDefault)) return c->id;
  return IDOK;
}

void Command(CDialog& dialog, int id) {
  HWND button = ::GetDlgItem(dialog.m_hWnd, id);
  if (button && (!button->enabled || !button->visible)) {
    vorn::HostPrint(L"\nThe button " + std::to_wstring(id) + L" is disabled; choose another answer.");
    return;
  }
  ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

}  // namespace

void HandleModalLine(CDialog& dialog, const std::wstring& raw) {
  const std::wstring line = Trimmed(raw);
  if (line.empty()) {
    Command(dialog, DefaultButtonId(dialog.m_hWnd));
  } else if (line == L"ESC" || line == L"esc" || line == L"Esc" || line == L"^C") {
    Command(dialog, IDCANCEL);
  } else if (line[0] == L';') {
    // a comment
  } else if (line[0] == L'@') {
    DialogEvent event;
    std::wstring message;
    if (!ParseDialogEvent(line.substr(1), event, message)) {
      vorn::HostPrint(L"\n" + message);
      return;
    }
    std::wstring output;
    DispatchDialogEvent(event, output);
    if (!output.empty()) vorn::HostPrint(output);
  } else {
    vorn::HostPrint(L"\nThe dialog \"" + dialog.m_hWnd->text +
                    L"\" is waiting: answer with a dialog event (@edit, @click, @select, ...), Enter for its "
                    L"default button or ESC to cancel.");
  }
}

bool RunModalStep(CDialog& dialog) {
  std::wstring line;
  if (!vorn::HostReadLine(L"", line)) return false;
  HandleModalLine(dialog, line);
  return true;
}

void InstallModalDialogInput() {
  vorn::mfc::SetModalEventPump([](CDialog& dialog) { return RunModalStep(dialog); });
}

}  // namespace vorn::ui
