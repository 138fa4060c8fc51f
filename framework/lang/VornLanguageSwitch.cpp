// Dictionaries read from JSON files, one per module key and language.
#include "framework/lang/VornLanguageSwitch.h"

#include <fstream>
#include <nlohmann/json.hpp>

#include "host/base/hostio.h"
#include "host/base/textcodec.h"

VornLanguageSwitch* g_pVornLangSwitch = nullptr;
KyDtDictionary* g_pCurModuleLang = nullptr;

bool KyDtDictionary::Load(const std::string& file, std::wstring& error) {
    m_texts.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = L"cannot open " + vorn::FromUtf8(file);
        return false;
    }
    nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        error = vorn::FromUtf8(file) + L" is not a JSON object of texts and their translations";
        return false;
    }
    for (auto it = doc.begin(); it != doc.end(); ++it) {
        if (!it.value().is_string()) {
            m_texts.clear();
            error = vorn::FromUtf8(file) + L": the translation of \"" + vorn::FromUtf8(it.key()) +
                    L"\" is not a string";
            return false;
        }
        m_texts[vorn::FromUtf8(it.key())] = vorn::FromUtf8(it.value().get<std::string>());
    }
    return true;
}

void KyDtDictionary::Add(const std::wstring& text, const std::wstring& translation) {
    m_texts[text] = translation;
}

const std::wstring* KyDtDictionary::Find(const std::wstring& text) const {
    auto it = m_texts.find(text);
    return it == m_texts.end() ? nullptr : &it->second;
}

VornLanguageSwitch::VornLanguageSwitch(std::wstring language, std::string directory)
    : m_language(std::move(language)), m_directory(std::move(directory)) {
    if (!m_directory.empty() && m_directory.back() != '/') m_directory += '/';
}

KyDtDictionary* VornLanguageSwitch::GetModuleDictionary(const std::wstring& key) {
    if (key.empty()) return nullptr;
    auto it = m_dictionaries.find(key);
    if (it != m_dictionaries.end()) return it->second.get();
    const std::string file = m_directory + vorn::ToUtf8(key) + "." + vorn::ToUtf8(m_language) + ".json";
    auto dict = std::make_unique<KyDtDictionary>();
    std::wstring error;
    std::ifstream probe(file);
    if (!probe) {
        dict.reset();
    } else if (!dict->Load(file, error)) {
        vorn::HostPrint(L"The " + m_language + L" texts of " + key + L" were not loaded: " + error +
                        L". Texts show as written.\n");
        dict.reset();
    }
    KyDtDictionary* result = dict.get();
    m_dictionaries[key] = std::move(dict);
    return result;
}

std::wstring VornLanguageSwitch::TranslateText(const std::wstring& text) const {
    if (g_pCurModuleLang != nullptr)
        if (const std::wstring* t = g_pCurModuleLang->Find(text)) return *t;
    return text;
}

namespace {
unsigned g_switchGeneration = 0;
}  // namespace

unsigned KyLanguageSwitchGeneration() { return g_switchGeneration; }

void KyInstallLanguageSwitch(const std::wstring& language, const std::string& directory) {
    static std::unique_ptr<VornLanguageSwitch> installed;
    ++g_switchGeneration;
    g_pCurModuleLang = nullptr;
    g_pVornLangSwitch = nullptr;
    installed.reset();
    if (language.empty() || language == L"zh") return;
    installed = std::make_unique<VornLanguageSwitch>(language, directory);
    g_pVornLangSwitch = installed.get();
}
