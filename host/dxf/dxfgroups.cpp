// Group-code input.
#include "host/dxf/dxfgroups.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "host/base/textcodec.h"
#include "host/db/dbkept.h"

namespace vorn::dxf::detail {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The powers of ten a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A real as programs mostly write it: blanks, an optional minus, at most 19 digits around an
// optional point, no exponent. Such a value of at most 2^53 in its digits and at most 22 of
// them after the point is one exact integer divided by one exact power of ten, a division that
// rounds exactly as the full parse does; false for anything else, which the full parse reads.
bool ShortReal(std::string_view v, double& d) {
    const double* const kPowers = kPowersOfTen;
    size_t i = 0;
    while (i < v.size() && v[i] == ' ') ++i;
    const bool negative = i < v.size() && v[i] == '-';
    if (negative) ++i;
    std::uint64_t digits = 0;
    int count = 0, fraction = 0, intDigits = 0;
    bool point = false;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        if (c >= '0' && c <= '9') {
            if (digits != 0 || c != '0') ++count;  // leading zeros are no digits of the value
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            if (point) ++fraction;
            else ++intDigits;
            if (count > 19) return false;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    while (i < v.size() && v[i] == ' ') ++i;
    if (i != v.size() || intDigits == 0 || (point && fraction == 0) || fraction > 22 ||
        digits > (std::uint64_t(1) << 53))
        return false;
    const double r = static_cast<double>(digits) / kPowers[fraction];
    d = negative ? -r : r;
    return true;
}

bool ParseReal(std::string_view value, double& d) {
    if (ShortReal(value, d)) return true;
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

// An integer value as programs write them: blanks, an optional minus and up to 18 digits.
// False for anything else, which the full parse then reads or refuses.
bool ShortInteger(std::string_view line, long long& n) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    const bool negative = i < line.size() && line[i] == '-';
    if (negative) ++i;
    const size_t first = i;
    long long v = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && i - first < 18) v = v * 10 + (line[i++] - '0');
    if (i == first) return false;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i != line.size()) return false;
    n = negative ? -v : v;
    return true;
}

// The code of a code line as programs write them: up to four digits, right-aligned in blanks.
// False for anything else, which the full parse then reads or refuses.
bool ShortCode(std::string_view line, int& code) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t first = i;
    int n = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9' && i - first < 4) n = n * 10 + (line[i++] - '0');
    if (i == first || i != line.size()) return false;
    code = n;
    return true;
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

std::string RealText(std::string_view text, double value) {
    // The digits of the text without leading zeros, and the power of ten of their last.
    char digits[24];
    int k = 0, exponent = 0;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            any = true;
            if (point) --exponent;
            if (k == 0 && c == '0') continue;
            if (k == 18) return vorn::db::KeptRealText(value);
            digits[k++] = c;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (!any || i != text.size()) return vorn::db::KeptRealText(value);
    if (k == 0) return "0";  // zero, whatever its sign: no "-0" in files
    // Digits dropped before the point were leading zeros; those after the last non-zero digit
    // move into the exponent.
    while (k > 0 && digits[k - 1] == '0') {
        --k;
        ++exponent;
    }
    // At most 15 significant digits of a normal double (far from under- and overflow) read
    // back from it as themselves, so no shorter text reads as it: they are the shortest digits.
    const int scientificExponent = exponent + k - 1;
    if (k > 15 || scientificExponent > 300 || scientificExponent < -300 || value == 0.0)
        return vorn::db::KeptRealText(value);
    // Fixed or scientific, whichever is shorter, fixed on a tie.
    const int magnitude = scientificExponent < 0 ? -scientificExponent : scientificExponent;
    const int scientificLength = k + (k > 1 ? 1 : 0) + 2 + (magnitude >= 100 ? 3 : 2);
    const int fixedLength = exponent >= 0 ? k + exponent : -exponent < k ? k + 1 : 2 - exponent;
    char out[32];
    char* o = out;
    if (negative) *o++ = '-';
    if (fixedLength <= scientificLength) {
        // Never longer than the scientific form, itself at most 22 characters.
        if (exponent >= 0) {
            o = std::copy(digits, digits + k, o);
            o = std::fill_n(o, exponent, '0');
        } else if (-exponent < k) {
            o = std::copy(digits, digits + k + exponent, o);
            *o++ = '.';
            o = std::copy(digits + k + exponent, digits + k, o);
        } else {
            *o++ = '0';
            *o++ = '.';
            o = std::fill_n(o, -exponent - k, '0');
            o = std::copy(digits, digits + k, o);
        }
    } else {
        *o++ = digits[0];
        if (k > 1) {
            *o++ = '.';
            o = std::copy(digits + 1, digits + k, o);
        }
        *o++ = 'e';
        *o++ = scientificExponent < 0 ? '-' : '+';
        if (magnitude >= 100) *o++ = static_cast<char>('0' + magnitude / 100);
        *o++ = static_cast<char>('0' + magnitude / 10 % 10);
        *o++ = static_cast<char>('0' + magnitude % 10);
    }
    return std::string(out, o);
}

