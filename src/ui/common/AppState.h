// The application-wide state every window reaches: the calculation, the settings and their
// store, the message catalogue, the hand-over between the calculator windows and the flags
// of start-up. Owned by the hidden state window; tests create their own.
#pragma once

#include <functional>
#include <string>

#include <QPointer>
#include <QWidget>

#include "core/CalcState.h"
#include "core/Handover.h"
#include "core/MessageCatalogue.h"
#include "settings/SettingsData.h"
#include "settings/SettingsStore.h"
#include "ui/common/DialogChoosers.h"
#include "ui/common/PrivateMessages.h"

namespace zavota::ui {

class AppState {
public:
    // Loads nothing yet: the state window calls store.LoadAll() before any window exists.
    explicit AppState(std::string hivePath);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    WindowHandover handover;
    CalcState calc;
    ProgramSettings program;
    SettingsStore store;
    MessageCatalogue messages;
    int keihiSide = 0;             // the page the expenses dialog serves: 0 buy, 1 sell
    bool modalDialogOpen = false;  // one of the program's modal dialogs is open
    bool memoPending = false;      // open the memo pad with the next calculator window
    bool safeStart = false;        // " -off" on the command line
    std::string helpManual;        // the installed manual, empty when there is none
    std::string helpOpener = "xdg-open";  // the desktop's opener, looked up in PATH
    bool unaskedSaveFailed = false;  // a failed unasked save has been reported this run
    int failedSaves = 0;             // failed saves reported so far

    QPointer<QObject> stateWindow;  // receiver of the private messages
    QPointer<QWidget> memoPad;      // the memo pad, once it exists
    // Paints the memo pad in the current colours; the memo pad fills it in.
    std::function<void()> memoRepaint;
    DialogChoosers choosers;        // the file and colour dialogs (tests answer them)

    OptionSettings& option() { return program.option; }
    DisplaySettings& display() { return program.display; }

    void Post(PrivateMessage message) const { PostPrivateMessage(stateWindow.data(), message); }
    // Closes the memo pad when it is visible; true when it was.
    bool CloseMemoPadIfVisible();
    // After a colour change: the memo pad takes it at once when it is on screen.
    void RepaintMemoPadIfVisible() const;
    // A settings save's result: message 290, naming the file and the reason, when it failed.
    // Returns `saved`.
    bool Saved(bool saved);
    // The same for the saves the user does not ask for (at the end, the always-on-top item,
    // the safe start): reported too, or a settings file that cannot be written would lose every
    // change unnoticed, but once per run, since each of them fails alike.
    bool SavedUnasked(bool saved);
};

// Sets the modal-dialog flag for the lifetime of a dialog.
class ModalDialogScope {
public:
    explicit ModalDialogScope(AppState& state) : state_(state) { state_.modalDialogOpen = true; }
    ~ModalDialogScope() { state_.modalDialogOpen = false; }
    ModalDialogScope(const ModalDialogScope&) = delete;
    ModalDialogScope& operator=(const ModalDialogScope&) = delete;

private:
    AppState& state_;
};

}  // namespace zavota::ui
