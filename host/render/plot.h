// Plots: the drawing on a sheet of paper at a true scale, as a PDF (or a PNG or SVG from the
// same painting). A white sheet, colour 7 in black, pens from the drawing's line weights or
// from a plot style table by colour, line types dashed at the plot scale, texts as text.
#pragma once

#include <array>
#include <string>

#include "host/db/dbextents.h"

class AcDbDatabase;
typedef struct _cairo cairo_t;

namespace vorn::render {

// A sheet in millimetres, as wide and high as it lies on the table.
struct Sheet {
    std::string name = "A3";
    double width = 420.0;
    double height = 297.0;
};

// "A0" ... "A4" (landscape), "A0P" ... "A4P" (portrait), or "WxH" in millimetres (10 to 5000
// each); case does not matter. False with what was expected.
bool ParseSheet(const std::string& text, Sheet& sheet, std::string& error);

// "1:500" (or "2:1") gives the denominator 500 (0.5): drawing millimetres per sheet millimetre;
// "fit" gives 0. False with what was expected.
bool ParsePlotScale(const std::string& text, double& denominator, std::string& error);
// The denominator as "1:500" ("1:523.4" for a fitted plot).
std::string PlotScaleText(double denominator);

// Pens by colour: the weight in millimetres of each standard colour index, for what the
// drawing gives no line weight of its own.
struct PlotStyleTable {
    std::string file;                  // where it was read from ("" for the built-in one)
    double fallback = 0.18;            // colours the table does not name, true colours
    std::array<double, 257> weights{};  // by colour index; 0: the fallback
    double weightOf(int aci) const;
};

// Reads a plot style table (JSON): {"default": 0.18, "colours": {"1": 0.25, "7": 0.35}}, weights
// in millimetres above 0 and at most 5. False with the file, the entry and what was expected.
bool LoadPlotStyle(const std::string& file, PlotStyleTable& table, std::string& error);

struct PlotOptions {
    std::string file;      // .pdf, .png or .svg
    Sheet sheet;
    double scale = 0.0;    // denominator, 500 for 1:500; 0 fits the area into the sheet
    AcDbExtents area;      // invalid: the drawing's extents
    // Centred on the sheet, or the area's lower left corner at offset millimetres from the
    // lower left corner of the printable area.
    bool centred = true;
    double offsetX = 0.0, offsetY = 0.0;
    double margin = 10.0;  // millimetres left blank on each side
    bool monochrome = false;
    PlotStyleTable style;
    double dpi = 150.0;    // PNG only
};

// What a plot came to.
struct PlotReport {
    double scale = 0.0;               // the denominator used
    double areaWidth = 0.0, areaHeight = 0.0;  // the area on the sheet, millimetres
    bool cut = false;                 // the area reaches beyond the printable area
    // Where it lies: its lower left corner left and bottom millimetres from the sheet's lower
    // left corner, that corner the drawing's point origin; sheet millimetres per drawing unit.
    double left = 0.0, bottom = 0.0;
    AcGePoint3d origin;
    double paperPerUnit = 1.0;
};

// Paints the plot (options.file aside) into cr: the sheet with its top left corner at the origin,
// unit device units a sheet millimetre; the painting PlotDrawing writes, for a preview, where no
// pen is finer than thinnest device units (a pixel, so that fine pens still show). False with
// what is wrong with the margins.
bool PaintPlot(cairo_t* cr, const AcDbDatabase& db, const PlotOptions& options, double unit, double thinnest,
               PlotReport& report, std::string& error);

// Plots model space into options.file, written atomically (the old file stays on failure).
// False with a message naming the file and the reason.
bool PlotDrawing(const AcDbDatabase& db, const PlotOptions& options, PlotReport& report, std::string& error);

}  // namespace vorn::render
