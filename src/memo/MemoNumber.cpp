#include "memo/MemoNumber.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <system_error>

#include "core/NumberText.h"

namespace zavota {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exponents are clamped here: far beyond any double either way, and no overflow while reading.
constexpr std::int64_t kExponentClamp = 1000000000;

}  // namespace

std::optional<double> ParseMemoNumber(std::string_view text) {
    text = TrimAscii(text);
    if (text.empty()) return 0.0;

    std::string plain;
    plain.reserve(text.size());
    for (const char c : text) {
        if (c != ',') plain.push_back(c);
    }
    std::string_view rest = TrimAscii(plain);

    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }

    // The grammar is checked by hand: from_chars alone would take "inf", "nan" and reject "+".
    std::size_t i = 0;
    const std::size_t intStart = i;
    while (i < rest.size() && IsDigit(rest[i])) ++i;
    const std::string_view intDigits = rest.substr(intStart, i - intStart);
    std::string_view fracDigits;
    if (i < rest.size() && rest[i] == '.') {
        ++i;
        const std::size_t fracStart = i;
        while (i < rest.size() && IsDigit(rest[i])) ++i;
        fracDigits = rest.substr(fracStart, i - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty()) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < rest.size() && (rest[i] == 'e' || rest[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
            expNegative = rest[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        while (i < rest.size() && IsDigit(rest[i])) {
            if (exponent < kExponentClamp) exponent = exponent * 10 + (rest[i] - '0');
            ++i;
        }
        if (i == expStart) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != rest.size()) return std::nullopt;

    // Decimal magnitude of the first significant digit, to tell overflow from underflow.
    const std::string digits = std::string(intDigits) + std::string(fracDigits);
    const std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos) return negative ? -0.0 : 0.0;
    const std::int64_t magnitude =
        static_cast<std::int64_t>(intDigits.size()) - static_cast<std::int64_t>(firstSignificant) + exponent;

    std::string normal = intDigits.empty() ? std::string("0") : std::string(intDigits);
    if (!fracDigits.empty()) normal += "." + std::string(fracDigits);
    if (exponent != 0) normal += "e" + std::to_string(exponent);

    double value = 0;
    const char* first = normal.data();
    const char* last = first + normal.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude > 0) return std::nullopt;
        value = 0;
    } else if (ec != std::errc{} || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<Yen> ParseMemoAmount(std::string_view text) {
    const std::optional<double> value = ParseMemoNumber(text);
    if (!value) return std::nullopt;
    return Yen::FromDouble(*value);
}

}  // namespace zavota
