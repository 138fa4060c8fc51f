// Group-code input: the file as checked (code, value) pairs with their line numbers, from text
// or binary DXF. Every number is parsed and checked as it is read, so that nothing non-finite
// or malformed gets past this layer: a value that is no number comes back marked bad, and lines
// that are no groups at all come back as one junk group, after which reading goes on at the
// next group 0. Binary files have no lines: a group's "line" is the line it would have in the
// text form of the same file (group n starts at line 2n - 1).
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
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

// The code of the group that stands for unreadable lines.
constexpr int kJunkCode = -100000;

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
    bool bad = false;        // the value is no number of its kind, or the group is junk
};

// What is wrong with a bad group (for junk, what was skipped and why).
std::string Problem(const Group& g);

// The shortest text that reads back as exactly `value` (what kept groups hold), where `text`
// is what the file wrote for it. A plain decimal of at most 15 significant digits is already
// those digits, which are then only laid out (fixed or scientific, as std::to_chars would);
// anything else is formatted from the value.
std::string RealText(std::string_view text, double value);

// A value upper-cased with blanks dropped, for comparing names and markers.
std::string Upper(std::string_view v);
// UTF-8 of a name, for messages.
std::string Narrow(const std::wstring& w);
// "a LINE", "an ARC": a record's type with its article, for messages.
std::string A(const std::string& type);
// A short quotation of a value for messages.
std::string Quote(std::string_view s);

enum class ValueKind { kString, kReal, kInteger, kInvalid };

// The kind of each code from -5 to 1071 (asked for every group read).
constexpr int kFirstCode = -5, kLastCode = 1071;
extern const std::array<ValueKind, kLastCode - kFirstCode + 1> kKindOfCode;
inline ValueKind KindOfCode(int code) {
    if (code < kFirstCode || code > kLastCode) return ValueKind::kInvalid;
    return kKindOfCode[static_cast<size_t>(code - kFirstCode)];
}

// How binary DXF stores a value of the code.
enum class BinaryKind { kString, kChunk, kReal, kInt8, kInt16, kInt32, kInt64, kInvalid };
BinaryKind BinaryKindOfCode(int code);

// The sentinel binary DXF files start with.
constexpr std::string_view kBinarySentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

class GroupReader {
public:
    GroupReader(std::string_view text, std::string file);

    // The next group (comments skipped); false at the end of the file.
    bool next(Group& g) {
        if (m_hasBack) {
            m_hasBack = false;
            m_lastStart = m_backStart;
            g = m_back;
            return true;
        }
        return m_binary ? nextBinary(g) : nextText(g);
    }
    // Gives g, the group last read, back: the next call returns it again.
    void pushBack(const Group& g) {
        m_back = g;
        m_backStart = m_lastStart;
        m_hasBack = true;
    }
    // Where in the text the group last read starts, and where the next one does: the reader
    // uses no text before the records it still holds, so that memory can be given back.
    size_t lastStart() const { return m_lastStart; }
    size_t nextStart() const { return m_hasBack ? m_backStart : m_pos; }

    [[noreturn]] void fail(size_t line, const std::string& what) const;
    const std::string& file() const { return m_file; }
    size_t lastLine() const { return m_line; }
    bool binary() const { return m_binary; }
    // Whether anything but blanks follows the last group read.
    bool restIsBlank() const;

    std::wstring text(const Group& g) const { return m_codec->decode(g.value); }
    std::string utf8(const Group& g) const { return m_codec->decodeToUtf8(g.value); }
    void setCodec(bool utf8, std::string_view page);
    const Codec& codec() const { return *m_codec; }

private:
    bool line(std::string_view& out);
    bool nextText(Group& g);
    // The next group when it is a short code and a plain value (no comment handling); false,
    // having moved nothing, for anything else.
    bool quickText(Group& g);
    bool nextBinary(Group& g);
    // Skips to the line before the next code line "0"; returns the junk group for what was skipped.
    void junk(Group& g, size_t line, const std::string& why);
    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_lastStart = 0, m_backStart = 0;
    size_t m_line = 0;
    size_t m_groups = 0;
    std::string m_file;
    bool m_binary = false;
    bool m_wideCodes = true;  // binary codes of two bytes (R13 and later) or one (R12)
    std::unique_ptr<Codec> m_codec;
    std::deque<std::string> m_chunks;  // hexadecimal text of binary chunks read
    Group m_back;
    bool m_hasBack = false;
};

}  // namespace vorn::dxf::detail
