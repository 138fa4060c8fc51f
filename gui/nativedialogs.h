// The window's own message boxes, file dialogs and library picker, in place of the host's
// command-line forms.
#pragma once

class QWidget;

namespace vorn::gui {

// Installs the host's native dialogs (vorn::SetNativeDialogs), owned by mainWindow: message
// boxes, file dialogs while FILEDIA is 1, and the library item picker with a preview of each
// item. Each falls back to the command-line form when no QApplication runs or while a script
// runs in the window (its lines answer, as they would headless).
// PLOT's dialog included (InstallPlotDialog).
void InstallNativeDialogs(QWidget* mainWindow);

// True when the user answers dialogs: a window runs and no script answers for the user with
// its own lines, as it would headless.
bool UserCanAnswer();
// The owner of a dialog: the modal window that stands, else the main window.
QWidget* Owner();

}  // namespace vorn::gui
