// String escapes and code pages of drawing files.
#include "host/dxf/dxftext.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <vector>

#include "host/base/textcodec.h"

namespace vorn::dxf {
namespace {

const char kHex[] = "0123456789ABCDEF";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

void AppendEscape(std::string& out, std::uint32_t unit) {
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
}

// A character past the basic plane as the surrogate pair of escapes older programs read.
void AppendCharEscape(std::string& out, std::uint32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        AppendEscape(out, 0xD800 + (c >> 10));
        AppendEscape(out, 0xDC00 + (c & 0x3FF));
    } else {
        AppendEscape(out, c);
    }
}

bool ValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

bool HasHighBytes(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// The value of n hex digits at s[i], or -1.
long HexAt(const std::wstring& s, size_t i, size_t n) {
    if (i + n > s.size()) return -1;
    long v = 0;
    for (size_t k = 0; k < n; ++k) {
        int h = HexValue(s[i + k]);
        if (h < 0) return -1;
        v = v * 16 + h;
    }
    return v;
}

// The unit of a \U+XXXX escape at i, or -1.
long EscapeAt(const std::wstring& s, size_t i) {
    if (i + 7 > s.size() || s[i] != L'\\' || (s[i + 1] != L'U' && s[i + 1] != L'u') || s[i + 2] != L'+') return -1;
    return HexAt(s, i + 3, 4);
}

// Bytes through an iconv converter to UTF-8; bytes it cannot take become U+FFFD.
std::string Convert(iconv_t cd, std::string_view s) {
    std::string utf8;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> buf(s.size() * 4 + 16);
    char* in = const_cast<char*>(s.data());
    size_t inLeft = s.size();
    while (inLeft > 0) {
        char* out = buf.data();
        size_t outLeft = buf.size();
        size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buf.data(), static_cast<size_t>(out - buf.data()));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            utf8 += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
        }
    }
    // A page that combines characters (1258) may hold the last one back until flushed.
    char* out = buf.data();
    size_t outLeft = buf.size();
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    utf8.append(buf.data(), static_cast<size_t>(out - buf.data()));
    return utf8;
}

// The pages of \M+N escapes: 1 Japanese, 2 Traditional Chinese, 3 Korean (Wansung), 4 Korean
// (Johab), 5 Simplified Chinese.
const char* MifPage(int n) {
    switch (n) {
        case 1: return "CP932";
        case 2: return "CP950";
        case 3: return "CP949";
        case 4: return "JOHAB";
        case 5: return "CP936";
        default: return nullptr;
    }
}

}  // namespace

std::string IconvNameOfPage(std::string_view page) {
    std::string p;
    for (char c : page)
        if (c != ' ') p.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    struct Entry {
        const char* dxf;
        const char* iconv;
    };
    static const Entry table[] = {
        {"ANSI_874", "CP874"},     {"ANSI_932", "CP932"},   {"DOS932", "CP932"},     {"ANSI_936", "CP936"},
        {"GB2312", "CP936"},       {"GBK", "CP936"},        {"ANSI_949", "CP949"},   {"KSC5601", "CP949"},
        {"ANSI_950", "CP950"},     {"BIG5", "CP950"},       {"ANSI_1361", "JOHAB"},  {"JOHAB", "JOHAB"},
        {"ANSI_1250", "CP1250"},   {"ANSI_1251", "CP1251"}, {"ANSI_1252", "CP1252"}, {"ANSI_1253", "CP1253"},
        {"ANSI_1254", "CP1254"},   {"ANSI_1255", "CP1255"}, {"ANSI_1256", "CP1256"}, {"ANSI_1257", "CP1257"},
        {"ANSI_1258", "CP1258"},   {"DOS437", "CP437"},     {"DOS850", "CP850"},     {"DOS852", "CP852"},
        {"DOS855", "CP855"},       {"DOS857", "CP857"},     {"DOS860", "CP860"},     {"DOS861", "CP861"},
        {"DOS863", "CP863"},       {"DOS864", "CP864"},     {"DOS865", "CP865"},     {"DOS866", "CP866"},
        {"DOS869", "CP869"},       {"MACINTOSH", "MACINTOSH"},
        {"ISO8859-1", "ISO-8859-1"}, {"ISO8859-2", "ISO-8859-2"}, {"ISO8859-3", "ISO-8859-3"},
        {"ISO8859-4", "ISO-8859-4"}, {"ISO8859-5", "ISO-8859-5"}, {"ISO8859-6", "ISO-8859-6"},
        {"ISO8859-7", "ISO-8859-7"}, {"ISO8859-8", "ISO-8859-8"}, {"ISO8859-9", "ISO-8859-9"},
    };
    for (const Entry& e : table)
        if (p == e.dxf) return e.iconv;
    return {};
}

