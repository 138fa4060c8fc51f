// The module frame: its entry messages, its resource and language state, and the services
// every command uses (resource guard, translation, the library drawing directory).
#pragma once

#include <string>

#include "framework/lang/VornLanguageSwitch.h"
#include "host/mfc/resources.h"
#include "host/rx/rxapp.h"

// The module's own dictionary, owned by the language switch; null until resolved.
extern KyDtDictionary* g_pModuleLang;

// Records what the DLL entry learns about the module: its instance handle and the full path of
// its file. Called by the plug-in when it is mapped, and by tests.
void VornFrameAttach(HINSTANCE instance, const std::wstring& moduleFile);
HINSTANCE VornModuleInstance();
// Null until message 1 set the extension module up successfully.
HINSTANCE VornModuleResources();

// What the plug-in's exported acrxEntryPoint does.
AcRx::AppRetCode VornFrameEntryPoint(AcRx::AppMsgCode msg, void* appId);

// Puts the module's templates and cursor under its resource handle at message 1; filled by the
// resources library (nothing is registered until it is linked).
using VornResourceInstaller = void (*)(HINSTANCE resources);
void VornSetResourceInstaller(VornResourceInstaller installer);

// Makes a module's resources and dictionary current for its lifetime. Guards must end in the
// reverse order of their construction, on the thread that made them.
class KyUtPushResource {
public:
    explicit KyUtPushResource(HINSTANCE module);
    virtual ~KyUtPushResource();
    KyUtPushResource(const KyUtPushResource&) = delete;
    KyUtPushResource& operator=(const KyUtPushResource&) = delete;

private:
    HINSTANCE m_savedResource;
    KyDtDictionary* m_savedLang;
};

// The text to show: its translation through the language switch, or text itself.
std::wstring KyUtTranslate(const std::wstring& text);

// The language key of a module file path: the upper-case stem after the last '/' (this
// system's path separator) and before the first '.', less one final digit; empty when it
// cannot be derived.
std::wstring KyModuleLangKeyFromPath(const std::wstring& path);
// The key of this module's own file; sets g_pModuleLang through the language switch. Empty
// (and g_pModuleLang untouched) when there is no switch or no key.
std::wstring GetModuleLangKey();

// GetMainDirectory() + "DwgLib\"; FindFile reads the backslash as a separator.
std::wstring GetDwgLibDirectory();
