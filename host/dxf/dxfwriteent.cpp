// Writing entities: the host's kinds as themselves, regions as marked loops, framework
// entities as their carriers, and the primitives of graphics blocks.
#include <cmath>

#include "host/dxf/dxftext.h"
#include "host/dxf/dxfwriter.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;

void Color(DxfOut& out, const AcCmColor& c) {
    if (c.isByLayer()) return;
    out.integer(62, c.isByBlock() ? 0 : c.colorIndex());
    if (c.isByColor()) out.integer(420, c.rgb());
}

}  // namespace

bool IsHostKind(const AcDbEntity* e) {
    const AcRxClass* c = e->isA();
    return c == AcDbLine::desc() || c == AcDbCircle::desc() || c == AcDbArc::desc() || c == AcDbPolyline::desc() ||
           c == AcDb2dPolyline::desc() || c == AcDbText::desc() || c == AcDbMText::desc() ||
           c == AcDbBlockReference::desc() || c == AcDbRegion::desc();
}

void Writer::common(const char* type, std::uint64_t handle, std::uint64_t owner, bool paper, const AcDbEntity* props) {
    m_out.raw(0, type);
    m_out.handle(5, handle);
    m_out.handle(330, owner);
    m_out.raw(100, "AcDbEntity");
    if (paper) m_out.integer(67, 1);
    m_out.raw(8, layerName(props->layerId()));
    if (!vorn::db::SameSymbolName(props->linetype(), L"ByLayer")) m_out.str(6, props->linetype());
    Color(m_out, props->color());
    if (props->linetypeScale() != 1.0) m_out.real(48, props->linetypeScale());
}

void Writer::xdataItems(const std::vector<AcDbXDataItem>& items) {
    for (const auto& item : items) {
        switch (item.kind()) {
            case AcDbXDataItem::kString: m_out.str(item.code, item.str); break;
            case AcDbXDataItem::kPoint: m_out.point(item.code, item.point); break;
            case AcDbXDataItem::kReal: m_out.real(item.code, item.real); break;
            case AcDbXDataItem::kInteger: m_out.integer(item.code, item.integer); break;
        }
    }
}

// The entity's own extended data, then ours. Data the entity itself keeps under "VORN" gives
// way to the type marker when there is one.
void Writer::xdata(const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn) {
    for (const auto& [app, items] : props->allXData()) {
        if (vorn && vorn::db::SameSymbolName(app, L"VORN")) continue;
        m_out.str(1001, app);
        xdataItems(items);
    }
    if (vorn) {
        m_out.raw(1001, "VORN");
        xdataItems(*vorn);
    }
}

void Writer::entity(const AcDbEntity* e, std::uint64_t owner, bool paper) {
    const std::uint64_t handle = e->objectId().handle().value();
    if (const auto* r = AcDbRegion::cast(e); r && IsHostKind(e)) {
        region(r, owner, paper);
        return;
    }
    if (IsHostKind(e)) {
        hostEntity(e, handle, owner, paper, e, nullptr);
        return;
    }
    auto it = m_framework.find(e->objectId().index());
    if (it == m_framework.end()) return;
    const FrameworkForm& form = it->second;
    std::vector<AcDbXDataItem> vorn;
    if (!form.typeName.empty()) {
        vorn.push_back(AcDbXDataItem::string(form.typeName));
        vorn.insert(vorn.end(), form.fields.begin(), form.fields.end());
    }
    if (form.carrier) {
        hostEntity(form.carrier.get(), handle, owner, paper, e, vorn.empty() ? nullptr : &vorn);
        return;
    }
    const GraphicsBlock& g = m_graphics[static_cast<size_t>(form.block)];
    common("INSERT", handle, owner, paper, e);
    m_out.raw(100, "AcDbBlockReference");
    m_out.str(2, g.name);
    m_out.point(10, AcGePoint3d());
    xdata(e, vorn.empty() ? nullptr : &vorn);
}

