// Saving and loading a drawing of 100,000 entities (lines, arcs, polylines, texts) through a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/db/db.h"
#include "host/dxf/dxf.h"

namespace {

constexpr int kEntities = 100000;

std::unique_ptr<AcDbDatabase> MakeDrawing() {
    auto db = std::make_unique<AcDbDatabase>(true);
    AcDbObjectId layer;
    db->ensureLayer(L"道路", layer);
    AcDbBlockTableRecord* ms = nullptr;
    acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForWrite);
    for (int i = 0; i < kEntities; ++i) {
        const double x = (i % 400) * 25.0, y = (i / 400) * 25.0;
        AcDbEntity* e = nullptr;
        switch (i % 4) {
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
            default: e = new AcDbText({x, y, 0}, L"乔木 T", AcDbObjectId(), 2.5); break;
        }
        if (i % 8 == 0) e->setLayer(layer);
        AcDbObjectId id;
        ms->appendAcDbEntity(id, e);
        e->close();
    }
    ms->close();
    return db;
}

std::string BenchFile() { return std::string(VORN_BINARY_DIR) + "/host_dxf_bench.dxf"; }

void BM_WriteDxf(benchmark::State& state) {
    std::unique_ptr<AcDbDatabase> db = MakeDrawing();
    std::string error;
    for (auto _ : state)
        if (vorn::dxf::WriteDxf(*db, BenchFile(), error) != Acad::eOk) state.SkipWithError(error.c_str());
    state.counters["entities/s"] = benchmark::Counter(double(kEntities) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["MB"] = double(std::filesystem::file_size(BenchFile())) / 1e6;
}
BENCHMARK(BM_WriteDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadDxf(benchmark::State& state) {
    std::string error;
    if (vorn::dxf::WriteDxf(*MakeDrawing(), BenchFile(), error) != Acad::eOk) state.SkipWithError(error.c_str());
    for (auto _ : state) {
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(BenchFile(), error);
        if (!db || db->modelSpaceIds().length() != kEntities) state.SkipWithError(error.c_str());
    }
    state.counters["entities/s"] = benchmark::Counter(double(kEntities) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadDxf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
