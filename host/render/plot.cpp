// Plotting model space on a sheet at scale.
#include "host/render/plot.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "host/db/db.h"
#include "host/db/dbkept.h"
#include "host/render/cairosink.h"
#include "host/render/picturefile.h"

namespace vorn::render {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
// The finest pen a plot draws: a weight of 0 is the finest line the device can make.
constexpr double kFinestPenMm = 0.05;
constexpr double kMaxWeightMm = 5.0;
// How far a plotted polyline may stray from its points: far below the finest pen.
constexpr double kThinningMm = 0.01;
// A line type whose pattern repeats within a millimetre on the sheet reads as a continuous
// line, and is drawn as one rather than as a grey blur of dots.
constexpr double kShortestPatternMm = 1.0;
// Sheets from a label to a wall; scales from 1000:1 to 1:10,000,000.
constexpr double kMinSheetMm = 10.0, kMaxSheetMm = 5000.0;
constexpr double kMinDenominator = 1e-3, kMaxDenominator = 1e7;

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// A plain decimal number, all of text; false for anything else (signs, exponents, words).
bool PlainNumber(const std::string& text, double& value) {
    if (text.empty() || text.size() > 20) return false;
    int dots = 0;
    for (char c : text) {
        if (c == '.') ++dots;
        else if (c < '0' || c > '9') return false;
    }
    if (dots > 1 || text == ".") return false;
    value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value);
}

std::string Mm(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
}

// A header variable's value (group code) as the drawing's file gave it, or fallback.
double HeaderValue(const AcDbDatabase& db, const char* name, int code, double fallback) {
    for (const auto& [var, groups] : vorn::db::FileDataOf(db).header) {
        if (Upper(var) != name) continue;
        for (const AcDbKeptGroup& g : groups) {
            double v = 0;
            if (g.code == code && vorn::db::KeptReal(g, v) && std::isfinite(v)) return v;
        }
    }
    return fallback;
}

// A line weight (group 370) of an object read from a file, in millimetres; -1 ByLayer, -2
// ByBlock, -3 the default (and no weight given).
double KeptLineweight(const AcDbObject* object, double none) {
    const AcDbKeptData* kept = object ? object->keptData() : nullptr;
    if (!kept) return none;
    for (const AcDbKeptGroup& g : kept->groups) {
        double v = 0;
        if (g.code != 370 || !vorn::db::KeptReal(g, v)) continue;
        if (v >= 0 && v <= 211) return v / 100.0;
        return v == -1 || v == -2 ? v : none;  // -3 and anything else: no weight of its own
    }
    return none;
}

int ColourIndexOf(const AcDbDatabase& db, const vorn::db::GiPrimitive& p) {
    AcCmColor c = p.color;
    if (c.isByLayer()) {
        const auto* layer = AcDbLayerTableRecord::cast(db.peekObject(p.layerId));
        if (layer) c = layer->color();
    }
    if (c.isByColor()) return -1;
    if (c.isByLayer() || c.isByBlock()) return 7;
    return c.colorIndex();
}

}  // namespace

bool ParseSheet(const std::string& text, Sheet& sheet, std::string& error) {
    static const double kIso[5][2] = {{1189, 841}, {841, 594}, {594, 420}, {420, 297}, {297, 210}};
    const std::string t = Upper(text);
    if ((t.size() == 2 || (t.size() == 3 && t[2] == 'P')) && t[0] == 'A' && t[1] >= '0' && t[1] <= '4') {
        const double* size = kIso[t[1] - '0'];
        const bool portrait = t.size() == 3;
        sheet.name = t;
        sheet.width = portrait ? size[1] : size[0];
        sheet.height = portrait ? size[0] : size[1];
        return true;
    }
    const auto x = t.find('X');
    double w = 0, h = 0;
    if (x != std::string::npos && PlainNumber(t.substr(0, x), w) && PlainNumber(t.substr(x + 1), h) &&
        w >= kMinSheetMm && h >= kMinSheetMm && w <= kMaxSheetMm && h <= kMaxSheetMm) {
        sheet.name = text;
        sheet.width = w;
        sheet.height = h;
        return true;
    }
    error = "\"" + text + "\" is no sheet: expected A0 to A4 (landscape), A0P to A4P (portrait), or "
            "WIDTHxHEIGHT in millimetres from 10 to 5000, such as 420x297";
    return false;
}

