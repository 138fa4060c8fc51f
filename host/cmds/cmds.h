// The host's own drawing commands (LINE, ARC, PLINE, CIRCLE, TEXT, INSERT, ERASE, MOVE, COPY,
// FILLET, LAYER, SAVE, SAVEAS, RENDER, AUDIT, LIST), registered with the editor's command stack.
#pragma once

namespace vorn::cmds {

// Registers every command of the group "ACAD_HOST"; calling it again does nothing.
void RegisterHostCommands();

// Each area registers its own commands.
void RegisterFilletCommand();
void RegisterDrawCommands();
void RegisterEditCommands();
void RegisterFileCommands();

}  // namespace vorn::cmds
