// The texts HELP shows: what each command does, its prompts and keywords, in English and Chinese.
#pragma once

namespace vorn::cmds {

// Registers the texts of the host's commands and of the site-plan module's commands with the
// editor (vorn::ed::SetCommandHelp); calling it again does nothing.
void RegisterCommandHelp();

}  // namespace vorn::cmds
