// A new drawing's standard tables and records, and the database's table look-ups.
#include "host/db/db.h"
#include "host/db/dbimpl.h"

namespace {
// Adds a record to a table already open for write and closes it; returns its slot.
std::uint32_t addRecord(AcDbSymbolTable* table, AcDbSymbolTableRecord* record, const wchar_t* name) {
    record->setName(name);
    AcDbObjectId id;
    if (table->add(id, record) != Acad::eOk) {
        delete record;
        return 0;
    }
    record->close();
    return id.index();
}

template <class Table>
std::uint32_t appendTable(AcDbDatabase* db) {
    AcDbObjectId id;
    vorn::db::detail::Append(db, AcDbObjectId(), new Table(), id);
    AcDbObject* o = const_cast<AcDbObject*>(db->peekObject(id));
    o->close();
    return id.index();
}
}  // namespace

namespace vorn::db {
void RegisterHostClasses() {
    AcDbObject::rxInit();
    AcDbEntity::rxInit();
    AcDbCurve::rxInit();
    AcDbLine::rxInit();
    AcDbCircle::rxInit();
    AcDbArc::rxInit();
    AcDbPolyline::rxInit();
    AcDb2dPolyline::rxInit();
    AcDbText::rxInit();
    AcDbMText::rxInit();
    AcDbBlockReference::rxInit();
    AcDbRegion::rxInit();
    AcDbKeptEntity::rxInit();
    AcDbSymbolTableRecord::rxInit();
    AcDbLayerTableRecord::rxInit();
    AcDbLinetypeTableRecord::rxInit();
    AcDbTextStyleTableRecord::rxInit();
    AcDbBlockTableRecord::rxInit();
    AcDbSymbolTable::rxInit();
    AcDbLayerTable::rxInit();
    AcDbLinetypeTable::rxInit();
    AcDbTextStyleTable::rxInit();
    AcDbBlockTable::rxInit();
    AcDbDatabase::rxInit();
}
}  // namespace vorn::db

AcDbDatabase::AcDbDatabase(bool, bool) : m_impl(new Impl) {
    vorn::db::RegisterHostClasses();
    m_impl->self = this;
    m_impl->spatial.reset(new vorn::db::detail::SpatialIndex(m_impl.get()));
    // Slot 0 stays empty so that no object has handle 1's ambiguity with "no owner".
    m_impl->slots.emplace_back();
    m_impl->recording = false;
    m_impl->layerTable = appendTable<AcDbLayerTable>(this);
    m_impl->linetypeTable = appendTable<AcDbLinetypeTable>(this);
    m_impl->styleTable = appendTable<AcDbTextStyleTable>(this);
    m_impl->blockTable = appendTable<AcDbBlockTable>(this);

    AcDbLinetypeTable* lt = nullptr;
    getLinetypeTable(lt, AcDb::kForWrite);
    m_impl->ltByBlock = addRecord(lt, new AcDbLinetypeTableRecord(), L"ByBlock");
    m_impl->ltByLayer = addRecord(lt, new AcDbLinetypeTableRecord(), L"ByLayer");
    for (const wchar_t* name : {L"Continuous", L"CENTER", L"DASHED", L"HIDDEN"}) {
        auto* rec = new AcDbLinetypeTableRecord();
        std::vector<double> dashes;
        std::wstring comments;
        vorn::db::StandardLinetypePattern(name, dashes, comments);
        rec->setDashes(dashes);
        rec->setComments(comments.c_str());
        std::uint32_t index = addRecord(lt, rec, name);
        if (name[0] == L'C' && name[1] == L'o') m_impl->ltContinuous = index;
    }
    lt->close();

    AcDbLayerTable* layers = nullptr;
    getLayerTable(layers, AcDb::kForWrite);
    auto* zero = new AcDbLayerTableRecord();
    zero->setLinetypeObjectId(idFromIndex(m_impl->ltContinuous));
    m_impl->layerZero = addRecord(layers, zero, L"0");
    layers->close();

    AcDbTextStyleTable* styles = nullptr;
    getTextStyleTable(styles, AcDb::kForWrite);
    // The text font with the Chinese big font beside it, as Chinese drawing templates have it:
    // a reader drawing SHX fonts shows the Chinese texts instead of question marks.
    auto* standardStyle = new AcDbTextStyleTableRecord();
    standardStyle->setBigFontFileName(L"gbcbig.shx");
    std::uint32_t standard = addRecord(styles, standardStyle, L"Standard");
    styles->close();

    AcDbBlockTable* blocks = nullptr;
    getBlockTable(blocks, AcDb::kForWrite);
    m_impl->modelSpace = addRecord(blocks, new AcDbBlockTableRecord(), ACDB_MODEL_SPACE);
    m_impl->paperSpace = addRecord(blocks, new AcDbBlockTableRecord(), ACDB_PAPER_SPACE);
    blocks->close();

    m_impl->header.currentLayer = idFromIndex(m_impl->layerZero);
    m_impl->header.currentTextStyle = idFromIndex(standard);
    m_impl->recording = true;
}

