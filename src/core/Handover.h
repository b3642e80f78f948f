// The inputs carried from one calculator window to the other when the user presses "画面切替",
// and the rules that fill and read them. Shared by the main and the slim window.
#pragma once

#include <string>
#include <string_view>

#include "PageLogic.h"

namespace zavota {

struct WindowHandover {
    double buyPrice = 0;   // 0: none
    double shares = 0;
    double sellPrice = 0;
    bool switchToMain = false;   // set by the slim window's "画面切替"
    bool switchToSlim = false;   // set by the main window's "画面切替"
    bool exitRequested = false;  // a calculator window closed for any other reason
    int side = 0;                // 0 buy page, 1 sell page
};

// A field's trimmed text as a number; 0 when it does not convert.
double HandoverNumber(std::string_view text);

// The main window's page texts: price, count and the first two what-if fields.
struct MainPageTexts {
    std::string price, shares, r1, r2;
};
// Fills prices and count from a page of the main window. Side and flags are left alone.
void HandOverFromMainPage(WindowHandover& h, Page page, const MainPageTexts& texts);

// Fills prices and count from the slim window and picks the page the main window opens on:
// the sell page when only a sell price comes with the count, the buy page when only a buy
// price does; otherwise side and `buyPageFlag` stay as they were.
void HandOverFromSlim(WindowHandover& h, bool& buyPageFlag, std::string_view buyPrice, std::string_view shares,
                      std::string_view sellPrice);

// The text a receiving window puts into a field: shortest form, or empty for 0.
std::string HandoverText(double value);

// Whether the receiving window calculates at once: a count and at least one price.
bool HandoverCalculates(const WindowHandover& h);

// The receiving page of the main window: which of the three values goes into which field.
struct MainPageFill {
    std::string price, shares, r1;
};
MainPageFill MainPageFromHandover(const WindowHandover& h, Page page);

}  // namespace zavota
