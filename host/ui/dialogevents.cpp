// Parsing and dispatch of dialog events.
#include "host/ui/dialogevents.h"

namespace vorn::ui {

bool ParseDialogEvent(const std::wstring&, DialogEvent&, std::wstring& error) {
  error = L"dialog events are not available yet";
  return false;
}

bool DispatchDialogEvent(const DialogEvent&, std::wstring&) { return false; }

bool HasOpenDialog() { return false; }

}  // namespace vorn::ui
