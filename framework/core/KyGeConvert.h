// Conversions between host curve entities and geometry objects of the geometry library.
#pragma once

class AcDbEntity;
class KyGeObject;

// A new geometry object for a line (segment), arc (arc), lightweight or old-style polyline
// (KyGePolyline2d, bulges and closure kept) or circle (a full circle as a closed
// KyGePolyline2d of two half-circle bulges); null for other entities or degenerate ones.
KyGeObject* AcDb2KyGe(const AcDbEntity* entity);
// A new host entity for a geometry object: segment → line, arc → arc (counter-clockwise, as
// host arcs run), full circle → circle, polyline → lightweight polyline; null for unbounded
// lines, points and other kinds. The entity has the drawing defaults.
AcDbEntity* KyGe2AcDb(const KyGeObject* object);
