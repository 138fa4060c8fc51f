// Inside the editor: the state the input calls, jigs, selection and acedCommand share, and the
// one place where a prompt waits for its answer.
#pragma once

#include <cstdarg>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/ed/adsdefs.h"
#include "host/ed/editor.h"
#include "host/ed/event.h"
#include "host/ed/transcript.h"

class AcEdJig;

namespace vorn::ed {

// Answers given by an acedCommand argument list to the command it runs.
struct AnswerSource {
    std::deque<Event> events;
    bool ranDry = false;  // a prompt asked for more than the list gave
    int dryPrompts = 0;
};

// Thrown when a command keeps prompting long after the input has ended: it ends that command
// instead of letting the program spin forever. Caught by the command runner only.
struct InputExhausted : std::runtime_error {
    InputExhausted() : std::runtime_error("the input ended but the command keeps asking") {}
};

struct PendingInitGet {
    int bits = 0;
    std::vector<std::wstring> keywords;
};

// Where an input line came from: a named script and its line number (from 1). Lines of the
// terminal, of a window and of argument lists have none.
struct LineOrigin {
    std::shared_ptr<const std::wstring> file;
    int line = 0;
    bool named() const { return file != nullptr; }
    bool operator==(const LineOrigin& o) const { return line == o.line && file == o.file; }
};

struct EditorState {
    Transcript transcript;
    std::deque<Event> queue;
    LineSource source;
    EventSource eventSource;
    InputContext input;
    bool repeatLastCommand = false;
    bool echo = true;
    bool quiet = false;  // prompts and echoes not written (--quiet)
    bool ended = false;
    int promptsAfterEnd = 0;
    std::vector<AnswerSource*> answerSources;
    PendingInitGet initGet;
    std::wstring lastInput;  // what acedGetInput returns
    double lastPoint[3] = {0, 0, 0};  // world coordinates
    AcEdJig* activeJig = nullptr;
    int commandDepth = 0;
    DialogEventHandler dialogHandler;
    SnapshotWriter snapshotWriter;
    LineOrigin lineRead;      // set by a script source as it hands out a line
    LineOrigin pulledOrigin;  // of the event the front end gave last
    LineOrigin answerOrigin;  // of the answer NextAnswer returned last: what a refusal names
    LineOrigin lastRefused;   // a line is counted once however often it is refused
    ScriptRefusals refusals;
    bool stopOnRefusal = false;
};

EditorState& State();

// Sets what the editor waits for while it lives, then restores the one before (prompts nest:
// a dialog handler may ask for a point while a jig waits).
class InputScope {
public:
    explicit InputScope(InputKind kind, const std::wstring& prompt = L"",
                        const double* baseUcs = nullptr, const std::vector<std::wstring>& keywords = {});
    ~InputScope();
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;
    InputContext& context() { return State().input; }

private:
    InputContext m_saved;
};

// The dialog layer's handler of dialog events (null when the host has no dialogs).
DialogEventHandler DefaultDialogHandler();

// Flags of NextAnswer.
constexpr unsigned kWantMoves = 1;     // cursor moves are answers (jigs, acedGrRead)
constexpr unsigned kQuietCancel = 2;   // no "*Cancel*" line on Esc
constexpr unsigned kReturnEnd = 4;     // the end of input answers kEnd (the Command: prompt)

// True when prompts and echoes of the running command go to the transcript (CMDECHO decides
// for commands run by acedCommand).
bool PromptsVisible();
// Prints a prompt when prompts are visible.
void ShowPrompt(const std::wstring& prompt);
// Prints a refusal on its own line, then the prompt again. The refusal names and counts the
// script line of the answer read last.
void Refuse(const std::wstring& message, const std::wstring& prompt);
// Prints a refusal of the line at origin on its own line, "FILE:LINE: message" for a script
// line, and counts it; with SetStopOnRefusal the input ends here.
void ReportRefusal(const std::wstring& message, const LineOrigin& origin);
// A script source names the line it hands out now.
void NoteLineOrigin(const std::shared_ptr<const std::wstring>& file, int line);
// "1600×1200 PNG": the size and kind of a picture file as written, as far as its header says.
std::wstring DescribePictureFile(const std::wstring& file);
// Waits for the next answer to the prompt already shown: dialog events are dispatched (and the
// prompt shown again after their output), comments skipped, moves ignored unless wanted; the
// end of input answers as Esc. Echoes the answer.
Event NextAnswer(const std::wstring& prompt, unsigned flags = 0);
// The pending acedInitGet settings, cleared for the next call.
PendingInitGet TakeInitGet();

// The point an answer gives, in user coordinates: a typed point ("@" relative to the last
// point), a click (snapped by the running object snaps when snap is true), a point or an
// entity pick of an argument list. False when the answer is no point.
bool PointFromAnswer(const Event& ev, bool snap, double ucs[3]);
// Records the last point (user coordinates in, kept in world coordinates).
void SetLastPoint(const double ucs[3]);
// The running object snap of a click at ucsIn; ucsOut is ucsIn when nothing is in reach.
void SnapClick(const double ucsIn[3], double ucsOut[3]);

// Runs a command: a top-level one as one undo step; a nested one (acedCommand) inside the
// step of the command that runs it. False when the command failed (threw).
bool RunCommandInfo(const struct CommandInfo& command, bool nested);
// Registers FILLETRAD, CLAYER, DRAWUNIT, PRINTSCALE over the drawing (none without one).
void RegisterDrawingVariables();
// Registers HELP, SETVAR, UCS and the undo commands once.
void EnsureEditorCommands();
void RegisterUndoCommands();
// The undo step of a top-level command (defined with undo).
void BeginCommandStep(const std::wstring& name);
void EndCommandStep();

// acutBuildList over a va_list (acedCommand builds its arguments the same way).
resbuf* BuildListV(int type, va_list args);

std::wstring FormatReal(double v);
std::wstring FormatPoint(const double p[3]);

}  // namespace vorn::ed
