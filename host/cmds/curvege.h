// The drawing's curves (lines, arcs, circles, polylines light and old-style) as plane curves of the
// geometry library and back, for the commands that cut, extend and offset them.
#pragma once

#include <memory>
#include <vector>

#include "geometry/KyGeometry.h"
#include "host/db/db.h"

namespace vorn::cmds {

// The entity's curve in world XY; null for other kinds (and for a polyline without a segment).
// Arcs and circles come counter-clockwise, as the drawing keeps them.
std::unique_ptr<KyGeCurve2d> CurveOf(const AcDbEntity* entity);
// The elevation the entity's curve lies at.
double ElevationOf(const AcDbEntity* entity);

// Gives entity the geometry of curve when both are of one kind (a line and a segment, an arc
// and an arc, a polyline and a polyline; a circle takes a circle). False, and the entity
// unchanged, for another pairing or a curve with a coordinate that is not finite.
bool SetCurve(AcDbEntity* entity, const KyGeCurve2d& curve);
// A new entity of the curve's own kind at elevation z; null for a curve with a coordinate that
// is not finite.
AcDbEntity* NewEntityOf(const KyGeCurve2d& curve, double z);

// Puts curves in the drawing in place of the entity id: the first on the entity itself when
// the kinds allow (keeping its handle and data), the others as copies of it with their own
// geometry. The entity is erased when nothing of it remains. False when it could not be done;
// then the drawing is as it was.
bool ReplaceCurve(const AcDbObjectId& id, const std::vector<std::unique_ptr<KyGeCurve2d>>& pieces);

}  // namespace vorn::cmds
