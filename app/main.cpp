// vorncad: opens or creates a drawing, loads the site-plan module, runs commands typed at its
// command line or read from a script, then saves the drawing and draws its picture.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/drawingio.h"
#include "app/filelocations.h"
#include "app/options.h"
#include "framework/core/KyFramework.h"
#include "framework/lang/VornLanguageSwitch.h"
#include "framework/library/KyFindFile.h"
#include "framework/store/KyHistoryData.h"
#include "host/cmds/cmds.h"
#include "host/cmds/helpcmds.h"
#include "host/base/textcodec.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"
#include "host/ed/programoptions.h"
#include "host/rx/modules.h"
#ifdef VORN_HAVE_RENDER
#include "host/render/render.h"
#endif
#ifdef VORN_HAVE_GUI
#include "gui/windowmode.h"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitOutputFailed = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitLinesRefused = 3;

// How refused lines of scripts are named: the script's path as given, "<stdin>" for standard
// input.
const wchar_t* const kStdinName = L"<stdin>";

std::string ProgramDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string DefaultSettingsFile() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home ? home : ".") / ".config";
    return (base / "vorncad" / "settings.json").string();
}

// The command line's history, shared by the terminal and the window, beside the settings.
std::string HistoryFile(const std::wstring& settingsFile) {
    return (fs::path(vorn::ToUtf8(settingsFile)).parent_path() / "history").string();
}

std::wstring WithSlash(const std::string& dir) {
    std::wstring w = vorn::FromUtf8(dir);
    if (!w.empty() && w.back() != L'/') w += L'/';
    return w;
}

void Fail(const std::string& message) { std::cerr << "vorncad: " << message << "\n"; }

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C.UTF-8");
    vorn::app::Options options;
    std::string error;
    std::error_code ec;
    if (!vorn::app::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        Fail(error);
        std::cerr << "Try 'vorncad --help'.\n";
        return kExitBadInput;
    }
    if (options.help) {
        std::cout << vorn::app::UsageText();
        return kExitOk;
    }

    const std::string programDir = ProgramDirectory();
    const vorn::app::FileLocations where = vorn::app::LocateFiles(programDir);
    const std::string supportDir = options.support.empty() ? where.supportDir : options.support;
    if (!options.support.empty() && !fs::is_directory(options.support, ec)) {
        Fail("option --support expects the folder of the support drawings and libraries, but \"" +
             options.support + "\" is not a folder");
        return kExitBadInput;
    }
    if (options.version) {
        std::cout << vorn::app::VersionText(where, supportDir);
        return kExitOk;
    }
    vorn::ed::ProgramOptions po;
    po.language = vorn::FromUtf8(options.lang);
    po.supportDir = WithSlash(supportDir);
    po.settingsFile = vorn::FromUtf8(options.settings.empty() ? DefaultSettingsFile() : options.settings);
    po.quiet = options.quiet;
    vorn::ed::SetProgramOptions(po);
    // Before the module loads, so that its texts find their dictionary from the first one on.
    KyInstallLanguageSwitch(po.language, where.langDir);

    // The window: asked for, or without a script where a display is there.
    bool window = options.window;
#ifdef VORN_HAVE_GUI
    if (!options.noWindow && options.script.empty() && vorn::gui::DisplayAvailable()) window = true;
    if (window && !vorn::gui::DisplayAvailable()) {
        Fail("--window needs a display: DISPLAY or WAYLAND_DISPLAY is not set (use --no-window, or -s "
             "to run a script without one)");
        return kExitBadInput;
    }
#else
    if (window) {
        Fail("this vorncad was built without its window; run it with -s SCRIPT or --no-window");
        return kExitBadInput;
    }
