// Pictures of a dialog at its dialog-unit layout, drawn with Cairo into PNG, SVG or PDF.
#pragma once

#include <string>

#include "host/mfc/window.h"

namespace vorn::ui {

// Pixels per dialog unit, from the base units of a 9-point font at 96 dots per inch (a character
// cell of 6 × 12 pixels: 4 horizontal and 8 vertical dialog units per cell).
constexpr double kDluToPixelX = 1.5;
constexpr double kDluToPixelY = 1.5;
// Caption bar and frame around the client area, in pixels.
constexpr double kCaptionHeight = 22.0;
constexpr double kFrameWidth = 3.0;

// Draws the dialog window into file (its extension picks PNG, SVG or PDF). False with a message
// naming the file and what was wrong.
bool DrawDialogPicture(HWND dialog, const std::string& file, std::wstring& error);

}  // namespace vorn::ui
