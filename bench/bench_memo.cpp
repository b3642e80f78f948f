// The memo pad's file work: saving a full per-stock page (101 single-value writes, each on disk
// before it returns, as the memo pad makes them) and the totals of a full page, which the
// summary tab computes once per page.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "memo/MemoStore.h"
#include "platform/NamedMutex.h"
#include "bench_folder.h"

namespace {

using zavota::MemoFileKind;
using zavota::MemoStore;

// Every cell filled and every row ticked, as the largest page the memo pad saves.
bool SaveFullPage(MemoStore& store) {
    if (!store.open("M_1.ini", MemoFileKind::Ini, false)) return false;
    bool ok = store.writeCell(zavota::kCellPageName, 0, "トヨタ自動車");
    for (int r = 1; r <= zavota::kMemoRows; ++r) ok = store.writeCell(zavota::kCellSelected, r, "*") && ok;
    for (int r = 1; r <= zavota::kMemoRows; ++r)
        ok = store.writeCell(zavota::kCellComment, r, "2024/01/" + std::to_string(r)) && ok;
    for (int r = 1; r <= zavota::kMemoRows; ++r)
        ok = store.writeCell(zavota::kCellPrice, r, std::to_string(1000 + r * 13) + ".5") && ok;
    for (int r = 1; r <= zavota::kMemoRows; ++r)
        ok = store.writeCell(zavota::kCellShares, r, "1," + std::to_string(100 + r) + "00") && ok;
    return store.close() && ok;
}

void BM_MemoSaveFullPage(benchmark::State& state) {
    zavota_bench::BenchFolder folder;
    zavota::platform::NamedMutex mutex("VekkarMutex", folder.Path());
    MemoStore store(folder.Path(), mutex);
    for (auto _ : state) {
        if (!SaveFullPage(store)) state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations());  // pages
}
BENCHMARK(BM_MemoSaveFullPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemoPageTotals(benchmark::State& state) {
    zavota_bench::BenchFolder folder;
    zavota::platform::NamedMutex mutex("VekkarMutex", folder.Path());
    MemoStore store(folder.Path(), mutex);
    if (!SaveFullPage(store)) state.SkipWithError("save failed");
    for (auto _ : state) {
        const zavota::PageTotals totals = store.pageTotals(1);
        if (totals.status != zavota::kTotalsDone) state.SkipWithError("totals failed");
        benchmark::DoNotOptimize(totals);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MemoPageTotals)->Unit(benchmark::kMicrosecond);

}  // namespace
