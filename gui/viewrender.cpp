// The view's cached picture of model space. The entities the window meets come from the spatial
// index with their boxes, in the drawing's order. Line work is drawn one pixel wide and
// anti-aliased straight into the image (a general-purpose stroker costs microseconds a segment,
// too much for a screen of a million entities); texts large enough to read and filled areas go
// through Cairo with the pictures' font and colours.
#include "gui/viewrender.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/db/db.h"
#include "host/render/cairosink.h"
#include "host/render/palette.h"

namespace vorn::gui {

using vorn::db::GiPrimitive;
using vorn::render::View;

namespace {

constexpr double kFullTurn = 6.283185307179586476925286766559;
// How far a flattened arc may stray from the true one, in pixels.
constexpr double kChordTolerance = 0.2;
// Blocks and custom entities smaller than this many pixels each way are painted as their box.
constexpr double kSmallBlot = 3.0;
// Line work is clipped to the image grown by this margin (pixels), so that no stroke ends
// short of the edge.
constexpr double kClipMargin = 2.0;

std::uint32_t Pack(const vorn::render::Rgb& c) {
    const auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

bool SameNameNoCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return i == a.size() && !b[i];
}

// The image's pixels, opaque 0xFFRRGGBB, and the one-pixel line work drawn into them.
class Pixels {
public:
    explicit Pixels(QImage& image)
        : m_bits(reinterpret_cast<std::uint32_t*>(image.bits())),
          m_stride(static_cast<int>(image.bytesPerLine() / 4)),
          m_width(image.width()),
          m_height(image.height()) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    std::uint32_t& at(int x, int y) { return m_bits[static_cast<std::ptrdiff_t>(y) * m_stride + x]; }

    // The pixel under device point (x, y) takes colour outright.
    void dot(double x, double y, std::uint32_t colour) {
        if (!(x >= 0 && y >= 0 && x < m_width && y < m_height)) return;
        at(static_cast<int>(x), static_cast<int>(y)) = colour;
    }

    // A line one pixel wide from (x0, y0) to (x1, y1), device coordinates. Each pixel centre
    // column (or row, for steep lines) in [start, end) is covered once, split between the two
    // pixels the line passes between, so that polylines join without gaps or doubled pixels.
    void line(double x0, double y0, double x1, double y1, std::uint32_t colour) {
        if (!vorn::render::ClipSegment(area(), x0, y0, x1, y1)) return;
        // Pixel (i, j) covers [i, i + 1) × [j, j + 1): centres at whole numbers from here on.
        x0 -= 0.5, y0 -= 0.5, x1 -= 0.5, y1 -= 0.5;
        const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
        if (steep) {
            std::swap(x0, y0);
            std::swap(x1, y1);
        }
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const double dx = x1 - x0;
        if (!(dx > 1e-9)) return;
        const double g = (y1 - y0) / dx;
        // A line one pixel wide covers sqrt(1 + g²) pixels of each column it crosses.
        const double weight = std::sqrt(1.0 + g * g) * 256.0;
        const int i0 = static_cast<int>(std::ceil(x0)), i1 = static_cast<int>(std::ceil(x1)) - 1;
        for (int i = i0; i <= i1; ++i) {
            const double y = y0 + g * (i - x0);
            const double fy = std::floor(y);
            const int j = static_cast<int>(fy);
            const double f = y - fy;
            plot(steep, i, j, static_cast<int>((1.0 - f) * weight), colour);
            plot(steep, i, j + 1, static_cast<int>(f * weight), colour);
        }
    }

