// The registry of commands the Command: prompt runs: groups of named functions, as plug-ins
// and the host's own areas register them. AcEdCommandStack is the platform face of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn::ed {

using CommandFunction = std::function<void()>;
// A command that takes the rest of its Command: line as an argument ("HELP LINE").
using ArgumentCommandFunction = std::function<void(const std::wstring& argument)>;

struct CommandInfo {
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    int flags = 0;
    CommandFunction function;
    ArgumentCommandFunction withArgument;  // null: the command takes no argument
};

// False when the group already holds a command of that name (global or local) or a name is
// empty. A command of the same name in another group is hidden by the newer one until that
// group is removed.
bool AddCommand(const std::wstring& group, const std::wstring& globalName,
                const std::wstring& localName, int flags, CommandFunction function);
// A command that also takes an argument on its own line; alone it runs with an empty one.
bool AddArgumentCommand(const std::wstring& group, const std::wstring& name, int flags,
                        ArgumentCommandFunction function);
bool RemoveCommand(const std::wstring& group, const std::wstring& globalName);
// False when no command of the group was registered.
bool RemoveGroup(const std::wstring& group);
// By global or local name, case-insensitive; a leading '.' or '_' (or both) is ignored.
// The pointer is valid until the registry changes.
const CommandInfo* LookupCommand(const std::wstring& name);
// Every command, sorted by name.
std::vector<CommandInfo> AllCommands();
bool HasGroup(const std::wstring& group);

// What HELP tells about a command in one language: one line for the list, and what the
// command does with its prompts and keywords.
struct CommandHelp {
    std::wstring summary;
    std::wstring details;
};
// language: "en" or "zh", as the program's --lang. A later text replaces an earlier one.
void SetCommandHelp(const std::wstring& name, const std::wstring& language, CommandHelp help);
// The text in the program's language, else the English one; null when there is none.
const CommandHelp* FindCommandHelp(const std::wstring& name);

}  // namespace vorn::ed
