// Symbol tables and records, and the making of a new drawing's standard tables.
#include <cmath>
#include <cwctype>

#include "host/db/db.h"
#include "host/db/dbgeomutil.h"
#include "host/db/dbimpl.h"

using vorn::db::detail::Finite;

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DXF_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, L"STYLE")
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_DXF_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, L"TABLE_LAYER")
ACRX_DXF_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE_LTYPE")
ACRX_DXF_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable, L"TABLE_STYLE")
ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, L"TABLE_BLOCK_RECORD")

namespace vorn::db {

std::wstring FoldSymbolName(const std::wstring& name) {
    std::wstring out = name;
    for (auto& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

bool SameSymbolName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

bool StandardLinetypePattern(const std::wstring& name, std::vector<double>& dashes, std::wstring& comments) {
    struct Std {
        const wchar_t* name;
        const wchar_t* comments;
        std::vector<double> dashes;
    };
    static const Std table[] = {
        {L"CONTINUOUS", L"Solid line", {}},
        {L"CENTER", L"Center ____ _ ____ _ ____ _ ____", {31.75, -6.35, 6.35, -6.35}},
        {L"DASHED", L"Dashed __ __ __ __ __ __ __ __", {12.7, -6.35}},
        {L"HIDDEN", L"Hidden __ __ __ __ __ __ __ __", {6.35, -3.175}},
        {L"PHANTOM", L"Phantom ______  __  __  ______", {31.75, -6.35, 6.35, -6.35, 6.35, -6.35}},
        {L"DOT", L"Dot . . . . . . . . . . . . . .", {0.0, -6.35}},
        {L"DASHDOT", L"Dash dot __ . __ . __ . __ . _", {12.7, -6.35, 0.0, -6.35}},
        {L"BORDER", L"Border __ __ . __ __ . __ __ .", {12.7, -6.35, 12.7, -6.35, 0.0, -6.35}},
        {L"DIVIDE", L"Divide ____ . . ____ . . ____", {12.7, -6.35, 0.0, -6.35, 0.0, -6.35}},
    };
    std::wstring key = FoldSymbolName(name);
    for (const auto& s : table)
        if (key == s.name) {
            dashes = s.dashes;
            comments = s.comments;
            return true;
        }
    return false;
}

}  // namespace vorn::db

namespace {
bool validName(const std::wstring& n) {
    if (n.empty() || n.size() > 255) return false;
    for (size_t i = 0; i < n.size(); ++i) {
        wchar_t c = n[i];
        if (c < 32 || c == 127) return false;
        if (c == L'*' && i == 0) continue;
        if (std::wcschr(L"<>/\\\":;?*|,=`", c)) return false;
    }
    return n.find_first_not_of(L' ') != std::wstring::npos;
}
}  // namespace

// ---- records ----

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const wchar_t* name) {
    std::wstring n = name ? name : L"";
    if (!validName(n)) return Acad::eInvalidInput;
    if (AcDbDatabase* db = database()) {
        AcDbObjectId other = db->vornImpl()->lookup(ownerId().index(), n, false);
        if (!other.isNull() && other != objectId()) return Acad::eDuplicateKey;
    }
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_name = n;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLayerTableRecord::setColor(const AcCmColor& color) {
    if (color.isByLayer() || color.isByBlock()) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_color = color;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(const AcDbObjectId& id) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_linetype = id;
    return Acad::eOk;
}
void AcDbLayerTableRecord::setIsOff(bool off) {
    if (assertWriteEnabled()) m_off = off;
}
Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_frozen = frozen;
    return Acad::eOk;
}
void AcDbLayerTableRecord::setIsLocked(bool locked) {
    if (assertWriteEnabled()) m_locked = locked;
}
void AcDbLayerTableRecord::setIsPlottable(bool p) {
    if (assertWriteEnabled()) m_plottable = p;
}
void AcDbLayerTableRecord::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    m_linetype = map(m_linetype);
}

