// The trade calculation: both legs, their break-even prices, profit after expenses and tax,
// the four searches and their error codes. Every figure here was worked out by hand on the
// sample table (a flat 1,500 yen up to 30,000,000), cash, listed ticks, 5 % consumption tax and
// 7 % + 3 % on the profit unless a case says otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "core/CalcState.h"
#include "YenTesting.h"
#include "core/Yen.h"

namespace zavota {

namespace {

// The figures of a TradeResult in whole yen, except the rate in hundredths of a percent.
struct Figures {
    std::int64_t buyPrice, buyShares, buyAmount, buyCommission, buyCommissionTax, totalPaid, buyBreakEven;
    std::int64_t sellPrice, sellShares, sellAmount, sellCommission, sellCommissionTax, sellOtherDeduction,
        totalReceived, sellBreakEven;
    std::int64_t profit, otherExpenses, profitTax, finalProfit, rateHundredths;
};

void ExpectFigures(const TradeResult& r, const Figures& f) {
    EXPECT_EQ(r.buyPrice, W(f.buyPrice)) << "buyPrice";
    EXPECT_EQ(r.buyShares, W(f.buyShares)) << "buyShares";
    EXPECT_EQ(r.buyAmount, W(f.buyAmount)) << "buyAmount";
    EXPECT_EQ(r.buyCommission, W(f.buyCommission)) << "buyCommission";
    EXPECT_EQ(r.buyCommissionTax, W(f.buyCommissionTax)) << "buyCommissionTax";
    EXPECT_EQ(r.totalPaid, W(f.totalPaid)) << "totalPaid";
    EXPECT_EQ(r.buyBreakEven, W(f.buyBreakEven)) << "buyBreakEven";
    EXPECT_EQ(r.sellPrice, W(f.sellPrice)) << "sellPrice";
    EXPECT_EQ(r.sellShares, W(f.sellShares)) << "sellShares";
    EXPECT_EQ(r.sellAmount, W(f.sellAmount)) << "sellAmount";
    EXPECT_EQ(r.sellCommission, W(f.sellCommission)) << "sellCommission";
    EXPECT_EQ(r.sellCommissionTax, W(f.sellCommissionTax)) << "sellCommissionTax";
    EXPECT_EQ(r.sellOtherDeduction, W(f.sellOtherDeduction)) << "sellOtherDeduction";
    EXPECT_EQ(r.totalReceived, W(f.totalReceived)) << "totalReceived";
    EXPECT_EQ(r.sellBreakEven, W(f.sellBreakEven)) << "sellBreakEven";
    EXPECT_EQ(r.profit, W(f.profit)) << "profit";
    EXPECT_EQ(r.otherExpenses, W(f.otherExpenses)) << "otherExpenses";
    EXPECT_EQ(r.profitTax, W(f.profitTax)) << "profitTax";
    EXPECT_EQ(r.finalProfit, W(f.finalProfit)) << "finalProfit";
    EXPECT_EQ(r.profitRate, R(f.rateHundredths * 100)) << "profitRate";
}

// A flat 1,500 yen per order up to 9,999,999,999 yen, for cases that must get past the sample.
MarginTable BigTable() {
    MarginTable t;
    t.LoadSample();
    t.Name = "big";
    t.bracketsK[0].high = t.bracketsU[0].high = W(9'999'999'999);
    return t;
}

// A table whose buy side has no bracket for amounts of `floor` yen or less.
MarginTable FloorTable(std::int64_t floor) {
    MarginTable t = BigTable();
    t.bracketsK[0].low = W(floor);
    return t;
}

class Calc : public ::testing::Test {
protected:
    CalcState s;
    const MarginTable& sample() const { return s.tables.Slot(0); }

    void Buy(std::int64_t price, std::int64_t shares) {
        s.buy.price = W(price);
        s.buy.shares = W(shares);
    }
    void Sell(std::int64_t price, std::int64_t shares) {
        s.sell.price = W(price);
        s.sell.shares = W(shares);
        s.buy.shares = W(shares);
    }
};

TEST_F(Calc, BuyLegAndItsBreakEven) {
    Buy(1000, 1000);
    Yen tick;
    ASSERT_EQ(s.CalcBuy(sample(), sample(), &tick), CalcOk);
    EXPECT_EQ(tick, W(1));
    // At 1,003 a sale returns 1,001,425, at 1,004 it returns 1,002,425 > 1,001,575.
    ExpectFigures(s.result, {1000, 1000, 1'000'000, 1500, 75, 1'001'575, 1004,  //
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

TEST_F(Calc, SellAtAPriceAndTheProfit) {
    Buy(1000, 1000);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    s.sell.price = W(1100);
    Yen tick;
    ASSERT_EQ(s.CalcSell(sample(), sample(), &tick), CalcOk);
    EXPECT_EQ(tick, W(1));
    s.Profit();
    // Buying back at 1,096 costs 1,097,575 < 1,098,425; at 1,097 it costs 1,098,575.
    // 87,165 × 100 / 1,001,575 = 8.7028 -> 8.70
    ExpectFigures(s.result, {1000, 1000, 1'000'000, 1500, 75, 1'001'575, 1004,  //
                             1100, 1000, 1'100'000, 1500, 75, 0, 1'098'425, 1096,  //
                             96'850, 0, 9'685, 87'165, 870});
}

TEST_F(Calc, LossShowsANegativeRate) {
    Buy(1000, 1000);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    s.sell.price = W(900);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    s.Profit();
    // received 898,425; loss 103,150, no earlier gain: no tax comes back;
    // -103,150 × 100 / 1,001,575 = -10.2987 -> -10.30
    EXPECT_EQ(s.result.profit, W(-103'150));
    EXPECT_EQ(s.result.profitTax, W(0));
    EXPECT_EQ(s.result.finalProfit, W(-103'150));
    EXPECT_EQ(s.result.profitRate, R(-103000));
}

TEST_F(Calc, PricesMoveUpOntoTheGrid) {
    struct Case {
        std::int64_t entered, used, tick;
        bool buyLeg;
    };
    for (const Case c : {Case{2003, 2005, 5, true}, Case{2000, 2000, 5, true}, Case{2003, 2005, 5, false},
                         Case{2000, 2000, 1, false}, Case{3001, 3010, 10, true}, Case{3001, 3010, 10, false}}) {
        s.Reset();
        Yen tick;
        if (c.buyLeg) {
            Buy(c.entered, 100);
            ASSERT_EQ(s.CalcBuy(sample(), sample(), &tick), CalcOk) << c.entered;
            EXPECT_EQ(s.result.buyPrice, W(c.used)) << c.entered;
            EXPECT_EQ(s.buyEntered, W(c.entered)) << c.entered;
        } else {
            Sell(c.entered, 100);
            ASSERT_EQ(s.CalcSell(sample(), sample(), &tick), CalcOk) << c.entered;
            EXPECT_EQ(s.result.sellPrice, W(c.used)) << c.entered;
            EXPECT_EQ(s.sellEntered, W(c.entered)) << c.entered;
        }
        EXPECT_EQ(tick, W(c.tick)) << c.entered << (c.buyLeg ? " buy" : " sell");
    }
    // 2,005 × 100: total 202,075; the break-even steps 2,025, 2,030, 2,035, 2,040 by 5 yen.
    s.Reset();
    Buy(2003, 100);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.totalPaid, W(202'075));
    EXPECT_EQ(s.result.buyBreakEven, W(2040));
}

TEST_F(Calc, TickCheckOffLeavesWholePrices) {
    s.SetTickCheck(false);
    Buy(2003, 100);
    Yen tick;
    ASSERT_EQ(s.CalcBuy(sample(), sample(), &tick), CalcOk);
    EXPECT_EQ(tick, W(1));
    EXPECT_EQ(s.result.buyPrice, W(2003));
    // total 201,875: the first price returning more is 2,035 (201,925).
    EXPECT_EQ(s.result.buyBreakEven, W(2035));
    s.SetTickCheck(true);
    EXPECT_EQ(s.Ticks().Tick(W(2003), true), W(5));
}

TEST_F(Calc, MiniStockLegs) {
    Buy(500, 300);
    s.buy.mini = s.sell.mini = true;
    s.buy.unit = s.sell.unit = W(1000);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    // 1,500 for the full unit × 0.3 = 450; tax 22; the sale at 504 returns 150,728 > 150,472.
    ExpectFigures(s.result, {500, 300, 150'000, 450, 22, 150'472, 504,  //
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

TEST_F(Calc, OverridesReplaceTheTable) {
    Buy(1000, 1000);
    s.overrideBuyCommission = W(1000);
    s.overrideBuyCommissionTax = W(0);
    s.overrideSellCommission = W(0);
    s.overrideSellCommissionTax = W(7);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.buyCommission, W(1000));
    EXPECT_EQ(s.result.buyCommissionTax, W(0));
    EXPECT_EQ(s.result.totalPaid, W(1'001'000));
    // The break-even sells with the sell overrides: at 1,002 it returns 1,001,993.
    EXPECT_EQ(s.result.buyBreakEven, W(1002));
    s.sell.price = W(1100);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.sellCommission, W(0));
    EXPECT_EQ(s.result.sellCommissionTax, W(7));
    EXPECT_EQ(s.result.totalReceived, W(1'099'993));
}

TEST_F(Calc, ResetClearsFiguresAndKeepsChoices) {
    s.TradeKind = TradeMargin;
    s.tax.KaiS = W(8);
    Buy(1000, 1000);
    s.overrideBuyCommission = W(5);
    s.targetProfit = W(10);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    s.Reset();
    EXPECT_EQ(s.result, TradeResult{});
    EXPECT_EQ(s.buy.price, W(0));
    EXPECT_EQ(s.buy.shares, W(0));
    EXPECT_EQ(s.buyEntered, W(0));
    EXPECT_EQ(s.buyTick, W(0));
    EXPECT_EQ(s.targetProfit, W(0));
    EXPECT_EQ(s.overrideBuyCommission, kNoOverride);
    EXPECT_EQ(s.overrideSellCommissionTax, kNoOverride);
    EXPECT_EQ(s.TradeKind, TradeMargin);
    EXPECT_EQ(s.tax.KaiS, W(8));
    EXPECT_EQ(s.tables.UsedCount(), 1);
}

struct LegError {
    const char* what;
    bool buyLeg;
    std::int64_t price, shares;
    bool bigSell, bigBuy;  // use the big table instead of the sample for that side
    int code;
};

void PrintTo(const LegError& c, std::ostream* os) { *os << c.what; }

class LegErrors : public Calc, public ::testing::WithParamInterface<LegError> {};

TEST_P(LegErrors, ReportTheirCode) {
    const LegError& c = GetParam();
    s.tables.Slot(1) = BigTable();
    const MarginTable& sellTable = c.bigSell ? s.tables.Slot(1) : sample();
    const MarginTable& buyTable = c.bigBuy ? s.tables.Slot(1) : sample();
    if (c.buyLeg) {
        Buy(c.price, c.shares);
        EXPECT_EQ(s.CalcBuy(buyTable, sellTable), c.code) << c.what;
    } else {
        Sell(c.price, c.shares);
        EXPECT_EQ(s.CalcSell(sellTable, buyTable), c.code) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LegErrors,
    ::testing::Values(
        LegError{"buy price beyond the tick table", true, 100'000'001, 1, false, false, 1},
        // 30,001 moves to 30,050: 30,050,000 has no bracket in the sample
        LegError{"buy amount beyond the table", true, 30'001, 1000, false, false, 2},
        LegError{"buy amount at the limit", true, 100'000, 100'000, true, true, 3},
        // 99,999,999 moves to 100,000,000; the break-even's first step finds no tick
        LegError{"buy break-even beyond the ticks", true, 99'999'999, 1, true, true, 11},
        // 30,000 × 1,000 is in the table; its break-even's first step, 30,050, is not
        LegError{"buy break-even beyond the table", true, 30'000, 1000, false, false, 12},
        // total 10,000,000,575: the break-even starts at 1,000 and 1,001 × 9,999,999 is too much
        LegError{"buy break-even at the limit", true, 1000, 9'999'999, true, true, 13},
        LegError{"sell price beyond the tick table", false, 100'000'001, 1, false, false, 1},
        LegError{"sell amount beyond the table", false, 30'050, 1000, false, false, 2},
        LegError{"sell amount at the limit", false, 100'000, 100'000, true, true, 3},
        // buying back 1,000 shares at 31,000 is beyond the sample
        LegError{"sell break-even beyond the buy table", false, 31'000, 1000, true, false, 12}));

TEST(AmountLimit, TenBillionOrMoreIsRefused) {
    struct Case {
        std::int64_t price, shares;
        bool atLimit;
    };
    for (const Case c : {Case{100'000, 100'000, true}, Case{99'999, 100'000, false}, Case{2000, 5'000'000, true},
                         Case{1999, 5'000'000, false}, Case{99'999'999, 100, false},
                         Case{100'000'000, 100, true}, Case{99'999'999, 99'999'999, true}}) {
        EXPECT_EQ(AmountAtLimit(W(c.price), W(c.shares)), c.atLimit) << c.price << " x " << c.shares;
    }
}

TEST_F(Calc, SellBreakEvenStopsAtZero) {
    // 1 yen × 100: the sale returns less than nothing; no buy-back price above 0 helps.
    Sell(1, 100);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.totalReceived, W(-1475));
    EXPECT_EQ(s.result.sellBreakEven, W(0));
}

TEST_F(Calc, SellBreakEvenStartsOnTheGrid) {
    // 2,500 × 1,000 on the sell page with an expense credit of 4,321: the quotient lands at
    // 2,503 or 2,504, inside the 5-yen band, and the answer must be the grid price below it,
    // both when that price passes and when the quotient itself fails.
    struct Case {
        std::int64_t addition, breakEven;
    };
    for (const Case c : {Case{0, 2500}, Case{1000, 2500}, Case{3000, 2495}}) {
        MarginTable t = BigTable();
        t.bracketsK[0].addition = t.bracketsU[0].addition = W(c.addition);
        s.Reset();
        s.keihiSets[0] = {};
        s.keihiSets[0].Other = -4321;
        s.keihiSelected[1] = 1;
        s.SelectExpenses(false);
        Sell(2500, 1000);
        ASSERT_EQ(s.CalcSell(t, t), CalcOk) << c.addition;
        EXPECT_EQ(s.result.sellBreakEven, W(c.breakEven)) << c.addition;
    }
}

TEST_F(Calc, ProfitWithoutTotalPaidIsZero) {
    s.result.totalReceived = W(1'098'425);
    s.result.sellAmount = W(1'100'000);
    s.Profit();
    EXPECT_EQ(s.result.profit, W(0));
    EXPECT_EQ(s.result.profitTax, W(0));
    EXPECT_EQ(s.result.finalProfit, W(0));
    EXPECT_EQ(s.result.profitRate, W(0));
}

TEST_F(Calc, WhenTheProfitTaxApplies) {
    struct Case {
        int dontUse;
        bool buyPage;
        int kind;
        bool applies;
    };
    for (const Case c : {Case{0, true, TradeCash, true}, Case{0, false, TradeCash, false},
                         Case{0, false, TradeMargin, true}, Case{0, true, TradeMargin, true},
                         Case{1, true, TradeCash, false}, Case{1, false, TradeMargin, false}}) {
        s.tax.DontUse = c.dontUse;
        s.buyPageFlag = c.buyPage;
        s.TradeKind = c.kind;
        EXPECT_EQ(s.ProfitTaxApplies(), c.applies) << c.dontUse << c.buyPage << c.kind;
    }
}

struct MiniCase {
    std::int64_t shares, unit;
    int code;
};

class CheckMini : public ::testing::TestWithParam<MiniCase> {};

TEST_P(CheckMini, AcceptsWholeTenthsUpToNine) {
    EXPECT_EQ(CalcState::CheckMini(W(GetParam().shares), W(GetParam().unit)), GetParam().code)
        << GetParam().shares << " of " << GetParam().unit;
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckMini,
                         ::testing::Values(MiniCase{350, 1000, 4}, MiniCase{1000, 1000, 5}, MiniCase{100, 5, 2},
                                           MiniCase{100, 1005, 3}, MiniCase{100, 0, 1}, MiniCase{100, -10, 1},
                                           MiniCase{100, 10'000'001, 1}, MiniCase{300, 1000, 0},
                                           MiniCase{900, 1000, 0}, MiniCase{100, 1000, 0}, MiniCase{1, 10, 0},
                                           MiniCase{9, 10, 0}, MiniCase{10, 10, 5},
                                           MiniCase{1'000'000, 10'000'000, 0}, MiniCase{100, 10'000'000, 4}));

struct ExpenseCase {
    const char* what;
    bool buyPage;
    int kind;
    KeihiSet set;
    int selected;
    std::int64_t expected;
    bool active;
    std::int64_t amount = 1'000'000;  // of each leg
};

void PrintTo(const ExpenseCase& c, std::ostream* os) { *os << c.what; }

KeihiSet Set(double rateK, double daysK, double rateU, double daysU, double kanri, double meigi,
             double haitou, double hibu, double other) {
    KeihiSet k;
    k.RateK = rateK;
    k.DaysK = daysK;
    k.RateU = rateU;
    k.DaysU = daysU;
    k.Kanri = kanri;
    k.Meigi = meigi;
    k.Haitou = haitou;
    k.Hibu = hibu;
    k.Other = other;
    return k;
}

class Expenses : public Calc, public ::testing::WithParamInterface<ExpenseCase> {};

TEST_P(Expenses, TotalOnAMillionYen) {
    const ExpenseCase& c = GetParam();
    s.TradeKind = c.kind;
    s.keihiSets[2] = c.set;
    s.keihiSelected[c.buyPage ? 0 : 1] = c.selected;
    s.result.buyAmount = W(c.amount);
    s.result.sellAmount = W(c.amount);
    s.SelectExpenses(c.buyPage);
    EXPECT_EQ(s.expensesActive, c.active) << c.what;
    EXPECT_EQ(s.ExpenseTotal(), W(c.expected)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Expenses,
    ::testing::Values(
        // 3 × 30 / 365 = 0.2465 at four decimals; 2,465 on a million, plus the fee
        ExpenseCase{"buy interest and fee", true, TradeMargin, Set(3, 30, 0, 0, 100, 0, 0, 0, 0), 3, 2565, true},
        ExpenseCase{"dividend adjustment on the sell page", false, TradeMargin, Set(3, 30, 0, 0, 0, 0, 500, 0, 0),
                    3, 500, true},
        ExpenseCase{"dividend adjustment is a credit to a buyer", true, TradeMargin,
                    Set(0, 0, 0, 0, 0, 0, 500, 0, 0), 3, -500, true},
        ExpenseCase{"seller's interest is a credit", false, TradeMargin, Set(0, 0, 3, 30, 100, 0, 0, 0, 0), 3,
                    -2365, true},
        ExpenseCase{"fees buy page", true, TradeMargin, Set(0, 0, 0, 0, 100, 50, 30, 20, -10), 3, 90, true},
        ExpenseCase{"fees sell page", false, TradeMargin, Set(0, 0, 0, 0, 100, 50, 30, 20, -10), 3, 190, true},
        // 2.5 × 100 / 365 = 0.6849
        ExpenseCase{"fractional rate", true, TradeMargin, Set(2.5, 100, 0, 0, 0, 0, 0, 0, 0), 3, 6849, true},
        // 3 × 10 / 365 = 0.0821 (not 0.0822); 1,234,567 × 0.0821 % = 1,013.58, truncated
        ExpenseCase{"interest truncated", true, TradeMargin, Set(3, 10, 0, 0, 0, 0, 0, 0, 0), 3, 1013, true,
                    1'234'567},
        ExpenseCase{"seller's interest truncated", false, TradeMargin, Set(0, 0, 3, 10, 0, 0, 0, 0, 0), 3, -1013,
                    true, 1'234'567},
        ExpenseCase{"cash other buy", true, TradeCash, Set(3, 30, 3, 30, 100, 0, 0, 0, 1000), 3, 1000, true},
        ExpenseCase{"cash other sell", false, TradeCash, Set(3, 30, 3, 30, 100, 0, 0, 0, 1000), 3, 1000, true},
        ExpenseCase{"cash ignores margin fields", true, TradeCash, Set(3, 30, 3, 30, 100, 0, 0, 0, 0), 3, 0,
                    false},
        ExpenseCase{"nothing selected", true, TradeMargin, Set(3, 30, 0, 0, 100, 0, 0, 0, 0), 0, 0, false},
        ExpenseCase{"other set selected", true, TradeMargin, Set(3, 30, 0, 0, 100, 0, 0, 0, 0), 1, 0, false},
        ExpenseCase{"credits cancel the fee", true, TradeMargin, Set(0, 0, 0, 0, 100, 0, 60, 40, 0), 3, 0,
                    false}));

TEST_F(Calc, ExpensesOnTheBuyPage) {
    s.TradeKind = TradeMargin;
    s.keihiSets[0] = Set(3, 30, 0, 0, 100, 0, 0, 0, 0);
    s.keihiSelected[0] = 1;
    s.SelectExpenses(true);
    EXPECT_EQ(s.buyInterestRate, R(2465));
    EXPECT_EQ(s.sellInterestRate, W(0));
    EXPECT_EQ(s.fixedExpenses, W(100));
    Buy(1000, 1000);
    ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
    // The search starts from 1,001,575 + 2,565 = 1,004,140: 1,006 returns 1,004,425.
    EXPECT_EQ(s.result.totalPaid, W(1'001'575));
    EXPECT_EQ(s.result.buyBreakEven, W(1006));
    EXPECT_EQ(s.ExpenseTotal(), W(2565));
    s.sell.price = W(1100);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    s.Profit();
    // net 94,285; tax 9,428; 84,857 × 100 / 1,001,575 = 8.4723 -> 8.47
    EXPECT_EQ(s.result.otherExpenses, W(2565));
    EXPECT_EQ(s.result.profit, W(96'850));
    EXPECT_EQ(s.result.profitTax, W(9'428));
    EXPECT_EQ(s.result.finalProfit, W(84'857));
    EXPECT_EQ(s.result.profitRate, R(84700));
    EXPECT_EQ(s.result.sellBreakEven, W(1096));
}

TEST_F(Calc, ExpensesOnTheSellPage) {
    s.TradeKind = TradeMargin;
    s.buyPageFlag = false;
    s.keihiSets[1] = Set(0, 0, 3, 30, 100, 0, 0, 0, 0);
    s.keihiSelected[1] = 2;
    s.SelectExpenses(false);
    Sell(1000, 1000);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    // 998,425 + 2,465 interest - 100 = 1,000,790: buying back at 999 costs 1,000,575.
    EXPECT_EQ(s.result.totalReceived, W(998'425));
    EXPECT_EQ(s.result.sellBreakEven, W(999));

    s.Reset();
    s.keihiSelected[1] = 0;
    s.SelectExpenses(false);
    Sell(1000, 1000);
    ASSERT_EQ(s.CalcSell(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.sellBreakEven, W(996));
}

TEST_F(Calc, SellPriceForProfit) {
    Buy(1000, 1000);
    s.targetProfit = W(1000);
    ASSERT_EQ(s.SellPriceForProfit(sample(), sample()), CalcOk);
    // At the break-even 1,004 the final profit is 765; at 1,005 it is 1,665.
    ExpectFigures(s.result, {1000, 1000, 1'000'000, 1500, 75, 1'001'575, 1004,  //
                             1005, 1000, 1'005'000, 1500, 75, 0, 1'003'425, 1001,  //
                             1'850, 0, 185, 1'665, 17});

    struct Case {
        std::int64_t target, price, final;
    };
    // 0 answers the break-even; 100,000 needs 1,115 (final 100,665; 1,114 gives 99,765).
    for (const Case c : {Case{0, 1004, 765}, Case{100'000, 1115, 100'665}}) {
        s.Reset();
        Buy(1000, 1000);
        s.targetProfit = W(c.target);
        ASSERT_EQ(s.SellPriceForProfit(sample(), sample()), CalcOk) << c.target;
        EXPECT_EQ(s.result.sellPrice, W(c.price)) << c.target;
        EXPECT_EQ(s.result.finalProfit, W(c.final)) << c.target;
    }
}

TEST_F(Calc, SellPriceForRate) {
    struct Case {
        std::int64_t rate, price, final, rateHundredths, sellBreakEven;
    };
    // 1 %: 1,014 gives 0.97, 1,015 gives 1.06. 100 %: big steps up, across the 2,000 boundary
    // onto the 5-yen grid; 2,115 gives 99.91, 2,120 gives 100.36.
    for (const Case c : {Case{1, 1015, 10'665, 106, 1011}, Case{100, 2120, 1'005'165, 10036, 2115}}) {
        s.Reset();
        Buy(1000, 1000);
        s.targetRate = W(c.rate);
        ASSERT_EQ(s.SellPriceForRate(sample(), sample()), CalcOk) << c.rate;
        EXPECT_EQ(s.result.sellPrice, W(c.price)) << c.rate;
        EXPECT_EQ(s.result.finalProfit, W(c.final)) << c.rate;
        EXPECT_EQ(s.result.profitRate, R(c.rateHundredths * 100)) << c.rate;
        EXPECT_EQ(s.result.sellBreakEven, W(c.sellBreakEven)) << c.rate;
        EXPECT_EQ(s.result.buyBreakEven, W(1004)) << c.rate;
    }
}

TEST_F(Calc, BuyPriceForGain) {
    s.buyPageFlag = false;  // the sell page: a cash trade carries no profit tax
    Sell(1000, 1000);
    s.targetProfit = W(1000);
    ASSERT_EQ(s.BuyPriceForGain(sample(), sample()), CalcOk);
    // Buying back at the break-even 996 gains 850, at 995 it gains 1,850.
    ExpectFigures(s.result, {995, 1000, 995'000, 1500, 75, 996'575, 999,  //
                             1000, 1000, 1'000'000, 1500, 75, 0, 998'425, 996,  //
                             1'850, 0, 0, 1'850, 19});

    // A gain of 990,000 needs a buy-back at 6 yen (7,575 paid).
    s.Reset();
    Sell(1000, 1000);
    s.targetProfit = W(990'000);
    ASSERT_EQ(s.BuyPriceForGain(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.buyPrice, W(6));
    EXPECT_EQ(s.result.finalProfit, W(990'850));
    EXPECT_EQ(s.result.buyBreakEven, W(10));
}

TEST_F(Calc, BuyPriceForGainThatCannotBeReached) {
    s.buyPageFlag = false;
    // At or above the total received there is nothing to search; just below it the search runs
    // down to a price of 0.
    for (std::int64_t target : {998'425LL, 1'000'000LL, 997'000LL}) {
        s.Reset();
        Sell(1000, 1000);
        s.targetProfit = W(target);
        ASSERT_EQ(s.BuyPriceForGain(sample(), sample()), CalcOk) << target;
        // The searched buy price ends at 0 (the last leg computed may still show 1 yen).
        EXPECT_LE(std::min(s.buy.price.raw, s.result.buyPrice.raw), 0) << target;
        EXPECT_EQ(s.result.totalReceived, W(998'425)) << target;
    }
}

TEST_F(Calc, BuyPriceForRate) {
    s.buyPageFlag = false;
    struct Case {
        std::int64_t rate, price, gain, rateHundredths, buyBreakEven;
    };
    // 1 %: 987 gives 9,850 on 988,575 = 0.9964 -> 1.00. 100 %: big steps down; 497 gives
    // 100.26, 498 gives 99.85.
    for (const Case c : {Case{1, 987, 9'850, 100, 991}, Case{100, 497, 499'850, 10026, 501}}) {
        s.Reset();
        Sell(1000, 1000);
        s.targetRate = W(c.rate);
        ASSERT_EQ(s.BuyPriceForRate(sample(), sample()), CalcOk) << c.rate;
        EXPECT_EQ(s.result.buyPrice, W(c.price)) << c.rate;
        EXPECT_EQ(s.result.finalProfit, W(c.gain)) << c.rate;
        EXPECT_EQ(s.result.profitRate, R(c.rateHundredths * 100)) << c.rate;
        EXPECT_EQ(s.result.buyBreakEven, W(c.buyBreakEven)) << c.rate;
        EXPECT_EQ(s.result.sellBreakEven, W(996)) << c.rate;
    }
}

struct SearchError {
    const char* what;
    int search;  // 0 profit, 1 rate (buy page); 2 gain, 3 rate (sell page)
    std::int64_t price, shares, target;
    int table;  // 0 sample, 1 big, 2 big with a buy floor of 900,000 yen
    int code;
};

void PrintTo(const SearchError& c, std::ostream* os) { *os << c.what; }

class SearchErrors : public Calc, public ::testing::WithParamInterface<SearchError> {};

TEST_P(SearchErrors, CarryTheLegsOffset) {
    const SearchError& c = GetParam();
    s.tables.Slot(1) = BigTable();
    s.tables.Slot(2) = FloorTable(900'000);
    const MarginTable& t = s.tables.Slot(c.table);
    int code = -1;
    switch (c.search) {
        case 0:
            Buy(c.price, c.shares);
            s.targetProfit = W(c.target);
            code = s.SellPriceForProfit(t, t);
            break;
        case 1:
            Buy(c.price, c.shares);
            s.targetRate = W(c.target);
            code = s.SellPriceForRate(t, t);
            break;
        case 2:
            s.buyPageFlag = false;
            Sell(c.price, c.shares);
            s.targetProfit = W(c.target);
            code = s.BuyPriceForGain(t, t);
            break;
        case 3:
            s.buyPageFlag = false;
            Sell(c.price, c.shares);
            s.targetRate = W(c.target);
            code = s.BuyPriceForRate(t, t);
            break;
    }
    EXPECT_EQ(code, c.code) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SearchErrors,
    ::testing::Values(
        SearchError{"first buy leg off the ticks", 0, 100'000'001, 1, 1000, 0, 101},
        SearchError{"first buy leg's break-even off the table", 0, 30'000, 1000, 1000, 0, 112},
        // 100 shares: the sell leg at 100,000,000 reaches 10,000,000,000
        SearchError{"sell leg reaches the limit", 0, 99'000'000, 100, 99'999'999, 1, 203},
        // a big step from 100,000,000 finds no tick: the step's own code
        SearchError{"big step off the ticks", 0, 90'000'000, 1, 99'999'999, 1, 1},
        // small steps: from 100,000,000 the step of 1,000,000 lands where the sell leg has no tick
        SearchError{"sell leg off the ticks", 1, 90'000'000, 1, 40, 1, 201},
        SearchError{"first sell leg off the table", 2, 30'050, 1000, 1000, 0, 202},
        SearchError{"first sell leg off the ticks", 3, 100'000'001, 1, 1, 0, 201},
        // small steps down reach a buy amount of 900,000, below the buy side's first bracket
        SearchError{"buy leg in the loop off the table", 3, 1000, 1000, 40, 2, 102}));

TEST_F(Calc, FirstSellLegBreakEvenError) {
    s.buyPageFlag = false;
    s.tables.Slot(1) = BigTable();
    Sell(31'000, 1000);
    s.targetProfit = W(1000);
    // sold through the big table, bought back through the sample: 31,000,000 has no bracket
    EXPECT_EQ(s.BuyPriceForGain(s.tables.Slot(1), sample()), 212);
}

struct YieldCounter {
    int calls = 0;
    static void Hook(void* context) { ++static_cast<YieldCounter*>(context)->calls; }
};

TEST_F(Calc, YieldEveryThousandAndSecondRound) {
    // Tick check off, 1 share at 1,000 with no buy costs: the break-even climbs one yen a round
    // and needs sell commission + 1 rounds.
    struct Case {
        std::int64_t sellCommission;
        int yields;
    };
    for (const Case c : {Case{1000, 0}, Case{1001, 1}, Case{2002, 1}, Case{2003, 2}, Case{10'500, 10}}) {
        s.Reset();
        s.walk = Walk::RoundByRound;  // the rule is counted on the reference walk
        s.SetTickCheck(false);
        YieldCounter counter;
        s.SetYieldHook(&YieldCounter::Hook, &counter);
        Buy(1000, 1);
        s.overrideBuyCommission = W(0);
        s.overrideBuyCommissionTax = W(0);
        s.overrideSellCommission = W(c.sellCommission);
        s.overrideSellCommissionTax = W(0);
        ASSERT_EQ(s.CalcBuy(sample(), sample()), CalcOk);
        EXPECT_EQ(s.result.buyBreakEven, W(1001 + c.sellCommission));
        EXPECT_EQ(counter.calls, c.yields) << c.sellCommission;
    }
}

TEST_F(Calc, YieldDuringALongSearch) {
    // 10,000 paid, no costs, no tax: target 4,999 keeps the gap below 50 points, so the search
    // walks 10,001 .. 14,999 one yen a round: 4,999 rounds, a yield at every 1,002nd.
    s.walk = Walk::RoundByRound;
    s.SetTickCheck(false);
    s.tax.DontUse = 1;
    YieldCounter counter;
    s.SetYieldHook(&YieldCounter::Hook, &counter);
    Buy(10'000, 1);
    s.overrideBuyCommission = s.overrideBuyCommissionTax = W(0);
    s.overrideSellCommission = s.overrideSellCommissionTax = W(0);
    s.targetProfit = W(4'999);
    ASSERT_EQ(s.SellPriceForProfit(sample(), sample()), CalcOk);
    EXPECT_EQ(s.result.sellPrice, W(14'999));
    EXPECT_EQ(s.result.finalProfit, W(4'999));
    EXPECT_EQ(s.result.profitRate, R(499'900));
    EXPECT_EQ(counter.calls, 4);
}

}  // namespace
}  // namespace zavota
