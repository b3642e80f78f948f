// Tick-size tables: lookups in both directions at band boundaries, the grid, and the line of
// the adjustment dialog.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "core/UnitTable.h"
#include "YenTesting.h"
#include "core/Yen.h"

namespace zavota {

namespace {

struct TickCase {
    int table;  // 0 listed, 1 OTC
    std::int64_t price;
    bool upward;
    std::int64_t tick;
};

class DefaultTicks : public ::testing::TestWithParam<TickCase> {};

TEST_P(DefaultTicks, LookUpByDirection) {
    const TickCase& c = GetParam();
    const UnitTable table(c.table);
    EXPECT_EQ(table.Tick(W(c.price), c.upward), W(c.tick))
        << (c.table ? "OTC " : "listed ") << c.price << (c.upward ? " up" : " down");
}

INSTANTIATE_TEST_SUITE_P(
    Listed, DefaultTicks,
    ::testing::Values(TickCase{0, 1, true, 1}, TickCase{0, 1, false, 1}, TickCase{0, 1999, true, 1},
                      TickCase{0, 1999, false, 1},
                      // a boundary steps up into the band above, down within its own band
                      TickCase{0, 2000, true, 5}, TickCase{0, 2000, false, 1}, TickCase{0, 2500, true, 5},
                      TickCase{0, 2500, false, 5}, TickCase{0, 3000, true, 10}, TickCase{0, 3000, false, 5},
                      TickCase{0, 30'000, true, 50}, TickCase{0, 30'000, false, 10},
                      TickCase{0, 50'000, true, 100}, TickCase{0, 100'000, true, 1000},
                      TickCase{0, 100'000, false, 100}, TickCase{0, 1'000'000, true, 10'000},
                      TickCase{0, 10'000'000, true, 100'000}, TickCase{0, 10'000'000, false, 10'000},
                      TickCase{0, 99'999'999, true, 100'000}, TickCase{0, 99'999'999, false, 100'000},
                      // the last upper bound steps up by 1,000,000; beyond it nothing matches
                      TickCase{0, 100'000'000, true, 1'000'000}, TickCase{0, 100'000'000, false, 100'000},
                      TickCase{0, 100'000'001, true, -1}, TickCase{0, 100'000'001, false, -1},
                      // at or below 0 only the upward lookup answers
                      TickCase{0, 0, true, 1}, TickCase{0, 0, false, -1}, TickCase{0, -5, true, 1},
                      TickCase{0, -5, false, -1}));

INSTANTIATE_TEST_SUITE_P(
    Otc, DefaultTicks,
    ::testing::Values(TickCase{1, 999, true, 1}, TickCase{1, 1000, true, 10}, TickCase{1, 1000, false, 1},
                      TickCase{1, 10'000, true, 100}, TickCase{1, 100'000, true, 1000},
                      TickCase{1, 1'000'000, true, 10'000}, TickCase{1, 10'000'000, true, 50'000},
                      TickCase{1, 10'000'000, false, 10'000}, TickCase{1, 12'345'678, false, 50'000},
                      TickCase{1, 100'000'000, true, 1'000'000}, TickCase{1, 100'000'000, false, 50'000},
                      TickCase{1, 100'000'001, true, -1}, TickCase{1, 0, false, -1}));

TEST(UnitTable, SwitchedOffEveryTickIsOne) {
    UnitTable table(0);
    table.DontUse = 1;
    for (std::int64_t price : {-3LL, 0LL, 1LL, 2003LL, 100'000'000LL, 500'000'000LL}) {
        EXPECT_EQ(table.Tick(W(price), true), W(1)) << price;
        EXPECT_EQ(table.Tick(W(price), false), W(1)) << price;
    }
    table.LoadDefaults();  // switches the rule back on
    EXPECT_EQ(table.DontUse, 0);
    EXPECT_EQ(table.Tick(W(2003), true), W(5));
}

// The exchange's steps of today, typed from its own list rather than taken from the code: all
// ten rows, whichever table they replace, and the tick check stays as the user set it.
TEST(UnitTable, TodaysListedStepsFillAllTenRows) {
    const std::int64_t today[kMaxUnitRows][3] = {
        {0, 3'000, 1},           {3'000, 5'000, 5},           {5'000, 30'000, 10},
        {30'000, 50'000, 50},    {50'000, 300'000, 100},      {300'000, 500'000, 500},
        {500'000, 3'000'000, 1'000}, {3'000'000, 5'000'000, 5'000}, {5'000'000, 30'000'000, 10'000},
        {30'000'000, 50'000'000, 50'000},
    };
    for (const int index : {0, 1}) {
        for (const int dontUse : {0, 1}) {
            UnitTable table(index);
            table.Elements = 3;
            table.DontUse = dontUse;
            table.LoadTodaysListedSteps();
            SCOPED_TRACE(std::to_string(index) + (dontUse ? " unchecked" : " checked"));
            EXPECT_EQ(table.DontUse, dontUse);
            EXPECT_EQ(table.index, index);
            ASSERT_EQ(table.Elements, kMaxUnitRows);
            for (int i = 0; i < kMaxUnitRows; ++i)
                EXPECT_EQ(table.rows[i], (UnitRow{W(today[i][0]), W(today[i][1]), W(today[i][2])})) << "row " << i;
        }
    }
}

TEST(UnitTable, ShortAndDamagedTables) {
    UnitTable table(0);
    table.Clear();
    EXPECT_EQ(table.Elements, 0);
    EXPECT_EQ(table.Tick(W(100), true), W(-1));
    EXPECT_EQ(table.Tick(W(100), false), W(-1));
    EXPECT_EQ(table.Tick(W(0), true), W(1));

    // Two rows: the top boundary of the last row in use steps up by 1,000,000.
    table.Elements = 2;
    table.rows[0] = UnitRow{W(0), W(100), W(1)};
    table.rows[1] = UnitRow{W(100), W(1000), W(10)};
    table.rows[2] = UnitRow{W(1000), W(5000), W(50)};  // not in use
    EXPECT_EQ(table.Tick(W(100), true), W(10));
    EXPECT_EQ(table.Tick(W(1000), true), W(1'000'000));
    EXPECT_EQ(table.Tick(W(1000), false), W(10));
    EXPECT_EQ(table.Tick(W(1001), true), W(-1));
    EXPECT_EQ(table.Tick(W(1001), false), W(-1));

    // A row with a zero tick must not become a divisor.
    table.rows[1].tick = W(0);
    EXPECT_EQ(table.Tick(W(500), true), W(-1));
    EXPECT_EQ(table.Tick(W(500), false), W(-1));
}

struct GridCase {
    std::int64_t price, tick, floor, onto;
};

class Grid : public ::testing::TestWithParam<GridCase> {};

TEST_P(Grid, MovesUpToTheNextGridPrice) {
    const GridCase& c = GetParam();
    EXPECT_EQ(GridFloor(W(c.price), W(c.tick)), W(c.floor)) << c.price;
    EXPECT_EQ(OntoGrid(W(c.price), W(c.tick)), W(c.onto)) << c.price;
}

INSTANTIATE_TEST_SUITE_P(Cases, Grid,
                         ::testing::Values(GridCase{2003, 5, 2000, 2005}, GridCase{2000, 5, 2000, 2000},
                                           GridCase{2005, 5, 2005, 2005}, GridCase{1999, 1, 1999, 1999},
                                           GridCase{12'345'678, 50'000, 12'300'000, 12'350'000},
                                           GridCase{100'001, 1000, 100'000, 101'000}));

TEST(UnitTable, AdjustmentLineText) {
    EXPECT_EQ(AdjustmentLine(W(2003), W(2005), W(5)), "2003円 → 2005円 （呼び値単位：5円）");
    // Plain digits, no separators.
    EXPECT_EQ(AdjustmentLine(W(12'345'678), W(12'350'000), W(50'000)),
              "12345678円 → 12350000円 （呼び値単位：50000円）");
    EXPECT_STREQ(kAdjustmentHeading, "指定された値が呼び値単位に合致しないため調整して計算します。");
}

}  // namespace
}  // namespace zavota
