// Options page "画面の色": thirteen colour panels; a click (or Space) opens the colour dialog, and the
// main window (and the memo pad) take the new colour at once.
#pragma once

#include <array>

#include "settings/SettingsData.h"
#include "ui/options/OptionsPages.h"


namespace zavota::ui {

class OptionsColourPage : public OptionsPage {
    Q_OBJECT
public:
    OptionsColourPage(AppState& state, OptionsHost& host, QWidget* parent = nullptr);
    void ShowPage() override;
    bool Commit(bool forGood) override;

private:
    void Preview();
    void Choose(int colour);
    void ColoursChanged(bool memoPad);

    AppState& state_;
    OptionsHost& host_;
    std::array<QWidget*, kColourCount> panels_{};  // by Colour
    QWidget* shapeLine_ = nullptr;
};

}  // namespace zavota::ui
