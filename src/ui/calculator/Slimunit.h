// The slim window: a narrow calculator for a buy price, a count and a sell price.
#pragma once

#include <string>

#include <QDialog>

#include "ui/common/AppState.h"

class QLineEdit;

namespace zavota::ui {

class TfrmAdjust;

class TSlimForm : public QDialog {
    Q_OBJECT
public:
    TSlimForm(AppState& state, TfrmAdjust& adjust, QWidget* parent = nullptr);

    // Shows the window (the show procedure: position, settings of the current side, hand-over).
    void Run();

signals:
    // Emitted once the close procedure has run (position, settings, flags stored).
    void closedForGood();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;  // MemoCalcBuy, MemoCalcSell

private:
    void keyPressEvent(QKeyEvent* event) override;
    // "実行"; a press while a calculation runs is ignored.
    void Calculate();
    void CalculateNow();
    // "実行" when the count and at least one price are given.
    void Recalculate();
    void TradeKindChanged();
    void ChooseExpenses();
    void SwitchToMain();
    void ClearFigures();
    void ShowFigure(QLineEdit* box, const QString& text, bool negative);

    struct Controls;
    AppState& state_;
    TfrmAdjust& adjust_;
    Controls* c_;  // owned as a child object
};

}  // namespace zavota::ui
