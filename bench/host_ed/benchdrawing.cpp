// Segments of the benchmark, kept in memory until the drawing database is linked in.
#include "bench/host_ed/benchdrawing.h"

#include <vector>

namespace vorn::bench {
namespace {

std::vector<double>& Store() {
    static std::vector<double> store;
    return store;
}

}  // namespace

void NewDrawing() { Store().clear(); }

void AddSegment(const ads_point a, const ads_point b) {
    Store().insert(Store().end(), {a[0], a[1], b[0], b[1]});
}

}  // namespace vorn::bench
