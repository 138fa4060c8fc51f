// Run-time kinds and the behaviour every curve shares through its virtual calls.
#include "geometry/KyGeObject.h"

#include <algorithm>
#include <cmath>


const KyGeClassInfo KyGeObject::s_classInfo = {"KyGeObject", nullptr};
const KyGeClassInfo KyGeObject2d::s_classInfo = {"KyGeObject2d", &KyGeObject::s_classInfo};
const KyGeClassInfo KyGePoint2d::s_classInfo = {"KyGePoint2d", &KyGeObject2d::s_classInfo};
const KyGeClassInfo KyGeCurve2d::s_classInfo = {"KyGeCurve2d", &KyGeObject2d::s_classInfo};

bool KyGeObject::IsClassOf(const KyGeClassInfo& info) const {
    for (const KyGeClassInfo* c = GetClassInfo(); c; c = c->parent)
        if (c == &info) return true;
    return false;
}

bool KyGePoint2d::TransformBy(const KyGeMatrix& matrix) {
    m_pt = matrix.Transform(m_pt);
    return true;
}

KyGePoint KyGeCurve2d::GetMidPoint() const { return GetPtFromPa(0.5); }

double KyGeCurve2d::GetDistFromPt(const KyGePoint& p) const { return GetPaFromPt(p) * Length(); }

bool KyGeCurve2d::Offset(double d) {
    std::unique_ptr<KyGeCurve2d> moved = GetOffsetCurve(d);
    if (!moved) return false;
    return AssignFrom(*moved);
}

bool KyGeCurve2d::IsInclude(const KyGePoint& p) const { return (HitTest(p) & kKyGeHitOn) != 0; }

bool KyGeCurve2d::IsInclude(const KyGeCurve2d& other) const {
    if (!other.IsBounded()) {
        // An unbounded curve lies on another only when that one is the same unbounded curve.
        if (IsBounded()) return false;
        std::unique_ptr<KyGeCurve2d> piece = other.GetSubCurve(0.0, 0.5);
        if (!piece) return false;
        return IsInclude(*piece) && IsInclude(other.GetPtFromPa(0.75));
    }
    for (double t : {0.0, 0.25, 0.5, 0.75, 1.0})
        if (!IsInclude(other.GetPtFromPa(t))) return false;
    return true;
}