    // A small area (device coordinates, corners in any order) painted as far as it covers
    // each pixel.
    void blot(double x0, double y0, double x1, double y1, std::uint32_t colour) {
        if (x0 > x1) std::swap(x0, x1);
        if (y0 > y1) std::swap(y0, y1);
        // Thinner than a pixel: a pixel wide, as a stroke would be.
        if (x1 - x0 < 1.0) x0 = (x0 + x1) / 2 - 0.5, x1 = x0 + 1.0;
        if (y1 - y0 < 1.0) y0 = (y0 + y1) / 2 - 0.5, y1 = y0 + 1.0;
        const int ix0 = static_cast<int>(std::floor(std::clamp(x0, 0.0, double(m_width))));
        const int iy0 = static_cast<int>(std::floor(std::clamp(y0, 0.0, double(m_height))));
        const int ix1 = static_cast<int>(std::ceil(std::clamp(x1, 0.0, double(m_width))));
        const int iy1 = static_cast<int>(std::ceil(std::clamp(y1, 0.0, double(m_height))));
        for (int y = iy0; y < iy1; ++y) {
            const double cy = std::min(y1, y + 1.0) - std::max(y0, double(y));
            for (int x = ix0; x < ix1; ++x) {
                const double cx = std::min(x1, x + 1.0) - std::max(x0, double(x));
                blend(at(x, y), colour, static_cast<int>(cx * cy * 256.0 + 0.5));
            }
        }
    }

    // The image grown by the margin: line work is cut to it.
    vorn::render::DeviceRect area() const {
        return {-kClipMargin, -kClipMargin, m_width + kClipMargin, m_height + kClipMargin};
    }

private:
    static void blend(std::uint32_t& p, std::uint32_t c, int a) {
        if (a >= 256) {
            p = c;
            return;
        }
        const auto mix = [a](std::uint32_t d, std::uint32_t s) {
            return static_cast<std::uint32_t>(static_cast<int>(d) + (static_cast<int>(s) - static_cast<int>(d)) * a / 256);
        };
        p = 0xFF000000u | mix(p >> 16 & 255, c >> 16 & 255) << 16 | mix(p >> 8 & 255, c >> 8 & 255) << 8 |
            mix(p & 255, c & 255);
    }

    void plot(bool steep, int i, int j, int coverage, std::uint32_t colour) {
        const int x = steep ? j : i, y = steep ? i : j;
        if (coverage <= 0 || x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        blend(at(x, y), colour, coverage);
    }

    std::uint32_t* m_bits;
    int m_stride, m_width, m_height;
};

// Paints entities into the image: the drawing-interface sink of the entities drawn whole, and
// the dots of those smaller than a pixel.
class ViewPainter final : public vorn::db::GiWorldSink {
public:
    ViewPainter(const AcDbDatabase& db, const View& view, QImage& image)
        : m_db(db), m_view(view), m_image(image), m_px(image) {
        for (int i = 0; i < 257; ++i) m_aci[i] = Pack(vorn::render::AciToRgb(i, false));
    }

    ~ViewPainter() override {
        if (m_cr) {
            cairo_destroy(m_cr);
            cairo_surface_destroy(m_surface);
        }
    }

