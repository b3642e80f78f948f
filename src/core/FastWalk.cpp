// The jumps of the fast walk. Between two prices where nothing but the price changes (one tick
// band, one commission bracket of the leg that moves), every figure a round tests moves with the
// price in one direction, so its values at the two ends bound it everywhere between. When those
// bounds show that no round in a stretch can end the walk, fail, or take another kind of step,
// the whole stretch is taken at once; the rounds that can end it are always run one by one.
#include <algorithm>
#include <limits>
#include <numeric>

#include "CalcState.h"
#include "DecimalCalc.h"

namespace zavota {

namespace {
using D = DecimalCalc;
__extension__ typedef __int128 Wide;
constexpr Yen kZero{};
constexpr Yen kBigStep = Yen::FromInt(50);
constexpr Yen kBigGap = Yen::FromInt(50);
constexpr std::int64_t kNoBound = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLongestStride = std::int64_t{1} << 40;
constexpr int kPauseAfterFailure = 8;

Yen Plus(Yen a, Yen b) { return D::Add(a, b, 0, RoundNone); }
Yen Minus(Yen a, Yen b) { return D::Sub(a, b, 0, RoundNone); }
Yen Low(Yen a, Yen b) { return a < b ? a : b; }
Yen High(Yen a, Yen b) { return a < b ? b : a; }

// v / d rounded down and up, for d > 0; the results fit 64 bits where they are used.
std::int64_t FloorDiv(Wide v, Wide d) { return static_cast<std::int64_t>(v >= 0 ? v / d : -((-v + d - 1) / d)); }
std::int64_t CeilDiv(Wide v, Wide d) { return static_cast<std::int64_t>(v >= 0 ? (v + d - 1) / d : -(-v / d)); }

// Steps of `step` from p that stay strictly inside (low, high) (bounds at the int64 limits mean none).
std::int64_t StepsInside(Yen p, Yen step, bool up, Yen low, Yen high) {
    const Wide room = up ? Wide{high.raw} - p.raw - 1 : Wide{p.raw} - low.raw - 1;
    if (room < 0) return 0;
    const Wide n = room / step.raw;
    return n > kNoBound ? kNoBound : static_cast<std::int64_t>(n);
}

// Steps from p over which the amount Mul(price, perPrice) stays in the bracket run (low, high].
std::int64_t StepsInBracket(Yen p, Yen step, bool up, Yen perPrice, MarginTable::Run run) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const Wide perStep = Wide{step.raw} * perPrice.raw;
    const Wide now = Wide{p.raw} * perPrice.raw;  // the amount times 10,000, before truncation
    Wide n;
    if (up) {
        if (run.high.raw == kNoBound) return kNoBound;
        n = ((Wide{run.high.raw} + 1) * Yen::kScale - 1 - now) / perStep;
    } else {
        if (run.low.raw == kMin) return kNoBound;
        n = (now - (Wide{run.low.raw} + 1) * Yen::kScale) / perStep;
    }
    if (n < 0) return 0;
    return n > kNoBound ? kNoBound : static_cast<std::int64_t>(n);
}
}  // namespace

