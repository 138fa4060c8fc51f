// The module's resources as data. Each dialog template lives in its own file
// (resources/dialog<ID>.cpp) and registers itself at static initialisation:
//
//   #include "resources/VornResources.h"
//   static vorn::mfc::DialogTemplate MakeDialog2004() { ... }
//   VORN_DIALOG_TEMPLATE(2004, MakeDialog2004);
//
// Cursors register the same way (VORN_CURSOR_RESOURCE, resources/cursor<ID>.cpp). At message 1
// the frame installs every registered template and cursor under the module's resource handle,
// so CDialog::Create and LoadCursorW find them while a KyUtPushResource guard is active.
#pragma once

#include <vector>

#include "host/mfc/resources.h"

namespace vorn::resources {

using DialogTemplateBuilder = vorn::mfc::DialogTemplate (*)();

struct DialogTemplateRegistrar {
    DialogTemplateRegistrar(int id, DialogTemplateBuilder builder);
};

using CursorBuilder = vorn::mfc::CursorResource (*)();

struct CursorRegistrar {
    CursorRegistrar(int id, CursorBuilder builder);
};

// Every registered template, built anew, in the order of their ids.
std::vector<vorn::mfc::DialogTemplate> RegisteredDialogTemplates();
// Every registered cursor, in the order of their ids.
std::vector<vorn::mfc::CursorResource> RegisteredCursors();
// Adds templates and cursors to a resource module; what the frame calls at message 1.
void InstallModuleResources(HINSTANCE module);

}  // namespace vorn::resources

#define VORN_DIALOG_TEMPLATE(id, builder) \
    static const ::vorn::resources::DialogTemplateRegistrar vornDialogReg_##id(id, builder)
#define VORN_CURSOR_RESOURCE(id, builder) \
    static const ::vorn::resources::CursorRegistrar vornCursorReg_##id(id, builder)
