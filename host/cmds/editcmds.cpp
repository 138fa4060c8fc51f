// Commands over the drawing's entities and layers: ERASE, MOVE, COPY, LIST, AUDIT and LAYER. Entities
// kept as their drawing file has them are erased, listed, moved and copied like the others; a kind
// whose records cannot follow a move is refused with a message and left as it was.
#include <cstdint>
#include <cwctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/base/textcodec.h"
#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/selection.h"

namespace vorn::cmds {
namespace {

// Applies f to each entity opened for write; the number it succeeded for.
int ForEach(const std::vector<AcDbObjectId>& ids, const std::function<bool(AcDbEntity*)>& f) {
    int done = 0;
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) continue;
        if (f(e)) ++done;
        e->close();
    }
    return done;
}

void EraseCommand() {
    if (!Drawing()) return;
    const int n = ForEach(SelectObjects(), [](AcDbEntity* e) { return e->erase() == Acad::eOk; });
    if (n > 0) Say(std::to_wstring(n) + L" object(s) erased.");
}

// The displacement from a base point to a second point, in world coordinates.
bool AskDisplacement(AcGeVector3d& d) {
    ads_point a, b;
    if (acedGetPoint(nullptr, L"\nSpecify base point: ", a) != RTNORM) return false;
    if (acedGetPoint(a, L"\nSpecify second point: ", b) != RTNORM) return false;
    d = ToWorld(b) - ToWorld(a);
    return true;
}

// Extended data that names entities by handle (1005) follows a copy: the name of an entity
// copied along becomes that of its copy; data naming one left behind is dropped from the copy,
// which must not claim another entity's parts (the columns of a paragraph text).
void RenameCopiedHandles(const std::vector<std::pair<AcDbObjectId, AcDbObjectId>>& made) {
    std::map<std::wstring, std::wstring> renamed;
    for (const auto& [from, to] : made) renamed[from.handle().toString()] = to.handle().toString();
    for (const auto& [from, to] : made) {
        AcDbObject* o = nullptr;
        if (acdbOpenAcDbObject(o, to, AcDb::kForWrite) != Acad::eOk) continue;
        const auto all = o->allXData();
        for (auto [app, items] : all) {
            bool changed = false, dangling = false;
            for (AcDbXDataItem& item : items) {
                if (item.code != 1005) continue;
                std::wstring key = item.str;
                for (wchar_t& ch : key) ch = static_cast<wchar_t>(std::towupper(ch));
                while (key.size() > 1 && key[0] == L'0') key.erase(0, 1);
                auto it = renamed.find(key);
                if (it != renamed.end()) {
                    item.str = it->second;
                    changed = true;
                } else {
                    dangling = true;
                }
            }
            if (dangling) o->setXData(app, {});
            else if (changed) o->setXData(app, items);
        }
        o->close();
    }
}

void MoveCopy(bool copy) {
    if (!Drawing()) return;
    const std::vector<AcDbObjectId> ids = SelectObjects();
    if (ids.empty()) return;
    AcGeVector3d d;
    if (!AskDisplacement(d)) return;
    if (copy) TransformObjects(ids, AcGeMatrix3d::translation(d), true, L"copy", L"copied");
    else TransformObjects(ids, AcGeMatrix3d::translation(d), false, L"move", L"moved");
}

}  // namespace

std::vector<AcDbObjectId> SelectObjects(const wchar_t* prompt) {
    std::vector<AcDbObjectId> ids;
    ads_name ss;
    if (vorn::ed::SelectEntities(prompt, nullptr, ss) != RTNORM) return ids;
    std::int32_t n = 0;
    acedSSLength(ss, &n);
    for (std::int32_t i = 0; i < n; ++i) {
        ads_name e;
        AcDbObjectId id;
        if (acedSSName(ss, i, e) == RTNORM && acdbGetObjectId(id, e) == Acad::eOk) ids.push_back(id);
    }
    acedSSFree(ss);
    return ids;
}

