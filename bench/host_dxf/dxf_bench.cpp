// The DXF file benchmarks on a site plan of 200,000 entities (bench/host_dxf/siteplan.cpp: lines,
// arcs, circles, polylines with bulges, texts and paragraph texts in Chinese, block references
// with attributes, and the kinds kept as they are read, hatches, dimensions, splines and points;
// about 35 MB of DXF):
// - save: WriteDxf of the drawing to a file, as the user's SAVE does it;
// - load: ReadDxfFile of that file into a new drawing, the file read from the page cache; the
//   time is the read alone: freeing the drawing afterwards is left out, as it is for the peer;
// - dxflib's DL_Dxf::in on the same file in the same run, into a creation adapter that keeps
//   every entity's values and layer (bench/host_dxf/dxflibpeer.cpp); load is judged against it
//   on CPU time, wall-clock time shown beside it;
// - ezdxf reading and writing the same file, timed inside Python (its start-up left out); save
//   is judged against it;
// - the peak memory a load adds, in a fresh process;
// - a small crossing window against a scan of the whole drawing, and a picture of it all.
// A summary after the timings sets each figure beside its target.
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
#include "bench/host_dxf/dxflibpeer.h"
#include "bench/host_dxf/siteplan.h"

namespace {

constexpr int kEntities = 200000;
constexpr double kTargetSaveRatio = 20.0;   // our save against ezdxf's
constexpr double kTargetLoadRatio = 3.0;    // our load against dxflib's, in CPU time
constexpr double kTargetMemoryRatio = 5.0;  // peak load memory against the file size

struct Figures {
    double fileMB = 0;
    double saveMBs = 0, loadMBs = 0, loadCpuMBs = 0;
    double ezdxfSaveMBs = 0, ezdxfLoadMBs = 0;
    double dxflibMBs = 0, dxflibCpuMBs = 0;
    std::string dxflibMissing;
    double peakMB = -1;
    double windowUs = 0, scanUs = 0;
    std::size_t windowHits = 0;
    double renderMs = 0;
} g_figures;

bool g_fileWritten = false;  // the bench file, by this process from this drawing

std::string BenchFile() { return std::string(VORN_BINARY_DIR) + "/host_dxf_bench.dxf"; }

const AcDbDatabase& Drawing() {
    static std::unique_ptr<AcDbDatabase> db = vorn::bench::MakeSitePlan(kEntities);
    return *db;
}

double FileMB(const std::string& path) { return double(std::filesystem::file_size(path)) / 1e6; }

void BM_SaveDxf(benchmark::State& state) {
    const AcDbDatabase& db = Drawing();
    std::string error;
    for (auto _ : state)
        if (vorn::dxf::WriteDxf(db, BenchFile(), error) != Acad::eOk) state.SkipWithError(error.c_str());
    g_fileWritten = true;
    g_figures.fileMB = FileMB(BenchFile());
    state.SetBytesProcessed(std::int64_t(g_figures.fileMB * 1e6) * state.iterations());
    state.counters["MB"] = g_figures.fileMB;
}
BENCHMARK(BM_SaveDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The file the loads read: written by the save benchmark, or here when that one was filtered out.
void EnsureFile(benchmark::State& state) {
    std::string error;
    if (g_fileWritten) return;
    if (vorn::dxf::WriteDxf(Drawing(), BenchFile(), error) != Acad::eOk) state.SkipWithError(error.c_str());
    g_fileWritten = true;
}

void BM_LoadDxf(benchmark::State& state) {
    EnsureFile(state);
    std::string error;
    for (auto _ : state) {
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(BenchFile(), error);
        state.PauseTiming();
        if (!db || db->modelSpaceIds().length() != kEntities) state.SkipWithError(error.c_str());
        db.reset();
        state.ResumeTiming();
    }
    g_figures.fileMB = FileMB(BenchFile());
    state.SetBytesProcessed(std::int64_t(g_figures.fileMB * 1e6) * state.iterations());
}
BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

// dxflib on the same file, measured the same way.
void BM_DxflibLoad(benchmark::State& state) {
    if (!vorn::bench::HavePeer()) {
        g_figures.dxflibMissing = "dxflib was not found when this was built (libdxflib-dev): no comparison";
        state.SkipWithError(g_figures.dxflibMissing.c_str());
        return;
    }
    EnsureFile(state);
    vorn::bench::PeerCounts counts;
    for (auto _ : state) {
        std::shared_ptr<void> read = vorn::bench::PeerRead(BenchFile(), counts);
        state.PauseTiming();
        if (!read) state.SkipWithError("dxflib refused the file");
        read.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(FileMB(BenchFile()) * 1e6) * state.iterations());
    state.counters["entities"] = double(counts.entities);
    state.counters["vertices"] = double(counts.vertices);
}
BENCHMARK(BM_DxflibLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

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

AcDbExtents SmallWindow() { return vorn::bench::WindowInTheMiddle(kEntities); }

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
            const double cpu = run.cpu_accumulated_time / double(run.iterations);
            if (name.rfind("BM_SaveDxf", 0) == 0) g_figures.saveMBs = g_figures.fileMB / seconds;
            if (name.rfind("BM_LoadDxf", 0) == 0) {
                g_figures.loadMBs = g_figures.fileMB / seconds;
                g_figures.loadCpuMBs = g_figures.fileMB / cpu;
            }
            if (name.rfind("BM_DxflibLoad", 0) == 0) {
                g_figures.dxflibMBs = g_figures.fileMB / seconds;
                g_figures.dxflibCpuMBs = g_figures.fileMB / cpu;
            }
            if (name.rfind("BM_CrossingWindowIndexed", 0) == 0) g_figures.windowUs = seconds * 1e6;
            if (name.rfind("BM_CrossingWindowScan", 0) == 0) g_figures.scanUs = seconds * 1e6;
            if (name.rfind("BM_RenderPng", 0) == 0) g_figures.renderMs = seconds * 1e3;
        }
    }
};

