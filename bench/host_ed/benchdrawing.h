// The drawing the front-end benchmark writes into.
#pragma once

#include "host/ed/adsdefs.h"

namespace vorn::bench {

void NewDrawing();
// A line from a to b (user coordinates) appended to model space.
void AddSegment(const ads_point a, const ads_point b);

}  // namespace vorn::bench
