// The fast walk against the round-by-round walk it must reproduce: the known slow cases, and
// random calculations of every kind. Environment: ZAVOTA_WALK_CASES how many random
// calculations to compare (a few seconds' worth by default), ZAVOTA_WALK_SEED and
// ZAVOTA_WALK_FIRST where they start, ZAVOTA_WALK_REFERENCE_ROUNDS the longest reference walk.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <initializer_list>
#include <tuple>
#include <vector>

#include "YenTesting.h"
#include "WalkPress.h"
#include "core/CalcState.h"

namespace zavota {
namespace {

using namespace walkpress;

// Everything a press can show or hand on: the figures, both legs and the adjustment data; a
// failed press is reset before anything is shown. A search that goes round (error 1) is stopped
// wherever each walk first sees a price again, so only there may the prices differ.
void ExpectSame(const Outcome& fast, const Outcome& ref, const std::string& what) {
    ASSERT_EQ(fast.code, ref.code) << what;
    const CalcState& f = fast.state;
    const CalcState& r = ref.state;
    if (fast.code != ErrTick) {
        EXPECT_EQ(std::tie(f.buy.price, f.sell.price), std::tie(r.buy.price, r.sell.price)) << what;
    }
    if (fast.code != 0) return;
    EXPECT_TRUE(f.result == r.result) << what;
    EXPECT_EQ(std::tie(f.buyTick, f.sellTick, f.buyEntered, f.sellEntered),
              std::tie(r.buyTick, r.sellTick, r.buyEntered, r.sellEntered))
        << what;
}

// ---- the slow cases that were measured, with their answers

MarginTable Flat(std::int64_t high) {
    MarginTable t;
    t.LoadSample();
    t.bracketsK[0].high = t.bracketsU[0].high = W(high);
    return t;
}

// 80 brackets of 1,000,000 yen with rising rates, additions, five discounts and both limits.
MarginTable Brackets80() {
    MarginTable t;
    t.inUse = true;
    t.ElementsK = t.ElementsU = kMaxBrackets;
    for (int i = 0; i < kMaxBrackets; ++i)
        t.bracketsK[i] = t.bracketsU[i] = {W(i * 1'000'000LL), W((i + 1) * 1'000'000LL), R(1'000 + 50 * i),
                                           W(100 + 10 * i), R(15'000 * (i % 5))};
    t.bracketsK[kMaxBrackets - 1].high = t.bracketsU[kMaxBrackets - 1].high = W(9'999'999'999);
    t.LowLimitK = t.LowLimitU = W(100);
    t.HighLimitK = t.HighLimitU = W(500'000);
    return t;
}

TEST(FastWalk, KnownSlowCases) {
    struct Known {
        const char* what;
        MarginTable table;
        int kind;
        Case c;
        int code;
        std::int64_t answer;  // the searched price
        bool compare;         // also run the reference (the others take it up to seconds)
        Yen sellTax = W(5);
    };
    // A sale commission that grows a yen with every yen of amount, and no tax on it: the amount
    // received never moves, and the buy break-even climbs to the amount limit.
    auto eatsTheAmount = [](std::int64_t ratePercent, std::int64_t addition, std::int64_t discountPercent) {
        MarginTable t = Flat(9'999'999'999);
        t.bracketsU[0].rate = W(ratePercent);
        t.bracketsU[0].addition = W(addition);
        t.bracketsU[0].discount = W(discountPercent);
        return t;
    };
    const Known cases[] = {
        {"profit 20,000,000 from 1 x 1", Flat(30'000'000), TradeCash, {true, TargetYen, W(1), W(1), W(20'000'000)},
         0, 22'225'373, false},
        {"profit 99,999,999 from 1 x 1, sample", Flat(30'000'000), TradeCash,
         {true, TargetYen, W(1), W(1), W(99'999'999)}, 202, 29'999'975, false},
        {"same, no amount limit", Flat(9'999'999'999), TradeCash, {true, TargetYen, W(1), W(1), W(99'999'999)}, 0,
         111'114'260, false},
        {"same, 80 brackets", Brackets80(), TradeCash, {true, TargetYen, W(1), W(1), W(99'999'999)}, 0, 111'636'215,
         false},
        {"rate 999,999.99 from 1 x 1", Flat(30'000'000), TradeCash, {true, TargetRate, W(1), W(1), R(9'999'999'900)},
         0, 17'514'262, false},
        {"gain 10,000,000 at 30,000,000 x 1, margin", Flat(30'000'000), TradeMargin,
         {false, TargetYen, W(30'000'000), W(1), W(10'000'000)}, 0, 18'885'739, false},
        {"gain 33,400,000 at 99,999,999 x 1, margin", Flat(9'999'999'999), TradeMargin,
         {false, TargetYen, W(99'999'999), W(1), W(33'400'000)}, 0, 62'885'738, false},
        {"gain 20,000 at 1,000 x 100, margin", Flat(30'000'000), TradeMargin,
         {false, TargetYen, W(1'000), W(100), W(20'000)}, 0, 746, true},
        {"sale commission 100 % + 1,500, untaxed", eatsTheAmount(100, 1'500, 0), TradeCash,
         {true, NoQuestion, W(1'000), W(1), {}}, 13, 0, false, W(0)},
        {"sale commission 100 %, untaxed", eatsTheAmount(100, 0, 0), TradeCash, {true, NoQuestion, W(1), W(1), {}},
         13, 0, false, W(0)},
        {"sale commission 50 % at a discount of -100 %, untaxed", eatsTheAmount(50, 0, -100), TradeCash,
         {true, NoQuestion, W(1), W(1), {}}, 13, 0, false, W(0)},
        {"same, to a limit the reference reaches", eatsTheAmount(50, 0, -100), TradeCash,
         {true, NoQuestion, W(1), W(100'000), {}}, 13, 0, true, W(0)},
        {"same, a profit asked", eatsTheAmount(100, 1'500, 0), TradeMargin,
         {true, TargetYen, W(1), W(100'000), W(1'000)}, 113, 0, true, W(0)},
    };
    for (const Known& k : cases) {
        CalcState settings;
        settings.SetTickCheck(false);
        settings.TradeKind = k.kind;
        settings.buyPageFlag = k.c.buyPage;
        settings.tables.Slot(0) = k.table;
        settings.tables.Slot(0).inUse = true;
        settings.tax.UriS = k.sellTax;
        const Outcome fast = RunWith(settings, k.c, Walk::Fast);
        EXPECT_EQ(fast.code, k.code) << k.what;
        EXPECT_EQ(k.c.buyPage ? fast.state.sell.price : fast.state.buy.price, W(k.answer)) << k.what;
        EXPECT_LT(fast.work, 5'000) << k.what;
        if (k.compare) ExpectSame(fast, RunWith(settings, k.c, Walk::RoundByRound), k.what);
    }
}

// ---- every kind of stretch the walk may take whole, with the answer at its edges

// One table for both sides: brackets {high, rate in percent, addition}, the first from 0.
struct Bracket {
    std::int64_t high, ratePercent, addition;
};
MarginTable Table(std::initializer_list<Bracket> brackets, std::int64_t minimum = 0, std::int64_t maximum = 0) {
    MarginTable t;
    t.inUse = true;
    std::int64_t low = 0;
    for (const Bracket& b : brackets) {
        t.bracketsK[t.ElementsK++] = {W(low), W(b.high), W(b.ratePercent), W(b.addition), W(0)};
        low = b.high;
    }
    t.bracketsU = t.bracketsK;
    t.ElementsU = t.ElementsK;
    t.LowLimitK = t.LowLimitU = W(minimum);
    t.HighLimitK = t.HighLimitU = W(maximum);
    return t;
}

constexpr std::int64_t kOpen = 9'999'999'999;

// Listed ticks of 1 yen up to 1,000 and 5 above.
void TicksOneThenFive(CalcState& s) {
    UnitTable& u = s.listedTicks;
    u.Clear();
    u.Elements = 2;
    u.rows[0] = {W(0), W(1'000), W(1)};
    u.rows[1] = {W(1'000), W(100'000'000), W(5)};
}

TEST(FastWalk, JumpsEndWhereTheRoundByRoundWalkEnds) {
    // Each row sweeps one input so that the answer falls on, just before and just after the
    // edge of a stretch the fast walk may take at once (the first and the last round skipped,
    // the landing), from every starting alignment of its jumps.
    struct Edge {
        const char* what;
        void (*setup)(CalcState&);
        Case c;
        Yen Case::*swept;
        std::int64_t from, to, by;  // whole yen, or raw for a rate
    };
    const Edge edges[] = {
        {"1 % + 10 % tax: the sale total dips a yen at 1,000 (buy break-even)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{kOpen, 1, 0}});
             s.tax.KaiS = s.tax.UriS = W(10);
         },
         {true, NoQuestion, {}, W(1), {}}, &Case::price, 900, 1'000, 1},
        {"the same dip as the last round before a bracket edge at 1,001",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{1'001, 1, 0}, {kOpen, 1, 0}});
             s.tax.KaiS = s.tax.UriS = W(10);
         },
         {true, NoQuestion, {}, W(1), {}}, &Case::price, 900, 1'000, 1},
        {"tick band 1 -> 5 at 1,000 (buy break-even)", TicksOneThenFive, {true, NoQuestion, {}, W(100), {}},
         &Case::price, 930, 1'000, 1},
        {"commission bracket ends at 100,000 (buy break-even)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{100'000, 0, 500}, {kOpen, 0, 1'500}});
         },
         {true, NoQuestion, {}, W(100), {}}, &Case::price, 940, 1'000, 1},
        {"minimum gives way to the rate at 100,000 (buy break-even)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{kOpen, 1, 0}}, 1'000);
         },
         {true, NoQuestion, {}, W(100), {}}, &Case::price, 950, 1'000, 1},
        {"maximum takes over at 100,000 (buy break-even)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{kOpen, 3, 0}}, 0, 3'000);
         },
         {true, NoQuestion, {}, W(100), {}}, &Case::price, 920, 1'000, 1},
        {"profit tax switches on at a net of 3,000 (sell price for a profit)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tax.YearGain = W(-3'000);
         },
         {true, TargetYen, W(1'000), W(10), {}}, &Case::value, 2'400, 3'200, 10},
        {"big steps give way to small ones (sell price for a rate)",
         [](CalcState& s) { s.SetTickCheck(false); }, {true, TargetRate, W(1'000), W(1'000), {}}, &Case::value,
         550'000, 1'200'000, 12'500},
        {"the buy price falls across the tick band at 1,000 (buy price for a gain)", TicksOneThenFive,
         {false, TargetYen, W(1'100), W(100), {}}, &Case::value, 5'000, 9'000, 50},
        {"the buy price falls across a bracket (buy price for a rate)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{100'000, 0, 500}, {kOpen, 0, 1'500}});
         },
         {false, TargetRate, W(1'100), W(100), {}}, &Case::value, 40'000, 160'000, 2'000},
        {"the sell break-even falls from steps of 5 to 1,000, off the grid of the 7s below",
         [](CalcState& s) {
             // Steps that do not chain, as older settings may hold: the walk lands between two
             // grid prices, and no stretch may be taken at once before it is back on the grid.
             UnitTable& u = s.listedTicks;
             u.Clear();
             u.Elements = 2;
             u.rows[0] = {W(0), W(1'002), W(7)};
             u.rows[1] = {W(1'002), W(100'000'000), W(5)};
             s.tables.Slot(0) = Table({{kOpen, 0, 50'000}});
         },
         // a fee of 50,000 puts the break-even near 100: one jump from 1,000 could pass over it
         {false, NoQuestion, {}, W(100), {}}, &Case::price, 1'140, 1'175, 1},
        {"the sell break-even falls across the tick band at 1,000", TicksOneThenFive,
         {false, NoQuestion, {}, W(100), {}}, &Case::price, 1'000, 1'050, 1},
        {"1 % + 10 % tax: the buy-back cost dips at 1,000 (sell break-even)",
         [](CalcState& s) {
             s.SetTickCheck(false);
             s.tables.Slot(0) = Table({{kOpen, 1, 0}});
             s.tax.KaiS = s.tax.UriS = W(10);
         },
         {false, NoQuestion, {}, W(1), {}}, &Case::price, 1'000, 1'040, 1},
    };
    for (const Edge& e : edges) {
        std::int64_t jumps = 0;
        for (std::int64_t v = e.from; v <= e.to; v += e.by) {
            CalcState settings;
            settings.buyPageFlag = e.c.buyPage;
            e.setup(settings);
            Case c = e.c;
            c.*e.swept = e.swept == &Case::value && c.question == TargetRate ? R(v) : W(v);
            const Outcome fast = RunWith(settings, c, Walk::Fast);
            jumps += fast.state.Jumps() - settings.Jumps();
            ExpectSame(fast, RunWith(settings, c, Walk::RoundByRound), std::string(e.what) + " at " + std::to_string(v));
        }
        EXPECT_GT(jumps, 0) << e.what << ": no stretch was taken at once, so nothing was tested";
    }
    // The dip itself: at 999 the sale returns 990 > 989 paid, at 1,000 only 989.
    CalcState s;
    edges[0].setup(s);
    EXPECT_EQ(zavota::Run(s, {true, NoQuestion, W(980), W(1), {}}), 0);
    EXPECT_EQ(s.result.buyBreakEven, W(999));
}

// Tick tables whose steps do not chain: a step down lands in a band whose grid sends the price
// back up, and the walk would go round for ever.
TEST(FastWalk, AWalkThatGoesRoundEndsWithError1) {
    struct Loop {
        UnitRow rows[2];
        Case c;
    };
    const Loop loops[] = {
        // 105 - 7 = 98 lies in the band of 30, whose grid puts it back up at 120.
        {{{W(0), W(100), W(30)}, {W(100), W(1'000), W(7)}}, {false, TargetRate, W(200), W(100), W(90)}},
        // 897 - 3 = 894 lies in the band of 10: back up at 900, then 897 again.
        {{{W(0), W(895), W(10)}, {W(895), W(1'137), W(3)}}, {false, TargetRate, W(893), W(1'000), W(3)}},
    };
    for (const Loop& l : loops) {
        CalcState settings;
        settings.buyPageFlag = false;
        settings.listedTicks.Clear();
        settings.listedTicks.Elements = 2;
        settings.listedTicks.rows = {l.rows[0], l.rows[1]};
        // A walk that still goes round is cut short after a million rounds, not waited for.
        struct Endless {};
        int yields = 0;
        settings.SetYieldHook([](void* n) { if (++*static_cast<int*>(n) > 1'000) throw Endless{}; }, &yields);
        for (const Walk walk : {Walk::Fast, Walk::RoundByRound}) {
            try {
                const Outcome o = RunWith(settings, l.c, walk);
                EXPECT_EQ(o.code, ErrTick) << l.c.price.Whole();
                EXPECT_LT(o.work, 100) << l.c.price.Whole();
            } catch (const Endless&) {
                ADD_FAILURE() << l.c.price.Whole() << ": the walk goes round for ever";
            }
        }
    }
}

// The slowest presses the hunt found (bench/hunt, `zavota_hunt 1000000 1`), replayed by their
// index, with the answers the round-by-round walk gave when run to the end (up to 800 million
// rounds); the reference runs again here where it needs no more than 300,000.
TEST(FastWalk, HuntedSlowestPressesAgree) {
    struct Slow {
        std::uint64_t index;
        int code;
        std::int64_t buyPrice, sellPrice;  // whole yen
    };
    const Slow slowest[] = {
        {31'732, 203, 178'948, 44'444'435},  {47'496, 0, 14'431'021, 30'266'679}, {93'532, 0, 1'536'666, 6'621'103},
        {41'126, 203, 1'591, 25'258},        {74'382, 0, 40'397, 208'516},        {84'548, 203, 50, 18'083'150},
        {64'313, 202, 1'574, 36'169'327},    {1'100, 0, 279'649, 2'519'759'169},  {9'576, 0, 41'246, 11'503'446},
        {50'302, 0, 452'585, 50'864'709},
        // Commissions that eat the amount a yen for a yen, within a few yen of the target: 54 s
        // and 3.7 s before the totals were bounded by the commission's own line.
        {188'953, 112, 3, 0}, {109'336, 11, 1, 108'492},
        // Profit taxes of 100 % or more in all, the final profit still: 563, 120 and 28 ms before the
        // final profit was bounded by the tax's own line.
        {478'407, 203, 43, 10'373'444}, {766'431, 1, 399, 99'999'963}, {284'211, 203, 28, 11'135'845},
        // The slowest three of the hunt on the final walk (0.37 ms at most).
        {692'481, 203, 7, 2'313}, {426'729, 0, 80, 114'974}, {792'077, 0, 1, 26'489},
    };
    struct Endless {};
    int compared = 0;
    for (const Slow& slow : slowest) {
        CalcState settings;
        Case c;
        const std::string what = "hunt index " + std::to_string(slow.index) + ": " + HuntPress(1, slow.index, settings, &c);
        const Outcome fast = RunWith(settings, c, Walk::Fast);
        EXPECT_LT(fast.work, 200'000) << what;
        EXPECT_EQ(std::tie(fast.code, fast.state.buy.price, fast.state.sell.price),
                  std::make_tuple(slow.code, W(slow.buyPrice), W(slow.sellPrice)))
            << what;
        int yields = 0;
        settings.SetYieldHook([](void* n) { if (++*static_cast<int*>(n) > 300) throw Endless{}; }, &yields);
        try {
            ExpectSame(fast, RunWith(settings, c, Walk::RoundByRound), what);
            ++compared;
        } catch (const Endless&) {
        }
    }
    EXPECT_EQ(compared, 6);
}

// ---- random calculations

void RandomSide(Random& r, std::array<MarginBracket, kMaxBrackets>& side, int* count) {
    *count = r.Chance(2) ? 0 : (r.Chance(50) ? static_cast<int>(r.Int(1, 3)) : static_cast<int>(r.Int(1, kMaxBrackets)));
    std::int64_t low = 0;
    for (int i = 0; i < *count; ++i) {
        const std::int64_t high = low + r.Scale(r.Chance(30) ? 100'000 : 300'000'000);
        side[i] = {W(low), W(high), R(r.Chance(5) ? r.Int(0, 1'500'000) : r.Int(r.Chance(10) ? -30'000 : 0, 30'000)),
                   W(r.Int(-2'000, 5'000)), R(r.Chance(10) ? r.Int(-500'000, 0) : r.Int(0, 1'000'000) / 10 * 10)};
        low = high;
    }
    if (*count > 0 && r.Chance(70)) side[*count - 1].high = W(9'999'999'999);
}

MarginTable RandomTable(Random& r) {
    MarginTable t;
    t.inUse = true;
    RandomSide(r, t.bracketsK, &t.ElementsK);
    if (r.Chance(50)) {
        RandomSide(r, t.bracketsU, &t.ElementsU);
    } else {
        t.bracketsU = t.bracketsK;
        t.ElementsU = t.ElementsK;
    }
    for (Yen* limit : {&t.LowLimitK, &t.LowLimitU}) *limit = r.Chance(50) ? W(0) : W(r.Int(0, 3'000));
    for (Yen* limit : {&t.HighLimitK, &t.HighLimitU}) *limit = r.Chance(50) ? W(0) : W(r.Int(1, 600'000));
    t.MiniAfterK = static_cast<int>(r.Int(0, 1));
    t.MiniAfterU = static_cast<int>(r.Int(0, 1));
    return t;
}

void RandomTicks(Random& r, UnitTable& u) {
    if (r.Chance(30)) {
        u.DontUse = 1;
        return;
    }
    if (r.Chance(20)) return;  // the defaults
    static constexpr std::int64_t kTicks[] = {1, 1, 2, 5, 10, 25, 50, 100, 500, 1'000, 10'000};
    u.Elements = static_cast<int>(r.Int(1, kMaxUnitRows));
    std::int64_t low = 0;
    for (int i = 0; i < u.Elements; ++i) {
        const std::int64_t high = i + 1 == u.Elements && r.Chance(70) ? 100'000'000 : low + r.Scale(20'000'000);
        // Bounds the ticks do not divide, and now and then a row without a tick.
        const Yen tick = r.Chance(2) ? W(0) : W(kTicks[r.Int(0, 10)]);
        u.rows[i] = {W(low), W(high), tick};
        low = high;
    }
}

// Where jumps go wrong: a price, and the answer of a price or yen question, a few ticks from a
// tick-band boundary or from an amount where a commission bracket ends.
void NearAnEdge(Random& r, const CalcState& s, Case* c) {
    std::vector<std::int64_t> edges;
    if (!s.listedTicks.DontUse)
        for (int i = 0; i < s.listedTicks.Elements; ++i) edges.push_back(s.listedTicks.rows[i].high.Whole());
    const std::int64_t perPrice = (s.buy.mini ? s.buy.unit : c->shares).Whole();
    for (const MarginTable* t : {&s.tables.Slot(0), &s.tables.Slot(1)})
        for (int i = 0; i < t->ElementsK; ++i) edges.push_back(t->bracketsK[i].high.Whole() / perPrice);
    if (edges.empty()) return;
    const std::int64_t top = std::min<std::int64_t>(99'999'999, 9'999'999'999LL / c->shares.Whole());
    auto near = [&] { return std::clamp<std::int64_t>(edges[r.Int(0, edges.size() - 1)] + r.Int(-40, 40), 1, top); };
    const std::int64_t edge = near();
    if (r.Chance(50)) {
        c->price = W(edge);
    } else if (c->question == AtPrice) {
        c->value = W(edge);
    } else if (c->question == TargetYen) {
        const std::int64_t gain = (c->buyPage ? edge - c->price.Whole() : c->price.Whole() - edge) * c->shares.Whole();
        c->value = W(std::clamp<std::int64_t>(gain + r.Int(-3'000, 3'000), 0, 99'999'999));
    }
}

std::string RandomSettings(Random& r, CalcState& s, Case* c) {
    s.tables.Slot(0) = RandomTable(r);
    if (r.Chance(30)) s.tables.Slot(1) = RandomTable(r);
    RandomTicks(r, s.listedTicks);
    s.otc = false;
    s.tax.KaiS = R(r.Int(0, 1'000) * 100);
    s.tax.UriS = r.Chance(70) ? s.tax.KaiS : R(r.Int(0, 1'000) * 100);
    s.tax.ShinSyotoku = R(r.Int(0, 2'000) * 100);
    s.tax.ShinJyuumin = R(r.Int(0, 1'000) * 100);
    s.tax.CalcEach = static_cast<int>(r.Int(0, 1));
    s.tax.DontUse = r.Chance(10) ? 1 : 0;
    s.tax.YearGain = r.Chance(50) ? W(0) : W(r.Int(-10'000'000, 10'000'000));
    s.TradeKind = r.Chance(50) ? TradeCash : TradeMargin;
    c->buyPage = r.Chance(50);
    s.buyPageFlag = r.Chance(90) ? c->buyPage : !c->buyPage;
    if (r.Chance(50)) RandomExpenses(r, s, 1'000, 400);
    c->question = static_cast<Question>(r.Int(0, 4));
    c->shares = W(r.Scale(1'000'000));
    c->price = W(std::min(r.Scale(99'999'999), std::max<std::int64_t>(1, 9'999'999'999LL / c->shares.Whole())));
    if (r.Chance(15)) {  // mini-stock: tenths of a trading unit of 10, 100 or 1,000
        static constexpr std::int64_t kUnits[] = {10, 100, 1'000};
        const Yen u = W(kUnits[r.Int(0, 2)]);
        c->shares = W(u.Whole() / 10 * r.Int(1, 9));
        s.buy.mini = s.sell.mini = true;
        s.buy.unit = s.sell.unit = u;
    }
    const std::int64_t amount = c->price.Whole() * c->shares.Whole();
    switch (c->question) {
        case NoQuestion: break;
        case AtPrice: c->value = W(r.Scale(99'999'999)); break;
        case Width: c->value = W(std::min<std::int64_t>(r.Scale(99'999'999), c->buyPage ? 99'999'999 : c->price.Whole() - 1)); break;
        case TargetYen: c->value = W(std::min<std::int64_t>(r.Chance(20) ? r.Int(0, 1'000) : r.Scale(std::max<std::int64_t>(2, amount)), 99'999'999)); break;
        case TargetRate: c->value = R(r.Chance(90) ? r.Scale(600'000) : r.Scale(9'999'999'900)); break;
    }
    if (c->question == Width && c->value <= W(0)) c->question = NoQuestion;
    for (Yen* o : {&s.overrideBuyCommission, &s.overrideBuyCommissionTax, &s.overrideSellCommission,
                   &s.overrideSellCommissionTax})
        if (r.Chance(5)) *o = W(r.Int(0, 5'000));
    if (r.Chance(40)) NearAnEdge(r, s, c);
    std::ostringstream d;
    d << (c->buyPage ? "buy" : "sell") << " page, question " << c->question << ", " << c->price.Whole() << " x "
      << c->shares.Whole() << ", value " << c->value.raw << "/10000, "
      << (s.TradeKind == TradeCash ? "cash" : "margin") << (s.buy.mini ? ", mini" : "")
      << ", ticks " << (s.listedTicks.DontUse ? "off" : std::to_string(s.listedTicks.Elements) + " rows")
      << ", brackets " << s.tables.Slot(0).ElementsK << "/" << s.tables.Slot(0).ElementsU;
    return d.str();
}

// The reference can take seconds on some inputs; past this many thousand rounds a case is left out.
int referenceYields = 30;
struct TooLong {};

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

TEST(FastWalk, AgreesWithTheRoundByRoundWalk) {
    const std::uint64_t cases = FromEnvironment("ZAVOTA_WALK_CASES", 800);
    const std::uint64_t seed = FromEnvironment("ZAVOTA_WALK_SEED", 1);
    const std::uint64_t first = FromEnvironment("ZAVOTA_WALK_FIRST", 0);  // to repeat one case
    referenceYields = static_cast<int>(FromEnvironment("ZAVOTA_WALK_REFERENCE_ROUNDS", 30'000) / 1'000);
    std::uint64_t compared = 0, tooLong = 0, endless = 0;
    std::int64_t most = -1;
    std::string slowestCase;
    for (std::uint64_t i = first; i < first + cases && !HasFailure(); ++i) {
        Random r(seed * 1'000'003 + i);
        CalcState settings;
        Case c;
        // Every other case is a press of the hunt for slow inputs, degenerate tables and all.
        const std::string what = "seed " + std::to_string(seed) + " case " + std::to_string(i) + ": " +
                                 (i % 2 == 1 ? "hunt, " + HuntPress(seed, i, settings, &c) : RandomSettings(r, settings, &c));
        // Both walks are cut short through the yield hook: the fast one must never need more
        // work than the reference, give or take its trial jumps.
        int yields = -2 * referenceYields;
        settings.SetYieldHook(
            [](void* n) {
                if (++*static_cast<int*>(n) > referenceYields) throw TooLong{};
            },
            &yields);
        Outcome fast;
        const auto start = std::chrono::steady_clock::now();
        try {
            fast = RunWith(settings, c, Walk::Fast);
        } catch (const TooLong&) {
            fast.code = -1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        yields = 0;
        try {
            const Outcome ref = RunWith(settings, c, Walk::RoundByRound);
            ASSERT_NE(fast.code, -1) << what << ": the fast walk ran far longer than the reference";
            ExpectSame(fast, ref, what);
            ++compared;
            if (fast.work > most) {
                most = fast.work;
                slowestCase = what + " (" + std::to_string(fast.work) + " rounds of work, " + std::to_string(seconds * 1e3) +
                              " ms; " + std::to_string(ref.work) + " rounds round by round)";
            }
        } catch (const TooLong&) {
            ++(fast.code == -1 ? endless : tooLong);
        }
        if ((i + 1 - first) % 100'000 == 0)
            std::cout << i + 1 - first << " calculations, " << compared << " agreed; the most work: " << slowestCase
                      << std::endl;
    }
    std::cout << compared << " calculations agreed; left out: " << tooLong << " too long for the reference, " << endless
              << " too long for both walks; the most work: " << slowestCase << "\n";
    EXPECT_GT(compared, cases / 2);
}

// Search rounds skip their overflow checks below a price worked out per walk. The same presses
// with every check must end alike; the presses' large targets and degenerate rates take many
// walks across that price, and the sanitizer build stops at any overflow the bound let through.
TEST(FastWalk, UncheckedRoundsEndLikeCheckedOnes) {
    const std::uint64_t cases = FromEnvironment("ZAVOTA_WALK_CASES", 800);
    referenceYields = 30;
    for (std::uint64_t i = 0; i < cases && !HasFailure(); ++i) {
        Random r(9'000'011 + i);
        CalcState settings;
        Case c;
        const std::string what = "case " + std::to_string(i) + ": " +
                                 (i % 2 == 1 ? "hunt, " + HuntPress(9, i, settings, &c) : RandomSettings(r, settings, &c));
        int yields = 0;
        settings.SetYieldHook([](void* n) { if (++*static_cast<int*>(n) > referenceYields) throw TooLong{}; }, &yields);
        try {
            const Outcome unchecked = RunWith(settings, c, Walk::Fast);
            settings.uncheckedRounds = false;
            yields = 0;
            ExpectSame(unchecked, RunWith(settings, c, Walk::Fast), what);
        } catch (const TooLong&) {
        }
    }
}

// Settings no options page accepts but a damaged file may hold. A purchase commission of
// 1,000 % at a discount of 90 % costs the amount itself, so a buy-back still exists, but the
// commission's product reaches 2^62 at an amount of 46 million yen; a tax of 10,000 % on it
// reaches it at 4.6 million. Searches of a buy price cross those amounts, and the bound must
// count each product (the sanitizer build stops at any overflow it lets through).
TEST(FastWalk, UncheckedRoundsSurviveExtremeSettings) {
    struct Extreme {
        const char* what;
        Yen consumption, salePrice;
    };
    int compared = 0;
    for (const Extreme& x : {Extreme{"commission of 1,000 %", W(5), W(200'000)},
                             Extreme{"and a tax of 10,000 % on it", W(10'000), W(2'000'000)}}) {
        for (const Case& c : {Case{false, TargetRate, x.salePrice, W(1'000), W(1)},
                              Case{false, TargetYen, x.salePrice, W(1'000), W(1'000'000)},
                              Case{false, TargetYen, x.salePrice, W(1'000), W(90'000'000)}}) {
            CalcState settings;
            MarginTable& t = settings.tables.Slot(0) = Flat(9'999'999'999);
            t.bracketsK[0] = {W(0), W(9'999'999'999), W(1'000), W(0), W(90)};
            settings.tax.KaiS = x.consumption;
            const Outcome unchecked = RunWith(settings, c, Walk::Fast);
            settings.uncheckedRounds = false;
            const Outcome checked = RunWith(settings, c, Walk::Fast);
            ExpectSame(unchecked, checked, x.what);
            compared += checked.code == CalcOk && checked.state.buy.price > W(0);
        }
    }
    EXPECT_EQ(compared, 6);
}

// A search leaves its rounds' figures to itself and fills the state once, at the price it ends
// at: the state must then hold what a press with that price as its answer shows.
TEST(FastWalk, ASearchShowsTheFiguresOfThePriceItFound) {
    int replayed = 0;
    for (std::uint64_t i = 0; i < 800 && !HasFailure(); ++i) {
        Random r(5'000'011 + i);
        CalcState settings;
        Case c;
        const std::string what = "case " + std::to_string(i) + ": " + RandomSettings(r, settings, &c);
        if (c.question != TargetYen && c.question != TargetRate) continue;
        int yields = 0;
        settings.SetYieldHook([](void* n) { if (++*static_cast<int*>(n) > referenceYields) throw TooLong{}; }, &yields);
        try {
            const Outcome search = RunWith(settings, c, Walk::Fast);
            const Yen found = c.buyPage ? search.state.sell.price : search.state.buy.price;
            if (search.code != CalcOk || found <= W(0)) continue;
            const Outcome press = RunWith(settings, {c.buyPage, AtPrice, c.price, c.shares, found}, Walk::Fast);
            ASSERT_EQ(press.code, CalcOk) << what;
            EXPECT_TRUE(search.state.result == press.state.result) << what;
            ++replayed;
        } catch (const TooLong&) {
        }
    }
    EXPECT_GT(replayed, 100);
}

}  // namespace
}  // namespace zavota
