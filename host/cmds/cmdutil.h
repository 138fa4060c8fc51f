// Small helpers the host's commands share: the working drawing, user to world points, appending
// an entity, and short messages.
#pragma once

#include <string>

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

}  // namespace vorn::cmds
