// The registry of the module's dialog templates and its installation under the module's
// resource handle.
#include "resources/VornResources.h"

#include <map>

#include "frame/VornFrame.h"

namespace vorn::resources {
namespace {

std::map<int, DialogTemplateBuilder>& Builders() {
    static std::map<int, DialogTemplateBuilder> builders;
    return builders;
}

std::map<int, CursorBuilder>& CursorBuilders() {
    static std::map<int, CursorBuilder> builders;
    return builders;
}

struct InstallerRegistrar {
    InstallerRegistrar() { VornSetResourceInstaller(&InstallModuleResources); }
} const g_installerRegistrar;

}  // namespace

DialogTemplateRegistrar::DialogTemplateRegistrar(int id, DialogTemplateBuilder builder) {
    if (builder) Builders()[id] = builder;
}

CursorRegistrar::CursorRegistrar(int id, CursorBuilder builder) {
    if (builder) CursorBuilders()[id] = builder;
}

std::vector<vorn::mfc::CursorResource> RegisteredCursors() {
    std::vector<vorn::mfc::CursorResource> cursors;
    for (const auto& [id, builder] : CursorBuilders()) {
        cursors.push_back(builder());
        cursors.back().id = id;
    }
    return cursors;
}

std::vector<vorn::mfc::DialogTemplate> RegisteredDialogTemplates() {
    std::vector<vorn::mfc::DialogTemplate> templates;
    for (const auto& [id, builder] : Builders()) {
        templates.push_back(builder());
        templates.back().id = id;
    }
    return templates;
}

void InstallModuleResources(HINSTANCE module) {
    // Captions and labels in the language of the switch; the module's own code fills lists
    // and changes texts through KyUtTranslate as it goes.
    for (vorn::mfc::DialogTemplate& dialog : RegisteredDialogTemplates()) {
        dialog.caption = KyUtTranslate(dialog.caption);
        for (vorn::mfc::ControlTemplate& control : dialog.controls)
            if (!control.text.empty()) control.text = KyUtTranslate(control.text);
        vorn::mfc::AddDialogTemplate(module, dialog);
    }
    for (const vorn::mfc::CursorResource& cursor : RegisteredCursors()) vorn::mfc::AddCursorResource(module, cursor);
}

}  // namespace vorn::resources
