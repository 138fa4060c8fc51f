// Drawing access shared by the elevation and slope commands: the selection filters, reading an
// elevation mark, a picked curve as a polyline, and points projected on a base line.
#pragma once

#include <string>

#include "framework/select/KyAdsRBList.h"
#include "geometry/KyGePolyline2d.h"
#include "host/db/dbid.h"
#include "host/ge/ge.h"

class KyDbSymbElevation;

// Filters of the framework's elevation marks and of the curves a base line may be picked from.
KyAdsRBList KyAnnoElevationFilter();
KyAdsRBList KyAnnoBaseCurveFilter();

// What the commands read from an elevation mark.
struct KyAnnoElevationMark {
    AcGePoint3d location;
    std::wstring text;
    double elevation = 0.0;  // the text read as a number (0 when it is none)
    std::wstring problem;    // why the text is no usable elevation; empty when it is
};

// Reads the mark with that id; false when it cannot be opened or is no elevation mark. With
// copy given, a new detached copy of the mark (owned by the caller) is handed out too.
bool KyAnnoReadElevationMark(const AcDbObjectId& id, KyAnnoElevationMark& mark,
                             KyDbSymbElevation** copy = nullptr);

// The line, arc or polyline with that id as a polyline (arcs kept as bulges); false when it
// cannot be opened or is no such curve.
bool KyAnnoCurveAsPolyline(const AcDbObjectId& id, KyGePolyline2d& out);

// The straight polyline from a to b.
KyGePolyline2d KyAnnoSegmentLine(const AcGePoint3d& a, const AcGePoint3d& b);

// The foot of p on the base line. True when p has a perpendicular foot on the line or lies on
// it, an open end included (a mark standing on the line's end is on the line); false for a
// point beyond an open end, out then holding that end.
bool KyAnnoProjectOnLine(const KyGePolyline2d& line, const AcGePoint3d& p, AcGePoint3d& out);

// The nearest point of the base line to p, ends included; z taken from p.
AcGePoint3d KyAnnoNearestOnLine(const KyGePolyline2d& line, const AcGePoint3d& p);

// Plane conversions between the host's and the geometry library's points.
KyGePoint KyAnnoGePoint(const AcGePoint3d& p);
