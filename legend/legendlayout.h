// Where the rows of a legend stand and how large each row's symbol is drawn. Sizes are in
// plotted units times the plot factor s (the print scale, times 0.001 in a metre drawing), the
// factor the names' height goes by, so that a name stands level with its block in every unit.
#pragma once

#include <vector>

#include "host/db/dbid.h"
#include "host/ge/ge.h"

struct KyLegendRowPoints {
    AcGePoint3d block;  // insertion point of the row's block
    AcGePoint3d text;   // insertion point of the row's name
};

// Rows below the handle p: with a the user X axis as a world angle, row i's block stands
// 6.25·s back along a and 6.0·s·(i+1) down the axis a + right angle; its text 1.75·s along a
// and 1.75·s further down.
std::vector<KyLegendRowPoints> LegendRowLayout(const AcGePoint3d& p, double a, double s, int rows);

// The uniform factor that fits a symbol of extents h × w (at scale 1) into a cell
// 9.0·s wide and 4.5·s high. A zero (or unusable) side takes the factor from the other side;
// a symbol with neither is left at factor 1.
double LegendFitFactor(double h, double w, double s);

// Fit factors for a list of blocks: a block whose extents cannot be measured takes the
// previous row's sizes (the cell itself before the first row, which gives factor 1).
std::vector<double> LegendFitFactors(const AcDbObjectIdArray& blocks, double s);

// Height and width of a block's plane extents at scale 1; false when they cannot be measured.
bool LegendSymbolSize(const AcDbObjectId& block, double& h, double& w);