bool CalcState::LegSpan(Side side, Yen lo, Yen hi, Yen shares, const MarginTable& table, Span* total,
                        Span* amount) const {
    const bool buying = side == Side::Buy;
    const TradeLeg& leg = buying ? buy : sell;
    if (AmountAtLimit(hi, shares)) return false;
    LegFigures a, b;
    if (PriceLeg(side, lo, shares, table, &a) != CalcOk || PriceLeg(side, hi, shares, table, &b) != CalcOk)
        return false;
    if ((buying ? overrideBuyCommission : overrideSellCommission) == kNoOverride) {
        const Yen perPrice = leg.mini ? leg.unit : shares;
        const Yen from = D::Mul(lo, perPrice, 0, RoundNone);
        if (D::Mul(hi, perPrice, 0, RoundNone) > table.BracketRun(side, from).high) return false;
    }
    // Amount rises with the price; commission and its tax move one way inside the bracket, so
    // the ends bound them; totals are sums and differences of the three.
    *amount = {a.amount, b.amount};
    const Span fee{Low(a.commission, b.commission), High(a.commission, b.commission)};
    const Span tax{Low(a.commissionTax, b.commissionTax), High(a.commissionTax, b.commissionTax)};
    if (buying) {
        *total = {Plus(Plus(a.amount, fee.lo), tax.lo), Plus(Plus(b.amount, fee.hi), tax.hi)};
    } else {
        *total = {Minus(a.amount, Plus(Plus(fee.hi, tax.hi), kZero)), Minus(b.amount, Plus(Plus(fee.lo, tax.lo), kZero))};
    }
    // Those bounds widen with the stretch. Where the commission follows the amount in a straight
    // line (give or take its truncations), the total does too, and its ends bound it within a
    // few yen however long the stretch: a commission that eats the whole amount keeps the total
    // still, and the walk may then cross any distance at once.
    Span line;
    if (LineBounds(side, lo, hi, shares, table, a, b, &line)) {
        total->lo = High(total->lo, line.lo);
        total->hi = Low(total->hi, line.hi);
    }
    return true;
}

