// The ready drawing sinks: transform handling, the collector and the distance meter.
#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_set>

#include "host/db/dbbulge.h"
#include "host/db/dbentity.h"
#include "host/db/gi.h"
#include "host/db/giextents.h"

namespace vorn::db {

namespace {
constexpr double kTwoPi = 6.283185307179586476925286766559;

double segDist(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool insidePolygon(const AcGePoint3d& p, const std::vector<AcGePoint3d>& poly) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const AcGePoint3d &a = poly[i], &b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// Whether m maps circles of the XY plane to circles: equal, perpendicular X and Y columns.
bool keepsCircles(const AcGeMatrix3d& m) {
    double ax = m(0, 0), ay = m(1, 0), bx = m(0, 1), by = m(1, 1);
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (!(la > 0.0)) return false;
    return std::fabs(la - lb) <= 1e-9 * la && std::fabs(ax * bx + ay * by) <= 1e-9 * la * la;
}
BulgeSegment arcSegment(const GiPrimitive& p) {
    BulgeSegment seg;
    seg.isArc = true;
    seg.centre = AcGePoint2d(p.centre.x, p.centre.y);
    seg.radius = p.radius;
    seg.startAngle = p.startAngle;
    seg.sweep = p.sweep;
    seg.start = seg.pointAt(0.0);
    seg.end = seg.pointAt(1.0);
    return seg;
}
}  // namespace

void DrawEntity(const AcDbEntity* entity, AcGiWorldDraw* draw) {
    if (!entity || !draw) return;
    draw->subEntityTraits().setTrueColor(entity->color());
    draw->subEntityTraits().setLayer(entity->layerId());
    entity->worldDraw(draw);
}

GiWorldSink::GiWorldSink() = default;
GiWorldSink::~GiWorldSink() = default;

AcGeMatrix3d GiWorldSink::modelTransform() const {
    return m_stack.empty() ? AcGeMatrix3d::kIdentity : m_stack.back();
}

void GiWorldSink::pushModelTransform(const AcGeMatrix3d& m) { m_stack.push_back(modelTransform() * m); }
void GiWorldSink::popModelTransform() {
    if (!m_stack.empty()) m_stack.pop_back();
}

void GiWorldSink::setColor(std::uint16_t aci) { m_color.setColorIndex(aci); }
void GiWorldSink::setTrueColor(const AcCmColor& color) { m_color = color; }
void GiWorldSink::setLayer(const AcDbObjectId& layerId) { m_layer = layerId; }

bool GiWorldSink::polyline(const std::vector<AcGePoint3d>& points, bool closed) {
    if (points.empty()) return false;
    GiPrimitive p;
    p.kind = GiPrimitive::kPolyline;
    p.color = m_color;
    p.layerId = m_layer;
    p.closed = closed;
    AcGeMatrix3d m = modelTransform();
    p.points.reserve(points.size());
    for (const auto& q : points) p.points.push_back(m * q);
    return emit(std::move(p));
}

bool GiWorldSink::polygon(const std::vector<AcGePoint3d>& points) {
    if (points.size() < 3) return polyline(points, true);
    GiPrimitive p;
    p.kind = GiPrimitive::kPolygon;
    p.color = m_color;
    p.layerId = m_layer;
    p.closed = true;
    AcGeMatrix3d m = modelTransform();
    for (const auto& q : points) p.points.push_back(m * q);
    return emit(std::move(p));
}

bool GiWorldSink::circle(const AcGePoint3d& centre, double radius) { return emitArc(centre, radius, 0.0, kTwoPi); }

bool GiWorldSink::circularArc(const AcGePoint3d& centre, double radius, double startAngle, double sweep) {
    return emitArc(centre, radius, startAngle, sweep);
}

bool GiWorldSink::emitArc(const AcGePoint3d& centre, double radius, double startAngle, double sweep) {
    if (!std::isfinite(radius) || !std::isfinite(startAngle) || !std::isfinite(sweep)) return false;
    AcGeMatrix3d m = modelTransform();
    GiPrimitive p;
    p.color = m_color;
    p.layerId = m_layer;
    if (keepsCircles(m)) {
        p.kind = GiPrimitive::kArc;
        p.centre = m * centre;
        double scale = std::hypot(m(0, 0), m(1, 0));
        p.radius = radius * scale;
        double turn = std::atan2(m(1, 0), m(0, 0));
        bool mirrored = m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0) < 0.0;
        if (mirrored) {
            // A mirror turns the sweep around: the image runs clockwise from the mirrored start.
            p.startAngle = turn - startAngle;
            p.sweep = -sweep;
            if (p.sweep < 0.0) {
                p.startAngle += p.sweep;
                p.sweep = -p.sweep;
            }
        } else {
            p.startAngle = startAngle + turn;
            p.sweep = sweep;
        }
        if (p.sweep < 0.0) {
            p.startAngle += p.sweep;
            p.sweep = -p.sweep;
        }
        p.startAngle = std::fmod(p.startAngle, kTwoPi);
        if (p.startAngle < 0.0) p.startAngle += kTwoPi;
        return emit(std::move(p));
    }
    // Not a similarity: the arc becomes an elliptic polyline, flattened in world terms.
    std::vector<AcGePoint2d> pts;
    pts.emplace_back(centre.x + radius * std::cos(startAngle), centre.y + radius * std::sin(startAngle));
    FlattenArc(AcGePoint2d(centre.x, centre.y), radius * m.scale(), startAngle, sweep, pts, deviation());
    // FlattenArc used the stretched radius only for its chord count; put points on the true arc.
    p.kind = GiPrimitive::kPolyline;
    size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        double a = startAngle + sweep * (n > 1 ? double(i) / double(n - 1) : 0.0);
        AcGePoint3d q(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a), centre.z);
        p.points.push_back(m * q);
    }
    p.closed = std::fabs(sweep) >= kTwoPi;
    return emit(std::move(p));
}

