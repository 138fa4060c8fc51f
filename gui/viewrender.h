// Drawing model space into the view's cached image: only what the window shows (through the
// spatial index), with a level of detail for a screen of a million entities. Entities smaller
// than a pixel become a dot in their colour, lines and arcs are drawn one pixel wide straight
// into the image, and texts too small to read become a stroke through their box; texts large
// enough to read and filled areas are drawn with the pictures' Cairo painter.
#pragma once

#include <QColor>
#include <QImage>

#include "host/render/view.h"

class AcDbDatabase;

namespace vorn::gui {

// Paints the background and every visible model-space entity of db into image (its whole
// size) through view, in the drawing's order. image must be Format_ARGB32_Premultiplied.
void RenderModelSpace(const AcDbDatabase& db, const vorn::render::View& view, QImage& image);

// The dark screen colour behind the drawing (the pictures' background).
QColor BackgroundColour();

// Texts whose capital height covers fewer pixels than this are drawn as a stroke, not glyphs.
constexpr double kSmallestReadableText = 3.0;

}  // namespace vorn::gui
