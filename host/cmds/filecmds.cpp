// placeholder
#include "host/cmds/cmds.h"
namespace vorn::cmds {
void RegisterFileCommands() {}
}  // namespace vorn::cmds
