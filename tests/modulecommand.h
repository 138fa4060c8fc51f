// For tests that run the site-plan module's commands in process: a script played through the
// editor with the module's frame loaded as the program loads it (commands and dialog resources
// registered), and unloaded after the script.
#pragma once

#include <functional>
#include <string>

#include "frame/VornFrame.h"
#include "host/ed/editor.h"
#include "host/mfc/resources.h"
#include "tests/host/ed/session.h"

namespace vorn::test {

inline int& ModuleAppId() {
    static int id = 0;
    return id;
}

inline void LoadModuleFrame() {
    VornFrameAttach(vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing"), L"VornGeneralDrawing.arx");
    VornFrameEntryPoint(AcRx::kInitAppMsg, &ModuleAppId());
}

inline void UnloadModuleFrame() { VornFrameEntryPoint(AcRx::kUnloadAppMsg, &ModuleAppId()); }

struct ModuleRun {
    std::string out;  // the transcript
    int refused = 0;  // lines refused as a script's refusals
    bool Has(const std::string& text) const { return out.find(text) != std::string::npos; }
};

// Plays script to its end. name: the script's name in the messages of refused lines; setup runs
// once the session stands (the editor is reset when it starts).
inline ModuleRun RunModuleScript(const std::string& script, const std::wstring& name = L"",
                                 const std::function<void()>& setup = nullptr) {
    vorn::ed::test::Session s(script, name);
    if (setup) setup();
    LoadModuleFrame();
    vorn::ed::RunCommandLoop();
    UnloadModuleFrame();
    return {s.Out(), vorn::ed::RefusedLines().lines};
}

}  // namespace vorn::test
