// A large drawing: 200,000 entities (lines, arcs, polylines, texts and block references) saved
// and loaded through a DXF file, side by side in the same run with ezdxf reading and writing the
// same file; the peak memory of a load; a small crossing window against a scan of the whole
// drawing; and a picture of it all. A summary after the timings sets each figure beside its
// target.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxf.h"
#include "host/render/render.h"

namespace {

constexpr int kEntities = 200000;
constexpr double kTargetSpeedRatio = 20.0;   // ours against ezdxf, load and save
constexpr double kTargetMemoryRatio = 10.0;  // peak load memory against the file size

struct Figures {
    double fileMB = 0;
    double saveMBs = 0, loadMBs = 0;
    double ezdxfSaveMBs = 0, ezdxfLoadMBs = 0;
    double peakMB = -1;
    double windowUs = 0, scanUs = 0;
    std::size_t windowHits = 0;
    double renderMs = 0;
} g_figures;

std::string BenchFile() { return std::string(VORN_BINARY_DIR) + "/host_dxf_bench.dxf"; }

AcDbObjectId MakeTreeBlock(AcDbDatabase& db) {
    AcDbBlockTable* table = nullptr;
    db.getBlockTable(table, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"乔木");
    AcDbObjectId blockId;
    table->add(blockId, block);
    table->close();
    AcDbObjectId id;
    auto* circle = new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 1.0);
    block->appendAcDbEntity(id, circle);
    circle->close();
    auto* cross = new AcDbLine(AcGePoint3d(-1, 0, 0), AcGePoint3d(1, 0, 0));
    block->appendAcDbEntity(id, cross);
    cross->close();
    block->close();
    return blockId;
}

// The entities on a 500-wide grid 25 units apart, one kind in turn, every eighth on a layer.
std::unique_ptr<AcDbDatabase> MakeDrawing() {
    auto db = std::make_unique<AcDbDatabase>(true);
    AcDbObjectId layer;
    db->ensureLayer(L"道路", layer);
    const AcDbObjectId tree = MakeTreeBlock(*db);
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite);
    for (int i = 0; i < kEntities; ++i) {
        const double x = (i % 500) * 25.0, y = (i / 500) * 25.0;
        AcDbEntity* e = nullptr;
        switch (i % 5) {
            case 0: e = new AcDbLine({x, y, 0}, {x + 20, y + 5, 0}); break;
            case 1: e = new AcDbArc({x, y, 0}, 8.0, 0.25, 2.5); break;
            case 2: {
                auto* pl = new AcDbPolyline();
                pl->addVertexAt(0, {x, y});
                pl->addVertexAt(1, {x + 10, y}, 0.5);
                pl->addVertexAt(2, {x + 10, y + 10});
                e = pl;
                break;
            }
            case 3: e = new AcDbText({x, y, 0}, L"乔木 T", AcDbObjectId(), 2.5); break;
            default: {
                auto* ref = new AcDbBlockReference(AcGePoint3d(x, y, 0), tree);
                ref->setScaleFactors(AcGeScale3d(3.0));
                ref->setRotation(0.001 * i);
                e = ref;
                break;
            }
        }
        if (i % 8 == 0) e->setLayer(layer);
        AcDbObjectId id;
        ms->appendAcDbEntity(id, e);
        e->close();
    }
    ms->close();
    return db;
}

const AcDbDatabase& Drawing() {
    static std::unique_ptr<AcDbDatabase> db = MakeDrawing();
    return *db;
}

double FileMB(const std::string& path) { return double(std::filesystem::file_size(path)) / 1e6; }

