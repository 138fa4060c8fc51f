// The view of a picture: which part of the drawing shows and how drawing units map to pixels.
#pragma once

#include "host/db/dbextents.h"
#include "host/ge/ge.h"

namespace vorn::render {

// Maps plan coordinates to device pixels: x grows right, y grows down, uniform scale.
class View {
public:
    View() = default;
    // Fits the box into width × height pixels with margin (a fraction of the picture) on each
    // side, centred. An invalid or degenerate box gets a unit window around its point.
    static View Fit(const AcDbExtents& box, double width, double height, double margin = 0.05);
    // The view that shows drawing point (x0, y0) at the device origin, scale pixels per unit.
    static View At(double x0, double y0, double scale);
    // The same view moved so that device (0, 0) is at (left, top): for a control inside a picture.
    View Offset(double left, double top) const;

    double scale() const { return m_scale; }  // pixels per drawing unit
    double originX() const { return m_x0; }   // the drawing point shown at the device origin
    double originY() const { return m_y0; }
    double deviceX(double x) const { return m_left + (x - m_x0) * m_scale; }
    double deviceY(double y) const { return m_top + (m_y0 - y) * m_scale; }
    // The drawing point at a device position.
    AcGePoint3d world(double dx, double dy) const;

private:
    double m_x0 = 0.0, m_y0 = 0.0;  // drawing point shown at the device origin
    double m_scale = 1.0;
    double m_left = 0.0, m_top = 0.0;
};

}  // namespace vorn::render
