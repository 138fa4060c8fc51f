// Command tables of the suite's modules: a fixed array of {name, function, flags} registered
// under one command group of the host's command stack.
#pragma once

#include <cstdint>

struct KyCmdTable {
    const wchar_t* name;
    void (*function)();
    std::int32_t flags;
};

// Registers count entries of table under group. flags is or-ed into every entry's own flags.
// Returns the number of commands registered; an entry with a null name or function, or one
// the group already holds, is skipped (and reported on the transcript) so that one bad entry
// does not cost the module its other commands.
int KyDefineCommand(const wchar_t* group, const KyCmdTable* table, int count, std::int32_t flags);
