// The figures of the result panel as texts, in the panel's order, with the sign rules.
#pragma once

#include <string>
#include <vector>

#include "CalcState.h"
#include "PageLogic.h"
#include "SlimPage.h"

namespace zavota {

struct PanelFigure {
    const char* box;      // control name, e.g. "mmTotal_K"
    std::string caption;  // the row caption as shown
    std::string text;     // the figure as shown
    bool negative = false;
};

// "1,234,567"; the gross and final profit with "+" when 0 or more; the rate as "-3.50(%)".
std::string YenText(Yen value);
std::string SignedYenText(Yen value);
std::string RateText(Yen rate);

// "その他経費 " followed by the set number, or by a space when none is chosen.
std::string ExpensesCaption(int expenseSet);

// The boxes a calculation fills, in panel order: the sell block comes first on the sell page.
// The expenses figure appears only when the page has an expense set chosen.
std::vector<PanelFigure> PanelFigures(const TradeResult& result, PanelSide show, Page page, int expenseSet);

// The slim window's six boxes: break-evens and totals of the legs shown, and with both legs
// the final profit ("+" when 0 or more) and the rate.
std::vector<PanelFigure> SlimFigures(const TradeResult& result, SlimShow show);

}  // namespace zavota
