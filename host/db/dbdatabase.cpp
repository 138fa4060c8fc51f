// AcDbDatabase: slots, open/close, the undo log and the header. Tables, insert, the spatial
// index and the audit live in their own files.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/db/db.h"
#include "host/db/dbimpl.h"

using vorn::db::detail::Slot;
using vorn::db::detail::UndoRecord;

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbDatabaseHeader::operator==(const AcDbDatabaseHeader& o) const {
    return drawUnit == o.drawUnit && printScale == o.printScale && filletRadius == o.filletRadius &&
           currentLayer == o.currentLayer && currentTextStyle == o.currentTextStyle && textSize == o.textSize &&
           anonymousBlockSeed == o.anonymousBlockSeed;
}

// ---- ids ----

bool AcDbObjectId::isValid() const {
    if (!m_db) return false;
    return m_db->peekObject(*this) != nullptr;
}

bool AcDbObjectId::isErased() const {
    const AcDbObject* o = m_db ? m_db->peekObject(*this) : nullptr;
    return o && o->isErased();
}

AcDbHandle AcDbObjectId::handle() const {
    if (!m_db) return AcDbHandle();
    const Slot* s = m_db->vornImpl()->slot(*this);
    return s ? AcDbHandle(s->handle) : AcDbHandle();
}

// ---- chunk ----

AcDbUndoChunk::AcDbUndoChunk() : m_records(new Records) {}
AcDbUndoChunk::AcDbUndoChunk(AcDbUndoChunk&& o) noexcept
    : m_records(std::move(o.m_records)), m_db(o.m_db), m_basePosition(o.m_basePosition) {
    o.m_records.reset(new Records);
    o.m_db = nullptr;
}
AcDbUndoChunk& AcDbUndoChunk::operator=(AcDbUndoChunk&& o) noexcept {
    std::swap(m_records, o.m_records);
    std::swap(m_db, o.m_db);
    std::swap(m_basePosition, o.m_basePosition);
    return *this;
}
AcDbUndoChunk::~AcDbUndoChunk() = default;
bool AcDbUndoChunk::isEmpty() const { return !m_records || m_records->list.empty(); }
size_t AcDbUndoChunk::size() const { return m_records ? m_records->list.size() : 0; }

// ---- impl ----

AcDbDatabase::Impl::Impl() = default;
AcDbDatabase::Impl::~Impl() = default;

Slot* AcDbDatabase::Impl::slot(const AcDbObjectId& id) {
    if (id.database() != self || id.index() >= slots.size()) return nullptr;
    return &slots[id.index()];
}

const Slot* AcDbDatabase::Impl::slot(const AcDbObjectId& id) const {
    if (id.database() != self || id.index() >= slots.size()) return nullptr;
    return &slots[id.index()];
}

void AcDbDatabase::Impl::addChild(std::uint32_t owner, std::uint32_t child) {
    auto& c = slots[owner].children;
    // Appends come in slot order; a redone append goes back to its place.
    if (c.empty() || c.back() < child) c.push_back(child);
    else c.insert(std::lower_bound(c.begin(), c.end(), child), child);
}

void AcDbDatabase::Impl::removeChild(std::uint32_t owner, std::uint32_t child) {
    auto& c = slots[owner].children;
    auto it = std::lower_bound(c.begin(), c.end(), child);
    if (it != c.end() && *it == child) c.erase(it);
}

void AcDbDatabase::Impl::unindexName(std::uint32_t index) {
    auto it = nameOf.find(index);
    if (it == nameOf.end()) return;
    const AcDbObject* o = slots[index].object ? slots[index].object.get() : nullptr;
    std::uint32_t owner = o ? o->ownerId().index() : 0;
    // The owner may be unknown when the object is gone; search every table.
    for (auto& table : names) {
        if (o && table.first != owner) continue;
        auto found = table.second.find(it->second);
        if (found == table.second.end()) continue;
        auto& v = found->second;
        v.erase(std::remove(v.begin(), v.end(), index), v.end());
        if (v.empty()) table.second.erase(found);
    }
    nameOf.erase(it);
}

void AcDbDatabase::Impl::indexName(std::uint32_t index) {
    const AcDbSymbolTableRecord* rec = AcDbSymbolTableRecord::cast(slots[index].object.get());
    if (!rec) return;
    std::wstring key = vorn::db::FoldSymbolName(rec->name());
    auto it = nameOf.find(index);
    if (it != nameOf.end() && it->second == key) return;
    unindexName(index);
    names[rec->ownerId().index()][key].push_back(index);
    nameOf[index] = key;
}

