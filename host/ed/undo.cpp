// Undo over the database's change log: each top-level command is one step; UNDO MARK, BACK,
// BEGIN/END and counts; U and REDO. Inside a command, BACK and UNDO n take back what was
// drawn since the command's marks, never what came before the command.
#include <memory>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

struct Entry {
    bool mark = false;
    std::size_t begin = 0, end = 0;  // change log positions of a step
    std::wstring name;
};

struct Redo {
    std::wstring name;
    std::shared_ptr<AcDbUndoChunk> chunk;
};

struct UndoState {
    AcDbDatabase* db = nullptr;
    std::vector<Entry> entries;  // oldest first
    std::vector<Redo> redo;      // newest last
    // The running top-level command.
    bool inCommand = false;
    std::size_t commandBegin = 0;
    std::wstring commandName;
    std::vector<std::size_t> commandMarks;
    bool undoCommandRan = false;  // U, UNDO or REDO changed the log: no step of their own
    // UNDO BEGIN at Command: level groups the commands up to END into one step.
    int groupDepth = 0;
    std::size_t groupBegin = 0;
    int nestedGroups = 0;  // BEGIN/END inside a command: counted, nothing else
};

UndoState& U() {
    static UndoState state;
    return state;
}

AcDbDatabase* Db() {
    AcDbDatabase* db = dbx::Working();
    UndoState& u = U();
    if (u.db != db) {  // another drawing: the old history means nothing here
        u.entries.clear();
        u.redo.clear();
        u.db = db;
    }
    return db;
}

void Say(const std::wstring& text) { ShowPrompt(text); }

// UNDO run by another command (acedCommand) works within that command; typed at Command:
// it works on the steps of whole commands.
bool InsideOtherCommand() { return State().commandDepth > 1; }

bool RevertTo(std::size_t position, const std::wstring& name, bool keepRedo) {
    Db();
    if (position >= dbx::UndoPosition()) return true;
    std::shared_ptr<AcDbUndoChunk> chunk;
    if (!dbx::RevertTo(position, chunk)) {
        Print(L"\nCannot undo " + name + L": an object is still open or the history is gone.\n");
        return false;
    }
    if (keepRedo) U().redo.push_back(Redo{name, chunk});
    return true;
}

void PushStep(std::size_t begin, std::size_t end, const std::wstring& name) {
    UndoState& u = U();
    if (end <= begin) return;
    u.entries.push_back(Entry{false, begin, end, name});
    u.redo.clear();  // a new change makes what was undone unreachable
}

// Takes back the newest step; false when there is none.
bool UndoOneStep() {
    UndoState& u = U();
    while (!u.entries.empty() && u.entries.back().mark) u.entries.pop_back();
    if (u.entries.empty()) {
        Say(L"\nEverything has been undone.\n");
        return false;
    }
    const Entry e = u.entries.back();
    if (!RevertTo(e.begin, e.name, true)) return false;
    u.entries.pop_back();
    Say(L"\nUndone: " + e.name + L"\n");
    return true;
}

void UndoBackToMark() {
    UndoState& u = U();
    while (!u.entries.empty() && !u.entries.back().mark) {
        if (!UndoOneStep()) return;
    }
    if (!u.entries.empty()) u.entries.pop_back();  // the mark itself
}

// Inside a command: back to the newest mark of the command (or its start), n times.
void BackInCommand(int times) {
    UndoState& u = U();
    for (int i = 0; i < times; ++i) {
        std::size_t to = u.commandBegin;
        if (!u.commandMarks.empty()) {
            to = u.commandMarks.back();
            u.commandMarks.pop_back();
        }
        if (!RevertTo(to, u.commandName, false)) return;
        if (u.commandMarks.empty() && to == u.commandBegin) break;
    }
}

void Mark() {
    UndoState& u = U();
    Db();
    if (InsideOtherCommand())
        u.commandMarks.push_back(dbx::UndoPosition());
    else
        u.entries.push_back(Entry{true, 0, 0, L"MARK"});
}

