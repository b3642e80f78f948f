// The memo pad's "シンプル計算機" tab: average and total of ten cells, the four operations and a
// split on two numbers, two memories. The arithmetic lives in memo/SimpleCalc; this page only
// moves texts between its controls and that unit, and keeps "Calc.ini".
#pragma once

#include <QWidget>

namespace zavota {
class MemoStore;
}

namespace zavota::ui {

class AppState;

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

private:
    AppState& state_;
    MemoStore& store_;
};

}  // namespace zavota::ui
