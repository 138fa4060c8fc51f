// Module state, resource guard, translation and the language key.
#include "frame/VornFrame.h"

#include <cwctype>

#include "framework/library/KyFindFile.h"

KyDtDictionary* g_pModuleLang = nullptr;

namespace {
HINSTANCE g_instance = nullptr;
std::wstring g_moduleFile;
constexpr std::size_t kMaxModulePath = 1023;
// The language switch installation g_pModuleLang came from; a newer one has freed it.
unsigned g_moduleLangGeneration = 0;
}  // namespace

void VornFrameAttach(HINSTANCE instance, const std::wstring& moduleFile) {
    g_instance = instance;
    g_moduleFile = moduleFile;
}

HINSTANCE VornModuleInstance() { return g_instance; }

KyUtPushResource::KyUtPushResource(HINSTANCE module)
    : m_savedResource(AfxGetResourceHandle()), m_savedLang(g_pCurModuleLang) {
    AfxSetResourceHandle(module);
    if (g_pModuleLang != nullptr && g_moduleLangGeneration != KyLanguageSwitchGeneration()) g_pModuleLang = nullptr;
    g_pCurModuleLang = g_pModuleLang;
    if (g_pCurModuleLang == nullptr) {
        GetModuleLangKey();
        g_pCurModuleLang = g_pModuleLang;
    }
}

KyUtPushResource::~KyUtPushResource() {
    AfxSetResourceHandle(m_savedResource);
    g_pCurModuleLang = m_savedLang;
}

std::wstring KyUtTranslate(const std::wstring& text) {
    KyUtPushResource guard(VornModuleResources());
    return g_pVornLangSwitch != nullptr ? g_pVornLangSwitch->TranslateText(text) : text;
}

std::wstring KyModuleLangKeyFromPath(const std::wstring& path) {
    std::wstring upper = path.substr(0, kMaxModulePath);
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    const std::size_t slash = upper.rfind(L'/');
    if (slash == std::wstring::npos || slash == 0 || slash + 1 == upper.size()) return {};
    const std::wstring name = upper.substr(slash + 1);
    const std::size_t dot = name.find(L'.');
    if (dot == std::wstring::npos || dot == 0) return {};
    std::wstring stem = name.substr(0, dot);
    if (stem.back() >= L'0' && stem.back() <= L'9') stem.pop_back();
    return stem;
}

std::wstring GetModuleLangKey() {
    const std::wstring key = KyModuleLangKeyFromPath(g_moduleFile);
    if (key.empty() || g_pVornLangSwitch == nullptr) return {};
    g_pModuleLang = g_pVornLangSwitch->GetModuleDictionary(key);
    g_moduleLangGeneration = KyLanguageSwitchGeneration();
    return key;
}

std::wstring GetDwgLibDirectory() { return GetMainDirectory() + L"DwgLib\\"; }
