// The system registry of plug-ins: acrxSysRegistry() with the dynamic linker ("DynamicLinker")
// and the command stack ("ACAD_REGISTERED_COMMANDS"), as modules reach them at start and
// unload.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "host/rx/rxbase.h"

#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

// Command flags of addCommand.
constexpr std::int32_t ACRX_CMD_MODAL = 0x00000000;
constexpr std::int32_t ACRX_CMD_TRANSPARENT = 0x00000001;
constexpr std::int32_t ACRX_CMD_USEPICKSET = 0x00000002;
constexpr std::int32_t ACRX_CMD_REDRAW = 0x00000004;
constexpr std::int32_t ACRX_CMD_NOPERSPECTIVE = 0x00000008;
constexpr std::int32_t ACRX_CMD_NOMULTIPLE = 0x00000010;
constexpr std::int32_t ACRX_CMD_NOTILEMODE = 0x00000020;
constexpr std::int32_t ACRX_CMD_NOPAPERSPACE = 0x00000040;
constexpr std::int32_t ACRX_CMD_SESSION = 0x00200000;

using AcRxFunctionPtr = void (*)();

// Named entries; the registry does not own what it holds.
class AcRxDictionary : public AcRxObject {
public:
    AcRxObject* at(const wchar_t* key) const;
    // Returns the entry it replaces (null when none).
    AcRxObject* atPut(const wchar_t* key, AcRxObject* object);
    AcRxObject* remove(const wchar_t* key);
    bool has(const wchar_t* key) const;
    std::size_t numEntries() const { return m_entries.size(); }
    static AcRxDictionary* cast(const AcRxObject* object);

private:
    std::map<std::wstring, AcRxObject*> m_entries;
};

AcRxDictionary* acrxSysRegistry();

class AcRxDynamicLinker : public AcRxObject {
public:
    // appId is what the module's acrxEntryPoint received.
    bool registerAppMDIAware(void* appId) const;
    bool registerAppNotMDIAware(void* appId) const;
    bool loadModule(const wchar_t* fileName, bool printIt, bool asCmd = false);
    bool unloadModule(const wchar_t* fileName, bool asCmd = false);
    static AcRxDynamicLinker* cast(const AcRxObject* object);
};

class AcEdCommand : public AcRxObject {
public:
    AcEdCommand(std::wstring group, std::wstring global, std::wstring local, std::int32_t flags,
                AcRxFunctionPtr function)
        : m_group(std::move(group)),
          m_global(std::move(global)),
          m_local(std::move(local)),
          m_flags(flags),
          m_function(function) {}
    const wchar_t* groupName() const { return m_group.c_str(); }
    const wchar_t* globalName() const { return m_global.c_str(); }
    const wchar_t* localName() const { return m_local.c_str(); }
    std::int32_t commandFlags() const { return m_flags; }
    AcRxFunctionPtr functionAddr() const { return m_function; }

private:
    std::wstring m_group, m_global, m_local;
    std::int32_t m_flags;
    AcRxFunctionPtr m_function;
};

// The platform face of the editor's command registry.
class AcEdCommandStack : public AcRxObject {
public:
    // eOk; eDuplicateKey when the group already holds the name; eInvalidInput for a null
    // name or function.
    Acad::ErrorStatus addCommand(const wchar_t* cmdGroupName, const wchar_t* cmdGlobalName,
                                 const wchar_t* cmdLocalName, std::int32_t commandFlags,
                                 AcRxFunctionPtr functionAddr);
    // eOk, or eKeyNotFound.
    Acad::ErrorStatus removeCmd(const wchar_t* cmdGroupName, const wchar_t* cmdGlobalName);
    Acad::ErrorStatus removeGroup(const wchar_t* groupName);
    // The command of that name, or null; valid until the registry changes.
    AcEdCommand* lookupCmd(const wchar_t* cmdName, bool globalFlag, bool allGroups = true,
                           bool skipUndefed = false);
    static AcEdCommandStack* cast(const AcRxObject* object);

private:
    std::unique_ptr<AcEdCommand> m_looked;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
