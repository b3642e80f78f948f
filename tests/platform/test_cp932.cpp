#include "platform/Cp932.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace zavota::platform {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Cp932, EncodesOnlyWhatComesBackUnchanged) {
    struct Case {
        std::string utf8;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {"", std::string()},
        {"ＭＳ ゴシック", "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"},
        {"ソ表", "\x83\x5C\x95\x5C"},  // second bytes are "\"
        {"ゼゾ", "\x83\x5B\x83\x5D"},  // second bytes are "[" and "]"
        {"～①", "\x81\x60\x87\x40"},   // U+FF5E, NEC special
        {"\\~", "\\~"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        // The marks Windows writes as the code page's own forms (they read back as those).
        {"〜‖−￠￡￢—", "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C"},
        {"¢£¬", "\x81\x91\x81\x92\x81\xCA"},
        {"¥", std::nullopt},              // folds onto "\"
        {"€", std::nullopt},              // not in the code page
        {"\xE3\x81", std::nullopt},       // truncated
        {"\xED\xA0\x80", std::nullopt},   // surrogate
        {"\xC0\xAF", std::nullopt},       // overlong "/"
    };
    for (const auto& c : cases) EXPECT_EQ(ToCp932(c.utf8), c.bytes) << c.utf8;
}

TEST(Cp932, DecodesStrictly) {
    EXPECT_EQ(FromCp932("\x83\x5C\x95\x5C\\~"), "ソ表\\~");
    EXPECT_EQ(FromCp932("\xF0\x40"), "\xEE\x80\x80");  // user-defined area
    for (std::string bad : {"\x80", "a\x83", "\x85\x40", "\xFF"})
        EXPECT_EQ(FromCp932(bad), std::nullopt) << bad;
}

TEST(Cp932, LengthCountsEachCharacter) {
    struct Case {
        std::string utf8;
        std::size_t length;
    };
    const Case cases[] = {
        {"", 0}, {"abc", 3}, {"ＭＳ ゴシック", 13}, {"ｱｲ", 2},
        {"〜¢", 4},             // written as 0x8160 and 0x8191
        {"😀", 4},              // does not fit: its UTF-8 length
        {"a〜ソ😀", 1 + 2 + 2 + 4},
        {"\xE3\x81" "a", 3},    // a broken character never counts shorter
    };
    for (const auto& c : cases) EXPECT_EQ(Cp932Length(c.utf8), c.length) << c.utf8;
}

TEST(Cp932, DiskFormRoundTrips) {
    struct Case {
        std::string text;
        bool utf8;
    };
    const Case cases[] = {
        {"", false}, {"ソ表 ＭＳ ゴシック ～ \\~", false}, {"€", true}, {"ソ😀表", true}, {"😀", true},
    };
    for (const auto& c : cases) {
        const std::string bytes = EncodeForDisk(c.text);
        EXPECT_EQ(bytes.starts_with(kUtf8Bom), c.utf8) << c.text;
        const DecodedText back = DecodeFromDisk(bytes);
        EXPECT_EQ(back.text, c.text);
        EXPECT_FALSE(back.damaged) << c.text;
    }
    // Broken UTF-8 is stored as it would read back, so the file never reads as damaged.
    EXPECT_EQ(DecodeFromDisk(EncodeForDisk("a\xFF")).text, "a" + kFffd);
    // A NUL typed into a text page is left out: the file must not read as damaged.
    const DecodedText typed = DecodeFromDisk(EncodeForDisk(std::string("a\0b\r\n", 5)));
    EXPECT_EQ(typed.text, "ab\r\n");
    EXPECT_FALSE(typed.damaged);
}

TEST(Cp932, DamagedBytesDecodeAsFarAsPossible) {
    const std::string bom(kUtf8Bom);
    struct Case {
        std::string bytes, text;
        bool damaged;
    };
    const Case cases[] = {
        {"\x83\x5C=\x95\x5C", "ソ=表", false},
        {"a\x80" "b", "a" + kFffd + "b", true},
        {"a\x83", "a" + kFffd, true},                // truncated at the end
        {"\x85\x5B" "x", kFffd + "x", true},          // a bad pair must not leave a "["
        {"\x83\r\nx", kFffd + "\r\nx", true},         // a lone lead byte must not eat a line end
        {std::string("a\0b", 3), std::string("a\0b", 3), true},
        {bom + "ソ", "ソ", false},
        {bom + "a\xFF" "b", "a" + kFffd + "b", true},
        {bom + "\xE3\x81" "a", kFffd + "a", true},    // one replacement per broken character
        {bom + "\xED\xA0\x80", kFffd + kFffd + kFffd, true},
    };
    for (const auto& c : cases) {
        const DecodedText d = DecodeFromDisk(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.bytes;
        EXPECT_EQ(d.damaged, c.damaged) << c.bytes;
    }
}

}  // namespace
}  // namespace zavota::platform
