// Snap markers.
#include "gui/snapmarker.h"

#include <QPolygonF>

namespace vorn::gui {
namespace {

constexpr double kHalf = 6.0;  // half the marker's size in pixels

}  // namespace

void PaintSnapMarker(QPainter& painter, const QPointF& at, int mode, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    const double h = kHalf, x = at.x(), y = at.y();
    const QRectF box(x - h, y - h, 2 * h, 2 * h);
    switch (mode) {
        case 1:  // endpoint: a square
            painter.drawRect(box);
            break;
        case 2:  // midpoint: a triangle
            painter.drawPolygon(QPolygonF({QPointF(x, y - h), QPointF(x + h, y + h), QPointF(x - h, y + h)}));
            break;
        case 4:  // centre: a circle
            painter.drawEllipse(box);
            break;
        case 8:  // node: a circle with a cross
            painter.drawEllipse(box);
            painter.drawLine(QPointF(x - h, y - h), QPointF(x + h, y + h));
            painter.drawLine(QPointF(x - h, y + h), QPointF(x + h, y - h));
            break;
        case 16:  // quadrant: a diamond
            painter.drawPolygon(QPolygonF({QPointF(x, y - h), QPointF(x + h, y), QPointF(x, y + h), QPointF(x - h, y)}));
            break;
        case 32:  // intersection: a cross
            painter.drawLine(QPointF(x - h, y - h), QPointF(x + h, y + h));
            painter.drawLine(QPointF(x - h, y + h), QPointF(x + h, y - h));
            break;
        case 64:  // insertion: two squares
            painter.drawRect(QRectF(x - h, y - h, h, h));
            painter.drawRect(QRectF(x, y, h, h));
            break;
        case 128:  // perpendicular: a right angle
            painter.drawLine(QPointF(x - h, y - h), QPointF(x - h, y + h));
            painter.drawLine(QPointF(x - h, y + h), QPointF(x + h, y + h));
            painter.drawLine(QPointF(x - h, y), QPointF(x, y));
            painter.drawLine(QPointF(x, y), QPointF(x, y + h));
            break;
        default:  // nearest: an hourglass
            painter.drawPolygon(QPolygonF({QPointF(x - h, y - h), QPointF(x + h, y - h), QPointF(x - h, y + h),
                                           QPointF(x + h, y + h)}));
            break;
    }
    painter.restore();
}

QString SnapModeName(int mode) {
    switch (mode) {
        case 1: return QStringLiteral("Endpoint");
        case 2: return QStringLiteral("Midpoint");
        case 4: return QStringLiteral("Center");
        case 8: return QStringLiteral("Node");
        case 16: return QStringLiteral("Quadrant");
        case 32: return QStringLiteral("Intersection");
        case 64: return QStringLiteral("Insertion");
        case 128: return QStringLiteral("Perpendicular");
        case 512: return QStringLiteral("Nearest");
        default: return QString();
    }
}

}  // namespace vorn::gui
