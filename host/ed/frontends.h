// Front ends of the editor's event queue: a script file, a stream (standard input) and the
// interactive terminal with line editing and history.
#pragma once

#include <istream>
#include <string>

#include "host/ed/editor.h"

namespace vorn::ed {

// All lines of a UTF-8 script file (a byte-order mark and CR LF line ends are accepted).
// Null with error set ("cannot open ...: reason") when the file cannot be read. Its lines are
// named by path as given and their numbers, for the messages of refused lines.
LineSource ScriptFileSource(const std::string& path, std::string& error);
// Lines of a UTF-8 text held in memory (tests, benchmarks); named like a file's when name is
// not empty.
LineSource ScriptTextSource(const std::string& utf8, const std::wstring& name = L"");
// Lines read from a stream as they come (standard input without a terminal); named like a
// file's when name is not empty.
LineSource StreamSource(std::istream& in, const std::wstring& name = L"");
// The terminal through GNU readline: the prompt line is shown by readline, Ctrl-C and Esc
// answer as Esc, Space answers as Enter where no text is typed, Ctrl-D ends the input, Tab
// completes command names and the keywords of the prompt waiting. Typed lines go to the
// history, kept in historyFile (none: for this run only).
LineSource TerminalSource(const std::string& historyFile);

}  // namespace vorn::ed
