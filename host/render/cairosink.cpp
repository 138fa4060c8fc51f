// Painting drawing primitives with Cairo, and strokes straight into image surfaces.
#include "host/render/cairosink.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <limits>
#include <string>

#include "host/base/textcodec.h"
#include "host/db/db.h"

namespace vorn::render {
namespace {

const Rgb kHighlight{1.0, 0.55, 0.1};

bool SameName(const std::wstring& a, const wchar_t* b) {
    std::wstring x = a, y = b ? b : L"";
    std::transform(x.begin(), x.end(), x.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    std::transform(y.begin(), y.end(), y.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return x == y;
}

// A TEXT's content as the host shows it: the control codes "%%%" (percent), "%%d" (degree),
// "%%p" (plus-minus) and "%%c" (diameter) become their signs; "%%o" and "%%u" switch over- and
// underlining, which a picture leaves out. Any other "%%" stays as typed.
std::wstring ShownText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%' || i + 2 >= text.size() || text[i + 1] != L'%') {
            out += text[i];
            continue;
        }
        switch (std::towlower(text[i + 2])) {
        case L'%': out += L'%'; break;
        case L'd': out += L'\u00B0'; break;
        case L'p': out += L'\u00B1'; break;
        case L'c': out += L'\u2300'; break;
        case L'o': case L'u': break;
        default: out += text.substr(i, 3); break;
        }
        i += 2;
    }
    return out;
}

constexpr double kTwoPi = 6.283185307179586476925286766559;
// How far a flattened arc strays from the true one, in pixels (Cairo's own default).
constexpr double kTolerance = 0.1;
// A stroke's vertices are thinned out to those that keep it within this many pixels of them
// all: a flattened arc of a few pixels comes with dozens.
constexpr double kThinning = 0.2;

}  // namespace

// Thins a stroke's points (x, y, x, y, ...) to those that keep it within a tolerance of them
// all; its buffers are kept from stroke to stroke.
struct CairoSink::Thinner {
    std::vector<double> xy;                        // a primitive's points in device units
    std::vector<double> near;                      // those a tolerance apart at least
    std::vector<char> keep;                        // which of those the stroke keeps
    std::vector<std::pair<std::size_t, std::size_t>> spans;

    // The points of pts, in near, that hold the polyline within tolerance of every point: the
    // points closer than tolerance to the last one taken are left out first (cheap), then the
    // rest are thinned by Douglas–Peucker; both ends are kept.
    const std::vector<double>& thin(const std::vector<double>& pts, double tolerance) {
        const std::size_t count = pts.size() / 2;
        near.resize(pts.size());
        std::size_t m = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double x = pts[2 * i], y = pts[2 * i + 1];
            if (i > 0 && i + 1 < count) {
                const double dx = x - near[2 * m - 2], dy = y - near[2 * m - 1];
                if (dx * dx + dy * dy < tolerance * tolerance) continue;
            }
            near[2 * m] = x;
            near[2 * m + 1] = y;
            ++m;
        }
        near.resize(2 * m);
        douglasPeucker(near, tolerance);
        std::size_t k = 0;
        for (std::size_t i = 0; i < keep.size(); ++i)
            if (keep[i]) {
                near[2 * k] = near[2 * i];
                near[2 * k + 1] = near[2 * i + 1];
                ++k;
            }
        near.resize(2 * k);
        return near;
    }

    void douglasPeucker(const std::vector<double>& pts, double tolerance) {
        const std::size_t n = pts.size() / 2;
        keep.assign(n, 0);
        if (n == 0) return;
        keep[0] = keep[n - 1] = 1;
        spans.clear();
        if (n > 2) spans.emplace_back(0, n - 1);
        while (!spans.empty()) {
            const auto [a, b] = spans.back();
            spans.pop_back();
            const double ax = pts[2 * a], ay = pts[2 * a + 1], dx = pts[2 * b] - ax, dy = pts[2 * b + 1] - ay;
            const double len2 = dx * dx + dy * dy;
            double worst = tolerance * tolerance;
            std::size_t far = 0;
            for (std::size_t i = a + 1; i < b; ++i) {
                const double px = pts[2 * i] - ax, py = pts[2 * i + 1] - ay;
                const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
                const double ex = px - t * dx, ey = py - t * dy, d2 = ex * ex + ey * ey;
                if (d2 > worst) worst = d2, far = i;
            }
            if (far == 0) continue;
            keep[far] = 1;
            if (far - a > 1) spans.emplace_back(a, far);
            if (b - far > 1) spans.emplace_back(far, b);
        }
    }
};