void PrintSummary() {
    const Figures& f = g_figures;
    if (f.saveMBs <= 0 || f.loadMBs <= 0) return;  // a filtered run: the timings say it all
    std::printf("\n%d entities, file %.1f MB:", kEntities, f.fileMB);
    for (const auto& [kind, count] : vorn::bench::CountKinds(Drawing())) std::printf(" %s %d", kind.c_str(), count);
    std::printf("\n%-34s %14s %24s %10s %10s\n", "", "vorncad", "peer", "ratio", "target");
    const auto judged = [](const char* what, double ours, const char* peerName, double peer, double target) {
        if (peer > 0)
            std::printf("%-34s %9.1f MB/s %9s %9.2f MB/s %9.1fx %9.0fx %s\n", what, ours, peerName, peer, ours / peer,
                        target, ours / peer >= target ? "met" : "MISSED");
        else
            std::printf("%-34s %9.1f MB/s %24s\n", what, ours, (std::string("(no ") + peerName + ")").c_str());
    };
    judged("save", f.saveMBs, "ezdxf", f.ezdxfSaveMBs, kTargetSaveRatio);
    judged("load, CPU time", f.loadCpuMBs, "dxflib", f.dxflibCpuMBs, kTargetLoadRatio);
    if (f.dxflibMBs > 0)
        std::printf("%-34s %9.1f MB/s %9s %9.2f MB/s %9.1fx\n", "load, wall-clock", f.loadMBs, "dxflib", f.dxflibMBs,
                    f.loadMBs / f.dxflibMBs);
    else if (!f.dxflibMissing.empty())
        std::printf("%-34s %s\n", "", f.dxflibMissing.c_str());
    if (f.ezdxfLoadMBs > 0)
        std::printf("%-34s %9.1f MB/s %9s %9.2f MB/s %9.1fx\n", "load, wall-clock", f.loadMBs, "ezdxf", f.ezdxfLoadMBs,
                    f.loadMBs / f.ezdxfLoadMBs);
    if (f.peakMB >= 0 && f.fileMB > 0)
        std::printf("%-34s %9.1f MB %27.1fx  < %5.0fx %s\n", "peak memory of a load", f.peakMB, f.peakMB / f.fileMB,
                    kTargetMemoryRatio, f.peakMB / f.fileMB < kTargetMemoryRatio ? "met" : "MISSED");
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
