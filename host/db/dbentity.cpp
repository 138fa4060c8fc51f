// AcDbEntity: common properties, the generic explode through drawing, listing and the
// generic copy of framework entities through their saved fields.
#include <cmath>
#include <sstream>

#include "host/db/db.h"
#include "host/db/giextents.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

std::wstring AcDbEntity::layer() const {
    AcDbDatabase* db = m_layerId.database();
    const auto* rec = db ? AcDbLayerTableRecord::cast(db->peekObject(m_layerId)) : nullptr;
    return rec ? rec->name() : std::wstring();
}

Acad::ErrorStatus AcDbEntity::setLayer(const AcDbObjectId& layerId, bool, bool) {
    AcDbDatabase* db = layerId.database();
    const AcDbObject* rec = db ? db->peekObject(layerId) : nullptr;
    if (!AcDbLayerTableRecord::cast(rec)) return Acad::eInvalidInput;
    if (database() && db != database()) return Acad::eWrongDatabase;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_layerId = layerId;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLayer(const wchar_t* layerName, bool doSubents) {
    AcDbDatabase* db = database() ? database() : acdbHostApplicationServices()->workingDatabase();
    if (!db) return Acad::eNoDatabase;
    if (!layerName) return Acad::eInvalidInput;
    AcDbObjectId id = db->findLayer(layerName);
    if (id.isNull()) return Acad::eKeyNotFound;
    return setLayer(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_color = color;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(std::uint16_t aci, bool) {
    if (aci > 256) return Acad::eOutOfRange;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_color.setColorIndex(aci);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const wchar_t* name, bool) {
    if (!name || !*name) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_linetype = name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool) {
    if (!std::isfinite(scale) || !(scale > 0.0)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_linetypeScale = scale;
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
    if (!db) db = database() ? database() : acdbHostApplicationServices()->workingDatabase();
    if (!assertWriteEnabled()) return;
    m_layerId = db ? db->clayer() : AcDbObjectId();
    m_color.setByLayer();
    m_linetype = L"ByLayer";
    m_linetypeScale = 1.0;
}

void AcDbEntity::setPropertiesFrom(const AcDbEntity* other, bool) {
    if (!other || !assertWriteEnabled()) return;
    if (!database() || other->layerId().database() == database()) m_layerId = other->m_layerId;
    m_color = other->m_color;
    m_linetype = other->m_linetype;
    m_linetypeScale = other->m_linetypeScale;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
    vorn::db::GiExtentsMeter sink;
    worldDraw(&sink);
    extents = sink.extents();
    return extents.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
    copy = AcDbEntity::cast(clone());
    if (!copy) return Acad::eNotApplicable;
    Acad::ErrorStatus es = copy->transformBy(xform);
    if (es != Acad::eOk) {
        delete copy;
        copy = nullptr;
    }
    return es;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray& entitySet) const {
    vorn::db::GiCollector sink;
    vorn::db::DrawEntity(this, &sink);
    if (sink.primitives.empty()) return Acad::eNotApplicable;
    for (auto& p : sink.primitives) {
        AcDbEntity* made = nullptr;
        switch (p.kind) {
            case vorn::db::GiPrimitive::kPolyline:
            case vorn::db::GiPrimitive::kPolygon:
                if (p.points.size() == 2 && !p.closed) {
                    made = new AcDbLine(p.points[0], p.points[1]);
                } else {
                    auto* pl = new AcDbPolyline(static_cast<unsigned>(p.points.size()));
                    for (const auto& q : p.points) pl->addVertexAt(pl->numVerts(), AcGePoint2d(q.x, q.y));
                    pl->setClosed(p.closed || p.kind == vorn::db::GiPrimitive::kPolygon);
                    if (!p.points.empty()) pl->setElevation(p.points[0].z);
                    made = pl;
                }
                break;
            case vorn::db::GiPrimitive::kArc:
                if (p.sweep >= 6.283185307179586)
                    made = new AcDbCircle(p.centre, AcGeVector3d::kZAxis, p.radius);
                else
                    made = new AcDbArc(p.centre, p.radius, p.startAngle, p.startAngle + p.sweep);
                break;
            case vorn::db::GiPrimitive::kText: {
                auto* t = new AcDbText(p.text.position, p.text.text.c_str(), AcDbObjectId(), p.text.height,
                                       p.text.rotation);
                t->setWidthFactor(p.text.widthFactor);
                t->setOblique(p.text.oblique);
                if (p.text.horizontalMode != 0 || p.text.verticalMode != 0) {
                    t->setHorizontalMode(static_cast<AcDb::TextHorzMode>(p.text.horizontalMode));
                    t->setVerticalMode(static_cast<AcDb::TextVertMode>(p.text.verticalMode));
                    t->setAlignmentPoint(p.text.position);
                }
                made = t;
                break;
            }
        }
        if (!made) continue;
        made->m_layerId = p.layerId.isNull() ? m_layerId : p.layerId;
        made->m_color = p.color;
        made->m_linetype = m_linetype;
        made->m_linetypeScale = m_linetypeScale;
        entitySet.append(made);
    }
    return Acad::eOk;
}

bool AcDbEntity::worldDraw(AcGiWorldDraw*) const { return false; }

namespace {
std::wstring number(double v) {
    std::wostringstream s;
    s.precision(10);
    s << v;
    return s.str();
}
}  // namespace

std::wstring AcDbEntity::listHeader() const {
    std::wstring out = std::wstring(isA()->dxfName()) + L"  Layer: \"" + layer() + L"\"\n";
    out += L"  Handle: " + objectId().handle().toString() + L"\n";
    if (m_color.isByLayer()) out += L"  Color: BYLAYER\n";
    else if (m_color.isByBlock()) out += L"  Color: BYBLOCK\n";
    else if (m_color.isByColor())
        out += L"  Color: " + std::to_wstring(m_color.red()) + L"," + std::to_wstring(m_color.green()) + L"," +
               std::to_wstring(m_color.blue()) + L"\n";
    else out += L"  Color: " + std::to_wstring(m_color.colorIndex()) + L"\n";
    out += L"  Linetype: " + m_linetype + L"\n";
    (void)number;
    return out;
}

std::wstring AcDbEntity::list() const {
    std::wstring out = listHeader();
    AcDbExtents ext;
    if (getGeomExtents(ext) == Acad::eOk)
        out += L"  Extents: (" + number(ext.minPoint().x) + L", " + number(ext.minPoint().y) + L") - (" +
               number(ext.maxPoint().x) + L", " + number(ext.maxPoint().y) + L")\n";
    return out;
}

void AcDbEntity::writeFields(std::vector<AcDbXDataItem>&) const {}

Acad::ErrorStatus AcDbEntity::readFields(const std::vector<AcDbXDataItem>& fields) {
    return fields.empty() ? Acad::eOk : Acad::eInvalidInput;
}

std::wstring AcDbEntity::degeneracy() const {
    AcDbExtents ext;
    return getGeomExtents(ext) == Acad::eOk ? std::wstring() : std::wstring(L"nothing to draw");
}

AcRxObject* AcDbEntity::clone() const {
    // Framework entities are copied through their saved fields.
    AcRxObject* made = isA()->create();
    AcDbEntity* copy = AcDbEntity::cast(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    copy->copyBaseFrom(*this);
    copy->m_layerId = m_layerId;
    copy->m_color = m_color;
    copy->m_linetype = m_linetype;
    copy->m_linetypeScale = m_linetypeScale;
    std::vector<AcDbXDataItem> fields;
    writeFields(fields);
    if (copy->readFields(fields) != Acad::eOk) {
        delete copy;
        return nullptr;
    }
    return copy;
}

bool AcDbEntity::isFiniteObject() const {
    if (!std::isfinite(m_linetypeScale) || !xDataFinite()) return false;
    std::vector<AcDbXDataItem> fields;
    writeFields(fields);
    for (const auto& f : fields)
        if (!f.isFinite()) return false;
    return true;
}

void AcDbEntity::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) { m_layerId = map(m_layerId); }

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, const AcDbObjectId& id, AcDb::OpenMode mode, bool openErased) {
    entity = nullptr;
    AcDbObject* o = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(o, id, mode, openErased);
    if (es != Acad::eOk) return es;
    entity = AcDbEntity::cast(o);
    if (!entity) {
        o->close();
        return Acad::eNotAnEntity;
    }
    return Acad::eOk;
}
