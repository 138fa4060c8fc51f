// FILLET per pair: the tangent arc of two curves, and the command over a drawing as the road
// code drives it (entity/point pairs through acedCommand).
#include <benchmark/benchmark.h>

#include <memory>

#include "host/cmds/cmds.h"
#include "host/cmds/filletgeom.h"
#include "host/ed/aced.h"
#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/editor.h"
#include "host/ed/selection.h"

using vorn::cmds::ComputeFillet;
using vorn::cmds::FilletCurve;

static void BM_FilletGeometryLineLine(benchmark::State& state) {
    const FilletCurve a = FilletCurve::Line({-1e4, 0, 0}, {2e4, 0, 0});
    const FilletCurve b = FilletCurve::Line({0, -1e4, 0}, {3e3, 2e4, 0});
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeFillet(a, {1e4, 0, 0}, b, {1500, 1e4, 0}, 5000));
}
BENCHMARK(BM_FilletGeometryLineLine);

static void BM_FilletGeometryArcArc(benchmark::State& state) {
    const FilletCurve a = FilletCurve::Arc({0, 0, 0}, 50, 0, 1.5707963);
    const FilletCurve b = FilletCurve::Arc({80, 0, 0}, 50, 1.5707963, 3.1415926);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeFillet(a, {8.68, 49.24, 0}, b, {71.32, 49.24, 0}, 8));
}
BENCHMARK(BM_FilletGeometryArcArc);

static void BM_FilletCommandThroughAcedCommand(benchmark::State& state) {
    vorn::cmds::RegisterHostCommands();
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    db->setFilletrad(20);
    const ads_point p1 = {60, 0, 0}, p2 = {0, 60, 0};
    for (auto _ : state) {
        state.PauseTiming();
        const AcDbObjectId a = vorn::ed::dbx::AppendToModelSpace(new AcDbLine({-100, 0, 0}, {100, 0, 0}));
        const AcDbObjectId b = vorn::ed::dbx::AppendToModelSpace(new AcDbLine({0, -100, 0}, {0, 100, 0}));
        ads_name n1, n2;
        acdbGetAdsName(n1, a);
        acdbGetAdsName(n2, b);
        state.ResumeTiming();
        acedCommand(RTSTR, L"FILLET", RTLB, RTENAME, n1, RT3DPOINT, p1, RTLE, RTLB, RTENAME, n2,
                    RT3DPOINT, p2, RTLE, 0);
    }
    vorn::ed::SetTranscriptSink(nullptr);
    vorn::ed::ResetEditor();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_FilletCommandThroughAcedCommand);

BENCHMARK_MAIN();
