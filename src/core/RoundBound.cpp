// Where a search round may skip its overflow checks. Every operation of a round is a sum, a
// difference, or a product followed by a division, of the moving leg's contract amount and
// figures that stay fixed for the whole search (rates, additions, limits, the other leg, the
// expenses, the year's gain). Bounding each magnitude from the largest amount gives a price
// below which every product and result stays under 2^62, where the unchecked arithmetic gives
// the checked results exactly.
#include <algorithm>
#include <cstdint>

#include "CalcState.h"

namespace zavota {

namespace {
__extension__ typedef __int128 Wide;
constexpr Wide kRoom = Wide{1} << 62;
constexpr Wide kScale = Yen::kScale;
constexpr Wide kPercent = 100 * Yen::kScale;  // the raw value of 100 % and of 100 yen
constexpr Wide kTradeLimit = Wide{10'000'000'000LL} * Yen::kScale;  // raw amounts stay below it

Wide Abs(Yen v) { return v.raw < 0 ? -Wide{v.raw} : Wide{v.raw}; }

// Magnitudes of the figures a round depends on, other than the moving amount.
struct Fixed {
    bool overrideFee = false, overrideTax = false;
    Wide fee = 0, tax = 0;          // the overrides
    Wide rate = 0, addition = 0, factor = 0, limit = 0;  // largest over the side's brackets
    Wide consumption = 0;
    bool expenses = false;
    Wide expenseBase = 0, interest = 0, otherAmount = 0;
    Wide otherTotal = 0;
    bool profitTax = false;
    Wide gain = 0, taxRate = 0;     // |S1| + |S2| + |S1 + S2| covers both ways of figuring
};

// |x * rate| / 100 %, after checking the product; -1 when it leaves the room.
Wide Percent(Wide x, Wide rate) {
    const Wide product = x * rate;
    return product >= kRoom ? -1 : product / kPercent + 1;
}

// Whether a round whose amount is at most `amount` (raw) keeps every figure below kRoom.
bool Fits(const Fixed& f, Wide amount) {
    auto over = [](Wide v) { return v < 0 || v >= kRoom; };
    if (over((amount + 1) * kScale)) return false;  // the price times the shares
    Wide fee = f.fee;
    if (!f.overrideFee) {
        const Wide rated = Percent(amount, f.rate);
        if (rated < 0) return false;
        const Wide sum = rated + f.addition;
        fee = Percent(sum, f.factor);
        if (over(sum) || fee < 0) return false;
        fee = std::max(fee, f.limit);
    }
    Wide tax = f.tax;
    if (!f.overrideTax) tax = Percent(fee, f.consumption);
    if (tax < 0) return false;
    const Wide total = amount + fee + tax;
    Wide expenses = 0;
    if (f.expenses) {
        const Wide interest = Percent(std::max(amount, f.otherAmount), f.interest);
        if (interest < 0) return false;
        expenses = f.expenseBase + interest;
    }
    const Wide net = total + f.otherTotal + expenses;
    if (over(net)) return false;
    Wide final = net;
    if (f.profitTax) {
        const Wide cumulative = net + f.gain;
        if (over(cumulative)) return false;
        const Wide now = Percent(cumulative, f.taxRate), prior = Percent(f.gain, f.taxRate);
        if (now < 0 || prior < 0 || over(prior * kScale)) return false;
        final = net + now + prior;
    }
    // The profit rate: the final profit times 100 %, then scaled once more to be divided.
    return !over(final) && !over(final * kPercent);
}
}  // namespace

std::int64_t CalcState::UncheckedTo(const RoundTerms& t, const MarginTable& table) const {
    const LegTerms& leg = t.leg;
    const bool buying = leg.side == Side::Buy;
    if (!uncheckedRounds || leg.mini || leg.shares.raw <= 0) return -1;

    Fixed f;
    f.overrideFee = leg.feeOverride != kNoOverride;
    f.fee = Abs(leg.feeOverride);
    f.overrideTax = leg.taxOverride != kNoOverride;
    f.tax = Abs(leg.taxOverride);
    const int n = buying ? table.ElementsK : table.ElementsU;
    const auto& brackets = buying ? table.bracketsK : table.bracketsU;
    for (int i = 0; i < std::clamp(n, 0, kMaxBrackets); ++i) {
        f.rate = std::max(f.rate, Abs(brackets[i].rate));
        f.addition = std::max(f.addition, Abs(brackets[i].addition));
        f.factor = std::max(f.factor, kPercent + Abs(brackets[i].discount));
    }
    f.limit = std::max(Abs(buying ? table.LowLimitK : table.LowLimitU), Abs(buying ? table.HighLimitK : table.HighLimitU));
    f.consumption = Abs(leg.consumption);
    const ProfitTerms& p = t.profit;
    f.expenses = p.expenses;
    f.expenseBase = Abs(p.fixedExpenses);
    f.interest = std::max(Abs(p.buyInterest), Abs(p.sellInterest));
    f.otherAmount = Abs(t.otherAmount);
    f.otherTotal = Abs(t.otherTotal);
    f.profitTax = p.applies;
    f.gain = Abs(p.tax.YearGain);
    const Wide sum = Wide{p.tax.ShinSyotoku.raw} + p.tax.ShinJyuumin.raw;
    f.taxRate = Abs(p.tax.ShinSyotoku) + Abs(p.tax.ShinJyuumin) + (sum < 0 ? -sum : sum);
    for (const Wide v : {f.fee, f.tax, f.addition, f.factor, f.limit, f.expenseBase, f.otherAmount, f.otherTotal, f.gain})
        if (v >= kRoom) return -1;

    // The largest amount that fits (every bound grows with the amount).
    Wide lo = -1, hi = kTradeLimit;
    if (Fits(f, hi)) {
        lo = hi;
    } else {
        while (hi - lo > 1) {
            const Wide mid = lo + (hi - lo) / 2;
            (Fits(f, mid) ? lo : hi) = mid;
        }
    }
    if (lo < 0) return -1;
    // Prices whose amount truncates to at most lo: p * shares < (lo + 1) * 10,000.
    return static_cast<std::int64_t>(((lo + 1) * kScale - 1) / leg.shares.raw);
}

}  // namespace zavota
