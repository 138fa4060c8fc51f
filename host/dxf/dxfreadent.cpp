// Reading entities: the host's kinds, regions from their marked loops, framework entities from
// their carriers' extended data.
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

// Entities drawn with extrusion (0, 0, -1) are mirrored in X: their object coordinates.
bool Mirrored(const std::vector<Group>& body) {
    for (const Group& g : body)
        if (g.code == 230 && g.real < 0) return true;
    return false;
}

}  // namespace

EntityCommon Reader::common(const Body& body, size_t& xdataStart) const {
    EntityCommon c;
    xdataStart = body.size();
    int aci = 256;
    long long rgb = -1;
    for (size_t i = 0; i < body.size(); ++i) {
        const Group& g = body[i];
        switch (g.code) {
            case 8: c.layer = m_in.text(g); break;
            case 6: c.linetype = m_in.text(g); break;
            case 62:
                if (g.integer < 0 || g.integer > 256)
                    m_in.fail(g.line, "colour " + std::to_string(g.integer) + " is not a colour index (0 to 256)");
                aci = static_cast<int>(g.integer);
                break;
            case 420: rgb = g.integer; break;
            case 48:
                if (!(g.real > 0)) m_in.fail(g.line, "a line type scale must be positive");
                c.linetypeScale = g.real;
                break;
            case 67: c.paper = g.integer == 1; break;
            case 1001: xdataStart = i; i = body.size(); break;
            default: break;
        }
    }
    if (c.layer.empty()) c.layer = L"0";
    c.color.setColorIndex(static_cast<std::uint16_t>(aci));
    if (rgb >= 0 && aci != 0 && aci != 256)
        c.color.setRGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb));
    xdata(body, xdataStart, c);
    return c;
}

void Reader::xdata(const Body& body, size_t start, EntityCommon& c) const {
    size_t count = 0;
    int depth = 0;
    for (size_t i = start; i < body.size(); ++i) {
        const Group& g = body[i];
        if (g.code == 1001) {
            std::wstring app = m_in.text(g);
            if (app.empty()) m_in.fail(g.line, "extended data without an application name");
            c.xdata.emplace_back(app, AcDbXDataItems());
            depth = 0;
            continue;
        }
        if (g.code < 1000) m_in.fail(g.line, "group " + std::to_string(g.code) + " after extended data; only codes 1000 to 1071 may follow group 1001");
        if (c.xdata.empty()) m_in.fail(g.line, "extended data before its application name (group 1001)");
        if (++count > kMaxXDataItems)
            m_in.fail(g.line, "more than " + std::to_string(kMaxXDataItems) + " extended data items on one entity");
        AcDbXDataItems& items = c.xdata.back().second;
        AcDbXDataItem item;
        item.code = g.code;
        switch (AcDbXDataItem::kindOfCode(g.code)) {
            case AcDbXDataItem::kString:
                item.str = m_in.text(g);
                if (g.code == 1002) {
                    if (item.str == L"{" && ++depth > kMaxXDataNesting)
                        m_in.fail(g.line, "extended data braces nested deeper than " + std::to_string(kMaxXDataNesting));
                    if (item.str == L"}" && --depth < 0) m_in.fail(g.line, "a closing brace \"}\" without its \"{\"");
                }
                break;
            case AcDbXDataItem::kPoint: {
                if (g.code > 1019) m_in.fail(g.line, "group " + std::to_string(g.code) + " without the X value (group " + std::to_string(g.code % 10 + 1010) + ") before it");
                item.point.x = g.real;
                if (i + 1 >= body.size() || body[i + 1].code != g.code + 10)
                    m_in.fail(g.line, "the point of group " + std::to_string(g.code) + " lacks its Y value (group " + std::to_string(g.code + 10) + ")");
                item.point.y = body[++i].real;
                if (i + 1 < body.size() && body[i + 1].code == g.code + 20) item.point.z = body[++i].real;
                break;
            }
            case AcDbXDataItem::kReal: item.real = g.real; break;
            case AcDbXDataItem::kInteger:
                if ((g.code == 1071 && (g.integer < INT32_MIN || g.integer > INT32_MAX)) ||
                    (g.code != 1071 && (g.integer < -32768 || g.integer > 32767)))
                    m_in.fail(g.line, "the integer " + std::to_string(g.integer) + " does not fit group " + std::to_string(g.code));
                item.integer = static_cast<int>(g.integer);
                break;
        }
        items.push_back(std::move(item));
    }
}

