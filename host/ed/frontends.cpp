// Script, stream and terminal line sources.
#include "host/ed/frontends.h"

#include <readline/history.h>
#include <readline/readline.h>

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "host/base/textcodec.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

std::vector<std::wstring> SplitLines(const std::string& utf8) {
    std::string text = utf8;
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        text.erase(0, 3);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(FromUtf8(line));
        start = nl + 1;
    }
    return lines;
}

std::shared_ptr<const std::wstring> NameOf(const std::wstring& name) {
    return name.empty() ? nullptr : std::make_shared<const std::wstring>(name);
}

LineSource FromLines(std::vector<std::wstring> lines, const std::wstring& name) {
    auto shared = std::make_shared<std::vector<std::wstring>>(std::move(lines));
    auto next = std::make_shared<std::size_t>(0);
    auto file = NameOf(name);
    return [shared, next, file](const std::wstring&, std::wstring& line) {
        if (*next >= shared->size()) return false;
        line = (*shared)[(*next)++];
        if (file) NoteLineOrigin(file, static_cast<int>(*next));
        return true;
    };
}

// Ctrl-C reaches readline as a key (the terminal's signal keys are off while it reads) and
// ends the line as Esc would.
int OnCtrlC(int, int) {
    rl_replace_line("^C", 0);
    rl_point = rl_end;
    rl_done = 1;
    return 0;
}

void PrepareTerminal(int meta) {
    rl_prep_terminal(meta);
    termios t;
    if (tcgetattr(STDIN_FILENO, &t) == 0) {
        t.c_lflag &= static_cast<tcflag_t>(~ISIG);
        tcsetattr(STDIN_FILENO, TCSADRAIN, &t);
    }
}

}  // namespace

LineSource ScriptFileSource(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    return FromLines(SplitLines(all.str()), FromUtf8(path));
}

LineSource ScriptTextSource(const std::string& utf8, const std::wstring& name) {
    return FromLines(SplitLines(utf8), name);
}

LineSource StreamSource(std::istream& in, const std::wstring& name) {
    std::istream* stream = &in;
    auto file = NameOf(name);
    auto count = std::make_shared<int>(0);
    return [stream, file, count](const std::wstring&, std::wstring& line) {
        std::string raw;
        if (!std::getline(*stream, raw)) return false;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        line = FromUtf8(raw);
        if (file) NoteLineOrigin(file, ++*count);
        return true;
    };
}

LineSource TerminalSource() {
    rl_prep_term_function = PrepareTerminal;
    rl_bind_key(3, OnCtrlC);
    using_history();
    return [](const std::wstring& prompt, std::wstring& line) {
        const std::string p = ToUtf8(prompt);
        std::unique_ptr<char, decltype(&std::free)> raw(readline(p.c_str()), &std::free);
        if (!raw) return false;
        if (raw.get()[0] != '\0' && std::strcmp(raw.get(), "^C") != 0) add_history(raw.get());
        line = FromUtf8(raw.get());
        return true;
    };
}

}  // namespace vorn::ed
