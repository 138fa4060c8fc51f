// The numbers of tree placement.
#include "tree/treelayout.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/KyGePoint.h"
#include "geometry/KyGeTol.h"

std::vector<double> KyTreeDistancesAlong(double length, double spacing) {
    std::vector<double> out;
    if (!std::isfinite(length) || !std::isfinite(spacing) || spacing <= g_distZero) return out;
    // Counting steps instead of adding keeps the positions exact over long pieces.
    for (long i = 0;; ++i) {
        const double d = static_cast<double>(i) * spacing;
        if (!(d < length - g_distZero)) break;
        out.push_back(d);
    }
    return out;
}

std::optional<double> KyTreeSelfAdjustedSpacing(double length, double spacing) {
    if (!std::isfinite(length) || !std::isfinite(spacing) || spacing <= g_distZero)
        return std::nullopt;
    const double k = std::floor(length / spacing);
    if (!(k >= 1) || !std::isfinite(k)) return std::nullopt;
    return length / k;
}

std::optional<double> KyTreeScaleForExtents(double sizeX, double sizeY, double sizeZ,
                                            double diameter) {
    const double m = std::max({sizeX, sizeY, sizeZ});
    if (!std::isfinite(m) || m <= g_distZero) return std::nullopt;
    const double k = diameter / m;
    if (!std::isfinite(k) || k <= 0) return std::nullopt;
    return k;
}

double KyTreeRotationFromRandom(int randomValue) {
    const int n = ((randomValue % 360) + 360) % 360;
    return GetStdAngle(n / 360.0 * 6.2831853072);
}

double KyTreeRandomSize(double& lo, double& hi, int randomValue) {
    if (hi < lo - g_distZero) std::swap(lo, hi);
    const double span = std::floor(hi - lo);
    if (!(span >= 1) || span > 2147483647.0) return lo;
    const long k = static_cast<long>(span);
    return lo + static_cast<double>((static_cast<long>(randomValue) % k + k) % k);
}
