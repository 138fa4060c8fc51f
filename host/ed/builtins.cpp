// The editor's own commands: HELP, SETVAR and UCS.
#include <cmath>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editorstate.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

void HelpCommand() {
    const std::vector<CommandInfo> all = AllCommands();
    std::wstring text = L"\nCommands (" + std::to_wstring(all.size()) + L"):\n";
    std::wstring line;
    for (const CommandInfo& c : all) {
        std::wstring name = c.localName;
        if (name.size() < 18) name.resize(18, L' ');
        if (line.size() + name.size() > 80) {
            text += line + L"\n";
            line.clear();
        }
        line += name + L" ";
    }
    if (!line.empty()) text += line + L"\n";
    Print(text);
}

void ListSysVars() {
    std::wstring text = L"\n";
    for (const std::wstring& name : SysVarNames()) {
        std::wstring value;
        GetSysVarText(name, value);
        std::wstring padded = name;
        if (padded.size() < 12) padded.resize(12, L' ');
        text += padded + L" " + value + L"\n";
    }
    Print(text);
}

void SetVarCommand() {
    wchar_t name[kAdsMaxInput + 1];
    for (;;) {
        if (acedGetString(0, L"\nEnter variable name or [?]: ", name) != RTNORM) return;
        if (name[0] == L'\0') return;
        if (std::wstring(name) != L"?") break;
        ListSysVars();
    }
    std::wstring current;
    if (!GetSysVarText(name, current)) {
        Print(L"\nUnknown variable name \"" + std::wstring(name) +
              L"\"; type SETVAR ? for the list.\n");
        return;
    }
    const std::wstring upper = ToUpper(name);
    for (;;) {
        wchar_t value[kAdsMaxInput + 1];
        const std::wstring prompt = L"\nEnter new value for " + upper + L" <" + current + L">: ";
        if (acedGetString(1, prompt.c_str(), value) != RTNORM) return;
        if (value[0] == L'\0') return;
        std::wstring error;
        if (SetSysVarFromText(upper, value, error)) return;
        Print(L"\n" + error + L".\n");
    }
}

void UcsCommand() {
    acedInitGet(0, L"World");
    ads_point origin;
    const int rc = acedGetPoint(nullptr, L"\nSpecify origin of UCS or [World(W)] <0,0>: ", origin);
    if (rc == RTCAN) return;
    if (rc == RTKWORD) {
        SetWorldUcs();
        Print(L"\nThe UCS is the world coordinate system again.\n");
        return;
    }
    double world[3] = {0, 0, 0};
    if (rc == RTNORM) UcsToWcsPoint(origin, world);
    double degrees = 0;
    const int ra = acedGetReal(L"\nSpecify rotation angle of X axis <0>: ", &degrees);
    if (ra == RTCAN) return;
    Ucs u;
    for (int i = 0; i < 3; ++i) u.origin[i] = world[i];
    u.angle = std::fmod(degrees, 360.0) * kPi / 180.0;
    SetUcs(u);
}

}  // namespace

void EnsureEditorCommands() {
    static bool done = false;
    if (done) return;
    done = true;
    AddCommand(L"ACAD_EDITOR", L"HELP", L"HELP", 0, HelpCommand);
    AddCommand(L"ACAD_EDITOR", L"SETVAR", L"SETVAR", 0, SetVarCommand);
    AddCommand(L"ACAD_EDITOR", L"UCS", L"UCS", 0, UcsCommand);
    RegisterUndoCommands();
}

}  // namespace vorn::ed
