// The writer's state, shared by the file-structure and the entity halves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxfout.h"

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
    Writer(const AcDbDatabase& db, DxfOut& out);
    void write();

private:
    // ---- file structure ----
    void prepare();
    void header();
    void tables();
    void tableHead(const char* name, std::uint64_t handle, int count);
    void blocks();
    void entities();
    void objects();
    std::uint64_t newHandle() { return m_next++; }

    // ---- entities ----
    void entity(const AcDbEntity* e, std::uint64_t owner, bool paper);
    void common(const char* type, std::uint64_t handle, std::uint64_t owner, bool paper, const AcDbEntity* props);
    void hostEntity(const AcDbEntity* e, std::uint64_t handle, std::uint64_t owner, bool paper,
                    const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn);
    void xdata(const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn);
    void xdataItems(const std::vector<AcDbXDataItem>& items);
    void region(const AcDbRegion* r, std::uint64_t owner, bool paper);
    void primitive(const vorn::db::GiPrimitive& p, std::uint64_t owner);
    void primitiveProps(const char* type, std::uint64_t owner, const vorn::db::GiPrimitive& p);
    void textBody(const AcGiTextData& t, const std::wstring& style);
    const std::string& layerName(const AcDbObjectId& layer);
    std::wstring styleName(const AcDbObjectId& style) const;
    std::wstring blockName(const AcDbObjectId& block) const;

    const AcDbDatabase& m_db;
    DxfOut& m_out;
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
    int m_regionCount = 0;
};

// The host's own entity kinds (written as themselves); framework entities are everything else.
bool IsHostKind(const AcDbEntity* e);

}  // namespace vorn::dxf::detail
