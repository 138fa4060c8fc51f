// OFFSET: a parallel copy of a line, arc, circle or polyline at a distance, or through a point,
// on the side the user points to; it repeats until Enter.
#include <cmath>
#include <memory>
#include <string>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/cmds/curvege.h"
#include "host/db/dbkept.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/selection.h"

namespace vorn::cmds {
namespace {

// The distance of the last OFFSET, for the next one's default; negative: Through.
double g_lastOffset = -1;

// The part of the curve a side point belongs to: the curve itself, or a polyline's segment
// nearest the point (held in holder).
const KyGeCurve2d* NearestPart(const KyGeCurve2d& curve, const KyGePoint& p, std::unique_ptr<KyGeCurve2d>& holder) {
    const auto* pl = KyGeCast<KyGePolyline2d>(&curve);
    if (!pl) return &curve;
    double best = -1;
    for (int i = 0; i < pl->GetSegNum(); ++i) {
        std::unique_ptr<KyGeCurve2d> seg = pl->GetSegment(i);
        KyGePoint foot;
        if (!seg) continue;
        seg->GetClosestPoint2d(p, foot);
        const double d = Distance2d(p, foot);
        if (best < 0 || d < best) best = d, holder = std::move(seg);
    }
    return holder.get();
}

// The signed offset that puts the parallel curve through side point p at the given distance
// (negative on the left of travel, as the geometry library offsets); 0 when p lies on the curve.
// through: the distance is p's own from the curve (the line or circle it lies on).
double SignedOffset(const KyGeCurve2d& curve, const KyGePoint& p, bool through, double distance) {
    std::unique_ptr<KyGeCurve2d> holder;
    const KyGeCurve2d* part = NearestPart(curve, p, holder);
    if (!part) return 0;
    bool left = false;
    double from = 0;  // p's distance from the line or circle the part lies on
    if (const auto* arc = KyGeCast<KyGeArc2d>(part)) {
        const double r = Distance2d(p, arc->GetCenter());
        from = std::fabs(r - arc->GetRadius());
        left = (r < arc->GetRadius()) != arc->IsClockwise();
    } else if (const auto* line = KyGeCast<KyGeBaseLine2d>(part)) {
        from = Distance2d(p, line->GetFoot(p));
        left = Orient2d(line->GetStartPoint(), line->GetEndPoint(), p) > 0;
    }
    if (!(from > g_distZero)) return 0;
    const double d = through ? from : distance;
    return left ? -d : d;
}

// The distance, or Through; false on Esc.
bool AskDistance(double& distance, bool& through) {
    for (;;) {
        const std::wstring fallback = g_lastOffset < 0 ? std::wstring(L"Through") : Num(g_lastOffset);
        const std::wstring prompt = L"\nSpecify offset distance or [Through] <" + fallback + L">: ";
        acedInitGet(RSG_NOZERO | RSG_NONEG, L"Through");
        const int rc = acedGetDist(nullptr, prompt.c_str(), &distance);
        if (rc == RTKWORD || (rc == RTNONE && g_lastOffset < 0)) {
            through = true;
            g_lastOffset = -1;
            return true;
        }
        if (rc == RTNONE) distance = g_lastOffset;
        else if (rc != RTNORM) return false;
        if (distance <= g_maxGeomSize) {
            through = false;
            g_lastOffset = distance;
            return true;
        }
        vorn::ed::RefuseAnswer(L"An offset of " + Num(distance) + L" is too large: expected a distance up to " +
                               Num(g_maxGeomSize) + L".");
    }
}

// A parallel entity of source's kind and properties with the curve's geometry.
AcDbEntity* OffsetEntity(const AcDbEntity* source, const KyGeCurve2d& curve) {
    auto* copy = static_cast<AcDbEntity*>(source->clone());
    vorn::db::PrepareCopy(copy, false);
    if (SetCurve(copy, curve)) return copy;
    delete copy;
    AcDbEntity* made = NewEntityOf(curve, ElevationOf(source));
    if (made) made->setPropertiesFrom(source);
    return made;
}

void OffsetCommand() {
    if (!Drawing()) return;
    double distance = 0;
    bool through = false;
    if (!AskDistance(distance, through)) return;
    CommandSteps steps;
    for (;;) {
        ads_name name;
        ads_point pick;
        acedInitGet(0, L"Undo");
        const int rc = acedEntSel(L"\nSelect object to offset or [Undo] <exit>: ", name, pick);
        if (rc == RTKWORD) {
            steps.undoLast();
            continue;
        }
        if (rc != RTNORM) return;
        AcDbObjectId id;
        AcDbEntity* source = nullptr;
        if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenAcDbEntity(source, id, AcDb::kForRead) != Acad::eOk)
            continue;
        const std::unique_ptr<KyGeCurve2d> curve = CurveOf(source);
        source->close();
        if (!curve) {
            vorn::ed::RefuseAnswer(L"OFFSET works on lines, arcs, circles and polylines; select one of those.");
            continue;
        }
        double signedOffset = 0;
        for (;;) {
            ads_point side;
            if (acedGetPoint(nullptr, through ? L"\nSpecify through point: " : L"\nSpecify point on side to offset: ",
                             side) != RTNORM)
                return;
            const AcGePoint3d w = ToWorld(side);
            signedOffset = SignedOffset(*curve, KyGePoint(w.x, w.y), through, distance);
            if (signedOffset != 0) break;
            vorn::ed::RefuseAnswer(L"The point lies on the object: specify a point off it, on the side to offset to.");
        }
        const std::unique_ptr<KyGeCurve2d> parallel = curve->GetOffsetCurve(signedOffset);
        if (!parallel) {
            vorn::ed::RefuseAnswer(L"Cannot offset this object by " + Num(std::fabs(signedOffset)) +
                L" to that side: an arc's radius or a segment would shrink to nothing. Use a smaller distance or "
                L"the other side.");
            continue;
        }
        if (acdbOpenAcDbEntity(source, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbEntity* made = OffsetEntity(source, *parallel);
        source->close();
        if (!made) {
            vorn::ed::RefuseAnswer(L"Cannot offset this object that far: the copy would leave the range of coordinates a drawing holds.");
            continue;
        }
        steps.begin();
        Append(made);
    }
}

}  // namespace

void RegisterOffsetCommand() { vorn::ed::AddCommand(kGroup, L"OFFSET", L"OFFSET", 0, OffsetCommand); }

}  // namespace vorn::cmds
