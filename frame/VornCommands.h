// The module's command table and how each subsystem fills its command: a subsystem library
// registers its function by command name and is linked into the plug-in with
// vorn_module_part(<its target>) in its CMakeLists.txt; frame/ is not edited for it.
//
//   // road/KyDrawRoad.cpp
//   #include "frame/VornCommands.h"
//   void KyDrawRoad() { ... }
//   VORN_MODULE_COMMAND(L"KyDrawRoad", KyDrawRoad);
//
// A command whose subsystem is not linked prints one line saying so and returns.
#pragma once

#include "framework/cmd/KyCommand.h"

namespace vorn::frame {

using CommandFunction = void (*)();

constexpr const wchar_t* kCommandGroup = L"VornGeneralDrawing";
constexpr int kCommandCount = 8;

// The eight entries in their fixed order ("sample" first), flags ACRX_CMD_USEPICKSET. The
// functions are the frame's own: they call whatever is registered below at the time they run.
const KyCmdTable* CommandTable();

// Fills the command of that name (one of the table's seven after "sample"). False for another
// name or a null function. A later registration replaces an earlier one.
bool SetCommandFunction(const wchar_t* name, CommandFunction function);
// Null when nothing is registered for the name.
CommandFunction RegisteredCommandFunction(const wchar_t* name);

// Registers at static initialisation; used through VORN_MODULE_COMMAND.
struct CommandRegistrar {
    CommandRegistrar(const wchar_t* name, CommandFunction function);
};

}  // namespace vorn::frame

#define VORN_MODULE_COMMAND_CAT2(a, b) a##b
#define VORN_MODULE_COMMAND_CAT(a, b) VORN_MODULE_COMMAND_CAT2(a, b)
#define VORN_MODULE_COMMAND(name, function)                                             \
    static const ::vorn::frame::CommandRegistrar VORN_MODULE_COMMAND_CAT(vornCmdReg_, \
                                                                         __LINE__)(name, function)
