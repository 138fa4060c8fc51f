// The plug-in's exports. When the shared object is mapped it registers itself as a resource
// module and records its own file path, which is what a Windows DLL entry would learn.
#include <dlfcn.h>

#include "frame/VornFrame.h"
#include "host/base/textcodec.h"

namespace {
const struct Attach {
    Attach() {
        Dl_info info{};
        std::wstring file = L"VornGeneralDrawing.arx";
        if (dladdr(reinterpret_cast<void*>(&VornFrameEntryPoint), &info) != 0 && info.dli_fname != nullptr)
            file = vorn::FromUtf8(info.dli_fname);
        VornFrameAttach(vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing"), file);
    }
} g_attach;
}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                 void* appId) {
    return VornFrameEntryPoint(msg, appId);
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return kVornApiVersion; }
