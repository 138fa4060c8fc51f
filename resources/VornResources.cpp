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

struct InstallerRegistrar {
    InstallerRegistrar() { VornSetResourceInstaller(&InstallModuleResources); }
} const g_installerRegistrar;

}  // namespace

DialogTemplateRegistrar::DialogTemplateRegistrar(int id, DialogTemplateBuilder builder) {
    if (builder) Builders()[id] = builder;
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
    for (const vorn::mfc::DialogTemplate& dialog : RegisteredDialogTemplates())
        vorn::mfc::AddDialogTemplate(module, dialog);
}

}  // namespace vorn::resources
