// Parking rows: one update of the row drag per cursor move with a row of 500 spaces (the row
// laid anew from the settings, then its preview drawn; target well under one frame, 16 ms),
// and rows laid along every segment of a 200-segment polyline of straight and arc segments.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"
#include "host/db/dbpline.h"
#include "host/db/gi.h"
#include "host/dxf/dxf.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "parking/parkcurve.h"
#include "parking/parkdlg.h"
#include "parking/parkjig.h"
#include "parking/parksettings.h"
#include "parking/parkspace.h"

namespace {

constexpr int kSpaces = 500;
constexpr int kSegments = 200;
constexpr double kWidth = 2400, kDepth = 5300;
constexpr double kTargetMs = 16.0;

// A millimetre drawing with the support car as its block.
struct Drawing {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>(true);
    AcDbObjectId car;
    std::string error;
    Drawing() {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        vorn::dxf::LoadDxfAsBlock(std::string(VORN_SOURCE_DIR) + "/support/car.dxf", *db, L"car",
                                  car, error);
    }
    ~Drawing() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
};

void SetSettings(const wchar_t* style) {
    g_strParkWidth = L"2400";
    g_strParkDepth = L"5300";
    g_strParkAngle = L"90";
    g_strParkRows = L"单排";
    g_strParkStyle = style;
    g_dParkWidth = kWidth;
    g_dParkDepth = kDepth;
}

const wchar_t* StyleText(int style) {
    return style == kParkWithCar ? L"有停车" : L"双斜线";
}

// Collects nothing: the cost of laying the row and making the preview's pieces.
class NullStream : public KyGiStream {
  protected:
    void Put(AcDbEntity* entity) override { delete entity; }
};

// One cursor move as the drag makes it: the cursor half a space beyond the 500th space, moved a
// little across the row each time so that every update sees a new point. drawn: the preview
// drawn through the host's drawing interface into world primitives (the car block's strokes
// included, as the screen gets them) instead of only into the stream.
void JigUpdate(benchmark::State& state, bool drawn) {
    const int style = static_cast<int>(state.range(0));
    Drawing d;
    if (d.car.isNull()) {
        state.SkipWithError(d.error.c_str());
        return;
    }
    SetSettings(StyleText(style));
    KyUiDrawParkSpaceDlg dialog(nullptr);  // no window: the settings drive the drag
    KyDbParkSpace row(d.car);
    KyDrawParkSpaceJig jig(&row, &dialog);
    jig.SetBasePoint(AcGePoint3d(0, 0, 0));
    std::size_t pieces = 0;
    double y = 0;
    for (auto _ : state) {
        y += 1e-3;
        // What the sampler stores for the cursor, then the update and the preview.
        jig.SetCurrentPoint(AcGePoint3d((kSpaces + 0.5) * kWidth, y, 0));
        jig.update();
        if (drawn) {
            vorn::db::GiCollector collector;
            vorn::db::DrawEntity(&row, &collector);
            pieces = collector.primitives.size();
        } else {
            NullStream stream;
            row.Explode(stream);
        }
    }
    if (row.GetCount() != kSpaces) state.SkipWithError("the row did not hold 500 spaces");
    state.counters["spaces"] = row.GetCount();
    state.counters["target_ms"] = kTargetMs;
    if (drawn) state.counters["primitives"] = static_cast<double>(pieces);
    state.counters["per_update"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ParkJigUpdate(benchmark::State& state) {
    JigUpdate(state, false);
}
void BM_ParkJigUpdateDrawn(benchmark::State& state) {
    JigUpdate(state, true);
}
BENCHMARK(BM_ParkJigUpdate)
    ->ArgName("style")
    ->Arg(kParkWithCar)
    ->Arg(kParkDoubleDiagonal)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParkJigUpdateDrawn)
    ->ArgName("style")
    ->Arg(kParkWithCar)
    ->Arg(kParkDoubleDiagonal)
    ->Unit(benchmark::kMillisecond);

// A winding polyline of 200 segments 12,000 long, every other one an arc bulging to alternate
// sides: five spaces on each straight segment and a radial row on each arc.
AcDbObjectId MakePath() {
    auto* pline = new AcDbPolyline;
    for (int i = 0; i <= kSegments; ++i) {
        const double bulge = i % 2 == 0 ? 0.0 : (i % 4 == 1 ? 0.15 : -0.15);
        pline->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(i * 12000.0, 0), bulge);
    }
    return vorn::ed::dbx::AppendToModelSpace(pline);
}

void BM_LayoutAlongCurve(benchmark::State& state) {
    const int style = static_cast<int>(state.range(0));
    const int rows = static_cast<int>(state.range(1));
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Drawing>();
        if (d->car.isNull()) {
            state.SkipWithError(d->error.c_str());
            break;
        }
        const AcDbObjectId path = MakePath();
        const int before = d->db->modelSpaceIds().length();
        state.ResumeTiming();
        if (!LayoutAlongCurve(kWidth, kDepth, KyGePoint(6000, 5000), 3.1415926536 / 2, style, rows,
                              d->car, path))
            state.SkipWithError("the polyline was not taken as a curve");
        state.PauseTiming();
        written = d->db->modelSpaceIds().length() - before;
        d.reset();
        state.ResumeTiming();
    }
    vorn::ed::SetTranscriptSink(nullptr);
    if (written <= 0) state.SkipWithError("no spaces were laid along the polyline");
    state.counters["entities"] = written;
}
BENCHMARK(BM_LayoutAlongCurve)
    ->ArgNames({"style", "rows"})
    ->Args({kParkWithCar, 1})
    ->Args({kParkWithCar, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