void Writer::hostEntity(const AcDbEntity* e, std::uint64_t handle, std::uint64_t owner, bool paper,
                        const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn) {
    if (const auto* l = AcDbLine::cast(e)) {
        common("LINE", handle, owner, paper, props);
        m_out.raw(100, "AcDbLine");
        m_out.point(10, l->startPoint());
        m_out.point(11, l->endPoint());
    } else if (const auto* a = AcDbArc::cast(e)) {
        common("ARC", handle, owner, paper, props);
        m_out.raw(100, "AcDbCircle");
        m_out.point(10, a->center());
        m_out.real(40, a->radius());
        m_out.raw(100, "AcDbArc");
        m_out.real(50, a->startAngle() * kRadToDeg);
        m_out.real(51, a->endAngle() * kRadToDeg);
    } else if (const auto* c = AcDbCircle::cast(e)) {
        common("CIRCLE", handle, owner, paper, props);
        m_out.raw(100, "AcDbCircle");
        m_out.point(10, c->center());
        m_out.real(40, c->radius());
    } else if (const auto* p = AcDbPolyline::cast(e)) {
        common("LWPOLYLINE", handle, owner, paper, props);
        m_out.raw(100, "AcDbPolyline");
        m_out.integer(90, p->numVerts());
        m_out.integer(70, p->isClosed() ? 1 : 0);
        if (p->elevation() != 0.0) m_out.real(38, p->elevation());
        for (const auto& v : p->vertices()) {
            m_out.point2(10, v.point.x, v.point.y);
            if (v.startWidth != 0.0 || v.endWidth != 0.0) {
                m_out.real(40, v.startWidth);
                m_out.real(41, v.endWidth);
            }
            if (v.bulge != 0.0) m_out.real(42, v.bulge);
        }
    } else if (const auto* p2 = AcDb2dPolyline::cast(e)) {
        common("POLYLINE", handle, owner, paper, props);
        m_out.raw(100, "AcDb2dPolyline");
        m_out.integer(66, 1);
        m_out.point(10, AcGePoint3d(0.0, 0.0, p2->elevation()));
        int flags = p2->isClosed() ? 1 : 0;
        int smooth = 0;
        switch (p2->polyType()) {
            case AcDb::k2dFitCurvePoly: flags |= 2; break;
            case AcDb::k2dQuadSplinePoly: flags |= 4; smooth = 5; break;
            case AcDb::k2dCubicSplinePoly: flags |= 4; smooth = 6; break;
            default: break;
        }
        m_out.integer(70, flags);
        if (smooth) m_out.integer(75, smooth);
        xdata(props, vorn);
        for (const auto& v : p2->vertices()) {
            m_out.raw(0, "VERTEX");
            m_out.handle(5, newHandle());
            m_out.handle(330, handle);
            m_out.raw(100, "AcDbEntity");
            if (paper) m_out.integer(67, 1);
            m_out.raw(8, layerName(props->layerId()));
            m_out.raw(100, "AcDbVertex");
            m_out.raw(100, "AcDb2dVertex");
            m_out.point(10, AcGePoint3d(v.point.x, v.point.y, p2->elevation()));
            if (v.startWidth != 0.0) m_out.real(40, v.startWidth);
            if (v.endWidth != 0.0) m_out.real(41, v.endWidth);
            if (v.bulge != 0.0) m_out.real(42, v.bulge);
            m_out.integer(70, 0);
        }
        m_out.raw(0, "SEQEND");
        m_out.handle(5, newHandle());
        m_out.handle(330, handle);
        m_out.raw(100, "AcDbEntity");
        if (paper) m_out.integer(67, 1);
        m_out.raw(8, layerName(props->layerId()));
        return;
    } else if (const auto* t = AcDbText::cast(e)) {
        common("TEXT", handle, owner, paper, props);
        m_out.raw(100, "AcDbText");
        m_out.point(10, t->position());
        m_out.real(40, t->height());
        m_out.str(1, t->textStringW());
        if (t->rotation() != 0.0) m_out.real(50, t->rotation() * kRadToDeg);
        if (t->widthFactor() != 1.0) m_out.real(41, t->widthFactor());
        if (t->oblique() != 0.0) m_out.real(51, t->oblique() * kRadToDeg);
        m_out.str(7, styleName(t->textStyle()));
        if (t->horizontalMode() != AcDb::kTextLeft) m_out.integer(72, t->horizontalMode());
        if (!t->isDefaultAlignment()) m_out.point(11, t->alignmentPoint());
        m_out.raw(100, "AcDbText");
        if (t->verticalMode() != AcDb::kTextBase) m_out.integer(73, t->verticalMode());
    } else if (const auto* m = AcDbMText::cast(e)) {
        common("MTEXT", handle, owner, paper, props);
        m_out.raw(100, "AcDbMText");
        m_out.point(10, m->location());
        m_out.real(40, m->textHeight());
        m_out.real(41, m->width());
        m_out.integer(71, m->attachment());
        m_out.integer(72, 1);
        // Contents in pieces of at most 250 bytes, never splitting an escape or a character.
        std::string encoded = EncodeString(m->contents());
        size_t start = 0;
        while (encoded.size() - start > 250) {
            size_t cut = start + 250;
            for (size_t k = cut - 1; k + 7 > cut && k > start; --k) {
                if (encoded[k] == '\\' || encoded[k] == '^') {
                    cut = k;
                    break;
                }
            }
            // Nor a UTF-8 sequence: back up to the byte that starts it.
            while (cut > start + 1 && (static_cast<unsigned char>(encoded[cut]) & 0xC0) == 0x80) --cut;
            m_out.raw(3, encoded.substr(start, cut - start));
            start = cut;
        }
        m_out.raw(1, encoded.substr(start));
        m_out.str(7, styleName(m->textStyle()));
        m_out.point(11, AcGePoint3d(std::cos(m->rotation()), std::sin(m->rotation()), 0.0));
    } else if (const auto* b = AcDbBlockReference::cast(e)) {
        common("INSERT", handle, owner, paper, props);
        m_out.raw(100, "AcDbBlockReference");
        m_out.str(2, blockName(b->blockTableRecord()));
        m_out.point(10, b->position());
        const AcGeScale3d s = b->scaleFactors();
        if (s.sx != 1.0) m_out.real(41, s.sx);
        if (s.sy != 1.0) m_out.real(42, s.sy);
        if (s.sz != 1.0) m_out.real(43, s.sz);
        if (b->rotation() != 0.0) m_out.real(50, b->rotation() * kRadToDeg);
        if (b->normal().z < 0.0) m_out.point(210, AcGePoint3d(0.0, 0.0, -1.0));
    } else {
        return;
    }
    xdata(props, vorn);
}

