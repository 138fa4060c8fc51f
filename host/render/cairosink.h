// A drawing-interface sink that paints what entities draw onto a Cairo context through a view.
// The picture writer uses it for the whole drawing; a dialog's preview control, the editor's
// snapshot and the window's drag preview use it for single entities.
//
// On an image surface, strokes of a wide pen (previews: two pixels) are drawn straight into
// its pixels, with the same widths, round ends and joins, and dashes: Cairo's general stroker
// costs microseconds a segment, and a drag preview of a parking row holds tens of thousands.
// Texts, filled areas and one-pixel lines go through Cairo, and so does everything on other
// surfaces (SVG, PDF).
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "host/db/gi.h"
#include "host/render/palette.h"
#include "host/render/view.h"

class AcDbDatabase;

namespace vorn::render {

struct PaintStyle {
    bool lightBackground = false;
    // Preview graphics: every primitive in the highlight colour and a wider pen.
    bool highlight = false;
    double lineWidth = 1.0;  // device units (pixels, or points on paper)
    // The thinnest pen: a pixel on screen; a plot on paper goes finer.
    double minLineWidth = 1.0;
    // A plot: layers that are not to be plotted (and "Defpoints") are left out.
    bool plot = false;
    // Plots in black and white: every colour drawn black.
    bool monochrome = false;
    // Plots: the pen of each primitive in device units (null: lineWidth for all).
    std::function<double(const vorn::db::GiPrimitive&)> pen;
    // Line type dashes are drawn at their length times this and the entity's own scale.
    double dashScale = 1.0;
    // A pattern shorter than this (device units) as drawn is continuous (0: the screen's rule
    // of DevicePattern alone).
    double minPattern = 0.0;
    // Polylines through Cairo keep only the points that shape them within this many device
    // units (0: every point).
    double thinning = 0.0;
    // The dash pattern of the entity being drawn, in drawing units (empty: continuous).
    std::vector<double> dashes;
};

// A box of whole pixels: x0 <= x < x1, y0 <= y < y1 (empty when x0 >= x1).
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class CairoSink : public vorn::db::GiWorldSink {
public:
    // db resolves ByLayer colours and hidden layers; it may be null (everything drawn, ByLayer
    // as the foreground colour). The sink draws within the context's clip as it stands now.
    CairoSink(cairo_t* cr, const View& view, const AcDbDatabase* db, PaintStyle style = {});
    ~CairoSink() override;
    CairoSink(const CairoSink&) = delete;
    CairoSink& operator=(const CairoSink&) = delete;

    PaintStyle& style() { return m_style; }
    // The part of the drawing within the context's clip.
    AcDbExtents viewExtents() const override;
    // Draws one entity with its own line type (ByLayer resolved through its layer).
    void drawEntity(const AcDbEntity* entity);
    // The pixels drawn on so far, when all went straight into an image surface's pixels;
    // false when Cairo drew anything (a text, a fill, a thin line) or the target is not such
    // an image.
    bool paintedBox(PixelBox& box) const;

    // The font family used for every text.
    static const char* FontFamily();

    struct Thinner;
    struct Pixels;
    struct BlockSprite;
    struct BlockSprites;

    // Previews on an image surface: a block drawn once as the coverage of its strokes, laid at
    // every reference that turns and scales it alike (to within a quarter pixel; each reference
    // placed to the nearest whole pixel). Blocks with texts or fills, or larger than a sprite's
    // box, are drawn entity by entity.
    bool placeBlock(const AcDbBlockTableRecord* block, const AcGeMatrix3d& placement, const AcDbEntity* by) override;

protected:
    bool emit(vorn::db::GiPrimitive&& primitive) override;

private:
    bool layerHidden(const AcDbObjectId& layer) const;
    Rgb colourOf(const vorn::db::GiPrimitive& p) const;
    void stroke(const Rgb& c, bool dashed);
    void drawText(const AcGiTextData& text, const Rgb& c);
    double penWidth() const;
    // The points in device pixels (x, y, x, y, ...), and their stroke into the pixels (an image
    // surface only).
    const std::vector<double>& devicePoints(const std::vector<AcGePoint3d>& points);
    void strokePixels(const std::vector<double>& xy, bool closed, const Rgb& c, bool dashed);
    // Whether a primitive can go into a sprite: a stroke within its box.
    bool capturable(const vorn::db::GiPrimitive& p) const;
    // Draws the block into a sprite with its base point at pixel (ax, ay) (moved there from
    // (x, y)); the sprite is unusable when anything of it cannot be held.
    void captureSprite(BlockSprite& sprite, const AcDbBlockTableRecord* block, const AcGeMatrix3d& placement,
                       const AcDbEntity* by, int ax, int ay, double x, double y);

    cairo_t* m_cr;
    View m_view;
    const AcDbDatabase* m_db;
    PaintStyle m_style;
    double m_pen = 1.0;  // the pen of the primitive being drawn, before the highlight
    std::unique_ptr<Pixels> m_pixels;  // null: everything through Cairo
    std::unique_ptr<BlockSprites> m_sprites;
    // While a block's sprite is drawn: what cannot go into it (a text, a fill, a stroke beyond
    // its box) marks it unusable and is not drawn.
    bool m_capturing = false;
    bool m_captureFailed = false;
    bool m_cairoDrew = false;
    std::unique_ptr<Thinner> m_thinner;  // made for the first polyline that is thinned
};

// The dash pattern (drawing units) an entity is drawn with: its own line type or its layer's.
std::vector<double> EntityDashes(const AcDbEntity* entity);

// Paints one text as the pictures show it: CairoSink::FontFamily() with the text's height as
// the height of a capital, its alignment, rotation and width factor. Texts under a third of a
// pixel are left out.
void PaintText(cairo_t* cr, const View& view, const AcGiTextData& text, const Rgb& colour);

// ---- stroking in device pixels (this painter and the window's view) ----

struct DeviceRect {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Cuts the segment to the rectangle (Liang–Barsky); false when it misses it.
bool ClipSegment(const DeviceRect& rect, double& x0, double& y0, double& x1, double& y1);

// A pattern in drawing units as strokes are dashed at scale pixels a unit: each dash and gap
// at least a pixel; empty (continuous) for an odd count or a pattern that repeats within four
// pixels, which reads as a continuous line.
std::vector<double> DevicePattern(const std::vector<double>& dashes, double scale);

// The points (x, y, x, y, ...) of an arc in device space, y down, the angles counter-clockwise
// in the drawing, flattened to within tolerance pixels. Of a circle far larger than rect only
// the angles that can reach rect are flattened, and such an arc may come in two runs; one that
// cannot reach rect gives none.
void FlattenDeviceArc(double cx, double cy, double r, double start, double sweep, double tolerance,
                      const DeviceRect& rect, const std::function<void(const std::vector<double>&)>& run);

// Walks a dash pattern in pixels (on, off, on, ...) along the segments of one stroke: the
// pattern starts with the stroke and runs on across its vertices.
class DashWalker {
public:
    // pattern is kept by reference; null or empty: continuous.
    void start(const std::vector<double>* pattern) {
        m_pattern = pattern && !pattern->empty() ? pattern : nullptr;
        if (m_pattern)
            for (double d : *m_pattern)
                if (!(d > 0.0) || !std::isfinite(d)) m_pattern = nullptr;
        m_index = 0;
        m_left = m_pattern ? (*m_pattern)[0] : 0.0;
        m_total = 0;
        if (m_pattern)
            for (double d : *m_pattern) m_total += d;
    }

