// Options page "起動時": the window at start, the memo pad at start and the motto line.
#pragma once

#include "ui/options/OptionsPages.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace zavota::ui {

class Cp932Keeper;

inline constexpr int kMottoBytes = 80;  // in code page 932

class OptionsWakePage : public OptionsPage {
    Q_OBJECT
public:
    OptionsWakePage(AppState& state, OptionsHost& host, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit(bool forGood) override;

private:
    void WordShowChosen(bool shown);
    void WordYearGainClicked(bool checked);
    void FontChosen();
    void FillFonts();

    AppState& state_;
    OptionsHost& host_;
    QRadioButton* defaultShow0_ = nullptr;
    QRadioButton* defaultShow1_ = nullptr;
    QCheckBox* memo_ = nullptr;
    QRadioButton* wordShow1_ = nullptr;
    QRadioButton* wordShow0_ = nullptr;
    QComboBox* font_ = nullptr;
    QLineEdit* word_ = nullptr;
    Cp932Keeper* wordKeeper_ = nullptr;
    QCheckBox* wordYearGain_ = nullptr;
};

}  // namespace zavota::ui
