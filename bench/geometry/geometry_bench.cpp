// Intersections and offsets per second on seeded random curves of a site plan's size.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "geometry/KyGeometry.h"

namespace {

constexpr int kCount = 256;

KyGePoint RandomPoint(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-5000.0, 5000.0);
    return KyGePoint(1e7 + u(rng), 1e7 + u(rng));
}

std::vector<std::unique_ptr<KyGeCurve2d>> Curves(bool arcs, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> r(100.0, 4000.0), a(0.0, 6.28);
    std::vector<std::unique_ptr<KyGeCurve2d>> out;
    while (static_cast<int>(out.size()) < kCount) {
        if (arcs) {
            if (auto arc = KyGeArc2d::Create(RandomPoint(rng), r(rng), a(rng), a(rng), a(rng) < 3.14)) out.push_back(std::move(arc));
        } else {
            out.push_back(std::make_unique<KyGeLineSeg2d>(RandomPoint(rng), RandomPoint(rng)));
        }
    }
    return out;
}

void Intersect(benchmark::State& state, bool arcsA, bool arcsB) {
    const auto a = Curves(arcsA, 1), b = Curves(arcsB, 2);
    size_t i = 0, points = 0;
    for (auto _ : state) {
        KyGeObjList list;
        a[i % kCount]->IntersectWith(*b[(i * 7 + 3) % kCount], list);
        points += static_cast<size_t>(list.GetLength());
        ++i;
    }
    benchmark::DoNotOptimize(points);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_SegmentSegment(benchmark::State& state) { Intersect(state, false, false); }
void BM_SegmentArc(benchmark::State& state) { Intersect(state, false, true); }
void BM_ArcArc(benchmark::State& state) { Intersect(state, true, true); }

void Offset(benchmark::State& state, bool arcs) {
    const auto a = Curves(arcs, 3);
    size_t i = 0;
    for (auto _ : state) {
        auto off = a[i % kCount]->GetOffsetCurve(i % 2 ? 3500.0 : -3500.0);
        benchmark::DoNotOptimize(off);
        ++i;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_OffsetSegment(benchmark::State& state) { Offset(state, false); }
void BM_OffsetArc(benchmark::State& state) { Offset(state, true); }

}  // namespace

BENCHMARK(BM_SegmentSegment);
BENCHMARK(BM_SegmentArc);
BENCHMARK(BM_ArcArc);
BENCHMARK(BM_OffsetSegment);
BENCHMARK(BM_OffsetArc);
BENCHMARK_MAIN();