// Strokes painted straight into an image surface: each stroke's coverage is gathered first
// (round-ended segments of the pen's width, a pixel's coverage falling off over a pixel
// across the edge), then the stroke is laid over the pixels once, as Cairo's OVER does.
struct CairoSink::Pixels : CairoSink::Thinner {
    cairo_surface_t* surface = nullptr;
    unsigned char* data = nullptr;
    int stride = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // the clip box, whole pixels
    std::vector<std::uint8_t> cover;               // per pixel of the clip box
    std::vector<std::uint32_t> touched;            // the pixels this stroke covers
    // Set while a block's sprite is drawn: strokes gather here (per pixel of the clip box, as
    // OVER would lay them one after another in one colour) instead of on a surface.
    std::vector<std::uint8_t>* sprite = nullptr;
    PixelBox painted{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(),
                     std::numeric_limits<int>::min()};

    // Pixels of cr's target when it is an image surface drawn on as device pixels, with
    // OVER and no clip but a rectangle; null otherwise (everything then goes through Cairo).
    static std::unique_ptr<Pixels> Of(cairo_t* cr) {
        if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return nullptr;
        cairo_surface_t* target = cairo_get_group_target(cr);
        if (!target || cairo_surface_status(target) != CAIRO_STATUS_SUCCESS ||
            cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE)
            return nullptr;
        const cairo_format_t format = cairo_image_surface_get_format(target);
        if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return nullptr;
        if (cairo_get_operator(cr) != CAIRO_OPERATOR_OVER) return nullptr;
        cairo_matrix_t m;
        cairo_get_matrix(cr, &m);
        if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || m.x0 != 0 || m.y0 != 0) return nullptr;
        double ox = 0, oy = 0, sx = 1, sy = 1;
        cairo_surface_get_device_offset(target, &ox, &oy);
        cairo_surface_get_device_scale(target, &sx, &sy);
        if (ox != 0 || oy != 0 || sx != 1 || sy != 1) return nullptr;
        auto p = std::make_unique<Pixels>();
        p->surface = target;
        p->right = cairo_image_surface_get_width(target);
        p->bottom = cairo_image_surface_get_height(target);
        cairo_rectangle_list_t* clip = cairo_copy_clip_rectangle_list(cr);
        bool ok = clip->status == CAIRO_STATUS_SUCCESS && clip->num_rectangles <= 1;
        if (ok && clip->num_rectangles == 0) p->right = p->bottom = 0;  // all clipped away
        if (ok && clip->num_rectangles == 1) {
            const cairo_rectangle_t& r = clip->rectangles[0];
            // Cairo softens a clip edge between pixels; only whole pixels are taken here.
            ok = r.x == std::floor(r.x) && r.y == std::floor(r.y) && r.width == std::floor(r.width) &&
                 r.height == std::floor(r.height);
            p->left = std::max(0, static_cast<int>(r.x));
            p->top = std::max(0, static_cast<int>(r.y));
            p->right = std::min(p->right, static_cast<int>(r.x + r.width));
            p->bottom = std::min(p->bottom, static_cast<int>(r.y + r.height));
        }
        cairo_rectangle_list_destroy(clip);
        if (!ok) return nullptr;
        p->right = std::max(p->right, p->left);
        p->bottom = std::max(p->bottom, p->top);
        return p;
    }

    int width() const { return right - left; }
    int height() const { return bottom - top; }

    // The area a stroke of half width r may cover: the clip box grown by the pen and a pixel.
    DeviceRect reach(double r) const {
        return {left - r - 2.0, top - r - 2.0, right + r + 2.0, bottom + r + 2.0};
    }

    // A round-ended segment of half width r from a to b into the stroke's coverage: a pixel
    // whose centre lies within r - 0.5 of the segment is covered whole, beyond r + 0.5 not at
    // all, and in between as far as it reaches in.
    void segment(double ax, double ay, double bx, double by, double r) {
        if (width() <= 0 || height() <= 0) return;
        if (cover.empty()) cover.assign(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()), 0);
        const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
        const double inv = len2 > 0 ? 1.0 / len2 : 0.0;
        const bool steep = std::fabs(dy) > std::fabs(dx);
        // u runs along the major axis, v across it.
        const double ua = steep ? ay : ax, va = steep ? ax : ay, ub = steep ? by : bx;
        const double g = steep ? (dy != 0 ? dx / dy : 0.0) : (dx != 0 ? dy / dx : 0.0);
        const double inner = std::max(0.0, r - 0.5), outer = r + 0.5;
        // A covered pixel's centre lies within outer of the segment: within outer of its span
        // along u, and within outer·sqrt(1 + g²) of the line along v.
        const double across = outer * std::sqrt(1.0 + g * g);
        const double lo = std::min(ua, ub), hi = std::max(ua, ub);
        // Bounds taken in floating point first: the caller cuts segments to the clip box, but a
        // bound must never overflow an int.
        const auto index = [](double v, int a, int b) {
            return static_cast<int>(std::clamp(v, static_cast<double>(a), static_cast<double>(b)));
        };
        const int umin = steep ? top : left, umax = (steep ? bottom : right) - 1;
        const int vmin = steep ? left : top, vmax = (steep ? right : bottom) - 1;
        const int iu0 = index(std::ceil(lo - outer - 0.5), umin, umax + 1);
        const int iu1 = index(std::floor(hi + outer - 0.5), umin - 1, umax);
        const int w = width();
        for (int iu = iu0; iu <= iu1; ++iu) {
            const double uc = iu + 0.5;
            const double vc = va + g * (std::clamp(uc, lo, hi) - ua);
            const int iv0 = index(std::ceil(vc - across - 0.5), vmin, vmax + 1);
            const int iv1 = index(std::floor(vc + across - 0.5), vmin - 1, vmax);
            for (int iv = iv0; iv <= iv1; ++iv) {
                const double px = (steep ? iv : iu) + 0.5, py = (steep ? iu : iv) + 0.5;
                const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) * inv, 0.0, 1.0);
                const double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
                const double d2 = ex * ex + ey * ey;
                if (d2 >= outer * outer) continue;
                const int c = d2 <= inner * inner ? 255 : static_cast<int>((outer - std::sqrt(d2)) * 255.0 + 0.5);
                if (c <= 0) continue;
                const int x = steep ? iv : iu, y = steep ? iu : iv;
                const std::uint32_t k = static_cast<std::uint32_t>((y - top) * w + (x - left));
                std::uint8_t& cell = cover[k];
                if (cell == 0) touched.push_back(k);
                if (c > cell) cell = static_cast<std::uint8_t>(std::min(c, 255));
            }
        }
    }

    // Lays the gathered stroke over the pixels in colour c and clears it.
    void paint(const Rgb& c) {
        if (touched.empty()) return;
        if (sprite) {
            for (std::uint32_t k : touched) {
                const std::uint32_t a = cover[k], below = (*sprite)[k];
                (*sprite)[k] = static_cast<std::uint8_t>(a + (below * (255 - a) + 127) / 255);
                cover[k] = 0;
            }
            touched.clear();
            return;
        }
        cairo_surface_flush(surface);
        if (!data) {
            data = cairo_image_surface_get_data(surface);
            stride = cairo_image_surface_get_stride(surface);
        }
        const auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
        const std::uint32_t src[4] = {byte(c.b), byte(c.g), byte(c.r), 255};  // premultiplied, opaque
        for (std::uint32_t k : touched) {
            const int x = left + static_cast<int>(k % static_cast<std::uint32_t>(width()));
            const int y = top + static_cast<int>(k / static_cast<std::uint32_t>(width()));
            painted.x0 = std::min(painted.x0, x), painted.x1 = std::max(painted.x1, x + 1);
            painted.y0 = std::min(painted.y0, y), painted.y1 = std::max(painted.y1, y + 1);
            std::uint32_t& p = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x];
            const std::uint32_t a = cover[k];
            cover[k] = 0;
            std::uint32_t out = 0;
            for (int ch = 0; ch < 4; ++ch) {
                const std::uint32_t d = p >> (8 * ch) & 255;
                out |= ((src[ch] * a + d * (255 - a) + 127) / 255) << (8 * ch);
            }
            p = out;
        }
        touched.clear();
        cairo_surface_mark_dirty(surface);
    }
};

