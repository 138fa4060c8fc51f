// How kept entities show in plan: what the file's groups describe, drawn with the sink's
// primitives. Hatches fill or carry their pattern clipped to their boundary, curves are
// flattened to the sink's deviation, dimensions and tables draw their blocks, and a block
// reference's kept attributes draw their values. Every value comes from a file and may be
// absurd: counts are bounded by the groups present, work by the limits below, and nothing
// that is not finite reaches a sink.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/db/db.h"
#include "host/db/dbbulge.h"
#include "host/db/dbkept.h"
#include "host/db/gi.h"
#include "host/db/dbkeptshape.h"
#include "host/ge/getol.h"
#include "host/db/giextents.h"

namespace {

using namespace vorn::db::keptshape;

// ---- curves and points ----

// box: when given, it takes the curve's box instead where that is found without drawing it
// (true then, with nothing drawn).
bool DrawSpline(const Rec& r, AcGiWorldDraw* d, AcDbExtents* box = nullptr) {
    Nurbs s;
    s.degree = static_cast<int>(std::clamp<long long>(r.integerOf(71, 3), 0, 100));
    std::vector<AcGePoint3d> fit;
    AcGePoint3d p, t0, t1;
    bool has0 = false, has1 = false;
    for (size_t i = 0; i < r.size(); ++i) {
        double v = 0.0;
        switch (r.code(i)) {
            case 40: if (r.real(i, v)) s.knots.push_back(v); break;
            case 41: if (r.real(i, v)) s.weights.push_back(v); break;
            case 10: if (r.point(i, p)) s.points.push_back(p); break;
            case 11: if (r.point(i, p)) fit.push_back(p); break;
            case 12: has0 = r.point(i, t0); break;
            case 13: has1 = r.point(i, t1); break;
            default: break;
        }
    }
    // Weights are written only for rational curves; a count that does not fit means none.
    if (!(r.integerOf(70, 0) & 4)) s.weights.clear();
    std::vector<AcGePoint3d> pts;
    const double tol = Tolerance(d);
    if (Mend(s)) {
        if (box && FlattenedBox(s, tol, *box)) return true;
        pts = Flatten(s, tol);
    } else {
        if ((r.integerOf(70, 0) & 1) && fit.size() > 2) fit.push_back(fit.front());
        AcGeVector3d a = t0.asVector().normal(), b = t1.asVector().normal();
        pts = FitCurve(fit, has0 && a.length() > 0 ? &a : nullptr, has1 && b.length() > 0 ? &b : nullptr, tol);
    }
    return Polyline(d, pts);
}

bool DrawEllipse(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c, major;
    if (!r.pointOf(10, c) || !r.pointOf(11, major)) return false;
    const AcGeVector3d u = major.asVector();
    const double ratio = r.realOf(40, 1.0);
    if (!(u.length() > 0.0) || std::fabs(ratio) > 1e6) return false;
    // The minor axis turns from the major one counter-clockwise about the extrusion.
    const AcGeVector3d v = Normal(r).crossProduct(u) * ratio;
    const double start = r.realOf(41, 0.0);
    double end = r.realOf(42, kTwoPi);
    double sweep = std::fmod(end - start, kTwoPi);
    if (sweep <= 1e-12) sweep += kTwoPi;
    std::vector<AcGePoint3d> pts;
    EllipsePoints(c, u, v, start, sweep, Tolerance(d), pts);
    return Polyline(d, pts);
}

double HeaderReal(const AcDbDatabase* db, const char* name, int code, double fallback) {
    if (!db) return fallback;
    for (const auto& [n, groups] : vorn::db::FileDataOf(*db).header)
        if (n == name) return Rec(groups).realOf(code, fallback);
    return fallback;
}

// A point by the drawing's point style: PDMODE's figure (0 a dot, 1 nothing, 2 a cross, 3 an
// X, 4 a tick) with a circle (+32) and a square (+64) around it, PDSIZE its size in drawing
// units (negative: a percentage of the view's height; 0: five percent of it).
bool DrawPoint(const Rec& r, const AcDbDatabase* db, AcGiWorldDraw* d) {
    AcGePoint3d p;
    if (!r.pointOf(10, p) || !Ok(p)) return false;
    const long long mode = static_cast<long long>(HeaderReal(db, "$PDMODE", 70, 0.0));
    double size = HeaderReal(db, "$PDSIZE", 40, 0.0);
    if (size <= 0.0) {
        const AcDbExtents view = d->viewExtents();
        const double height = view.isValid() ? view.maxPoint().y - view.minPoint().y : 0.0;
        size = height * (size < 0.0 ? -size / 100.0 : 0.05);
    }
    long long figure = mode & 7;
    if (figure > 4) figure = 0;
    if (!(size > 0.0) || !Ok(size)) return figure == 1 && !(mode & 96) ? false : Dot(d, p);
    const double a = r.realOf(50, 0.0) * kDegToRad, h = size / 2.0;
    const AcGeVector3d x(std::cos(a) * h, std::sin(a) * h, 0.0), y(-x.y, x.x, 0.0);
    bool stop = false;
    if (figure == 0) stop = Dot(d, p);
    else if (figure == 2) stop = Polyline(d, {p - x, p + x}) || Polyline(d, {p - y, p + y});
    else if (figure == 3) stop = Polyline(d, {p - x - y, p + x + y}) || Polyline(d, {p - x + y, p + x - y});
    else if (figure == 4) stop = Polyline(d, {p, p + y});
    if (!stop && (mode & 32)) stop = d->geometry().circle(p, h);
    if (!stop && (mode & 64)) stop = Polyline(d, {p - x - y, p + x - y, p + x + y, p - x + y}, true);
    return stop;
}

// SOLID and TRACE: a filled quadrilateral of corners 1, 2, 4, 3 (a triangle when 3 and 4 are
// one point), in object coordinates.
bool DrawSolid(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c[4];
    if (!r.pointOf(10, c[0]) || !r.pointOf(11, c[1]) || !r.pointOf(12, c[2])) return false;
    if (!r.pointOf(13, c[3])) c[3] = c[2];
    std::vector<AcGePoint3d> pts;
    for (int k : {0, 1, 3, 2})
        if (pts.empty() || !(c[k] - pts.back()).isZeroLength()) pts.push_back(c[k]);
    if (pts.size() > 1 && (pts.back() - pts.front()).isZeroLength()) pts.pop_back();
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return pts.size() >= 3 ? Polygon(d, pts) : Polyline(d, pts);
}

// 3DFACE: its edges 1-2, 2-3, 3-4, 4-1, each left out when flag 1, 2, 4 or 8 makes it invisible.
bool DrawFace(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d c[4];
    if (!r.pointOf(10, c[0]) || !r.pointOf(11, c[1]) || !r.pointOf(12, c[2])) return false;
    if (!r.pointOf(13, c[3])) c[3] = c[2];
    const long long hidden = r.integerOf(70, 0);
    std::vector<AcGePoint3d> run;
    for (int e = 0; e < 4; ++e) {
        if (hidden & (1LL << e)) {
            if (Polyline(d, run)) return true;
            run.clear();
            continue;
        }
        if (run.empty()) run.push_back(c[e]);
        run.push_back(c[(e + 1) % 4]);
    }
    return Polyline(d, run);
}

// The extents the drawing file said it had ($EXTMIN, $EXTMAX); invalid when it said none.
AcDbExtents FileExtents(const AcDbDatabase* db) {
    AcDbExtents box;
    if (!db) return box;
    AcGePoint3d lo, hi;
    bool hasLo = false, hasHi = false;
    for (const auto& [name, groups] : vorn::db::FileDataOf(*db).header) {
        if (name == "$EXTMIN") hasLo = Rec(groups).pointOf(10, lo);
        if (name == "$EXTMAX") hasHi = Rec(groups).pointOf(10, hi);
    }
    if (hasLo && hasHi && lo.x < hi.x && lo.y < hi.y && Ok(lo) && Ok(hi)) box.set(lo, hi);
    return box;
}

// XLINE and RAY: the part within the view. When the sink does not say what it shows, the
// part within the file's extents grown by their size on every side, else a long way either
// side of the base point.
bool DrawConstructionLine(const Rec& r, bool ray, const AcDbDatabase* db, AcGiWorldDraw* d) {
    AcGePoint3d base, dir3;
    if (!r.pointOf(10, base) || !r.pointOf(11, dir3) || !Ok(base)) return false;
    const double len = std::hypot(dir3.x, dir3.y);
    if (!(len > 1e-12)) return Dot(d, base);
    const AcGeVector3d dir(dir3.x / len, dir3.y / len, 0.0);  // the plan shows it at the base's height
    const auto size = [](const AcDbExtents& b) {
        return std::max(b.maxPoint().x - b.minPoint().x, b.maxPoint().y - b.minPoint().y);
    };
    AcDbExtents box = d->viewExtents();
    if (box.isValid() && Ok(box.minPoint()) && Ok(box.maxPoint())) {
        box.expandBy(0.01 * size(box));
    } else if ((box = FileExtents(db)).isValid()) {
        box.addPoint(base);
        box.expandBy(size(box));
    } else {
        const AcGeVector3d reach(kFarReach, kFarReach, 0.0);
        box = AcDbExtents(base - reach, base + reach);
    }
    double t0 = ray ? 0.0 : -HUGE_VAL, t1 = HUGE_VAL;
    const double lo[2] = {box.minPoint().x, box.minPoint().y}, hi[2] = {box.maxPoint().x, box.maxPoint().y};
    const double o[2] = {base.x, base.y}, v[2] = {dir.x, dir.y};
    for (int k = 0; k < 2; ++k) {
        if (std::fabs(v[k]) < 1e-15) {
            if (o[k] < lo[k] || o[k] > hi[k]) return false;
            continue;
        }
        double a = (lo[k] - o[k]) / v[k], b = (hi[k] - o[k]) / v[k];
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a), t1 = std::min(t1, b);
    }
    if (!(t1 >= t0)) return false;
    return Polyline(d, {base + dir * t0, base + dir * t1});
}

