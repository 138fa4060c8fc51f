// placeholder
#include "host/cmds/cmds.h"
namespace vorn::cmds {
void RegisterDrawCommands() {}
}  // namespace vorn::cmds
