// Reading a drawing file's tables (layers, line types, styles, block records and the kept rest)
// and its blocks with the entities they hold; damage mended or left out with a note.
#include <charconv>
#include <cmath>
#include <set>

#include "host/base/textcodec.h"
#include "host/dxf/dxfreader.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kDegToRad = 0.017453292519943295;

bool IsLayoutName(const std::wstring& name, bool model) {
    const std::wstring n = vorn::db::FoldSymbolName(name);
    return model ? (n == L"*MODEL_SPACE" || n == L"$MODEL_SPACE") : (n == L"*PAPER_SPACE" || n == L"$PAPER_SPACE");
}

}  // namespace

// ---- tables ----

void Reader::tables() {
    Record r;
    while (sectionRecord(r, "TABLES")) {
        if (r.type != "TABLE") {
            note(r.line, A(r.type) + " record outside any table was left out");
            continue;
        }
        table(r);
    }
}

void Reader::table(Record& head) {
    std::string name;
    for (const Group& g : head.body)
        if (g.code == 2) {
            name = Upper(m_in.utf8(g));
            break;
        }
    AcDbObjectId tableId;
    if (name == "LAYER") tableId = m_db.layerTableId();
    else if (name == "LTYPE") tableId = m_db.linetypeTableId();
    else if (name == "STYLE") tableId = m_db.textStyleTableId();
    else if (name == "BLOCK_RECORD") tableId = m_db.blockTableId();
    vorn::db::FileData::Table* kept = nullptr;
    if (const Group* bad = firstBad(head.body)) {
        noteBad(head, *bad, "table head");
        head.body.clear();
    }
    if (tableId.isNull()) {
        for (auto& t : m_file.tables)
            if (t.name == name) kept = &t;
        if (kept) {
            note(head.line, "table " + name + " appears a second time; its records were joined to the first");
        } else {
            m_file.tables.push_back({name, keepWhole(head), {}});
            kept = &m_file.tables.back();
        }
    } else {
        Places(head.body, m_places);
        const std::uint64_t handle = handleOf(head, m_places);
        auto data = keepRest(head.body, RecordKind::kTableHead, m_places);
        AcDbObject* o = nullptr;
        if (acdbOpenAcDbObject(o, tableId, AcDb::kForWrite) == Acad::eOk) {
            o->setKeptData(std::move(data));
            o->close();
        }
        takeHandle(tableId, handle);
    }
    Record r;
    while (nextRecord(r)) {
        if (r.type == "ENDTAB") return;
        if (r.type == "ENDSEC" || r.type == "TABLE" || r.type == "EOF" || r.type == "SECTION") {
            note(r.line, "table " + name + " has no end (group 0 \"ENDTAB\"); it was taken to end here");
            pushBack(std::move(r));
            return;
        }
        if (const Group* bad = firstBad(r.body)) {
            noteBad(r, *bad, "table record");
            continue;
        }
        if (kept) {
            kept->records.push_back(keepWhole(r));
            continue;
        }
        if (r.type == "LAYER" && name == "LAYER") layer(r);
        else if (r.type == "LTYPE" && name == "LTYPE") linetype(r);
        else if (r.type == "STYLE" && name == "STYLE") style(r);
        else if (r.type == "BLOCK_RECORD" && name == "BLOCK_RECORD") blockRecord(r);
        else note(r.line, A(r.type) + " record in table " + name + " was left out");
    }
}

bool Reader::firstRecord(const AcDbObjectId& id, size_t line, const char* kind, const std::wstring& name) {
    if (id.isNull()) return false;
    if (m_seenRecords.insert(id.index()).second) return true;
    note(line, std::string("a second ") + kind + " named \"" + Narrow(name) + "\" was left out");
    return false;
}

