// Input for a modal dialog in headless use: each line read from the host's input channel is a
// dialog event ('@click 2025'), Enter (the default button), or ESC (cancel).
#pragma once

#include "host/mfc/dialog.h"

namespace vorn::ui {

// Handles one line for the running modal dialog; unknown lines get a message saying what is
// expected. The dialog layer installs this as the host's modal event pump when it is linked.
void HandleModalLine(CDialog& dialog, const std::wstring& line);
bool RunModalStep(CDialog& dialog);
void InstallModalDialogInput();

}  // namespace vorn::ui
