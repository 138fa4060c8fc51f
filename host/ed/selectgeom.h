// Plane tests that selection needs: what an entity draws, as segments, against windows and
// polygons.
#pragma once

#include <vector>

class AcDbEntity;

namespace vorn::ed {

struct Pt2 {
    double x = 0, y = 0;
};

// The entity's drawn geometry as segments (arcs in short chords, texts by their box) and its
// vertices; false when it draws nothing.
bool EntityOutline(const AcDbEntity* entity, std::vector<Pt2>& segments);

bool PointInPolygon(const Pt2& p, const std::vector<Pt2>& polygon);
// Segments given as consecutive pairs; polygon closed implicitly.
bool SegmentsCrossPolygon(const std::vector<Pt2>& segments, const std::vector<Pt2>& polygon);
// Every segment end inside and none crossing an edge.
bool SegmentsInsidePolygon(const std::vector<Pt2>& segments, const std::vector<Pt2>& polygon);

}  // namespace vorn::ed
