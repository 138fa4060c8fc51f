// Inside the database: the slots, the undo records and the hooks that objects call. Only the
// database's own files include this.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "host/db/dbkept.h"
#include "host/db/dbmain.h"

namespace vorn::db::detail {

// 0 closed, 1 open for read, 2 open for write.
int OpenState(const AcDbObject* object);
Acad::ErrorStatus Open(AcDbObject*& object, const AcDbObjectId& id, AcDb::OpenMode mode, bool openErased);
Acad::ErrorStatus Close(AcDbObject* object);
Acad::ErrorStatus Upgrade(AcDbObject* object);
Acad::ErrorStatus Downgrade(AcDbObject* object);
// Appends a new object under owner (a table or block record of the same database), open for
// write; logged as an append. asRead: an object read whole from a file, appended closed (it
// needs no copy to go back to) under the file's handle when no object holds that yet (0: a
// new one).
Acad::ErrorStatus Append(AcDbDatabase* db, const AcDbObjectId& owner, AcDbObject* object, AcDbObjectId& id,
                         bool asRead = false, std::uint64_t handle = 0);
// A copy carrying the same id, owner and erase flag (the undo log's snapshots).
std::unique_ptr<AcDbObject> Snapshot(const AcDbObject& object);
void SetErased(AcDbObject& object, bool erased);

struct Slot {
    std::unique_ptr<AcDbObject> object;    // null once the append was undone or purged
    std::unique_ptr<AcDbObject> snapshot;  // the state at write open
    std::uint32_t readers = 0;
    bool writer = false;
    bool openSinceAppend = false;          // the append record covers this opening
    std::vector<std::uint32_t> children;   // owned objects of tables and blocks, in order
    std::uint64_t handle = 0;              // the object's handle; stays with the slot for good
};

struct UndoRecord {
    enum Kind { kAppend, kModify, kHeader };
    Kind kind = kModify;
    std::uint32_t index = 0;
    std::unique_ptr<AcDbObject> object;  // modify: the other state; append: the object while undone
    AcDbDatabaseHeader header;           // header: the other header
};

}  // namespace vorn::db::detail

struct AcDbUndoChunk::Records {
    std::vector<vorn::db::detail::UndoRecord> list;  // newest first
};

namespace vorn::db::detail {
class SpatialIndex;
}

struct AcDbDatabase::Impl {
    AcDbDatabase* self = nullptr;
    std::vector<vorn::db::detail::Slot> slots;
    AcDbDatabaseHeader header;
    std::vector<vorn::db::detail::UndoRecord> log;
    bool recording = true;
    size_t openCount = 0;
    std::uint32_t layerTable = 0, linetypeTable = 0, styleTable = 0, blockTable = 0;
    std::uint32_t modelSpace = 0, paperSpace = 0, layerZero = 0;
    std::uint32_t ltByBlock = 0, ltByLayer = 0, ltContinuous = 0;
    // Bad objects put aside at close (callers may still read them once more).
    std::vector<std::unique_ptr<AcDbObject>> graveyard;
    // Folded name -> record slots, per table slot.
    std::unordered_map<std::uint32_t, std::unordered_map<std::wstring, std::vector<std::uint32_t>>> names;
    std::unordered_map<std::uint32_t, std::wstring> nameOf;  // record slot -> folded name indexed
    std::unique_ptr<vorn::db::detail::SpatialIndex> spatial;
    std::uint64_t revision = 0;
    std::function<void()> onChange;
    // Handles: the slot of each, and the next one to hand out (slot 0 stays empty, so a new
    // drawing's objects have their slot number plus one).
    std::unordered_map<std::uint64_t, std::uint32_t> byHandle;
    std::uint64_t nextHandle = 2;
    vorn::db::FileData file;
    void changed() {
        ++revision;
        if (onChange) onChange();
    }

    Impl();
    ~Impl();
    vorn::db::detail::Slot* slot(const AcDbObjectId& id);
    const vorn::db::detail::Slot* slot(const AcDbObjectId& id) const;
    AcDbObjectId idOf(std::uint32_t index) const { return AcDbObjectId(self, index); }
    void addChild(std::uint32_t owner, std::uint32_t child);
    void removeChild(std::uint32_t owner, std::uint32_t child);
    void indexName(std::uint32_t index);
    void unindexName(std::uint32_t index);
    AcDbObjectId lookup(std::uint32_t table, const std::wstring& name, bool getErased) const;
    // The object changed (appended, modified, undone): keep the name and spatial indexes.
    void touched(std::uint32_t index);
    void pushRecord(vorn::db::detail::UndoRecord&& record);
    void undoRecord(vorn::db::detail::UndoRecord& record);
    void redoRecord(vorn::db::detail::UndoRecord& record);
    void setHeaderLogged(const AcDbDatabaseHeader& h);
    // The header changed from before to the current one (set, undone or redone).
    void headerChanged(const AcDbDatabaseHeader& before);
};

namespace vorn::db::detail {
class SpatialIndex {
public:
    explicit SpatialIndex(AcDbDatabase::Impl* db);
    ~SpatialIndex();
    void markDirty(std::uint32_t index);
    // Every block reference of model space needs new extents (a block definition changed).
    void markInsertsDirty();
    // Every entity of model space needs new extents (a drawing variable that scales the
    // annotation symbols changed).
    void markAllDirty();
    std::vector<std::uint32_t> queryBox(const AcDbExtents& box);
    // Calls visit(slot, box) for every entity whose box meets box, in slot order, with the box
    // the tree holds.
    void forEachInBox(const AcDbExtents& box, const std::function<void(std::uint32_t, const AcDbExtents&)>& visit);
    std::vector<std::uint32_t> queryNear(const AcGePoint3d& p, double dist);
    AcDbExtents extents();
    struct Tree;

private:
    void flush();
    AcDbDatabase::Impl* m_db;
    std::unique_ptr<Tree> m_tree;
};
}  // namespace vorn::db::detail
