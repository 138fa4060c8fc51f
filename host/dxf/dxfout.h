// Group-code output: each group as its code line and value line, buffered into a sink.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/ge/ge.h"

namespace vorn::dxf {

class DxfOut {
public:
    // sink receives full buffers and the rest at flush; it returns false on a write failure,
    // after which nothing more is handed to it.
    explicit DxfOut(std::function<bool(const std::string&)> sink) : m_sink(std::move(sink)) { m_buf.reserve(kChunk + 4096); }
    ~DxfOut() = default;

    void str(int code, const std::wstring& value);
    // An ASCII value written as it is (names the writer knows, handles, markers).
    void raw(int code, const char* value);
    void raw(int code, const std::string& value);
    void real(int code, double value);
    void integer(int code, long long value);
    void handle(int code, std::uint64_t value);
    // A point as code, code + 10 and code + 20.
    void point(int code, const AcGePoint3d& p);
    void point2(int code, double x, double y);

    // Hands everything to the sink; false when any write failed.
    bool flush();
    bool ok() const { return m_ok; }

private:
    static constexpr size_t kChunk = 1 << 20;
    void codeLine(int code);
    void endLine() {
        m_buf.push_back('\n');
        if (m_buf.size() >= kChunk) flushChunk();
    }
    void flushChunk();
    std::function<bool(const std::string&)> m_sink;
    std::string m_buf;
    bool m_ok = true;
};

}  // namespace vorn::dxf
