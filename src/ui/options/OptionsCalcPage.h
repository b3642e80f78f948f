// Options page "計算時": the tick-size check, the two-table choice, the tick-size table
// editor, the annual gain and the switch for the tax on profit.
#pragma once

#include <array>
#include <optional>

#include "ui/options/OptionsPages.h"

class QCheckBox;

namespace zavota::ui {

class NumericEdit;

class OptionsCalcPage : public OptionsPage {
    Q_OBJECT
public:
    OptionsCalcPage(AppState& state, OptionsHost& host, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit(bool forGood) override;

private:
    void EditTickTables();

    AppState& state_;
    OptionsHost& host_;
    QCheckBox* useUnit_ = nullptr;
    QCheckBox* twoTable_ = nullptr;
    NumericEdit* yearGain_ = nullptr;
    QCheckBox* dontUse_ = nullptr;
    // What the last commit failed to write: leaving again with these values goes through.
    std::optional<std::array<long long, 4>> failedValues_;
};

}  // namespace zavota::ui
