// Reading entities: the host's kinds with the groups they do not set kept, every other kind as
// a kept entity, regions from their marked loops, framework entities from their carriers'
// extended data. An entity with an impossible value is mended or left out, and noted.
#include <cmath>
#include <memory>

#include "host/base/textcodec.h"
#include "host/dxf/dxfreader.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kDegToRad = 0.017453292519943295;

// A point from groups code, code + 10, code + 20 of a record.
struct PointSlot {
    AcGePoint3d p;
    bool seen = false;
};
bool TakePoint(const Group& g, int code, PointSlot& slot) {
    if (g.code == code) slot.p.x = g.real, slot.seen = true;
    else if (g.code == code + 10) slot.p.y = g.real;
    else if (g.code == code + 20) slot.p.z = g.real;
    else return false;
    return true;
}

// Groups the host reads values from: not markers, braces, embedded objects nor extended data.
bool Active(Place p) {
    return p == Place::kFlat || p == Place::kHead || p == Place::kEntity || p == Place::kOwn;
}

// The extrusion direction: 1 for the world Z axis (or none given), -1 for its opposite (the
// record is mirrored in X), 0 for any other, which the host's plan entities cannot hold.
int Extrusion(const std::vector<Group>& body, const std::vector<Place>& places) {
    double x = 0.0, y = 0.0, z = 1.0;
    for (size_t i = 0; i < body.size(); ++i) {
        if (!Active(places[i])) continue;
        if (body[i].code == 210) x = body[i].real;
        else if (body[i].code == 220) y = body[i].real;
        else if (body[i].code == 230) z = body[i].real;
    }
    if (std::fabs(x) > 1e-12 || std::fabs(y) > 1e-12) return 0;
    return z > 0 ? 1 : z < 0 ? -1 : 0;
}

// The record types an entity stream tells apart, found once per record.
enum class Kind { kLine, kCircle, kArc, kLwPolyline, kText, kMText, kInsert, kPolyline, kVertex, kSeqEnd, kAttrib, kEnd, kOther };

Kind KindOfType(const std::string& type) {
    static const std::pair<std::string_view, Kind> kTypes[] = {
        {"LINE", Kind::kLine},       {"INSERT", Kind::kInsert}, {"TEXT", Kind::kText},         {"ARC", Kind::kArc},
        {"CIRCLE", Kind::kCircle},   {"LWPOLYLINE", Kind::kLwPolyline}, {"MTEXT", Kind::kMText}, {"POLYLINE", Kind::kPolyline},
        {"VERTEX", Kind::kVertex},   {"SEQEND", Kind::kSeqEnd}, {"ATTRIB", Kind::kAttrib},
        // What ends a stream of entities.
        {"ENDSEC", Kind::kEnd},      {"ENDBLK", Kind::kEnd},    {"EOF", Kind::kEnd},          {"SECTION", Kind::kEnd},
        {"BLOCK", Kind::kEnd},       {"TABLE", Kind::kEnd},     {"ENDTAB", Kind::kEnd},
    };
    for (const auto& [name, kind] : kTypes)
        if (name == type) return kind;
    return Kind::kOther;
}

}  // namespace

bool Reader::common(const Record& r, const std::vector<Place>& places, EntityCommon& c) {
    int aci = 256;
    long long rgb = -1;
    for (size_t i = 0; i < r.body.size(); ++i) {
        const Place p = places[i];
        if (p != Place::kFlat && p != Place::kHead && p != Place::kEntity) continue;
        const Group& g = r.body[i];
        switch (g.code) {
            case 8:
                c.layer = g.value;
                c.layerGiven = true;
                break;
            case 6: c.linetype = m_in.text(g); break;
            case 62:
                if (g.integer < 0 || g.integer > 256) note(g.line, "a colour that is no colour index (0 to 256) was taken as BYLAYER");
                else aci = static_cast<int>(g.integer);
                break;
            case 420: rgb = g.integer; break;
            case 48:
                if (!(g.real > 0)) note(g.line, "a line type scale of 0 or less was taken as 1");
                else c.linetypeScale = g.real;
                break;
            case 67: c.paper = g.integer == 1; break;
            default: break;
        }
    }
    c.color.setColorIndex(static_cast<std::uint16_t>(aci));
    if (rgb >= 0 && aci != 0 && aci != 256) {
        c.color.setRGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb));
        c.trueColorIndex = aci;
    }
    return xdata(r, places, c);
}