void Reader::layer(const Record& r) {
    Places(r.body, m_places);
    std::wstring name, linetypeName;
    long long aci = 7, flags = 0, rgb = -1;
    bool plot = true;
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (m_places[i] == Place::kBrace || m_places[i] == Place::kXData || m_places[i] == Place::kEmbedded) continue;
        const Group& g = r.body[i];
        switch (g.code) {
            case 2: name = m_in.text(g); break;
            case 6: linetypeName = m_in.text(g); break;
            case 62: aci = g.integer; break;
            case 70: flags = g.integer; break;
            case 420: rgb = g.integer; break;
            case 290: plot = g.integer != 0; break;
            default: break;
        }
    }
    if (name.empty()) {
        note(r.line, "a layer without a name (group 2) was left out");
        return;
    }
    AcDbObjectId id = layerId(name, r.line);
    if (!firstRecord(id, r.line, "layer", name)) return;
    const std::uint64_t handle = handleOf(r, m_places);
    EntityCommon c;
    xdata(r, m_places, c);
    AcDbLayerTableRecord* rec = nullptr;
    if (!ok(acdbOpenObject(rec, id, AcDb::kForWrite), r.line, "the layer could not be opened")) return;
    AcCmColor color;
    long long index = aci < 0 ? -aci : aci;
    color.setColorIndex(static_cast<std::uint16_t>(index >= 1 && index <= 255 ? index : 7));
    if (rgb >= 0)
        color.setRGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb));
    rec->setColor(color);
    rec->setIsOff(aci < 0);
    rec->setIsFrozen((flags & 1) != 0);
    rec->setIsLocked((flags & 4) != 0);
    rec->setIsPlottable(plot);
    if (!linetypeName.empty()) {
        AcDbObjectId lt = linetypeId(linetypeName, r.line);
        if (!lt.isNull()) rec->setLinetypeObjectId(lt);
    }
    auto kept = keepRest(r.body, RecordKind::kLayer, m_places);
    if (rgb >= 0) {
        kept->groups.push_back({-62, std::to_string(index)});
        kept->groups.push_back({-420, std::to_string(color.rgb())});
    }
    rec->setKeptData(std::move(kept));
    for (const auto& [app, items] : c.xdata) rec->setXData(app, items);
    rec->close();
    takeHandle(id, handle);
}

void Reader::linetype(const Record& r) {
    Places(r.body, m_places);
    std::wstring name, comments;
    std::vector<double> dashes;
    bool tooMany = false;
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (m_places[i] == Place::kBrace || m_places[i] == Place::kXData || m_places[i] == Place::kEmbedded) continue;
        const Group& g = r.body[i];
        if (g.code == 2) name = m_in.text(g);
        else if (g.code == 3) comments = m_in.text(g);
        else if (g.code == 49) {
            if (static_cast<long long>(dashes.size()) >= kMaxDashes) tooMany = true;
            else dashes.push_back(g.real);
        }
    }
    if (name.empty()) {
        note(r.line, "a line type without a name (group 2) was left out");
        return;
    }
    if (tooMany) {
        note(r.line, "a line type of more than " + std::to_string(kMaxDashes) + " dashes is drawn continuous here");
        dashes.clear();
    }
    AcDbObjectId id = linetypeId(name, r.line);
    if (id.isNull()) return;
    if (!m_definedLinetypes.insert(id.index()).second) {
        note(r.line, "a second line type named \"" + Narrow(name) + "\" was left out");
        return;
    }
    const std::uint64_t handle = handleOf(r, m_places);
    EntityCommon c;
    xdata(r, m_places, c);
    AcDbLinetypeTableRecord* rec = nullptr;
    if (!ok(acdbOpenObject(rec, id, AcDb::kForWrite), r.line, "the line type could not be opened")) return;
    rec->setComments(comments.c_str());
    if (rec->setDashes(dashes) != Acad::eOk) rec->setDashes({});
    rec->setKeptData(keepRest(r.body, RecordKind::kLinetype, m_places));
    for (const auto& [app, items] : c.xdata) rec->setXData(app, items);
    rec->close();
    takeHandle(id, handle);
}

