// Painting drawing primitives with Cairo.
#include "host/render/cairosink.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
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

}  // namespace

const char* CairoSink::FontFamily() { return "WenQuanYi Micro Hei"; }

CairoSink::CairoSink(cairo_t* cr, const View& view, const AcDbDatabase* db, PaintStyle style)
    : m_cr(cr), m_view(view), m_db(db), m_style(std::move(style)) {}

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
    vorn::db::DrawEntity(entity, this);
    m_style.dashes.clear();
}

bool CairoSink::layerHidden(const AcDbObjectId& layer) const {
    if (!m_db) return false;
    const auto* rec = AcDbLayerTableRecord::cast(m_db->peekObject(layer));
    return rec && (rec->isOff() || rec->isFrozen());
}

Rgb CairoSink::colourOf(const vorn::db::GiPrimitive& p) const {
    if (m_style.highlight) return kHighlight;
    AcCmColor c = p.color;
    if (c.isByLayer() && m_db) {
        const auto* rec = AcDbLayerTableRecord::cast(m_db->peekObject(p.layerId));
        if (rec) c = rec->color();
    }
    if (c.isByColor()) return {c.red() / 255.0, c.green() / 255.0, c.blue() / 255.0};
    if (c.isByLayer() || c.isByBlock()) return AciToRgb(7, m_style.lightBackground);
    return AciToRgb(c.colorIndex(), m_style.lightBackground);
}

void CairoSink::stroke(const Rgb& c, bool dashed) {
    cairo_set_source_rgb(m_cr, c.r, c.g, c.b);
    double width = std::max(1.0, m_style.highlight ? m_style.lineWidth * 2.0 : m_style.lineWidth);
    cairo_set_line_width(m_cr, width);
    std::vector<double> dev;
    if (dashed && !m_style.dashes.empty()) {
        for (double d : m_style.dashes) {
            // A dot becomes one pixel; a dash shorter than a pixel still shows.
            double len = std::fabs(d) * m_view.scale();
            dev.push_back(std::clamp(len, 1.0, 1e6));
        }
        // A pattern that repeats within a few pixels reads as a continuous line.
        double total = 0;
        for (double d : dev) total += d;
        if (total < 4.0 || dev.size() % 2 == 1) dev.clear();
    }
    cairo_set_dash(m_cr, dev.empty() ? nullptr : dev.data(), static_cast<int>(dev.size()), 0.0);
    cairo_stroke(m_cr);
}

void CairoSink::drawText(const AcGiTextData& t, const Rgb& c) {
    std::string utf8 = vorn::ToUtf8(ShownText(t.text));
    double height = t.height * m_view.scale();
    if (utf8.empty() || !(height > 0.3) || !std::isfinite(height)) return;
    cairo_save(m_cr);
    cairo_select_font_face(m_cr, FontFamily(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    // A text height is the height of a capital; the font's em square is about 1.35 times that.
    cairo_set_font_size(m_cr, height * 1.35);
    cairo_text_extents_t ext;
    cairo_text_extents(m_cr, utf8.c_str(), &ext);
    cairo_translate(m_cr, m_view.deviceX(t.position.x), m_view.deviceY(t.position.y));
    cairo_rotate(m_cr, -t.rotation);
    double wf = (t.widthFactor > 0.0 && std::isfinite(t.widthFactor)) ? t.widthFactor : 1.0;
    cairo_scale(m_cr, wf, 1.0);
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
    cairo_move_to(m_cr, dx, dy);
    cairo_set_source_rgb(m_cr, c.r, c.g, c.b);
    cairo_show_text(m_cr, utf8.c_str());
    cairo_restore(m_cr);
}

bool CairoSink::emit(vorn::db::GiPrimitive&& p) {
    if (layerHidden(p.layerId)) return false;
    Rgb c = colourOf(p);
    switch (p.kind) {
    case vorn::db::GiPrimitive::kPolyline:
    case vorn::db::GiPrimitive::kPolygon: {
        if (p.points.empty()) return false;
        cairo_new_path(m_cr);
        cairo_move_to(m_cr, m_view.deviceX(p.points[0].x), m_view.deviceY(p.points[0].y));
        for (size_t i = 1; i < p.points.size(); ++i)
            cairo_line_to(m_cr, m_view.deviceX(p.points[i].x), m_view.deviceY(p.points[i].y));
        if (p.points.size() == 1) cairo_rel_line_to(m_cr, 0.5, 0.0);  // a point still shows
        if (p.closed || p.kind == vorn::db::GiPrimitive::kPolygon) cairo_close_path(m_cr);
        if (p.kind == vorn::db::GiPrimitive::kPolygon) {
            cairo_set_source_rgba(m_cr, c.r, c.g, c.b, m_style.highlight ? 0.35 : 0.6);
            cairo_fill_preserve(m_cr);
        }
        stroke(c, p.kind == vorn::db::GiPrimitive::kPolyline);
        break;
    }
    case vorn::db::GiPrimitive::kArc: {
        double r = p.radius * m_view.scale();
        if (!(r > 0.0) || !std::isfinite(r)) return false;
        double cx = m_view.deviceX(p.centre.x), cy = m_view.deviceY(p.centre.y);
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
