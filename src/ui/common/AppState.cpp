#include "ui/common/AppState.h"

#include <QCoreApplication>

#include "ui/common/WheelGuard.h"

namespace zavota::ui {

AppState::AppState(std::string hivePath) : store(BindSettings(program, calc), std::move(hivePath)) {
    // The long searches let the windows repaint and answer; the windows refuse to start a
    // second calculation meanwhile.
    calc.SetYieldHook([](void*) { QCoreApplication::processEvents(); }, nullptr);
    InstallWheelGuard();
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
    if (saved) return true;
    ++failedSaves;
    // 300: another program kept the settings locked; the values stay for the next save. 290
    // names the file and the system's reason, so that a user can mend what stops the write.
    if (store.LastSaveBusy()) messages.ShowMessage(300);
    else messages.ShowMessage(290, store.LastFailure());
    return false;
}

bool AppState::SavedUnasked(bool saved) {
    if (saved || unaskedSaveFailed) return saved;
    unaskedSaveFailed = true;
    return Saved(saved);
}

}  // namespace zavota::ui
