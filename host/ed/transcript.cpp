// Transcript output with line tracking.
#include "host/ed/transcript.h"

#include <cstdio>

#include "host/base/textcodec.h"

namespace vorn::ed {

void Transcript::Emit(const std::wstring& text) {
    if (text.empty()) return;
    const std::string utf8 = ToUtf8(text);
    if (m_sink) {
        m_sink(utf8);
    } else {
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fflush(stdout);
    }
}

void Transcript::Write(const std::wstring& input) {
    std::wstring text = input;
    // A leading newline only starts a new line; at the start of one it is already done.
    if (m_atLineStart && m_partial.empty() && !text.empty() && text[0] == L'\n') text.erase(0, 1);
    if (text.empty()) return;
    const std::size_t lastNl = text.rfind(L'\n');
    if (!m_hold && !m_quiet) {
        Emit(text);
    } else if (lastNl == std::wstring::npos) {
        m_partial += text;
    } else {
        Emit(m_partial + text.substr(0, lastNl + 1));
        m_partial = text.substr(lastNl + 1);
    }
    m_atLineStart = text.back() == L'\n';
    if (lastNl == std::wstring::npos) m_line += text;
    else m_line = text.substr(lastNl + 1);
}

std::wstring Transcript::TakePartialLine() {
    std::wstring p;
    if (!m_hold) return p;  // the line stands in the output already and stays unfinished
    p.swap(m_partial);
    m_line.clear();
    m_atLineStart = true;   // the line editor shows it and ends it
    return p;
}

void Transcript::DropPartialLine() {
    if (!m_quiet || m_partial.empty()) return;
    m_partial.clear();
    m_line.clear();
    m_atLineStart = true;
}

void Transcript::EndLine() {
    if (!m_partial.empty()) {
        Emit(m_partial + L"\n");
        m_partial.clear();
    } else if (!m_atLineStart) {
        Emit(L"\n");
    }
    m_line.clear();
    m_atLineStart = true;
}

}  // namespace vorn::ed
