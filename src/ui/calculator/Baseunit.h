// The hidden state window: owns the application state, creates the windows, runs the main or
// the slim calculator window, switches between them, and saves the settings once at the end.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QWidget>

#include "ui/common/AppState.h"

namespace zavota::ui {

class TMainForm;
class TSlimForm;
class TfrmAdjust;
class TfrmMemo;

class TBaseForm : public QWidget {
    Q_OBJECT
public:
    // Loads every setting before any other window exists; " -off" in `commandLine` turns the
    // always-on-top and memo-at-start options off for good. With `askFirstStart` (a user is
    // there to answer) a first start asks whether to use today's tax rates and tick sizes.
    TBaseForm(std::string hivePath, std::string_view commandLine, MessagePresenter* presenter,
              bool askFirstStart = false);
    ~TBaseForm() override;

    // Posts the first messages: hide this window, then show the calculator of DefaultShow.
    void Start();

    AppState& State() { return *state_; }
    TMainForm& MainForm() { return *main_; }
    TSlimForm& SlimForm() { return *slim_; }
    TfrmAdjust& Adjust() { return *adjust_; }
    TfrmMemo& Memo() { return *memo_; }
    // The calculator window on screen, or none.
    QWidget* VisibleCalculator() const;
    // How often the settings were saved at the end (once per run).
    int ExitSaves() const { return exitSaves_; }

    // The always-on-top rule, run whenever the application loses activation.
    void ApplicationDeactivated();

signals:
    // The program ends: the settings are saved and every window is closed.
    void finished();

protected:
    bool event(QEvent* event) override;
    // Minimising a calculator window minimises the whole program: the memo pad goes with it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunCalculator(bool main);
    void CalculatorClosed();

    std::unique_ptr<AppState> state_;
    std::unique_ptr<TfrmAdjust> adjust_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TSlimForm> slim_;
    std::unique_ptr<TfrmMemo> memo_;
    int exitSaves_ = 0;
    bool ended_ = false;
};

}  // namespace zavota::ui
