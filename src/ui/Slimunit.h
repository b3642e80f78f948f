// The slim window: a narrow calculator for a buy price, a count and a sell price.
#pragma once

#include <QDialog>

#include "ui/AppState.h"

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
    struct Controls;
    AppState& state_;
    TfrmAdjust& adjust_;
};

}  // namespace zavota::ui
