// Paths of vertices with bulges, shared by both polyline kinds and by regions: segment
// geometry, lengths, parameters, closest points, extents and flattening. A bulge is the tangent
// of a quarter of the segment's included angle: positive turns counter-clockwise.
#pragma once

#include <vector>

#include "host/db/dbextents.h"
#include "host/ge/ge.h"

namespace vorn::db {

struct BulgeVertex {
    AcGePoint2d point;
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
    bool operator==(const BulgeVertex& o) const {
        return point.x == o.point.x && point.y == o.point.y && bulge == o.bulge &&
               startWidth == o.startWidth && endWidth == o.endWidth;
    }
};

// One segment as a line (isArc false) or an arc: centre, radius, start angle, signed sweep.
struct BulgeSegment {
    AcGePoint2d start, end;
    bool isArc = false;
    AcGePoint2d centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0;
    double length() const;
    AcGePoint2d pointAt(double fraction) const;
    AcGeVector2d tangentAt(double fraction) const;  // the derivative per unit fraction
    // The fraction [0, 1] of the nearest point to p, and that point.
    double closestFraction(const AcGePoint2d& p, AcGePoint2d& closest) const;
    void addToExtents(AcDbExtents& ext, double z) const;
};

// Segment i of the path (from vertex i to i + 1, the last back to 0 when closed). A bulge on
// a zero-length or non-finite chord gives a line.
BulgeSegment SegmentAt(const std::vector<BulgeVertex>& v, bool closed, int i);
int SegmentCount(const std::vector<BulgeVertex>& v, bool closed);
double PathLength(const std::vector<BulgeVertex>& v, bool closed);
AcDbExtents PathExtents(const std::vector<BulgeVertex>& v, bool closed, double z);
// Signed area enclosed (counter-clockwise positive), the bulges' circular segments included.
double PathSignedArea(const std::vector<BulgeVertex>& v, bool closed);
// Tolerances below: 0 means the default arc chord tolerance; a negative tol is relative, the
// chords straying at most -tol times the arc's radius (the same chord count for every radius).
// A positive tol is a view's (a fraction of its pixel): the chords follow it alone, down to a
// few per turn, so that an arc a few pixels wide costs a few chords; the default and relative
// tolerances keep at least 64 chords per turn.
// The vertices of a flattened path; chords stray at most the arc chord tolerance (or tol).
std::vector<AcGePoint2d> FlattenPath(const std::vector<BulgeVertex>& v, bool closed, double tol = 0.0);
// Appends points of an arc (the start point excluded) flattened to tol (0: default tolerance).
void FlattenArc(const AcGePoint2d& centre, double radius, double startAngle, double sweep,
                std::vector<AcGePoint2d>& out, double tol = 0.0);
// The number of chords for an arc of that radius and sweep under the chord tolerance.
int ArcSegmentCount(double radius, double sweep, double tol = 0.0);
// The bulge of an arc of this signed sweep.
double BulgeFromSweep(double sweep);

}  // namespace vorn::db
