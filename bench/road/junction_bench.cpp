// One straight road segment drawn across one road of a drawing that already holds N road edges
// (a grid of short roads), with the junction opened and its corners filleted, and one segment
// across a six-arm junction (three roads through one point) beside the grid: time per segment
// through the spatial index and through the plain scan of every road edge, and how the time
// grows from the smallest to the largest drawing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "host/cmds/cmds.h"
#include "host/db/dbextents.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"
#include "road/roadedges.h"
#include "road/roadjunctions.h"
#include "road/roadsettings.h"

namespace {

constexpr double kTargetMs = 5.0;     // per segment at the largest drawing
constexpr double kTargetRatio = 3.0;  // largest drawing against the smallest
constexpr int kSmallest = 1000, kLargest = 50000;

std::map<std::pair<int, bool>, double> g_msPerSegment;  // (edges, indexed) -> ms
std::map<std::pair<int, bool>, double> g_msSixArms;

// Short roads 8000 long and 4000 wide, 10000 apart in rows and columns: two edges each.
std::unique_ptr<AcDbDatabase> Grid(int edges) {
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    AcDbObjectId layer;
    db->ensureLayer(L"PLAN-ROAD", layer);
    const int roads = edges / 2, perRow = 100;
    for (int i = 0; i < roads; ++i) {
        const double x = (i % perRow) * 10000.0, y = (i / perRow) * 10000.0;
        for (double dy : {2000.0, -2000.0}) {
            auto* line = new AcDbLine(AcGePoint3d(x, y + dy, 0), AcGePoint3d(x + 8000, y + dy, 0));
            line->setLayer(layer);
            vorn::ed::dbx::AppendToModelSpace(line);
        }
    }
    return db;
}

bool g_sixArms = false;
// The six-arm junction lies below the grid, about this point.
const KyGePoint kSixArmCentre(20000, -60000);

KyGePoint AboutSixArms(double angleDeg, double r) {
    const double a = angleDeg * 3.14159265358979 / 180.0;
    return KyGePoint(kSixArmCentre.x + r * std::cos(a), kSixArmCentre.y + r * std::sin(a));
}

// Three roads 40000 long through one point, 60 degrees apart.
void AddSixArmJunction() {
    for (double a : {0.0, 60.0, 120.0})
        DrawRoadFromCenter(KyGeLineSeg2d(AboutSixArms(a + 180.0, 20000), AboutSixArms(a, 20000)), nullptr);
}

void DrawCrossingSegment() {
    if (g_sixArms) {
        // Across the junction, between two of its roads.
        DrawRoadFromCenter(KyGeLineSeg2d(AboutSixArms(210.0, 15000), AboutSixArms(30.0, 15000)), nullptr);
        return;
    }
    // Across the first road of the grid, and no other.
    const KyGeLineSeg2d centre(KyGePoint(4000, -5000), KyGePoint(4000, 5000));
    DrawRoadFromCenter(centre, nullptr);
}

void BM_SegmentAcrossARoad(benchmark::State& state) {
    const int edges = static_cast<int>(state.range(0));
    const bool indexed = state.range(1) != 0;
    g_sixArms = state.range(2) != 0;
    vorn::cmds::RegisterHostCommands();
    vorn::ed::AddCommand(L"JUNCTIONBENCH", L"CROSSROAD", L"CROSSROAD", 0, DrawCrossingSegment);
    g_strRoadLeftWidth = g_strRoadRightWidth = L"2000";
    g_strRoadFilletRadius = L"1000";
    g_bRoadCenterLine = g_bRoadFillet = 1;
    g_nRoadFilletStyle = 0;
    SetRoadJunctionSearch(indexed ? KyRoadSearch::kIndexed : KyRoadSearch::kPlainScan);
    const std::unique_ptr<AcDbDatabase> db = Grid(edges);
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    if (g_sixArms) AddSixArmJunction();
    const int before = db->modelSpaceIds().length();
    int added = -1;
    for (auto _ : state) {
        const size_t mark = db->undoPosition();
        vorn::ed::ResetEditor();
        vorn::ed::SetLineSource(vorn::ed::ScriptTextSource("CROSSROAD\n"), true);
        vorn::ed::RunCommandLoop();
        state.PauseTiming();
        // The junction's balance: 8 new pieces, 4 fillet arcs, 1 centre line less 2 erased edges.
        if (added < 0) added = db->modelSpaceIds().length() - before;
        AcDbUndoChunk redo;
        db->revertTo(mark, redo);
        // The index catches up with the undo here rather than in the next segment's first query.
        db->entitiesMeetingBox(AcDbExtents(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
        state.ResumeTiming();
    }
    vorn::ed::SetTranscriptSink(nullptr);
    vorn::ed::RemoveGroup(L"JUNCTIONBENCH");
    SetRoadJunctionSearch(KyRoadSearch::kIndexed);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    state.counters["edges"] = edges;
    state.counters["added"] = added;
}
BENCHMARK(BM_SegmentAcrossARoad)
    ->ArgsProduct({{kSmallest, 10000, kLargest}, {1, 0}, {0, 1}})
    ->ArgNames({"edges", "indexed", "sixarms"})
    ->Unit(benchmark::kMillisecond);

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            const auto edges = run.counters.find("edges");
            if (edges == run.counters.end()) continue;
            const bool indexed = run.benchmark_name().find("indexed:1") != std::string::npos;
            const bool sixArms = run.benchmark_name().find("sixarms:1") != std::string::npos;
            (sixArms ? g_msSixArms : g_msPerSegment)[{static_cast<int>(edges->second.value), indexed}] =
                run.real_accumulated_time / double(run.iterations) * 1e3;
        }
    }
};

void PrintTable(const char* title, const std::map<std::pair<int, bool>, double>& ms) {
    std::printf("\n%-22s %14s %14s\n", title, "spatial index", "plain scan");
    for (int edges : {kSmallest, 10000, kLargest}) {
        const auto in = ms.find({edges, true}), scan = ms.find({edges, false});
        if (in == ms.end() || scan == ms.end()) continue;
        std::printf("%8d road edges %11.3f ms %11.3f ms\n", edges, in->second, scan->second);
    }
    const auto small = ms.find({kSmallest, true}), large = ms.find({kLargest, true});
    const auto smallScan = ms.find({kSmallest, false}), largeScan = ms.find({kLargest, false});
    if (small == ms.end() || large == ms.end()) return;
    const double ratio = large->second / small->second;
    std::printf("spatial index: %.3f ms at %d edges (target < %.0f ms) %s; ratio %.2f (target < %.0f) %s\n",
                large->second, kLargest, kTargetMs, large->second < kTargetMs ? "met" : "MISSED", ratio,
                kTargetRatio, ratio < kTargetRatio ? "met" : "MISSED");
    if (smallScan != ms.end() && largeScan != ms.end())
        std::printf("plain scan:    %.3f ms at %d edges; ratio %.2f\n", largeScan->second, kLargest,
                    largeScan->second / smallScan->second);
}

void PrintSummary() {
    PrintTable("across one road", g_msPerSegment);
    PrintTable("across six arms", g_msSixArms);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
