// VornEdJig: result codes of a drag and point sampling that skips unchanged cursor places.
#include "framework/jig/VornEdJig.h"

#include "host/ed/aced.h"

VornEdJig::~VornEdJig() = default;

int VornEdJig::ToResultCode(DragStatus status) {
    switch (status) {
    case kNormal: return RTNORM;
    case kNull: return RTNONE;
    case kCancel: return RTCAN;
    default: return status >= kKW1 || status == kOther ? RTKWORD : RTCAN;
    }
}

int VornEdJig::DragForResult(const wchar_t* keywords) {
    if (keywords) {
        acedInitGet(0, keywords);
        setKeywordList(keywords);
    }
    return ToResultCode(drag());
}

AcEdJig::DragStatus VornEdJig::AcquirePointOnce(AcGePoint3d& point) {
    DragStatus st = acquirePoint(point);
    if (st != kNormal) return st;
    if (m_bHaveLast && point.isEqualTo(m_ptLast)) return kNoChange;
    m_ptLast = point;
    m_bHaveLast = true;
    return kNormal;
}

AcEdJig::DragStatus VornEdJig::AcquirePointOnce(AcGePoint3d& point, const AcGePoint3d& base) {
    DragStatus st = acquirePoint(point, base);
    if (st != kNormal) return st;
    if (m_bHaveLast && point.isEqualTo(m_ptLast)) return kNoChange;
    m_ptLast = point;
    m_bHaveLast = true;
    return kNormal;
}
