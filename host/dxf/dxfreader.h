// The reader's state, shared by the file-structure and the entity halves.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxfgroups.h"
#include "host/dxf/dxfparts.h"

namespace vorn::dxf::detail {

// The properties every entity record carries, and its extended data.
struct EntityCommon {
    std::string_view layer;  // the layer's name as the record spells it (a view into the file's text)
    bool layerGiven = false;
    std::wstring linetype;
    AcCmColor color;
    double linetypeScale = 1.0;
    bool paper = false;
    int trueColorIndex = 0;  // the index the file gives beside a true colour
    std::vector<std::pair<std::wstring, AcDbXDataItems>> xdata;
};

// One record: its type (group 0, upper-cased), the line of that group, where it starts in the
// text, and its other groups.
struct Record {
    std::string type;
    size_t line = 0;
    size_t offset = 0;
    std::vector<Group> body;
};

// The handles the file gave its records. Programs hand handles out from 1 upwards, so those
// below a bound that grows with the file are bits; the rest (a damaged or strange file) a set.
class HandleSet {
public:
    explicit HandleSet(std::uint64_t denseBound) : m_bound(denseBound) {}
    // False when the handle was there already.
    bool insert(std::uint64_t h);

private:
    std::uint64_t m_bound;
    std::vector<std::uint64_t> m_bits;
    std::unordered_set<std::uint64_t> m_sparse;
};

// Names a file spells the same way over and over (layers, blocks, text styles), with the
// object each stands for, so that most records need neither decoding nor folding of the name.
class NameCache {
public:
    // The object of that spelling; null when not met yet.
    AcDbObjectId find(std::string_view bytes) const;
    void add(std::string_view bytes, const AcDbObjectId& id);
    void clear() {
        m_ids.clear();
        m_spellings.clear();
        m_last = {};
    }

private:
    mutable std::pair<std::string_view, AcDbObjectId> m_last;  // the spelling found last
    std::deque<std::string> m_spellings;  // the keys' storage (a deque does not move them)
    std::unordered_map<std::string_view, AcDbObjectId> m_ids;
};

class Reader {
public:
    // consumed, when given, is told now and then an offset below which the reader will not look
    // at the text again (so that its memory can be given back).
    Reader(std::string_view text, const std::string& file, AcDbDatabase& db,
           std::function<void(size_t)> consumed = nullptr);
    // Reads the whole file into the database. Throws DxfError only for a file without any
    // readable structure; damage elsewhere is mended or left out, and noted.
    void read();
    // What was mended or left out, one line per kind ("FILE:LINE: what was done").
    const std::vector<std::string>& notes() const { return m_noteLines; }

private:
    using Body = std::vector<Group>;
    // ---- records ----
    // The next record; false at the end of the file. Unreadable lines and groups outside any
    // record are skipped with a note.
    bool nextRecord(Record& r);
    // Swapped rather than moved, so that the record buffers go round and keep their capacity.
    void pushBack(Record&& r) {
        std::swap(m_pending, r);
        m_hasPending = true;
    }
    // Tells the owner of the text how far it was read, when that moved on far enough.
    void giveBackText();
    // The first bad group of a body, or null.
    static const Group* firstBad(const Body& body);
    // Notes that a record was left out because of its bad group.
    void noteBad(const Record& r, const Group& bad, const char* what);
    // Notes a mend: one line per kind (the first place and how many).
    void note(size_t line, const std::string& kind);

    // ---- file structure ----
    void header(const Body& body);
    void classes();
    void tables();
    void table(Record& head);
    // Whether id (null when the record could not be made) names a record not read before; a
    // second record of one name is noted and left out.
    bool firstRecord(const AcDbObjectId& id, size_t line, const char* kind, const std::wstring& name);
    void layer(const Record& r);
    void linetype(const Record& r);
    void style(const Record& r);
    void blockRecord(const Record& r);
    void blocks();
    void entitiesSection();
    void objects();
    void otherSection(const std::string& name);
    // Whether a record that follows a section is its ENDSEC; false when the section ended
    // without it (noted).
    bool sectionEnd(const Record& r, const char* section);
    // The next record of a section into r; false at the section's end: its ENDSEC read, or
    // another section or the file's end met without one (noted, and given back).
    bool sectionRecord(Record& r, const char* section);
    void finish();

