// Parking spaces along a picked curve: each straight segment starts a row of its own at its
// start vertex, each arc segment gets radial spaces outside or inside it.
#pragma once

#include <vector>

#include "geometry/KyGeArc2d.h"
#include "geometry/KyGeObjList.h"
#include "geometry/KyGePoint.h"
#include "host/db/dbid.h"

// Side 1 when p lies left of the segment's direction of travel, else 2.
int SideOfFirstSegment(const KyGeCurve2d& segment, const KyGePoint& p);

// The outlines of spaces of width w (the chord) and depth d square to the chord, standing on
// arc and reaching away from its centre: closed polylines p0, p1, q1, q0 (p0 and p1 on the
// arc, q1 and q0 farther out on the same rays), appended in order from the arc's start. None
// when the arc is shorter than w or no chord of length w fits its circle (both with the message
// "空间太小！"), or for a width or depth that is not a positive finite number.
void BuildArcOutlines(const KyGeArc2d& arc, double w, double d, KyGeObjList& outlines);

// What goes with one arc space besides its outline: the style mark (empty for styles 0 and 3)
// and the car's place and turn.
struct KyParkArcExtras {
    std::vector<KyGePoint> mark;
    KyGePoint carAt;
    double carRotation = 0.0;
};
// For an outline p0, p1, q1, q0 of side 1 (outside the row arc) or 2 (inside); centre is the
// base arc's centre; wide when the space is longer along the row than deep.
KyParkArcExtras ArcSpaceExtras(const KyGePoint quad[4], int style, int side, const KyGePoint& centre,
                               bool wide);

// Writes the outlines with their marks or cars on layer "PLAN-CAR_PLACE".
void AddArcRow(const KyGeObjList& outlines, int style, int side, const AcDbObjectId& carBlock,
               const KyGePoint& centre, bool wide);
// One side of an arc row: side 1 on the arc outwards, side 2 on the arc moved d towards its
// centre (no spaces, with "空间太小！", when that arc would vanish).
void ArcRowSide(const KyGeArc2d& arc, double w, double d, int style, int side, const AcDbObjectId& carBlock);
// The arc's side, and with two rows the other side as well.
void LayoutAlongArc(const KyGeArc2d& arc, double w, double d, int rows, int style, int side,
                    const AcDbObjectId& carBlock);
// A row of spaces of spacing w on a straight segment, from its start; "空间太小！" when the
// segment is shorter than w.
void LayoutAlongSegment(const KyGeCurve2d& segment, double w, double d, int rows, double a, int side,
                        int style, const AcDbObjectId& carBlock);
// Every segment of the curve entity in order, the side taken from the side point against the
// first segment and kept along the curve. False when the entity is no curve that converts (a
// message then says so).
bool LayoutAlongCurve(double w, double d, const KyGePoint& sidePoint, double a, int style, int rows,
                      const AcDbObjectId& carBlock, const AcDbObjectId& curve);
