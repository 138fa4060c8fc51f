// Group-code input.
#include "host/dxf/dxfgroups.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/base/textcodec.h"

namespace vorn::dxf::detail {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ParseReal(std::string_view value, double& d) {
    std::string_view v = Trim(value);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    auto rr = std::from_chars(v.data(), v.data() + v.size(), d);
    if (v.empty() || rr.ec == std::errc::invalid_argument || rr.ptr != v.data() + v.size()) return false;
    if (rr.ec == std::errc::result_out_of_range) {
        // Underflow to zero is harmless; overflow is an infinity.
        if (std::fabs(std::strtod(std::string(v).c_str(), nullptr)) > 1.0) return false;
        d = 0.0;
    }
    return std::isfinite(d);
}

bool ParseInteger(std::string_view value, long long& n) {
    std::string_view v = Trim(value);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    auto rr = std::from_chars(v.data(), v.data() + v.size(), n);
    return !v.empty() && rr.ec == std::errc() && rr.ptr == v.data() + v.size();
}

// A line that may start a record after unreadable lines: a code "0" before a type name.
bool LooksLikeRecordType(std::string_view v) {
    v = Trim(v);
    if (v.empty() || v.size() > 64 || !((v[0] >= 'A' && v[0] <= 'Z') || (v[0] >= 'a' && v[0] <= 'z'))) return false;
    for (char c : v)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$'))
            return false;
    return true;
}

template <class T>
T LittleEndian(const char* p) {
    T v{};
    unsigned char b[sizeof(T)];
    std::memcpy(b, p, sizeof(T));
    std::uint64_t u = 0;
    for (size_t i = sizeof(T); i-- > 0;) u = (u << 8) | b[i];
    if constexpr (std::is_same_v<T, double>) {
        std::memcpy(&v, &u, sizeof v);
    } else {
        using U = std::make_unsigned_t<T>;
        v = static_cast<T>(static_cast<U>(u));
    }
    return v;
}

}  // namespace

std::string Quote(std::string_view s) {
    std::string q(s.substr(0, 40));
    for (char& c : q)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return "\"" + q + (s.size() > 40 ? "...\"" : "\"");
}

std::string A(const std::string& type) {
    const bool vowel = !type.empty() && std::string("AEIOUaeiou").find(type[0]) != std::string::npos;
    return (vowel ? "an " : "a ") + type;
}

std::string Upper(std::string_view v) {
    std::string s;
    s.reserve(v.size());
    for (char c : v)
        if (c != ' ' && c != '\t') s.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    return s;
}

std::string Narrow(const std::wstring& w) { return vorn::ToUtf8(w); }

std::string Problem(const Group& g) {
    if (g.code == kJunkCode) return std::string(g.value);
    const char* what = KindOfCode(g.code) == ValueKind::kInteger ? "an integer" : "a finite number";
    return "expected " + std::string(what) + " for group code " + std::to_string(g.code) + ", found " + Quote(g.value);
}

ValueKind KindOfCode(int code) {
    if (code >= -5 && code <= 9) return ValueKind::kString;
    if (code >= 10 && code <= 59) return ValueKind::kReal;
    if ((code >= 60 && code <= 79) || (code >= 90 && code <= 99)) return ValueKind::kInteger;
    if (code == 100 || code == 101 || code == 102 || code == 105) return ValueKind::kString;
    if (code >= 110 && code <= 149) return ValueKind::kReal;
    if ((code >= 160 && code <= 179) || (code >= 270 && code <= 299)) return ValueKind::kInteger;
    if (code >= 210 && code <= 239) return ValueKind::kReal;
    if (code >= 300 && code <= 369) return ValueKind::kString;
    if (code >= 370 && code <= 389) return ValueKind::kInteger;
    if (code >= 390 && code <= 399) return ValueKind::kString;
    if (code >= 400 && code <= 409) return ValueKind::kInteger;
    if (code >= 410 && code <= 419) return ValueKind::kString;
    if (code >= 420 && code <= 429) return ValueKind::kInteger;
    if (code >= 430 && code <= 439) return ValueKind::kString;
    if (code >= 440 && code <= 459) return ValueKind::kInteger;
    if (code >= 460 && code <= 469) return ValueKind::kReal;
    if (code >= 470 && code <= 481) return ValueKind::kString;
    if (code == 999 || (code >= 1000 && code <= 1009)) return ValueKind::kString;
    if (code >= 1010 && code <= 1059) return ValueKind::kReal;
    if (code >= 1060 && code <= 1071) return ValueKind::kInteger;
    return ValueKind::kInvalid;
}

