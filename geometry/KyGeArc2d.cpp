// Circular arcs: construction from three points, from centre and angles and from a bulge, and
// the curve operations measured along the arc.
#include "geometry/KyGeArc2d.h"

#include <algorithm>
#include <cmath>

#include "geometry/KyGePolyline2d.h"

const KyGeClassInfo KyGeArc2d::s_classInfo = {"KyGeArc2d", &KyGeCurve2d::s_classInfo};

namespace {
constexpr double kTwoPi = 2.0 * KyGePi;
// Arcs larger than this radius are treated as straight: their centre would carry no digits.
constexpr double kMaxRadius = 1e11;
}  // namespace

KyGeArc2d::KyGeArc2d(const KyGePoint& start, const KyGePoint& onArc, const KyGePoint& end) {
    // Work relative to the start point so that coordinates of 1e7 keep their digits.
    const double bx = onArc.x - start.x, by = onArc.y - start.y;
    const double cx = end.x - start.x, cy = end.y - start.y;
    const double chord = std::hypot(cx, cy);
    const double cross = bx * cy - by * cx;
    if (!(chord > g_distZero) || !(std::hypot(bx, by) > g_distZero) || !(std::hypot(bx - cx, by - cy) > g_distZero))
        return;
    // The middle point must stand off the chord by more than the tolerance.
    if (!(std::fabs(cross) / chord > g_distZero)) return;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double den = 2.0 * cross;
    const double ux = (cy * b2 - by * c2) / den;
    const double uy = (bx * c2 - cx * b2) / den;
    const double r = std::hypot(ux, uy);
    if (!std::isfinite(r) || r > kMaxRadius) return;
    m_centre = KyGePoint(start.x + ux, start.y + uy, start.z);
    m_radius = r;
    m_clockwise = Orient2d(start, onArc, end) < 0;
    m_startAngle = GetStdAngle(std::atan2(-uy, -ux));
    m_sweep = TravelTo(std::atan2(cy - uy, cx - ux));
    if (!(m_sweep > g_angleZero)) m_radius = 0.0;
}

KyGeArc2d::KyGeArc2d(const KyGePoint& centre, double radius, double startAngle, double endAngle, bool clockwise) {
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(radius) || !std::isfinite(startAngle) ||
        !std::isfinite(endAngle) || !(radius > g_distZero) || radius > kMaxRadius)
        return;
    m_centre = centre;
    m_radius = radius;
    m_clockwise = clockwise;
    m_startAngle = GetStdAngle(startAngle);
    m_sweep = TravelTo(endAngle);
    if (!(m_sweep > g_angleZero)) m_radius = 0.0;
}

std::unique_ptr<KyGeArc2d> KyGeArc2d::Create(const KyGePoint& start, const KyGePoint& onArc, const KyGePoint& end) {
    auto arc = std::make_unique<KyGeArc2d>(start, onArc, end);
    return arc->IsValid() ? std::move(arc) : nullptr;
}

std::unique_ptr<KyGeArc2d> KyGeArc2d::Create(const KyGePoint& centre, double radius, double startAngle,
                                             double endAngle, bool clockwise) {
    auto arc = std::make_unique<KyGeArc2d>(centre, radius, startAngle, endAngle, clockwise);
    return arc->IsValid() ? std::move(arc) : nullptr;
}

std::unique_ptr<KyGeArc2d> KyGeArc2d::CreateFromBulge(const KyGePoint& start, const KyGePoint& end, double bulge) {
    const double c = Distance2d(start, end);
    if (!std::isfinite(bulge) || std::fabs(bulge) <= g_fZero || !(c > g_distZero)) return nullptr;
    const double sweep = 4.0 * std::atan(std::fabs(bulge));
    const double r = c / (2.0 * std::sin(sweep / 2.0));
    // The centre stands off the chord's midpoint on the left for a counter-clockwise arc.
    const KyGeVector2d dir = KyGeVector2d(start, end).Normal();
    const double h = c * (1.0 - bulge * bulge) / (4.0 * bulge);
    const KyGePoint centre = MidPoint(start, end) + dir.Perp() * h;
    const bool cw = bulge < 0.0;
    const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    auto arc = std::make_unique<KyGeArc2d>(centre, r, a0, cw ? a0 - sweep : a0 + sweep, cw);
    return arc->IsValid() ? std::move(arc) : nullptr;
}

double KyGeArc2d::TravelTo(double angle) const {
    return GetStdAngle(m_clockwise ? m_startAngle - angle : angle - m_startAngle);
}

double KyGeArc2d::GetEndAngle() const { return GetStdAngle(m_clockwise ? m_startAngle - m_sweep : m_startAngle + m_sweep); }

double KyGeArc2d::GetBulge() const {
    if (!IsBounded() || !IsValid()) return 0.0;
    const double b = std::tan(m_sweep / 4.0);
    return m_clockwise ? -b : b;
}

KyGePoint KyGeArc2d::PointAtAngle(double angle) const {
    return KyGePoint(m_centre.x + m_radius * std::cos(angle), m_centre.y + m_radius * std::sin(angle), m_centre.z);
}