bool ClipSegment(const DeviceRect& rect, double& x0, double& y0, double& x1, double& y1) {
    const double lo[2] = {rect.x0, rect.y0}, hi[2] = {rect.x1, rect.y1};
    const double p0[2] = {x0, y0}, d[2] = {x1 - x0, y1 - y0};
    double t0 = 0.0, t1 = 1.0;
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0.0) {
            if (p0[k] < lo[k] || p0[k] > hi[k]) return false;
            continue;
        }
        double ta = (lo[k] - p0[k]) / d[k], tb = (hi[k] - p0[k]) / d[k];
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1) return false;
    }
    if (!(t0 <= t1)) return false;  // a segment of non-finite ends
    x0 = p0[0] + t0 * d[0];
    y0 = p0[1] + t0 * d[1];
    x1 = p0[0] + t1 * d[0];
    y1 = p0[1] + t1 * d[1];
    return true;
}

std::vector<double> DevicePattern(const std::vector<double>& dashes, double scale) {
    std::vector<double> dev;
    if (dashes.empty() || dashes.size() % 2 == 1) return dev;
    double total = 0;
    for (double d : dashes) {
        // A dot becomes one pixel; a dash shorter than a pixel still shows.
        dev.push_back(std::clamp(std::fabs(d) * scale, 1.0, 1e6));
        total += dev.back();
    }
    if (!(total >= 4.0)) dev.clear();
    return dev;
}

