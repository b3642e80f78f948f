// Fixed-point arithmetic: every figure below was worked out by hand on the scaled integers
// (value × 10,000), so a one-unit slip in any rounding mode shows up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "core/DecimalCalc.h"
#include "YenTesting.h"
#include "core/Yen.h"

namespace zavota {

namespace {

constexpr std::int64_t kTop = std::numeric_limits<std::int64_t>::max();

struct OpCase {
    const char* what;
    Yen a, b;
    int digits;
    RoundMode mode;
    OpKind kind;
    Yen expected;
};

void PrintTo(const OpCase& c, std::ostream* os) { *os << c.what; }

class DecimalOp : public ::testing::TestWithParam<OpCase> {};

TEST_P(DecimalOp, GivesTheRoundedScaledResult) {
    const OpCase& c = GetParam();
    EXPECT_EQ(DecimalCalc::Op(c.a, c.b, c.digits, c.mode, c.kind).raw, c.expected.raw) << c.what;
    // The four named operations are the general one with a fixed kind.
    Yen named{};
    switch (c.kind) {
        case OpMul: named = DecimalCalc::Mul(c.a, c.b, c.digits, c.mode); break;
        case OpDiv: named = DecimalCalc::Div(c.a, c.b, c.digits, c.mode); break;
        case OpAdd: named = DecimalCalc::Add(c.a, c.b, c.digits, c.mode); break;
        case OpSub: named = DecimalCalc::Sub(c.a, c.b, c.digits, c.mode); break;
    }
    EXPECT_EQ(named.raw, c.expected.raw) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalOp,
    ::testing::Values(
        // 1,234.5 × 3 = 3,703.5
        OpCase{"mul none", R(12345000), W(3), 0, RoundNone, OpMul, R(37035000)},
        OpCase{"mul down", R(12345000), W(3), 0, RoundDown, OpMul, W(3703)},
        OpCase{"mul halfup", R(12345000), W(3), 0, RoundHalfUp, OpMul, W(3704)},
        OpCase{"mul up", R(12345000), W(3), 0, RoundUp, OpMul, W(3704)},
        OpCase{"mul neg down", R(-12345000), W(3), 0, RoundDown, OpMul, W(-3703)},
        OpCase{"mul neg halfup", R(-12345000), W(3), 0, RoundHalfUp, OpMul, W(-3704)},
        OpCase{"mul neg up", R(-12345000), W(3), 0, RoundUp, OpMul, W(-3704)},
        // The scaled product is truncated toward zero before any rounding: 0.0001 × 0.5.
        OpCase{"mul tiny", R(1), R(5000), 0, RoundNone, OpMul, R(0)},
        OpCase{"mul tiny neg", R(-1), R(5000), 0, RoundNone, OpMul, R(0)},
        OpCase{"mul tiny up", R(1), R(5000), 0, RoundUp, OpMul, R(0)},
        // -7 / 2 and 7 / 2
        OpCase{"div neg down", W(-7), W(2), 0, RoundDown, OpDiv, W(-3)},
        OpCase{"div neg halfup", W(-7), W(2), 0, RoundHalfUp, OpDiv, W(-4)},
        OpCase{"div neg up", W(-7), W(2), 0, RoundUp, OpDiv, W(-4)},
        OpCase{"div neg none", W(-7), W(2), 0, RoundNone, OpDiv, R(-35000)},
        OpCase{"div down", W(7), W(2), 0, RoundDown, OpDiv, W(3)},
        OpCase{"div halfup", W(7), W(2), 0, RoundHalfUp, OpDiv, W(4)},
        // Two and three decimals; 2/3 is 0.6666 after the truncating division.
        OpCase{"2/3 halfup 2", W(2), W(3), 2, RoundHalfUp, OpDiv, R(6700)},
        OpCase{"2/3 down 2", W(2), W(3), 2, RoundDown, OpDiv, R(6600)},
        OpCase{"2/3 halfup 3", W(2), W(3), 3, RoundHalfUp, OpDiv, R(6670)},
        OpCase{"2/3 down 3", W(2), W(3), 3, RoundDown, OpDiv, R(6660)},
        OpCase{"1/3 down 2", W(1), W(3), 2, RoundDown, OpDiv, R(3300)},
        OpCase{"1/3 up 2", W(1), W(3), 2, RoundUp, OpDiv, R(3400)},
        OpCase{"-1/3 up 2", W(-1), W(3), 2, RoundUp, OpDiv, R(-3400)},
        OpCase{"1/3 halfup 3", W(1), W(3), 3, RoundHalfUp, OpDiv, R(3330)},
        OpCase{"1/3 none", W(1), W(3), 2, RoundNone, OpDiv, R(3333)},
        OpCase{"1/3 none ignores digits", W(1), W(3), 0, RoundNone, OpDiv, R(3333)},
        // One decimal: 1.25
        OpCase{"1.25 halfup 1", R(12500), W(1), 1, RoundHalfUp, OpMul, R(13000)},
        OpCase{"-1.25 halfup 1", R(-12500), W(1), 1, RoundHalfUp, OpMul, R(-13000)},
        OpCase{"1.25 down 1", R(12500), W(1), 1, RoundDown, OpMul, R(12000)},
        OpCase{"1.25 up 1", R(12500), W(1), 1, RoundUp, OpMul, R(13000)},
        OpCase{"-1.25 up 1", R(-12500), W(1), 1, RoundUp, OpMul, R(-13000)},
        // Just below a half stays down; exactly a half goes away from zero.
        OpCase{"0.4999 halfup", R(4999), W(1), 0, RoundHalfUp, OpMul, W(0)},
        OpCase{"0.5 halfup", R(5000), W(1), 0, RoundHalfUp, OpMul, W(1)},
        OpCase{"-0.5 halfup", R(-5000), W(1), 0, RoundHalfUp, OpMul, W(-1)},
        // A value already on the kept decimals is left alone by RoundUp.
        OpCase{"exact up", W(1000), W(1), 0, RoundUp, OpMul, W(1000)},
        OpCase{"exact neg up", W(-1000), W(1), 0, RoundUp, OpMul, W(-1000)},
        OpCase{"exact up 2", R(12300), W(1), 2, RoundUp, OpMul, R(12300)},
        OpCase{"0.0001 up", R(1), W(0), 0, RoundUp, OpAdd, W(1)},
        OpCase{"-0.0001 up", R(-1), W(0), 0, RoundUp, OpAdd, W(-1)},
        // Add and Sub round their exact result.
        OpCase{"add down 2", R(12345), R(20001), 2, RoundDown, OpAdd, R(32300)},
        OpCase{"add none", R(12345), R(20001), 2, RoundNone, OpAdd, R(32346)},
        OpCase{"sub halfup", W(1), R(25000), 0, RoundHalfUp, OpSub, W(-2)},
        OpCase{"sub down", W(1), R(25000), 0, RoundDown, OpSub, W(-1)},
        OpCase{"sub up", W(1), R(25000), 0, RoundUp, OpSub, W(-2)},
        OpCase{"discount factor", W(100), R(125000), 3, RoundNone, OpSub, R(875000)},
        // Beyond the 64-bit scaled range the rule's result still comes out.
        OpCase{"big mul", W(9'000'000'000), W(100), 0, RoundNone, OpMul, W(900'000'000'000)},
        OpCase{"big mul neg", W(-9'000'000'000), W(100), 0, RoundDown, OpMul, W(-900'000'000'000)},
        OpCase{"big div", W(900'000'000'000), W(3), 0, RoundDown, OpDiv, W(300'000'000'000)},
        // 9,999,999,999 × 10 % of the tax rule: the product scaled is about 1e19.
        OpCase{"big rate", W(9'999'999'999), W(10), 0, RoundNone, OpMul, W(99'999'999'990)},
        // Roundings that add a unit need room at the top of the range, truncation does not: a
        // sum just below the limit saturates when rounded up, half up or down and away.
        OpCase{"top half up", R(kTop - 100), R(0), 0, RoundHalfUp, OpAdd, R(kTop)},
        OpCase{"top up", R(kTop - 100), R(0), 0, RoundUp, OpAdd, R(kTop)},
        OpCase{"bottom half up", R(-kTop + 100), R(0), 0, RoundHalfUp, OpSub, R(-kTop - 1)},
        OpCase{"top down", R(kTop - 100), R(0), 0, RoundDown, OpAdd, R(kTop / 10'000 * 10'000)}));

struct CompareCase {
    Yen a, b;
    int relation;
    bool expected;
};

class DecimalCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(DecimalCompare, ComparesScaledValues) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(DecimalCalc::Compare(c.a, c.b, static_cast<Relation>(c.relation)), c.expected)
        << c.a.raw << " rel " << c.relation << " " << c.b.raw;
}

INSTANTIATE_TEST_SUITE_P(
    Relations, DecimalCompare,
    ::testing::Values(
        CompareCase{W(5), W(5), RelEqual, true}, CompareCase{W(5), R(50001), RelEqual, false},
        CompareCase{W(5), W(5), RelNotEqual, false}, CompareCase{W(5), R(50001), RelNotEqual, true},
        CompareCase{W(5), W(5), RelGreaterOrEqual, true}, CompareCase{W(4), W(5), RelGreaterOrEqual, false},
        CompareCase{R(50001), W(5), RelGreaterOrEqual, true},
        CompareCase{W(5), W(5), RelLessOrEqual, true}, CompareCase{W(6), W(5), RelLessOrEqual, false},
        CompareCase{W(5), W(5), RelGreater, false}, CompareCase{R(50001), W(5), RelGreater, true},
        CompareCase{W(-6), W(-5), RelGreater, false},
        CompareCase{W(5), W(5), RelLess, false}, CompareCase{W(-6), W(-5), RelLess, true},
        // An unknown relation is false whatever the operands.
        CompareCase{W(5), W(5), 0, false}, CompareCase{W(5), W(4), 7, false},
        CompareCase{W(4), W(5), -1, false}));

struct TextCase {
    Yen value;
    int digits;
    const char* expected;
};

class DecimalToText : public ::testing::TestWithParam<TextCase> {};

TEST_P(DecimalToText, FormatsWithGroupingAndRounding) {
    const TextCase& c = GetParam();
    EXPECT_EQ(DecimalCalc::ToText(c.value, c.digits), c.expected) << c.value.raw;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalToText,
    ::testing::Values(TextCase{W(-1'234'567), 0, "-1,234,567"}, TextCase{R(123000), 2, "12.30"},
                      TextCase{W(0), 0, "0"}, TextCase{W(0), 2, "0.00"}, TextCase{W(999), 0, "999"},
                      TextCase{W(1000), 0, "1,000"}, TextCase{W(100'000'000), 0, "100,000,000"},
                      TextCase{W(-100), 0, "-100"}, TextCase{W(123'456), 3, "123,456.000"},
                      TextCase{R(12345), 4, "1.2345"}, TextCase{R(-12345000), 1, "-1,234.5"},
                      // dropped decimals round half away from zero
                      TextCase{R(12'345'678'910), 2, "1,234,567.89"}, TextCase{R(50), 2, "0.01"},
                      TextCase{R(-50), 2, "-0.01"}, TextCase{R(25000), 0, "3"}, TextCase{R(-25000), 0, "-3"},
                      TextCase{R(14999), 0, "1"}, TextCase{R(9'999'999), 2, "1,000.00"},
                      TextCase{R(87000), 2, "8.70"}, TextCase{R(-35000), 2, "-3.50"},
                      // a negative fraction that rounds to zero carries no sign
                      TextCase{R(-4999), 0, "0"}, TextCase{R(-49), 2, "0.00"}, TextCase{R(-5), 3, "-0.001"},
                      TextCase{W(9'999'999'999), 0, "9,999,999,999"},
                      TextCase{W(-1'234'567'891'234), 0, "-1,234,567,891,234"}));

struct DoubleCase {
    double value;
    std::int64_t raw;
};

class YenFromDouble : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(YenFromDouble, RoundsToNearestTiesToEven) {
    EXPECT_EQ(Yen::FromDouble(GetParam().value).raw, GetParam().raw) << GetParam().value;
}

// 1/32, 3/32 and 5/32 are exact binary fractions whose scaled values end in exactly .5.
INSTANTIATE_TEST_SUITE_P(Ties, YenFromDouble,
                         ::testing::Values(DoubleCase{0.03125, 312}, DoubleCase{0.09375, 938},
                                           DoubleCase{0.15625, 1562}, DoubleCase{-0.03125, -312},
                                           DoubleCase{-0.09375, -938}, DoubleCase{1.0, 10000},
                                           DoubleCase{0.1, 1000}, DoubleCase{2.555, 25550},
                                           DoubleCase{99'999'999.0, 999'999'990'000},
                                           DoubleCase{-9'999'999'999.0, -99'999'999'990'000}));

TEST(YenFromDoubleEdge, NotANumberGivesZero) {
    EXPECT_EQ(Yen::FromDouble(std::numeric_limits<double>::quiet_NaN()).raw, 0);
}

// The three steps of a percent fused into one division give the steps' results, overflow and
// all; without checks, every operation gives the checked result wherever no product reaches
// 2^62. Operands of every size and sign, up to that edge and past it.
TEST(DecimalUnchecked, GivesTheCheckedResultsBelowTheEdge) {
    constexpr std::int64_t kEdge = std::int64_t{1} << 62;
    std::mt19937_64 g(62);
    auto operand = [&] {  // a magnitude of 0 to 62 bits, either sign
        const int bits = static_cast<int>(g() % 63);
        const auto v = static_cast<std::int64_t>(g() >> (64 - bits - 1) >> 1);
        return g() % 2 ? -v : v;
    };
    auto fits = [&](std::int64_t a, std::int64_t b) {
        std::int64_t p;
        return !__builtin_mul_overflow(a, b, &p) && p > -kEdge && p < kEdge;
    };
    for (int i = 0; i < 200'000; ++i) {
        const Yen a{operand()}, b{operand()};
        const int digits = static_cast<int>(g() % 5);
        const auto mode = static_cast<RoundMode>(g() % 4);
        // Products a unit either side of a whole yen's worth, where a truncation can slip.
        const Yen edge{static_cast<std::int64_t>(g() % 1'000'000) * 10'000'000'000 + static_cast<std::int64_t>(g() % 3) - 1};
        for (const auto& [x, y] : {std::pair{a, b}, std::pair{edge, Yen{1}}, std::pair{edge, Yen{-1}}}) {
            ASSERT_EQ(DecimalCalc::PercentDown(x, y), DecimalCalc::Div(DecimalCalc::Mul(x, y, 0, RoundNone), W(100), 0, RoundDown))
                << x.raw << " " << y.raw;
            if (fits(x.raw, y.raw)) {
                ASSERT_EQ(DecimalCalc::PercentDown<false>(x, y), DecimalCalc::PercentDown(x, y));
            }
        }
        if (fits(a.raw, b.raw)) {
            ASSERT_EQ(DecimalCalc::Mul<false>(a, b, digits, mode), DecimalCalc::Mul(a, b, digits, mode)) << a.raw << " " << b.raw;
        }
        if (fits(a.raw, Yen::kScale)) {
            ASSERT_EQ(DecimalCalc::Div<false>(a, b, digits, mode), DecimalCalc::Div(a, b, digits, mode)) << a.raw << " " << b.raw;
        }
        if (a.raw > -kEdge / 2 && a.raw < kEdge / 2 && b.raw > -kEdge / 2 && b.raw < kEdge / 2) {
            ASSERT_EQ(DecimalCalc::Add<false>(a, b, digits, mode), DecimalCalc::Add(a, b, digits, mode));
            ASSERT_EQ(DecimalCalc::Sub<false>(a, b, digits, mode), DecimalCalc::Sub(a, b, digits, mode));
        }
    }
}

}  // namespace
}  // namespace zavota
