// ZOOM and PAN: they change the window's view through the hooks its front end registered.
#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/event.h"
#include "host/ed/viewctl.h"

namespace vorn::cmds {
namespace {

bool ViewShown() {
    if (vorn::ed::GetViewControl().available()) return true;
    Say(L"There is no view to change in this run: ZOOM and PAN work in the window.");
    return false;
}

// The other corner from first, then the window between them fills the view.
void ZoomToCorners(const ads_point first) {
    ads_point second;
    if (acedGetCorner(first, L"\nSpecify opposite corner: ", second) != RTNORM) return;
    const AcGePoint3d a = ToWorld(first), b = ToWorld(second);
    const double wa[3] = {a.x, a.y, a.z}, wb[3] = {b.x, b.y, b.z};
    vorn::ed::GetViewControl().zoomWindow(wa, wb);
}

void ZoomCommand() {
    if (!ViewShown()) return;
    const vorn::ed::ViewControl& view = vorn::ed::GetViewControl();
    for (;;) {
        acedInitGet(RSG_OTHER, L"Extents Window Previous");
        wchar_t answer[256] = {0};
        ads_point first;
        const int rc = acedGetPoint(nullptr,
                                    L"\nSpecify corner of window, enter a scale factor, or "
                                    L"[Extents/Window/Previous] <Extents>: ",
                                    first);
        if (rc == RTCAN) return;
        if (rc == RTNONE) {
            view.zoomExtents();
            return;
        }
        if (rc == RTNORM) {
            ZoomToCorners(first);
            return;
        }
        acedGetInput(answer, 256);
        const std::wstring word = answer;
        if (word == L"Extents") {
            view.zoomExtents();
            return;
        }
        if (word == L"Previous") {
            if (!view.zoomPrevious()) Say(L"No previous view is saved.");
            return;
        }
        if (word == L"Window") {
            if (acedGetPoint(nullptr, L"\nSpecify first corner: ", first) != RTNORM) return;
            ZoomToCorners(first);
            return;
        }
        // A scale factor: "2" zooms in twice, "0.5" or "0.5x" out.
        std::wstring number = word;
        if (!number.empty() && (number.back() == L'x' || number.back() == L'X')) number.pop_back();
        const auto factor = vorn::ed::ParseNumber(number);
        if (factor && *factor > 0 && *factor <= 1e6 && *factor >= 1e-6) {
            view.zoomScale(*factor);
            return;
        }
        vorn::ed::RefuseAnswer(L"\"" + word + L"\" is not accepted here: expected a corner point, a scale factor "
                               L"from 0.000001 to 1000000 (2 zooms in, 0.5 out), Extents, Window or Previous.");
    }
}

void PanCommand() {
    if (!ViewShown()) return;
    ads_point from, to;
    if (acedGetPoint(nullptr, L"\nSpecify base point: ", from) != RTNORM) return;
    if (acedGetPoint(from, L"\nSpecify second point: ", to) != RTNORM) return;
    const AcGePoint3d a = ToWorld(from), b = ToWorld(to);
    vorn::ed::GetViewControl().pan(b.x - a.x, b.y - a.y);
}

}  // namespace

void RegisterViewCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"ZOOM", L"ZOOM", 0, ZoomCommand);
    AddCommand(kGroup, L"PAN", L"PAN", 0, PanCommand);
}

}  // namespace vorn::cmds