// ---- blocks drawn for an entity ----

// The block the record names in group 2, placed by m (after its base point goes to the origin).
bool DrawBlock(const AcDbKeptEntity& e, const Rec& r, const AcGeMatrix3d& m, AcGiWorldDraw* d) {
    AcDbDatabase* db = e.database();
    const size_t at = r.find(2);
    if (!db || at >= r.size() || r.text(at).empty()) return false;
    const auto* block = AcDbBlockTableRecord::cast(db->peekObject(db->findBlock(Wide(r.text(at)))));
    if (!block) return false;
    return vorn::db::DrawBlockAt(block, m * AcGeMatrix3d::translation(-block->origin().asVector()), &e, d);
}

// A dimension's block holds its lines, arrows and text where they show; a copy made by a
// block's insertion keeps the block and says how far it moved (group 12).
bool DrawDimension(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d moved;
    r.pointOf(12, moved);
    return DrawBlock(e, r, OcsToWorld(Normal(r)) * AcGeMatrix3d::translation(moved.asVector()), d);
}

// A table's block is laid out from the table's insertion point.
bool DrawTable(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d at;
    r.pointOf(10, at, 0, r.findText(100, "AcDbTable"));
    return DrawBlock(e, r, AcGeMatrix3d::translation(at.asVector()), d);
}

