// The editor as the program and the front ends see it: where input lines come from, where the
// transcript goes, the Command: loop, and the hooks to the dialog layer and the renderer.
#pragma once

#include <functional>
#include <string>

#include "host/ed/transcript.h"

class AcDbEntity;

namespace vorn::ed {

// Gives the next raw input line after showing prompt (the unfinished transcript line, for a
// line editor; empty for scripts); false at the end of input.
using LineSource = std::function<bool(const std::wstring& prompt, std::wstring& line)>;

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

// Runs the Command: loop until the input ends; then a command still waiting has been
// cancelled. Returns the number of commands that failed (unknown names, thrown errors).
int RunCommandLoop();
// Runs one command by name as if typed at Command:; false when there is no such command.
bool RunCommandByName(const std::wstring& name);
// True while a command runs.
bool CommandActive();

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
