// The writer's state, shared by the file-structure and the entity halves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxfout.h"
#include "host/dxf/dxfparts.h"

namespace vorn::dxf::detail {

// A framework entity: its type name and fields, and how its graphics are written.
struct FrameworkForm {
    std::wstring typeName;
    std::vector<AcDbXDataItem> fields;
    std::unique_ptr<AcDbEntity> carrier;  // its own TEXT or INSERT, when it draws as one
    int block = -1;                       // else the anonymous block of its graphics
};

// An anonymous block the writer makes for a framework entity's graphics.
struct GraphicsBlock {
    std::wstring name;
    std::uint64_t record = 0;
    std::vector<vorn::db::GiPrimitive> primitives;
};

class Writer {
public:
    // asText: text DXF even for a drawing read from a binary file.
    Writer(const AcDbDatabase& db, DxfOut& out, bool asText = false);
    void write();

private:
    // ---- file structure ----
    void prepare();
    void header();
    void classes();
    void tables();
    void keptTable(const std::string& name, bool required);
    void tableHead(const char* name, std::uint64_t handle, int count, const AcDbObject* table);
    void vportTable();
    void appidTable();
    void dimstyleTable();
    void blocks();
    void entities();
    void objects();
    // withoutScaleEntry: the root dictionary, whose entry VORN_DRAWING the writer gives anew.
    void keptObject(const AcDbKeptRecord& r, bool withoutScaleEntry = false);
    void otherSections();
    std::uint64_t newHandle() { return m_next++; }

    // ---- records ----
    // Writes a record: group 0, the name of a table head (name2), the handle, the kept groups
    // before any subclass marker, the owner, then each of the host's parts after its marker
    // with the kept groups of that part after it. part(k) writes the host's groups of part k.
    template <class F>
    void record(const char* type, const char* name2, std::uint64_t handle, int handleCode, const std::uint64_t* owner,
                const AcDbKeptGroups* kept, const std::vector<const char*>& markers, F&& part);
    // A record kept whole (its handle among its groups).
    void wholeRecord(const AcDbKeptRecord& r);
    // A record that follows an entity (attribute, SEQEND), its handle and owner given.
    void memberRecord(const AcDbKeptRecord& r, std::uint64_t owner);
    void xdata(const AcDbObject* props, const std::vector<AcDbXDataItem>* vorn);
    void xdataItems(const std::vector<AcDbXDataItem>& items);

    // ---- entities ----
    void entity(const AcDbEntity* e, std::uint64_t owner, bool paper);
    void commonPart(const AcDbEntity* props, bool paper);
    void hostEntity(const AcDbEntity* e, std::uint64_t handle, std::uint64_t owner, bool paper,
                    const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn);
    void polyline2d(const AcDbEntity* props, std::uint64_t handle, std::uint64_t owner, bool paper,
                    const std::vector<vorn::db::BulgeVertex>& vertices, bool closed, double elevation, int flags,
                    int smooth, const AcDbKeptData* kept, const std::vector<AcDbXDataItem>* vorn);
    void region(const AcDbRegion* r, std::uint64_t owner, bool paper);
    void primitive(const vorn::db::GiPrimitive& p, std::uint64_t owner);
    void primitiveProps(const vorn::db::GiPrimitive& p);
    const std::string& layerName(const AcDbObjectId& layer);
    // The entities of a block, as listed once when the writer looked at them all.
    const AcDbObjectIdArray& entityIds(const AcDbObjectId& block);
    std::wstring styleName(const AcDbObjectId& style) const;
    std::wstring blockName(const AcDbObjectId& block) const;

    const AcDbDatabase& m_db;
    DxfOut& m_out;
    const vorn::db::FileData& m_file;
    bool m_asText;
    int m_version = 1021;
    bool m_r12 = false;
    std::uint64_t m_next = 1;
    std::uint64_t m_seedBound = 1;
    // Handles of what the writer adds around the database's own objects.
    std::uint64_t m_vportTable = 0, m_viewTable = 0, m_ucsTable = 0, m_appTable = 0, m_dimTable = 0;
    std::uint64_t m_rootDict = 0, m_groupDict = 0, m_layoutDict = 0, m_modelLayout = 0, m_paperLayout = 0;
    std::uint64_t m_vornRecord = 0;
    std::vector<std::wstring> m_apps;
    std::unordered_map<std::uint32_t, FrameworkForm> m_framework;
    std::vector<GraphicsBlock> m_graphics;
    std::unordered_map<std::uint32_t, std::string> m_layerNames;
    std::unordered_map<std::uint32_t, AcDbObjectIdArray> m_entityIds;  // by block index
    // Handles of kept objects that belong to entities no longer in the drawing: they and what
    // names them are left out.
    std::unordered_set<std::string> m_gone;
    int m_regionCount = 0;
};

// The host's own entity kinds (written as themselves); framework entities are everything else.
bool IsHostKind(const AcDbEntity* e);

}  // namespace vorn::dxf::detail