bool Reader::xdata(const Record& r, const std::vector<Place>& places, EntityCommon& c) {
    size_t count = 0;
    int depth = 0;
    // A fault drops the data of that application only.
    bool broken = false;
    const auto drop = [&](const Group& g, const std::string& why) {
        note(g.line, why + "; that application's extended data was left out");
        if (!c.xdata.empty()) c.xdata.pop_back();
        broken = true;
    };
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (places[i] != Place::kXData) continue;
        const Group& g = r.body[i];
        if (g.code == 1001) {
            std::wstring app = m_in.text(g);
            broken = false;
            depth = 0;
            if (app.empty()) {
                note(g.line, "extended data without an application name was left out");
                broken = true;
                continue;
            }
            c.xdata.emplace_back(app, AcDbXDataItems());
            continue;
        }
        if (broken) continue;
        if (c.xdata.empty()) {
            note(g.line, "extended data before its application name (group 1001) was left out");
            broken = true;
            continue;
        }
        if (g.code < 1000) {
            drop(g, "group " + std::to_string(g.code) + " among extended data, where only codes 1000 to 1071 may stand");
            continue;
        }
        if (++count > kMaxXDataItems) {
            drop(g, "more than " + std::to_string(kMaxXDataItems) + " extended data items on one record");
            continue;
        }
        AcDbXDataItems& items = c.xdata.back().second;
        AcDbXDataItem item;
        item.code = g.code;
        switch (AcDbXDataItem::kindOfCode(g.code)) {
            case AcDbXDataItem::kString:
                item.str = m_in.text(g);
                if (g.code == 1002) {
                    if (item.str == L"{" && ++depth > kMaxXDataNesting) {
                        drop(g, "extended data braces nested deeper than " + std::to_string(kMaxXDataNesting));
                        continue;
                    }
                    if (item.str == L"}" && --depth < 0) {
                        drop(g, "a closing brace \"}\" without its \"{\" in extended data");
                        continue;
                    }
                }
                break;
            case AcDbXDataItem::kPoint: {
                if (g.code > 1019) {
                    drop(g, "extended data group " + std::to_string(g.code) + " without its X value before it");
                    continue;
                }
                item.point.x = g.real;
                if (i + 1 >= r.body.size() || r.body[i + 1].code != g.code + 10) {
                    drop(g, "an extended data point without its Y value (group " + std::to_string(g.code + 10) + ")");
                    continue;
                }
                item.point.y = r.body[++i].real;
                if (i + 1 < r.body.size() && r.body[i + 1].code == g.code + 20) item.point.z = r.body[++i].real;
                break;
            }
            case AcDbXDataItem::kReal: item.real = g.real; break;
            case AcDbXDataItem::kInteger:
                if ((g.code == 1071 && (g.integer < INT32_MIN || g.integer > INT32_MAX)) ||
                    (g.code != 1071 && (g.integer < -32768 || g.integer > 32767))) {
                    drop(g, "the integer " + std::to_string(g.integer) + " does not fit extended data group " +
                                std::to_string(g.code));
                    continue;
                }
                item.integer = static_cast<int>(g.integer);
                break;
        }
        items.push_back(std::move(item));
    }
    return true;
}

void Reader::entityStream(const AcDbObjectId& block, bool layoutSpace) {
    Record r;
    for (;;) {
        giveBackText();
        if (!nextRecord(r)) break;
        if (KindOfType(r.type) == Kind::kEnd) {
            pushBack(std::move(r));
            return;
        }
        entity(r, block, layoutSpace);
    }
}

void Reader::sequence(const char* member, std::vector<Record>& out, const Record& parent) {
    Record s;
    while (nextRecord(s)) {
        if (s.type == member) {
            if (out.size() >= static_cast<size_t>(kMaxVertices)) {
                note(s.line, A(parent.type) + " of more than " + std::to_string(kMaxVertices) + " " + member +
                                 " records was cut there");
                continue;
            }
            out.push_back(std::move(s));
            continue;
        }
        if (s.type == "SEQEND") {
            out.push_back(std::move(s));
            return;
        }
        pushBack(std::move(s));
        break;
    }
    note(parent.line, A(parent.type) + " without its end (SEQEND) was given one");
}

