#include "CalcState.h"

#include <algorithm>

#include "DecimalCalc.h"

namespace zavota {

namespace {
using D = DecimalCalc;
constexpr Yen kZero{};
constexpr Yen kHundred = Yen::FromInt(100);
constexpr Yen kBigStep = Yen::FromInt(50);   // yen added per big step of a search
constexpr Yen kBigGap = Yen::FromInt(50);    // rate points short of the target for a big step
constexpr Yen kDaysPerYear = Yen::FromInt(365);
constexpr int kRoundsBetweenYields = 1000;

Yen Plus(Yen a, Yen b) { return D::Add(a, b, 0, RoundNone); }
Yen Minus(Yen a, Yen b) { return D::Sub(a, b, 0, RoundNone); }
// Some tick tables send a walk back and forth for ever: a step down lands in a band whose grid
// moves the price back up. Each round starts from a price that alone decides the rest of the
// walk, so a price seen twice at the start of a round means the walk never ends. Only the
// rounds that turn back can repeat one; Brent's doubling checkpoints find the repeat among them
// without keeping a list.
class LoopCheck {
public:
    explicit LoopCheck(bool down) : down_(down) {}
    bool Loops(Yen p) {
        const bool back = started_ && (down_ ? p >= last_ : p <= last_);
        const bool still = started_ && p == last_;
        started_ = true;
        last_ = p;
        if (!back) return false;
        if (still || p == checkpoint_) return true;
        if (++seen_ == power_) {
            checkpoint_ = p;
            power_ *= 2;
            seen_ = 0;
        }
        return false;
    }

private:
    bool down_;
    bool started_ = false;
    Yen last_, checkpoint_{-1};
    std::int64_t power_ = 1, seen_ = 0;
};

// Interest on an amount at a period rate in percent, truncated to whole yen.
template <bool kChecked = true>
Yen InterestOn(Yen amount, Yen rate) {
    return D::PercentDown<kChecked>(amount, rate);
}
}  // namespace

bool AmountAtLimit(Yen price, Yen shares) {
    __extension__ typedef __int128 Wide;  // price x shares scaled twice exceeds 64 bits
    constexpr Wide kLimitScaled = static_cast<Wide>(10000000000LL) * Yen::kScale * Yen::kScale;
    return static_cast<Wide>(price.raw) * shares.raw >= kLimitScaled;
}

CalcState::CalcState() { Reset(); }

void CalcState::Reset() {
    buy = {};
    sell = {};
    overrideBuyCommission = kNoOverride;
    overrideBuyCommissionTax = kNoOverride;
    overrideSellCommission = kNoOverride;
    overrideSellCommissionTax = kNoOverride;
    targetProfit = kZero;
    targetRate = kZero;
    result = {};
    buyTick = sellTick = kZero;
    buyEntered = sellEntered = kZero;
}

void CalcState::SetTickCheck(bool on) {
    listedTicks.DontUse = on ? 0 : 1;
    otcTicks.DontUse = on ? 0 : 1;
}

void CalcState::UseTodaysRules() {
    tax.LoadTodaysRates();
    listedTicks.LoadTodaysListedSteps();
}

bool CalcState::ProfitTaxApplies() const {
    if (tax.DontUse == 1) return false;
    return !(!buyPageFlag && TradeKind == TradeCash);
}

void CalcState::YieldRound(Counter& counter) {
    ++rounds_;
    if (counter.value <= kRoundsBetweenYields) {
        ++counter.value;
        return;
    }
    if (yieldHook_ != nullptr) yieldHook_(yieldContext_);
    counter.value = 0;
}

CalcState::LegTerms CalcState::LegTermsOf(Side side, Yen shares) const {
    const bool buying = side == Side::Buy;
    const TradeLeg& leg = buying ? buy : sell;
    return {side,
            shares,
            leg.mini,
            leg.unit,
            buying ? overrideBuyCommission : overrideSellCommission,
            buying ? overrideBuyCommissionTax : overrideSellCommissionTax,
            buying ? tax.KaiS : tax.UriS};
}

CalcState::ProfitTerms CalcState::ProfitTermsOf() const {
    return {tax, ProfitTaxApplies(), expensesActive, calcOnBuyPage, fixedExpenses, buyInterestRate, sellInterestRate};
}

template <bool kChecked>
[[gnu::always_inline]] inline int CalcState::PriceLegAt(const LegTerms& t, Yen p, const MarginTable& table,
                                                       LegFigures* out) {
    using A = DecimalCalc;
    out->amount = A::Mul<kChecked>(p, t.shares, 0, RoundNone);
    out->commission = t.feeOverride != kNoOverride
                          ? t.feeOverride
                          : OrderCommission<kChecked>(table, t.side, p, t.shares, t.mini, t.unit);
    if (out->commission < kZero) return ErrCommission;
    out->commissionTax = t.taxOverride != kNoOverride
                             ? t.taxOverride
                             : TaxSettings::ConsumptionTax<kChecked>(out->commission, t.consumption);
    // The sell side's further deduction is always 0.
    auto plus = [](Yen a, Yen b) { return A::Add<kChecked>(a, b, 0, RoundNone); };
    out->total = t.side == Side::Buy
                     ? plus(plus(out->amount, out->commission), out->commissionTax)
                     : A::Sub<kChecked>(out->amount, plus(plus(out->commission, out->commissionTax), kZero), 0,
                                        RoundNone);
    return CalcOk;
}
template int CalcState::PriceLegAt<true>(const LegTerms&, Yen, const MarginTable&, LegFigures*);

[[gnu::always_inline]] inline int CalcState::PlaceBuy() {
    buyEntered = buy.price;
    const Yen tick = Ticks().Tick(buy.price, true);
    if (tick < kZero) return ErrTick;
    buyTick = tick;
    buy.price = OntoGrid(buy.price, tick);
    if (AmountAtLimit(buy.price, buy.shares)) return ErrAmountLimit;
    return CalcOk;
}

[[gnu::always_inline]] inline int CalcState::PlaceSale() {
    sellEntered = sell.price;
    const Yen tick = Ticks().Tick(sell.price, false);
    if (tick < kZero) return ErrTick;
    sellTick = tick;
    // A sale price off the grid is moved up, like a purchase price.
    sell.price = OntoGrid(sell.price, tick);
    sell.shares = buy.shares;
    if (AmountAtLimit(sell.price, sell.shares)) return ErrAmountLimit;
    return CalcOk;
}

void CalcState::WriteBuy(const LegFigures& f) {
    result.buyPrice = buy.price;
    result.buyShares = buy.shares;
    result.buyAmount = f.amount;
    result.buyCommission = f.commission;
    result.buyCommissionTax = f.commissionTax;
    result.totalPaid = f.total;
}

void CalcState::WriteSale(const LegFigures& f) {
    result.sellPrice = sell.price;
    result.sellShares = sell.shares;
    result.sellAmount = f.amount;
    result.sellCommission = f.commission;
    result.sellCommissionTax = f.commissionTax;
    result.sellOtherDeduction = kZero;
    result.totalReceived = f.total;
}

int CalcState::BuyLeg(const MarginTable& buyTable) {
    if (const int e = PlaceBuy(); e != CalcOk) return e;
    LegFigures f;
    if (const int e = PriceLeg(Side::Buy, buy.price, buy.shares, buyTable, &f); e != CalcOk) return e;
    WriteBuy(f);
    return CalcOk;
}

int CalcState::SellLeg(const MarginTable& sellTable) {
    if (const int e = PlaceSale(); e != CalcOk) return e;
    LegFigures f;
    if (const int e = PriceLeg(Side::Sell, sell.price, sell.shares, sellTable, &f); e != CalcOk) return e;
    WriteSale(f);
    return CalcOk;
}

int CalcState::CalcBuy(const MarginTable& buyTable, const MarginTable& sellTable, Yen* tick) {
    const int e = BuyLeg(buyTable);
    if (tick != nullptr) *tick = buyTick;
    if (e != CalcOk) return e;
    Yen breakEven;
    const int be = BuyBreakEven(buy.price, buy.shares, result.totalPaid, sellTable, &breakEven);
    if (be != CalcOk) return kBreakEvenOffset + be;
    result.buyBreakEven = breakEven;
    return CalcOk;
}

int CalcState::CalcSell(const MarginTable& sellTable, const MarginTable& buyTable, Yen* tick) {
    const int e = SellLeg(sellTable);
    if (tick != nullptr) *tick = sellTick;
    if (e != CalcOk) return e;
    Yen breakEven;
    const int be = SellBreakEven(sell.price, sell.shares, result.totalReceived, buyTable, &breakEven);
    if (be != CalcOk) return kBreakEvenOffset + be;
    result.sellBreakEven = breakEven;
    return CalcOk;
}

int CalcState::BuyBreakEven(Yen price, Yen shares, Yen totalPaid, const MarginTable& sellTable, Yen* breakEven) {
    *breakEven = kZero;
    Yen target = totalPaid;
    if (expensesActive) {
        if (calcOnBuyPage) target = Plus(target, InterestOn(D::Mul(price, shares, 0, RoundNone), buyInterestRate));
        target = Plus(target, fixedExpenses);
    }
    Yen g = D::Div(target, shares, 0, RoundDown);
    if (g <= kZero) return CalcOk;

    const UnitTable& ticks = Ticks();
    Counter counter;
    JumpPace pace;
    LoopCheck loop(false);
    for (;;) {
        YieldRound(counter);
        if (loop.Loops(g)) return ErrTick;
        const Yen tick = ticks.Tick(g, true);
        if (tick < kZero) return ErrTick;
        g = Plus(GridFloor(g, tick), tick);
        if (AmountAtLimit(g, shares)) return ErrAmountLimit;
        LegFigures sale;
        if (const int e = PriceLeg(Side::Sell, g, shares, sellTable, &sale); e != CalcOk) return e;
        if (sale.total > target) break;
        if (walk == Walk::Fast) JumpBreakEvenUp(&g, shares, target, sellTable, pace, counter);
    }
    *breakEven = g;
    return CalcOk;
}

int CalcState::SellBreakEven(Yen price, Yen shares, Yen totalReceived, const MarginTable& buyTable,
                             Yen* breakEven) {
    *breakEven = kZero;
    Yen limit = totalReceived;
    if (expensesActive) {
        if (!calcOnBuyPage) limit = Plus(limit, InterestOn(D::Mul(price, shares, 0, RoundNone), sellInterestRate));
        limit = Minus(limit, fixedExpenses);
    }
    // Nothing costs less than nothing: no buy-back price can be found, whatever the table says.
    if (limit <= kZero) return CalcOk;

    const Yen g = D::Div(limit, shares, 0, RoundDown);
    const UnitTable& ticks = Ticks();
    Yen c = price;
    if (g >= price) {
        // The quotient is rarely a price the exchange quotes: start at the grid price at or
        // below it (the sale's own price is one, so never below that).
        const Yen tick = ticks.Tick(g, false);
        if (tick < kZero) return ErrTick;
        c = std::max(GridFloor(g, tick), price);
    }
    Counter counter;
    JumpPace pace;
    LoopCheck loop(true);
    for (bool first = true;; first = false) {
        YieldRound(counter);
        if (!first) {
            const Yen tick = ticks.Tick(c, false);
            if (tick < kZero) return ErrTick;
            c = Minus(GridFloor(c, tick), tick);
            if (c <= kZero) return CalcOk;
        }
        if (loop.Loops(c)) return ErrTick;
        if (AmountAtLimit(c, shares)) return ErrAmountLimit;
        LegFigures buyBack;
        if (const int e = PriceLeg(Side::Buy, c, shares, buyTable, &buyBack); e != CalcOk) return e;
        if (buyBack.total < limit) break;
        if (walk == Walk::Fast) JumpBreakEvenDown(&c, shares, limit, buyTable, pace, counter);
    }
    *breakEven = c;
    return CalcOk;
}

template <bool kChecked>
[[gnu::always_inline]] inline Yen CalcState::ExpensesAt(const ProfitTerms& t, Yen buyAmount, Yen sellAmount) {
    using A = DecimalCalc;
    if (!t.expenses) return kZero;
    if (t.onBuyPage) return A::Add<kChecked>(t.fixedExpenses, InterestOn<kChecked>(buyAmount, t.buyInterest), 0, RoundNone);
    return A::Sub<kChecked>(t.fixedExpenses, InterestOn<kChecked>(sellAmount, t.sellInterest), 0, RoundNone);
}
template Yen CalcState::ExpensesAt<true>(const ProfitTerms&, Yen, Yen);

template <bool kChecked>
[[gnu::always_inline]] inline CalcState::ProfitFigures CalcState::ProfitAt(const ProfitTerms& t, Yen received,
                                                                          Yen paid, Yen buyAmount, Yen sellAmount) {
    using A = DecimalCalc;
    ProfitFigures out{};
    out.otherExpenses = ExpensesAt<kChecked>(t, buyAmount, sellAmount);
    if (paid == kZero) return out;
    out.profit = A::Sub<kChecked>(received, paid, 0, RoundNone);
    const Yen net = A::Sub<kChecked>(out.profit, out.otherExpenses, 0, RoundNone);
    const TaxSettings::ProfitTax tax = t.tax.OnProfit<kChecked>(net, t.applies);
    out.profitTax = tax.tax;
    out.finalProfit = tax.final;
    out.profitRate = A::Div<kChecked>(A::Mul<kChecked>(tax.final, kHundred, 0, RoundNone), paid, 2, RoundHalfUp);
    return out;
}

void CalcState::Profit() {
    const ProfitFigures f =
        ProfitAt<true>(ProfitTermsOf(), result.totalReceived, result.totalPaid, result.buyAmount, result.sellAmount);
    result.otherExpenses = f.otherExpenses;
    result.profit = f.profit;
    result.profitTax = f.profitTax;
    result.finalProfit = f.finalProfit;
    result.profitRate = f.profitRate;
}

CalcState::RoundTerms CalcState::RoundTermsOf(Side moving, const MarginTable& table, Yen shares) const {
    RoundTerms t;
    t.leg = LegTermsOf(moving, shares);
    t.profit = ProfitTermsOf();
    t.otherTotal = moving == Side::Sell ? result.totalPaid : result.totalReceived;
    t.otherAmount = moving == Side::Sell ? result.buyAmount : result.sellAmount;
    t.uncheckedTo = UncheckedTo(t, table);
    return t;
}

template <Side kMoving, bool kChecked>
[[gnu::always_inline]] inline int CalcState::RoundAt(const RoundTerms& t, Yen p, const MarginTable& table,
                                                    ProfitFigures* out) {
    LegFigures f;
    if (const int e = PriceLegAt<kChecked>(t.leg, p, table, &f); e != CalcOk) return e;
    *out = kMoving == Side::Sell ? ProfitAt<kChecked>(t.profit, f.total, t.otherTotal, t.otherAmount, f.amount)
                                 : ProfitAt<kChecked>(t.profit, t.otherTotal, f.total, f.amount, t.otherAmount);
    return CalcOk;
}

// Inlined whole into the search loops, so that a round pays no calls.
template <Side kMoving>
[[gnu::always_inline]] inline int CalcState::SearchRound(const RoundTerms& t, Yen p, const MarginTable& table,
                                                        ProfitFigures* out) {
    if (p.raw >= 0 && p.raw <= t.uncheckedTo) return RoundAt<kMoving, false>(t, p, table, out);
    return RoundAt<kMoving, true>(t, p, table, out);
}

int CalcState::CheckMini(Yen shares, Yen unit) {
    const Yen ten = Yen::FromInt(10);
    if (unit <= kZero || unit > Yen::FromInt(10000000)) return 1;
    if (unit < ten) return 2;
    const Yen tenth = D::Div(unit, ten, 0, RoundDown);
    if (D::Mul(tenth, ten, 0, RoundNone) != unit) return 3;
    const Yen q = D::Div(shares, tenth, 0, RoundDown);
    if (D::Mul(q, tenth, 0, RoundNone) != shares) return 4;
    if (q > Yen::FromInt(9)) return 5;
    return 0;
}

void CalcState::SelectExpenses(bool buyPage) {
    calcOnBuyPage = buyPage;
    buyInterestRate = sellInterestRate = fixedExpenses = kZero;
    const int s = keihiSelected[buyPage ? 0 : 1];
    if (s >= 1 && s <= kKeihiSetCount) {
        const KeihiSet& k = keihiSets[s - 1];
        auto y = [](double v) { return Yen::FromDouble(v); };
        if (TradeKind != TradeCash) {
            buyInterestRate = D::Div(D::Mul(y(k.RateK), y(k.DaysK), 0, RoundNone), kDaysPerYear, 0, RoundNone);
            sellInterestRate = D::Div(D::Mul(y(k.RateU), y(k.DaysU), 0, RoundNone), kDaysPerYear, 0, RoundNone);
            fixedExpenses = Plus(Plus(y(k.Kanri), y(k.Meigi)), y(k.Other));
            // Dividend adjustment and reverse daily interest are credits to a buyer, costs to a seller.
            const Yen credits = Plus(y(k.Haitou), y(k.Hibu));
            fixedExpenses = buyPage ? Minus(fixedExpenses, credits) : Plus(fixedExpenses, credits);
        } else {
            fixedExpenses = y(k.Other);
        }
    }
    expensesActive = Plus(Plus(buyInterestRate, sellInterestRate), fixedExpenses) != kZero;
}

Yen CalcState::ExpenseTotal() { return ExpensesOn(result.buyAmount, result.sellAmount); }


// ---- the what-if searches

int CalcState::SearchSellPrice(const MarginTable& buyTable, const MarginTable& sellTable, bool byRate) {
    int e = CalcBuy(buyTable, sellTable);
    if (e != CalcOk) return kBuyLegOffset + e;
    if (!byRate && targetProfit < kZero) return CalcOk;

    sell.price = result.buyBreakEven;
    const Yen goalRate =
        byRate ? targetRate : D::Div(D::Mul(targetProfit, kHundred, 0, RoundNone), result.totalPaid, 0, RoundDown);
    const UnitTable& ticks = Ticks();
    auto smallStepUp = [&]() {
        const Yen tick = ticks.Tick(sell.price, true);
        if (tick < kZero) return static_cast<int>(ErrTick);
        sell.price = Plus(GridFloor(sell.price, tick), tick);
        return static_cast<int>(CalcOk);
    };
    // Each round's figures stay local; `result` gets the figures of the price the search ends at.
    const RoundTerms terms = RoundTermsOf(Side::Sell, sellTable, buy.shares);
    ProfitFigures round;
    auto sale = [&]() __attribute__((always_inline)) {
        int code = PlaceSale();
        if (code == CalcOk) code = SearchRound<Side::Sell>(terms, sell.price, sellTable, &round);
        return code;
    };
    Counter counter;
    JumpPace pace;
    LoopCheck loop(false);
    for (;;) {
        YieldRound(counter);
        if (loop.Loops(sell.price)) return ErrTick;
        e = sale();
        if (e != CalcOk) return kSellLegOffset + e;
        const bool met = byRate ? D::Compare(round.profitRate, targetRate, RelGreaterOrEqual)
                                : D::Compare(round.finalProfit, targetProfit, RelGreaterOrEqual);
        if (met) break;
        const Yen gap = D::Sub(goalRate, round.profitRate, 0, RoundNone);
        if (walk == Walk::Fast && JumpSearch(true, sellTable, byRate, goalRate, gap >= kBigGap, pace, counter))
            continue;
        if (gap >= kBigGap) {
            const Yen kept = sell.price;
            Yen p = Plus(kept, kBigStep);
            const Yen tick = ticks.Tick(p, true);
            if (tick < kZero) return ErrTick;
            sell.price = Plus(GridFloor(p, tick), tick);
            e = sale();
            if (e != CalcOk) {
                sell.price = kept;
                return kSellLegOffset + e;
            }
            if (round.profitRate < goalRate) continue;  // the big step stands
            sell.price = kept;
        }
        e = smallStepUp();
        if (e != CalcOk) return e;
    }
    LegFigures sold;
    PriceLeg(Side::Sell, sell.price, sell.shares, sellTable, &sold);  // the round just run: cannot fail
    WriteSale(sold);
    Profit();
    e = CalcSell(sellTable, buyTable);
    if (e != CalcOk) return kSellLegOffset + e;
    return CalcOk;
}

int CalcState::SearchBuyPrice(const MarginTable& sellTable, const MarginTable& buyTable, bool byRate) {
    buy.shares = sell.shares;
    int e = CalcSell(sellTable, buyTable);
    if (e != CalcOk) return kSellLegOffset + e;
    if (!byRate && targetProfit < kZero) return CalcOk;

    buy.price = result.sellBreakEven;
    Yen goalRate = targetRate;
    if (!byRate) {
        const Yen limit = D::Sub(result.totalReceived, targetProfit, 0, RoundNone);
        if (limit <= kZero) {
            buy.price = kZero;
            return CalcOk;
        }
        goalRate = D::Div(D::Mul(targetProfit, kHundred, 0, RoundNone), limit, 0, RoundDown);
    }
    const UnitTable& ticks = Ticks();
    auto smallStepDown = [&]() {
        const Yen tick = ticks.Tick(buy.price, false);
        if (tick < kZero) return static_cast<int>(ErrTick);
        buy.price = Minus(GridFloor(buy.price, tick), tick);
        return static_cast<int>(CalcOk);
    };
    const RoundTerms terms = RoundTermsOf(Side::Buy, buyTable, buy.shares);
    ProfitFigures round;
    auto purchase = [&]() __attribute__((always_inline)) {
        int code = PlaceBuy();
        if (code == CalcOk) code = SearchRound<Side::Buy>(terms, buy.price, buyTable, &round);
        return code;
    };
    Counter counter;
    JumpPace pace;
    LoopCheck loop(true);
    bool priced = false;  // whether the loop ended after a round that priced buy.price
    while (buy.price > kZero) {
        YieldRound(counter);
        if (loop.Loops(buy.price)) return ErrTick;
        e = purchase();
        if (e != CalcOk) return kBuyLegOffset + e;
        const bool met = byRate ? D::Compare(round.profitRate, targetRate, RelGreaterOrEqual)
                                : D::Compare(round.finalProfit, targetProfit, RelGreaterOrEqual);
        if (met) {
            priced = true;
            break;
        }
        const Yen gap = D::Sub(goalRate, round.profitRate, 0, RoundNone);
        if (walk == Walk::Fast && JumpSearch(false, buyTable, byRate, goalRate, gap >= kBigGap, pace, counter))
            continue;
        if (gap >= kBigGap) {
            const Yen kept = buy.price;
            Yen p = Minus(kept, kBigStep);
            if (p > kZero) {
                const Yen tick = ticks.Tick(p, false);
                if (tick < kZero) return ErrTick;
                p = Minus(GridFloor(p, tick), tick);
                if (p > kZero) {
                    buy.price = p;
                    e = purchase();
                    if (e != CalcOk) {
                        buy.price = kept;
                        return kSellLegOffset + e;
                    }
                    if (round.profitRate < goalRate) continue;  // the big step stands
                }
            }
            buy.price = kept;
        }
        e = smallStepDown();
        if (e != CalcOk) return e;
    }
    if (priced) {
        LegFigures bought;
        PriceLeg(Side::Buy, buy.price, buy.shares, buyTable, &bought);  // the round just run: cannot fail
        WriteBuy(bought);
        Profit();
    }
    if (buy.price > kZero) {
        e = CalcBuy(buyTable, sellTable);
        if (e != CalcOk) return kSellLegOffset + e;
    }
    return CalcOk;
}

int CalcState::SellPriceForProfit(const MarginTable& buyTable, const MarginTable& sellTable) {
    return SearchSellPrice(buyTable, sellTable, false);
}
int CalcState::SellPriceForRate(const MarginTable& buyTable, const MarginTable& sellTable) {
    return SearchSellPrice(buyTable, sellTable, true);
}
int CalcState::BuyPriceForGain(const MarginTable& sellTable, const MarginTable& buyTable) {
    return SearchBuyPrice(sellTable, buyTable, false);
}
int CalcState::BuyPriceForRate(const MarginTable& sellTable, const MarginTable& buyTable) {
    return SearchBuyPrice(sellTable, buyTable, true);
}

}  // namespace zavota
