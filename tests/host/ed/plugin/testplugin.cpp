// A small plug-in module for the loader tests: it unlocks itself, declares itself MDI-aware,
// registers one command on start and removes it on unload, and prints every message it gets.
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/rx/rxapp.h"
#include "host/rx/rxregistry.h"

#ifndef VORN_TEST_PLUGIN_VERSION
#define VORN_TEST_PLUGIN_VERSION 18
#endif

namespace {

void Hello() { acutPrintf(L"\nHello from the plug-in.\n"); }

}  // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    acutPrintf(L"\nplug-in message %d\n", static_cast<int>(msg));
    switch (msg) {
        case AcRx::kInitAppMsg:
            acrxUnlockApplication(appId);
            acrxDynamicLinker->registerAppMDIAware(appId);
            acedRegCmds->addCommand(L"VornTestPlugin", L"PLUGINHELLO", L"PLUGINHELLO", 2, Hello);
            break;
        case AcRx::kUnloadAppMsg:
            acedRegCmds->removeGroup(L"VornTestPlugin");
            break;
        default:
            break;
    }
    return AcRx::kRetOK;
}

extern "C" int acrxGetApiVersion() { return VORN_TEST_PLUGIN_VERSION; }
