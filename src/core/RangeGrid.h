// What the two table editors share: a grid of number texts whose first two columns are a
// contiguous list of price ranges ("円超から", "円以下まで"), read and checked row by row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zavota {

// A refused commit: the catalogue number and the cell to make current (grid rows count from
// 1 below the header row, columns from 0), or a field of the dialog.
struct GridCheck {
    int message = 0;  // 0: accepted
    int row = 0;      // 0: no cell named
    int col = 0;
    bool Ok() const { return message == 0; }
};

using GridTexts = std::vector<std::vector<std::string>>;  // [row 0 = grid row 1][column]
using GridValues = std::vector<std::vector<double>>;

// The check made while a cell is typed in: true when message 229 is due. Empty text and a lone
// sign (or, where decimals are allowed, a lone ".") pass; anything but digits and "," (and ".")
// is refused. The text itself stays as typed.
bool CellNeedsDigits(std::string_view text, bool allowPoint);

// Every cell converted: blanks trimmed, "," removed, an empty cell 0. The first cell that does
// not convert gives 217 on that cell.
GridCheck ReadGridCells(const GridTexts& cells, GridValues& values);

// The range columns of converted rows: row 1 starts at 0 (107); lower bounds are whole (108),
// not negative (218) and below 10,000,000,000 (219); the first later row starting at 0 ends
// the list, and every row from there on must be empty (109 for a lower bound, 220 for any other
// column, both naming the first empty row); upper bounds are whole, not negative, below
// 10,000,000,000 and above their lower bound (221); each row starts where the one above ends
// (222). On success `count` is the number of rows in use.
GridCheck CheckRanges(const GridValues& values, int& count);

}  // namespace zavota
