// UTF-8 checks shared by the file formats: what counts as valid text, and how invalid bytes are
// replaced when a damaged file is read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zavota::platform {

inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at the front of `s` (overlong forms, surrogates and
// code points above U+10FFFF are not valid); otherwise the negated length of its longest
// valid-looking start, which is what one replacement character stands for. `s` is not empty.
int Utf8Sequence(std::string_view s);

// Decodes the sequence at s[i] and moves i past it; false (i unchanged) when it is not valid.
bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& cp);
bool ValidUtf8(std::string_view s);
void AppendUtf8(std::string& out, char32_t cp);

struct RepairedText {
    std::string text;
    bool damaged = false;  // something was replaced
};
// Every invalid sequence replaced by U+FFFD.
RepairedText RepairUtf8(std::string_view s);

// UTF-16 little endian, the form of regedit's files and of Unicode profile files.
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
// Invalid UTF-8 becomes U+FFFD.
std::string Utf16LeFromUtf8(std::string_view utf8);
// An unpaired surrogate or a last odd byte becomes U+FFFD and marks the text damaged.
RepairedText Utf8FromUtf16Le(std::string_view bytes);

}  // namespace zavota::platform
