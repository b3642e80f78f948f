// The rules that turn what a user types into numbers: key filters, the check made on every
// change of a field, and the reading of a field when a calculation starts.
// Parsing never depends on the process locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavota {

// Control characters a field lets through besides digits and signs.
inline constexpr char32_t kKeyBackspace = 8;
inline constexpr char32_t kKeyCopy = 3;    // Ctrl+C
inline constexpr char32_t kKeyCut = 24;    // Ctrl+X
inline constexpr char32_t kKeyPaste = 22;  // Ctrl+V

enum class FieldKind {
    WholeNumber,        // prices, counts, yen what-if fields, trading unit, manual commission
    SignedWholeNumber,  // the annual gain: also "-"
    Decimal,            // profit-rate and tax-rate fields: also "."
    SignedDecimal,      // the memo calculator's operands and memories: "-", "." and ","
};

// True when the key may reach the field; every other key is discarded.
bool KeyAllowed(FieldKind kind, char32_t key);

// ASCII white space trimmed from both ends.
std::string_view TrimAscii(std::string_view text);

// A decimal number: optional sign, digits, optional "." and decimals, at least one digit,
// ASCII only, surrounding ASCII white space allowed. No exponent, no separators.
std::optional<double> ParseNumber(std::string_view text);

struct NormalisedText {
    std::string text;     // what the field holds afterwards
    bool refused = false; // true: message 200 is shown and the field emptied
    bool tooLong = false; // true: message 200 is shown and the field keeps its earlier text
};

// The check run on every change of a numeric field: every "," removed; a text still longer
// than `maxLength` characters (0: no limit) is refused as a whole, never cut, since a cut
// number is another number; empty, "+" (and "-" for signed fields) accepted as they stand;
// anything else must be a number, else the field is emptied and message 200 shown.
NormalisedText NormaliseOnChange(std::string_view text, FieldKind kind, int maxLength = 0);

// A typed rate has at most `digits` decimals (two for the tax and profit rates, three in the
// commission tables). The truncation is done on the fixed-point value so
// that binary noise cannot decide it (2.55 is not 2.5499… here); digits beyond the fourth
// decimal, which the fixed-point value drops, are refused too.
bool AtMostDecimals(double x, int digits);
inline bool AtMostTwoDecimals(double x) { return AtMostDecimals(x, 2); }

// Shortest plain decimal form of a value as the windows write it back ("1000", "2.5").
std::string ShortestText(double value);

}  // namespace zavota
