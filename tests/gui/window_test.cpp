// The window through the user's door: commands typed into the view, points clicked at screen
// positions from the view's transform, previews that follow the cursor without the drawing
// being drawn again, snaps, selection windows, zoom and pan, Esc and the right button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/KyFramework.h"
#include "framework/library/KyFindFile.h"
#include "gui/commandpanel.h"
#include "gui/drawingview.h"
#include "gui/frontend.h"
#include "gui/mainwindow.h"
#include "gui/plotdialog.h"
#include "host/cmds/cmds.h"
#include "host/db/db.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/rx/modules.h"
#include "tests/commandoutput.h"
#include "tests/gui/windowharness.h"
#include "tests/sounddrawing.h"
#include "tests/testdrawing.h"

namespace {

using vorn::gui::DrawingView;
using vorn::gui::FrontEnd;
using vorn::test::WindowTest;

std::vector<const AcDbLine*> Lines(const AcDbDatabase& db) { return vorn::test::All<AcDbLine>(db); }

TEST_F(WindowTest, LineByClicksFollowsTheCursorWithoutDrawingTheDrawingAgain) {
    DrawingView* view = window().view();
    const QPoint a(200, 300), b(500, 120);
    std::uint64_t rendersBefore = 0;
    Run({
        [&] { Type("LINE"); },
        [&] { Click(a); },
        [&] {
            // The second point's prompt has the first as its base: the rubber band.
            const auto& in = vorn::ed::CurrentInput();
            EXPECT_EQ(in.kind, vorn::ed::InputKind::kPoint);
            EXPECT_TRUE(in.hasBase);
            rendersBefore = view->cacheRenders();
            for (int i = 0; i < 5; ++i) QTest::mouseMove(view, QPoint(300 + 20 * i, 200));
            view->repaint();
            EXPECT_EQ(view->cacheRenders(), rendersBefore) << "a cursor move drew the whole drawing again";
            Click(b);
        },
        [&] { RightClick(); },  // Enter ends LINE
    });
    const auto lines = Lines(db());
    ASSERT_EQ(lines.size(), 1u);
    const AcGePoint3d wa = view->toWorld(a), wb = view->toWorld(b);
    EXPECT_DOUBLE_EQ(lines[0]->startPoint().x, wa.x);
    EXPECT_DOUBLE_EQ(lines[0]->startPoint().y, wa.y);
    EXPECT_DOUBLE_EQ(lines[0]->endPoint().x, wb.x);
    EXPECT_DOUBLE_EQ(lines[0]->endPoint().y, wb.y);
    EXPECT_TRUE(window().windowTitle().contains(QStringLiteral("*"))) << window().windowTitle().toStdString();
}

TEST_F(WindowTest, EscCancelsEnterRepeatsAndKeywordsAreTyped) {
    Run({
        [&] { Type("LINE"); },
        [&] { Click(QPoint(100, 100)); },
        [&] { QTest::keyClick(window().view(), Qt::Key_Escape); },
        [&] {
            EXPECT_EQ(vorn::ed::CurrentInput().kind, vorn::ed::InputKind::kCommand);
            // Enter at Command: runs LINE again.
            QTest::keyClick(window().view(), Qt::Key_Return);
        },
        [&] {
            EXPECT_TRUE(vorn::ed::CommandActive());
            Type("0,0");
        },
        [&] { Type("@1000,0"); },
        [&] { Type("@0,1000"); },
        [&] {
            // LINE's keywords are offered as buttons; C closes the figure.
            EXPECT_TRUE(window().commandPanel()->findChild<QWidget*>(QStringLiteral("keyword-Close")));
            Type("C");
        },
    });
    EXPECT_EQ(Lines(db()).size(), 3u);
    EXPECT_TRUE(window().commandPanel()->transcript()->toPlainText().contains(QStringLiteral("*Cancel*")));
}

TEST_F(WindowTest, RunningSnapMarksAndGivesTheEndPoint) {
    DrawingView* view = window().view();
    std::wstring error;
    ASSERT_TRUE(vorn::ed::SetSysVarFromText(L"OSMODE", L"1", error));
    Run({
        [&] { Type("LINE"); },
        [&] { Type("0,0"); },
        [&] { Type("10000,0"); },
        [&] { QTest::keyClick(view, Qt::Key_Return); },
        [&] {
            view->zoomExtents();
            Type("LINE");
        },
        [&] {
            // Three pixels beside the end: the marker shows the end point.
            const QPointF end = view->toScreen(10000, 0);
            const QPoint near(static_cast<int>(std::lround(end.x())) + 3, static_cast<int>(std::lround(end.y())) - 2);
            QTest::mouseMove(view, near);
            EXPECT_EQ(view->snap().mode, 1);
            Click(near);
        },
        [&] { Type("@0,5000"); },
        [&] { QTest::keyClick(view, Qt::Key_Return); },
    });
    const auto lines = Lines(db());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]->startPoint(), AcGePoint3d(10000, 0, 0));
}

