// A drawing-interface sink that paints what entities draw onto a Cairo context through a view.
// The picture writer uses it for the whole drawing; a dialog's preview control and the
// editor's snapshot use it for single entities.
#pragma once

#include <cairo.h>

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
    double lineWidth = 1.0;  // pixels; never thinner than one pixel
    // The dash pattern of the entity being drawn, in drawing units (empty: continuous).
    std::vector<double> dashes;
};

class CairoSink : public vorn::db::GiWorldSink {
public:
    // db resolves ByLayer colours and hidden layers; it may be null (everything drawn, ByLayer
    // as the foreground colour).
    CairoSink(cairo_t* cr, const View& view, const AcDbDatabase* db, PaintStyle style = {});

    PaintStyle& style() { return m_style; }
    // Draws one entity with its own line type (ByLayer resolved through its layer).
    void drawEntity(const AcDbEntity* entity);

    // The font family used for every text.
    static const char* FontFamily();

protected:
    bool emit(vorn::db::GiPrimitive&& primitive) override;

private:
    bool layerHidden(const AcDbObjectId& layer) const;
    Rgb colourOf(const vorn::db::GiPrimitive& p) const;
    void stroke(const Rgb& c, bool dashed);
    void drawText(const AcGiTextData& text, const Rgb& c);

    cairo_t* m_cr;
    View m_view;
    const AcDbDatabase* m_db;
    PaintStyle m_style;
};

// The dash pattern (drawing units) an entity is drawn with: its own line type or its layer's.
std::vector<double> EntityDashes(const AcDbEntity* entity);

}  // namespace vorn::render