void Reader::entity(Record& r, const AcDbObjectId& block, bool layoutSpace) {
    const std::string& type = r.type;
    const Kind kind = KindOfType(type);
    const size_t line = r.line;
    std::vector<Record> seq;
    if (kind == Kind::kPolyline) {
        sequence("VERTEX", seq, r);
    } else if (kind == Kind::kInsert) {
        Record& n = m_lookahead;
        if (nextRecord(n)) {
            const bool attribs = n.type == "ATTRIB";
            pushBack(std::move(n));
            if (attribs) sequence("ATTRIB", seq, r);
        }
    }
    if (const Group* bad = firstBad(r.body)) {
        noteBad(r, *bad, "entity");
        return;
    }
    for (const Record& s : seq)
        if (const Group* bad = firstBad(s.body)) {
            noteBad(r, *bad, "entity");
            return;
        }
    if (kind == Kind::kVertex || kind == Kind::kSeqEnd || kind == Kind::kAttrib) {
        note(line, A(type) + " record outside any " + (kind == Kind::kAttrib ? "block reference" : "polyline") +
                       " was left out");
        return;
    }
    if (kind == Kind::kPolyline) {
        polyline(r, seq, block, layoutSpace);
        return;
    }
    std::vector<Place>& places = m_entityPlaces;
    Places(r.body, places);
    const int extrusion = Extrusion(r.body, places);
    const auto active = [&](size_t i) { return Active(places[i]); };
    const bool hostKind = kind == Kind::kLine || kind == Kind::kCircle || kind == Kind::kArc || kind == Kind::kLwPolyline ||
                          kind == Kind::kText || kind == Kind::kMText || kind == Kind::kInsert;
    bool keptWhole = !hostKind;
    if ((kind == Kind::kCircle || kind == Kind::kArc || kind == Kind::kLwPolyline || kind == Kind::kInsert) && extrusion == 0)
        keptWhole = true;
    if (kind == Kind::kInsert) {
        // An array of references (MINSERT) stays as it is.
        for (size_t i = 0; i < r.body.size(); ++i)
            if (active(i) && (r.body[i].code == 70 || r.body[i].code == 71) && r.body[i].integer > 1) keptWhole = true;
    }
    if (keptWhole) {
        keptEntity(r, places, seq.empty() ? nullptr : &seq, block, layoutSpace);
        return;
    }

    EntityCommon c;
    common(r, places, c);
    const std::uint64_t handle = handleOf(r, places);
    std::vector<bool> taken;
    std::unique_ptr<AcDbEntity> e;
    RecordKind part = RecordKind::kLine;
    if (kind == Kind::kLine) {
        PointSlot a, b;
        for (size_t i = 0; i < r.body.size(); ++i)
            if (active(i)) TakePoint(r.body[i], 10, a) || TakePoint(r.body[i], 11, b);
        e = std::make_unique<AcDbLine>(a.p, b.p);
    } else if (kind == Kind::kCircle || kind == Kind::kArc) {
        part = kind == Kind::kCircle ? RecordKind::kCircle : RecordKind::kArc;
        PointSlot centre;
        double radius = 0.0, start = 0.0, end = 360.0;
        for (size_t i = 0; i < r.body.size(); ++i) {
            if (!active(i)) continue;
            const Group& g = r.body[i];
            if (TakePoint(g, 10, centre)) continue;
            if (g.code == 40) radius = g.real;
            else if (g.code == 50) start = g.real;
            else if (g.code == 51) end = g.real;
        }
        if (!(radius > 0)) {
            note(line, A(type) + " with a radius of 0 or less was left out");
            return;
        }
        if (extrusion < 0) {
            centre.p.x = -centre.p.x;
            double s = 180.0 - end;
            end = 180.0 - start;
            start = s;
        }
        if (kind == Kind::kCircle) e = std::make_unique<AcDbCircle>(centre.p, AcGeVector3d::kZAxis, radius);
        else e = std::make_unique<AcDbArc>(centre.p, radius, start * kDegToRad, end * kDegToRad);
    } else if (kind == Kind::kLwPolyline) {
        part = RecordKind::kLwPolyline;
        auto p = std::make_unique<AcDbPolyline>();
        std::vector<vorn::db::BulgeVertex> verts;
        long long flags = 0;
        double elevation = 0.0, constWidth = 0.0;
        for (size_t i = 0; i < r.body.size(); ++i) {
            if (!active(i)) continue;
            const Group& g = r.body[i];
            switch (g.code) {
                case 90:
                    if (g.integer < 0 || g.integer > kMaxVertices) {
                        note(g.line, "a polyline claiming " + std::to_string(g.integer) + " vertices (0 to " +
                                         std::to_string(kMaxVertices) + " can be) was left out");
                        return;
                    }
                    verts.reserve(static_cast<size_t>(g.integer));
                    break;
                case 70: flags = g.integer; break;
                case 38: elevation = g.real; break;
                case 43: constWidth = g.real; break;
                case 10:
                    if (static_cast<long long>(verts.size()) >= kMaxVertices) {
                        note(g.line, "a polyline of more than " + std::to_string(kMaxVertices) + " vertices was left out");
                        return;
                    }
                    verts.emplace_back();
                    verts.back().point.x = g.real;
                    verts.back().startWidth = verts.back().endWidth = constWidth;
                    break;
                case 20:
                case 40:
                case 41:
                case 42:
                    if (verts.empty()) {
                        note(g.line, "a polyline with a vertex value before its first vertex (group 10) was left out");
                        return;
                    }
                    if (g.code == 20) verts.back().point.y = g.real;
                    else if (g.code == 40) verts.back().startWidth = g.real;
                    else if (g.code == 41) verts.back().endWidth = g.real;
                    else verts.back().bulge = g.real;
                    break;
                default: break;
            }
        }
        if (extrusion < 0)
            for (auto& v : verts) {
                v.point.x = -v.point.x;
                v.bulge = -v.bulge;
            }
        if (!ok(p->setVertices(verts), line, "a polyline's vertices were refused")) return;
        p->setClosed((flags & 1) != 0);
        p->setElevation(elevation);
        for (const auto& [app, items] : c.xdata)
            if (vorn::db::SameSymbolName(app, L"VORN") && !items.empty() && items[0].code == 1000 &&
                items[0].str == L"VORN_REGION") {
                regionLoop(*p, c, block, layoutSpace, line, handle);
                return;
            }
        e = std::move(p);
    } else if (kind == Kind::kText) {
        part = RecordKind::kText;
        PointSlot pos, align;
        double height = 0.0, rotation = 0.0, width = 1.0, oblique = 0.0;
        long long h = 0, v = 0;
        std::wstring text;
        std::string_view style = "Standard";
        for (size_t i = 0; i < r.body.size(); ++i) {
            if (!active(i)) continue;
            const Group& g = r.body[i];
            if (TakePoint(g, 10, pos) || TakePoint(g, 11, align)) continue;
            switch (g.code) {
                case 1: text = m_in.text(g); break;
                case 7: style = g.value; break;
                case 40: height = g.real; break;
                case 41: width = g.real; break;
                case 50: rotation = g.real * kDegToRad; break;
                case 51: oblique = g.real * kDegToRad; break;
                case 72: h = g.integer; break;
                case 73: v = g.integer; break;
                default: break;
            }
        }
        if (h < 0 || h > 5 || v < 0 || v > 3) {
            note(line, "a TEXT alignment out of range (72: 0 to 5, 73: 0 to 3) was taken as left on the base line");
            h = v = 0;
        }
        if (height < 0) {
            note(line, "a negative text height was taken as its size");
            height = -height;
        }
        auto t = std::make_unique<AcDbText>();
        if (!ok(t->setPosition(pos.p), line, "a text's position was refused") ||
            !ok(t->setHeight(height), line, "a text's height was refused") ||
            !ok(t->setRotation(rotation), line, "a text's rotation was refused") ||
            !ok(t->setOblique(oblique), line, "a text's oblique angle was refused") ||
            !ok(t->setTextString(text.c_str()), line, "a text was refused") ||
            !ok(t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h)), line, "a text alignment was refused") ||
            !ok(t->setVerticalMode(static_cast<AcDb::TextVertMode>(v)), line, "a text alignment was refused") ||
            !ok(t->setAlignmentPoint(align.seen ? align.p : pos.p), line, "a text's alignment point was refused"))
            return;
        if (width > 0) t->setWidthFactor(width);
        const AcDbObjectId styleRecord = styleOfSpelling(style, line);
        if (!styleRecord.isNull()) t->setTextStyle(styleRecord);
        e = std::move(t);
    } else if (kind == Kind::kMText) {
        part = RecordKind::kMText;
        taken.assign(r.body.size(), false);
        PointSlot pos, dir;
        double height = 2.5, width = 0.0, rotation = 0.0;
        long long attach = 1;
        std::string contents;
        std::string_view style = "Standard";
        std::string last;
        bool rotationTaken = false, columns = false;
        for (size_t i = 0; i < r.body.size(); ++i) {
            if (!active(i)) continue;
            const Group& g = r.body[i];
            if (TakePoint(g, 10, pos) || TakePoint(g, 11, dir)) continue;
            switch (g.code) {
                case 3: contents += g.value; break;
                case 1: last = std::string(g.value); break;
                case 7: style = g.value; break;
                case 40: height = g.real; break;
                case 41: width = g.real; break;
                case 50:
                    // The rotation; later 50s are the heights of columns.
                    if (!rotationTaken && !columns) {
                        rotation = g.real * kDegToRad;
                        rotationTaken = true;
                        taken[i] = true;
                    }
                    break;
                case 75:
                case 76:
                case 78:
                case 79:
                case 48:
                case 49: columns = true; break;
                case 71: attach = g.integer; break;
                default: break;
            }
        }
        contents += last;
        if (attach < 1 || attach > 9) {
            note(line, "an MTEXT attachment out of range (group 71: 1 to 9) was taken as top left");
            attach = 1;
        }
        if (dir.seen && (dir.p.x != 0.0 || dir.p.y != 0.0)) rotation = std::atan2(dir.p.y, dir.p.x);
        auto m = std::make_unique<AcDbMText>();
        if (!ok(m->setLocation(pos.p), line, "a text's position was refused") ||
            !ok(m->setRotation(rotation), line, "a text's rotation was refused") ||
            !ok(m->setContents(m_in.text(Group{1, contents, 0, 0, line, false}).c_str()), line, "a text was refused") ||
            !ok(m->setAttachment(static_cast<AcDbMText::AttachmentPoint>(attach)), line, "an attachment was refused"))
            return;
        if (height > 0) m->setTextHeight(height);
        if (width >= 0) m->setWidth(width);
        const AcDbObjectId styleRecord = styleOfSpelling(style, line);
        if (!styleRecord.isNull()) m->setTextStyle(styleRecord);
        e = std::move(m);
    } else {  // INSERT
        part = RecordKind::kInsert;
        PointSlot pos;
        AcGeScale3d scale(1.0, 1.0, 1.0);
        double rotation = 0.0;
        std::string_view name;
        for (size_t i = 0; i < r.body.size(); ++i) {
            if (!active(i)) continue;
            const Group& g = r.body[i];
            if (TakePoint(g, 10, pos)) continue;
            switch (g.code) {
                case 2: name = g.value; break;
                case 41: scale.sx = g.real; break;
                case 42: scale.sy = g.real; break;
                case 43: scale.sz = g.real; break;
                case 50: rotation = g.real * kDegToRad; break;
                default: break;
            }
        }
        if (m_in.codec().decode(name).empty()) {
            note(line, "an INSERT without a block name (group 2) was left out");
            return;
        }
        AcDbObjectId b = blockOfSpelling(name, line);
        if (b.isNull()) return;
        if (b == m_db.modelSpaceId() || b == m_db.paperSpaceId()) {
            note(line, "an INSERT of a layout block (\"" + Narrow(m_in.codec().decode(name)) + "\") was left out");
            return;
        }
        if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0) {
            note(line, "an INSERT scale factor of 0 was taken as 1");
            if (scale.sx == 0.0) scale.sx = 1.0;
            if (scale.sy == 0.0) scale.sy = 1.0;
            if (scale.sz == 0.0) scale.sz = 1.0;
        }
        auto ref = std::make_unique<AcDbBlockReference>(pos.p, b);
        if (!ok(ref->setScaleFactors(scale), line, "a block reference's scale was refused") ||
            !ok(ref->setRotation(rotation), line, "a block reference's rotation was refused"))
            return;
        if (extrusion < 0) ref->setNormal(AcGeVector3d(0, 0, -1));
        m_referenced.emplace(b.index(), line);
        const auto* rec = AcDbBlockTableRecord::cast(m_db.peekObject(b));
        if (AcDbEntity* fw = frameworkEntity(c, line)) {
            if (rec && rec->isAnonymous()) ++m_carrierRefs[b.index()];
            AcDbObjectId id = append(fw, c, block, layoutSpace, line, handle, nullptr);
            if (!id.isNull()) m_inserts[block.index()].push_back({b.index(), line, id});
            return;
        }
        if (rec && rec->isAnonymous()) ++m_plainRefs[b.index()];
        m_kept.clear();
        keepRest(r.body, part, places, m_kept);
        for (size_t i = 0; i < r.body.size(); ++i)
            if (active(i) && r.body[i].code == 50) m_kept.push_back({-50, RealText(r.body[i].value, r.body[i].real)});
        std::vector<AcDbKeptRecord> following;
        for (const Record& s : seq) following.push_back(subRecord(s, RecordKind::kKept));
        AcDbObjectId id = append(ref.release(), c, block, layoutSpace, line, handle, &m_kept, &following);
        if (!id.isNull()) m_inserts[block.index()].push_back({b.index(), line, id});
        return;
    }
    if (AcDbEntity* fw = frameworkEntity(c, line)) {
        append(fw, c, block, layoutSpace, line, handle, nullptr);
        return;
    }
    m_kept.clear();
    keepRest(r.body, part, places, m_kept, taken.empty() ? nullptr : &taken);
    // Optional groups the file gave are written again even where they say the default.
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (!active(i)) continue;
        const int code = r.body[i].code;
        if (((part == RecordKind::kText || part == RecordKind::kMText) && (code == 11 || code == 7)) ||
            (part == RecordKind::kMText && code == 41) || (part == RecordKind::kLwPolyline && code == 43))
            m_kept.push_back({-code, "1"});
        if (((part == RecordKind::kArc || part == RecordKind::kText) && (code == 50 || code == 51)) ||
            (part == RecordKind::kMText && code == 50 && taken[i]))
            m_kept.push_back({-code, RealText(r.body[i].value, r.body[i].real)});
    }
    append(e.release(), c, block, layoutSpace, line, handle, &m_kept);
}

