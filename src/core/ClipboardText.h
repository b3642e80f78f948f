// The text the clipboard export builds from the last calculation: the chosen items of the
// groups on screen, in the vertical or the horizontal layout, TAB-separated, CR LF lines.
#pragma once

#include <array>
#include <string>

#include "CalcState.h"

namespace zavota {

enum class ClipboardLayout { Vertical, Horizontal };

struct ClipboardGroups {
    bool buy = false;        // the buy block is on screen
    bool sell = false;       // the sell block is on screen
    bool profit = false;     // the profit block is on screen
    bool sellFirst = false;  // the sell page is current
};

// `flags` are the nineteen items in their stored order (1 = copied). Empty when nothing
// takes part.
std::string ClipboardText(const TradeResult& result, const std::array<int, 19>& flags, ClipboardGroups groups,
                          ClipboardLayout layout);

}  // namespace zavota
