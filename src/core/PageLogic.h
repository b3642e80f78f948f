// What the "実　行" buttons do with the texts of a page: the checks in their order, the
// calculation, and what the window must then show, write back and mark. Shared by the main
// window, the slim window and the command line.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "CalcState.h"
#include "PageChecks.h"
#include "Yen.h"

namespace zavota {

enum class Page { Buy, Sell };

// The four figures a user may type over, in this order.
enum ManualFigure { ManualBuyCommission, ManualBuyCommissionTax, ManualSellCommission, ManualSellCommissionTax };
inline constexpr std::array<const char*, 4> kManualBoxes = {"mmMargin_K", "mmSZei_K", "mmMargin_U", "mmSZei_U"};
inline constexpr std::array<const char*, 4> kManualLabels = {"lblMargin_K", "lblSZei_K", "lblMargin_U", "lblSZei_U"};

struct ManualEntry {
    bool on = false;
    std::string text;
};

struct PageInput {
    Page page = Page::Buy;
    std::string price;
    std::string shares;
    // R1, R2, U1 (K1 on the sell page), U2 (K2): the first non-empty one is the question.
    std::array<std::string, 4> questions;
    bool miniInUse = false;  // the "ミニ株" box is visible, enabled and ticked
    std::string miniUnit;
    int taxKindIndex = -1;   // 0 "現物", 1 "信用取引", -1 nothing selected yet
    int table = 0;           // index among the tables in use
    int table2 = 0;          // the other leg's table in two-table mode
    bool twoTables = false;
    bool otc = false;
    std::array<ManualEntry, 4> manual;
};

// Control names of a page's fields.
struct PageFields {
    const char* price;
    const char* shares;
    std::array<const char*, 4> questions;
    const char* miniUnit;
};
const PageFields& FieldsOf(Page page);

struct AdjustmentPair {
    Yen entered, used, tick;
    bool Moved() const { return entered != used; }
};

struct FieldWrite {
    std::string field;
    std::string text;
};

enum class PageStatus {
    Refused,  // an input check failed: show `message`, focus `focus`, panel stays empty
    Failed,   // the calculation returned an error: show `message`, state reset, panel emptied
    Ready,    // figures to show (after the adjustment dialog, when there is one)
};

enum class PanelSide { All = 0, BuyOnly = 1, SellOnly = 2 };

struct PageOutcome {
    PageStatus status = PageStatus::Refused;
    int message = 0;
    std::string focus;
    int question = -1;  // 0..3, or -1 when no question was asked
    // The manual figures after their check: texts normalised, emptied ones switched off.
    std::array<ManualEntry, 4> manual;

    // Ready only:
    std::vector<AdjustmentPair> adjustments;  // lines of the adjustment dialog, in order
    std::vector<FieldWrite> adjustWrites;     // written back when the dialog is confirmed
    std::vector<FieldWrite> writes;           // written back in any case
    std::vector<std::string> emptied;         // the question fields not used
    PanelSide show = PanelSide::All;
    std::string mark;                         // the box that answers the question
    int expenseSet = 0;                       // the page's selected expense set

    bool NeedsConfirmation() const { return !adjustments.empty(); }
};

// Runs one press of "実　行". The tables are taken from state.tables; tick checking and tax
// settings as the state holds them. After a Ready outcome with adjustments the caller asks the
// user and calls CancelAdjustment when the answer is "キャンセル".
PageOutcome RunPage(CalcState& state, const PageInput& input);
void CancelAdjustment(CalcState& state);

// The manual figures' check, also run before "画面切替": texts normalised, emptied ones
// switched off and back to the table's figure, the others must hold 0 to 99,999,999 (280).
FieldCheck CheckManualFigures(CalcState& state, const std::array<ManualEntry, 4>& in, std::array<ManualEntry, 4>& out);

// The messages for the calculation's error codes.
int MainErrorMessage(int code, Page page);
int SlimErrorMessage(int code);

// The text lines of the adjustment dialog.
std::vector<std::string> AdjustmentLines(const std::vector<AdjustmentPair>& moved);

}  // namespace zavota
