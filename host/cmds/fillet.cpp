// FILLET: two lines, arcs or straight polyline end segments picked (at the prompt or from acedCommand's entity/point pairs)
// are joined by an arc of radius FILLETRAD, or meet in a sharp corner at radius 0.
#include <cmath>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/cmds/filletgeom.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editorstate.h"
#include "host/ed/selection.h"

namespace vorn::cmds {
namespace {

struct Picked {
    AcDbObjectId id;
    AcGePoint3d pick;
    FilletCurve curve;
    // A straight end segment of an open polyline: the vertices that may move (the free end;
    // both for a polyline of one segment).
    bool polyline = false;
    int vertexStart = -1, vertexEnd = -1;
    bool startMayMove = true, endMayMove = true;
};

// The polyline's segment nearest the pick, when it is a straight end segment of an open polyline.
bool PolylineSegment(const AcDbPolyline* pl, Picked& p, std::wstring& refusal) {
    const unsigned n = pl->numSegments();
    unsigned best = 0;
    double bestDist = -1;
    for (unsigned i = 0; i < n; ++i) {
        vorn::db::BulgeSegment seg;
        AcGePoint2d near;
        if (pl->getSegmentAt(i, seg) != Acad::eOk) continue;
        seg.closestFraction(p.pick.convert2d(), near);
        const double d = (near - p.pick.convert2d()).length();
        if (bestDist < 0 || d < bestDist) bestDist = d, best = i;
    }
    vorn::db::BulgeSegment seg;
    if (bestDist < 0 || pl->getSegmentAt(best, seg) != Acad::eOk) return false;
    if (pl->isClosed() || (best != 0 && best + 1 != n)) {
        refusal = L"Only an end segment of an open polyline can be filleted.";
        return false;
    }
    if (seg.isArc) {
        refusal = L"Only a straight end segment of a polyline can be filleted.";
        return false;
    }
    p.polyline = true;
    p.vertexStart = static_cast<int>(best);
    p.vertexEnd = static_cast<int>(best + 1);
    p.startMayMove = best == 0;
    p.endMayMove = best + 1 == n;
    p.curve = FilletCurve::Line(AcGePoint3d(seg.start), AcGePoint3d(seg.end));
    return true;
}

bool CurveOf(Picked& p, std::wstring& refusal) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenAcDbEntity(ent, p.id, AcDb::kForRead) != Acad::eOk) return false;
    bool ok = true;
    p.polyline = false;
    if (const AcDbLine* line = AcDbLine::cast(ent)) p.curve = FilletCurve::Line(line->startPoint(), line->endPoint());
    else if (const AcDbArc* arc = AcDbArc::cast(ent))
        p.curve = FilletCurve::Arc(arc->center(), arc->radius(), arc->startAngle(), arc->endAngle());
    else if (const AcDbPolyline* pl = AcDbPolyline::cast(ent)) ok = PolylineSegment(pl, p, refusal);
    else ok = false;
    ent->close();
    return ok;
}

// A polyline's inner vertex stays where it is: the segment must keep it.
bool KeepsFixedVertex(const Picked& p, const FilletCurve& trimmed) {
    if (!p.polyline) return true;
    return (p.startMayMove || trimmed.start.isEqualTo(p.curve.start)) &&
           (p.endMayMove || trimmed.end.isEqualTo(p.curve.end));
}

void AskRadius(AcDbDatabase* db) {
    for (;;) {
        acedInitGet(RSG_NONEG, nullptr);
        ads_real r = db->filletrad();
        const std::wstring prompt = L"\nSpecify fillet radius <" + Num(db->filletrad()) + L">: ";
        if (acedGetDist(nullptr, prompt.c_str(), &r) != RTNORM) return;
        if (db->setFilletrad(r) == Acad::eOk) return;
        Say(L"The radius must be a finite number of 0 or more.");
    }
}

// RTNORM with a line or arc; RTKWORD after the radius was asked for; other codes end FILLET.
int PickCurve(AcDbDatabase* db, const wchar_t* prompt, const AcDbObjectId& other, Picked& out) {
    for (;;) {
        ads_name name;
        ads_point pt;
        acedInitGet(0, L"Radius");
        const int rc = acedEntSel(prompt, name, pt);
        if (rc == RTKWORD) {
            AskRadius(db);
            return RTKWORD;
        }
        if (rc != RTNORM) return rc;
        if (acdbGetObjectId(out.id, name) != Acad::eOk || out.id.isErased()) {
            Say(L"That object is no longer in the drawing; select a line or an arc.");
            continue;
        }
        if (out.id == other) {
            Say(L"Cannot fillet an object with itself; select a different line or arc.");
            continue;
        }
        out.pick = ToWorld(pt);
        std::wstring refusal;
        if (!CurveOf(out, refusal)) {
            Say(refusal.empty() ? L"FILLET works on lines, arcs and polyline end segments; select one of those."
                                : refusal);
            continue;
        }
        return RTNORM;
    }
}

