// The library picker: lets the user choose one item of a library group.
#pragma once

#include <string>

// Headless form: prints the group's items (one line each, with the directories above them),
// then takes the next input line as an item's name. True with file = the item's data file as a
// full path and name = the item's name. False on Esc, an empty answer, an unknown name (with a
// message naming what is expected) or an unreadable group file (with a message). mode 1 picks
// drawing items, the only kind the suite's groups hold.
bool SelectFromDmls(const std::wstring& libFile, std::wstring& file, std::wstring& name, int mode = 1);
