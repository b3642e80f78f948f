// Loading and saving one page of either kind: the per-stock grid and the free-form text.
// A save writes the page file and then its index entry, each as one replace.
#pragma once

#include <optional>
#include <string>

#include "memo/PageList.h"
#include "memo/StockRows.h"

namespace zavota {

// Fills the grid from "M_" + n + ".ini"; a "*" ticks a row only when both its price and share
// cells hold text. False (grid untouched) when the file cannot be opened or read.
bool LoadStockPage(MemoStore& store, int number, StockGrid& grid);
// Unticks the rows that may not be ticked, then writes the page and its index entry.
bool SaveStockPage(MemoStore& store, const MemoPageEntry& entry, StockGrid& grid);

std::optional<std::string> LoadFreePage(MemoStore& store, int number);
bool SaveFreePage(MemoStore& store, const MemoPageEntry& entry, int fontIndex, const std::string& text);

}  // namespace zavota

namespace zavota {

// Why a name cannot be taken for a page of `kind`: 0 when it can, -1 when it is empty (the
// dialog stays open without a message), 261 for a square bracket, 262 when a page of the list
// already has it in any letter case (the index compares names that way). "FONT" is taken on
// the free-form side, where its section holds the font size.
int PageNameRefusal(std::string_view name, const PageList& list, MemoPageKind kind);

}  // namespace zavota
