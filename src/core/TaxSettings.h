// Consumption tax on commissions and the tax on the profit of a trade.
#pragma once

#include <string>
#include <string_view>

#include "DecimalCalc.h"
#include "Yen.h"

namespace zavota {

struct TaxSettings {
    Yen KaiS = Yen::FromInt(5);
    Yen UriS = Yen::FromInt(5);
    Yen ShinSyotoku = Yen::FromInt(7);
    Yen ShinJyuumin = Yen::FromInt(3);
    int DontUse = 0;
    Yen YearGain;
    int CalcEach = 0;

    void Reset() { *this = TaxSettings{}; }
    // "初期値に戻す": every default except DontUse.
    void ResetKeepingDontUse();
    // Today's rates in place of the old defaults: consumption tax 10 % on each leg, income tax
    // 15.315 % (with the reconstruction surtax) and resident tax 5 %. Nothing else changes.
    void LoadTodaysRates();

    // The consumption tax on a commission at a rate, truncated to whole yen.
    template <bool kChecked = true>
    static Yen ConsumptionTax(Yen commission, Yen rate);
    // The tax on an amount at the profit-tax rates, truncated to whole yen.
    template <bool kChecked = true>
    Yen TaxOf(Yen x) const;

    struct ProfitTax {
        Yen tax;
        Yen final;
    };
    // The increase of the year's tax caused by `net`, and what remains of net.
    template <bool kChecked = true>
    ProfitTax OnProfit(Yen net, bool applies) const;
};

// The consumption-tax rates take two decimals; the profit-tax rates three, for today's 15.315 %
// income tax (with the reconstruction surtax).
inline constexpr int kConsumptionRateDecimals = 2;
inline constexpr int kProfitRateDecimals = 3;

// Checks of the options page, shared with the command line: 0 when accepted, else the
// catalogue number. A rate is checked as converted (times 10,000, rounded to the nearest
// unit): 0 <= x < 100 (231 for two decimals, 232 for three, so that the message names the
// range the field takes), at most `decimals` decimals (112 for two, 115 for three).
int CheckTaxRate(Yen rate, int decimals);
int CheckYearGain(double value);

// A stored rate as its field shows it: two decimals, more only where they are not 0, so that
// a value is never shown rounded.
std::string TaxRateText(Yen rate);

// The taxes are figured in every round of a search: inline, so that a round pays no calls.
template <bool kChecked>
[[gnu::always_inline]] inline Yen TaxSettings::ConsumptionTax(Yen commission, Yen rate) {
    using D = DecimalCalc;
    return D::PercentDown<kChecked>(commission, rate);
}

template <bool kChecked>
[[gnu::always_inline]] inline Yen TaxSettings::TaxOf(Yen x) const {
    using D = DecimalCalc;
    if (CalcEach == 1) {
        const Yen income = D::PercentDown<kChecked>(x, ShinSyotoku);
        const Yen resident = D::PercentDown<kChecked>(x, ShinJyuumin);
        return D::Add<kChecked>(income, resident, 0, RoundNone);
    }
    const Yen rate = D::Add<kChecked>(ShinSyotoku, ShinJyuumin, 2, RoundNone);
    return D::PercentDown<kChecked>(x, rate);
}

template <bool kChecked>
[[gnu::always_inline]] inline TaxSettings::ProfitTax TaxSettings::OnProfit(Yen net, bool applies) const {
    using D = DecimalCalc;
    if (!applies) return {Yen{}, net};
    const Yen prior = YearGain > Yen{} ? TaxOf<kChecked>(YearGain) : Yen{};
    const Yen cumulative = D::Add<kChecked>(net, YearGain, 0, RoundNone);
    const Yen tax = cumulative > Yen{} ? D::Sub<kChecked>(TaxOf<kChecked>(cumulative), prior, 0, RoundNone)
                                       : D::Mul<kChecked>(prior, Yen::FromInt(-1), 0, RoundNone);
    return {tax, D::Sub<kChecked>(net, tax, 0, RoundNone)};
}

}  // namespace zavota