bool GiWorldSink::text(const AcGiTextData& t) {
    AcGeMatrix3d m = modelTransform();
    GiPrimitive p;
    p.kind = GiPrimitive::kText;
    p.color = m_color;
    p.layerId = m_layer;
    p.text = t;
    p.text.position = m * t.position;
    AcGeVector3d dir = m * AcGeVector3d(std::cos(t.rotation), std::sin(t.rotation), 0.0);
    AcGeVector3d up = m * AcGeVector3d(-std::sin(t.rotation), std::cos(t.rotation), 0.0);
    double dl = dir.length(), ul = up.length();
    if (dl > 0.0) p.text.rotation = std::atan2(dir.y, dir.x);
    if (ul > 0.0) {
        p.text.height = t.height * ul;
        p.text.widthFactor = t.widthFactor * (dl / ul);
    }
    return emit(std::move(p));
}

namespace {

// The widest a printable ASCII character draws in the renderer's fonts (WenQuanYi Micro Hei,
// DejaVu Sans as fallback), ink or advance, in hundredths of a text height (the font is set at
// 1.35 heights to the em), rounded up. Every other character counts one em: wide CJK
// characters are that wide, and no narrower character is wider.
constexpr unsigned char kAsciiWidth[95] = {
    45,  55, 65, 115, 90, 130, 105, 40, 55, 55, 75, 115, 45, 50, 45, 55, 90,  90, 90, 90, 90, 90, 90, 90,
    90,  90, 50, 50,  115, 115, 115, 75, 135, 95, 95, 95, 105, 85, 80, 105, 105, 50, 40, 95, 75, 120, 105, 110,
    85,  110, 95, 90, 85, 100, 95, 135, 95, 85, 95, 55, 55, 55, 115, 70, 80, 85, 90, 75, 90, 85, 55, 90,
    90,  40, 40, 80, 40, 135, 90, 85, 90, 90, 60, 70, 55, 90, 80, 115, 80, 80, 75, 90, 75, 90, 115};

// The widest a string draws, in heights, before the width factor.
double TextDrawnWidth(const std::wstring& text) {
    double w = 0.0;
    for (wchar_t c : text) w += (c >= 0x20 && c < 0x7F) ? kAsciiWidth[c - 0x20] / 100.0 : 1.35;
    return w;
}

}  // namespace

double TextAdvance(const std::wstring& text) {
    double w = 0.0;
    for (wchar_t c : text) w += (c >= 0x1100 && (c < 0x2000 || c >= 0x2E80)) ? 1.0 : 0.7;
    return w;
}

std::vector<AcGePoint3d> TextBox(const AcGiTextData& t) {
    double w = TextDrawnWidth(t.text) * t.height * t.widthFactor;
    double h = t.height;
    // Offsets of the box's lower left from the anchor, by alignment.
    double x0 = 0.0, y0 = 0.0;
    switch (t.horizontalMode) {
        case 1: case 4: x0 = -w / 2; break;  // centre, middle
        case 2: x0 = -w; break;              // right
        default: break;                      // left, aligned, fit start at the position
    }
    switch (t.verticalMode) {
        case 1: y0 = 0.0; break;        // bottom
        case 2: y0 = -h / 2; break;     // middle
        case 3: y0 = -h; break;         // top
        default: y0 = t.horizontalMode == 4 ? -h / 2 : 0.0; break;
    }
    double c = std::cos(t.rotation), s = std::sin(t.rotation);
    auto at = [&](double x, double y) {
        return AcGePoint3d(t.position.x + x * c - y * s, t.position.y + x * s + y * c, t.position.z);
    };
    return {at(x0, y0), at(x0 + w, y0), at(x0 + w, y0 + h), at(x0, y0 + h)};
}

// ---- collector ----

bool GiCollector::emit(GiPrimitive&& p) {
    primitives.push_back(std::move(p));
    return false;
}