AcDbObjectId AcDbDatabase::Impl::lookup(std::uint32_t table, const std::wstring& name, bool getErased) const {
    auto t = names.find(table);
    if (t == names.end()) return AcDbObjectId();
    auto it = t->second.find(vorn::db::FoldSymbolName(name));
    if (it == t->second.end()) return AcDbObjectId();
    // Prefer a live record; among erased ones the newest.
    AcDbObjectId erased;
    for (std::uint32_t i : it->second) {
        const AcDbObject* o = slots[i].object.get();
        if (!o) continue;
        if (!o->isErased()) return idOf(i);
        erased = idOf(i);
    }
    return getErased ? erased : AcDbObjectId();
}

void AcDbDatabase::Impl::touched(std::uint32_t index) {
    changed();
    const AcDbObject* o = slots[index].object.get();
    if (!o) {
        unindexName(index);
    } else if (AcDbSymbolTableRecord::cast(o)) {
        indexName(index);
    }
    if (!spatial) return;
    spatial->markDirty(index);
    // Block references take their extents from their block's contents; model space itself is
    // no block anyone inserts, so an entity added to it leaves every reference's box as it was.
    if (o && ((AcDbBlockTableRecord::cast(o) && index != modelSpace) ||
              (o->ownerId().index() != modelSpace && AcDbEntity::cast(o))))
        spatial->markInsertsDirty();
    if (!o) spatial->markInsertsDirty();
}

void AcDbDatabase::Impl::pushRecord(UndoRecord&& record) {
    if (recording) log.push_back(std::move(record));
}

void AcDbDatabase::Impl::undoRecord(UndoRecord& r) {
    switch (r.kind) {
        case UndoRecord::kAppend: {
            Slot& s = slots[r.index];
            std::uint32_t owner = s.object->ownerId().index();
            unindexName(r.index);
            removeChild(owner, r.index);
            r.object = std::move(s.object);
            touched(r.index);
            break;
        }
        case UndoRecord::kModify:
            std::swap(slots[r.index].object, r.object);
            touched(r.index);
            break;
        case UndoRecord::kHeader:
            std::swap(header, r.header);
            headerChanged(r.header);
            break;
    }
}

void AcDbDatabase::Impl::redoRecord(UndoRecord& r) {
    switch (r.kind) {
        case UndoRecord::kAppend: {
            Slot& s = slots[r.index];
            s.object = std::move(r.object);
            addChild(s.object->ownerId().index(), r.index);
            touched(r.index);
            break;
        }
        case UndoRecord::kModify:
            std::swap(slots[r.index].object, r.object);
            touched(r.index);
            break;
        case UndoRecord::kHeader:
            std::swap(header, r.header);
            headerChanged(r.header);
            break;
    }
}

void AcDbDatabase::Impl::setHeaderLogged(const AcDbDatabaseHeader& h) {
    if (h == header) return;
    UndoRecord r;
    r.kind = UndoRecord::kHeader;
    r.header = header;
    header = h;
    headerChanged(r.header);
    pushRecord(std::move(r));
}

void AcDbDatabase::Impl::headerChanged(const AcDbDatabaseHeader& before) {
    changed();
    // The annotation symbols are drawn at the plot factor, which stands on the drawing unit and
    // the print scale: when either changes, every entity's extents are taken anew.
    if (spatial && (before.drawUnit != header.drawUnit || before.printScale != header.printScale))
        spatial->markAllDirty();
}

// ---- the hooks objects call ----

