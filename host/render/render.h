// Pictures of a drawing: PNG, SVG or PDF (chosen by the file's extension) from one Cairo code
// path, on a dark background like a CAD screen or a light one, with a jig's preview on top.
#pragma once

#include <string>
#include <vector>

#include "host/db/dbextents.h"
#include "host/ge/ge.h"

class AcDbDatabase;
class AcDbEntity;

namespace vorn::render {

// A temporary screen vector (a jig's helper line): shown in the picture, never in the drawing.
struct ScreenVector {
    AcGePoint3d from, to;
    int colorIndex = 7;
};

struct RenderOptions {
    std::string file;            // .png, .svg or .pdf
    int width = 1600;            // pixels (points for SVG and PDF)
    int height = 1200;
    bool lightBackground = false;
    // The window shown; invalid: the extents of the drawing and of the preview.
    AcDbExtents window;
    double margin = 0.04;        // fraction of the picture left free on each side
    std::vector<const AcDbEntity*> preview;  // drawn highlighted over the drawing
    std::vector<ScreenVector> vectors;
};

// Draws model space (and the preview) into options.file, written atomically. False with a
// message naming the file and the reason. An empty drawing gives a blank picture.
bool RenderDrawing(const AcDbDatabase& db, const RenderOptions& options, std::string& error);

// Releases the font caches Cairo and fontconfig keep for the life of the process, so a leak
// checker at exit sees only real leaks. Call once, at program end.
void ReleaseRenderCaches();

}  // namespace vorn::render
