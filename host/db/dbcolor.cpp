// Colours: the standard index palette and the nearest index of a true colour.
#include "host/db/dbcolor.h"

#include <cmath>

namespace vorn::db {

void AciToRgb(std::uint16_t aci, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
    static const std::uint8_t base[10][3] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0}, {0, 255, 0},
                                             {0, 255, 255}, {0, 0, 255},   {255, 0, 255}, {255, 255, 255},
                                             {128, 128, 128}, {192, 192, 192}};
    if (aci >= 1 && aci <= 9) {
        r = base[aci][0], g = base[aci][1], b = base[aci][2];
        return;
    }
    if (aci >= 250 && aci <= 255) {
        // Six greys from dark to light.
        static const std::uint8_t greys[6] = {51, 91, 132, 173, 214, 255};
        r = g = b = greys[aci - 250];
        return;
    }
    if (aci < 10 || aci > 249) {
        r = g = b = 255;
        return;
    }
    // 10..249: 24 hues in 15 degree steps, each with five brightness levels and a full or a
    // half saturation (even and odd indices).
    int hueIndex = (aci - 10) / 10;
    int k = (aci - 10) % 10;
    double hue = hueIndex * 15.0;
    static const double value[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
    double v = value[k / 2];
    double s = (k % 2) ? 0.5 : 1.0;
    double c = v * s;
    double hp = hue / 60.0;
    double x = c * (1.0 - std::fabs(std::fmod(hp, 2.0) - 1.0));
    double rr = 0, gg = 0, bb = 0;
    if (hp < 1) rr = c, gg = x;
    else if (hp < 2) rr = x, gg = c;
    else if (hp < 3) gg = c, bb = x;
    else if (hp < 4) gg = x, bb = c;
    else if (hp < 5) rr = x, bb = c;
    else rr = c, bb = x;
    double m = v - c;
    r = static_cast<std::uint8_t>(std::lround((rr + m) * 255.0));
    g = static_cast<std::uint8_t>(std::lround((gg + m) * 255.0));
    b = static_cast<std::uint8_t>(std::lround((bb + m) * 255.0));
}

std::uint16_t NearestAci(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint16_t best = 7;
    long bestD = -1;
    for (std::uint16_t i = 1; i <= 255; ++i) {
        std::uint8_t pr, pg, pb;
        AciToRgb(i, pr, pg, pb);
        long dr = long(pr) - r, dg = long(pg) - g, db = long(pb) - b;
        long d = dr * dr + dg * dg + db * db;
        if (bestD < 0 || d < bestD) bestD = d, best = i;
    }
    return best;
}

}  // namespace vorn::db

bool AcCmColor::setColorIndex(std::uint16_t aci) {
    if (aci > kACIbyLayer) return false;
    m_index = aci;
    m_method = aci == kACIbyLayer ? kByLayer : (aci == kACIbyBlock ? kByBlock : kByACI);
    if (m_method == kByACI) vorn::db::AciToRgb(aci, m_r, m_g, m_b);
    return true;
}

std::uint16_t AcCmColor::colorIndex() const { return m_index; }

void AcCmColor::setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    m_method = kByColor;
    m_r = r, m_g = g, m_b = b;
    m_index = vorn::db::NearestAci(r, g, b);
}

std::uint8_t AcCmColor::red() const { return (m_method == kByColor || m_method == kByACI) ? m_r : 255; }
std::uint8_t AcCmColor::green() const { return (m_method == kByColor || m_method == kByACI) ? m_g : 255; }
std::uint8_t AcCmColor::blue() const { return (m_method == kByColor || m_method == kByACI) ? m_b : 255; }
std::uint32_t AcCmColor::rgb() const { return (std::uint32_t(red()) << 16) | (std::uint32_t(green()) << 8) | blue(); }

bool AcCmColor::operator==(const AcCmColor& o) const {
    if (m_method != o.m_method) return false;
    if (m_method == kByColor) return m_r == o.m_r && m_g == o.m_g && m_b == o.m_b;
    return m_index == o.m_index;
}
