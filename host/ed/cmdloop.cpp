// The Command: prompt loop and the running of one command.
#include <cwctype>
#include <exception>

#include "host/ed/commands.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

int g_failures = 0;

}  // namespace

bool RunCommandInfo(const CommandInfo& command, bool nested) {
    EditorState& s = State();
    // Copied: the command may remove its own group (ARX U) while it runs.
    const CommandInfo cmd = command;
    if (!nested) BeginCommandStep(cmd.localName);
    ++s.commandDepth;
    bool ok = true;
    try {
        cmd.function();
    } catch (const InputExhausted&) {
        Print(L"\nCommand " + cmd.localName +
              L" was stopped: the input has ended but it kept asking for more.\n");
        ok = false;
    } catch (const std::exception& e) {
        std::wstring what;
        for (const char* p = e.what(); *p; ++p) what += static_cast<unsigned char>(*p);
        Print(L"\nCommand " + cmd.localName + L" failed: " + what + L"\n");
        ok = false;
    } catch (...) {
        Print(L"\nCommand " + cmd.localName + L" failed with an unknown error.\n");
        ok = false;
    }
    --s.commandDepth;
    if (!nested) {
        EndCommandStep();
        s.initGet = PendingInitGet{};
        s.activeJig = nullptr;
    }
    return ok;
}

bool CommandActive() { return State().commandDepth > 0; }

bool RunCommandByName(const std::wstring& name) {
    if (const CommandInfo* cmd = LookupCommand(name)) {
        if (!RunCommandInfo(*cmd, CommandActive())) ++g_failures;
        return true;
    }
    // "HELP LINE": a command that takes an argument, with it on the same line.
    const std::wstring text = Trim(name);
    std::size_t blank = 0;
    while (blank < text.size() && !std::iswspace(static_cast<wint_t>(text[blank]))) ++blank;
    if (blank == text.size()) return false;
    const CommandInfo* cmd = LookupCommand(text.substr(0, blank));
    if (!cmd || !cmd->withArgument) return false;
    CommandInfo bound = *cmd;
    const std::wstring argument = Trim(text.substr(blank));
    bound.function = [f = cmd->withArgument, argument] { f(argument); };
    if (!RunCommandInfo(bound, CommandActive())) ++g_failures;
    return true;
}

int RunCommandLoop() {
    g_failures = 0;
    const std::wstring prompt = L"\nCommand: ";
    std::wstring last;
    for (;;) {
        ShowPrompt(prompt);
        Event ev;
        {
            const InputScope scope(InputKind::kCommand, prompt);
            ev = NextAnswer(prompt, kReturnEnd);
        }
        if (ev.kind == EventKind::kEnd) break;
        const LineOrigin origin = State().answerOrigin;
        // Enter runs the last command again where a person types, not on an empty line of a
        // script (also of one run in the window); picks and boxes at Command: do nothing.
        if (ev.kind == EventKind::kEnter && State().repeatLastCommand && !origin.named() &&
            !last.empty()) {
            ShowPrompt(last + L"\n");
            ev.kind = EventKind::kText;
            ev.text = last;
        }
        if (ev.kind != EventKind::kText) continue;
        const std::wstring name = Trim(ev.text);
        if (RunCommandByName(name)) {
            last = name;
        } else {
            ReportRefusal(L"Unknown command \"" + name + L"\". Type HELP for the list of commands.",
                          origin);
            ++g_failures;
        }
    }
    State().transcript.EndLine();
    return g_failures;
}

}  // namespace vorn::ed