void BM_SaveDxf(benchmark::State& state) {
    const AcDbDatabase& db = Drawing();
    std::string error;
    for (auto _ : state)
        if (vorn::dxf::WriteDxf(db, BenchFile(), error) != Acad::eOk) state.SkipWithError(error.c_str());
    g_figures.fileMB = FileMB(BenchFile());
    state.SetBytesProcessed(std::int64_t(g_figures.fileMB * 1e6) * state.iterations());
    state.counters["MB"] = g_figures.fileMB;
}
BENCHMARK(BM_SaveDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadDxf(benchmark::State& state) {
    std::string error;
    if (!std::filesystem::exists(BenchFile()) && vorn::dxf::WriteDxf(Drawing(), BenchFile(), error) != Acad::eOk)
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(BenchFile(), error);
        if (!db || db->modelSpaceIds().length() != kEntities) state.SkipWithError(error.c_str());
    }
    g_figures.fileMB = FileMB(BenchFile());
    state.SetBytesProcessed(std::int64_t(g_figures.fileMB * 1e6) * state.iterations());
}
BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The peak resident memory a load adds, measured in a fresh process of this program (so that
// no memory freed by an earlier load is reused): the high-water mark is reset (Linux
// clear_refs) just before the load and read just after it, in kB from /proc/self/status.
long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    return -1;
}

constexpr const char* kPeakOption = "--load-peak-kb";

// The child's part: prints the kB the load added, or -1.
int PrintLoadPeak(const std::string& path) {
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS:");
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(path, error);
    const long peak = StatusKb("VmHWM:");
    std::printf("%ld\n", db && before >= 0 && peak >= before ? peak - before : -1L);
    return 0;
}

void BM_LoadPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        FILE* p = popen(("'" + self + "' " + std::string(kPeakOption) + " '" + BenchFile() + "'").c_str(), "r");
        long kb = -1;
        if (p) {
            if (std::fscanf(p, "%ld", &kb) != 1) kb = -1;
            pclose(p);
        }
        if (kb < 0) {
            state.SkipWithError("the peak memory of a load could not be measured");
            break;
        }
        g_figures.peakMB = double(kb) * 1024.0 / 1e6;
    }
    state.counters["peak MB"] = g_figures.peakMB;
}
BENCHMARK(BM_LoadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// ezdxf on the same file, timed inside Python so that its start-up is left out.
bool RunEzdxf(double& loadSeconds, double& saveSeconds, std::string& error) {
    const std::string copy = std::string(VORN_BINARY_DIR) + "/host_dxf_bench_ezdxf.dxf";
    const std::string command =
        "/usr/bin/python3 -c \"import sys,time\n"
        "try:\n import ezdxf\nexcept ImportError:\n print('missing'); sys.exit(0)\n"
        "t=time.perf_counter(); doc=ezdxf.readfile(sys.argv[1]); t1=time.perf_counter()\n"
        "doc.saveas(sys.argv[2]); t2=time.perf_counter()\n"
        "print(t1-t, t2-t1)\" '" + BenchFile() + "' '" + copy + "' 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        error = "python3 could not be started";
        return false;
    }
    std::string out;
    char buf[512];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    std::istringstream in(out);
    if (!(in >> loadSeconds >> saveSeconds) || loadSeconds <= 0 || saveSeconds <= 0) {
        error = out.rfind("missing", 0) == 0 ? "python3-ezdxf is not installed: no comparison"
                                              : "ezdxf failed: " + out.substr(0, 200);
        return false;
    }
    return true;
}

