// Writing a drawing: header, tables, blocks, entities and objects with handles and owners.
#include "host/dxf/dxfwriter.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "host/db/db.h"
#include "host/dxf/dxftext.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kRadToDeg = 57.29577951308232;

template <class T>
const T* Peek(const AcDbDatabase& db, const AcDbObjectId& id) {
    return T::cast(db.peekObject(id));
}


bool SameApp(const std::wstring& a, const std::wstring& b) { return vorn::db::SameSymbolName(a, b); }

}  // namespace

Writer::Writer(const AcDbDatabase& db, DxfOut& out) : m_db(db), m_out(out) {}

void Writer::write() {
    prepare();
    header();
    m_out.raw(0, "SECTION");
    m_out.raw(2, "CLASSES");
    m_out.raw(0, "ENDSEC");
    tables();
    blocks();
    entities();
    objects();
    m_out.raw(0, "EOF");
}

// Looks at every entity once before anything is written: framework entities get their form,
// extended data applications are gathered for the APPID table, and the handle seed is bounded
// from above so that the header can carry it.
void Writer::prepare() {
    m_next = m_db.handseed();
    std::uint64_t extra = 64;  // tables, dictionaries, layouts and records the writer adds
    std::uint64_t anonymousSeed = m_db.header().anonymousBlockSeed;
    m_apps = {L"ACAD", L"VORN"};
    auto addApp = [&](const std::wstring& app) {
        for (const auto& a : m_apps)
            if (SameApp(a, app)) return;
        m_apps.push_back(app);
    };
    AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
    extra += 3 * static_cast<std::uint64_t>(blocks.length());
    for (int b = 0; b < blocks.length(); ++b) {
        const auto* rec = Peek<AcDbBlockTableRecord>(m_db, blocks.at(b));
        if (rec) anonymousSeed = std::max(anonymousSeed, AnonymousNumber(rec->name()));
    }
    std::vector<std::pair<std::uint32_t, const AcDbEntity*>> framework;
    for (int b = 0; b < blocks.length(); ++b) {
        AcDbObjectIdArray ids = m_db.ownedIds(blocks.at(b));
        for (int i = 0; i < ids.length(); ++i) {
            const auto* e = Peek<AcDbEntity>(m_db, ids.at(i));
            if (!e) continue;
            for (const auto& x : e->allXData()) addApp(x.first);
            if (const auto* p = AcDb2dPolyline::cast(e); p && p->isA() == AcDb2dPolyline::desc())
                extra += p->numVerts() + 1;
            else if (!IsHostKind(e))
                framework.emplace_back(ids.at(i).index(), e);
        }
    }
    for (const auto& [index, e] : framework) {
        FrameworkForm form;
        form.typeName = e->isA()->dxfName();
        e->writeFields(form.fields);
        AcDbVoidPtrArray parts;
        if (e->explode(parts) == Acad::eOk && parts.length() == 1) {
            auto* part = static_cast<AcDbEntity*>(parts.at(0));
            if (part->isA() == AcDbText::desc() || part->isA() == AcDbBlockReference::desc()) {
                form.carrier.reset(part);
                parts.removeAt(0);
            }
        }
        for (int k = 0; k < parts.length(); ++k) delete static_cast<AcDbEntity*>(parts.at(k));
        if (!form.carrier) {
            GraphicsBlock g;
            g.name = L"*U" + std::to_wstring(++anonymousSeed);
            vorn::db::GiCollector sink;
            vorn::db::DrawEntity(e, &sink);
            g.primitives = std::move(sink.primitives);
            extra += 3 + g.primitives.size();
            form.block = static_cast<int>(m_graphics.size());
            m_graphics.push_back(std::move(g));
        }
        m_framework.emplace(index, std::move(form));
    }
    extra += m_apps.size();
    m_seedBound = m_next + extra;
}

void Writer::header() {
    const AcDbDatabaseHeader& h = m_db.header();
    m_out.raw(0, "SECTION");
    m_out.raw(2, "HEADER");
    m_out.raw(9, "$ACADVER");
    m_out.raw(1, "AC1021");  // R2007: strings are UTF-8
    m_out.raw(9, "$DWGCODEPAGE");
    m_out.raw(3, "ANSI_1252");
    m_out.raw(9, "$INSBASE");
    m_out.point(10, AcGePoint3d());
    AcDbExtents ext = m_db.modelSpaceExtents();
    m_out.raw(9, "$EXTMIN");
    m_out.point(10, ext.isValid() ? ext.minPoint() : AcGePoint3d());
    m_out.raw(9, "$EXTMAX");
    m_out.point(10, ext.isValid() ? ext.maxPoint() : AcGePoint3d());
    m_out.raw(9, "$TEXTSIZE");
    m_out.real(40, h.textSize);
    m_out.raw(9, "$FILLETRAD");
    m_out.real(40, h.filletRadius);
    m_out.raw(9, "$CLAYER");
    const auto* layer = Peek<AcDbLayerTableRecord>(m_db, h.currentLayer);
    m_out.str(8, layer ? layer->name() : L"0");
    m_out.raw(9, "$TEXTSTYLE");
    m_out.str(7, styleName(h.currentTextStyle));
    m_out.raw(9, "$INSUNITS");
    m_out.integer(70, h.drawUnit == AcDb::kUnitMeters ? 6 : 4);
    m_out.raw(9, "$MEASUREMENT");
    m_out.integer(70, 1);
    m_out.raw(9, "$HANDSEED");
    m_out.handle(5, m_seedBound);
    m_out.raw(0, "ENDSEC");
}

