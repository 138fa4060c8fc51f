// Registers the host's commands with the editor.
#include "host/cmds/cmds.h"
#include "host/cmds/plotcmds.h"

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
    RegisterPlotCommands();
}

}  // namespace vorn::cmds