std::string Problem(const Group& g) {
    if (g.code == kJunkCode) return std::string(g.value);
    const char* what = KindOfCode(g.code) == ValueKind::kInteger ? "an integer" : "a finite number";
    return "expected " + std::string(what) + " for group code " + std::to_string(g.code) + ", found " + Quote(g.value);
}

namespace {

constexpr ValueKind KindOfCodeAsListed(int code) {
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

}  // namespace

// The list above as a table, made while compiling.
constexpr std::array<ValueKind, kLastCode - kFirstCode + 1> kKindOfCode = [] {
    std::array<ValueKind, kLastCode - kFirstCode + 1> t{};
    for (int c = kFirstCode; c <= kLastCode; ++c) t[static_cast<size_t>(c - kFirstCode)] = KindOfCodeAsListed(c);
    return t;
}();

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

// Every group is two lines: worth inlining into the group reader.
inline bool GroupReader::line(std::string_view& out) {
    if (m_pos >= m_text.size()) return false;
    const char* const begin = m_text.data() + m_pos;
    const char* const end = m_text.data() + m_text.size();
    // Code lines are a few bytes: those are looked at directly, longer lines through memchr.
    const char* p = begin;
    const char* const quick = end - begin > 8 ? begin + 8 : end;
    while (p < quick && *p != '\n') ++p;
    if (p == quick && p < end) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!p) p = end;
    }
    ++m_line;
    out = std::string_view(begin, static_cast<size_t>(p - begin));
    if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
    m_pos = p == end ? m_text.size() : static_cast<size_t>(p + 1 - m_text.data());
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

// Blanks a quickly read line may hold around its code or number; more go the full way.
constexpr int kQuickBlanks = 16;

// Past the blanks at p (at most kQuickBlanks of them); null when there are more.
inline const char* SkipBlanks(const char* p, const char* end) {
    const char* const limit = end - p > kQuickBlanks ? p + kQuickBlanks : end;
    while (p < limit && *p == ' ') ++p;
    return p < end && *p == ' ' ? nullptr : p;
}

// The end of a short number's line (its line feed, or the end of the text), after blanks and
// an optional carriage return; null for anything else there.
inline const char* NumberLineEnd(const char* p, const char* end) {
    p = SkipBlanks(p, end);
    if (!p) return nullptr;
    if (p < end && *p == '\r') ++p;
    if (p == end || *p == '\n') return p;
    return nullptr;
}

