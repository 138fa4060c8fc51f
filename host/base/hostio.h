// The host's two channels to whoever runs it: the transcript (prompts, echoes, messages) and
// a raw line of input for headless modal dialogs. The editor installs both at start; until
// then text goes to standard output and no line can be read.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn {

using HostPrinter = std::function<void(const std::wstring& text)>;
// Reads the next raw input line after showing prompt; false on cancel or end of input.
using HostLineReader = std::function<bool(const std::wstring& prompt, std::wstring& line)>;

void HostPrint(const std::wstring& text);
bool HostReadLine(const std::wstring& prompt, std::wstring& line);

// Native dialogs of a window front end. Each hook answers -1 when it does not take the call
// (no window, or FILEDIA 0 for files): the headless form on the transcript runs instead.
struct HostNativeDialogs {
    // The button pressed (IDOK, IDYES, ...); type holds the MB_ bits.
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned type)> messageBox;
    // 1 with path chosen, 0 when cancelled. filter: "Description (*.ext)|*.ext|..." pairs.
    std::function<int(bool open, const std::wstring& filter, const std::wstring& defaultName,
                      std::wstring& path)>
        fileDialog;
    // One item of a list: names, with the drawing file of each for a preview (may be empty);
    // 1 with the index chosen, 0 when cancelled.
    std::function<int(const std::wstring& caption, const std::vector<std::wstring>& names,
                      const std::vector<std::wstring>& files, int& chosen)>
        pickItem;
};
const HostNativeDialogs& NativeDialogs();
HostNativeDialogs SetNativeDialogs(HostNativeDialogs dialogs);

// Returns the previous channel so that tests can restore it.
HostPrinter SetHostPrinter(HostPrinter printer);
HostLineReader SetHostLineReader(HostLineReader reader);

}  // namespace vorn
