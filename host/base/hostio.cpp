// Default channels: print UTF-8 to standard output; no line reader.
#include "host/base/hostio.h"

#include <cstdio>
#include <utility>

#include "host/base/textcodec.h"

namespace vorn {
namespace {

HostPrinter& Printer() {
    static HostPrinter printer;
    return printer;
}

HostLineReader& Reader() {
    static HostLineReader reader;
    return reader;
}

HostNativeDialogs& Native() {
    static HostNativeDialogs dialogs;
    return dialogs;
}

}  // namespace

const HostNativeDialogs& NativeDialogs() { return Native(); }

HostNativeDialogs SetNativeDialogs(HostNativeDialogs dialogs) {
    return std::exchange(Native(), std::move(dialogs));
}

void HostPrint(const std::wstring& text) {
    if (Printer()) {
        Printer()(text);
        return;
    }
    const std::string utf8 = ToUtf8(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

bool HostReadLine(const std::wstring& prompt, std::wstring& line) {
    if (!Reader()) return false;
    return Reader()(prompt, line);
}

HostPrinter SetHostPrinter(HostPrinter printer) { return std::exchange(Printer(), std::move(printer)); }

HostLineReader SetHostLineReader(HostLineReader reader) {
    return std::exchange(Reader(), std::move(reader));
}

}  // namespace vorn