bool GroupReader::quickText(Group& g) {
    const char* const base = m_text.data();
    const char* const end = base + m_text.size();
    // The code line: right-aligned digits.
    const char* p = SkipBlanks(base + m_pos, end);
    if (!p) return false;
    const char* const digits = p;
    int code = 0;
    while (p < end && static_cast<unsigned>(*p - '0') < 10 && p - digits < 4) code = code * 10 + (*p++ - '0');
    if (p == digits) return false;
    if (p < end && *p == '\r') ++p;
    if (p >= end || *p != '\n') return false;
    const ValueKind kind = KindOfCode(code);
    if (kind == ValueKind::kInvalid) return false;
    const char* const value = p + 1;
    const char* lineEnd = nullptr;  // the value line's line feed, or the end of the text
    g.real = 0.0;
    g.integer = 0;
    if (kind == ValueKind::kReal || kind == ValueKind::kInteger) {
        // Numbers are read as the line is found. Anything unusual goes the full way.
        const char* q = SkipBlanks(value, end);
        if (!q) return false;
        const bool negative = q < end && *q == '-';
        if (negative) ++q;
        // Digits before and after the point; more than 18 in all go the full way (before n,
        // which may have wrapped then, is used).
        const char* const first = q;
        std::uint64_t n = 0;
        while (q < end && static_cast<unsigned>(*q - '0') < 10) n = n * 10 + static_cast<unsigned>(*q++ - '0');
        const long whole = q - first;
        long fraction = 0;
        if (kind == ValueKind::kReal && q < end && *q == '.') {
            const char* const after = ++q;
            while (q < end && static_cast<unsigned>(*q - '0') < 10) n = n * 10 + static_cast<unsigned>(*q++ - '0');
            fraction = q - after;
            if (fraction == 0) return false;
        }
        if (whole == 0 || whole + fraction > 18) return false;
        lineEnd = NumberLineEnd(q, end);
        if (!lineEnd) return false;
        if (kind == ValueKind::kReal) {
            // Exact operands and one rounding, as in ShortReal.
            if (n > (std::uint64_t(1) << 53)) return false;
            const double r = static_cast<double>(n) / kPowersOfTen[fraction];
            g.real = negative ? -r : r;
        } else {
            g.integer = negative ? -static_cast<long long>(n) : static_cast<long long>(n);
        }
    } else {
        const void* nl = std::memchr(value, '\n', static_cast<size_t>(end - value));
        lineEnd = nl ? static_cast<const char*>(nl) : end;
    }
    // The value as line() gives it: one carriage return taken off, blanks left on.
    const char* stop = lineEnd;
    if (stop > value && stop[-1] == '\r') --stop;
    if (static_cast<size_t>(stop - value) > kMaxLineBytes) return false;
    g.code = code;
    g.value = std::string_view(value, static_cast<size_t>(stop - value));
    g.line = m_line + 1;
    g.bad = false;
    m_line += 2;
    m_pos = lineEnd == end ? m_text.size() : static_cast<size_t>(lineEnd + 1 - base);
    return true;
}

bool GroupReader::nextText(Group& g) {
    for (;;) {
        m_lastStart = m_pos;
        // Most groups are a short code and a plain value: read in one pass.
        if (quickText(g)) {
            if (g.code == 999) continue;
            return true;
        }
        std::string_view codeText;
        if (!line(codeText)) return false;
        const size_t codeLine = m_line;
        g.code = 0;
        g.value = std::string_view();
        g.real = 0.0;
        g.integer = 0;
        g.line = codeLine;
        g.bad = false;
        if (codeText.size() > kMaxLineBytes) {
            junk(g, codeLine, "a line longer than " + std::to_string(kMaxLineBytes) + " bytes; drawing files hold short lines");
            return true;
        }
        int code = 0;
        if (!ShortCode(codeText, code)) {
            std::string_view t = Trim(codeText);
            auto r = std::from_chars(t.data(), t.data() + t.size(), code);
            if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) {
                junk(g, codeLine, "expected a group code (an integer), found " + Quote(codeText));
                return true;
            }
        }
        const ValueKind kind = KindOfCode(code);
        if (kind == ValueKind::kInvalid) {
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
        if (kind == ValueKind::kReal) g.bad = !ParseReal(value, g.real);
        else if (kind == ValueKind::kInteger) g.bad = !(ShortInteger(value, g.integer) || ParseInteger(value, g.integer));
        if (code == 999) continue;
        return true;
    }
}

bool GroupReader::nextBinary(Group& g) {
    for (;;) {
        m_lastStart = m_pos;
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
