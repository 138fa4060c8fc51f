// placeholder
#include "host/cmds/cmds.h"
namespace vorn::cmds {
void RegisterEditCommands() {}
}  // namespace vorn::cmds
