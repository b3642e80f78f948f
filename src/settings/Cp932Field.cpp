#include "Cp932Field.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace zavota {

Cp932Fit FitCp932Field(std::string_view utf8, std::size_t maxBytes) {
    const auto bytes = platform::ToCp932(utf8);
    if (!bytes) return Cp932Fit::BadCharacter;
    // Every control character is a single byte below 0x20 (or 0x7F) in either encoding.
    if (std::any_of(utf8.begin(), utf8.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u < 0x20 || u == 0x7F;
        }))
        return Cp932Fit::BadCharacter;
    return bytes->size() <= maxBytes ? Cp932Fit::Fits : Cp932Fit::TooLong;
}

}  // namespace zavota
