// KyAdsEntSet: a set of entity ids taken from a host selection (the whole drawing, windows,
// fences, or the user's picks), kept in selection order without repeats.
#pragma once

#include <vector>

#include "host/db/dbid.h"
#include "host/ed/adsdefs.h"

class KyAdsEntSet {
public:
    KyAdsEntSet() = default;

    // Replaces the set by a selection: mode "X" the whole drawing, "W" window and "C"
    // crossing between the points p1 and p2 (ads_point, user coordinates), "CP" and "WP"
    // crossing and window polygons with p1 a result buffer list of points (KyUtGetPolyFence),
    // "L" the last entity; null or "" asks the user. Returns the host's code: RTNORM (5100)
    // when something was selected; RTERROR when nothing was (the set is then empty), RTCAN.
    int Get(const wchar_t* mode = nullptr, const void* p1 = nullptr, const void* p2 = nullptr,
            const resbuf* filter = nullptr);

    int GetLength() const { return static_cast<int>(m_ids.size()); }
    bool IsEmpty() const { return m_ids.empty(); }
    // The i-th id; the null id for an index out of range.
    AcDbObjectId operator[](int index) const;
    bool Contains(const AcDbObjectId& id) const;
    int Find(const AcDbObjectId& id) const;

    // Adds ids not yet held (in order); takes ids away.
    KyAdsEntSet& operator+=(const AcDbObjectId& id);
    KyAdsEntSet& operator+=(const KyAdsEntSet& other);
    KyAdsEntSet& operator-=(const AcDbObjectId& id);
    KyAdsEntSet& operator-=(const KyAdsEntSet& other);
    void Reset() { m_ids.clear(); }

    const std::vector<AcDbObjectId>& Ids() const { return m_ids; }
    // A host selection set with the same entities (for acedCommand); the caller frees it with
    // acedSSFree. RTNORM, or RTERROR for an empty set.
    int MakeAdsSet(ads_name ss) const;

    // Fills the set from a host selection set (which stays the caller's).
    void AssignFromAdsSet(const ads_name ss);

private:
    std::vector<AcDbObjectId> m_ids;
};
