// Road edges from the picked segment: the centre curve and both edges by the positioning line
// and the widths of the road settings, written on the road layers.
#pragma once

#include <memory>

#include "road/roadcurve.h"

class KyRoadDlg;

// The three lines of one segment; any may be missing when its offset cannot be made.
struct KyRoadSegmentLines {
    std::unique_ptr<KyGeCurve2d> centre, left, right;
};

// The picked curve is the centre (posLine 0), the left edge (1) or the right edge (2; any
// other value too). The edges always come from the centre curve.
KyRoadSegmentLines DeriveRoadLines(const KyGeCurve2d& picked, int posLine, double leftWidth,
                                   double rightWidth);

// Writes the segment with the current settings; always 1. When nothing could be drawn (an
// edge or the centre cannot be made) it says so on the command line.
int DrawRoadSegment(const KyGeCurve2d& picked, KyRoadDlg* dialog);
// The edges of a centre curve, handed to junction processing and otherwise written plain:
// edges on "PLAN-ROAD", the centre on "PLAN-ROAD_CENTER" when the option is on. False when
// nothing was written because an edge could not be made.
bool DrawRoadFromCenter(const KyGeCurve2d& centre, KyRoadDlg* dialog);
// A segment the road command does not draw, said on the command line: one shorter than the
// road is wide (it would leave edge stubs inside the bend), one drawn along an existing road
// (doubled edges and centre lines), or one turning back by more than 150 degrees out of the end
// of a road (pavements over each other). The road then goes on from the last point kept.
bool RefuseRoadSegment(const KyGeCurve2d& picked);
// Tells the user that a picked segment gave no road (a zero-length line, three points on a
// line, or an arc too tight for the width on its inner side).
void ReportRoadSegmentNotDrawn();
