#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace zavota {
namespace {

TEST(NumberTextTest, KeyFilterPerFieldKind) {
    struct Case {
        char32_t key;
        bool whole;
        bool signedWhole;
        bool decimal;
        bool signedDecimal;
    };
    const Case cases[] = {
        {U'0', true, true, true, true},
        {U'9', true, true, true, true},
        {U'+', true, true, true, true},
        {kKeyBackspace, true, true, true, true},
        {kKeyCopy, true, true, true, true},
        {kKeyCut, true, true, true, true},
        {kKeyPaste, true, true, true, true},
        {U'-', false, true, false, true},
        {U'.', false, false, true, true},
        {U',', false, false, false, true},
        {U'a', false, false, false, false},
        {U'e', false, false, false, false},
        {U' ', false, false, false, false},
        {U'１', false, false, false, false},  // full-width digit
        {13, false, false, false, false},     // Enter
        {1, false, false, false, false},      // Ctrl+A
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.key));
        EXPECT_EQ(KeyAllowed(FieldKind::WholeNumber, c.key), c.whole);
        EXPECT_EQ(KeyAllowed(FieldKind::SignedWholeNumber, c.key), c.signedWhole);
        EXPECT_EQ(KeyAllowed(FieldKind::Decimal, c.key), c.decimal);
        EXPECT_EQ(KeyAllowed(FieldKind::SignedDecimal, c.key), c.signedDecimal);
    }
}

TEST(NumberTextTest, TrimAsciiLeavesInnerAndNonAsciiSpace) {
    EXPECT_EQ(TrimAscii(" \t\r\n12 3\v\f "), "12 3");
    EXPECT_EQ(TrimAscii("   "), "");
    // An ideographic space is not ASCII white space and stays.
    EXPECT_EQ(TrimAscii("\u3000" "1"), "\u3000" "1");
}

TEST(NumberTextTest, ParseNumber) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"1000", 1000.0},
        {"0", 0.0},
        {"+3", 3.0},
        {"-7", -7.0},
        {"12.5", 12.5},
        {"  2.55\t", 2.55},
        {"\r\n42\n", 42.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"-.25", -0.25},
        {"007", 7.0},
        {"99999999.99", 99999999.99},
        {"0.1", 0.1},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"+.", std::nullopt},
        {"1,000", std::nullopt},
        {"12a", std::nullopt},
        {"1e5", std::nullopt},
        {"1E5", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"-infinity", std::nullopt},
        {"nan", std::nullopt},
        {"1.2.3", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"1 2", std::nullopt},
        {"1-", std::nullopt},
        {"１２", std::nullopt},  // full-width digits
        {"1\u3000", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text), c.expected);
    }
}

TEST(NumberTextTest, ParseNumberRefusesValuesBeyondDouble) {
    EXPECT_FALSE(ParseNumber(std::string(400, '9')).has_value());
    EXPECT_FALSE(ParseNumber("-" + std::string(400, '9')).has_value());
    // Long but representable texts still parse.
    const std::optional<double> big = ParseNumber(std::string(300, '9'));
    ASSERT_TRUE(big.has_value());
    EXPECT_TRUE(std::isfinite(*big));
}

TEST(NumberTextTest, NormaliseOnChange) {
    struct Case {
        const char* text;
        FieldKind kind;
        const char* expected;
        bool refused;
        int maxLength = 0;
        bool tooLong = false;
    };
    const Case cases[] = {
        {"1,000", FieldKind::WholeNumber, "1000", false},
        {"1,2,3,4.5", FieldKind::Decimal, "1234.5", false},
        {",,,", FieldKind::WholeNumber, "", false},
        {"", FieldKind::WholeNumber, "", false},
        {"  ", FieldKind::WholeNumber, "  ", false},
        {"+", FieldKind::WholeNumber, "+", false},
        {" + ", FieldKind::Decimal, " + ", false},
        {"-", FieldKind::SignedWholeNumber, "-", false},
        {"-", FieldKind::WholeNumber, "", true},
        {"-", FieldKind::Decimal, "", true},
        {"-", FieldKind::SignedDecimal, "-", false},
        {"-1,234.5", FieldKind::SignedDecimal, "-1234.5", false},
        {"1-", FieldKind::SignedDecimal, "", true},
        {"-1,500", FieldKind::SignedWholeNumber, "-1500", false},
        // A pasted negative number is a number; its range is checked when it is used.
        {"-5", FieldKind::WholeNumber, "-5", false},
        {"12a", FieldKind::WholeNumber, "", true},
        {"1,2a", FieldKind::WholeNumber, "", true},
        {".", FieldKind::Decimal, "", true},
        {"1e3", FieldKind::Decimal, "", true},
        {"１０００", FieldKind::WholeNumber, "", true},
        // The limit counts what is left once the separators are gone, and refuses, never cuts.
        {"1,234,567,890", FieldKind::WholeNumber, "1234567890", false, 10},
        {"12,345,678,901", FieldKind::WholeNumber, "", true, 10, true},
        {"12345678901", FieldKind::WholeNumber, "12345678901", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const NormalisedText result = NormaliseOnChange(c.text, c.kind, c.maxLength);
        EXPECT_EQ(result.text, c.expected);
        EXPECT_EQ(result.refused, c.refused);
        EXPECT_EQ(result.tooLong, c.tooLong);
    }
}

TEST(NumberTextTest, ShortestText) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {1000, "1000"},
        {2.5, "2.5"},
        {0, "0"},
        {-0.0, "0"},
        {-12, "-12"},
        {0.1, "0.1"},
        {2.55, "2.55"},
        {99999999, "99999999"},
        {-99999999, "-99999999"},
        {99999999.99, "99999999.99"},
        {1e20, "100000000000000000000"},
        {1e-5, "0.00001"},
        {0.1 + 0.2, "0.30000000000000004"},
        {INFINITY, "0"},
        {NAN, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ShortestText(c.value), c.expected);
    }
}

TEST(NumberTextTest, ShortestTextReadsBackExactly) {
    const double values[] = {1.0 / 3, 123456.789, -0.0001, 1e15 + 0.5, 9007199254740993.0, 1e300, 5e-324};
    for (const double v : values) {
        const std::string text = ShortestText(v);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos);
        EXPECT_EQ(ParseNumber(text), v);
    }
}

}  // namespace
}  // namespace zavota
