#include "SlimPage.h"

#include "DecimalCalc.h"
#include "NumberText.h"
#include "PageChecks.h"

namespace zavota {

namespace {
constexpr const char* kBuyField = "edtYen_K";
constexpr const char* kSharesField = "edtNum_K";
constexpr const char* kSellField = "edtR1_K";
constexpr const char* kUnitField = "edtMini";

SlimOutcome Stop(CalcState& state, PageStatus status, int message, const char* focus) {
    state.Reset();
    SlimOutcome out;
    out.status = status;
    out.message = message;
    out.focus = focus;
    return out;
}
}  // namespace

SlimOutcome RunSlim(CalcState& state, const SlimInput& in) {
    state.Reset();
    const FieldCheck shares = ReadWholeField(in.shares, kSharesField, 102, 202);
    if (!shares.ok()) return Stop(state, PageStatus::Refused, shares.message, shares.focus);

    const bool hasBuy = !TrimAscii(in.buyPrice).empty();
    const bool hasSell = !TrimAscii(in.sellPrice).empty();
    if (!hasBuy && !hasSell) return Stop(state, PageStatus::Refused, 100, kBuyField);

    FieldCheck buy, sell;
    if (hasBuy) {
        buy = ReadWholeField(in.buyPrice, kBuyField, 100, 201);
        if (!buy.ok()) return Stop(state, PageStatus::Refused, buy.message, buy.focus);
        if (AmountAtLimit(buy.value, shares.value)) return Stop(state, PageStatus::Refused, 243, "");
    }
    if (hasSell) {
        sell = ReadWholeField(in.sellPrice, kSellField, 104, 208);
        if (!sell.ok()) return Stop(state, PageStatus::Refused, sell.message, sell.focus);
        if (AmountAtLimit(sell.value, shares.value)) return Stop(state, PageStatus::Refused, 243, "");
    }

    const MiniCheck mini = CheckMiniFields(in.miniInUse, in.miniUnit, shares.value, kUnitField, kSharesField);
    if (!mini.check.ok()) return Stop(state, PageStatus::Refused, mini.check.message, mini.check.focus);

    state.TradeKind = in.taxKindIndex <= 0 ? TradeCash : TradeMargin;
    const MarginTable* table = state.tables.Used(in.table);
    const char* focus = hasSell ? kSellField : kBuyField;
    if (table == nullptr) return Stop(state, PageStatus::Failed, 299, focus);
    state.otc = in.otc;
    state.buy = {buy.value, shares.value, mini.mini, mini.unit};
    state.sell = {sell.value, shares.value, mini.mini, mini.unit};
    state.SelectExpenses(hasBuy);

    int e = CalcOk;
    if (hasBuy) e = state.CalcBuy(*table, *table);
    if (e == CalcOk && hasSell) e = state.CalcSell(*table, *table);
    if (e == CalcOk && hasBuy && hasSell) state.Profit();
    if (e != CalcOk) return Stop(state, PageStatus::Failed, SlimErrorMessage(e), focus);

    SlimOutcome out;
    out.status = PageStatus::Ready;
    out.focus = focus;
    out.show = hasBuy && hasSell ? SlimShow::Both : (hasBuy ? SlimShow::BuyOnly : SlimShow::SellOnly);
    const TradeResult& r = state.result;
    if (hasBuy && AdjustmentPair{buy.value, r.buyPrice, state.buyTick}.Moved())
        out.adjustments.push_back({buy.value, r.buyPrice, state.buyTick});
    if (hasSell && AdjustmentPair{sell.value, r.sellPrice, state.sellTick}.Moved())
        out.adjustments.push_back({sell.value, r.sellPrice, state.sellTick});
    if (out.NeedsConfirmation()) {
        if (hasBuy) out.adjustWrites.push_back({kBuyField, PlainDigits(r.buyPrice)});
        if (hasSell) out.adjustWrites.push_back({kSellField, PlainDigits(r.sellPrice)});
    }
    return out;
}

}  // namespace zavota