int TransformObjects(const std::vector<AcDbObjectId>& ids, const AcGeMatrix3d& m, bool copy, const std::wstring& verb,
                     const std::wstring& participle) {
    std::vector<std::pair<AcDbObjectId, AcDbEntity*>> copies;
    // Entities kept as their file has them that cannot follow: how many of each kind.
    std::map<std::string, int> refusedKept;
    const int n = ForEach(ids, [&](AcDbEntity* e) {
        bool done = false;
        if (!copy) {
            done = e->transformBy(m) == Acad::eOk;
        } else {
            AcDbEntity* c = nullptr;
            done = e->getTransformedCopy(m, c) == Acad::eOk && c;
            if (done) {
                vorn::db::PrepareCopy(c, false);  // its own handles, not the original's links
                copies.emplace_back(e->objectId(), c);
            }
        }
        if (!done)
            if (const auto* kept = AcDbKeptEntity::cast(e)) ++refusedKept[kept->type()];
        return done;
    });
    std::vector<std::pair<AcDbObjectId, AcDbObjectId>> made;
    for (const auto& [from, c] : copies) {  // after the originals are closed again
        AcDbObjectId id;
        if (Append(c, &id)) made.emplace_back(from, id);
    }
    RenameCopiedHandles(made);
    int others = static_cast<int>(ids.size()) - n;
    for (const auto& [type, count] : refusedKept) {
        others -= count;
        Say(std::to_wstring(count) + L" " + std::wstring(type.begin(), type.end()) +
            (count == 1 ? L" is kept as its drawing file has it; the program cannot "
                        : L"s are kept as their drawing file has them; the program cannot ") +
            verb + L" " + (count == 1 ? L"it." : L"them."));
    }
    if (others > 0) Say(std::to_wstring(others) + L" object(s) could not be " + participle + L".");
    return n;
}

namespace {

void ListCommand() {
    if (!Drawing()) return;
    for (const AcDbObjectId& id : SelectObjects()) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
        vorn::ed::Print(L"\n" + e->list());
        e->close();
    }
}

void AuditCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    // What the file reader mended or left out when the drawing was opened.
    const std::vector<std::string>& notes = vorn::dxf::ReadNotes(*db);
    if (!notes.empty()) {
        std::wstring text = L"\nAudit: the drawing file was mended when it was opened:\n";
        for (const std::string& n : notes) text += L"  " + FromUtf8(n) + L"\n";
        vorn::ed::Print(text);
    }
    const std::vector<AcDbAuditEntry> found = db->auditEntities();
    if (found.empty()) {
        Say(L"Audit: no entity has non-finite or degenerate geometry.");
        return;
    }
    std::wstring text = L"\nAudit: " + std::to_wstring(found.size()) + L" entit" +
                        (found.size() == 1 ? L"y has" : L"ies have") + L" bad geometry:\n";
    for (const AcDbAuditEntry& a : found) {
        const AcDbObject* o = db->peekObject(a.id);
        const AcDbEntity* e = AcDbEntity::cast(o);
        text += L"  " + std::wstring(o ? o->isA()->dxfName() : L"?") + L" " + a.id.handle().toString() +
                (e ? L" on layer \"" + e->layer() + L"\"" : L"") + L": " + a.reason + L"\n";
    }
    vorn::ed::Print(text);
}

bool AskLayerName(const std::wstring& prompt, std::wstring& name) {
    wchar_t buf[kAdsMaxInput + 1];
    if (acedGetString(1, prompt.c_str(), buf) != RTNORM || buf[0] == L'\0') return false;
    name = buf;
    return true;
}

void LayerCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    for (;;) {
        acedInitGet(0, L"Make Set");
        wchar_t word[kAdsMaxInput + 1];
        if (acedGetKword(L"\nEnter an option [Make/Set]: ", word) != RTNORM) return;
        const std::wstring current = vorn::ed::dbx::CurrentLayerName();
        std::wstring name;
        if (std::wstring(word) == L"Make") {
            if (!AskLayerName(L"\nEnter name for new layer (becomes the current layer) <" + current + L">: ", name))
                continue;
            AcDbObjectId id;
            if (db->ensureLayer(name, id) != Acad::eOk) {
                Say(L"\"" + name + L"\" is not a valid layer name: it must not be empty nor hold <>/\\\":;?*|,=`.");
                continue;
            }
            db->setClayer(id);
        } else {
            if (!AskLayerName(L"\nEnter layer name to make current <" + current + L">: ", name)) continue;
            if (!vorn::ed::dbx::SetCurrentLayer(name))
                Say(L"Layer \"" + name + L"\" does not exist; use Make to create it.");
        }
    }
}

}  // namespace

void RegisterEditCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"ERASE", L"ERASE", 0, EraseCommand);
    AddCommand(kGroup, L"MOVE", L"MOVE", 0, [] { MoveCopy(false); });
    AddCommand(kGroup, L"COPY", L"COPY", 0, [] { MoveCopy(true); });
    AddCommand(kGroup, L"LIST", L"LIST", 0, ListCommand);
    AddCommand(kGroup, L"AUDIT", L"AUDIT", 0, AuditCommand);
    AddCommand(kGroup, L"LAYER", L"LAYER", 0, LayerCommand);
}

}  // namespace vorn::cmds