namespace vorn::db::detail {

namespace {
AcDbDatabase::Impl* implOf(const AcDbObject* o) {
    AcDbDatabase* db = o->objectId().database();
    return db ? db->vornImpl() : nullptr;
}

Slot* slotOf(const AcDbObject* o) {
    AcDbDatabase::Impl* impl = implOf(o);
    Slot* s = impl ? impl->slot(o->objectId()) : nullptr;
    return (s && s->object.get() == o) ? s : nullptr;
}

// Ends a write opening: checks the values, then records the change.
Acad::ErrorStatus finishWrite(AcDbDatabase::Impl* impl, Slot& s, std::uint32_t index, bool keepOpenForRead) {
    if (!s.object->isFiniteObject()) {
        if (keepOpenForRead) return Acad::eInvalidInput;
        // Put the object back as it was at open; the bad copy is kept aside, never stored.
        impl->graveyard.push_back(std::move(s.object));
        s.object = std::move(s.snapshot);
        s.writer = false;
        s.openSinceAppend = false;
        --impl->openCount;
        impl->touched(index);
        return Acad::eInvalidInput;
    }
    if (!s.openSinceAppend && s.snapshot) {
        UndoRecord r;
        r.kind = UndoRecord::kModify;
        r.index = index;
        r.object = std::move(s.snapshot);
        impl->pushRecord(std::move(r));
    }
    s.snapshot.reset();
    s.writer = false;
    s.openSinceAppend = false;
    impl->touched(index);
    return Acad::eOk;
}
}  // namespace

int OpenState(const AcDbObject* o) {
    Slot* s = slotOf(o);
    if (!s) return 0;
    return s->writer ? 2 : (s->readers ? 1 : 0);
}

std::unique_ptr<AcDbObject> Snapshot(const AcDbObject& o) {
    std::unique_ptr<AcDbObject> copy(AcDbObject::cast(o.clone()));
    if (!copy) return nullptr;
    copy->vornSetResidency(o.objectId(), o.ownerId());
    SetErased(*copy, o.isErased());
    return copy;
}

Acad::ErrorStatus Open(AcDbObject*& object, const AcDbObjectId& id, AcDb::OpenMode mode, bool openErased) {
    object = nullptr;
    AcDbDatabase::Impl* impl = id.database()->vornImpl();
    Slot* s = impl->slot(id);
    if (!s) return Acad::eInvalidInput;
    if (!s->object) return Acad::ePermanentlyErased;
    if (s->object->isErased() && !openErased) return Acad::eWasErased;
    if (s->writer) return Acad::eWasOpenForWrite;
    if (mode == AcDb::kForWrite) {
        if (s->readers) return Acad::eWasOpenForRead;
        s->snapshot = Snapshot(*s->object);
        if (!s->snapshot) return Acad::eNotApplicable;
        s->writer = true;
    } else {
        ++s->readers;
    }
    ++impl->openCount;
    object = s->object.get();
    return Acad::eOk;
}

Acad::ErrorStatus Close(AcDbObject* o) {
    Slot* s = slotOf(o);
    if (!s) return Acad::eNotInDatabase;
    AcDbDatabase::Impl* impl = implOf(o);
    if (s->writer) {
        Acad::ErrorStatus es = finishWrite(impl, *s, o->objectId().index(), false);
        if (es == Acad::eOk) --impl->openCount;
        return es;
    }
    if (s->readers) {
        --s->readers;
        --impl->openCount;
        return Acad::eOk;
    }
    return Acad::eNotApplicable;
}

Acad::ErrorStatus Upgrade(AcDbObject* o) {
    Slot* s = slotOf(o);
    if (!s) return Acad::eNotInDatabase;
    if (s->writer) return Acad::eOk;
    if (s->readers == 0) return Acad::eNotApplicable;
    if (s->readers > 1) return Acad::eWasOpenForRead;
    s->snapshot = Snapshot(*s->object);
    if (!s->snapshot) return Acad::eNotApplicable;
    s->readers = 0;
    s->writer = true;
    return Acad::eOk;
}

Acad::ErrorStatus Downgrade(AcDbObject* o) {
    Slot* s = slotOf(o);
    if (!s) return Acad::eNotInDatabase;
    if (!s->writer) return Acad::eWasNotOpenForWrite;
    // A bad value refuses the downgrade: the object stays open for write, and close puts it back.
    Acad::ErrorStatus es = finishWrite(implOf(o), *s, o->objectId().index(), true);
    if (es != Acad::eOk) return es;
    s->readers = 1;
    return Acad::eOk;
}

Acad::ErrorStatus Append(AcDbDatabase* db, const AcDbObjectId& owner, AcDbObject* object, AcDbObjectId& id,
                         bool asRead, std::uint64_t handle) {
    id = AcDbObjectId();
    if (!object) return Acad::eNullEntityPointer;
    if (object->isDatabaseResident()) return Acad::eAlreadyInDb;
    if (!object->isFiniteObject()) return Acad::eInvalidInput;
    AcDbDatabase::Impl* impl = db->vornImpl();
    if (impl->slots.size() >= 0xFFFFFFF0u) return Acad::eOutOfRange;
    std::uint32_t index = static_cast<std::uint32_t>(impl->slots.size());
    // Records kept inside the object that have no handle yet (those of a copy) get theirs.
    if (const AcDbKeptData* kept = object->keptData()) {
        bool renew = false;
        for (const AcDbKeptRecord& r : kept->following) renew = renew || r.handle == 0;
        if (renew) {
            auto data = std::make_shared<AcDbKeptData>(*kept);
            for (AcDbKeptRecord& r : data->following)
                if (r.handle == 0) r.handle = impl->nextHandle++;
            object->setKeptData(std::move(data));
        }
    }
    id = AcDbObjectId(db, index);
    object->vornSetResidency(id, owner);
    impl->slots.emplace_back();
    Slot& s = impl->slots.back();
    if (handle == 0 || !impl->byHandle.try_emplace(handle, index).second) {
        handle = impl->nextHandle++;
        impl->byHandle[handle] = index;
    } else if (handle >= impl->nextHandle) {
        impl->nextHandle = handle + 1;
    }
    s.handle = handle;
    s.object.reset(object);
    if (!asRead) {
        s.snapshot = Snapshot(*object);
        s.writer = true;
        s.openSinceAppend = true;
        ++impl->openCount;
    }
    impl->addChild(owner.index(), index);
    UndoRecord r;
    r.kind = UndoRecord::kAppend;
    r.index = index;
    impl->pushRecord(std::move(r));
    impl->touched(index);
    return Acad::eOk;
}

}  // namespace vorn::db::detail