void Reader::style(const Record& r) {
    Places(r.body, m_places);
    std::wstring name, font, bigFont;
    double size = 0.0, xScale = 1.0, oblique = 0.0, prior = 2.5;
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (m_places[i] == Place::kBrace || m_places[i] == Place::kXData || m_places[i] == Place::kEmbedded) continue;
        const Group& g = r.body[i];
        switch (g.code) {
            case 2: name = m_in.text(g); break;
            case 3: font = m_in.text(g); break;
            case 4: bigFont = m_in.text(g); break;
            case 40: size = g.real; break;
            case 41: xScale = g.real; break;
            case 50: oblique = g.real * kDegToRad; break;
            case 42: prior = g.real; break;
            default: break;
        }
    }
    if (name.empty()) {
        // A shape file's style has no name: it is kept as it is.
        AcDbKeptRecord k;
        k.type = r.type;
        k.handle = handleOf(r, m_places);
        for (size_t i = 0; i < r.body.size(); ++i)
            if (m_places[i] != Place::kHandle && m_places[i] != Place::kOwner) k.groups.push_back(keep(r.body[i]));
        m_file.extraRecords.emplace_back("STYLE", std::move(k));
        return;
    }
    AcDbObjectId id = styleId(name, r.line);
    if (!firstRecord(id, r.line, "text style", name)) return;
    const std::uint64_t handle = handleOf(r, m_places);
    EntityCommon c;
    xdata(r, m_places, c);
    AcDbTextStyleTableRecord* rec = nullptr;
    if (!ok(acdbOpenObject(rec, id, AcDb::kForWrite), r.line, "the text style could not be opened")) return;
    rec->setFileName(font.c_str());
    rec->setBigFontFileName(bigFont.c_str());
    if (size >= 0) rec->setTextSize(size);
    if (xScale > 0) rec->setXScale(xScale);
    rec->setObliquingAngle(oblique);
    if (prior > 0) rec->setPriorSize(prior);
    rec->setKeptData(keepRest(r.body, RecordKind::kStyle, m_places));
    for (const auto& [app, items] : c.xdata) rec->setXData(app, items);
    rec->close();
    takeHandle(id, handle);
}

void Reader::blockRecord(const Record& r) {
    Places(r.body, m_places);
    std::wstring name;
    for (size_t i = 0; i < r.body.size(); ++i)
        if (r.body[i].code == 2 && m_places[i] != Place::kBrace && m_places[i] != Place::kXData &&
            m_places[i] != Place::kEmbedded) {
            name = m_in.text(r.body[i]);
            break;
        }
    if (name.empty()) {
        note(r.line, "a block record without a name (group 2) was left out");
        return;
    }
    AcDbObjectId id = IsLayoutName(name, true)    ? m_db.modelSpaceId()
                      : IsLayoutName(name, false) ? m_db.paperSpaceId()
                                                  : blockId(name, r.line);
    if (!firstRecord(id, r.line, "block record", name)) return;
    const std::uint64_t handle = handleOf(r, m_places);
    EntityCommon c;
    xdata(r, m_places, c);
    AcDbBlockTableRecord* rec = nullptr;
    if (!ok(acdbOpenObject(rec, id, AcDb::kForWrite), r.line, "the block record could not be opened")) return;
    rec->setKeptData(keepRest(r.body, RecordKind::kBlockRecord, m_places));
    for (const auto& [app, items] : c.xdata) rec->setXData(app, items);
    rec->close();
    takeHandle(id, handle);
}

// ---- blocks ----