struct Codec::Converters {
    iconv_t decode = kNoConverter;  // page -> UTF-8
    iconv_t encode = kNoConverter;  // UTF-32 -> page
    iconv_t mif[6] = {kNoConverter, kNoConverter, kNoConverter, kNoConverter, kNoConverter, kNoConverter};
    ~Converters() {
        for (iconv_t cd : {decode, encode, mif[1], mif[2], mif[3], mif[4], mif[5]})
            if (cd != kNoConverter) iconv_close(cd);
    }
};

Codec::Codec(bool utf8, std::string_view page) : m_utf8(utf8), m_conv(new Converters) {
    m_iconvName = IconvNameOfPage(page);
    m_pageName = m_iconvName.empty() ? std::string("ANSI_1252") : std::string(page);
    if (m_iconvName.empty()) m_iconvName = "CP1252";
    m_conv->decode = iconv_open("UTF-8", m_iconvName.c_str());
    if (!m_utf8) m_conv->encode = iconv_open(m_iconvName.c_str(), "UTF-32LE");
}

Codec::~Codec() = default;

bool Codec::doubleByte() const {
    return m_iconvName == "CP932" || m_iconvName == "CP936" || m_iconvName == "CP949" || m_iconvName == "CP950" ||
           m_iconvName == "JOHAB";
}

std::wstring Codec::bytesToWide(std::string_view bytes) const {
    if (!HasHighBytes(bytes)) return std::wstring(bytes.begin(), bytes.end());
    // R2007 files are UTF-8; older ones hold their page, but some programs write UTF-8 into
    // files that claim the western page, and such text reads as what it is.
    const bool lenient = m_utf8 || m_iconvName == "CP1252";
    if (lenient && ValidUtf8(bytes)) return FromUtf8(std::string(bytes));
    if (m_conv->decode == kNoConverter) return FromUtf8(std::string(bytes));
    return FromUtf8(Convert(m_conv->decode, bytes));
}

std::wstring Codec::decode(std::string_view value) const {
    bool plain = true;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '^') {
            plain = false;
            break;
        }
    if (plain) return std::wstring(value.begin(), value.end());
    std::wstring raw = bytesToWide(value);
    // Only escapes and caret pairs change anything below.
    if (raw.find_first_of(L"\\^") == std::wstring::npos) return raw;
    std::wstring out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size();) {
        long unit = EscapeAt(raw, i);
        if (unit >= 0) {
            i += 7;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                long low = EscapeAt(raw, i);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    i += 7;
                    out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                } else {
                    out.push_back(L'\uFFFD');
                }
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                out.push_back(L'\uFFFD');
            } else {
                out.push_back(static_cast<wchar_t>(unit));
            }
            continue;
        }
        // \M+NXXXX: a double-byte character of page N.
        if (raw[i] == L'\\' && i + 9 <= raw.size() && (raw[i + 1] == L'M' || raw[i + 1] == L'm') && raw[i + 2] == L'+' &&
            raw[i + 3] >= L'1' && raw[i + 3] <= L'5') {
            const long code = HexAt(raw, i + 4, 4);
            const int n = raw[i + 3] - L'0';
            if (code >= 0) {
                iconv_t& cd = m_conv->mif[n];
                if (cd == kNoConverter) cd = iconv_open("UTF-8", MifPage(n));
                if (cd != kNoConverter) {
                    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
                    const std::wstring ch = FromUtf8(Convert(cd, std::string_view(bytes, code >> 8 ? 2 : 1)));
                    if (!ch.empty() && ch.find(L'\uFFFD') == std::wstring::npos) {
                        out += ch;
                        i += 8;
                        continue;
                    }
                }
            }
        }
        if (raw[i] == L'^' && i + 1 < raw.size()) {
            wchar_t n = raw[i + 1];
            if (n == L' ') {
                out.push_back(L'^');
                i += 2;
                continue;
            }
            if (n >= 0x40 && n <= 0x5F) {
                out.push_back(static_cast<wchar_t>(n - 0x40));
                i += 2;
                continue;
            }
        }
        out.push_back(raw[i]);
        ++i;
    }
    return out;
}

std::string Codec::decodeToUtf8(std::string_view value) const {
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '^') return ToUtf8(decode(value));
    return std::string(value);
}

