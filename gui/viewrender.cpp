// The view's cached picture of model space, drawn with the pictures' own Cairo painter.
#include "gui/viewrender.h"

#include <cairo.h>

#include "host/db/db.h"
#include "host/render/cairosink.h"

namespace vorn::gui {

QColor BackgroundColour() { return QColor(33, 40, 48); }

void RenderModelSpace(const AcDbDatabase& db, const vorn::render::View& view, QImage& image) {
    image.fill(BackgroundColour());
    if (image.isNull()) return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        image.bits(), CAIRO_FORMAT_ARGB32, image.width(), image.height(), static_cast<int>(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const AcGePoint3d lo = view.world(0, image.height()), hi = view.world(image.width(), 0);
    AcDbExtents box;
    box.addPoint(lo);
    box.addPoint(hi);
    vorn::render::CairoSink sink(cr, view, &db);
    for (const AcDbObjectId& id : db.entitiesMeetingBox(box)) {
        const AcDbEntity* e = AcDbEntity::cast(db.peekObject(id));
        if (e) sink.drawEntity(e);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

}  // namespace vorn::gui
