// The drawing interface: entities draw themselves into an AcGiWorldDraw sink (traits, then
// polylines, circles, arcs, texts and filled polygons, under a stack of model transforms).
// The renderer, pick distances, extents of custom entities and the export of framework
// entities as graphics all read entities through this one interface. Two ready sinks follow:
// one that collects the primitives in world coordinates, one that measures a distance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/db/dbcolor.h"
#include "host/db/dbextents.h"
#include "host/db/dbid.h"
#include "host/ge/ge.h"

class AcDbBlockTableRecord;
class AcDbEntity;

// Colour and layer of what is drawn next.
class AcGiSubEntityTraits {
public:
    virtual ~AcGiSubEntityTraits() = default;
    // A standard colour index (0 ByBlock, 256 ByLayer).
    virtual void setColor(std::uint16_t aci) = 0;
    virtual void setTrueColor(const AcCmColor& color) = 0;
    virtual void setLayer(const AcDbObjectId& layerId) = 0;
    virtual std::uint16_t color() const = 0;
    virtual AcCmColor trueColor() const = 0;
    virtual AcDbObjectId layerId() const = 0;
};

// A text as drawn: the anchor point is the insertion point for left-aligned base-line text and
// the alignment point otherwise; the horizontal and vertical modes say how the string sits
// against it. The direction is given by the rotation (radians from the X axis).
struct AcGiTextData {
    AcGePoint3d position;
    double height = 1.0;
    double rotation = 0.0;
    double widthFactor = 1.0;
    double oblique = 0.0;
    std::wstring text;
    int horizontalMode = 0;  // AcDb::TextHorzMode
    int verticalMode = 0;    // AcDb::TextVertMode
    std::wstring fontFile;   // the text style's font, empty for the renderer's default
};

class AcGiGeometry {
public:
    virtual ~AcGiGeometry() = default;
    // Each returns true when the caller should stop drawing (the sink has what it needs).
    virtual bool polyline(const std::vector<AcGePoint3d>& points, bool closed = false) = 0;
    virtual bool circle(const AcGePoint3d& centre, double radius) = 0;
    // Counter-clockwise from startAngle through sweep radians (negative sweep: clockwise).
    virtual bool circularArc(const AcGePoint3d& centre, double radius, double startAngle, double sweep) = 0;
    virtual bool text(const AcGiTextData& text) = 0;
    // A filled area bounded by the closed polygon.
    virtual bool polygon(const std::vector<AcGePoint3d>& points) = 0;
    // Everything drawn until the matching pop is transformed by m (after the current transform).
    virtual void pushModelTransform(const AcGeMatrix3d& m) = 0;
    virtual void popModelTransform() = 0;
    // The product of the pushed transforms.
    virtual AcGeMatrix3d modelTransform() const = 0;

    // Convenience: a line from a to b.
    bool line(const AcGePoint3d& a, const AcGePoint3d& b) { return polyline({a, b}, false); }
};

class AcGiWorldDraw {
public:
    virtual ~AcGiWorldDraw() = default;
    virtual AcGiGeometry& geometry() = 0;
    virtual AcGiSubEntityTraits& subEntityTraits() = 0;
    // True when the sink wants no more (a pick test that found its answer).
    virtual bool regenAbort() const { return false; }
    // Chord tolerance in drawing units a sink wants arcs flattened to (0: the default).
    virtual double deviation() const { return 0.0; }
    // The part of the world the sink shows, in world coordinates (invalid: not known). Geometry
    // without end (construction lines, rays) is drawn clipped to it.
    virtual AcDbExtents viewExtents() const { return AcDbExtents(); }
    // Draws a whole block placed by the matrix (within the current model transform) in a way
    // of the sink's own, such as a picture of it drawn once and laid at each reference; false:
    // the caller draws the block's entities one by one.
    virtual bool placeBlock(const AcDbBlockTableRecord* /*block*/, const AcGeMatrix3d& /*placement*/,
                            const AcDbEntity* /*by*/) {
        return false;
    }
};