TEST_F(WindowTest, WindowAndCrossingSelectionErase) {
    DrawingView* view = window().view();
    Run({
        [&] { Type("LINE"); },
        [&] { Type("0,0"); },
        [&] { Type("1000,0"); },
        [&] { QTest::keyClick(view, Qt::Key_Return); },
        [&] { Type("LINE"); },
        [&] { Type("0,500"); },
        [&] { Type("3000,500"); },
        [&] { QTest::keyClick(view, Qt::Key_Return); },
        [&] {
            view->zoomWindow(-1000, -1000, 4000, 1500);
            Type("ERASE");
        },
        [&] {
            // Left to right round the short line only: a window takes what lies inside.
            EXPECT_EQ(vorn::ed::CurrentInput().kind, vorn::ed::InputKind::kSelection);
            Drag(view->toScreen(-200, -200).toPoint(), view->toScreen(1200, 700).toPoint());
        },
        [&] {
            ASSERT_NE(vorn::ed::CurrentInput().chosen, nullptr);
            EXPECT_EQ(vorn::ed::CurrentInput().chosen->size(), 1u);
            RightClick();
        },
    });
    auto lines = Lines(db());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0]->endPoint().x, 3000);
    Run({
        [&] { Type("ERASE"); },
        // Right to left across the long line's end only: a crossing window takes it.
        [&] { Drag(view->toScreen(3200, 700).toPoint(), view->toScreen(2500, 300).toPoint()); },
        [&] { RightClick(); },
    });
    EXPECT_TRUE(Lines(db()).empty());
}

TEST_F(WindowTest, OffsetAndTrimTakeTheirObjectsAndSidesFromClicks) {
    DrawingView* view = window().view();
    Run({
        [&] { Type("LINE"); },
        [&] { Type("0,0"); },
        [&] { Type("1000,0"); },
        [&] { RightClick(); },
        [&] { Type("LINE"); },
        [&] { Type("500,-500"); },
        [&] { Type("500,500"); },
        [&] { RightClick(); },
        [&] {
            view->zoomWindow(-200, -600, 1200, 600);
            Type("OFFSET");
        },
        [&] { Type("100"); },
        [&] { Click(view->toScreen(800, 0).toPoint()); },    // the horizontal line
        [&] { Click(view->toScreen(800, 300).toPoint()); },  // the side above it
        [&] { RightClick(); },
        [&] { Type("TRIM"); },
        [&] { Click(view->toScreen(500, -400).toPoint()); },  // the vertical line cuts
        [&] { RightClick(); },
        [&] { Click(view->toScreen(900, 100).toPoint()); },  // the copy's right part goes
        [&] { RightClick(); },
    });
    const auto lines = Lines(db());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2]->startPoint(), AcGePoint3d(0, 100, 0));
    EXPECT_NEAR(lines[2]->endPoint().x, 500, 1e-9);
    EXPECT_NEAR(lines[2]->endPoint().y, 100, 1e-9);
}

TEST_F(WindowTest, WheelZoomKeepsThePointUnderTheCursorAndMiddleButtonPans) {
    DrawingView* view = window().view();
    view->zoomWindow(0, 0, 1000, 1000);
    const QPoint at(150, 90);
    const AcGePoint3d before = view->toWorld(at);
    const double scale = view->transform().scale();
    Wheel(at, +120);
    EXPECT_NEAR(view->transform().scale(), scale * 1.25, scale * 1e-9);
    const AcGePoint3d after = view->toWorld(at);
    EXPECT_NEAR(after.x, before.x, 1e-9 * 1000);
    EXPECT_NEAR(after.y, before.y, 1e-9 * 1000);
    Wheel(at, -120);
    EXPECT_NEAR(view->transform().scale(), scale, scale * 1e-9);

    // A middle-button drag moves the drawing with the mouse.
    const AcGePoint3d grabbed = view->toWorld(QPointF(100, 100));
    QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 130), view->mapToGlobal(QPointF(160, 130)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, QPoint(160, 130));
    const AcGePoint3d moved = view->toWorld(QPointF(160, 130));
    EXPECT_NEAR(moved.x, grabbed.x, 1e-6);
    EXPECT_NEAR(moved.y, grabbed.y, 1e-6);

    // ZOOM with a window and then Previous, as typed.
    Run({
        [&] { Type("ZOOM"); },
        [&] { Type("W"); },
        [&] { Type("0,0"); },
        [&] { Type("100,50"); },
    });
    const AcGePoint3d corner = view->toWorld(QPointF(0, view->height()));
    EXPECT_LE(corner.x, 0.0);
    EXPECT_GT(view->transform().scale(), scale * 5);
    Run({[&] { Type("ZOOM"); }, [&] { Type("P"); }});
    EXPECT_NEAR(view->toWorld(QPointF(160, 130)).x, grabbed.x, 1e-6);
}