#endif

    // The script is opened first: a bad script must not cost a drawing load.
    vorn::ed::LineSource source;
    bool echo = true, interactive = false;
    std::wstring scriptName;
    if (options.script == "-") {
        scriptName = kStdinName;
        source = vorn::ed::StreamSource(std::cin, scriptName);
    } else if (!options.script.empty()) {
        scriptName = vorn::FromUtf8(options.script);
        source = vorn::ed::ScriptFileSource(options.script, error);
        if (!source) {
            Fail("cannot run script: " + error);
            return kExitBadInput;
        }
    } else if (window) {
        // The window is the front end; no lines are read from the terminal.
    } else if (isatty(STDIN_FILENO)) {
        source = vorn::ed::TerminalSource(HistoryFile(po.settingsFile));
        // Ctrl-C cancels the prompt (a key while readline reads); pressed while a command
        // works it must not end the program and lose the drawing unsaved.
        std::signal(SIGINT, SIG_IGN);
        echo = false;
        interactive = true;
    } else {
        scriptName = kStdinName;  // lines piped in are a script as well
        source = vorn::ed::StreamSource(std::cin, scriptName);
    }

    KyFrameworkInit();  // framework entity classes before any drawing is read; SYMBELEV
    SetMainDirectory(po.supportDir);  // where the suite's libraries and support drawings are
    g_dictHistoryData.SetFileName(vorn::ToUtf8(po.settingsFile));  // --settings, or the default
    if (!vorn::app::CheckPlotOptions(options, error) || !vorn::app::OpenDrawing(options, error)) {
        Fail(error);
        return kExitBadInput;
    }

    if (!options.drawing.empty()) vorn::cmds::SetDrawingFileName(vorn::FromUtf8(options.drawing));
    vorn::cmds::MarkDrawingSaved();  // as opened (or new): nothing to save yet
    vorn::ed::InstallHostChannels();
    vorn::ed::SetStopOnRefusal(options.stopOnError);
    vorn::app::InstallDrawingServices();
    vorn::app::SetPictureSize(options.pictureWidth, options.pictureHeight);
    vorn::rx::SetModuleDirectory(where.moduleDir);
    vorn::rx::RegisterArxCommand();
    vorn::cmds::RegisterHostCommands();
    vorn::cmds::RegisterCommandHelp();
    const std::string module = vorn::app::ModuleFile(where);
    if (fs::exists(module, ec)) {
        std::wstring loadError;
        if (!vorn::rx::LoadModule(vorn::FromUtf8(module), loadError))
            vorn::ed::Print(L"Note: the site-plan module was not loaded: " + loadError + L"\n");
    } else {
        vorn::ed::Print(L"Note: the site-plan module " + vorn::FromUtf8(module) +
                        L" is missing; its commands are not available (vorncad --version names "
                        L"the files it uses).\n");
    }
    if (!fs::is_directory(supportDir, ec))
        vorn::ed::Print(L"Note: the support folder " + vorn::FromUtf8(supportDir) +
                        L" is missing; the car, the trees and the libraries will not be found "
                        L"(give --support DIR).\n");

#ifdef VORN_HAVE_GUI
    if (window) {
        vorn::gui::WindowModeOptions wo;
        wo.script = source;
        wo.historyFile = HistoryFile(po.settingsFile);
        wo.banner = L"vorncad " + vorn::FromUtf8(VORN_VERSION) + L": type a command or choose one from the menus; "
                    L"HELP lists them.\n";
        vorn::gui::RunWindowMode(argc, argv, std::move(wo));
    }
#endif
    if (!window) {
        vorn::ed::SetLineSource(source, echo, interactive);
        vorn::ed::SetRepeatLastCommand(interactive);  // Enter at Command: repeats, as typed
        if (interactive)
            vorn::ed::Print(L"vorncad " + vorn::FromUtf8(VORN_VERSION) +
                            L": type HELP for the commands, Ctrl-D to quit.\n");
        vorn::ed::RunCommandLoop();
    }

    int status = kExitOk;
    const vorn::ed::ScriptRefusals refused = vorn::ed::RefusedLines();
    if (refused.lines > 0) {
        // Named after the script the run started with; each refusal named its own file and line.
        std::wstring summary = scriptName + L": " + std::to_wstring(refused.lines) +
                               (refused.lines == 1 ? L" line was refused" : L" lines were refused");
        if (refused.stopped)
            summary += L"; the script was stopped at " + refused.first + L" (--stop-on-error)";
        vorn::ed::Print(L"\n" + summary + L"\n");
        status = kExitLinesRefused;
    }
    if (!options.output.empty() && !vorn::app::SaveDrawing(options.output, error)) {
        Fail(error);
        status = kExitOutputFailed;
    }
    if (!options.render.empty() && !vorn::app::RenderDrawing(options.render, error)) {
        Fail(error);
        status = kExitOutputFailed;
    }
    if (!options.plot.empty() && !vorn::app::PlotDrawing(options, error)) {
        Fail(error);
        status = kExitOutputFailed;
    }
    vorn::rx::UnloadAllModules();
#ifdef VORN_HAVE_RENDER
    // The font caches that pictures filled are handed back, so a leak checker sees only leaks.
    vorn::render::ReleaseRenderCaches();
#endif
    return status;
}
