// What the main window's menus, tool bars and layer panel have in common: they run commands as a
// user types them.
#pragma once

#include <string>
#include <vector>

namespace vorn::gui {

// Runs command as typed, cancelling first whatever command waits, and gives it answers in
// order, as if typed at its prompts ("" is Enter). Each answer is taken as the text typed,
// never as a click or a dialog line, so a layer named "!a" stays a name.
void RunCommandWithAnswers(const std::wstring& command, const std::vector<std::wstring>& answers);

}  // namespace vorn::gui