void Writer::tableHead(const char* name, std::uint64_t handle, int count) {
    m_out.raw(0, "TABLE");
    m_out.raw(2, name);
    m_out.handle(5, handle);
    m_out.raw(330, "0");
    m_out.raw(100, "AcDbSymbolTable");
    m_out.integer(70, count);
}

namespace {
void RecordHead(DxfOut& out, const char* type, std::uint64_t handle, std::uint64_t table, const char* subclass,
                const std::wstring& name, int handleCode = 5) {
    out.raw(0, type);
    out.handle(handleCode, handle);
    out.handle(330, table);
    out.raw(100, "AcDbSymbolTableRecord");
    out.raw(100, subclass);
    out.str(2, name);
}
}  // namespace

void Writer::tables() {
    m_vportTable = newHandle();
    m_viewTable = newHandle();
    m_ucsTable = newHandle();
    m_appTable = newHandle();
    m_dimTable = newHandle();
    m_out.raw(0, "SECTION");
    m_out.raw(2, "TABLES");

    tableHead("VPORT", m_vportTable, 1);
    RecordHead(m_out, "VPORT", newHandle(), m_vportTable, "AcDbViewportTableRecord", L"*Active");
    m_out.integer(70, 0);
    AcDbExtents ext = m_db.modelSpaceExtents();
    AcGePoint3d lo = ext.isValid() ? ext.minPoint() : AcGePoint3d(), hi = ext.isValid() ? ext.maxPoint() : AcGePoint3d(100, 100, 0);
    m_out.point2(10, 0.0, 0.0);
    m_out.point2(11, 1.0, 1.0);
    m_out.point2(12, (lo.x + hi.x) / 2, (lo.y + hi.y) / 2);
    m_out.real(40, std::max(1.0, std::max(hi.y - lo.y, (hi.x - lo.x) / 1.5) * 1.1));
    m_out.real(41, 1.5);
    m_out.raw(0, "ENDTAB");

    AcDbObjectIdArray lts = m_db.ownedIds(m_db.linetypeTableId());
    tableHead("LTYPE", m_db.linetypeTableId().handle().value(), lts.length());
    for (int i = 0; i < lts.length(); ++i) {
        const auto* lt = Peek<AcDbLinetypeTableRecord>(m_db, lts.at(i));
        if (!lt) continue;
        RecordHead(m_out, "LTYPE", lts.at(i).handle().value(), m_db.linetypeTableId().handle().value(),
                   "AcDbLinetypeTableRecord", lt->name());
        m_out.integer(70, 0);
        m_out.str(3, lt->comments());
        m_out.integer(72, 65);
        m_out.integer(73, lt->numDashes());
        m_out.real(40, lt->patternLength());
        for (double d : lt->dashes()) {
            m_out.real(49, d);
            m_out.integer(74, 0);
        }
    }
    m_out.raw(0, "ENDTAB");

    AcDbObjectIdArray layers = m_db.ownedIds(m_db.layerTableId());
    tableHead("LAYER", m_db.layerTableId().handle().value(), layers.length());
    for (int i = 0; i < layers.length(); ++i) {
        const auto* l = Peek<AcDbLayerTableRecord>(m_db, layers.at(i));
        if (!l) continue;
        RecordHead(m_out, "LAYER", layers.at(i).handle().value(), m_db.layerTableId().handle().value(),
                   "AcDbLayerTableRecord", l->name());
        m_out.integer(70, (l->isFrozen() ? 1 : 0) | (l->isLocked() ? 4 : 0));
        int aci = l->color().colorIndex();
        if (aci < 1 || aci > 255) aci = 7;
        m_out.integer(62, l->isOff() ? -aci : aci);
        if (l->color().isByColor()) m_out.integer(420, l->color().rgb());
        const auto* lt = Peek<AcDbLinetypeTableRecord>(m_db, l->linetypeObjectId());
        m_out.str(6, lt ? lt->name() : L"Continuous");
        if (!l->isPlottable()) m_out.integer(290, 0);
        m_out.integer(370, -3);
    }
    m_out.raw(0, "ENDTAB");

    AcDbObjectIdArray styles = m_db.ownedIds(m_db.textStyleTableId());
    tableHead("STYLE", m_db.textStyleTableId().handle().value(), styles.length());
    for (int i = 0; i < styles.length(); ++i) {
        const auto* s = Peek<AcDbTextStyleTableRecord>(m_db, styles.at(i));
        if (!s) continue;
        RecordHead(m_out, "STYLE", styles.at(i).handle().value(), m_db.textStyleTableId().handle().value(),
                   "AcDbTextStyleTableRecord", s->name());
        m_out.integer(70, 0);
        m_out.real(40, s->textSize());
        m_out.real(41, s->xScale());
        m_out.real(50, s->obliquingAngle() * kRadToDeg);
        m_out.integer(71, 0);
        m_out.real(42, s->priorSize());
        m_out.str(3, s->fileName());
        m_out.str(4, s->bigFontFileName());
    }
    m_out.raw(0, "ENDTAB");

    tableHead("VIEW", m_viewTable, 0);
    m_out.raw(0, "ENDTAB");
    tableHead("UCS", m_ucsTable, 0);
    m_out.raw(0, "ENDTAB");

    tableHead("APPID", m_appTable, static_cast<int>(m_apps.size()));
    for (const auto& app : m_apps) {
        RecordHead(m_out, "APPID", newHandle(), m_appTable, "AcDbRegAppTableRecord", app);
        m_out.integer(70, 0);
    }
    m_out.raw(0, "ENDTAB");

    tableHead("DIMSTYLE", m_dimTable, 1);
    m_out.raw(100, "AcDbDimStyleTable");
    m_out.integer(71, 0);
    RecordHead(m_out, "DIMSTYLE", newHandle(), m_dimTable, "AcDbDimStyleTableRecord", L"Standard", 105);
    m_out.integer(70, 0);
    m_out.raw(0, "ENDTAB");

    AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
    const std::uint64_t blockTable = m_db.blockTableId().handle().value();
    m_modelLayout = newHandle();
    m_paperLayout = newHandle();
    for (auto& g : m_graphics) g.record = newHandle();
    tableHead("BLOCK_RECORD", blockTable, blocks.length() + static_cast<int>(m_graphics.size()));
    for (int i = 0; i < blocks.length(); ++i) {
        const auto* b = Peek<AcDbBlockTableRecord>(m_db, blocks.at(i));
        if (!b) continue;
        RecordHead(m_out, "BLOCK_RECORD", blocks.at(i).handle().value(), blockTable, "AcDbBlockTableRecord", b->name());
        if (blocks.at(i) == m_db.modelSpaceId()) m_out.handle(340, m_modelLayout);
        else if (blocks.at(i) == m_db.paperSpaceId()) m_out.handle(340, m_paperLayout);
        else m_out.raw(340, "0");
        m_out.integer(70, 0);
        m_out.integer(280, 1);
        m_out.integer(281, 0);
    }
    for (const auto& g : m_graphics) {
        RecordHead(m_out, "BLOCK_RECORD", g.record, blockTable, "AcDbBlockTableRecord", g.name);
        m_out.raw(340, "0");
        m_out.integer(70, 0);
        m_out.integer(280, 1);
        m_out.integer(281, 0);
    }
    m_out.raw(0, "ENDTAB");
    m_out.raw(0, "ENDSEC");
}

