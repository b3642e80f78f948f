// Whole presses of the "実　行" button and the slowest searches. Searches report rounds per
// second (CalcState::Rounds deltas) and the heap allocations made per round, which must be 0.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "alloc_counter.h"
#include "core/CalcState.h"
#include "core/DecimalCalc.h"
#include "core/MarginTable.h"
#include "core/PageLogic.h"
#include "full_table.h"

namespace {

using zavota::CalcState;
using zavota::MarginTable;
using zavota::Page;
using zavota::PageInput;
using zavota::PageOutcome;
using zavota::PageStatus;
using zavota::Yen;

std::string Figure(Yen v, int digits = 0) { return zavota::DecimalCalc::ToText(v, digits); }

void ReportRounds(benchmark::State& state, std::int64_t rounds) {
    state.counters["rounds"] = benchmark::Counter(static_cast<double>(rounds), benchmark::Counter::kIsRate);
    state.counters["rounds_per_call"] =
        benchmark::Counter(static_cast<double>(rounds), benchmark::Counter::kAvgIterations);
}

// ---- whole presses through the page logic

PageInput BuyPage(const char* price, const char* shares) {
    PageInput in;
    in.page = Page::Buy;
    in.price = price;
    in.shares = shares;
    in.taxKindIndex = 0;  // 現物
    return in;
}

// The figures are checked once before timing so that a wrong set-up cannot be measured as fast.
void RunPress(benchmark::State& state, CalcState& calc, const PageInput& in, bool (*expected)(const CalcState&)) {
    const PageOutcome first = zavota::RunPage(calc, in);
    if (first.status != PageStatus::Ready || !expected(calc)) {
        state.SkipWithError("the press did not give the expected figures");
        return;
    }
    std::int64_t rounds = 0;
    std::int64_t allocations = 0;
    for (auto _ : state) {
        const std::int64_t r0 = calc.Rounds();
        const std::int64_t a0 = zavota_bench::Allocations();
        PageOutcome out = zavota::RunPage(calc, in);
        allocations += zavota_bench::Allocations() - a0;
        rounds += calc.Rounds() - r0;
        benchmark::DoNotOptimize(out);
    }
    ReportRounds(state, rounds);
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs_per_press"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

// 1,000 yen x 1,000 shares sold at 1,100: both legs, both break-evens and the profit.
void BM_PressBuySellAt(benchmark::State& state) {
    CalcState calc;
    PageInput in = BuyPage("1000", "1000");
    in.questions[0] = "1100";
    RunPress(state, calc, in, [](const CalcState& c) {
        return c.result.buyBreakEven == Yen::FromInt(1'004) && c.result.finalProfit == Yen::FromInt(87'165);
    });
}
BENCHMARK(BM_PressBuySellAt)->Unit(benchmark::kMicrosecond);

// The same purchase without a question: the buy leg and its break-even only.
void BM_PressBuyOnly(benchmark::State& state) {
    CalcState calc;
    RunPress(state, calc, BuyPage("1000", "1000"),
             [](const CalcState& c) { return c.result.buyBreakEven == Yen::FromInt(1'004); });
}
BENCHMARK(BM_PressBuyOnly)->Unit(benchmark::kMicrosecond);

// ---- the searches, called directly so that the allocation count covers the search alone

enum class Search { SellForProfit, SellForRate, BuyForGain, BuyForRate };
enum class Table { Sample = 0, Unbounded = 1, Full = 2 };  // the table slot a case uses

struct SearchCase {
    Search search;
    std::int64_t price, shares;
    Yen target;  // yen for the profit and gain searches, percent for the rate searches
    bool tickCheck;
    int tradeKind;
    Table table;
};

bool OnBuyPage(Search s) { return s == Search::SellForProfit || s == Search::SellForRate; }

// The state as a press of the page leaves it just before the search: reset, expenses chosen,
// both legs' inputs and the target in place.
void Prepare(CalcState& calc, const SearchCase& c) {
    const bool buyPage = OnBuyPage(c.search);
    calc.Reset();
    calc.SelectExpenses(buyPage);
    const Yen price = Yen::FromInt(c.price);
    const Yen shares = Yen::FromInt(c.shares);
    calc.buy = {buyPage ? price : Yen{}, shares, false, {}};
    calc.sell = {buyPage ? Yen{} : price, shares, false, {}};
    if (c.search == Search::SellForRate || c.search == Search::BuyForRate)
        calc.targetRate = c.target;
    else
        calc.targetProfit = c.target;
}

int RunSearch(CalcState& calc, const SearchCase& c, const MarginTable& table) {
    switch (c.search) {
        case Search::SellForProfit: return calc.SellPriceForProfit(table, table);
        case Search::SellForRate: return calc.SellPriceForRate(table, table);
        case Search::BuyForGain: return calc.BuyPriceForGain(table, table);
        case Search::BuyForRate: return calc.BuyPriceForRate(table, table);
    }
    return -1;
}

void BM_Search(benchmark::State& state, SearchCase c) {
    CalcState calc;
    calc.SetTickCheck(c.tickCheck);
    calc.TradeKind = c.tradeKind;
    calc.buyPageFlag = OnBuyPage(c.search);
    // The sample's single flat bracket stops at 30,000,000 yen; the unbounded copy lets a
    // search climb until the price itself gives out.
    calc.tables.Slot(1) = calc.tables.Slot(0);
    for (auto* b : {&calc.tables.Slot(1).bracketsK[0], &calc.tables.Slot(1).bracketsU[0]})
        b->high = Yen::FromInt(9'999'999'999LL);
    calc.tables.Slot(2) = zavota_bench::FullTable(true);
    const MarginTable& table = calc.tables.Slot(static_cast<int>(c.table));

    int code = 0;
    std::int64_t rounds = 0;
    std::int64_t allocations = 0;
    for (auto _ : state) {
        Prepare(calc, c);
        const std::int64_t r0 = calc.Rounds();
        const std::int64_t a0 = zavota_bench::Allocations();
        code = RunSearch(calc, c, table);
        allocations += zavota_bench::Allocations() - a0;
        rounds += calc.Rounds() - r0;
        benchmark::DoNotOptimize(calc.result);
    }
    ReportRounds(state, rounds);
    state.counters["allocs_per_round"] = rounds > 0 ? static_cast<double>(allocations) / rounds : 0.0;

    const Yen answer = OnBuyPage(c.search) ? calc.result.sellPrice : calc.buy.price;
    state.SetLabel(code != zavota::CalcOk ? "error " + std::to_string(code) : "price " + Figure(answer));
}

constexpr Yen kMaxTarget = Yen::FromInt(99'999'999);
constexpr Yen kMaxRate = Yen::FromRaw(9'999'999'900);  // 999,999.99 %
constexpr int kCash = zavota::TradeCash;
constexpr int kMargin = zavota::TradeMargin;

// Buy page, 1 yen x 1 share, target profit 20,000,000, tick check off: the round-cost case of
// bench_round_cost.cpp (438,148 rounds round by round), here on the fast walk.
BENCHMARK_CAPTURE(BM_Search, profit_20000000_1x1_ticks_off,
                  SearchCase{Search::SellForProfit, 1, 1, Yen::FromInt(20'000'000), false, kCash, Table::Sample})
    ->Unit(benchmark::kMillisecond);
// Buy page, 1 yen x 1 share, the largest target profit. With the tick rule on, big steps cross
// the coarse upper bands quickly; off, every step is 51 yen at most.
BENCHMARK_CAPTURE(BM_Search, profit_1x1_ticks_on,
                  SearchCase{Search::SellForProfit, 1, 1, kMaxTarget, true, kCash, Table::Sample})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, profit_1x1_ticks_off,
                  SearchCase{Search::SellForProfit, 1, 1, kMaxTarget, false, kCash, Table::Sample})
    ->Unit(benchmark::kMillisecond);
// The same on a table without an amount limit: the search runs on to its answer.
BENCHMARK_CAPTURE(BM_Search, profit_1x1_ticks_off_unbounded,
                  SearchCase{Search::SellForProfit, 1, 1, kMaxTarget, false, kCash, Table::Unbounded})
    ->Unit(benchmark::kMillisecond);
// And on eighty brackets: the climb passes through all of them, so the commission scans
// lengthen as the price rises.
BENCHMARK_CAPTURE(BM_Search, profit_1x1_ticks_off_80_brackets,
                  SearchCase{Search::SellForProfit, 1, 1, kMaxTarget, false, kCash, Table::Full})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, rate_1x1_ticks_off,
                  SearchCase{Search::SellForRate, 1, 1, kMaxRate, false, kCash, Table::Sample})
    ->Unit(benchmark::kMillisecond);

// Sell page, 30,000,000 yen x 1 share on margin (so the gain is taxed), target gain 10,000,000.
// The goal rate works out at 50 %, so the gap falls below the 50 points a big step needs as soon
// as the profit rate shows 0.01 %, a few dozen rounds below the break-even (29,996,849); from
// there the round-by-round walk goes down to the answer (18,885,739) one yen a round, about 11.1
// million rounds. Targets near a third of the proceeds are the slowest; the sample table caps
// the proceeds at 30,000,000.
BENCHMARK_CAPTURE(BM_Search, gain_30000000x1_margin_ticks_off,
                  SearchCase{Search::BuyForGain, 30'000'000, 1, Yen::FromInt(10'000'000), false, kMargin,
                             Table::Sample})
    ->Unit(benchmark::kMillisecond);
// The same walk at the largest price the page accepts, on a table without an amount limit.
BENCHMARK_CAPTURE(BM_Search, gain_99999999x1_margin_ticks_off_unbounded,
                  SearchCase{Search::BuyForGain, 99'999'999, 1, Yen::FromInt(33'400'000), false, kMargin,
                             Table::Unbounded})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, gain_30000000x1_margin_ticks_on,
                  SearchCase{Search::BuyForGain, 30'000'000, 1, Yen::FromInt(10'000'000), true, kMargin,
                             Table::Sample})
    ->Unit(benchmark::kMillisecond);

// The budget case as the user meets it: the whole press, field texts to outcome.
// A sale commission that grows a yen with every yen of amount (rate 100 %, or 50 % at a discount
// of -100 %) and no consumption tax on it: the amount received never moves, and the buy
// break-even of every press, asked nothing, climbs to the amount limit. 1 yen x 1 share, tick
// check off: ten billion rounds round by round.
void BM_BreakEvenEatenAmount(benchmark::State& state, std::int64_t rate, std::int64_t addition, std::int64_t discount) {
    CalcState calc;
    calc.SetTickCheck(false);
    calc.tax.UriS = Yen{};
    MarginTable& table = calc.tables.Slot(0);
    table.bracketsU[0] = {Yen{}, Yen::FromInt(9'999'999'999LL), Yen::FromInt(rate), Yen::FromInt(addition),
                          Yen::FromInt(discount)};
    table.bracketsK[0].high = Yen::FromInt(9'999'999'999LL);
    int code = 0;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        calc.Reset();
        calc.SelectExpenses(true);
        calc.buy = {Yen::FromInt(1), Yen::FromInt(1), false, {}};
        const std::int64_t r0 = calc.Rounds();
        code = calc.CalcBuy(table, table);
        rounds += calc.Rounds() - r0;
    }
    ReportRounds(state, rounds);
    state.SetLabel("error " + std::to_string(code));
}
BENCHMARK_CAPTURE(BM_BreakEvenEatenAmount, rate_100_plus_1500, 100, 1'500, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BreakEvenEatenAmount, rate_100, 100, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BreakEvenEatenAmount, rate_50_discount_minus_100, 50, 0, -100)->Unit(benchmark::kMillisecond);

void BM_PressWorstSearch(benchmark::State& state) {
    CalcState calc;
    calc.SetTickCheck(false);
    PageInput in = BuyPage("1", "1");
    in.questions[2] = "99999999";
    PageOutcome out;
    std::int64_t rounds = 0;
    for (auto _ : state) {
        const std::int64_t r0 = calc.Rounds();
        out = zavota::RunPage(calc, in);
        rounds += calc.Rounds() - r0;
    }
    ReportRounds(state, rounds);
    state.SetLabel(out.status == PageStatus::Ready ? "ready" : "message " + std::to_string(out.message));
}
BENCHMARK(BM_PressWorstSearch)->Unit(benchmark::kMillisecond);

}  // namespace
