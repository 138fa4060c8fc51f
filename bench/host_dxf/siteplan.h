// The drawing the DXF benchmarks open and save: a site plan as a designer hands it over.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/db/db.h"

namespace vorn::bench {

// A site plan of `entities` model-space entities in millimetres, in the city's coordinates
// (seven digits before the point), laid out parcel by parcel on a street grid: parcel outlines
// with rounded corners, buildings with their hatches, numbers, storeys and dimensions, trees,
// shrubs and lamps as block references (some trees with an attribute), kerbs and centre lines
// with their returns, manholes, parking stalls, spot levels, notes in paragraph text, contour
// splines and survey points, on eighteen layers named in Chinese. The kinds the host does not
// model (HATCH, DIMENSION, SPLINE, POINT) are kept entities holding the groups a drawing
// program writes for them. Where the computation gives them (contours), coordinates carry all
// their digits; elsewhere whole millimetres, as a designer snaps to.
std::unique_ptr<AcDbDatabase> MakeSitePlan(int entities);

// A window of 8 × 8 m in the middle of the site, across a parcel's corner and its kerb.
AcDbExtents WindowInTheMiddle(int entities);

// How many model-space entities of each record type the drawing holds ("LINE" -> 47,000).
std::map<std::string, int> CountKinds(const AcDbDatabase& db);

}  // namespace vorn::bench
