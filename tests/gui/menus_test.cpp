// The main window's menus, tool bars and layer panel, used as a person uses them: buttons
// clicked, menu items chosen, layers double-clicked and switched, with the editor running.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/commandpanel.h"
#include "gui/drawingview.h"
#include "gui/frontend.h"
#include "gui/layerpanel.h"
#include "gui/mainwindow.h"
#include "host/cmds/cmds.h"
#include "host/db/db.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "tests/gui/steps.h"
#include "tests/testdrawing.h"

namespace {

using vorn::gui::FrontEnd;
using vorn::gui::LayerPanel;

const wchar_t* const kTestGroup = L"MENU_TEST";

class MenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vorn::cmds::RegisterHostCommands(); }

    void SetUp() override {
        m_db->clearUndo();
        vorn::cmds::MarkDrawingSaved();
        m_window = std::make_unique<vorn::gui::MainWindow>();
        FrontEnd::instance().install();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void TearDown() override {
        vorn::ed::RemoveGroup(kTestGroup);
        m_window.reset();
    }

    // Runs the Command: loop; each step runs when the editor next waits for the user, the input
    // ends after the last. Steps wait a moment, as a person would, so that what a menu item
    // answers after its command reaches the editor first.
    void Run(std::vector<std::function<void()>> steps) {
        vorn::test::StepOptions options;
        options.delayMs = 20;
        options.context = m_window.get();
        vorn::test::PlaySteps(steps, vorn::ed::RunCommandLoop, options);
    }

    QAction* Action(const char* name) const {
        auto* action = m_window->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    QString Transcript() const { return m_window->commandPanel()->transcript()->toPlainText(); }

    LayerPanel* Layers() const { return m_window->findChild<LayerPanel*>(); }
    QRect Cell(const QString& layer, int column) const {
        QTreeWidget* list = Layers()->list();
        QTreeWidgetItem* item = Layers()->itemOf(layer);
        EXPECT_NE(item, nullptr) << layer.toStdString();
        return item
                   ? list->visualRect(list->model()->index(list->indexOfTopLevelItem(item), column))
                   : QRect();
    }
    void ClickOnOffBox(const QString& layer) {
        QTreeWidget* list = Layers()->list();
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = Cell(layer, LayerPanel::kOnColumn);
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    }

    AcDbObjectId MakeLayer(const wchar_t* name, int colour, bool off) { return m_drawing.layer(name, colour, off); }
    bool IsOff(const wchar_t* name) const {
        return AcDbLayerTableRecord::cast(m_db->peekObject(m_db->findLayer(name)))->isOff();
    }

    vorn::test::TestDrawing m_drawing;
    AcDbDatabase* const m_db = &m_drawing.db();
    std::unique_ptr<vorn::gui::MainWindow> m_window;
};

TEST_F(MenuTest, EachSitePlanButtonRunsItsCommand) {
    struct Item {
        const char* command;
        const char* name;
    };
    const Item items[] = {
        {"KyDrawRoad", "道路绘制"},  {"KyRoadFillet", "道路倒角"}, {"KyDrawParkSpace", "车位布置"},
        {"KyRYBS", "任意布树"},      {"KyMapLegend", "总平图例"},  {"KyRoadElev", "道路标高"},
        {"KyRoadSlope", "道路坡度"},
    };
    // Stand-ins that note that they ran: the module itself is not loaded here.
    std::vector<std::wstring> ran;
    for (const Item& item : items) {
        const std::wstring name = QString::fromUtf8(item.command).toStdWString();
        vorn::ed::AddCommand(kTestGroup, name, name, 0, [&ran, name] { ran.push_back(name); });
    }
    auto* bar = m_window->findChild<QToolBar*>(QStringLiteral("planToolBar"));
    auto* menu = m_window->menuBar()->findChild<QMenu*>(QStringLiteral("planMenu"));
    ASSERT_TRUE(bar && menu);
    EXPECT_EQ(menu->title(), QStringLiteral("总图"));
    for (const Item& item : items) {
        SCOPED_TRACE(item.command);
        QAction* action = Action(item.command);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(item.name));
        EXPECT_TRUE(action->toolTip().contains(QString::fromUtf8(item.command)));
        EXPECT_TRUE(menu->actions().contains(action));
        EXPECT_FALSE(action->icon().pixmap(24, 24).isNull());
        EXPECT_FALSE(action->icon().pixmap(32, 32).isNull());
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        ran.clear();
        Run({[&] { QTest::mouseClick(button, Qt::LeftButton); }});
        EXPECT_EQ(ran, std::vector<std::wstring>{QString::fromUtf8(item.command).toStdWString()});
    }
}

