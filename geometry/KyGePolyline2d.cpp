// Polylines with bulges: vertex editing, measures along the chain, hit tests of outlines,
// offsets, sub-curves and joins; and the vertex chain built on them.
#include "geometry/KyGePolyline2d.h"

#include <algorithm>
#include <cmath>

#include "geometry/KyGeArc2d.h"
#include "geometry/KyGeIntersect.h"
#include "geometry/KyGeLine2d.h"

const KyGeClassInfo KyGePolyline2d::s_classInfo = {"KyGePolyline2d", &KyGeCurve2d::s_classInfo};
const KyGeClassInfo KyGeMLine2d::s_classInfo = {"KyGeMLine2d", &KyGePolyline2d::s_classInfo};

namespace {
bool Finite(const KyGePoint& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

// ---- vertex editing ----

void KyGePolyline2d::CopyFrom(const KyGePolyline2d& other) {
    m_pts = other.m_pts;
    m_bulges = other.m_bulges;
    m_closed = other.m_closed;
}

bool KyGePolyline2d::AppendVertex(const KyGePoint& p, double bulge) { return InsertVertex(GetVertexNum(), p, bulge); }

bool KyGePolyline2d::InsertVertex(int index, const KyGePoint& p, double bulge) {
    if (index < 0 || index > GetVertexNum() || !Finite(p) || !std::isfinite(bulge)) return false;
    m_pts.insert(m_pts.begin() + index, p);
    m_bulges.insert(m_bulges.begin() + index, bulge);
    return true;
}

bool KyGePolyline2d::DelVertex(int index) {
    if (index < 0 || index >= GetVertexNum()) return false;
    m_pts.erase(m_pts.begin() + index);
    m_bulges.erase(m_bulges.begin() + index);
    return true;
}

bool KyGePolyline2d::SetVertex(int index, const KyGePoint& p) {
    if (index < 0 || index >= GetVertexNum() || !Finite(p)) return false;
    m_pts[static_cast<size_t>(index)] = p;
    return true;
}

bool KyGePolyline2d::SetBulge(int index, double bulge) {
    if (index < 0 || index >= GetVertexNum() || !std::isfinite(bulge)) return false;
    m_bulges[static_cast<size_t>(index)] = bulge;
    return true;
}

void KyGePolyline2d::Reset() {
    m_pts.clear();
    m_bulges.clear();
    m_closed = false;
}

KyGePoint KyGePolyline2d::GetVertex(int index) const {
    if (index < 0 || index >= GetVertexNum()) return KyGePoint();
    return m_pts[static_cast<size_t>(index)];
}

double KyGePolyline2d::GetBulge(int index) const {
    if (index < 0 || index >= GetVertexNum()) return 0.0;
    return m_bulges[static_cast<size_t>(index)];
}

int KyGePolyline2d::GetSegNum() const {
    const int n = GetVertexNum();
    if (n < 2) return 0;
    return m_closed ? n : n - 1;
}

bool KyGePolyline2d::IsArcSeg(int index) const {
    return index >= 0 && index < GetSegNum() && std::fabs(GetBulge(index)) > g_fZero;
}

std::unique_ptr<KyGeCurve2d> KyGePolyline2d::GetSegment(int index) const {
    if (index < 0 || index >= GetSegNum()) return nullptr;
    const KyGePoint& a = m_pts[static_cast<size_t>(index)];
    const KyGePoint& b = m_pts[static_cast<size_t>((index + 1) % GetVertexNum())];
    if (Distance2d(a, b) <= g_distZero) return nullptr;
    if (IsArcSeg(index)) return KyGeArc2d::CreateFromBulge(a, b, GetBulge(index));
    return std::make_unique<KyGeLineSeg2d>(a, b);
}

int KyGePolyline2d::RemoveDupPoint() {
    int removed = 0;
    for (int i = 1; i < GetVertexNum();) {
        if (Distance2d(m_pts[static_cast<size_t>(i)], m_pts[static_cast<size_t>(i - 1)]) <= g_distZero) {
            // The zero-length segment goes; the kept vertex takes the next segment's bulge.
            m_bulges[static_cast<size_t>(i - 1)] = m_bulges[static_cast<size_t>(i)];
            DelVertex(i);
            ++removed;
        } else {
            ++i;
        }
    }
    if (m_closed && GetVertexNum() > 1 && Distance2d(m_pts.back(), m_pts.front()) <= g_distZero) {
        DelVertex(GetVertexNum() - 1);
        ++removed;
    }
    return removed;
}

double KyGePolyline2d::GetArea() const {
    const int n = GetVertexNum();
    if (n < 2) return 0.0;
    const KyGePoint o = m_pts[0];
    double area = 0.0;
    for (int i = 0; i < n; ++i) {
        const KyGePoint& a = m_pts[static_cast<size_t>(i)];
        const KyGePoint& b = m_pts[static_cast<size_t>((i + 1) % n)];
        area += ((a.x - o.x) * (b.y - o.y) - (b.x - o.x) * (a.y - o.y)) * 0.5;
    }
    for (int i = 0; i < GetSegNum(); ++i) {
        if (!IsArcSeg(i)) continue;
        auto arc = GetSegment(i);
        const KyGeArc2d* a = KyGeCast<KyGeArc2d>(arc.get());
        if (!a) continue;
        const double cap = a->GetRadius() * a->GetRadius() * 0.5 * (a->GetSweep() - std::sin(a->GetSweep()));
        area += GetBulge(i) > 0.0 ? cap : -cap;
    }
    return area;
}

// ---- measures along the chain ----

KyGePoint KyGePolyline2d::GetStartPoint() const { return m_pts.empty() ? KyGePoint() : m_pts.front(); }
KyGePoint KyGePolyline2d::GetEndPoint() const {
    if (m_pts.empty()) return KyGePoint();
    return m_closed ? m_pts.front() : m_pts.back();
}

double KyGePolyline2d::Length() const {
    double len = 0.0;
    for (int i = 0; i < GetSegNum(); ++i)
        if (auto s = GetSegment(i)) len += s->Length();
    return len;
}

int KyGePolyline2d::SegmentAtDist(double d, double& into) const {
    int last = -1;
    double lastLen = 0.0;
    for (int i = 0; i < GetSegNum(); ++i) {
        auto s = GetSegment(i);
        if (!s) continue;
        const double len = s->Length();
        if (d <= len) {
            into = std::max(0.0, d);
            return i;
        }
        d -= len;
        last = i;
        lastLen = len;
    }
    into = lastLen;
    return last;
}

KyGePoint KyGePolyline2d::GetPtFromDist(double d) const {
    if (!std::isfinite(d)) d = 0.0;
    double into = 0.0;
    const int i = SegmentAtDist(std::clamp(d, 0.0, Length()), into);
    if (i < 0) return GetStartPoint();
    return GetSegment(i)->GetPtFromDist(into);
}

KyGePoint KyGePolyline2d::GetPtFromPa(double t) const {
    if (!std::isfinite(t)) t = 0.0;
    return GetPtFromDist(std::clamp(t, 0.0, 1.0) * Length());
}

KyGeVector2d KyGePolyline2d::GetTangent(double t) const {
    if (!std::isfinite(t)) t = 0.0;
    double into = 0.0;
    const int i = SegmentAtDist(std::clamp(t, 0.0, 1.0) * Length(), into);
    if (i < 0) return KyGeVector2d();
    auto s = GetSegment(i);
    return s->GetTangent(into / s->Length());
}

namespace {

struct Nearest {
    int seg = -1;
    KyGePoint point;
    double dist = 0.0;
    bool foot = false;
};

Nearest FindNearest(const KyGePolyline2d& pl, const KyGePoint& p) {
    Nearest best;
    for (int i = 0; i < pl.GetSegNum(); ++i) {
        auto s = pl.GetSegment(i);
        if (!s) continue;
        KyGePoint q;
        const bool foot = s->GetClosestPoint2d(p, q);
        const double d = Distance2d(p, q);
        // A foot inside a segment wins over an equally near end of another.
        if (best.seg < 0 || d < best.dist - g_distZero || (d <= best.dist + g_distZero && foot && !best.foot)) {
            best.seg = i;
            best.point = q;
            best.dist = d;
            best.foot = foot;
        }
    }
    return best;
}

}  // namespace

double KyGePolyline2d::GetDistFromPt(const KyGePoint& p) const {
    const Nearest n = FindNearest(*this, p);
    if (n.seg < 0) return 0.0;
    double before = 0.0;
    for (int i = 0; i < n.seg; ++i)
        if (auto s = GetSegment(i)) before += s->Length();
    return before + GetSegment(n.seg)->GetDistFromPt(n.point);
}

double KyGePolyline2d::GetPaFromPt(const KyGePoint& p) const {
    const double len = Length();
    return len > 0.0 ? std::clamp(GetDistFromPt(p) / len, 0.0, 1.0) : 0.0;
}

bool KyGePolyline2d::GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const {
    const Nearest n = FindNearest(*this, p);
    if (n.seg < 0) {
        out = GetStartPoint();
        return false;
    }
    out = n.point;
    if (n.foot) return true;
    // Beyond a vertex between two segments the corner itself is the foot; only an open end fails.
    if (m_closed) return true;
    return Distance2d(out, GetStartPoint()) > g_distZero && Distance2d(out, GetEndPoint()) > g_distZero;
}

// ---- hit tests ----

int KyGePolyline2d::HitTest(const KyGePoint& p) const {
    const Nearest n = FindNearest(*this, p);
    if (n.seg < 0) return 0;
    if (n.dist <= g_distZero) return kKyGeHitOn;
    if (!m_closed) return GetSegment(n.seg)->HitTest(p) & ~kKyGeHitOn;
    // Even-odd rule on the chord polygon, each arc's cap between chord and arc toggling it.
    bool inside = false;
    const int cnt = GetVertexNum();
    for (int i = 0; i < cnt; ++i) {
        const KyGePoint& a = m_pts[static_cast<size_t>(i)];
        const KyGePoint& b = m_pts[static_cast<size_t>((i + 1) % cnt)];
        if ((a.y > p.y) != (b.y > p.y)) {
            // Which side of the edge, oriented upwards, the point lies on decides a crossing.
            const int o = a.y < b.y ? Orient2d(a, b, p) : Orient2d(b, a, p);
            if (o > 0) inside = !inside;
        }
        if (!IsArcSeg(i)) continue;
        auto seg = GetSegment(i);
        const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(seg.get());
        if (!arc) continue;
        const int side = Orient2d(a, b, p);
        const int arcSide = GetBulge(i) > 0.0 ? -1 : 1;
        if (side == arcSide && Distance2d(p, arc->GetCenter()) < arc->GetRadius()) inside = !inside;
    }
    return inside ? kKyGeHitInside : 0;
}

bool KyGePolyline2d::IsInclude(const KyGeCurve2d& other) const {
    if (!KyGeCurve2d::IsInclude(other)) return false;
    if (const KyGePolyline2d* o = KyGeCast<KyGePolyline2d>(&other)) {
        for (int i = 0; i < o->GetSegNum(); ++i) {
            auto s = o->GetSegment(i);
            if (s && (!KyGeCurve2d::IsInclude(s->GetStartPoint()) || !KyGeCurve2d::IsInclude(s->GetMidPoint())))
                return false;
        }
    }
    return true;
}

// ---- new curves ----

namespace {

// The bulge of the piece of `arc`'s circle from p to q in the arc's sense.
double BulgeAlong(const KyGeArc2d& arc, const KyGePoint& p, const KyGePoint& q) {
    const KyGePoint c = arc.GetCenter();
    double sweep = GetStdAngle(std::atan2(q.y - c.y, q.x - c.x) - std::atan2(p.y - c.y, p.x - c.x));
    if (arc.IsClockwise()) sweep = GetStdAngle(-sweep);
    const double b = std::tan(sweep / 4.0);
    return arc.IsClockwise() ? -b : b;
}

}  // namespace

std::unique_ptr<KyGeCurve2d> KyGePolyline2d::GetOffsetCurve(double d) const {
    if (!std::isfinite(d)) return nullptr;
    std::vector<std::unique_ptr<KyGeCurve2d>> segs;
    for (int i = 0; i < GetSegNum(); ++i) {
        auto s = GetSegment(i);
        if (!s) continue;
        auto o = s->GetOffsetCurve(d);
        if (!o) return nullptr;
        segs.push_back(std::move(o));
    }
    if (segs.empty()) return nullptr;
    const size_t n = segs.size();
    // Join point between piece k-1 and piece k: where their supports cross nearest the gap.
    std::vector<KyGePoint> joins(n + 1);
    joins[0] = segs[0]->GetStartPoint();
    joins[n] = segs[n - 1]->GetEndPoint();
    auto join = [&](const KyGeCurve2d& a, const KyGeCurve2d& b) {
        const KyGePoint ea = a.GetEndPoint(), sb = b.GetStartPoint();
        if (Distance2d(ea, sb) <= g_distZero) return ea;
        auto xa = a.GetExtendCurve();
        auto xb = b.GetExtendCurve();
        const KyGePoint mid = MidPoint(ea, sb);
        KyGePoint best = mid;
        double bestD = -1.0;
        if (xa && xb)
            for (const KyGePoint& p : KyGeIntersectPoints(*xa, *xb))
                if (bestD < 0.0 || Distance2d(p, mid) < bestD) {
                    best = p;
                    bestD = Distance2d(p, mid);
                }
        return best;
    };
    for (size_t k = 1; k < n; ++k) joins[k] = join(*segs[k - 1], *segs[k]);
    if (m_closed && n > 1) {
        joins[0] = join(*segs[n - 1], *segs[0]);
        joins[n] = joins[0];
    }
    auto out = std::make_unique<KyGePolyline2d>();
    for (size_t k = 0; k < n; ++k) {
        const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(segs[k].get());
        const double bulge = arc ? BulgeAlong(*arc, joins[k], joins[k + 1]) : 0.0;
        // A piece that turned back on itself (past its neighbour's join) makes the offset fail.
        if (arc && std::fabs(bulge) > 1.0 + g_fZero && std::fabs(arc->GetBulge()) <= 1.0) return nullptr;
        if (!arc && KyGeVector2d(joins[k], joins[k + 1]).Dot(segs[k]->GetTangent(0.0)) < -g_distZero) return nullptr;
        out->AppendVertex(joins[k], bulge);
    }
    if (!m_closed) out->AppendVertex(joins[n], 0.0);
    out->SetClosed(m_closed);
    return out;
}

namespace {

// The piece of pl between distances lo < hi from its start.
std::unique_ptr<KyGePolyline2d> PieceByDist(const KyGePolyline2d& pl, double lo, double hi) {
    auto out = std::make_unique<KyGePolyline2d>();
    double at = 0.0;
    KyGePoint last;
    for (int i = 0; i < pl.GetSegNum(); ++i) {
        auto s = pl.GetSegment(i);
        if (!s) continue;
        const double len = s->Length();
        const double a = std::max(lo, at), b = std::min(hi, at + len);
        if (b - a > g_distZero) {
            std::unique_ptr<KyGeCurve2d> part =
                (a - at <= g_distZero && at + len - b <= g_distZero) ? std::move(s) : s->GetSubCurve((a - at) / len, (b - at) / len);
            if (part) {
                const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(part.get());
                out->AppendVertex(part->GetStartPoint(), arc ? arc->GetBulge() : 0.0);
                last = part->GetEndPoint();
            }
        }
        at += len;
    }
    if (out->GetVertexNum() == 0) return nullptr;
    out->AppendVertex(last, 0.0);
    return out;
}

}  // namespace

std::unique_ptr<KyGeCurve2d> KyGePolyline2d::GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const {
    KyGePoint f1, f2;
    if (!GetClosestPoint2d(p1, f1) || !GetClosestPoint2d(p2, f2)) return nullptr;
    const double len = Length();
    if (!(len > 0.0)) return nullptr;
    return GetSubCurve(GetDistFromPt(f1) / len, GetDistFromPt(f2) / len);
}

std::unique_ptr<KyGeCurve2d> KyGePolyline2d::GetSubCurve(double pa1, double pa2) const {
    if (!std::isfinite(pa1) || !std::isfinite(pa2)) return nullptr;
    if (pa1 < -g_fZero || pa1 > 1.0 + g_fZero || pa2 < -g_fZero || pa2 > 1.0 + g_fZero) return nullptr;
    const double len = Length();
    const double d1 = std::clamp(pa1, 0.0, 1.0) * len, d2 = std::clamp(pa2, 0.0, 1.0) * len;
    if (std::fabs(d1 - d2) <= g_distZero) return nullptr;
    auto piece = PieceByDist(*this, std::min(d1, d2), std::max(d1, d2));
    if (piece && d1 > d2) piece->Reverse();
    return piece;
}

bool KyGePolyline2d::Conbine(const KyGeCurve2d& other, bool) {
    if (m_closed || other.IsClosed()) return false;
    auto o = other.PLinearize(0.0);
    if (!o || o->GetVertexNum() < 2) return false;
    if (GetVertexNum() == 0) {
        CopyFrom(*o);
        return true;
    }
    if (Distance2d(o->GetEndPoint(), GetEndPoint()) <= g_distZero || Distance2d(o->GetStartPoint(), GetStartPoint()) <= g_distZero)
        o->Reverse();
    if (Distance2d(o->GetStartPoint(), GetEndPoint()) <= g_distZero) {
        m_bulges.back() = o->GetBulge(0);
        for (int i = 1; i < o->GetVertexNum(); ++i) AppendVertex(o->GetVertex(i), o->GetBulge(i));
        return true;
    }
    if (Distance2d(o->GetEndPoint(), GetStartPoint()) <= g_distZero) {
        for (int i = o->GetVertexNum() - 2; i >= 0; --i) InsertVertex(0, o->GetVertex(i), o->GetBulge(i));
        return true;
    }
    return false;
}

void KyGePolyline2d::Reverse() {
    const int n = GetVertexNum();
    if (n < 2) return;
    std::vector<double> b(static_cast<size_t>(n), 0.0);
    // Reversed segment k is the old segment n-2-k (the closing one for k = n-1) run backwards.
    for (int k = 0; k < n; ++k) {
        if (!m_closed && k == n - 1) continue;
        b[static_cast<size_t>(k)] = -m_bulges[static_cast<size_t>((n - 2 - k + n) % n)];
    }
    std::reverse(m_pts.begin(), m_pts.end());
    m_bulges = b;
}

std::unique_ptr<KyGePolyline2d> KyGePolyline2d::PLinearize(double precision) const {
    if (GetVertexNum() == 0) return nullptr;
    auto out = std::make_unique<KyGePolyline2d>();
    if (!(precision > 0.0)) {
        out->CopyFrom(*this);
        return out;
    }
    for (int i = 0; i < GetSegNum(); ++i) {
        out->AppendVertex(m_pts[static_cast<size_t>(i)]);
        if (!IsArcSeg(i)) continue;
        auto seg = GetSegment(i);
        if (!seg) continue;
        auto chords = seg->PLinearize(precision);
        for (int k = 1; chords && k + 1 < chords->GetVertexNum(); ++k) out->AppendVertex(chords->GetVertex(k));
    }
    if (!m_closed && GetVertexNum() > 0) out->AppendVertex(m_pts.back());
    out->SetClosed(m_closed);
    return out;
}

bool KyGePolyline2d::TransformBy(const KyGeMatrix& matrix) {
    bool anyArc = false;
    for (int i = 0; i < GetSegNum(); ++i) anyArc = anyArc || IsArcSeg(i);
    if (anyArc && !matrix.IsConformal()) return false;
    for (KyGePoint& p : m_pts) p = matrix.Transform(p);
    if (matrix.Determinant() < 0.0)
        for (double& b : m_bulges) b = -b;
    return true;
}

bool KyGePolyline2d::AssignFrom(const KyGeCurve2d& other) {
    const KyGePolyline2d* o = KyGeCast<KyGePolyline2d>(&other);
    if (!o) return false;
    CopyFrom(*o);
    return true;
}

// ---- the vertex chain ----

bool KyGeMLine2d::GetCenter(int index, KyGePoint& out) const {
    if (!IsArcSeg(index)) return false;
    auto seg = GetSegment(index);
    const KyGeArc2d* arc = KyGeCast<KyGeArc2d>(seg.get());
    if (!arc) return false;
    out = arc->GetCenter();
    return true;
}

KyGePoint KyGeMLine2d::GetCenter() const {
    if (m_pts.empty()) return KyGePoint();
    double x0 = m_pts[0].x, x1 = x0, y0 = m_pts[0].y, y1 = y0;
    for (const KyGePoint& p : m_pts) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return KyGePoint((x0 + x1) * 0.5, (y0 + y1) * 0.5);
}

bool KyGeMLine2d::AssignFrom(const KyGeCurve2d& other) { return KyGePolyline2d::AssignFrom(other); }
