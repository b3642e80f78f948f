// zavota-cli calc --today: today's tax rates and listed tick sizes in place of the stored ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTesting.h"

namespace zavota::cli {
namespace {

TEST(CalcToday, TodaysRatesAndStepsUnlessARateIsGiven) {
    const std::vector<std::string> trade = {"--price", "2512", "--shares", "100", "--sell-at", "2700", "--json"};
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string json;
    } cases[] = {
        // A tick of 1 below 3,000 yen keeps 2,512; 10 % of each 1,500 commission; 20.315 % of
        // 15,500 is 3,148.8, truncated.
        {"today",
         {"--today"},
         R"j({"ok":true,"adjustments":[],"fields":{},"figures":{"mmGaku_K":"2,512","mmNum_K":"100",)j"
         R"j("mmYaku_K":"251,200","mmMargin_K":"1,500","mmSZei_K":"150","mmTotal_K":"252,850","mmPay_K":"2,546",)j"
         R"j("mmGaku_U":"2,700","mmNum_U":"100","mmYaku_U":"270,000","mmMargin_U":"1,500","mmSZei_U":"150",)j"
         R"j("mmJZei_U":"0","mmTotal_U":"268,350","mmPay_U":"2,666","mmResult_M":"+15,500","mmResult_Tax":"3,148",)j"
         R"j("mmResult_Last":"+12,352","mmResult_R":"4.89(%)"},"mark":"mmResult_Last"})j"},
        // Rates given one by one win, whichever side of --today they stand: 8 % on the buy
        // commission, 15 + 5 % on the profit; the sell leg keeps today's 10 %.
        {"given rates win",
         {"--income-tax", "15", "--today", "--tax-buy", "8"},
         R"j({"ok":true,"adjustments":[],"fields":{},"figures":{"mmGaku_K":"2,512","mmNum_K":"100",)j"
         R"j("mmYaku_K":"251,200","mmMargin_K":"1,500","mmSZei_K":"120","mmTotal_K":"252,820","mmPay_K":"2,545",)j"
         R"j("mmGaku_U":"2,700","mmNum_U":"100","mmYaku_U":"270,000","mmMargin_U":"1,500","mmSZei_U":"150",)j"
         R"j("mmJZei_U":"0","mmTotal_U":"268,350","mmPay_U":"2,667","mmResult_M":"+15,530","mmResult_Tax":"3,106",)j"
         R"j("mmResult_Last":"+12,424","mmResult_R":"4.91(%)"},"mark":"mmResult_Last"})j"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = c.options;
        args.insert(args.end(), trade.begin(), trade.end());
        const CliRun r = Calc(args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, c.json + "\n");
    }
}

}  // namespace
}  // namespace zavota::cli
