// Cursor 2008: the tree cursor the tree dialog shows over its preview in the area mode (a
// click there steps to the next default tree). Headless, a cursor is its name and hot spot.
#include "resources/VornResources.h"

namespace {

vorn::mfc::CursorResource MakeTreeCursor() {
    vorn::mfc::CursorResource c;
    c.id = 2008;
    c.name = L"tree";
    c.hotX = 16;  // the middle of a 32 × 32 cursor: the tree's trunk
    c.hotY = 16;
    return c;
}

}  // namespace

VORN_CURSOR_RESOURCE(2008, MakeTreeCursor);