BinaryKind BinaryKindOfCode(int code) {
    if ((code >= 310 && code <= 319) || code == 1004) return BinaryKind::kChunk;
    switch (KindOfCode(code)) {
        case ValueKind::kString: return BinaryKind::kString;
        case ValueKind::kReal: return BinaryKind::kReal;
        case ValueKind::kInvalid: return BinaryKind::kInvalid;
        case ValueKind::kInteger: break;
    }
    if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) || (code >= 440 && code <= 459) || code == 1071)
        return BinaryKind::kInt32;
    if (code >= 160 && code <= 169) return BinaryKind::kInt64;
    if (code >= 290 && code <= 299) return BinaryKind::kInt8;
    return BinaryKind::kInt16;
}

GroupReader::GroupReader(std::string_view text, std::string file)
    : m_text(text), m_file(std::move(file)), m_codec(new Codec(false, "")) {
    if (m_text.size() >= kBinarySentinel.size() && m_text.compare(0, kBinarySentinel.size(), kBinarySentinel) == 0) {
        m_binary = true;
        m_pos = kBinarySentinel.size();
        // The first group is 0 "SECTION": R12 writes its code in one byte, later versions in two.
        m_wideCodes = m_text.size() > m_pos + 1 && m_text[m_pos + 1] == '\0';
    }
}

void GroupReader::setCodec(bool utf8, std::string_view page) { m_codec.reset(new Codec(utf8, page)); }

void GroupReader::fail(size_t line, const std::string& what) const {
    throw DxfError{m_file + ":" + std::to_string(line) + ": " + what};
}

bool GroupReader::restIsBlank() const {
    if (m_hasBack) return false;
    for (size_t i = m_pos; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0' && c != '\x1a') return false;
    }
    return true;
}

bool GroupReader::line(std::string_view& out) {
    if (m_pos >= m_text.size()) return false;
    size_t nl = m_text.find('\n', m_pos);
    size_t end = nl == std::string_view::npos ? m_text.size() : nl;
    ++m_line;
    out = m_text.substr(m_pos, end - m_pos);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    m_pos = nl == std::string_view::npos ? m_text.size() : nl + 1;
    return true;
}

void GroupReader::junk(Group& g, size_t at, const std::string& why) {
    g = Group();
    g.code = kJunkCode;
    g.line = at;
    g.bad = true;
    if (m_binary) {
        // Binary groups cannot be found again once their sequence is lost.
        m_pos = m_text.size();
        m_chunks.push_back(why + "; the rest of the file could not be read");
        g.value = m_chunks.back();
        return;
    }
    // Skip to the next line pair "0" / record type.
    const size_t from = m_line;
    for (;;) {
        const size_t pos = m_pos, lineNo = m_line;
        std::string_view a, b;
        if (!line(a)) break;
        if (Trim(a) == "0") {
            const size_t afterA = m_pos, lineA = m_line;
            if (line(b) && LooksLikeRecordType(b)) {
                m_pos = pos;
                m_line = lineNo;
                break;
            }
            m_pos = afterA;
            m_line = lineA;
        }
    }
    m_chunks.push_back(why + (m_line > from ? "; lines " + std::to_string(at) + " to " + std::to_string(m_line) +
                                                  " were skipped"
                                            : std::string()));
    g.value = m_chunks.back();
}

bool GroupReader::next(Group& g) {
    if (m_hasBack) {
        m_hasBack = false;
        g = m_back;
        return true;
    }
    return m_binary ? nextBinary(g) : nextText(g);
}

bool GroupReader::nextText(Group& g) {
    for (;;) {
        std::string_view codeText;
        if (!line(codeText)) return false;
        const size_t codeLine = m_line;
        g = Group();
        g.line = codeLine;
        if (codeText.size() > kMaxLineBytes) {
            junk(g, codeLine, "a line longer than " + std::to_string(kMaxLineBytes) + " bytes; drawing files hold short lines");
            return true;
        }
        std::string_view t = Trim(codeText);
        int code = 0;
        auto r = std::from_chars(t.data(), t.data() + t.size(), code);
        if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) {
            junk(g, codeLine, "expected a group code (an integer), found " + Quote(codeText));
            return true;
        }
        if (KindOfCode(code) == ValueKind::kInvalid) {
            junk(g, codeLine, "group code " + std::to_string(code) + " is not a valid group code");
            return true;
        }
        std::string_view value;
        if (!line(value)) {
            junk(g, codeLine, "the file ends after group code " + std::to_string(code) + " without its value (is it truncated?)");
            return true;
        }
        if (value.size() > kMaxLineBytes) {
            junk(g, m_line, "a line longer than " + std::to_string(kMaxLineBytes) + " bytes; drawing files hold short lines");
            return true;
        }
        g.code = code;
        g.value = value;
        const ValueKind kind = KindOfCode(code);
        if (kind == ValueKind::kReal) g.bad = !ParseReal(value, g.real);
        else if (kind == ValueKind::kInteger) g.bad = !ParseInteger(value, g.integer);
        if (code == 999) continue;
        return true;
    }
}

