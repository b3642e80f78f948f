#include "core/KeihiSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zavota {
namespace {

using F = KeihiField;

TEST(KeihiSetTest, CheckField) {
    struct Case {
        KeihiField field;
        const char* text;
        int message;
        double value;  // also reported when refused, except for text that does not parse
    };
    const Case cases[] = {
        // Empty means 0, for every field.
        {F::RateK, "", 0, 0},
        {F::Other, "  \t", 0, 0},
        // Text that is not a number, including a lone sign the change check lets stand.
        {F::RateK, "+", 200, 0},
        {F::Other, "-", 200, 0},
        {F::Kanri, "1,000", 200, 0},
        {F::Hibu, "abc", 200, 0},
        // Rates: range first, then at most two decimals.
        {F::RateK, "3", 0, 3},
        {F::RateU, "2.55", 0, 2.55},
        {F::RateK, "0.01", 0, 0.01},
        {F::RateK, "99.99", 0, 99.99},
        {F::RateU, " 1.10 ", 0, 1.1},
        {F::RateK, "2.555", 112, 2.555},
        {F::RateU, "99.995", 112, 99.995},
        {F::RateK, "0.001", 112, 0.001},
        {F::RateK, "2.00001", 112, 2.00001},  // beyond the four decimals of the fixed point
        {F::RateK, "100", 281, 100},
        {F::RateU, "-0.01", 281, -0.01},
        {F::RateK, "150.555", 281, 150.555},
        // Days: 0 to 365, whole.
        {F::DaysK, "0", 0, 0},
        {F::DaysU, "365", 0, 365},
        {F::DaysK, "30.0", 0, 30},
        {F::DaysK, "366", 282, 366},
        {F::DaysU, "-1", 282, -1},
        {F::DaysK, "400.5", 282, 400.5},
        {F::DaysK, "1.5", 101, 1.5},
        {F::DaysU, "7.00001", 101, 7.00001},
        // The four fees: 0 to 99,999,999, whole.
        {F::Kanri, "0", 0, 0},
        {F::Meigi, "99999999", 0, 99999999},
        {F::Haitou, "+500", 0, 500},
        {F::Hibu, "-1", 218, -1},
        {F::Kanri, "-0.5", 218, -0.5},
        {F::Meigi, "100000000", 233, 100000000},
        {F::Haitou, "12.5", 101, 12.5},
        {F::Hibu, "99999999.5", 101, 99999999.5},
        // Other: -99,999,999 to 99,999,999, whole.
        {F::Other, "-99999999", 0, -99999999},
        {F::Other, "99999999", 0, 99999999},
        {F::Other, "-100000000", 283, -100000000},
        {F::Other, "100000000", 233, 100000000},
        {F::Other, "-1.5", 101, -1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(KeihiFieldControl(c.field)) + " \"" + c.text + "\"");
        const KeihiFieldCheck check = CheckKeihiField(c.field, c.text);
        EXPECT_EQ(check.message, c.message);
        EXPECT_EQ(check.value, c.value);
    }
}

TEST(KeihiSetTest, NegativeZeroIsStoredAsZero) {
    for (const KeihiField field : {F::RateK, F::DaysU, F::Kanri, F::Other}) {
        const KeihiFieldCheck check = CheckKeihiField(field, "-0");
        EXPECT_EQ(check.message, 0);
        EXPECT_FALSE(std::signbit(check.value));
    }
}

TEST(KeihiSetTest, ControlNamesAndValuesMatchTheirFields) {
    struct Case {
        KeihiField field;
        const char* control;
        double KeihiSet::*member;
    };
    const Case cases[] = {
        {F::RateK, "edtNenriK", &KeihiSet::RateK},   {F::RateU, "edtNenriU", &KeihiSet::RateU},
        {F::DaysK, "edtNenri2K", &KeihiSet::DaysK},  {F::DaysU, "edtNenri2U", &KeihiSet::DaysU},
        {F::Kanri, "edtKanri", &KeihiSet::Kanri},    {F::Meigi, "edtMeigi", &KeihiSet::Meigi},
        {F::Haitou, "edtHaitou", &KeihiSet::Haitou}, {F::Hibu, "edtHibu", &KeihiSet::Hibu},
        {F::Other, "edtOther", &KeihiSet::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(KeihiFieldControl(c.field), c.control);

        KeihiSet set;
        KeihiValue(set, c.field) = 42;
        KeihiSet expected;
        expected.*c.member = 42;
        EXPECT_EQ(set, expected);
    }
}

}  // namespace
}  // namespace zavota
