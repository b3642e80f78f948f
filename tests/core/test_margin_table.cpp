// Commission tables: the bracket rule, the limits, the mini-stock proration and the set of
// fifteen slots. Expected fees are worked out by hand from the table rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

#include "core/MarginTable.h"
#include "YenTesting.h"
#include "core/Yen.h"

namespace zavota {

namespace {

MarginTable SampleTable() {
    MarginTable t;
    t.LoadSample();
    return t;
}

// One bracket on both sides, from 0 up to 9,999,999,999 yen.
MarginTable OneBracket(Yen rate, Yen addition, Yen discount) {
    MarginTable t;
    t.Clear();
    t.inUse = true;
    t.Name = "test";
    t.ElementsK = t.ElementsU = 1;
    t.bracketsK[0] = MarginBracket{W(0), W(9'999'999'999), rate, addition, discount};
    t.bracketsU[0] = t.bracketsK[0];
    return t;
}

struct FeeCase {
    const char* what;
    MarginTable table;
    Side side;
    Yen amount;
    Yen expected;
};

void PrintTo(const FeeCase& c, std::ostream* os) { *os << c.what; }

class CommissionRule : public ::testing::TestWithParam<FeeCase> {};

TEST_P(CommissionRule, FollowsTheBracketRule) {
    const FeeCase& c = GetParam();
    EXPECT_EQ(c.table.Commission(c.side, c.amount).raw, c.expected.raw) << c.what;
}

MarginTable TwoBrackets() {
    MarginTable t = OneBracket(W(0), W(500), W(0));
    t.bracketsK[0].high = W(1'000'000);
    t.bracketsK[1] = MarginBracket{W(1'000'000), W(2'000'000), W(0), W(800), W(0)};
    t.ElementsK = 2;
    return t;
}

MarginTable Overlapping() {
    MarginTable t = OneBracket(W(0), W(100), W(0));
    t.bracketsK[0].high = W(5'000'000);
    t.bracketsK[1] = MarginBracket{W(0), W(10'000'000), W(0), W(200), W(0)};
    t.ElementsK = 2;
    return t;
}

MarginTable UnusedSecondRow() {
    MarginTable t = TwoBrackets();
    t.ElementsK = 1;
    return t;
}

MarginTable WithLimits(MarginTable t, Yen lowK, Yen highK, Yen lowU, Yen highU) {
    t.LowLimitK = lowK;
    t.HighLimitK = highK;
    t.LowLimitU = lowU;
    t.HighLimitU = highU;
    return t;
}

MarginTable NoBuyBrackets() {
    MarginTable t = SampleTable();
    t.ElementsK = 0;
    return t;
}

MarginTable SellSideDiffers() {
    MarginTable t = SampleTable();
    t.Same = 1;
    t.bracketsU[0].addition = W(700);
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommissionRule,
    ::testing::Values(
        FeeCase{"sample smallest", SampleTable(), Side::Buy, W(1), W(1500)},
        FeeCase{"sample at upper bound", SampleTable(), Side::Buy, W(30'000'000), W(1500)},
        FeeCase{"sample sell", SampleTable(), Side::Sell, W(1'000'000), W(1500)},
        FeeCase{"sample above", SampleTable(), Side::Buy, W(30'000'001), W(-1)},
        FeeCase{"sample zero amount", SampleTable(), Side::Sell, W(0), W(-1)},
        FeeCase{"upper bound inclusive", TwoBrackets(), Side::Buy, W(1'000'000), W(500)},
        FeeCase{"next bracket", TwoBrackets(), Side::Buy, W(1'000'001), W(800)},
        FeeCase{"last bound", TwoBrackets(), Side::Buy, W(2'000'000), W(800)},
        FeeCase{"beyond last", TwoBrackets(), Side::Buy, W(2'000'001), W(-1)},
        FeeCase{"first containing bracket wins", Overlapping(), Side::Buy, W(3'000'000), W(100)},
        FeeCase{"rows past the count do not count", UnusedSecondRow(), Side::Buy, W(1'500'000), W(-1)},
        FeeCase{"no buy brackets", NoBuyBrackets(), Side::Buy, W(1'000), W(-1)},
        FeeCase{"sell still works", NoBuyBrackets(), Side::Sell, W(1'000), W(1500)},
        FeeCase{"sell side has its own rows", SellSideDiffers(), Side::Sell, W(1'000), W(700)},
        FeeCase{"buy side unaffected", SellSideDiffers(), Side::Buy, W(1'000), W(1500)},
        // 0.105 %: 1,050 and 1,049.99895 truncated
        FeeCase{"rate 0.105", OneBracket(R(1050), W(0), W(0)), Side::Buy, W(1'000'000), W(1050)},
        FeeCase{"rate 0.105 truncated", OneBracket(R(1050), W(0), W(0)), Side::Buy, W(999'999), W(1049)},
        // 1 % + 100, 10 % off, on 123,456: rated 1,234; sum 1,334; 1,200.6 truncated
        FeeCase{"discount", OneBracket(W(1), W(100), W(10)), Side::Sell, W(123'456), W(1200)},
        // 12.5 % off 1,000: 875
        FeeCase{"fractional discount", OneBracket(W(0), W(1000), R(125000)), Side::Buy, W(5), W(875)},
        FeeCase{"minimum lifts", WithLimits(OneBracket(W(1), W(100), W(10)), W(2500), W(0), W(0), W(0)),
                Side::Buy, W(123'456), W(2500)},
        FeeCase{"minimum is per side", WithLimits(OneBracket(W(1), W(100), W(10)), W(2500), W(0), W(0), W(0)),
                Side::Sell, W(123'456), W(1200)},
        FeeCase{"maximum caps", WithLimits(OneBracket(W(1), W(0), W(0)), W(0), W(10'000), W(0), W(0)),
                Side::Buy, W(1'200'000), W(10'000)},
        FeeCase{"sell maximum", WithLimits(OneBracket(W(1), W(0), W(0)), W(0), W(0), W(0), W(10'000)),
                Side::Sell, W(1'200'000), W(10'000)},
        FeeCase{"maximum 0 is no limit", WithLimits(OneBracket(W(1), W(0), W(0)), W(0), W(0), W(0), W(0)),
                Side::Buy, W(1'200'000), W(12'000)},
        // A negative fee is lifted to the minimum, 0 when none is set.
        FeeCase{"negative fee lifted to 0", OneBracket(W(0), W(-500), W(0)), Side::Buy, W(1000), W(0)},
        FeeCase{"negative fee lifted to minimum",
                WithLimits(OneBracket(W(0), W(-500), W(0)), W(300), W(0), W(0), W(0)), Side::Buy, W(1000),
                W(300)}));

TEST(CommissionRule, MiniAfterLeavesLimitsToTheOrder) {
    MarginTable t = WithLimits(OneBracket(W(1), W(100), W(10)), W(2500), W(0), W(0), W(0));
    t.MiniAfterK = 1;
    // The table rule alone no longer applies the minimum ...
    EXPECT_EQ(t.Commission(Side::Buy, W(123'456)), W(1200));
    // ... but a normal order still gets it afterwards.
    EXPECT_EQ(OrderCommission(t, Side::Buy, W(123'456), W(1), false, W(0)), W(2500));
}

// 0.5 %, so one full unit of 1,000 shares at 500 yen costs 2,500.
MarginTable MiniTable(Yen low, Yen high, int miniAfter) {
    MarginTable t = OneBracket(R(5000), W(0), W(0));
    t.LowLimitK = t.LowLimitU = low;
    t.HighLimitK = t.HighLimitU = high;
    t.MiniAfterK = t.MiniAfterU = miniAfter;
    return t;
}

struct OrderCase {
    const char* what;
    MarginTable table;
    Side side;
    Yen price, shares;
    bool mini;
    Yen unit;
    Yen expected;  // negative: a failure
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.what; }

class OrderCommissionRule : public ::testing::TestWithParam<OrderCase> {};

TEST_P(OrderCommissionRule, ProratesMiniOrders) {
    const OrderCase& c = GetParam();
    const Yen fee = OrderCommission(c.table, c.side, c.price, c.shares, c.mini, c.unit);
    if (c.expected.raw < 0) {
        EXPECT_LT(fee.raw, 0) << c.what;
    } else {
        EXPECT_EQ(fee.raw, c.expected.raw) << c.what;
    }
}

MarginTable SellMiniAfterOnly() {
    MarginTable t = MiniTable(W(1000), W(0), 0);
    t.MiniAfterU = 1;
    return t;
}

// A 2,000 yen minimum applied after proration on both sides.
MarginTable LimitsAfter(MarginTable t = SampleTable()) {
    t = WithLimits(t, W(2000), W(0), W(2000), W(0));
    t.MiniAfterK = t.MiniAfterU = 1;
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrderCommissionRule,
    ::testing::Values(
        OrderCase{"normal order", SampleTable(), Side::Buy, W(1000), W(1000), false, W(0), W(1500)},
        OrderCase{"normal order out of table", SampleTable(), Side::Sell, W(30'001), W(1000), false, W(0),
                  W(-1)},
        // ratio 0.3 of 2,500
        OrderCase{"mini", MiniTable(W(0), W(0), 0), Side::Buy, W(500), W(300), true, W(1000), W(750)},
        OrderCase{"mini minimum before", MiniTable(W(1000), W(0), 0), Side::Buy, W(500), W(300), true, W(1000),
                  W(750)},
        OrderCase{"mini minimum after", MiniTable(W(1000), W(0), 1), Side::Buy, W(500), W(300), true, W(1000),
                  W(1000)},
        OrderCase{"mini maximum before", MiniTable(W(0), W(2000), 0), Side::Sell, W(500), W(300), true, W(1000),
                  W(600)},
        OrderCase{"mini maximum after", MiniTable(W(0), W(2000), 1), Side::Sell, W(500), W(300), true, W(1000),
                  W(750)},
        OrderCase{"mini sell flag", SellMiniAfterOnly(), Side::Sell, W(500), W(300), true, W(1000), W(1000)},
        OrderCase{"mini buy flag unaffected", SellMiniAfterOnly(), Side::Buy, W(500), W(300), true, W(1000),
                  W(750)},
        // 0.9 of 2,500 = 2,250; 0.1 of 2,500 = 250
        OrderCase{"nine tenths", MiniTable(W(0), W(0), 0), Side::Buy, W(500), W(900), true, W(1000), W(2250)},
        OrderCase{"one tenth", MiniTable(W(0), W(0), 0), Side::Buy, W(500), W(100), true, W(1000), W(250)},
        // 1,500 × 0.3 = 450 on the sample
        OrderCase{"mini sample", SampleTable(), Side::Buy, W(500), W(300), true, W(1000), W(450)},
        // The full unit at 40,000 yen is 40,000,000: beyond the sample even though the order is not.
        OrderCase{"mini base out of table", SampleTable(), Side::Buy, W(40'000), W(100), true, W(1000), W(-1)},
        // Proration rounds down: 300.3 and 700.7 of a 1,001 yen base.
        OrderCase{"mini fraction down", OneBracket(W(0), W(1001), W(0)), Side::Buy, W(500), W(30), true, W(100),
                  W(300)},
        OrderCase{"mini fraction above half", OneBracket(W(0), W(1001), W(0)), Side::Sell, W(500), W(70), true,
                  W(100), W(700)},
        // Limits applied last must never turn a missing bracket into the minimum fee.
        OrderCase{"limits after, in table", LimitsAfter(), Side::Buy, W(1000), W(1000), false, W(0), W(2000)},
        OrderCase{"limits after, out of table", LimitsAfter(), Side::Buy, W(30'001), W(1000), false, W(0), W(-1)},
        OrderCase{"limits after, mini base out of table", LimitsAfter(), Side::Sell, W(40'000), W(100), true,
                  W(1000), W(-1)},
        OrderCase{"limits after, free full unit", LimitsAfter(OneBracket(W(0), W(0), W(0))), Side::Buy, W(500), W(300),
                  true, W(1000), W(2000)}));

TEST(MarginTableSet, StartsWithTheSampleInSlotOne) {
    const MarginTableSet set;
    ASSERT_EQ(set.UsedCount(), 1);
    const MarginTable* first = set.Used(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, &set.Slot(0));
    EXPECT_EQ(first->Name, "サンプル・定額式");
    EXPECT_TRUE(first->inUse);
    EXPECT_EQ(first->Same, 0);
    EXPECT_EQ(first->MiniAfterK, 0);
    EXPECT_EQ(first->MiniAfterU, 0);
    EXPECT_EQ(first->ElementsK, 1);
    EXPECT_EQ(first->ElementsU, 1);
    EXPECT_EQ(first->LowLimitK, W(0));
    EXPECT_EQ(first->LowLimitU, W(0));
    EXPECT_EQ(first->HighLimitK, W(0));
    EXPECT_EQ(first->HighLimitU, W(0));
    const MarginBracket flat{W(0), W(30'000'000), W(0), W(1500), W(0)};
    EXPECT_EQ(first->bracketsK[0], flat);
    EXPECT_EQ(first->bracketsU[0], flat);
    EXPECT_EQ(first->bracketsK[1], MarginBracket{});
    EXPECT_EQ(first->bracketsU[1], MarginBracket{});

    MarginTable cleared;
    cleared.Clear();
    for (int slot = 1; slot < kMaxTables; ++slot) EXPECT_TRUE(set.Slot(slot) == cleared) << slot;
    EXPECT_EQ(set.Used(1), nullptr);
}

TEST(MarginTableSet, ClearEmptiesEveryField) {
    MarginTable t = WithLimits(TwoBrackets(), W(1), W(2), W(3), W(4));
    t.Same = 1;
    t.MiniAfterK = t.MiniAfterU = 1;
    t.bracketsU[79] = MarginBracket{W(1), W(2), W(3), W(4), W(5)};
    t.Clear();
    EXPECT_FALSE(t.inUse);
    EXPECT_EQ(t.Name, "");
    EXPECT_EQ(t.Same + t.MiniAfterK + t.MiniAfterU + t.ElementsK + t.ElementsU, 0);
    EXPECT_EQ(t.LowLimitK, W(0));
    EXPECT_EQ(t.LowLimitU, W(0));
    EXPECT_EQ(t.HighLimitK, W(0));
    EXPECT_EQ(t.HighLimitU, W(0));
    for (int i = 0; i < kMaxBrackets; ++i) {
        EXPECT_EQ(t.bracketsK[i], MarginBracket{}) << i;
        EXPECT_EQ(t.bracketsU[i], MarginBracket{}) << i;
    }
}

TEST(MarginTableSet, TablesThatDifferInOneFieldAreNotEqual) {
    const MarginTable base = WithLimits(TwoBrackets(), W(1), W(2), W(3), W(4));
    const std::function<void(MarginTable&)> changes[] = {
        [](MarginTable& t) { t.inUse = false; },        [](MarginTable& t) { t.Same = 1; },
        [](MarginTable& t) { t.MiniAfterK = 1; },       [](MarginTable& t) { t.MiniAfterU = 1; },
        [](MarginTable& t) { t.Name = "other"; },       [](MarginTable& t) { t.ElementsK = 1; },
        [](MarginTable& t) { t.ElementsU = 2; },        [](MarginTable& t) { t.LowLimitK = W(9); },
        [](MarginTable& t) { t.LowLimitU = W(9); },     [](MarginTable& t) { t.HighLimitK = W(9); },
        [](MarginTable& t) { t.HighLimitU = W(9); },    [](MarginTable& t) { t.bracketsK[79].rate = R(1); },
        [](MarginTable& t) { t.bracketsU[0].discount = R(1); },
    };
    EXPECT_TRUE(base == MarginTable(base));
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        MarginTable changed = base;
        changes[i](changed);
        EXPECT_FALSE(changed == base) << i;
    }
}

TEST(MarginTableSet, UsedTablesFollowSlotOrder) {
    MarginTableSet set;
    set.Slot(4) = OneBracket(W(0), W(100), W(0));
    set.Slot(4).Name = "B";
    set.Slot(2) = OneBracket(W(0), W(200), W(0));
    set.Slot(2).Name = "A";
    set.Slot(7).Name = "named but unused";  // not in use: never offered

    EXPECT_EQ(set.UsedCount(), 3);
    EXPECT_EQ(set.Used(0), &set.Slot(0));
    EXPECT_EQ(set.Used(1), &set.Slot(2));
    EXPECT_EQ(set.Used(2), &set.Slot(4));
    EXPECT_EQ(set.Used(3), nullptr);
    EXPECT_EQ(set.FindUsedByName("B"), 2);
    EXPECT_EQ(set.FindUsedByName("サンプル・定額式"), 0);
    EXPECT_EQ(set.FindUsedByName("named but unused"), -1);
    EXPECT_EQ(set.FindUsedByName("none"), -1);
    EXPECT_EQ(set.UsedNames(), (std::vector<std::string>{"サンプル・定額式", "A", "B"}));

    set.Copy(0, 9);
    EXPECT_TRUE(set.Slot(9) == set.Slot(0));
    EXPECT_EQ(set.UsedCount(), 4);
    set.Clear(0);
    EXPECT_EQ(set.Used(0), &set.Slot(2));
    set.LoadSample(0);
    EXPECT_TRUE(set.Slot(0) == SampleTable());
}

// The list operations keep the tables in use in slots 0 .. n-1 (the store saves by slot).
struct SetOpCase {
    const char* what;
    std::vector<std::string> before;  // names of the tables in use, slot by slot
    std::function<int(MarginTableSet&)> op;
    int result;                      // slot, or 1/0 for success/failure
    std::vector<std::string> after;
};

void PrintTo(const SetOpCase& c, std::ostream* os) { *os << c.what; }

class SetOperations : public ::testing::TestWithParam<SetOpCase> {};

MarginTableSet SetOf(const std::vector<std::string>& names) {
    MarginTableSet set;
    set.Clear(0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) continue;  // a gap, as a hand-edited hive could leave
        set.Slot(static_cast<int>(i)) = OneBracket(W(0), W(static_cast<std::int64_t>(i)), W(0));
        set.Slot(static_cast<int>(i)).Name = names[i];
    }
    return set;
}

TEST_P(SetOperations, KeepSlotsContiguous) {
    const SetOpCase& c = GetParam();
    MarginTableSet set = SetOf(c.before);
    const MarginTableSet original = set;
    EXPECT_EQ(c.op(set), c.result);
    EXPECT_EQ(set.UsedNames(), c.after);
    const int n = static_cast<int>(c.after.size());
    for (int slot = 0; slot < kMaxTables; ++slot) EXPECT_EQ(set.Slot(slot).inUse, slot < n) << slot;
    // Moved tables keep their contents; a failed operation changes nothing.
    for (int slot = 0; slot < n; ++slot) {
        const int from = original.FindUsedByName(set.Slot(slot).Name);
        if (from >= 0) {
            EXPECT_TRUE(set.Slot(slot) == *original.Used(from)) << slot;
        }
    }
}

std::vector<std::string> Fifteen() {
    std::vector<std::string> names;
    for (int i = 0; i < kMaxTables; ++i) names.push_back("T" + std::to_string(i));
    return names;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetOperations,
    ::testing::Values(
        SetOpCase{"remove middle", {"A", "B", "C"}, [](MarginTableSet& s) { return int(s.Remove(1)); }, 1, {"A", "C"}},
        SetOpCase{"remove last", {"A", "B", "C"}, [](MarginTableSet& s) { return int(s.Remove(2)); }, 1, {"A", "B"}},
        SetOpCase{"remove the only table", {"A"}, [](MarginTableSet& s) { return int(s.Remove(0)); }, 0, {"A"}},
        SetOpCase{"remove beyond the set", {"A", "B"}, [](MarginTableSet& s) { return int(s.Remove(2)); }, 0, {"A", "B"}},
        SetOpCase{"swap up", {"A", "B", "C"}, [](MarginTableSet& s) { return int(s.Swap(0, 1)); }, 1, {"B", "A", "C"}},
        SetOpCase{"swap beyond", {"A", "B"}, [](MarginTableSet& s) { return int(s.Swap(1, 2)); }, 0, {"A", "B"}},
        SetOpCase{"new", {"A", "B"}, [](MarginTableSet& s) { return s.AddNew(); }, 2, {"A", "B", ""}},
        SetOpCase{"new into a full set", Fifteen(), [](MarginTableSet& s) { return s.AddNew(); }, -1, Fifteen()},
        SetOpCase{"copy", {"A", "B"}, [](MarginTableSet& s) { return s.AddCopy(0); }, 2, {"A", "B", ""}},
        SetOpCase{"copy of no table", {"A"}, [](MarginTableSet& s) { return s.AddCopy(1); }, -1, {"A"}},
        SetOpCase{"a gap closes first", {"A", "", "C"}, [](MarginTableSet& s) { return s.AddNew(); }, 2, {"A", "C", ""}},
        SetOpCase{"remove after a gap", {"A", "", "C", "D"}, [](MarginTableSet& s) { return int(s.Remove(1)); }, 1,
                  {"A", "D"}}));

TEST(SetOperations, NewAndCopiedTablesStartAsTheEditorExpects) {
    MarginTableSet set = SetOf({"A"});
    set.Slot(0).Same = 1;
    set.Slot(0).LowLimitK = W(100);
    const int copy = set.AddCopy(0);
    MarginTable expected = set.Slot(0);
    expected.Name.clear();
    EXPECT_TRUE(set.Slot(copy) == expected);

    const int fresh = set.AddNew();
    const MarginTable& t = set.Slot(fresh);
    EXPECT_TRUE(t.inUse);
    EXPECT_EQ(t.Name, "");
    EXPECT_EQ(t.Same, 0);
    EXPECT_EQ(t.ElementsK, 1);
    EXPECT_EQ(t.ElementsU, 1);
    EXPECT_EQ(t.LowLimitK, W(0));
    EXPECT_EQ(t.bracketsK[0], MarginBracket{});
}

}  // namespace
}  // namespace zavota
