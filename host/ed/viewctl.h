// The view that ZOOM and PAN change: a window front end offers one; without a window (scripts,
// the terminal) there is no view and the commands say so.
#pragma once

#include <functional>

namespace vorn::ed {

struct ViewControl {
    std::function<void()> zoomExtents;
    // The window between two corners (world coordinates) fills the view.
    std::function<void(const double a[3], const double b[3])> zoomWindow;
    // Back to the view before the last zoom or pan; false when there is none.
    std::function<bool()> zoomPrevious;
    // factor > 1 zooms in about the view's centre.
    std::function<void(double factor)> zoomScale;
    // Moves the drawing by (dx, dy) world units on the screen.
    std::function<void(double dx, double dy)> pan;
    bool available() const { return static_cast<bool>(zoomExtents); }
};

void SetViewControl(ViewControl control);
const ViewControl& GetViewControl();

}  // namespace vorn::ed
