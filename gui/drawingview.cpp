// The drawing view: transform, cached picture, overlay and the mouse.
#include "gui/drawingview.h"

#include <cairo.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/frontend.h"
#include "gui/snapmarker.h"
#include "gui/viewrender.h"
#include "host/db/db.h"
#include "host/ed/aced.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"
#include "host/render/cairosink.h"

namespace vorn::gui {

using vorn::ed::Event;
using vorn::ed::EventKind;
using vorn::ed::InputKind;

namespace {

// A press and release further apart than this many pixels is a drag, not a click.
constexpr double kDragThreshold = 4.0;
// Each notch of the wheel zooms by this factor.
constexpr double kWheelStep = 1.25;
// The deepest zoom: never more than this many pixels per drawing unit, never fewer than the
// inverse, so the transform stays finite at 10^9 coordinates.
constexpr double kMaxScale = 1e6, kMinScale = 1e-9;
constexpr int kMaxPreviousViews = 50;

QColor Highlight() { return QColor(255, 200, 40); }

}  // namespace

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);  // the view draws its own crosshair
    setMinimumSize(200, 150);
}

DrawingView::~DrawingView() {
    if (m_watched && m_watched == acdbHostApplicationServices()->workingDatabase())
        m_watched->setChangeCallback(nullptr);
}

AcDbDatabase* DrawingView::database() const { return acdbHostApplicationServices()->workingDatabase(); }

void DrawingView::watch(AcDbDatabase* db) {
    if (db == m_watched) return;
    m_watched = db;
    m_cacheValid = false;
    if (!db) return;
    // Called for every change; it only marks the picture stale (a command may change thousands
    // of objects before the view gets to draw again).
    db->setChangeCallback([this] {
        m_cacheValid = false;
        scheduleRender();
    });
}

QPointF DrawingView::toScreen(double x, double y) const { return {m_view.deviceX(x), m_view.deviceY(y)}; }

AcGePoint3d DrawingView::toWorld(const QPointF& pixel) const { return m_view.world(pixel.x(), pixel.y()); }

void DrawingView::setView(const vorn::render::View& view, bool remember) {
    if (remember && m_viewSet) {
        m_previous.push_back(m_view);
        if (static_cast<int>(m_previous.size()) > kMaxPreviousViews) m_previous.erase(m_previous.begin());
    }
    m_view = view;
    m_viewSet = true;
    // Picks and snaps reach as many drawing units as the pick box and aperture cover pixels.
    resbuf px;
    px.restype = RTREAL;
    px.resval.rreal = std::clamp(1.0 / view.scale(), 1e-9, 1e9);
    px.rbnext = nullptr;
    acedSetVar(L"PIXELSIZE", &px);
    m_cacheValid = false;
    scheduleRender();
    update();
    Q_EMIT viewChanged();
}

void DrawingView::zoomExtents() {
    AcDbExtents box;
    if (const AcDbDatabase* db = database()) box = db->modelSpaceExtents();
    if (!box.isValid()) {
        // An empty drawing shows an A3 sheet at 1:100 (in its units).
        const double unit = database() && database()->drawUnit() == 1 ? 0.001 : 1.0;
        box.addPoint(AcGePoint3d(0, 0, 0));
        box.addPoint(AcGePoint3d(42000 * unit, 29700 * unit, 0));
    }
    setView(vorn::render::View::Fit(box, width(), height(), 0.05), true);
}

void DrawingView::zoomWindow(double x1, double y1, double x2, double y2) {
    AcDbExtents box;
    box.addPoint(AcGePoint3d(x1, y1, 0));
    box.addPoint(AcGePoint3d(x2, y2, 0));
    vorn::render::View v = vorn::render::View::Fit(box, width(), height(), 0.0);
    if (v.scale() > kMaxScale || v.scale() < kMinScale) return;
    setView(v, true);
}

bool DrawingView::zoomPrevious() {
    if (m_previous.empty()) return false;
    const vorn::render::View v = m_previous.back();
    m_previous.pop_back();
    setView(v, false);
    return true;
}

void DrawingView::zoomAbout(double factor, const QPointF& pixel) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    const double scale = m_view.scale() * factor;
    if (scale > kMaxScale || scale < kMinScale) return;
    const AcGePoint3d w = toWorld(pixel);
    // The world point under the pixel stays there: origin = w - pixel / scale.
    setView(vorn::render::View::At(w.x - pixel.x() / scale, w.y + pixel.y() / scale, scale), true);
}

