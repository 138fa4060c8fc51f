// Group-code input: the file as checked (code, value) pairs with their line numbers. Every
// number is parsed and checked as it is read, so that nothing non-finite or malformed gets
// past this layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/dxf/dxftext.h"

namespace vorn::dxf::detail {

// Bounds that keep a hostile file from costing unbounded time or memory.
constexpr size_t kMaxFileBytes = size_t(2) << 30;      // whole files are read into memory
constexpr size_t kMaxLineBytes = size_t(1) << 20;      // one code or value line
constexpr size_t kMaxRecordGroups = 8u << 20;          // groups of one entity or record
constexpr long long kMaxVertices = 1 << 22;            // vertices of one polyline
constexpr long long kMaxDashes = 1024;                 // dashes of one line type
constexpr size_t kMaxXDataItems = 1 << 16;             // extended data items of one entity
constexpr int kMaxXDataNesting = 32;                   // depth of 1002 "{" braces

// A failure while reading: the message already names the file and the line.
struct DxfError {
    std::string message;
};

struct Group {
    int code = 0;
    std::string_view value;  // the value line as written (string codes)
    double real = 0.0;       // real codes
    long long integer = 0;   // integer codes
    size_t line = 0;         // the line of the code
};

// A value upper-cased with blanks dropped, for comparing names and markers.
std::string Upper(std::string_view v);
// UTF-8 of a name, for messages.
std::string Narrow(const std::wstring& w);

enum class ValueKind { kString, kReal, kInteger, kInvalid };
ValueKind KindOfCode(int code);

class GroupReader {
public:
    GroupReader(std::string_view text, std::string file) : m_text(text), m_file(std::move(file)) {}

    // The next group (comments skipped); false at the end of the text.
    bool next(Group& g);
    // Gives g back: the next call returns it again.
    void pushBack(const Group& g) {
        m_back = g;
        m_hasBack = true;
    }
    // The next group, which must exist: the end of the text fails with what was expected.
    Group expectNext(const char* expected);

    [[noreturn]] void fail(size_t line, const std::string& what) const;
    [[noreturn]] void failAtEnd(const std::string& what) const;
    const std::string& file() const { return m_file; }
    size_t lastLine() const { return m_line; }

    std::wstring text(const Group& g) const { return DecodeString(g.value, m_page); }
    void setCodePage(CodePage page) { m_page = page; }

private:
    bool line(std::string_view& out);
    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_line = 0;
    std::string m_file;
    CodePage m_page = CodePage::kAnsi1252;
    Group m_back;
    bool m_hasBack = false;
};

}  // namespace vorn::dxf::detail
