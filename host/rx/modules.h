// Plug-in modules: shared objects loaded with dlopen, started and stopped through their
// acrxEntryPoint, and the ARX command that loads and unloads them by file name.
#pragma once

#include <string>
#include <vector>

namespace vorn::rx {

// Where a file name without a folder is looked for: the program's own folder unless set.
void SetModuleDirectory(const std::string& dir);
std::string ModuleDirectory();

// Loads a module and sends it kInitAppMsg, then kLoadDwgMsg for the open drawing. False with
// the reason (file missing, not a module, no entry point, wrong release, refused start).
bool LoadModule(const std::wstring& file, std::wstring& error);
// Sends kUnloadDwgMsg and kUnloadAppMsg and closes it. False when it is not loaded or still
// locked.
bool UnloadModule(const std::wstring& file, std::wstring& error);
// Unloads every module (locked ones too), newest first: the end of the program.
void UnloadAllModules();
// File names (without folder) of the loaded modules, in load order.
std::vector<std::wstring> LoadedModules();
bool IsModuleLoaded(const std::wstring& file);

bool IsModuleLocked(const std::wstring& file);
// The MDI-aware flag a module set through the dynamic linker.
bool IsModuleMdiAware(const std::wstring& file);

// What the dynamic linker and acrxUnlockApplication change for a module, by its appId.
bool SetLocked(void* appId, bool locked);
bool SetMdiAware(void* appId, bool aware);

// Registers the ARX command (group "ACAD_RX").
void RegisterArxCommand();

}  // namespace vorn::rx