bool CalcState::LineBounds(Side side, Yen lo, Yen hi, Yen shares, const MarginTable& table, const LegFigures& a,
                           const LegFigures& b, Span* bounds) const {
    // The commission never turns back inside a bracket: equal at the ends, it is the same
    // throughout, and so is its tax.
    if (a.commission == b.commission) {
        *bounds = {Low(a.total, b.total), High(a.total, b.total)};
        return true;
    }
    const TradeLeg& leg = side == Side::Buy ? buy : sell;
    const Yen minimum = side == Side::Buy ? table.LowLimitK : table.LowLimitU;
    const Yen maximum = side == Side::Buy ? table.HighLimitK : table.HighLimitU;
    // A fee strictly between the limits was not moved by them, at either end and so nowhere
    // between, the fee before the limits being monotone too.
    auto free = [&](Yen fee) { return fee > minimum && (maximum == kZero || fee < maximum); };
    const Yen perPrice = leg.mini ? leg.unit : shares;
    const Yen fromAmount = D::Mul(lo, perPrice, 0, RoundNone);
    const MarginBracket* bracket = table.BracketOf(side, fromAmount);
    if (bracket == nullptr) return false;
    if (leg.mini && !table.MiniAfter(side)) {
        // The limits act on the full unit's commission, before the proration.
        if (!free(table.Commission(side, fromAmount)) ||
            !free(table.Commission(side, D::Mul(hi, perPrice, 0, RoundNone))))
            return false;
    } else if (!free(a.commission) || !free(b.commission)) {
        return false;
    }
    // How far each truncation to whole yen may fall from the line, in millionths of a yen. A
    // whole number times a rate of r millionths leaves fractions in steps of gcd(r, 10^6), so
    // the loss is at most 10^6 minus that step: none at all for a rate of 100 % or a tax of
    // 0, the cases where a stretch must be crossed at once. Where the prices or the addition
    // are not whole, up to a yen.
    const bool whole = lo.IsWhole() && hi.IsWhole() && perPrice.IsWhole() && shares.IsWhole();
    auto loss = [&](Yen rate) -> Wide {
        constexpr std::int64_t kMillion = 1'000'000;
        return whole ? kMillion - std::gcd(rate.raw < 0 ? -rate.raw : rate.raw, kMillion) : kMillion;
    };
    auto scaled = [](Wide micro, Yen percent) {  // micro x |percent| / 100, rounded up
        const Wide p = percent.raw < 0 ? -Wide{percent.raw} : Wide{percent.raw};
        return (micro * p + 1'000'000 - 1) / 1'000'000;
    };
    const Yen factor = D::Sub(Yen::FromInt(100), bracket->discount, 3, RoundNone);
    Wide fee = scaled(loss(bracket->rate), factor) + (bracket->addition.IsWhole() ? loss(factor) : 1'000'000);
    if (leg.mini) {
        const Yen ratio = D::Div(shares, leg.unit, 1, RoundDown);
        fee = scaled(fee, Yen{ratio.raw * 100}) + (whole ? Wide{1'000'000} - std::gcd(ratio.raw * 100, std::int64_t{1'000'000}) : 1'000'000);
    }
    const bool taxFixed = (side == Side::Buy ? overrideBuyCommissionTax : overrideSellCommissionTax) != kNoOverride;
    const Yen rate = side == Side::Buy ? tax.KaiS : tax.UriS;
    const Wide each = fee + (taxFixed ? 0 : scaled(fee, rate) + loss(rate));
    // Each end is within `each` of the line, and so is every price between: twice that, in
    // ten-thousandths of a yen, rounded up.
    const Yen slack{static_cast<std::int64_t>((2 * each + 99) / 100)};
    *bounds = {Minus(Low(a.total, b.total), slack), Plus(High(a.total, b.total), slack)};

    // Where nothing is negative every truncation only takes away, so the total keeps to one side
    // of the line, within the losses' sum on the other: the line itself, worked out from the
    // bracket at both ends, bounds it far closer than the ends' own figures.
    const Yen amountRate = bracket->rate;
    if (!whole || leg.mini || taxFixed || !bracket->addition.IsWhole() || amountRate < kZero || factor < kZero ||
        rate < kZero)
        return true;
    const Yen startSum = D::Add(D::Div(D::Mul(fromAmount, amountRate, 0, RoundNone), Yen::FromInt(100), 0, RoundDown),
                                bracket->addition, 0, RoundNone);
    if (startSum < kZero) return true;
    // In units of 10^-18 yen: the amount, and the commission with its tax on the line.
    constexpr Wide kE6 = 1'000'000, kE12 = kE6 * kE6, kE18 = kE12 * kE6, kPerRaw = kE18 / Yen::kScale;
    auto feeAndTax = [&](Yen p) {
        const Wide amount = Wide{D::Mul(p, perPrice, 0, RoundNone).Whole()};
        const Wide onLine = (amount * amountRate.raw + Wide{bracket->addition.raw} * 100) * factor.raw * (kE6 + rate.raw);
        return std::pair{amount * kE18, onLine};
    };
    const Wide losses = (scaled(loss(amountRate), factor) * kE6 + loss(factor) * kE6) * (kE6 + rate.raw) / kE6 * kE6 +
                        loss(rate) * kE12;
    const auto [amountLo, feeLo] = feeAndTax(lo);
    const auto [amountHi, feeHi] = feeAndTax(hi);
    Wide least, most;
    if (side == Side::Sell) {  // received: at or above the line, below it plus the losses
        least = std::min(amountLo - feeLo, amountHi - feeHi);
        most = std::max(amountLo - feeLo, amountHi - feeHi) + losses;
    } else {  // paid: at or below the line, above it less the losses
        least = std::min(amountLo + feeLo, amountHi + feeHi) - losses;
        most = std::max(amountLo + feeLo, amountHi + feeHi);
    }
    bounds->lo = High(bounds->lo, Yen{CeilDiv(least, kPerRaw)});
    bounds->hi = Low(bounds->hi, Yen{FloorDiv(most, kPerRaw)});
    return true;
}