namespace vorn::dxf::detail {

// Subclass markers as a reader tells them apart: letters in either case.
inline bool SameMarker(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y) return false;
    }
    return true;
}

// Whether a group in braces (group 102) follows g, as a reader tells: "{..." opens them,
// "}" closes them, and a subclass marker ends those a file left open.
inline bool InBraces(bool open, const AcDbKeptGroup& g) {
    if (g.code == 100) return false;
    if (g.code != 102) return open;
    const size_t k = g.value.find_first_not_of(' ');
    if (k == std::string::npos) return open;
    return g.value[k] == '{' ? true : g.value[k] == '}' ? false : open;
}

template <class F>
void Writer::record(const char* type, const char* name2, std::uint64_t handle, int handleCode, const std::uint64_t* owner,
                    const AcDbKeptGroups* kept, const std::vector<const char*>& markers, F&& part) {
    m_out.utf8(0, type);  // a kept record's type as the file spelled it: any text, line breaks too
    if (name2) m_out.raw(2, name2);
    if (handle) m_out.handle(handleCode, handle);
    static const AcDbKeptGroups kNone;
    const AcDbKeptGroups& g = kept ? *kept : kNone;
    bool hasMarkers = false;
    for (const AcDbKeptGroup& k : g)
        if (k.code == 100) {
            hasMarkers = true;
            break;
        }
    size_t next = 0;
    // Reactors and the extension dictionary (groups in braces) stand before the owner; any
    // other group before the first marker after it, where a reader finds the owner again
    // (also in a record read without markers, which is written with them).
    size_t i = 0;
    const auto headAndOwner = [&](size_t end) {
        // Braces the file left open would take in an owner after them: it goes before them.
        bool open = false;
        for (size_t k = i; k < end && g[k].code != 100 && (open || g[k].code == 102); ++k) open = InBraces(open, g[k]);
        if (!m_r12 && owner && open) m_out.handle(330, *owner);
        for (bool brace = false; i < end && g[i].code != 100 && (brace || g[i].code == 102); ++i) {
            brace = InBraces(brace, g[i]);
            m_out.kept(g[i]);
        }
        if (!m_r12 && owner && !open) m_out.handle(330, *owner);
        for (; i < end && g[i].code != 100; ++i) m_out.kept(g[i]);
    };
    const auto hostPart = [&](size_t k) {
        if (!m_r12) m_out.raw(100, markers[k]);
        part(k);
    };
    if (!hasMarkers) {
        // A record without markers (R12, or a program that leaves them out): the kept groups
        // that stood before the host's own (up to the -1 note), the host's groups, the rest.
        size_t split = 0;
        while (split < g.size() && g[split].code != -1) ++split;
        if (split == g.size()) split = 0;
        headAndOwner(split);
        for (; next < markers.size(); ++next) hostPart(next);
        for (size_t k = split; k < g.size(); ++k) m_out.kept(g[k]);
        return;
    }
    // An embedded object (from its mark, group 101, on) ends the record: the host's own parts
    // go before it, where a reader still takes them for the record's.
    size_t tail = 0;
    for (bool brace = false; tail < g.size() && (brace || g[tail].code != 101); ++tail) brace = InBraces(brace, g[tail]);
    headAndOwner(tail);
    while (i < tail) {
        const std::string& marker = g[i].value;
        size_t match = markers.size();
        for (size_t k = next; k < markers.size(); ++k)
            if (SameMarker(marker, markers[k])) {
                match = k;
                break;
            }
        if (match < markers.size()) {
            for (; next <= match; ++next) hostPart(next);
        } else if (!m_r12) {
            m_out.kept(g[i]);
        }
        for (++i; i < tail && g[i].code != 100; ++i) m_out.kept(g[i]);
    }
    for (; next < markers.size(); ++next) hostPart(next);
    for (; i < g.size(); ++i) m_out.kept(g[i]);
}

}  // namespace vorn::dxf::detail