    void entity(const AcDbEntity* e, const AcDbExtents& box) {
        const double s = m_view.scale();
        const double w = (box.maxPoint().x - box.minPoint().x) * s, h = (box.maxPoint().y - box.minPoint().y) * s;
        const AcRxClass* kind = e->isA();
        const bool simple = kind == AcDbLine::desc() || kind == AcDbArc::desc() || kind == AcDbCircle::desc() ||
                            kind == AcDbPolyline::desc() || kind == AcDbText::desc();
        if (simple && layerOf(e->layerId()).hidden) return;
        if (w < 1.0 && h < 1.0) {
            dot(e, simple, box);
            return;
        }
        if (!simple && w < kSmallBlot && h < kSmallBlot) {
            // A block or a custom entity of a few pixels: its strokes would cover about its
            // box, at a cost that grows with what it holds (a car is hundreds of segments).
            std::uint32_t colour = 0;
            if (dotColourOf(e, colour))
                m_px.blot(m_view.deviceX(box.minPoint().x), m_view.deviceY(box.maxPoint().y),
                          m_view.deviceX(box.maxPoint().x), m_view.deviceY(box.minPoint().y), colour);
            return;
        }
        m_dashes = &dashesOf(e);
        m_patternMade = false;
        // Lines, circles and arcs, the bulk of a drawing, straight to the pixels as their own
        // drawing would hand them over.
        if (kind == AcDbLine::desc()) {
            const auto* line = static_cast<const AcDbLine*>(e);
            const AcGePoint3d a = line->startPoint(), b = line->endPoint();
            const std::uint32_t colour = colourOf(e->color(), layerOf(e->layerId()));
            m_walker.start(&devicePattern());
            m_walker.segment(m_px.area(), m_view.deviceX(a.x), m_view.deviceY(a.y), m_view.deviceX(b.x),
                             m_view.deviceY(b.y),
                             [&](double x0, double y0, double x1, double y1) { m_px.line(x0, y0, x1, y1, colour); });
        } else if (kind == AcDbCircle::desc()) {
            const auto* circle = static_cast<const AcDbCircle*>(e);
            drawArc(circle->center(), circle->radius(), 0.0, kFullTurn, colourOf(e->color(), layerOf(e->layerId())));
        } else if (kind == AcDbArc::desc()) {
            const auto* arc = static_cast<const AcDbArc*>(e);
            drawArc(arc->center(), arc->radius(), arc->startAngle(), arc->totalAngle(),
                    colourOf(e->color(), layerOf(e->layerId())));
        } else {
            vorn::db::DrawEntity(e, this);
        }
        m_dashes = nullptr;
    }

    // Chord tolerance for the entity's own flattening, in its own units (the transform of a
    // block reference scales them).
    double deviation() const override {
        const double scale = m_view.scale() * modelTransform().scale();
        return scale > 0 && std::isfinite(scale) ? kChordTolerance / scale : 0.0;
    }
    bool regenAbort() const override { return m_dotMode && m_dotFound; }
    // What the image shows, for lines without end.
    AcDbExtents viewExtents() const override {
        const vorn::render::DeviceRect a = m_px.area();
        AcDbExtents e;
        e.addPoint(m_view.world(a.x0, a.y0));
        e.addPoint(m_view.world(a.x1, a.y1));
        return e;
    }

protected:
    bool emit(GiPrimitive&& p) override {
        const Layer& layer = layerOf(p.layerId);
        if (layer.hidden) return false;
        const std::uint32_t colour = colourOf(p.color, layer);
        if (m_dotMode) {
            m_dotColour = colour;
            m_dotFound = true;
            return true;
        }
        switch (p.kind) {
            case GiPrimitive::kPolyline:
                drawPolyline(p.points, p.closed, colour, true);
                break;
            case GiPrimitive::kPolygon:
                drawPolygon(p.points, colour);
                break;
            case GiPrimitive::kArc:
                drawArc(p.centre, p.radius, p.startAngle, p.sweep, colour);
                break;
            case GiPrimitive::kText:
                drawText(p.text, colour);
                break;
        }
        return false;
    }

private:
    struct Layer {
        bool hidden = false;
        AcCmColor colour;             // ByLayer when the layer is unknown
        std::vector<double> dashes;   // its line type's pattern, drawing units
    };

    const Layer& layerOf(const AcDbObjectId& id) {
        const std::uint32_t key = id.isNull() ? 0xFFFFFFFFu : id.index();
        if (m_lastLayer && key == m_lastLayerKey) return *m_lastLayer;
        auto it = m_layers.find(key);
        if (it == m_layers.end()) {
            Layer layer;
            if (const auto* rec = AcDbLayerTableRecord::cast(m_db.peekObject(id))) {
                layer.hidden = rec->isOff() || rec->isFrozen();
                layer.colour = rec->color();
                if (const auto* lt = AcDbLinetypeTableRecord::cast(m_db.peekObject(rec->linetypeObjectId())))
                    layer.dashes = lt->dashes();
            }
            it = m_layers.emplace(key, std::move(layer)).first;
        }
        m_lastLayerKey = key;
        m_lastLayer = &it->second;
        return it->second;
    }

