// The trade calculation: both legs of a round trip, their break-even prices, the profit after
// other expenses and tax, and the what-if searches over the tick grid.
#pragma once

#include <array>
#include <cstdint>

#include "KeihiSet.h"
#include "MarginTable.h"
#include "TaxSettings.h"
#include "UnitTable.h"
#include "Yen.h"

namespace zavota {

// Small integer codes of the operations. Break-even failures add 10; the searches add 100
// or 200 depending on the leg that failed.
enum CalcError : int {
    CalcOk = 0,
    ErrTick = 1,         // a price fell outside the tick-size table
    ErrCommission = 2,   // no commission bracket for the amount, or a negative commission
    ErrAmountLimit = 3,  // a contract amount of 10,000,000,000 yen or more
    kBreakEvenOffset = 10,
    kBuyLegOffset = 100,
    kSellLegOffset = 200,
};

enum TradeKindCode : int { TradeCash = 1, TradeMargin = 3 };

struct TradeResult {
    Yen buyPrice, buyShares, buyAmount, buyCommission, buyCommissionTax, totalPaid, buyBreakEven;
    Yen sellPrice, sellShares, sellAmount, sellCommission, sellCommissionTax, sellOtherDeduction,
        totalReceived, sellBreakEven;
    Yen profit, otherExpenses, profitTax, finalProfit, profitRate;

    bool operator==(const TradeResult&) const = default;
};

struct TradeLeg {
    Yen price;   // adjusted onto the tick grid by the calculation
    Yen shares;
    bool mini = false;
    Yen unit;    // shares of a full trading unit, for a mini-stock order
};

// How the break-even walks and the searches move: round by round as the rules read, or
// jumping over stretches of rounds that provably cannot end the walk. Both end at the same
// price with the same figures and error codes; the first is kept as the reference.
enum class Walk { Fast, RoundByRound };

class CalcState {
public:
    using YieldHook = void (*)(void* context);

    CalcState();

    // --- choices (kept by Reset)
    int TradeKind = TradeCash;
    bool otc = false;          // the OTC tick-size table instead of the listed one
    bool buyPageFlag = true;   // the buy page of the calculator is current
    bool calcOnBuyPage = true; // the page of the current calculation (set by SelectExpenses)
    Walk walk = Walk::Fast;
    // Search rounds skip the overflow checks below the price where a walk has shown they
    // cannot overflow (off only to compare the two in tests and benchmarks).
    bool uncheckedRounds = true;

    // --- inputs and what-if values (cleared by Reset)
    TradeLeg buy, sell;
    Yen overrideBuyCommission = kNoOverride;
    Yen overrideBuyCommissionTax = kNoOverride;
    Yen overrideSellCommission = kNoOverride;
    Yen overrideSellCommissionTax = kNoOverride;
    Yen targetProfit;  // target profit or gain of the yen searches
    Yen targetRate;    // target profit rate of the rate searches

    // --- figures (cleared by Reset)
    TradeResult result;
    Yen buyTick, sellTick;          // the tick found for each leg's price
    Yen buyEntered, sellEntered;    // each leg's price before adjustment

    // --- settings (kept by Reset)
    TaxSettings tax;
    std::array<KeihiSet, kKeihiSetCount> keihiSets{};
    std::array<int, 2> keihiSelected{0, 0};  // per page (0 buy, 1 sell): 0 none, 1..4
    MarginTableSet tables;
    UnitTable listedTicks{0};
    UnitTable otcTicks{1};

    // --- derived by SelectExpenses
    Yen buyInterestRate, sellInterestRate, fixedExpenses;
    bool expensesActive = false;

