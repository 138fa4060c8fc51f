// Group-code output.
#include "host/dxf/dxfout.h"

#include <charconv>
#include <cstring>

#include "host/dxf/dxfgroups.h"

namespace vorn::dxf {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

DxfOut::DxfOut(std::function<bool(std::string_view)> sink)
    : m_sink(std::move(sink)), m_buf(new char[kChunk + 65536]), m_cap(kChunk + 65536), m_codec(new Codec(true, "")) {}

DxfOut::~DxfOut() = default;

void DxfOut::setCodec(bool utf8, std::string_view page) { m_codec.reset(new Codec(utf8, page)); }

void DxfOut::setBinary(bool oneByteCodes) {
    m_binary = true;
    m_oneByteCodes = oneByteCodes;
    bytes(detail::kBinarySentinel.data(), detail::kBinarySentinel.size());
}

void DxfOut::grow(size_t n) {
    flushChunk();
    if (n <= m_cap) return;
    m_buf.reset(new char[n]);  // a value larger than the buffer: room for it alone
    m_cap = n;
}

void DxfOut::littleEndian(std::uint64_t v, size_t count) {
    char* p = room(count);
    for (size_t i = 0; i < count; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    m_len += count;
}

char* DxfOut::codeText(char* p, int code) {
    // Codes right-aligned to three columns, as most writers do.
    if (code >= 0 && code < 1000) {
        p[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
        p[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
        p[2] = static_cast<char>('0' + code % 10);
        p[3] = '\n';
        return p + 4;
    }
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    for (auto n = end - digits; n < 3; ++n) *p++ = ' ';
    for (const char* d = digits; d != end; ++d) *p++ = *d;
    *p++ = '\n';
    return p;
}

void DxfOut::codeLine(int code) {
    if (m_binary) {
        if (!m_oneByteCodes) {
            littleEndian(static_cast<std::uint16_t>(code), 2);
        } else if (code >= 0 && code < 255) {
            byte(static_cast<char>(code));
        } else {
            byte(static_cast<char>(255));
            littleEndian(static_cast<std::uint16_t>(code), 2);
        }
        return;
    }
    char* p = room(24);
    m_len = static_cast<size_t>(codeText(p, code) - m_buf.get());
}

std::string DxfOut::encode(const std::wstring& value) const {
    std::string s;
    m_codec->encode(s, value);
    return s;
}

void DxfOut::str(int code, const std::wstring& value) {
    m_scratch.clear();
    m_codec->encode(m_scratch, value);
    text(code, m_scratch);
}

void DxfOut::utf8(int code, std::string_view value) {
    m_scratch.clear();
    m_codec->encodeUtf8(m_scratch, value);
    text(code, m_scratch);
}

// A value written as it is.
void DxfOut::text(int code, std::string_view value) {
    if (m_binary) {
        codeLine(code);
        bytes(value.data(), value.size());
        byte('\0');
        endLine();
        return;
    }
    char* p = codeText(room(value.size() + 24), code);
    std::memcpy(p, value.data(), value.size());
    p += value.size();
    *p++ = '\n';
    done(p);
}

void DxfOut::raw(int code, const char* value) { text(code, value); }

void DxfOut::raw(int code, const std::string& value) { text(code, value); }

void DxfOut::encoded(int code, const std::string& value) { text(code, value); }

void DxfOut::real(int code, double value) {
    if (m_binary) {
        codeLine(code);
        if (value == 0.0) value = 0.0;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        littleEndian(bits, 8);
        endLine();
        return;
    }
    char* p = WriteReal(codeText(room(64), code), value);
    *p++ = '\n';
    done(p);
}

void DxfOut::binaryInteger(int code, long long value) {
    switch (detail::BinaryKindOfCode(code)) {
        case detail::BinaryKind::kInt8: littleEndian(static_cast<std::uint64_t>(value), 1); break;
        case detail::BinaryKind::kInt32: littleEndian(static_cast<std::uint64_t>(value), 4); break;
        case detail::BinaryKind::kInt64: littleEndian(static_cast<std::uint64_t>(value), 8); break;
        default: littleEndian(static_cast<std::uint64_t>(value), 2); break;
    }
}

void DxfOut::integer(int code, long long value) {
    if (m_binary) {
        codeLine(code);
        binaryInteger(code, value);
        endLine();
        return;
    }
    char* p = codeText(room(48), code);
    p = std::to_chars(p, p + 24, value).ptr;
    *p++ = '\n';
    done(p);
}

void DxfOut::handle(int code, std::uint64_t value) {
    // Upper-case hexadecimal digits, without leading zeros.
    char digits[16];
    char* d = digits + sizeof digits;
    do {
        *--d = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value);
    text(code, std::string_view(d, static_cast<size_t>(digits + sizeof digits - d)));
}

void DxfOut::point(int code, const AcGePoint3d& p) {
    real(code, p.x);
    real(code + 10, p.y);
    real(code + 20, p.z);
}

void DxfOut::point2(int code, double x, double y) {
    real(code, x);
    real(code + 10, y);
}

void DxfOut::kept(const AcDbKeptGroup& g) {
    if (g.code < 0) return;  // notes for the writer (dxfparts.h), no groups of the file
    const std::string& v = g.value;
    switch (detail::KindOfCode(g.code)) {
        case detail::ValueKind::kInvalid: return;  // merged flag bits, not groups of their own
        case detail::ValueKind::kString:
            if (m_binary && detail::BinaryKindOfCode(g.code) == detail::BinaryKind::kChunk) {
                // Binary data as chunks of at most 127 bytes.
                std::string bytes;
                for (size_t i = 0; i + 1 < v.size(); i += 2) {
                    const int hi = HexDigit(v[i]), lo = HexDigit(v[i + 1]);
                    if (hi < 0 || lo < 0) break;
                    bytes.push_back(static_cast<char>(hi * 16 + lo));
                }
                size_t at = 0;
                do {
                    const size_t n = std::min<size_t>(127, bytes.size() - at);
                    codeLine(g.code);
                    byte(static_cast<char>(n));
                    this->bytes(bytes.data() + at, n);
                    endLine();
                    at += n;
                } while (at < bytes.size());
                return;
            }
            utf8(g.code, v);
            return;
        case detail::ValueKind::kReal: {
            if (!m_binary) {
                raw(g.code, v);
                return;
            }
            double d = 0.0;
            std::from_chars(v.data(), v.data() + v.size(), d);
            real(g.code, d);
            return;
        }
        case detail::ValueKind::kInteger: {
            if (!m_binary) {
                raw(g.code, v);
                return;
            }
            long long n = 0;
            std::from_chars(v.data(), v.data() + v.size(), n);
            integer(g.code, n);
            return;
        }
    }
}

void DxfOut::flushChunk() {
    if (m_ok && m_len > 0 && !m_sink(std::string_view(m_buf.get(), m_len))) m_ok = false;
    m_len = 0;
}

bool DxfOut::flush() {
    flushChunk();
    return m_ok;
}

}  // namespace vorn::dxf
