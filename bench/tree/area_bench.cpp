// Area sweeps of the tree command as a designer makes them: the cursor sweeps rows 1.5 m apart
// across a patch of 100 m × 15 m (about 1,000 trees) and of 100 m × 45 m (about 3,000 trees)
// with trees of "_Tree1" at random radii of 800 to 1500 and a fixed spacing of 1000, and the
// sweep ends in the canopy region. Timed from the first cursor sample to the region.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "frame/VornFrame.h"
#include "framework/store/KyHistoryData.h"
#include "host/db/dbmain.h"
#include "host/db/dbregion.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"
#include "host/mfc/resources.h"
#include "tree/treesettings.h"

namespace {

constexpr double kRowGap = 1500;     // between the sweep's rows
constexpr double kSampleStep = 250;  // between two cursor samples along a row
constexpr double kLength = 100000;   // of each row

struct Patch {
    double depth;   // across the rows
    double target;  // seconds
};
const Patch kPatches[] = {{15000, 1.0}, {45000, 2.0}};

int g_appId = 0;

// The script of one sweep: the start click, the cursor to and fro along the rows, a click to end,
// then Enter to leave the command.
std::string SweepScript(double depth) {
    std::string s = "KyRYBS\n0,0\n";
    char line[64];
    int row = 0;
    for (double y = 0; y < depth; y += kRowGap, ++row)
        for (double t = 0; t <= kLength; t += kSampleStep) {
            std::snprintf(line, sizeof line, "~%.0f,%.0f\n", row % 2 ? kLength - t : t, y);
            s += line;
        }
    return s + "!0,0\n\n";
}

// Runs the sweep in a new drawing; the number of canopy regions it leaves.
int Sweep(const std::string& script) {
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    const std::string store = std::string(VORN_BINARY_DIR) + "/tree_area_bench.json";
    std::remove(store.c_str());
    g_dictHistoryData.SetFileName(store);
    g_dictHistoryData.Load(store);
    g_nTreeDrawMode = 3;
    g_dTreeRadiusMin = 800, g_dTreeRadiusMax = 1500;
    g_dTreeSpacingMin = 1000, g_dTreeSpacingMax = 2000;
    g_bTreeFixedRadius = 0, g_bTreeFixedSpacing = 1;
    g_idTreeBlock = AcDbObjectId();
    g_strTreeBlockFile = (std::wstring(VORN_SOURCE_DIR L"") + L"/support/_Tree1.dxf").c_str();

    vorn::ed::ResetEditor();
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    vorn::ed::SetLineSource(vorn::ed::ScriptTextSource(script), false);
    VornFrameAttach(vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing"), L"VornGeneralDrawing.arx");
    VornFrameEntryPoint(AcRx::kInitAppMsg, &g_appId);
    vorn::ed::RunCommandLoop();
    VornFrameEntryPoint(AcRx::kUnloadAppMsg, &g_appId);
    vorn::ed::SetTranscriptSink(nullptr);
    vorn::ed::ResetEditor();

    int regions = 0;
    for (const AcDbObjectId& id : db->modelSpaceIds()) regions += AcDbRegion::cast(db->peekObject(id)) != nullptr;
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    return regions;
}

void BM_AreaSweep(benchmark::State& state) {
    const Patch& patch = kPatches[state.range(0)];
    const std::string script = SweepScript(patch.depth);
    int regions = 0;
    for (auto _ : state) regions = Sweep(script);
    if (regions != 1) state.SkipWithError("the sweep left no single canopy region");
}
BENCHMARK(BM_AreaSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

class TargetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            if (run.error_occurred || name.rfind("BM_AreaSweep/", 0) != 0) continue;
            const Patch& patch = kPatches[name.rfind("BM_AreaSweep/1", 0) == 0 ? 1 : 0];
            const double s = run.real_accumulated_time / double(run.iterations);
            std::printf("  area sweep 100 m x %.0f m, about %.0f trees: %.3f s, target under %.0f s: %s\n",
                        patch.depth / 1000, patch.depth / kRowGap * (kLength / 1000 + 1), s, patch.target,
                        s < patch.target ? "met" : "MISSED");
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
