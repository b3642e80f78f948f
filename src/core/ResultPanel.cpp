#include "ResultPanel.h"

#include "DecimalCalc.h"

namespace zavota {

std::string YenText(Yen value) { return DecimalCalc::ToText(value, 0); }

std::string SignedYenText(Yen value) {
    std::string text = DecimalCalc::ToText(value, 0);
    if (value >= Yen{}) text.insert(0, "+");
    return text;
}

std::string RateText(Yen rate) { return DecimalCalc::ToText(rate, 2) + "(%)"; }

std::string ExpensesCaption(int expenseSet) {
    return std::string("その他経費 ") + (expenseSet > 0 ? std::to_string(expenseSet) : std::string(" "));
}

std::vector<PanelFigure> PanelFigures(const TradeResult& r, PanelSide show, Page page, int expenseSet) {
    std::vector<PanelFigure> buyBlock = {
        {"mmGaku_K", "　　買単価", YenText(r.buyPrice)},
        {"mmNum_K", "×）株数", YenText(r.buyShares)},
        {"mmYaku_K", "　　約定金額", YenText(r.buyAmount)},
        {"mmMargin_K", "　　手数料", YenText(r.buyCommission)},
        {"mmSZei_K", "＋）手数料分消費税", YenText(r.buyCommissionTax)},
        {"mmTotal_K", "　　支払合計額", YenText(r.totalPaid)},
        {"mmPay_K", "　　ペイ単価", YenText(r.buyBreakEven)},
    };
    std::vector<PanelFigure> sellBlock = {
        {"mmGaku_U", "　　売単価", YenText(r.sellPrice)},
        {"mmNum_U", "×）株数", YenText(r.sellShares)},
        {"mmYaku_U", "　　約定金額", YenText(r.sellAmount)},
        {"mmMargin_U", "　　手数料", YenText(r.sellCommission)},
        {"mmSZei_U", "　　手数料分消費税", YenText(r.sellCommissionTax)},
        {"mmJZei_U", "－）＊＊＊＊", YenText(r.sellOtherDeduction)},
        {"mmTotal_U", "　　受取合計額", YenText(r.totalReceived)},
        {"mmPay_U", "　　ペイ単価", YenText(r.sellBreakEven)},
    };
    const bool withBuy = show != PanelSide::SellOnly;
    const bool withSell = show != PanelSide::BuyOnly;
    const bool withProfit = show == PanelSide::All;

    std::vector<PanelFigure> out;
    auto append = [&out](const std::vector<PanelFigure>& block) { out.insert(out.end(), block.begin(), block.end()); };
    // On the sell page the sell block stands on top.
    if (page == Page::Sell) {
        if (withSell) append(sellBlock);
        if (withBuy) append(buyBlock);
    } else {
        if (withBuy) append(buyBlock);
        if (withSell) append(sellBlock);
    }
    const auto neg = [](Yen v) { return v < Yen{}; };
    if (withProfit) out.push_back({"mmResult_M", "　　利益額", SignedYenText(r.profit), neg(r.profit)});
    if (expenseSet > 0)
        out.push_back({"mmResult_Keihi", ExpensesCaption(expenseSet), YenText(r.otherExpenses), neg(r.otherExpenses)});
    if (withProfit) {
        out.push_back({"mmResult_Tax", "－）利益に対する課税", YenText(r.profitTax), neg(r.profitTax)});
        out.push_back({"mmResult_Last", "　　最終利益", SignedYenText(r.finalProfit), neg(r.finalProfit)});
        out.push_back({"mmResult_R", "　　利益率", RateText(r.profitRate), neg(r.profitRate)});
    }
    return out;
}

std::vector<PanelFigure> SlimFigures(const TradeResult& r, SlimShow show) {
    std::vector<PanelFigure> out;
    if (show != SlimShow::SellOnly) {
        out.push_back({"mmPay_K", "ペイ単価（買→売）", YenText(r.buyBreakEven)});
        out.push_back({"mmTotal_K", "支払金額", YenText(r.totalPaid)});
    }
    if (show != SlimShow::BuyOnly) {
        out.push_back({"mmPay_U", "ペイ単価（売→買）", YenText(r.sellBreakEven)});
        out.push_back({"mmTotal_U", "受取金額", YenText(r.totalReceived)});
    }
    if (show == SlimShow::Both) {
        out.push_back({"mmResult_Last", "最終利益", SignedYenText(r.finalProfit), r.finalProfit < Yen{}});
        out.push_back({"mmResult_R", "利益率", RateText(r.profitRate), r.profitRate < Yen{}});
    }
    return out;
}

}  // namespace zavota
