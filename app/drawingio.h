// The drawing of a vorncad session: opened or created at start, saved and drawn at the end.
#pragma once

#include <string>

#include "app/options.h"

namespace vorn::app {

// A new drawing (options.units) or the DXF options.drawing; false with "FILE: reason".
bool OpenDrawing(const Options& options, std::string& error);
// The host's services that need the drawing: snapshots of the view.
void InstallDrawingServices();
// Pixels of the pictures drawn by RenderDrawing and by snapshots (--size); 1600 x 1200 unless set.
void SetPictureSize(int width, int height);
// Atomic: a temporary file, then a rename; the old file stays on failure.
bool SaveDrawing(const std::string& path, std::string& error);
bool RenderDrawing(const std::string& path, std::string& error);
// --plot: the sheet, scale and plot style are checked before the script runs (false: a bad
// option), and the drawing plotted after it (false: not written, the old file stays).
bool CheckPlotOptions(const Options& options, std::string& error);
bool PlotDrawing(const Options& options, std::string& error);

}  // namespace vorn::app
