// The trade-choice controls the main window's pages and the slim window share: the
// mini-stock box with its unit field, the rule that margin trading allows no mini-stock,
// the trade-kind and table selectors.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/MarginTable.h"

namespace zavota::ui {

inline constexpr const char* kCashCaption = "現物";
inline constexpr const char* kMarginCaption = "信用取引";

struct MiniStockControls {
    QCheckBox* check = nullptr;
    QLineEdit* unit = nullptr;
    QLabel* unitBefore = nullptr;  // "売買単位"
    QLabel* unitAfter = nullptr;   // "株"
    QLabel* priceLabel = nullptr;  // the main window's "円で" / "円で　ミニ株を"; none in the slim window
};

// The unit field and its labels enabled (white) when ticked, disabled (silver) when not.
void ShowMiniChecked(const MiniStockControls& c, bool checked);

// Margin trading (2 or 3) disables and unticks the box; cash trading enables it.
// Returns false when the box had to be unticked (the side's mini flag becomes 0).
bool ApplyMarginRule(const MiniStockControls& c, int taxType);

// Whether the box is in use for a calculation: visible, enabled and ticked.
bool MiniInUse(const MiniStockControls& c);

// The trade-kind selector: "現物", "信用取引".
void FillTradeKinds(QComboBox* combo);
// Selects the stored kind: margin for a value above 1, else cash.
void SelectTradeKind(QComboBox* combo, int taxType);
// The selected kind, 1 cash or 3 margin; the first item is selected when none is.
int SelectedTradeKind(QComboBox* combo);

// The names of the tables in use, in order, with `selected` chosen (the first when it is
// out of range). Emits no change signal.
void FillTableNames(QComboBox* combo, const MarginTableSet& tables, int selected);

}  // namespace zavota::ui
