// Run-time classes: AcRxClass (name, drawing type name, parent, factory) and AcRxObject with
// isA/isKindOf/cast. Classes register by name when first described, so the file reader can
// make an object of a framework class from its drawing type name.
#pragma once

#include <string>
#include <vector>

#include "host/db/acadstrg.h"

class AcRxObject;
class AcRxClass;

using AcRxPseudoConstructor = AcRxObject* (*)();

class AcRxClass {
public:
    // name: the C++ class name ("AcDbLine"); dxfName: the drawing type name ("LINE"), empty for
    // abstract classes; constructor: null for classes that cannot be made.
    AcRxClass(const wchar_t* name, const wchar_t* dxfName, AcRxClass* parent, AcRxPseudoConstructor constructor);
    AcRxClass(const AcRxClass&) = delete;
    AcRxClass& operator=(const AcRxClass&) = delete;

    const wchar_t* name() const { return m_name.c_str(); }
    const wchar_t* dxfName() const { return m_dxfName.c_str(); }
    AcRxClass* myParent() const { return m_parent; }
    bool isDerivedFrom(const AcRxClass* other) const;
    // A new object of this class, or null for an abstract class.
    AcRxObject* create() const;
    bool isCreatable() const { return m_constructor != nullptr; }

private:
    std::wstring m_name;
    std::wstring m_dxfName;
    AcRxClass* m_parent;
    AcRxPseudoConstructor m_constructor;
};

// Look-up of registered classes; names compare exactly, drawing type names without case.
AcRxClass* acrxFindClass(const wchar_t* className);
AcRxClass* acrxFindClassByDxfName(const wchar_t* dxfName);
// A new object of the class with that drawing type name ("VORN_SYMB_ELEVATION"), or null.
AcRxObject* acrxCreateByDxfName(const wchar_t* dxfName);
std::vector<AcRxClass*> acrxRegisteredClasses();
// Registers a class (done by the class's desc()); a second class under a taken name is refused.
Acad::ErrorStatus acrxRegisterClass(AcRxClass* cls);

class AcRxObject : public AcHeapOperators {
public:
    virtual ~AcRxObject() = default;

    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* object) { return const_cast<AcRxObject*>(object); }
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* cls) const { return isA()->isDerivedFrom(cls); }
    // A new object with the same content; null when the class cannot be copied.
    virtual AcRxObject* clone() const { return nullptr; }
};

#define VORN_RX_WIDE(s) L##s
#define VORN_RX_WSTR(x) VORN_RX_WIDE(#x)

// Declares the run-time class members of a class derived from AcRxObject.
#define ACRX_DECLARE_MEMBERS(CLASS)                                                         \
public:                                                                                     \
    static AcRxClass* desc();                                                              \
    static CLASS* cast(const AcRxObject* object) {                                         \
        return (object && object->isKindOf(CLASS::desc())) ? const_cast<CLASS*>(          \
                                                                  static_cast<const CLASS*>(object)) \
                                                            : nullptr;                     \
    }                                                                                       \
    AcRxClass* isA() const override;                                                        \
    static void rxInit() { desc(); }

// Defines them for a class that can be made by name (it needs a default constructor).
#define ACRX_DXF_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                                     \
    static AcRxObject* CLASS##_vornCreate() { return new CLASS(); }                         \
    AcRxClass* CLASS::desc() {                                                              \
        static AcRxClass* cls = [] {                                                        \
            auto* c = new AcRxClass(VORN_RX_WSTR(CLASS), DXFNAME, PARENT::desc(), &CLASS##_vornCreate); \
            acrxRegisterClass(c);                                                           \
            return c;                                                                       \
        }();                                                                                \
        return cls;                                                                         \
    }                                                                                       \
    AcRxClass* CLASS::isA() const { return CLASS::desc(); }

// Defines them for an abstract class.
#define ACRX_NO_CONS_DEFINE_MEMBERS(CLASS, PARENT)                                          \
    AcRxClass* CLASS::desc() {                                                              \
        static AcRxClass* cls = [] {                                                        \
            auto* c = new AcRxClass(VORN_RX_WSTR(CLASS), L"", PARENT::desc(), nullptr);              \
            acrxRegisterClass(c);                                                           \
            return c;                                                                       \
        }();                                                                                \
        return cls;                                                                         \
    }                                                                                       \
    AcRxClass* CLASS::isA() const { return CLASS::desc(); }
