// Helpers shared by the host's commands.
#include "host/cmds/cmdutil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "host/base/hostio.h"
#include "host/ed/aced.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/ed/ucs.h"
#include "host/ed/viewctl.h"

namespace vorn::cmds {

AcDbDatabase* Drawing() {
    AcDbDatabase* db = vorn::ed::dbx::Working();
    if (!db) Say(L"There is no drawing open.");
    return db;
}

AcGePoint3d ToWorld(const ads_point ucs) {
    double w[3];
    vorn::ed::UcsToWcsPoint(ucs, w);
    return AcGePoint3d(w[0], w[1], w[2]);
}

double ToWorldAngle(double ucsAngle) { return vorn::ed::UcsToWcsAngle(ucsAngle); }

bool Append(AcDbEntity* entity, AcDbObjectId* id) {
    const AcDbObjectId made = vorn::ed::dbx::AppendToModelSpace(entity);
    if (made.isNull()) {
        Say(L"The entity could not be added to the drawing.");
        return false;
    }
    if (id) *id = made;
    return true;
}

bool AskFile(const std::wstring& prompt, const std::wstring& fallback, std::wstring& path,
             const std::wstring& filter, bool open) {
    const auto& native = vorn::NativeDialogs().fileDialog;
    if (native && !filter.empty() && vorn::ed::FileDia() == 1) {
        const int answer = native(open, filter, fallback, path);
        if (answer == 0) return false;
        if (answer > 0) return !path.empty();
    }
    wchar_t buf[1024];
    if (acedGetString(1, prompt.c_str(), buf, 1024) != RTNORM) return false;
    path = buf;
    if (path.empty()) path = fallback;
    return !path.empty();
}

void Say(const std::wstring& text) { vorn::ed::Print(L"\n" + text + L"\n"); }

bool SamePoint(const ads_point a, const ads_point b) {
    // Relative to the coordinates' size, so that far from the origin rounding is not a length.
    constexpr double kSamePoint = 1e-9;
    return std::hypot(a[0] - b[0], a[1] - b[1]) <= kSamePoint * std::max(1.0, std::hypot(a[0], a[1]));
}

void CommandSteps::begin() { m_positions.push_back(vorn::ed::dbx::UndoPosition()); }

bool CommandSteps::undoLast() {
    if (m_positions.empty()) {
        vorn::ed::RefuseAnswer(L"Nothing to undo in this command: select an object.");
        return false;
    }
    std::shared_ptr<AcDbUndoChunk> chunk;
    const bool done = vorn::ed::dbx::RevertTo(m_positions.back(), chunk);
    m_positions.pop_back();
    if (!done) Say(L"The last step could not be taken back: an object is still open.");
    return done;
}

AcDbExtents PictureWindowExtents() {
    AcDbExtents box;
    const vorn::ed::PictureWindow& w = vorn::ed::GetPictureWindow();
    if (w.set) {
        box.addPoint(AcGePoint3d(w.lo[0], w.lo[1], 0));
        box.addPoint(AcGePoint3d(w.hi[0], w.hi[1], 0));
    }
    return box;
}

std::wstring Num(double v) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.4f", std::fabs(v) < 5e-5 ? 0.0 : v);
    return buf;
}

}  // namespace vorn::cmds
