// Menus and tool bars of the main window: every item runs the command a user could type, with
// the answers a user would type after it (Zoom Extents is ZOOM, then E).
#include "gui/menus.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "gui/commandpanel.h"
#include "gui/frontend.h"
#include "gui/icons.h"
#include "gui/mainwindow.h"
#include "host/ed/editor.h"

namespace vorn::gui {
namespace {

using vorn::ed::Event;
using vorn::ed::EventKind;

// The window's shortcuts (Ctrl+Z, Delete ...) also work while the command line has the keyboard,
// unless a line is being typed there: then they edit that line.
class EmptyLineShortcuts : public QObject {
public:
    EmptyLineShortcuts(QLineEdit* line, QList<QKeySequence> keys)
        : QObject(line), m_line(line), m_keys(keys) {
        line->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_line || event->type() != QEvent::ShortcutOverride ||
            !m_line->text().isEmpty())
            return false;
        // Left unaccepted, the key goes on to the window's shortcut.
        return m_keys.contains(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()));
    }

private:
    QLineEdit* m_line;
    QList<QKeySequence> m_keys;
};

// The module's commands as its users know them.
struct PlanCommand {
    const wchar_t* command;
    const char* name;  // UTF-8
};
constexpr PlanCommand kPlanCommands[] = {
    {L"KyDrawRoad", "道路绘制"},  {L"KyRoadFillet", "道路倒角"}, {L"KyDrawParkSpace", "车位布置"},
    {L"KyRYBS", "任意布树"},      {L"KyMapLegend", "总平图例"},  {L"KyRoadElev", "道路标高"},
    {L"KyRoadSlope", "道路坡度"},
};

}  // namespace

void RunCommandWithAnswers(const std::wstring& command, const std::vector<std::wstring>& answers) {
    FrontEnd& frontEnd = FrontEnd::instance();
    frontEnd.runCommand(command);
    // Posted after the command, they follow it in order once it runs.
    for (const std::wstring& answer : answers) {
        Event event;
        event.kind = answer.empty() ? EventKind::kEnter : EventKind::kText;
        event.text = answer;
        frontEnd.post(event);
    }
}

void MainWindow::buildMenus() {
    // An action runs command, then answers; its object name is what is typed ("ZOOM E").
    const auto action = [this](const QString& text, const std::wstring& command,
                               const std::vector<std::wstring>& answers = {}) {
        std::wstring typed = command;
        for (const std::wstring& answer : answers) typed += L" " + answer;
        auto* item = new QAction(text, this);
        item->setObjectName(QString::fromStdWString(typed));
        connect(item, &QAction::triggered, this,
                [command, answers] { RunCommandWithAnswers(command, answers); });
        return item;
    };
    // The keys are the same on every desktop (the platform's own lists differ: Ctrl+D erasing
    // on one, no Save As key on another).
    const auto describe = [](QAction* a, const QString& what,
                             const QList<QKeySequence>& keys = {}) {
        a->setShortcuts(keys);
        const QString tip = what + QStringLiteral(" (") + a->objectName() + QLatin1Char(')');
        a->setToolTip(keys.isEmpty() ? tip
                                     : tip + QStringLiteral("  ") +
                                           keys.front().toString(QKeySequence::NativeText));
        a->setStatusTip(tip);
        return a;
    };
    const auto standard = [this](QStyle::StandardPixmap which) {
        return style()->standardIcon(which);
    };

    QAction* save = describe(action(tr("&Save"), L"SAVE"), tr("Save the drawing"),
                             {QKeySequence(Qt::CTRL | Qt::Key_S)});
    QAction* saveAs =
        describe(action(tr("Save &As..."), L"SAVEAS"), tr("Save the drawing under another name"),
                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    QAction* render = describe(action(tr("&Export Picture..."), L"RENDER"),
                               tr("Draw the drawing into a PNG, SVG or PDF file"));
    QAction* plot = describe(action(tr("&Plot..."), L"PLOT"),
                             tr("Plot the drawing on a sheet at a scale into a PDF, PNG or SVG file"),
                             {QKeySequence(Qt::CTRL | Qt::Key_P)});
    QAction* quit = describe(action(tr("&Quit"), L"QUIT"), tr("End vorncad"),
                             {QKeySequence(Qt::CTRL | Qt::Key_Q)});
    save->setIcon(standard(QStyle::SP_DialogSaveButton));
    saveAs->setIcon(standard(QStyle::SP_DriveFDIcon));
    render->setIcon(standard(QStyle::SP_FileDialogContentsView));
    quit->setIcon(standard(QStyle::SP_DialogCloseButton));
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addActions({save, saveAs, render, plot});
    file->addSeparator();
    file->addAction(quit);

    QAction* undo = describe(action(tr("&Undo"), L"U"), tr("Take back the last command"),
                             {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction* redo = describe(
        action(tr("&Redo"), L"REDO"), tr("Bring back what was undone"),
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QAction* erase = describe(action(tr("&Erase"), L"ERASE"), tr("Erase objects"),
                              {QKeySequence(Qt::Key_Delete)});
    undo->setIcon(standard(QStyle::SP_ArrowBack));
    redo->setIcon(standard(QStyle::SP_ArrowForward));
    erase->setIcon(standard(QStyle::SP_TrashIcon));
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addActions({undo, redo});
    edit->addSeparator();
    edit->addAction(erase);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addAction(
        describe(action(tr("Zoom &Extents"), L"ZOOM", {L"E"}), tr("Show the whole drawing")));
    view->addAction(
        describe(action(tr("Zoom &Window"), L"ZOOM", {L"W"}), tr("Show the window you pick")));
    view->addAction(
        describe(action(tr("Zoom &Previous"), L"ZOOM", {L"P"}), tr("Back to the view before")));
    view->addAction(describe(action(tr("&Pan"), L"PAN"),
                             tr("Move the view from a base point to a second point")));

    QMenu* plan = menuBar()->addMenu(QStringLiteral("总图"));
    plan->setObjectName(QStringLiteral("planMenu"));
    auto* planBar = new QToolBar(QStringLiteral("总图"), this);
    planBar->setObjectName(QStringLiteral("planToolBar"));
    planBar->setIconSize(QSize(32, 32));
    for (const PlanCommand& c : kPlanCommands) {
        const QString name = QString::fromUtf8(c.name);
        QAction* a = describe(action(name, c.command), name);
        a->setIcon(CommandIcon(QString::fromWCharArray(c.command)));
        plan->addAction(a);
        planBar->addAction(a);
    }

    auto* fileBar = new QToolBar(tr("File and edit"), this);
    fileBar->setObjectName(QStringLiteral("fileToolBar"));
    fileBar->addActions({save, saveAs, render});
    fileBar->addSeparator();
    fileBar->addActions({undo, redo, erase});
    addToolBar(Qt::TopToolBarArea, fileBar);
    addToolBar(Qt::TopToolBarArea, planBar);

    QList<QKeySequence> keys;
    for (const QAction* a : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        keys += a->shortcuts();
    new EmptyLineShortcuts(commandPanel()->input(), keys);
}

}  // namespace vorn::gui
