// Reading a drawing file's structure: sections, header, tables, blocks and objects.
#include "host/dxf/dxfreader.h"

#include <cmath>
#include <set>

#include "host/base/textcodec.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kDegToRad = 0.017453292519943295;

bool Is(const Group& g, int code, std::string_view value) {
    if (g.code != code) return false;
    std::string_view v = g.value;
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    return v == value;
}




}  // namespace

Reader::Reader(std::string_view text, const std::string& file, AcDbDatabase& db) : m_in(text, file), m_db(db) {}

void Reader::check(Acad::ErrorStatus es, size_t line, const std::string& what) const {
    if (es != Acad::eOk) m_in.fail(line, what + " (" + Acad::errorStatusText(es) + ")");
}

void Reader::record(Body& body) {
    body.clear();
    Group g;
    while (m_in.next(g)) {
        if (g.code == 0) {
            m_in.pushBack(g);
            return;
        }
        if (body.size() >= kMaxRecordGroups)
            m_in.fail(g.line, "a record of more than " + std::to_string(kMaxRecordGroups) + " groups; that is beyond any drawing");
        body.push_back(g);
    }
    m_in.failAtEnd("the record was not finished (a group 0 was expected)");
}

void Reader::read() {
    for (;;) {
        Group g;
        if (!m_in.next(g)) m_in.failAtEnd("an EOF marker (group 0 \"EOF\") was expected");
        if (Is(g, 0, "EOF")) break;
        if (!Is(g, 0, "SECTION")) m_in.fail(g.line, "expected group 0 \"SECTION\" or \"EOF\"");
        Group name = m_in.expectNext("a section name (group 2)");
        if (name.code != 2) m_in.fail(name.line, "expected the section name (group 2) after SECTION");
        std::string section = Upper(name.value);
        if (section == "HEADER") header();
        else if (section == "TABLES") tables();
        else if (section == "BLOCKS") blocks();
        else if (section == "ENTITIES") entitiesSection();
        else if (section == "OBJECTS") objects();
        else skipSection();
    }
    finish();
}

void Reader::skipSection() {
    for (;;) {
        Group g = m_in.expectNext("group 0 \"ENDSEC\"");
        if (Is(g, 0, "ENDSEC")) return;
        if (Is(g, 0, "EOF") || Is(g, 0, "SECTION")) m_in.fail(g.line, "expected group 0 \"ENDSEC\" before this");
    }
}

// ---- header ----

void Reader::header() {
    AcDbDatabaseHeader h = m_db.header();
    std::string var;
    for (;;) {
        Group g = m_in.expectNext("group 0 \"ENDSEC\" closing the header");
        if (g.code == 0) {
            if (!Is(g, 0, "ENDSEC")) m_in.fail(g.line, "expected group 0 \"ENDSEC\" closing the header");
            break;
        }
        if (g.code == 9) {
            var = Upper(g.value);
            continue;
        }
        if (var == "$DWGCODEPAGE" && g.code == 3) {
            std::string page = Upper(g.value);
            m_in.setCodePage(page == "ANSI_936" || page == "GB2312" || page == "GBK" ? CodePage::kAnsi936
                                                                                      : CodePage::kAnsi1252);
        } else if (var == "$INSUNITS" && g.code == 70) {
            h.drawUnit = g.integer == 6 ? AcDb::kUnitMeters : AcDb::kUnitMillimeters;
        } else if (var == "$FILLETRAD" && g.code == 40) {
            if (g.real < 0) m_in.fail(g.line, "$FILLETRAD must not be negative");
            h.filletRadius = g.real;
        } else if (var == "$TEXTSIZE" && g.code == 40) {
            if (g.real > 0) h.textSize = g.real;
        } else if (var == "$CLAYER" && g.code == 8) {
            m_clayer = m_in.text(g);
            m_clayerLine = g.line;
        } else if (var == "$TEXTSTYLE" && g.code == 7) {
            m_textstyle = m_in.text(g);
            m_textstyleLine = g.line;
        }
    }
    check(m_db.setHeader(h), m_in.lastLine(), "the header values are refused");
}

// ---- tables ----

