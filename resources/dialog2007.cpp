// Template 2007: a taller copy of the legend dialog (taller lists), carried in the resources
// though no command opens it.
#include "resources/VornResources.h"

namespace vorn::resources {
vorn::mfc::DialogTemplate MakeLegendDialogTemplate(int id, int height, int listHeight);
namespace {
vorn::mfc::DialogTemplate MakeLegendDialog2007() { return MakeLegendDialogTemplate(2007, 168, 135); }
}  // namespace
}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2007, vorn::resources::MakeLegendDialog2007);