// An array of block references (MINSERT), or a reference out of the plan: columns and rows
// at their spacing in the reference's own turned frame.
bool DrawArray(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d pos;
    r.pointOf(10, pos);
    const AcGeScale3d scale(r.realOf(41, 1.0), r.realOf(42, 1.0), r.realOf(43, 1.0));
    const double rotation = r.realOf(50, 0.0) * kDegToRad;
    double cols = static_cast<double>(std::max<long long>(1, r.integerOf(70, 1)));
    double rows = static_cast<double>(std::max<long long>(1, r.integerOf(71, 1)));
    cols = std::min(cols, kMaxArrayCopies), rows = std::min(rows, std::floor(kMaxArrayCopies / cols));
    const double dx = r.realOf(44, 0.0), dy = r.realOf(45, 0.0);
    const AcGeMatrix3d frame = OcsToWorld(Normal(r)) * AcGeMatrix3d::translation(pos.asVector()) *
                               AcGeMatrix3d::rotation(rotation, AcGeVector3d::kZAxis);
    for (double row = 0; row < rows; ++row)
        for (double col = 0; col < cols; ++col) {
            const AcGeMatrix3d m =
                frame * AcGeMatrix3d::translation(AcGeVector3d(col * dx, row * dy, 0.0)) * AcGeMatrix3d::scaling(scale);
            if (!m.isFinite()) return false;
            if (DrawBlock(e, r, m, d)) return true;
        }
    return false;
}

