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

void AppendEscape(std::string& out, std::uint32_t unit) {
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
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

std::wstring FromLatin(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (char c : s) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

// GBK through the C library's converter; undecodable bytes become U+FFFD.
std::wstring FromGbk(std::string_view s) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return FromLatin(s);
    std::string utf8;
    std::vector<char> buf(s.size() * 2 + 8);
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
    iconv_close(cd);
    return FromUtf8(utf8);
}

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// The unit of a \U+XXXX escape at i, or -1.
long EscapeAt(const std::wstring& s, size_t i) {
    if (i + 7 > s.size() || s[i] != L'\\' || (s[i + 1] != L'U' && s[i + 1] != L'u') || s[i + 2] != L'+') return -1;
    long v = 0;
    for (size_t k = 3; k < 7; ++k) {
        int h = HexValue(s[i + k]);
        if (h < 0) return -1;
        v = v * 16 + h;
    }
    return v;
}

}  // namespace

void AppendEncoded(std::string& out, const std::wstring& text) {
    const auto utf8 = [&out](std::uint32_t c) {
        if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    };
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
        } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            utf8(0xFFFD);  // a lone surrogate or no character at all
        } else {
            utf8(c);
        }
    }
}

std::string EncodeString(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    AppendEncoded(out, text);
    return out;
}

std::wstring DecodeString(std::string_view value, CodePage page) {
    bool plain = true;
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '^') {
            plain = false;
            break;
        }
    if (plain) return std::wstring(value.begin(), value.end());
    std::wstring raw = ValidUtf8(value) ? FromUtf8(std::string(value))
                       : page == CodePage::kAnsi936 ? FromGbk(value)
                                                    : FromLatin(value);
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

std::uint64_t AnonymousNumber(const std::wstring& name) {
    if (name.size() < 3 || name[0] != L'*' || (name[1] != L'U' && name[1] != L'u')) return 0;
    std::uint64_t n = 0;
    for (size_t i = 2; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9' || n > 100000000000ull) return 0;
        n = n * 10 + static_cast<std::uint64_t>(name[i] - L'0');
    }
    return n;
}

void AppendReal(std::string& out, double value) {
    char buf[32];
    if (value == 0.0) value = 0.0;  // no "-0" in files
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

}  // namespace vorn::dxf
