// AcDbDatabase: one drawing. It owns every object (entities, symbol tables and records) in
// slots addressed by object ids, guards their opening, keeps the drawing header, records every
// change in an undo log, and keeps a spatial index over model space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/db/dbentity.h"
#include "host/db/dbextents.h"
#include "host/db/dbobject.h"
#include "host/db/dbsymtb.h"

// The print scales a drawing may have (100 means 1:100): from a 100:1 detail to a 1:100000
// map. Sizes that follow the scale (symbols, texts, legends) stay within the drawing's reach.
constexpr double kMinPrintScale = 0.01;
constexpr double kMaxPrintScale = 100000.0;
inline bool IsPrintScale(double scale) { return scale >= kMinPrintScale && scale <= kMaxPrintScale; }

// The drawing header: values saved with the drawing.
struct AcDbDatabaseHeader {
    int drawUnit = AcDb::kUnitMillimeters;  // DRAWUNIT: 0 millimetres, 1 metres
    double printScale = 1.0;                // PRINTSCALE: 100 means 1:100
    double filletRadius = 0.0;              // FILLETRAD
    AcDbObjectId currentLayer;              // CLAYER
    AcDbObjectId currentTextStyle;          // TEXTSTYLE
    double textSize = 2.5;                  // TEXTSIZE
    std::uint64_t anonymousBlockSeed = 0;   // the last n of "*U<n>" handed out
    bool operator==(const AcDbDatabaseHeader& o) const;
    bool operator!=(const AcDbDatabaseHeader& o) const { return !(*this == o); }
};

// Undone changes handed back by revertTo and replayed by reapply. Move-only.
class AcDbUndoChunk {
public:
    AcDbUndoChunk();
    AcDbUndoChunk(AcDbUndoChunk&&) noexcept;
    AcDbUndoChunk& operator=(AcDbUndoChunk&&) noexcept;
    ~AcDbUndoChunk();
    bool isEmpty() const;
    size_t size() const;
    struct Records;

private:
    friend class AcDbDatabase;
    std::unique_ptr<Records> m_records;
    AcDbDatabase* m_db = nullptr;
    size_t m_basePosition = 0;
};

// One finding of the audit.
struct AcDbAuditEntry {
    AcDbObjectId id;
    std::wstring reason;
};

