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

void TaxSettings::LoadTodaysRates() {
    KaiS = Yen::FromInt(10);
    UriS = Yen::FromInt(10);
    ShinSyotoku = Yen::FromDouble(15.315);
    ShinJyuumin = Yen::FromInt(5);
}

int CheckTaxRate(Yen rate, int decimals) {
    if (rate < Yen{} || rate >= kHundred) return decimals == 2 ? 231 : 232;
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
