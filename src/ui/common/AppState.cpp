#include "ui/common/AppState.h"

#include <QCoreApplication>

namespace zavota::ui {

AppState::AppState(std::string hivePath) : store(BindSettings(program, calc), std::move(hivePath)) {
    // The long searches let the windows repaint and answer; the windows refuse to start a
    // second calculation meanwhile.
    calc.SetYieldHook([](void*) { QCoreApplication::processEvents(); }, nullptr);
}

bool AppState::CloseMemoPadIfVisible() {
    if (memoPad.isNull() || !memoPad->isVisible()) return false;
    memoPad->close();
    return true;
}

void AppState::RepaintMemoPadIfVisible() const {
    if (memoRepaint && !memoPad.isNull() && memoPad->isVisible()) memoRepaint();
}

bool AppState::Saved(bool saved) {
    // 300: another program kept the settings locked; the values stay for the next save.
    if (!saved) messages.ShowMessage(store.LastSaveBusy() ? 300 : 290);
    return saved;
}

bool AppState::SavedUnasked(bool saved) {
    if (saved || unaskedSaveFailed) return saved;
    unaskedSaveFailed = true;
    return Saved(saved);
}

}  // namespace zavota::ui