bool Codec::encodeChar(std::string& out, wchar_t wc) const {
    auto it = m_encoded.find(wc);
    if (it != m_encoded.end()) {
        if (it->second.empty()) return false;
        out += it->second;
        return true;
    }
    std::string bytes;
    if (m_conv->encode != kNoConverter) {
        const auto c = static_cast<std::uint32_t>(wc);
        const char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                            static_cast<char>((c >> 16) & 0xFF), static_cast<char>(c >> 24)};
        char buf[16];
        char* ip = const_cast<char*>(in);
        size_t inLeft = 4;
        char* op = buf;
        size_t outLeft = sizeof buf;
        iconv(m_conv->encode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_conv->encode, &ip, &inLeft, &op, &outLeft) != static_cast<size_t>(-1) &&
            iconv(m_conv->encode, nullptr, nullptr, &op, &outLeft) != static_cast<size_t>(-1))
            bytes.assign(buf, op);
        // Only a character that reads back as itself counts as encoded (pages that map a
        // character to a look-alike one would change the text).
        if (!bytes.empty() && FromUtf8(Convert(m_conv->decode, bytes)) != std::wstring(1, wc)) bytes.clear();
    }
    m_encoded.emplace(wc, bytes);
    if (bytes.empty()) return false;
    out += bytes;
    return true;
}

void Codec::encode(std::string& out, const std::wstring& text) const {
    const size_t start = out.size();
    bool high = false;
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
            if (c == '^') out.push_back(' ');
        } else if (c < 0x20) {
            out.push_back('^');
            out.push_back(static_cast<char>(c + 0x40));
        } else if (c == 0x7F) {
            AppendEscape(out, c);
        } else {
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;  // a lone surrogate or no character
            if (m_utf8) {
                out += ToUtf8(std::wstring(1, static_cast<wchar_t>(c)));
            } else if (encodeChar(out, static_cast<wchar_t>(c))) {
                high = true;
            } else {
                AppendCharEscape(out, c);
            }
        }
    }
    // In the western page, bytes that happen to spell UTF-8 would read back as other text:
    // such a string goes out with its non-ASCII characters as escapes.
    if (high && m_iconvName == "CP1252" && ValidUtf8(std::string_view(out).substr(start))) {
        out.resize(start);
        for (wchar_t wc : text) {
            auto c = static_cast<std::uint32_t>(wc);
            if (c < 0x80) {
                encode(out, std::wstring(1, wc));
            } else {
                if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
                AppendCharEscape(out, c);
            }
        }
    }
}

void Codec::encodeUtf8(std::string& out, std::string_view utf8) const {
    bool plain = true;
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x7F || u < 0x20 || c == '^') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += utf8;
        return;
    }
    encode(out, FromUtf8(std::string(utf8)));
}

std::uint64_t AnonymousNumber(const std::wstring& name) {
    if (name.size() < 3 || name[0] != L'*' || (name[1] != L'U' && name[1] != L'u')) return 0;
    std::uint64_t n = 0;
    for (size_t i = 2; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9' || n > 100000000000ull) return 0;
        n = n * 10 + static_cast<std::uint64_t>(name[i] - L'0');
    }
    return n;
}

char* WriteReal(char* p, double value) {
    if (value == 0.0) value = 0.0;  // no "-0" in files
    // Whole numbers (drawings in millimetres are full of them) as integers, which is several
    // times quicker. Below 2^53 every digit up to the last non-zero one is needed to read back
    // the same value, so the shortest form is the integer itself, unless the exponent form is
    // shorter: "1e+06" for 1000000. That case is left to the general conversion.
    constexpr double kExact = 9007199254740992.0;  // 2^53
    if (value > -kExact && value < kExact) {
        const auto whole = static_cast<long long>(value);
        if (static_cast<double>(whole) == value) {
            char* end = std::to_chars(p, p + 32, whole).ptr;
            const char* first = p + (whole < 0 ? 1 : 0);
            const long digits = end - first;
            long zeros = 0;
            while (zeros + 1 < digits && end[-1 - zeros] == '0') ++zeros;
            const long significant = digits - zeros;
            const long exponentForm = (significant == 1 ? 1 : significant + 1) + 4;  // d.ddde+XX
            if (digits <= exponentForm) return end;
        }
    }
    return std::to_chars(p, p + 32, value).ptr;
}

void AppendReal(std::string& out, double value) {
    char buf[32];
    out.append(buf, WriteReal(buf, value));
}

int VersionNumber(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    if (v.size() < 6 || (v[0] != 'A' && v[0] != 'a') || (v[1] != 'C' && v[1] != 'c')) return 0;
    int n = 0;
    auto r = std::from_chars(v.data() + 2, v.data() + 6, n);
    return r.ec == std::errc() && r.ptr == v.data() + 6 ? n : 0;
}

}  // namespace vorn::dxf
