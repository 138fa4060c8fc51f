// The window of vorncad in a test: the program's set-up in process (framework, host commands,
// the site-plan module loaded from the build), a new drawing and a main window per test, and
// a runner that plays the user's actions one by one each time the editor waits for the user.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/KyFramework.h"
#include "framework/library/KyFindFile.h"
#include "framework/store/KyHistoryData.h"
#include "gui/commandpanel.h"
#include "gui/drawingview.h"
#include "gui/frontend.h"
#include "gui/mainwindow.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/cmds/cmds.h"
#include "host/db/db.h"
#include "host/ed/editor.h"
#include "host/rx/modules.h"
#include "tests/gui/steps.h"
#if __has_include("gui/dialogwidgets.h") && __has_include("gui/nativedialogs.h")
#include "gui/dialogwidgets.h"
#include "gui/nativedialogs.h"
#define VORN_TEST_DIALOGS 1
#endif

namespace vorn::test {

class WindowTest : public ::testing::Test {
public:
    // Once per program: what vorncad does at start.
    static void SetUpTestSuite() {
        static bool done = false;
        if (done) return;
        done = true;
        KyFrameworkInit();
        SetMainDirectory(vorn::FromUtf8(std::string(VORN_SOURCE_DIR) + "/support/"));
        // Dialog values stored by an earlier run must not leak in.
        const std::string settings = std::string(VORN_BINARY_DIR) + "/gui-test-settings.json";
        std::remove(settings.c_str());
        g_dictHistoryData.SetFileName(settings);
        vorn::ed::InstallHostChannels();
        vorn::cmds::RegisterHostCommands();
        std::wstring error;
        vorn::rx::SetModuleDirectory(VORN_MODULE_DIR);
        if (!vorn::rx::LoadModule(vorn::FromUtf8(VORN_MODULE_FILE), error))
            ADD_FAILURE() << "the site-plan module did not load: " << vorn::ToUtf8(error);
    }

protected:
    void SetUp() override {
        m_db = std::make_unique<AcDbDatabase>(true);
        m_db->clearUndo();
        acdbHostApplicationServices()->setWorkingDatabase(m_db.get());
        vorn::cmds::SetDrawingFileName(L"");
        vorn::cmds::MarkDrawingSaved();
        m_window = std::make_unique<vorn::gui::MainWindow>();
#ifdef VORN_TEST_DIALOGS
        vorn::gui::InstallDialogWidgets(m_window.get());
        vorn::gui::InstallNativeDialogs(m_window.get());
#endif
        vorn::gui::FrontEnd::instance().install();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->view()->zoomExtents();
    }

    void TearDown() override {
#ifdef VORN_TEST_DIALOGS
        vorn::SetNativeDialogs({});
        vorn::gui::UninstallDialogWidgets();
#endif
        m_window.reset();
        std::wstring error;
        vorn::ed::SetSysVarFromText(L"OSMODE", L"0", error);
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        m_db.reset();
    }

    vorn::gui::MainWindow& window() { return *m_window; }
    AcDbDatabase& db() { return *m_db; }

    // Runs the Command: loop in the window. Each step runs when the editor waits for the user
    // and must give it something to do (a key, a click, a move in a drag); after the last step
    // the input ends.
    void Run(std::vector<std::function<void()>> steps) {
        vorn::gui::FrontEnd::instance().install();
        StepOptions options;
        options.eachMustGiveAnEvent = true;
        options.context = m_window.get();
        PlaySteps(steps, vorn::ed::RunCommandLoop, options);
    }

    // Typing into the view goes to the command line; Return enters it.
    void Type(const QString& text) {
        QTest::keyClicks(m_window->view(), text);
        QTest::keyClick(m_window->view(), Qt::Key_Return);
    }
    void Click(const QPoint& at) { QTest::mouseClick(m_window->view(), Qt::LeftButton, Qt::NoModifier, at); }
    void RightClick() {
        QTest::mouseClick(m_window->view(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    }
    void Drag(const QPoint& from, const QPoint& to) {
        vorn::gui::DrawingView* view = m_window->view();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
        for (int i = 1; i <= 4; ++i) {
            const QPointF at = from + (to - from) * (i / 4.0);
            QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view, &move);
        }
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    }
    void Wheel(const QPoint& at, int delta) {
        vorn::gui::DrawingView* view = m_window->view();
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    }

private:
    std::unique_ptr<AcDbDatabase> m_db;
    std::unique_ptr<vorn::gui::MainWindow> m_window;
};

}  // namespace vorn::test
