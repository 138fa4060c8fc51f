// The window mode of vorncad.
#include "gui/windowmode.h"

#include <QApplication>
#include <QFont>

#include <cstdlib>
#include <utility>

#include "gui/commandpanel.h"
#include "gui/drawingview.h"
#include "gui/frontend.h"
#include "gui/mainwindow.h"
#if __has_include("gui/dialogwidgets.h") && __has_include("gui/nativedialogs.h")
#include "gui/dialogwidgets.h"
#include "gui/nativedialogs.h"
#define VORN_GUI_DIALOGS 1
#endif
#include "host/base/hostio.h"

namespace vorn::gui {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int RunWindowMode(int& argc, char** argv, WindowModeOptions options) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorncad"));
    // The window closes through QUIT, which may still be refused (unsaved changes, Cancel).
    QApplication::setQuitOnLastWindowClosed(false);
    int failures = 0;
    {
        MainWindow window;
#ifdef VORN_GUI_DIALOGS
        InstallDialogWidgets(&window);
        InstallNativeDialogs(&window);
        // A script shown in the window runs as it would without one: its message boxes print
        // and answer their default, its file prompts read the script's next line.
        vorn::HostNativeDialogs native = vorn::NativeDialogs();
        const auto unlessScript = [](auto hook) {
            return [hook](auto&&... args) {
                if (!hook || FrontEnd::instance().scriptRunning()) return -1;
                return hook(std::forward<decltype(args)>(args)...);
            };
        };
        native.messageBox = unlessScript(native.messageBox);
        native.fileDialog = unlessScript(native.fileDialog);
        native.pickItem = unlessScript(native.pickItem);
        vorn::SetNativeDialogs(native);
        SetFocusViewHandler([&window] {
            window.activateWindow();
            window.view()->setFocus(Qt::OtherFocusReason);
        });
#endif
        window.commandPanel()->setHistoryFile(QString::fromStdString(options.historyFile));
        FrontEnd& frontEnd = FrontEnd::instance();
        frontEnd.install();
        if (options.script) frontEnd.setScript(std::move(options.script), true);
        window.show();
        if (!options.banner.empty()) vorn::ed::Print(options.banner);
        failures = vorn::ed::RunCommandLoop();
        vorn::SetNativeDialogs({});
#ifdef VORN_GUI_DIALOGS
        SetFocusViewHandler(nullptr);
        UninstallDialogWidgets();
#endif
        window.hide();
    }
    return failures;
}

}  // namespace vorn::gui
