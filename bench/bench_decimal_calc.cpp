// The fixed-point operations one at a time. The operands come from a table filled at run time
// and the index moves every iteration, so nothing can be folded or hoisted out of the loop.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "core/DecimalCalc.h"

namespace {

using zavota::DecimalCalc;
using zavota::RoundMode;
using zavota::Yen;

constexpr std::size_t kOperands = 1024;  // a power of two: the index wraps with a mask

struct Operands {
    std::array<Yen, kOperands> a, b;
};

std::uint64_t Next(std::uint64_t& seed) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return seed >> 11;
}

// Scaled values in [1, aMax) and [1, bMax). "Narrow" keeps every product and quotient in the
// 64-bit path of Op; "wide" forces the 128-bit fallback.
Operands MakeOperands(std::int64_t aMax, std::int64_t bMax, std::uint64_t seed) {
    Operands o;
    for (std::size_t i = 0; i < kOperands; ++i) {
        o.a[i] = Yen::FromRaw(1 + static_cast<std::int64_t>(Next(seed) % static_cast<std::uint64_t>(aMax - 1)));
        o.b[i] = Yen::FromRaw(1 + static_cast<std::int64_t>(Next(seed) % static_cast<std::uint64_t>(bMax - 1)));
        if (i % 3 == 0) o.a[i] = Yen::FromRaw(-o.a[i].raw);  // negatives take other rounding branches
    }
    return o;
}

// Up to 10,000,000 yen by up to 1,000 (shares, rates): the products the searches form.
const Operands& Narrow() {
    static const Operands o = MakeOperands(100'000'000'000LL, 10'000'000LL, 1);
    return o;
}
// Mul: up to 100,000,000 by up to 100,000, beyond 64 bits once scaled twice.
// Div: dividends of 10^11 yen and more, which overflow when scaled.
const Operands& WideMul() {
    static const Operands o = MakeOperands(1'000'000'000'000LL, 1'000'000'000LL, 2);
    return o;
}
const Operands& WideDiv() {
    static const Operands o = MakeOperands(1'000'000'000'000'000'000LL, 1'000'000'000LL, 3);
    return o;
}

template <Yen (*Op)(Yen, Yen, int, RoundMode)>
void RunBinary(benchmark::State& state, const Operands& o, int digits, RoundMode mode) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Op(o.a[i], o.b[i], digits, mode));
        i = (i + 1) & (kOperands - 1);
    }
    state.SetItemsProcessed(state.iterations());
}

// Arguments: rounding mode (0 none .. 3 up), wide operands (0/1). Digits 0 as in the searches.
void BM_Mul(benchmark::State& state) {
    RunBinary<DecimalCalc::Mul>(state, state.range(1) ? WideMul() : Narrow(), 0,
                                static_cast<RoundMode>(state.range(0)));
}
BENCHMARK(BM_Mul)->ArgNames({"mode", "wide"})->ArgsProduct({{0, 1, 2, 3}, {0, 1}});

void BM_Div(benchmark::State& state) {
    RunBinary<DecimalCalc::Div>(state, state.range(1) ? WideDiv() : Narrow(), 0,
                                static_cast<RoundMode>(state.range(0)));
}
BENCHMARK(BM_Div)->ArgNames({"mode", "wide"})->ArgsProduct({{0, 1, 2, 3}, {0, 1}});

// Two decimals, half up: the profit-rate step.
void BM_DivRate(benchmark::State& state) { RunBinary<DecimalCalc::Div>(state, Narrow(), 2, zavota::RoundHalfUp); }
BENCHMARK(BM_DivRate);

void BM_Add(benchmark::State& state) { RunBinary<DecimalCalc::Add>(state, Narrow(), 0, zavota::RoundNone); }
BENCHMARK(BM_Add);

void BM_Sub(benchmark::State& state) { RunBinary<DecimalCalc::Sub>(state, Narrow(), 0, zavota::RoundNone); }
BENCHMARK(BM_Sub);

void BM_Compare(benchmark::State& state) {
    const Operands& o = Narrow();
    std::size_t i = 0;
    for (auto _ : state) {
        // Relations 1 to 6 in turn.
        const auto relation = static_cast<zavota::Relation>(1 + i % 6);
        benchmark::DoNotOptimize(DecimalCalc::Compare(o.a[i], o.b[i], relation));
        i = (i + 1) & (kOperands - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Compare);

// Argument: decimals shown (0 for amounts, 2 for rates, 4 for the full value).
void BM_ToText(benchmark::State& state) {
    const Operands& o = WideMul();
    const int digits = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = DecimalCalc::ToText(o.a[i], digits);
        benchmark::DoNotOptimize(text.data());
        i = (i + 1) & (kOperands - 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToText)->ArgName("digits")->Arg(0)->Arg(2)->Arg(4);

}  // namespace