void BM_EzdxfLoadAndSave(benchmark::State& state) {
    for (auto _ : state) {
        double load = 0, save = 0;
        std::string error;
        if (!RunEzdxf(load, save, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.SetIterationTime(load + save);
        g_figures.ezdxfLoadMBs = g_figures.fileMB / load;
        g_figures.ezdxfSaveMBs = g_figures.fileMB / save;
    }
    state.counters["load MB/s"] = g_figures.ezdxfLoadMBs;
    state.counters["save MB/s"] = g_figures.ezdxfSaveMBs;
}
BENCHMARK(BM_EzdxfLoadAndSave)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

// A window of 60 × 60 units somewhere in the middle of the drawing.
AcDbExtents SmallWindow() {
    return AcDbExtents(AcGePoint3d(6000, 5000, 0), AcGePoint3d(6060, 5060, 0));
}

void BM_CrossingWindowIndexed(benchmark::State& state) {
    const AcDbDatabase& db = Drawing();
    std::size_t hits = 0;
    for (auto _ : state) {
        AcDbObjectIdArray ids = db.entitiesMeetingBox(SmallWindow());
        hits = std::size_t(ids.length());
        benchmark::DoNotOptimize(ids);
    }
    g_figures.windowHits = hits;
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_CrossingWindowIndexed)->Unit(benchmark::kMicrosecond);

// The same question answered by looking at every entity's extents.
void BM_CrossingWindowScan(benchmark::State& state) {
    const AcDbDatabase& db = Drawing();
    const AcDbExtents window = SmallWindow();
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = 0;
        const AcDbObjectIdArray all = db.modelSpaceIds();
        for (int i = 0; i < all.length(); ++i) {
            const auto* e = static_cast<const AcDbEntity*>(db.peekObject(all[i]));
            AcDbExtents box;
            if (e && e->getGeomExtents(box) == Acad::eOk && box.intersects2d(window)) ++hits;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_CrossingWindowScan)->Unit(benchmark::kMicrosecond);

void BM_RenderPng(benchmark::State& state) {
    vorn::render::RenderOptions options;
    options.file = std::string(VORN_BINARY_DIR) + "/host_dxf_bench.png";
    std::string error;
    for (auto _ : state)
        if (!vorn::render::RenderDrawing(Drawing(), options, error)) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond)->Iterations(2);

// Keeps the figures the summary needs from the runs as they are reported.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const double seconds = run.real_accumulated_time / double(run.iterations);
            if (name.rfind("BM_SaveDxf", 0) == 0) g_figures.saveMBs = g_figures.fileMB / seconds;
            if (name.rfind("BM_LoadDxf", 0) == 0) g_figures.loadMBs = g_figures.fileMB / seconds;
            if (name.rfind("BM_CrossingWindowIndexed", 0) == 0) g_figures.windowUs = seconds * 1e6;
            if (name.rfind("BM_CrossingWindowScan", 0) == 0) g_figures.scanUs = seconds * 1e6;
            if (name.rfind("BM_RenderPng", 0) == 0) g_figures.renderMs = seconds * 1e3;
        }
    }
};

void PrintSummary() {
    const Figures& f = g_figures;
    if (f.saveMBs <= 0 || f.loadMBs <= 0) return;  // a filtered run: the timings say it all
    std::printf("\n%d entities, file %.1f MB\n", kEntities, f.fileMB);
    std::printf("%-34s %12s %12s %10s %10s\n", "", "vorncad", "ezdxf", "ratio", "target");
    auto speed = [](const char* what, double ours, double peer) {
        if (peer > 0)
            std::printf("%-34s %9.1f MB/s %7.2f MB/s %9.1fx %9.0fx %s\n", what, ours, peer, ours / peer,
                        kTargetSpeedRatio, ours / peer >= kTargetSpeedRatio ? "met" : "MISSED");
        else
            std::printf("%-34s %9.1f MB/s %12s\n", what, ours, "(no ezdxf)");
    };
    speed("save", f.saveMBs, f.ezdxfSaveMBs);
    speed("load", f.loadMBs, f.ezdxfLoadMBs);
    if (f.peakMB >= 0 && f.fileMB > 0)
        std::printf("%-34s %9.1f MB %25.1fx  < %5.0fx %s\n", "peak memory of a load", f.peakMB,
                    f.peakMB / f.fileMB, kTargetMemoryRatio,
                    f.peakMB / f.fileMB < kTargetMemoryRatio ? "met" : "MISSED");
    if (f.windowUs > 0)
        std::printf("%-34s %9.1f us  (scan %.0f us, %.0fx faster, %zu hits)\n", "crossing window, indexed",
                    f.windowUs, f.scanUs, f.scanUs / f.windowUs, f.windowHits);
    if (f.renderMs > 0) std::printf("%-34s %9.0f ms\n", "picture of the drawing (PNG)", f.renderMs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kPeakOption) return PrintLoadPeak(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintSummary();
    vorn::render::ReleaseRenderCaches();
    return 0;
}
