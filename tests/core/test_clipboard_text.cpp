// The text the clipboard export builds: group order, item order, the TABs between the parts of
// the horizontal layout, the value forms and the CR LF line ends.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "YenTesting.h"
#include "core/ClipboardText.h"

namespace zavota {
namespace {

using Flags = std::array<int, 19>;

// The stored defaults: both unit prices, both share counts, both totals, final profit, rate.
constexpr Flags kDefault = {1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1};
constexpr Flags kAll = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

Flags Without(Flags flags, int first, int last) {
    for (int i = first; i <= last; ++i) flags[i] = 0;
    return flags;
}

// A purchase of 1,000 shares at 1,000 yen.
TradeResult BuyOnly() {
    TradeResult r;
    r.buyPrice = W(1000);
    r.buyShares = W(1000);
    r.buyAmount = W(1'000'000);
    r.buyCommission = W(1500);
    r.buyCommissionTax = W(75);
    r.totalPaid = W(1'001'575);
    r.buyBreakEven = W(1004);
    return r;
}

// A sale of 1,000 shares at 1,100 yen after that purchase, with expenses and tax.
TradeResult RoundTrip() {
    TradeResult r = BuyOnly();
    r.sellPrice = W(1100);
    r.sellShares = W(1000);
    r.sellAmount = W(1'100'000);
    r.sellCommission = W(1500);
    r.sellCommissionTax = W(75);
    r.sellOtherDeduction = W(999);  // never copied
    r.totalReceived = W(1'098'425);
    r.sellBreakEven = W(1096);
    r.profit = W(96'850);
    r.otherExpenses = W(2465);
    r.profitTax = W(18'900);
    r.finalProfit = W(75'485);
    r.profitRate = R(75'400);  // 7.54
    return r;
}

TradeResult Loss() {
    TradeResult r = RoundTrip();
    r.profit = W(-10'000);
    r.finalProfit = W(-12'345);
    r.profitTax = W(0);
    r.profitRate = R(-35'000);  // -3.5
    return r;
}

TradeResult HalfRate() {
    TradeResult r = RoundTrip();
    r.profitRate = R(125'000);  // 12.5
    return r;
}

constexpr ClipboardGroups kBuyShown{true, false, false, false};
constexpr ClipboardGroups kAllBuyPage{true, true, true, false};
constexpr ClipboardGroups kAllSellPage{true, true, true, true};

struct Case {
    const char* name;
    TradeResult result;
    Flags flags;
    ClipboardGroups groups;
    ClipboardLayout layout;
    std::string expected;
};

TEST(ClipboardText, BuildsBothLayouts) {
    using enum ClipboardLayout;
    const std::vector<Case> cases = {
        {"buy only, vertical", BuyOnly(), kDefault, kBuyShown, Vertical,
         "[買]単価\t1,000\r\n[買]株数\t1,000\r\n[買]支払合計額\t1,001,575\r\n"},
        {"buy only, horizontal: a leg's part ends in a TAB", BuyOnly(), kDefault, kBuyShown, Horizontal,
         "[買]単価\t[買]株数\t[買]支払合計額\t\r\n1,000\t1,000\t1,001,575\t\r\n"},
        {"buy page: buy, sell, profit", RoundTrip(), kDefault, kAllBuyPage, Vertical,
         "[買]単価\t1,000\r\n[買]株数\t1,000\r\n[買]支払合計額\t1,001,575\r\n"
         "[売]単価\t1,100\r\n[売]株数\t1,000\r\n[売]受取合計額\t1,098,425\r\n"
         "最終利益\t75,485\r\n利益率\t7.54%\r\n"},
        {"sell page: the sell lines first", RoundTrip(), kDefault, kAllSellPage, Vertical,
         "[売]単価\t1,100\r\n[売]株数\t1,000\r\n[売]受取合計額\t1,098,425\r\n"
         "[買]単価\t1,000\r\n[買]株数\t1,000\r\n[買]支払合計額\t1,001,575\r\n"
         "最終利益\t75,485\r\n利益率\t7.54%\r\n"},
        {"sell page, horizontal", RoundTrip(), kDefault, kAllSellPage, Horizontal,
         "[売]単価\t[売]株数\t[売]受取合計額\t[買]単価\t[買]株数\t[買]支払合計額\t最終利益\t利益率\r\n"
         "1,100\t1,000\t1,098,425\t1,000\t1,000\t1,001,575\t75,485\t7.54%\r\n"},
        {"every item, in table order, never the further deduction", RoundTrip(), kAll, kAllBuyPage, Vertical,
         "[買]単価\t1,000\r\n[買]株数\t1,000\r\n[買]約定金額\t1,000,000\r\n[買]手数料\t1,500\r\n"
         "[買]手数料分消費税\t75\r\n[買]支払合計額\t1,001,575\r\n[買]ペイ単価\t1,004\r\n"
         "[売]単価\t1,100\r\n[売]株数\t1,000\r\n[売]約定金額\t1,100,000\r\n[売]手数料\t1,500\r\n"
         "[売]手数料分消費税\t75\r\n[売]受取合計額\t1,098,425\r\n[売]ペイ単価\t1,096\r\n"
         "利益額\t96,850\r\nその他経費\t2,465\r\n利益に対する課税\t18,900\r\n最終利益\t75,485\r\n利益率\t7.54%\r\n"},
        {"an empty first group adds no TAB", RoundTrip(), Without(kDefault, 7, 13), kAllSellPage, Horizontal,
         "[買]単価\t[買]株数\t[買]支払合計額\t最終利益\t利益率\r\n1,000\t1,000\t1,001,575\t75,485\t7.54%\r\n"},
        {"an empty second group adds no TAB", RoundTrip(), Without(kDefault, 0, 6), kAllSellPage, Horizontal,
         "[売]単価\t[売]株数\t[売]受取合計額\t最終利益\t利益率\r\n1,100\t1,000\t1,098,425\t75,485\t7.54%\r\n"},
        {"an empty group has no lines", RoundTrip(), Without(kDefault, 0, 6), kAllBuyPage, Vertical,
         "[売]単価\t1,100\r\n[売]株数\t1,000\r\n[売]受取合計額\t1,098,425\r\n最終利益\t75,485\r\n利益率\t7.54%\r\n"},
        {"no profit items: the legs' TABs stay", RoundTrip(), Without(kDefault, 14, 18), kAllBuyPage, Horizontal,
         "[買]単価\t[買]株数\t[買]支払合計額\t[売]単価\t[売]株数\t[売]受取合計額\t\r\n"
         "1,000\t1,000\t1,001,575\t1,100\t1,000\t1,098,425\t\r\n"},
        {"only the profit group", RoundTrip(), Without(Without(kDefault, 0, 6), 7, 13), kAllBuyPage, Horizontal,
         "最終利益\t利益率\r\n75,485\t7.54%\r\n"},
        {"a group off screen is left out whatever its flags", RoundTrip(), kAll, kBuyShown, Horizontal,
         "[買]単価\t[買]株数\t[買]約定金額\t[買]手数料\t[買]手数料分消費税\t[買]支払合計額\t[買]ペイ単価\t\r\n"
         "1,000\t1,000\t1,000,000\t1,500\t75\t1,001,575\t1,004\t\r\n"},
        {"a loss: minus and no plus for gains", Loss(), Without(kAll, 0, 13), kAllBuyPage, Vertical,
         "利益額\t-10,000\r\nその他経費\t2,465\r\n利益に対する課税\t0\r\n最終利益\t-12,345\r\n利益率\t-3.50%\r\n"},
        {"a rate of 12.5 percent", HalfRate(), Without(kDefault, 0, 13), kAllBuyPage, Horizontal,
         "最終利益\t利益率\r\n75,485\t12.50%\r\n"},
        {"nothing selected", RoundTrip(), Flags{}, kAllSellPage, Horizontal, ""},
        {"nothing selected, vertical", RoundTrip(), Flags{}, kAllSellPage, Vertical, ""},
        {"nothing on screen", RoundTrip(), kAll, ClipboardGroups{}, Horizontal, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClipboardText(c.result, c.flags, c.groups, c.layout), c.expected) << c.name;
}

}  // namespace
}  // namespace zavota
