// Loading and unloading plug-in modules with dlopen, and the ARX command.
#include "host/rx/modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "host/base/textcodec.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/rx/rxapp.h"

namespace vorn::rx {
namespace {

namespace fs = std::filesystem;

// What a module's appId points at.
struct Module {
    std::string path;
    std::wstring name;  // file name without folder
    void* handle = nullptr;
    AcRxEntryPointFunc entry = nullptr;
    bool locked = true;
    bool mdiAware = false;
};

std::vector<std::unique_ptr<Module>>& Modules() {
    static std::vector<std::unique_ptr<Module>> modules;
    return modules;
}

std::string& Directory() {
    static std::string dir;
    return dir;
}

Module* Find(const std::wstring& file) {
    const std::wstring name = FromUtf8(fs::path(ToUtf8(file)).filename().string());
    for (auto& m : Modules())
        if (m->name == name) return m.get();
    return nullptr;
}

std::string Resolve(const std::wstring& file) {
    fs::path p(ToUtf8(file));
    if (!p.has_parent_path()) p = fs::path(ModuleDirectory()) / p;
    return p.string();
}

void Close(Module& m) {
    if (m.handle) dlclose(m.handle);
    m.handle = nullptr;
}

void Remove(Module* m) {
    auto& all = Modules();
    all.erase(std::remove_if(all.begin(), all.end(), [m](const auto& p) { return p.get() == m; }),
              all.end());
}

void Stop(Module& m) {
    m.entry(AcRx::kUnloadDwgMsg, &m);
    m.entry(AcRx::kUnloadAppMsg, &m);
    Close(m);
}

void ArxCommand() {
    acedInitGet(0, L"? Load Unload");
    wchar_t option[kAdsMaxInput + 1];
    const int rc = acedGetKword(L"\nEnter an option [?/Load(L)/Unload(U)]: ", option);
    if (rc != RTNORM) return;
    const std::wstring opt = option;
    if (opt == L"?") {
        std::wstring text = L"\nLoaded modules:";
        for (const std::wstring& n : LoadedModules()) text += L"\n  " + n;
        if (LoadedModules().empty()) text += L" none";
        ed::Print(text + L"\n");
        return;
    }
    wchar_t file[1024];
    const wchar_t* prompt = opt == L"Load" ? L"\nModule file to load: " : L"\nModule file to unload: ";
    if (acedGetString(1, prompt, file, 1024) != RTNORM || file[0] == L'\0') return;
    std::wstring error;
    if (opt == L"Load") {
        if (LoadModule(file, error))
            ed::Print(L"\n" + std::wstring(file) + L" loaded.\n");
        else
            ed::Print(L"\nCannot load " + std::wstring(file) + L": " + error + L".\n");
    } else {
        if (UnloadModule(file, error))
            ed::Print(L"\n" + std::wstring(file) + L" unloaded.\n");
        else
            ed::Print(L"\nCannot unload " + std::wstring(file) + L": " + error + L".\n");
    }
}

}  // namespace

void SetModuleDirectory(const std::string& dir) { Directory() = dir; }

std::string ModuleDirectory() {
    if (!Directory().empty()) return Directory();
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

bool LoadModule(const std::wstring& file, std::wstring& error) {
    if (Find(file)) {
        error = L"a module of that name is already loaded";
        return false;
    }
    const std::string path = Resolve(file);
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        error = L"no such file: " + FromUtf8(path);
        return false;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = L"not a loadable module (" + FromUtf8(why ? why : "unknown reason") + L")";
        return false;
    }
    auto entry = reinterpret_cast<AcRxEntryPointFunc>(dlsym(handle, "acrxEntryPoint"));
    if (!entry) {
        dlclose(handle);
        error = L"the file has no acrxEntryPoint";
        return false;
    }
    if (auto version = reinterpret_cast<AcRxApiVersionFunc>(dlsym(handle, "acrxGetApiVersion"))) {
        const int v = version();
        if (v != kVornApiVersion) {
            dlclose(handle);
            error = L"it was built for object model release " + std::to_wstring(v) +
                    L", this host offers release " + std::to_wstring(kVornApiVersion);
            return false;
        }
    }
    auto module = std::make_unique<Module>();
    module->path = path;
    module->name = FromUtf8(fs::path(path).filename().string());
    module->handle = handle;
    module->entry = entry;
    Module* m = module.get();
    Modules().push_back(std::move(module));
    if (m->entry(AcRx::kInitAppMsg, m) != AcRx::kRetOK) {
        m->entry(AcRx::kUnloadAppMsg, m);
        Close(*m);
        Remove(m);
        error = L"the module refused to start";
        return false;
    }
    m->entry(AcRx::kLoadDwgMsg, m);
    return true;
}

bool UnloadModule(const std::wstring& file, std::wstring& error) {
    Module* m = Find(file);
    if (!m) {
        error = L"it is not loaded";
        return false;
    }
    if (m->locked) {
        error = L"the module is locked and cannot be unloaded while the program runs";
        return false;
    }
    Stop(*m);
    Remove(m);
    return true;
}

void UnloadAllModules() {
    auto& all = Modules();
    while (!all.empty()) {
        Stop(*all.back());
        all.pop_back();
    }
}

std::vector<std::wstring> LoadedModules() {
    std::vector<std::wstring> names;
    for (const auto& m : Modules()) names.push_back(m->name);
    return names;
}

bool IsModuleLoaded(const std::wstring& file) { return Find(file) != nullptr; }

bool IsModuleLocked(const std::wstring& file) {
    const Module* m = Find(file);
    return m && m->locked;
}

bool IsModuleMdiAware(const std::wstring& file) {
    const Module* m = Find(file);
    return m && m->mdiAware;
}

void RegisterArxCommand() {
    if (!ed::LookupCommand(L"ARX") || ed::LookupCommand(L"ARX")->group != L"ACAD_RX")
        ed::AddCommand(L"ACAD_RX", L"ARX", L"ARX", 0, ArxCommand);
}

// The module-facing calls, which receive the Module record as appId.
bool SetLocked(void* appId, bool locked) {
    for (auto& m : Modules())
        if (m.get() == appId) {
            m->locked = locked;
            return true;
        }
    return false;
}

bool SetMdiAware(void* appId, bool aware) {
    for (auto& m : Modules())
        if (m.get() == appId) {
            m->mdiAware = aware;
            return true;
        }
    return false;
}

}  // namespace vorn::rx

bool acrxUnlockApplication(void* appId) { return vorn::rx::SetLocked(appId, false); }
bool acrxLockApplication(void* appId) { return vorn::rx::SetLocked(appId, true); }

bool acrxApplicationIsLocked(const wchar_t* moduleName) {
    return moduleName && vorn::rx::IsModuleLocked(moduleName);
}
