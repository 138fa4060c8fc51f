// AcDbRegion: loops from closed curves, booleans with the polygon clipper, areas.
#include "host/db/dbregion.h"

#include <algorithm>
#include <cmath>

#include <polyclipping/clipper.hpp>

#include "host/db/db.h"
#include "host/db/dbgeomutil.h"

using namespace vorn::db::detail;
using Loop = AcDbRegion::Loop;

ACRX_DXF_DEFINE_MEMBERS(AcDbRegion, AcDbEntity, L"REGION")

namespace {

// Regions are measured (areas for site statistics), so their arcs take a fine chord count
// whatever the radius: 1024 chords a full turn (a relative chord tolerance of 1 - cos(pi/1024))
// keep a disc within 7e-6 of its true area. Finer counts make the unions of a large tree patch
// (thousands of crowns) slow beyond use for no visible gain.
constexpr double kRegionChordTol = -4.7e-6;

// A full circle is the one curve whose polygon can be made exact in area: its vertices lie on a
// circle a little larger (by a factor of sqrt(2 pi / (n sin(2 pi / n))), 1.25e-5 for 512
// chords), so that the polygon encloses exactly the disc's area. Crowns of a tree patch are
// circles, and their union is the costly part of a patch: fewer chords keep it fast.
constexpr int kRegionCircleChords = 512;

std::vector<AcGePoint2d> CircleLoop(const AcGePoint2d& centre, double radius) {
    const int n = kRegionCircleChords;
    const double step = kTwoPi / n;
    const double r = radius * std::sqrt(step / std::sin(step));
    std::vector<AcGePoint2d> pts;
    pts.reserve(n);
    for (int k = 0; k < n; ++k) pts.emplace_back(centre.x + r * std::cos(k * step), centre.y + r * std::sin(k * step));
    return pts;
}

double loopArea(const Loop& l) {
    // Measured from the first vertex: far from the origin the raw cross products would cancel.
    double a = 0.0;
    if (l.empty()) return a;
    const AcGePoint2d& o = l[0];
    for (size_t i = 1, n = l.size(); i + 1 < n; ++i) {
        double px = l[i].x - o.x, py = l[i].y - o.y, qx = l[i + 1].x - o.x, qy = l[i + 1].y - o.y;
        a += px * qy - qx * py;
    }
    return 0.5 * a;
}

double maxAbs(const std::vector<Loop>& a, const std::vector<Loop>& b) {
    double m = 0.0;
    for (const auto* set : {&a, &b})
        for (const auto& l : *set)
            for (const auto& p : l) m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
    return m;
}

// Integer coordinates: a power of two that puts the largest coordinate near 1e15, well inside
// the clipper's range and far finer than any drawn detail.
double clipScale(double magnitude) {
    if (!(magnitude > 0.0)) return 1048576.0;
    int e = static_cast<int>(std::floor(std::log2(1e15 / magnitude)));
    return std::ldexp(1.0, std::clamp(e, -20, 60));
}

ClipperLib::Paths toPaths(const std::vector<Loop>& loops, double scale) {
    ClipperLib::Paths out;
    for (const auto& l : loops) {
        ClipperLib::Path p;
        p.reserve(l.size());
        for (const auto& q : l)
            p.emplace_back(static_cast<ClipperLib::cInt>(std::llround(q.x * scale)),
                           static_cast<ClipperLib::cInt>(std::llround(q.y * scale)));
        out.push_back(std::move(p));
    }
    return out;
}

std::vector<Loop> fromPaths(const ClipperLib::Paths& paths, double scale) {
    std::vector<Loop> out;
    for (const auto& p : paths) {
        if (p.size() < 3) continue;
        Loop l;
        l.reserve(p.size());
        for (const auto& q : p) l.emplace_back(double(q.X) / scale, double(q.Y) / scale);
        if (loopArea(l) == 0.0) continue;
        out.push_back(std::move(l));
    }
    return out;
}

// Loops with overlaps resolved (non-zero winding), outer loops counter-clockwise.
std::vector<Loop> normalise(const std::vector<Loop>& loops) {
    double scale = clipScale(maxAbs(loops, {}));
    ClipperLib::Paths in = toPaths(loops, scale), out;
    // Loops drawn clockwise still mean areas: orient each one counter-clockwise first.
    for (auto& p : in)
        if (!ClipperLib::Orientation(p)) ClipperLib::ReversePath(p);
    ClipperLib::Clipper c;
    c.AddPaths(in, ClipperLib::ptSubject, true);
    c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return fromPaths(out, scale);
}

// Loops as the file gives them: holes kept (even-odd), outer loops counter-clockwise.
std::vector<Loop> normaliseEvenOdd(const std::vector<Loop>& loops) {
    double scale = clipScale(maxAbs(loops, {}));
    ClipperLib::Paths in = toPaths(loops, scale), out;
    ClipperLib::Clipper c;
    c.AddPaths(in, ClipperLib::ptSubject, true);
    c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return fromPaths(out, scale);
}

struct Piece {
    std::vector<AcGePoint2d> points;  // start to end, flattened
    bool used = false;
};

void appendPiece(std::vector<AcGePoint2d>& chain, const std::vector<AcGePoint2d>& pts, bool reversed) {
    if (reversed) chain.insert(chain.end(), pts.rbegin() + 1, pts.rend());
    else chain.insert(chain.end(), pts.begin() + 1, pts.end());
}

}  // namespace

