#include "core/KeihiSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

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

KeihiSet SampleSet() {
    KeihiSet s;
    s.RateK = 3;
    s.DaysK = 30;
    s.RateU = 1.15;
    s.DaysU = 365;
    s.Kanri = 1000;
    s.Meigi = 50;
    s.Haitou = 500;
    s.Hibu = 99999999;
    s.Other = -2500;
    s.Comment = "信用 6月";
    return s;
}

TEST(KeihiSetTest, ShownTexts) {
    const KeihiTexts texts = KeihiSetTexts(SampleSet());
    const std::array<std::string, kKeihiFieldCount> expected{
        "3.00", "1.15", "30", "365", "1000", "50", "500", "99999999", "-2500"};
    EXPECT_EQ(texts.numbers, expected);
    EXPECT_EQ(texts.comment, "信用 6月");

    // Values a damaged or hand-edited file may hold are shown rounded, half away from zero.
    KeihiSet odd;
    odd.RateK = 2.555;
    odd.DaysU = 1.5;
    odd.Other = -0.5;
    const KeihiTexts oddTexts = KeihiSetTexts(odd);
    EXPECT_EQ(oddTexts[F::RateK], "2.56");
    EXPECT_EQ(oddTexts[F::DaysU], "2");
    EXPECT_EQ(oddTexts[F::Other], "-1");
    EXPECT_EQ(oddTexts[F::Kanri], "0");
}

TEST(KeihiSetTest, ShownTextsApplyBackUnchanged) {
    KeihiSet set;
    EXPECT_TRUE(ApplyKeihiTexts(set, KeihiSetTexts(SampleSet())).Ok());
    EXPECT_EQ(set, SampleSet());
}

TEST(KeihiSetTest, ApplyStopsAtTheFirstRefusedFieldInOrder) {
    struct Case {
        const char* what;
        std::vector<std::pair<KeihiField, const char*>> edits;  // on the sample's texts
        int message;
        KeihiField field;
        std::vector<std::pair<KeihiField, double>> stored;  // values expected to differ from the start set
    };
    const Case cases[] = {
        {"every field valid", {{F::RateU, "0.5"}, {F::Other, ""}}, 0, F::RateK, {{F::RateU, 0.5}, {F::Other, 0}}},
        {"three decimals", {{F::RateK, "2.555"}}, 112, F::RateK, {{F::RateK, 2.555}}},
        {"rate of 100", {{F::RateU, "100"}}, 281, F::RateU, {{F::RateU, 100}}},
        {"366 days", {{F::DaysK, "366"}}, 282, F::DaysK, {{F::DaysK, 366}}},
        {"half a day", {{F::DaysU, "1.5"}}, 101, F::DaysU, {{F::DaysU, 1.5}}},
        {"negative fee", {{F::Meigi, "-1"}}, 218, F::Meigi, {{F::Meigi, -1}}},
        {"fee too large", {{F::Haitou, "100000000"}}, 233, F::Haitou, {{F::Haitou, 100000000}}},
        {"fractional fee", {{F::Hibu, "0.5"}}, 101, F::Hibu, {{F::Hibu, 0.5}}},
        {"other too small", {{F::Other, "-100000000"}}, 283, F::Other, {{F::Other, -100000000}}},
        {"other too large", {{F::Other, "100000000"}}, 233, F::Other, {{F::Other, 100000000}}},
        // A lone sign does not convert: refused, and the field keeps its old value.
        {"lone sign", {{F::Other, "-"}}, 200, F::Other, {}},
        {"empty after a refusal", {{F::RateK, ""}, {F::DaysK, "-1"}}, 282, F::DaysK, {{F::RateK, 0}, {F::DaysK, -1}}},
        // Applying goes rate, rate, days, days: the seller's rate is met before the buyer's days.
        {"order", {{F::DaysK, "400"}, {F::RateU, "100"}}, 281, F::RateU, {{F::RateU, 100}}},
        {"order of fees", {{F::Hibu, "-5"}, {F::Haitou, "1.5"}}, 101, F::Haitou, {{F::Haitou, 1.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeihiSet start;  // what the set held before
        start.Hibu = 9;
        start.Other = 7;
        start.Comment = "old";
        KeihiTexts texts = KeihiSetTexts(SampleSet());
        texts.comment = "  new comment \t";
        for (const auto& [field, text] : c.edits) texts[field] = text;

        KeihiSet set = start;
        const KeihiApplyResult result = ApplyKeihiTexts(set, texts);
        EXPECT_EQ(result.message, c.message);
        if (c.message != 0) {
            EXPECT_EQ(result.field, c.field);
        }

        // Every field up to the refused one comes from the texts; the rest, the comment
        // included, is left as it was.
        KeihiSet expected = start;
        KeihiSet sample = SampleSet();
        for (const KeihiField f : kKeihiFields) {
            if (c.message != 0 && f == c.field) break;
            KeihiValue(expected, f) = KeihiValue(sample, f);
        }
        if (c.message == 0) expected.Comment = "new comment";
        for (const auto& [field, value] : c.stored) KeihiValue(expected, field) = value;
        EXPECT_EQ(set, expected);
    }
}

}  // namespace
}  // namespace zavota
