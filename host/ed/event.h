// Input events of the editor and the parser that turns one line of a script or of the
// terminal into one event. Values are read here only as far as the line's shape tells;
// what a text means (a point, a number, a keyword) is decided by the prompt that takes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vorn::ed {

enum class EventKind {
    kText,        // a typed answer: point, number, keyword, command name or free text
    kEnter,       // an empty line
    kCancel,      // Esc or ^C
    kMove,        // ~x,y: the cursor moved (user coordinates)
    kClick,       // !x,y: a mouse click (user coordinates; running snaps apply)
    kDialog,      // @...: a dialog or view event; text holds the line without the '@'
    kEntityPick,  // an entity (and a point on it unless hasPoint is false), from acedCommand
    kSelectionSet,  // a whole selection set (ename holds its name), from acedCommand
    kPoint,       // an exact point given by acedCommand's argument list (user coordinates)
    kBox,         // a selection rectangle dragged in a view: (x, y) to (x2, y2), user coordinates;
                  // dragged right to left it is a crossing window
    kEnd,         // no more input
};

struct Event {
    EventKind kind = EventKind::kEnter;
    std::wstring text;  // kText, kDialog; the raw line for every event read from a line
    double x = 0, y = 0, z = 0;
    std::int64_t ename[2] = {0, 0};
    double x2 = 0, y2 = 0;  // kBox: the corner where the drag ended
    bool hasPoint = true;  // kEntityPick
    // Given by a window's widget or mouse rather than typed: the transcript does not echo it
    // (a dialog change, a click) and a dialog event that printed nothing shows no prompt again.
    bool silent = false;
};

// A coordinate answer: "x,y", "x,y,z", "@dx,dy[,dz]", "d<a" or "@d<a" (a in degrees).
struct TypedPoint {
    double x = 0, y = 0, z = 0;
    bool relative = false;
    bool polar = false;  // x holds the distance and y the angle in radians
    bool hasZ = false;
};

// A finite number in plain decimal or exponent form; nothing else (no hex, nan, inf).
std::optional<double> ParseNumber(const std::wstring& text);
// An integer answer within the int range.
std::optional<long> ParseInteger(const std::wstring& text);
std::optional<TypedPoint> ParsePoint(const std::wstring& text);

// The event of one input line; nullopt for a comment.
std::optional<Event> ParseLine(const std::wstring& line);

std::wstring Trim(const std::wstring& text);
std::wstring ToUpper(const std::wstring& text);
bool EqualNoCase(const std::wstring& a, const std::wstring& b);

}  // namespace vorn::ed
