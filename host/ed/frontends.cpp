// Script, stream and terminal line sources.
#include "host/ed/frontends.h"

#include <readline/history.h>
#include <readline/readline.h>

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "host/base/textcodec.h"
#include "host/ed/commands.h"
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

// Set by the cancel key: the line readline hands back is thrown away and answers as Esc.
bool g_cancelled = false;

// Ctrl-C (the terminal's signal keys are off while readline reads) and Esc alone. The line
// is ended as Enter ends it, so that "*Cancel*" and the next prompt start on a line of their
// own; what was typed stays in sight but is not answered nor kept in the history.
int OnCancelKey(int, int key) {
    g_cancelled = true;
    rl_point = rl_end;
    return rl_newline(1, key);
}

// Space ends the line as Enter does where the prompt waiting takes no spaces (Command:, a
// point, objects); elsewhere it is typed, and so it is after the name of a command that takes
// an argument on its line ("HELP OFFSET").
int OnSpace(int count, int key) {
    bool enter = SpaceAnswersLikeEnter();
    if (enter && CurrentInput().kind == InputKind::kCommand) {
        const CommandInfo* c = LookupCommand(Trim(FromUtf8(rl_line_buffer)));
        if (c && c->withArgument && rl_point == rl_end) enter = false;
    }
    return enter ? rl_newline(1, '\n') : rl_insert(count, key);
}

// What Tab offers: command names at Command: (also after HELP), else the keywords of the
// prompt waiting. Matched without regard to case; given as the registry spells them.
std::vector<std::string> CompletionWords(const std::string& lineBefore) {
    std::vector<std::string> words;
    const InputContext& input = CurrentInput();
    if (input.kind == InputKind::kCommand) {
        const std::wstring before = Trim(FromUtf8(lineBefore));
        if (!before.empty() && !EqualNoCase(before, L"HELP")) return words;
        for (const CommandInfo& c : AllCommands()) {
            words.push_back(ToUtf8(c.globalName));
            if (!c.localName.empty() && c.localName != c.globalName) words.push_back(ToUtf8(c.localName));
        }
    } else {
        for (const std::wstring& k : input.keywords) words.push_back(ToUtf8(k));
    }
    return words;
}

std::vector<std::string> g_candidates;

char* NextCandidate(const char* text, int state) {
    static std::size_t next = 0;
    if (state == 0) next = 0;
    const std::wstring typed = FromUtf8(text);
    while (next < g_candidates.size()) {
        const std::string& word = g_candidates[next++];
        const std::wstring w = FromUtf8(word);
        if (w.size() >= typed.size() && EqualNoCase(w.substr(0, typed.size()), typed))
            return strdup(word.c_str());
    }
    return nullptr;
}

char** Complete(const char* text, int start, int) {
    rl_attempted_completion_over = 1;  // never file names
    rl_completion_append_character = '\0';  // Enter runs the name; Space would answer
    g_candidates = CompletionWords(std::string(rl_line_buffer, static_cast<std::size_t>(start)));
    return rl_completion_matches(text, NextCandidate);
}

// The history shared with the window's command line: one line each, the last kHistoryLines.
constexpr int kHistoryLines = 500;

void Remember(const char* line, const std::string& file) {
    if (line[0] == '\0') return;
    const HIST_ENTRY* last = history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
    if (last && std::strcmp(last->line, line) == 0) return;
    add_history(line);
    if (file.empty()) return;
    static bool told = false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    const int err = write_history(file.c_str());
    if (err != 0 && !told) {
        told = true;
        Print(L"Note: the command history cannot be kept in " + FromUtf8(file) + L": " +
              FromUtf8(std::strerror(err)) + L"; lines typed now are forgotten at exit.\n");
    }
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

LineSource TerminalSource(const std::string& historyFile) {
    rl_readline_name = "vorncad";
    rl_initialize();
    rl_prep_term_function = PrepareTerminal;
    rl_bind_key(3, OnCancelKey);
    rl_bind_key(' ', OnSpace);
    // Esc alone cancels once no further key of a sequence (an arrow key's) follows shortly.
    rl_bind_keyseq("\\e", OnCancelKey);
    rl_variable_bind("keyseq-timeout", "50");
    rl_attempted_completion_function = Complete;
    rl_variable_bind("completion-ignore-case", "on");
    using_history();
    stifle_history(kHistoryLines);
    if (!historyFile.empty()) read_history(historyFile.c_str());  // none yet: a first run
    return [historyFile](const std::wstring& prompt, std::wstring& line) {
        const std::string p = ToUtf8(prompt);
        g_cancelled = false;
        std::unique_ptr<char, decltype(&std::free)> raw(readline(p.c_str()), &std::free);
        if (!raw) return false;
        if (g_cancelled) {
            line = L"^C";
            return true;
        }
        Remember(raw.get(), historyFile);
        line = FromUtf8(raw.get());
        return true;
    };
}

}  // namespace vorn::ed
