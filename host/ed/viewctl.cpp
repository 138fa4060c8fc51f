// The view hooks a front end registers, and the window of pictures drawn without one.
#include "host/ed/viewctl.h"

#include <utility>

namespace vorn::ed {
namespace {

ViewControl& Control() {
    static ViewControl control;
    return control;
}

PictureWindow& Picture() {
    static PictureWindow window;
    return window;
}

}  // namespace

const PictureWindow& GetPictureWindow() { return Picture(); }
void SetPictureWindow(const PictureWindow& window) { Picture() = window; }

void SetViewControl(ViewControl control) { Control() = std::move(control); }
const ViewControl& GetViewControl() { return Control(); }

}  // namespace vorn::ed
