// ZOOM and PAN: they change the window's view through the hooks its front end registered, or,
// in a run without a window, the part of the drawing its pictures show.
#include <algorithm>

#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/event.h"
#include "host/ed/viewctl.h"

namespace vorn::cmds {
namespace {

using vorn::ed::ViewControl;

using vorn::ed::PictureWindow;

// The part pictures show now: the window set, or the drawing's extents.
PictureWindow ShownPicture() {
    PictureWindow w = vorn::ed::GetPictureWindow();
    if (w.set) return w;
    const AcDbDatabase* db = Drawing();
    const AcDbExtents box = db ? db->modelSpaceExtents() : AcDbExtents();
    w.set = true;
    if (!box.isValid()) {  // an empty drawing: pictures show a unit square round the origin
        w.lo[0] = w.lo[1] = -0.5;
        w.hi[0] = w.hi[1] = 0.5;
        return w;
    }
    w.lo[0] = box.minPoint().x, w.lo[1] = box.minPoint().y;
    w.hi[0] = box.maxPoint().x, w.hi[1] = box.maxPoint().y;
    return w;
}

ViewControl PictureView() {
    ViewControl v;
    v.zoomExtents = [] { vorn::ed::SetPictureWindow(PictureWindow{}); };
    v.zoomWindow = [](const double a[3], const double b[3]) {
        PictureWindow w;
        w.set = true;
        w.lo[0] = std::min(a[0], b[0]), w.lo[1] = std::min(a[1], b[1]);
        w.hi[0] = std::max(a[0], b[0]), w.hi[1] = std::max(a[1], b[1]);
        vorn::ed::SetPictureWindow(w);
    };
    v.zoomPrevious = [] { return vorn::ed::PreviousPictureWindow(); };
    v.zoomScale = [](double factor) {
        PictureWindow w = ShownPicture();
        for (int i = 0; i < 2; ++i) {
            const double mid = (w.lo[i] + w.hi[i]) / 2, half = (w.hi[i] - w.lo[i]) / 2 / factor;
            w.lo[i] = mid - half, w.hi[i] = mid + half;
        }
        vorn::ed::SetPictureWindow(w);
    };
    v.pan = [](double dx, double dy) {
        PictureWindow w = ShownPicture();
        // The drawing moves by (dx, dy) on the picture: the window the other way.
        w.lo[0] -= dx, w.hi[0] -= dx, w.lo[1] -= dy, w.hi[1] -= dy;
        vorn::ed::SetPictureWindow(w);
    };
    return v;
}

// The window's view, or the pictures' when there is no window.
const ViewControl& ActiveView() {
    static const ViewControl pictures = PictureView();
    const ViewControl& window = vorn::ed::GetViewControl();
    return window.available() ? window : pictures;
}

// The other corner from first, then the window between them fills the view.
void ZoomToCorners(const ads_point first) {
    ads_point second;
    for (;;) {
        if (acedGetCorner(first, L"\nSpecify opposite corner: ", second) != RTNORM) return;
        if (!SamePoint(first, second)) break;
        vorn::ed::RefuseAnswer(L"The opposite corner lies on the first: a zoom window needs two different corners.");
    }
    const AcGePoint3d a = ToWorld(first), b = ToWorld(second);
    const double wa[3] = {a.x, a.y, a.z}, wb[3] = {b.x, b.y, b.z};
    ActiveView().zoomWindow(wa, wb);
}

void ZoomCommand() {
    if (!Drawing()) return;
    const ViewControl& view = ActiveView();
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
    if (!Drawing()) return;
    ads_point from, to;
    if (acedGetPoint(nullptr, L"\nSpecify base point: ", from) != RTNORM) return;
    if (acedGetPoint(from, L"\nSpecify second point: ", to) != RTNORM) return;
    const AcGePoint3d a = ToWorld(from), b = ToWorld(to);
    ActiveView().pan(b.x - a.x, b.y - a.y);
}

}  // namespace

void RegisterViewCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"ZOOM", L"ZOOM", 0, ZoomCommand);
    AddCommand(kGroup, L"PAN", L"PAN", 0, PanCommand);
}

}  // namespace vorn::cmds
