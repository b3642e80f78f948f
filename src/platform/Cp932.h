// Code page 932 (Shift-JIS as Windows has it) for the files a Windows copy of the program reads.
// Texts inside the program are UTF-8.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zavota::platform {

// The code page 932 bytes of a UTF-8 text, or nullopt when a character is outside the code page
// or the text is not valid UTF-8. The marks Windows maps onto the code page's own forms are
// written so (U+301C as 0x8160, U+2212 as 0x817C, …) and read back in those forms; any other
// character that would not come back unchanged is refused.
std::optional<std::string> ToCp932(std::string_view utf8);

// The text with each mark Windows writes as a code page 932 neighbour replaced by that neighbour
// (U+301C by U+FF5E, …): what the text reads back as from a code page 932 file.
std::string WithBestFits(std::string_view utf8);

// The UTF-8 text of code page 932 bytes, or nullopt when the bytes are not valid code page 932.
std::optional<std::string> FromCp932(std::string_view bytes);

// Bytes the text takes in code page 932, the measure of the name and motto limits. A character
// the code page cannot hold counts with its UTF-8 length, so such a text never passes for shorter.
std::size_t Cp932Length(std::string_view utf8);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The bytes of a text file: code page 932 when every character fits, else UTF-8 after a
// byte-order mark, so that nothing a user typed is changed on disk. A NUL, which a text file
// cannot hold, is left out.
std::string EncodeForDisk(std::string_view utf8);

struct DecodedText {
    std::string text;      // UTF-8; bytes that could not be decoded become U+FFFD
    bool damaged = false;  // undecodable bytes or a NUL were found
    bool utf16le = false;  // the bytes were UTF-16LE after a byte-order mark
};
// The reverse of EncodeForDisk: a leading byte-order mark means UTF-8 or UTF-16LE (as Windows
// reads text files), anything else code page 932.
DecodedText DecodeFromDisk(std::string_view bytes);

}  // namespace zavota::platform