void Reader::polyline(Record& r, std::vector<Record>& seq, const AcDbObjectId& block, bool layoutSpace) {
    const size_t line = r.line;
    std::vector<Place>& places = m_entityPlaces;
    Places(r.body, places);
    long long flags = 0, smooth = 0;
    double elevation = 0.0;
    for (size_t i = 0; i < r.body.size(); ++i) {
        if (!Active(places[i])) continue;
        if (r.body[i].code == 70) flags = r.body[i].integer;
        else if (r.body[i].code == 75) smooth = r.body[i].integer;
        else if (r.body[i].code == 30) elevation = r.body[i].real;
    }
    // 3D polylines, meshes, polyface meshes, fitted curves with their computed vertices and
    // polylines out of the plan stay as they are.
    bool host = (flags & (8 | 16 | 64)) == 0 && Extrusion(r.body, places) == 1;
    std::vector<vorn::db::BulgeVertex> verts;
    std::vector<Place>& vertexPlaces = m_memberPlaces;
    for (const Record& v : seq) {
        if (v.type != "VERTEX") continue;
        vorn::db::BulgeVertex bv;
        long long vflags = 0;
        Places(v.body, vertexPlaces);
        for (size_t i = 0; i < v.body.size(); ++i) {
            if (!Active(vertexPlaces[i])) continue;
            const Group& b = v.body[i];
            switch (b.code) {
                case 10: bv.point.x = b.real; break;
                case 20: bv.point.y = b.real; break;
                case 40: bv.startWidth = b.real; break;
                case 41: bv.endWidth = b.real; break;
                case 42: bv.bulge = b.real; break;
                case 70: vflags = b.integer; break;
                default: break;
            }
        }
        if (vflags & (8 | 32 | 64 | 128)) host = false;
        verts.push_back(bv);
    }
    if (!host) {
        keptEntity(r, places, &seq, block, layoutSpace);
        return;
    }
    EntityCommon c;
    common(r, places, c);
    const std::uint64_t handle = handleOf(r, places);
    AcDb::Poly2dType type = AcDb::k2dSimplePoly;
    if (flags & 4) type = smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    else if (flags & 2) type = AcDb::k2dFitCurvePoly;
    auto p = std::make_unique<AcDb2dPolyline>();
    if (!ok(p->setVertices(verts), line, "a polyline's vertices were refused") ||
        !ok(p->setPolyType(type), line, "a polyline's type was refused"))
        return;
    p->setClosed((flags & 1) != 0);
    p->setElevation(elevation);
    if (AcDbEntity* fw = frameworkEntity(c, line)) {
        append(fw, c, block, layoutSpace, line, handle, nullptr);
        return;
    }
    m_kept.clear();
    keepRest(r.body, RecordKind::kPolyline, places, m_kept);
    std::vector<AcDbKeptRecord> following;
    following.reserve(seq.size());
    for (const Record& s : seq) following.push_back(subRecord(s, s.type == "SEQEND" ? RecordKind::kSeqEnd : RecordKind::kVertex));
    append(p.release(), c, block, layoutSpace, line, handle, &m_kept, &following);
}