void DrawingView::panPixels(double dx, double dy) {
    const double s = m_view.scale();
    setView(vorn::render::View::At(m_view.originX() - dx / s, m_view.originY() + dy / s, s), false);
}

void DrawingView::invalidateDrawing() {
    m_cacheValid = false;
    scheduleRender();
}

void DrawingView::scheduleRender() {
    if (m_renderScheduled) return;
    m_renderScheduled = true;
    // After the paint that shows the old picture moved or scaled: the view answers at once and
    // is complete once this has run.
    QTimer::singleShot(0, this, [this] {
        m_renderScheduled = false;
        if (!m_cacheValid) {
            renderNow();
            update();
        }
    });
}

void DrawingView::renderNow() {
    if (!m_viewSet) zoomExtents();
    watch(database());
    const QSize size = this->size();
    if (m_cache.size() != size) m_cache = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (const AcDbDatabase* db = database())
        RenderModelSpace(*db, m_view, m_cache);
    else
        m_cache.fill(BackgroundColour());
    m_cacheView = m_view;
    m_cacheValid = true;
    ++m_cacheRenders;
}

void DrawingView::refreshOverlay() {
    watch(database());
    update();
}

void DrawingView::resizeEvent(QResizeEvent*) {
    if (!m_viewSet) {
        zoomExtents();
        m_previous.clear();
    } else {
        invalidateDrawing();
    }
}

bool DrawingView::takesPoints() const {
    switch (vorn::ed::CurrentInput().kind) {
        case InputKind::kPoint:
        case InputKind::kCorner:
        case InputKind::kDistance:
        case InputKind::kDrag:
            return true;
        default:
            return false;
    }
}

void DrawingView::cursorPoint(const QPointF& pixel, double ucs[3]) {
    const vorn::ed::InputContext& in = vorn::ed::CurrentInput();
    CursorMemo key;
    key.valid = true;
    key.pixel = pixel;
    key.scale = m_view.scale();
    key.originX = m_view.originX();
    key.originY = m_view.originY();
    const AcDbDatabase* db = database();
    key.revision = db ? db->revision() : 0;
    key.kind = in.kind;
    key.hasBase = in.hasBase;
    std::copy(in.base, in.base + 3, key.base);
    vorn::ed::LastPoint(key.last);
    key.osmode = vorn::ed::OsMode();
    key.ortho = vorn::ed::OrthoMode();
    const CursorMemo& m = m_cursorMemo;
    if (m.valid && m.pixel == key.pixel && m.scale == key.scale && m.originX == key.originX &&
        m.originY == key.originY && m.revision == key.revision && m.kind == key.kind && m.hasBase == key.hasBase &&
        std::equal(m.base, m.base + 3, key.base) && std::equal(m.last, m.last + 3, key.last) &&
        m.osmode == key.osmode && m.ortho == key.ortho) {
        std::copy(m.ucs, m.ucs + 3, ucs);
        m_snap = m.snap;
        return;
    }
    findCursorPoint(pixel, ucs);
    std::copy(ucs, ucs + 3, key.ucs);
    key.snap = m_snap;
    m_cursorMemo = key;
}

void DrawingView::findCursorPoint(const QPointF& pixel, double ucs[3]) {
    const AcGePoint3d w = toWorld(pixel);
    double wcs[3] = {w.x, w.y, 0};
    const vorn::ed::InputContext& in = vorn::ed::CurrentInput();
    m_snap = vorn::ed::SnapPoint{};
    if (takesPoints()) {
        if (vorn::ed::OrthoMode() == 1) {
            // Horizontal or vertical from the base point, or from the last point given.
            double base[3];
            if (in.hasBase) std::copy(in.base, in.base + 3, base);
            else vorn::ed::LastPoint(base);
            if (std::fabs(wcs[0] - base[0]) >= std::fabs(wcs[1] - base[1])) wcs[1] = base[1];
            else wcs[0] = base[0];
        }
        vorn::ed::WcsToUcsPoint(wcs, ucs);
        m_snap = vorn::ed::FindSnap(ucs);
        if (m_snap.mode != 0) std::copy(m_snap.ucs, m_snap.ucs + 3, ucs);
        return;
    }
    vorn::ed::WcsToUcsPoint(wcs, ucs);
}