    // As the pictures resolve it: ByLayer through the layer; ByBlock left at this level, and
    // ByLayer without a layer colour, in the foreground colour.
    std::uint32_t colourOf(const AcCmColor& c, const Layer& layer) const {
        const AcCmColor& r = c.isByLayer() ? layer.colour : c;
        if (r.isByColor()) return 0xFF000000u | std::uint32_t(r.red()) << 16 | std::uint32_t(r.green()) << 8 | r.blue();
        if (r.isByLayer() || r.isByBlock()) return m_aci[7];
        return m_aci[std::min<std::uint16_t>(r.colorIndex(), 256)];
    }

    // The pattern an entity is drawn with, as the pictures take it: its own line type, or its
    // layer's for ByLayer.
    const std::vector<double>& dashesOf(const AcDbEntity* e) {
        static const std::vector<double> kSolid;
        const std::wstring name = e->linetype();
        if (name.empty() || name == L"ByLayer" || SameNameNoCase(name, L"ByLayer")) return layerOf(e->layerId()).dashes;
        if (SameNameNoCase(name, L"ByBlock")) return kSolid;
        auto it = m_namedDashes.find(name);
        if (it == m_namedDashes.end()) {
            const auto* lt = AcDbLinetypeTableRecord::cast(m_db.peekObject(m_db.findLinetype(name)));
            it = m_namedDashes.emplace(name, lt ? lt->dashes() : std::vector<double>{}).first;
        }
        return it->second;
    }

    // The entity's pattern in pixels, made once for the entity.
    const std::vector<double>& devicePattern() {
        if (!m_patternMade) {
            m_pattern = m_dashes ? vorn::render::DevicePattern(*m_dashes, m_view.scale()) : std::vector<double>{};
            m_patternMade = true;
        }
        return m_pattern;
    }

    // A dot for an entity smaller than a pixel, in the colour it would be drawn in: the
    // simple kinds draw in their own colour on their own layer; others (block references,
    // custom entities) in the colour of the first thing they draw on a layer that shows.
    void dot(const AcDbEntity* e, bool simple, const AcDbExtents& box) {
        const double x = m_view.deviceX((box.minPoint().x + box.maxPoint().x) / 2);
        const double y = m_view.deviceY((box.minPoint().y + box.maxPoint().y) / 2);
        if (!(x >= 0 && y >= 0 && x < m_px.width() && y < m_px.height())) return;
        if (simple) {
            const Layer& layer = layerOf(e->layerId());
            if (!layer.hidden) m_px.dot(x, y, colourOf(e->color(), layer));
            return;
        }
        std::uint32_t colour = 0;
        if (dotColourOf(e, colour)) m_px.dot(x, y, colour);
    }

    bool dotColourOf(const AcDbEntity* e, std::uint32_t& colour) {
        // A plain block reference looks the same as every other of its block, colour and layer.
        std::uint64_t key = 0;
        const AcDbBlockReference* ref = e->isA() == AcDbBlockReference::desc() ? AcDbBlockReference::cast(e) : nullptr;
        if (ref) {
            const AcCmColor c = ref->color();
            const std::uint64_t colourKey = c.isByColor() ? 0x10000u | c.rgb() : c.colorIndex();
            key = (std::uint64_t(ref->blockTableRecord().index()) << 40) ^ (std::uint64_t(e->layerId().index()) << 20) ^
                  (colourKey * 0x9E3779B1u);
            auto it = m_blockDots.find(key);
            if (it != m_blockDots.end() && it->second.block == ref->blockTableRecord() &&
                it->second.layer == e->layerId() && it->second.colour == c) {
                colour = it->second.dot;
                return it->second.shows;
            }
        }
        m_dotMode = true;
        m_dotFound = false;
        vorn::db::DrawEntity(e, this);
        m_dotMode = false;
        colour = m_dotColour;
        if (ref) m_blockDots[key] = {ref->blockTableRecord(), e->layerId(), ref->color(), m_dotFound, m_dotColour};
        return m_dotFound;
    }

