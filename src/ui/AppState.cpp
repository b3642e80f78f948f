#include "AppState.h"

namespace zavota::ui {

AppState::AppState(std::string hivePath) : store(BindSettings(program, calc), std::move(hivePath)) {}

bool AppState::CloseMemoPadIfVisible() {
    if (memoPad.isNull() || !memoPad->isVisible()) return false;
    memoPad->close();
    return true;
}

bool AppState::Saved(bool saved) {
    if (!saved) messages.ShowMessage(290);
    return saved;
}

}  // namespace zavota::ui