void Reader::tables() {
    Body body;
    for (;;) {
        Group g = m_in.expectNext("group 0 \"TABLE\" or \"ENDSEC\"");
        if (Is(g, 0, "ENDSEC")) return;
        if (!Is(g, 0, "TABLE")) m_in.fail(g.line, "expected group 0 \"TABLE\" or \"ENDSEC\" in the tables section");
        record(body);  // the table's own groups
        for (;;) {
            Group r = m_in.expectNext("group 0 \"ENDTAB\"");
            if (Is(r, 0, "ENDTAB")) break;
            if (Is(r, 0, "ENDSEC") || Is(r, 0, "TABLE") || Is(r, 0, "EOF"))
                m_in.fail(r.line, "expected group 0 \"ENDTAB\" before this");
            std::string type = Upper(r.value);
            record(body);
            if (type == "LAYER") layer(body, r.line);
            else if (type == "LTYPE") linetype(body, r.line);
            else if (type == "STYLE") style(body, r.line);
        }
    }
}

void Reader::layer(const Body& body, size_t line) {
    std::wstring name, linetypeName;
    long long aci = 7, flags = 0, rgb = -1;
    bool plot = true;
    for (const Group& g : body) {
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
    if (name.empty()) m_in.fail(line, "a layer without a name (group 2)");
    AcDbObjectId id = layerId(name, line);
    AcDbLayerTableRecord* rec = nullptr;
    check(acdbOpenObject(rec, id, AcDb::kForWrite), line, "cannot open the layer");
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
        AcDbObjectId lt = m_db.findLinetype(linetypeName);
        if (lt.isNull() && m_db.ensureLinetype(linetypeName, lt) != Acad::eOk) lt = m_db.continuousLinetype();
        rec->setLinetypeObjectId(lt);
    }
    rec->close();
}

void Reader::linetype(const Body& body, size_t line) {
    std::wstring name, comments;
    std::vector<double> dashes;
    for (const Group& g : body) {
        if (g.code == 2) name = m_in.text(g);
        else if (g.code == 3) comments = m_in.text(g);
        else if (g.code == 73 && (g.integer < 0 || g.integer > kMaxDashes))
            m_in.fail(g.line, "a line type of " + std::to_string(g.integer) + " dashes; 0 to " +
                                  std::to_string(kMaxDashes) + " are expected");
        else if (g.code == 49) {
            if (static_cast<long long>(dashes.size()) >= kMaxDashes)
                m_in.fail(g.line, "more than " + std::to_string(kMaxDashes) + " dashes in one line type");
            dashes.push_back(g.real);
        }
    }
    if (name.empty()) m_in.fail(line, "a line type without a name (group 2)");
    if (vorn::db::SameSymbolName(name, L"ByBlock") || vorn::db::SameSymbolName(name, L"ByLayer")) return;
    AcDbObjectId id = m_db.findLinetype(name);
    if (id.isNull()) {
        AcDbLinetypeTable* table = nullptr;
        check(m_db.getLinetypeTable(table, AcDb::kForWrite), line, "cannot open the line type table");
        auto* rec = new AcDbLinetypeTableRecord();
        Acad::ErrorStatus es = rec->setName(name.c_str());
        if (es == Acad::eOk) es = table->add(id, rec);
        if (es != Acad::eOk) delete rec;
        table->close();
        check(es, line, "the line type name \"" + Narrow(name) + "\" is refused");
        rec->close();
    }
    AcDbLinetypeTableRecord* rec = nullptr;
    check(acdbOpenObject(rec, id, AcDb::kForWrite), line, "cannot open the line type");
    rec->setComments(comments.c_str());
    Acad::ErrorStatus es = rec->setDashes(dashes);
    rec->close();
    check(es, line, "the dashes of line type \"" + Narrow(name) + "\" are refused");
}

