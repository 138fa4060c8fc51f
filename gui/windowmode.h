// vorncad's window mode: the main window as the editor's front end, until the user quits or
// the script shown in it ends.
#pragma once

#include <string>

#include "host/ed/editor.h"

namespace vorn::gui {

struct WindowModeOptions {
    vorn::ed::LineSource script;  // a script to run in the window; null: the user works
    std::string historyFile;      // the command line's history, kept across runs
    std::wstring banner;          // the first line of the transcript
};

// True when a window can be shown: a display (DISPLAY or WAYLAND_DISPLAY) or a platform
// chosen with QT_QPA_PLATFORM.
bool DisplayAvailable();

// Opens the window and runs the Command: loop in it. Returns the number of commands that
// failed, as the script front end's loop does.
int RunWindowMode(int& argc, char** argv, WindowModeOptions options);

}  // namespace vorn::gui
