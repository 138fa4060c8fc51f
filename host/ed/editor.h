// The editor as the program and the front ends see it: where input lines come from, where the
// transcript goes, the Command: loop, and the hooks to the dialog layer and the renderer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ed/event.h"
#include "host/ed/transcript.h"

class AcDbEntity;
class AcDbObjectId;

namespace vorn::ed {

// Gives the next raw input line after showing prompt (the unfinished transcript line, for a
// line editor; empty for scripts); false at the end of input.
using LineSource = std::function<bool(const std::wstring& prompt, std::wstring& line)>;

// Gives the next event of a front end that produces whole events (the window): clicks and
// cursor moves carry exact doubles, typed lines are parsed with ParseLine. False at the end of
// input. Replaces a line source.
using EventSource = std::function<bool(Event& event)>;
void SetEventSource(EventSource source, bool echoAnswers);

// echoAnswers: whether answers are written into the transcript after their prompt (scripts);
// a terminal shows what the user types itself. holdPartialLine: keep the prompt line back
// for the line source to show (line editors).
void SetLineSource(LineSource source, bool echoAnswers, bool holdPartialLine = false);
void SetTranscriptSink(TranscriptSink sink);

// Appends text to the transcript (what acutPrintf and the host's messages use).
void Print(const std::wstring& text);
// Puts one input line at the end of the queue, before anything the line source gives.
void QueueLine(const std::wstring& line);
// An Esc at the front of the queue: the pending prompt ends with RTCAN.
void QueueCancel();
// True once the line source has run dry.
bool InputEnded();
// Ends the input now (QUIT): what is queued is dropped and the Command: loop ends once the
// running command returns.
void EndInput();

// Runs the Command: loop until the input ends; then a command still waiting has been
// cancelled. Returns the number of commands that failed (unknown names, thrown errors).
int RunCommandLoop();
// Runs one command by name as if typed at Command:; false when there is no such command.
// A command that takes an argument takes the rest of the line ("HELP LINE").
bool RunCommandByName(const std::wstring& name);

// Refused lines of scripts. A script source names each line it gives (its file and number);
// an answer a prompt refuses, an unknown command and a dialog event nobody took are then
// reported as "FILE:LINE: message" and counted once per line. Lines without a name (typed at
// a terminal or in the window, given by acedCommand) are reported as before and not counted.
struct ScriptRefusals {
    int lines = 0;          // refused lines
    std::wstring first;     // "FILE:LINE" of the first
    bool stopped = false;   // the input was ended at the first (SetStopOnRefusal)
};
ScriptRefusals RefusedLines();
// The first refused line ends the input: the command waiting is cancelled and the Command:
// loop returns, as at the end of a script.
void SetStopOnRefusal(bool on);
// For a command that checks an answer itself: the answer read last is refused with message
// (numbered and counted as the prompts' own refusals are).
void RefuseAnswer(const std::wstring& message);
// True while a command runs.
bool CommandActive();
// An undo step of a front end's own change made outside any command (a layer switched off in
// the window): U takes it back whole. Not while a command runs (its step takes the change).
void BeginUndoStep(const std::wstring& name);
void EndUndoStep();

// Enter at Command: runs the last command again (people at a terminal or a window); scripts
// leave it off, so that an empty line there stays a no-op.
void SetRepeatLastCommand(bool on);

// What the editor waits for now, for a front end that draws the cursor, rubber bands and pick
// boxes and offers the prompt's keywords.
enum class InputKind {
    kNone,       // nothing waits (no input is being read)
    kCommand,    // Command:
    kPoint,      // a point; a rubber band from base when there is one
    kCorner,     // the other corner of a rectangle from base
    kDistance,   // a distance or an angle: a number, or a point (rubber band from base)
    kValue,      // a number, an integer, text or a keyword only
    kEntity,     // one object picked at a point
    kSelection,  // objects picked one by one or by window
    kDrag,       // a jig's drag: the preview follows the cursor
    kGrRead,     // the command reads the cursor itself (acedGrRead)
};
struct InputContext {
    InputKind kind = InputKind::kNone;
    bool hasBase = false;
    double base[3] = {0, 0, 0};  // world coordinates
    std::wstring prompt;
    std::vector<std::wstring> keywords;  // as shown to the user (local names)
    // At a selection prompt: the objects chosen so far (to highlight); else null.
    const std::vector<AcDbObjectId>* chosen = nullptr;
};
const InputContext& CurrentInput();
// Whether Space typed now answers as Enter does: everywhere but where a value or a text is
// typed (a word, a number, TEXT's contents, a file name) and when nothing waits.
bool SpaceAnswersLikeEnter();

// The preview entity of the drag in progress, or null.
const AcDbEntity* ActiveJigPreview();
// The last point given (world coordinates): what "@dx,dy" is relative to.
void LastPoint(double wcs[3]);

// The running object snap at a cursor position (user coordinates): the point a click there
// would give and the OSMODE bit that found it (1 endpoint, 2 midpoint, 4 centre, 8 node,
// 16 quadrant, 32 intersection, 64 insertion, 128 perpendicular, 512 nearest), 0 when
// nothing is within the aperture or the snaps are off.
struct SnapPoint {
    double ucs[3] = {0, 0, 0};
    int mode = 0;
};
SnapPoint FindSnap(const double ucs[3]);

// A dialog event line without its '@' ("click 2020"); returns false when no dialog took it,
// with the reason in output; otherwise output holds what the dialog printed.
using DialogEventHandler = std::function<bool(const std::wstring& event, std::wstring& output)>;
void SetDialogEventHandler(DialogEventHandler handler);

// Draws the drawing, with the preview entity when a jig runs (may be null), into file.
using SnapshotWriter = std::function<bool(const std::wstring& file, const AcDbEntity* preview,
                                          std::wstring& error)>;
void SetSnapshotWriter(SnapshotWriter writer);

// Installs the transcript and the next-line reader as the host's channels (vorn::HostPrint,
// vorn::HostReadLine), so that message boxes print and file dialogs take the next line.
void InstallHostChannels();

// Back to a fresh editor: empty queue, no line source, default variables, world UCS, no
// command running. Registered commands stay.
void ResetEditor();

}  // namespace vorn::ed
