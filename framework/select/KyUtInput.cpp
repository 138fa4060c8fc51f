// Point input, polygon fences and releasing arrays of new entities.
#include "framework/select/KyUtInput.h"

#include "framework/select/KyAdsRBList.h"
#include "host/db/dbentity.h"
#include "host/ed/aced.h"

int KyUtGetPoint(const AcGePoint3d* base, const wchar_t* prompt, AcGePoint3d& out) {
    ads_point b, p;
    if (base) {
        b[0] = base->x;
        b[1] = base->y;
        b[2] = base->z;
    }
    int rc = acedGetPoint(base ? b : nullptr, prompt, p);
    if (rc == RTNORM) out = AcGePoint3d(p[0], p[1], p[2]);
    return rc;
}

KyAdsRBList KyUtGetPolyFence(const std::vector<AcGePoint3d>& outline, int) {
    std::vector<AcGePoint3d> pts = outline;
    if (pts.size() > 1 && pts.front().isEqualTo(pts.back())) pts.pop_back();
    KyAdsRBList list;
    for (const auto& p : pts) {
        const ads_real v[3] = {p.x, p.y, p.z};
        list.Append(KyAdsRBList(acutBuildList(RT3DPOINT, v, 0)).Get());
    }
    return list;
}

void ReleaseEntSet(AcDbVoidPtrArray& entities) {
    for (void* p : entities) delete static_cast<AcDbEntity*>(p);
    entities.removeAll();
}