void FlattenDeviceArc(double cx, double cy, double r, double start, double sweep, double tolerance,
                      const DeviceRect& rect, const std::function<void(const std::vector<double>&)>& run) {
    if (!(r > 0.0) || !std::isfinite(r) || !std::isfinite(cx) || !std::isfinite(cy) || !(sweep > 0.0) ||
        !std::isfinite(start) || !std::isfinite(sweep) || !(tolerance > 0.0))
        return;
    sweep = std::min(sweep, kTwoPi);
    // The nearest and the farthest point of rect from the centre.
    const double nx = std::clamp(cx, rect.x0, rect.x1) - cx, ny = std::clamp(cy, rect.y0, rect.y1) - cy;
    const double far = std::hypot(std::max(std::fabs(rect.x0 - cx), std::fabs(rect.x1 - cx)),
                                  std::max(std::fabs(rect.y0 - cy), std::fabs(rect.y1 - cy)));
    if (std::hypot(nx, ny) > r + 1.0 || r > far + 1.0) return;  // wholly outside rect
    std::vector<double> xy;
    const auto piece = [&](double from, double to) {
        const double step = r > tolerance ? 2.0 * std::acos(1.0 - tolerance / r) : kTwoPi / 4;
        const int n = std::clamp(static_cast<int>(std::ceil((to - from) / step)), 1, 100000);
        const double dc = std::cos((to - from) / n), ds = std::sin((to - from) / n);
        double ux = std::cos(from), uy = std::sin(from);
        xy.clear();
        xy.push_back(cx + r * ux);
        xy.push_back(cy - r * uy);
        for (int k = 1; k < n; ++k) {
            const double vx = ux * dc - uy * ds, vy = ux * ds + uy * dc;
            ux = vx, uy = vy;
            xy.push_back(cx + r * ux);
            xy.push_back(cy - r * uy);
        }
        xy.push_back(cx + r * std::cos(to));
        xy.push_back(cy - r * std::sin(to));
        run(xy);
    };
    const double w = rect.x1 - rect.x0, h = rect.y1 - rect.y0;
    if ((nx == 0.0 && ny == 0.0) || r < 4.0 * std::max(w, h)) {
        piece(start, start + sweep);
        return;
    }
    // The centre lies outside rect, which it sees within less than a half turn around the
    // direction of rect's middle.
    const double mid = std::atan2(-((rect.y0 + rect.y1) / 2 - cy), (rect.x0 + rect.x1) / 2 - cx);
    double dmin = 0, dmax = 0;
    for (double x : {rect.x0, rect.x1})
        for (double y : {rect.y0, rect.y1}) {
            const double d = std::remainder(std::atan2(-(y - cy), x - cx) - mid, kTwoPi);
            dmin = std::min(dmin, d);
            dmax = std::max(dmax, d);
        }
    const double a0 = std::remainder(start - mid, kTwoPi) + mid, a1 = a0 + sweep;
    for (int k = -1; k <= 2; ++k) {
        const double from = std::max(a0, mid + dmin + k * kTwoPi), to = std::min(a1, mid + dmax + k * kTwoPi);
        if (from < to) piece(from, to);
    }
}

const char* CairoSink::FontFamily() { return "WenQuanYi Micro Hei"; }

// A block drawn once as the coverage of its strokes, for one way of turning and scaling it.
struct CairoSink::BlockSprite {
    AcDbObjectId block, layer;
    std::vector<double> dashes;
    double a = 0, b = 0, c = 0, d = 0;  // block units to pixels: x' = a x + b y, y' = c x + d y
    double radius = 0;                  // of what it holds, in block units
    bool usable = false;
    struct Cell {
        std::int16_t x, y;  // from the pixel of the block's base point
        std::uint8_t alpha;
    };
    std::vector<Cell> cells;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // their box
};

// The sprites of one sink's blocks.
struct CairoSink::BlockSprites {
    // Half the side of the box a sprite is drawn in, pixels.
    static constexpr int kReach = 256;
    using Sprite = BlockSprite;
    std::vector<Sprite> sprites;
    int misses = 0;

    // The sprite drawn for the same block, layer and dashes whose turn and scale puts every
    // point of it within a quarter pixel of where (a b; c d) would.
    Sprite* find(const AcDbObjectId& block, const AcDbObjectId& layer, const std::vector<double>& dashes, double a,
                 double b, double c, double d) {
        for (Sprite& s : sprites) {
            if (s.block != block || s.layer != layer || s.dashes != dashes) continue;
            const double off = std::max(std::fabs(a - s.a) + std::fabs(b - s.b), std::fabs(c - s.c) + std::fabs(d - s.d));
            if (off * s.radius <= 0.25) return &s;
        }
        return nullptr;
    }
};

CairoSink::CairoSink(cairo_t* cr, const View& view, const AcDbDatabase* db, PaintStyle style)
    : m_cr(cr), m_view(view), m_db(db), m_style(std::move(style)), m_pen(m_style.lineWidth), m_pixels(Pixels::Of(cr)) {}

