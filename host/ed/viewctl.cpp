// The view hooks a front end registers, and the window of pictures drawn without one.
#include "host/ed/viewctl.h"

#include <utility>
#include <vector>

namespace vorn::ed {
namespace {

ViewControl& Control() {
    static ViewControl control;
    return control;
}

// The window shown last, after the ones shown before it.
std::vector<PictureWindow>& Pictures() {
    static std::vector<PictureWindow> shown(1);
    return shown;
}

}  // namespace

const PictureWindow& GetPictureWindow() { return Pictures().back(); }
void SetPictureWindow(const PictureWindow& next) { Pictures().push_back(next); }

bool PreviousPictureWindow() {
    if (Pictures().size() < 2) return false;
    Pictures().pop_back();
    return true;
}

void ResetPictureWindow() { Pictures().assign(1, PictureWindow{}); }

void SetViewControl(ViewControl control) { Control() = std::move(control); }
const ViewControl& GetViewControl() { return Control(); }

}  // namespace vorn::ed