Acad::ErrorStatus AcDbRegion::createFromCurves(const AcDbVoidPtrArray& curves, AcDbVoidPtrArray& regions) {
    if (curves.isEmpty()) return Acad::eInvalidInput;
    std::vector<Loop> closedLoops;
    std::vector<bool> simpleLoops;  // circles: never self-overlapping, nothing to resolve
    std::vector<Piece> pieces;
    const AcDbEntity* first = nullptr;
    double magnitude = 0.0;
    for (void* raw : curves) {
        const AcDbCurve* c = AcDbCurve::cast(static_cast<const AcRxObject*>(raw));
        if (!c || !c->isFiniteObject()) return Acad::eInvalidInput;
        if (!first) first = c;
        std::vector<AcGePoint2d> pts;
        bool closed = false;
        const bool simple = AcDbCircle::cast(c) != nullptr;
        if (const auto* circle = AcDbCircle::cast(c)) {
            pts = CircleLoop(AcGePoint2d(circle->center().x, circle->center().y), circle->radius());
            closed = true;
        } else if (const auto* arc = AcDbArc::cast(c)) {
            AcGePoint3d s;
            arc->getStartPoint(s);
            pts.emplace_back(s.x, s.y);
            vorn::db::FlattenArc(AcGePoint2d(arc->center().x, arc->center().y), arc->radius(), arc->startAngle(),
                                 arc->totalAngle(), pts, kRegionChordTol);
            AcGePoint3d e;
            arc->getEndPoint(e);
            pts.back() = AcGePoint2d(e.x, e.y);
        } else if (const auto* line = AcDbLine::cast(c)) {
            pts.emplace_back(line->startPoint().x, line->startPoint().y);
            pts.emplace_back(line->endPoint().x, line->endPoint().y);
        } else if (const auto* pl = AcDbPolyline::cast(c)) {
            pts = vorn::db::FlattenPath(pl->vertices(), pl->isClosed(), kRegionChordTol);
            closed = pl->isClosed();
        } else if (const auto* p2 = AcDb2dPolyline::cast(c)) {
            pts = vorn::db::FlattenPath(p2->vertices(), p2->isClosed(), kRegionChordTol);
            closed = p2->isClosed();
        } else {
            // A framework curve: its drawn outline.
            vorn::db::GiCollector sink;
            c->worldDraw(&sink);
            for (const auto& prim : sink.primitives)
                for (const auto& q : prim.points) pts.emplace_back(q.x, q.y);
            closed = c->isClosed();
        }
        for (const auto& p : pts) magnitude = std::max({magnitude, std::fabs(p.x), std::fabs(p.y)});
        if (pts.size() < 2) continue;
        // An open curve whose ends meet is a loop of its own.
        if (!closed && pts.front().distanceTo(pts.back()) <= vorn::ge::kPointTol && pts.size() > 2) {
            pts.pop_back();
            closed = true;
        }
        if (closed) {
            closedLoops.push_back(std::move(pts));
            simpleLoops.push_back(simple);
        }
        else pieces.push_back(Piece{std::move(pts)});
    }
    // Ends closer than this join: the point tolerance, or the round-off of large coordinates.
    double tol = std::max(vorn::ge::kPointTol, magnitude * 1e-12);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].used) continue;
        pieces[i].used = true;
        std::vector<AcGePoint2d> chain = pieces[i].points;
        bool closedChain = false;
        for (;;) {
            if (chain.size() > 2 && chain.back().distanceTo(chain.front()) <= tol) {
                closedChain = true;
                break;
            }
            bool extended = false;
            for (auto& p : pieces) {
                if (p.used) continue;
                if (p.points.front().distanceTo(chain.back()) <= tol) {
                    appendPiece(chain, p.points, false);
                } else if (p.points.back().distanceTo(chain.back()) <= tol) {
                    appendPiece(chain, p.points, true);
                } else {
                    continue;
                }
                p.used = true;
                extended = true;
                break;
            }
            if (!extended) break;
        }
        if (!closedChain) continue;
        chain.pop_back();
        closedLoops.push_back(std::move(chain));
        simpleLoops.push_back(false);
    }
    int made = 0;
    for (size_t i = 0; i < closedLoops.size(); ++i) {
        Loop& loop = closedLoops[i];
        std::vector<Loop> loops;
        if (simpleLoops[i]) {
            const double area = loop.size() >= 3 ? loopArea(loop) : 0.0;
            if (!(std::fabs(area) > 0.0)) continue;  // a circle of no size encloses nothing
            if (area < 0.0) std::reverse(loop.begin(), loop.end());
            loops.push_back(std::move(loop));
        } else {
            loops = normalise({loop});
        }
        if (loops.empty()) continue;
        auto* r = new AcDbRegion();
        r->m_loops = std::move(loops);
        if (first) r->setPropertiesFrom(first);
        regions.append(r);
        ++made;
    }
    return made ? Acad::eOk : Acad::eInvalidInput;
}