namespace {
void BlockBegin(DxfOut& out, std::uint64_t handle, std::uint64_t record, bool paper, const std::wstring& name,
                int flags, const AcGePoint3d& origin) {
    out.raw(0, "BLOCK");
    out.handle(5, handle);
    out.handle(330, record);
    out.raw(100, "AcDbEntity");
    if (paper) out.integer(67, 1);
    out.raw(8, "0");
    out.raw(100, "AcDbBlockBegin");
    out.str(2, name);
    out.integer(70, flags);
    out.point(10, origin);
    out.str(3, name);
    out.raw(1, "");
}
void BlockEnd(DxfOut& out, std::uint64_t handle, std::uint64_t record, bool paper) {
    out.raw(0, "ENDBLK");
    out.handle(5, handle);
    out.handle(330, record);
    out.raw(100, "AcDbEntity");
    if (paper) out.integer(67, 1);
    out.raw(8, "0");
    out.raw(100, "AcDbBlockEnd");
}
}  // namespace

void Writer::blocks() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "BLOCKS");
    AcDbObjectIdArray blocks = m_db.ownedIds(m_db.blockTableId());
    for (int i = 0; i < blocks.length(); ++i) {
        const auto* b = Peek<AcDbBlockTableRecord>(m_db, blocks.at(i));
        if (!b) continue;
        const std::uint64_t record = blocks.at(i).handle().value();
        const bool paper = blocks.at(i) == m_db.paperSpaceId();
        BlockBegin(m_out, newHandle(), record, paper, b->name(), b->isAnonymous() ? 1 : 0, b->origin());
        if (!b->isLayout()) {
            AcDbObjectIdArray ids = m_db.ownedIds(blocks.at(i));
            for (int k = 0; k < ids.length(); ++k)
                if (const auto* e = Peek<AcDbEntity>(m_db, ids.at(k))) entity(e, record, false);
        }
        BlockEnd(m_out, newHandle(), record, paper);
    }
    for (const auto& g : m_graphics) {
        BlockBegin(m_out, newHandle(), g.record, false, g.name, 1, AcGePoint3d());
        for (const auto& p : g.primitives) primitive(p, g.record);
        BlockEnd(m_out, newHandle(), g.record, false);
    }
    m_out.raw(0, "ENDSEC");
}

