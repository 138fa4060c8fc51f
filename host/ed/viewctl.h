// The view that ZOOM and PAN change: a window front end offers one; without a window (scripts,
// the terminal) they change the window of the pictures the run draws.
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
    // The part of the drawing the view shows now (world coordinates, lower left and upper
    // right): PLOT's current view. False when it shows nothing yet.
    std::function<bool(double lo[2], double hi[2])> shownArea;
    bool available() const { return static_cast<bool>(zoomExtents); }
};

void SetViewControl(ViewControl control);
const ViewControl& GetViewControl();

// The part of the drawing (world coordinates) that the pictures of a run without a window show
// (--render, @snapshot, RENDER). Unset: the whole drawing.
struct PictureWindow {
    bool set = false;
    double lo[2] = {0, 0};
    double hi[2] = {0, 0};
};
const PictureWindow& GetPictureWindow();
// Shows next; the window shown before is kept for PreviousPictureWindow.
void SetPictureWindow(const PictureWindow& next);
// Back to the window shown before the last SetPictureWindow; false when there is none.
bool PreviousPictureWindow();
// The whole drawing again, with no windows to go back to (a fresh editor).
void ResetPictureWindow();

}  // namespace vorn::ed
