// Commands that measure without changing the drawing: DIST (two points) and AREA (corner points
// or one object). Lengths are given in drawing units and in metres, areas also in square metres.
#include <cmath>
#include <string>
#include <vector>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/db/db.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/selection.h"

namespace vorn::cmds {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Metres per drawing unit: the drawing is in millimetres (DRAWUNIT 0) or in metres (1).
double MetresPerUnit(const AcDbDatabase* db) { return db->drawUnit() == 1 ? 1.0 : 0.001; }

std::wstring Length(const AcDbDatabase* db, double v) {
    return Num(v) + L" (" + Num(v * MetresPerUnit(db)) + L" m)";
}

std::wstring Area(const AcDbDatabase* db, double v) {
    const double k = MetresPerUnit(db);
    return Num(v) + L" (" + Num(v * k * k) + L" m\u00b2)";
}

void DistCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    ads_point a, b;
    if (acedGetPoint(nullptr, L"\nSpecify first point: ", a) != RTNORM) return;
    if (acedGetPoint(a, L"\nSpecify second point: ", b) != RTNORM) return;
    // In user coordinates: the angle and the deltas are those of the UCS the points were given in.
    const double dx = b[0] - a[0], dy = b[1] - a[1], dz = b[2] - a[2];
    double angle = std::atan2(dy, dx) * 180.0 / kPi;
    if (angle < 0) angle += 360.0;
    if (dx == 0 && dy == 0) angle = 0;
    Say(L"Distance = " + Length(db, std::sqrt(dx * dx + dy * dy + dz * dz)) + L", Angle in XY Plane = " + Num(angle) +
        L"\nDelta X = " + Num(dx) + L", Delta Y = " + Num(dy) + L", Delta Z = " + Num(dz));
}

// The area and perimeter of the polygon through the points, closed back to the first.
void PolygonArea(const std::vector<std::vector<double>>& pts, double& area, double& perimeter) {
    area = perimeter = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const auto& p = pts[i];
        const auto& q = pts[(i + 1) % pts.size()];
        // Relative to the first point, so that site coordinates do not swamp the products.
        area += (p[0] - pts[0][0]) * (q[1] - pts[0][1]) - (q[0] - pts[0][0]) * (p[1] - pts[0][1]);
        perimeter += std::hypot(q[0] - p[0], q[1] - p[1]);
    }
    area = std::fabs(area) / 2;
}

void AreaOfPoints(AcDbDatabase* db, const ads_point first) {
    std::vector<std::vector<double>> pts{{first[0], first[1]}};
    for (;;) {
        ads_point p;
        const ads_point last = {pts.back()[0], pts.back()[1], 0};
        const int rc = acedGetPoint(last, L"\nSpecify next point or press ENTER for total: ", p);
        if (rc == RTNONE) {
            if (pts.size() >= 3) break;
            vorn::ed::RefuseAnswer(L"An area needs at least three corner points: specify the next point.");
            continue;
        }
        if (rc != RTNORM) return;
        if (SamePoint(last, p)) {
            vorn::ed::RefuseAnswer(L"The point lies on the last one: specify a different corner.");
            continue;
        }
        pts.push_back({p[0], p[1]});
    }
    double area, perimeter;
    PolygonArea(pts, area, perimeter);
    Say(L"Area = " + Area(db, area) + L", Perimeter = " + Length(db, perimeter));
}

void AreaOfObject(AcDbDatabase* db) {
    for (;;) {
        ads_name name;
        ads_point pt;
        const int rc = acedEntSel(L"\nSelect objects: ", name, pt);
        if (rc != RTNORM) return;
        AcDbObjectId id;
        AcDbEntity* e = nullptr;
        if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) {
            vorn::ed::RefuseAnswer(L"That object is no longer in the drawing; select a polyline, circle, arc or region.");
            continue;
        }
        double area = 0, around = 0;
        bool ok = false, closed = true;
        if (const AcDbRegion* r = AcDbRegion::cast(e)) {
            ok = r->getArea(area) == Acad::eOk && r->getPerimeter(around) == Acad::eOk;
        } else if (const AcDbCurve* c = AcDbCurve::cast(e); c && !AcDbLine::cast(e)) {
            // An open curve counts as closed by the chord between its ends; its own length is told.
            ok = c->getArea(area) == Acad::eOk;
            around = c->length();
            closed = c->isClosed();
        }
        e->close();
        if (!ok) {
            vorn::ed::RefuseAnswer(L"That object encloses no area: select a polyline, circle, arc or region.");
            continue;
        }
        Say(L"Area = " + Area(db, std::fabs(area)) + (closed ? L", Perimeter = " : L", Length = ") + Length(db, around));
        return;
    }
}

void AreaCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    acedInitGet(0, L"Object");
    ads_point first;
    const int rc = acedGetPoint(nullptr, L"\nSpecify first corner point or [Object] <Object>: ", first);
    if (rc == RTNORM) AreaOfPoints(db, first);
    else if (rc == RTKWORD || rc == RTNONE) AreaOfObject(db);
}

}  // namespace

void RegisterInquiryCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"DIST", L"DIST", 0, DistCommand);
    AddCommand(kGroup, L"AREA", L"AREA", 0, AreaCommand);
}

}  // namespace vorn::cmds
