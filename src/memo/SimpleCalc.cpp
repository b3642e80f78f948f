#include "memo/SimpleCalc.h"

#include <charconv>
#include <optional>

#include "core/NumberText.h"
#include "memo/MemoNumber.h"

namespace zavota {

namespace {

constexpr Yen kInputLimit = Yen::FromInt(99'999'999);
constexpr Yen kResultLimit = Yen::FromInt(10'000'000'000);
constexpr Yen kHundred = Yen::FromInt(100);
// No split can reach this; a damaged figure must still not show a caption of four digits.
constexpr Yen kSplitLimit = Yen::FromInt(999);

Yen Negated(Yen limit) { return Yen::FromRaw(-limit.raw); }

// The message of a value outside the open range (-limit, limit), or 0.
int RangeMessage(Yen x, Yen limit, int above, int below) {
    if (DecimalCalc::Compare(x, limit, RelGreaterOrEqual)) return above;
    if (DecimalCalc::Compare(x, Negated(limit), RelLessOrEqual)) return below;
    return 0;
}

// An operand: unlike a cell, an empty text is not a number here.
std::optional<Yen> ParseOperand(std::string_view text) {
    if (TrimAscii(text).empty()) return std::nullopt;
    return ParseMemoAmount(text);
}

std::string Shown(Yen value, CalcRounding r) { return DecimalCalc::ToText(value, r.digits); }

OperationRow ResultRow(Yen value, CalcRounding r) {
    OperationRow row;
    if (RangeMessage(value, kResultLimit, 1, 1) != 0) {
        row.text = kCalcOver;
        return row;
    }
    row.text = Shown(value, r);
    row.toOperands = RangeMessage(value, kInputLimit, 1, 1) == 0;
    row.toMemories = true;
    return row;
}

// The share of `part` in `sum` in percent, or nothing when it cannot be shown.
std::optional<std::string> Percentage(Yen part, Yen sum, CalcRounding r) {
    const Yen hundredfold = DecimalCalc::Mul(part, kHundred, 0, RoundNone);
    const Yen share = DecimalCalc::Div(hundredfold, sum, r.digits, r.mode);
    if (DecimalCalc::Compare(share, kSplitLimit, RelGreaterOrEqual)) return std::nullopt;
    return Shown(share, r) + "%";
}

bool IsCellCharacter(char c) {
    return (c >= '0' && c <= '9') || c == ',' || c == '.' || c == '+' || c == '-';
}

}  // namespace

ColumnResult AverageAndTotal(const std::array<std::string, kCalcCells>& cells, CalcRounding r) {
    ColumnResult result;
    Yen sum{};
    int count = 0;
    for (int row = 0; row < kCalcCells; ++row) {
        const std::string& text = cells[static_cast<std::size_t>(row)];
        std::optional<Yen> x;
        if (!TrimAscii(text).empty()) x = ParseMemoAmount(text);
        if (!x) {
            result.emptied[static_cast<std::size_t>(row)] = true;
            continue;
        }
        int message = RangeMessage(*x, kInputLimit, 266, 267);
        if (message == 0) {
            ++count;
            sum = DecimalCalc::Add(sum, *x, 0, RoundNone);
            message = RangeMessage(sum, kResultLimit, 268, 269);
        }
        if (message != 0) {
            result.message = message;
            result.row = row;
            return result;
        }
    }
    Yen total{};
    Yen average{};
    if (count > 0) {
        total = DecimalCalc::Div(sum, Yen::FromInt(1), r.digits, r.mode);
        average = DecimalCalc::Div(total, Yen::FromInt(count), r.digits, r.mode);
    }
    result.total = Shown(total, r);
    result.average = Shown(average, r);
    return result;
}

TwoNumberResult TwoNumbers(std::string_view aText, std::string_view bText, bool percent, CalcRounding r) {
    TwoNumberResult result;
    const std::optional<Yen> a = ParseOperand(aText);
    const std::optional<Yen> parsedB = a ? ParseOperand(bText) : std::nullopt;
    if (!a || !parsedB) {
        result.message = 200;
        result.focus = a ? 2 : 1;
        return result;
    }
    const Yen b = percent ? DecimalCalc::Div(*parsedB, kHundred, 0, RoundNone) : *parsedB;

    result.rows[0] = ResultRow(DecimalCalc::Add(*a, b, r.digits, r.mode), r);
    result.rows[1] = ResultRow(DecimalCalc::Sub(*a, b, r.digits, r.mode), r);
    result.rows[2] = ResultRow(DecimalCalc::Mul(*a, b, r.digits, r.mode), r);
    if (b == Yen{}) result.rows[3].text = kCalcZero;
    else result.rows[3] = ResultRow(DecimalCalc::Div(*a, b, r.digits, r.mode), r);

    result.split = {std::string(kCalcNoSplit), std::string(kCalcNoSplit)};
    if (percent) return result;
    const Yen absA = a->raw < 0 ? Negated(*a) : *a;
    const Yen absB = b.raw < 0 ? Negated(b) : b;
    const Yen sum = DecimalCalc::Add(absA, absB, 0, RoundNone);
    if (sum == Yen{} || RangeMessage(sum, kResultLimit, 1, 1) != 0) return result;
    const std::optional<std::string> shareA = Percentage(absA, sum, r);
    const std::optional<std::string> shareB = shareA ? Percentage(absB, sum, r) : std::nullopt;
    if (!shareB) return result;
    result.split = {*shareA, *shareB};
    result.splitToMemories = true;
    return result;
}

std::string ResultForField(std::string_view rowText, CalcRounding r) {
    const std::optional<Yen> value = ParseMemoAmount(rowText);
    if (!value) return {};
    return DecimalCalc::ToText(*value, r.digits, false);
}

std::string SplitForMemory(std::string_view caption) {
    const std::size_t percent = caption.rfind('%');
    if (percent == std::string_view::npos) return std::string(caption);
    return std::string(caption.substr(0, percent)) + std::string(caption.substr(percent + 1));
}

MemoryTransfer MemoryForOperand(std::string_view memory) {
    MemoryTransfer transfer;
    const std::string_view trimmed = TrimAscii(memory);
    const std::optional<Yen> value = ParseMemoAmount(trimmed);
    if (!value) transfer.message = 200;
    else transfer.message = RangeMessage(*value, kInputLimit, 266, 267);
    if (transfer.message == 0) transfer.text = trimmed;
    return transfer;
}

CellCheck CheckCalcCell(std::string_view text) {
    const std::string_view trimmed = TrimAscii(text);
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        if (!IsCellCharacter(trimmed[i])) return {std::string(trimmed.substr(0, i)), true};
    }
    return {std::string(text), false};
}

std::vector<std::string> StoredCalcItems(const CalcPageValues& v) {
    std::vector<std::string> items(v.cells.begin(), v.cells.end());
    items.push_back(v.a);
    items.push_back(v.b);
    items.push_back(v.percent ? "*" : "-");
    items.push_back(v.m1);
    items.push_back(v.m2);
    items.push_back(v.rounding.mode == RoundHalfUp ? "2" : v.rounding.mode == RoundUp ? "3" : "1");
    items.push_back(std::to_string(v.rounding.digits));
    return items;
}

CalcPageValues CalcValuesFromItems(const std::vector<std::string>& items) {
    CalcPageValues v;
    auto item = [&items](std::size_t i) { return i < items.size() ? items[i] : std::string(); };
    for (std::size_t i = 0; i < v.cells.size(); ++i) v.cells[i] = item(i);
    v.a = item(10);
    v.b = item(11);
    v.percent = item(12) == "*";
    v.m1 = item(13);
    v.m2 = item(14);
    const std::string trunc = item(15);
    v.rounding.mode = trunc == "2" ? RoundHalfUp : trunc == "3" ? RoundUp : RoundDown;
    // The list offers 0 to 3 decimals; anything else (damaged or hand-edited) is 0.
    const std::string digits = item(16);
    int d = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), d);
    v.rounding.digits = (ec == std::errc{} && end == digits.data() + digits.size() && d >= 0 && d <= kCalcMaxDigits) ? d : 0;
    return v;
}

}  // namespace zavota