bool KyGeArc2d::ContainsAngle(double angle) const {
    if (!IsValid()) return false;
    const double s = TravelTo(angle);
    const double tol = g_angleZero + g_distZero / m_radius;
    return s <= m_sweep + tol || s >= kTwoPi - tol;
}

KyGePoint KyGeArc2d::GetStartPoint() const { return PointAtAngle(m_startAngle); }
KyGePoint KyGeArc2d::GetEndPoint() const {
    return PointAtAngle(m_clockwise ? m_startAngle - m_sweep : m_startAngle + m_sweep);
}

KyGePoint KyGeArc2d::GetPtFromPa(double t) const {
    if (!std::isfinite(t)) t = 0.0;
    if (IsBounded()) {
        t = std::clamp(t, 0.0, 1.0);
    } else {
        t -= std::floor(t);
    }
    const double s = t * m_sweep;
    return PointAtAngle(m_clockwise ? m_startAngle - s : m_startAngle + s);
}

double KyGeArc2d::GetPaFromPt(const KyGePoint& p) const {
    if (!IsValid()) return 0.0;
    double s = TravelTo(std::atan2(p.y - m_centre.y, p.x - m_centre.x));
    if (s <= m_sweep) return s / m_sweep;
    // Off the arc: the nearer end, measured round the circle.
    return (s - m_sweep) < (kTwoPi - s) ? 1.0 : 0.0;
}

KyGePoint KyGeArc2d::GetPtFromDist(double d) const {
    if (!std::isfinite(d) || !IsValid()) d = 0.0;
    d = std::clamp(d, 0.0, Length());
    return GetPtFromPa(IsValid() ? d / Length() : 0.0);
}

KyGeVector2d KyGeArc2d::GetTangent(double t) const {
    const KyGePoint p = GetPtFromPa(t);
    const KyGeVector2d radial = KyGeVector2d(m_centre, p).Normal();
    return m_clockwise ? KyGeVector2d(radial.y, -radial.x) : radial.Perp();
}

bool KyGeArc2d::GetClosestPoint2d(const KyGePoint& p, KyGePoint& out) const {
    out = GetStartPoint();
    if (!IsValid() || Distance2d(p, m_centre) <= g_distZero) return false;
    const double a = std::atan2(p.y - m_centre.y, p.x - m_centre.x);
    if (ContainsAngle(a)) {
        out = PointAtAngle(a);
        return true;
    }
    out = GetPaFromPt(p) > 0.5 ? GetEndPoint() : GetStartPoint();
    return false;
}

std::unique_ptr<KyGeCurve2d> KyGeArc2d::GetOffsetCurve(double d) const {
    if (!IsValid() || !std::isfinite(d)) return nullptr;
    // Right of travel is outwards on a counter-clockwise arc, inwards on a clockwise one.
    const double r = m_clockwise ? m_radius - d : m_radius + d;
    if (!(r > g_distZero) || r > g_maxGeomSize) return nullptr;
    auto arc = std::unique_ptr<KyGeArc2d>(static_cast<KyGeArc2d*>(CloneRaw()));
    arc->m_radius = r;
    return arc;
}

namespace {

// The arc of `arc`'s circle between travels s1 and s2 (each 0..sweep), running from s1 to s2.
std::unique_ptr<KyGeCurve2d> ArcBetweenTravels(const KyGeArc2d& arc, double s1, double s2) {
    if (std::fabs(s2 - s1) * arc.GetRadius() <= g_distZero) return nullptr;
    const bool cw = arc.IsClockwise();
    const double a1 = cw ? arc.GetStartAngle() - s1 : arc.GetStartAngle() + s1;
    const double a2 = cw ? arc.GetStartAngle() - s2 : arc.GetStartAngle() + s2;
    // Going backwards along the arc turns the sense.
    const bool sense = s2 > s1 ? cw : !cw;
    return KyGeArc2d::Create(arc.GetCenter(), arc.GetRadius(), a1, a2, sense);
}

}  // namespace

std::unique_ptr<KyGeCurve2d> KyGeArc2d::GetSubCurve(const KyGePoint& p1, const KyGePoint& p2) const {
    if (!IsValid()) return nullptr;
    KyGePoint f1, f2;
    if (!GetClosestPoint2d(p1, f1) || !GetClosestPoint2d(p2, f2)) return nullptr;
    if (Distance2d(f1, f2) <= g_distZero) return nullptr;
    auto travel = [this](const KyGePoint& f) {
        const double s = TravelTo(std::atan2(f.y - m_centre.y, f.x - m_centre.x));
        return s > m_sweep ? (s - m_sweep < kTwoPi - s ? m_sweep : 0.0) : s;
    };
    return ArcBetweenTravels(*this, travel(f1), travel(f2));
}

