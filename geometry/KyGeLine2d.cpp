// Straight curves: the unbounded line and the segment.
#include "geometry/KyGeLine2d.h"

#include <algorithm>
#include <cmath>

#include "geometry/KyGePolyline2d.h"

const KyGeClassInfo KyGeBaseLine2d::s_classInfo = {"KyGeBaseLine2d", &KyGeCurve2d::s_classInfo};
const KyGeClassInfo KyGeLine2d::s_classInfo = {"KyGeLine2d", &KyGeBaseLine2d::s_classInfo};
const KyGeClassInfo KyGeLineSeg2d::s_classInfo = {"KyGeLineSeg2d", &KyGeBaseLine2d::s_classInfo};

// ---- shared straight-curve behaviour ----

KyGeVector2d KyGeBaseLine2d::GetDirection() const { return KyGeVector2d(m_p1, m_p2).Normal(); }

bool KyGeBaseLine2d::IsParallelWith(const KyGeBaseLine2d& other, double angTol) const {
    if (IsDegenerate() || other.IsDegenerate()) return false;
    return GetDirection().IsParallelWith(other.GetDirection(), angTol);
}

double KyGeBaseLine2d::RawParam(const KyGePoint& p) const {
    const KyGeVector2d d(m_p1, m_p2);
    const double len2 = d.Dot(d);
    if (!(len2 > 0.0)) return 0.0;
    return KyGeVector2d(m_p1, p).Dot(d) / len2;
}

KyGePoint KyGeBaseLine2d::GetFoot(const KyGePoint& p) const {
    const double t = RawParam(p);
    return m_p1 + KyGeVector2d(m_p1, m_p2) * t;
}

KyGePoint KyGeBaseLine2d::GetPtFromPa(double t) const {
    if (!std::isfinite(t)) t = 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return m_p1 + KyGeVector2d(m_p1, m_p2) * t;
}

KyGeVector2d KyGeBaseLine2d::GetTangent(double) const { return GetDirection(); }

int KyGeBaseLine2d::HitTest(const KyGePoint& p) const {
    if (IsDegenerate()) return Distance2d(p, m_p1) <= g_distZero ? kKyGeHitOn : 0;
    KyGePoint nearest;
    if (IsBounded()) {
        nearest = m_p1 + KyGeVector2d(m_p1, m_p2) * std::clamp(RawParam(p), 0.0, 1.0);
    } else {
        nearest = GetFoot(p);
    }
    if (Distance2d(p, nearest) <= g_distZero) return kKyGeHitOn;
    return Orient2d(m_p1, m_p2, p) > 0 ? kKyGeHitLeft : 0;
}

bool KyGeBaseLine2d::OffsetShift(double d, KyGeVector2d& shift) const {
    if (IsDegenerate() || !std::isfinite(d) || std::fabs(d) > g_maxGeomSize) return false;
    const KyGeVector2d dir = GetDirection();
    shift = KyGeVector2d(dir.y, -dir.x) * d;  // to the right of travel for d > 0
    return true;
}

void KyGeBaseLine2d::Reverse() { std::swap(m_p1, m_p2); }

bool KyGeBaseLine2d::TransformBy(const KyGeMatrix& matrix) {
    m_p1 = matrix.Transform(m_p1);
    m_p2 = matrix.Transform(m_p2);
    return true;
}

std::unique_ptr<KyGeCurve2d> KyGeBaseLine2d::GetExtendCurve() const {
    if (IsDegenerate()) return nullptr;
    return std::make_unique<KyGeLine2d>(m_p1, m_p2);
}

bool KyGeBaseLine2d::Conbine(const KyGeCurve2d& other, bool bFillGap) {
    const KyGeBaseLine2d* o = KyGeCast<KyGeBaseLine2d>(&other);
    if (!o || IsDegenerate() || o->IsDegenerate()) return false;
    const KyGeLine2d support(*this);
    if (Distance2d(support.GetFoot(o->m_p1), o->m_p1) > g_distZero ||
        Distance2d(support.GetFoot(o->m_p2), o->m_p2) > g_distZero)
        return false;
    if (!IsBounded()) return true;  // already the whole line
    if (!o->IsBounded()) return false;
    const double tol = g_distZero / Length();
    const double ta = RawParam(o->m_p1), tb = RawParam(o->m_p2);
    const double lo = std::min(ta, tb), hi = std::max(ta, tb);
    if (!bFillGap && (lo > 1.0 + tol || hi < -tol)) return false;
    const KyGePoint first = m_p1;
    const KyGeVector2d d(m_p1, m_p2);
    if (hi > 1.0) m_p2 = first + d * hi;
    if (lo < 0.0) m_p1 = first + d * lo;
    return true;
}

// ---- unbounded line ----

KyGeLine2d KyGeLine2d::FromPointDir(const KyGePoint& p, const KyGeVector2d& dir) {
    return KyGeLine2d(p, p + dir.Normal());
}

