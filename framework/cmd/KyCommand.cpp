// Registration of a module's command table with the host's command stack.
#include "framework/cmd/KyCommand.h"

#include <string>

#include "host/base/hostio.h"
#include "host/rx/rxregistry.h"

int KyDefineCommand(const wchar_t* group, const KyCmdTable* table, int count, std::int32_t flags) {
    AcEdCommandStack* stack = acedRegCmds;
    if (stack == nullptr || group == nullptr || table == nullptr || count <= 0) return 0;
    int added = 0;
    for (int i = 0; i < count; ++i) {
        const KyCmdTable& e = table[i];
        if (e.name == nullptr || e.function == nullptr) continue;
        if (stack->addCommand(group, e.name, e.name, e.flags | flags, e.function) == Acad::eOk) {
            ++added;
        } else {
            vorn::HostPrint(std::wstring(L"Command ") + e.name + L" of group " + group +
                            L" was not registered: the name is already taken in that group.\n");
        }
    }
    return added;
}
