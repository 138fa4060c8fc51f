// The window's event source: a queue of the user's events and the nested event loop that
// waits for the next one.
#include "gui/frontend.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace vorn::gui {

using vorn::ed::Event;
using vorn::ed::EventKind;

FrontEnd& FrontEnd::instance() {
    static FrontEnd* frontEnd = new FrontEnd;
    return *frontEnd;
}

void FrontEnd::install() {
    m_ended = false;
    m_queue.clear();
    m_hasPendingCommand = false;
    m_afterCommand.clear();
    m_script = nullptr;
    vorn::ed::SetEventSource([this](Event& event) { return next(event); }, true);
    vorn::ed::SetRepeatLastCommand(true);
}

void FrontEnd::setScript(vorn::ed::LineSource script, bool endAfter) {
    m_script = std::move(script);
    m_endAfterScript = endAfter;
}

void FrontEnd::post(const Event& event) {
    if (m_ended) return;
    if (m_hasPendingCommand && event.kind != EventKind::kMove) {
        // Answers given after a menu's command belong to it: they wait until it runs.
        m_afterCommand.push_back(event);
        if (m_loop) m_loop->quit();
        return;
    }
    if (event.kind == EventKind::kMove && !m_queue.empty() && m_queue.back().kind == EventKind::kMove)
        m_queue.back() = event;
    else if (event.kind == EventKind::kCancel)
        m_queue.push_front(event);  // Esc overtakes what was typed ahead
    else
        m_queue.push_back(event);
    if (m_loop) m_loop->quit();
}

void FrontEnd::postLine(const std::wstring& line) {
    if (auto event = vorn::ed::ParseLine(line)) post(*event);
}

void FrontEnd::postEnter() {
    Event event;
    event.kind = EventKind::kEnter;
    post(event);
}

void FrontEnd::postCancel() {
    Event event;
    event.kind = EventKind::kCancel;
    post(event);
}

void FrontEnd::runCommand(const std::wstring& name) {
    if (m_ended) return;
    // Whatever waits is cancelled first, prompt by prompt (next() answers Esc until the editor
    // is back at Command:), so that the new command never starts inside another one's prompt.
    m_queue.clear();
    m_afterCommand.clear();
    Event event;
    event.kind = EventKind::kText;
    event.text = name;
    event.silent = false;
    m_pendingCommand = event;
    m_hasPendingCommand = true;
    if (m_loop) m_loop->quit();
}

void FrontEnd::endInput() {
    m_ended = true;
    m_queue.clear();
    m_afterCommand.clear();
    m_script = nullptr;
    if (m_loop) m_loop->quit();
}

bool FrontEnd::hasPending() const { return !m_queue.empty() || m_hasPendingCommand || m_ended; }

int FrontEnd::addWaitHook(std::function<void()> hook) {
    const int id = m_nextHook++;
    m_hooks[id] = std::move(hook);
    return id;
}

void FrontEnd::removeWaitHook(int id) { m_hooks.erase(id); }

void FrontEnd::refresh() {
    // Copied: a hook may remove itself or add another.
    const auto hooks = m_hooks;
    for (const auto& [id, hook] : hooks)
        if (hook) hook();
}

bool FrontEnd::next(Event& event) {
    for (;;) {
        if (m_ended) {
            // Closing while a command waits: each prompt left is answered with Esc until the
            // command loop sees the end.
            if (vorn::ed::CommandActive()) {
                event = Event{};
                event.kind = EventKind::kCancel;
                return true;
            }
            return false;
        }
        if (!m_queue.empty()) {
            event = std::move(m_queue.front());
            m_queue.pop_front();
            return true;
        }
        if (m_hasPendingCommand && vorn::ed::CurrentInput().kind == vorn::ed::InputKind::kCommand) {
            m_hasPendingCommand = false;
            event = m_pendingCommand;
            for (Event& e : m_afterCommand) m_queue.push_back(std::move(e));
            m_afterCommand.clear();
            return true;
        }
        if (m_hasPendingCommand) {
            // A command waits still (it asked again after the cancels): cancel once more.
            event = Event{};
            event.kind = EventKind::kCancel;
            return true;
        }
        if (m_script) {
            refresh();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!m_queue.empty() || m_ended) continue;  // Esc or closing while the script runs
            std::wstring line;
            if (m_script(L"", line)) {
                if (auto parsed = vorn::ed::ParseLine(line)) {
                    event = *parsed;
                    return true;
                }
                continue;
            }
            m_script = nullptr;
            if (m_endAfterScript) m_ended = true;
            continue;
        }
        refresh();
        QEventLoop loop;
        m_loop = &loop;
        m_waiting = true;
        loop.exec();
        m_waiting = false;
        m_loop = nullptr;
    }
}

}  // namespace vorn::gui