    void Reset();
    int CalcBuy(const MarginTable& buyTable, const MarginTable& sellTable, Yen* tick = nullptr);
    int CalcSell(const MarginTable& sellTable, const MarginTable& buyTable, Yen* tick = nullptr);
    void Profit();
    int SellPriceForProfit(const MarginTable& buyTable, const MarginTable& sellTable);
    int SellPriceForRate(const MarginTable& buyTable, const MarginTable& sellTable);
    int BuyPriceForGain(const MarginTable& sellTable, const MarginTable& buyTable);
    int BuyPriceForRate(const MarginTable& sellTable, const MarginTable& buyTable);
    int BuyBreakEven(Yen price, Yen shares, Yen totalPaid, const MarginTable& sellTable, Yen* breakEven);
    int SellBreakEven(Yen price, Yen shares, Yen totalReceived, const MarginTable& buyTable, Yen* breakEven);
    static int CheckMini(Yen shares, Yen unit);
    void SelectExpenses(bool buyPage);
    Yen ExpenseTotal();

    const UnitTable& Ticks() const { return otc ? otcTicks : listedTicks; }
    // Both tick tables switched on or off together ("呼び値単位のチェックを行う").
    void SetTickCheck(bool on);
    // Today's tax rates and the exchange's current listed steps in place of the stored ones;
    // the tick check, the year's gain and the other tax choices stay as they are.
    void UseTodaysRules();
    bool ProfitTaxApplies() const;

    // Called every 1,002nd round of a search or break-even loop so the windows can repaint.
    void SetYieldHook(YieldHook hook, void* context) { yieldHook_ = hook; yieldContext_ = context; }
    // Rounds run by searches and break-even loops since construction (for the benchmarks).
    std::int64_t Rounds() const { return rounds_; }
    // Stretches of rounds the fast walk took at once since construction (for the tests).
    std::int64_t Jumps() const { return jumps_; }

private:
    struct Counter {
        int value = 0;
    };
    void YieldRound(Counter& counter);

    // ---- jumps of the fast walk (FastWalk.cpp)
    struct Span {
        Yen lo, hi;
    };
    // How far the next jump of one walk reaches, and rounds to walk before the next trial (the
    // first few so that the short walks of everyday presses never pay for a trial).
    struct JumpPace {
        std::int64_t stride = 64;
        int pause = 3;
    };
    // From p, just evaluated without ending its walk: tries to take the next rounds at once.
    // `big` says they are big steps of a search. `holds` (leg total span, amount span) must show
    // that none of the rounds skipped could end the walk or change its kind of step. On
    // success *landing is the price the walk has reached when those rounds are done.
    template <typename Holds>
    bool TryJump(Yen p, bool up, bool big, Side side, Yen shares, const MarginTable& table, JumpPace& pace,
                 Counter& counter, const Holds& holds, Yen* landing);
    // Bounds of a leg's amount and total over every price in [lo, hi]; false when they cannot
    // be shown (an error at either end, a bracket boundary between, the amount limit).
    bool LegSpan(Side side, Yen lo, Yen hi, Yen shares, const MarginTable& table, Span* total, Span* amount) const;
    // Bounds of the final profit and the profit rate over the spans of both legs.
    bool ProfitSpan(Span received, Span paid, Span buyAmount, Span sellAmount, Span* final, Span* rate) const;
    // Break-even walks: *g is the price just evaluated; on success it becomes the price the
    // walk's next step starts from.
    bool JumpBreakEvenUp(Yen* g, Yen shares, Yen target, const MarginTable& sellTable, JumpPace& pace,
                         Counter& counter);
    bool JumpBreakEvenDown(Yen* c, Yen shares, Yen limit, const MarginTable& buyTable, JumpPace& pace,
                           Counter& counter);
    // Searches (the sell price climbing, or the buy price falling): on success the searched
    // price is the one the next round evaluates.
    bool JumpSearch(bool sellMoves, const MarginTable& table, bool byRate, Yen goalRate, bool big, JumpPace& pace,
                    Counter& counter);
    Yen ExpensesOn(Yen buyAmount, Yen sellAmount) const {
        return ExpensesAt<true>(ProfitTermsOf(), buyAmount, sellAmount);
    }

