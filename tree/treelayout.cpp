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

double KyTreeCountAlong(double length, double spacing) {
    if (!std::isfinite(length) || !std::isfinite(spacing) || spacing <= g_distZero || !(length - g_distZero > 0))
        return 0;
    // Positions i·spacing below length - tolerance: i = 0 .. ceil((length - tol) / spacing) - 1.
    return std::ceil((length - g_distZero) / spacing);
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

double KyTreeRandomSize(double& lo, double& hi, int randomValue, double step) {
    if (hi < lo - g_distZero) std::swap(lo, hi);
    if (!std::isfinite(step) || !(step > 0)) return lo;
    // Rounded, so that a range of exactly n steps gives n steps in metres as in millimetres.
    const double span = std::floor((hi - lo) / step + 1e-9);
    if (!(span >= 1) || span > 2147483647.0) return lo;
    const long k = static_cast<long>(span);
    return lo + static_cast<double>((static_cast<long>(randomValue) % k + k) % k) * step;
}

KyTreeSpacingGrid::KyTreeSpacingGrid(double cell) : m_cell(std::isfinite(cell) && cell > 0 ? cell : 1.0) {}

std::int64_t KyTreeSpacingGrid::Cell(double v) const {
    // Cells beyond ±2^30 fold onto the edge: the test there only grows stricter.
    const double c = std::floor(v / m_cell);
    return static_cast<std::int64_t>(std::clamp(c, -1073741824.0, 1073741823.0));
}

std::int64_t KyTreeSpacingGrid::Key(std::int64_t i, std::int64_t j) const { return i * 2147483648LL + j; }

bool KyTreeSpacingGrid::Clear(double x, double y, double spacing) const {
    const std::int64_t ci = Cell(x), cj = Cell(y);
    const double limit = spacing * spacing;
    for (std::int64_t i = ci - 1; i <= ci + 1; ++i)
        for (std::int64_t j = cj - 1; j <= cj + 1; ++j) {
            const auto it = m_cells.find(Key(i, j));
            if (it == m_cells.end()) continue;
            for (const auto& p : it->second) {
                const double dx = p.first - x, dy = p.second - y;
                if (dx * dx + dy * dy < limit) return false;
            }
        }
    return true;
}

void KyTreeSpacingGrid::Add(double x, double y) { m_cells[Key(Cell(x), Cell(y))].emplace_back(x, y); }
