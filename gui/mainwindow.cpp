// The main window.
#include "gui/mainwindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

#include "gui/commandpanel.h"
#include "gui/drawingview.h"
#include "gui/frontend.h"
#include "gui/layerpanel.h"
#include "host/cmds/cmds.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/ed/viewctl.h"

namespace vorn::gui {
namespace {

constexpr int kSnapsOff = 16384;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("vorncad"));
    m_view = new DrawingView(this);
    m_view->setObjectName(QStringLiteral("view"));
    setCentralWidget(m_view);

    auto* dock = new QDockWidget(tr("Command line"), this);
    dock->setObjectName(QStringLiteral("commandDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_panel = new CommandPanel(dock);
    dock->setWidget(m_panel);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({dock}, {180}, Qt::Vertical);

    connect(m_view, &DrawingView::keyForCommandLine, m_panel, &CommandPanel::takeKey);
    connect(m_view, &DrawingView::cursorMoved, this, [this](double x, double y) {
        m_coords->setText(QString::asprintf("%.3f, %.3f", x, y));
    });

    buildStatusBar();
    buildMenus();
    buildLayerPanel();

    vorn::ed::ViewControl control;
    control.zoomExtents = [this] { m_view->zoomExtents(); };
    control.zoomWindow = [this](const double a[3], const double b[3]) { m_view->zoomWindow(a[0], a[1], b[0], b[1]); };
    control.zoomPrevious = [this] { return m_view->zoomPrevious(); };
    control.zoomScale = [this](double f) { m_view->zoomAbout(f, QPointF(m_view->width() / 2.0, m_view->height() / 2.0)); };
    control.pan = [this](double dx, double dy) {
        const double s = m_view->transform().scale();
        m_view->panPixels(dx * s, -dy * s);
    };
    control.shownArea = [this](double lo[2], double hi[2]) {
        if (m_view->width() <= 0 || m_view->height() <= 0) return false;
        const AcGePoint3d a = m_view->toWorld(QPointF(0, m_view->height()));
        const AcGePoint3d b = m_view->toWorld(QPointF(m_view->width(), 0));
        lo[0] = std::min(a.x, b.x), lo[1] = std::min(a.y, b.y);
        hi[0] = std::max(a.x, b.x), hi[1] = std::max(a.y, b.y);
        return hi[0] > lo[0] && hi[1] > lo[1];
    };
    vorn::ed::SetViewControl(control);

    vorn::ed::SetTranscriptSink([this](const std::string& utf8) { m_panel->appendTranscript(utf8); });
    m_waitHook = FrontEnd::instance().addWaitHook([this] { refresh(); });

    auto* snaps = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(snaps, &QShortcut::activated, this, &MainWindow::toggleSnaps);
    auto* ortho = new QShortcut(QKeySequence(Qt::Key_F8), this);
    connect(ortho, &QShortcut::activated, this, &MainWindow::toggleOrtho);

    resize(1280, 860);
    refresh();
    m_view->setFocus();
}

MainWindow::~MainWindow() {
    FrontEnd::instance().removeWaitHook(m_waitHook);
    vorn::ed::SetViewControl({});
    vorn::ed::SetTranscriptSink(nullptr);
}

void MainWindow::buildStatusBar() {
    m_coords = new QLabel(this);
    m_coords->setObjectName(QStringLiteral("coordinates"));
    m_coords->setMinimumWidth(220);
    statusBar()->addWidget(m_coords);
    const auto toggle = [this](const QString& name, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(name);
        b->setToolTip(tip);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        statusBar()->addPermanentWidget(b);
        return b;
    };
    m_snapButton = toggle(QStringLiteral("SNAP"), tr("Running object snaps (F3)"));
    m_orthoButton = toggle(QStringLiteral("ORTHO"), tr("Ortho: horizontal and vertical from the last point (F8)"));
    connect(m_snapButton, &QToolButton::clicked, this, &MainWindow::toggleSnaps);
    connect(m_orthoButton, &QToolButton::clicked, this, &MainWindow::toggleOrtho);
}

void MainWindow::toggleSnaps() {
    int mode = vorn::ed::OsMode();
    // A window user expects F3 to bring useful snaps even when none were chosen yet.
    if (mode == 0) mode = 1 | 2 | 4 | 32 | 128 | kSnapsOff;
    std::wstring error;
    vorn::ed::SetSysVarFromText(L"OSMODE", std::to_wstring(mode ^ kSnapsOff), error);
    refresh();
}

void MainWindow::toggleOrtho() {
    std::wstring error;
    vorn::ed::SetSysVarFromText(L"ORTHOMODE", vorn::ed::OrthoMode() == 1 ? L"0" : L"1", error);
    refresh();
}

QString MainWindow::titleText() const {
    const std::wstring& file = vorn::cmds::DrawingFileName();
    const QString name = file.empty() ? tr("Drawing1.dxf") : QFileInfo(QString::fromStdWString(file)).fileName();
    return name + (vorn::cmds::DrawingModified() ? QStringLiteral(" *") : QString()) +
           QStringLiteral(" \u2014 vorncad");
}

void MainWindow::refresh() {
    setWindowTitle(titleText());
    const int mode = vorn::ed::OsMode();
    m_snapButton->setChecked(mode != 0 && !(mode & kSnapsOff));
    m_orthoButton->setChecked(vorn::ed::OrthoMode() == 1);
    m_panel->refresh();
    m_view->refreshOverlay();
    if (auto* layers = findChild<LayerPanel*>()) layers->refresh();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (FrontEnd::instance().inputEnded()) {
        event->accept();
        return;
    }
    // QUIT cancels what waits, asks about unsaved changes and ends the input when the user
    // agrees; the window then closes as the program ends.
    event->ignore();
    FrontEnd::instance().runCommand(L"QUIT");
}

}  // namespace vorn::gui
