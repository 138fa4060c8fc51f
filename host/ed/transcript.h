// The one UTF-8 transcript of a session: prompts, echoed answers and messages. It keeps track
// of where the current line stands so that a prompt's leading "\n" never makes blank lines.
#pragma once

#include <functional>
#include <string>

namespace vorn::ed {

using TranscriptSink = std::function<void(const std::string& utf8)>;

class Transcript {
public:
    // Standard output until a sink is given.
    void SetSink(TranscriptSink sink) { m_sink = std::move(sink); }
    // When held, the unfinished last line is kept back for a line editor to show as its prompt.
    void SetHoldPartialLine(bool hold) { m_hold = hold; }
    // Quiet: the unfinished last line is kept back until it is ended (a message written in
    // pieces) or dropped (a prompt a command printed itself; see DropPartialLine).
    void SetQuiet(bool quiet) { m_quiet = quiet; }

    void Write(const std::wstring& text);
    // The unfinished line kept back (empty when not holding); the caller shows it and ends
    // the line itself.
    std::wstring TakePartialLine();
    // Ends the current line when something stands on it.
    void EndLine();
    // Forgets the unfinished line kept back while quiet: it was a prompt.
    void DropPartialLine();
    bool AtLineStart() const { return m_atLineStart; }
    // What stands on the unfinished line, shown or held (a prompt a command printed itself).
    const std::wstring& CurrentLine() const { return m_line; }
    // Forgets the unfinished line (a new session).
    void Reset() {
        m_partial.clear();
        m_line.clear();
        m_atLineStart = true;
    }

private:
    void Emit(const std::wstring& text);

    TranscriptSink m_sink;
    bool m_hold = false;
    bool m_quiet = false;
    bool m_atLineStart = true;
    std::wstring m_partial;
    std::wstring m_line;
};

}  // namespace vorn::ed
