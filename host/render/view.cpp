// Fitting a drawing box into a picture.
#include "host/render/view.h"

#include <algorithm>
#include <cmath>

namespace vorn::render {

View View::Fit(const AcDbExtents& box, double width, double height, double margin) {
    View v;
    AcGePoint3d lo(-0.5, -0.5, 0), hi(0.5, 0.5, 0);
    if (box.isValid()) {
        lo = box.minPoint();
        hi = box.maxPoint();
    }
    double w = hi.x - lo.x, h = hi.y - lo.y;
    // A point or a line along an axis still gets a window: its longer side, or one unit.
    double size = std::max({w, h, 0.0});
    if (!(size > 0.0)) size = 1.0;
    if (!(w > 0.0)) { lo.x -= size / 2; hi.x += size / 2; w = size; }
    if (!(h > 0.0)) { lo.y -= size / 2; hi.y += size / 2; h = size; }
    margin = std::clamp(margin, 0.0, 0.45);
    double usableW = std::max(1.0, width * (1.0 - 2 * margin));
    double usableH = std::max(1.0, height * (1.0 - 2 * margin));
    v.m_scale = std::min(usableW / w, usableH / h);
    if (!std::isfinite(v.m_scale) || v.m_scale <= 0.0) v.m_scale = 1.0;
    double cx = (lo.x + hi.x) / 2, cy = (lo.y + hi.y) / 2;
    v.m_x0 = cx - width / 2 / v.m_scale;
    v.m_y0 = cy + height / 2 / v.m_scale;
    return v;
}

View View::At(double x0, double y0, double scale) {
    View v;
    v.m_x0 = x0;
    v.m_y0 = y0;
    v.m_scale = scale;
    return v;
}

View View::Offset(double left, double top) const {
    View v = *this;
    v.m_left += left;
    v.m_top += top;
    return v;
}

AcGePoint3d View::world(double dx, double dy) const {
    return {m_x0 + (dx - m_left) / m_scale, m_y0 - (dy - m_top) / m_scale, 0.0};
}

}  // namespace vorn::render
