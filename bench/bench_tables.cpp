// Commission lookups on a full table and tick lookups on the listed tick table.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/MarginTable.h"
#include "core/UnitTable.h"
#include "full_table.h"

namespace {

using zavota::MarginTable;
using zavota::Side;
using zavota::Yen;

using zavota_bench::kBracketWidth;

const MarginTable& FullTable() {
    static const MarginTable table = zavota_bench::FullTable(false);
    return table;
}

// 64 amounts spread over one bracket, with odd decimals.
std::array<Yen, 64> AmountsIn(int bracket) {
    std::array<Yen, 64> amounts{};
    const std::int64_t low = bracket * kBracketWidth * Yen::kScale;
    const std::int64_t width = kBracketWidth * Yen::kScale;
    for (std::size_t i = 0; i < amounts.size(); ++i)
        amounts[i] = Yen::FromRaw(low + 1 + static_cast<std::int64_t>(i) * (width / 64) + 37);
    return amounts;
}

// Argument: the bracket the amounts fall in; the last one is the longest scan.
void BM_Commission(benchmark::State& state) {
    const MarginTable& table = FullTable();
    const auto amounts = AmountsIn(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Commission(i & 1 ? Side::Sell : Side::Buy, amounts[i]));
        i = (i + 1) & (amounts.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Commission)->ArgName("bracket")->Arg(0)->Arg(40)->Arg(zavota::kMaxBrackets - 1);

// The order commission in the last bracket, whole-unit and mini-stock (proration) orders.
void BM_OrderCommission(benchmark::State& state) {
    const MarginTable& table = FullTable();
    const bool mini = state.range(0) != 0;
    // 79,000,000 to 80,000,000 yen: 1,000 shares (or a unit of 1,000 for the mini order).
    std::array<Yen, 64> prices{};
    for (std::size_t i = 0; i < prices.size(); ++i)
        prices[i] = Yen::FromInt(79'001 + static_cast<std::int64_t>(i) * 15);
    const Yen shares = mini ? Yen::FromInt(300) : Yen::FromInt(1'000);
    const Yen unit = Yen::FromInt(1'000);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zavota::OrderCommission(table, Side::Buy, prices[i], shares, mini, unit));
        i = (i + 1) & (prices.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OrderCommission)->ArgName("mini")->Arg(0)->Arg(1);

// Prices in every band of the listed table, band boundaries included.
std::vector<Yen> PricesAcrossBands(const zavota::UnitTable& ticks) {
    std::vector<Yen> prices;
    for (int r = 0; r < ticks.Elements; ++r) {
        const std::int64_t low = ticks.rows[r].low.Whole();
        const std::int64_t high = ticks.rows[r].high.Whole();
        for (int k = 1; k <= 7; ++k) prices.push_back(Yen::FromInt(low + (high - low) * k / 8 + 3));
        prices.push_back(Yen::FromInt(high));
    }
    return prices;
}

// Argument: 1 upward (a price that moves or rounds up), 0 downward.
void BM_Tick(benchmark::State& state) {
    const zavota::UnitTable ticks(static_cast<int>(zavota::TickTableIndex::Listed));
    const std::vector<Yen> prices = PricesAcrossBands(ticks);
    const bool upward = state.range(0) != 0;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ticks.Tick(prices[i], upward));
        if (++i == prices.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Tick)->ArgName("upward")->Arg(1)->Arg(0);

}  // namespace