    // Hands on(x0, y0, x1, y1) the dashes of the segment from a to b that fall within rect (a
    // continuous stroke: the segment cut to rect), and moves on along the pattern.
    template <typename On>
    void segment(const DeviceRect& rect, double ax, double ay, double bx, double by, On&& on) {
        double cx0 = ax, cy0 = ay, cx1 = bx, cy1 = by;
        const bool meets = ClipSegment(rect, cx0, cy0, cx1, cy1);
        if (!m_pattern) {
            if (meets) on(cx0, cy0, cx1, cy1);
            return;
        }
        const double length = std::hypot(bx - ax, by - ay);
        if (!(length > 0.0)) return;
        if (!meets) {
            advance(length);
            return;
        }
        const double ux = (bx - ax) / length, uy = (by - ay) / length;
        const double from = std::hypot(cx0 - ax, cy0 - ay), to = std::hypot(cx1 - ax, cy1 - ay);
        advance(from);
        for (double t = from; t < to;) {
            const double step = std::min(m_left, to - t);
            if (m_index % 2 == 0) on(ax + ux * t, ay + uy * t, ax + ux * (t + step), ay + uy * (t + step));
            t += step;
            m_left -= step;
            if (m_left <= 0) next();
        }
        advance(length - to);
    }

private:
    void next() {
        m_index = (m_index + 1) % m_pattern->size();
        m_left = (*m_pattern)[m_index];
    }
    void advance(double distance) {
        if (m_total > 0 && distance > m_total) distance = std::fmod(distance, m_total);
        while (distance > 0) {
            const double step = std::min(m_left, distance);
            distance -= step;
            m_left -= step;
            if (m_left <= 0) next();
        }
    }

    const std::vector<double>* m_pattern = nullptr;
    std::size_t m_index = 0;
    double m_left = 0, m_total = 0;
};

}  // namespace vorn::render
