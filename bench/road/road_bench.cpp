// Roads: a long road drawn from a script into an empty drawing (time per segment), and one
// drag update of the road jig with the preview drawn (time per update).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "frame/VornFrame.h"
#include "framework/core/KyGiStream.h"
#include "host/db/dbmain.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"
#include "host/mfc/resources.h"
#include "road/roadjig.h"
#include "road/roadpreview.h"

namespace {

int g_appId = 0;

// A zigzag of straight segments: every segment writes two edges and a centre line.
std::string RoadScript(int segments) {
    std::string s = "KyDrawRoad\n0,0\n";
    for (int i = 1; i <= segments; ++i)
        s += std::to_string(i * 10000) + "," + std::to_string((i % 2) * 10000) + "\n";
    return s + "\n\n";
}

void BM_RoadFromScript(benchmark::State& state) {
    const int segments = static_cast<int>(state.range(0));
    const std::string script = RoadScript(segments);
    for (auto _ : state) {
        auto db = std::make_unique<AcDbDatabase>(true);
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        vorn::ed::ResetEditor();
        vorn::ed::SetTranscriptSink([](const std::string&) {});
        vorn::ed::SetLineSource(vorn::ed::ScriptTextSource(script), true);
        VornFrameAttach(vorn::mfc::RegisterResourceModule(L"VornGeneralDrawing"),
                        L"VornGeneralDrawing.arx");
        VornFrameEntryPoint(AcRx::kInitAppMsg, &g_appId);
        vorn::ed::RunCommandLoop();
        VornFrameEntryPoint(AcRx::kUnloadAppMsg, &g_appId);
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    vorn::ed::SetTranscriptSink(nullptr);
    state.counters["per_segment"] = benchmark::Counter(
        static_cast<double>(state.iterations() * segments),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RoadFromScript)->Arg(1000)->Unit(benchmark::kMillisecond);

// Collects nothing: only the cost of making the preview's pieces.
class NullStream : public KyGiStream {
protected:
    void Put(AcDbEntity* entity) override { delete entity; }
};

void BM_RoadJigUpdateWithPreview(benchmark::State& state) {
    KyRoadJig jig(nullptr);
    jig.SetFirstPoint(AcGePoint3d(0, 0, 0));
    KyDbRoad& road = const_cast<KyDbRoad&>(*jig.Road());
    road.m_nMode = static_cast<int>(state.range(0));
    road.m_ptThird = AcGePoint3d(5000, 3000, 0);  // the arc's middle point (mode 1)
    double y = 0;
    for (auto _ : state) {
        y += 1e-3;
        jig.SetSecondPoint(AcGePoint3d(10000, y, 0));
        jig.update();
        NullStream stream;
        road.Explode(stream);
    }
    state.counters["per_update"] = benchmark::Counter(
        static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RoadJigUpdateWithPreview)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
