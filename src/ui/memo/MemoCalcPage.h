// The memo pad's "シンプル計算機" tab: average and total of ten cells, the four operations and a
// split on two numbers, two memories. The arithmetic lives in memo/SimpleCalc; this page only
// moves texts between its controls and that unit, and keeps "Calc.ini".
#pragma once

#include <array>

#include <QWidget>

#include "memo/SimpleCalc.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace zavota {
class MemoStore;
}

namespace zavota::ui {

class AppState;
class NumericEdit;

class TMemoCalcPage : public QWidget {
    Q_OBJECT
public:
    TMemoCalcPage(AppState& state, MemoStore& store, QWidget* parent = nullptr);
    ~TMemoCalcPage() override;

    // Resets the page, then reads "Calc.ini"; when it cannot be read, the three clear actions.
    void Load();
    // Writes "Calc.ini" as one replace of the file; false when that failed.
    bool Save();
    // The tab was shown.
    void FocusGrid();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void LayOut();
    void Reset();
    void ClearResults();  // the four rows, the split captions and every transfer button
    CalcRounding Rounding() const;
    CalcPageValues Values() const;
    void SetValues(const CalcPageValues& values);
    QTableWidgetItem* Cell(int row) const;
    void SetCell(int row, const QString& text);
    void EnableRow(int row, bool operands, bool memories);
    void EnableSplit(bool enabled);
    NumericEdit* Target(int target) const;  // 1 A, 2 B, 3 M1, 4 M2

    void btnCalc01Click();
    void btnClear01Click();
    void btnCalc02Click();
    void btnClear02Click();
    void btnClear03Click();
    void btnCalc_R11Click();
    void btnCalc_R53Click();
    void btnCalc_M11Click();
    void grdCalcSetEditText(QTableWidgetItem* item);

    AppState& state_;
    MemoStore& store_;
    bool settingCells_ = false;

    QComboBox* cmbS4_ = nullptr;
    std::array<QRadioButton*, 3> rbtnS_{};
    QButtonGroup* roundingGroup_ = nullptr;
    QTableWidget* grdCalc_ = nullptr;
    std::array<QLabel*, kCalcCells> lblPage04_{};
    QLineEdit* mmCalc_H_ = nullptr;
    QLineEdit* mmCalc_T_ = nullptr;
    QPushButton* btnCalc01_ = nullptr;
    QPushButton* btnClear01_ = nullptr;
    NumericEdit* edtCalc_A_ = nullptr;
    NumericEdit* edtCalc_B_ = nullptr;
    QCheckBox* chkPer_ = nullptr;
    QPushButton* btnCalc02_ = nullptr;
    std::array<QLineEdit*, 4> mmCalc_R_{};
    std::array<std::array<QPushButton*, 4>, 4> btnCalc_R_{};  // [row][target]
    QRadioButton* rbtnCalc_R51_ = nullptr;
    QRadioButton* rbtnCalc_R52_ = nullptr;
    QPushButton* btnCalc_R53_ = nullptr;
    QPushButton* btnCalc_R54_ = nullptr;
    QPushButton* btnClear02_ = nullptr;
    NumericEdit* edtCalc_M1_ = nullptr;
    NumericEdit* edtCalc_M2_ = nullptr;
    std::array<std::array<QPushButton*, 2>, 2> btnCalc_M_{};  // [memory][operand]
    QPushButton* btnClear03_ = nullptr;
};

}  // namespace zavota::ui
