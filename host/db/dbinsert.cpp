// Copying one drawing's model space into another as a block definition, with the layers, line
// types, text styles and blocks it uses.
#include <unordered_map>

#include "host/db/db.h"
#include "host/db/dbimpl.h"

namespace {

class Copier {
public:
    Copier(AcDbDatabase* dest, AcDbDatabase* source) : m_dest(dest), m_src(source) {}

    AcDbObjectId map(const AcDbObjectId& id) {
        if (id.isNull() || id.database() != m_src) return id.database() == m_dest ? id : AcDbObjectId();
        auto it = m_map.find(id);
        if (it != m_map.end()) return it->second;
        AcDbObjectId out = copyRecord(id);
        m_map[id] = out;
        return out;
    }

    // Copies the entities of a source block into a destination block (open for write).
    Acad::ErrorStatus copyEntities(const AcDbObjectId& srcBlock, AcDbBlockTableRecord* dest) {
        for (const AcDbObjectId& id : m_src->ownedIds(srcBlock)) {
            const AcDbEntity* e = AcDbEntity::cast(m_src->peekObject(id));
            if (!e) continue;
            AcDbEntity* copy = AcDbEntity::cast(e->clone());
            if (!copy) continue;
            // What names objects of the source drawing by handle cannot come along.
            if (!vorn::db::PrepareCopy(copy, true)) {
                delete copy;
                continue;
            }
            copy->remapIds([this](const AcDbObjectId& old) { return map(old); });
            AcDbObjectId newId;
            Acad::ErrorStatus es = dest->appendAcDbEntity(newId, copy);
            if (es != Acad::eOk) {
                delete copy;
                return es;
            }
            copy->close();
        }
        return Acad::eOk;
    }

    void preset(const AcDbObjectId& from, const AcDbObjectId& to) { m_map[from] = to; }

private:
    template <class Table>
    AcDbObjectId addTo(Table* table, AcDbSymbolTableRecord* rec) {
        AcDbObjectId id;
        if (table->add(id, rec) != Acad::eOk) {
            delete rec;
            return AcDbObjectId();
        }
        rec->close();
        return id;
    }

    // A record without ids of its own: the one of that name here, else a copy.
    template <class Table>
    AcDbObjectId copyPlain(const AcDbObjectId& found, const AcDbSymbolTableRecord* rec, Table*& t,
                           Acad::ErrorStatus (AcDbDatabase::*open)(Table*&, AcDb::OpenMode)) {
        if (!found.isNull()) return found;
        auto* copy = static_cast<AcDbSymbolTableRecord*>(rec->clone());
        copy->setName(rec->name().c_str());
        vorn::db::PrepareCopy(copy, true);
        if ((m_dest->*open)(t, AcDb::kForWrite) != Acad::eOk) {
            delete copy;
            return {};
        }
        AcDbObjectId out = addTo(t, copy);
        t->close();
        return out;
    }

    AcDbObjectId copyRecord(const AcDbObjectId& id) {
        const AcDbObject* o = m_src->peekObject(id);
        const AcDbSymbolTableRecord* rec = AcDbSymbolTableRecord::cast(o);
        if (!rec) return AcDbObjectId();
        const std::wstring& name = rec->name();
        if (AcDbLayerTableRecord::cast(rec)) {
            AcDbObjectId found = m_dest->findLayer(name);
            if (!found.isNull()) return found;
            auto* copy = static_cast<AcDbLayerTableRecord*>(rec->clone());
            copy->setName(name.c_str());
            vorn::db::PrepareCopy(copy, true);
            copy->remapIds([this](const AcDbObjectId& old) { return map(old); });
            AcDbLayerTable* t = nullptr;
            if (m_dest->getLayerTable(t, AcDb::kForWrite) != Acad::eOk) { delete copy; return {}; }
            AcDbObjectId out = addTo(t, copy);
            t->close();
            return out;
        }
        if (AcDbLinetypeTableRecord::cast(rec)) {
            AcDbLinetypeTable* t = nullptr;
            return copyPlain(m_dest->findLinetype(name), rec, t, &AcDbDatabase::getLinetypeTable);
        }
        if (AcDbTextStyleTableRecord::cast(rec)) {
            AcDbTextStyleTable* t = nullptr;
            return copyPlain(m_dest->findTextStyle(name), rec, t, &AcDbDatabase::getTextStyleTable);
        }
        if (const auto* block = AcDbBlockTableRecord::cast(rec)) {
            if (!block->isAnonymous()) {
                AcDbObjectId found = m_dest->findBlock(name);
                if (!found.isNull()) return found;
            }
            auto* copy = new AcDbBlockTableRecord();
            copy->setName(block->isAnonymous() ? L"*U" : name.c_str());
            copy->setOrigin(block->origin());
            AcDbBlockTable* t = nullptr;
            if (m_dest->getBlockTable(t, AcDb::kForWrite) != Acad::eOk) { delete copy; return {}; }
            AcDbObjectId out;
            if (t->add(out, copy) != Acad::eOk) {
                delete copy;
                t->close();
                return {};
            }
            t->close();
            // Map before copying so that a block holding a reference to itself ends.
            m_map[id] = out;
            copyEntities(id, copy);
            copy->close();
            return out;
        }
        return AcDbObjectId();
    }

    AcDbDatabase* m_dest;
    AcDbDatabase* m_src;
    std::unordered_map<AcDbObjectId, AcDbObjectId> m_map;
};

}  // namespace

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const wchar_t* blockName, AcDbDatabase* source, bool) {
    blockId = AcDbObjectId();
    if (!source || source == this || !blockName) return Acad::eInvalidInput;
    if (!findBlock(blockName).isNull()) return Acad::eDuplicateKey;
    auto* rec = new AcDbBlockTableRecord();
    Acad::ErrorStatus es = rec->setName(blockName);
    if (es != Acad::eOk || rec->isLayout()) {
        delete rec;
        return Acad::eInvalidInput;
    }
    AcDbBlockTable* table = nullptr;
    es = getBlockTable(table, AcDb::kForWrite);
    if (es != Acad::eOk) {
        delete rec;
        return es;
    }
    es = table->add(blockId, rec);
    table->close();
    if (es != Acad::eOk) {
        delete rec;
        return es;
    }
    Copier copier(this, source);
    copier.preset(source->modelSpaceId(), blockId);
    es = copier.copyEntities(source->modelSpaceId(), rec);
    rec->close();
    return es;
}
