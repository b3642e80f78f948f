// The "個別銘柄" tab of the memo pad: the page list, the 3 × 20 grid with a selection box beside
// each row, the results of the ticked rows and their hand-over to the calculator window.
#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "memo/StockRows.h"
#include "ui/common/AppState.h"
#include "ui/memo/MemoPageView.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;

namespace zavota::ui {

class NumericEdit;

class TMemoStockPage : public QWidget, public MemoPageView {
    Q_OBJECT
public:
    // `calculator` finds the calculator window on screen (none: the hand-over does nothing).
    TMemoStockPage(AppState& state, MemoStore& store, std::function<QWidget*()> calculator,
                   QWidget* parent = nullptr);

    MemoPageKind Kind() const override { return MemoPageKind::PerStock; }
    QComboBox* TitleList() const override { return cmbTitle_; }
    QLabel* PositionLabel() const override { return lblPage_; }
    bool HasContent() const override;
    void ClearPage() override;
    bool LoadPage(int number) override;
    bool SavePage(const MemoPageEntry& entry) override;
    void FocusPage() override;
    void FocusCalculate();

    void ApplyColours(const DisplaySettings& colours);
    QPushButton* CloseButton() const { return btnEnd_; }
    QPushButton* CalculateButton() const { return btnCalc_; }

    // The grid's texts and ticks as they stand.
    StockGrid Rows() const;

signals:
    void reloadRequested();
    void clearRequested();

private:
    void FitGridToRows();
    void PlaceBoxes();
    void SetRows(const StockGrid& rows);
    void ClearResults();
    void btnCalc_01Click();
    void chkS1Click(int row);
    void btnAllSelectClick();
    void grdMemoSetEditText(int row, int column);
    void HandOver(bool buy);
    void FocusCell(int row, int column);
    void PopupAt(int row, const QPoint& where);
    void ApplyRowMove(void (*move)(StockGrid&, int));
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppState& state_;
    MemoStore& store_;
    std::function<QWidget*()> calculator_;
    int popupRow_ = 1;

    QComboBox* cmbTitle_;
    QLabel* lblPage_;
    QTableWidget* grdMemo_;
    QWidget* checks_;
    std::array<QCheckBox*, kMemoRows> chkS_{};
    QPushButton* btnAllSelect_;
    QWidget* pnlResult_;
    QFrame* shape01_;
    QLabel* lblSelected_;
    QLabel* lblBar_;
    QLineEdit* mmPrice_;
    QLineEdit* mmNum_;
    QLineEdit* mmTotal_;
    NumericEdit* edtPrice_;
    NumericEdit* edtNum_;
    QPushButton* btnCalc_;
    QPushButton* btnEnd_;
    QMenu* popLine_;
};

}  // namespace zavota::ui