bool CalcState::ProfitSpan(Span received, Span paid, Span buyAmount, Span sellAmount, Span* final,
                           Span* rate) const {
    // A total paid of 0 takes another rule; negative profit-tax rates would make the tax fall
    // as the profit rises.
    if (paid.lo <= kZero) return false;
    const bool taxed = ProfitTaxApplies();
    if (taxed && (tax.ShinSyotoku < kZero || tax.ShinJyuumin < kZero)) return false;
    const Span profit{D::Sub(received.lo, paid.hi, 0, RoundNone), D::Sub(received.hi, paid.lo, 0, RoundNone)};
    const Yen e1 = ExpensesOn(buyAmount.lo, sellAmount.lo);
    const Yen e2 = ExpensesOn(buyAmount.hi, sellAmount.hi);
    const Span net{Minus(profit.lo, High(e1, e2)), Minus(profit.hi, Low(e1, e2))};
    // The tax never falls as the net rises, so the least final profit pairs the least net with
    // the largest tax.
    *final = taxed ? Span{D::Sub(net.lo, tax.OnProfit(net.hi, true).tax, 0, RoundNone),
                          D::Sub(net.hi, tax.OnProfit(net.lo, true).tax, 0, RoundNone)}
                   : net;
    // Those bounds widen with the net's span. Where the year's total stays above 0, the tax is
    // the total times its rate less at most a yen a truncation, so the final profit keeps within
    // that of a straight line in the net: with rates of 100 % in all it hardly moves, and the
    // search may cross any distance at once.
    if (taxed && D::Add(net.lo, tax.YearGain, 0, RoundNone) > kZero) {
        constexpr Wide kPerRaw = 1'000'000;  // units of 10^-10 yen in one ten-thousandth
        const Yen rate = D::Add(tax.ShinSyotoku, tax.ShinJyuumin, 2, RoundNone);
        const Yen prior = tax.YearGain > kZero ? tax.TaxOf(tax.YearGain) : kZero;
        auto line = [&](Yen n) {
            return Wide{n.raw} * kPerRaw - (Wide{n.raw} + tax.YearGain.raw) * rate.raw + Wide{prior.raw} * kPerRaw;
        };
        const Wide losses = Wide{tax.CalcEach == 1 ? 2 : 1} * Yen::kScale * kPerRaw;
        const Wide least = std::min(line(net.lo), line(net.hi));
        const Wide most = std::max(line(net.lo), line(net.hi)) + losses;
        final->lo = High(final->lo, Yen{CeilDiv(least, kPerRaw)});
        final->hi = Low(final->hi, Yen{FloorDiv(most, kPerRaw)});
    }
    constexpr Yen kHundred = Yen::FromInt(100);
    auto rateOf = [&](Yen f, Yen p) { return D::Div(D::Mul(f, kHundred, 0, RoundNone), p, 2, RoundHalfUp); };
    const Yen corners[] = {rateOf(final->lo, paid.lo), rateOf(final->lo, paid.hi), rateOf(final->hi, paid.lo),
                           rateOf(final->hi, paid.hi)};
    *rate = {*std::min_element(std::begin(corners), std::end(corners)),
             *std::max_element(std::begin(corners), std::end(corners))};
    return true;
}