bool WriteCurve(const Picked& p, const FilletCurve& c) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenAcDbEntity(ent, p.id, AcDb::kForWrite) != Acad::eOk) return false;
    Acad::ErrorStatus es = Acad::eOk;
    if (AcDbPolyline* pl = AcDbPolyline::cast(ent)) {
        es = pl->setPointAt(static_cast<unsigned>(p.vertexStart), c.start.convert2d());
        if (es == Acad::eOk) es = pl->setPointAt(static_cast<unsigned>(p.vertexEnd), c.end.convert2d());
    } else if (AcDbLine* line = AcDbLine::cast(ent)) {
        const double z0 = line->startPoint().z, z1 = line->endPoint().z;
        es = line->setStartPoint(AcGePoint3d(c.start.x, c.start.y, z0));
        if (es == Acad::eOk) es = line->setEndPoint(AcGePoint3d(c.end.x, c.end.y, z1));
    } else if (AcDbArc* arc = AcDbArc::cast(ent)) {
        es = arc->setStartAngle(c.startAngle);
        if (es == Acad::eOk) es = arc->setEndAngle(c.endAngle);
    }
    ent->close();
    return es == Acad::eOk;
}

std::wstring Failure(FilletStatus status, double radius) {
    switch (status) {
        case FilletStatus::kParallel:
            return L"The lines are parallel: no fillet fits between them.";
        case FilletStatus::kDegenerate:
            return L"Cannot fillet: an object has no length or a coordinate that is not finite.";
        default:
            if (radius == 0) return L"These objects do not meet in the picked corner: no corner can be made.";
            return L"No fillet of radius " + Num(radius) +
                   L" fits between these objects in the picked corner; try a smaller radius.";
    }
}

void FilletCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    // The settings line belongs with the prompts: a command running FILLET with CMDECHO 0 hides it.
    if (vorn::ed::PromptsVisible()) Say(L"Current settings: Mode = TRIM, Radius = " + Num(db->filletrad()));
    Picked first, second;
    int rc;
    while ((rc = PickCurve(db, L"\nSelect first object or [Radius]: ", AcDbObjectId(), first)) == RTKWORD) {
    }
    if (rc != RTNORM) return;
    while ((rc = PickCurve(db, L"\nSelect second object or [Radius]: ", first.id, second)) == RTKWORD) {
    }
    if (rc != RTNORM) return;

    const double radius = db->filletrad();
    FilletResult r = ComputeFillet(first.curve, first.pick, second.curve, second.pick, radius);
    if (r.status == FilletStatus::kOk && (!KeepsFixedVertex(first, r.first) || !KeepsFixedVertex(second, r.second)))
        r.status = FilletStatus::kNoFit;
    if (r.status != FilletStatus::kOk) {
        // Run with prompts hidden (a command's own FILLET under CMDECHO 0), the calling command
        // reports the corner in its own words.
        if (vorn::ed::PromptsVisible()) Say(Failure(r.status, radius));
        return;
    }
    AcDbEntity* a = nullptr;
    AcDbObjectId layer;
    if (acdbOpenAcDbEntity(a, first.id, AcDb::kForRead) == Acad::eOk) {
        layer = a->layerId();
        a->close();
    }
    if (acdbOpenAcDbEntity(a, second.id, AcDb::kForRead) == Acad::eOk) {
        if (a->layerId() != layer) layer = AcDbObjectId();
        a->close();
    }
    if (!WriteCurve(first, r.first) || !WriteCurve(second, r.second)) {
        Say(L"The objects could not be changed (are they open elsewhere?).");
        return;
    }
    if (r.hasArc) {
        auto* arc = new AcDbArc(r.arc.centre, r.arc.radius, r.arc.startAngle, r.arc.endAngle);
        if (!layer.isNull()) arc->setLayer(layer);
        Append(arc);
    }
}

}  // namespace

void RegisterFilletCommand() { vorn::ed::AddCommand(kGroup, L"FILLET", L"FILLET", 0, FilletCommand); }

}  // namespace vorn::cmds