// ---- leaders ----

// The arrow size of a dimension style by name, from the drawing's kept DIMSTYLE table (its
// DIMASZ times DIMSCALE), else the drawing's own, else 2.5.
double ArrowSize(const AcDbDatabase* db, const std::string& style) {
    if (!db) return 2.5;
    const auto scaled = [](const Rec& r, int sizeCode, int scaleCode) {
        const double size = r.realOf(sizeCode, -1.0), scale = r.realOf(scaleCode, 1.0);
        return size * (scale > 0.0 ? scale : 1.0);
    };
    for (const auto& t : vorn::db::FileDataOf(*db).tables) {
        if (t.name != "DIMSTYLE") continue;
        for (const AcDbKeptRecord& rec : t.records) {
            const Rec r(rec.groups);
            const size_t name = r.find(2);
            if (name < r.size() && SameText(r.text(name), style.c_str())) {
                const double size = scaled(r, 41, 40);
                if (size >= 0.0) return size;
            }
        }
    }
    double scale = HeaderReal(db, "$DIMSCALE", 40, 1.0);
    if (!(scale > 0.0)) scale = 1.0;
    const double size = HeaderReal(db, "$DIMASZ", 40, -1.0) * scale;
    return size >= 0.0 && Ok(size) ? size : 2.5;
}

bool DrawLeader(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    std::vector<AcGePoint3d> pts;
    AcGePoint3d p;
    for (size_t i = 0; i < r.size(); ++i)
        if (r.code(i) == 10 && r.point(i, p)) pts.push_back(p);
    if (pts.size() < 2) return Polyline(d, pts);
    const std::vector<AcGePoint3d> path = r.integerOf(72, 0) == 1 ? FitCurve(pts, nullptr, nullptr, Tolerance(d)) : pts;
    if (Polyline(d, path)) return true;
    if (r.integerOf(71, 1) == 0) return false;
    const size_t style = r.find(3);
    const double size = ArrowSize(e.database(), style < r.size() ? r.text(style) : "");
    return Arrow(d, pts[0], path.size() > 1 ? path[1] : pts[1], size, (pts[1] - pts[0]).length());
}