TEST_F(WindowTest, RoadDragPreviewFollowsTheCursor) {
    DrawingView* view = window().view();
    view->zoomWindow(0, -20000, 60000, 20000);
    const AcDbEntity* preview = nullptr;
    AcDbExtents box;
    std::uint64_t renders = 0;
    Run({
        [&] { Type("KyDrawRoad"); },
        [&] { Click(view->toScreen(0, 0).toPoint()); },
        [&] {
            renders = view->cacheRenders();
            QTest::mouseMove(view, view->toScreen(40000, 0).toPoint());
        },
        [&] {
            preview = vorn::ed::ActiveJigPreview();
            ASSERT_NE(preview, nullptr) << "the road's segment is not previewed while the cursor moves";
            ASSERT_EQ(preview->getGeomExtents(box), Acad::eOk);
            view->repaint();
            EXPECT_EQ(view->cacheRenders(), renders);
            FrontEnd::instance().postCancel();
        },
        [&] { FrontEnd::instance().postCancel(); },
    });
    EXPECT_NEAR(box.maxPoint().x, 40000, 1000);
}

#ifdef VORN_TEST_DIALOGS
// The road dialog as a real window beside the main one: a width typed into its box and a
// check box ticked there change the next road drawn with the mouse.
TEST_F(WindowTest, RoadDialogWidgetsChangeTheRoadDrawnNext) {
    DrawingView* view = window().view();
    view->zoomWindow(-10000, -30000, 70000, 30000);
    const QPoint from(100, 300), to(600, 300);
    const auto control = [](const char* id) -> QWidget* {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible())
                if (QWidget* w = top->findChild<QWidget*>(QString::fromLatin1(id))) return w;
        return nullptr;
    };
    Run({
        [&] { Type("KyDrawRoad"); },
        [&] {
            auto* left = qobject_cast<QLineEdit*>(control("2005"));
            ASSERT_NE(left, nullptr) << "the road dialog's left width box is not shown";
            left->selectAll();
            QTest::keyClicks(left, "3000");
            QTest::keyClick(left, Qt::Key_Return);
        },
        [&] {
            QWidget* centreLine = control("2007");
            ASSERT_NE(centreLine, nullptr);
            QTest::mouseClick(centreLine, Qt::LeftButton, Qt::NoModifier, QPoint(4, centreLine->height() / 2));
        },
        [&] { Click(from); },
        [&] { Click(to); },
        [&] { RightClick(); },  // the road ends
        [&] { RightClick(); },  // the command ends
    });
    const double y0 = view->toWorld(from).y;
    std::vector<double> edges;
    for (const AcDbLine* line : Lines(db())) {
        EXPECT_NEAR(line->startPoint().y, line->endPoint().y, 1e-6);
        edges.push_back(line->startPoint().y - y0);
    }
    std::sort(edges.begin(), edges.end());
    // Left 3000 (typed), right 2000 (as it was), and no centre line (unticked).
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_NEAR(edges[0], -2000, 1e-6);
    EXPECT_NEAR(edges[1], 3000, 1e-6);
}

