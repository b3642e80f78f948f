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

int CheckTaxRate(double value) {
    if (!std::isfinite(value) || value < 0 || value >= 100) return 231;
    if (!AtMostTwoDecimals(value)) return 112;
    return 0;
}

int CheckYearGain(double value) {
    if (std::isnan(value)) return 237;
    if (value < -9999999999.0) return 238;
    if (value > 9999999999.0) return 237;
    return 0;
}

}  // namespace zavota
