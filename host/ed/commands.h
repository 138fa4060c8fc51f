// The registry of commands the Command: prompt runs: groups of named functions, as plug-ins
// and the host's own areas register them. AcEdCommandStack is the platform face of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn::ed {

using CommandFunction = std::function<void()>;

struct CommandInfo {
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    int flags = 0;
    CommandFunction function;
};

// False when the group already holds a command of that name (global or local) or a name is
// empty. A command of the same name in another group is hidden by the newer one until that
// group is removed.
bool AddCommand(const std::wstring& group, const std::wstring& globalName,
                const std::wstring& localName, int flags, CommandFunction function);
bool RemoveCommand(const std::wstring& group, const std::wstring& globalName);
// False when no command of the group was registered.
bool RemoveGroup(const std::wstring& group);
// By global or local name, case-insensitive; a leading '.' or '_' (or both) is ignored.
// The pointer is valid until the registry changes.
const CommandInfo* LookupCommand(const std::wstring& name);
// Every command, sorted by name.
std::vector<CommandInfo> AllCommands();
bool HasGroup(const std::wstring& group);

}  // namespace vorn::ed
