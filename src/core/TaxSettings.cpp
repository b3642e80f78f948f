#include "TaxSettings.h"

#include <cmath>

#include "DecimalCalc.h"
#include "NumberText.h"

namespace zavota {

namespace {
constexpr Yen kHundred = Yen::FromInt(100);
}

void TaxSettings::ResetKeepingDontUse() {
    const int keep = DontUse;
    Reset();
    DontUse = keep;
}

Yen TaxSettings::ConsumptionTax(Yen commission, Yen rate) {
    return DecimalCalc::Div(DecimalCalc::Mul(commission, rate, 0, RoundNone), kHundred, 0, RoundDown);
}

Yen TaxSettings::TaxOf(Yen x) const {
    using D = DecimalCalc;
    if (CalcEach == 1) {
        const Yen income = D::Div(D::Mul(x, ShinSyotoku, 2, RoundNone), kHundred, 0, RoundDown);
        const Yen resident = D::Div(D::Mul(x, ShinJyuumin, 2, RoundNone), kHundred, 0, RoundDown);
        return D::Add(income, resident, 0, RoundNone);
    }
    const Yen rate = D::Add(ShinSyotoku, ShinJyuumin, 2, RoundNone);
    return D::Div(D::Mul(x, rate, 2, RoundNone), kHundred, 0, RoundDown);
}

TaxSettings::ProfitTax TaxSettings::OnProfit(Yen net, bool applies) const {
    using D = DecimalCalc;
    if (!applies) return {Yen{}, net};
    const Yen prior = YearGain > Yen{} ? TaxOf(YearGain) : Yen{};
    const Yen cumulative = D::Add(net, YearGain, 0, RoundNone);
    const Yen tax = cumulative > Yen{} ? D::Sub(TaxOf(cumulative), prior, 0, RoundNone)
                                       : D::Mul(prior, Yen::FromInt(-1), 0, RoundNone);
    return {tax, D::Sub(net, tax, 0, RoundNone)};
}

int CheckTaxRate(Yen rate, int decimals) {
    if (rate < Yen{} || rate >= kHundred) return 231;
    if (DecimalCalc::Mul(rate, Yen::FromInt(1), decimals, RoundDown) != rate) return decimals == 2 ? 112 : 115;
    return 0;
}

std::string TaxRateText(Yen rate) {
    int decimals = 2;
    while (decimals < 4 && DecimalCalc::Mul(rate, Yen::FromInt(1), decimals, RoundDown) != rate) ++decimals;
    return DecimalCalc::ToText(rate, decimals);
}

int CheckYearGain(double value) {
    if (std::isnan(value)) return 237;
    if (value < -9999999999.0) return 238;
    if (value > 9999999999.0) return 237;
    return 0;
}

}  // namespace zavota