class AcDbDatabase : public AcRxObject {
    ACRX_DECLARE_MEMBERS(AcDbDatabase)
public:
    // A new drawing: layer "0", line types ByBlock/ByLayer/Continuous/Center/Dashed/Hidden, text
    // style "Standard", model and paper space, millimetres, print scale 1.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // ---- tables and spaces ----
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return getLayerTable(t, m); }
    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return getBlockTable(t, m); }
    Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return getTextStyleTable(t, m); }
    Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) { return getLinetypeTable(t, m); }
    AcDbObjectId layerTableId() const;
    AcDbObjectId linetypeTableId() const;
    AcDbObjectId textStyleTableId() const;
    AcDbObjectId blockTableId() const;
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    AcDbObjectId layerZero() const;
    AcDbObjectId continuousLinetype() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;

    // Look-ups by name without opening anything: the record's id, or null (erased ones never).
    AcDbObjectId findLayer(const std::wstring& name) const;
    AcDbObjectId findLinetype(const std::wstring& name) const;
    AcDbObjectId findTextStyle(const std::wstring& name) const;
    AcDbObjectId findBlock(const std::wstring& name) const;
    // The layer of that name, made (white, continuous) when missing; the change is recorded.
    Acad::ErrorStatus ensureLayer(const std::wstring& name, AcDbObjectId& id);
    // A line type by name: a standard pattern is made when missing; others give eKeyNotFound.
    Acad::ErrorStatus ensureLinetype(const std::wstring& name, AcDbObjectId& id);
    // The next free anonymous block name ("*U1", "*U2", ...); recorded as a header change.
    std::wstring newAnonymousBlockName();

    // Model-space entity ids in database order (for "ALL" and plain iteration).
    AcDbObjectIdArray modelSpaceIds(bool includeErased = false) const;
    // The ids a block (or table) owns in order.
    AcDbObjectIdArray ownedIds(const AcDbObjectId& owner, bool includeErased = false) const;

    // ---- header ----
    const AcDbDatabaseHeader& header() const;
    // Replaces the whole header (the file reader); bad values give eInvalidInput, nothing changed.
    Acad::ErrorStatus setHeader(const AcDbDatabaseHeader& header);
    int drawUnit() const;
    Acad::ErrorStatus setDrawUnit(int unit);           // 0 or 1
    double printScale() const;
    Acad::ErrorStatus setPrintScale(double scale);     // positive and finite
    double filletrad() const;
    Acad::ErrorStatus setFilletrad(double radius);     // non-negative and finite
    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(const AcDbObjectId& layer);  // a layer record of this database, not erased
    AcDbObjectId textstyle() const;
    Acad::ErrorStatus setTextstyle(const AcDbObjectId& style);
    double textsize() const;
    Acad::ErrorStatus setTextsize(double size);        // positive and finite

    // ---- blocks from another drawing ----
    // Copies the model space of source into a new block named blockName (eDuplicateKey when a
    // block of that name exists, eInvalidInput for a bad name or source == this). Layers, line
    // types, text styles and blocks used are copied when missing here (by name); blocks of the
    // same name already here are used as they are.
    Acad::ErrorStatus insert(AcDbObjectId& blockId, const wchar_t* blockName, AcDbDatabase* source,
                             bool preserveSourceDatabase = true);

    // ---- undo log ----
    // The number of records in the log: a position to revert to later.
    size_t undoPosition() const;
    // Undoes every change after position, newest first, and hands them back as a redo chunk.
    // eWasOpenForWrite (nothing undone) while any object is open; eInvalidInput for a position
    // beyond the log.
    Acad::ErrorStatus revertTo(size_t position, AcDbUndoChunk& redo);
    // Replays a chunk from revertTo (records go back into the log). eInvalidInput when the log
    // changed since that revert (the chunk no longer applies), eWasOpenForWrite while an
    // object is open.
    Acad::ErrorStatus reapply(AcDbUndoChunk& chunk);
    // Turns recording off (a file being read) or on. Clearing drops the whole log.
    void setUndoRecording(bool on);
    bool isUndoRecording() const;
    void clearUndo();
    // Objects currently open (any mode).
    size_t openObjectCount() const;
    // Drops erased objects for good (their ids become invalid) and clears the log.
    void purgeErased();

    // ---- spatial queries over model space (results in database order, erased left out) ----
    // Entities whose extents meet the box (touching counts).
    AcDbObjectIdArray entitiesMeetingBox(const AcDbExtents& box) const;
    // The same entities handed to visit one by one with the extents the index keeps of them (in
    // the plan: z is 0), without making a list: for drawing many entities. visit must not change
    // the drawing.
    void forEachEntityMeetingBox(const AcDbExtents& box,
                                 const std::function<void(const AcDbObjectId&, const AcDbExtents&)>& visit) const;
    // Entities whose extents lie within dist of the point: candidates for a pick.
    AcDbObjectIdArray entitiesNearPoint(const AcGePoint3d& point, double dist) const;
    // The box of all model-space entities (invalid for an empty drawing).
    AcDbExtents modelSpaceExtents() const;

    // ---- change notifications ----
    // Counts every change of an object or of the header, by a command, undo or redo: a view
    // or a save remembers the number it saw.
    std::uint64_t revision() const;
    // Called after every change (null: none). A window's view drops its cached picture there;
    // the callback must not change the drawing.
    void setChangeCallback(std::function<void()> callback);

    // ---- audit ----
    // Entities (in every block) with non-finite or degenerate geometry, with the reason.
    std::vector<AcDbAuditEntry> auditEntities() const;

    // ---- for ids, objects and the file areas ----
    // The object in a slot without opening it (null for an invalid id), for reading code that
    // must not change it: drawing, extents, look-ups.
    const AcDbObject* peekObject(const AcDbObjectId& id) const;
    // The handle seed: one more than the highest handle in use.
    std::uint64_t handseed() const;
    AcDbObjectId idFromIndex(std::uint32_t index) const;

    struct Impl;
    Impl* vornImpl() const { return m_impl.get(); }

private:
    std::unique_ptr<Impl> m_impl;
};

// The drawing the program has open (settable by the program, a test, or a command).
class AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const { return m_working; }
    void setWorkingDatabase(AcDbDatabase* db) { m_working = db; }

private:
    AcDbDatabase* m_working = nullptr;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
AcDbDatabase* acdbCurDwg();

namespace vorn::db {
// Makes sure the host's classes are registered (the file reader looks them up by name).
void RegisterHostClasses();
}  // namespace vorn::db