namespace vorn::db {

// Draws an entity: sets the traits to the entity's colour and layer, then calls its worldDraw.
void DrawEntity(const AcDbEntity* entity, AcGiWorldDraw* draw);

// One primitive in world coordinates. Arcs under a transform that does not keep circles round
// (non-uniform scale) arrive as polylines.
struct GiPrimitive {
    enum Kind { kPolyline, kPolygon, kArc, kText };
    Kind kind = kPolyline;
    AcCmColor color;         // as the traits gave it (may be ByLayer or ByBlock)
    AcDbObjectId layerId;
    std::vector<AcGePoint3d> points;  // polyline and polygon vertices
    bool closed = false;
    AcGePoint3d centre;      // arc
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0;      // 2pi for a circle
    AcGiTextData text;       // text, with position, height and rotation in world terms
};

// Base of the ready sinks: keeps traits and the transform stack and hands each primitive to
// emit() in world coordinates.
class GiWorldSink : public AcGiWorldDraw, public AcGiGeometry, public AcGiSubEntityTraits {
public:
    GiWorldSink();
    ~GiWorldSink() override;

    AcGiGeometry& geometry() override { return *this; }
    AcGiSubEntityTraits& subEntityTraits() override { return *this; }

    bool polyline(const std::vector<AcGePoint3d>& points, bool closed = false) override;
    bool circle(const AcGePoint3d& centre, double radius) override;
    bool circularArc(const AcGePoint3d& centre, double radius, double startAngle, double sweep) override;
    bool text(const AcGiTextData& text) override;
    bool polygon(const std::vector<AcGePoint3d>& points) override;
    void pushModelTransform(const AcGeMatrix3d& m) override;
    void popModelTransform() override;
    AcGeMatrix3d modelTransform() const override;

    void setColor(std::uint16_t aci) override;
    void setTrueColor(const AcCmColor& color) override;
    void setLayer(const AcDbObjectId& layerId) override;
    std::uint16_t color() const override { return m_color.colorIndex(); }
    AcCmColor trueColor() const override { return m_color; }
    AcDbObjectId layerId() const override { return m_layer; }

protected:
    // Receives each primitive in world coordinates; returns true to stop.
    virtual bool emit(GiPrimitive&& primitive) = 0;

private:
    bool emitArc(const AcGePoint3d& centre, double radius, double startAngle, double sweep);
    std::vector<AcGeMatrix3d> m_stack;
    AcCmColor m_color;
    AcDbObjectId m_layer;
};

// The outline of a filled polygon as it is stroked: its edges but those it runs along both
// ways (the bridges that join a fill's islands to its outline), as runs of points. A polygon
// without such edges is one run, closed (closed set true).
std::vector<std::vector<AcGePoint3d>> PolygonOutline(const std::vector<AcGePoint3d>& points, bool& closed);

// Collects every primitive drawn.
class GiCollector : public GiWorldSink {
public:
    std::vector<GiPrimitive> primitives;
    // The box of everything collected (text by an estimate of its size).
    AcDbExtents extents() const;

protected:
    bool emit(GiPrimitive&& primitive) override;
};

// Measures the plan distance from a point to everything drawn (0 inside a filled polygon or
// on a text's box). Stops early once something lies within stopBelow.
class GiDistanceMeter : public GiWorldSink {
public:
    explicit GiDistanceMeter(const AcGePoint3d& point, double stopBelow = 0.0);
    // The smallest distance so far; a very large value when nothing was drawn.
    double distance() const { return m_best; }
    bool hit() const { return m_any; }
    bool regenAbort() const override { return m_any && m_best <= m_stopBelow; }

protected:
    bool emit(GiPrimitive&& primitive) override;

private:
    AcGePoint3d m_point;
    double m_stopBelow;
    double m_best;
    bool m_any = false;
};

// The four corners (counter-clockwise from the lower left) of a text's box. The database knows
// no font metrics: each character counts the widest the renderer's fonts draw it (up to 1.35
// heights, a wide CJK character's em) times the width factor, so the box holds the whole text.
std::vector<AcGePoint3d> TextBox(const AcGiTextData& text);
// The estimated advance of a string in heights, before the width factor, for laying text out
// (a character advances 0.7 heights, 1 for wide CJK characters); the box above counts wider.
double TextAdvance(const std::wstring& text);

}  // namespace vorn::db