CairoSink::~CairoSink() = default;

std::vector<double> EntityDashes(const AcDbEntity* entity) {
    if (!entity) return {};
    AcDbDatabase* db = entity->database();
    if (!db) return {};
    std::wstring name = entity->linetype();
    AcDbObjectId ltId;
    if (SameName(name, L"ByLayer") || name.empty()) {
        const auto* layer = AcDbLayerTableRecord::cast(db->peekObject(entity->layerId()));
        if (layer) ltId = layer->linetypeObjectId();
    } else if (!SameName(name, L"ByBlock")) {
        ltId = db->findLinetype(name);
    }
    const auto* lt = AcDbLinetypeTableRecord::cast(db->peekObject(ltId));
    return lt ? lt->dashes() : std::vector<double>{};
}

void CairoSink::drawEntity(const AcDbEntity* entity) {
    m_style.dashes = EntityDashes(entity);
    const double dashScale = m_style.dashScale * (entity ? entity->linetypeScale() : 1.0);
    if (dashScale != 1.0 && std::isfinite(dashScale) && dashScale > 0.0)
        for (double& d : m_style.dashes) d *= dashScale;
    if (m_style.minPattern > 0) {
        double total = 0;
        for (double d : m_style.dashes) total += std::fabs(d);
        if (total * m_view.scale() < m_style.minPattern) m_style.dashes.clear();
    }
    vorn::db::DrawEntity(entity, this);
    m_style.dashes.clear();
}

bool CairoSink::layerHidden(const AcDbObjectId& layer) const {
    if (!m_db) return false;
    const auto* rec = AcDbLayerTableRecord::cast(m_db->peekObject(layer));
    if (rec && m_style.plot && (!rec->isPlottable() || SameName(rec->name(), L"Defpoints"))) return true;
    return rec && (rec->isOff() || rec->isFrozen());
}

Rgb CairoSink::colourOf(const vorn::db::GiPrimitive& p) const {
    if (m_style.highlight) return kHighlight;
    if (m_style.monochrome) return {0.0, 0.0, 0.0};
    AcCmColor c = p.color;
    if (c.isByLayer() && m_db) {
        const auto* rec = AcDbLayerTableRecord::cast(m_db->peekObject(p.layerId));
        if (rec) c = rec->color();
    }
    if (c.isByColor()) return {c.red() / 255.0, c.green() / 255.0, c.blue() / 255.0};
    if (c.isByLayer() || c.isByBlock()) return AciToRgb(7, m_style.lightBackground);
    return AciToRgb(c.colorIndex(), m_style.lightBackground);
}

double CairoSink::penWidth() const {
    return std::max(m_style.minLineWidth, m_style.highlight ? m_pen * 2.0 : m_pen);
}

bool CairoSink::paintedBox(PixelBox& box) const {
    if (!m_pixels || m_cairoDrew) return false;
    box = m_pixels->painted;
    if (box.x0 > box.x1) box = PixelBox{};
    return true;
}

void CairoSink::stroke(const Rgb& c, bool dashed) {
    m_cairoDrew = true;
    cairo_set_source_rgb(m_cr, c.r, c.g, c.b);
    cairo_set_line_width(m_cr, penWidth());
    const std::vector<double> dev = dashed ? DevicePattern(m_style.dashes, m_view.scale()) : std::vector<double>{};
    cairo_set_dash(m_cr, dev.empty() ? nullptr : dev.data(), static_cast<int>(dev.size()), 0.0);
    cairo_stroke(m_cr);
}

const std::vector<double>& CairoSink::devicePoints(const std::vector<AcGePoint3d>& points) {
    std::vector<double>& xy = m_pixels->xy;
    xy.resize(points.size() * 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        xy[2 * i] = m_view.deviceX(points[i].x);
        xy[2 * i + 1] = m_view.deviceY(points[i].y);
    }
    return xy;
}

