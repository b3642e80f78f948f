// One press of either page on a prepared CalcState, with either walk; and the random presses of
// the hunt for slow inputs (bench/hunt), which its slowest finds are replayed from by seed.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <sstream>
#include <string>

#include "YenTesting.h"
#include "core/CalcState.h"

namespace zavota::walkpress {

enum Question { NoQuestion, AtPrice, Width, TargetYen, TargetRate };

struct Case {
    bool buyPage = true;
    Question question = NoQuestion;
    Yen price, shares, value;  // value: the question's price, width, target or rate
};

// Runs one press's calculation as the page does after its checks; returns the code.
inline int Run(CalcState& s, const Case& c) {
    const MarginTable& t1 = *s.tables.Used(0);
    const MarginTable& t2 = s.tables.Used(1) != nullptr ? *s.tables.Used(1) : t1;
    s.Reset();
    s.SelectExpenses(c.buyPage);
    s.buy.shares = s.sell.shares = c.shares;
    (c.buyPage ? s.buy : s.sell).price = c.price;
    s.targetProfit = c.value;
    s.targetRate = c.value;
    int e = 0;
    if (c.buyPage) {
        switch (c.question) {
            case NoQuestion: return s.CalcBuy(t1, t2);
            case AtPrice:
            case Width:
                if ((e = s.CalcBuy(t1, t2)) != 0) return e;
                s.sell.price = c.question == AtPrice ? c.value : Yen{s.buy.price.raw + c.value.raw};
                if ((e = s.CalcSell(t2, t1)) == 0) s.Profit();
                return e;
            case TargetYen: return s.SellPriceForProfit(t1, t2);
            case TargetRate: return s.SellPriceForRate(t1, t2);
        }
    }
    switch (c.question) {
        case NoQuestion: return s.CalcSell(t1, t2);
        case AtPrice:
        case Width:
            s.buy.price = c.question == AtPrice ? c.value : Yen{c.price.raw - c.value.raw};
            if ((e = s.CalcBuy(t2, t1)) != 0) return e;
            if ((e = s.CalcSell(t1, t2)) == 0) s.Profit();
            return e;
        case TargetYen: return s.BuyPriceForGain(t1, t2);
        case TargetRate: return s.BuyPriceForRate(t1, t2);
    }
    return -1;
}

struct Outcome {
    int code = 0;
    std::int64_t work = 0;  // rounds of work, CalcState::Rounds
    CalcState state;
};

inline Outcome RunWith(const CalcState& settings, const Case& c, Walk walk) {
    Outcome o{0, 0, settings};
    o.state.walk = walk;
    o.code = Run(o.state, c);
    o.work = o.state.Rounds() - settings.Rounds();
    return o;
}

class Random {
public:
    explicit Random(std::uint64_t seed) : g_(seed) {}
    std::int64_t Int(std::int64_t lo, std::int64_t hi) { return std::uniform_int_distribution<std::int64_t>(lo, hi)(g_); }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    // Spread evenly over the orders of magnitude from 1 to hi.
    std::int64_t Scale(std::int64_t hi) {
        return std::max<std::int64_t>(1, std::llround(std::exp(std::uniform_real_distribution<double>(0, std::log(hi))(g_))));
    }

private:
    std::mt19937_64 g_;
};

// Expense set 1, chosen on both pages: annual rates up to maxRate hundredths of a percent, days
// up to maxDays, fees and credits of a few thousand yen.
inline void RandomExpenses(Random& r, CalcState& s, std::int64_t maxRate, std::int64_t maxDays) {
    KeihiSet& k = s.keihiSets[0];
    k = {};
    for (double* v : {&k.RateK, &k.RateU}) *v = static_cast<double>(r.Int(0, maxRate)) / 100;
    for (double* v : {&k.DaysK, &k.DaysU}) *v = static_cast<double>(r.Int(0, maxDays));
    for (double* v : {&k.Kanri, &k.Meigi}) *v = static_cast<double>(r.Int(0, 5'000));
    for (double* v : {&k.Haitou, &k.Hibu, &k.Other}) *v = static_cast<double>(r.Int(-5'000, 5'000));
    s.keihiSelected = {1, 1};
}

// A random press on tables the editors and files accept, leaning to the degenerate: commissions
// that eat the whole amount, many tiny brackets, limits, mini-stock, and tick tables of a few
// rows with small ticks, now and then ones whose steps do not chain (a settings file may hold
// them). Fills `s` and `c`; returns the inputs in words.
inline std::string HuntPress(std::uint64_t seed, std::uint64_t index, CalcState& s, Case* c) {
    Random r(seed * 1'000'003 + index);
    auto side = [&](std::array<MarginBracket, kMaxBrackets>& b, int* n, Yen* minimum, Yen* maximum) {
        const int shape = static_cast<int>(r.Int(0, 9));
        *n = shape < 3 ? 1 : shape < 6 ? static_cast<int>(r.Int(2, 5)) : static_cast<int>(r.Int(6, kMaxBrackets));
        const bool tiny = shape >= 8;
        const bool eats = r.Chance(10);
        std::int64_t low = 0;
        for (int i = 0; i < *n; ++i) {
            const std::int64_t high = low + (tiny ? r.Int(1, 1'000) : r.Scale(300'000'000));
            Yen rate = R(r.Int(r.Chance(10) ? -99'999 : 0, 100'000) * 10);
            Yen addition = W(r.Chance(5) ? r.Int(-99'999'999, 99'999'999) : r.Int(-5'000, 5'000));
            Yen discount = r.Chance(60) ? W(0) : R(r.Int(-99'999, 100'000) * 10);
            if (eats) {  // a yen of commission for every yen of amount
                const bool half = r.Chance(50);
                rate = W(half ? 50 : 100);
                discount = W(half ? -100 : 0);
                addition = W(r.Chance(50) ? 0 : r.Int(0, 1'500));
            }
            b[i] = {W(low), W(high), rate, addition, discount};
            low = high;
        }
        if (r.Chance(70)) b[*n - 1].high = W(9'999'999'999);
        *minimum = r.Chance(50) ? W(0) : W(r.Int(1, 5'000));
        *maximum = r.Chance(50) ? W(0) : W(minimum->Whole() + r.Int(1, 600'000));
    };
    MarginTable& t = s.tables.Slot(0);
    t = MarginTable{};
    t.inUse = true;
    side(t.bracketsK, &t.ElementsK, &t.LowLimitK, &t.HighLimitK);
    if (r.Chance(50)) {
        side(t.bracketsU, &t.ElementsU, &t.LowLimitU, &t.HighLimitU);
    } else {
        t.bracketsU = t.bracketsK;
        t.ElementsU = t.ElementsK;
        t.LowLimitU = t.LowLimitK;
        t.HighLimitU = t.HighLimitK;
    }
    t.MiniAfterK = static_cast<int>(r.Int(0, 1));
    t.MiniAfterU = static_cast<int>(r.Int(0, 1));

    UnitTable& u = s.listedTicks;
    s.otc = false;
    if (r.Chance(30)) {
        u.DontUse = 1;
    } else if (r.Chance(70)) {
        static constexpr std::int64_t kTicks[] = {1, 2, 3, 5, 7, 10, 25, 50};
        const bool chained = r.Chance(80);
        u.Clear();
        u.Elements = static_cast<int>(r.Int(1, 6));
        std::int64_t low = 0;
        std::int64_t tick = kTicks[r.Int(0, 7)];
        for (int i = 0; i < u.Elements; ++i) {
            const std::int64_t next = kTicks[r.Int(0, 7)];
            const std::int64_t step = chained ? std::lcm(tick, next) : 1;
            std::int64_t high = (low / step + r.Scale(chained ? 2'000 : 20'000)) * step;
            if (i + 1 == u.Elements && r.Chance(70)) high = 100'000'000;
            u.rows[i] = {W(low), W(high), W(tick)};
            low = high;
            tick = next;
        }
    }
    auto percent = [&](int zeroChance) { return r.Chance(zeroChance) ? W(0) : R(r.Int(0, 9'999) * 100); };
    s.tax.KaiS = percent(20);
    s.tax.UriS = r.Chance(50) ? s.tax.KaiS : percent(30);
    s.tax.ShinSyotoku = percent(20);
    s.tax.ShinJyuumin = percent(20);
    s.tax.CalcEach = static_cast<int>(r.Int(0, 1));
    s.tax.DontUse = r.Chance(10) ? 1 : 0;
    s.tax.YearGain = r.Chance(50) ? W(0) : W(r.Int(-9'999'999'999, 9'999'999'999));
    s.TradeKind = r.Chance(50) ? TradeCash : TradeMargin;
    if (r.Chance(30)) RandomExpenses(r, s, 9'999, 365);
    c->buyPage = r.Chance(50);
    s.buyPageFlag = c->buyPage;
    c->question = static_cast<Question>(r.Int(0, 4));
    c->shares = W(r.Scale(99'999'999));
    c->price = W(std::min(r.Scale(99'999'999), std::max<std::int64_t>(1, 9'999'999'999LL / c->shares.Whole())));
    if (r.Chance(15)) {
        const Yen unit = W(r.Int(1, 1'000'000) * 10);
        c->shares = W(unit.Whole() / 10 * r.Int(1, 9));
        c->price = W(std::min(c->price.Whole(), std::max<std::int64_t>(1, 9'999'999'999LL / c->shares.Whole())));
        s.buy.mini = s.sell.mini = true;
        s.buy.unit = s.sell.unit = unit;
    }
    switch (c->question) {
        case NoQuestion: break;
        case AtPrice: c->value = W(r.Scale(99'999'999)); break;
        case Width:
            c->value = W(c->buyPage ? r.Scale(99'999'999) : std::min(r.Scale(99'999'999), c->price.Whole() - 1));
            if (c->value <= W(0)) c->question = NoQuestion;
            break;
        case TargetYen: c->value = W(r.Chance(20) ? r.Int(0, 1'000) : r.Scale(99'999'999)); break;
        case TargetRate: c->value = R(r.Scale(99'999'999) * 100); break;
    }
    for (Yen* o : {&s.overrideBuyCommission, &s.overrideBuyCommissionTax, &s.overrideSellCommission,
                   &s.overrideSellCommissionTax})
        if (r.Chance(5)) *o = W(r.Int(0, 99'999'999));
    std::ostringstream d;
    d << (c->buyPage ? "buy" : "sell") << " page, question " << c->question << ", " << c->price.Whole() << " x "
      << c->shares.Whole() << ", value " << c->value.raw << "/10000, "
      << (s.TradeKind == TradeCash ? "cash" : "margin") << (s.buy.mini ? ", mini" : "") << ", ticks "
      << (u.DontUse ? "off" : std::to_string(u.Elements) + " rows") << ", brackets " << t.ElementsK << "/"
      << t.ElementsU << ", tax " << s.tax.KaiS.raw << "/" << s.tax.UriS.raw;
    return d.str();
}

}  // namespace zavota::walkpress