    // ---- kept data ----
    AcDbKeptGroup keep(const Group& g) const;
    // The record whole, for records kept as they are.
    AcDbKeptRecord keepWhole(const Record& r);
    // The groups of a record the host does not set, with handle and owner taken out.
    std::shared_ptr<AcDbKeptData> keepRest(const Body& body, RecordKind part, const std::vector<Place>& places,
                                           const std::vector<bool>* taken = nullptr) const;
    // The same appended to out.
    void keepRest(const Body& body, RecordKind part, const std::vector<Place>& places, AcDbKeptGroups& out,
                  const std::vector<bool>* taken = nullptr) const;
    // The record's handle (group 5 or 105 at its head), checked: 0 when it has none; a bad or
    // repeated one is noted and replaced by 0 (a new one).
    std::uint64_t handleOf(const Record& r, const std::vector<Place>& places);
    std::uint64_t checkHandle(std::string_view text, size_t line);
    // Gives a database object the file's handle.
    void takeHandle(const AcDbObjectId& id, std::uint64_t handle);
    // A sub-record (vertex, attribute, SEQEND) with its handle and owner taken out.
    AcDbKeptRecord subRecord(const Record& r, RecordKind part);

    // ---- entities ----
    // Reads entity records into block until a record that is no entity (given back).
    void entityStream(const AcDbObjectId& block, bool layoutSpace);
    void entity(Record& r, const AcDbObjectId& block, bool layoutSpace);
    // Reads the records after a POLYLINE or INSERT up to and with SEQEND.
    void sequence(const char* member, std::vector<Record>& out, const Record& parent);
    void polyline(Record& r, std::vector<Record>& seq, const AcDbObjectId& block, bool layoutSpace);
    void keptEntity(const Record& r, const std::vector<Place>& places, std::vector<Record>* seq,
                    const AcDbObjectId& block, bool layoutSpace);
    // The common properties, from where they stand (the head or the AcDbEntity part).
    bool common(const Record& r, const std::vector<Place>& places, EntityCommon& c);
    bool xdata(const Record& r, const std::vector<Place>& places, EntityCommon& c);
    // Gives the entity the common properties and appends it to its block; takes ownership.
    // kept: the groups it keeps (taken from), null for an entity that keeps nothing of its
    // record; following: the records it keeps after it. Null id when the drawing refuses it
    // (noted).
    AcDbObjectId append(AcDbEntity* e, const EntityCommon& c, const AcDbObjectId& block, bool layoutSpace, size_t line,
                        std::uint64_t handle, AcDbKeptGroups* kept, std::vector<AcDbKeptRecord>* following = nullptr);
    // A framework entity from its carrier's extended data, or null when the carrier stays.
    AcDbEntity* frameworkEntity(EntityCommon& c, size_t line);
    void regionLoop(const AcDbPolyline& loop, EntityCommon& c, const AcDbObjectId& block, bool layoutSpace,
                    size_t line, std::uint64_t handle);

