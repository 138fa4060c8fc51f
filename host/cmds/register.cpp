// Registers the host's commands with the editor.
#include "host/cmds/cmds.h"

namespace vorn::cmds {

void RegisterHostCommands() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFilletCommand();
    RegisterDrawCommands();
    RegisterEditCommands();
    RegisterFileCommands();
    RegisterViewCommands();
    RegisterModifyCommands();
    RegisterOffsetCommand();
    RegisterTrimCommands();
    RegisterInquiryCommands();
}

}  // namespace vorn::cmds
