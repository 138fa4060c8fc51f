// AcDbBlockReference: placement of a block, and drawing, extents and explode through it.
#include "host/db/dbblockref.h"

#include "host/db/db.h"
#include "host/db/dbgeomutil.h"
#include "host/db/dbkept.h"
#include "host/db/giextents.h"

using namespace vorn::db::detail;

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")

namespace {
// Block definitions nested deeper than this are not followed (a block that holds itself).
constexpr int kMaxNesting = 32;
thread_local int g_depth = 0;

struct DepthGuard {
    DepthGuard() { ++g_depth; }
    ~DepthGuard() { --g_depth; }
    bool tooDeep() const { return g_depth > kMaxNesting; }
};

// Draws through a reference: entities on layer "0" take the reference's layer and ByBlock
// colours its colour.
class ByBlockDraw : public AcGiWorldDraw, public AcGiSubEntityTraits {
public:
    ByBlockDraw(AcGiWorldDraw* inner, const AcCmColor& color, const AcDbObjectId& layer, const AcDbObjectId& zero)
        : m_inner(inner), m_color(color), m_layer(layer), m_zero(zero) {}
    AcGiGeometry& geometry() override { return m_inner->geometry(); }
    AcGiSubEntityTraits& subEntityTraits() override { return *this; }
    bool regenAbort() const override { return m_inner->regenAbort(); }
    double deviation() const override { return m_inner->deviation(); }
    AcDbExtents viewExtents() const override { return m_inner->viewExtents(); }
    void setColor(std::uint16_t aci) override {
        AcCmColor c;
        c.setColorIndex(aci);
        setTrueColor(c);
    }
    void setTrueColor(const AcCmColor& c) override { m_inner->subEntityTraits().setTrueColor(c.isByBlock() ? m_color : c); }
    void setLayer(const AcDbObjectId& id) override {
        m_inner->subEntityTraits().setLayer((id.isNull() || id == m_zero) ? m_layer : id);
    }
    std::uint16_t color() const override { return m_inner->subEntityTraits().color(); }
    AcCmColor trueColor() const override { return m_inner->subEntityTraits().trueColor(); }
    AcDbObjectId layerId() const override { return m_inner->subEntityTraits().layerId(); }

private:
    AcGiWorldDraw* m_inner;
    AcCmColor m_color;
    AcDbObjectId m_layer, m_zero;
};

const AcDbBlockTableRecord* blockOf(const AcDbObjectId& id) {
    AcDbDatabase* db = id.database();
    return db ? AcDbBlockTableRecord::cast(db->peekObject(id)) : nullptr;
}
}  // namespace

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, const AcDbObjectId& block)
    : m_position(position), m_block(block) {}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(const AcDbObjectId& block) {
    if (!block.isNull() && !blockOf(block)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_block = block;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_position = p;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double r) {
    if (!Finite(r)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_rotation = WrapAngle(r);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s) {
    if (!s.isProper()) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_scale = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
    if (!Finite(n)) return Acad::eInvalidInput;
    if (std::fabs(n.x) > 1e-12 || std::fabs(n.y) > 1e-12 || std::fabs(std::fabs(n.z) - 1.0) > 1e-12)
        return Acad::eNotApplicable;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_normal = AcGeVector3d(0.0, 0.0, n.z > 0 ? 1.0 : -1.0);
    return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    AcGePoint3d origin;
    if (const AcDbBlockTableRecord* b = blockOf(m_block)) origin = b->origin();
    AcGeMatrix3d m = AcGeMatrix3d::translation(m_position.asVector()) *
                     AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis) * AcGeMatrix3d::scaling(m_scale) *
                     AcGeMatrix3d::translation(-origin.asVector());
    if (m_normal.z < 0.0) m = AcGeMatrix3d::planeToWorld(m_normal) * m;
    return m;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& xform) {
    if (!xform.isFinite()) return Acad::eInvalidInput;
    AcGePoint3d origin;
    if (const AcDbBlockTableRecord* b = blockOf(m_block)) origin = b->origin();
    AcGeVector3d x(xform(0, 0), xform(1, 0), xform(2, 0));
    AcGeVector3d y(xform(0, 1), xform(1, 1), xform(2, 1));
    AcGeVector3d z(xform(0, 2), xform(1, 2), xform(2, 2));
    double sx = x.length(), sy = y.length(), sz = z.length();
    if (!(sx > 0.0) || !(sy > 0.0) || !(sz > 0.0)) return Acad::eInvalidInput;
    // Axes must stay perpendicular and the plan must stay the plan.
    if (std::fabs(x.dotProduct(y)) > 1e-9 * sx * sy || std::fabs(x.z) > 1e-9 * sx || std::fabs(y.z) > 1e-9 * sy)
        return Acad::eInvalidInput;
    double rot = std::atan2(x.y, x.x);
    // A mirror shows as a negative Y factor.
    double cross = x.x * y.y - x.y * y.x;
    double fy = cross < 0.0 ? -sy : sy;
    double fz = z.z < 0.0 ? -sz : sz;
    AcGePoint3d pos = xform * origin;
    if (!Finite(pos) || !Finite(rot)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_position = pos;
    m_rotation = WrapAngle(rot);
    m_scale = AcGeScale3d(sx, fy, fz);
    m_normal = AcGeVector3d::kZAxis;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::geomExtentsBestFit(AcDbExtents& extents, const AcGeMatrix3d& parentXform) const {
    extents.reset();
    const AcDbBlockTableRecord* b = blockOf(m_block);
    if (!b) return Acad::eInvalidExtents;
    DepthGuard guard;
    if (guard.tooDeep()) return Acad::eInvalidExtents;
    vorn::db::GiExtentsMeter sink;
    sink.pushModelTransform(parentXform * blockTransform());
    AcDbDatabase* db = m_block.database();
    for (const AcDbObjectId& id : b->entityIds()) {
        const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id));
        if (e) e->worldDraw(&sink);
    }
    sink.popModelTransform();
    // The attribute texts stand where the file put them, outside the block's coordinates.
    sink.pushModelTransform(parentXform);
    vorn::db::DrawKeptAttributes(this, &sink);
    extents = sink.extents();
    return extents.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const { return geomExtentsBestFit(extents); }

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
    const Acad::ErrorStatus es = setBlockTransform(xform * blockTransform());
    if (es == Acad::eOk) vorn::db::TransformKeptOf(this, "INSERT", xform);  // its attributes
    return es;
}

Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entitySet) const {
    const AcDbBlockTableRecord* b = blockOf(m_block);
    if (!b) return Acad::eInvalidInput;
    AcDbDatabase* db = m_block.database();
    AcGeMatrix3d m = blockTransform();
    AcDbObjectId zero = db->layerZero();
    for (const AcDbObjectId& id : b->entityIds()) {
        const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id));
        if (!e) continue;
        AcDbEntity* copy = nullptr;
        if (e->getTransformedCopy(m, copy) != Acad::eOk) {
            // Circles and arcs under non-uniform scale follow the stretched shape as polylines.
            vorn::db::GiCollector sink;
            sink.pushModelTransform(m);
            vorn::db::DrawEntity(e, &sink);
            for (auto& p : sink.primitives) {
                if (p.kind != vorn::db::GiPrimitive::kPolyline && p.kind != vorn::db::GiPrimitive::kPolygon) continue;
                auto* pl = new AcDbPolyline(static_cast<unsigned>(p.points.size()));
                for (const auto& q : p.points) pl->addVertexAt(pl->numVerts(), AcGePoint2d(q.x, q.y));
                pl->setClosed(p.closed);
                if (!p.points.empty()) pl->setElevation(p.points[0].z);
                pl->setPropertiesFrom(e);
                copy = pl;
                break;
            }
            if (!copy) continue;
        }
        if (copy->layerId() == zero || copy->layerId().isNull()) copy->setLayer(layerId());
        if (copy->color().isByBlock()) copy->setColor(color());
        entitySet.append(copy);
    }
    return Acad::eOk;
}