    // ---- names ----
    // The same by a name as the file spells it (decoded only the first time).
    AcDbObjectId layerOfSpelling(std::string_view bytes, size_t line);
    AcDbObjectId blockOfSpelling(std::string_view bytes, size_t line);
    AcDbObjectId styleOfSpelling(std::string_view bytes, size_t line);
    AcDbObjectId layerId(const std::wstring& name, size_t line);
    AcDbObjectId styleId(const std::wstring& name, size_t line);
    AcDbObjectId linetypeId(const std::wstring& name, size_t line);
    // The record a name refers to in a table (the drawing's own, by find), added when
    // the drawing has none (files name layers, line types and styles they never list), its
    // new record first made ready by prepare. Names seen before come from known.
    template <typename Table, typename Record>
    AcDbObjectId namedRecord(std::unordered_map<std::wstring, AcDbObjectId>& known, const std::wstring& name,
                             size_t line, const char* what,
                             AcDbObjectId (AcDbDatabase::*find)(const std::wstring&) const,
                             Acad::ErrorStatus (AcDbDatabase::*open)(Table*&, AcDb::OpenMode),
                             const std::function<void(Record&)>& prepare);
    // The block of that name, made empty when the file has not defined it yet; null when the
    // name cannot be a block's (noted).
    AcDbObjectId blockId(const std::wstring& name, size_t line);
    bool ok(Acad::ErrorStatus es, size_t line, const std::string& what);
    // The same for a fixed text, made a string only when it is needed (this is asked for every
    // value an entity is given).
    bool ok(Acad::ErrorStatus es, size_t line, const char* what) {
        return es == Acad::eOk || ok(es, line, std::string(what));
    }
    // A block record open for write while the file is read (closed at the end).
    AcDbBlockTableRecord* openBlock(const AcDbObjectId& id);

    GroupReader m_in;
    std::function<void(size_t)> m_consumed;
    size_t m_givenBack = 0;   // the offset m_consumed was told last
    bool m_streaming = false;  // in the entities section, where the text can be given back
    AcDbDatabase& m_db;
    vorn::db::FileData& m_file;
    int m_version = 0;  // 1009, 1015, ...; 0 while no header said
    bool m_headerSeen = false;
    bool m_rootPending = true;  // the root dictionary is still to come
    Record m_pending;
    bool m_hasPending = false;
    std::unordered_map<std::wstring, AcDbObjectId> m_layers, m_styles, m_blocks, m_linetypes;  // by folded name
    std::unordered_set<std::uint32_t> m_definedLinetypes;  // line types the file defines
    std::unordered_set<std::uint32_t> m_seenRecords;       // table records read
    std::map<std::uint32_t, size_t> m_ltypeRefs;             // line types named before defined -> line
    std::map<std::uint32_t, size_t> m_referenced;  // block slot -> line of a first reference
    std::map<std::uint32_t, bool> m_defined;       // block slots with a BLOCK record
    struct InsertRef {
        std::uint32_t block;
        size_t line;
        AcDbObjectId entity;
    };
    std::map<std::uint32_t, std::vector<InsertRef>> m_inserts;  // block -> inserted blocks
    std::map<std::uint32_t, int> m_plainRefs, m_carrierRefs;    // references to anonymous blocks
    struct PendingRegion {
        AcDbObjectId id;
        std::vector<AcDbRegion::Loop> loops;
    };
    std::map<std::pair<std::uint32_t, long long>, PendingRegion> m_regions;
    std::map<std::uint32_t, AcDbBlockTableRecord*> m_open;  // block records open while entities go in
    NameCache m_layerSpellings, m_blockSpellings, m_styleSpellings;
    // Handles: those the file gave, and the highest.
    HandleSet m_handles;
    mutable std::uint64_t m_maxHandle = 0;  // the highest handle the file names, anywhere
    std::uint64_t m_handseed = 0;
    // Header values, applied at the end.
    std::wstring m_clayer, m_textstyle;
    size_t m_clayerLine = 0, m_textstyleLine = 0;
    std::string m_vornRecordHandle;
    std::map<std::string, std::pair<double, size_t>> m_xrecordScales;  // XRECORD handle -> group 40
    std::uint64_t m_anonymousSeed = 0;
    // Notes by kind: the first line and the count, in the order first met.
    struct Note {
        std::string kind;
        size_t line;
        size_t count;
    };
    std::vector<Note> m_notes;
    std::unordered_map<std::string, size_t> m_noteIndex;
    std::vector<std::string> m_noteLines;
    // Scratch, kept between records for its capacity: the places of the groups of the record
    // being read (tables and blocks), of an entity, and of a record that follows it; the
    // groups an entity keeps; the record after an INSERT.
    std::vector<Place> m_places, m_entityPlaces, m_memberPlaces;
    AcDbKeptGroups m_kept;
    Record m_lookahead;
};

}  // namespace vorn::dxf::detail