void AcDbRegion::settle() const {
    if (m_pendingUnion.empty()) return;
    const double scale = clipScale(maxAbs(m_loops, m_pendingUnion));
    ClipperLib::Paths in = toPaths(m_loops, scale), more = toPaths(m_pendingUnion, scale), out;
    in.insert(in.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    ClipperLib::Clipper c;
    c.AddPaths(in, ClipperLib::ptSubject, true);
    // Loops are normalised (outer counter-clockwise, holes clockwise), so non-zero winding of
    // them all is their union.
    c.Execute(ClipperLib::ctUnion, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    m_loops = fromPaths(out, scale);
    m_pendingUnion.clear();
}

Acad::ErrorStatus AcDbRegion::booleanOper(AcDb::BoolOperType operation, AcDbRegion* other) {
    if (!other || other == this) return Acad::eInvalidInput;
    if (!isWriteEnabled() || !other->isWriteEnabled()) return Acad::eNotOpenForWrite;
    other->settle();
    if (operation == AcDb::kBoolUnite) {
        // Unions are gathered and done at once when the loops are next needed: uniting a patch
        // one crown at a time would redo the whole outline each time.
        for (auto& l : other->m_loops) m_pendingUnion.push_back(std::move(l));
        other->m_loops.clear();
        return Acad::eOk;
    }
    settle();
    double scale = clipScale(maxAbs(m_loops, other->m_loops));
    ClipperLib::Paths subject = toPaths(m_loops, scale), clip = toPaths(other->m_loops, scale), out;
    ClipperLib::ClipType type = operation == AcDb::kBoolUnite       ? ClipperLib::ctUnion
                                : operation == AcDb::kBoolIntersect ? ClipperLib::ctIntersection
                                                                    : ClipperLib::ctDifference;
    ClipperLib::Clipper c;
    c.AddPaths(subject, ClipperLib::ptSubject, true);
    c.AddPaths(clip, ClipperLib::ptClip, true);
    if (!c.Execute(type, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero)) return Acad::eInvalidInput;
    m_loops = fromPaths(out, scale);
    other->m_loops.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getArea(double& area) const {
    settle();
    double a = 0.0;
    for (const auto& l : m_loops) a += loopArea(l);
    area = std::fabs(a);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
    settle();
    perimeter = 0.0;
    for (const auto& l : m_loops)
        for (size_t i = 0, n = l.size(); i < n; ++i) perimeter += l[i].distanceTo(l[(i + 1) % n]);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::setLoops(const std::vector<Loop>& loops) {
    for (const auto& l : loops)
        for (const auto& p : l)
            if (!Finite(p)) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_loops = normaliseEvenOdd(loops);
    m_pendingUnion.clear();
    return Acad::eOk;
}

bool AcDbRegion::contains(const AcGePoint2d& p) const {
    settle();
    bool in = false;
    for (const auto& l : m_loops) {
        for (size_t i = 0, j = l.size() - 1; i < l.size(); j = i++) {
            const AcGePoint2d &a = l[i], &b = l[j];
            // On the boundary counts as inside.
            AcGeVector2d d = b - a;
            double len2 = d.lengthSqrd();
            double t = len2 > 0.0 ? std::clamp((p - a).dotProduct(d) / len2, 0.0, 1.0) : 0.0;
            if (p.distanceTo(a + d * t) <= vorn::ge::kPointTol) return true;
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
    }
    return in;
}

Acad::ErrorStatus AcDbRegion::getGeomExtents(AcDbExtents& e) const {
    settle();
    e.reset();
    for (const auto& l : m_loops)
        for (const auto& p : l) e.addPoint(AcGePoint3d(p.x, p.y, 0.0));
    return e.isValid() ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbRegion::transformBy(const AcGeMatrix3d& xform) {
    settle();
    std::vector<Loop> out = m_loops;
    bool mirrored = xform(0, 0) * xform(1, 1) - xform(0, 1) * xform(1, 0) < 0.0;
    for (auto& l : out) {
        for (auto& p : l) {
            AcGePoint3d q = xform * AcGePoint3d(p.x, p.y, 0.0);
            if (!Finite(q)) return Acad::eInvalidInput;
            p = AcGePoint2d(q.x, q.y);
        }
        if (mirrored) std::reverse(l.begin(), l.end());
    }
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_loops = std::move(out);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRegion::explode(AcDbVoidPtrArray& set) const {
    settle();
    if (m_loops.empty()) return Acad::eNotApplicable;
    for (const auto& l : m_loops) {
        auto* pl = new AcDbPolyline(static_cast<unsigned>(l.size()));
        for (const auto& p : l) pl->addVertexAt(pl->numVerts(), p);
        pl->setClosed(true);
        pl->setPropertiesFrom(this);
        set.append(pl);
    }
    return Acad::eOk;
}

bool AcDbRegion::worldDraw(AcGiWorldDraw* draw) const {
    settle();
    for (const auto& l : m_loops) {
        std::vector<AcGePoint3d> pts;
        pts.reserve(l.size());
        for (const auto& p : l) pts.emplace_back(p.x, p.y, 0.0);
        if (draw->geometry().polyline(pts, true)) return true;
    }
    return false;
}

std::wstring AcDbRegion::list() const {
    settle();
    double area = 0.0, perimeter = 0.0;
    getArea(area);
    getPerimeter(perimeter);
    return listHeader() + L"  loops: " + std::to_wstring(m_loops.size()) + L"\n  area: " + Num(area) +
           L"\n  perimeter: " + Num(perimeter) + L"\n";
}

std::wstring AcDbRegion::degeneracy() const {
    settle();
    double area = 0.0;
    getArea(area);
    return (m_loops.empty() || area == 0.0) ? L"empty region" : L"";
}

bool AcDbRegion::isFiniteObject() const {
    settle();
    for (const auto& l : m_loops)
        for (const auto& p : l)
            if (!Finite(p)) return false;
    return AcDbEntity::isFiniteObject();
}
