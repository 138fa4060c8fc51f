// Command registry.
#include "host/ed/commands.h"

#include <algorithm>
#include <list>
#include <map>
#include <utility>

#include "host/ed/editorstate.h"
#include "host/ed/event.h"
#include "host/ed/programoptions.h"

namespace vorn::ed {
namespace {

// Newest last; std::list keeps the pointers LookupCommand hands out stable across additions.
std::list<CommandInfo>& Registry() {
    static std::list<CommandInfo> commands;
    return commands;
}

std::wstring Bare(const std::wstring& name) {
    std::size_t i = 0;
    while (i < name.size() && (name[i] == L'.' || name[i] == L'_' || name[i] == L'\'')) ++i;
    return ToUpper(Trim(name.substr(i)));
}

}  // namespace

bool AddCommand(const std::wstring& group, const std::wstring& globalName,
                const std::wstring& localName, int flags, CommandFunction function) {
    const std::wstring g = Bare(globalName);
    const std::wstring l = localName.empty() ? g : Bare(localName);
    if (g.empty() || !function) return false;
    for (const CommandInfo& c : Registry()) {
        if (!EqualNoCase(c.group, group)) continue;
        if (EqualNoCase(c.globalName, g) || EqualNoCase(c.localName, l)) return false;
    }
    CommandInfo info;
    info.group = group;
    info.globalName = globalName.empty() ? localName : globalName;
    info.localName = localName.empty() ? info.globalName : localName;
    info.flags = flags;
    info.function = std::move(function);
    Registry().push_back(std::move(info));
    return true;
}

bool AddArgumentCommand(const std::wstring& group, const std::wstring& name, int flags,
                        ArgumentCommandFunction function) {
    if (!function) return false;
    if (!AddCommand(group, name, name, flags, [function] { function(L""); })) return false;
    Registry().back().withArgument = std::move(function);
    return true;
}

bool RemoveCommand(const std::wstring& group, const std::wstring& globalName) {
    auto& r = Registry();
    const auto before = r.size();
    r.remove_if([&](const CommandInfo& c) {
        return EqualNoCase(c.group, group) && Bare(c.globalName) == Bare(globalName);
    });
    return r.size() != before;
}

bool RemoveGroup(const std::wstring& group) {
    auto& r = Registry();
    const auto before = r.size();
    r.remove_if([&](const CommandInfo& c) { return EqualNoCase(c.group, group); });
    return r.size() != before;
}

bool HasGroup(const std::wstring& group) {
    for (const CommandInfo& c : Registry())
        if (EqualNoCase(c.group, group)) return true;
    return false;
}

const CommandInfo* LookupCommand(const std::wstring& name) {
    EnsureEditorCommands();
    const std::wstring key = Bare(name);
    if (key.empty()) return nullptr;
    auto& r = Registry();
    for (auto it = r.rbegin(); it != r.rend(); ++it)
        if (Bare(it->globalName) == key || Bare(it->localName) == key) return &*it;
    return nullptr;
}

std::vector<CommandInfo> AllCommands() {
    EnsureEditorCommands();
    std::vector<CommandInfo> all(Registry().begin(), Registry().end());
    std::stable_sort(all.begin(), all.end(), [](const CommandInfo& a, const CommandInfo& b) {
        return ToUpper(a.localName) < ToUpper(b.localName);
    });
    return all;
}

namespace {

// Keyed by the bare upper-case name and the language.
std::map<std::pair<std::wstring, std::wstring>, CommandHelp>& HelpTexts() {
    static std::map<std::pair<std::wstring, std::wstring>, CommandHelp> texts;
    return texts;
}

}  // namespace

void SetCommandHelp(const std::wstring& name, const std::wstring& language, CommandHelp help) {
    HelpTexts()[{Bare(name), language}] = std::move(help);
}

const CommandHelp* FindCommandHelp(const std::wstring& name) {
    const std::wstring key = Bare(name);
    const std::wstring& language = GetProgramOptions().language;
    auto& texts = HelpTexts();
    auto it = texts.find({key, language.empty() ? std::wstring(L"zh") : language});
    if (it == texts.end()) it = texts.find({key, L"en"});
    return it == texts.end() ? nullptr : &it->second;
}

}  // namespace vorn::ed
