// Drawing model space into the view's cached image: only what the window shows (through the
// spatial index), entities smaller than a pixel as a dot.
#pragma once

#include <QImage>

#include "host/render/view.h"

class AcDbDatabase;

namespace vorn::gui {

// Paints the background and every visible model-space entity of db into image (its whole
// size) through view. image must be Format_ARGB32_Premultiplied.
void RenderModelSpace(const AcDbDatabase& db, const vorn::render::View& view, QImage& image);

// The dark screen colour behind the drawing (the pictures' background).
QColor BackgroundColour();

}  // namespace vorn::gui
