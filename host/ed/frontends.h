// Front ends of the editor's event queue: a script file, a stream (standard input) and the
// interactive terminal with line editing and history.
#pragma once

#include <istream>
#include <string>

#include "host/ed/editor.h"

namespace vorn::ed {

// All lines of a UTF-8 script file (a byte-order mark and CR LF line ends are accepted).
// Null with error set ("cannot open ...: reason") when the file cannot be read.
LineSource ScriptFileSource(const std::string& path, std::string& error);
// Lines of a UTF-8 text held in memory (tests, benchmarks).
LineSource ScriptTextSource(const std::string& utf8);
// Lines read from a stream as they come (standard input without a terminal).
LineSource StreamSource(std::istream& in);
// The terminal through GNU readline: the prompt line is shown by readline, typed lines go to
// its history, Ctrl-C answers as Esc, Ctrl-D ends the input.
LineSource TerminalSource();

}  // namespace vorn::ed