template <typename Holds>
bool CalcState::TryJump(Yen p, bool up, bool big, Side side, Yen shares, const MarginTable& table, JumpPace& pace,
                        Counter& counter, const Holds& holds, Yen* landing) {
    if (walk != Walk::Fast) return false;
    if (pace.pause > 0) {
        --pace.pause;
        return false;
    }
    UnitTable::Run run;
    if (p <= kZero || shares <= kZero || !Ticks().RunAround(p, &run)) return false;
    const Yen t = run.tick;
    // Whole ticks and a price on the grid: then every step inside the run is the same length.
    if (!t.IsWhole() || p.raw % t.raw != 0) return false;
    Yen step = t;
    if (big) {
        const Yen next = up ? Plus(GridFloor(Plus(p, kBigStep), t), t) : Minus(GridFloor(Minus(p, kBigStep), t), t);
        step = up ? Minus(next, p) : Minus(p, next);
    }
    const Yen floor = up ? run.low : High(run.low, kZero);
    std::int64_t k = std::min(pace.stride, StepsInside(p, step, up, floor, run.high));
    if (up) {
        // Stop short of the amount limit: the round that reaches it is run as it is, so a walk
        // that nothing ends before the limit gets there in a few jumps.
        constexpr Wide kLimit = Wide{10'000'000'000LL} * Yen::kScale * Yen::kScale;
        const Yen atLimit{static_cast<std::int64_t>(std::min<Wide>((kLimit + shares.raw - 1) / shares.raw, kNoBound))};
        const std::int64_t below = StepsInside(p, step, true, floor, atLimit);
        k = std::min(k, big ? below : below + 1);
    }
    const TradeLeg& leg = side == Side::Buy ? buy : sell;
    if ((side == Side::Buy ? overrideBuyCommission : overrideSellCommission) == kNoOverride) {
        const Yen perPrice = leg.mini ? leg.unit : shares;
        if (perPrice <= kZero) return false;
        k = std::min(k, StepsInBracket(p, step, up, perPrice,
                                       table.BracketRun(side, D::Mul(p, perPrice, 0, RoundNone))));
    }
    if (k < 2) return false;

    // Two legs priced: as much work as two rounds.
    YieldRound(counter);
    YieldRound(counter);
    // Small steps: the rounds skipped evaluate p + step .. p + (k - 1) step and the walk lands on
    // p + k step. Big steps also evaluate the landing, as the last step's trial.
    const Wide sign = up ? 1 : -1;
    const Yen near{static_cast<std::int64_t>(p.raw + sign * step.raw)};
    const Yen far{static_cast<std::int64_t>(p.raw + sign * Wide{step.raw} * (big ? k : k - 1))};
    Span total, amount;
    if (!LegSpan(side, Low(near, far), High(near, far), shares, table, &total, &amount) || !holds(total, amount)) {
        if (k <= 2) pace.pause = kPauseAfterFailure;
        pace.stride = std::max<std::int64_t>(2, k / 2);
        return false;
    }
    pace.stride = std::min(kLongestStride, pace.stride * 2);
    ++jumps_;
    *landing = Yen{static_cast<std::int64_t>(p.raw + sign * Wide{step.raw} * k)};
    return true;
}

bool CalcState::JumpBreakEvenUp(Yen* g, Yen shares, Yen target, const MarginTable& sellTable, JumpPace& pace,
                                Counter& counter) {
    auto neverAbove = [&](Span received, Span) { return received.hi <= target; };
    Yen landing;
    if (!TryJump(*g, true, false, Side::Sell, shares, sellTable, pace, counter, neverAbove, &landing))
        return false;
    // The walk's next round steps onto the landing and tests it.
    *g = Minus(landing, Ticks().Tick(*g, true));
    return true;
}

bool CalcState::JumpBreakEvenDown(Yen* c, Yen shares, Yen limit, const MarginTable& buyTable, JumpPace& pace,
                                  Counter& counter) {
    auto neverBelow = [&](Span paid, Span) { return paid.lo >= limit; };
    Yen landing;
    if (!TryJump(*c, false, false, Side::Buy, shares, buyTable, pace, counter, neverBelow, &landing))
        return false;
    *c = Plus(landing, Ticks().Tick(*c, false));
    return true;
}

bool CalcState::JumpSearch(bool sellMoves, const MarginTable& table, bool byRate, Yen goalRate, bool big,
                           JumpPace& pace, Counter& counter) {
    // The leg that does not move keeps its figures of the search's first leg.
    const Span paid{result.totalPaid, result.totalPaid};
    const Span received{result.totalReceived, result.totalReceived};
    const Span buyAmount{result.buyAmount, result.buyAmount};
    const Span sellAmount{result.sellAmount, result.sellAmount};
    auto keepsStepping = [&](Span total, Span amount) {
        Span final, rate;
        const bool bounded = sellMoves ? ProfitSpan(total, paid, buyAmount, amount, &final, &rate)
                                       : ProfitSpan(received, total, amount, sellAmount, &final, &rate);
        if (!bounded) return false;
        const bool neverMet = byRate ? rate.hi < targetRate : final.hi < targetProfit;
        if (!neverMet) return false;
        if (big) return D::Sub(goalRate, rate.hi, 0, RoundNone) >= kBigGap && rate.hi < goalRate;
        return D::Sub(goalRate, rate.lo, 0, RoundNone) < kBigGap;
    };
    Yen& price = sellMoves ? sell.price : buy.price;
    Yen landing;
    if (!TryJump(price, sellMoves, big, sellMoves ? Side::Sell : Side::Buy, buy.shares, table, pace, counter,
                 keepsStepping, &landing))
        return false;
    price = landing;
    return true;
}

}  // namespace zavota