bool ParsePlotScale(const std::string& text, double& denominator, std::string& error) {
    if (Upper(text) == "FIT") {
        denominator = 0.0;
        return true;
    }
    const auto colon = text.find(':');
    double paper = 0, drawing = 0;
    if (colon != std::string::npos && PlainNumber(text.substr(0, colon), paper) &&
        PlainNumber(text.substr(colon + 1), drawing) && paper > 0 && drawing > 0) {
        const double d = drawing / paper;
        if (d >= kMinDenominator && d <= kMaxDenominator) {
            denominator = d;
            return true;
        }
    }
    error = "\"" + text + "\" is no plot scale: expected 1:N such as 1:500 (a sheet millimetre for N in the "
            "drawing; N from 0.001 to 10000000), or fit";
    return false;
}

std::string PlotScaleText(double denominator) {
    char buf[64];
    if (denominator >= 1.0) std::snprintf(buf, sizeof buf, "1:%.10g", std::round(denominator * 10) / 10);
    else std::snprintf(buf, sizeof buf, "%.4g:1", 1.0 / denominator);
    return buf;
}

double PlotStyleTable::weightOf(int aci) const {
    if (aci >= 0 && aci < static_cast<int>(weights.size()) && weights[static_cast<std::size_t>(aci)] > 0)
        return weights[static_cast<std::size_t>(aci)];
    return fallback;
}

bool LoadPlotStyle(const std::string& file, PlotStyleTable& table, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file + ": cannot read the plot style table";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    const nlohmann::json json = nlohmann::json::parse(text.str(), nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        error = file + ": not a plot style table: expected a JSON object such as "
                       "{\"default\": 0.18, \"colours\": {\"7\": 0.35}}";
        return false;
    }
    PlotStyleTable t;
    t.file = file;
    const auto weight = [&](const nlohmann::json& v, const std::string& what, double& into) {
        if (v.is_number() && std::isfinite(v.get<double>()) && v.get<double>() > 0 &&
            v.get<double>() <= kMaxWeightMm) {
            into = v.get<double>();
            return true;
        }
        error = file + ": " + what + " is " + v.dump() + "; expected a line weight in millimetres above 0 and at most 5";
        return false;
    };
    if (json.contains("default") && !weight(json["default"], "\"default\"", t.fallback)) return false;
    if (json.contains("colours")) {
        const nlohmann::json& colours = json["colours"];
        if (!colours.is_object()) {
            error = file + ": \"colours\" must be an object of colour numbers and weights, such as {\"7\": 0.35}";
            return false;
        }
        for (auto it = colours.begin(); it != colours.end(); ++it) {
            double aci = 0;
            if (!PlainNumber(it.key(), aci) || aci != std::floor(aci) || aci < 1 || aci > 255) {
                error = file + ": colour \"" + it.key() + "\" is no colour number; expected 1 to 255";
                return false;
            }
            if (!weight(it.value(), "the weight of colour " + it.key(), t.weights[static_cast<std::size_t>(aci)]))
                return false;
        }
    }
    table = t;
    return true;
}

