// Junctions between a new road segment and the roads already in the drawing.
#pragma once

class KyGeCurve2d;
struct KyGePoint;

// Opens the junctions the new edges make with existing road edges and writes the segment
// itself; true when it did. False when an input is null or nothing is crossed: the caller
// then writes the plain segment.
bool ProcessRoadJunctions(const KyGeCurve2d* left, const KyGeCurve2d* right,
                          const KyGeCurve2d* centre);

// An existing road line or arc (edge or centre line) runs along the new road's pavement between
// its edges left and right for a length, as where a road is drawn over another: true, with a
// point where it does into at.
bool FindRoadAlong(const KyGeCurve2d& left, const KyGeCurve2d& right, const KyGeCurve2d& centre,
                   KyGePoint& at);

// The new road (centre line centre) runs on out of or into the open end of an existing road
// there: the turn from the one to the other in degrees, the largest where both its ends do;
// at is that end of centre. 0 when neither end does.
double FindRoadTurnBack(const KyGeCurve2d& centre, KyGePoint& at);

// How junction processing finds the road edges it works with: through the drawing's spatial
// index (the edges near the new segment, near each crossed edge and near each new piece), or by
// reading every road edge of the drawing. Both give the same junctions; the plain scan is kept
// for comparison.
enum class KyRoadSearch { kIndexed, kPlainScan };
void SetRoadJunctionSearch(KyRoadSearch search);
KyRoadSearch GetRoadJunctionSearch();
