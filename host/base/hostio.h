// The host's two channels to whoever runs it: the transcript (prompts, echoes, messages) and
// a raw line of input for headless modal dialogs. The editor installs both at start; until
// then text goes to standard output and no line can be read.
#pragma once

#include <functional>
#include <string>

namespace vorn {

using HostPrinter = std::function<void(const std::wstring& text)>;
// Reads the next raw input line after showing prompt; false on cancel or end of input.
using HostLineReader = std::function<bool(const std::wstring& prompt, std::wstring& line)>;

void HostPrint(const std::wstring& text);
bool HostReadLine(const std::wstring& prompt, std::wstring& line);

// Returns the previous channel so that tests can restore it.
HostPrinter SetHostPrinter(HostPrinter printer);
HostLineReader SetHostLineReader(HostLineReader reader);

}  // namespace vorn
