// The editor's access to the drawing database.
#include "host/ed/dbaccess.h"

#include <cstdint>

#include "host/ed/dbinclude.h"

namespace vorn::ed::dbx {
namespace {

std::vector<AcDbObjectId> ToVector(const AcDbObjectIdArray& ids) {
    std::vector<AcDbObjectId> out;
    out.reserve(static_cast<std::size_t>(ids.length()));
    for (int i = 0; i < ids.length(); ++i) out.push_back(ids[i]);
    return out;
}

}  // namespace

AcDbDatabase* Working() {
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    if (!services->workingDatabase()) {
        // The editor always works on a drawing; one is made when the program gave none.
        static AcDbDatabase* fallback = new AcDbDatabase(true);
        services->setWorkingDatabase(fallback);
    }
    return services->workingDatabase();
}

std::vector<AcDbObjectId> ModelSpace() { return ToVector(Working()->modelSpaceIds()); }

std::vector<AcDbObjectId> InBox(const AcGePoint3d& lo, const AcGePoint3d& hi) {
    return ToVector(Working()->entitiesMeetingBox(AcDbExtents(lo, hi)));
}

std::vector<AcDbObjectId> Near(const AcGePoint3d& p, double reach) {
    return ToVector(Working()->entitiesNearPoint(p, reach));
}

bool Distance(const AcDbEntity* entity, const AcGePoint3d& p, double& distance) {
    vorn::db::GiDistanceMeter meter(p);
    vorn::db::DrawEntity(entity, &meter);
    distance = meter.distance();
    return meter.hit();
}

bool Extents(const AcDbEntity* entity, AcGePoint3d& lo, AcGePoint3d& hi) {
    AcDbExtents ext;
    if (entity->getGeomExtents(ext) != Acad::eOk || !ext.isValid()) return false;
    lo = ext.minPoint();
    hi = ext.maxPoint();
    return true;
}

std::wstring TypeName(const AcDbEntity* entity) { return entity->isA()->dxfName(); }

std::vector<Primitive> Primitives(const AcDbEntity* entity) {
    vorn::db::GiCollector collector;
    vorn::db::DrawEntity(entity, &collector);
    std::vector<Primitive> out;
    for (const vorn::db::GiPrimitive& g : collector.primitives) {
        Primitive p;
        switch (g.kind) {
            case vorn::db::GiPrimitive::kPolyline:
            case vorn::db::GiPrimitive::kPolygon:
                p.kind = Primitive::kPolyline;
                p.points = g.points;
                p.closed = g.closed || g.kind == vorn::db::GiPrimitive::kPolygon;
                break;
            case vorn::db::GiPrimitive::kArc:
                p.kind = Primitive::kArc;
                p.centre = g.centre;
                p.radius = g.radius;
                p.start = g.startAngle;
                p.sweep = g.sweep;
                break;
            case vorn::db::GiPrimitive::kText:
                p.kind = Primitive::kText;
                p.position = g.text.position;
                p.height = g.text.height;
                p.rotation = g.text.rotation;
                p.width = vorn::db::TextAdvance(g.text.text) * g.text.height * g.text.widthFactor;
                break;
        }
        out.push_back(std::move(p));
    }
    return out;
}

std::size_t UndoPosition() { return Working()->undoPosition(); }

bool RevertTo(std::size_t position, std::shared_ptr<AcDbUndoChunk>& chunk) {
    chunk = std::make_shared<AcDbUndoChunk>();
    return Working()->revertTo(position, *chunk) == Acad::eOk;
}

bool Reapply(AcDbUndoChunk& chunk) { return Working()->reapply(chunk) == Acad::eOk; }

void NameOf(const AcDbObjectId& id, std::int64_t& first, std::int64_t& second) {
    first = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(id.database()));
    second = static_cast<std::int64_t>(id.index());
}

bool IdOf(std::int64_t first, std::int64_t second, AcDbObjectId& id) {
    AcDbDatabase* db = Working();
    if (first != static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(db)) || second <= 0 ||
        second > 0xFFFFFFFFll)
        return false;
    id = db->idFromIndex(static_cast<std::uint32_t>(second));
    return !id.isNull() && id.isValid();
}

std::wstring CurrentLayerName() {
    AcDbLayerTableRecord* rec = nullptr;
    std::wstring name;
    if (acdbOpenObject(rec, Working()->clayer(), AcDb::kForRead) == Acad::eOk) {
        name = rec->getName();
        rec->close();
    }
    return name;
}

bool SetCurrentLayer(const std::wstring& name) {
    const AcDbObjectId id = Working()->findLayer(name);
    return !id.isNull() && Working()->setClayer(id) == Acad::eOk;
}

AcDbObjectId AppendToModelSpace(AcDbEntity* entity) {
    AcDbBlockTableRecord* ms = nullptr;
    if (acdbOpenObject(ms, Working()->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) {
        delete entity;
        return AcDbObjectId();
    }
    AcDbObjectId id;
    const Acad::ErrorStatus es = ms->appendAcDbEntity(id, entity);
    ms->close();
    if (es != Acad::eOk) {
        delete entity;
        return AcDbObjectId();
    }
    entity->close();
    return id;
}

}  // namespace vorn::ed::dbx
