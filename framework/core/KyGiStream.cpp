// The drawing stream: every piece becomes a host entity carrying the owner's layer and colour
// (or the stream's colour), which the sink then draws or keeps.
#include "framework/core/KyGiStream.h"

#include <cmath>

#include "framework/core/KyDbText.h"
#include "host/db/dbblockref.h"
#include "host/db/dbmain.h"
#include "host/db/dbtext.h"
#include "host/db/gi.h"

KyGiBlock::KyGiBlock(const AcGePoint3d& position, const AcDbObjectId& blockId, double rotation, double xScale,
                     double yScale, double zScale)
    : m_position(position), m_blockId(blockId), m_rotation(rotation), m_xScale(xScale), m_yScale(yScale),
      m_zScale(zScale) {}

KyGiStream::KyGiStream(const AcDbEntity* owner, AcDbDatabase* db) : m_owner(owner), m_db(db) {}

KyGiStream::~KyGiStream() = default;

AcDbDatabase* KyGiStream::Database() const {
    if (m_db) return m_db;
    if (m_owner && m_owner->database()) return m_owner->database();
    return acdbHostApplicationServices()->workingDatabase();
}

void KyGiStream::SetColorIndex(int colorIndex) {
    if (colorIndex >= 0 && colorIndex <= 256) m_colorIndex = colorIndex;
}

void KyGiStream::Deliver(AcDbEntity* entity) {
    if (!entity) return;
    if (IsDone()) {
        delete entity;
        return;
    }
    // A piece without a layer of its own lives on the owner's; a ByLayer piece takes the
    // owner's colour; the stream's colour, when set, wins over both.
    if (m_owner) {
        if (entity->layerId().isNull() && !m_owner->layerId().isNull()) entity->setLayer(m_owner->layerId());
        if (entity->color().isByLayer()) entity->setColor(m_owner->color());
        if (entity->linetype() == L"ByLayer") entity->setLinetype(m_owner->linetype().c_str());
    }
    if (m_colorIndex != kColorOfOwner) entity->setColorIndex(static_cast<std::uint16_t>(m_colorIndex));
    Put(entity);
}

KyGiStream& KyGiStream::operator<<(const AcDbEntity& entity) {
    AcDbEntity* copy = AcDbEntity::cast(entity.clone());
    Deliver(copy);
    return *this;
}

KyGiStream& KyGiStream::operator<<(const AcDbEntity* entity) {
    if (entity) *this << *entity;
    return *this;
}

KyGiStream& KyGiStream::operator<<(const KyDbText& text) {
    AcDbText* host = text.AsAcDbText(Database());
    Deliver(host);
    return *this;
}

KyGiStream& KyGiStream::operator<<(const KyGiBlock& block) {
    if (block.m_blockId.isNull()) return *this;
    auto* ref = new AcDbBlockReference(block.m_position, block.m_blockId);
    if (ref->setRotation(block.m_rotation) != Acad::eOk ||
        ref->setScaleFactors(AcGeScale3d(block.m_xScale, block.m_yScale, block.m_zScale)) != Acad::eOk ||
        !ref->isFiniteObject()) {
        delete ref;  // a placement that cannot be drawn is left out rather than drawn wrong
        return *this;
    }
    Deliver(ref);
    return *this;
}

// ---- sinks ----

KyGiDrawStream::KyGiDrawStream(AcGiWorldDraw* draw, const AcDbEntity* owner, AcDbDatabase* db)
    : KyGiStream(owner, db), m_draw(draw) {}

bool KyGiDrawStream::IsDone() const { return m_stop || !m_draw || m_draw->regenAbort(); }

void KyGiDrawStream::Put(AcDbEntity* entity) {
    AcGiSubEntityTraits& traits = m_draw->subEntityTraits();
    const AcCmColor oldColor = traits.trueColor();
    const AcDbObjectId oldLayer = traits.layerId();
    traits.setTrueColor(entity->color());
    if (!entity->layerId().isNull()) traits.setLayer(entity->layerId());
    if (entity->worldDraw(m_draw)) m_stop = true;
    traits.setTrueColor(oldColor);
    traits.setLayer(oldLayer);
    delete entity;
}

KyGiExplodeStream::KyGiExplodeStream(AcDbVoidPtrArray& entities, const AcDbEntity* owner, AcDbDatabase* db)
    : KyGiStream(owner, db), m_entities(entities) {}

void KyGiExplodeStream::Put(AcDbEntity* entity) { m_entities.append(entity); }
