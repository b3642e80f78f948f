// The settings store at its largest: fifteen commission tables of 80 brackets on each side.
// LoadAll runs once at start-up; SaveCommissionTables whenever a table is registered, moved
// or deleted.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_folder.h"
#include "core/CalcState.h"
#include "full_table.h"
#include "platform/FileIo.h"
#include "settings/SettingsStore.h"

namespace {

using zavota::CalcState;
using zavota::ProgramSettings;
using zavota::SettingsStore;

// A hive holding fifteen full tables with separate sides, written by the store itself.
struct FullHive {
    zavota_bench::BenchFolder folder;
    CalcState calc;
    ProgramSettings program;
    SettingsStore store{zavota::BindSettings(program, calc), folder.Path() + "Vekkar.reg"};

    FullHive() {
        for (int n = 0; n < zavota::kMaxTables; ++n) {
            zavota::MarginTable t = zavota_bench::FullTable(false);
            t.inUse = true;
            t.Same = 1;
            t.ElementsU = zavota::kMaxBrackets;
            t.bracketsU = t.bracketsK;
            t.Name = "全80段テーブル" + std::to_string(n + 1);
            calc.tables.Slot(n) = t;
        }
        if (!store.SaveCommissionTables() || !store.SaveAtExit() || !store.SaveColours()) std::abort();
    }
};

void BM_LoadAllFullHive(benchmark::State& state) {
    FullHive hive;
    for (auto _ : state) {
        hive.store.LoadAll();
        benchmark::DoNotOptimize(hive.calc.tables.Slot(14).bracketsU[79]);
    }
    if (hive.calc.tables.UsedCount() != zavota::kMaxTables) state.SkipWithError("the full hive did not load");
    state.counters["hive_bytes"] =
        static_cast<double>(zavota::platform::ReadFileBytes(hive.store.HivePath()).bytes.size());
}
BENCHMARK(BM_LoadAllFullHive)->Unit(benchmark::kMillisecond);

void BM_SaveCommissionTablesFullSet(benchmark::State& state) {
    FullHive hive;
    for (auto _ : state)
        if (!hive.store.SaveCommissionTables()) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveCommissionTablesFullSet)->Unit(benchmark::kMillisecond);

}  // namespace