namespace {

// Where and how large the area lies on the sheet; false with what is wrong with the margins.
bool LayOut(const AcDbDatabase& db, const PlotOptions& o, PlotReport& report, std::string& error) {
    const Sheet& sheet = o.sheet;
    const double margin = o.margin;
    if (!(margin >= 0) || 2 * margin >= std::min(sheet.width, sheet.height)) {
        error = "margins of " + Mm(margin) + " mm leave nothing of a " + Mm(sheet.width) + " x " +
                Mm(sheet.height) + " mm sheet; expected less than half the sheet's shorter side";
        return false;
    }
    const AcDbExtents area = o.area.isValid() ? o.area : db.modelSpaceExtents();
    const double mmPerUnit = db.drawUnit() == AcDb::kUnitMeters ? 1000.0 : 1.0;
    const double printW = sheet.width - 2 * margin, printH = sheet.height - 2 * margin;
    double areaW = 0, areaH = 0;
    if (area.isValid()) {
        areaW = area.maxPoint().x - area.minPoint().x;
        areaH = area.maxPoint().y - area.minPoint().y;
    }
    double denominator = o.scale;
    if (!(denominator > 0)) {
        // Fitted: the area fills the printable area; a point or nothing at 1:1.
        const double fit = std::min(areaW > 0 ? printW / areaW : HUGE_VAL, areaH > 0 ? printH / areaH : HUGE_VAL);
        denominator = std::isfinite(fit) && fit > 0 ? mmPerUnit / fit : 1.0;
        denominator = std::clamp(denominator, kMinDenominator, kMaxDenominator);
    }
    report.scale = denominator;
    report.paperPerUnit = mmPerUnit / denominator;
    report.areaWidth = areaW * report.paperPerUnit;
    report.areaHeight = areaH * report.paperPerUnit;
    report.left = o.centred ? margin + (printW - report.areaWidth) / 2 : margin + o.offsetX;
    report.bottom = o.centred ? margin + (printH - report.areaHeight) / 2 : margin + o.offsetY;
    report.origin = area.isValid() ? area.minPoint() : AcGePoint3d();
    report.cut = report.left < margin - 1e-6 || report.bottom < margin - 1e-6 ||
                 report.left + report.areaWidth > sheet.width - margin + 1e-6 ||
                 report.bottom + report.areaHeight > sheet.height - margin + 1e-6;
    return true;
}

// thinnest: the finest pen in device units, above the sheet's finest (a preview's pixel).
void Paint(cairo_t* cr, const AcDbDatabase& db, const PlotOptions& o, double unit, const PlotReport& report,
           double thinnest) {
    const Sheet& sheet = o.sheet;
    const double margin = o.margin;
    const double paperPerUnit = report.paperPerUnit;
    const double scale = paperPerUnit * unit;  // device units per drawing unit
    const AcGePoint3d& lo = report.origin;
    const View view =
        View::At(lo.x - report.left * unit / scale, lo.y + (sheet.height - report.bottom) * unit / scale, scale);

    // Line types: with PSLTSCALE 1 (the default) their dashes are sheet millimetres, so that a
    // centre line reads the same at every scale; with 0 they are drawing units, as on screen.
    const double ltscale = HeaderValue(db, "$LTSCALE", 40, 1.0);
    const bool paperDashes = HeaderValue(db, "$PSLTSCALE", 70, 1.0) != 0.0;
    PaintStyle style;
    style.lightBackground = true;
    style.plot = true;
    style.monochrome = o.monochrome;
    style.minLineWidth = std::max(kFinestPenMm * unit, thinnest);
    style.minPattern = kShortestPatternMm * unit;
    style.thinning = kThinningMm * unit;
    style.dashScale = (ltscale > 0 ? ltscale : 1.0) * (paperDashes ? 1.0 / paperPerUnit : 1.0);
    // The pen of each primitive: the entity's line weight, else its layer's, else the table's
    // weight for its colour.
    double entityWeight = -3;
    style.pen = [&](const vorn::db::GiPrimitive& p) {
        double mm = entityWeight;
        if (mm == -1) mm = KeptLineweight(db.peekObject(p.layerId), -3);
        if (mm < 0) mm = o.style.weightOf(ColourIndexOf(db, p));
        return std::max(std::max(mm, kFinestPenMm) * unit, thinnest);
    };

    cairo_save(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, sheet.width * unit, sheet.height * unit);
    cairo_fill(cr);
    cairo_rectangle(cr, margin * unit, margin * unit, (sheet.width - 2 * margin) * unit,
                    (sheet.height - 2 * margin) * unit);
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    {
        CairoSink sink(cr, view, &db, style);
        for (const AcDbObjectId& id : db.modelSpaceIds()) {
            const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id));
            if (!e) continue;
            entityWeight = KeptLineweight(e, -1);
            sink.drawEntity(e);
        }
    }
    cairo_restore(cr);
}

}  // namespace

bool PaintPlot(cairo_t* cr, const AcDbDatabase& db, const PlotOptions& o, double unit, double thinnest,
               PlotReport& report, std::string& error) {
    if (!LayOut(db, o, report, error)) return false;
    Paint(cr, db, o, unit, report, thinnest);
    return true;
}

bool PlotDrawing(const AcDbDatabase& db, const PlotOptions& o, PlotReport& report, std::string& error) {
    const PictureKind kind = PictureKindOf(o.file);
    if (kind == PictureKind::Unknown) {
        error = o.file + ": unknown plot file type; expected a file ending in .pdf, .png or .svg";
        return false;
    }
    if (!LayOut(db, o, report, error)) {
        error = o.file + ": " + error;
        return false;
    }
    const Sheet& sheet = o.sheet;
    const double dpi = std::clamp(o.dpi, 10.0, 1200.0);
    // Device units per sheet millimetre: points on paper, pixels in a PNG.
    const double unit = (kind == PictureKind::Png ? dpi : kPointsPerInch) / kMmPerInch;
    const double width = sheet.width * unit, height = sheet.height * unit;
    if (kind == PictureKind::Png && (width > 20000 || height > 20000)) {
        error = o.file + ": a " + Mm(sheet.width) + " x " + Mm(sheet.height) + " mm sheet at " + Mm(dpi) +
                " dpi is over 20000 pixels on a side; plot it as a PDF";
        return false;
    }
    return WritePicture(
        o.file, width, height, [&](cairo_t* cr) { Paint(cr, db, o, unit, report, 0.0); }, error);
}

}  // namespace vorn::render
