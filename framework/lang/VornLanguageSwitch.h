// The suite's language switch: one dictionary of translated texts per module, chosen by the
// module's language key, and the translation of a text through the current module's dictionary.
#pragma once

#include <map>
#include <memory>
#include <string>

// Texts as written (the keys) and what to show instead in one language.
class KyDtDictionary {
public:
    // Reads a JSON object {"text as written": "translation", ...}. False with the reason when
    // the file cannot be read or is not such an object; the dictionary is then left empty.
    bool Load(const std::string& file, std::wstring& error);
    void Add(const std::wstring& text, const std::wstring& translation);
    // Null when the text has no translation.
    const std::wstring* Find(const std::wstring& text) const;
    std::size_t Size() const { return m_texts.size(); }

private:
    std::map<std::wstring, std::wstring> m_texts;
};

class VornLanguageSwitch {
public:
    // language: "en", "zh", ...; directory: where <KEY>.<language>.json files are.
    VornLanguageSwitch(std::wstring language, std::string directory);
    const std::wstring& Language() const { return m_language; }
    // The dictionary of the module with that key, loaded on first use; null when there is no
    // file for it (or the file is unreadable: the reason goes to the transcript once).
    // The switch owns the dictionaries.
    KyDtDictionary* GetModuleDictionary(const std::wstring& key);
    // The translation of text in the current module's dictionary (g_pCurModuleLang), or text.
    std::wstring TranslateText(const std::wstring& text) const;

private:
    std::wstring m_language;
    std::string m_directory;
    std::map<std::wstring, std::unique_ptr<KyDtDictionary>> m_dictionaries;  // null: no file
};

// The process's language switch (null: texts show as written) and the dictionary of the module
// whose resources are current.
extern VornLanguageSwitch* g_pVornLangSwitch;
extern KyDtDictionary* g_pCurModuleLang;

// Installs a switch for language reading from directory; an empty language or "zh" (the
// language the texts are written in) removes it. Replaces any switch installed before, whose
// dictionaries then go with it.
void KyInstallLanguageSwitch(const std::wstring& language, const std::string& directory);
// Counts the installations: a module that keeps a dictionary of the switch resolves it again
// when the count has moved on, since the dictionary it holds is gone.
unsigned KyLanguageSwitchGeneration();
