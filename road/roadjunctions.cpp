// Junction processing: until the junction rebuild is part of the build, no segment is taken
// over here, so every segment is written plain by the edge stage.
#include "road/roadjunctions.h"

bool ProcessRoadJunctions(const KyGeCurve2d* left, const KyGeCurve2d* right,
                          const KyGeCurve2d* centre) {
    if (!left || !right || !centre) return false;
    return false;
}
