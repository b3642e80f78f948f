// The commits of the two table editors over their grid texts: message, named cell or field,
// and what reaches the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "YenTesting.h"
#include "core/MarginGrid.h"
#include "core/UnitGrid.h"

namespace zavota {
namespace {

using Rows = std::vector<std::vector<std::string>>;

GridTexts Grid(const Rows& rows, int height, int width) {
    GridTexts cells(static_cast<std::size_t>(height), std::vector<std::string>(static_cast<std::size_t>(width)));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) cells[r][c] = rows[r][c];
    return cells;
}

struct MarginCase {
    const char* what;
    Rows rows;
    std::string name = "新";
    std::string low = "";
    std::string high = "";
    int message = 0;
    MarginEditField focus = MarginEditField::None;
    int row = 0, col = 0;
};

const Rows kTwoBrackets = {{"0", "100,000", "0.1", "100", "0"}, {"100,000", "1,000,000", "0.5", "0", "10"}};

Rows Rate(const char* column, int col) {
    Rows r = {{"0", "100", "0", "0", "0"}};
    r[0][static_cast<std::size_t>(col)] = column;
    return r;
}

class MarginCommitCases : public ::testing::TestWithParam<MarginCase> {};

TEST_P(MarginCommitCases, RefusesAtTheFirstFailingStep) {
    const MarginCase& c = GetParam();
    MarginTable table;
    table.inUse = true;
    table.Name = "自分";
    const MarginCommit got =
        CommitMarginGrid(table, 0, {c.name, c.low, c.high, Grid(c.rows, kMaxBrackets, 5)}, {"他社", "サンプル"});
    EXPECT_EQ(got.check.message, c.message) << c.what;
    EXPECT_EQ(got.focus, c.focus) << c.what;
    EXPECT_EQ(got.check.row, c.row) << c.what;
    EXPECT_EQ(got.check.col, c.col) << c.what;
}

using F = MarginEditField;
INSTANTIATE_TEST_SUITE_P(
    Steps, MarginCommitCases,
    ::testing::Values(
        MarginCase{"a new table's single zero row", {{"0", "0", "0.000", "0", "0.000"}}, "新", "", "", 221, F::Grid, 1, 1},
        MarginCase{"two brackets, row 3 empty", kTwoBrackets},
        MarginCase{"own stored name", kTwoBrackets, "自分"},
        MarginCase{"blank name", kTwoBrackets, "  ", "", "", 105, F::Name},
        MarginCase{"another table's name", kTwoBrackets, "他社", "", "", 214, F::Name},
        MarginCase{"zero minimum", kTwoBrackets, "新", "0", "", 215, F::LowLimit},
        MarginCase{"minimum of 100,000,000", kTwoBrackets, "新", "100000000", "", 216, F::LowLimit},
        MarginCase{"a lone plus in the maximum", kTwoBrackets, "新", "", "+", 200, F::HighLimit},
        MarginCase{"maximum equal to the minimum", kTwoBrackets, "新", "500", "500", 235, F::HighLimit},
        MarginCase{"maximum alone", kTwoBrackets, "新", "", "99999999"},
        MarginCase{"a letter", {{"0", "100", "0", "1x", "0"}}, "新", "", "", 217, F::Grid, 1, 3},
        MarginCase{"a lone comma", {{"0", "100", "0", ",", "0"}}, "新", "", "", 217, F::Grid, 1, 3},
        MarginCase{"first row not from 0", {{"1", "100", "0", "0", "0"}}, "新", "", "", 107, F::Grid, 1, 0},
        MarginCase{"fractional lower bound", {{"0", "100", "0", "0", "0"}, {"100.5", "200", "0", "0", "0"}}, "新", "", "", 108, F::Grid, 2, 0},
        MarginCase{"negative upper bound", {{"0", "-5", "0", "0", "0"}}, "新", "", "", 218, F::Grid, 1, 1},
        MarginCase{"upper bound of 10,000,000,000", {{"0", "10,000,000,000", "0", "0", "0"}}, "新", "", "", 219, F::Grid, 1, 1},
        MarginCase{"a value after two empty rows",
                   {{"0", "100", "0", "0", "0"}, {"100", "200", "0", "0", "0"}, {}, {}, {"200", "300", "0", "0", "0"}},
                   "新", "", "", 109, F::Grid, 3, 0},
        MarginCase{"a rate in an empty row", {{"0", "100", "0", "0", "0"}, {"", "", "", "", ""}, {"", "", "1", "", ""}},
                   "新", "", "", 220, F::Grid, 2, 0},
        MarginCase{"gap between brackets", {{"0", "100,000", "0", "0", "0"}, {"100,001", "200,000", "0", "0", "0"}},
                   "新", "", "", 222, F::Grid, 2, 0},
        MarginCase{"rate 0.1255", Rate("0.1255", 2), "新", "", "", 115, F::Grid, 1, 2},
        MarginCase{"rate 0.125", Rate("0.125", 2)},
        MarginCase{"rate 100", Rate("100", 2)},
        MarginCase{"rate 100.001", Rate("100.001", 2), "新", "", "", 223, F::Grid, 1, 2},
        MarginCase{"rate -100", Rate("-100", 2), "新", "", "", 224, F::Grid, 1, 2},
        MarginCase{"rate -0.12501", Rate("-0.12501", 2), "新", "", "", 115, F::Grid, 1, 2},
        MarginCase{"addition of 100,000,000", Rate("100,000,000", 3), "新", "", "", 225, F::Grid, 1, 3},
        MarginCase{"addition of -100,000,000", Rate("-100000000", 3), "新", "", "", 226, F::Grid, 1, 3},
        MarginCase{"fractional addition", Rate("12.34567", 3)},
        MarginCase{"discount over 100", Rate("100.5", 4), "新", "", "", 227, F::Grid, 1, 4},
        MarginCase{"discount -100", Rate("-100", 4), "新", "", "", 228, F::Grid, 1, 4},
        MarginCase{"discount with four decimals", Rate("0.0005", 4), "新", "", "", 115, F::Grid, 1, 4}));

TEST(MarginCommit, SharedListFillsBothSidesSeparateSidesOnlyTheCurrentOne) {
    MarginTable shared;
    ASSERT_TRUE(CommitMarginGrid(shared, 1, {"共通", "1000", "", Grid(kTwoBrackets, kMaxBrackets, 5)}, {}).Ok());
    EXPECT_EQ(shared.Name, "共通");
    EXPECT_EQ(shared.ElementsK, 2);
    EXPECT_EQ(shared.ElementsU, 2);
    EXPECT_EQ(shared.bracketsK, shared.bracketsU);
    EXPECT_EQ(shared.bracketsK[1], (MarginBracket{W(100'000), W(1'000'000), R(5000), W(0), W(10)}));
    EXPECT_EQ(shared.bracketsK[2], MarginBracket{});
    EXPECT_EQ(shared.LowLimitK, W(1000));
    EXPECT_EQ(shared.LowLimitU, W(1000));

    MarginTable separate;
    separate.Same = 1;
    separate.ElementsK = 1;
    separate.bracketsK[0] = {W(0), W(5), W(1), W(0), W(0)};
    separate.LowLimitK = W(7);
    ASSERT_TRUE(CommitMarginGrid(separate, 1, {"別", "", "2500", Grid(kTwoBrackets, kMaxBrackets, 5)}, {}).Ok());
    EXPECT_EQ(separate.ElementsU, 2);
    EXPECT_EQ(separate.HighLimitU, W(2500));
    EXPECT_EQ(separate.ElementsK, 1);
    EXPECT_EQ(separate.bracketsK[0].high, W(5));
    EXPECT_EQ(separate.LowLimitK, W(7));
    EXPECT_EQ(separate.HighLimitK, W(0));
}

TEST(MarginCommit, StepsBeforeARefusalKeepWhatTheyStored) {
    MarginTable table;
    table.ElementsK = table.ElementsU = 1;
    table.bracketsK[0] = table.bracketsU[0] = {W(0), W(100), W(1), W(0), W(0)};
    const MarginCommit got = CommitMarginGrid(table, 0, {"改名", "300", "200", Grid({}, kMaxBrackets, 5)}, {});
    EXPECT_EQ(got.check.message, 235);
    EXPECT_EQ(table.Name, "改名");
    EXPECT_EQ(table.LowLimitK, W(300));
    EXPECT_EQ(table.HighLimitK, W(200));
    EXPECT_EQ(table.bracketsK[0].high, W(100));  // the grid was never reached
}

TEST(MarginCommit, EightyFullRowsAreEightyBrackets) {
    Rows rows;
    for (int r = 0; r < kMaxBrackets; ++r)
        rows.push_back({std::to_string(r * 1000), std::to_string((r + 1) * 1000), "0.5", "", ""});
    MarginTable table;
    ASSERT_TRUE(CommitMarginGrid(table, 0, {"満杯", "", "", Grid(rows, kMaxBrackets, 5)}, {}).Ok());
    EXPECT_EQ(table.ElementsK, kMaxBrackets);
    EXPECT_EQ(table.bracketsK[kMaxBrackets - 1].high, W(80'000));
}

TEST(MarginGridText, BracketsAndLimitsAsTheEditorShowsThem) {
    const auto cells = MarginBracketCells({W(100'000), W(1'000'000), R(1050), W(-250), R(125)});
    EXPECT_EQ(cells, (std::array<std::string, 5>{"100,000", "1,000,000", "0.105", "-250", "0.013"}));
    EXPECT_EQ(LimitText(W(0)), "");
    EXPECT_EQ(LimitText(W(2500)), "2500");
}

struct UnitCase {
    const char* what;
    Rows rows;
    int message = 0;
    int row = 0, col = 0;
};

class UnitCommitCases : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UnitCommitCases, RefusesAtTheFirstFailingStepAndStoresNothing) {
    const UnitCase& c = GetParam();
    UnitTable table(0);
    table.DontUse = 1;
    const UnitTable before = table;
    const GridCheck got = CommitUnitGrid(table, Grid(c.rows, kMaxUnitRows, 3));
    EXPECT_EQ(got.message, c.message) << c.what;
    EXPECT_EQ(got.row, c.row) << c.what;
    EXPECT_EQ(got.col, c.col) << c.what;
    if (c.message != 0) {
        EXPECT_EQ(table, before) << c.what;
    }
    EXPECT_EQ(table.DontUse, 1) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, UnitCommitCases,
    ::testing::Values(UnitCase{"two rows", {{"0", "2,000", "1"}, {"2,000", "30,000", "10"}}},
                      UnitCase{"tick equal to the upper bound", {{"0", "2,000", "2,000"}}, 230, 1, 2},
                      UnitCase{"tick 0", {{"0", "2,000", "0"}}, 236, 1, 2},
                      UnitCase{"tick 0.5 is 0", {{"0", "2,000", "0.5"}}, 236, 1, 2},
                      UnitCase{"discontinuous", {{"0", "2,000", "1"}, {"2,500", "4,000", "5"}}, 222, 2, 0},
                      // Steps that cannot chain: the bound a multiple of neither, or of one tick only.
                      UnitCase{"100 after a tick of 30", {{"0", "100", "30"}, {"100", "1,000", "7"}}, 239, 1, 1},
                      UnitCase{"1,100 before a tick of 3",
                               {{"0", "1,000", "1"}, {"1,000", "1,100", "10"}, {"1,100", "1,137", "3"}}, 239, 2, 1},
                      UnitCase{"2,000 before a tick of 3", {{"0", "2,000", "1"}, {"2,000", "3,000", "3"}}, 239, 1, 1},
                      UnitCase{"2,005 after a tick of 10", {{"0", "2,005", "10"}, {"2,005", "3,000", "5"}}, 239, 1, 1},
                      UnitCase{"the last bound need not chain", {{"0", "1,000", "1"}, {"1,000", "1,237", "10"}}}));

TEST(UnitCommit, TicksAreTruncatedAndRowsAfterTheCountCleared) {
    UnitTable table(0);
    ASSERT_TRUE(CommitUnitGrid(table, Grid({{"0", "2,000", "2.5"}, {"2000", "3000", " 5 "}}, kMaxUnitRows, 3)).Ok());
    EXPECT_EQ(table.Elements, 2);
    EXPECT_EQ(table.rows[0], (UnitRow{W(0), W(2000), W(2)}));
    EXPECT_EQ(table.rows[1], (UnitRow{W(2000), W(3000), W(5)}));
    EXPECT_EQ(table.rows[2], UnitRow{});
}

struct TypingCase {
    const char* text;
    bool allowPoint;
    bool refused;
};

TEST(CellTyping, OnlyDigitsSeparatorsAndWherePermittedAPoint) {
    const TypingCase cases[] = {
        {"", true, false},      {" 1,000 ", false, false}, {"-", false, false},   {"+", true, false},
        {".", true, false},     {".", false, true},        {"2.5", true, false},  {"2.5", false, true},
        {"-5", true, true},     {"1e3", true, true},       {"１", true, true},    {"12\t3", true, true},
    };
    for (const TypingCase& c : cases)
        EXPECT_EQ(CellNeedsDigits(c.text, c.allowPoint), c.refused) << '"' << c.text << '"' << c.allowPoint;
}

}  // namespace
}  // namespace zavota
