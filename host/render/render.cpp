// Writing pictures of a drawing.
#include "host/render/render.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstring>

#include "host/db/db.h"
#include "host/render/cairosink.h"
#include "host/render/picturefile.h"

namespace vorn::render {
namespace {

AcDbExtents PreviewExtents(const RenderOptions& o) {
    AcDbExtents box;
    for (const AcDbEntity* e : o.preview) {
        AcDbExtents x;
        if (e && e->getGeomExtents(x) == Acad::eOk) box.addExt(x);
    }
    for (const auto& v : o.vectors) {
        box.addPoint(v.from);
        box.addPoint(v.to);
    }
    return box;
}

void Paint(cairo_t* cr, const AcDbDatabase& db, const RenderOptions& o) {
    AcDbExtents window = o.window;
    if (!window.isValid()) {
        window = db.modelSpaceExtents();
        window.addExt(PreviewExtents(o));
    }
    View view = View::Fit(window, o.width, o.height, o.margin);
    if (o.lightBackground) cairo_set_source_rgb(cr, 1, 1, 1);
    else cairo_set_source_rgb(cr, 33 / 255.0, 40 / 255.0, 48 / 255.0);
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    PaintStyle style;
    style.lightBackground = o.lightBackground;
    CairoSink sink(cr, view, &db, style);
    for (const AcDbObjectId& id : db.modelSpaceIds()) {
        const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id));
        if (e) sink.drawEntity(e);
    }
    sink.style().highlight = true;
    for (const AcDbEntity* e : o.preview) {
        if (e) sink.drawEntity(e);
    }
    sink.style().highlight = false;
    for (const auto& v : o.vectors) {
        Rgb c = AciToRgb(v.colorIndex, o.lightBackground);
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
        cairo_set_line_width(cr, 1.0);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_move_to(cr, view.deviceX(v.from.x), view.deviceY(v.from.y));
        cairo_line_to(cr, view.deviceX(v.to.x), view.deviceY(v.to.y));
        cairo_stroke(cr);
    }
}

}  // namespace

PictureKind PictureKindOf(const std::string& file) {
    auto dot = file.find_last_of('.');
    if (dot == std::string::npos) return PictureKind::Unknown;
    std::string ext = file.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == "png") return PictureKind::Png;
    if (ext == "svg") return PictureKind::Svg;
    if (ext == "pdf") return PictureKind::Pdf;
    return PictureKind::Unknown;
}

bool WritePicture(const std::string& file, double width, double height, const std::function<void(cairo_t*)>& paint,
                  std::string& error) {
    const PictureKind kind = PictureKindOf(file);
    if (kind == PictureKind::Unknown) {
        error = file + ": unknown picture type; expected a file ending in .png, .svg or .pdf";
        return false;
    }
    const std::string temp = file + ".tmp" + std::to_string(static_cast<long>(::getpid()));
    // Tried first for the reason Cairo does not give: a folder missing, a file not writable.
    if (std::FILE* f = std::fopen(temp.c_str(), "wb")) {
        std::fclose(f);
    } else {
        error = file + ": cannot write the picture: " + std::strerror(errno);
        return false;
    }
    cairo_surface_t* surface = nullptr;
    switch (kind) {
    case PictureKind::Png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::lround(width)),
                                             static_cast<int>(std::lround(height)));
        break;
    case PictureKind::Svg: surface = cairo_svg_surface_create(temp.c_str(), width, height); break;
    case PictureKind::Pdf:
        surface = cairo_pdf_surface_create(temp.c_str(), width, height);
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "vorncad");
        break;
    case PictureKind::Unknown: break;
    }
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        error = file + ": cannot create the picture: " +
                (surface ? cairo_status_to_string(cairo_surface_status(surface)) : "no surface");
        if (surface) cairo_surface_destroy(surface);
        std::remove(temp.c_str());
        return false;
    }
    cairo_t* cr = cairo_create(surface);
    paint(cr);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && kind == PictureKind::Png)
        status = cairo_surface_write_to_png(surface, temp.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = file + ": cannot write the picture: " + cairo_status_to_string(status);
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        error = file + ": cannot write the picture: " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool RenderDrawing(const AcDbDatabase& db, const RenderOptions& o, std::string& error) {
    if (PictureKindOf(o.file) == PictureKind::Unknown) {
        error = o.file + ": unknown picture type; expected a file ending in .png, .svg or .pdf";
        return false;
    }
    if (o.width < 16 || o.height < 16 || o.width > 20000 || o.height > 20000) {
        error = o.file + ": picture size " + std::to_string(o.width) + " x " + std::to_string(o.height) +
                " is out of range; expected 16 to 20000 pixels each way";
        return false;
    }
    return WritePicture(o.file, o.width, o.height, [&](cairo_t* cr) { Paint(cr, db, o); }, error);
}

void ReleaseRenderCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace vorn::render