// The tree dialog's area mode: the trees follow the mouse swept over the view, each cursor
// move read by the command itself, until a click ends the patch.
TEST_F(WindowTest, TreeAreaSweepPlantsWhereTheMouseGoes) {
    DrawingView* view = window().view();
    view->zoomWindow(0, 0, 40000, 30000);
    std::vector<std::function<void()>> steps = {
        [&] { Type("KyRYBS"); },
        [&] {
            QWidget* area = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && !area) area = top->findChild<QWidget*>(QStringLiteral("2086"));
            ASSERT_NE(area, nullptr) << "the tree dialog's area mode is not shown";
            QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(4, area->height() / 2));
        },
        [&] { Click(view->toScreen(5000, 15000).toPoint()); },
    };
    for (int i = 1; i <= 12; ++i)
        steps.push_back([&, i] { QTest::mouseMove(view, view->toScreen(5000 + 2500.0 * i, 15000).toPoint()); });
    steps.push_back([&] { Click(view->toScreen(35000, 15000).toPoint()); });
    Run(steps);
    // The patch is kept as one canopy region over the trees planted along the sweep.
    int regions = 0;
    AcDbExtents box;
    for (const AcDbRegion* e : vorn::test::All<AcDbRegion>(db())) {
        ++regions;
        EXPECT_EQ(e->layer(), L"PLAN-TREE");
        ASSERT_EQ(e->getGeomExtents(box), Acad::eOk);
    }
    ASSERT_EQ(regions, 1) << window().commandPanel()->transcript()->toPlainText().toStdString();
    EXPECT_LT(box.minPoint().x, 9000);
    EXPECT_GT(box.maxPoint().x, 30000);
}

// Acts on the plot dialog once it stands (it comes up when the command runs, after the step).
void WhenPlotDialogStands(std::function<void(vorn::gui::PlotDialog&)> act, int tries) {
    QTimer::singleShot(20, [act, tries] {
        auto* dialog = qobject_cast<vorn::gui::PlotDialog*>(QApplication::activeModalWidget());
        if (!dialog && tries < 100) return WhenPlotDialogStands(act, tries + 1);
        ASSERT_NE(dialog, nullptr) << "PLOT showed no dialog";
        act(*dialog);
    });
}

// PLOT in the window asks through its dialog, and a script's prompts stay for scripts. The
// sheet and scale set in the dialog's widgets make the PDF's page and the plot's scale, the
// preview shows that sheet with the drawing on it, Cancel writes nothing, the current view
// plots what the window shows, and a window's corners are picked in the drawing between two
// showings of the dialog.
TEST_F(WindowTest, PlotDialogPlotsTheSheetScaleAndViewChosen) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "gui-plot";
    fs::create_directories(dir);
    const fs::path sheet = dir / "a1.pdf", cancelled = dir / "cancelled.pdf", shown = dir / "view.pdf",
                   picked = dir / "window.pdf";
    for (const fs::path& p : {sheet, cancelled, shown, picked}) fs::remove(p);

    const auto inDialog = [](std::function<void(vorn::gui::PlotDialog&)> act) { WhenPlotDialogStands(act, 0); };
    const auto fill = [](vorn::gui::PlotDialog& d, const char* sheet, int orientation, const char* scale,
                         const fs::path& file) {
        d.findChild<QComboBox*>(QStringLiteral("sheet"))->setCurrentText(QString::fromLatin1(sheet));
        d.findChild<QComboBox*>(QStringLiteral("orientation"))->setCurrentIndex(orientation);
        d.findChild<QComboBox*>(QStringLiteral("scale"))->setCurrentText(QString::fromLatin1(scale));
        d.findChild<QLineEdit*>(QStringLiteral("file"))->setText(QString::fromStdString(file.string()));
    };
    // A dialog that stays after OK says why in its status line.
    const auto press = [](vorn::gui::PlotDialog& d, QDialogButtonBox::StandardButton which) {
        d.findChild<QDialogButtonBox*>()->button(which)->click();
        if (d.isVisible()) {
            ADD_FAILURE() << d.findChild<QLabel*>(QStringLiteral("status"))->text().toStdString();
            d.reject();
        }
    };
    QImage preview;
    double viewW = 0, viewH = 0;
    Run({
        [&] { Type("LINE"); },
        [&] { Type("0,0"); },
        [&] { Type("100000,0"); },
        [&] { Type("100000,60000"); },
        [&] { Type(""); },
        [&] {
            inDialog([&](vorn::gui::PlotDialog& d) {
                fill(d, "A1", 0, "1:500", sheet);
                d.updatePreview();
                preview = d.findChild<vorn::gui::PlotPreview*>(QStringLiteral("preview"))->sheet();
                press(d, QDialogButtonBox::Ok);
            });
            Type("PLOT");
        },
        [&] {
            inDialog([&](vorn::gui::PlotDialog& d) {
                fill(d, "A4", 1, "Fit", cancelled);
                press(d, QDialogButtonBox::Cancel);
            });
            Type("PLOT");
        },
        [&] {
            DrawingView* view = window().view();
            view->zoomWindow(0, -5000, 10000, 5000);
            const AcGePoint3d lo = view->toWorld(QPointF(0, view->height()));
            const AcGePoint3d hi = view->toWorld(QPointF(view->width(), 0));
            viewW = hi.x - lo.x, viewH = hi.y - lo.y;
            inDialog([&](vorn::gui::PlotDialog& d) {
                fill(d, "A3", 0, "Fit", shown);
                d.findChild<QRadioButton*>(QStringLiteral("areaView"))->setChecked(true);
                press(d, QDialogButtonBox::Ok);
            });
            Type("PLOT");
        },
        // Pick < closes the dialog for the window's corners, and it comes again with them.
        [&] {
            inDialog([&](vorn::gui::PlotDialog& d) { d.findChild<QPushButton*>(QStringLiteral("pickWindow"))->click(); });
            Type("PLOT");
        },
        [&] { Type("0,0"); },
        [&] {
            inDialog([&](vorn::gui::PlotDialog& d) {
                EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("areaWindow"))->isChecked());
                fill(d, "A3", 0, "Fit", picked);
                press(d, QDialogButtonBox::Ok);
            });
            Type("55400,27700");
        },
    });
    // The sheet and scale chosen reach PLOT (the page a sheet makes is checked by the plot tests).
    const std::string transcript = window().commandPanel()->transcript()->toPlainText().toStdString();
    EXPECT_NE(transcript.find("Plotted on A1 (841 x 594 mm) at 1:500 to " + sheet.string()), std::string::npos)
        << transcript;
    EXPECT_TRUE(fs::exists(sheet));
    // The preview is the A1 sheet lying, with the drawing's lines in ink on it.
    ASSERT_FALSE(preview.isNull());
    EXPECT_NEAR(double(preview.width()) / preview.height(), 841.0 / 594.0, 0.02);
    int ink = 0;
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x) ink += qGray(preview.pixel(x, y)) < 200;
    EXPECT_GT(ink, preview.width() / 4);
    EXPECT_FALSE(fs::exists(cancelled));
    // Fitted to A3's printable 400 x 277 mm, the view of the window sets the scale.
    ASSERT_TRUE(fs::exists(shown)) << transcript;
    const double expected = std::max(viewW / 400.0, viewH / 277.0);
    const auto at = transcript.find("at 1:", transcript.find(shown.string()) - 40);
    ASSERT_NE(at, std::string::npos) << transcript;
    EXPECT_NEAR(std::stod(transcript.substr(at + 5)), expected, 0.1) << transcript;
    // The window picked, 55.4 x 27.7 m, fits A3's printable area at 1:138.5.
    EXPECT_NE(transcript.find("at 1:138.5 to " + picked.string()), std::string::npos) << transcript;
}

