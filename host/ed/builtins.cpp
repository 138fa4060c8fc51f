// The editor's own commands: HELP, SETVAR and UCS.
#include <algorithm>
#include <cmath>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editorstate.h"
#include "host/ed/programoptions.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"

namespace vorn::ed {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool English() { return GetProgramOptions().language == L"en"; }

// The text's lines, each indented by two blanks.
std::wstring Indented(const std::wstring& text) {
    std::wstring out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find(L'\n', start);
        if (nl == std::wstring::npos) nl = text.size();
        out += L"  " + text.substr(start, nl - start) + L"\n";
        start = nl + 1;
    }
    return out;
}

// HELP alone lists the commands, one line each; HELP NAME tells what the command does.
void HelpCommand(const std::wstring& argument) {
    const std::wstring name = Trim(argument);
    if (name.empty()) {
        const std::vector<CommandInfo> all = AllCommands();
        std::size_t width = 0;
        for (const CommandInfo& c : all) width = std::max(width, c.localName.size());
        const std::wstring count = std::to_wstring(all.size());
        std::wstring text = English()
                                ? L"\nCommands (" + count + L"); HELP NAME tells what one does:\n"
                                : L"\n命令（" + count + L" 个）；HELP 命令名 说明其用法：\n";
        for (const CommandInfo& c : all) {
            std::wstring line = L"  " + c.localName;
            if (const CommandHelp* help = FindCommandHelp(c.globalName)) {
                line.resize(2 + width + 2, L' ');
                line += help->summary;
            }
            text += line + L"\n";
        }
        Print(text);
        return;
    }
    const CommandInfo* cmd = LookupCommand(name);
    if (!cmd) {
        RefuseAnswer(L"HELP: there is no command \"" + name + L"\"; HELP expects a command name, "
                     L"such as HELP LINE, or nothing for the list.");
        return;
    }
    const CommandHelp* help = FindCommandHelp(cmd->globalName);
    if (!help) {
        Print(L"\n" + cmd->localName + (English() ? L": no description.\n" : L"：暂无说明。\n"));
        return;
    }
    Print(L"\n" + cmd->localName + L" - " + help->summary + L"\n" + Indented(help->details));
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
        RefuseAnswer(L"Unknown variable name \"" + std::wstring(name) +
                     L"\"; type SETVAR ? for the list.");
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
        RefuseAnswer(error + L".");
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
    AddArgumentCommand(L"ACAD_EDITOR", L"HELP", 0, HelpCommand);
    AddCommand(L"ACAD_EDITOR", L"SETVAR", L"SETVAR", 0, SetVarCommand);
    AddCommand(L"ACAD_EDITOR", L"UCS", L"UCS", 0, UcsCommand);
    RegisterUndoCommands();
}

}  // namespace vorn::ed
