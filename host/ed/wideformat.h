// printf-style formatting of wide strings the way the host's callers write their formats:
// %s and %c take wide strings and characters, %S a narrow string.
#pragma once

#include <cstdarg>
#include <string>

namespace vorn::ed {

std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

}  // namespace vorn::ed
