// Line parsing for the script and terminal front ends.
#include "host/ed/event.h"

#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <vector>

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Accepts [+-]digits[.digits][(e|E)[+-]digits] with at least one digit in the mantissa.
bool LooksNumeric(const std::wstring& s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && (s[i] == L'+' || s[i] == L'-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(s[i])) ++i, ++digits;
    if (i < n && s[i] == L'.') {
        ++i;
        while (i < n && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (s[i] == L'e' || s[i] == L'E')) {
        ++i;
        if (i < n && (s[i] == L'+' || s[i] == L'-')) ++i;
        std::size_t exp = 0;
        while (i < n && IsDigit(s[i])) ++i, ++exp;
        if (exp == 0) return false;
    }
    return i == n;
}

// What an input method in full-width mode types for a number or a point, read as the ASCII
// character it stands for. Nothing else changes, so a text answer keeps what was typed.
std::wstring NarrowNumerals(const std::wstring& text) {
    struct Pair {
        wchar_t wide, ascii;
    };
    static const Pair kPairs[] = {
        {0xFF0C, L','},  // ，
        {0xFF0E, L'.'},  // ．
        {0x3002, L'.'},  // 。 the full stop an input method types for '.'
        {0xFF0D, L'-'},  // －
        {0x2212, L'-'},  // − the minus sign
        {0xFF0B, L'+'},  // ＋
        {0xFF20, L'@'},  // ＠
        {0xFF1C, L'<'},  // ＜
        {0xFF45, L'e'},  // ｅ
        {0xFF25, L'E'},  // Ｅ
        {0x3000, L' '},  // the ideographic space
    };
    std::wstring s = text;
    for (wchar_t& c : s) {
        if (c >= 0xFF10 && c <= 0xFF19) {  // ０ to ９
            c = static_cast<wchar_t>(L'0' + (c - 0xFF10));
            continue;
        }
        for (const Pair& p : kPairs)
            if (c == p.wide) c = p.ascii;
    }
    return s;
}

std::vector<std::wstring> Split(const std::wstring& s, wchar_t sep) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(Trim(s.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start)));
        if (at == std::wstring::npos) break;
        start = at + 1;
    }
    return parts;
}

}  // namespace

std::wstring Trim(const std::wstring& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::iswspace(static_cast<wint_t>(text[b]))) ++b;
    while (e > b && std::iswspace(static_cast<wint_t>(text[e - 1]))) --e;
    return text.substr(b, e - b);
}

std::wstring ToUpper(const std::wstring& text) {
    std::wstring up = text;
    for (wchar_t& c : up) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return up;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && ToUpper(a) == ToUpper(b);
}

std::optional<double> ParseNumber(const std::wstring& text) {
    const std::wstring s = Trim(NarrowNumerals(text));
    if (!LooksNumeric(s)) return std::nullopt;
    const double v = std::wcstod(s.c_str(), nullptr);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long> ParseInteger(const std::wstring& text) {
    const std::wstring s = Trim(NarrowNumerals(text));
    std::size_t i = (!s.empty() && (s[0] == L'+' || s[0] == L'-')) ? 1 : 0;
    if (i == s.size() || s.size() > 12) return std::nullopt;
    for (std::size_t k = i; k < s.size(); ++k)
        if (!IsDigit(s[k])) return std::nullopt;
    const long v = std::wcstol(s.c_str(), nullptr, 10);
    if (v < -2147483647L - 1 || v > 2147483647L) return std::nullopt;
    return v;
}

std::optional<TypedPoint> ParsePoint(const std::wstring& text) {
    std::wstring s = Trim(NarrowNumerals(text));
    TypedPoint p;
    if (!s.empty() && s[0] == L'@') {
        p.relative = true;
        s = Trim(s.substr(1));
        if (s.empty()) return p;  // "@": the last point itself
    }
    const std::size_t lt = s.find(L'<');
    if (lt != std::wstring::npos) {
        const auto d = ParseNumber(s.substr(0, lt));
        const auto a = ParseNumber(s.substr(lt + 1));
        if (!d || !a) return std::nullopt;
        p.polar = true;
        p.x = *d;
        // Whole turns are taken off first: a huge angle in degrees stays finite in radians.
        p.y = std::fmod(*a, 360.0) * kPi / 180.0;
        return p;
    }
    const std::vector<std::wstring> parts = Split(s, L',');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    double v[3] = {0, 0, 0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto n = ParseNumber(parts[i]);
        if (!n) return std::nullopt;
        v[i] = *n;
    }
    p.x = v[0];
    p.y = v[1];
    p.z = v[2];
    p.hasZ = parts.size() == 3;
    return p;
}

std::optional<Event> ParseLine(const std::wstring& line) {
    const std::wstring s = Trim(line);
    Event ev;
    ev.text = s;
    if (s.empty()) {
        ev.kind = EventKind::kEnter;
        return ev;
    }
    if (s[0] == L';') return std::nullopt;
    if (EqualNoCase(s, L"ESC") || s == L"^C" || s == L"^c") {
        ev.kind = EventKind::kCancel;
        return ev;
    }
    if (s[0] == L'~' || s[0] == L'!') {
        const auto p = ParsePoint(s.substr(1));
        if (p && !p->relative && !p->polar) {
            ev.kind = s[0] == L'~' ? EventKind::kMove : EventKind::kClick;
            ev.x = p->x;
            ev.y = p->y;
            ev.z = p->z;
            return ev;
        }
        ev.kind = EventKind::kText;  // malformed: the prompt refuses it with its message
        return ev;
    }
    if (s[0] == L'@' && s.size() > 1 && std::iswalpha(static_cast<wint_t>(s[1]))) {
        ev.kind = EventKind::kDialog;
        ev.text = s.substr(1);
        return ev;
    }
    ev.kind = EventKind::kText;
    return ev;
}

}  // namespace vorn::ed