// Closing the window with unsaved changes asks first: Cancel keeps the window and the
// drawing, No quits without saving.
TEST_F(WindowTest, ClosingWithUnsavedChangesAsks) {
    const auto answerLater = [](QMessageBox::StandardButton button, QString* text) {
        QTimer::singleShot(50, [button, text] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no question was asked";
            *text = box->text();
            box->button(button)->click();
        });
    };
    QString first, second;
    bool stillRunning = false;
    Run({
        [&] { Type("LINE"); },
        [&] { Type("0,0"); },
        [&] { Type("100,0"); },
        [&] {
            answerLater(QMessageBox::Cancel, &first);
            window().close();
        },
        [&] {
            stillRunning = !FrontEnd::instance().inputEnded();
            answerLater(QMessageBox::No, &second);
            window().close();
        },
    });
    EXPECT_TRUE(first.contains(QStringLiteral("Save changes"))) << first.toStdString();
    EXPECT_TRUE(stillRunning);
    EXPECT_FALSE(second.isEmpty());
    EXPECT_TRUE(vorn::cmds::DrawingModified());
    EXPECT_EQ(Lines(db()).size(), 1u);
}
#endif

// The demo drawn by vorncad in its window, as a user watching a script sees it: the window
// runs the script to its end, closes, and the drawing saved is the same sound site plan.
TEST(WindowProgram, RunsTheSitePlanScriptInTheWindow) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "gui-window-demo";
    fs::create_directories(dir);
    const fs::path dxf = dir / "site-plan.dxf";
    fs::remove(dxf);
    int status = -1;
    const std::string out = vorn::test::CommandOutput(
        "cd '" + std::string(VORN_SOURCE_DIR) + "' && QT_QPA_PLATFORM=offscreen '" + std::string(VORNCAD) +
            "' --window -s examples/site-plan.scr -o '" + dxf.string() + "' --settings '" + (dir / "s.json").string() +
            "' 2>&1",
        status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out.find("not accepted"), std::string::npos) << out;
    EXPECT_TRUE(vorn::test::SoundDrawing(dxf));
}

}  // namespace
