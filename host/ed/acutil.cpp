// acutPrintf and the point helpers; the cancel that dialogs post.
#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/ed/wideformat.h"

namespace vorn::ed {
namespace {

// Rewrites a format so that the C library reads its string conversions as wide.
std::wstring NativeFormat(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p; ++p) {
        out += *p;
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') {
            out += *p;
            continue;
        }
        bool sized = false;
        while (*p && std::wcschr(L"-+ #0123456789.*hlLqjzt", *p)) {
            if (*p == L'l' || *p == L'h') sized = true;
            out += *p++;
        }
        if (!*p) break;
        if ((*p == L's' || *p == L'c') && !sized) {
            out += L'l';
            out += *p;
        } else if (*p == L'S' || *p == L'C') {
            out += (*p == L'S') ? L"s" : L"c";
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace

std::wstring FormatWideV(const wchar_t* format, va_list args) {
    if (!format) return L"";
    const std::wstring native = NativeFormat(format);
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        const int n = std::vswprintf(buf.data(), buf.size(), native.c_str(), copy);
        va_end(copy);
        if (n >= 0 && static_cast<std::size_t>(n) < buf.size()) return std::wstring(buf.data(), n);
        if (buf.size() > (1u << 24)) return native;  // an unformattable request: show it raw
        buf.resize(buf.size() * 4);
    }
}

std::wstring FormatWide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring s = FormatWideV(format, args);
    va_end(args);
    return s;
}

}  // namespace vorn::ed

int acutPrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring text = vorn::ed::FormatWideV(format, args);
    va_end(args);
    vorn::ed::Print(text);
    return static_cast<int>(text.size());
}

int acedPrompt(const wchar_t* text) {
    if (text) vorn::ed::Print(text);
    return RTNORM;
}

void acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point result) {
    const double x = pt[0] + dist * std::cos(angle);
    const double y = pt[1] + dist * std::sin(angle);
    result[0] = x;
    result[1] = y;
    result[2] = pt[2];
}

ads_real acutAngle(const ads_point pt1, const ads_point pt2) {
    double a = std::atan2(pt2[1] - pt1[1], pt2[0] - pt1[0]);
    if (a < 0) a += 2 * 3.14159265358979323846;
    return a;
}

ads_real acutDistance(const ads_point pt1, const ads_point pt2) {
    const double dx = pt2[0] - pt1[0], dy = pt2[1] - pt1[1], dz = pt2[2] - pt1[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void acedPostCancel() { vorn::ed::QueueCancel(); }