void Reader::blocks() {
    Record r;
    while (sectionRecord(r, "BLOCKS")) {
        if (r.type != "BLOCK") {
            note(r.line, A(r.type) + " record outside any block was left out");
            continue;
        }
        if (const Group* bad = firstBad(r.body)) {
            noteBad(r, *bad, "block");
            r.body.erase(r.body.begin() + (bad - r.body.data()), r.body.end());
        }
        Places(r.body, m_places);
        std::wstring name;
        AcGePoint3d origin;
        for (size_t i = 0; i < r.body.size(); ++i) {
            const Group& b = r.body[i];
            if (m_places[i] == Place::kBrace || m_places[i] == Place::kXData || m_places[i] == Place::kEmbedded) continue;
            if (b.code == 2) name = m_in.text(b);
            else if (b.code == 10) origin.x = b.real;
            else if (b.code == 20) origin.y = b.real;
            else if (b.code == 30) origin.z = b.real;
        }
        const bool model = IsLayoutName(name, true), paper = IsLayoutName(name, false);
        AcDbObjectId id;
        if (name.empty()) note(r.line, "a block without a name (group 2) was left out with its entities");
        else id = model ? m_db.modelSpaceId() : paper ? m_db.paperSpaceId() : blockId(name, r.line);
        if (!id.isNull() && m_defined.count(id.index())) {
            note(r.line, "block \"" + Narrow(name) + "\" is defined twice; the second definition was left out");
            id = AcDbObjectId();
        }
        AcDbKeptRecord begin, end;
        begin.type = "BLOCK";
        end.type = "ENDBLK";
        if (!id.isNull()) {
            m_defined[id.index()] = true;
            m_anonymousSeed = std::max(m_anonymousSeed, AnonymousNumber(name));
            begin.handle = handleOf(r, m_places);
            for (Place& p : m_places)
                if (p == Place::kXData) p = Place::kEmbedded;  // extended data stays with the record
            begin.groups = std::move(keepRest(r.body, RecordKind::kBlockBegin, m_places)->groups);
            if (!model && !paper)
                if (AcDbBlockTableRecord* rec = openBlock(id)) rec->setOrigin(origin);
            entityStream(id, model || paper);
        } else {
            // The contents of a block that is left out go with it.
            Record e;
            while (nextRecord(e)) {
                if (e.type == "ENDBLK" || e.type == "BLOCK" || e.type == "ENDSEC" || e.type == "SECTION" ||
                    e.type == "EOF") {
                    pushBack(std::move(e));
                    break;
                }
            }
        }
        Record e;
        const bool more = nextRecord(e);
        if (!more) {
            note(m_in.lastLine(), "block \"" + Narrow(name) + "\" has no end (group 0 \"ENDBLK\"); it was taken to end here");
        } else if (e.type != "ENDBLK") {
            note(e.line, "block \"" + Narrow(name) + "\" has no end (group 0 \"ENDBLK\"); it was taken to end here");
            pushBack(std::move(e));
        } else if (!id.isNull()) {
            if (const Group* bad = firstBad(e.body)) {
                noteBad(e, *bad, "block end");
                e.body.clear();
            }
            Places(e.body, m_places);
            end.handle = handleOf(e, m_places);
            for (Place& p : m_places)
                if (p == Place::kXData) p = Place::kEmbedded;
            end.groups = std::move(keepRest(e.body, RecordKind::kBlockEnd, m_places)->groups);
        }
        if (id.isNull()) continue;
        if (AcDbBlockTableRecord* rec = openBlock(id)) {
            auto data = rec->keptData() ? std::make_shared<AcDbKeptData>(*rec->keptData()) : std::make_shared<AcDbKeptData>();
            data->following = {std::move(begin), std::move(end)};
            rec->setKeptData(std::move(data));
        }
    }
}

AcDbBlockTableRecord* Reader::openBlock(const AcDbObjectId& id) {
    AcDbBlockTableRecord*& rec = m_open[id.index()];
    if (!rec && acdbOpenObject(rec, id, AcDb::kForWrite) != Acad::eOk) rec = nullptr;
    return rec;
}

void Reader::entitiesSection() {
    m_streaming = true;
    entityStream(m_db.modelSpaceId(), true);
    m_streaming = false;
    Record end;
    if (nextRecord(end) && !sectionEnd(end, "ENTITIES")) pushBack(std::move(end));
}

}  // namespace vorn::dxf::detail