// A multileader: each leader line from its arrow to the landing and along the dogleg, and
// the text of its context as a paragraph text.
bool DrawMultiLeader(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const size_t begin = r.findText(300, "CONTEXT_DATA{");
    if (begin >= r.size()) return false;
    const size_t end = std::min(r.findText(301, "}", begin), r.size());
    const size_t firstLeader = std::min(r.findText(302, "LEADER{", begin), end);
    double arrow = r.realOf(140, -1.0, begin, end);
    if (!(arrow > 0.0)) arrow = r.realOf(42, 0.0, end);
    const bool lines = r.integerOf(170, 1, end) != 0;
    bool stop = false;
    for (size_t i = firstLeader; lines && !stop && i < end; i = r.findText(302, "LEADER{", i + 1)) {
        const size_t close = std::min(r.findText(303, "}", i), end);
        AcGePoint3d landing, dogleg;
        const bool hasLanding = r.pointOf(10, landing, i, std::min(r.findText(304, "LEADER_LINE{", i), close));
        const bool hasDogleg = r.pointOf(11, dogleg, i, close);
        const double doglegLength = r.realOf(40, 0.0, i, close);
        for (size_t k = r.findText(304, "LEADER_LINE{", i); !stop && k < close;
             k = r.findText(304, "LEADER_LINE{", k + 1)) {
            const size_t lineEnd = std::min(r.findText(305, "}", k), close);
            std::vector<AcGePoint3d> pts;
            AcGePoint3d p;
            for (size_t j = k; j < lineEnd; ++j)
                if (r.code(j) == 10 && r.point(j, p)) pts.push_back(p);
            if (hasLanding) pts.push_back(landing);
            stop = Polyline(d, pts);
            if (!stop && pts.size() > 1) stop = Arrow(d, pts[0], pts[1], arrow, (pts[1] - pts[0]).length());
        }
        if (!stop && hasLanding && hasDogleg && doglegLength > 0.0)
            stop = Polyline(d, {landing, landing + dogleg.asVector().normal() * doglegLength});
    }
    if (stop) return true;
    // The text: contents, place, height, direction, width and attachment of the context.
    const size_t text = r.find(304, begin);
    if (text >= firstLeader || r.text(text).empty()) return false;
    AcGePoint3d at, dir(1.0, 0.0, 0.0);
    if (!r.pointOf(12, at, begin, firstLeader)) return false;
    r.pointOf(13, dir, begin, firstLeader);
    AcDbMText mtext;
    std::wstring contents = Wide(r.text(text));
    mtext.setContents(contents.c_str());
    mtext.setLocation(at);
    mtext.setTextHeight(std::max(r.realOf(41, 2.5, begin, firstLeader), 1e-9));
    mtext.setWidth(std::max(r.realOf(43, 0.0, begin, firstLeader), 0.0));
    if (std::hypot(dir.x, dir.y) > 0.0) mtext.setRotation(std::atan2(dir.y, dir.x));
    const long long attach = r.integerOf(171, 1, begin, firstLeader);
    mtext.setAttachment(static_cast<AcDbMText::AttachmentPoint>(attach >= 1 && attach <= 9 ? attach : 1));
    const size_t style = r.find(340, begin);
    if (const AcDbDatabase* db = e.database(); db && style < firstLeader) {
        const AcDbObjectId id = vorn::db::IdOfHandle(*db, std::strtoull(r.text(style).c_str(), nullptr, 16));
        if (AcDbTextStyleTableRecord::cast(db->peekObject(id))) mtext.setTextStyle(id);
    }
    return mtext.worldDraw(d);
}

// ---- images, meshes, polylines, curves out of the plan ----

// IMAGE and WIPEOUT: the clip boundary when there is one, else the image's rectangle. Clip
// vertices count pixels from the image's top left corner; the insertion point is the lower
// left corner of pixel (0, 0).
bool DrawImageFrame(const Rec& r, AcGiWorldDraw* d) {
    AcGePoint3d base, u3, v3, size3(1.0, 1.0, 0.0);
    if (!r.pointOf(10, base) || !r.pointOf(11, u3) || !r.pointOf(12, v3)) return false;
    r.pointOf(13, size3);
    const AcGeVector3d u = u3.asVector(), v = v3.asVector();
    const double h = size3.y;
    const auto at = [&](double x, double y) { return base + u * (x + 0.5) + v * (h - y - 0.5); };
    std::vector<AcGePoint2d> clip;
    AcGePoint3d p;
    const bool clipped = r.integerOf(280, 1) != 0;
    for (size_t i = r.find(91); clipped && i < r.size(); ++i)
        if (r.code(i) == 14 && r.point(i, p)) clip.emplace_back(p.x, p.y);
    if (clip.size() == 2) {
        const AcGePoint2d a = clip[0], b = clip[1];
        clip = {a, AcGePoint2d(b.x, a.y), b, AcGePoint2d(a.x, b.y)};
    }
    std::vector<AcGePoint3d> frame;
    if (clip.size() >= 3) {
        for (const AcGePoint2d& c : clip) frame.push_back(at(c.x, c.y));
        if ((frame.back() - frame.front()).isZeroLength()) frame.pop_back();
    } else {
        frame = {base, base + u * size3.x, base + u * size3.x + v * h, base + v * h};
    }
    return Polyline(d, frame, true);
}

bool DrawMesh(const Rec& r, AcGiWorldDraw* d) {
    std::vector<AcGePoint3d> verts;
    const size_t first = r.find(92);
    const long long count = first < r.size() ? r.integer(first, 0) : 0;
    size_t i = first + 1;
    for (AcGePoint3d p; i < r.size() && static_cast<long long>(verts.size()) < count && r.code(i) != 93; ++i)
        if (r.code(i) == 10) verts.push_back(r.point(i, p) ? p : AcGePoint3d());
    long long size = 0;
    Cursor f(r, r.find(93, std::min(i, r.size())));
    f.take(93, size);
    std::vector<long long> list;
    for (long long k = 0, v = 0; k < size && f.take(90, v); ++k) list.push_back(v);
    for (size_t k = 0; k < list.size();) {
        const long long n = list[k++];
        if (n < 2 || static_cast<size_t>(n) > list.size() - k) break;
        std::vector<AcGePoint3d> face;
        for (long long j = 0; j < n; ++j) {
            const long long v = list[k++];
            if (v >= 0 && static_cast<size_t>(v) < verts.size()) face.push_back(verts[static_cast<size_t>(v)]);
        }
        if (Polyline(d, face, true)) return true;
    }
    return false;
}

