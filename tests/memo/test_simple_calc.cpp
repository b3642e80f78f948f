#include "memo/SimpleCalc.h"

#include <gtest/gtest.h>

namespace zavota {
namespace {

using Cells = std::array<std::string, kCalcCells>;

TEST(SimpleCalcTest, AverageAndTotal) {
    struct Case {
        Cells cells;
        CalcRounding r;
        std::string average, total;
        std::array<bool, 3> emptied;  // of the first three rows
    };
    const Case cases[] = {
        {{"1", "2", "2"}, {0, RoundHalfUp}, "2", "5", {false, false, false}},
        {{"1", "2", "2"}, {0, RoundDown}, "1", "5", {false, false, false}},
        {{"1", "2", "2"}, {2, RoundUp}, "1.67", "5.00", {false, false, false}},
        {{"10", "", "+"}, {0, RoundHalfUp}, "10", "10", {false, true, true}},
        {{"1,000", "abc", "2,000.5"}, {1, RoundHalfUp}, "1,500.3", "3,000.5", {false, true, false}},
        // Negative figures round away from or toward zero as named: -5 / 3 = -1.666…
        {{"-1", "-2", "-2"}, {0, RoundHalfUp}, "-2", "-5", {false, false, false}},
        {{"-1", "-2", "-2"}, {0, RoundDown}, "-1", "-5", {false, false, false}},
        {{"-1", "-2", "-2.5"}, {0, RoundUp}, "-2", "-6", {false, false, false}},
        {{}, {2, RoundHalfUp}, "0.00", "0.00", {true, true, true}},
        // The average divides the rounded total (1), not the exact sum (0.9 / 2 = 0.45 -> 0).
        {{"0.45", "0.45"}, {0, RoundHalfUp}, "1", "1", {false, false, true}},
    };
    for (const Case& c : cases) {
        const ColumnResult res = AverageAndTotal(c.cells, c.r);
        EXPECT_EQ(res.message, 0);
        EXPECT_EQ(res.average, c.average) << c.cells[0] << " " << c.cells[2];
        EXPECT_EQ(res.total, c.total) << c.cells[0] << " " << c.cells[2];
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(res.emptied[i], c.emptied[i]) << c.cells[0] << " row " << i;
    }
}

TEST(SimpleCalcTest, AverageStopsAtAnOutOfRangeCell) {
    struct Case {
        Cells cells;
        int message, row;
    } cases[] = {
        {{"1", "x", "99,999,999"}, 266, 2},
        {{"99999998.9999"}, 0, -1},
        {{"", "-99999999"}, 267, 1},
        {{"-99999998.9999"}, 0, -1},
        {{"5", "1e300"}, 266, 1},
    };
    for (const Case& c : cases) {
        const ColumnResult res = AverageAndTotal(c.cells, {0, RoundHalfUp});
        EXPECT_EQ(res.message, c.message) << c.cells[0] << c.cells[1] << c.cells[2];
        EXPECT_EQ(res.row, c.row) << c.cells[0];
        if (c.message != 0) {
            EXPECT_TRUE(res.average.empty() && res.total.empty());
            // Rows after the stop are not looked at.
            EXPECT_FALSE(res.emptied[9]);
        }
    }
}

TEST(SimpleCalcTest, TwoNumbers) {
    struct Case {
        const char *a, *b;
        bool percent;
        CalcRounding r;
        std::array<const char*, 4> rows;
        std::array<const char*, 2> split;
    };
    const Case cases[] = {
        {"200", "8", true, {0, RoundHalfUp}, {"200", "200", "16", "2,500"}, {"****", "****"}},
        {"10", "0", false, {1, RoundHalfUp}, {"10.0", "10.0", "0.0", "*** ZERO ***"}, {"100.0%", "0.0%"}},
        {"-30", "10", false, {1, RoundHalfUp}, {"-20.0", "-40.0", "-300.0", "-3.0"}, {"75.0%", "25.0%"}},
        {"1,000", "3", false, {0, RoundDown}, {"1,003", "997", "3,000", "333"}, {"99%", "0%"}},
        {"1000", "3", false, {0, RoundUp}, {"1,003", "997", "3,000", "334"}, {"100%", "1%"}},
        {"-7", "2", false, {0, RoundHalfUp}, {"-5", "-9", "-14", "-4"}, {"78%", "22%"}},
        {"-7", "2", false, {0, RoundDown}, {"-5", "-9", "-14", "-3"}, {"77%", "22%"}},
        // Fractions: 12.5 / 0.5 and 37.5 / 0.5, never 12 / 0.5; -0.25 to one decimal is -0.3.
        {"0.125", "0.375", false, {1, RoundHalfUp}, {"0.5", "-0.3", "0.0", "0.3"}, {"25.0%", "75.0%"}},
        {"0", "0", false, {0, RoundHalfUp}, {"0", "0", "0", "*** ZERO ***"}, {"****", "****"}},
        {"99999999999", "1", false, {0, RoundHalfUp}, {"*** OVER ***", "*** OVER ***", "*** OVER ***", "*** OVER ***"},
         {"****", "****"}},
    };
    for (const Case& c : cases) {
        const TwoNumberResult res = TwoNumbers(c.a, c.b, c.percent, c.r);
        ASSERT_EQ(res.message, 0) << c.a;
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(res.rows[i].text, c.rows[i]) << c.a << " " << c.b << " row " << i;
        EXPECT_EQ(res.split[0], c.split[0]) << c.a << " " << c.b;
        EXPECT_EQ(res.split[1], c.split[1]) << c.a << " " << c.b;
        EXPECT_EQ(res.splitToMemories, c.split[0][0] != '*') << c.a;
    }
}

TEST(SimpleCalcTest, TransferButtonsFollowTheResult) {
    // Row 1 = 123,456,789: too large for an operand, fine for a memory.
    TwoNumberResult res = TwoNumbers("123456788", "1", false, {0, RoundHalfUp});
    EXPECT_EQ(res.rows[0].text, "123,456,789");
    EXPECT_FALSE(res.rows[0].toOperands);
    EXPECT_TRUE(res.rows[0].toMemories);
    res = TwoNumbers("99999998", "1", false, {0, RoundHalfUp});
    EXPECT_FALSE(res.rows[0].toOperands);  // 99,999,999
    EXPECT_TRUE(res.rows[1].toOperands);   // 99,999,997
    res = TwoNumbers("10", "0", false, {0, RoundHalfUp});
    EXPECT_FALSE(res.rows[3].toOperands || res.rows[3].toMemories);
    res = TwoNumbers("1e10", "1", false, {0, RoundHalfUp});
    EXPECT_FALSE(res.rows[0].toOperands || res.rows[0].toMemories);
}

TEST(SimpleCalcTest, OperandThatIsNotANumber) {
    const struct {
        const char *a, *b;
        int focus;
    } cases[] = {{"", "1", 1}, {"1", " ", 2}, {"1x", "1", 1}, {"1", "+", 2}};
    for (const auto& c : cases) {
        const TwoNumberResult res = TwoNumbers(c.a, c.b, false, {0, RoundHalfUp});
        EXPECT_EQ(res.message, 200) << c.a << "|" << c.b;
        EXPECT_EQ(res.focus, c.focus) << c.a << "|" << c.b;
        EXPECT_TRUE(res.rows[0].text.empty());
    }
}

TEST(SimpleCalcTest, TransfersAndCellCheck) {
    EXPECT_EQ(ResultForField("123,456,789", {0, RoundHalfUp}), "123456789");
    EXPECT_EQ(ResultForField("-1,234.5", {3, RoundHalfUp}), "-1234.500");
    EXPECT_EQ(ResultForField("", {1, RoundHalfUp}), "0.0");
    EXPECT_EQ(SplitForMemory("75.0%"), "75.0");

    const struct {
        const char* memory;
        int message;
        const char* text;
    } memories[] = {{" 12.5 ", 0, "12.5"}, {"99999999", 266, ""}, {"-99999999", 267, ""},
                    {"-99999998.9", 0, "-99999998.9"}, {"1-2", 200, ""}};
    for (const auto& m : memories) {
        const MemoryTransfer t = MemoryForOperand(m.memory);
        EXPECT_EQ(t.message, m.message) << m.memory;
        EXPECT_EQ(t.text, m.text) << m.memory;
    }

    const struct {
        const char *typed, *kept;
        bool refused;
    } cells[] = {{"1,234.5", "1,234.5", false}, {" 12a3", "12", true}, {"１２", "", true}, {"-+.,", "-+.,", false}};
    for (const auto& c : cells) {
        const CellCheck check = CheckCalcCell(c.typed);
        EXPECT_EQ(check.text, c.kept) << c.typed;
        EXPECT_EQ(check.refused, c.refused) << c.typed;
    }
}

TEST(SimpleCalcTest, StoredItemsRoundTripAndDefaults) {
    CalcPageValues v;
    for (std::size_t i = 0; i < v.cells.size(); ++i) v.cells[i] = std::to_string(i) + ",000";
    v.a = "-1.5";
    v.b = "abc";  // kept as typed
    v.percent = true;
    v.m1 = "9";
    v.m2 = "";
    v.rounding = {3, RoundUp};
    const std::vector<std::string> items = StoredCalcItems(v);
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(items[12], "*");
    EXPECT_EQ(items[15], "3");
    EXPECT_EQ(items[16], "3");
    const CalcPageValues back = CalcValuesFromItems(items);
    EXPECT_EQ(back.cells, v.cells);
    EXPECT_EQ(StoredCalcItems(back), items);

    const struct {
        const char *trunc, *digits;
        RoundMode mode;
        int d;
    } settings[] = {{"2", "0", RoundHalfUp, 0}, {"3", "2", RoundUp, 2}, {"1", "1", RoundDown, 1},
                    {"x", "3", RoundDown, 3}, {"", "9", RoundDown, 0}, {"2", "1.5", RoundHalfUp, 0},
                    {"2", "4", RoundHalfUp, 0}, {"2", "-1", RoundHalfUp, 0}};
    for (const auto& s : settings) {
        std::vector<std::string> stored = items;
        stored[15] = s.trunc;
        stored[16] = s.digits;
        const CalcPageValues loaded = CalcValuesFromItems(stored);
        EXPECT_EQ(loaded.rounding.mode, s.mode) << s.trunc;
        EXPECT_EQ(loaded.rounding.digits, s.d) << s.digits;
    }
}

}  // namespace
}  // namespace zavota