void Reader::style(const Body& body, size_t line) {
    std::wstring name, font, bigFont;
    double size = 0.0, xScale = 1.0, oblique = 0.0, prior = 2.5;
    for (const Group& g : body) {
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
    if (name.empty()) return;  // shape files are styles without names
    AcDbObjectId id = styleId(name, line);
    AcDbTextStyleTableRecord* rec = nullptr;
    check(acdbOpenObject(rec, id, AcDb::kForWrite), line, "cannot open the text style");
    Acad::ErrorStatus es = rec->setFileName(font.c_str());
    if (es == Acad::eOk) es = rec->setBigFontFileName(bigFont.c_str());
    if (es == Acad::eOk) es = rec->setTextSize(size);
    if (es == Acad::eOk && xScale > 0) es = rec->setXScale(xScale);
    if (es == Acad::eOk) es = rec->setObliquingAngle(oblique);
    if (es == Acad::eOk && prior > 0) es = rec->setPriorSize(prior);
    rec->close();
    check(es, line, "the values of text style \"" + Narrow(name) + "\" are refused");
}

// ---- blocks ----

void Reader::blocks() {
    Body body;
    for (;;) {
        Group g = m_in.expectNext("group 0 \"BLOCK\" or \"ENDSEC\"");
        if (Is(g, 0, "ENDSEC")) return;
        if (!Is(g, 0, "BLOCK")) m_in.fail(g.line, "expected group 0 \"BLOCK\" or \"ENDSEC\" in the blocks section");
        record(body);
        std::wstring name;
        AcGePoint3d origin;
        for (const Group& b : body) {
            if (b.code == 2) name = m_in.text(b);
            else if (b.code == 10) origin.x = b.real;
            else if (b.code == 20) origin.y = b.real;
            else if (b.code == 30) origin.z = b.real;
        }
        if (name.empty()) m_in.fail(g.line, "a block without a name (group 2)");
        const bool model = vorn::db::SameSymbolName(name, ACDB_MODEL_SPACE);
        const bool paper = vorn::db::SameSymbolName(name, ACDB_PAPER_SPACE);
        AcDbObjectId id = model ? m_db.modelSpaceId() : paper ? m_db.paperSpaceId() : blockId(name, g.line);
        if (m_defined.count(id.index()))
            m_in.fail(g.line, "block \"" + Narrow(name) + "\" is defined twice");
        m_defined[id.index()] = true;
        m_anonymousSeed = std::max(m_anonymousSeed, AnonymousNumber(name));
        if (!model && !paper) {
            AcDbBlockTableRecord* rec = nullptr;
            check(acdbOpenObject(rec, id, AcDb::kForWrite), g.line, "cannot open the block");
            Acad::ErrorStatus es = rec->setOrigin(origin);
            rec->close();
            check(es, g.line, "the block's base point is refused");
        }
        entityStream(id, model || paper);
        Group end = m_in.expectNext("group 0 \"ENDBLK\"");
        if (!Is(end, 0, "ENDBLK"))
            m_in.fail(end.line, "expected group 0 \"ENDBLK\" closing block \"" + Narrow(name) + "\"");
        record(body);
    }
}

void Reader::entitiesSection() {
    entityStream(m_db.modelSpaceId(), true);
    Group end = m_in.expectNext("group 0 \"ENDSEC\"");
    if (!Is(end, 0, "ENDSEC")) m_in.fail(end.line, "expected an entity or group 0 \"ENDSEC\"");
}

// ---- objects ----

void Reader::objects() {
    Body body;
    bool root = true;
    for (;;) {
        Group g = m_in.expectNext("group 0 \"ENDSEC\"");
        if (Is(g, 0, "ENDSEC")) return;
        if (g.code != 0) m_in.fail(g.line, "expected an object (group 0)");
        if (Is(g, 0, "EOF") || Is(g, 0, "SECTION")) m_in.fail(g.line, "expected group 0 \"ENDSEC\" before this");
        std::string type = Upper(g.value);
        record(body);
        if (type == "DICTIONARY" && root) {
            root = false;
            for (size_t i = 0; i + 1 < body.size(); ++i)
                if (Is(body[i], 3, "VORN_DRAWING") && body[i + 1].code == 350)
                    m_vornRecordHandle = Upper(body[i + 1].value);
        } else if (type == "XRECORD") {
            std::string handle;
            for (const Group& b : body) {
                if (b.code == 5) handle = Upper(b.value);
                else if (b.code == 40 && !handle.empty()) m_xrecordScales.emplace(handle, std::make_pair(b.real, b.line));
            }
        }
    }
}

// ---- names ----

AcDbObjectId Reader::layerId(const std::wstring& name, size_t line) {
    std::wstring key = vorn::db::FoldSymbolName(name);
    auto it = m_layers.find(key);
    if (it != m_layers.end()) return it->second;
    AcDbObjectId id;
    check(m_db.ensureLayer(name, id), line, "the layer name \"" + Narrow(name) + "\" is refused");
    m_layers.emplace(key, id);
    return id;
}

AcDbObjectId Reader::styleId(const std::wstring& name, size_t line) {
    std::wstring key = vorn::db::FoldSymbolName(name);
    auto it = m_styles.find(key);
    if (it != m_styles.end()) return it->second;
    AcDbObjectId id = m_db.findTextStyle(name);
    if (id.isNull()) {
        AcDbTextStyleTable* table = nullptr;
        check(m_db.getTextStyleTable(table, AcDb::kForWrite), line, "cannot open the text style table");
        auto* rec = new AcDbTextStyleTableRecord();
        Acad::ErrorStatus es = rec->setName(name.c_str());
        if (es == Acad::eOk) es = table->add(id, rec);
        table->close();
        if (es != Acad::eOk) delete rec;
        check(es, line, "the text style name \"" + Narrow(name) + "\" is refused");
        rec->close();
    }
    m_styles.emplace(key, id);
    return id;
}

AcDbObjectId Reader::blockId(const std::wstring& name, size_t line) {
    std::wstring key = vorn::db::FoldSymbolName(name);
    auto it = m_blocks.find(key);
    if (it != m_blocks.end()) return it->second;
    AcDbObjectId id = m_db.findBlock(name);
    if (id.isNull()) {
        AcDbBlockTable* table = nullptr;
        check(m_db.getBlockTable(table, AcDb::kForWrite), line, "cannot open the block table");
        auto* rec = new AcDbBlockTableRecord();
        Acad::ErrorStatus es = rec->setName(name.c_str());
        if (es == Acad::eOk) es = table->add(id, rec);
        table->close();
        if (es != Acad::eOk) delete rec;
        check(es, line, "the block name \"" + Narrow(name) + "\" is refused");
        rec->close();
    }
    m_blocks.emplace(key, id);
    return id;
}

// ---- the end ----

void Reader::finish() {
    for (auto& [index, rec] : m_open) rec->close();
    m_open.clear();
    const size_t endLine = m_in.lastLine();
    for (const auto& [index, line] : m_referenced)
        if (!m_defined.count(index)) {
            const auto* b = AcDbBlockTableRecord::cast(m_db.peekObject(m_db.idFromIndex(index)));
            m_in.fail(line, "block \"" + Narrow(b ? b->name() : L"?") + "\" is inserted but the file never defines it");
        }
    // A block that inserts itself, directly or through others, could never be drawn. The search
    // keeps its path in a vector of its own: a file may chain a million blocks one into the next.
    std::map<std::uint32_t, int> state;  // 1 on the path, 2 done
    struct Step {
        std::uint32_t block;
        size_t next;  // the next of its inserts to follow
    };
    std::vector<Step> path;
    for (const auto& entry : m_inserts) {
        if (state[entry.first] != 0) continue;
        state[entry.first] = 1;
        path.push_back({entry.first, 0});
        while (!path.empty()) {
            const std::uint32_t b = path.back().block;
            auto it = m_inserts.find(b);
            if (it == m_inserts.end() || path.back().next >= it->second.size()) {
                state[b] = 2;
                path.pop_back();
                continue;
            }
            const auto [child, line] = it->second[path.back().next++];
            if (state[child] == 1) {
                const auto* rec = AcDbBlockTableRecord::cast(m_db.peekObject(m_db.idFromIndex(child)));
                m_in.fail(line, "block \"" + Narrow(rec ? rec->name() : L"?") +
                                    "\" inserts itself; blocks must not contain themselves");
            }
            if (state[child] == 0) {
                state[child] = 1;
                path.push_back({child, 0});
            }
        }
    }

    // Graphics blocks of framework entities are dropped once those entities are back.
    bool dropped = false;
    for (const auto& [index, count] : m_carrierRefs) {
        if (m_plainRefs.count(index)) continue;
        AcDbObjectId block = m_db.idFromIndex(index);
        for (const AcDbObjectId& id : m_db.ownedIds(block)) {
            AcDbObject* o = nullptr;
            if (acdbOpenAcDbObject(o, id, AcDb::kForWrite) == Acad::eOk) {
                o->erase();
                o->close();
            }
        }
        AcDbObject* o = nullptr;
        if (acdbOpenAcDbObject(o, block, AcDb::kForWrite) == Acad::eOk) {
            o->erase();
            o->close();
            dropped = true;
        }
    }
    if (dropped) m_db.purgeErased();

    AcDbDatabaseHeader h = m_db.header();
    if (!m_clayer.empty()) {
        AcDbObjectId layer = m_db.findLayer(m_clayer);
        if (layer.isNull()) layer = layerId(m_clayer, m_clayerLine);
        h.currentLayer = layer;
    }
    if (!m_textstyle.empty()) h.currentTextStyle = styleId(m_textstyle, m_textstyleLine);
    auto scale = m_xrecordScales.find(m_vornRecordHandle);
    if (!m_vornRecordHandle.empty() && scale != m_xrecordScales.end()) {
        if (!(scale->second.first > 0)) m_in.fail(scale->second.second, "the print scale must be a positive number");
        h.printScale = scale->second.first;
    }
    h.anonymousBlockSeed = std::max(h.anonymousBlockSeed, m_anonymousSeed);
    check(m_db.setHeader(h), endLine, "the header values are refused");
}

}  // namespace vorn::dxf::detail