// ---- the database ----

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static AcDbHostApplicationServices services;
    return &services;
}

AcDbDatabase* acdbCurDwg() { return acdbHostApplicationServices()->workingDatabase(); }

AcDbDatabase::~AcDbDatabase() {
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

const AcDbObject* AcDbDatabase::peekObject(const AcDbObjectId& id) const {
    const Slot* s = m_impl->slot(id);
    return s ? s->object.get() : nullptr;
}

std::uint64_t AcDbDatabase::handseed() const { return m_impl->nextHandle; }
AcDbObjectId AcDbDatabase::idFromIndex(std::uint32_t index) const {
    return index < m_impl->slots.size() ? AcDbObjectId(const_cast<AcDbDatabase*>(this), index) : AcDbObjectId();
}

AcDbObjectIdArray AcDbDatabase::ownedIds(const AcDbObjectId& owner, bool includeErased) const {
    AcDbObjectIdArray out;
    const Slot* s = m_impl->slot(owner);
    if (!s) return out;
    out.asVector().reserve(s->children.size());
    for (std::uint32_t i : s->children) {
        const AcDbObject* o = m_impl->slots[i].object.get();
        if (o && (includeErased || !o->isErased())) out.append(m_impl->idOf(i));
    }
    return out;
}

AcDbObjectIdArray AcDbDatabase::modelSpaceIds(bool includeErased) const { return ownedIds(modelSpaceId(), includeErased); }

// ---- header ----

namespace {
template <class T>
Acad::ErrorStatus changeHeader(AcDbDatabase::Impl* impl, T AcDbDatabaseHeader::*field, const T& value) {
    AcDbDatabaseHeader h = impl->header;
    h.*field = value;
    impl->setHeaderLogged(h);
    return Acad::eOk;
}
}  // namespace

const AcDbDatabaseHeader& AcDbDatabase::header() const { return m_impl->header; }

Acad::ErrorStatus AcDbDatabase::setHeader(const AcDbDatabaseHeader& h) {
    if ((h.drawUnit != 0 && h.drawUnit != 1) || !IsPrintScale(h.printScale) ||
        !std::isfinite(h.filletRadius) || h.filletRadius < 0.0 || !std::isfinite(h.textSize) || !(h.textSize > 0.0))
        return Acad::eInvalidInput;
    if (!h.currentLayer.isNull() && !AcDbLayerTableRecord::cast(peekObject(h.currentLayer))) return Acad::eInvalidInput;
    if (!h.currentTextStyle.isNull() && !AcDbTextStyleTableRecord::cast(peekObject(h.currentTextStyle)))
        return Acad::eInvalidInput;
    AcDbDatabaseHeader v = h;
    if (v.currentLayer.isNull()) v.currentLayer = m_impl->header.currentLayer;
    if (v.currentTextStyle.isNull()) v.currentTextStyle = m_impl->header.currentTextStyle;
    m_impl->setHeaderLogged(v);
    return Acad::eOk;
}

int AcDbDatabase::drawUnit() const { return m_impl->header.drawUnit; }
Acad::ErrorStatus AcDbDatabase::setDrawUnit(int unit) {
    if (unit != 0 && unit != 1) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::drawUnit, unit);
}
double AcDbDatabase::printScale() const { return m_impl->header.printScale; }
Acad::ErrorStatus AcDbDatabase::setPrintScale(double scale) {
    if (!IsPrintScale(scale)) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::printScale, scale);
}
double AcDbDatabase::filletrad() const { return m_impl->header.filletRadius; }
Acad::ErrorStatus AcDbDatabase::setFilletrad(double radius) {
    if (!std::isfinite(radius) || radius < 0.0) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::filletRadius, radius);
}
AcDbObjectId AcDbDatabase::clayer() const { return m_impl->header.currentLayer; }
Acad::ErrorStatus AcDbDatabase::setClayer(const AcDbObjectId& layer) {
    const AcDbObject* o = peekObject(layer);
    if (!AcDbLayerTableRecord::cast(o) || o->isErased()) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::currentLayer, layer);
}
AcDbObjectId AcDbDatabase::textstyle() const { return m_impl->header.currentTextStyle; }
Acad::ErrorStatus AcDbDatabase::setTextstyle(const AcDbObjectId& style) {
    const AcDbObject* o = peekObject(style);
    if (!AcDbTextStyleTableRecord::cast(o) || o->isErased()) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::currentTextStyle, style);
}
double AcDbDatabase::textsize() const { return m_impl->header.textSize; }
Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
    if (!std::isfinite(size) || !(size > 0.0)) return Acad::eInvalidInput;
    return changeHeader(m_impl.get(), &AcDbDatabaseHeader::textSize, size);
}

