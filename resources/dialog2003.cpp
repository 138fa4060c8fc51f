// Template 2003: the tree dialog's twin with a shorter preview frame; kept with the module's
// resources though no command opens it.
#include "resources/VornResources.h"

namespace vorn::resources {

vorn::mfc::DialogTemplate MakeTreeDialogTwinTemplate();

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2003, vorn::resources::MakeTreeDialogTwinTemplate);
