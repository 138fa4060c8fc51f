// Time per cursor move of the legend drag: the update lays out 40 rows and the preview
// measures and draws each row's symbol (target: well under 16 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "framework/core/KyGiStream.h"
#include "host/db/dbblockref.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbsymtb.h"
#include "legend/legenddlg.h"
#include "legend/legendjig.h"
#include "legend/legendlibrary.h"

namespace {

class NullStream : public KyGiStream {
protected:
    void Put(AcDbEntity* entity) override { delete entity; }
};

AcDbObjectId MakeBlock(AcDbDatabase& db, int n) {
    AcDbBlockTable* bt = nullptr;
    db.getBlockTable(bt, AcDb::kForWrite);
    auto* block = new AcDbBlockTableRecord();
    block->setName((L"SYM" + std::to_wstring(n)).c_str());
    AcDbObjectId id;
    bt->add(id, block);
    bt->close();
    for (int i = 0; i < 20; ++i) {  // a symbol of a few dozen strokes
        auto* line = new AcDbLine({double(i), 0, 0}, {double(i) + 3, 2.0 + n % 5, 0});
        block->appendAcDbEntity(line);
        line->close();
    }
    block->close();
    return id;
}

void BM_LegendJigUpdate(benchmark::State& state) {
    AcDbDatabase db(true);
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    g_legendNames.clear();
    g_legendBlockIds.setLogicalLength(0);
    for (int i = 0; i < state.range(0); ++i) {
        g_legendBlockIds.append(MakeBlock(db, i));
        g_legendNames.push_back(L"图例" + std::to_wstring(i));
    }
    KyLegendDlg dialog(nullptr);  // no window: the lists alone drive the drag
    KyDbMapLegendJig jig(&dialog);
    double x = 0;
    for (auto _ : state) {
        x += 1e-2;
        jig.SetCurrentPoint(AcGePoint3d(x, 0, 0));
        jig.update();
        NullStream stream;
        jig.Legend()->Explode(stream);
    }
    state.counters["per_update"] = benchmark::Counter(
        static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    g_legendNames.clear();
    g_legendBlockIds.setLogicalLength(0);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
BENCHMARK(BM_LegendJigUpdate)->Arg(40)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