void Writer::region(const AcDbRegion* r, std::uint64_t owner, bool paper) {
    const int number = ++m_regionCount;
    const auto& loops = r->loops();
    for (size_t i = 0; i < loops.size(); ++i) {
        // The region keeps its own handle on its first loop.
        common("LWPOLYLINE", i == 0 ? r->objectId().handle().value() : newHandle(), owner, paper, r);
        m_out.raw(100, "AcDbPolyline");
        m_out.integer(90, static_cast<long long>(loops[i].size()));
        m_out.integer(70, 1);
        for (const auto& p : loops[i]) m_out.point2(10, p.x, p.y);
        std::vector<AcDbXDataItem> vorn = {AcDbXDataItem::string(L"VORN_REGION"), AcDbXDataItem::integer16(number, 1071),
                                           AcDbXDataItem::integer16(static_cast<int>(loops.size()), 1071)};
        if (i == 0) {
            xdata(r, &vorn);
        } else {
            m_out.raw(1001, "VORN");
            xdataItems(vorn);
        }
    }
}

void Writer::primitiveProps(const char* type, std::uint64_t owner, const vorn::db::GiPrimitive& p) {
    m_out.raw(0, type);
    m_out.handle(5, newHandle());
    m_out.handle(330, owner);
    m_out.raw(100, "AcDbEntity");
    m_out.raw(8, p.layerId.isNull() ? std::string("0") : layerName(p.layerId));
    Color(m_out, p.color);
}

