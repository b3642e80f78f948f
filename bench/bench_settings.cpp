// The settings store at its largest: fifteen commission tables of 80 brackets on each side.
// LoadAll runs once at start-up; SaveCommissionTables whenever a table is registered, moved
// or deleted.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "alloc_counter.h"
#include "bench_folder.h"
#include "core/CalcState.h"
#include "full_table.h"
#include "platform/FileIo.h"
#include "platform/RegistryHive.h"
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

// A hive of one key nested `levels` deep (94 KB at 15,000 levels), as a hostile file could hold
// it: keys deeper than 512 levels are refused, and the parse stays linear in the file's size.
void BM_ParseDeepKey(benchmark::State& state) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER";
    for (std::int64_t i = 0; i < state.range(0); ++i) text += "\\k" + std::to_string(i % 1000);
    text += "]\r\n\"V\"=dword:00000001\r\n";
    zavota::platform::RegistryHive hive("unused.reg");
    const std::int64_t before = zavota_bench::Allocations();
    for (auto _ : state) benchmark::DoNotOptimize(hive.Parse(text));
    state.counters["hive_bytes"] = static_cast<double>(text.size());
    state.counters["allocs_per_parse"] =
        static_cast<double>(zavota_bench::Allocations() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ParseDeepKey)->Arg(512)->Arg(5000)->Arg(15000)->Unit(benchmark::kMillisecond);

}  // namespace