// A polyline the host keeps as it is: a 3D polyline, a polygon mesh (its rows and columns),
// a polyface mesh (its visible face edges) or a plan polyline out of the plan or with
// fitted vertices.
bool DrawPolyline(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const long long flags = r.integerOf(70, 0);
    struct Vertex {
        AcGePoint3d p;
        double bulge;
        long long flags;
        long long index[4];
    };
    std::vector<Vertex> verts, faces;
    for (const AcDbKeptRecord& rec : e.following()) {
        if (rec.type != "VERTEX") continue;
        const Rec v(rec.groups);
        Vertex x{AcGePoint3d(), v.realOf(42, 0.0), v.integerOf(70, 0), {}};
        for (int k = 0; k < 4; ++k) x.index[k] = v.integerOf(71 + k, 0);
        const bool face = (x.flags & 192) == 128;
        if (!face && !v.pointOf(10, x.p)) continue;
        (face ? faces : verts).push_back(x);
    }
    if (flags & 64) {
        for (const Vertex& f : faces) {
            int n = 0;
            while (n < 4 && f.index[n] != 0) ++n;
            for (int k = 0; k < n; ++k) {
                const long long a = f.index[k], b = f.index[(k + 1) % n];
                if (a < 0) continue;  // a negative number hides the edge from that vertex
                const long long ia = std::llabs(a) - 1, ib = std::llabs(b) - 1;
                if (ia >= static_cast<long long>(verts.size()) || ib >= static_cast<long long>(verts.size())) continue;
                if (Polyline(d, {verts[static_cast<size_t>(ia)].p, verts[static_cast<size_t>(ib)].p})) return true;
            }
        }
        return false;
    }
    if (flags & 16) {
        const long long m = r.integerOf(71, 0), n = r.integerOf(72, 0);
        const long long count = static_cast<long long>(verts.size());
        if (m < 1 || n < 1 || m > count || n > count || m * n != count) return false;
        const auto at = [&](long long i, long long j) { return verts[static_cast<size_t>(i * n + j)].p; };
        for (long long i = 0; i < m; ++i) {
            std::vector<AcGePoint3d> row;
            for (long long j = 0; j < n; ++j) row.push_back(at(i, j));
            if (Polyline(d, row, (flags & 32) != 0)) return true;
        }
        for (long long j = 0; j < n; ++j) {
            std::vector<AcGePoint3d> col;
            for (long long i = 0; i < m; ++i) col.push_back(at(i, j));
            if (Polyline(d, col, (flags & 1) != 0)) return true;
        }
        return false;
    }
    // A fitted polyline shows its fitted vertices, not its frame.
    std::vector<Vertex> shown;
    for (const Vertex& v : verts)
        if (!(v.flags & 16)) shown.push_back(v);
    const bool closed = (flags & 1) != 0;
    if (flags & 8) {
        std::vector<AcGePoint3d> pts;
        for (const Vertex& v : shown) pts.push_back(v.p);
        return Polyline(d, pts, closed);
    }
    std::vector<vorn::db::BulgeVertex> path;
    for (const Vertex& v : shown) {
        vorn::db::BulgeVertex b;
        b.point = AcGePoint2d(v.p.x, v.p.y);
        b.bulge = Ok(v.bulge) ? v.bulge : 0.0;
        path.push_back(b);
    }
    AcGePoint3d elevation;
    r.pointOf(10, elevation);
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return Polyline(d, Lift(vorn::db::FlattenPath(path, closed, Tolerance(d)), elevation.z), closed);
}

