// Consumption tax on commissions and the tax on a trade's profit as the increase of the year's
// tax, with earlier gains and losses of the year.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <tuple>

#include "core/CalcState.h"
#include "core/TaxSettings.h"
#include "YenTesting.h"
#include "core/Yen.h"

namespace zavota {

namespace {

struct ProfitCase {
    const char* what;
    std::int64_t yearGain;
    int calcEach;
    bool applies;
    std::int64_t net, tax, final;
};

void PrintTo(const ProfitCase& c, std::ostream* os) { *os << c.what; }

class ProfitTaxRule : public ::testing::TestWithParam<ProfitCase> {};

TEST_P(ProfitTaxRule, TaxesTheIncreaseOfTheYearsTax) {
    const ProfitCase& c = GetParam();
    TaxSettings t;
    t.YearGain = W(c.yearGain);
    t.CalcEach = c.calcEach;
    const TaxSettings::ProfitTax r = t.OnProfit(W(c.net), c.applies);
    EXPECT_EQ(r.tax, W(c.tax)) << c.what;
    EXPECT_EQ(r.final, W(c.final)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfitTaxRule,
    ::testing::Values(
        ProfitCase{"plain", 0, 0, true, 96'850, 9'685, 87'165},
        // 6,779.5 and 2,905.5 truncated one by one
        ProfitCase{"each", 0, 1, true, 96'850, 9'684, 87'166},
        ProfitCase{"loss gives back part of the year's tax", 1'000'000, 0, true, -300'000, -30'000, -270'000},
        ProfitCase{"loss gives back at most the year's tax", 100'000, 0, true, -300'000, -10'000, -290'000},
        ProfitCase{"earlier loss absorbs the gain", -500'000, 0, true, 300'000, 0, 300'000},
        ProfitCase{"earlier loss partly absorbs", -500'000, 0, true, 800'000, 30'000, 770'000},
        ProfitCase{"no gain no tax", 0, 0, true, 0, 0, 0},
        ProfitCase{"loss without earlier gain", 0, 0, true, -12'345, 0, -12'345},
        ProfitCase{"does not apply", 1'000'000, 0, false, -300'000, 0, -300'000},
        ProfitCase{"does not apply to a gain", 0, 0, false, 96'850, 0, 96'850},
        // A year's gain near the limit: its tax needs more than 64 bits when scaled.
        ProfitCase{"huge year gain", 9'999'999'999, 0, true, 0, 0, 0},
        ProfitCase{"huge year gain plus", 9'999'999'900, 0, true, 100, 10, 90}));

TEST(TaxSettings, TaxOfTruncatesToWholeYen) {
    TaxSettings t;
    EXPECT_EQ(t.TaxOf(W(96'859)), W(9'685));
    EXPECT_EQ(t.TaxOf(W(9'999'999'999)), W(999'999'999));
    t.ShinSyotoku = R(153100);  // 15.31 % + 5 %: 12,345 × 20.31 % = 2,507.2695
    t.ShinJyuumin = W(5);
    EXPECT_EQ(t.TaxOf(W(12'345)), W(2'507));
    EXPECT_EQ(t.TaxOf(W(100'000)), W(20'310));
    t.CalcEach = 1;  // 1,890.0195 + 617.25
    EXPECT_EQ(t.TaxOf(W(12'345)), W(2'507));
    EXPECT_EQ(t.TaxOf(W(99)), W(19));  // 15.1569 + 4.95 -> 15 + 4
    t.CalcEach = 0;
    EXPECT_EQ(t.TaxOf(W(99)), W(20));  // 20.1069
}

struct ConsumptionCase {
    std::int64_t commission;
    Yen rate;
    std::int64_t tax;
};

class ConsumptionTaxRule : public ::testing::TestWithParam<ConsumptionCase> {};

TEST_P(ConsumptionTaxRule, TruncatesToWholeYen) {
    const ConsumptionCase& c = GetParam();
    EXPECT_EQ(TaxSettings::ConsumptionTax(W(c.commission), c.rate), W(c.tax)) << c.commission;
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsumptionTaxRule,
                         ::testing::Values(ConsumptionCase{1500, W(5), 75}, ConsumptionCase{1234, W(5), 61},
                                           ConsumptionCase{1235, W(8), 98}, ConsumptionCase{1999, W(10), 199},
                                           ConsumptionCase{0, W(5), 0}, ConsumptionCase{450, W(5), 22},
                                           ConsumptionCase{1000, R(12500), 12}));

// Today's rules replace the four rates and the listed steps only: the user's other tax
// choices, the tick check and the OTC table stay.
TEST(TaxSettings, TodaysRulesChangeOnlyTheRatesAndTheListedSteps) {
    CalcState state;
    state.tax.DontUse = state.tax.CalcEach = 1;
    state.tax.YearGain = W(-500000);
    state.SetTickCheck(false);
    state.otcTicks.rows[0].tick = W(2);
    TaxSettings expected = state.tax;
    expected.KaiS = expected.UriS = W(10);
    expected.ShinSyotoku = R(153150);
    expected.ShinJyuumin = W(5);
    const UnitTable otc = state.otcTicks;
    state.UseTodaysRules();
    const TaxSettings& t = state.tax;
    EXPECT_EQ(std::tie(t.KaiS, t.UriS, t.ShinSyotoku, t.ShinJyuumin, t.DontUse, t.CalcEach, t.YearGain),
              std::tie(expected.KaiS, expected.UriS, expected.ShinSyotoku, expected.ShinJyuumin, expected.DontUse,
                       expected.CalcEach, expected.YearGain));
    EXPECT_EQ(state.otcTicks, otc);
    EXPECT_EQ(state.listedTicks.DontUse, 1);
    EXPECT_EQ(state.listedTicks.TickOfRows(W(2512), true), W(1));
    EXPECT_EQ(state.listedTicks.TickOfRows(W(50000000), false), W(50000));
}

TEST(TaxSettings, ResetKeepsOnlyDontUse) {
    for (int dontUse : {0, 1}) {
        TaxSettings t;
        t.KaiS = W(8);
        t.UriS = W(10);
        t.ShinSyotoku = R(153100);
        t.ShinJyuumin = W(4);
        t.YearGain = W(-123);
        t.CalcEach = 1;
        t.DontUse = dontUse;
        t.ResetKeepingDontUse();
        TaxSettings expected;
        expected.DontUse = dontUse;
        EXPECT_EQ(t.KaiS, expected.KaiS);
        EXPECT_EQ(t.UriS, expected.UriS);
        EXPECT_EQ(t.ShinSyotoku, expected.ShinSyotoku);
        EXPECT_EQ(t.ShinJyuumin, expected.ShinJyuumin);
        EXPECT_EQ(t.YearGain, expected.YearGain);
        EXPECT_EQ(t.CalcEach, expected.CalcEach);
        EXPECT_EQ(t.DontUse, dontUse);
    }
}

struct CheckCase {
    double value;
    int message;
};

TEST(TaxRateCheck, ConvertedRateInRangeWithItsDecimals) {
    struct RateCase {
        double typed;
        int decimals;
        int message;
    } cases[] = {
        // The range message names the decimals the field takes: 231 for two, 232 for three.
        {0, 2, 0},        {99.99, 2, 0},     {100, 2, 231},      {-0.01, 2, 231},   {150, 3, 232},
        {5.005, 2, 112},  {2.555, 2, 112},   {99.999, 2, 112},   {100.555, 2, 231},
        {5.00001, 2, 0},  // becomes 5.0000 when converted
        {99.99999, 3, 232},  // becomes 100.0000
        {-0.001, 3, 232}, {100, 3, 232},
        {15.315, 3, 0},   {99.999, 3, 0},    {15.3155, 3, 115},  {0.0001, 3, 115},
    };
    for (const RateCase& c : cases)
        EXPECT_EQ(CheckTaxRate(Yen::FromDouble(c.typed), c.decimals), c.message) << c.typed << " " << c.decimals;
}

TEST(TaxRateCheck, StoredRateShownWithoutRounding) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {50000, "5.00"}, {153150, "15.315"}, {153100, "15.31"}, {50001, "5.0001"}, {0, "0.00"}, {1234500, "123.45"}};
    for (const auto& [raw, text] : cases) EXPECT_EQ(TaxRateText(Yen::FromRaw(raw)), text) << raw;
}

class YearGainCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(YearGainCheck, WithinTenBillion) {
    EXPECT_EQ(CheckYearGain(GetParam().value), GetParam().message) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Cases, YearGainCheck,
                         ::testing::Values(CheckCase{0, 0}, CheckCase{9'999'999'999.0, 0},
                                           CheckCase{-9'999'999'999.0, 0}, CheckCase{10'000'000'000.0, 237},
                                           CheckCase{-10'000'000'000.0, 238}, CheckCase{1e15, 237},
                                           CheckCase{-1e15, 238}));

}  // namespace
}  // namespace zavota
