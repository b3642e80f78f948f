// One calculation page of the main window ("買値から計算" or "売値から計算"): its controls,
// built with the names, captions and tab order of that page.
#pragma once

#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "core/PageLogic.h"
#include "ui/common/NumericEdit.h"
#include "ui/calculator/TradeControls.h"

namespace zavota::ui {

struct CalcPageWidgets {
    Page page = Page::Buy;
    QWidget* tab = nullptr;           // Tab_K / Tab_U
    QWidget* inputPanel = nullptr;    // pnlInput_K / _U
    NumericEdit* price = nullptr;     // edtYen_K / _U
    NumericEdit* shares = nullptr;    // edtNum_K / _U
    QLabel* priceLabel = nullptr;     // lblInputChar01_K / _U
    QLabel* sharesLabel = nullptr;    // lblInputChar02_K / _U
    std::array<NumericEdit*, 4> questions{};  // R1, R2, U1/K1, U2/K2
    QComboBox* tax = nullptr;
    QComboBox* table = nullptr;
    QComboBox* table2 = nullptr;
    QLabel* table2Label = nullptr;
    MiniStockControls mini;
    QCheckBox* otc = nullptr;
    QPushButton* go = nullptr;
    QPushButton* slim = nullptr;
    QPushButton* end = nullptr;
    QPushButton* clear = nullptr;

    // Price, count and the four what-if fields.
    std::array<NumericEdit*, 6> Inputs() const {
        return {price, shares, questions[0], questions[1], questions[2], questions[3]};
    }
};

// Builds the page's controls into `tab` (which becomes Tab_K or Tab_U).
CalcPageWidgets BuildCalcPage(Page page, QWidget* tab, MessageCatalogue* catalogue);

}  // namespace zavota::ui
