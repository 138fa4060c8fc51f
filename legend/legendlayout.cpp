// Row positions and fit factors of the legend.
#include "legend/legendlayout.h"

#include <cmath>

#include "framework/core/KyDbBlockReference.h"
#include "geometry/KyGeTol.h"
#include "host/db/dbextents.h"

namespace {

// The row direction is turned by this constant rather than by an exact quarter turn, so that
// legends line up with those drawn before.
constexpr double kRightAngle = 1.5707963268;

AcGePoint3d Polar(const AcGePoint3d& p, double angle, double d) {
    return AcGePoint3d(p.x + d * std::cos(angle), p.y + d * std::sin(angle), p.z);
}

bool Usable(double v) { return std::isfinite(v) && v > g_distZero; }

}  // namespace

std::vector<KyLegendRowPoints> LegendRowLayout(const AcGePoint3d& p, double a, double s, int rows) {
    std::vector<KyLegendRowPoints> out;
    if (rows <= 0) return out;
    out.reserve(static_cast<std::size_t>(rows));
    const double down = a + kRightAngle;
    const AcGePoint3d blockBase = Polar(p, a, -6.25 * s);
    const AcGePoint3d textBase = Polar(Polar(p, a, 1.75 * s), down, -1.75 * s);
    for (int i = 0; i < rows; ++i) {
        const double d = -6.0 * s * (i + 1);
        out.push_back({Polar(blockBase, down, d), Polar(textBase, down, d)});
    }
    return out;
}

double LegendFitFactor(double h, double w, double s) {
    const bool hasH = Usable(h), hasW = Usable(w);
    if (!hasH && !hasW) return 1.0;
    const double byH = hasH ? 4.5 * s / h : 0.0;
    const double byW = hasW ? 9.0 * s / w : 0.0;
    if (!hasH) return byW;
    if (!hasW) return byH;
    return byH - byW > g_distZero ? byW : byH;
}

bool LegendSymbolSize(const AcDbObjectId& block, double& h, double& w) {
    if (block.isNull()) return false;
    KyDbBlockReference ref(AcGePoint3d(), block);
    AcDbExtents box;
    if (ref.GetGeomExtents2d(box) != Acad::eOk) return false;
    h = box.maxPoint().y - box.minPoint().y;
    w = box.maxPoint().x - box.minPoint().x;
    return std::isfinite(h) && std::isfinite(w);
}

std::vector<double> LegendFitFactors(const AcDbObjectIdArray& blocks, double s) {
    std::vector<double> factors;
    double h = 4.5 * s, w = 9.0 * s;
    for (int i = 0; i < blocks.length(); ++i) {
        double bh = 0.0, bw = 0.0;
        if (LegendSymbolSize(blocks[i], bh, bw)) {
            h = bh;
            w = bw;
        }
        factors.push_back(LegendFitFactor(h, w, s));
    }
    return factors;
}