// CIRCLE, ARC and LWPOLYLINE whose plane is not the plan's.
bool DrawTilted(const std::string& type, const Rec& r, AcGiWorldDraw* d) {
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    if (type == "LWPOLYLINE") {
        std::vector<vorn::db::BulgeVertex> path;
        for (size_t i = 0; i < r.size(); ++i) {
            if (r.code(i) == 42 && !path.empty()) r.real(i, path.back().bulge);
            AcGePoint3d p;
            if (r.code(i) != 10 || !r.point(i, p)) continue;
            vorn::db::BulgeVertex v;
            v.point = AcGePoint2d(p.x, p.y);
            path.push_back(v);
        }
        const bool closed = (r.integerOf(70, 0) & 1) != 0;
        return Polyline(d, Lift(vorn::db::FlattenPath(path, closed, Tolerance(d)), r.realOf(38, 0.0)), closed);
    }
    AcGePoint3d c;
    const double radius = r.realOf(40, 0.0);
    if (!r.pointOf(10, c) || !(radius > 0.0)) return false;
    if (type == "CIRCLE") return d->geometry().circle(c, radius);
    const double start = r.realOf(50, 0.0), end = r.realOf(51, 360.0);
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0.0) sweep += 360.0;
    return d->geometry().circularArc(c, radius, start * kDegToRad, sweep * kDegToRad);
}

// ---- attributes ----

// A TEXT-like record (an attribute): its value at its insertion point, or at its alignment
// point for the other justifications, in its own plane.
bool DrawTextRecord(const Rec& r, const std::wstring& value, const AcDbDatabase* db, AcGiWorldDraw* d) {
    if (value.empty()) return false;
    AcGePoint3d at, align;
    if (!r.pointOf(10, at)) return false;
    const bool aligned = r.pointOf(11, align);
    AcDbText t;
    t.setPosition(at);
    t.setAlignmentPoint(aligned ? align : at);
    t.setTextString(value.c_str());
    t.setHeight(std::max(r.realOf(40, 0.0), 0.0));
    t.setRotation(r.realOf(50, 0.0) * kDegToRad);
    const double width = r.realOf(41, 1.0);
    if (width > 0.0) t.setWidthFactor(width);
    t.setOblique(r.realOf(51, 0.0) * kDegToRad);
    const long long h = r.integerOf(72, 0), v = r.integerOf(74, 0);
    if (aligned) {
        t.setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp<long long>(h, 0, 5)));
        t.setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp<long long>(v, 0, 3)));
    }
    const size_t style = r.find(7);
    if (db && style < r.size()) {
        const AcDbObjectId id = db->findTextStyle(Wide(r.text(style)));
        if (!id.isNull()) t.setTextStyle(id);
    }
    Pushed ocs(d->geometry(), OcsToWorld(Normal(r)));
    return t.worldDraw(d);
}

// The colour and layer a kept record names for itself (ByBlock: the owner's colour; an
// unknown layer: the owner's).
void SetTraitsOf(const Rec& r, const AcDbEntity* owner, AcGiWorldDraw* d) {
    AcCmColor colour;
    const long long aci = r.integerOf(62, 256);
    if (aci >= 0 && aci <= 256) colour.setColorIndex(static_cast<std::uint16_t>(aci));
    const long long rgb = r.integerOf(420, -1);
    if (rgb >= 0 && rgb <= 0xFFFFFF)
        colour.setRGB(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb));
    d->subEntityTraits().setTrueColor(colour.isByBlock() ? owner->color() : colour);
    AcDbObjectId layer = owner->layerId();
    const size_t name = r.find(8);
    if (const AcDbDatabase* db = owner->database(); db && name < r.size()) {
        const AcDbObjectId id = db->findLayer(Wide(r.text(name)));
        if (!id.isNull()) layer = id;
    }
    d->subEntityTraits().setLayer(layer);
}

// An attribute definition shows in a block only when constant; outside blocks its tag shows.
bool DrawAttributeDefinition(const AcDbKeptEntity& e, const Rec& r, AcGiWorldDraw* d) {
    const long long flags = r.integerOf(70, 0);
    const AcDbDatabase* db = e.database();
    const bool inSpace = db && (e.ownerId() == db->modelSpaceId() || e.ownerId() == db->paperSpaceId());
    const int code = (flags & 2) ? 1 : inSpace ? 2 : -1;
    if (code < 0 || (flags & 1)) return false;
    const size_t at = r.find(code);
    return at < r.size() && DrawTextRecord(r, Wide(r.text(at)), db, d);
}

}  // namespace

