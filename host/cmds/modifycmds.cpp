// Commands that turn, size, mirror and break up selected objects: ROTATE, SCALE, MIRROR and
// EXPLODE. Points and angles are asked in user coordinates; the drawing changes in world ones.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/db/db.h"
#include "host/db/db2dpline.h"
#include "host/db/dbkept.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"

namespace vorn::cmds {
namespace {

// Scale factors outside this range would carry site coordinates (up to 1e7) out of what the
// drawing stores soundly, or shrink a site below the point tolerance.
constexpr double kMinFactor = 1e-9;
constexpr double kMaxFactor = 1e9;

// An angle (degrees typed, or a point from base); Enter gives fallback. False on Esc.
bool AskAngle(const ads_point base, const wchar_t* prompt, double fallback, double& angle) {
    const int rc = acedGetAngle(base, prompt, &angle);
    if (rc == RTNONE) angle = fallback;
    return rc == RTNORM || rc == RTNONE;
}

// A positive length (typed, or a point's distance from base); Enter gives fallback.
bool AskLength(const ads_point base, const wchar_t* prompt, double fallback, double& length) {
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    const int rc = acedGetDist(base, prompt, &length);
    if (rc == RTNONE) length = fallback;
    return rc == RTNORM || rc == RTNONE;
}

void RotateCommand() {
    if (!Drawing()) return;
    const std::vector<AcDbObjectId> ids = SelectObjects();
    if (ids.empty()) return;
    ads_point base;
    if (acedGetPoint(nullptr, L"\nSpecify base point: ", base) != RTNORM) return;
    double angle = 0;
    acedInitGet(0, L"Reference");
    const int rc = acedGetAngle(base, L"\nSpecify rotation angle or [Reference] <0>: ", &angle);
    if (rc == RTKWORD) {
        // The objects turn so that a direction at the reference angle ends at the new angle.
        double from = 0, to = 0;
        if (!AskAngle(nullptr, L"\nSpecify the reference angle <0>: ", 0, from)) return;
        if (!AskAngle(base, L"\nSpecify the new angle <0>: ", 0, to)) return;
        angle = to - from;
    } else if (rc == RTNONE) {
        angle = 0;
    } else if (rc != RTNORM) {
        return;
    }
    const AcGeMatrix3d m = AcGeMatrix3d::rotation(angle, AcGeVector3d::kZAxis, ToWorld(base));
    TransformObjects(ids, m, false, L"rotate", L"rotated");
}

void ScaleCommand() {
    if (!Drawing()) return;
    const std::vector<AcDbObjectId> ids = SelectObjects();
    if (ids.empty()) return;
    ads_point base;
    if (acedGetPoint(nullptr, L"\nSpecify base point: ", base) != RTNORM) return;
    double factor = 1;
    for (;;) {
        acedInitGet(RSG_NOZERO | RSG_NONEG, L"Reference");
        const int rc = acedGetDist(base, L"\nSpecify scale factor or [Reference] <1>: ", &factor);
        if (rc == RTKWORD) {
            double from = 1, to = 1;
            if (!AskLength(nullptr, L"\nSpecify reference length <1>: ", 1, from)) return;
            if (!AskLength(base, L"\nSpecify new length <1>: ", 1, to)) return;
            factor = to / from;
        } else if (rc == RTNONE) {
            factor = 1;
        } else if (rc != RTNORM) {
            return;
        }
        if (factor >= kMinFactor && factor <= kMaxFactor) break;
        vorn::ed::RefuseAnswer(L"A scale factor of " + Num(factor) +
                               L" is out of range: expected a factor from 0.000000001 to 1000000000.");
    }
    TransformObjects(ids, AcGeMatrix3d::scaling(factor, ToWorld(base)), false, L"scale", L"scaled");
}

void MirrorCommand() {
    if (!Drawing()) return;
    const std::vector<AcDbObjectId> ids = SelectObjects();
    if (ids.empty()) return;
    ads_point a, b;
    if (acedGetPoint(nullptr, L"\nSpecify first point of mirror line: ", a) != RTNORM) return;
    for (;;) {
        if (acedGetPoint(a, L"\nSpecify second point of mirror line: ", b) != RTNORM) return;
        if (!SamePoint(a, b)) break;
        vorn::ed::RefuseAnswer(L"The second point lies on the first: the mirror line needs two different points.");
    }
    acedInitGet(0, L"Yes No");
    wchar_t word[kAdsMaxInput + 1] = L"";
    const int rc = acedGetKword(L"\nErase source objects? [Yes/No] <No>: ", word);
    if (rc != RTNORM && rc != RTNONE) return;
    const bool erase = rc == RTNORM && std::wstring(word) == L"Yes";
    const AcGePoint3d wa = ToWorld(a), wb = ToWorld(b);
    const AcGeMatrix3d m = AcGeMatrix3d::mirroring(wa, wb - wa);
    if (erase) TransformObjects(ids, m, false, L"mirror", L"mirrored");
    else TransformObjects(ids, m, true, L"mirror", L"mirrored");
}

// The kinds EXPLODE breaks down: polylines into lines and arcs, block references into their
// entities, regions into their outlines.
bool Explodes(const AcDbEntity* e) {
    return AcDbPolyline::cast(e) || AcDb2dPolyline::cast(e) || AcDbBlockReference::cast(e) || AcDbRegion::cast(e);
}

void ExplodeCommand() {
    if (!Drawing()) return;
    const std::vector<AcDbObjectId> ids = SelectObjects();
    if (ids.empty()) return;
    int exploded = 0, made = 0;
    std::map<std::wstring, int> refused;  // by kind
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* e = nullptr;
        if (acdbOpenAcDbEntity(e, id, AcDb::kForWrite) != Acad::eOk) continue;
        AcDbVoidPtrArray parts;
        if (!Explodes(e) || e->explode(parts) != Acad::eOk || parts.length() == 0) {
            ++refused[e->isA()->dxfName()];
            for (int i = 0; i < parts.length(); ++i) delete static_cast<AcDbEntity*>(parts.at(i));
            e->close();
            continue;
        }
        e->erase();
        e->close();
        ++exploded;
        for (int i = 0; i < parts.length(); ++i) {
            auto* part = static_cast<AcDbEntity*>(parts.at(i));
            vorn::db::PrepareCopy(part, false);
            if (Append(part)) ++made;
        }
    }
    if (exploded > 0)
        Say(std::to_wstring(exploded) + L" object(s) exploded into " + std::to_wstring(made) + L" object(s).");
    for (const auto& [kind, count] : refused)
        Say(std::to_wstring(count) + L" " + kind +
            L" object(s) cannot be exploded: EXPLODE breaks down polylines, block references and regions.");
}

}  // namespace

void RegisterModifyCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"ROTATE", L"ROTATE", 0, RotateCommand);
    AddCommand(kGroup, L"SCALE", L"SCALE", 0, ScaleCommand);
    AddCommand(kGroup, L"MIRROR", L"MIRROR", 0, MirrorCommand);
    AddCommand(kGroup, L"EXPLODE", L"EXPLODE", 0, ExplodeCommand);
}

}  // namespace vorn::cmds
