// The @show listing of a dialog: one line per control, then one per list or combo row.
//   ID kind "text" [checked] [disabled] [hidden]
//   ID row N "text" [selected]
// kind is one of: edit, combo, list, button, check, radio, static, group. A picture control
// lists as static; controls without an id list as -1. Quotes and backslashes in texts are
// escaped with a backslash, line breaks as \n. Every line starts with a line break, as the
// host's messages do.
#pragma once

#include <string>

#include "host/mfc/window.h"

namespace vorn::ui {

const wchar_t* ControlKindWord(vorn::mfc::ControlKind kind);
std::wstring ShowDialog(HWND dialog);

}  // namespace vorn::ui