namespace vorn::db {

// The visible attributes a block reference keeps after it in the file, drawn with their own
// colour and layer; the owner's traits are set again afterwards.
bool DrawKeptAttributes(const AcDbEntity* owner, AcGiWorldDraw* draw) {
    const AcDbKeptData* kept = owner ? owner->keptData() : nullptr;
    if (!kept || !draw) return false;
    bool stop = false, any = false;
    for (const AcDbKeptRecord& rec : kept->following) {
        if (rec.type != "ATTRIB") continue;
        const Rec r(rec.groups);
        if (r.integerOf(70, 0) & 1) continue;  // invisible
        const size_t value = r.find(1);
        if (value >= r.size() || r.text(value).empty()) continue;
        SetTraitsOf(r, owner, draw);
        any = true;
        if ((stop = DrawTextRecord(r, Wide(r.text(value)), owner->database(), draw) || draw->regenAbort())) break;
    }
    if (any) {
        draw->subEntityTraits().setTrueColor(owner->color());
        draw->subEntityTraits().setLayer(owner->layerId());
    }
    return stop;
}

namespace detail {

// The box of what a kept entity draws, for the kinds whose groups' points alone miss part of
// it (a hatch's arcs, a dimension's text, the curve of a spline); false for the others.
bool KeptDrawnExtents(const AcDbKeptEntity& e, AcDbExtents& extents) {
    const std::string& type = e.type();
    extents.reset();
    if (type == "HATCH") {
        return vorn::db::keptshape::HatchExtents(Rec(e.groups()), extents);
    }
    static const char* const kDrawn[] = {"DIMENSION", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "ACAD_TABLE",
                                         "MULTILEADER", "MLEADER", "SPLINE", "ELLIPSE", "CIRCLE", "ARC",
                                         "LWPOLYLINE", "INSERT", "LEADER"};
    bool drawn = false;
    for (const char* k : kDrawn) drawn = drawn || type == k;
    if (!drawn) return false;
    GiExtentsMeter sink;
    if (type == "SPLINE" && DrawSpline(Rec(e.groups()), &sink, &extents)) return extents.isValid();
    e.worldDraw(&sink);
    extents = sink.extents();
    return extents.isValid();
}

}  // namespace detail
}  // namespace vorn::db

bool AcDbKeptEntity::worldDraw(AcGiWorldDraw* draw) const {
    if (!draw) return false;
    const Rec r(groups());
    const std::string& t = m_type;
    if (t == "HATCH") return DrawHatch(r, database(), draw);
    if (t == "SPLINE") return DrawSpline(r, draw);
    if (t == "ELLIPSE") return DrawEllipse(r, draw);
    if (t == "POINT") return DrawPoint(r, database(), draw);
    if (t == "SOLID" || t == "TRACE") return DrawSolid(r, draw);
    if (t == "3DFACE") return DrawFace(r, draw);
    if (t == "XLINE" || t == "RAY") return DrawConstructionLine(r, t == "RAY", database(), draw);
    if (t == "DIMENSION" || t == "ARC_DIMENSION" || t == "LARGE_RADIAL_DIMENSION") return DrawDimension(*this, r, draw);
    if (t == "ACAD_TABLE") return DrawTable(*this, r, draw);
    if (t == "LEADER") return DrawLeader(*this, r, draw);
    if (t == "MULTILEADER" || t == "MLEADER") return DrawMultiLeader(*this, r, draw);
    if (t == "IMAGE" || t == "WIPEOUT") return DrawImageFrame(r, draw);
    if (t == "MESH") return DrawMesh(r, draw);
    if (t == "POLYLINE") return DrawPolyline(*this, r, draw);
    if (t == "CIRCLE" || t == "ARC" || t == "LWPOLYLINE") return DrawTilted(t, r, draw);
    if (t == "ATTDEF") return DrawAttributeDefinition(*this, r, draw);
    if (t == "INSERT") return DrawArray(*this, r, draw) || vorn::db::DrawKeptAttributes(this, draw);
    return false;
}