// Zoom Extents chosen while LINE waits: LINE is cancelled, ZOOM gets its E (not LINE, and not
// the Command: prompt), and Zoom Previous goes back to the view before.
TEST_F(MenuTest, ZoomItemsAnswerTheirOwnCommandEvenWhileAnotherWaits) {
    vorn::ed::dbx::AppendToModelSpace(
        new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100000, 50000, 0)));
    vorn::gui::DrawingView* view = m_window->view();
    view->zoomWindow(0, 0, 100, 100);
    const double closeUp = view->transform().scale();
    const QRectF screen = view->rect();
    const auto onScreen = [&](double x, double y) { return screen.contains(view->toScreen(x, y)); };
    ASSERT_FALSE(onScreen(100000, 50000));

    Run({[] { FrontEnd::instance().postLine(L"LINE"); }, [&] { Action("ZOOM E")->trigger(); }});
    EXPECT_TRUE(onScreen(0, 0));
    EXPECT_TRUE(onScreen(100000, 50000));
    EXPECT_FALSE(Transcript().contains(QStringLiteral("Unknown command")));
    EXPECT_FALSE(Transcript().contains(QStringLiteral("not accepted")));
    EXPECT_EQ(m_db->modelSpaceIds().length(), 1);

    Run({[&] { Action("ZOOM P")->trigger(); }});
    EXPECT_DOUBLE_EQ(view->transform().scale(), closeUp);
}

// The edit keys reach the drawing while the command line has the keyboard, unless a line is
// being typed there: then they edit the line.
TEST_F(MenuTest, EditKeysFromTheCommandLineUndoTheDrawingUnlessALineIsTyped) {
    QLineEdit* input = m_window->commandPanel()->input();
    const auto undoKey = [input] { QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier); };
    Run({[] { FrontEnd::instance().postLine(L"LINE"); },
         [] { FrontEnd::instance().postLine(L"0,0"); },
         [] { FrontEnd::instance().postLine(L"100,0"); }, [] { FrontEnd::instance().postEnter(); },
         [&] {
             input->setFocus();
             QTest::keyClicks(input, QStringLiteral("LIN"));
             undoKey();  // takes back the typing only
             EXPECT_EQ(m_db->modelSpaceIds().length(), 1);
             input->clear();
             undoKey();
         }});
    EXPECT_EQ(m_db->modelSpaceIds().length(), 0);
}

TEST_F(MenuTest, LayerPanelShowsTheLayersAndFollowsTheDrawing) {
    MakeLayer(L"ROAD", 1, true);
    m_db->setClayer(MakeLayer(L"TREE", 3, false));
    m_window->refresh();
    const LayerPanel* panel = Layers();
    ASSERT_NE(panel, nullptr);
    struct Row {
        const char* name;
        bool on, current;
        const char* colour;
    };
    const auto expectRows = [&](const std::vector<Row>& rows) {
        ASSERT_EQ(panel->list()->topLevelItemCount(), static_cast<int>(rows.size()));
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const QTreeWidgetItem* item = panel->list()->topLevelItem(i);
            SCOPED_TRACE(rows[i].name);
            EXPECT_EQ(item->text(LayerPanel::kNameColumn), QString::fromUtf8(rows[i].name));
            EXPECT_EQ(item->checkState(LayerPanel::kOnColumn) == Qt::Checked, rows[i].on);
            EXPECT_EQ(!item->text(LayerPanel::kCurrentColumn).isEmpty(), rows[i].current);
            EXPECT_EQ(item->text(LayerPanel::kColourColumn), QString::fromUtf8(rows[i].colour));
            EXPECT_FALSE(item->icon(LayerPanel::kColourColumn).isNull());
        }
    };
    expectRows({{"0", true, false, "7"}, {"ROAD", false, false, "1"}, {"TREE", true, true, "3"}});

    // A layer made by a command shows once the editor waits again, as the current one.
    Run({[] { FrontEnd::instance().postLine(L"LAYER"); },
         [] { FrontEnd::instance().postLine(L"M"); },
         [] { FrontEnd::instance().postLine(L"道路红线"); },
         [] { FrontEnd::instance().postEnter(); }});
    expectRows({{"0", true, false, "7"},
                {"ROAD", false, false, "1"},
                {"TREE", true, false, "3"},
                {"道路红线", true, true, "7"}});
}

