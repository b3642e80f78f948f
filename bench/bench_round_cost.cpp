// The cost of one search round, against its floor: the buy-page search for a profit of
// 20,000,000 from 1 yen × 1 share with the tick check off (sample table, cash, taxes 5/5/7/3),
// once through CalcState walking round by round and once as a plain loop written here that does
// the same arithmetic on bare 64-bit integers, no calls, no overflow checks. Both report
// `ns_per_round`; their ratio is the price of the calculation's structure.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/CalcState.h"

namespace {

using i64 = std::int64_t;

constexpr i64 kS = 10000;  // scale of a Yen
constexpr i64 kHundred = 100 * kS;

// The tightest honest loop: every value of this search fits 64 bits (prices below 2.3e7 yen
// for one share, amounts, commissions and rates far below 2^63 / 10^4 when scaled), so no
// product needs 128 bits and nothing checks for overflow.
i64 Mul(i64 a, i64 b) { return a * b / kS; }
i64 Div(i64 a, i64 b) { return a * kS / b; }
i64 Whole(i64 v) { return v / kS * kS; }
i64 HalfUpHundredths(i64 v) { return (v < 0 ? v - 50 : v + 50) / 100 * 100; }
bool AtLimit(i64 price, i64 shares) { return price * shares >= 10'000'000'000LL * kS * kS; }

// The sample table's one bracket and the default taxes, as plain numbers.
struct Plain {
    i64 low = 0, high = 30'000'000 * kS, rate = 0, addition = 1'500 * kS, discount = 0;
    i64 minimum = 0, maximum = 0;
    i64 consumption = 5 * kS, profitRate = 10 * kS;  // 7 % + 3 %
    i64 shares = 1 * kS;
    i64 paid = 0;
    i64 rounds = 0;

    i64 Tick(i64) const { return kS; }  // the tick check is off
    i64 Floor(i64 p, i64 t) const { return Whole(Mul(Whole(Div(p, t)), t)); }

    // Contract amount plus or minus commission and its tax; -1 when the amount has no bracket.
    bool Leg(i64 p, bool buying, i64* total) const {
        const i64 amount = Mul(p, shares);
        if (!(low < amount && amount <= high)) return false;
        const i64 sum = Whole(Div(Mul(amount, rate), kHundred)) + addition;
        i64 fee = Whole(Div(Mul(sum, kHundred - discount), kHundred));
        if (fee < minimum) fee = minimum;
        if (maximum != 0 && fee > maximum) fee = maximum;
        const i64 tax = Whole(Div(Mul(fee, consumption), kHundred));
        *total = buying ? amount + fee + tax : amount - (fee + tax);
        return true;
    }
    // Final profit and profit rate of a sale at p (no expenses, no gain this year).
    bool Profit(i64 p, i64* final, i64* rate) const {
        i64 received;
        if (!Leg(p, false, &received)) return false;
        const i64 net = received - paid;
        const i64 tax = net > 0 ? Whole(Div(Mul(net, profitRate), kHundred)) : 0;
        *final = net - tax;
        *rate = HalfUpHundredths(Div(Mul(*final, kHundred), paid));
        return true;
    }

    // The whole press: buy leg, its break-even, the search and the final sale's break-even.
    i64 SellPriceForProfit(i64 buyPrice, i64 target) {
        if (!Leg(buyPrice, true, &paid)) return -1;
        i64 g = Whole(Div(paid, shares));
        for (i64 received = 0;;) {  // buy break-even
            ++rounds;
            g = Floor(g, Tick(g)) + Tick(g);
            if (AtLimit(g, shares) || !Leg(g, false, &received)) return -1;
            if (received > paid) break;
        }
        const i64 goal = Whole(Div(Mul(target, kHundred), paid));
        i64 p = g, final = 0, rate = 0;
        for (;;) {
            ++rounds;
            if (AtLimit(p, shares) || !Profit(p, &final, &rate)) return -1;
            if (final >= target) break;
            if (goal - rate >= 50 * kS) {
                const i64 q = Floor(p + 50 * kS, Tick(p)) + Tick(p);
                if (AtLimit(q, shares) || !Profit(q, &final, &rate)) return -1;
                if (rate < goal) {
                    p = q;
                    continue;
                }
            }
            p = Floor(p, Tick(p)) + Tick(p);
        }
        i64 received;
        if (!Leg(p, false, &received)) return -1;
        const i64 q = Whole(Div(received, shares));
        i64 c = q >= p ? Floor(q, Tick(q)) : p;
        for (i64 cost = 0;; c = Floor(c, Tick(c)) - Tick(c)) {  // sell break-even
            ++rounds;
            if (c <= 0) break;
            if (AtLimit(c, shares) || !Leg(c, true, &cost)) return -1;
            if (cost < received) break;
        }
        return p;
    }
};

void SetCounters(benchmark::State& state, i64 rounds) {
    state.counters["rounds_per_call"] = benchmark::Counter(static_cast<double>(rounds), benchmark::Counter::kAvgIterations);
    state.counters["ns_per_round"] = benchmark::Counter(static_cast<double>(rounds) * 1e-9,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

constexpr i64 kAnswer = 22'225'373;

void BM_RoundCost_PlainLoop(benchmark::State& state) {
    i64 rounds = 0;
    i64 answer = 0;
    for (auto _ : state) {
        Plain plain;
        benchmark::DoNotOptimize(plain);
        answer = plain.SellPriceForProfit(1 * kS, 20'000'000 * kS);
        rounds += plain.rounds;
    }
    if (answer != kAnswer * kS) state.SkipWithError("the plain loop found another price");
    SetCounters(state, rounds);
}
BENCHMARK(BM_RoundCost_PlainLoop)->Unit(benchmark::kMillisecond);

// `checked` keeps every overflow check, as rounds past the price a walk has shown safe run.
void RoundByRound(benchmark::State& state, bool checked) {
    zavota::CalcState calc;
    calc.walk = zavota::Walk::RoundByRound;
    calc.uncheckedRounds = !checked;
    calc.SetTickCheck(false);
    const zavota::MarginTable& table = calc.tables.Slot(0);
    i64 rounds = 0;
    for (auto _ : state) {
        calc.Reset();
        calc.SelectExpenses(true);
        calc.buy = {zavota::Yen::FromInt(1), zavota::Yen::FromInt(1), false, {}};
        calc.targetProfit = zavota::Yen::FromInt(20'000'000);
        const i64 r0 = calc.Rounds();
        benchmark::DoNotOptimize(calc.SellPriceForProfit(table, table));
        rounds += calc.Rounds() - r0;
    }
    if (calc.result.sellPrice != zavota::Yen::FromInt(kAnswer)) state.SkipWithError("the search found another price");
    SetCounters(state, rounds);
}
void BM_RoundCost_RoundByRound(benchmark::State& state) { RoundByRound(state, false); }
BENCHMARK(BM_RoundCost_RoundByRound)->Unit(benchmark::kMillisecond);
void BM_RoundCost_RoundByRoundChecked(benchmark::State& state) { RoundByRound(state, true); }
BENCHMARK(BM_RoundCost_RoundByRoundChecked)->Unit(benchmark::kMillisecond);

}  // namespace
