// Pictures of a dialog at its dialog-unit layout, drawn with Cairo into PNG, SVG or PDF.
#pragma once

#include <string>

#include "host/mfc/window.h"

namespace vorn::ui {

// Controls are placed at vorn::mfc::kDluToPixelX/Y pixels per dialog unit. Caption bar and frame around the client area, in pixels.
constexpr double kCaptionHeight = 22.0;
constexpr double kFrameWidth = 3.0;

// Draws the dialog window into file (its extension picks PNG, SVG or PDF). False with a message
// naming the file and what was wrong.
bool DrawDialogPicture(HWND dialog, const std::string& file, std::wstring& error);

}  // namespace vorn::ui
