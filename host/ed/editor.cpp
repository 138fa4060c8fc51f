// The editor's event queue and the wait of every prompt: lines from the front end, cancels
// queued by dialog handlers, dialog and view events dispatched while a prompt waits.
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "host/base/hostio.h"
#include "host/ed/editorstate.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"
#include "host/ed/viewctl.h"

namespace vorn::ed {

namespace {

// Past this many prompts after the end of input a command is taken to loop on Esc.
constexpr int kMaxPromptsAfterEnd = 10000;

// The next event of the front end; pulledOrigin says which script line gave it, if one did.
Event PullEvent() {
    EditorState& s = State();
    s.pulledOrigin = LineOrigin{};
    for (;;) {
        if (!s.queue.empty()) {
            Event ev = std::move(s.queue.front());
            s.queue.pop_front();
            return ev;
        }
        // A script source notes the line it hands out; any other source leaves this empty.
        s.lineRead = LineOrigin{};
        if (s.eventSource && !s.ended) {
            Event ev;
            if (s.eventSource(ev)) {
                s.pulledOrigin = std::move(s.lineRead);
                return ev;
            }
            s.ended = true;
            continue;
        }
        if (s.ended || !s.source) {
            s.ended = true;
            Event end;
            end.kind = EventKind::kEnd;
            return end;
        }
        std::wstring line;
        const std::wstring prompt = s.transcript.TakePartialLine();
        if (!s.source(prompt, line)) {
            s.ended = true;
            continue;
        }
        if (auto ev = ParseLine(line)) {
            s.pulledOrigin = std::move(s.lineRead);
            return *ev;
        }
    }
}

void Echo(const Event& ev) {
    EditorState& s = State();
    if (!PromptsVisible() || ev.silent) return;
    switch (ev.kind) {
        case EventKind::kCancel:
            break;  // "*Cancel*" is written by the caller
        case EventKind::kDialog:
            if (s.echo) s.transcript.Write(L"@" + ev.text + L"\n");
            break;
        case EventKind::kEnd:
        case EventKind::kMove:  // cursor samples would bury the answers
            break;
        default:
            if (s.echo) s.transcript.Write(ev.text + L"\n");
            break;
    }
}

// "Wrote FILE (1600×1200 PNG)": what a picture event left behind.
void ReportPicture(const std::wstring& file) {
    EditorState& s = State();
    if (!s.transcript.AtLineStart()) s.transcript.EndLine();
    s.transcript.Write(L"Wrote " + file + L" (" + DescribePictureFile(file) + L")\n");
}

// Handles the event; true when it printed something (the prompt is then shown again).
bool HandleViewOrDialogEvent(const Event& ev, const LineOrigin& origin) {
    EditorState& s = State();
    const std::wstring line = Trim(ev.text);
    const std::size_t sp = line.find(L' ');
    const std::wstring verb = ToUpper(line.substr(0, sp));
    const std::wstring arg = sp == std::wstring::npos ? L"" : Trim(line.substr(sp + 1));
    if (verb == L"SNAPSHOT") {
        if (arg.empty()) {
            ReportRefusal(L"@snapshot needs a file name, such as @snapshot out.png.", origin);
        } else if (!s.snapshotWriter) {
            ReportRefusal(L"@snapshot: pictures are not available in this build.", origin);
        } else {
            std::wstring error;
            if (s.snapshotWriter(arg, ActiveJigPreview(), error))
                ReportPicture(arg);
            else
                ReportRefusal(L"@snapshot: cannot write " + arg + L": " + error, origin);
        }
        return true;
    }
    std::wstring output;
    if (!s.dialogHandler) {
        ReportRefusal(L"@" + verb + L": no dialog is open to take this event.", origin);
        return true;
    }
    const bool taken = s.dialogHandler(line, output);
    if (!taken) {
        ReportRefusal(output.empty() ? L"@" + line + L": not handled." : output, origin);
        return true;
    }
    const bool shot = verb == L"DIALOGSHOT" && !arg.empty();
    if (output.empty() && !shot) return false;
    if (!output.empty()) {
        if (!s.transcript.AtLineStart()) s.transcript.EndLine();
        s.transcript.Write(output);
        if (output.back() != L'\n') s.transcript.Write(L"\n");
    }
    if (shot) ReportPicture(arg);
    return true;
}

}  // namespace

EditorState& State() {
    static EditorState* state = [] {
        auto* s = new EditorState;
        s->dialogHandler = DefaultDialogHandler();
        return s;
    }();
    return *state;
}

void SetEventSource(EventSource source, bool echoAnswers) {
    EditorState& s = State();
    s.eventSource = std::move(source);
    s.source = nullptr;
    s.echo = echoAnswers;
    s.ended = false;
    s.promptsAfterEnd = 0;
    s.transcript.SetHoldPartialLine(false);
}

void BeginUndoStep(const std::wstring& name) { BeginCommandStep(name); }
void EndUndoStep() { EndCommandStep(); }

void SetRepeatLastCommand(bool on) { State().repeatLastCommand = on; }

const InputContext& CurrentInput() { return State().input; }

bool SpaceAnswersLikeEnter() {
    const InputKind kind = State().input.kind;
    return kind != InputKind::kValue && kind != InputKind::kNone;
}

void LastPoint(double wcs[3]) {
    for (int i = 0; i < 3; ++i) wcs[i] = State().lastPoint[i];
}

InputScope::InputScope(InputKind kind, const std::wstring& prompt, const double* baseUcs,
                       const std::vector<std::wstring>& keywords)
    : m_saved(State().input) {
    InputContext& c = State().input;
    c = InputContext{};
    c.kind = kind;
    c.prompt = prompt;
    c.keywords = keywords;
    if (baseUcs) {
        c.hasBase = true;
        UcsToWcsPoint(baseUcs, c.base);
    }
}

InputScope::~InputScope() { State().input = std::move(m_saved); }

void SetLineSource(LineSource source, bool echoAnswers, bool holdPartialLine) {
    EditorState& s = State();
    s.eventSource = nullptr;
    s.source = std::move(source);
    s.echo = echoAnswers;
    s.ended = false;
    s.promptsAfterEnd = 0;
    s.transcript.SetHoldPartialLine(holdPartialLine);
}

void SetTranscriptSink(TranscriptSink sink) { State().transcript.SetSink(std::move(sink)); }

void Print(const std::wstring& text) { State().transcript.Write(text); }

void QueueLine(const std::wstring& line) {
    if (auto ev = ParseLine(line)) State().queue.push_back(*ev);
}

void QueueCancel() {
    Event ev;
    ev.kind = EventKind::kCancel;
    State().queue.push_front(ev);
}

void EndInput() {
    EditorState& s = State();
    s.queue.clear();
    s.ended = true;
}

bool InputEnded() {
    EditorState& s = State();
    return s.ended && s.queue.empty();
}

void SetDialogEventHandler(DialogEventHandler handler) {
    State().dialogHandler = handler ? std::move(handler) : DefaultDialogHandler();
}

void SetSnapshotWriter(SnapshotWriter writer) { State().snapshotWriter = std::move(writer); }

bool PromptsVisible() {
    const EditorState& s = State();
    if (s.quiet) return false;
    return s.answerSources.empty() || CmdEcho() != 0;
}

void ShowPrompt(const std::wstring& prompt) {
    if (PromptsVisible()) State().transcript.Write(prompt);
}

void ReportRefusal(const std::wstring& message, const LineOrigin& origin) {
    EditorState& s = State();
    if (!s.transcript.AtLineStart()) s.transcript.EndLine();
    std::wstring text = message;
    while (!text.empty() && text.front() == L'\n') text.erase(0, 1);
    while (!text.empty() && text.back() == L'\n') text.pop_back();
    if (origin.named()) {
        const std::wstring where = *origin.file + L":" + std::to_wstring(origin.line);
        text = where + L": " + text;
        if (!(origin == s.lastRefused)) {
            s.lastRefused = origin;
            if (s.refusals.lines++ == 0) s.refusals.first = where;
            if (s.stopOnRefusal && !s.refusals.stopped) {
                s.refusals.stopped = true;
                EndInput();
            }
        }
    }
    s.transcript.Write(text + L"\n");
}

void Refuse(const std::wstring& message, const std::wstring& prompt) {
    ReportRefusal(message, State().answerOrigin);
    ShowPrompt(prompt);
}

void RefuseAnswer(const std::wstring& message) { ReportRefusal(message, State().answerOrigin); }

void NoteLineOrigin(const std::shared_ptr<const std::wstring>& file, int line) {
    EditorState& s = State();
    s.lineRead.file = file;
    s.lineRead.line = line;
}

ScriptRefusals RefusedLines() { return State().refusals; }

void SetStopOnRefusal(bool on) { State().stopOnRefusal = on; }

Event NextAnswer(const std::wstring& prompt, unsigned flags) {
    EditorState& s = State();
    for (;;) {
        if (s.quiet) {
            // A command that printed its own prompt waits with none given here: what stands on
            // the unfinished line is that prompt, and quiet drops it. Under a prompt of the
            // editor's own it is the end of a message, and stays.
            if (prompt.empty())
                s.transcript.DropPartialLine();
            else
                s.transcript.EndLine();
        }
        Event ev;
        s.answerOrigin = LineOrigin{};
        if (!s.answerSources.empty()) {
            AnswerSource* src = s.answerSources.back();
            if (src->events.empty()) {
                // The list gave no answer for this prompt: the command is cancelled rather
                // than left waiting for input nobody will type.
                src->ranDry = true;
                if (++src->dryPrompts > kMaxPromptsAfterEnd) throw InputExhausted();
                ev.kind = EventKind::kCancel;
            } else {
                ev = std::move(src->events.front());
                src->events.pop_front();
                if (ev.kind == EventKind::kMove && !(flags & kWantMoves)) continue;
                if (PromptsVisible() && ev.kind != EventKind::kCancel)
                    s.transcript.Write(ev.text + L"\n");
            }
        } else {
            ev = PullEvent();
            s.answerOrigin = s.pulledOrigin;
            if (ev.kind == EventKind::kEnd) {
                if (flags & kReturnEnd) return ev;
                if (++s.promptsAfterEnd > kMaxPromptsAfterEnd) throw InputExhausted();
                ev.kind = EventKind::kCancel;
            } else if (ev.kind == EventKind::kMove && !(flags & kWantMoves)) {
                continue;  // the cursor moved; nothing waits for it here
            } else {
                Echo(ev);
            }
            if (ev.kind == EventKind::kDialog) {
                const bool printed = HandleViewOrDialogEvent(ev, s.answerOrigin);
                if (!s.queue.empty() && s.queue.front().kind == EventKind::kCancel) continue;
                // A widget's change that printed nothing leaves the prompt standing as it is.
                if (printed || !ev.silent) ShowPrompt(prompt);
                continue;
            }
        }
        if (ev.kind == EventKind::kCancel && !(flags & kQuietCancel) && PromptsVisible()) {
            s.transcript.Write(L"*Cancel*\n");  // on the prompt's line, as Esc leaves it
        }
        return ev;
    }
}

PendingInitGet TakeInitGet() {
    PendingInitGet taken;
    std::swap(taken, State().initGet);
    return taken;
}

std::wstring FormatReal(double v) {
    if (!std::isfinite(v)) return L"0";
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.6f", v);
    std::wstring s = buf;
    while (!s.empty() && s.back() == L'0') s.pop_back();
    if (!s.empty() && s.back() == L'.') s.pop_back();
    if (s == L"-0") s = L"0";
    return s;
}

std::wstring FormatPoint(const double p[3]) {
    std::wstring s = FormatReal(p[0]) + L"," + FormatReal(p[1]);
    if (p[2] != 0.0) s += L"," + FormatReal(p[2]);
    return s;
}

void InstallHostChannels() {
    SetHostPrinter([](const std::wstring& text) { Print(text); });
    SetHostLineReader([](const std::wstring& prompt, std::wstring& line) {
        ShowPrompt(prompt);
        const Event ev = NextAnswer(prompt, kQuietCancel);
        if (ev.kind == EventKind::kCancel || ev.kind == EventKind::kEnd) return false;
        line = ev.text;
        return true;
    });
}

}  // namespace vorn::ed

namespace vorn::ed {

void ResetEditor() {
    EditorState& s = State();
    s.queue.clear();
    s.source = nullptr;
    s.eventSource = nullptr;
    s.input = InputContext{};
    s.repeatLastCommand = false;
    s.echo = true;
    s.ended = false;
    s.promptsAfterEnd = 0;
    s.answerSources.clear();
    s.initGet = PendingInitGet{};
    s.lastInput.clear();
    for (double& v : s.lastPoint) v = 0;
    s.activeJig = nullptr;
    s.commandDepth = 0;
    s.transcript.Reset();
    s.transcript.SetHoldPartialLine(false);
    s.lineRead = s.pulledOrigin = s.answerOrigin = s.lastRefused = LineOrigin{};
    s.refusals = ScriptRefusals{};
    s.stopOnRefusal = false;
    ResetEditorSysVars();
    SetWorldUcs();
    ResetPictureWindow();
}

}  // namespace vorn::ed