std::wstring AcDbDatabase::newAnonymousBlockName() {
    AcDbDatabaseHeader h = m_impl->header;
    std::wstring name;
    do {
        ++h.anonymousBlockSeed;
        name = L"*U" + std::to_wstring(h.anonymousBlockSeed);
    } while (!m_impl->lookup(m_impl->blockTable, name, true).isNull());
    m_impl->setHeaderLogged(h);
    return name;
}

// ---- undo ----

size_t AcDbDatabase::undoPosition() const { return m_impl->log.size(); }

Acad::ErrorStatus AcDbDatabase::revertTo(size_t position, AcDbUndoChunk& redo) {
    redo = AcDbUndoChunk();
    if (position > m_impl->log.size()) return Acad::eInvalidInput;
    if (m_impl->openCount) return Acad::eWasOpenForWrite;
    while (m_impl->log.size() > position) {
        UndoRecord r = std::move(m_impl->log.back());
        m_impl->log.pop_back();
        m_impl->undoRecord(r);
        redo.m_records->list.push_back(std::move(r));
    }
    redo.m_db = this;
    redo.m_basePosition = position;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::reapply(AcDbUndoChunk& chunk) {
    if (chunk.isEmpty()) return Acad::eOk;
    if (chunk.m_db != this || chunk.m_basePosition != m_impl->log.size()) return Acad::eInvalidInput;
    if (m_impl->openCount) return Acad::eWasOpenForWrite;
    auto& list = chunk.m_records->list;
    while (!list.empty()) {
        UndoRecord r = std::move(list.back());
        list.pop_back();
        m_impl->redoRecord(r);
        m_impl->log.push_back(std::move(r));
    }
    chunk.m_db = nullptr;
    return Acad::eOk;
}

void AcDbDatabase::setUndoRecording(bool on) { m_impl->recording = on; }
bool AcDbDatabase::isUndoRecording() const { return m_impl->recording; }
void AcDbDatabase::clearUndo() { m_impl->log.clear(); }
size_t AcDbDatabase::openObjectCount() const { return m_impl->openCount; }

void AcDbDatabase::purgeErased() {
    if (m_impl->openCount) return;
    m_impl->log.clear();
    for (std::uint32_t i = 0; i < m_impl->slots.size(); ++i) {
        Slot& s = m_impl->slots[i];
        if (!s.object || !s.object->isErased()) continue;
        // Records and tables are kept: ids of other objects may name them.
        if (!AcDbEntity::cast(s.object.get())) continue;
        m_impl->removeChild(s.object->ownerId().index(), i);
        m_impl->unindexName(i);
        s.object.reset();
        m_impl->touched(i);
    }
}

namespace vorn::db::detail {
void SetErased(AcDbObject& object, bool erased) { object.m_erased = erased; }
}  // namespace vorn::db::detail

std::uint64_t AcDbDatabase::revision() const { return m_impl->revision; }

void AcDbDatabase::setChangeCallback(std::function<void()> callback) { m_impl->onChange = std::move(callback); }
