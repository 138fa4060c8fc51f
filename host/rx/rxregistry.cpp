// The system registry, the dynamic linker and the command stack over the editor's registry.
#include "host/rx/rxregistry.h"

#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/rx/modules.h"

AcRxObject* AcRxDictionary::at(const wchar_t* key) const {
    if (!key) return nullptr;
    auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const wchar_t* key, AcRxObject* object) {
    if (!key) return nullptr;
    AcRxObject*& slot = m_entries[key];
    AcRxObject* previous = slot;
    slot = object;
    return previous;
}

AcRxObject* AcRxDictionary::remove(const wchar_t* key) {
    if (!key) return nullptr;
    auto it = m_entries.find(key);
    if (it == m_entries.end()) return nullptr;
    AcRxObject* previous = it->second;
    m_entries.erase(it);
    return previous;
}

bool AcRxDictionary::has(const wchar_t* key) const { return key && m_entries.count(key) > 0; }

AcRxDictionary* AcRxDictionary::cast(const AcRxObject* object) {
    return dynamic_cast<AcRxDictionary*>(const_cast<AcRxObject*>(object));
}

AcRxDictionary* acrxSysRegistry() {
    static AcRxDictionary* registry = [] {
        auto* r = new AcRxDictionary;
        r->atPut(ACRX_DYNAMIC_LINKER, new AcRxDynamicLinker);
        r->atPut(ACRX_COMMAND_DOCK, new AcEdCommandStack);
        return r;
    }();
    return registry;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
    return vorn::rx::SetMdiAware(appId, true);
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
    return vorn::rx::SetMdiAware(appId, false);
}

bool AcRxDynamicLinker::loadModule(const wchar_t* fileName, bool printIt, bool) {
    if (!fileName) return false;
    std::wstring error;
    const bool ok = vorn::rx::LoadModule(fileName, error);
    if (!ok && printIt)
        vorn::ed::Print(L"\nCannot load " + std::wstring(fileName) + L": " + error + L".\n");
    return ok;
}

bool AcRxDynamicLinker::unloadModule(const wchar_t* fileName, bool) {
    std::wstring error;
    return fileName && vorn::rx::UnloadModule(fileName, error);
}

AcRxDynamicLinker* AcRxDynamicLinker::cast(const AcRxObject* object) {
    return dynamic_cast<AcRxDynamicLinker*>(const_cast<AcRxObject*>(object));
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const wchar_t* group, const wchar_t* global,
                                               const wchar_t* local, std::int32_t flags,
                                               AcRxFunctionPtr function) {
    if (!group || !global || !function || !*global) return Acad::eInvalidInput;
    if (!vorn::ed::AddCommand(group, global, local ? local : global, flags, function))
        return Acad::eDuplicateKey;
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const wchar_t* group, const wchar_t* global) {
    if (!group || !global) return Acad::eInvalidInput;
    return vorn::ed::RemoveCommand(group, global) ? Acad::eOk : Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const wchar_t* group) {
    if (!group) return Acad::eInvalidInput;
    return vorn::ed::RemoveGroup(group) ? Acad::eOk : Acad::eKeyNotFound;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const wchar_t* name, bool, bool, bool) {
    if (!name) return nullptr;
    const vorn::ed::CommandInfo* info = vorn::ed::LookupCommand(name);
    if (!info) return nullptr;
    AcRxFunctionPtr const* fn = info->function.target<AcRxFunctionPtr>();
    m_looked = std::make_unique<AcEdCommand>(info->group, info->globalName, info->localName,
                                             info->flags, fn ? *fn : nullptr);
    return m_looked.get();
}

AcEdCommandStack* AcEdCommandStack::cast(const AcRxObject* object) {
    return dynamic_cast<AcEdCommandStack*>(const_cast<AcRxObject*>(object));
}
