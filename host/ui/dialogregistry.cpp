// The open dialogs, found among the host's top-level windows in creation order.
#include "host/ui/dialogregistry.h"

namespace vorn::ui {

std::vector<CDialog*> OpenDialogs() {
  std::vector<CDialog*> out;
  for (HWND w : vorn::mfc::TopLevelWindows()) {
    if (w->kind != vorn::mfc::ControlKind::Dialog || !vorn::mfc::IsLiveWindow(w)) continue;
    if (auto* dialog = dynamic_cast<CDialog*>(w->handler)) out.push_back(dialog);
  }
  return out;
}

CDialog* TheOpenDialog() {
  const std::vector<CDialog*> open = OpenDialogs();
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if (::IsWindowVisible((*it)->m_hWnd)) return *it;
  return nullptr;
}

}  // namespace vorn::ui