bool CairoSink::placeBlock(const AcDbBlockTableRecord* block, const AcGeMatrix3d& placement, const AcDbEntity* by) {
    if (!m_pixels || !m_style.highlight || penWidth() < 2.0 || m_capturing || !block || !by) return false;
    if (!m_sprites) m_sprites = std::make_unique<BlockSprites>();
    BlockSprites& all = *m_sprites;
    // References turned every which way: drawing sprites would not pay.
    if (all.misses > 64) return false;
    const AcGeMatrix3d current = modelTransform();
    const AcGeMatrix3d m = current * placement;
    if (!m.isFinite() || m(0, 2) != 0.0 || m(1, 2) != 0.0) return false;
    const double s = m_view.scale();
    const double a = m(0, 0) * s, b = m(0, 1) * s, c = -m(1, 0) * s, d = -m(1, 1) * s;
    const double x = m_view.deviceX(m(0, 3)), y = m_view.deviceY(m(1, 3));
    constexpr double kFar = 1e8;  // pixels: an anchor beyond is left to the plain drawing
    if (!std::isfinite(a + b + c + d) || !(std::fabs(x) < kFar) || !(std::fabs(y) < kFar)) return false;
    const double ax = std::round(x), ay = std::round(y);
    BlockSprite* sprite = all.find(block->objectId(), by->layerId(), m_style.dashes, a, b, c, d);
    if (!sprite) {
        ++all.misses;
        if (all.sprites.size() >= 32) return false;
        sprite = &all.sprites.emplace_back();
        captureSprite(*sprite, block, placement, by, static_cast<int>(ax), static_cast<int>(ay), x, y);
        sprite->block = block->objectId();
        sprite->layer = by->layerId();
        sprite->dashes = m_style.dashes;
        sprite->a = a, sprite->b = b, sprite->c = c, sprite->d = d;
        const double stretch = std::sqrt(std::fabs(a * d - b * c));
        sprite->radius = stretch > 0 ? (std::max({std::abs(sprite->x0), std::abs(sprite->x1), std::abs(sprite->y0),
                                                  std::abs(sprite->y1)}) + 1.0) / stretch
                                     : 0.0;
    }
    if (!sprite->usable) return false;
    Pixels& px = *m_pixels;
    const int ox = static_cast<int>(ax), oy = static_cast<int>(ay);
    if (ox + sprite->x1 < px.left || ox + sprite->x0 >= px.right || oy + sprite->y1 < px.top ||
        oy + sprite->y0 >= px.bottom || px.width() <= 0 || px.height() <= 0)
        return true;
    if (px.cover.empty()) px.cover.assign(static_cast<std::size_t>(px.width()) * static_cast<std::size_t>(px.height()), 0);
    for (const BlockSprite::Cell& cell : sprite->cells) {
        const int px_ = ox + cell.x, py_ = oy + cell.y;
        if (px_ < px.left || px_ >= px.right || py_ < px.top || py_ >= px.bottom) continue;
        const std::uint32_t k = static_cast<std::uint32_t>((py_ - px.top) * px.width() + (px_ - px.left));
        if (px.cover[k] == 0) px.touched.push_back(k);
        px.cover[k] = std::max(px.cover[k], cell.alpha);
    }
    px.paint(kHighlight);
    return true;
}

void CairoSink::captureSprite(BlockSprite& sprite, const AcDbBlockTableRecord* block,
                              const AcGeMatrix3d& placement, const AcDbEntity* by, int ax, int ay, double x, double y) {
    constexpr int kReach = BlockSprites::kReach, kSide = 2 * kReach;
    // The box around pixel (ax, ay), which the block's base point is moved onto from (x, y).
    auto box = std::make_unique<Pixels>();
    box->left = ax - kReach;
    box->top = ay - kReach;
    box->right = ax + kReach;
    box->bottom = ay + kReach;
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(kSide) * kSide, 0);
    box->sprite = &alpha;
    std::swap(m_pixels, box);
    m_capturing = true;
    m_captureFailed = false;
    const AcGeMatrix3d current = modelTransform();
    const double s = m_view.scale();
    const AcGeVector3d move((ax - x) / s, (y - ay) / s, 0.0);
    const AcGeMatrix3d shift = current.inverse() * AcGeMatrix3d::translation(move) * current;
    vorn::db::DrawBlockAt(block, shift * placement, by, this);
    m_capturing = false;
    std::swap(m_pixels, box);
    sprite.usable = !m_captureFailed;
    if (!sprite.usable) return;
    sprite.x0 = sprite.y0 = kReach;
    sprite.x1 = sprite.y1 = -kReach;
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col) {
            const std::uint8_t v = alpha[static_cast<std::size_t>(row) * kSide + col];
            if (v == 0) continue;
            const int cx = col - kReach, cy = row - kReach;
            sprite.cells.push_back({static_cast<std::int16_t>(cx), static_cast<std::int16_t>(cy), v});
            sprite.x0 = std::min(sprite.x0, cx), sprite.x1 = std::max(sprite.x1, cx);
            sprite.y0 = std::min(sprite.y0, cy), sprite.y1 = std::max(sprite.y1, cy);
        }
    if (sprite.cells.empty()) sprite.x0 = sprite.y0 = sprite.x1 = sprite.y1 = 0;
}

bool CairoSink::capturable(const vorn::db::GiPrimitive& p) const {
    switch (p.kind) {
    case vorn::db::GiPrimitive::kPolyline: return true;
    case vorn::db::GiPrimitive::kPolygon: return p.points.size() <= 2;  // a fill goes through Cairo
    case vorn::db::GiPrimitive::kArc: {
        // The whole circle within the box, so that no part of the arc is cut off.
        const double r = p.radius * m_view.scale() + penWidth(), cx = m_view.deviceX(p.centre.x),
                     cy = m_view.deviceY(p.centre.y);
        const Pixels& px = *m_pixels;
        return cx - r > px.left && cx + r < px.right && cy - r > px.top && cy + r < px.bottom;
    }
    case vorn::db::GiPrimitive::kText: return false;
    }
    return false;
}

