// Row layout of parking spaces as pure plane geometry, shared by the drag preview and the commit.
#include "parking/parkrowlayout.h"

#include <cmath>

namespace vorn::parking {
namespace {
constexpr double kZero = 1e-6;
constexpr double kHalfPi = 1.5707963268;

double StdAngle(double a) {
  const double twoPi = 6.2831853072;
  a = std::fmod(a, twoPi);
  if (a < 0) a += twoPi;
  return a;
}
}  // namespace

int ParkSpaceCount(double len, double w, double minSpacing) {
  if (!std::isfinite(len) || !std::isfinite(w) || w - minSpacing <= kZero || len <= 0) return 0;
  const double n = std::trunc(len / w);
  return n > 1e7 ? 0 : static_cast<int>(n);
}

std::vector<ParkSpaceShape> LayParkRowSide(ParkPt s, ParkPt e, double w, double d, double a, int side,
                                           int n, int style) {
  std::vector<ParkSpaceShape> out;
  if (n <= 0 || !std::isfinite(w) || !std::isfinite(d) || !std::isfinite(a) || w <= 0) return out;
  const double sa = side == 1 ? a : -a;
  const ParkPt v{d * std::cos(sa), d * std::sin(sa)};
  ParkPt p0 = side == 1 ? ParkPt{0, 0} : v;
  ParkPt q0 = side == 1 ? v : ParkPt{0, 0};
  const bool wide = w - d > kZero;
  const double r = wide ? -kHalfPi : sa - kHalfPi;
  const double dir = StdAngle(std::atan2(e.y - s.y, e.x - s.x));
  const double c = std::cos(dir), sn = std::sin(dir);
  auto rot = [&](ParkPt p) { return ParkPt{s.x + p.x * c - p.y * sn, s.y + p.x * sn + p.y * c}; };
  auto add = [](ParkPt p, double dx) { return ParkPt{p.x + dx, p.y}; };
  out.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const ParkPt p = add(p0, i * w), q = add(q0, i * w);
    ParkSpaceShape sh;
    sh.outline = {rot(q), rot(p), rot(add(p, w)), rot(add(q, w))};
    if (style == 1) {
      sh.mark = side == 1 ? std::vector<ParkPt>{rot(q), rot(add(p, w))}
                          : std::vector<ParkPt>{rot(p), rot(add(q, w))};
    } else if (style == 2 && !wide) {
      sh.mark = side == 1 ? std::vector<ParkPt>{rot(p), rot(add(q, w / 2)), rot(add(p, w))}
                          : std::vector<ParkPt>{rot(q), rot(add(p, w / 2)), rot(add(q, w))};
    } else if (style == 2) {
      const ParkPt pw = add(p, w), qw = add(q, w);
      sh.mark = {rot(q), rot({(pw.x + qw.x) / 2, (pw.y + qw.y) / 2}), rot(p)};
    }
    const ParkPt pw = sh.outline[2];
    sh.carCentre = {(sh.outline[0].x + pw.x) / 2, (sh.outline[0].y + pw.y) / 2};
    sh.carRotation = dir + r;
    out.push_back(std::move(sh));
  }
  return out;
}

}  // namespace vorn::parking
