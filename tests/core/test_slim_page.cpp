// The slim window's "実行": its own order of checks, one table, the side whose expenses apply.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ResultPanel.h"
#include "core/SlimPage.h"

namespace zavota {
namespace {

struct RefusalCase {
    const char* name;
    SlimInput input;
    int message;
    std::string focus;
};

class SlimRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SlimRefusal, NamesMessageAndField) {
    CalcState state;
    const SlimOutcome out = RunSlim(state, GetParam().input);
    EXPECT_NE(out.status, PageStatus::Ready);
    EXPECT_EQ(out.message, GetParam().message);
    EXPECT_EQ(out.focus, GetParam().focus);
    EXPECT_EQ(state.result, TradeResult{});
}

SlimInput Slim(std::string buy, std::string shares, std::string sell) {
    SlimInput in;
    in.buyPrice = std::move(buy);
    in.shares = std::move(shares);
    in.sellPrice = std::move(sell);
    return in;
}

SlimInput WithMini(SlimInput in, std::string unit) {
    in.miniInUse = true;
    in.miniUnit = std::move(unit);
    return in;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, SlimRefusal,
    ::testing::Values(
        // The share count is checked first, even before a missing price.
        RefusalCase{"SharesFirst", Slim("", "", ""), 102, "edtNum_K"},
        RefusalCase{"SharesRange", Slim("1000", "0", ""), 202, "edtNum_K"},
        RefusalCase{"SharesWhole", Slim("1000", "10.5", ""), 101, "edtNum_K"},
        RefusalCase{"NoPrice", Slim(" ", "100", ""), 100, "edtYen_K"},
        RefusalCase{"BuyRange", Slim("0", "100", "1100"), 201, "edtYen_K"},
        RefusalCase{"BuyProduct", Slim("1000000", "10000", ""), 243, ""},
        RefusalCase{"SellRange", Slim("1000", "100", "100000000"), 208, "edtR1_K"},
        RefusalCase{"SellWhole", Slim("", "100", "99.5"), 101, "edtR1_K"},
        RefusalCase{"SellProduct", Slim("", "10000", "1000000"), 243, ""},
        RefusalCase{"MiniEmpty", WithMini(Slim("1000", "300", ""), ""), 103, "edtMini"},
        RefusalCase{"MiniTenths", WithMini(Slim("1000", "350", ""), "1000"), 206, "edtNum_K"},
        RefusalCase{"MiniTooSmall", WithMini(Slim("1000", "3", ""), "5"), 204, "edtMini"},
        // 29,999 x 1,000 is priced, but its break-even leaves the sample table's last bracket.
        RefusalCase{"BreakEvenOutsideTable", Slim("29999", "1000", ""), 252, "edtYen_K"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::pair<std::string, std::string>> Texts(const std::vector<PanelFigure>& figures) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const PanelFigure& f : figures) out.emplace_back(f.box, f.text);
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(SlimPage, FillsTheBoxesOfTheLegsGiven) {
    struct Case {
        SlimInput input;
        SlimShow show;
        Pairs figures;
    };
    const Case cases[] = {
        {Slim("1000", "1000", "1100"), SlimShow::Both,
         {{"mmPay_K", "1,004"}, {"mmTotal_K", "1,001,575"}, {"mmPay_U", "1,096"}, {"mmTotal_U", "1,098,425"},
          {"mmResult_Last", "+87,165"}, {"mmResult_R", "8.70(%)"}}},
        {Slim("1000", "1000", ""), SlimShow::BuyOnly, {{"mmPay_K", "1,004"}, {"mmTotal_K", "1,001,575"}}},
        {Slim("", "1000", "1100"), SlimShow::SellOnly, {{"mmPay_U", "1,096"}, {"mmTotal_U", "1,098,425"}}},
        // A loss carries no "+"; the tax already withheld is not touched by a loss of this year.
        {Slim("1000", "1000", "990"), SlimShow::Both,
         {{"mmPay_K", "1,004"}, {"mmTotal_K", "1,001,575"}, {"mmPay_U", "986"}, {"mmTotal_U", "988,425"},
          {"mmResult_Last", "-13,150"}, {"mmResult_R", "-1.31(%)"}}},
    };
    for (const Case& c : cases) {
        CalcState state;
        const SlimOutcome out = RunSlim(state, c.input);
        ASSERT_EQ(out.status, PageStatus::Ready) << out.message;
        EXPECT_EQ(out.show, c.show);
        EXPECT_EQ(Texts(SlimFigures(state.result, out.show)), c.figures);
    }
}

TEST(SlimPage, NegativeFinalProfitIsFlaggedForRed) {
    CalcState state;
    const SlimOutcome out = RunSlim(state, Slim("1000", "1000", "990"));
    ASSERT_EQ(out.status, PageStatus::Ready);
    const std::vector<PanelFigure> figures = SlimFigures(state.result, out.show);
    EXPECT_TRUE(figures[4].negative);
    EXPECT_TRUE(figures[5].negative);
    EXPECT_FALSE(figures[0].negative);
}

TEST(SlimPage, ExpensesOfTheBuySideWhenABuyPriceIsGiven) {
    // Cash trading with "other" 1,000 yen on the sell side's set only.
    CalcState state;
    state.keihiSets[0].Other = 1000;
    state.keihiSelected = {0, 1};
    ASSERT_EQ(RunSlim(state, Slim("", "1000", "1100")).status, PageStatus::Ready);
    EXPECT_EQ(state.result.sellBreakEven, Yen::FromInt(1095));  // 1,096 without the expense
    ASSERT_EQ(RunSlim(state, Slim("1000", "1000", "1100")).status, PageStatus::Ready);
    EXPECT_EQ(state.result.sellBreakEven, Yen::FromInt(1096));
}

TEST(SlimPage, FirstTradeKindIsCash) {
    // A buyer's interest of 3 % for 30 days: 2,465 on a million, charged to margin trades only.
    const std::pair<int, std::int64_t> cases[] = {{-1, 0}, {0, 0}, {1, 2465}};
    for (const auto& [index, expenses] : cases) {
        CalcState state;
        state.keihiSets[0].RateK = 3;
        state.keihiSets[0].DaysK = 30;
        state.keihiSelected = {1, 0};
        SlimInput in = Slim("1000", "1000", "1100");
        in.taxKindIndex = index;
        ASSERT_EQ(RunSlim(state, in).status, PageStatus::Ready) << index;
        EXPECT_EQ(state.result.otherExpenses, Yen::FromInt(expenses)) << index;
    }
}

TEST(SlimPage, AdjustsBothPricesOntoTheGrid) {
    CalcState state;
    const SlimOutcome out = RunSlim(state, Slim("2003", "100", "2003"));
    ASSERT_EQ(out.status, PageStatus::Ready);
    ASSERT_EQ(out.adjustments.size(), 2u);
    EXPECT_EQ(out.adjustments[0].used, Yen::FromInt(2005));
    EXPECT_EQ(out.adjustments[1].used, Yen::FromInt(2005));
    ASSERT_EQ(out.adjustWrites.size(), 2u);
    EXPECT_EQ(out.adjustWrites[0].field, "edtYen_K");
    EXPECT_EQ(out.adjustWrites[1].text, "2005");
    EXPECT_EQ(out.focus, "edtR1_K");
}

TEST(SlimPage, ErrorCodesHaveTheirOwnShorterTable) {
    const std::pair<int, int> cases[] = {{1, 241}, {2, 242}, {3, 243}, {11, 251}, {12, 252},
                                         {13, 253}, {101, 299}, {203, 299}, {0, 299}};
    for (const auto& [code, message] : cases) EXPECT_EQ(SlimErrorMessage(code), message) << code;
}

}  // namespace
}  // namespace zavota