std::unique_ptr<KyGeCurve2d> KyGeArc2d::GetSubCurve(double pa1, double pa2) const {
    if (!IsValid() || !std::isfinite(pa1) || !std::isfinite(pa2)) return nullptr;
    if (pa1 < -g_fZero || pa1 > 1.0 + g_fZero || pa2 < -g_fZero || pa2 > 1.0 + g_fZero) return nullptr;
    return ArcBetweenTravels(*this, std::clamp(pa1, 0.0, 1.0) * m_sweep, std::clamp(pa2, 0.0, 1.0) * m_sweep);
}

std::unique_ptr<KyGeCurve2d> KyGeArc2d::GetExtendCurve() const {
    if (!IsValid()) return nullptr;
    return std::make_unique<KyGeCircle2d>(m_centre, m_radius, m_startAngle, m_clockwise);
}

int KyGeArc2d::HitTest(const KyGePoint& p) const {
    if (!IsValid()) return 0;
    const double d = Distance2d(p, m_centre);
    if (std::fabs(d - m_radius) <= g_distZero && d > 0.0 && ContainsAngle(std::atan2(p.y - m_centre.y, p.x - m_centre.x)))
        return kKyGeHitOn;
    if (IsBounded() && (Distance2d(p, GetStartPoint()) <= g_distZero || Distance2d(p, GetEndPoint()) <= g_distZero))
        return kKyGeHitOn;
    return d < m_radius ? kKyGeHitLeft : kKyGeHitOutside;
}

bool KyGeArc2d::Conbine(const KyGeCurve2d& other, bool bFillGap) {
    const KyGeArc2d* o = KyGeCast<KyGeArc2d>(&other);
    if (!o || !IsValid() || !o->IsValid()) return false;
    if (Distance2d(m_centre, o->m_centre) > g_distZero || std::fabs(m_radius - o->m_radius) > g_distZero) return false;
    if (!o->IsBounded()) return false;
    // Other's extent in this arc's travel: from u over w, placed after this arc's start (u) or
    // before it (u - 2*pi); the union is [lo, hi] in travel.
    const double w = o->m_sweep;
    const KyGePoint from = (o->m_clockwise == m_clockwise) ? o->GetStartPoint() : o->GetEndPoint();
    const double u = TravelTo(std::atan2(from.y - m_centre.y, from.x - m_centre.x));
    const double tol = g_angleZero + g_distZero / m_radius;
    bool found = false;
    double bestLo = 0.0, bestHi = 0.0;
    for (double at : {u, u - kTwoPi}) {
        const bool meets = at <= m_sweep + tol && at + w >= -tol;
        if (!meets && !bFillGap) continue;
        const double lo = std::min(0.0, at), hi = std::max(m_sweep, at + w);
        if (!found || hi - lo < bestHi - bestLo) {
            found = true;
            bestLo = lo;
            bestHi = hi;
        }
    }
    if (!found || bestHi - bestLo >= kTwoPi - tol) return false;  // would close into a circle
    m_startAngle = GetStdAngle(m_clockwise ? m_startAngle - bestLo : m_startAngle + bestLo);
    m_sweep = bestHi - bestLo;
    return true;
}

void KyGeArc2d::Reverse() {
    if (!IsValid()) return;
    m_startAngle = GetEndAngle();
    m_clockwise = !m_clockwise;
}

std::unique_ptr<KyGePolyline2d> KyGeArc2d::PLinearize(double precision) const {
    if (!IsValid()) return nullptr;
    auto pl = std::make_unique<KyGePolyline2d>();
    int n = 0;
    double bulge = 0.0;
    if (precision > 0.0 && std::isfinite(precision)) {
        // Chords whose sagitta stays within precision.
        const double step = precision >= m_radius ? KyGePi : 2.0 * std::acos(1.0 - precision / m_radius);
        n = std::clamp(static_cast<int>(std::ceil(m_sweep / step)), 1, 100000);
    } else {
        // Bulge segments of at most a half circle each, so every bulge stays within [-1, 1].
        n = std::max(1, static_cast<int>(std::ceil(m_sweep / KyGePi - 1e-12)));
        bulge = std::tan(m_sweep / n / 4.0) * (m_clockwise ? -1.0 : 1.0);
    }
    for (int i = 0; i < n; ++i) pl->AppendVertex(GetPtFromPa(static_cast<double>(i) / n), bulge);
    if (IsBounded()) {
        pl->AppendVertex(GetEndPoint(), 0.0);
    } else {
        pl->SetClosed(true);
    }
    return pl;
}

bool KyGeArc2d::TransformBy(const KyGeMatrix& matrix) {
    if (!matrix.IsConformal()) return false;
    if (!IsValid()) return true;
    const KyGePoint start = matrix.Transform(GetStartPoint());
    const KyGePoint centre = matrix.Transform(m_centre);
    m_centre = centre;
    m_radius *= matrix.Scale();
    m_startAngle = GetAngle2d(centre, start);
    // A mirror turns the sense.
    if (matrix.Determinant() < 0.0) m_clockwise = !m_clockwise;
    return true;
}

bool KyGeArc2d::AssignFrom(const KyGeCurve2d& other) {
    if (other.GetClassInfo() != &s_classInfo) return false;
    *this = static_cast<const KyGeArc2d&>(other);
    return true;
}
