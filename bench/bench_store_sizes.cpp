// Stored files far larger than the program writes: a hive of many deletion lines (parsed at
// start-up and under the lock at every save) and a profile section of many keys. Both must
// grow linearly; compare the figures of two sizes.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_folder.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "platform/RegistryHive.h"

namespace {

void BM_HiveWithDeletionLines(benchmark::State& state) {
    const auto lines = static_cast<int>(state.range(0));
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n";
    for (int i = 0; i < lines; ++i) text += "\"v" + std::to_string(i) + "\"=dword:00000001\r\n";
    for (int i = 0; i < lines; ++i) text += "\"v" + std::to_string(i) + "\"=-\r\n";
    zavota::platform::RegistryHive hive("unused.reg");
    for (auto _ : state) benchmark::DoNotOptimize(hive.Parse(text));
    state.SetComplexityN(lines);
}
BENCHMARK(BM_HiveWithDeletionLines)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_ProfileKeysOfALargeSection(benchmark::State& state) {
    const auto keys = static_cast<int>(state.range(0));
    zavota_bench::BenchFolder folder;
    std::string text = "[S]\r\n";
    for (int i = 0; i < keys; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    const std::string path = folder.Path() + "big.ini";
    if (!zavota::platform::ReplaceFileAtomically(path, text)) state.SkipWithError("cannot write");
    zavota::platform::ProfileFile file(path);
    for (auto _ : state) benchmark::DoNotOptimize(file.Keys("S"));
    state.SetComplexityN(keys);
}
BENCHMARK(BM_ProfileKeysOfALargeSection)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

// The shape of a page index rewritten at once: one small section per page.
void BM_ProfileBatchOfManySections(benchmark::State& state) {
    const auto sections = static_cast<int>(state.range(0));
    zavota_bench::BenchFolder folder;
    std::vector<zavota::platform::ProfileEntry> entries;
    for (int i = 0; i < sections; ++i) entries.push_back({"ページ" + std::to_string(i), "FileNo", std::to_string(i + 1)});
    for (auto _ : state) {
        zavota::platform::ProfileFile file(folder.Path() + "index.ini");
        if (!file.WriteBatch(entries)) state.SkipWithError("cannot write");
    }
    state.SetComplexityN(sections);
}
BENCHMARK(BM_ProfileBatchOfManySections)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
