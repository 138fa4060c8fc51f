// PLOT: the drawing on a sheet at scale. The program's --plot option plots through the same
// calls at the end of a script.
#pragma once

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

// PLOT, and the line type scales LTSCALE and PSLTSCALE that plots honour.
void RegisterPlotCommands();

}  // namespace vorn::cmds
