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

DxfOut::DxfOut(std::function<bool(const std::string&)> sink) : m_sink(std::move(sink)), m_codec(new Codec(true, "")) {
    m_buf.reserve(kChunk + 4096);
}

DxfOut::~DxfOut() = default;

void DxfOut::setCodec(bool utf8, std::string_view page) { m_codec.reset(new Codec(utf8, page)); }

void DxfOut::setBinary(bool oneByteCodes) {
    m_binary = true;
    m_oneByteCodes = oneByteCodes;
    m_buf.append(detail::kBinarySentinel.data(), detail::kBinarySentinel.size());
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
    // Codes right-aligned to three columns, as most writers do.
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, code);
    for (auto n = r.ptr - buf; n < 3; ++n) m_buf.push_back(' ');
    m_buf.append(buf, r.ptr);
    m_buf.push_back('\n');
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

void DxfOut::raw(int code, const char* value) {
    codeLine(code);
    m_buf += value;
    if (m_binary) m_buf.push_back('\0');
    endLine();
}

void DxfOut::raw(int code, const std::string& value) {
    codeLine(code);
    m_buf += value;
    if (m_binary) m_buf.push_back('\0');
    endLine();
}

void DxfOut::encoded(int code, const std::string& value) { raw(code, value); }

void DxfOut::real(int code, double value) {
    codeLine(code);
    if (m_binary) {
        if (value == 0.0) value = 0.0;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        AppendLittleEndian(m_buf, bits, 8);
    } else {
        AppendReal(m_buf, value);
    }
    endLine();
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
    codeLine(code);
    if (m_binary) {
        binaryInteger(code, value);
    } else {
        char buf[24];
        auto r = std::to_chars(buf, buf + sizeof buf, value);
        m_buf.append(buf, r.ptr);
    }
    endLine();
}

void DxfOut::handle(int code, std::uint64_t value) {
    codeLine(code);
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value, 16);
    for (char* c = buf; c != r.ptr; ++c)
        if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
    m_buf.append(buf, r.ptr);
    if (m_binary) m_buf.push_back('\0');
    endLine();
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
    if (m_ok && !m_sink(m_buf)) m_ok = false;
    m_buf.clear();
}

bool DxfOut::flush() {
    if (!m_buf.empty()) flushChunk();
    return m_ok;
}

}  // namespace vorn::dxf
