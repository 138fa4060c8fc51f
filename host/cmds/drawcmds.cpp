// The drawing commands: LINE, ARC (three points), PLINE (lines and three-point arcs), CIRCLE
// and TEXT. Points are asked in user coordinates and stored in world coordinates.
#include <cmath>
#include <vector>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"

namespace vorn::cmds {
namespace {

constexpr double kPi = 3.14159265358979323846;
std::wstring Keyword() {
    wchar_t word[kAdsMaxInput + 1] = L"";
    acedGetInput(word);
    return word;
}

void Erase(const AcDbObjectId& id) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) return;
    e->erase();
    e->close();
}

void LineCommand() {
    if (!Drawing()) return;
    ads_point first;
    if (acedGetPoint(nullptr, L"\nSpecify first point: ", first) != RTNORM) return;
    std::vector<std::vector<double>> pts{{first[0], first[1], first[2]}};
    std::vector<AcDbObjectId> segments;
    for (;;) {
        const bool canClose = segments.size() >= 2;
        acedInitGet(0, canClose ? L"Close Undo" : L"Undo");
        const ads_point last = {pts.back()[0], pts.back()[1], pts.back()[2]};
        ads_point p;
        const int rc = acedGetPoint(last, canClose ? L"\nSpecify next point or [Close/Undo]: "
                                                   : L"\nSpecify next point or [Undo]: ", p);
        if (rc == RTKWORD) {
            const std::wstring word = Keyword();
            if (word == L"Undo") {
                if (segments.empty()) {
                    Say(L"Nothing to undo: specify the next point.");
                } else {
                    Erase(segments.back());
                    segments.pop_back();
                    pts.pop_back();
                }
                continue;
            }
            p[0] = first[0], p[1] = first[1], p[2] = first[2];  // Close
        } else if (rc != RTNORM) {
            return;
        }
        if (SamePoint(last, p)) {
            Say(L"The next point must differ from the last one.");
            continue;
        }
        AcDbObjectId id;
        if (!Append(new AcDbLine(ToWorld(last), ToWorld(p)), &id)) return;
        if (rc == RTKWORD) return;
        segments.push_back(id);
        pts.push_back({p[0], p[1], p[2]});
    }
}

// The circle through three points (user coordinates); false when they lie on one line.
bool Circumcircle(const ads_point a, const ads_point b, const ads_point c, double centre[2], double& r) {
    const double bx = b[0] - a[0], by = b[1] - a[1], cx = c[0] - a[0], cy = c[1] - a[1];
    const double d = 2 * (bx * cy - by * cx);
    const double scale = (bx * bx + by * by) + (cx * cx + cy * cy);
    if (!(std::fabs(d) > 1e-12 * scale)) return false;
    const double ux = (cy * (bx * bx + by * by) - by * (cx * cx + cy * cy)) / d;
    const double uy = (bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by)) / d;
    centre[0] = a[0] + ux;
    centre[1] = a[1] + uy;
    r = std::hypot(ux, uy);
    return std::isfinite(r);
}

void ArcCommand() {
    if (!Drawing()) return;
    ads_point a, b, c;
    if (acedGetPoint(nullptr, L"\nSpecify start point of arc: ", a) != RTNORM) return;
    for (;;) {
        if (acedGetPoint(a, L"\nSpecify second point of arc: ", b) != RTNORM) return;
        if (!SamePoint(a, b)) break;
        Say(L"The second point must differ from the start point.");
    }
    double centre[2], r = 0;
    for (;;) {
        if (acedGetPoint(b, L"\nSpecify end point of arc: ", c) != RTNORM) return;
        if (Circumcircle(a, b, c, centre, r)) break;
        Say(L"The three points lie on one line: no arc passes through them; specify another end point.");
    }
    // Arcs run counter-clockwise: a clockwise pick order starts the arc at the end point.
    const bool ccw = (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0]) > 0;
    const double sa = std::atan2(a[1] - centre[1], a[0] - centre[0]);
    const double ea = std::atan2(c[1] - centre[1], c[0] - centre[0]);
    const ads_point cu = {centre[0], centre[1], a[2]};
    Append(new AcDbArc(ToWorld(cu), r, ToWorldAngle(ccw ? sa : ea), ToWorldAngle(ccw ? ea : sa)));
}

// The bulge of the arc from a through m to e (positive counter-clockwise); false for points
// on one line.
bool BulgeThrough(const ads_point a, const ads_point m, const ads_point e, double& bulge) {
    double centre[2], r;
    if (!Circumcircle(a, m, e, centre, r)) return false;
    const double ux = a[0] - m[0], uy = a[1] - m[1], vx = e[0] - m[0], vy = e[1] - m[1];
    const double inscribed = std::atan2(std::fabs(ux * vy - uy * vx), ux * vx + uy * vy);
    // The arc through m spans 2pi - 2 * (the angle at m); the bulge is tan(span / 4).
    bulge = 1.0 / std::tan(inscribed / 2);
    if ((m[0] - a[0]) * (e[1] - m[1]) - (m[1] - a[1]) * (e[0] - m[0]) < 0) bulge = -bulge;
    return std::isfinite(bulge);
}

