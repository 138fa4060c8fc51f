// The view hooks a front end registers.
#include "host/ed/viewctl.h"

#include <utility>

namespace vorn::ed {
namespace {

ViewControl& Control() {
    static ViewControl control;
    return control;
}

}  // namespace

void SetViewControl(ViewControl control) { Control() = std::move(control); }
const ViewControl& GetViewControl() { return Control(); }

}  // namespace vorn::ed
