// Writing entities: the host's kinds as themselves with the groups they kept, kept entities as
// their records, regions as marked loops, framework entities as their carriers, and the
// primitives of graphics blocks.
#include <charconv>
#include <cmath>

#include "host/dxf/dxftext.h"
#include "host/dxf/dxfwriter.h"

namespace vorn::dxf::detail {
namespace {

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;

void Color(DxfOut& out, const AcCmColor& c, bool r12, const AcDbKeptData* kept = nullptr) {
    if (c.isByLayer()) return;
    long long index = c.isByBlock() ? 0 : c.colorIndex();
    // A true colour keeps the index its file gave beside it.
    if (c.isByColor() && KeptBits(kept, 420) == static_cast<long long>(c.rgb()) && KeptBits(kept, 62) > 0)
        index = KeptBits(kept, 62);
    out.integer(62, index);
    if (c.isByColor() && !r12) out.integer(420, c.rgb());
}

long long Bits(const AcDbKeptGroups* groups, int code) {
    if (!groups) return 0;
    for (const AcDbKeptGroup& g : *groups)
        if (g.code == -code) {
            long long v = 0;
            std::from_chars(g.value.data(), g.value.data() + g.value.size(), v);
            return v;
        }
    return 0;
}

const std::vector<const char*> kNone;

}  // namespace

bool IsHostKind(const AcDbEntity* e) {
    const AcRxClass* c = e->isA();
    return c == AcDbLine::desc() || c == AcDbCircle::desc() || c == AcDbArc::desc() || c == AcDbPolyline::desc() ||
           c == AcDb2dPolyline::desc() || c == AcDbText::desc() || c == AcDbMText::desc() ||
           c == AcDbBlockReference::desc() || c == AcDbRegion::desc();
}

void Writer::commonPart(const AcDbEntity* props, bool paper) {
    if (paper) m_out.integer(67, 1);
    m_out.encoded(8, layerName(props->layerId()));
    if (!vorn::db::SameSymbolName(props->linetype(), L"ByLayer")) m_out.str(6, props->linetype());
    Color(m_out, props->color(), m_r12, props->keptData());
    if (props->linetypeScale() != 1.0) m_out.real(48, props->linetypeScale());
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
    if (const auto* kept = AcDbKeptEntity::cast(e)) {
        record(kept->type().c_str(), nullptr, handle, 5, &owner, &kept->groups(), MarkersOf(RecordKind::kKept),
               [&](size_t) { commonPart(e, paper); });
        xdata(e, nullptr);
        bool seqend = kept->following().empty();
        for (const AcDbKeptRecord& r : kept->following()) {
            memberRecord(r, handle);
            seqend = seqend || r.type == "SEQEND";
        }
        if (!seqend) record("SEQEND", nullptr, newHandle(), 5, &handle, nullptr, MarkersOf(RecordKind::kSeqEnd),
                            [&](size_t) { commonPart(e, paper); });
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
    record("INSERT", nullptr, handle, 5, &owner, nullptr, MarkersOf(RecordKind::kInsert), [&](size_t k) {
        if (k == 0) return commonPart(e, paper);
        m_out.str(2, g.name);
        m_out.point(10, AcGePoint3d());
    });
    xdata(e, vorn.empty() ? nullptr : &vorn);
}

void Writer::polyline2d(const AcDbEntity* props, std::uint64_t handle, std::uint64_t owner, bool paper,
                        const std::vector<vorn::db::BulgeVertex>& vertices, bool closed, double elevation, int flags,
                        int smooth, const AcDbKeptData* kept, const std::vector<AcDbXDataItem>* vorn) {
    record("POLYLINE", nullptr, handle, 5, &owner, kept ? &kept->groups : nullptr, MarkersOf(RecordKind::kPolyline),
           [&](size_t k) {
               if (k == 0) return commonPart(props, paper);
               m_out.integer(66, 1);
               m_out.point(10, AcGePoint3d(0.0, 0.0, elevation));
               m_out.integer(70, (closed ? 1 : 0) | flags | KeptBits(kept, 70));
               if (smooth) m_out.integer(75, smooth);
           });
    if (props) xdata(props, vorn);
    else if (vorn) {
        m_out.raw(1001, "VORN");
        xdataItems(*vorn);
    }
    const std::vector<AcDbKeptRecord>* following = kept ? &kept->following : nullptr;
    const std::string& layer = layerName(props ? props->layerId() : AcDbObjectId());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const auto& v = vertices[i];
        const AcDbKeptRecord* vk =
            following && i < following->size() && (*following)[i].type == "VERTEX" ? &(*following)[i] : nullptr;
        record("VERTEX", nullptr, vk && vk->handle ? vk->handle : newHandle(), 5, &handle, vk ? &vk->groups : nullptr,
               MarkersOf(RecordKind::kVertex), [&](size_t k) {
                   if (k == 0) {
                       if (paper) m_out.integer(67, 1);
                       m_out.encoded(8, layer);
                       return;
                   }
                   if (k == 1) return;
                   m_out.point(10, AcGePoint3d(v.point.x, v.point.y, elevation));
                   if (v.startWidth != 0.0) m_out.real(40, v.startWidth);
                   if (v.endWidth != 0.0) m_out.real(41, v.endWidth);
                   if (v.bulge != 0.0) m_out.real(42, v.bulge);
                   m_out.integer(70, Bits(vk ? &vk->groups : nullptr, 70));
               });
    }
    const AcDbKeptRecord* sk = following && !following->empty() && following->back().type == "SEQEND" ? &following->back() : nullptr;
    record("SEQEND", nullptr, sk && sk->handle ? sk->handle : newHandle(), 5, &handle, sk ? &sk->groups : nullptr,
           MarkersOf(RecordKind::kSeqEnd), [&](size_t) {
               if (paper) m_out.integer(67, 1);
               m_out.encoded(8, layer);
           });
}

void Writer::hostEntity(const AcDbEntity* e, std::uint64_t handle, std::uint64_t owner, bool paper,
                        const AcDbEntity* props, const std::vector<AcDbXDataItem>* vorn) {
    const AcDbKeptData* kept = props->keptData();
    const AcDbKeptGroups* groups = kept ? &kept->groups : nullptr;
    if (const auto* l = AcDbLine::cast(e)) {
        record("LINE", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kLine), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            m_out.point(10, l->startPoint());
            m_out.point(11, l->endPoint());
        });
    } else if (const auto* a = AcDbArc::cast(e)) {
        record("ARC", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kArc), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            if (k == 1) {
                m_out.point(10, a->center());
                m_out.real(40, a->radius());
                return;
            }
            m_out.real(50, KeptDegrees(kept, 50, a->startAngle()));
            m_out.real(51, KeptDegrees(kept, 51, a->endAngle()));
        });
    } else if (const auto* c = AcDbCircle::cast(e)) {
        record("CIRCLE", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kCircle), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            m_out.point(10, c->center());
            m_out.real(40, c->radius());
        });
    } else if (const auto* p = AcDbPolyline::cast(e)) {
        if (m_r12) {
            polyline2d(props, handle, owner, paper, p->vertices(), p->isClosed(), p->elevation(), 0, 0, nullptr, vorn);
            return;
        }
        record("LWPOLYLINE", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kLwPolyline), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            m_out.integer(90, p->numVerts());
            m_out.integer(70, (p->isClosed() ? 1 : 0) | KeptBits(kept, 70));
            // One width for every vertex, as the file gave it.
            bool constant = KeptBits(kept, 43) && p->numVerts() > 0;
            const double width = constant ? p->vertices()[0].startWidth : 0.0;
            for (const auto& v : p->vertices()) constant = constant && v.startWidth == width && v.endWidth == width;
            if (constant) m_out.real(43, width);
            if (p->elevation() != 0.0) m_out.real(38, p->elevation());
            for (const auto& v : p->vertices()) {
                m_out.point2(10, v.point.x, v.point.y);
                if (!constant && (v.startWidth != 0.0 || v.endWidth != 0.0)) {
                    m_out.real(40, v.startWidth);
                    m_out.real(41, v.endWidth);
                }
                if (v.bulge != 0.0) m_out.real(42, v.bulge);
            }
        });
    } else if (const auto* p2 = AcDb2dPolyline::cast(e)) {
        int flags = 0, smooth = 0;
        switch (p2->polyType()) {
            case AcDb::k2dFitCurvePoly: flags = 2; break;
            case AcDb::k2dQuadSplinePoly: flags = 4, smooth = 5; break;
            case AcDb::k2dCubicSplinePoly: flags = 4, smooth = 6; break;
            default: break;
        }
        polyline2d(props, handle, owner, paper, p2->vertices(), p2->isClosed(), p2->elevation(), flags, smooth, kept, vorn);
        return;
    } else if (const auto* t = AcDbText::cast(e)) {
        record("TEXT", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kText), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            if (k == 2) {
                if (t->verticalMode() != AcDb::kTextBase) m_out.integer(73, t->verticalMode());
                return;
            }
            m_out.point(10, t->position());
            m_out.real(40, t->height());
            m_out.str(1, t->textStringW());
            if (t->rotation() != 0.0) m_out.real(50, KeptDegrees(kept, 50, t->rotation()));
            if (t->widthFactor() != 1.0) m_out.real(41, t->widthFactor());
            if (t->oblique() != 0.0) m_out.real(51, KeptDegrees(kept, 51, t->oblique()));
            const std::wstring style = styleName(t->textStyle());
            if (KeptBits(kept, 7) || !vorn::db::SameSymbolName(style, L"Standard")) m_out.str(7, style);
            if (t->horizontalMode() != AcDb::kTextLeft) m_out.integer(72, t->horizontalMode());
            if (!t->isDefaultAlignment() || KeptBits(kept, 11)) m_out.point(11, t->alignmentPoint());
        });
    } else if (const auto* m = AcDbMText::cast(e)) {
        if (m_r12) {
            // R12 has no paragraph text: one TEXT per line.
            AcDbVoidPtrArray lines;
            m->explode(lines);
            for (int i = 0; i < lines.length(); ++i) {
                std::unique_ptr<AcDbEntity> line(static_cast<AcDbEntity*>(lines.at(i)));
                const auto* t = AcDbText::cast(line.get());
                if (!t) continue;
                record("TEXT", nullptr, i == 0 ? handle : newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kText),
                       [&](size_t k) {
                           if (k == 0) return commonPart(props, paper);
                           if (k == 2) return;
                           m_out.point(10, t->position());
                           m_out.real(40, t->height());
                           m_out.str(1, t->textStringW());
                           if (t->rotation() != 0.0) m_out.real(50, t->rotation() * kRadToDeg);
                           m_out.str(7, styleName(m->textStyle()));
                       });
                if (i == 0) xdata(props, vorn);
            }
            return;
        }
        record("MTEXT", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kMText), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            m_out.point(10, m->location());
            m_out.real(40, m->textHeight());
            if (!kept || KeptBits(kept, 41) || m->width() != 0.0) m_out.real(41, m->width());
            m_out.integer(71, m->attachment());
            // Contents in pieces of at most 250 bytes, never splitting an escape or a character.
            std::string encoded = m_out.encode(m->contents());
            size_t start = 0;
            while (encoded.size() - start > 250) {
                size_t cut = start + 250;
                for (size_t q = cut - 1; q + 7 > cut && q > start; --q) {
                    if (encoded[q] == '\\' || encoded[q] == '^') {
                        cut = q;
                        break;
                    }
                }
                // Nor a multi-byte character: back up to the byte that starts it. A UTF-8
                // sequence's later bytes are 10xxxxxx; in a double-byte page a first byte of
                // 0x81 or above takes the next one with it.
                if (m_out.codec().utf8()) {
                    while (cut > start + 1 && (static_cast<unsigned char>(encoded[cut]) & 0xC0) == 0x80) --cut;
                } else if (m_out.codec().doubleByte()) {
                    size_t q = start;
                    while (q < cut) {
                        const size_t step = static_cast<unsigned char>(encoded[q]) >= 0x81 ? 2 : 1;
                        if (q + step > cut) break;
                        q += step;
                    }
                    if (q > start) cut = q;
                }
                if (cut > start + 1 && encoded[cut - 1] == '^') --cut;
                m_out.encoded(3, encoded.substr(start, cut - start));
                start = cut;
            }
            m_out.encoded(1, encoded.substr(start));
            const std::wstring style = styleName(m->textStyle());
            if (KeptBits(kept, 7) || !vorn::db::SameSymbolName(style, L"Standard")) m_out.str(7, style);
            // The direction as the file gave it: a vector, an angle, or nothing for none.
            std::string angle;
            const bool hadAngle = KeptNote(kept, 50, angle);
            if (!kept || KeptBits(kept, 11) || (!hadAngle && m->rotation() != 0.0))
                m_out.point(11, AcGePoint3d(std::cos(m->rotation()), std::sin(m->rotation()), 0.0));
            else if (hadAngle)
                m_out.real(50, KeptDegrees(kept, 50, m->rotation()));
            if (!kept) m_out.integer(72, 1);  // last: a file read back keeps it there
        });
    } else if (const auto* b = AcDbBlockReference::cast(e)) {
        record("INSERT", nullptr, handle, 5, &owner, groups, MarkersOf(RecordKind::kInsert), [&](size_t k) {
            if (k == 0) return commonPart(props, paper);
            m_out.str(2, blockName(b->blockTableRecord()));
            m_out.point(10, b->position());
            const AcGeScale3d s = b->scaleFactors();
            if (s.sx != 1.0) m_out.real(41, s.sx);
            if (s.sy != 1.0) m_out.real(42, s.sy);
            if (s.sz != 1.0) m_out.real(43, s.sz);
            if (b->rotation() != 0.0) m_out.real(50, KeptDegrees(kept, 50, b->rotation()));
            if (b->normal().z < 0.0) m_out.point(210, AcGePoint3d(0.0, 0.0, -1.0));
        });
        xdata(props, vorn);
        if (kept && !kept->following.empty()) {
            bool seqend = false;
            for (const AcDbKeptRecord& r : kept->following) {
                memberRecord(r, handle);
                seqend = seqend || r.type == "SEQEND";
            }
            if (!seqend) record("SEQEND", nullptr, newHandle(), 5, &handle, nullptr, MarkersOf(RecordKind::kSeqEnd),
                                [&](size_t) { commonPart(props, paper); });
        }
        return;
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
        const std::uint64_t handle = i == 0 ? r->objectId().handle().value() : newHandle();
        std::vector<AcDbXDataItem> vorn = {AcDbXDataItem::string(L"VORN_REGION"), AcDbXDataItem::integer16(number, 1071),
                                           AcDbXDataItem::integer16(static_cast<int>(loops.size()), 1071)};
        if (m_r12) {
            std::vector<vorn::db::BulgeVertex> verts;
            for (const auto& p : loops[i]) {
                vorn::db::BulgeVertex v;
                v.point = AcGePoint2d(p.x, p.y);
                verts.push_back(v);
            }
            polyline2d(r, handle, owner, paper, verts, true, 0.0, 0, 0, nullptr, &vorn);
            continue;
        }
        record("LWPOLYLINE", nullptr, handle, 5, &owner, nullptr, MarkersOf(RecordKind::kLwPolyline), [&](size_t k) {
            if (k == 0) return commonPart(r, paper);
            m_out.integer(90, static_cast<long long>(loops[i].size()));
            m_out.integer(70, 1);
            for (const auto& p : loops[i]) m_out.point2(10, p.x, p.y);
        });
        if (i == 0) {
            xdata(r, &vorn);
        } else {
            m_out.raw(1001, "VORN");
            xdataItems(vorn);
        }
    }
}