void Writer::entities() {
    m_out.raw(0, "SECTION");
    m_out.raw(2, "ENTITIES");
    for (const AcDbObjectId& space : {m_db.modelSpaceId(), m_db.paperSpaceId()}) {
        AcDbObjectIdArray ids = m_db.ownedIds(space);
        const bool paper = space == m_db.paperSpaceId();
        for (int k = 0; k < ids.length(); ++k)
            if (const auto* e = Peek<AcDbEntity>(m_db, ids.at(k))) entity(e, space.handle().value(), paper);
    }
    m_out.raw(0, "ENDSEC");
}

namespace {
void Dictionary(DxfOut& out, std::uint64_t handle, std::uint64_t owner) {
    out.raw(0, "DICTIONARY");
    out.handle(5, handle);
    out.handle(330, owner);
    out.raw(100, "AcDbDictionary");
    out.integer(281, 1);
}
void Layout(DxfOut& out, std::uint64_t handle, std::uint64_t owner, const char* name, int order, std::uint64_t block) {
    out.raw(0, "LAYOUT");
    out.handle(5, handle);
    out.handle(330, owner);
    out.raw(100, "AcDbPlotSettings");
    out.raw(1, "");
    out.raw(4, "");
    out.raw(6, "");
    out.integer(70, 0);
    out.raw(100, "AcDbLayout");
    out.raw(1, name);
    out.integer(70, 1);
    out.integer(71, order);
    out.point2(10, 0.0, 0.0);
    out.point2(11, 420.0, 297.0);
    out.handle(330, block);
}
}  // namespace

void Writer::objects() {
    m_rootDict = newHandle();
    m_groupDict = newHandle();
    m_layoutDict = newHandle();
    m_vornRecord = newHandle();
    m_out.raw(0, "SECTION");
    m_out.raw(2, "OBJECTS");
    Dictionary(m_out, m_rootDict, 0);
    m_out.raw(3, "ACAD_GROUP");
    m_out.handle(350, m_groupDict);
    m_out.raw(3, "ACAD_LAYOUT");
    m_out.handle(350, m_layoutDict);
    m_out.raw(3, "VORN_DRAWING");
    m_out.handle(350, m_vornRecord);
    Dictionary(m_out, m_groupDict, m_rootDict);
    Dictionary(m_out, m_layoutDict, m_rootDict);
    m_out.raw(3, "Model");
    m_out.handle(350, m_modelLayout);
    m_out.raw(3, "Layout1");
    m_out.handle(350, m_paperLayout);
    Layout(m_out, m_modelLayout, m_layoutDict, "Model", 0, m_db.modelSpaceId().handle().value());
    Layout(m_out, m_paperLayout, m_layoutDict, "Layout1", 1, m_db.paperSpaceId().handle().value());
    m_out.raw(0, "XRECORD");
    m_out.handle(5, m_vornRecord);
    m_out.handle(330, m_rootDict);
    m_out.raw(100, "AcDbXrecord");
    m_out.integer(280, 1);
    m_out.real(40, m_db.header().printScale);
    m_out.raw(0, "ENDSEC");
}

const std::string& Writer::layerName(const AcDbObjectId& layer) {
    auto it = m_layerNames.find(layer.index());
    if (it != m_layerNames.end()) return it->second;
    const auto* l = Peek<AcDbLayerTableRecord>(m_db, layer);
    std::string name = EncodeString(l ? l->name() : std::wstring(L"0"));
    return m_layerNames.emplace(layer.index(), std::move(name)).first->second;
}

std::wstring Writer::styleName(const AcDbObjectId& style) const {
    const auto* s = Peek<AcDbTextStyleTableRecord>(m_db, style);
    return s ? s->name() : std::wstring(L"Standard");
}

std::wstring Writer::blockName(const AcDbObjectId& block) const {
    const auto* b = Peek<AcDbBlockTableRecord>(m_db, block);
    return b ? b->name() : std::wstring();
}

}  // namespace vorn::dxf::detail
