// A large site plan for the view benchmarks: a grid of plots, each with its road edges and
// kerb arcs, buildings, parking rows with their space numbers and parked cars, trees, lamps,
// contour lines, paving marks, labels, and construction lines on a layer that is off.
#pragma once

#include <memory>

#include "host/db/db.h"

namespace vorn::bench {

// What a plot holds and where the site lies (millimetres).
struct SitePlan {
    int plotsX = 50, plotsY = 20;
    static constexpr double kPlot = 80000.0;     // a plot is 80 m square
    static constexpr int kPerPlot = 1000;         // entities per plot
    int entities() const { return plotsX * plotsY * kPerPlot; }
    double width() const { return plotsX * kPlot; }
    double height() const { return plotsY * kPlot; }
};

// The drawing of site (plotsX × plotsY × 1000 model-space entities), with the car block loaded
// from the support folder (a missing file leaves the cars out; car is then null).
std::unique_ptr<AcDbDatabase> MakeSiteDrawing(const SitePlan& site, AcDbObjectId* car = nullptr);

// A point among the parking rows of plot (i, j): dense with spaces, numbers and cars.
AcGePoint3d DensePoint(int i, int j);
// A point in the middle of the road between plots (i, j) and (i + 1, j): only road edges near.
AcGePoint3d SparsePoint(int i, int j);

}  // namespace vorn::bench
