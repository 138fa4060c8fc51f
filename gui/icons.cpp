// The site-plan commands' icons. Each is drawn on a 32-unit square and scaled to the size asked
// for; filled shapes with dark outlines keep them readable on light and dark tool bars.
#include "gui/icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace vorn::gui {
namespace {

const QColor kInk(40, 44, 52);
const QColor kAsphalt(150, 155, 163);
const QColor kMarking(250, 200, 20);
const QColor kAccent(214, 64, 52);
const QColor kPaper(250, 250, 246);
const QColor kCar(46, 110, 206);
const QColor kLeaf(70, 160, 70);
const QColor kLeafDark(30, 96, 36);

QPen Line(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen Dashed(const QColor& colour, double width) {
    QPen pen = Line(colour, width);
    pen.setDashPattern({2.0, 1.5});
    return pen;
}

// A straight road: asphalt between two edges, the centre line dashed.
void DrawRoad(QPainter& p) {
    p.fillRect(QRectF(1, 9, 30, 14), kAsphalt);
    p.setPen(Line(kInk, 2));
    p.drawLine(QPointF(1, 9), QPointF(31, 9));
    p.drawLine(QPointF(1, 23), QPointF(31, 23));
    p.setPen(Dashed(kMarking, 1.5));
    p.drawLine(QPointF(1, 16), QPointF(31, 16));
}

// A road turning from upwards to the right, both corners rounded about one centre; the fillet
// arcs are marked.
void DrawFillet(QPainter& p) {
    const QPointF c(20, 20);
    const double outer = 15, inner = 5, mid = 10;
    QPainterPath band;
    band.moveTo(5, 31);
    band.lineTo(5, 20);
    band.arcTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), 180, -90);
    band.lineTo(31, 5);
    band.lineTo(31, 15);
    band.lineTo(20, 15);
    band.arcTo(QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), 90, 90);
    band.lineTo(15, 31);
    band.closeSubpath();
    p.fillPath(band, kAsphalt);

    p.setPen(Line(kInk, 2));
    p.drawLine(QPointF(5, 31), QPointF(5, 20));
    p.drawLine(QPointF(20, 5), QPointF(31, 5));
    p.drawLine(QPointF(15, 31), QPointF(15, 20));
    p.drawLine(QPointF(20, 15), QPointF(31, 15));
    p.setPen(Line(kAccent, 2.2));
    p.drawArc(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), 90 * 16, 90 * 16);
    p.drawArc(QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), 90 * 16, 90 * 16);
    p.setPen(Dashed(kMarking, 1.4));
    QPainterPath centre;
    centre.moveTo(10, 31);
    centre.lineTo(10, 20);
    centre.arcTo(QRectF(c.x() - mid, c.y() - mid, 2 * mid, 2 * mid), 180, -90);
    centre.lineTo(31, 10);
    p.drawPath(centre);
}

// A row of three parking spaces along a kerb, two of them taken by cars.
void DrawParking(QPainter& p) {
    p.fillRect(QRectF(2, 5, 28, 22), kPaper);
    p.setPen(Line(kInk, 1.6));
    p.drawRect(QRectF(2, 5, 28, 22));
    p.drawLine(QPointF(11.33, 5), QPointF(11.33, 27));
    p.drawLine(QPointF(20.67, 5), QPointF(20.67, 27));
    p.setPen(Line(kInk, 2.4));
    p.drawLine(QPointF(0, 28.5), QPointF(32, 28.5));
    p.setPen(Line(kInk, 1));
    p.setBrush(kCar);
    for (double x : {4.2, 22.9}) p.drawRoundedRect(QRectF(x, 8, 5, 16), 2, 2);
    p.setBrush(Qt::NoBrush);
    // the free space: its diagonal, as the space mark draws it
    p.setPen(Line(kInk, 1));
    p.drawLine(QPointF(11.33, 27), QPointF(20.67, 5));
}

// Trees seen from above: round canopies with their branches and trunk.
void DrawTree(QPainter& p) {
    const auto tree = [&p](const QPointF& c, double r) {
        p.setPen(Line(kLeafDark, 1.4));
        p.setBrush(kLeaf);
        p.drawEllipse(c, r, r);
        p.setPen(Line(kLeafDark, 1));
        for (int i = 0; i < 6; ++i) {
            const QLineF ray = QLineF::fromPolar(r * 0.72, 30 + 60 * i).translated(c);
            p.drawLine(QLineF(c, ray.p2()));
        }
        p.setBrush(kLeafDark);
        p.drawEllipse(c, r * 0.16, r * 0.16);
    };
    tree(QPointF(13, 13), 11);
    tree(QPointF(24.5, 24.5), 6.5);
    p.setBrush(Qt::NoBrush);
}

