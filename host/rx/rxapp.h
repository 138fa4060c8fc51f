// What a plug-in module and the host say to each other: the entry point's messages and return
// codes, and the calls a module makes about itself while it starts.
#pragma once

namespace AcRx {

enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
};

enum AppRetCode {
    kRetOK = 0,
    kRetError = 3,
};

}  // namespace AcRx

// The entry point every module exports as extern "C" acrxEntryPoint; appId identifies the
// module to the calls below.
using AcRxEntryPointFunc = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
// The optional export acrxGetApiVersion: the object model release the module was built for.
using AcRxApiVersionFunc = int (*)();

// The host's object model release; a module reporting another one is not loaded.
constexpr int kVornApiVersion = 18;

// A module starts locked (it cannot be unloaded while the program runs) until it unlocks.
bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const wchar_t* moduleName);
