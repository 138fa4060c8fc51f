// The marker of a running object snap under the cursor: a shape per snap mode, as CAD users
// know them, and the mode's name for the tooltip.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

namespace vorn::gui {

// Draws the marker of mode (an OSMODE bit) centred on at.
void PaintSnapMarker(QPainter& painter, const QPointF& at, int mode, const QColor& colour);
// "Endpoint", "Midpoint", ... for a mode bit; empty for none.
QString SnapModeName(int mode);

}  // namespace vorn::gui