std::vector<std::vector<AcGePoint3d>> PolygonOutline(const std::vector<AcGePoint3d>& points, bool& closed) {
    closed = true;
    const std::size_t n = points.size();
    if (n < 3) return {points};
    // A bridge's ends are each passed twice, so an outline whose points are all different (most
    // fills) has none; that is found by sorting them, without the edge set below.
    {
        std::vector<std::pair<double, double>> sorted;
        sorted.reserve(n);
        bool finite = true;
        for (const AcGePoint3d& p : points) {
            finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
            sorted.emplace_back(p.x, p.y);
        }
        if (finite) {
            std::sort(sorted.begin(), sorted.end());
            if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) return {points};
        }
    }
    // Edges by their ends' exact coordinates: a bridge goes out and comes back on the same points.
    struct Edge {
        double ax, ay, bx, by;
        bool operator==(const Edge& o) const { return ax == o.ax && ay == o.ay && bx == o.bx && by == o.by; }
    };
    struct EdgeHash {
        std::size_t operator()(const Edge& e) const {
            const std::hash<double> h;
            return h(e.ax) ^ (h(e.ay) * 3) ^ (h(e.bx) * 7) ^ (h(e.by) * 13);
        }
    };
    const auto edge = [&](std::size_t i) {
        const AcGePoint3d &a = points[i], &b = points[(i + 1) % n];
        return Edge{a.x, a.y, b.x, b.y};
    };
    std::unordered_set<Edge, EdgeHash> edges;
    edges.reserve(n);
    for (std::size_t i = 0; i < n; ++i) edges.insert(edge(i));
    std::vector<char> bridge(n, 0);
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const Edge e = edge(i);
        if (e.ax == e.bx && e.ay == e.by) continue;
        bridge[i] = edges.count(Edge{e.bx, e.by, e.ax, e.ay}) != 0;
        any = any || bridge[i];
    }
    if (!any) return {points};
    closed = false;
    // Runs start after a bridge; begin at one so that no run wraps past the end.
    std::size_t first = 0;
    while (!bridge[first]) ++first;
    std::vector<std::vector<AcGePoint3d>> runs;
    std::vector<AcGePoint3d> run;
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t i = (first + k) % n;
        if (bridge[i]) {
            if (run.size() > 1) runs.push_back(std::move(run));
            run.clear();
            continue;
        }
        if (run.empty()) run.push_back(points[i]);
        run.push_back(points[(i + 1) % n]);
    }
    if (run.size() > 1) runs.push_back(std::move(run));
    return runs;
}

namespace {
// Grows a box by what a primitive covers (a text by its estimated box).
void AddPrimitive(const GiPrimitive& p, AcDbExtents& ext) {
    switch (p.kind) {
        case GiPrimitive::kPolyline:
        case GiPrimitive::kPolygon:
            for (const auto& q : p.points) ext.addPoint(q);
            break;
        case GiPrimitive::kArc: {
            BulgeSegment seg = arcSegment(p);
            seg.addToExtents(ext, p.centre.z);
            break;
        }
        case GiPrimitive::kText:
            if (!p.text.text.empty())
                for (const auto& q : TextBox(p.text)) ext.addPoint(q);
            break;
    }
}
}  // namespace

AcDbExtents GiCollector::extents() const {
    AcDbExtents ext;
    for (const auto& p : primitives) AddPrimitive(p, ext);
    return ext;
}

bool GiExtentsMeter::emit(GiPrimitive&& p) {
    AddPrimitive(p, m_extents);
    return false;
}

// ---- distance ----

GiDistanceMeter::GiDistanceMeter(const AcGePoint3d& point, double stopBelow)
    : m_point(point), m_stopBelow(stopBelow), m_best(HUGE_VAL) {}

bool GiDistanceMeter::emit(GiPrimitive&& p) {
    double d = HUGE_VAL;
    switch (p.kind) {
        case GiPrimitive::kPolygon:
            if (insidePolygon(m_point, p.points)) d = 0.0;
            [[fallthrough]];
        case GiPrimitive::kPolyline: {
            size_t n = p.points.size();
            if (n == 1) d = std::min(d, std::hypot(m_point.x - p.points[0].x, m_point.y - p.points[0].y));
            for (size_t i = 0; i + 1 < n; ++i) d = std::min(d, segDist(m_point, p.points[i], p.points[i + 1]));
            if (p.closed && n > 2) d = std::min(d, segDist(m_point, p.points[n - 1], p.points[0]));
            break;
        }
        case GiPrimitive::kArc: {
            BulgeSegment seg = arcSegment(p);
            AcGePoint2d c;
            seg.closestFraction(AcGePoint2d(m_point.x, m_point.y), c);
            d = std::hypot(m_point.x - c.x, m_point.y - c.y);
            break;
        }
        case GiPrimitive::kText: {
            if (p.text.text.empty()) break;
            std::vector<AcGePoint3d> box = TextBox(p.text);
            if (insidePolygon(m_point, box)) d = 0.0;
            for (size_t i = 0; i < 4; ++i) d = std::min(d, segDist(m_point, box[i], box[(i + 1) % 4]));
            break;
        }
    }
    if (d < m_best) m_best = d;
    m_any = m_any || d < HUGE_VAL;
    return regenAbort();
}

}  // namespace vorn::db
