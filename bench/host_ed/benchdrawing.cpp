// Segments of the benchmark: lines in a fresh drawing when the database is linked, else kept
// in memory.
#include "bench/host_ed/benchdrawing.h"

#include <memory>
#include <vector>

#ifdef VORN_HAVE_DB
#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/ucs.h"
#endif

namespace vorn::bench {

#ifdef VORN_HAVE_DB

void NewDrawing() {
    static std::unique_ptr<AcDbDatabase> db;
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
}

void AddSegment(const ads_point a, const ads_point b) {
    double wa[3], wb[3];
    vorn::ed::UcsToWcsPoint(a, wa);
    vorn::ed::UcsToWcsPoint(b, wb);
    vorn::ed::dbx::AppendToModelSpace(
        new AcDbLine(AcGePoint3d(wa[0], wa[1], wa[2]), AcGePoint3d(wb[0], wb[1], wb[2])));
}

#else

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

#endif

}  // namespace vorn::bench
