// The standard CAD colour index (ACI) as screen colours, and how a drawn colour resolves.
#pragma once

#include <cstdint>

namespace vorn::render {

struct Rgb {
    double r = 1.0, g = 1.0, b = 1.0;  // 0..1
};

// The screen colour of a standard index 1..255: 1-9 and the greys 250-255 as CAD programs
// show them, 10-249 from the hue wheel (24 hues, five shades, full and half saturation).
// Index 7 is white on a dark background and black on a light one; 0 and 256 fall back to 7.
Rgb AciToRgb(int aci, bool lightBackground);

}  // namespace vorn::render
