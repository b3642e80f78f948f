#include "PageLogic.h"

#include "DecimalCalc.h"
#include "NumberText.h"
#include "PageChecks.h"
#include "UnitTable.h"

namespace zavota {

namespace {

using D = DecimalCalc;

const PageFields kBuyFields{"edtYen_K", "edtNum_K", {"edtR1_K", "edtR2_K", "edtU1_K", "edtU2_K"}, "edtMini_K"};
const PageFields kSellFields{"edtYen_U", "edtNum_U", {"edtR1_U", "edtR2_U", "edtK1_U", "edtK2_U"}, "edtMini_U"};

constexpr double kMaxInput = 99999999.0;
constexpr int kMsgManualRange = 280;

enum Question { AskSellAt = 0, AskWidth = 1, AskTargetProfit = 2, AskTargetRate = 3 };

}  // namespace

FieldCheck CheckManualFigures(CalcState& state, const std::array<ManualEntry, 4>& in, std::array<ManualEntry, 4>& out) {
    Yen* overrides[4] = {&state.overrideBuyCommission, &state.overrideBuyCommissionTax,
                         &state.overrideSellCommission, &state.overrideSellCommissionTax};
    out = in;
    for (int i = 0; i < 4; ++i) {
        ManualEntry& m = out[i];
        if (!m.on) continue;
        // The same normalisation as a field's change check, but a text that is no number is
        // emptied silently: the figure then falls back to the table's.
        m.text = NormaliseOnChange(m.text, FieldKind::WholeNumber).text;
        if (TrimAscii(m.text).empty()) {
            m.on = false;
            *overrides[i] = kNoOverride;
            continue;
        }
        const std::optional<double> v = ParseNumber(TrimAscii(m.text));
        if (!v || *v < 0 || *v > kMaxInput) {
            *overrides[i] = kNoOverride;
            return {kMsgManualRange, kManualBoxes[i], {}};
        }
        *overrides[i] = Yen::FromDouble(*v);
    }
    return {};
}

namespace {

// The sell-page searches add 200 to an error of the sale they start from.
bool FirstSellLegFailed(int code) {
    return code == kSellLegOffset + ErrTick || code == kSellLegOffset + ErrCommission ||
           code == kSellLegOffset + ErrAmountLimit;
}

PageOutcome Refuse(CalcState& state, PageOutcome out, const FieldCheck& c) {
    state.Reset();
    out.status = PageStatus::Refused;
    out.message = c.message;
    out.focus = c.focus;
    return out;
}

PageOutcome Fail(CalcState& state, PageOutcome out, int message, const char* focus) {
    state.Reset();
    out.status = PageStatus::Failed;
    out.message = message;
    out.focus = focus;
    return out;
}

}  // namespace

const PageFields& FieldsOf(Page page) { return page == Page::Buy ? kBuyFields : kSellFields; }

int MainErrorMessage(int code, Page page) {
    switch (code) {
        case 1: case 101: case 201: return 241;
        case 2: case 102: case 202: return 242;
        case 3: return 243;
        case 103: return page == Page::Buy ? 243 : 244;
        case 203: return page == Page::Buy ? 244 : 243;
        case 11: case 111: case 211: return 251;
        case 12: case 112: case 212: return 252;
        case 13: case 113: case 213: return 253;
        default: return 299;
    }
}

int SlimErrorMessage(int code) {
    switch (code) {
        case 1: return 241;
        case 2: return 242;
        case 3: return 243;
        case 11: return 251;
        case 12: return 252;
        case 13: return 253;
        default: return 299;
    }
}

void CancelAdjustment(CalcState& state) { state.Reset(); }

std::vector<std::string> AdjustmentLines(const std::vector<AdjustmentPair>& moved) {
    std::vector<std::string> lines;
    for (const AdjustmentPair& p : moved) lines.push_back(AdjustmentLine(p.entered, p.used, p.tick));
    return lines;
}

PageOutcome RunPage(CalcState& state, const PageInput& in) {
    const bool buyPage = in.page == Page::Buy;
    const PageFields& f = FieldsOf(in.page);
    PageOutcome out;

    state.Reset();
    if (FieldCheck c = CheckManualFigures(state, in.manual, out.manual); !c.ok()) return Refuse(state, out, c);

    const FieldCheck price = ReadWholeField(in.price, f.price, buyPage ? 100 : 104, buyPage ? 201 : 208);
    if (!price.ok()) return Refuse(state, out, price);
    const FieldCheck shares = ReadWholeField(in.shares, f.shares, 102, 202);
    if (!shares.ok()) return Refuse(state, out, shares);
    if (AmountAtLimit(price.value, shares.value)) return Refuse(state, out, {243, "", {}});

    const MiniCheck mini = CheckMiniFields(in.miniInUse, in.miniUnit, shares.value, f.miniUnit, f.shares);
    if (!mini.check.ok()) return Refuse(state, out, mini.check);

    state.TradeKind = in.taxKindIndex <= 0 ? TradeCash : TradeMargin;
    const MarginTable* own = state.tables.Used(in.table);
    const MarginTable* other = in.twoTables ? state.tables.Used(in.table2) : own;
    if (own == nullptr || other == nullptr) return Fail(state, out, 299, f.price);
    const MarginTable& buyTable = buyPage ? *own : *other;
    const MarginTable& sellTable = buyPage ? *other : *own;
    state.otc = in.otc;

    // Inputs are checked in the window's order before any of them reaches the state.
    int question = -1;
    for (int i = 0; i < 4 && question < 0; ++i)
        if (!TrimAscii(in.questions[i]).empty()) question = i;
    out.question = question;
    const char* used = question >= 0 ? f.questions[question] : f.price;
    FieldCheck answer;
    switch (question) {
        case AskSellAt:
            answer = ReadWholeField(in.questions[0], used, 0, buyPage ? 208 : 201);
            break;
        case AskWidth:
            answer = ReadWholeField(in.questions[1], used, 0, 210, buyPage ? nullptr : &price.value);
            break;
        case AskTargetProfit:
            // 0 is refused too: the message names 1 as the least target.
            answer = ReadWholeField(in.questions[2], used, 0, 211);
            break;
        case AskTargetRate:
            answer = ReadRateField(in.questions[3], used);
            break;
        default:
            break;
    }
    if (!answer.ok()) return Refuse(state, out, answer);

    state.buy = {buyPage ? price.value : Yen{}, shares.value, mini.mini, mini.unit};
    state.sell = {buyPage ? Yen{} : price.value, shares.value, mini.mini, mini.unit};
    state.SelectExpenses(buyPage);

    int e = CalcOk;
    if (buyPage) {
        switch (question) {
            case AskSellAt:
            case AskWidth:
                e = state.CalcBuy(buyTable, sellTable);
                if (e != CalcOk) break;
                state.sell.price = question == AskSellAt ? answer.value
                                                         : D::Add(state.buy.price, answer.value, 0, RoundNone);
                e = state.CalcSell(sellTable, buyTable);
                if (e == CalcOk) state.Profit();
                break;
            case AskTargetProfit:
                state.targetProfit = answer.value;
                e = state.SellPriceForProfit(buyTable, sellTable);
                break;
            case AskTargetRate:
                state.targetRate = answer.value;
                e = state.SellPriceForRate(buyTable, sellTable);
                break;
            default:
                e = state.CalcBuy(buyTable, sellTable);
                if (e == CalcOk) state.result.otherExpenses = state.ExpenseTotal();
                break;
        }
        if (e != CalcOk) return Fail(state, out, MainErrorMessage(e, in.page), used);
    } else {
        switch (question) {
            case AskSellAt:
            case AskWidth:
                state.buy.price = question == AskSellAt ? answer.value
                                                        : D::Sub(price.value, answer.value, 0, RoundNone);
                e = state.CalcBuy(buyTable, sellTable);
                if (e != CalcOk) break;
                e = state.CalcSell(sellTable, buyTable);
                if (e == CalcOk) state.Profit();
                break;
            case AskTargetProfit:
            case AskTargetRate:
                if (question == AskTargetProfit) {
                    state.targetProfit = answer.value;
                    e = state.BuyPriceForGain(sellTable, buyTable);
                } else {
                    state.targetRate = answer.value;
                    e = state.BuyPriceForRate(sellTable, buyTable);
                }
                // 234 speaks of a break-even that could not be found; when the sale itself
                // could not be priced, its own message says why.
                if (e != CalcOk && !FirstSellLegFailed(e) && state.result.sellBreakEven <= Yen{})
                    return Fail(state, out, 234, used);
                if (e == CalcOk && state.buy.price <= Yen{}) return Fail(state, out, 213, used);
                break;
            default:
                e = state.CalcSell(sellTable, buyTable);
                if (e == CalcOk) state.result.otherExpenses = state.ExpenseTotal();
                break;
        }
        if (e != CalcOk) return Fail(state, out, MainErrorMessage(e, in.page), used);
    }

    const TradeResult& r = state.result;
    const Yen width = D::Sub(r.sellPrice, r.buyPrice, 0, RoundNone);
    std::vector<AdjustmentPair> pairs;
    if (buyPage) {
        pairs.push_back({price.value, r.buyPrice, state.buyTick});
        if (question == AskSellAt) pairs.push_back({answer.value, r.sellPrice, state.sellTick});
        if (question == AskWidth) pairs.push_back({answer.value, width, state.sellTick});
    } else {
        if (question == AskSellAt) pairs.push_back({answer.value, r.buyPrice, state.buyTick});
        if (question == AskWidth)
            pairs.push_back({D::Sub(price.value, answer.value, 0, RoundNone), r.buyPrice, state.buyTick});
        if (question == AskWidth)
            pairs.push_back({answer.value, width, state.sellTick});
        else
            pairs.push_back({price.value, r.sellPrice, state.sellTick});
    }
    for (const AdjustmentPair& p : pairs)
        if (p.Moved()) out.adjustments.push_back(p);
    if (!out.adjustments.empty()) {
        out.adjustWrites.push_back({f.price, PlainDigits(buyPage ? r.buyPrice : r.sellPrice)});
        if (question == AskSellAt)
            out.adjustWrites.push_back({used, PlainDigits(buyPage ? r.sellPrice : r.buyPrice)});
        if (question == AskWidth) out.adjustWrites.push_back({used, PlainDigits(width)});
    }
    if (question == AskTargetRate) out.writes.push_back({used, PlainRate(answer.value)});
    for (int i = 0; i < 4; ++i)
        if (i != question && !in.questions[i].empty()) out.emptied.emplace_back(f.questions[i]);

    out.status = PageStatus::Ready;
    out.focus = used;
    out.expenseSet = state.keihiSelected[buyPage ? 0 : 1];
    if (question < 0) {
        out.show = buyPage ? PanelSide::BuyOnly : PanelSide::SellOnly;
        out.mark = buyPage ? "mmPay_K" : "mmPay_U";
    } else {
        out.show = PanelSide::All;
        if (question == AskSellAt || question == AskWidth)
            out.mark = "mmResult_Last";
        else
            out.mark = buyPage ? "mmGaku_U" : "mmGaku_K";
    }
    return out;
}

}  // namespace zavota
