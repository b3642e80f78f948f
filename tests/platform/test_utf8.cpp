// Which bytes are valid UTF-8: the edges of each lead byte's range, where a decoder that is
// one off accepts overlong forms, surrogates or code points above U+10FFFF.
#include "platform/Utf8.h"

#include <string>

#include <gtest/gtest.h>

namespace zavota::platform {
namespace {

TEST(Utf8, RefusesOverlongSurrogatesAndBeyondTheLastCodePoint) {
    struct Case {
        std::string bytes;
        int sequence;  // Utf8Sequence of the bytes
        char32_t cp;   // decoded, when valid
    };
    const Case cases[] = {
        {"\x7F", 1, 0x7F},
        {"\xC0\xAF", -1, 0},              // overlong "/"
        {"\xC1\xBF", -1, 0},              // overlong U+007F
        {"\xC2\x80", 2, 0x80},            // first two-byte code point
        {"\xDF\xBF", 2, 0x7FF},
        {"\xDF\xC0", -1, 0},              // second byte past the continuation range
        {"\xE0\x9F\xBF", -1, 0},          // overlong U+07FF
        {"\xE0\xA0\x80", 3, 0x800},
        {"\xED\x9F\xBF", 3, 0xD7FF},      // last before the surrogates
        {"\xED\xA0\x80", -1, 0},          // first surrogate
        {"\xEF\xBF\xBF", 3, 0xFFFF},
        {"\xF0\x8F\xBF\xBF", -1, 0},      // overlong U+FFFF
        {"\xF0\x90\x80\x80", 4, 0x10000},
        {"\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
        {"\xF4\x90\x80\x80", -1, 0},      // U+110000
        {"\xF5\x80\x80\x80", -1, 0},
        {"\xE3\x81", -2, 0},              // truncated
        {"\xE3\x81\x7F", -2, 0},          // third byte not a continuation
        {"\x80", -1, 0},                  // lone continuation
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(Utf8Sequence(c.bytes), c.sequence);
        EXPECT_EQ(ValidUtf8(c.bytes), c.sequence > 0);
        std::size_t at = 0;
        char32_t cp = 0;
        EXPECT_EQ(DecodeUtf8(c.bytes, at, cp), c.sequence > 0);
        if (c.sequence > 0) {
            EXPECT_EQ(cp, c.cp);
            EXPECT_EQ(at, c.bytes.size());
            std::string again;
            AppendUtf8(again, cp);
            EXPECT_EQ(again, c.bytes);
        }
        EXPECT_EQ(RepairUtf8(c.bytes).damaged, c.sequence <= 0);
    }
}

}  // namespace
}  // namespace zavota::platform
