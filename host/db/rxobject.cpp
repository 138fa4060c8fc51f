// Run-time class registry: classes by name and by drawing type name, and the factory.
#include "host/db/rxobject.h"

#include <cwctype>
#include <map>
#include <mutex>

namespace {
struct Registry {
    std::mutex mutex;
    std::map<std::wstring, AcRxClass*> byName;
    std::map<std::wstring, AcRxClass*> byDxf;  // upper-cased
    std::vector<AcRxClass*> order;
};
Registry& registry() {
    static Registry* r = new Registry();  // lives to the end: classes are never unregistered
    return *r;
}
std::wstring upper(const wchar_t* s) {
    std::wstring out;
    for (; s && *s; ++s) out += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(*s)));
    return out;
}
}  // namespace

AcRxClass::AcRxClass(const wchar_t* name, const wchar_t* dxfName, AcRxClass* parent, AcRxPseudoConstructor constructor)
    : m_name(name ? name : L""), m_dxfName(dxfName ? dxfName : L""), m_parent(parent), m_constructor(constructor) {}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* c = this; c; c = c->m_parent)
        if (c == other) return true;
    return false;
}

AcRxObject* AcRxClass::create() const { return m_constructor ? m_constructor() : nullptr; }

Acad::ErrorStatus acrxRegisterClass(AcRxClass* cls) {
    if (!cls || cls->name()[0] == 0) return Acad::eInvalidInput;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.byName.count(cls->name())) return Acad::eDuplicateKey;
    r.byName[cls->name()] = cls;
    if (cls->dxfName()[0]) r.byDxf.emplace(upper(cls->dxfName()), cls);
    r.order.push_back(cls);
    return Acad::eOk;
}

AcRxClass* acrxFindClass(const wchar_t* className) {
    if (!className) return nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byName.find(className);
    return it == r.byName.end() ? nullptr : it->second;
}

AcRxClass* acrxFindClassByDxfName(const wchar_t* dxfName) {
    if (!dxfName) return nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byDxf.find(upper(dxfName));
    return it == r.byDxf.end() ? nullptr : it->second;
}

AcRxObject* acrxCreateByDxfName(const wchar_t* dxfName) {
    AcRxClass* c = acrxFindClassByDxfName(dxfName);
    return c ? c->create() : nullptr;
}

std::vector<AcRxClass*> acrxRegisteredClasses() {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.order;
}

AcRxClass* AcRxObject::desc() {
    static AcRxClass* cls = [] {
        auto* c = new AcRxClass(L"AcRxObject", L"", nullptr, nullptr);
        acrxRegisterClass(c);
        return c;
    }();
    return cls;
}

AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }
