#include <gtest/gtest.h>

#include "core/Handover.h"

namespace zavota {
namespace {

TEST(Handover, MainPageFillsPricesFromTheFirstTwoQuestions) {
    struct Case {
        Page page;
        MainPageTexts texts;
        double buy, shares, sell;
    } cases[] = {
        {Page::Buy, {"1000", "100", "1100", ""}, 1000, 100, 1100},
        {Page::Buy, {"1000", "100", "", "50"}, 1000, 100, 1050},  // the rise gives the sell price
        {Page::Buy, {"1000", "100", "", "x"}, 1000, 100, 1000},
        {Page::Buy, {" 1000 ", "abc", "", ""}, 1000, 0, 1000},
        {Page::Sell, {"1100", "100", "1000", ""}, 1000, 100, 1100},
        {Page::Sell, {"1100", "100", "", "30"}, 1070, 100, 1100},  // the fall gives the buy price
        {Page::Sell, {"", "", "", ""}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        WindowHandover h;
        h.side = 7;
        HandOverFromMainPage(h, c.page, c.texts);
        EXPECT_EQ(h.buyPrice, c.buy) << c.texts.price;
        EXPECT_EQ(h.shares, c.shares) << c.texts.price;
        EXPECT_EQ(h.sellPrice, c.sell) << c.texts.price;
        EXPECT_EQ(h.side, 7);  // the window sets the side itself
    }
}

TEST(Handover, SlimPicksThePageOfItsInputs) {
    struct Case {
        const char *buy, *shares, *sell;
        int side;
        bool buyPage;
    } cases[] = {
        {"", "100", "1100", 1, false},   // only a sell price: the sell page
        {"1000", "100", "", 0, true},    // only a buy price: the buy page
        {"1000", "100", "1100", 5, false},  // both: as it was
        {"", "", "1100", 5, false},         // no count: as it was
    };
    for (const Case& c : cases) {
        WindowHandover h;
        h.side = 5;
        bool buyPage = false;
        HandOverFromSlim(h, buyPage, c.buy, c.shares, c.sell);
        EXPECT_EQ(h.side, c.side) << c.buy << "/" << c.sell;
        EXPECT_EQ(buyPage, c.buyPage) << c.buy << "/" << c.sell;
    }
}

TEST(Handover, ReceivingPageTakesTheValuesOfItsSide) {
    WindowHandover h;
    h.buyPrice = 1000;
    h.shares = 2.5;
    h.sellPrice = 0;
    const MainPageFill buy = MainPageFromHandover(h, Page::Buy);
    EXPECT_EQ(buy.price, "1000");
    EXPECT_EQ(buy.shares, "2.5");
    EXPECT_EQ(buy.r1, "");
    const MainPageFill sell = MainPageFromHandover(h, Page::Sell);
    EXPECT_EQ(sell.price, "");
    EXPECT_EQ(sell.r1, "1000");
    EXPECT_TRUE(HandoverCalculates(h));
    h.buyPrice = 0;
    EXPECT_FALSE(HandoverCalculates(h));
    h.sellPrice = 900;
    h.shares = 0;
    EXPECT_FALSE(HandoverCalculates(h));
}

}  // namespace
}  // namespace zavota