void Reader::keptEntity(const Record& r, const std::vector<Place>& places, std::vector<Record>* seq,
                        const AcDbObjectId& block, bool layoutSpace) {
    EntityCommon c;
    common(r, places, c);
    const std::uint64_t handle = handleOf(r, places);
    m_kept.clear();
    keepRest(r.body, RecordKind::kKept, places, m_kept);
    std::vector<AcDbKeptRecord> following;
    if (seq) {
        following.reserve(seq->size());
        for (const Record& s : *seq) following.push_back(subRecord(s, RecordKind::kKept));
    }
    const AcDbObjectId id = append(new AcDbKeptEntity(r.type), c, block, layoutSpace, r.line, handle, &m_kept, &following);
    // An array of references names its block too: the block must exist and must not hold it.
    if (r.type == "INSERT" && !id.isNull()) {
        std::wstring name;
        for (size_t i = 0; i < r.body.size(); ++i)
            if (r.body[i].code == 2 && Active(places[i])) name = m_in.text(r.body[i]);
        const AcDbObjectId b = name.empty() ? AcDbObjectId() : blockId(name, r.line);
        if (!b.isNull() && b != m_db.modelSpaceId() && b != m_db.paperSpaceId()) {
            m_referenced.emplace(b.index(), r.line);
            m_inserts[block.index()].push_back({b.index(), r.line, id});
        }
    }
}

