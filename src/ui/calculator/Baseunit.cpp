#include "ui/calculator/Baseunit.h"

#include <QEventLoop>
#include <QGuiApplication>

#include "platform/HelpFile.h"
#include "settings/WindowRules.h"
#include "ui/calculator/Adjustunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/memo/Memounit.h"
#include "ui/calculator/Slimunit.h"
#include "ui/calculator/ZOrder.h"

namespace zavota::ui {

namespace {
constexpr int kMsgSettingsKeptAside = 295;
constexpr int kMsgSettingsUnread = 296;

// The first start: today's rules or the defaults. Saved either way, so that the settings file
// now exists and the question is never asked again.
void OfferTodaysRules(AppState& s) {
    const bool today = s.messages.AskConfirm(kConfirmTodaysRules, {}, false) == MessageAnswer::Yes;
    if (today) s.calc.UseTodaysRules();
    bool saved = s.store.SaveTaxRates();
    if (saved && today) saved = s.store.SaveTickTables();
    s.Saved(saved);
}
}  // namespace

namespace {

constexpr int kLockWaitMs = 4000;

}  // namespace

TBaseForm::TBaseForm(std::string hivePath, std::string_view commandLine, MessagePresenter* presenter,
                     bool askFirstStart)
    : QWidget(nullptr, Qt::FramelessWindowHint), state_(std::make_unique<AppState>(std::move(hivePath))) {
    setObjectName(QStringLiteral("BaseForm"));
    AppState& s = *state_;
    s.messages.SetPresenter(presenter);
    // A save waits a few seconds for another copy's lock, the windows painting meanwhile (no
    // clicks, so no second save starts inside the first); then it is reported, and its values
    // stay for a later save.
    s.store.Mutex().SetWaitLimit(kLockWaitMs, [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    s.stateWindow = this;
    s.safeStart = SafeStartRequested(commandLine);
    s.store.LoadAll();
    // Said once, before any window: every setting the file held is now at its default. An
    // unattended run (no presenter) leaves the file to the first save, which keeps it aside.
    if (presenter != nullptr && s.store.LoadFoundDamage()) {
        const std::string aside = s.store.KeepDamagedAside();
        if (aside.empty()) s.messages.ShowMessage(kMsgSettingsUnread, s.store.HivePath());
        else s.messages.ShowMessage(kMsgSettingsKeptAside, aside);
    }
    if (askFirstStart && presenter != nullptr && s.store.LoadFoundNoFile()) OfferTodaysRules(s);
    if (s.safeStart) {
        s.option().TopMost = 0;
        s.option().ShowMemo = 0;
        s.SavedUnasked(s.store.SaveStartupOptions());
        s.SavedUnasked(s.store.SaveTopMost());
    }
    setGeometry(0, 0, 1, 1);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) ApplicationDeactivated();
    });
    s.memoPending = s.option().ShowMemo == 1;
    s.helpManual = platform::FindHelpManual();

    main_ = std::make_unique<TMainForm>(s, *(adjust_ = std::make_unique<TfrmAdjust>()));
    slim_ = std::make_unique<TSlimForm>(s, *adjust_);
    memo_ = std::make_unique<TfrmMemo>(s, [this] { return VisibleCalculator(); });
    s.memoPad = memo_.get();
    main_->installEventFilter(this);
    slim_->installEventFilter(this);
    connect(main_.get(), &TMainForm::closedForGood, this, &TBaseForm::CalculatorClosed);
    connect(slim_.get(), &TSlimForm::closedForGood, this, &TBaseForm::CalculatorClosed);
}

TBaseForm::~TBaseForm() = default;

void TBaseForm::Start() {
    state_->Post(HideStateWindow);
    state_->Post(state_->option().DefaultShow == 0 ? ShowMainCalculator : ShowSlimCalculator);
}

QWidget* TBaseForm::VisibleCalculator() const {
    if (main_ && main_->isVisible()) return main_.get();
    if (slim_ && slim_->isVisible()) return slim_.get();
    return nullptr;
}

void TBaseForm::ApplicationDeactivated() {
    QWidget* window = VisibleCalculator();
    if (window == nullptr) return;
    SetStayOnTop(window, KeepOnTop(state_->option().TopMost, state_->messages.Busy(), state_->modalDialogOpen));
}

bool TBaseForm::event(QEvent* e) {
    switch (static_cast<int>(e->type())) {
        case HideStateWindow:
            hide();
            return true;
        case ShowMainCalculator:
            RunCalculator(true);
            return true;
        case ShowSlimCalculator:
            RunCalculator(false);
            return true;
        case ShowMemoPad:
            if (!state_->memoPad.isNull()) {
                if (state_->memoPad->isMinimized()) state_->memoPad->showNormal();
                else state_->memoPad->show();
                state_->memoPad->raise();
                state_->memoPad->activateWindow();
            }
            return true;
        default:
            return QWidget::event(e);
    }
}

bool TBaseForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::WindowStateChange && (watched == main_.get() || watched == slim_.get())) {
        auto* window = static_cast<QWidget*>(watched);
        QWidget* memo = state_->memoPad.data();
        if (memo != nullptr && memo->isVisible()) {
            if (window->isMinimized() && !memo->isMinimized()) memo->showMinimized();
            else if (!window->isMinimized() && memo->isMinimized()) memo->showNormal();
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TBaseForm::RunCalculator(bool main) {
    if (ended_) return;
    QWidget* window = main ? static_cast<QWidget*>(main_.get()) : static_cast<QWidget*>(slim_.get());
    SetStayOnTop(window, state_->option().TopMost == 1);
    if (state_->memoPending) {
        state_->Post(ShowMemoPad);
        state_->memoPending = false;
    }
    if (main) main_->Run();
    else slim_->Run();
}

void TBaseForm::CalculatorClosed() {
    if (ended_) return;
    WindowHandover& h = state_->handover;
    const bool toSlim = sender() == main_.get();
    const bool switching = toSlim ? h.switchToSlim : h.switchToMain;
    if (h.exitRequested || !switching) {
        ended_ = true;
        ++exitSaves_;
        state_->SavedUnasked(state_->store.SaveAtExit());
        close();
        emit finished();
        return;
    }
    state_->Post(toSlim ? ShowSlimCalculator : ShowMainCalculator);
}

}  // namespace zavota::ui