void Reader::entityStream(const AcDbObjectId& block, bool layoutSpace) {
    Body body;
    for (;;) {
        Group g = m_in.expectNext("an entity or the end of its section");
        if (g.code != 0) m_in.fail(g.line, "expected an entity (group 0), found group " + std::to_string(g.code));
        std::string type = Upper(g.value);
        if (type == "ENDSEC" || type == "ENDBLK" || type == "EOF" || type == "SECTION" || type == "BLOCK") {
            m_in.pushBack(g);
            return;
        }
        record(body);
        if (type == "POLYLINE") polyline(body, g.line, block, layoutSpace);
        else entity(type, body, g.line, block, layoutSpace);
    }
}

void Reader::polyline(const Body& head, size_t line, const AcDbObjectId& block, bool layoutSpace) {
    size_t xstart = 0;
    EntityCommon c = common(head, xstart);
    long long flags = 0, smooth = 0;
    double elevation = 0.0;
    for (size_t i = 0; i < xstart; ++i) {
        if (head[i].code == 70) flags = head[i].integer;
        else if (head[i].code == 75) smooth = head[i].integer;
        else if (head[i].code == 30) elevation = head[i].real;
    }
    std::vector<vorn::db::BulgeVertex> verts;
    Body body;
    bool ended = false;
    for (;;) {
        Group g;
        if (!m_in.next(g)) m_in.failAtEnd("the polyline's vertices or SEQEND were expected");
        if (g.code != 0) m_in.fail(g.line, "expected a VERTEX or SEQEND (group 0)");
        std::string type = Upper(g.value);
        if (type == "SEQEND") {
            record(body);
            ended = true;
            break;
        }
        if (type != "VERTEX") {
            m_in.pushBack(g);  // a file that leaves out SEQEND
            break;
        }
        record(body);
        if (static_cast<long long>(verts.size()) >= kMaxVertices)
            m_in.fail(g.line, "a polyline of more than " + std::to_string(kMaxVertices) + " vertices");
        vorn::db::BulgeVertex v;
        long long vflags = 0;
        for (const Group& b : body) {
            switch (b.code) {
                case 10: v.point.x = b.real; break;
                case 20: v.point.y = b.real; break;
                case 40: v.startWidth = b.real; break;
                case 41: v.endWidth = b.real; break;
                case 42: v.bulge = b.real; break;
                case 70: vflags = b.integer; break;
                default: break;
            }
        }
        if (vflags & 8) continue;  // points computed by curve fitting, not the polyline's own
        verts.push_back(v);
    }
    (void)ended;
    if (flags & (16 | 64)) return;  // meshes and polyface meshes: not plan entities
    AcDb::Poly2dType type = AcDb::k2dSimplePoly;
    if (flags & 4) type = smooth == 5 ? AcDb::k2dQuadSplinePoly : AcDb::k2dCubicSplinePoly;
    else if (flags & 2) type = AcDb::k2dFitCurvePoly;
    auto p = std::make_unique<AcDb2dPolyline>();
    check(p->setVertices(verts), line, "the polyline's vertices are refused");
    check(p->setPolyType(type), line, "the polyline's type is refused");
    p->setClosed((flags & 1) != 0);
    p->setElevation(elevation);
    append(p.release(), c, block, layoutSpace, line);
}

