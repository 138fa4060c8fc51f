// The module's answers to the host's entry messages: set-up and command registration at
// message 1, removal of the command group at message 2, nothing for every other message.
#include <memory>

#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "host/rx/rxregistry.h"

namespace {
AFX_EXTENSION_MODULE g_extension;
std::unique_ptr<CDynLinkLibrary> g_dynLink;
HINSTANCE g_resources = nullptr;
VornResourceInstaller g_installer = nullptr;

void InitApp(void* appId) {
    if (AfxInitExtensionModule(g_extension, VornModuleInstance())) {
        g_resources = VornModuleInstance();
        g_dynLink = std::make_unique<CDynLinkLibrary>(g_extension);
        if (g_installer != nullptr) g_installer(g_resources);
    }
    acrxUnlockApplication(appId);
    if (AcRxDynamicLinker* linker = acrxDynamicLinker) linker->registerAppMDIAware(appId);
    KyDefineCommand(vorn::frame::kCommandGroup, vorn::frame::CommandTable(), vorn::frame::kCommandCount,
                    0);
}

void UnloadApp() {
    if (AcEdCommandStack* stack = acedRegCmds) stack->removeGroup(vorn::frame::kCommandGroup);
    g_dynLink.reset();
    AfxTermExtensionModule(g_extension);
    g_resources = nullptr;
}
}  // namespace

HINSTANCE VornModuleResources() { return g_resources; }

void VornSetResourceInstaller(VornResourceInstaller installer) { g_installer = installer; }

AcRx::AppRetCode VornFrameEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    switch (msg) {
        case AcRx::kInitAppMsg:
            InitApp(appId);
            break;
        case AcRx::kUnloadAppMsg:
            UnloadApp();
            break;
        default:
            break;
    }
    return AcRx::kRetOK;
}