bool GroupReader::nextBinary(Group& g) {
    for (;;) {
        if (m_pos >= m_text.size()) return false;
        g = Group();
        g.line = 2 * m_groups + 1;
        ++m_groups;
        const size_t left = m_text.size() - m_pos;
        const char* p = m_text.data() + m_pos;
        int code = 0;
        size_t used = 0;
        if (m_wideCodes) {
            if (left < 2) {
                junk(g, g.line, "the file ends in the middle of a group code");
                return true;
            }
            code = LittleEndian<std::int16_t>(p);
            used = 2;
        } else {
            code = static_cast<unsigned char>(p[0]);
            used = 1;
            if (code == 255) {
                if (left < 3) {
                    junk(g, g.line, "the file ends in the middle of a group code");
                    return true;
                }
                code = LittleEndian<std::int16_t>(p + 1);
                used = 3;
            }
        }
        const BinaryKind kind = BinaryKindOfCode(code);
        if (kind == BinaryKind::kInvalid) {
            junk(g, g.line, "group code " + std::to_string(code) + " is not a valid group code");
            return true;
        }
        m_pos += used;
        const char* v = m_text.data() + m_pos;
        const size_t avail = m_text.size() - m_pos;
        const auto need = [&](size_t n) {
            if (avail >= n) return true;
            junk(g, g.line, "the file ends in the middle of the value of group code " + std::to_string(code));
            return false;
        };
        g.code = code;
        switch (kind) {
            case BinaryKind::kString: {
                const void* nul = std::memchr(v, '\0', avail);
                if (!nul) {
                    junk(g, g.line, "the file ends in the middle of the value of group code " + std::to_string(code));
                    return true;
                }
                const size_t len = static_cast<size_t>(static_cast<const char*>(nul) - v);
                if (len > kMaxLineBytes) {
                    junk(g, g.line, "a string longer than " + std::to_string(kMaxLineBytes) + " bytes");
                    return true;
                }
                g.value = std::string_view(v, len);
                m_pos += len + 1;
                break;
            }
            case BinaryKind::kChunk: {
                if (!need(1)) return true;
                const size_t len = static_cast<unsigned char>(v[0]);
                if (!need(1 + len)) return true;
                std::string hex;
                hex.reserve(2 * len);
                static const char kHexDigits[] = "0123456789ABCDEF";
                for (size_t i = 0; i < len; ++i) {
                    const auto b = static_cast<unsigned char>(v[1 + i]);
                    hex.push_back(kHexDigits[b >> 4]);
                    hex.push_back(kHexDigits[b & 15]);
                }
                m_chunks.push_back(std::move(hex));
                g.value = m_chunks.back();
                m_pos += 1 + len;
                break;
            }
            case BinaryKind::kReal:
                if (!need(8)) return true;
                g.real = LittleEndian<double>(v);
                g.bad = !std::isfinite(g.real);
                if (g.bad) g.real = 0.0;
                m_pos += 8;
                break;
            case BinaryKind::kInt8:
                if (!need(1)) return true;
                g.integer = static_cast<unsigned char>(v[0]);
                m_pos += 1;
                break;
            case BinaryKind::kInt16:
                if (!need(2)) return true;
                g.integer = LittleEndian<std::int16_t>(v);
                m_pos += 2;
                break;
            case BinaryKind::kInt32:
                if (!need(4)) return true;
                g.integer = LittleEndian<std::int32_t>(v);
                m_pos += 4;
                break;
            case BinaryKind::kInt64:
                if (!need(8)) return true;
                g.integer = LittleEndian<std::int64_t>(v);
                m_pos += 8;
                break;
            case BinaryKind::kInvalid: break;
        }
        if (g.bad) g.value = "(not a finite number)";
        if (code == 999) continue;
        return true;
    }
}

}  // namespace vorn::dxf::detail