void Reader::entity(const std::string& type, const Body& body, size_t line, const AcDbObjectId& block, bool layoutSpace) {
    size_t xs = 0;
    if (type == "VERTEX" || type == "SEQEND" || type == "ATTRIB") return;  // strays and attributes
    if (type != "LINE" && type != "CIRCLE" && type != "ARC" && type != "LWPOLYLINE" && type != "TEXT" &&
        type != "MTEXT" && type != "INSERT")
        return;  // kinds this plan host does not keep
    EntityCommon c = common(body, xs);
    std::unique_ptr<AcDbEntity> e;
    if (type == "LINE") {
        PointSlot a, b;
        for (size_t i = 0; i < xs; ++i) TakePoint(body[i], 10, a) || TakePoint(body[i], 11, b);
        e = std::make_unique<AcDbLine>(a.p, b.p);
    } else if (type == "CIRCLE" || type == "ARC") {
        PointSlot centre;
        double radius = 0.0, start = 0.0, end = 360.0;
        for (size_t i = 0; i < xs; ++i) {
            const Group& g = body[i];
            if (TakePoint(g, 10, centre)) continue;
            if (g.code == 40) radius = g.real;
            else if (g.code == 50) start = g.real;
            else if (g.code == 51) end = g.real;
        }
        if (!(radius > 0)) m_in.fail(line, "a " + type + " needs a positive radius (group 40)");
        if (Mirrored(body)) {
            centre.p.x = -centre.p.x;
            double s = 180.0 - end;
            end = 180.0 - start;
            start = s;
        }
        if (type == "CIRCLE") e = std::make_unique<AcDbCircle>(centre.p, AcGeVector3d::kZAxis, radius);
        else e = std::make_unique<AcDbArc>(centre.p, radius, start * kDegToRad, end * kDegToRad);
    } else if (type == "LWPOLYLINE") {
        auto p = std::make_unique<AcDbPolyline>();
        std::vector<vorn::db::BulgeVertex> verts;
        long long flags = 0;
        double elevation = 0.0, constWidth = 0.0;
        for (size_t i = 0; i < xs; ++i) {
            const Group& g = body[i];
            switch (g.code) {
                case 90:
                    if (g.integer < 0 || g.integer > kMaxVertices)
                        m_in.fail(g.line, "a polyline of " + std::to_string(g.integer) + " vertices; 0 to " +
                                              std::to_string(kMaxVertices) + " are expected");
                    verts.reserve(static_cast<size_t>(g.integer));
                    break;
                case 70: flags = g.integer; break;
                case 38: elevation = g.real; break;
                case 43: constWidth = g.real; break;
                case 10:
                    if (static_cast<long long>(verts.size()) >= kMaxVertices)
                        m_in.fail(g.line, "a polyline of more than " + std::to_string(kMaxVertices) + " vertices");
                    verts.emplace_back();
                    verts.back().point.x = g.real;
                    verts.back().startWidth = verts.back().endWidth = constWidth;
                    break;
                case 20:
                case 40:
                case 41:
                case 42:
                    if (verts.empty()) m_in.fail(g.line, "a vertex value (group " + std::to_string(g.code) + ") before the first vertex (group 10)");
                    if (g.code == 20) verts.back().point.y = g.real;
                    else if (g.code == 40) verts.back().startWidth = g.real;
                    else if (g.code == 41) verts.back().endWidth = g.real;
                    else verts.back().bulge = g.real;
                    break;
                default: break;
            }
        }
        if (Mirrored(body))
            for (auto& v : verts) {
                v.point.x = -v.point.x;
                v.bulge = -v.bulge;
            }
        check(p->setVertices(verts), line, "the polyline's vertices are refused");
        p->setClosed((flags & 1) != 0);
        p->setElevation(elevation);
        for (const auto& [app, items] : c.xdata)
            if (vorn::db::SameSymbolName(app, L"VORN") && !items.empty() && items[0].code == 1000 &&
                items[0].str == L"VORN_REGION") {
                regionLoop(*p, c, block, layoutSpace, line);
                return;
            }
        e = std::move(p);
    } else if (type == "TEXT") {
        PointSlot pos, align;
        double height = 0.0, rotation = 0.0, width = 1.0, oblique = 0.0;
        long long h = 0, v = 0;
        std::wstring text, style = L"Standard";
        for (size_t i = 0; i < xs; ++i) {
            const Group& g = body[i];
            if (TakePoint(g, 10, pos) || TakePoint(g, 11, align)) continue;
            switch (g.code) {
                case 1: text = m_in.text(g); break;
                case 7: style = m_in.text(g); break;
                case 40: height = g.real; break;
                case 41: width = g.real; break;
                case 50: rotation = g.real * kDegToRad; break;
                case 51: oblique = g.real * kDegToRad; break;
                case 72: h = g.integer; break;
                case 73: v = g.integer; break;
                default: break;
            }
        }
        if (h < 0 || h > 5) m_in.fail(line, "text alignment (group 72) " + std::to_string(h) + "; 0 to 5 are expected");
        if (v < 0 || v > 3) m_in.fail(line, "text alignment (group 73) " + std::to_string(v) + "; 0 to 3 are expected");
        auto t = std::make_unique<AcDbText>();
        check(t->setPosition(pos.p), line, "the text's position is refused");
        check(t->setHeight(height), line, "the text height must not be negative");
        check(t->setRotation(rotation), line, "the text's rotation is refused");
        if (width > 0) check(t->setWidthFactor(width), line, "the text's width factor is refused");
        check(t->setOblique(oblique), line, "the text's oblique angle is refused");
        check(t->setTextString(text.c_str()), line, "the text is refused");
        check(t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(h)), line, "the text alignment is refused");
        check(t->setVerticalMode(static_cast<AcDb::TextVertMode>(v)), line, "the text alignment is refused");
        check(t->setAlignmentPoint(align.seen ? align.p : pos.p), line, "the text's alignment point is refused");
        check(t->setTextStyle(styleId(style, line)), line, "the text style is refused");
        e = std::move(t);
    } else if (type == "MTEXT") {
        PointSlot pos, dir;
        double height = 2.5, width = 0.0, rotation = 0.0;
        long long attach = 1;
        std::string contents;
        std::wstring style = L"Standard";
        std::string last;
        for (size_t i = 0; i < xs; ++i) {
            const Group& g = body[i];
            if (TakePoint(g, 10, pos) || TakePoint(g, 11, dir)) continue;
            switch (g.code) {
                case 3: contents += g.value; break;
                case 1: last = std::string(g.value); break;
                case 7: style = m_in.text(g); break;
                case 40: height = g.real; break;
                case 41: width = g.real; break;
                case 50: rotation = g.real * kDegToRad; break;
                case 71: attach = g.integer; break;
                default: break;
            }
        }
        contents += last;
        if (attach < 1 || attach > 9) m_in.fail(line, "MTEXT attachment (group 71) " + std::to_string(attach) + "; 1 to 9 are expected");
        if (dir.seen && (dir.p.x != 0.0 || dir.p.y != 0.0)) rotation = std::atan2(dir.p.y, dir.p.x);
        auto m = std::make_unique<AcDbMText>();
        check(m->setLocation(pos.p), line, "the text's position is refused");
        if (height > 0) check(m->setTextHeight(height), line, "the text height is refused");
        if (width >= 0) check(m->setWidth(width), line, "the text width is refused");
        check(m->setRotation(rotation), line, "the text's rotation is refused");
        check(m->setContents(m_in.text(Group{1, contents, 0, 0, line}).c_str()), line, "the text is refused");
        check(m->setAttachment(static_cast<AcDbMText::AttachmentPoint>(attach)), line, "the attachment is refused");
        check(m->setTextStyle(styleId(style, line)), line, "the text style is refused");
        e = std::move(m);
    } else {  // INSERT
        PointSlot pos, normal;
        AcGeScale3d scale(1.0, 1.0, 1.0);
        double rotation = 0.0;
        std::wstring name;
        for (size_t i = 0; i < xs; ++i) {
            const Group& g = body[i];
            if (TakePoint(g, 10, pos) || TakePoint(g, 210, normal)) continue;
            switch (g.code) {
                case 2: name = m_in.text(g); break;
                case 41: scale.sx = g.real; break;
                case 42: scale.sy = g.real; break;
                case 43: scale.sz = g.real; break;
                case 50: rotation = g.real * kDegToRad; break;
                default: break;
            }
        }
        if (name.empty()) m_in.fail(line, "an INSERT without a block name (group 2)");
        AcDbObjectId b = blockId(name, line);
        if (b == m_db.modelSpaceId() || b == m_db.paperSpaceId())
            m_in.fail(line, "an INSERT of the layout block \"" + Narrow(name) + "\"; only blocks can be inserted");
        m_referenced.emplace(b.index(), line);
        m_inserts[block.index()].emplace_back(b.index(), line);
        auto r = std::make_unique<AcDbBlockReference>(pos.p, b);
        if (scale.sx == 0.0 || scale.sy == 0.0 || scale.sz == 0.0)
            m_in.fail(line, "an INSERT scale factor of 0; non-zero scales are expected");
        check(r->setScaleFactors(scale), line, "the INSERT's scale is refused");
        check(r->setRotation(rotation), line, "the INSERT's rotation is refused");
        if (normal.seen && normal.p.z < 0) check(r->setNormal(AcGeVector3d(0, 0, -1)), line, "the INSERT's normal is refused");
        const auto* rec = AcDbBlockTableRecord::cast(m_db.peekObject(b));
        AcDbEntity* fw = frameworkEntity(c, line);
        if (fw) {
            if (rec && rec->isAnonymous()) ++m_carrierRefs[b.index()];
            append(fw, c, block, layoutSpace, line);
            return;
        }
        if (rec && rec->isAnonymous()) ++m_plainRefs[b.index()];
        e = std::move(r);
    }
    if (AcDbEntity* fw = frameworkEntity(c, line)) {
        append(fw, c, block, layoutSpace, line);
        return;
    }
    append(e.release(), c, block, layoutSpace, line);
}

