// The reader's state, shared by the file-structure and the entity halves.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxfgroups.h"

namespace vorn::dxf::detail {

// The properties every entity record carries, and its extended data.
struct EntityCommon {
    std::wstring layer = L"0";
    std::wstring linetype;
    AcCmColor color;
    double linetypeScale = 1.0;
    bool paper = false;
    std::vector<std::pair<std::wstring, AcDbXDataItems>> xdata;
};

class Reader {
public:
    Reader(std::string_view text, const std::string& file, AcDbDatabase& db);
    // Reads the whole file into the database; throws DxfError.
    void read();

private:
    using Body = std::vector<Group>;
    // ---- file structure ----
    // The groups of one record up to the next code 0 (which is given back).
    void record(Body& body);
    void header();
    void tables();
    void layer(const Body& body, size_t line);
    void linetype(const Body& body, size_t line);
    void style(const Body& body, size_t line);
    void blocks();
    void entitiesSection();
    void objects();
    void skipSection();
    void finish();

    // ---- entities ----
    // Reads entity records into block until a record that is no entity (given back).
    void entityStream(const AcDbObjectId& block, bool layoutSpace);
    void entity(const std::string& type, const Body& body, size_t line, const AcDbObjectId& block, bool layoutSpace);
    void polyline(const Body& body, size_t line, const AcDbObjectId& block, bool layoutSpace);
    EntityCommon common(const Body& body, size_t& xdataStart) const;
    void xdata(const Body& body, size_t start, EntityCommon& c) const;
    // Gives the entity the common properties and appends it to its block; takes ownership.
    AcDbObjectId append(AcDbEntity* e, const EntityCommon& c, const AcDbObjectId& block, bool layoutSpace, size_t line);
    // A framework entity from its carrier's extended data, or null when the carrier stays.
    AcDbEntity* frameworkEntity(EntityCommon& c, size_t line) const;
    void regionLoop(const AcDbPolyline& loop, EntityCommon& c, const AcDbObjectId& block, bool layoutSpace,
                    size_t line);

    // ---- names ----
    AcDbObjectId layerId(const std::wstring& name, size_t line);
    AcDbObjectId styleId(const std::wstring& name, size_t line);
    // The block of that name, made empty when the file has not defined it yet.
    AcDbObjectId blockId(const std::wstring& name, size_t line);
    void check(Acad::ErrorStatus es, size_t line, const std::string& what) const;

    GroupReader m_in;
    AcDbDatabase& m_db;
    std::unordered_map<std::wstring, AcDbObjectId> m_layers, m_styles, m_blocks;  // by folded name
    std::map<std::uint32_t, size_t> m_referenced;  // block slot -> line of a first reference
    std::map<std::uint32_t, bool> m_defined;       // block slots with a BLOCK record
    std::map<std::uint32_t, std::vector<std::pair<std::uint32_t, size_t>>> m_inserts;  // block -> inserted blocks
    std::map<std::uint32_t, int> m_plainRefs, m_carrierRefs;  // references to anonymous blocks
    struct PendingRegion {
        AcDbObjectId id;
        std::vector<AcDbRegion::Loop> loops;
    };
    std::map<std::pair<std::uint32_t, long long>, PendingRegion> m_regions;
    std::map<std::uint32_t, AcDbBlockTableRecord*> m_open;  // block records open while entities go in
    // Header values, applied at the end.
    std::wstring m_clayer, m_textstyle;
    size_t m_clayerLine = 0, m_textstyleLine = 0;
    std::string m_vornRecordHandle;
    std::map<std::string, std::pair<double, size_t>> m_xrecordScales;  // XRECORD handle -> group 40
    std::uint64_t m_anonymousSeed = 0;
    bool m_sawEof = false;
};

}  // namespace vorn::dxf::detail
