// ACI to screen colours.
#include "host/render/palette.h"

#include <cmath>

namespace vorn::render {
namespace {

Rgb FromHsv(double hueDeg, double sat, double val) {
    double c = val * sat;
    double h = std::fmod(hueDeg, 360.0) / 60.0;
    double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    if (h < 1) { r = c; g = x; }
    else if (h < 2) { r = x; g = c; }
    else if (h < 3) { g = c; b = x; }
    else if (h < 4) { g = x; b = c; }
    else if (h < 5) { r = x; b = c; }
    else { r = c; b = x; }
    double m = val - c;
    return {r + m, g + m, b + m};
}

}  // namespace

Rgb AciToRgb(int aci, bool light) {
    switch (aci) {
    case 1: return {1, 0, 0};
    case 2: return {1, 1, 0};
    case 3: return {0, 1, 0};
    case 4: return {0, 1, 1};
    case 5: return {0, 0, 1};
    case 6: return {1, 0, 1};
    case 8: return {128 / 255.0, 128 / 255.0, 128 / 255.0};
    case 9: return {192 / 255.0, 192 / 255.0, 192 / 255.0};
    case 250: return {51 / 255.0, 51 / 255.0, 51 / 255.0};
    case 251: return {80 / 255.0, 80 / 255.0, 80 / 255.0};
    case 252: return {105 / 255.0, 105 / 255.0, 105 / 255.0};
    case 253: return {130 / 255.0, 130 / 255.0, 130 / 255.0};
    case 254: return {190 / 255.0, 190 / 255.0, 190 / 255.0};
    case 255: return {1, 1, 1};
    default: break;
    }
    if (aci >= 10 && aci <= 249) {
        int hueStep = (aci - 10) / 10;      // 24 hues, 15 degrees apart
        int shade = (aci - 10) % 10;        // even: full saturation, odd: half
        static const double kValues[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
        double sat = (shade % 2 == 0) ? 1.0 : 0.5;
        return FromHsv(hueStep * 15.0, sat, kValues[shade / 2]);
    }
    // 7 and everything that is not a real index: the foreground.
    return light ? Rgb{0, 0, 0} : Rgb{1, 1, 1};
}

}  // namespace vorn::render
