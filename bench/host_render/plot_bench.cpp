// Plots of a large site plan: the whole 200,000-entity drawing fitted on an A0 sheet, into a
// PDF and into a PNG (150 dpi) of the same sheet from the same painting. The PDF's size is
// reported beside its time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/host_dxf/siteplan.h"
#include "host/render/plot.h"

namespace {

constexpr int kEntities = 200000;

const AcDbDatabase& Drawing() {
    static const std::unique_ptr<AcDbDatabase> db = vorn::bench::MakeSitePlan(kEntities);
    return *db;
}

void Plot(benchmark::State& state, const char* extension) {
    vorn::render::PlotOptions o;
    o.file = std::string(VORN_BINARY_DIR) + "/host_render_bench" + extension;
    std::string error;
    vorn::render::ParseSheet("A0", o.sheet, error);
    vorn::render::PlotReport report;
    Drawing();
    for (auto _ : state)
        if (!vorn::render::PlotDrawing(Drawing(), o, report, error)) state.SkipWithError(error.c_str());
    std::error_code ec;
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(o.file, ec)) / 1e6;
    state.counters["scale"] = report.scale;
}

void BM_PlotA0Pdf(benchmark::State& state) { Plot(state, ".pdf"); }
BENCHMARK(BM_PlotA0Pdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PlotA0Png(benchmark::State& state) { Plot(state, ".png"); }
BENCHMARK(BM_PlotA0Png)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
