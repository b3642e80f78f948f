// Options page "計算時": the tick-size check, the two-table choice, the tick-size table
// editor, the annual gain and the switch for the tax on profit.
#pragma once

#include "ui/options/OptionsPages.h"

class QCheckBox;

namespace zavota::ui {

class NumericEdit;

class OptionsCalcPage : public OptionsPage {
    Q_OBJECT
public:
    OptionsCalcPage(AppState& state, OptionsHost& host, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit() override;

private:
    void EditTickTables();

    AppState& state_;
    OptionsHost& host_;
    QCheckBox* useUnit_ = nullptr;
    QCheckBox* twoTable_ = nullptr;
    NumericEdit* yearGain_ = nullptr;
    QCheckBox* dontUse_ = nullptr;
};

}  // namespace zavota::ui
