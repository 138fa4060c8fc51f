// Intersections of lines, segments, arcs, circles and polylines. Each pair of simple pieces is
// cut on their unbounded supports (line or circle), computed relative to a local origin so that
// coordinates of 1e7 keep their digits, and a point is kept when it lies on both pieces.
#include "geometry/KyGeIntersect.h"

#include <algorithm>
#include <cmath>

#include "geometry/KyGeArc2d.h"
#include "geometry/KyGeLine2d.h"
#include "geometry/KyGeObjList.h"
#include "geometry/KyGePolyline2d.h"

namespace {

// The simple pieces (straight or arc) a curve is made of; polylines give their segments.
std::vector<std::unique_ptr<KyGeCurve2d>> Pieces(const KyGeCurve2d& c) {
    std::vector<std::unique_ptr<KyGeCurve2d>> out;
    if (const KyGePolyline2d* pl = KyGeCast<KyGePolyline2d>(&c)) {
        for (int i = 0; i < pl->GetSegNum(); ++i)
            if (auto seg = pl->GetSegment(i)) out.push_back(std::move(seg));
    } else {
        out.push_back(c.Clone());
    }
    return out;
}

void AddIfOnBoth(const KyGeCurve2d& a, const KyGeCurve2d& b, const KyGePoint& p, std::vector<KyGePoint>& out) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if ((a.HitTest(p) & kKyGeHitOn) && (b.HitTest(p) & kKyGeHitOn)) out.push_back(p);
}

// The end points of each bounded piece that lie on the other: what an overlap yields.
void AddOverlapEnds(const KyGeCurve2d& a, const KyGeCurve2d& b, std::vector<KyGePoint>& out) {
    if (a.IsBounded()) {
        AddIfOnBoth(a, b, a.GetStartPoint(), out);
        AddIfOnBoth(a, b, a.GetEndPoint(), out);
    }
    if (b.IsBounded()) {
        AddIfOnBoth(a, b, b.GetStartPoint(), out);
        AddIfOnBoth(a, b, b.GetEndPoint(), out);
    }
}

void LineLine(const KyGeBaseLine2d& a, const KyGeBaseLine2d& b, std::vector<KyGePoint>& out) {
    if (a.IsDegenerate() || b.IsDegenerate()) return;
    const KyGePoint o = a.GetFirstPoint();
    const KyGeVector2d d(a.GetFirstPoint(), a.GetSecondPoint());
    const KyGeVector2d e(b.GetFirstPoint(), b.GetSecondPoint());
    const KyGeVector2d q(o, b.GetFirstPoint());
    const double cross = d.Cross(e);
    if (std::fabs(cross) <= std::sin(g_angleZero) * d.Length() * e.Length()) {
        // Parallel: only a collinear overlap meets, at the ends of the pieces.
        if (std::fabs(q.Cross(d)) / d.Length() <= g_distZero) AddOverlapEnds(a, b, out);
        return;
    }
    const double t = q.Cross(e) / cross;
    AddIfOnBoth(a, b, o + d * t, out);
}

void LineCircle(const KyGeBaseLine2d& a, const KyGeArc2d& c, std::vector<KyGePoint>& out) {
    if (a.IsDegenerate() || !c.IsValid()) return;
    const KyGePoint o = c.GetCenter();
    const KyGeVector2d dir = a.GetDirection();
    const KyGeVector2d rel(o, a.GetFirstPoint());
    // Foot of the centre on the line, relative to the centre.
    const KyGeVector2d foot = rel - dir * rel.Dot(dir);
    const double h = foot.Length();
    const double r = c.GetRadius();
    if (h > r + g_distZero) return;
    if (std::fabs(h - r) <= g_distZero) {
        AddIfOnBoth(a, c, o + foot, out);  // tangent: one point
        return;
    }
    const double w = std::sqrt(std::max(0.0, r * r - h * h));
    AddIfOnBoth(a, c, o + foot - dir * w, out);
    AddIfOnBoth(a, c, o + foot + dir * w, out);
}

void CircleCircle(const KyGeArc2d& a, const KyGeArc2d& b, std::vector<KyGePoint>& out) {
    if (!a.IsValid() || !b.IsValid()) return;
    const KyGePoint o = a.GetCenter();
    const KyGeVector2d v(o, b.GetCenter());
    const double d = v.Length();
    const double r1 = a.GetRadius(), r2 = b.GetRadius();
    if (d <= g_distZero) {
        if (std::fabs(r1 - r2) <= g_distZero) AddOverlapEnds(a, b, out);
        return;
    }
    if (d > r1 + r2 + g_distZero || d < std::fabs(r1 - r2) - g_distZero) return;
    const KyGeVector2d u = v * (1.0 / d);
    const double along = std::clamp((d * d + r1 * r1 - r2 * r2) / (2.0 * d), -r1, r1);
    const double h2 = r1 * r1 - along * along;
    const bool tangent = std::fabs(d - (r1 + r2)) <= g_distZero || std::fabs(d - std::fabs(r1 - r2)) <= g_distZero;
    if (tangent || h2 <= 0.0) {
        AddIfOnBoth(a, b, o + u * along, out);
        return;
    }
    const double h = std::sqrt(h2);
    AddIfOnBoth(a, b, o + u * along + u.Perp() * h, out);
    AddIfOnBoth(a, b, o + u * along - u.Perp() * h, out);
}

void PiecePiece(const KyGeCurve2d& a, const KyGeCurve2d& b, std::vector<KyGePoint>& out) {
    const KyGeBaseLine2d* la = KyGeCast<KyGeBaseLine2d>(&a);
    const KyGeBaseLine2d* lb = KyGeCast<KyGeBaseLine2d>(&b);
    const KyGeArc2d* ca = KyGeCast<KyGeArc2d>(&a);
    const KyGeArc2d* cb = KyGeCast<KyGeArc2d>(&b);
    if (la && lb) LineLine(*la, *lb, out);
    else if (la && cb) LineCircle(*la, *cb, out);
    else if (ca && lb) LineCircle(*lb, *ca, out);
    else if (ca && cb) CircleCircle(*ca, *cb, out);
}

}  // namespace

std::vector<KyGePoint> KyGeIntersectPoints(const KyGeCurve2d& a, const KyGeCurve2d& b) {
    std::vector<KyGePoint> found;
    const auto pa = Pieces(a);
    const auto pb = Pieces(b);
    for (const auto& x : pa)
        for (const auto& y : pb) PiecePiece(*x, *y, found);
    // Order along a, then keep each place once.
    std::vector<std::pair<double, KyGePoint>> keyed;
    keyed.reserve(found.size());
    for (const KyGePoint& p : found) keyed.emplace_back(a.GetDistFromPt(p), p);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    std::vector<KyGePoint> out;
    for (const auto& kp : keyed) {
        bool dup = false;
        for (const KyGePoint& q : out)
            if (Distance2d(q, kp.second) <= g_distZero) dup = true;
        if (!dup) out.push_back(kp.second);
    }
    return out;
}

bool KyGeCurve2d::IntersectWith(const KyGeCurve2d& other, KyGeObjList& out) const {
    const std::vector<KyGePoint> pts = KyGeIntersectPoints(*this, other);
    for (const KyGePoint& p : pts) out.Append(std::make_unique<KyGePoint2d>(p), GetPaFromPt(p));
    return !pts.empty();
}
