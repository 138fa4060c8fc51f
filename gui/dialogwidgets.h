// The host's dialogs as Qt widget windows: each open dialog becomes a window of widgets at its
// template's places, kept in step with the host's window model whenever the editor waits; what
// the user does in them reaches the dialog's handlers as the same notifications that script
// events (@edit, @click, @select, @dblclick, @close) give.
#pragma once

#include <functional>

#include "host/mfc/afxtypes.h"

class QWidget;

namespace vorn::gui {

// From now on every dialog the host opens gets a window parented to mainWindow: a tool window
// beside it for a modeless dialog, an application-modal window for CDialog::DoModal. Installs
// the editor's dialog event handler and the host's modal event pump; all of it is taken back
// when mainWindow goes. Call once the main window exists and FrontEnd::install() has run.
void InstallDialogWidgets(QWidget* mainWindow);

// Takes the windows, the handler, the pump and the wait hook back (also done when the main
// window goes); dialogs then run on the command line again.
void UninstallDialogWidgets();

// Called when a dialog hands the keyboard focus to the drawing view or the main frame (the
// module's commands do so once their dialog stands, and a pick button does when a pick starts),
// so that typing goes to the command line. Null: nothing is done.
void SetFocusViewHandler(std::function<void()> handler);

// Brings the dialog windows up to date with the host now (they also follow at every wait).
void SyncDialogWidgets();

// The window that shows the dialog, null when it has none (not shown yet, or gone). Controls
// are found in it by object name: the control id as a decimal number.
QWidget* DialogWindowOf(HWND dialog);

}  // namespace vorn::gui
