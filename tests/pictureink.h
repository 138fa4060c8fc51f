// For tests that look at pictures: the ink of a PNG, the pixels that differ from the background
// at its top-left corner.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>

namespace vorn::test {

struct Ink {
    long pixels = -1;  // -1: the file could not be read
    int top = -1;      // the first and last pixel rows holding ink; -1 without ink
    int bottom = -1;
    int rows() const { return top < 0 ? 0 : bottom - top + 1; }
};

inline Ink InkOf(const std::filesystem::path& png) {
    Ink ink;
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return ink;
    }
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const auto pixel = [&](int x, int y) { return *reinterpret_cast<const std::uint32_t*>(data + y * stride + 4 * x); };
    const std::uint32_t background = pixel(0, 0);
    ink.pixels = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (pixel(x, y) != background) {
                ++ink.pixels;
                if (ink.top < 0) ink.top = y;
                ink.bottom = y;
            }
    cairo_surface_destroy(s);
    return ink;
}

}  // namespace vorn::test