void Writer::primitive(const vorn::db::GiPrimitive& p, std::uint64_t owner) {
    using vorn::db::GiPrimitive;
    switch (p.kind) {
        case GiPrimitive::kPolyline:
        case GiPrimitive::kPolygon: {
            if (p.points.empty()) return;
            if (p.kind == GiPrimitive::kPolygon && (p.points.size() == 3 || p.points.size() == 4)) {
                // A filled triangle or quadrilateral; SOLID takes its corners in zigzag order.
                primitiveProps("SOLID", owner, p);
                m_out.raw(100, "AcDbTrace");
                const size_t n = p.points.size();
                m_out.point(10, p.points[0]);
                m_out.point(11, p.points[1]);
                m_out.point(12, n == 4 ? p.points[3] : p.points[2]);
                m_out.point(13, p.points[2]);
                return;
            }
            if (p.points.size() == 2 && !p.closed && p.kind == GiPrimitive::kPolyline) {
                primitiveProps("LINE", owner, p);
                m_out.raw(100, "AcDbLine");
                m_out.point(10, p.points[0]);
                m_out.point(11, p.points[1]);
                return;
            }
            primitiveProps("LWPOLYLINE", owner, p);
            m_out.raw(100, "AcDbPolyline");
            m_out.integer(90, static_cast<long long>(p.points.size()));
            m_out.integer(70, p.closed || p.kind == GiPrimitive::kPolygon ? 1 : 0);
            if (p.points[0].z != 0.0) m_out.real(38, p.points[0].z);
            for (const auto& q : p.points) m_out.point2(10, q.x, q.y);
            return;
        }
        case GiPrimitive::kArc: {
            if (std::fabs(p.sweep) >= kTwoPi - 1e-12) {
                primitiveProps("CIRCLE", owner, p);
                m_out.raw(100, "AcDbCircle");
                m_out.point(10, p.centre);
                m_out.real(40, p.radius);
                return;
            }
            double start = p.sweep >= 0 ? p.startAngle : p.startAngle + p.sweep;
            double end = start + std::fabs(p.sweep);
            primitiveProps("ARC", owner, p);
            m_out.raw(100, "AcDbCircle");
            m_out.point(10, p.centre);
            m_out.real(40, p.radius);
            m_out.raw(100, "AcDbArc");
            m_out.real(50, std::remainder(start, kTwoPi) * kRadToDeg);
            m_out.real(51, std::remainder(end, kTwoPi) * kRadToDeg);
            return;
        }
        case GiPrimitive::kText: {
            primitiveProps("TEXT", owner, p);
            textBody(p.text, L"Standard");
            return;
        }
    }
}

void Writer::textBody(const AcGiTextData& t, const std::wstring& style) {
    const bool aligned = t.horizontalMode != 0 || t.verticalMode != 0;
    m_out.raw(100, "AcDbText");
    m_out.point(10, t.position);
    m_out.real(40, t.height);
    m_out.str(1, t.text);
    if (t.rotation != 0.0) m_out.real(50, t.rotation * kRadToDeg);
    if (t.widthFactor != 1.0) m_out.real(41, t.widthFactor);
    if (t.oblique != 0.0) m_out.real(51, t.oblique * kRadToDeg);
    m_out.str(7, style);
    if (t.horizontalMode != 0) m_out.integer(72, t.horizontalMode);
    if (aligned) m_out.point(11, t.position);
    m_out.raw(100, "AcDbText");
    if (t.verticalMode != 0) m_out.integer(73, t.verticalMode);
}

}  // namespace vorn::dxf::detail