// A legend table: a title row, then rows of a symbol and its name.
void DrawLegend(QPainter& p) {
    const QRectF table(2, 2, 28, 28);
    p.fillRect(table, kPaper);
    p.fillRect(QRectF(2, 2, 28, 7), QColor(205, 212, 224));
    p.setPen(Line(kInk, 1.6));
    p.drawRect(table);
    p.setPen(Line(kInk, 1));
    for (double y : {9.0, 16.0, 23.0}) p.drawLine(QPointF(2, y), QPointF(30, y));
    p.drawLine(QPointF(12, 9), QPointF(12, 30));
    // the symbols: a tree, a road, a space
    p.setPen(Line(kLeafDark, 1));
    p.setBrush(kLeaf);
    p.drawEllipse(QPointF(7, 12.5), 2.6, 2.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(kInk, 1.2));
    p.drawLine(QPointF(4, 18), QPointF(10, 18));
    p.drawLine(QPointF(4, 21), QPointF(10, 21));
    p.setPen(Line(kCar, 1.4));
    p.drawRect(QRectF(5, 24.5, 4, 4));
    // their names, as grey bars
    p.setPen(Line(QColor(120, 126, 136), 2));
    p.drawLine(QPointF(14.5, 12.5), QPointF(27, 12.5));
    p.drawLine(QPointF(14.5, 19.5), QPointF(24, 19.5));
    p.drawLine(QPointF(14.5, 26.5), QPointF(26, 26.5));
    p.setPen(Line(kInk, 1.5));
    p.drawLine(QPointF(9, 5.5), QPointF(23, 5.5));
}

QFont IconFont(double pixelSize) {
    QFont font;
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(true);
    return font;
}

// The elevation mark: the level written over a line, an inverted triangle pointing at it.
void DrawElevation(QPainter& p) {
    p.setPen(Line(kInk, 1.6));
    p.drawLine(QPointF(3, 17), QPointF(29, 17));
    QPolygonF triangle;
    triangle << QPointF(6, 17) << QPointF(18, 17) << QPointF(12, 29);
    p.setBrush(kCar);
    p.drawPolygon(triangle);
    p.setBrush(Qt::NoBrush);
    p.setPen(kInk);
    p.setFont(IconFont(12));
    p.drawText(QRectF(0, 1, 32, 15), Qt::AlignCenter, QStringLiteral("3.50"));
}

// The slope mark: the grade in percent over an arrow pointing downhill.
void DrawSlope(QPainter& p) {
    p.setPen(kInk);
    p.setFont(IconFont(12));
    p.drawText(QRectF(0, 1, 32, 14), Qt::AlignCenter, QStringLiteral("2%"));
    p.setPen(Line(kAccent, 2.4));
    p.drawLine(QPointF(3, 21), QPointF(23, 21));
    QPolygonF head;
    head << QPointF(31, 21) << QPointF(21, 15.5) << QPointF(21, 26.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
    p.setPen(Line(kInk, 1));
    p.drawLine(QPointF(3, 29), QPointF(29, 29));
}

const std::map<QString, std::function<void(QPainter&)>>& Drawers() {
    static const std::map<QString, std::function<void(QPainter&)>> drawers = {
        {QStringLiteral("KyDrawRoad"), DrawRoad},
        {QStringLiteral("KyRoadFillet"), DrawFillet},
        {QStringLiteral("KyDrawParkSpace"), DrawParking},
        {QStringLiteral("KyRYBS"), DrawTree},
        {QStringLiteral("KyMapLegend"), DrawLegend},
        {QStringLiteral("KyRoadElev"), DrawElevation},
        {QStringLiteral("KyRoadSlope"), DrawSlope},
    };
    return drawers;
}

}  // namespace

QPixmap DrawCommandIcon(const QString& command, int size) {
    const auto it = Drawers().find(command);
    if (it == Drawers().end() || size <= 0) return {};
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 32.0, size / 32.0);
    it->second(painter);
    return pixmap;
}

QIcon CommandIcon(const QString& command) {
    QIcon icon;
    for (int size : {24, 32}) {
        const QPixmap pixmap = DrawCommandIcon(command, size);
        if (pixmap.isNull()) return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace vorn::gui
