// The road fillet command's window: the corners a crossing window over 34 road bends (102
// corners) collects, their radii and the FILLET runs, in drawings of 2,000 and 20,000 road
// edges. The time per window should not grow with the edges outside it beyond what the
// spatial index costs; the summary sets the two drawings side by side with that target.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "host/cmds/cmds.h"
#include "host/ed/dbaccess.h"
#include "host/ed/dbinclude.h"
#include "host/ed/editor.h"
#include "road/roadfilletcmd.h"

namespace {

constexpr int kBendsInWindow = 34;
constexpr int kColumns = 50;
constexpr double kSpacing = 40000.0;
// Growth allowed from 2,000 to 20,000 edges: the index's deeper tree, not a scan.
constexpr double kTargetGrowth = 1.5;

struct Figure {
    double msPerWindow = 0;
    std::size_t corners = 0;
};
std::map<std::pair<int, int>, Figure> g_figures;  // (edges, mode) -> figure

AcDbObjectId Line(const AcDbObjectId& layer, double x1, double y1, double x2, double y2) {
    auto* line = new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0));
    line->setLayer(layer);
    return vorn::ed::dbx::AppendToModelSpace(line);
}

// Bends of two roads (widths 2000 and 2000, centre lines) in sharp corners on a grid: four
// edges a bend.
std::unique_ptr<AcDbDatabase> MakeDrawing(int edges) {
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    AcDbObjectId road, centre;
    db->ensureLayer(L"PLAN-ROAD", road);
    db->ensureLayer(L"PLAN-ROAD_CENTER", centre);
    for (int b = 0; b < edges / 4; ++b) {
        const double x = (b % kColumns) * kSpacing, y = (b / kColumns) * kSpacing;
        Line(road, x, y + 2000, x + 8000, y + 2000);
        Line(road, x + 8000, y + 2000, x + 8000, y + 20000);
        Line(road, x, y - 2000, x + 12000, y - 2000);
        Line(road, x + 12000, y - 2000, x + 12000, y + 20000);
        Line(centre, x, y, x + 10000, y);
        Line(centre, x + 10000, y, x + 10000, y + 20000);
    }
    return db;
}

// One window as the command runs it: mode 1 concentric, 0 one radius.
std::size_t FilletWindow(int mode) {
    const ads_point p1 = {-1000, -3000, 0}, p2 = {(kBendsInWindow - 1) * kSpacing + 13000, 21000, 0};
    std::vector<RoadCornerFillet> V;
    CollectWindowFillets(p1, p2, 5000, V);
    if (mode == 1) AdjustSameCentreRadii(V);
    for (const RoadCornerFillet& rec : V)
        if (SetRoadFilletRadius(rec.radius))
            RunFillet(rec.pair.first, rec.pair.second, rec.pair.firstPick, rec.pair.secondPick);
    return V.size();
}

void BM_RoadFilletWindow(benchmark::State& state) {
    const int edges = static_cast<int>(state.range(0)), mode = static_cast<int>(state.range(1));
    vorn::cmds::RegisterHostCommands();
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    double seconds = 0;
    std::size_t corners = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<AcDbDatabase> db = MakeDrawing(edges);
        db->modelSpaceExtents();  // the spatial index is built once per drawing, not per window
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        corners = FilletWindow(mode);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        db.reset();
        state.ResumeTiming();
    }
    state.counters["corners"] = static_cast<double>(corners);
    g_figures[{edges, mode}] = {seconds * 1000.0 / static_cast<double>(state.iterations()), corners};
    vorn::ed::SetTranscriptSink(nullptr);
    vorn::ed::ResetEditor();
}
BENCHMARK(BM_RoadFilletWindow)
    ->ArgsProduct({{2000, 20000}, {0, 1}})
    ->ArgNames({"edges", "same_centre"})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf("\nA window over %d road bends, per window (target: at most %.1fx from 2,000 to 20,000 edges)\n",
                kBendsInWindow, kTargetGrowth);
    std::printf("%-14s %9s %14s %14s %8s %7s\n", "mode", "corners", "2,000 edges", "20,000 edges", "growth",
                "target");
    for (int mode : {0, 1}) {
        const auto small = g_figures.find({2000, mode}), large = g_figures.find({20000, mode});
        if (small == g_figures.end() || large == g_figures.end() || small->second.msPerWindow <= 0) continue;
        const double growth = large->second.msPerWindow / small->second.msPerWindow;
        std::printf("%-14s %9zu %11.2f ms %11.2f ms %7.2fx %6.1fx %s\n", mode ? "same centre" : "same radius",
                    large->second.corners, small->second.msPerWindow, large->second.msPerWindow, growth,
                    kTargetGrowth, growth <= kTargetGrowth ? "ok" : "MISSED");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
