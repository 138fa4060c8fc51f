// KyDbBlockReference: a framework block reference drawn and exploded as a host one of its
// drawn block; blocks are saved by name so that a drawing file reads back without handles.
#include "framework/core/KyDbBlockReference.h"

#include <cmath>

#include "framework/core/KyDbUtil.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbblockref.h"
#include "host/db/dbmain.h"

ACRX_DXF_DEFINE_MEMBERS(KyDbBlockReference, KyDbEntity, L"VORN_INSERT")

namespace {
bool Finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

AcDbObjectId Resolve(const AcDbObject* self, const AcDbObjectId& id, const std::wstring& name) {
    if (!id.isNull() || name.empty()) return id;
    AcDbDatabase* db = self->database() ? self->database() : acdbHostApplicationServices()->workingDatabase();
    return db ? db->findBlock(name) : AcDbObjectId::kNull;
}

std::wstring NameOf(const AcDbObjectId& id, const std::wstring& fallback) {
    if (id.isNull() || !id.database()) return fallback;
    const auto* rec = AcDbBlockTableRecord::cast(id.database()->peekObject(id));
    return rec ? rec->name() : fallback;
}
}  // namespace

KyDbBlockReference::KyDbBlockReference(const AcGePoint3d& position, const AcDbObjectId& blockId) {
    SetPosition(position);
    m_idBlock = blockId;
}

AcDbObjectId KyDbBlockReference::GetBlockTableRecord() const { return Resolve(this, m_idBlock, m_strBlockName); }
AcDbObjectId KyDbBlockReference::GetBlockTableRecord2d() const { return Resolve(this, m_idBlock2d, m_strBlock2dName); }

AcDbObjectId KyDbBlockReference::GetDrawnBlock() const {
    AcDbObjectId plan = GetBlockTableRecord2d();
    return plan.isNull() ? GetBlockTableRecord() : plan;
}

Acad::ErrorStatus KyDbBlockReference::SetBlockTableRecord(const AcDbObjectId& blockId) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_idBlock = blockId;
    m_strBlockName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus KyDbBlockReference::SetBlockTableRecord2d(const AcDbObjectId& blockId) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_idBlock2d = blockId;
    m_strBlock2dName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus KyDbBlockReference::SetPosition(const AcGePoint3d& p) {
    if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_ptPosition = p;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbBlockReference::SetRotation(double rotation) {
    if (!std::isfinite(rotation)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dRotation = rotation;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbBlockReference::SetScaleFactors(const AcGeScale3d& s) {
    for (double f : {s.sx, s.sy, s.sz})
        if (!std::isfinite(f) || f == 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_scale = s;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbBlockReference::SetScaleFactors(double x, double y, double z) {
    return SetScaleFactors(AcGeScale3d(x, y, z));
}

AcDbBlockReference* KyDbBlockReference::AsAcDbBlockReference() const {
    AcDbObjectId block = GetDrawnBlock();
    if (block.isNull()) return nullptr;
    auto* ref = new AcDbBlockReference(m_ptPosition, block);
    ref->setPropertiesFrom(this);
    ref->setRotation(m_dRotation);
    ref->setScaleFactors(m_scale);
    return ref;
}

Acad::ErrorStatus KyDbBlockReference::GetGeomExtents2d(AcDbExtents& extents) const {
    AcDbBlockReference* ref = AsAcDbBlockReference();
    if (!ref) return Acad::eInvalidExtents;
    AcDbExtents box;
    Acad::ErrorStatus es = ref->geomExtentsBestFit(box);
    delete ref;
    if (es != Acad::eOk || !box.isValid()) return Acad::eInvalidExtents;
    AcGePoint3d lo = box.minPoint(), hi = box.maxPoint();
    lo.z = hi.z = 0.0;  // the plane box
    extents.set(lo, hi);
    return Acad::eOk;
}

void KyDbBlockReference::OnExplode(KyGiStream& stream) const {
    stream << KyGiBlock(m_ptPosition, GetDrawnBlock(), m_dRotation, m_scale.sx, m_scale.sy, m_scale.sz);
}

Acad::ErrorStatus KyDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    AcDbBlockReference* ref = AsAcDbBlockReference();
    if (!ref) {
        AcGePoint3d p = xform * m_ptPosition;
        if (!Finite(p)) return Acad::eInvalidInput;
        m_ptPosition = p;
        return Acad::eOk;
    }
    Acad::ErrorStatus es = ref->transformBy(xform);
    if (es == Acad::eOk && ref->isFiniteObject()) {
        m_ptPosition = ref->position();
        m_dRotation = ref->rotation();
        m_scale = ref->scaleFactors();
    } else if (es == Acad::eOk) {
        es = Acad::eInvalidInput;
    }
    delete ref;
    return es;
}

void KyDbBlockReference::writeFields(std::vector<AcDbXDataItem>& fields) const {
    fields.push_back(AcDbXDataItem::string(NameOf(GetBlockTableRecord(), m_strBlockName)));
    fields.push_back(AcDbXDataItem::string(NameOf(GetBlockTableRecord2d(), m_strBlock2dName)));
    fields.push_back(AcDbXDataItem::position(m_ptPosition));
    fields.push_back(AcDbXDataItem::number(m_dRotation));
    fields.push_back(AcDbXDataItem::number(m_scale.sx, 1042));
    fields.push_back(AcDbXDataItem::number(m_scale.sy, 1042));
    fields.push_back(AcDbXDataItem::number(m_scale.sz, 1042));
}

Acad::ErrorStatus KyDbBlockReference::readFields(const std::vector<AcDbXDataItem>& f) {
    using K = AcDbXDataItem;
    if (f.size() != 7 || f[0].kind() != K::kString || f[1].kind() != K::kString || f[2].kind() != K::kPoint)
        return Acad::eInvalidInput;
    for (size_t i = 3; i < 7; ++i)
        if (f[i].kind() != K::kReal) return Acad::eInvalidInput;
    for (const auto& item : f)
        if (!item.isFinite()) return Acad::eInvalidInput;
    if (f[4].real == 0.0 || f[5].real == 0.0 || f[6].real == 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_idBlock = m_idBlock2d = AcDbObjectId::kNull;
    m_strBlockName = f[0].str;
    m_strBlock2dName = f[1].str;
    m_ptPosition = f[2].point;
    m_dRotation = f[3].real;
    m_scale = AcGeScale3d(f[4].real, f[5].real, f[6].real);
    return Acad::eOk;
}

std::wstring KyDbBlockReference::list() const {
    std::wstring out = listHeader();
    out += L"  Block: \"" + NameOf(GetBlockTableRecord(), m_strBlockName) + L"\"\n";
    out += L"  Position: (" + DistToString(m_ptPosition.x) + L", " + DistToString(m_ptPosition.y) + L")\n";
    out += L"  Rotation: " + DistToString(m_dRotation) + L"\n";
    return out;
}

std::wstring KyDbBlockReference::degeneracy() const {
    return GetDrawnBlock().isNull() ? L"no block" : KyDbEntity::degeneracy();
}

bool KyDbBlockReference::isFiniteObject() const { return KyDbEntity::isFiniteObject(); }

void KyDbBlockReference::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    KyDbEntity::remapIds(map);
    if (!m_idBlock.isNull()) m_idBlock = map(m_idBlock);
    if (!m_idBlock2d.isNull()) m_idBlock2d = map(m_idBlock2d);
}
