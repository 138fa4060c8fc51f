// Strings and numbers as drawing files spell them. Files of R2007 and later hold UTF-8; older
// ones hold the code page their $DWGCODEPAGE names (ANSI_936 GBK, ANSI_950 Big5, ANSI_932,
// ANSI_949, ANSI_1250 to ANSI_1258, the DOS pages, ...), converted through the C library's
// iconv. In both, \U+XXXX and \M+NXXXX escapes stand for characters, and control characters
// are caret pairs (^J); a character the code page lacks is written as a \U+ escape.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vorn::dxf {

class Codec {
public:
    // utf8: the file is R2007 or later. page: the $DWGCODEPAGE name; unknown or empty names
    // stand for ANSI_1252. An R2007 file's page is still used for bytes that are no UTF-8.
    Codec(bool utf8, std::string_view page);
    Codec() : Codec(true, "") {}
    ~Codec();
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    bool utf8() const { return m_utf8; }
    // The page's name as files write it ("ANSI_936").
    const std::string& pageName() const { return m_pageName; }
    // A page of double-byte characters (Chinese, Japanese, Korean).
    bool doubleByte() const;

    // A string value read back: bytes decoded, then escapes and caret pairs undone.
    std::wstring decode(std::string_view value) const;
    // The same as UTF-8 (kept groups hold their strings so).
    std::string decodeToUtf8(std::string_view value) const;
    // The file form of a string: encoded, control characters as caret pairs, characters the
    // page lacks as \U+ escapes, so that no string can break the file's line structure.
    void encode(std::string& out, const std::wstring& text) const;
    void encodeUtf8(std::string& out, std::string_view utf8) const;

private:
    struct Converters;
    std::wstring bytesToWide(std::string_view bytes) const;
    bool encodeChar(std::string& out, wchar_t c) const;
    bool m_utf8;
    std::string m_pageName;
    std::string m_iconvName;
    std::unique_ptr<Converters> m_conv;
    mutable std::unordered_map<wchar_t, std::string> m_encoded;  // cache of non-ASCII characters
};

// The iconv name of a $DWGCODEPAGE value ("ANSI_936" -> "CP936"), empty for unknown names.
std::string IconvNameOfPage(std::string_view page);

// The shortest text that reads back as exactly the same double (finite values only).
void AppendReal(std::string& out, double value);
// The same written at p, which has room for 32 characters; returns the end.
char* WriteReal(char* p, double value);

// n of an anonymous block name "*U<n>", or 0 for other names.
std::uint64_t AnonymousNumber(const std::wstring& name);

// The drawing file version ("AC1015") as a number to compare: 1009, 1015, 1021, ...; 0 when
// the text is none.
int VersionNumber(std::string_view acadver);

}  // namespace vorn::dxf
