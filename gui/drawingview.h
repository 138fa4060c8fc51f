// The drawing view: the world-to-screen transform, the cached picture of the drawing, and the
// overlay drawn at every cursor move (the jig's preview, temporary vectors, rubber band,
// selection window, snap marker, crosshair and pick box). Mouse actions become the editor's
// events; keys go to the command line.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "host/ed/editor.h"
#include "host/render/view.h"

class AcDbDatabase;

namespace vorn::gui {

class DrawingView : public QWidget {
    Q_OBJECT

public:
    explicit DrawingView(QWidget* parent);
    ~DrawingView() override;

    // The transform: drawing units to widget pixels and back (world coordinates).
    const vorn::render::View& transform() const { return m_view; }
    QPointF toScreen(double x, double y) const;
    AcGePoint3d toWorld(const QPointF& pixel) const;

    void zoomExtents();
    void zoomWindow(double x1, double y1, double x2, double y2);
    bool zoomPrevious();
    // factor > 1 zooms in, keeping the world point under pixel where it is.
    void zoomAbout(double factor, const QPointF& pixel);
    // Moves the drawing on the screen by (dx, dy) pixels.
    void panPixels(double dx, double dy);

    // The cached picture no longer matches the drawing; it is drawn again before the next paint.
    void invalidateDrawing();
    // Makes the cached picture complete now (tests and benchmarks; a paint does it too).
    void renderNow();
    // Brings the overlay up to date with the editor (prompt kind, preview, chosen objects).
    void refreshOverlay();

    // The running snap last found under the cursor (mode 0: none).
    const vorn::ed::SnapPoint& snap() const { return m_snap; }
    // How many times the cached picture was drawn (for tests: a cursor move must not do it).
    std::uint64_t cacheRenders() const { return m_cacheRenders; }
    const QImage& cachedImage() const { return m_cache; }

Q_SIGNALS:
    // The cursor's position in user coordinates (status bar).
    void cursorMoved(double x, double y);
    // A key typed while the view has the focus: it belongs to the command line.
    void keyForCommandLine(QKeyEvent* event);
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    AcDbDatabase* database() const;
    void watch(AcDbDatabase* db);
    void setView(const vorn::render::View& view, bool remember);
    void scheduleRender();
    // The cursor's point in user coordinates after ortho and the running snap (what a click
    // there gives); snapped tells whether a snap point was found.
    void cursorPoint(const QPointF& pixel, double ucs[3]);
    void findCursorPoint(const QPointF& pixel, double ucs[3]);
    bool takesPoints() const;
    void paintOverlay(QPainter& painter);
    void paintPreview(QPainter& painter);
    void postPoint(vorn::ed::EventKind kind, const QPointF& pixel);

    vorn::render::View m_view;
    bool m_viewSet = false;
    std::vector<vorn::render::View> m_previous;

    QImage m_cache;                  // the drawing as m_cacheView shows it
    vorn::render::View m_cacheView;
    bool m_cacheValid = false;
    bool m_renderScheduled = false;
    std::uint64_t m_cacheRenders = 0;
    AcDbDatabase* m_watched = nullptr;

    QPointF m_cursor;
    bool m_cursorInside = false;
    vorn::ed::SnapPoint m_snap;
    // The last cursor point worked out, with what it depends on: a move and the paint that
    // follows it look for the snap once.
    struct CursorMemo {
        bool valid = false;
        QPointF pixel;
        double scale = 0, originX = 0, originY = 0;
        std::uint64_t revision = 0;
        vorn::ed::InputKind kind = vorn::ed::InputKind::kNone;
        bool hasBase = false;
        double base[3] = {0, 0, 0}, last[3] = {0, 0, 0};
        int osmode = 0, ortho = 0;
        double ucs[3] = {0, 0, 0};
        vorn::ed::SnapPoint snap;
    };
    CursorMemo m_cursorMemo;
    // The preview's layer, kept between frames of a drag.
    QImage m_previewLayer;
    QRect m_previewDrawn;  // the part of the preview layer the last frame drew on

    bool m_leftDown = false;
    bool m_boxDrag = false;
    QPointF m_pressAt;
    bool m_panning = false;
    QPointF m_panFrom;
};

}  // namespace vorn::gui