TEST_F(MenuTest, DoubleClickMakesALayerCurrentAsTyped) {
    MakeLayer(L"ROAD", 1, false);
    const AcDbObjectId site =
        MakeLayer(L"SITE!@~", 2, false);  // a name that looks like a click line
    m_window->refresh();
    for (const QString& name : {QStringLiteral("ROAD"), QStringLiteral("SITE!@~")}) {
        Run({[&] {
            // What a mouse sends: a click, then the second press as a double-click.
            QWidget* list = Layers()->list()->viewport();
            const QPoint at = Cell(name, LayerPanel::kNameColumn).center();
            QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(list, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseRelease(list, Qt::LeftButton, Qt::NoModifier, at);
        }});
        EXPECT_EQ(m_db->clayer(), m_db->findLayer(name.toStdWString()));
        EXPECT_FALSE(Layers()->itemOf(name)->text(LayerPanel::kCurrentColumn).isEmpty());
    }
    EXPECT_EQ(m_db->clayer(), site);
    EXPECT_TRUE(Transcript().contains(QStringLiteral("LAYER")));
    EXPECT_FALSE(Transcript().contains(QStringLiteral("does not exist")));
}

// The box turns the layer off and on; at Command: it is a step of its own, so U takes back the
// switch and not the command before it.
TEST_F(MenuTest, OnOffBoxSwitchesTheLayerAsOneUndoStep) {
    MakeLayer(L"ROAD", 1, false);
    Run({[] { FrontEnd::instance().postLine(L"LAYER"); },
         [] { FrontEnd::instance().postLine(L"S"); },
         [] { FrontEnd::instance().postLine(L"ROAD"); }, [] { FrontEnd::instance().postEnter(); },
         [] { FrontEnd::instance().postLine(L"LINE"); },
         [] { FrontEnd::instance().postLine(L"0,0"); },
         [] { FrontEnd::instance().postLine(L"100,0"); },
         [] { FrontEnd::instance().postEnter(); }});
    ASSERT_EQ(m_db->modelSpaceIds().length(), 1);
    vorn::cmds::MarkDrawingSaved();

    ClickOnOffBox(QStringLiteral("ROAD"));
    EXPECT_TRUE(IsOff(L"ROAD"));
    EXPECT_EQ(Layers()->itemOf(QStringLiteral("ROAD"))->checkState(LayerPanel::kOnColumn),
              Qt::Unchecked);
    EXPECT_TRUE(m_window->windowTitle().contains(QStringLiteral(" *")));

    Run({[] { FrontEnd::instance().postLine(L"U"); }});
    EXPECT_FALSE(IsOff(L"ROAD"));
    EXPECT_EQ(m_db->modelSpaceIds().length(), 1);
    EXPECT_EQ(Layers()->itemOf(QStringLiteral("ROAD"))->checkState(LayerPanel::kOnColumn),
              Qt::Checked);

    ClickOnOffBox(QStringLiteral("ROAD"));
    ClickOnOffBox(QStringLiteral("ROAD"));
    EXPECT_FALSE(IsOff(L"ROAD"));
}

}  // namespace