    // One leg at its current price, without its break-even; a CalcError.
    int BuyLeg(const MarginTable& buyTable);
    int SellLeg(const MarginTable& sellTable);
    // The first half of each: the leg's price moved onto its grid, and the amount limit.
    int PlaceBuy();
    int PlaceSale();
    struct LegFigures {
        Yen amount, commission, commissionTax;
        Yen total;  // paid for a purchase, received for a sale
    };
    void WriteBuy(const LegFigures& f);
    void WriteSale(const LegFigures& f);

    // What a leg's figures depend on besides its price and table, and what the profit depends
    // on besides the two legs. A search reads them from the state once: its rounds then keep
    // them at hand instead of reading the state again, which the calls on its rare paths would
    // otherwise force every round.
    struct LegTerms {
        Side side = Side::Buy;
        Yen shares;
        bool mini = false;
        Yen unit;
        Yen feeOverride = kNoOverride, taxOverride = kNoOverride;
        Yen consumption;
    };
    struct ProfitTerms {
        TaxSettings tax;
        bool applies = false;
        bool expenses = false, onBuyPage = true;
        Yen fixedExpenses, buyInterest, sellInterest;
    };
    LegTerms LegTermsOf(Side side, Yen shares) const;
    ProfitTerms ProfitTermsOf() const;
    // One leg's figures at price p, with the leg's overrides and mini-stock choice (`kChecked`
    // as in DecimalCalc).
    int PriceLeg(Side side, Yen p, Yen shares, const MarginTable& table, LegFigures* out) const {
        return PriceLegAt<true>(LegTermsOf(side, shares), p, table, out);
    }
    template <bool kChecked>
    static int PriceLegAt(const LegTerms& t, Yen p, const MarginTable& table, LegFigures* out);
    template <bool kChecked>
    static Yen ExpensesAt(const ProfitTerms& t, Yen buyAmount, Yen sellAmount);
    struct ProfitFigures {
        Yen profit, otherExpenses, profitTax, finalProfit, profitRate;
    };
    template <bool kChecked>
    static ProfitFigures ProfitAt(const ProfitTerms& t, Yen received, Yen paid, Yen buyAmount, Yen sellAmount);

    // A search round: the moving leg at price p, the other kept at its figures of the press.
    struct RoundTerms {
        LegTerms leg;
        ProfitTerms profit;
        Yen otherTotal, otherAmount;  // the leg that stays
        // Up to this raw price no figure of a round can leave 64 bits (RoundBound.cpp), and
        // the round skips the overflow checks; -1 for none.
        std::int64_t uncheckedTo = -1;
    };
    RoundTerms RoundTermsOf(Side moving, const MarginTable& table, Yen shares) const;
    template <Side kMoving>
    static int SearchRound(const RoundTerms& t, Yen p, const MarginTable& table, ProfitFigures* out);
    template <Side kMoving, bool kChecked>
    static int RoundAt(const RoundTerms& t, Yen p, const MarginTable& table, ProfitFigures* out);
    // The highest raw price of the moving leg up to which no figure of its search rounds can
    // leave 64 bits; -1 when there is none, or when the checks are wanted.
    std::int64_t UncheckedTo(const RoundTerms& t, const MarginTable& table) const;
    // Bounds of a leg's total over [lo, hi] from the straight line the commission follows inside
    // a bracket, however long the stretch; false when a minimum or maximum may take over between.
    bool LineBounds(Side side, Yen lo, Yen hi, Yen shares, const MarginTable& table, const LegFigures& a,
                    const LegFigures& b, Span* bounds) const;

    int SearchSellPrice(const MarginTable& buyTable, const MarginTable& sellTable, bool byRate);
    int SearchBuyPrice(const MarginTable& sellTable, const MarginTable& buyTable, bool byRate);

    YieldHook yieldHook_ = nullptr;
    void* yieldContext_ = nullptr;
    std::int64_t rounds_ = 0;
    std::int64_t jumps_ = 0;
};

// 10,000,000,000 yen or more cannot be traded.
bool AmountAtLimit(Yen price, Yen shares);

}  // namespace zavota
