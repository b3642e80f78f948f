// Options page "税率": the consumption-tax rates of both legs and the two rates of the tax
// on profit.
#pragma once

#include <array>

#include "core/TaxSettings.h"
#include "ui/options/OptionsPages.h"

class QCheckBox;

namespace zavota::ui {

class NumericEdit;

class OptionsTaxPage : public OptionsPage {
    Q_OBJECT
public:
    explicit OptionsTaxPage(AppState& state, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit(bool forGood) override;

private:
    void ShowRates(const TaxSettings& rates);  // into the four fields

    AppState& state_;
    std::array<NumericEdit*, 4> rates_{};  // in the order of kRateFields
    QCheckBox* calcEach_ = nullptr;
};

}  // namespace zavota::ui
