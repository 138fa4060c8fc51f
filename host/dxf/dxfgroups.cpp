// Group-code input.
#include "host/dxf/dxfgroups.h"

#include <charconv>
#include <cmath>

#include "host/base/textcodec.h"

namespace vorn::dxf::detail {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A short quotation of a value for messages.
std::string Quote(std::string_view s) {
    std::string q(s.substr(0, 40));
    for (char& c : q)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return "\"" + q + (s.size() > 40 ? "...\"" : "\"");
}

}  // namespace

std::string Upper(std::string_view v) {
    std::string s;
    for (char c : v)
        if (c != ' ' && c != '\t') s.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    return s;
}

std::string Narrow(const std::wstring& w) { return vorn::ToUtf8(w); }

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

void GroupReader::fail(size_t line, const std::string& what) const {
    throw DxfError{m_file + ":" + std::to_string(line) + ": " + what};
}

void GroupReader::failAtEnd(const std::string& what) const {
    throw DxfError{m_file + ":" + std::to_string(m_line) + ": the file ends here, but " + what +
                   " (is it truncated?)"};
}

bool GroupReader::line(std::string_view& out) {
    if (m_pos >= m_text.size()) return false;
    size_t nl = m_text.find('\n', m_pos);
    size_t end = nl == std::string_view::npos ? m_text.size() : nl;
    ++m_line;
    if (end - m_pos > kMaxLineBytes)
        fail(m_line, "a line longer than " + std::to_string(kMaxLineBytes) + " bytes; drawing files hold short lines");
    out = m_text.substr(m_pos, end - m_pos);
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    m_pos = nl == std::string_view::npos ? m_text.size() : nl + 1;
    return true;
}

bool GroupReader::next(Group& g) {
    if (m_hasBack) {
        m_hasBack = false;
        g = m_back;
        return true;
    }
    for (;;) {
        std::string_view codeText;
        if (!line(codeText)) return false;
        g.line = m_line;
        std::string_view t = Trim(codeText);
        int code = 0;
        auto r = std::from_chars(t.data(), t.data() + t.size(), code);
        if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size())
            fail(m_line, "expected a group code (an integer), found " + Quote(codeText));
        ValueKind kind = KindOfCode(code);
        if (kind == ValueKind::kInvalid) fail(m_line, "group code " + std::to_string(code) + " is not a valid group code");
        std::string_view value;
        if (!line(value)) failAtEnd("a value for group code " + std::to_string(code) + " was expected");
        g.code = code;
        g.value = value;
        if (kind == ValueKind::kReal) {
            std::string_view v = Trim(value);
            if (!v.empty() && v.front() == '+') v.remove_prefix(1);
            double d = 0.0;
            auto rr = std::from_chars(v.data(), v.data() + v.size(), d);
            if (v.empty() || rr.ec == std::errc::invalid_argument || rr.ptr != v.data() + v.size())
                fail(m_line, "expected a number for group code " + std::to_string(code) + ", found " + Quote(value));
            if (rr.ec == std::errc::result_out_of_range) {
                // Underflow to zero is harmless; overflow is an infinity.
                if (std::fabs(std::strtod(std::string(v).c_str(), nullptr)) <= 1.0)
                    d = 0.0;
                else
                    fail(m_line, "the number " + Quote(value) + " is out of range; finite numbers are expected");
            }
            if (!std::isfinite(d))
                fail(m_line, "the number " + Quote(value) + " is not finite; finite numbers are expected");
            g.real = d;
        } else if (kind == ValueKind::kInteger) {
            std::string_view v = Trim(value);
            if (!v.empty() && v.front() == '+') v.remove_prefix(1);
            long long n = 0;
            auto rr = std::from_chars(v.data(), v.data() + v.size(), n);
            if (v.empty() || rr.ec != std::errc() || rr.ptr != v.data() + v.size())
                fail(m_line, "expected an integer for group code " + std::to_string(code) + ", found " + Quote(value));
            g.integer = n;
        }
        if (code == 999) continue;
        return true;
    }
}

Group GroupReader::expectNext(const char* expected) {
    Group g;
    if (!next(g)) failAtEnd(std::string(expected) + " was expected");
    return g;
}

}  // namespace vorn::dxf::detail
