// The window's own message boxes, file dialogs and library picker, in place of the host's
// command-line forms.
#pragma once

class QWidget;

namespace vorn::gui {

// Installs the host's native dialogs (vorn::SetNativeDialogs), owned by mainWindow: message
// boxes, file dialogs while FILEDIA is 1, and the library item picker with a preview of each
// item. Each falls back to the command-line form when no QApplication runs or while a script
// runs in the window (its lines answer, as they would headless).
void InstallNativeDialogs(QWidget* mainWindow);

}  // namespace vorn::gui