void Writer::primitiveProps(const vorn::db::GiPrimitive& p) {
    m_out.encoded(8, p.layerId.isNull() ? std::string("0") : layerName(p.layerId));
    Color(m_out, p.color, m_r12);
}

void Writer::primitive(const vorn::db::GiPrimitive& p, std::uint64_t owner) {
    using vorn::db::GiPrimitive;
    static const std::vector<const char*> kSolid = {"AcDbEntity", "AcDbTrace"};
    switch (p.kind) {
        case GiPrimitive::kPolyline:
        case GiPrimitive::kPolygon: {
            if (p.points.empty()) return;
            if (p.kind == GiPrimitive::kPolygon && (p.points.size() == 3 || p.points.size() == 4)) {
                // A filled triangle or quadrilateral; SOLID takes its corners in zigzag order.
                record("SOLID", nullptr, newHandle(), 5, &owner, nullptr, kSolid, [&](size_t k) {
                    if (k == 0) return primitiveProps(p);
                    const size_t n = p.points.size();
                    m_out.point(10, p.points[0]);
                    m_out.point(11, p.points[1]);
                    m_out.point(12, n == 4 ? p.points[3] : p.points[2]);
                    m_out.point(13, p.points[2]);
                });
                return;
            }
            if (p.points.size() == 2 && !p.closed && p.kind == GiPrimitive::kPolyline) {
                record("LINE", nullptr, newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kLine), [&](size_t k) {
                    if (k == 0) return primitiveProps(p);
                    m_out.point(10, p.points[0]);
                    m_out.point(11, p.points[1]);
                });
                return;
            }
            const bool closed = p.closed || p.kind == GiPrimitive::kPolygon;
            if (m_r12) {
                const std::uint64_t handle = newHandle();
                record("POLYLINE", nullptr, handle, 5, &owner, nullptr, MarkersOf(RecordKind::kPolyline), [&](size_t k) {
                    if (k == 0) return primitiveProps(p);
                    m_out.integer(66, 1);
                    m_out.point(10, AcGePoint3d(0.0, 0.0, p.points[0].z));
                    m_out.integer(70, closed ? 1 : 0);
                });
                for (const auto& q : p.points) {
                    record("VERTEX", nullptr, newHandle(), 5, &handle, nullptr, MarkersOf(RecordKind::kVertex), [&](size_t k) {
                        if (k == 0) return primitiveProps(p);
                        if (k == 2) m_out.point(10, q), m_out.integer(70, 0);
                    });
                }
                record("SEQEND", nullptr, newHandle(), 5, &handle, nullptr, MarkersOf(RecordKind::kSeqEnd),
                       [&](size_t) { primitiveProps(p); });
                return;
            }
            record("LWPOLYLINE", nullptr, newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kLwPolyline), [&](size_t k) {
                if (k == 0) return primitiveProps(p);
                m_out.integer(90, static_cast<long long>(p.points.size()));
                m_out.integer(70, closed ? 1 : 0);
                if (p.points[0].z != 0.0) m_out.real(38, p.points[0].z);
                for (const auto& q : p.points) m_out.point2(10, q.x, q.y);
            });
            return;
        }
        case GiPrimitive::kArc: {
            if (std::fabs(p.sweep) >= kTwoPi - 1e-12) {
                record("CIRCLE", nullptr, newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kCircle), [&](size_t k) {
                    if (k == 0) return primitiveProps(p);
                    m_out.point(10, p.centre);
                    m_out.real(40, p.radius);
                });
                return;
            }
            double start = p.sweep >= 0 ? p.startAngle : p.startAngle + p.sweep;
            double end = start + std::fabs(p.sweep);
            record("ARC", nullptr, newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kArc), [&](size_t k) {
                if (k == 0) return primitiveProps(p);
                if (k == 1) {
                    m_out.point(10, p.centre);
                    m_out.real(40, p.radius);
                    return;
                }
                m_out.real(50, std::remainder(start, kTwoPi) * kRadToDeg);
                m_out.real(51, std::remainder(end, kTwoPi) * kRadToDeg);
            });
            return;
        }
        case GiPrimitive::kText: {
            record("TEXT", nullptr, newHandle(), 5, &owner, nullptr, MarkersOf(RecordKind::kText), [&](size_t k) {
                if (k == 0) return primitiveProps(p);
                const AcGiTextData& t = p.text;
                if (k == 2) {
                    if (t.verticalMode != 0) m_out.integer(73, t.verticalMode);
                    return;
                }
                m_out.point(10, t.position);
                m_out.real(40, t.height);
                m_out.str(1, t.text);
                if (t.rotation != 0.0) m_out.real(50, t.rotation * kRadToDeg);
                if (t.widthFactor != 1.0) m_out.real(41, t.widthFactor);
                if (t.oblique != 0.0) m_out.real(51, t.oblique * kRadToDeg);
                m_out.raw(7, "Standard");
                if (t.horizontalMode != 0) m_out.integer(72, t.horizontalMode);
                if (t.horizontalMode != 0 || t.verticalMode != 0) m_out.point(11, t.position);
            });
            return;
        }
    }
}

}  // namespace vorn::dxf::detail
