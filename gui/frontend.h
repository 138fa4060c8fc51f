// The window as a front end of the editor's event queue. Widgets post events (a click, a cursor
// move, a typed line, a dialog change); when a command needs its next answer and none waits,
// Qt's event loop runs until the user's next action gives one. Commands stay blocking code on
// the one main thread.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>

#include "host/ed/editor.h"
#include "host/ed/event.h"

class QEventLoop;

namespace vorn::gui {

class FrontEnd {
public:
    static FrontEnd& instance();

    // Makes this the editor's event source. echo: answers are written after their prompts in
    // the transcript (the command line panel shows it).
    void install();
    // A script run in the window: its lines come first, each shown as it is read; the user's
    // own events follow once it has ended (or are refused while it runs).
    // endAfter: the input ends with the script (the window closes); else the user goes on.
    void setScript(vorn::ed::LineSource script, bool endAfter);
    bool scriptRunning() const { return static_cast<bool>(m_script); }

    // Posts an event for the editor. A cursor move replaces a move still waiting at the end of
    // the queue, so a slow preview never works through stale positions.
    void post(const vorn::ed::Event& event);
    // A line typed at the command line, read as a script line is.
    void postLine(const std::wstring& line);
    void postEnter();
    // Esc: the waiting prompt ends with a cancel at once.
    void postCancel();
    // Runs a command as if typed, cancelling first whatever command waits (a menu's action).
    // Events posted after it, before it runs, are its answers and follow it in order.
    void runCommand(const std::wstring& name);
    // No more input: the editor's loop ends (the window is closing).
    void endInput();
    bool inputEnded() const { return m_ended; }

    // True when an event (or the end) waits for the editor to take it.
    bool hasPending() const;
    // True while the editor waits inside the event loop for the user.
    bool waiting() const { return m_waiting; }

    // Called each time the editor is about to wait: widgets bring themselves up to date with
    // the host (the prompt, open dialogs, the preview). Returns an id for removeWaitHook.
    int addWaitHook(std::function<void()> hook);
    void removeWaitHook(int id);
    // Brings every widget up to date now (the hooks above), without waiting.
    void refresh();

    // The next event for the editor; false when the input has ended.
    bool next(vorn::ed::Event& event);

private:
    FrontEnd() = default;
    std::deque<vorn::ed::Event> m_queue;
    std::map<int, std::function<void()>> m_hooks;
    int m_nextHook = 1;
    bool m_ended = false;
    bool m_waiting = false;
    vorn::ed::LineSource m_script;
    bool m_endAfterScript = false;
    // A menu's command, run once the editor is back at Command:.
    vorn::ed::Event m_pendingCommand;
    bool m_hasPendingCommand = false;
    std::deque<vorn::ed::Event> m_afterCommand;  // posted after it: its answers
    QEventLoop* m_loop = nullptr;
};

}  // namespace vorn::gui