    void drawPolyline(const std::vector<AcGePoint3d>& points, bool closed, std::uint32_t colour, bool dashed) {
        if (points.empty()) return;
        if (points.size() == 1) {
            m_px.dot(m_view.deviceX(points[0].x), m_view.deviceY(points[0].y), colour);
            return;
        }
        m_walker.start(dashed ? &devicePattern() : nullptr);
        const vorn::render::DeviceRect area = m_px.area();
        const auto on = [&](double x0, double y0, double x1, double y1) { m_px.line(x0, y0, x1, y1, colour); };
        double ax = m_view.deviceX(points[0].x), ay = m_view.deviceY(points[0].y);
        const double fx = ax, fy = ay;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const double bx = m_view.deviceX(points[i].x), by = m_view.deviceY(points[i].y);
            m_walker.segment(area, ax, ay, bx, by, on);
            ax = bx, ay = by;
        }
        if (closed && points.size() > 2) m_walker.segment(area, ax, ay, fx, fy, on);
    }

    // A filled area at 60 % of its colour (Cairo), then its outline.
    void drawPolygon(const std::vector<AcGePoint3d>& points, std::uint32_t colour) {
        if (points.size() < 3) {
            drawPolyline(points, true, colour, false);
            return;
        }
        cairo_t* cr = cairoContext();
        cairo_new_path(cr);
        cairo_move_to(cr, m_view.deviceX(points[0].x), m_view.deviceY(points[0].y));
        for (std::size_t i = 1; i < points.size(); ++i)
            cairo_line_to(cr, m_view.deviceX(points[i].x), m_view.deviceY(points[i].y));
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, (colour >> 16 & 255) / 255.0, (colour >> 8 & 255) / 255.0, (colour & 255) / 255.0,
                              0.6);
        cairo_fill(cr);
        cairoDone();
        // The outline, without the bridges that join islands to it.
        bool closed = true;
        for (const auto& run : vorn::db::PolygonOutline(points, closed)) drawPolyline(run, closed, colour, false);
    }

    // Counter-clockwise from start through sweep, flattened in device space to within
    // kChordTolerance.
    void drawArc(const AcGePoint3d& centre, double radius, double start, double sweep, std::uint32_t colour) {
        if (!std::isfinite(start) || !std::isfinite(sweep)) return;
        if (sweep < 0) start += sweep, sweep = -sweep;
        const vorn::render::DeviceRect area = m_px.area();
        const auto on = [&](double x0, double y0, double x1, double y1) { m_px.line(x0, y0, x1, y1, colour); };
        m_walker.start(&devicePattern());
        vorn::render::FlattenDeviceArc(
            m_view.deviceX(centre.x), m_view.deviceY(centre.y), radius * m_view.scale(), start, sweep, kChordTolerance,
            area, [&](const std::vector<double>& xy) {
                for (std::size_t i = 2; i + 1 < xy.size(); i += 2)
                    m_walker.segment(area, xy[i - 2], xy[i - 1], xy[i], xy[i + 1], on);
            });
    }

    // Glyphs when the text can be read; otherwise a stroke along the middle of its box.
    void drawText(const AcGiTextData& t, std::uint32_t colour) {
        if (t.text.empty()) return;
        if (t.height * m_view.scale() >= kSmallestReadableText) {
            cairo_t* cr = cairoContext();
            vorn::render::PaintText(cr, m_view, t,
                                    {(colour >> 16 & 255) / 255.0, (colour >> 8 & 255) / 255.0, (colour & 255) / 255.0});
            cairoDone();
            return;
        }
        const std::vector<AcGePoint3d> box = vorn::db::TextBox(t);
        const double x0 = (box[0].x + box[3].x) / 2, y0 = (box[0].y + box[3].y) / 2;
        const double x1 = (box[1].x + box[2].x) / 2, y1 = (box[1].y + box[2].y) / 2;
        const double dx0 = m_view.deviceX(x0), dy0 = m_view.deviceY(y0);
        const double dx1 = m_view.deviceX(x1), dy1 = m_view.deviceY(y1);
        if (std::hypot(dx1 - dx0, dy1 - dy0) < 1.0) m_px.dot((dx0 + dx1) / 2, (dy0 + dy1) / 2, colour);
        else m_px.line(dx0, dy0, dx1, dy1, colour);
    }

