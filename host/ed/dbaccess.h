// The few things the editor asks of the drawing database, in one place: the working drawing,
// model space in database order, candidates near a point or in a box, what an entity draws,
// and the change log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/ed/jigbase.h"

class AcDbDatabase;
class AcDbExtents;
class AcDbUndoChunk;

namespace vorn::ed::dbx {

AcDbDatabase* Working();
std::vector<AcDbObjectId> ModelSpace();
// Model-space entities whose extents meet the box (XY), in database order.
std::vector<AcDbObjectId> InBox(const AcGePoint3d& lo, const AcGePoint3d& hi);
// Model-space entities whose extents come within reach of p, in database order.
std::vector<AcDbObjectId> Near(const AcGePoint3d& p, double reach);
// The plan distance from p to what the entity draws; false when it draws nothing.
bool Distance(const AcDbEntity* entity, const AcGePoint3d& p, double& distance);
// The entity's box; false when it has none.
bool Extents(const AcDbEntity* entity, AcGePoint3d& lo, AcGePoint3d& hi);
// The entity's drawing type name ("LINE", "VORN_INSERT").
std::wstring TypeName(const AcDbEntity* entity);

// What an entity draws, in world coordinates.
struct Primitive {
    enum Kind { kPolyline, kArc, kText } kind = kPolyline;
    std::vector<AcGePoint3d> points;  // polyline vertices
    bool closed = false;
    AcGePoint3d centre;  // arcs; sweep counter-clockwise, 2pi for a circle
    double radius = 0, start = 0, sweep = 0;
    AcGePoint3d position;  // texts
    double height = 0, rotation = 0, width = 0;
};
std::vector<Primitive> Primitives(const AcDbEntity* entity);

// The change log of the working drawing.
std::size_t UndoPosition();
// Undoes the changes after position; the chunk can bring them back. False when an object is
// open or the position is gone.
bool RevertTo(std::size_t position, std::shared_ptr<AcDbUndoChunk>& chunk);
bool Reapply(AcDbUndoChunk& chunk);

// The two words of an entity name, and back (false for a name of no object of the drawing).
void NameOf(const AcDbObjectId& id, std::int64_t& first, std::int64_t& second);
bool IdOf(std::int64_t first, std::int64_t second, AcDbObjectId& id);

// The current layer's name, and making an existing layer current.
std::wstring CurrentLayerName();
bool SetCurrentLayer(const std::wstring& name);

// Appends an entity to model space and closes it; null id (and the entity deleted) on failure.
AcDbObjectId AppendToModelSpace(AcDbEntity* entity);

}  // namespace vorn::ed::dbx