AcDbEntity* Reader::frameworkEntity(EntityCommon& c, size_t line) {
    for (size_t k = 0; k < c.xdata.size(); ++k) {
        auto& [app, items] = c.xdata[k];
        if (!vorn::db::SameSymbolName(app, L"VORN") || items.empty() || items[0].code != 1000) continue;
        const std::wstring& typeName = items[0].str;
        AcRxClass* cls = acrxFindClassByDxfName(typeName.c_str());
        if (!cls || !cls->isCreatable() || !cls->isDerivedFrom(AcDbEntity::desc())) return nullptr;
        std::unique_ptr<AcRxObject> made(cls->create());
        auto* e = AcDbEntity::cast(made.get());
        if (!e || e->isA() == AcDbLine::desc() || e->isA() == AcDbText::desc() || e->isA() == AcDbBlockReference::desc() ||
            e->isA() == AcDbKeptEntity::desc())
            return nullptr;
        std::vector<AcDbXDataItem> fields(items.begin() + 1, items.end());
        if (e->readFields(fields) != Acad::eOk) {
            note(line, "the saved fields of " + Narrow(typeName) +
                           " do not fit that kind of entity; its carrier was kept as it is");
            return nullptr;
        }
        c.xdata.erase(c.xdata.begin() + static_cast<long>(k));
        made.release();
        return e;
    }
    return nullptr;
}

