// Temporary screen vectors: drawn over the drawing, never part of it, gone at the next redraw.
#include <cmath>

#include "host/ed/aced.h"
#include "host/ed/ucs.h"

namespace {

std::vector<vorn::ed::TemporaryVector>& Vectors() {
    static std::vector<vorn::ed::TemporaryVector> vectors;
    return vectors;
}

bool Finite(const ads_point p) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

}  // namespace

const std::vector<vorn::ed::TemporaryVector>& vorn::ed::TemporaryVectors() { return Vectors(); }

int acedGrDraw(const ads_point from, const ads_point to, int color, int hl) {
    if (!from || !to || !Finite(from) || !Finite(to)) return RTREJ;
    vorn::ed::TemporaryVector v{};
    vorn::ed::UcsToWcsPoint(from, v.from);
    vorn::ed::UcsToWcsPoint(to, v.to);
    v.colorIndex = color >= 1 && color <= 255 ? color : 7;
    v.highlight = hl != 0;
    Vectors().push_back(v);
    return RTNORM;
}

int acedRedraw(const ads_name ent, int) {
    if (!ent || (ent[0] == 0 && ent[1] == 0)) Vectors().clear();
    return RTNORM;
}