void Begin() {
    UndoState& u = U();
    if (InsideOtherCommand()) {
        ++u.nestedGroups;
        return;
    }
    if (u.groupDepth++ == 0) u.groupBegin = (Db(), dbx::UndoPosition());
}

void End() {
    UndoState& u = U();
    if (InsideOtherCommand()) {
        if (u.nestedGroups > 0) --u.nestedGroups;
        return;
    }
    if (u.groupDepth == 0) return;
    if (--u.groupDepth == 0) PushStep(u.groupBegin, (Db(), dbx::UndoPosition()), L"GROUP");
}

void UndoCount(int n) {
    UndoState& u = U();
    if (InsideOtherCommand()) {
        BackInCommand(n);
        return;
    }
    u.undoCommandRan = true;
    for (int i = 0; i < n; ++i)
        if (!UndoOneStep()) break;
}

void UndoCommand() {
    for (;;) {
        acedInitGet(RSG_NOZERO | RSG_NONEG, L"Mark Back BEgin End");
        int count = 1;
        const int rc = acedGetInt(
            L"\nEnter the number of operations to undo or [Mark(M)/Back(B)/BEgin(BE)/End(E)] <1>: ",
            &count);
        if (rc == RTCAN) return;
        if (rc == RTNONE) count = 1;
        if (rc == RTNORM || rc == RTNONE) {
            UndoCount(count);
            return;
        }
        wchar_t kw[kAdsMaxInput + 1];
        acedGetInput(kw);
        const std::wstring k = kw;
        if (k == L"Mark") {
            Mark();
        } else if (k == L"Back") {
            if (InsideOtherCommand()) {
                BackInCommand(1);
            } else {
                U().undoCommandRan = true;
                UndoBackToMark();
            }
        } else if (k == L"BEgin") {
            Begin();
        } else if (k == L"End") {
            End();
        }
        return;
    }
}

void UCommand() { UndoCount(1); }

void RedoCommand() {
    UndoState& u = U();
    Db();
    if (!InsideOtherCommand()) u.undoCommandRan = true;
    if (u.redo.empty()) {
        Print(L"\nNothing to redo: REDO follows U or UNDO directly.\n");
        return;
    }
    Redo r = u.redo.back();
    u.redo.pop_back();
    const std::size_t begin = dbx::UndoPosition();
    if (!dbx::Reapply(*r.chunk)) {
        u.redo.clear();
        Print(L"\nCannot redo " + r.name + L": the drawing has changed since it was undone.\n");
        return;
    }
    u.entries.push_back(Entry{false, begin, dbx::UndoPosition(), r.name});
    Say(L"\nRedone: " + r.name + L"\n");
}

}  // namespace

void BeginCommandStep(const std::wstring& name) {
    UndoState& u = U();
    u.inCommand = true;
    u.commandBegin = (Db(), dbx::UndoPosition());
    u.commandName = ToUpper(name);
    u.commandMarks.clear();
    u.undoCommandRan = false;
    u.nestedGroups = 0;
}

void EndCommandStep() {
    UndoState& u = U();
    u.inCommand = false;
    u.commandMarks.clear();
    if (u.undoCommandRan) {
        u.undoCommandRan = false;
        return;
    }
    Db();
    if (u.groupDepth > 0) return;  // the group's END makes the step
    PushStep(u.commandBegin, dbx::UndoPosition(), u.commandName);
}

void RegisterUndoCommands() {
    AddCommand(L"ACAD_EDITOR", L"UNDO", L"UNDO", 0, UndoCommand);
    AddCommand(L"ACAD_EDITOR", L"U", L"U", 0, UCommand);
    AddCommand(L"ACAD_EDITOR", L"REDO", L"REDO", 0, RedoCommand);
}

void ResetUndo() { U() = UndoState{}; }

}  // namespace vorn::ed