AcDbEntity* Reader::frameworkEntity(EntityCommon& c, size_t line) const {
    for (size_t k = 0; k < c.xdata.size(); ++k) {
        auto& [app, items] = c.xdata[k];
        if (!vorn::db::SameSymbolName(app, L"VORN") || items.empty() || items[0].code != 1000) continue;
        const std::wstring& typeName = items[0].str;
        AcRxClass* cls = acrxFindClassByDxfName(typeName.c_str());
        if (!cls || !cls->isCreatable() || !cls->isDerivedFrom(AcDbEntity::desc())) return nullptr;
        std::unique_ptr<AcRxObject> made(cls->create());
        auto* e = AcDbEntity::cast(made.get());
        if (!e || e->isA() == AcDbLine::desc() || e->isA() == AcDbText::desc() || e->isA() == AcDbBlockReference::desc())
            return nullptr;
        std::vector<AcDbXDataItem> fields(items.begin() + 1, items.end());
        if (e->readFields(fields) != Acad::eOk)
            m_in.fail(line, "the saved fields of " + Narrow(typeName) + " do not fit that kind of entity");
        c.xdata.erase(c.xdata.begin() + static_cast<long>(k));
        made.release();
        return e;
    }
    return nullptr;
}

AcDbObjectId Reader::append(AcDbEntity* raw, const EntityCommon& c, const AcDbObjectId& block, bool layoutSpace, size_t line) {
    std::unique_ptr<AcDbEntity> e(raw);
    check(e->setLayer(layerId(c.layer, line)), line, "the entity's layer is refused");
    check(e->setColor(c.color), line, "the entity's colour is refused");
    if (!c.linetype.empty()) check(e->setLinetype(c.linetype.c_str()), line, "the entity's line type is refused");
    if (c.linetypeScale != 1.0) check(e->setLinetypeScale(c.linetypeScale), line, "the line type scale is refused");
    for (const auto& [app, items] : c.xdata)
        check(e->setXData(app, items), line, "the extended data of application \"" + Narrow(app) + "\" is refused");
    AcDbObjectId target = layoutSpace && c.paper ? m_db.paperSpaceId() : block;
    AcDbBlockTableRecord*& rec = m_open[target.index()];
    if (!rec) check(acdbOpenObject(rec, target, AcDb::kForWrite), line, "cannot open the block for its entities");
    AcDbObjectId id;
    Acad::ErrorStatus es = rec->appendAcDbEntity(id, e.get());
    check(es, line, "the entity is refused by the drawing");
    e.release()->close();
    return id;
}

void Reader::regionLoop(const AcDbPolyline& loop, EntityCommon& c, const AcDbObjectId& block, bool layoutSpace,
                        size_t line) {
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
        check(r->setLoops(pending.loops), line, "the region's loop is refused");
        pending.id = append(r.release(), c, block, layoutSpace, line);
        return;
    }
    AcDbRegion* r = nullptr;
    check(acdbOpenObject(r, pending.id, AcDb::kForWrite), line, "cannot open the region");
    Acad::ErrorStatus es = r->setLoops(pending.loops);
    r->close();
    check(es, line, "the region's loops are refused");
}

}  // namespace vorn::dxf::detail
