// The arithmetic of the memo pad's small calculator: average and total of ten cells, the four
// operations and the split on two numbers, the transfers between results, operands and
// memories, and the 17 stored values. Texts in, texts out, so the page only moves them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/DecimalCalc.h"
#include "core/Yen.h"

namespace zavota {

inline constexpr int kCalcCells = 10;
inline constexpr int kCalcMaxDigits = 3;

// One setting of decimals and rounding serves every result of the page.
struct CalcRounding {
    int digits = 0;              // 0 to 3
    RoundMode mode = RoundHalfUp;
};

// Average and total of the cells.
struct ColumnResult {
    int message = 0;   // 0, or 266 to 269: no results, `row` is the offending row
    int row = -1;
    // Rows whose text is not a number (or is empty): the page empties them. Only rows up to
    // the one that stopped the calculation are looked at.
    std::array<bool, kCalcCells> emptied{};
    std::string average;  // display texts; empty when `message` is set
    std::string total;
};
ColumnResult AverageAndTotal(const std::array<std::string, kCalcCells>& cells, CalcRounding r);

inline constexpr std::string_view kCalcOver = "*** OVER ***";
inline constexpr std::string_view kCalcZero = "*** ZERO ***";
inline constexpr std::string_view kCalcNoSplit = "****";

// One of the rows "＋", "－", "×", "÷".
struct OperationRow {
    std::string text;
    bool toOperands = false;  // its "A" and "B" buttons
    bool toMemories = false;  // its "M1" and "M2" buttons
};

struct TwoNumberResult {
    int message = 0;  // 0 or 200 (an operand is empty or not a number)
    int focus = 0;    // with a message: 1 A, 2 B
    std::array<OperationRow, 4> rows;
    std::array<std::string, 2> split;  // "75.0%" / "25.0%", or "****" twice
    bool splitToMemories = false;
};
// `percent`: B is a percentage of A.
TwoNumberResult TwoNumbers(std::string_view a, std::string_view b, bool percent, CalcRounding r);

// A result row's text as an operand or memory takes it: plain, with the setting's decimals,
// no separators. Empty when the row's text is not a number.
std::string ResultForField(std::string_view rowText, CalcRounding r);
// A split caption without its percent sign.
std::string SplitForMemory(std::string_view caption);

struct MemoryTransfer {
    int message = 0;    // 0, 200, 266 or 267
    std::string text;   // what the operand receives
};
MemoryTransfer MemoryForOperand(std::string_view memory);

// A grid cell after an edit: cut at the first character that cannot be part of a number.
struct CellCheck {
    std::string text;
    bool refused = false;  // message 229
};
CellCheck CheckCalcCell(std::string_view text);

// Everything the page keeps between sessions.
struct CalcPageValues {
    std::array<std::string, kCalcCells> cells;
    std::string a, b;
    bool percent = false;
    std::string m1, m2;
    CalcRounding rounding;
};
// The stored texts, in the order of the calculator file's keys.
std::vector<std::string> StoredCalcItems(const CalcPageValues& values);
// Back from those texts; values it does not know give the page's defaults.
CalcPageValues CalcValuesFromItems(const std::vector<std::string>& items);

}  // namespace zavota