void CairoSink::strokePixels(const std::vector<double>& xy, bool closed, const Rgb& c, bool dashed) {
    Pixels& px = *m_pixels;
    const double r = penWidth() / 2;
    const DeviceRect area = px.reach(r);
    const std::vector<double> pattern = dashed ? DevicePattern(m_style.dashes, m_view.scale()) : std::vector<double>{};
    DashWalker dashes;
    dashes.start(&pattern);
    const auto on = [&](double x0, double y0, double x1, double y1) { px.segment(x0, y0, x1, y1, r); };
    const std::size_t n = xy.size() / 2;
    double x0 = xy.empty() ? 0.0 : xy[0], y0 = xy.empty() ? 0.0 : xy[1], x1 = x0, y1 = y0;
    for (std::size_t i = 1; i < n; ++i) {
        x0 = std::min(x0, xy[2 * i]), x1 = std::max(x1, xy[2 * i]);
        y0 = std::min(y0, xy[2 * i + 1]), y1 = std::max(y1, xy[2 * i + 1]);
    }
    if (m_capturing && (x0 - r < px.left + 1 || x1 + r > px.right - 1 || y0 - r < px.top + 1 || y1 + r > px.bottom - 1)) {
        m_captureFailed = true;  // beyond the sprite's box
        return;
    }
    if (n == 1 || (n > 1 && x1 - x0 <= r && y1 - y0 <= r)) {
        // A point, or a stroke that stays within half the pen's width (a detail of a symbol
        // seen from afar): the pen's round end over it, and over half a pixel at least.
        if (x1 - x0 < 0.5 && y1 - y0 < 0.5) x1 = x0 + 0.5;
        if (ClipSegment(area, x0, y0, x1, y1)) px.segment(x0, y0, x1, y1, r);
    } else if (n > 1) {
        const std::vector<double>& kept = px.thin(xy, kThinning);
        double ax = kept[0], ay = kept[1];
        for (std::size_t i = 2; i + 1 < kept.size(); i += 2) {
            dashes.segment(area, ax, ay, kept[i], kept[i + 1], on);
            ax = kept[i], ay = kept[i + 1];
        }
        if (closed && n > 2) dashes.segment(area, ax, ay, kept[0], kept[1], on);
    }
    px.paint(c);
}

