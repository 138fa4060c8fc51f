// PLOT: the drawing on a sheet at scale. The program's --plot option plots through the same
// calls at the end of a script.
#pragma once

#include <functional>
#include <string>

#include "host/render/picturefile.h"
#include "host/render/plot.h"

class AcDbDatabase;

namespace vorn::cmds {

// The plot style table of a plot: file, or else plotstyle.json of the support directory (the
// built-in table when there is none). False with the file and what is wrong with it.
bool PlotStyleTableFor(const std::string& file, vorn::render::PlotStyleTable& table, std::string& error);

// Plots db and says on the command line what came of it (the sheet, the scale, a cut-off
// area). False with the reason; the old file then stays.
bool PlotAndReport(const AcDbDatabase& db, const vorn::render::PlotOptions& options, std::string& error);

// What PLOT asks for, as its prompts take it and as a window's plot dialog shows it.
struct PlotChoices {
    std::wstring sheet = L"A3";  // as typed: A1, A1P, 420x297
    std::wstring scale;          // 1:500, or Fit; empty: 1:PRINTSCALE
    enum class Area { Extents, Window, View } area = Area::Extents;
    AcDbExtents window;          // the window's corners, once given
    AcDbExtents view;            // what the window's view shows; invalid without a window
    bool centred = true;
    double offsetX = 0.0, offsetY = 0.0;  // millimetres, when not centred
    double margin = 10.0;
    bool monochrome = false;
    std::wstring file;
};

// The plot the choices make, with the support directory's plot style table. False with what
// is wrong and what is expected (a sheet, a scale, the margins, the area, the file).
bool PlotOptionsOf(const AcDbDatabase& db, const PlotChoices& choices, vorn::render::PlotOptions& options,
                   std::string& error);

// A window's plot dialog, shown by PLOT with the last plot's choices: 1 plots with the choices
// it leaves, 0 cancels, 2 asks for the window's corners in the drawing (the dialog comes again
// after them), -1 does not take the call (no window, a script running): the prompts ask.
using PlotDialog = std::function<int(const AcDbDatabase& db, PlotChoices& choices)>;
void SetPlotDialog(PlotDialog dialog);

// PLOT, and the line type scales LTSCALE and PSLTSCALE that plots honour.
void RegisterPlotCommands();

}  // namespace vorn::cmds