void PlineCommand() {
    if (!Drawing()) return;
    struct Vertex {
        ads_point p;
        double bulge;
    };
    std::vector<Vertex> v(1);
    if (acedGetPoint(nullptr, L"\nSpecify start point: ", v[0].p) != RTNORM) return;
    v[0].bulge = 0;
    bool arcs = false, closed = false;
    for (;;) {
        acedInitGet(0, arcs ? L"Line Close Undo" : L"Arc Close Undo");
        ads_point p;
        const int rc = acedGetPoint(v.back().p, arcs ? L"\nSpecify second point on arc or [Line/Close/Undo]: "
                                                     : L"\nSpecify next point or [Arc/Close/Undo]: ", p);
        if (rc == RTKWORD) {
            const std::wstring word = Keyword();
            if (word == L"Arc" || word == L"Line") {
                arcs = word == L"Arc";
            } else if (word == L"Undo") {
                if (v.size() > 1) {
                    v.pop_back();
                    v.back().bulge = 0;
                } else {
                    Say(L"Nothing to undo: specify the next point.");
                }
            } else if (v.size() >= 2) {  // Close
                closed = true;
                break;
            } else {
                Say(L"A polyline needs two points before it can be closed.");
            }
            continue;
        }
        if (rc != RTNORM) break;
        if (SamePoint(v.back().p, p)) {
            Say(L"The next point must differ from the last one.");
            continue;
        }
        Vertex next{{p[0], p[1], p[2]}, 0};
        if (arcs) {
            ads_point end;
            double bulge = 0;
            for (;;) {
                if (acedGetPoint(p, L"\nSpecify end point of arc: ", end) != RTNORM) goto done;
                if (!SamePoint(end, v.back().p) && BulgeThrough(v.back().p, p, end, bulge)) break;
                Say(L"The three points lie on one line: no arc passes through them; specify another end point.");
            }
            v.back().bulge = bulge;
            next = Vertex{{end[0], end[1], end[2]}, 0};
        }
        v.push_back(next);
    }
done:
    if (v.size() < 2) return;
    auto* pl = new AcDbPolyline(static_cast<unsigned>(v.size()));
    for (unsigned i = 0; i < v.size(); ++i) {
        const AcGePoint3d w = ToWorld(v[i].p);
        pl->addVertexAt(i, AcGePoint2d(w.x, w.y), v[i].bulge);
    }
    pl->setElevation(ToWorld(v[0].p).z);
    pl->setClosed(closed);
    Append(pl);
}

void CircleCommand() {
    if (!Drawing()) return;
    ads_point c;
    if (acedGetPoint(nullptr, L"\nSpecify center point for circle: ", c) != RTNORM) return;
    acedInitGet(RSG_NONULL | RSG_NOZERO | RSG_NONEG, nullptr);
    ads_real r = 0;
    if (acedGetDist(c, L"\nSpecify radius of circle: ", &r) != RTNORM) return;
    Append(new AcDbCircle(ToWorld(c), AcGeVector3d::kZAxis, r));
}

void TextCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    ads_point p;
    if (acedGetPoint(nullptr, L"\nSpecify start point of text: ", p) != RTNORM) return;
    ads_real height = db->textsize();
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    const std::wstring hp = L"\nSpecify height <" + Num(height) + L">: ";
    int rc = acedGetDist(p, hp.c_str(), &height);
    if (rc != RTNORM && rc != RTNONE) return;
    ads_real angle = 0;
    rc = acedGetAngle(p, L"\nSpecify rotation angle of text <0>: ", &angle);
    if (rc != RTNORM && rc != RTNONE) return;
    std::vector<wchar_t> text(4096);
    if (acedGetString(1, L"\nEnter text: ", text.data(), text.size()) != RTNORM) return;
    if (text[0] == L'\0') {
        Say(L"No text was given: nothing is drawn.");
        return;
    }
    db->setTextsize(height);
    Append(new AcDbText(ToWorld(p), text.data(), db->textstyle(), height, ToWorldAngle(angle)));
}

}  // namespace

void RegisterDrawCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"LINE", L"LINE", 0, LineCommand);
    AddCommand(kGroup, L"ARC", L"ARC", 0, ArcCommand);
    AddCommand(kGroup, L"PLINE", L"PLINE", 0, PlineCommand);
    AddCommand(kGroup, L"CIRCLE", L"CIRCLE", 0, CircleCommand);
    AddCommand(kGroup, L"TEXT", L"TEXT", 0, TextCommand);
}

}  // namespace vorn::cmds