AcDbObjectId Reader::append(AcDbEntity* raw, const EntityCommon& c, const AcDbObjectId& block, bool layoutSpace,
                            size_t line, std::uint64_t handle, AcDbKeptGroups* kept,
                            std::vector<AcDbKeptRecord>* following) {
    std::unique_ptr<AcDbEntity> e(raw);
    AcDbObjectId layer = layerOfSpelling(c.layerGiven ? c.layer : std::string_view("0"), line);
    if (layer.isNull()) layer = m_db.layerZero();
    e->setLayer(layer);
    e->setColor(c.color);
    if (!c.linetype.empty()) e->setLinetype(c.linetype.c_str());
    if (c.linetypeScale != 1.0) e->setLinetypeScale(c.linetypeScale);
    for (const auto& [app, items] : c.xdata) e->setXData(app, items);
    if (kept && c.trueColorIndex) {
        // The index the file gave beside a true colour, written again while the colour stays.
        kept->push_back({-62, std::to_string(c.trueColorIndex)});
        kept->push_back({-420, std::to_string(c.color.rgb())});
    }
    if (kept && (!kept->empty() || (following && !following->empty()))) {
        // The drawing holds hundreds of thousands of these: each just as large as it needs.
        auto data = std::make_shared<AcDbKeptData>();
        data->groups.reserve(kept->size());
        for (AcDbKeptGroup& g : *kept) data->groups.push_back(std::move(g));
        if (following) data->following = std::move(*following);
        e->setKeptData(std::move(data));
    }
    AcDbObjectId target = layoutSpace && c.paper ? m_db.paperSpaceId() : block;
    AcDbBlockTableRecord* rec = openBlock(target);
    if (!rec) {
        note(line, "an entity whose block could not be opened was left out");
        return AcDbObjectId();
    }
    AcDbObjectId id;
    // A new handle first, then the file's: an object read before that holds the file's handle
    // moves on to a new one the same way whether it came with a handle or without, so that a
    // drawing saved and read again is the same drawing.
    if (!ok(vorn::db::AppendEntityAsRead(rec, e.get(), 0, id), line, "an entity was refused by the drawing"))
        return AcDbObjectId();
    e.release();
    takeHandle(id, handle);
    return id;
}

