// The open dialogs: every dialog window alive, and "the open dialog" that events address, the
// most recently created one that is still open and visible.
#pragma once

#include <vector>

#include "host/mfc/dialog.h"

namespace vorn::ui {

// Open dialogs (modal and modeless, visible or not), oldest first.
std::vector<CDialog*> OpenDialogs();
// The dialog that events address; null when none is open and visible.
CDialog* TheOpenDialog();

}  // namespace vorn::ui
