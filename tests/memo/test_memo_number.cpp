#include "memo/MemoNumber.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace zavota {
namespace {

TEST(MemoNumberTest, ParsesCellText) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"", 0.0},
        {" \t ", 0.0},
        {"1,234", 1234.0},
        {" 1,000,000 ", 1000000.0},
        {"1,2,3", 123.0},  // separators are removed wherever they stand
        {"-5", -5.0},
        {"+3.5", 3.5},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1.5E-2", 0.015},
        {"2,5e+1", 250.0},
        {"0e999999999999999999", 0.0},
        {"1e-400", 0.0},  // too small for a double: zero, not an error
        {",", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1 000", std::nullopt},
        {"--1", std::nullopt},
        {"+", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"e5", std::nullopt},
        {"1e+", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {"1e400", std::nullopt},
        {"1e99999999999999999999", std::nullopt},
        {"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt},  // full-width "１２"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseMemoNumber(c.text), c.expected);
    }
}

TEST(MemoNumberTest, AmountIsFixedPoint) {
    EXPECT_EQ(ParseMemoAmount("1,234.5"), Yen::FromRaw(12345000));
    EXPECT_EQ(ParseMemoAmount(""), Yen{});
    EXPECT_EQ(ParseMemoAmount("0.00001"), Yen{});  // below the fourth decimal
    EXPECT_EQ(ParseMemoAmount("1e20"), Yen::FromRaw(std::numeric_limits<std::int64_t>::max()));
    EXPECT_EQ(ParseMemoAmount("x"), std::nullopt);
}

}  // namespace
}  // namespace zavota
