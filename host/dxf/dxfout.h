// Group-code output: each group as its code line and value line (or, for binary DXF, as its
// code and value bytes), buffered into a sink in large pieces. Strings are spelled as the
// file's version and code page want them. A text group is formatted on the stack and added to
// the buffer in one piece: no group makes a string of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "host/db/dbkept.h"
#include "host/dxf/dxftext.h"
#include "host/ge/ge.h"

namespace vorn::dxf {

class DxfOut {
public:
    // sink receives full buffers and the rest at flush; it returns false on a write failure,
    // after which nothing more is handed to it.
    explicit DxfOut(std::function<bool(std::string_view)> sink);
    ~DxfOut();

    // How strings are spelled (the default: UTF-8).
    void setCodec(bool utf8, std::string_view page);
    const Codec& codec() const { return *m_codec; }
    // Binary DXF from here on (the sentinel is written now); oneByteCodes: R12's codes.
    void setBinary(bool oneByteCodes);
    bool binary() const { return m_binary; }

    void str(int code, const std::wstring& value);
    // A string given as UTF-8.
    void utf8(int code, std::string_view value);
    // An ASCII value written as it is (names the writer knows, handles, markers).
    void raw(int code, const char* value);
    void raw(int code, const std::string& value);
    // A value already in the file's spelling (a name encoded once for many records).
    void encoded(int code, const std::string& value);
    void real(int code, double value);
    void integer(int code, long long value);
    void handle(int code, std::uint64_t value);
    // A point as code, code + 10 and code + 20.
    void point(int code, const AcGePoint3d& p);
    void point2(int code, double x, double y);
    // A kept group, by its code's kind.
    void kept(const AcDbKeptGroup& g);
    // A string in the file's spelling.
    std::string encode(const std::wstring& value) const;

    // Hands everything to the sink; false when any write failed.
    bool flush();
    bool ok() const { return m_ok; }

private:
    static constexpr size_t kChunk = size_t(4) << 20;
    // A group's code and the line end after it, in text form ("  8\n") at p; returns the end.
    static char* codeText(char* p, int code);
    void codeLine(int code);
    void endLine() {
        if (!m_binary) m_buf.push_back('\n');
        if (m_buf.size() >= kChunk) flushChunk();
    }
    // A whole text group formatted at line (its code line, value and line end) into the buffer.
    void put(const char* line, const char* end) {
        m_buf.append(line, static_cast<size_t>(end - line));
        if (m_buf.size() >= kChunk) flushChunk();
    }
    void text(int code, std::string_view value);
    void binaryInteger(int code, long long value);
    void flushChunk();
    std::function<bool(std::string_view)> m_sink;
    std::string m_buf;
    std::unique_ptr<Codec> m_codec;
    bool m_ok = true;
    bool m_binary = false;
    bool m_oneByteCodes = false;
};

}  // namespace vorn::dxf