    // Cairo on the same pixels: told that they were written behind its back before it draws,
    // and made to finish before they are written here again.
    cairo_t* cairoContext() {
        if (!m_cr) {
            m_surface = cairo_image_surface_create_for_data(m_image.bits(), CAIRO_FORMAT_ARGB32, m_image.width(),
                                                            m_image.height(), static_cast<int>(m_image.bytesPerLine()));
            m_cr = cairo_create(m_surface);
        }
        cairo_surface_mark_dirty(m_surface);
        return m_cr;
    }
    void cairoDone() { cairo_surface_flush(m_surface); }

    struct BlockDot {
        AcDbObjectId block, layer;
        AcCmColor colour;
        bool shows = false;
        std::uint32_t dot = 0;
    };

    const AcDbDatabase& m_db;
    View m_view;
    QImage& m_image;
    Pixels m_px;
    vorn::render::DashWalker m_walker;
    std::uint32_t m_aci[257];
    std::unordered_map<std::uint32_t, Layer> m_layers;
    std::uint32_t m_lastLayerKey = 0;
    const Layer* m_lastLayer = nullptr;
    std::unordered_map<std::wstring, std::vector<double>> m_namedDashes;
    std::unordered_map<std::uint64_t, BlockDot> m_blockDots;
    const std::vector<double>* m_dashes = nullptr;
    std::vector<double> m_pattern;
    bool m_patternMade = false;
    bool m_dotMode = false, m_dotFound = false;
    std::uint32_t m_dotColour = 0;
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
};

// Lines without end (construction lines, rays): their extents hold only their base point, so
// the spatial index cannot tell whether they cross the view.
bool Unbounded(const AcDbEntity* e) {
    const auto* kept = AcDbKeptEntity::cast(e);
    return kept && (kept->type() == "XLINE" || kept->type() == "RAY");
}

// The unbounded entities of model space, found by a walk of it once for each state of the
// drawing and drawn whole by every picture of that state.
const std::vector<AcDbObjectId>& UnboundedEntities(const AcDbDatabase& db) {
    static const AcDbDatabase* s_db = nullptr;
    static std::uint64_t s_revision = 0;
    static std::vector<AcDbObjectId> s_ids;
    if (s_db != &db || s_revision != db.revision()) {
        s_ids.clear();
        for (const AcDbObjectId& id : db.modelSpaceIds())
            if (Unbounded(AcDbEntity::cast(db.peekObject(id)))) s_ids.push_back(id);
        s_db = &db;
        s_revision = db.revision();
    }
    return s_ids;
}

}  // namespace

QColor BackgroundColour() { return QColor(33, 40, 48); }

void RenderModelSpace(const AcDbDatabase& db, const View& view, QImage& image) {
    if (image.isNull()) return;
    image.fill(BackgroundColour());
    // The window in drawing units, a pixel larger all round: a line's anti-aliased edge or a
    // dot may fall on the border pixels from just outside.
    const double margin = 1.0 / view.scale();
    const AcGePoint3d lo = view.world(0, image.height()), hi = view.world(image.width(), 0);
    AcDbExtents box;
    box.addPoint(AcGePoint3d(lo.x - margin, lo.y - margin, 0));
    box.addPoint(AcGePoint3d(hi.x + margin, hi.y + margin, 0));
    ViewPainter painter(db, view, image);
    const std::vector<AcDbObjectId>& unbounded = UnboundedEntities(db);
    db.forEachEntityMeetingBox(box, [&](const AcDbObjectId& id, const AcDbExtents& extents) {
        const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id));
        if (e && !(!unbounded.empty() && Unbounded(e))) painter.entity(e, extents);
    });
    for (const AcDbObjectId& id : unbounded)
        if (const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id)); e && !e->isErased() && Unbounded(e))
            painter.entity(e, box);
}

}  // namespace vorn::gui
