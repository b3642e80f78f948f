#include "settings/StoredText.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/DecimalCalc.h"
#include "core/NumberText.h"

namespace zavota {

namespace {

// Splits off the text before the first comma, which must not be the first character; what
// remains must not be empty. The remainder comes back trimmed.
bool SplitField(std::string_view& rest, std::string_view& field) {
    const auto comma = rest.find(',');
    if (comma == std::string_view::npos || comma == 0) return false;
    field = rest.substr(0, comma);
    rest = TrimAscii(rest.substr(comma + 1));
    return !rest.empty();
}

std::string Fixed(Yen value, int digits) { return DecimalCalc::ToText(value, digits, false); }

}  // namespace

std::optional<Yen> ParseStoredDecimal(std::string_view text) {
    const auto value = ParseNumber(text);
    if (!value) return std::nullopt;
    return Yen::FromDouble(*value);
}

std::optional<int> ParseStoredInteger(std::string_view text) {
    text = TrimAscii(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<UnitRow> ParseUnitRow(std::string_view text) {
    std::string_view rest = TrimAscii(text);
    std::string_view low, high;
    if (!SplitField(rest, low) || !SplitField(rest, high)) return std::nullopt;
    const auto lowValue = ParseStoredDecimal(low);
    const auto highValue = ParseStoredDecimal(high);
    const auto tick = ParseStoredInteger(rest);
    if (!lowValue || !highValue || !tick) return std::nullopt;
    return UnitRow{*lowValue, *highValue, Yen::FromInt(*tick)};
}

std::string UnitRowText(const UnitRow& row) {
    return Fixed(row.low, 0) + "," + Fixed(row.high, 0) + "," + Fixed(row.tick, 0);
}

std::optional<MarginBracket> ParseBracket(std::string_view text) {
    std::string_view rest = TrimAscii(text);
    std::array<std::string_view, 5> fields;
    for (int i = 0; i < 4; ++i)
        if (!SplitField(rest, fields[static_cast<std::size_t>(i)])) return std::nullopt;
    fields[4] = rest;
    std::array<Yen, 5> values;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto v = ParseStoredDecimal(fields[i]);
        if (!v) return std::nullopt;
        values[i] = *v;
    }
    return MarginBracket{values[0], values[1], values[2], values[3], values[4]};
}

std::string BracketText(const MarginBracket& b) {
    return Fixed(b.low, 0) + "," + Fixed(b.high, 0) + "," + Fixed(b.rate, 4) + "," +
           Fixed(b.addition, 0) + "," + Fixed(b.discount, 4);
}

bool ReadBrackets(MarginTable& t, bool separate,
                  const std::function<std::optional<std::string>(const std::string& key)>& text) {
    auto side = [&](char prefix, int count, auto& brackets) {
        for (int i = 0; i < count; ++i) {
            const auto stored = text(prefix + std::to_string(i));
            const auto bracket = stored ? ParseBracket(*stored) : std::nullopt;
            if (!bracket) return false;
            brackets[static_cast<std::size_t>(i)] = *bracket;
        }
        return true;
    };
    if (!side('K', t.ElementsK, t.bracketsK)) return false;
    if (separate) return side('U', t.ElementsU, t.bracketsU);
    std::copy_n(t.bracketsK.begin(), t.ElementsU, t.bracketsU.begin());
    return true;
}

}  // namespace zavota