void AcDbLinetypeTableRecord::setComments(const wchar_t* text) {
    if (assertWriteEnabled()) m_comments = text ? text : L"";
}
Acad::ErrorStatus AcDbLinetypeTableRecord::setDashes(const std::vector<double>& dashes) {
    for (double d : dashes)
        if (!Finite(d)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dashes = dashes;
    return Acad::eOk;
}
double AcDbLinetypeTableRecord::dashLengthAt(int index) const {
    return (index >= 0 && index < numDashes()) ? m_dashes[static_cast<size_t>(index)] : 0.0;
}
double AcDbLinetypeTableRecord::patternLength() const {
    double s = 0.0;
    for (double d : m_dashes) s += std::fabs(d);
    return s;
}
bool AcDbLinetypeTableRecord::isFiniteObject() const {
    for (double d : m_dashes)
        if (!Finite(d)) return false;
    return AcDbObject::isFiniteObject();
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const wchar_t* font) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_font = font ? font : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const wchar_t* font) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_bigFont = font ? font : L"";
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
    if (!Finite(size) || size < 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_size = size;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double w) {
    if (!Finite(w) || !(w > 0.0)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_xScale = w;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double a) {
    if (!Finite(a)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_oblique = a;
    return Acad::eOk;
}
Acad::ErrorStatus AcDbTextStyleTableRecord::setPriorSize(double size) {
    if (!Finite(size) || !(size > 0.0)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_prior = size;
    return Acad::eOk;
}
bool AcDbTextStyleTableRecord::isFiniteObject() const {
    return Finite(m_size) && Finite(m_xScale) && Finite(m_oblique) && Finite(m_prior) && AcDbObject::isFiniteObject();
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_origin = p;
    return Acad::eOk;
}
void AcDbBlockTableRecord::setComments(const wchar_t* text) {
    if (assertWriteEnabled()) m_comments = text ? text : L"";
}
bool AcDbBlockTableRecord::isAnonymous() const { return !m_name.empty() && m_name[0] == L'*' && !isLayout(); }
bool AcDbBlockTableRecord::isLayout() const {
    std::wstring n = vorn::db::FoldSymbolName(m_name);
    return n.rfind(L"*MODEL_SPACE", 0) == 0 || n.rfind(L"*PAPER_SPACE", 0) == 0;
}
bool AcDbBlockTableRecord::isModelSpace() const { return vorn::db::SameSymbolName(m_name, ACDB_MODEL_SPACE); }
bool AcDbBlockTableRecord::isFiniteObject() const { return Finite(m_origin) && AcDbObject::isFiniteObject(); }

namespace {

// What appending an entity to block asks of it; an entity without a layer or a text without a
// style takes the drawing's current one.
Acad::ErrorStatus ReadyToAppend(AcDbBlockTableRecord& block, AcDbEntity* entity) {
    if (!entity) return Acad::eNullEntityPointer;
    AcDbDatabase* db = block.database();
    if (!db) return Acad::eNotInDatabase;
    if (!block.isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (entity->isDatabaseResident()) return Acad::eAlreadyInDb;
    if (!entity->layerId().isNull() && entity->layerId().database() != db) return Acad::eWrongDatabase;
    if (!entity->isFiniteObject()) return Acad::eInvalidInput;
    // An entity without a layer goes on the current one; its colour and line type, which the
    // caller may have set before appending, are kept.
    if (entity->layerId().isNull()) entity->setLayer(db->clayer());
    // Likewise a text without a style takes the current one, so that every stored text names a
    // style of its own drawing (a file written from it, or a block made of it, stays whole).
    if (auto* text = AcDbText::cast(entity)) {
        if (!text->textStyle().isNull() && text->textStyle().database() != db) return Acad::eWrongDatabase;
        if (text->textStyle().isNull()) text->setTextStyle(db->textstyle());
    } else if (auto* mtext = AcDbMText::cast(entity)) {
        if (!mtext->textStyle().isNull() && mtext->textStyle().database() != db) return Acad::eWrongDatabase;
        if (mtext->textStyle().isNull()) mtext->setTextStyle(db->textstyle());
    }
    return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
    id = AcDbObjectId();
    const Acad::ErrorStatus es = ReadyToAppend(*this, entity);
    if (es != Acad::eOk) return es;
    return vorn::db::detail::Append(database(), objectId(), entity, id);
}

Acad::ErrorStatus vorn::db::AppendEntityAsRead(AcDbBlockTableRecord* block, AcDbEntity* entity, std::uint64_t handle,
                                               AcDbObjectId& id) {
    id = AcDbObjectId();
    if (!block) return Acad::eInvalidOwnerObject;
    const Acad::ErrorStatus es = ReadyToAppend(*block, entity);
    if (es != Acad::eOk) return es;
    return vorn::db::detail::Append(block->database(), block->objectId(), entity, id, true, handle);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
    AcDbObjectId id;
    return appendAcDbEntity(id, entity);
}

AcDbObjectIdArray AcDbBlockTableRecord::entityIds(bool includeErased) const {
    AcDbDatabase* db = database();
    return db ? db->ownedIds(objectId(), includeErased) : AcDbObjectIdArray();
}

bool AcDbBlockTableRecord::hasEntities() const { return !entityIds().isEmpty(); }

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& it, bool atBeginning,
                                                     bool skipDeleted) const {
    it = new AcDbBlockTableRecordIterator(entityIds(!skipDeleted));
    it->start(atBeginning);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
    if (done()) return Acad::eInvalidIndex;
    id = m_ids[m_pos];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
    entity = nullptr;
    if (done()) return Acad::eInvalidIndex;
    return acdbOpenAcDbEntity(entity, m_ids[m_pos], mode, openErased);
}

// ---- tables ----

AcRxObject* AcDbSymbolTable::clone() const { return nullptr; }

Acad::ErrorStatus AcDbSymbolTable::getAt(const wchar_t* name, AcDbObjectId& id, bool getErased) const {
    id = AcDbObjectId();
    AcDbDatabase* db = database();
    if (!db || !name) return Acad::eInvalidInput;
    id = db->vornImpl()->lookup(objectId().index(), name, getErased);
    return id.isNull() ? Acad::eKeyNotFound : Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const wchar_t* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErased) const {
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(name, id, openErased);
    if (es != Acad::eOk) return es;
    return acdbOpenObject(record, id, mode, openErased);
}

bool AcDbSymbolTable::has(const wchar_t* name) const {
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(const AcDbObjectId& id) const {
    AcDbDatabase* db = database();
    const AcDbObject* o = db ? db->peekObject(id) : nullptr;
    return o && !o->isErased() && o->ownerId() == objectId();
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
    id = AcDbObjectId();
    if (!record) return Acad::eNullEntityPointer;
    AcDbDatabase* db = database();
    if (!db) return Acad::eNotInDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (record->isDatabaseResident()) return Acad::eAlreadyInDb;
    if (!record->isKindOf(recordClass())) return Acad::eInvalidInput;
    if (AcDbBlockTableRecord::cast(record) && vorn::db::SameSymbolName(record->name(), L"*U"))
        record->m_name = db->newAnonymousBlockName();
    if (!validName(record->name())) return Acad::eInvalidInput;
    if (!db->vornImpl()->lookup(objectId().index(), record->name(), false).isNull()) return Acad::eDuplicateKey;
    return vorn::db::detail::Append(db, objectId(), record, id);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
    AcDbObjectId id;
    return add(id, record);
}

AcDbObjectIdArray AcDbSymbolTable::recordIds(bool includeErased) const {
    AcDbDatabase* db = database();
    return db ? db->ownedIds(objectId(), includeErased) : AcDbObjectIdArray();
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& it, bool atBeginning, bool skipDeleted) const {
    it = new AcDbSymbolTableIterator(recordIds(!skipDeleted));
    it->start(atBeginning);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
    if (done()) return Acad::eInvalidIndex;
    id = m_ids[m_pos];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErased) const {
    record = nullptr;
    if (done()) return Acad::eInvalidIndex;
    return acdbOpenObject(record, m_ids[m_pos], mode, openErased);
}

#define VORN_DB_DEFINE_TABLE_GETAT(TABLE, RECORD)                                                       \
    Acad::ErrorStatus TABLE::getAt(const wchar_t* name, RECORD*& record, AcDb::OpenMode mode,           \
                                   bool openErased) const {                                             \
        record = nullptr;                                                                               \
        AcDbObjectId id;                                                                                \
        Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, id, openErased);                            \
        if (es != Acad::eOk) return es;                                                                 \
        return acdbOpenObject(record, id, mode, openErased);                                            \
    }
VORN_DB_DEFINE_TABLE_GETAT(AcDbLayerTable, AcDbLayerTableRecord)
VORN_DB_DEFINE_TABLE_GETAT(AcDbLinetypeTable, AcDbLinetypeTableRecord)
VORN_DB_DEFINE_TABLE_GETAT(AcDbTextStyleTable, AcDbTextStyleTableRecord)
VORN_DB_DEFINE_TABLE_GETAT(AcDbBlockTable, AcDbBlockTableRecord)
