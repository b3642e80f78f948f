// What a table name may hold: code page 932 characters only, no control characters, 28 bytes.
#include <gtest/gtest.h>

#include "settings/Cp932Field.h"

namespace zavota {
namespace {

TEST(Cp932Field, TableNameLimitCountsCodePageBytes) {
    const struct {
        const char* text;
        Cp932Fit fit;
    } cases[] = {
        {"サンプル・定額式", Cp932Fit::Fits},
        {"あいうえおかきくけこさしすせ", Cp932Fit::Fits},     // 14 full-width: 28 bytes
        {"あいうえおかきくけこさしすせそ", Cp932Fit::TooLong},  // 15
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌ", Cp932Fit::Fits},  // half-width kana: one byte each
        {"abcdefghijklmnopqrstuvwxyz123", Cp932Fit::TooLong},
        {"株😀", Cp932Fit::BadCharacter},
        {"波\xE3\x80\x9C", Cp932Fit::Fits},  // U+301C is written as 0x8160, as Windows writes it
        {"a\tb", Cp932Fit::BadCharacter},
        {"\xFF", Cp932Fit::BadCharacter},
        {"", Cp932Fit::Fits},
    };
    for (const auto& c : cases) EXPECT_EQ(FitCp932Field(c.text, kTableNameBytes), c.fit) << c.text;
}

}  // namespace
}  // namespace zavota