void Reader::regionLoop(const AcDbPolyline& loop, EntityCommon& c, const AcDbObjectId& block, bool layoutSpace,
                        size_t line, std::uint64_t handle) {
    long long number = 0;
    for (size_t k = 0; k < c.xdata.size(); ++k) {
        if (!vorn::db::SameSymbolName(c.xdata[k].first, L"VORN")) continue;
        const auto& items = c.xdata[k].second;
        if (items.size() >= 2 && items[1].kind() == AcDbXDataItem::kInteger) number = items[1].integer;
        c.xdata.erase(c.xdata.begin() + static_cast<long>(k));
        break;
    }
    AcDbRegion::Loop points;
    for (const auto& p : vorn::db::FlattenPath(loop.vertices(), true)) points.push_back(p);
    AcDbObjectId target = layoutSpace && c.paper ? m_db.paperSpaceId() : block;
    PendingRegion& pending = m_regions[{target.index(), number}];
    pending.loops.push_back(std::move(points));
    if (pending.id.isNull()) {
        auto r = std::make_unique<AcDbRegion>();
        if (!ok(r->setLoops(pending.loops), line, "a region's loop was refused")) return;
        pending.id = append(r.release(), c, block, layoutSpace, line, handle, nullptr);
        return;
    }
    AcDbRegion* r = nullptr;
    if (acdbOpenObject(r, pending.id, AcDb::kForWrite) != Acad::eOk) return;
    Acad::ErrorStatus es = r->setLoops(pending.loops);
    r->close();
    ok(es, line, "a region's loops were refused");
}

}  // namespace vorn::dxf::detail
