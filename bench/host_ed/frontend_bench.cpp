// The whole front end per command: a script of LINE-like commands parsed, prompted, echoed
// into the transcript and answered, each drawing its segment.
#include <benchmark/benchmark.h>

#include <string>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/frontends.h"
#include "bench/host_ed/benchdrawing.h"

namespace {

// Two points and Enter, as LINE asks them; the segment goes into the drawing.
void BenchLine() {
    ads_point a, b;
    if (acedGetPoint(nullptr, L"\nSpecify first point: ", a) != RTNORM) return;
    for (;;) {
        acedInitGet(0, L"Undo Close");
        if (acedGetPoint(a, L"\nSpecify next point or [Undo(U)/Close(C)]: ", b) != RTNORM) return;
        vorn::bench::AddSegment(a, b);
        a[0] = b[0], a[1] = b[1], a[2] = b[2];
    }
}

std::string Script(int commands) {
    std::string s;
    for (int i = 0; i < commands; ++i) {
        const std::string y = std::to_string(i * 10);
        s += "BLINE\n0," + y + "\n@1000,0\n\n";
    }
    return s;
}

void BM_ScriptOfLineCommands(benchmark::State& state) {
    vorn::ed::AddCommand(L"BENCH", L"BLINE", L"BLINE", 0, BenchLine);
    const int commands = static_cast<int>(state.range(0));
    const std::string script = Script(commands);
    std::size_t bytes = 0;
    for (auto _ : state) {
        vorn::bench::NewDrawing();
        vorn::ed::ResetEditor();
        vorn::ed::SetTranscriptSink([&bytes](const std::string& t) { bytes += t.size(); });
        vorn::ed::SetLineSource(vorn::ed::ScriptTextSource(script), true);
        vorn::ed::RunCommandLoop();
    }
    vorn::ed::SetTranscriptSink(nullptr);
    vorn::ed::RemoveGroup(L"BENCH");
    state.SetItemsProcessed(state.iterations() * commands);
    state.counters["per_command"] = benchmark::Counter(
        static_cast<double>(state.iterations() * commands),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["transcript_bytes"] = static_cast<double>(bytes) / state.iterations();
}
BENCHMARK(BM_ScriptOfLineCommands)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
