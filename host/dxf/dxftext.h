// Strings and numbers as drawing files spell them: UTF-8, control characters as caret pairs,
// reals in their shortest exact form; \U+XXXX escapes of older files are read too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::dxf {

// Which byte encoding a file's strings use where they are not valid UTF-8.
enum class CodePage { kAnsi1252, kAnsi936 };

// The file form of a string: UTF-8 (lone surrogates become U+FFFD), control characters ^@..^_,
// DEL \U+007F and a caret "^ ", so that no string can break the line structure of the file.
void AppendEncoded(std::string& out, const std::wstring& text);
std::string EncodeString(const std::wstring& text);
// Reads a string value back: bytes decoded as UTF-8 when valid, else by the code page; then
// \U+XXXX escapes and caret pairs undone.
std::wstring DecodeString(std::string_view value, CodePage page);
// The shortest text that reads back as exactly the same double (finite values only).
void AppendReal(std::string& out, double value);

// n of an anonymous block name "*U<n>", or 0 for other names.
std::uint64_t AnonymousNumber(const std::wstring& name);

}  // namespace vorn::dxf
