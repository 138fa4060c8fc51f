// TRIM and EXTEND: lines, arcs, circles and polylines cut back to, or lengthened to, the
// cutting or boundary edges the user selects (Enter: every curve of the drawing).
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/cmds/curvege.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/editorstate.h"
#include "host/ed/selection.h"

namespace vorn::cmds {
namespace {

// The edges a pick is cut or extended against: the chosen objects, or (none chosen) every
// curve of the drawing as it is at that pick, pieces of earlier trims included. Of those, only
// the ones meeting the box [lo, hi] (world XY) can matter.
struct Edges {
    bool all = false;
    std::vector<AcDbObjectId> chosen;

    std::vector<std::unique_ptr<KyGeCurve2d>> curvesBut(const AcDbObjectId& self, const KyGePoint& lo,
                                                        const KyGePoint& hi) const {
        std::vector<std::unique_ptr<KyGeCurve2d>> out;
        const std::vector<AcDbObjectId> ids =
            all ? vorn::ed::dbx::InBox(AcGePoint3d(lo.x, lo.y, 0), AcGePoint3d(hi.x, hi.y, 0)) : chosen;
        for (const AcDbObjectId& id : ids) {
            if (id == self || id.isErased()) continue;
            AcDbEntity* e = nullptr;
            if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
            if (auto c = CurveOf(e)) out.push_back(std::move(c));
            e->close();
        }
        return out;
    }
};

// False on Esc. what: "cutting" or "boundary".
bool AskEdges(const wchar_t* what, Edges& edges) {
    // Told once, as part of the prompt (hidden with it), before the selection asks again and again.
    if (vorn::ed::PromptsVisible()) vorn::ed::Print(L"\nSelect " + std::wstring(what) + L" edges ...");
    ads_name ss;
    const int rc = vorn::ed::SelectEntities(L"\nSelect objects or <select all>: ", nullptr, ss);
    if (rc == RTCAN) return false;
    if (rc != RTNORM) {
        edges.all = true;
        return true;
    }
    std::int32_t n = 0;
    acedSSLength(ss, &n);
    for (std::int32_t i = 0; i < n; ++i) {
        ads_name e;
        AcDbObjectId id;
        if (acedSSName(ss, i, e) == RTNORM && acdbGetObjectId(id, e) == Acad::eOk) edges.chosen.push_back(id);
    }
    acedSSFree(ss);
    return true;
}

// The box round a curve, arcs with their bulge (a circle's square for them: a little more is
// harmless).
void Box(const KyGeCurve2d& curve, KyGePoint& lo, KyGePoint& hi) {
    lo = hi = curve.GetStartPoint();
    const auto add = [&](const KyGePoint& p, double reach) {
        lo = KyGePoint(std::min(lo.x, p.x - reach), std::min(lo.y, p.y - reach));
        hi = KyGePoint(std::max(hi.x, p.x + reach), std::max(hi.y, p.y + reach));
    };
    std::vector<std::unique_ptr<KyGeCurve2d>> parts;
    if (const auto* pl = KyGeCast<KyGePolyline2d>(&curve)) {
        for (int i = 0; i < pl->GetSegNum(); ++i)
            if (auto seg = pl->GetSegment(i)) parts.push_back(std::move(seg));
    } else {
        parts.push_back(curve.Clone());
    }
    for (const auto& part : parts) {
        if (const auto* arc = KyGeCast<KyGeArc2d>(part.get())) add(arc->GetCenter(), arc->GetRadius());
        add(part->GetStartPoint(), 0);
        add(part->GetEndPoint(), 0);
    }
}

// One pick: RTNORM with the entity, its curve and the pick (world); RTKWORD for Undo; other
// codes end the command.
int PickCurve(const wchar_t* prompt, const wchar_t* kind, AcDbObjectId& id, std::unique_ptr<KyGeCurve2d>& curve,
              KyGePoint& pick) {
    for (;;) {
        ads_name name;
        ads_point pt;
        acedInitGet(0, L"Undo");
        const int rc = acedEntSel(prompt, name, pt);
        if (rc != RTNORM) return rc;
        AcDbEntity* e = nullptr;
        if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
        curve = CurveOf(e);
        e->close();
        if (curve) {
            const AcGePoint3d w = ToWorld(pt);
            pick = KyGePoint(w.x, w.y);
            return RTNORM;
        }
        vorn::ed::RefuseAnswer(std::wstring(kind) + L" works on lines, arcs, circles and polylines; select one of those.");
    }
}

// ---- TRIM ----

// Where the edges cross the curve: distances along it, ascending, each place once; on an open
// curve its own ends do not count.
std::vector<double> Cuts(const KyGeCurve2d& curve, const std::vector<std::unique_ptr<KyGeCurve2d>>& edges) {
    const double length = curve.Length();
    std::vector<double> at;
    for (const auto& edge : edges)
        for (const KyGePoint& p : KyGeIntersectPoints(curve, *edge)) at.push_back(curve.GetDistFromPt(p));
    std::sort(at.begin(), at.end());
    std::vector<double> out;
    for (double d : at) {
        if (!curve.IsClosed() && (d <= g_distZero || d >= length - g_distZero)) continue;
        if (curve.IsClosed() && d >= length - g_distZero) d = 0;  // the start of a closed curve
        if (std::none_of(out.begin(), out.end(), [&](double o) { return std::fabs(o - d) <= g_distZero; }))
            out.push_back(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::unique_ptr<KyGeCurve2d> Piece(const KyGeCurve2d& curve, double from, double to) {
    const double length = curve.Length();
    return curve.GetSubCurve(from / length, to / length);
}

// What remains of the curve once the part between the cuts round the pick is gone; false when
// no cut lies on the needed sides.
bool Trimmed(const KyGeCurve2d& curve, const std::vector<double>& cuts, double pick,
             std::vector<std::unique_ptr<KyGeCurve2d>>& pieces) {
    const double length = curve.Length();
    const auto after = std::upper_bound(cuts.begin(), cuts.end(), pick);
    const bool hasAfter = after != cuts.end(), hasBefore = after != cuts.begin();
    if (!curve.IsClosed()) {
        if (!hasAfter && !hasBefore) return false;
        if (hasBefore) pieces.push_back(Piece(curve, 0, *(after - 1)));
        if (hasAfter) pieces.push_back(Piece(curve, *after, length));
    } else {
        if (cuts.size() < 2) return false;
        // The gap runs from the cut before the pick to the cut after it, going round.
        const double from = hasAfter ? *after : cuts.front();
        const double to = hasBefore ? *(after - 1) : cuts.back();
        if (KyGeCast<KyGeCircle2d>(&curve) || from < to) {
            pieces.push_back(Piece(curve, from, to));
        } else {
            std::unique_ptr<KyGeCurve2d> head = Piece(curve, from, length), tail = Piece(curve, 0, to);
            if (head && tail) head->Conbine(*tail);
            pieces.push_back(head ? std::move(head) : std::move(tail));
            if (auto* pl = KyGeCast<KyGePolyline2d>(pieces.back().get())) pl->SetClosed(false);
        }
    }
    pieces.erase(std::remove(pieces.begin(), pieces.end(), nullptr), pieces.end());
    return true;
}

void TrimCommand() {
    if (!Drawing()) return;
    Edges edges;
    if (!AskEdges(L"cutting", edges)) return;
    CommandSteps steps;
    for (;;) {
        AcDbObjectId id;
        std::unique_ptr<KyGeCurve2d> curve;
        KyGePoint pick;
        const int rc = PickCurve(L"\nSelect object to trim or [Undo] <exit>: ", L"TRIM", id, curve, pick);
        if (rc == RTKWORD) {
            steps.undoLast();
            continue;
        }
        if (rc != RTNORM) return;
        KyGePoint lo, hi;
        Box(*curve, lo, hi);
        std::vector<std::unique_ptr<KyGeCurve2d>> pieces;
        if (!Trimmed(*curve, Cuts(*curve, edges.curvesBut(id, lo, hi)), curve->GetDistFromPt(pick), pieces)) {
            vorn::ed::RefuseAnswer(curve->IsClosed()
                                       ? L"A closed object is trimmed between two crossings with the cutting edges; "
                                         L"this one has fewer. Select another object."
                                       : L"This object does not cross a cutting edge: nothing to trim. Select another object.");
            continue;
        }
        steps.begin();
        if (!ReplaceCurve(id, pieces)) Say(L"The object could not be trimmed (is it open elsewhere?).");
    }
}

// ---- EXTEND ----

// The travel from an arc's end (or start, backwards) round its circle to p, in radians.
double TravelBeyond(const KyGeArc2d& arc, const KyGePoint& p, bool atEnd) {
    const double sense = arc.IsClockwise() ? -1 : 1;
    const double a = GetAngle2d(arc.GetCenter(), p);
    return GetStdAngle(atEnd ? sense * (a - arc.GetEndAngle()) : sense * (arc.GetStartAngle() - a));
}

// The straight or arc piece (a line, an arc, or a polyline's end segment) lengthened at one end
// to the nearest crossing of its line or circle with an edge; null when none lies beyond it.
std::unique_ptr<KyGeCurve2d> Lengthened(const KyGeCurve2d& piece, bool atEnd,
                                        const std::vector<std::unique_ptr<KyGeCurve2d>>& edges) {
    if (const auto* arc = KyGeCast<KyGeArc2d>(&piece)) {
        const auto circle = arc->GetExtendCurve();
        double best = -1;
        const double room = 2 * KyGePi - arc->GetSweep() - g_angleZero;  // never round onto itself
        for (const auto& edge : edges)
            for (const KyGePoint& p : KyGeIntersectPoints(*circle, *edge)) {
                const double t = TravelBeyond(*arc, p, atEnd);
                if (t * arc->GetRadius() > g_distZero && t < room && (best < 0 || t < best)) best = t;
            }
        if (best < 0) return nullptr;
        const double sense = arc->IsClockwise() ? -1 : 1;
        const double start = atEnd ? arc->GetStartAngle() : arc->GetStartAngle() - sense * best;
        const double end = atEnd ? arc->GetEndAngle() + sense * best : arc->GetEndAngle();
        return KyGeArc2d::Create(arc->GetCenter(), arc->GetRadius(), start, end, arc->IsClockwise());
    }
    const auto* seg = KyGeCast<KyGeLineSeg2d>(&piece);
    if (!seg || seg->IsDegenerate()) return nullptr;
    const KyGeLine2d line(*seg);
    const double length = seg->Length();
    double best = 0;
    bool found = false;
    for (const auto& edge : edges)
        for (const KyGePoint& p : KyGeIntersectPoints(line, *edge)) {
            // How far beyond the chosen end, along the line.
            const double t = line.GetPaFromPt(p);
            const double beyond = (atEnd ? t - 1 : -t) * length;
            if (beyond > g_distZero && (!found || beyond < best)) best = beyond, found = true;
        }
    if (!found) return nullptr;
    const KyGeVector2d dir = seg->GetDirection();
    if (atEnd) return std::make_unique<KyGeLineSeg2d>(seg->GetStartPoint(), seg->GetEndPoint() + dir * best);
    return std::make_unique<KyGeLineSeg2d>(seg->GetStartPoint() - dir * best, seg->GetEndPoint());
}

// The curve lengthened at the end nearer the pick; null when it meets no edge that way.
std::unique_ptr<KyGeCurve2d> Extended(const KyGeCurve2d& curve, bool atEnd,
                                      const std::vector<std::unique_ptr<KyGeCurve2d>>& edges) {
    const auto* pl = KyGeCast<KyGePolyline2d>(&curve);
    if (!pl) return Lengthened(curve, atEnd, edges);
    const int index = atEnd ? pl->GetSegNum() - 1 : 0;
    const std::unique_ptr<KyGeCurve2d> seg = pl->GetSegment(index);
    std::unique_ptr<KyGeCurve2d> longer = seg ? Lengthened(*seg, atEnd, edges) : nullptr;
    if (!longer) return nullptr;
    auto out = pl->Clone();
    const auto* arc = KyGeCast<KyGeArc2d>(longer.get());
    const bool moved = atEnd ? out->SetVertex(index + 1, longer->GetEndPoint())
                             : out->SetVertex(0, longer->GetStartPoint());
    if (!moved || (arc && !out->SetBulge(index, arc->GetBulge()))) return nullptr;
    return out;
}

void ExtendCommand() {
    if (!Drawing()) return;
    Edges edges;
    if (!AskEdges(L"boundary", edges)) return;
    CommandSteps steps;
    for (;;) {
        AcDbObjectId id;
        std::unique_ptr<KyGeCurve2d> curve;
        KyGePoint pick;
        const int rc = PickCurve(L"\nSelect object to extend or [Undo] <exit>: ", L"EXTEND", id, curve, pick);
        if (rc == RTKWORD) {
            steps.undoLast();
            continue;
        }
        if (rc != RTNORM) return;
        if (curve->IsClosed()) {
            vorn::ed::RefuseAnswer(L"A closed object has no end to extend; select a line, an arc or an open polyline.");
            continue;
        }
        const bool atEnd = curve->GetDistFromPt(pick) > curve->Length() / 2;
        std::vector<std::unique_ptr<KyGeCurve2d>> pieces;
        // The edges an extension can reach lie in the drawing's extents.
        KyGePoint lo, hi;
        Box(*curve, lo, hi);
        if (const AcDbDatabase* db = Drawing()) {
            const AcDbExtents all = db->modelSpaceExtents();
            if (all.isValid()) {
                lo = KyGePoint(std::min(lo.x, all.minPoint().x), std::min(lo.y, all.minPoint().y));
                hi = KyGePoint(std::max(hi.x, all.maxPoint().x), std::max(hi.y, all.maxPoint().y));
            }
        }
        pieces.push_back(Extended(*curve, atEnd, edges.curvesBut(id, lo, hi)));
        if (!pieces[0]) {
            vorn::ed::RefuseAnswer(L"The object does not meet a boundary edge beyond its end nearer the pick: nothing "
                                   L"to extend. Select another object, near the end to extend.");
            continue;
        }
        steps.begin();
        if (!ReplaceCurve(id, pieces)) Say(L"The object could not be extended (is it open elsewhere?).");
    }
}

}  // namespace

void RegisterTrimCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"TRIM", L"TRIM", 0, TrimCommand);
    AddCommand(kGroup, L"EXTEND", L"EXTEND", 0, ExtendCommand);
}

}  // namespace vorn::cmds