void DrawingView::postPoint(EventKind kind, const QPointF& pixel) {
    double ucs[3];
    cursorPoint(pixel, ucs);
    Event ev;
    ev.kind = kind;
    ev.x = ucs[0];
    ev.y = ucs[1];
    ev.z = ucs[2];
    ev.silent = true;
    FrontEnd::instance().post(ev);
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        m_leftDown = true;
        m_boxDrag = false;
        m_pressAt = event->position();
    } else if (event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panFrom = event->position();
    }
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton && m_leftDown) {
        m_leftDown = false;
        if (m_boxDrag) {
            m_boxDrag = false;
            // A window dragged at a selection prompt: left to right a window, right to left a
            // crossing window (the editor tells them apart by the corners' order).
            double a[3], b[3];
            const AcGePoint3d wa = toWorld(m_pressAt), wb = toWorld(at);
            const double pa[3] = {wa.x, wa.y, 0}, pb[3] = {wb.x, wb.y, 0};
            vorn::ed::WcsToUcsPoint(pa, a);
            vorn::ed::WcsToUcsPoint(pb, b);
            Event ev;
            ev.kind = EventKind::kBox;
            ev.x = a[0];
            ev.y = a[1];
            ev.x2 = b[0];
            ev.y2 = b[1];
            ev.silent = true;
            FrontEnd::instance().post(ev);
            update();
            return;
        }
        postPoint(EventKind::kClick, at);
    } else if (event->button() == Qt::RightButton) {
        FrontEnd::instance().postEnter();
    } else if (event->button() == Qt::MiddleButton) {
        m_panning = false;
    }
}

void DrawingView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        zoomExtents();
        return;
    }
    // A left double-click is two clicks for the editor.
    mousePressEvent(event);
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    m_cursor = at;
    m_cursorInside = true;
    if (m_panning) {
        panPixels(at.x() - m_panFrom.x(), at.y() - m_panFrom.y());
        m_panFrom = at;
    }
    if (m_leftDown && !m_boxDrag && vorn::ed::CurrentInput().kind == InputKind::kSelection &&
        std::hypot(at.x() - m_pressAt.x(), at.y() - m_pressAt.y()) > kDragThreshold)
        m_boxDrag = true;
    double ucs[3];
    cursorPoint(at, ucs);
    const InputKind kind = vorn::ed::CurrentInput().kind;
    if (kind == InputKind::kDrag || kind == InputKind::kGrRead) {
        Event ev;
        ev.kind = EventKind::kMove;
        ev.x = ucs[0];
        ev.y = ucs[1];
        ev.z = ucs[2];
        ev.silent = true;
        FrontEnd::instance().post(ev);
    }
    Q_EMIT cursorMoved(ucs[0], ucs[1]);
    update();
}

void DrawingView::leaveEvent(QEvent*) {
    m_cursorInside = false;
    update();
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    zoomAbout(std::pow(kWheelStep, notches), event->position());
}

void DrawingView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        FrontEnd::instance().postCancel();
        return;
    }
    Q_EMIT keyForCommandLine(event);
}

// ---- painting ----

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_viewSet) zoomExtents();
    if (m_cache.isNull()) renderNow();
    if (m_cacheValid && m_cacheView.scale() == m_view.scale() && m_cacheView.originX() == m_view.originX() &&
        m_cacheView.originY() == m_view.originY()) {
        painter.drawImage(0, 0, m_cache);
    } else {
        // The old picture moved and scaled to the new view until the new one is drawn.
        painter.fillRect(rect(), BackgroundColour());
        const double k = m_view.scale() / m_cacheView.scale();
        const QPointF at = toScreen(m_cacheView.originX(), m_cacheView.originY());
        painter.drawImage(QRectF(at.x(), at.y(), m_cache.width() * k, m_cache.height() * k), m_cache);
    }
    paintPreview(painter);
    paintOverlay(painter);
}

