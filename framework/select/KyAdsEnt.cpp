// KyAdsEnt: one entity by pick or by id.
#include "framework/select/KyAdsEnt.h"

#include <unordered_set>

#include "host/db/dbentity.h"
#include "host/ed/selection.h"

namespace {
std::unordered_set<AcDbObjectId>& Highlighted() {
    static std::unordered_set<AcDbObjectId> set;
    return set;
}
}  // namespace

KyAdsEnt::KyAdsEnt(const ads_name name) { acdbGetObjectId(m_id, name); }

int KyAdsEnt::Select(const wchar_t* prompt, const resbuf* filter) {
    ads_name name;
    ads_point pt;
    int rc = vorn::ed::SelectEntity(prompt, filter, name, pt);
    if (rc != RTNORM) return rc;
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk) return RTERROR;
    m_id = id;
    m_ptPick = AcGePoint3d(pt[0], pt[1], pt[2]);
    return RTNORM;
}

AcDbEntity* KyAdsEnt::Open(AcDb::OpenMode mode) const {
    AcDbEntity* entity = nullptr;
    if (m_id.isNull() || acdbOpenAcDbEntity(entity, m_id, mode) != Acad::eOk) return nullptr;
    return entity;
}

int KyAdsEnt::GetAdsName(ads_name name) const {
    if (m_id.isNull()) return RTERROR;
    return acdbGetAdsName(name, m_id) == Acad::eOk ? RTNORM : RTERROR;
}

// The host keeps no highlight of its own: the set is what a picture or a list may show.
int KyAdsEnt::Redraw(int mode) const {
    if (m_id.isNull()) return RTERROR;
    if (mode == 3) Highlighted().insert(m_id);
    else if (mode == 4) Highlighted().erase(m_id);
    else return RTREJ;
    return RTNORM;
}

bool KyAdsEnt::IsHighlighted(const AcDbObjectId& id) { return Highlighted().count(id) != 0; }
