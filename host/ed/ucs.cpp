// User coordinate system conversions.
#include "host/ed/ucs.h"

#include <cmath>

namespace vorn::ed {
namespace {

Ucs& Current() {
    static Ucs ucs;
    return ucs;
}

void Rotate(const double in[3], double a, double out[3]) {
    const double c = std::cos(a), s = std::sin(a);
    const double x = in[0] * c - in[1] * s;
    const double y = in[0] * s + in[1] * c;
    out[0] = x;
    out[1] = y;
    out[2] = in[2];
}

}  // namespace

const Ucs& CurrentUcs() { return Current(); }

bool SetUcs(const Ucs& ucs) {
    for (double v : ucs.origin)
        if (!std::isfinite(v)) return false;
    if (!std::isfinite(ucs.angle)) return false;
    Current() = ucs;
    return true;
}

void SetWorldUcs() { Current() = Ucs{}; }

void UcsToWcsPoint(const double ucs[3], double wcs[3]) {
    const Ucs& u = Current();
    double r[3];
    Rotate(ucs, u.angle, r);
    for (int i = 0; i < 3; ++i) wcs[i] = r[i] + u.origin[i];
}

void WcsToUcsPoint(const double wcs[3], double ucs[3]) {
    const Ucs& u = Current();
    const double d[3] = {wcs[0] - u.origin[0], wcs[1] - u.origin[1], wcs[2] - u.origin[2]};
    Rotate(d, -u.angle, ucs);
}

double UcsToWcsAngle(double angle) { return angle + Current().angle; }
double WcsToUcsAngle(double angle) { return angle - Current().angle; }

}  // namespace vorn::ed

int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result) {
    if (!pt || !from || !to || !result || from->restype != RTSHORT || to->restype != RTSHORT)
        return RTREJ;
    const short f = from->resval.rint, t = to->resval.rint;
    if ((f != ADS_WCS && f != ADS_UCS) || (t != ADS_WCS && t != ADS_UCS)) return RTREJ;
    double p[3] = {pt[0], pt[1], pt[2]};
    if (f == t) {
        for (int i = 0; i < 3; ++i) result[i] = p[i];
        return RTNORM;
    }
    const vorn::ed::Ucs& u = vorn::ed::CurrentUcs();
    if (f == ADS_UCS) {
        if (disp) {
            const double c = std::cos(u.angle), s = std::sin(u.angle);
            result[0] = p[0] * c - p[1] * s;
            result[1] = p[0] * s + p[1] * c;
            result[2] = p[2];
        } else {
            vorn::ed::UcsToWcsPoint(p, result);
        }
    } else {
        if (disp) {
            const double c = std::cos(-u.angle), s = std::sin(-u.angle);
            result[0] = p[0] * c - p[1] * s;
            result[1] = p[0] * s + p[1] * c;
            result[2] = p[2];
        } else {
            vorn::ed::WcsToUcsPoint(p, result);
        }
    }
    return RTNORM;
}