void PaintText(cairo_t* cr, const View& view, const AcGiTextData& t, const Rgb& c) {
    std::string utf8 = vorn::ToUtf8(ShownText(t.text));
    double height = t.height * view.scale();
    if (utf8.empty() || !(height > 0.3) || !std::isfinite(height)) return;
    cairo_save(cr);
    cairo_select_font_face(cr, CairoSink::FontFamily(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    // A text height is the height of a capital; the font's em square is about 1.35 times that.
    cairo_set_font_size(cr, height * 1.35);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, utf8.c_str(), &ext);
    cairo_translate(cr, view.deviceX(t.position.x), view.deviceY(t.position.y));
    cairo_rotate(cr, -t.rotation);
    double wf = (t.widthFactor > 0.0 && std::isfinite(t.widthFactor)) ? t.widthFactor : 1.0;
    cairo_scale(cr, wf, 1.0);
    double dx = 0.0, dy = 0.0;
    switch (t.horizontalMode) {
    case 1: case 4: dx = -ext.x_advance / 2; break;  // centre, middle
    case 2: dx = -ext.x_advance; break;              // right
    default: break;
    }
    switch (t.verticalMode) {
    case 1: dy = 0.0; break;                 // bottom: descenders ignored
    case 2: dy = height / 2; break;          // middle
    case 3: dy = height; break;              // top
    default: break;
    }
    if (t.horizontalMode == 4 && t.verticalMode == 0) dy = height / 2;
    cairo_move_to(cr, dx, dy);
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
    cairo_show_text(cr, utf8.c_str());
    cairo_restore(cr);
}

void CairoSink::drawText(const AcGiTextData& t, const Rgb& c) {
    m_cairoDrew = true;
    PaintText(m_cr, m_view, t, c);
}

AcDbExtents CairoSink::viewExtents() const {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cairo_clip_extents(m_cr, &x0, &y0, &x1, &y1);
    // An unbounded target (a recording surface) has no edge: a line without end is drawn across
    // a generous page around the origin instead, within Cairo's range of coordinates.
    constexpr double kReach = 65536.0;
    x0 = std::max(x0, -kReach);
    y0 = std::max(y0, -kReach);
    x1 = std::min(x1, kReach);
    y1 = std::min(y1, kReach);
    AcDbExtents e;
    if (!(x1 != x0 && y1 != y0) || !std::isfinite(x0 + y0 + x1 + y1)) return e;
    e.addPoint(m_view.world(x0, y0));
    e.addPoint(m_view.world(x1, y1));
    return e;
}

bool CairoSink::emit(vorn::db::GiPrimitive&& p) {
    if (layerHidden(p.layerId)) return false;
    Rgb c = colourOf(p);
    m_pen = m_style.pen ? m_style.pen(p) : m_style.lineWidth;
    // Wide pens (previews) straight into an image surface's pixels; a one-pixel line keeps
    // Cairo's exact look in pictures.
    const bool direct = m_pixels && penWidth() >= 2.0;
    if (m_capturing && !capturable(p)) {
        m_captureFailed = true;
        return false;
    }
    switch (p.kind) {
    case vorn::db::GiPrimitive::kPolyline:
    case vorn::db::GiPrimitive::kPolygon: {
        if (p.points.empty()) return false;
        const bool polygon = p.kind == vorn::db::GiPrimitive::kPolygon;
        if (direct && !(polygon && p.points.size() > 2)) {
            strokePixels(devicePoints(p.points), p.closed || polygon, c, !polygon);
            break;
        }
        cairo_new_path(m_cr);
        if (m_style.thinning > 0 && p.points.size() > 2) {
            // A curve flattened in drawing units can bring thousands of points to a millimetre
            // of paper: only those that shape the line go into the file.
            if (!m_thinner) m_thinner = std::make_unique<Thinner>();
            std::vector<double>& xy = m_thinner->xy;
            xy.resize(p.points.size() * 2);
            for (std::size_t i = 0; i < p.points.size(); ++i) {
                xy[2 * i] = m_view.deviceX(p.points[i].x);
                xy[2 * i + 1] = m_view.deviceY(p.points[i].y);
            }
            const std::vector<double>& kept = m_thinner->thin(xy, m_style.thinning);
            cairo_move_to(m_cr, kept[0], kept[1]);
            for (std::size_t i = 2; i + 1 < kept.size(); i += 2) cairo_line_to(m_cr, kept[i], kept[i + 1]);
        } else {
            cairo_move_to(m_cr, m_view.deviceX(p.points[0].x), m_view.deviceY(p.points[0].y));
            for (size_t i = 1; i < p.points.size(); ++i)
                cairo_line_to(m_cr, m_view.deviceX(p.points[i].x), m_view.deviceY(p.points[i].y));
        }
        if (p.points.size() == 1) cairo_rel_line_to(m_cr, 0.5, 0.0);  // a point still shows
        if (p.closed || polygon) cairo_close_path(m_cr);
        if (polygon) {
            cairo_set_source_rgba(m_cr, c.r, c.g, c.b, m_style.highlight ? 0.35 : 0.6);
            cairo_fill(m_cr);
            m_cairoDrew = true;
            // The outline, without the bridges that join islands to it.
            bool closed = true;
            const auto runs = vorn::db::PolygonOutline(p.points, closed);
            if (direct) {
                for (const auto& run : runs) strokePixels(devicePoints(run), closed, c, false);
                break;
            }
            cairo_new_path(m_cr);
            for (const auto& run : runs) {
                cairo_move_to(m_cr, m_view.deviceX(run[0].x), m_view.deviceY(run[0].y));
                for (std::size_t i = 1; i < run.size(); ++i)
                    cairo_line_to(m_cr, m_view.deviceX(run[i].x), m_view.deviceY(run[i].y));
                if (closed) cairo_close_path(m_cr);
            }
        }
        stroke(c, !polygon);
        break;
    }
    case vorn::db::GiPrimitive::kArc: {
        double r = p.radius * m_view.scale();
        if (!(r > 0.0) || !std::isfinite(r)) return false;
        double cx = m_view.deviceX(p.centre.x), cy = m_view.deviceY(p.centre.y);
        if (direct) {
            const double start = p.sweep >= 0 ? p.startAngle : p.startAngle + p.sweep;
            FlattenDeviceArc(cx, cy, r, start, std::fabs(p.sweep), kTolerance, m_pixels->reach(penWidth() / 2),
                             [&](const std::vector<double>& run) { strokePixels(run, false, c, true); });
            break;
        }
        cairo_new_path(m_cr);
        // Device y points down, so counter-clockwise in the drawing is negative in Cairo.
        double a0 = -p.startAngle, a1 = -(p.startAngle + p.sweep);
        if (p.sweep >= 0) cairo_arc_negative(m_cr, cx, cy, r, a0, a1);
        else cairo_arc(m_cr, cx, cy, r, a0, a1);
        stroke(c, true);
        break;
    }
    case vorn::db::GiPrimitive::kText:
        drawText(p.text, c);
        break;
    }
    return false;
}

}  // namespace vorn::render
