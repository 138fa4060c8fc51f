// A scripted editor session for tests: a fresh editor fed by a script, its transcript kept.
#pragma once

#include <string>

#include "host/ed/editor.h"
#include "host/ed/frontends.h"

namespace vorn::ed::test {

class Session {
public:
    // name: the script's name in the messages of refused lines; empty, as typed lines are.
    explicit Session(const std::string& script, const std::wstring& name = L"") {
        ResetEditor();
        SetTranscriptSink([this](const std::string& text) { m_out += text; });
        SetLineSource(ScriptTextSource(script, name), true);
    }
    ~Session() {
        SetTranscriptSink(nullptr);
        ResetEditor();
    }
    const std::string& Out() const { return m_out; }
    bool Has(const std::string& text) const { return m_out.find(text) != std::string::npos; }
    std::size_t Count(const std::string& text) const {
        std::size_t n = 0;
        for (std::size_t at = m_out.find(text); at != std::string::npos;
             at = m_out.find(text, at + 1))
            ++n;
        return n;
    }

private:
    std::string m_out;
};

}  // namespace vorn::ed::test