namespace {
template <class Table>
Acad::ErrorStatus openTable(AcDbDatabase* db, std::uint32_t index, Table*& table, AcDb::OpenMode mode) {
    return acdbOpenObject(table, db->idFromIndex(index), mode);
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) {
    return openTable(this, m_impl->layerTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) {
    return openTable(this, m_impl->linetypeTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) {
    return openTable(this, m_impl->styleTable, t, m);
}
Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) {
    return openTable(this, m_impl->blockTable, t, m);
}

AcDbObjectId AcDbDatabase::layerTableId() const { return idFromIndex(m_impl->layerTable); }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return idFromIndex(m_impl->linetypeTable); }
AcDbObjectId AcDbDatabase::textStyleTableId() const { return idFromIndex(m_impl->styleTable); }
AcDbObjectId AcDbDatabase::blockTableId() const { return idFromIndex(m_impl->blockTable); }
AcDbObjectId AcDbDatabase::modelSpaceId() const { return idFromIndex(m_impl->modelSpace); }
AcDbObjectId AcDbDatabase::paperSpaceId() const { return idFromIndex(m_impl->paperSpace); }
AcDbObjectId AcDbDatabase::layerZero() const { return idFromIndex(m_impl->layerZero); }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return idFromIndex(m_impl->ltContinuous); }
AcDbObjectId AcDbDatabase::byLayerLinetype() const { return idFromIndex(m_impl->ltByLayer); }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return idFromIndex(m_impl->ltByBlock); }

AcDbObjectId AcDbDatabase::findLayer(const std::wstring& name) const {
    return m_impl->lookup(m_impl->layerTable, name, false);
}
AcDbObjectId AcDbDatabase::findLinetype(const std::wstring& name) const {
    return m_impl->lookup(m_impl->linetypeTable, name, false);
}
AcDbObjectId AcDbDatabase::findTextStyle(const std::wstring& name) const {
    return m_impl->lookup(m_impl->styleTable, name, false);
}
AcDbObjectId AcDbDatabase::findBlock(const std::wstring& name) const {
    return m_impl->lookup(m_impl->blockTable, name, false);
}

Acad::ErrorStatus AcDbDatabase::ensureLayer(const std::wstring& name, AcDbObjectId& id) {
    id = findLayer(name);
    if (!id.isNull()) return Acad::eOk;
    AcDbLayerTable* table = nullptr;
    Acad::ErrorStatus es = getLayerTable(table, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    auto* rec = new AcDbLayerTableRecord();
    es = rec->setName(name.c_str());
    if (es == Acad::eOk) {
        rec->setLinetypeObjectId(continuousLinetype());
        es = table->add(id, rec);
    }
    if (es == Acad::eOk) rec->close();
    else delete rec;
    table->close();
    return es;
}

Acad::ErrorStatus AcDbDatabase::ensureLinetype(const std::wstring& name, AcDbObjectId& id) {
    id = findLinetype(name);
    if (!id.isNull()) return Acad::eOk;
    std::vector<double> dashes;
    std::wstring comments;
    if (!vorn::db::StandardLinetypePattern(name, dashes, comments)) return Acad::eKeyNotFound;
    AcDbLinetypeTable* table = nullptr;
    Acad::ErrorStatus es = getLinetypeTable(table, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    auto* rec = new AcDbLinetypeTableRecord();
    rec->setName(vorn::db::FoldSymbolName(name).c_str());
    rec->setDashes(dashes);
    rec->setComments(comments.c_str());
    es = table->add(id, rec);
    if (es == Acad::eOk) rec->close();
    else delete rec;
    table->close();
    return es;
}
