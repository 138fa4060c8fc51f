// Menus and tool bars of the main window: every item runs the command a user could type.
#include <QMenuBar>

#include "gui/frontend.h"
#include "gui/mainwindow.h"

namespace vorn::gui {

void MainWindow::buildMenus() {
    const auto item = [this](QMenu* menu, const QString& text, const wchar_t* command,
                             const QKeySequence& keys = QKeySequence()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromWCharArray(command));
        if (!keys.isEmpty()) action->setShortcut(keys);
        const std::wstring name = command;
        connect(action, &QAction::triggered, this, [name] { FrontEnd::instance().runCommand(name); });
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    item(file, tr("&Save"), L"SAVE", QKeySequence::Save);
    item(file, tr("Save &As..."), L"SAVEAS", QKeySequence::SaveAs);
    item(file, tr("&Export Picture..."), L"RENDER");
    file->addSeparator();
    item(file, tr("&Quit"), L"QUIT", QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    item(edit, tr("&Undo"), L"U", QKeySequence::Undo);
    item(edit, tr("&Redo"), L"REDO", QKeySequence::Redo);
    item(edit, tr("&Erase"), L"ERASE", QKeySequence::Delete);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    item(view, tr("Zoom &Extents"), L"ZOOM")->setObjectName(QStringLiteral("ZOOM"));
    item(view, tr("&Pan"), L"PAN");

    QMenu* plan = menuBar()->addMenu(QStringLiteral("总图"));
    item(plan, QStringLiteral("道路"), L"KyDrawRoad");
    item(plan, QStringLiteral("道路倒角"), L"KyRoadFillet");
    item(plan, QStringLiteral("停车位"), L"KyDrawParkSpace");
    item(plan, QStringLiteral("绿化种植"), L"KyRYBS");
    item(plan, QStringLiteral("图例"), L"KyMapLegend");
    item(plan, QStringLiteral("道路标高"), L"KyRoadElev");
    item(plan, QStringLiteral("道路坡度"), L"KyRoadSlope");
}

void MainWindow::buildLayerPanel() {}

}  // namespace vorn::gui
