// The main window: the drawing view in the middle, the command line docked under it, the
// layer panel, menus and tool bars, and a status bar with the cursor's coordinates and the
// snap and ortho switches.
#pragma once

#include <QMainWindow>

class QLabel;
class QToolButton;

namespace vorn::gui {

class CommandPanel;
class DrawingView;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    DrawingView* view() const { return m_view; }
    CommandPanel* commandPanel() const { return m_panel; }

    // Title, status bar, prompt, keywords and overlay brought up to date with the host.
    void refresh();
    // "site.dxf — vorncad", with " *" when the drawing has unsaved changes.
    QString titleText() const;

    // F3 and F8: running snaps on or off (OSMODE's 16384 bit), ortho on or off.
    void toggleSnaps();
    void toggleOrtho();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Menus and tool bars: every item runs a command as typed.
    void buildMenus();
    // The dock with the drawing's layers.
    void buildLayerPanel();
    void buildStatusBar();

    DrawingView* m_view = nullptr;
    CommandPanel* m_panel = nullptr;
    QLabel* m_coords = nullptr;
    QToolButton* m_snapButton = nullptr;
    QToolButton* m_orthoButton = nullptr;
    int m_waitHook = 0;
};

}  // namespace vorn::gui
