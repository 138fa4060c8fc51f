// dxflib (Debian's libdxflib) reading a drawing file, as the peer of our own load.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace vorn::bench {

// What the peer's reader took from the file.
struct PeerCounts {
    std::size_t entities = 0;  // entity records handed over (a polyline counts once, its vertices apart)
    std::size_t vertices = 0;  // polyline vertices, hatch edges, spline control points and knots
};

// Whether the benchmark was built with dxflib.
bool HavePeer();
// Reads the file through dxflib's DL_Dxf::in into a reader that keeps every entity's values
// with its layer, as a program reading the drawing would. Returns what it read (so that the
// caller chooses when to free it), null when dxflib refuses the file or is not there.
std::shared_ptr<void> PeerRead(const std::string& path, PeerCounts& counts);

}  // namespace vorn::bench
