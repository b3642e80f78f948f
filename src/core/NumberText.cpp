#include "NumberText.h"

#include "DecimalCalc.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zavota {

namespace {

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters as a user counts them in a field: UTF-8 continuation bytes do not count.
std::size_t Utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

}  // namespace

bool KeyAllowed(FieldKind kind, char32_t key) {
    if (key >= U'0' && key <= U'9') return true;
    switch (key) {
        case U'+':
        case kKeyBackspace:
        case kKeyCopy:
        case kKeyCut:
        case kKeyPaste:
            return true;
        case U'-':
            return kind == FieldKind::SignedWholeNumber || kind == FieldKind::SignedDecimal;
        case U'.':
            return kind == FieldKind::Decimal || kind == FieldKind::SignedDecimal;
        case U',':
            return kind == FieldKind::SignedDecimal;
        default:
            return false;
    }
}

std::string_view TrimAscii(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimAscii(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Checked by hand rather than left to from_chars: it would accept an exponent, "inf" and
    // "nan", and it does not take "+" or a bare ".5" / "5." the same way on every library.
    std::string digits;
    digits.reserve(text.size() + 2);
    bool seenPoint = false;
    bool seenDigit = false;
    for (const char c : text) {
        if (IsDigit(c)) {
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            if (!seenDigit) digits.push_back('0');
        } else {
            return std::nullopt;
        }
        digits.push_back(c);
    }
    if (!seenDigit) return std::nullopt;
    if (digits.back() == '.') digits.pop_back();

    double value = 0;
    const char* first = digits.data();
    const char* last = first + digits.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec != std::errc{} || end != last || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

NormalisedText NormaliseOnChange(std::string_view text, FieldKind kind, int maxLength) {
    NormalisedText result;
    result.text.reserve(text.size());
    for (const char c : text) {
        if (c != ',') result.text.push_back(c);
    }
    if (maxLength > 0 && Utf8Length(result.text) > static_cast<std::size_t>(maxLength)) {
        result.text.clear();
        result.refused = result.tooLong = true;
        return result;
    }

    const std::string_view trimmed = TrimAscii(result.text);
    if (trimmed.empty() || trimmed == "+") return result;
    if ((kind == FieldKind::SignedWholeNumber || kind == FieldKind::SignedDecimal) && trimmed == "-") return result;
    if (ParseNumber(trimmed)) return result;

    result.text.clear();
    result.refused = true;
    return result;
}

std::string ShortestText(double value) {
    // Nothing that parses gives a non-finite value; a field must never show "inf" or "nan".
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";  // also -0, which would otherwise read "-0"

    // Fixed notation without a precision is the shortest text that reads back to the same
    // value and never uses an exponent; the widest double needs a little over 320 characters.
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc{}) return "0";
    return std::string(buffer, end);
}

bool AtMostDecimals(double x, int digits) {
    const Yen fixed = Yen::FromDouble(x);
    return DecimalCalc::Round(fixed, digits, RoundDown) == fixed && fixed.ToDouble() == x;
}

}  // namespace zavota
