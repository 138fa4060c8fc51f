// Small helpers the host's commands share: the working drawing, user to world points, appending
// an entity, and short messages.
#pragma once

#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/ed/adsdefs.h"

namespace vorn::cmds {

inline constexpr const wchar_t* kGroup = L"ACAD_HOST";

// The working drawing; null with a message when there is none.
AcDbDatabase* Drawing();
AcGePoint3d ToWorld(const ads_point ucs);
double ToWorldAngle(double ucsAngle);
// Appends to model space on the current layer; false with a message on failure.
bool Append(AcDbEntity* entity, AcDbObjectId* id = nullptr);
// A file name typed at the prompt; Enter gives fallback (false when that is empty too). With
// FILEDIA 1 a window's file dialog asks instead (filter: "Description (*.ext)|*.ext").
bool AskFile(const std::wstring& prompt, const std::wstring& fallback, std::wstring& path,
             const std::wstring& filter = L"", bool open = false);
void Say(const std::wstring& text);  // a message on a line of its own
std::wstring Num(double v);          // a number as the transcript shows it
// Two points given by the user are one point: a segment between them would have no direction.
bool SamePoint(const ads_point a, const ads_point b);

// The part of the drawing that pictures show (ZOOM and PAN without a window set it); an
// invalid box (the whole drawing) when none was set.
AcDbExtents PictureWindowExtents();

// The steps of a command that repeats (an offset, a trim per pick), so that its Undo keyword
// takes the last one back while the command goes on; U after the command still takes all back.
class CommandSteps {
public:
    void begin();  // before a step changes the drawing
    // Takes the last step back; false, with the answer refused, when there is none.
    bool undoLast();

private:
    std::vector<std::size_t> m_positions;
};

// The objects the user selects (points, W, C, ALL; Enter ends); empty when nothing was
// selected or the selection was cancelled.
std::vector<AcDbObjectId> SelectObjects(const wchar_t* prompt = L"\nSelect objects: ");
// Moves the entities by m, or appends transformed copies of them (copy); says how many could
// not follow ("could not be " + participle). Returns how many did.
int TransformObjects(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& m, bool copy,
                     const std::wstring& verb, const std::wstring& participle);

}  // namespace vorn::cmds
