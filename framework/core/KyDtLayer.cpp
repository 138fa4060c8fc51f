// The framework's layer standard and default text style.
#include "framework/core/KyDtLayer.h"

#include "host/db/dbmain.h"

namespace {
struct StdLayer {
    const wchar_t* name;
    int color;
    const wchar_t* linetype;
};
const StdLayer kStandard[] = {
    {L"PLAN-ROAD", 7, L"Continuous"},      {L"PLAN-ROAD_CENTER", 1, L"CENTER"},
    {L"PLAN-CAR_PLACE", 4, L"Continuous"}, {L"PLAN-TREE", 3, L"Continuous"},
    {L"PLAN-SAMPLE", 2, L"Continuous"},    {L"PLAN-SYMB_ARROW", 6, L"Continuous"},
    {L"PLAN-SYMB_ELEV", 5, L"Continuous"},
};

AcDbDatabase* Resolve(AcDbDatabase* db) { return db ? db : acdbHostApplicationServices()->workingDatabase(); }

// Adds a new record to a table open for write and closes both; the record is deleted when
// the table refuses it.
AcDbObjectId AddRecord(AcDbSymbolTable* table, AcDbSymbolTableRecord* rec) {
    AcDbObjectId id;
    if (table->add(id, rec) != Acad::eOk) {
        delete rec;
        id = AcDbObjectId::kNull;
    } else {
        rec->close();
    }
    table->close();
    return id;
}
}  // namespace

bool KyDtGetStdLayer(const wchar_t* name, int& colorIndex, std::wstring& linetype) {
    if (!name) return false;
    for (const auto& l : kStandard)
        if (vorn::db::SameSymbolName(l.name, name)) {
            colorIndex = l.color;
            linetype = l.linetype;
            return true;
        }
    return false;
}

AcDbObjectId KyDtInitLayer(const wchar_t* name, AcDbDatabase* db) {
    db = Resolve(db);
    if (!db || !name || !*name) return AcDbObjectId::kNull;
    AcDbObjectId id = db->findLayer(name);
    if (!id.isNull()) return id;
    return db->ensureLayer(name, id) == Acad::eOk ? id : AcDbObjectId::kNull;
}

AcDbObjectId KyDtInitStdLayer(const wchar_t* name, AcDbDatabase* db) {
    db = Resolve(db);
    if (!db || !name || !*name) return AcDbObjectId::kNull;
    AcDbObjectId id = db->findLayer(name);
    int color = 7;
    std::wstring linetype;
    if (!id.isNull() || !KyDtGetStdLayer(name, color, linetype)) return KyDtInitLayer(name, db);
    AcDbObjectId ltype;
    if (db->ensureLinetype(linetype, ltype) != Acad::eOk) ltype = db->continuousLinetype();
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(name);
    rec->setColor(AcCmColor::fromIndex(static_cast<std::uint16_t>(color)));
    rec->setLinetypeObjectId(ltype);
    return AddRecord(table, rec);
}

std::wstring KyDtGetLayerName(const wchar_t* name) { return name ? name : L""; }

AcDbObjectId KyDtInitTextStyle(const wchar_t* name, AcDbDatabase* db) {
    db = Resolve(db);
    if (!db || !name || !*name) return AcDbObjectId::kNull;
    AcDbObjectId id = db->findTextStyle(name);
    if (!id.isNull() || !vorn::db::SameSymbolName(name, L"TS_DEFAULT")) return id;
    AcDbTextStyleTable* table = nullptr;
    if (db->getTextStyleTable(table, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
    auto* rec = new AcDbTextStyleTableRecord();
    rec->setName(name);
    rec->setFileName(L"txt");
    rec->setBigFontFileName(L"gbcbig.shx");
    rec->setXScale(0.7);
    return AddRecord(table, rec);
}
