// Writing a picture file of any of the three kinds from one painting function: the surface is
// made for the file's kind, painted, and written beside the file, then renamed over it, so that
// a failure leaves the file that was there before as it was.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

namespace vorn::render {

enum class PictureKind { Png, Svg, Pdf, Unknown };

// By the file's extension, without regard to case.
PictureKind PictureKindOf(const std::string& file);

// Paints a width × height surface (pixels for PNG, points for SVG and PDF) into file. False
// with a message naming the file and the reason; the old file then stays.
bool WritePicture(const std::string& file, double width, double height, const std::function<void(cairo_t*)>& paint,
                  std::string& error);

}  // namespace vorn::render
