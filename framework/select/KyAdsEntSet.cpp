// KyAdsEntSet: selection results kept as ids.
#include "framework/select/KyAdsEntSet.h"

#include <algorithm>

#include "host/db/acadstrg.h"
#include "host/ed/selection.h"

int KyAdsEntSet::Get(const wchar_t* mode, const void* p1, const void* p2, const resbuf* filter) {
    m_ids.clear();
    ads_name ss;
    int rc = acedSSGet(mode, p1, p2, filter, ss);
    if (rc != RTNORM) return rc;
    AssignFromAdsSet(ss);
    acedSSFree(ss);
    return m_ids.empty() ? RTERROR : RTNORM;
}

void KyAdsEntSet::AssignFromAdsSet(const ads_name ss) {
    m_ids.clear();
    std::int32_t n = 0;
    if (acedSSLength(ss, &n) != RTNORM) return;
    for (std::int32_t i = 0; i < n; ++i) {
        ads_name e;
        AcDbObjectId id;
        if (acedSSName(ss, i, e) == RTNORM && acdbGetObjectId(id, e) == Acad::eOk) *this += id;
    }
}

AcDbObjectId KyAdsEntSet::operator[](int index) const {
    if (index < 0 || index >= GetLength()) return AcDbObjectId::kNull;
    return m_ids[static_cast<size_t>(index)];
}

int KyAdsEntSet::Find(const AcDbObjectId& id) const {
    auto it = std::find(m_ids.begin(), m_ids.end(), id);
    return it == m_ids.end() ? -1 : static_cast<int>(it - m_ids.begin());
}

bool KyAdsEntSet::Contains(const AcDbObjectId& id) const { return Find(id) >= 0; }

KyAdsEntSet& KyAdsEntSet::operator+=(const AcDbObjectId& id) {
    if (!id.isNull() && !Contains(id)) m_ids.push_back(id);
    return *this;
}

KyAdsEntSet& KyAdsEntSet::operator+=(const KyAdsEntSet& other) {
    if (&other == this) return *this;
    for (const auto& id : other.m_ids) *this += id;
    return *this;
}

KyAdsEntSet& KyAdsEntSet::operator-=(const AcDbObjectId& id) {
    m_ids.erase(std::remove(m_ids.begin(), m_ids.end(), id), m_ids.end());
    return *this;
}

KyAdsEntSet& KyAdsEntSet::operator-=(const KyAdsEntSet& other) {
    if (&other == this) {
        m_ids.clear();
        return *this;
    }
    for (const auto& id : other.m_ids) *this -= id;
    return *this;
}

int KyAdsEntSet::MakeAdsSet(ads_name ss) const {
    if (m_ids.empty()) return RTERROR;
    bool made = false;
    for (const auto& id : m_ids) {
        ads_name e;
        if (acdbGetAdsName(e, id) != Acad::eOk) continue;
        if (!made) {
            if (acedSSAdd(e, nullptr, ss) != RTNORM) return RTERROR;
            made = true;
        } else {
            acedSSAdd(e, ss, ss);
        }
    }
    return made ? RTNORM : RTERROR;
}
