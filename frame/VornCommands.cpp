// The command table: "sample" and seven forwarding functions, one per subsystem command.
#include "frame/VornCommands.h"

#include <cwchar>
#include <string>

#include "host/base/hostio.h"
#include "host/rx/rxregistry.h"

namespace vorn::frame {
namespace {

constexpr const wchar_t* kNames[kCommandCount] = {L"sample",      L"KyDrawParkSpace", L"KyRYBS",
                                                  L"KyDrawRoad",  L"KyRoadFillet",    L"KyMapLegend",
                                                  L"KyRoadElev",  L"KyRoadSlope"};

// Function-local so that registrars running at static initialisation of other files find it.
CommandFunction* Registered() {
    static CommandFunction functions[kCommandCount] = {};
    return functions;
}

int IndexOf(const wchar_t* name) {
    if (name == nullptr) return -1;
    for (int i = 1; i < kCommandCount; ++i)
        if (std::wcscmp(kNames[i], name) == 0) return i;
    return -1;
}

void Forward(int index) {
    if (CommandFunction f = Registered()[index]) {
        f();
        return;
    }
    HostPrint(std::wstring(kNames[index]) + L": not available in this build.\n");
}

void Sample() {}
template <int I>
void Command() {
    Forward(I);
}

const KyCmdTable kTable[kCommandCount] = {
    {kNames[0], &Sample, ACRX_CMD_USEPICKSET},     {kNames[1], &Command<1>, ACRX_CMD_USEPICKSET},
    {kNames[2], &Command<2>, ACRX_CMD_USEPICKSET}, {kNames[3], &Command<3>, ACRX_CMD_USEPICKSET},
    {kNames[4], &Command<4>, ACRX_CMD_USEPICKSET}, {kNames[5], &Command<5>, ACRX_CMD_USEPICKSET},
    {kNames[6], &Command<6>, ACRX_CMD_USEPICKSET}, {kNames[7], &Command<7>, ACRX_CMD_USEPICKSET},
};

}  // namespace

const KyCmdTable* CommandTable() { return kTable; }

bool SetCommandFunction(const wchar_t* name, CommandFunction function) {
    const int i = IndexOf(name);
    if (i < 0 || function == nullptr) return false;
    Registered()[i] = function;
    return true;
}

CommandFunction RegisteredCommandFunction(const wchar_t* name) {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : Registered()[i];
}

CommandRegistrar::CommandRegistrar(const wchar_t* name, CommandFunction function) {
    SetCommandFunction(name, function);
}

}  // namespace vorn::frame
