// The commits of the options pages that check typed text: the annual gain and the rates.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "YenTesting.h"
#include "core/OptionChecks.h"

namespace zavota {
namespace {

struct GainCase {
    const char* text;
    int message;
    Yen stored;  // YearGain afterwards (it starts at 77)
};

TEST(CommitYearGain, TakesOnlyWhatIsInRange) {
    const GainCase cases[] = {
        {"9999999999", 0, W(9'999'999'999)},
        {"10000000000", 237, W(77)},
        {"-9999999999", 0, W(-9'999'999'999)},
        {"-10000000000", 238, W(77)},
        {"", 0, W(0)},
        {"  ", 0, W(0)},
        {"-", 200, W(77)},  // passes the change rule, but is no number
        {"+", 200, W(77)},
        {"99999999999999999999999999", 237, W(77)},
        {"-1234", 0, W(-1234)},
    };
    for (const GainCase& c : cases) {
        SCOPED_TRACE(c.text);
        TaxSettings tax;
        tax.YearGain = W(77);
        const FieldCheck check = CommitYearGain(c.text, tax);
        EXPECT_EQ(check.message, c.message);
        EXPECT_STREQ(check.focus, "edtYearGain");
        EXPECT_EQ(tax.YearGain, c.stored);
    }
}

struct RateCase {
    std::array<std::string, 4> texts;
    int message;
    const char* focus;
    std::array<Yen, 4> stored;  // KaiS, UriS, ShinSyotoku, ShinJyuumin afterwards
};

TEST(CommitTaxRates, StopsAtTheFirstRefusedFieldInOrder) {
    const auto D = [](std::int64_t hundredths) { return Yen::FromRaw(hundredths * 100); };
    const RateCase cases[] = {
        // The profit-tax rates take a third decimal; the consumption-tax rates do not.
        {{"8", "10", "15.315", "5"}, 0, "", {D(800), D(1000), Yen::FromRaw(153150), D(500)}},
        {{"8", "10", "15.3155", "5"}, 115, "edtRate_F_E", {D(800), D(1000), D(700), D(300)}},
        {{"8", "10.125", "15.315", "5"}, 112, "edtRate_S_U", {D(800), D(500), D(700), D(300)}},
        {{"5.00001", "0", "", "99.9999"}, 115, "edtRate_F_R", {D(500), D(0), D(0), D(300)}},  // checked as converted
        {{"99.99", "0", "15.31", "5"}, 0, "", {D(9999), D(0), D(1531), D(500)}},
        {{"5.005", "100", "", ""}, 112, "edtRate_S_K", {D(500), D(500), D(700), D(300)}},
        {{"6", "100", "", ""}, 231, "edtRate_S_U", {D(600), D(500), D(700), D(300)}},
        {{"", "", "", ""}, 0, "", {D(0), D(0), D(0), D(0)}},
        {{"5", "5", "7", "+"}, 200, "edtRate_F_R", {D(500), D(500), D(700), D(300)}},
        {{"-1", "5", "7", "3"}, 231, "edtRate_S_K", {D(500), D(500), D(700), D(300)}},
        {{"10", "10", "100", "5"}, 232, "edtRate_F_E", {D(1000), D(1000), D(700), D(300)}},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.texts[0] + "/" + c.texts[1] + "/" + c.texts[2] + "/" + c.texts[3]);
        TaxSettings tax;
        const FieldCheck check = CommitTaxRates(c.texts, tax);
        EXPECT_EQ(check.message, c.message);
        EXPECT_STREQ(check.focus, c.focus);
        EXPECT_EQ(tax.KaiS, c.stored[0]);
        EXPECT_EQ(tax.UriS, c.stored[1]);
        EXPECT_EQ(tax.ShinSyotoku, c.stored[2]);
        EXPECT_EQ(tax.ShinJyuumin, c.stored[3]);
    }
}

}  // namespace
}  // namespace zavota
