// The end of an area sweep that dropped 1,000 trees of the support drawing "_Tree1": the trees
// placed at random sizes along a winding path, then united into one canopy region (the whole
// sweep's end, target under 0.5 s), and the union alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/db/dbmain.h"
#include "host/db/dbregion.h"
#include "host/dxf/dxf.h"
#include "tree/treearea.h"
#include "tree/treeplace.h"

namespace {

constexpr int kTrees = 1000;
constexpr double kTargetSeconds = 0.5;

struct Drawing {
    std::unique_ptr<AcDbDatabase> db = std::make_unique<AcDbDatabase>(true);
    AcDbObjectId block;
    Drawing() {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        std::string error;
        if (vorn::dxf::LoadDxfAsBlock(std::string(VORN_SOURCE_DIR) + "/support/_Tree1.dxf", *db, L"_Tree1",
                                      block, error) != Acad::eOk)
            std::fprintf(stderr, "%s\n", error.c_str());
    }
    ~Drawing() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
};

// Trees 1000 to 2000 across, spaced 1000 to 2000 apart along a wide zigzag, as a sweep drops them.
std::vector<AcDbObjectId> DropTrees(const Drawing& d) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> size(1000, 2000);
    std::vector<AcDbObjectId> trees;
    double x = 0, y = 0, heading = 0;
    for (int i = 0; i < kTrees; ++i) {
        trees.push_back(AddTreeAt(d.block, AcGePoint3d(x, y, 0), size(random)));
        const double step = size(random);
        heading += (i / 40) % 2 ? 0.05 : -0.05;
        x += step * std::cos(heading);
        y += step * std::sin(heading);
    }
    return trees;
}

void BM_AreaSweepEnd(benchmark::State& state) {
    for (auto _ : state) {
        Drawing d;
        if (d.block.isNull()) {
            state.SkipWithError("the tree block could not be loaded");
            break;
        }
        const std::vector<AcDbObjectId> trees = DropTrees(d);
        if (!KyTreeMakeAreaRegion(trees)) state.SkipWithError("no region was made");
    }
}
BENCHMARK(BM_AreaSweepEnd)->Unit(benchmark::kMillisecond)->Iterations(3);

// The canopy outlines united, without placing the trees.
void BM_RegionUnionAlone(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Drawing d;
        const std::vector<AcDbObjectId> trees = DropTrees(d);
        state.ResumeTiming();
        if (!KyTreeMakeAreaRegion(trees)) state.SkipWithError("no region was made");
    }
}
BENCHMARK(BM_RegionUnionAlone)->Unit(benchmark::kMillisecond)->Iterations(3);

class TargetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.benchmark_name().rfind("BM_AreaSweepEnd", 0) == 0) {
                const double s = run.real_accumulated_time / double(run.iterations);
                std::printf("  %d trees, sweep end %.3f s, target under %.1f s: %s\n", kTrees, s,
                            kTargetSeconds, s < kTargetSeconds ? "met" : "MISSED");
            }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
