// Text fields that a Windows copy of the program keeps in code page 932 with a byte limit
// (the table name, the motto): what may be stored in them.
#pragma once

#include <cstddef>
#include <string_view>

namespace zavota {

inline constexpr std::size_t kTableNameBytes = 28;

enum class Cp932Fit { Fits, TooLong, BadCharacter };

// BadCharacter: a character outside code page 932 (it would be stored as something else) or a
// control character; TooLong: more than `maxBytes` bytes in code page 932.
Cp932Fit FitCp932Field(std::string_view utf8, std::size_t maxBytes);

}  // namespace zavota