namespace vorn::db {

bool DrawBlockAt(const AcDbBlockTableRecord* block, const AcGeMatrix3d& placement, const AcDbEntity* by,
                 AcGiWorldDraw* draw) {
    AcDbDatabase* db = block ? block->database() : nullptr;
    if (!db) return false;
    DepthGuard guard;
    if (guard.tooDeep()) return false;
    if (draw->placeBlock(block, placement, by)) return draw->regenAbort();
    ByBlockDraw inner(draw, by->color(), by->layerId(), db->layerZero());
    draw->geometry().pushModelTransform(placement);
    bool stop = false;
    for (const AcDbObjectId& id : block->entityIds()) {
        const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id));
        if (!e) continue;
        vorn::db::DrawEntity(e, &inner);
        if (draw->regenAbort()) {
            stop = true;
            break;
        }
    }
    draw->geometry().popModelTransform();
    // Restore the entity's own traits for whatever the caller draws next.
    draw->subEntityTraits().setTrueColor(by->color());
    draw->subEntityTraits().setLayer(by->layerId());
    return stop;
}

}  // namespace vorn::db

bool AcDbBlockReference::worldDraw(AcGiWorldDraw* draw) const {
    const AcDbBlockTableRecord* b = blockOf(m_block);
    if (!b) return false;
    return vorn::db::DrawBlockAt(b, blockTransform(), this, draw) || vorn::db::DrawKeptAttributes(this, draw);
}

std::wstring AcDbBlockReference::list() const {
    const AcDbBlockTableRecord* b = blockOf(m_block);
    return listHeader() + L"  block name: \"" + (b ? b->name() : std::wstring()) + L"\"\n  at point: " +
           Pt(m_position) + L"\n  X scale factor: " + Num(m_scale.sx) + L"\n  Y scale factor: " + Num(m_scale.sy) +
           L"\n  rotation angle: " + Num(m_rotation * 180.0 / kPi) + L"\n";
}

std::wstring AcDbBlockReference::degeneracy() const {
    if (!blockOf(m_block)) return L"block reference without a block definition";
    return L"";
}

bool AcDbBlockReference::isFiniteObject() const {
    return Finite(m_position) && Finite(m_rotation) && Finite(m_scale.sx) && Finite(m_scale.sy) &&
           Finite(m_scale.sz) && Finite(m_normal) && AcDbEntity::isFiniteObject();
}

void AcDbBlockReference::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    AcDbEntity::remapIds(map);
    m_block = map(m_block);
}
