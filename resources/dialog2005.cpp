// Template 2005: a second copy of the road settings dialog, identical to 2004, carried in the
// resources though no command opens it.
#include "resources/VornResources.h"

namespace vorn::resources {
vorn::mfc::DialogTemplate MakeRoadDialogTemplate();
}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2005, vorn::resources::MakeRoadDialogTemplate);