void DrawingView::paintPreview(QPainter& painter) {
    const AcDbDatabase* db = database();
    const AcDbEntity* preview = vorn::ed::ActiveJigPreview();
    const auto& vectors = vorn::ed::TemporaryVectors();
    const vorn::ed::InputContext& in = vorn::ed::CurrentInput();
    const bool chosen = in.chosen && !in.chosen->empty();
    if (!preview && vectors.empty() && !chosen) return;
    QImage& layer = m_previewLayer;
    if (layer.size() != size()) {
        layer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_previewDrawn = layer.rect();
    }
    // Only what the last frame drew is cleared and only what this one draws is laid over the
    // view: a parking row's preview is a thin band of a large window.
    const QRect stale = m_previewDrawn.intersected(layer.rect());
    for (int y = stale.top(); y <= stale.bottom(); ++y)
        std::memset(layer.scanLine(y) + static_cast<std::ptrdiff_t>(stale.left()) * 4, 0,
                    static_cast<std::size_t>(stale.width()) * 4);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        layer.bits(), CAIRO_FORMAT_ARGB32, layer.width(), layer.height(), static_cast<int>(layer.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    vorn::render::PaintStyle style;
    style.highlight = true;
    vorn::render::CairoSink sink(cr, m_view, db, style);
    if (chosen && db) {
        // Objects chosen so far, dashed in the highlight colour.
        for (const AcDbObjectId& id : *in.chosen)
            if (const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id))) sink.drawEntity(e);
    }
    if (preview) sink.drawEntity(preview);
    vorn::render::PixelBox box;
    m_previewDrawn = sink.paintedBox(box) ? QRect(box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0) : layer.rect();
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (!m_previewDrawn.isEmpty()) painter.drawImage(m_previewDrawn.topLeft(), layer, m_previewDrawn);
    for (const vorn::ed::TemporaryVector& v : vectors) {
        const vorn::render::Rgb c = vorn::render::AciToRgb(v.colorIndex, false);
        painter.setPen(QPen(QColor::fromRgbF(c.r, c.g, c.b), v.highlight ? 2 : 1));
        painter.drawLine(toScreen(v.from[0], v.from[1]), toScreen(v.to[0], v.to[1]));
    }
}

void DrawingView::paintOverlay(QPainter& painter) {
    const vorn::ed::InputContext& in = vorn::ed::CurrentInput();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!m_cursorInside) return;
    double ucs[3], wcs[3];
    cursorPoint(m_cursor, ucs);
    vorn::ed::UcsToWcsPoint(ucs, wcs);
    const QPointF cursorAt = toScreen(wcs[0], wcs[1]);

    // Rubber band from the base point to the cursor; a rectangle for a corner.
    if (in.hasBase && (in.kind == InputKind::kPoint || in.kind == InputKind::kDistance ||
                       in.kind == InputKind::kCorner)) {
        const QPointF base = toScreen(in.base[0], in.base[1]);
        painter.setPen(QPen(QColor(220, 220, 220), 1, Qt::DashLine));
        if (in.kind == InputKind::kCorner) painter.drawRect(QRectF(base, cursorAt).normalized());
        else painter.drawLine(base, cursorAt);
    }
    if (m_boxDrag) {
        const bool crossing = m_cursor.x() < m_pressAt.x();
        const QColor edge = crossing ? QColor(60, 200, 90) : QColor(70, 130, 255);
        QColor fill = edge;
        fill.setAlpha(40);
        painter.setPen(QPen(edge, 1, crossing ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(fill);
        painter.drawRect(QRectF(m_pressAt, m_cursor).normalized());
        painter.setBrush(Qt::NoBrush);
    }
    if (m_snap.mode != 0) {
        // The marker at the snap point and its name beside it, as a tooltip.
        PaintSnapMarker(painter, cursorAt, m_snap.mode, Highlight());
        const QString name = SnapModeName(m_snap.mode);
        const QRectF tip = painter.fontMetrics().boundingRect(name).adjusted(-4, -2, 4, 2);
        const QRectF placed = tip.translated(cursorAt + QPointF(14, 28) - tip.topLeft());
        painter.fillRect(placed, QColor(255, 255, 225));
        painter.setPen(Qt::black);
        painter.drawText(placed, Qt::AlignCenter, name);
    }

    // Crosshair, with the pick box where objects are picked.
    painter.setPen(QPen(QColor(230, 230, 230), 1));
    const QPointF c = m_cursor;
    const bool picks = in.kind == InputKind::kEntity || in.kind == InputKind::kSelection ||
                       in.kind == InputKind::kCommand;
    if (in.kind != InputKind::kSelection && in.kind != InputKind::kEntity) {
        painter.drawLine(QPointF(0, c.y()), QPointF(width(), c.y()));
        painter.drawLine(QPointF(c.x(), 0), QPointF(c.x(), height()));
    }
    if (picks) {
        const double half = std::max(vorn::ed::PickBox(), 1);
        painter.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    }
}

}  // namespace vorn::gui