KyGePoint KyGeLine2d::GetPtFromPa(double t) const {
    if (!std::isfinite(t)) t = 0.0;
    return m_p1 + KyGeVector2d(m_p1, m_p2) * t;
}

KyGePoint KyGeLine2d::GetPtFromDist(double d) const {
    if (!std::isfinite(d)) d = 0.0;
    return m_p1 + GetDirection() * d;
}

double KyGeLine2d::GetDistFromPt(const KyGePoint& p) const { return KyGeVector2d(m_p1, p).Dot(GetDirection()); }

bool KyGeLine2d::GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const {
    if (IsDegenerate()) {
        out = m_p1;
        return false;
    }
    out = GetFoot(p);
    return true;
}

std::unique_ptr<KyGeCurve2d> KyGeLine2d::GetOffsetCurve(double d) const {
    KyGeVector2d shift;
    if (!OffsetShift(d, shift)) return nullptr;
    return std::make_unique<KyGeLine2d>(m_p1 + shift, m_p2 + shift);
}

std::unique_ptr<KyGeCurve2d> KyGeLine2d::GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const {
    if (IsDegenerate()) return nullptr;
    const KyGePoint f1 = GetFoot(p1), f2 = GetFoot(p2);
    if (Distance2d(f1, f2) <= g_distZero) return nullptr;
    return std::make_unique<KyGeLineSeg2d>(f1, f2);
}

std::unique_ptr<KyGeCurve2d> KyGeLine2d::GetSubCurve(double pa1, double pa2) const {
    if (IsDegenerate() || !std::isfinite(pa1) || !std::isfinite(pa2)) return nullptr;
    return GetSubCurve(GetPtFromPa(pa1), GetPtFromPa(pa2));
}

bool KyGeLine2d::AssignFrom(const KyGeCurve2d& other) {
    if (other.GetClassInfo() != &s_classInfo) return false;
    *this = static_cast<const KyGeLine2d&>(other);
    return true;
}

// ---- segment ----

double KyGeLineSeg2d::GetPaFromPt(const KyGePoint& p) const { return std::clamp(RawParam(p), 0.0, 1.0); }

KyGePoint KyGeLineSeg2d::GetPtFromDist(double d) const {
    if (!std::isfinite(d)) d = 0.0;
    d = std::clamp(d, 0.0, Length());
    return m_p1 + GetDirection() * d;
}

bool KyGeLineSeg2d::GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const {
    if (IsDegenerate()) {
        out = m_p1;
        return false;
    }
    const double t = RawParam(p);
    const double tol = g_distZero / Length();
    out = m_p1 + KyGeVector2d(m_p1, m_p2) * std::clamp(t, 0.0, 1.0);
    return t >= -tol && t <= 1.0 + tol;
}

std::unique_ptr<KyGeCurve2d> KyGeLineSeg2d::GetOffsetCurve(double d) const {
    KyGeVector2d shift;
    if (!OffsetShift(d, shift)) return nullptr;
    return std::make_unique<KyGeLineSeg2d>(m_p1 + shift, m_p2 + shift);
}

std::unique_ptr<KyGeCurve2d> KyGeLineSeg2d::GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const {
    if (IsDegenerate()) return nullptr;
    KyGePoint f1, f2;
    if (!GetClosestPoint2d(p1, f1) || !GetClosestPoint2d(p2, f2)) return nullptr;
    if (Distance2d(f1, f2) <= g_distZero) return nullptr;
    return std::make_unique<KyGeLineSeg2d>(f1, f2);
}

std::unique_ptr<KyGeCurve2d> KyGeLineSeg2d::GetSubCurve(double pa1, double pa2) const {
    if (IsDegenerate() || !std::isfinite(pa1) || !std::isfinite(pa2)) return nullptr;
    if (pa1 < -g_fZero || pa1 > 1.0 + g_fZero || pa2 < -g_fZero || pa2 > 1.0 + g_fZero) return nullptr;
    const KyGePoint f1 = GetPtFromPa(pa1), f2 = GetPtFromPa(pa2);
    if (Distance2d(f1, f2) <= g_distZero) return nullptr;
    return std::make_unique<KyGeLineSeg2d>(f1, f2);
}

std::unique_ptr<KyGePolyline2d> KyGeLineSeg2d::PLinearize(double) const {
    if (IsDegenerate()) return nullptr;
    auto pl = std::make_unique<KyGePolyline2d>();
    pl->AppendVertex(m_p1);
    pl->AppendVertex(m_p2);
    return pl;
}

bool KyGeLineSeg2d::AssignFrom(const KyGeCurve2d& other) {
    if (other.GetClassInfo() != &s_classInfo) return false;
    *this = static_cast<const KyGeLineSeg2d&>(other);
    return true;
}
