// Group-code output.
#include "host/dxf/dxfout.h"

#include <charconv>
#include <cstring>

#include "host/dxf/dxfgroups.h"

namespace vorn::dxf {
namespace {

void AppendLittleEndian(std::string& out, std::uint64_t v, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

DxfOut::DxfOut(std::function<bool(std::string_view)> sink) : m_sink(std::move(sink)), m_codec(new Codec(true, "")) {
    m_buf.reserve(kChunk + 4096);
}

DxfOut::~DxfOut() = default;

void DxfOut::setCodec(bool utf8, std::string_view page) { m_codec.reset(new Codec(utf8, page)); }

void DxfOut::setBinary(bool oneByteCodes) {
    m_binary = true;
    m_oneByteCodes = oneByteCodes;
    m_buf.append(detail::kBinarySentinel.data(), detail::kBinarySentinel.size());
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
            AppendLittleEndian(m_buf, static_cast<std::uint16_t>(code), 2);
        } else if (code >= 0 && code < 255) {
            m_buf.push_back(static_cast<char>(code));
        } else {
            m_buf.push_back(static_cast<char>(255));
            AppendLittleEndian(m_buf, static_cast<std::uint16_t>(code), 2);
        }
        return;
    }
    char line[24];
    m_buf.append(line, static_cast<size_t>(codeText(line, code) - line));
}

std::string DxfOut::encode(const std::wstring& value) const {
    std::string s;
    m_codec->encode(s, value);
    return s;
}

void DxfOut::str(int code, const std::wstring& value) {
    codeLine(code);
    m_codec->encode(m_buf, value);
    if (m_binary) m_buf.push_back('\0');
    endLine();
}

void DxfOut::utf8(int code, std::string_view value) {
    codeLine(code);
    m_codec->encodeUtf8(m_buf, value);
    if (m_binary) m_buf.push_back('\0');
    endLine();
}

// A value written as it is.
void DxfOut::text(int code, std::string_view value) {
    if (m_binary) {
        codeLine(code);
        m_buf.append(value.data(), value.size());
        m_buf.push_back('\0');
        endLine();
        return;
    }
    char line[24];
    char* p = codeText(line, code);
    if (value.size() <= 64) {
        // Short values (most are) with their code in one piece.
        char whole[96];
        const size_t head = static_cast<size_t>(p - line);
        std::memcpy(whole, line, head);
        std::memcpy(whole + head, value.data(), value.size());
        whole[head + value.size()] = '\n';
        put(whole, whole + head + value.size() + 1);
        return;
    }
    m_buf.append(line, static_cast<size_t>(p - line));
    m_buf.append(value.data(), value.size());
    endLine();
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
        AppendLittleEndian(m_buf, bits, 8);
        endLine();
        return;
    }
    char line[64];
    char* p = WriteReal(codeText(line, code), value);
    *p++ = '\n';
    put(line, p);
}

void DxfOut::binaryInteger(int code, long long value) {
    switch (detail::BinaryKindOfCode(code)) {
        case detail::BinaryKind::kInt8: AppendLittleEndian(m_buf, static_cast<std::uint64_t>(value), 1); break;
        case detail::BinaryKind::kInt32: AppendLittleEndian(m_buf, static_cast<std::uint64_t>(value), 4); break;
        case detail::BinaryKind::kInt64: AppendLittleEndian(m_buf, static_cast<std::uint64_t>(value), 8); break;
        default: AppendLittleEndian(m_buf, static_cast<std::uint64_t>(value), 2); break;
    }
}

void DxfOut::integer(int code, long long value) {
    if (m_binary) {
        codeLine(code);
        binaryInteger(code, value);
        endLine();
        return;
    }
    char line[48];
    char* p = codeText(line, code);
    p = std::to_chars(p, p + 24, value).ptr;
    *p++ = '\n';
    put(line, p);
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
                    m_buf.push_back(static_cast<char>(n));
                    m_buf.append(bytes, at, n);
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
    if (m_ok && !m_sink(std::string_view(m_buf))) m_ok = false;
    m_buf.clear();
}

bool DxfOut::flush() {
    if (!m_buf.empty()) flushChunk();
    return m_ok;
}

}  // namespace vorn::dxf
