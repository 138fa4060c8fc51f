// Group-code output: each group as its code line and value line (or, for binary DXF, as its
// code and value bytes), buffered into a sink in large pieces. Strings are spelled as the
// file's version and code page want them. A text group is formatted in place at the buffer's
// end: no group makes a string of its own.
#pragma once

#include <cstdint>
#include <cstring>
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
    static constexpr size_t kChunk = size_t(4) << 20;  // handed to the sink once this is full
    // A group's code and the line end after it, in text form ("  8\n") at p; returns the end.
    static char* codeText(char* p, int code);
    // Room for n more bytes at the buffer's end (written, then taken by done()).
    char* room(size_t n) {
        if (m_len + n > m_cap) grow(n);
        return m_buf.get() + m_len;
    }
    void done(const char* end) {
        m_len = static_cast<size_t>(end - m_buf.get());
        if (m_len >= kChunk) flushChunk();
    }
    void grow(size_t n);
    void bytes(const void* p, size_t n) {
        char* at = room(n);
        std::memcpy(at, p, n);
        m_len += n;
    }
    void byte(char c) { *room(1) = c, ++m_len; }
    void littleEndian(std::uint64_t v, size_t count);
    void codeLine(int code);
    void endLine() {
        if (!m_binary) byte('\n');
        if (m_len >= kChunk) flushChunk();
    }
    void text(int code, std::string_view value);
    void binaryInteger(int code, long long value);
    void flushChunk();
    std::function<bool(std::string_view)> m_sink;
    std::unique_ptr<char[]> m_buf;
    size_t m_len = 0, m_cap = 0;
    std::string m_scratch;  // a string value as the codec spells it
    std::unique_ptr<Codec> m_codec;
    bool m_ok = true;
    bool m_binary = false;
    bool m_oneByteCodes = false;
};

}  // namespace vorn::dxf
