// KyDbEntity: drawing, extents and explode through the entity's own stream output, and the
// shared text settings of KyDbEntWithText.
#include "framework/core/KyDbEntity.h"

#include <cmath>

#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"

ACRX_NO_CONS_DEFINE_MEMBERS(KyDbEntity, AcDbCurve)
ACRX_NO_CONS_DEFINE_MEMBERS(KyDbEntWithText, KyDbEntity)

KyDbEntity::~KyDbEntity() = default;

int KyDbEntity::OnExplodeBegin(KyGiStream&) const { return 0; }
void KyDbEntity::OnExplode(KyGiStream&) const {}
void KyDbEntity::OnExplodeAux(KyGiStream&) const {}

Acad::ErrorStatus KyDbEntity::SetLayoutAngle(double angle) {
    if (!std::isfinite(angle)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dLayoutAngle = angle;
    return Acad::eOk;
}

void KyDbEntity::Explode(KyGiStream& stream) const {
    if (OnExplodeBegin(stream) != 0) return;
    OnExplode(stream);
    if (!stream.IsDone()) OnExplodeAux(stream);
}

bool KyDbEntity::worldDraw(AcGiWorldDraw* draw) const {
    if (!draw) return false;
    KyGiDrawStream stream(draw, this);
    Explode(stream);
    return stream.IsDone();
}

Acad::ErrorStatus KyDbEntity::getGeomExtents(AcDbExtents& extents) const {
    vorn::db::GiCollector collector;
    worldDraw(&collector);
    AcDbExtents box = collector.extents();
    if (!box.isValid()) return Acad::eInvalidExtents;
    extents = box;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbEntity::explode(AcDbVoidPtrArray& entitySet) const {
    KyGiExplodeStream stream(entitySet, this);
    Explode(stream);
    return Acad::eOk;
}

// ---- KyDbEntWithText ----

namespace {
AcDbDatabase* DatabaseOf(const AcDbObject* object) {
    return object->database() ? object->database() : acdbHostApplicationServices()->workingDatabase();
}
}  // namespace

AcDbObjectId KyDbEntWithText::GetTextStyle() const {
    if (!m_idTextStyle.isNull() || m_strTextStyleName.empty()) return m_idTextStyle;
    AcDbDatabase* db = DatabaseOf(this);
    return db ? db->findTextStyle(m_strTextStyleName) : AcDbObjectId::kNull;
}

Acad::ErrorStatus KyDbEntWithText::SetTextStyle(const AcDbObjectId& style) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_idTextStyle = style;
    m_strTextStyleName.clear();
    return Acad::eOk;
}

Acad::ErrorStatus KyDbEntWithText::SetTextColor(int colorIndex) {
    if (colorIndex < 0 || colorIndex > 256) return Acad::eOutOfRange;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_nTextColor = colorIndex;
    return Acad::eOk;
}

Acad::ErrorStatus KyDbEntWithText::SetTextHeight(double height) {
    if (!std::isfinite(height) || height <= 0.0) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_dTextHeight = height;
    return Acad::eOk;
}

void KyDbEntWithText::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>& map) {
    KyDbEntity::remapIds(map);
    if (!m_idTextStyle.isNull()) m_idTextStyle = map(m_idTextStyle);
}

std::wstring KyDbEntWithText::TextStyleName() const {
    AcDbObjectId id = GetTextStyle();
    if (id.isNull()) return m_strTextStyleName;
    const AcDbObject* rec = id.database() ? id.database()->peekObject(id) : nullptr;
    const auto* style = AcDbTextStyleTableRecord::cast(rec);
    return style ? style->name() : m_strTextStyleName;
}

void KyDbEntWithText::SetTextStyleName(const std::wstring& name) {
    m_idTextStyle = AcDbObjectId::kNull;
    // Only the name is kept: the entity may be read for a drawing other than the working
    // one, and the style is found in whichever drawing the entity ends up in.
    m_strTextStyleName = name;
}
