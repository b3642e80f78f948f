// The rules of a per-stock page's rows, kept apart from the window so that they can be tested
// alone: what a price or share cell accepts, when a row may be ticked, the totals of the ticked
// rows (the same arithmetic the store uses on a page file), the row moves of the pop-up menu,
// the summary's shares and the checks before a hand-over to the calculator.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/PageChecks.h"
#include "core/Yen.h"
#include "memo/MemoStore.h"

namespace zavota {

struct StockRow {
    std::string comment;
    std::string price;
    std::string shares;
    bool selected = false;
    friend bool operator==(const StockRow&, const StockRow&) = default;
};
using StockGrid = std::array<StockRow, kMemoRows>;

// A price or share cell after an edit: kept up to the first character that is neither a digit
// nor ","; `refused` asks for message 229.
struct CellFilter {
    std::string text;
    bool refused = false;
};
CellFilter FilterNumberCell(std::string_view text);

// Amount and share totals of ticked rows, each step rounded half away from zero to whole units.
class StockTotals {
public:
    void Add(Yen price, Yen shares);
    Yen amount() const { return amount_; }
    Yen shares() const { return shares_; }
    // Whole yen, 0 without shares.
    Yen average() const;

private:
    Yen amount_{};
    Yen shares_{};
};

// A price or share cell that may be ticked: non-empty, a number in 0 < x <= 99,999,999.
struct CellValue {
    bool valid = false;
    Yen value;
    std::string shown;  // the display form ("1,234") when valid
};
CellValue CheckStockCell(std::string_view text);

// Ticking a row: the message (0 when it may be ticked) and the column to focus (1 or 2).
struct RowTick {
    int message = 0;
    int focusColumn = 0;
};
RowTick CheckRowTick(std::string_view price, std::string_view shares);
// The row check of a box being ticked: each valid cell is put in its display form first, whether
// the tick stays or not.
RowTick CheckAndFormatRow(StockRow& row);

// The results of "計算": invalid ticked rows are unticked and their valid cells reformatted.
struct StockResults {
    bool shown = false;  // false: nothing to show (message 264 when `message` is set)
    int message = 0;
    int count = 0;
    StockTotals totals;
};
StockResults ComputeStockRows(StockGrid& grid);

// Ticks every row that may be ticked, without messages.
void SelectValidRows(StockGrid& grid);
// Saving unticks the rows that could not be ticked now, without a message.
void UntickInvalidRows(StockGrid& grid);

// The pop-up's row moves; `row` is 1 to 20.
void InsertEmptyRow(StockGrid& grid, int row);
void CopyRowBelow(StockGrid& grid, int row);
void DeleteRow(StockGrid& grid, int row);

// "％" of the summary: amount × 100 ÷ grand total to one decimal, or "0" without a total.
std::string SummaryShare(std::string_view amountText, Yen grandTotal);

// The checks before "買値から計算を実行" / "売値から計算を実行"; focus "edtPrice" or "edtNum".
FieldCheck CheckMemoHandOver(const std::string& price, const std::string& shares, bool buy);

// Totals at or above this cannot be calculated (messages 243 and 264).
inline constexpr Yen kMemoAmountLimit = Yen::FromInt(10000000000);

}  // namespace zavota
