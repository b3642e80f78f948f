#include "ui/calculator/Mainunit.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/DecimalCalc.h"
#include "core/NumberText.h"
#include "core/ResultPanel.h"
#include "ui/common/WindowPlacement.h"
#include "ui/calculator/Aboutunit.h"
#include "ui/calculator/Adjustunit.h"
#include "ui/calculator/Clipunit.h"
#include "ui/common/FieldAccess.h"
#include "ui/common/Help.h"
#include "ui/calculator/Keihiunit.h"
#include "ui/calculator/ResultView.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/StoredColour.h"
#include "ui/common/UiFonts.h"
#include "ui/common/WaitCursor.h"
#include "ui/calculator/ZOrder.h"

namespace zavota::ui {

namespace {

constexpr int kClientWidth = 522;
constexpr int kClientHeight = 460;
constexpr int kInputWidth = 280;
constexpr int kResultWidth = 242;
constexpr int kWordHeight = 24;

QString Q(const char* text) { return QString::fromUtf8(text); }

bool Blank(const QLineEdit* e) { return TrimAscii(e->text().toStdString()).empty(); }

void SetTextColour(QWidget* w, QColor colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

void SetBackground(QWidget* w, QColor colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    // The edit boxes on the panel stay white.
    for (QWidget* child : w->findChildren<QLineEdit*>()) child->setPalette(QApplication::palette(child));
    w->setAutoFillBackground(true);
}

}  // namespace

TMainForm::TMainForm(AppState& state, TfrmAdjust& adjust, QWidget* parent)
    : QDialog(parent), state_(state), adjust_(adjust) {
    setObjectName(Q("MainForm"));
    setWindowTitle(Q("Zavota"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    word_ = new QLabel(this);
    word_->setObjectName(Q("pnlWord"));
    word_->setFixedHeight(kWordHeight);
    word_->setContentsMargins(8, 0, 8, 0);
    word_->setFrameShape(QFrame::Panel);
    word_->setFrameShadow(QFrame::Sunken);
    auto* rule = new QFrame(this);
    rule->setObjectName(Q("pnlBorder"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setFixedHeight(2);
    border_ = rule;

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(Q("pgcCalcInput"));
    tabs_->setFixedWidth(kInputWidth);
    NameStrip(tabs_->tabBar(), Q("計算ページの切替"));
    for (Page page : {Page::Buy, Page::Sell}) {
        auto* tab = new QWidget;
        Widgets(page) = BuildCalcPage(page, tab, &state_.messages);
        tabs_->addTab(tab, page == Page::Buy ? Q("買値から計算") : Q("売値から計算"));
        ConnectPage(Widgets(page));
    }
    options_ = new TOptionsTab(state_, *this);
    tabs_->addTab(options_, Q("（各種設定）"));
    // Three tabs of one width across the page control.
    const int tabWidth = (kInputWidth - 4) / 3;
    tabs_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; padding: 3px 0; }").arg(tabWidth - 2));
    connect(tabs_, &QTabWidget::currentChanged, this, &TMainForm::TabChanged);

    results_ = new ResultView(state_.display(), this);
    results_->setFixedWidth(kResultWidth);
    connect(results_, &ResultView::manualToggleRequested, this, &TMainForm::ToggleManual);
    connect(results_->ExpensesButton(), &QPushButton::clicked, this, &TMainForm::OpenKeihi);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(tabs_, 0, Qt::AlignTop);
    body->addWidget(results_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(word_);
    layout->addWidget(border_);
    layout->addLayout(body, 1);

    BuildMenus();
    connect(results_, &ResultView::resultsShown, editMenu_, &QMenu::setEnabled);
    editMenu_->setEnabled(false);

    initialHeight_ = kClientHeight + layout->menuBar()->sizeHint().height();
    setFixedSize(kClientWidth, initialHeight_);
    tabs_->setFixedHeight(kClientHeight - kWordHeight);

    // Without the manual the help menu has nothing to open.
    contents_->setEnabled(!state_.helpManual.empty());
}

void TMainForm::BuildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(Q("MainMenu"));
    layout()->setMenuBar(bar);

    QMenu* file = bar->addMenu(Q("ﾌｧｲﾙ(&F)"));
    file->setObjectName(Q("mnuFile"));
    QAction* exit = file->addAction(Q("終了(&X)"));
    exit->setObjectName(Q("mnuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = bar->addMenu(Q("表示(&V)"));
    view->setObjectName(Q("mnuView"));
    topMost_ = view->addAction(Q("常に手前に表示する"));
    topMost_->setObjectName(Q("mnuTopMost"));
    topMost_->setCheckable(true);
    connect(view, &QMenu::aboutToShow, this, [this] { topMost_->setChecked(state_.option().TopMost == 1); });
    connect(topMost_, &QAction::triggered, this, &TMainForm::ToggleTopMost);

    editMenu_ = bar->addMenu(Q("編集(&E)"));
    editMenu_->setObjectName(Q("mnuEdit"));
    QAction* select = editMenu_->addAction(Q("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰする項目の選択 (&E)..."));
    select->setObjectName(Q("mnuSelect"));
    connect(select, &QAction::triggered, this, [this] { RunClipDialog(state_, this); });
    QAction* copyV = editMenu_->addAction(Q("計算結果を縦に長く ｺﾋﾟｰ  (&R)"));
    copyV->setObjectName(Q("mnuCopyV"));
    QAction* copyH = editMenu_->addAction(Q("計算結果を横に長く ｺﾋﾟｰ  (&C)"));
    copyH->setObjectName(Q("mnuCopyH"));
    auto shown = [this] {
        return ShownBlocks{!Blank(results_->Box("mmGaku_K")), !Blank(results_->Box("mmGaku_U")),
                           !Blank(results_->Box("mmResult_M"))};
    };
    connect(copyV, &QAction::triggered, this, [this, shown] { CopyResults(state_, ClipboardLayout::Vertical, shown()); });
    connect(copyH, &QAction::triggered, this, [this, shown] { CopyResults(state_, ClipboardLayout::Horizontal, shown()); });

    QAction* memo = bar->addAction(Q("ﾒﾓﾊﾟｯﾄﾞ(&M)"));
    memo->setObjectName(Q("mnuMemo"));
    connect(memo, &QAction::triggered, this, &TMainForm::ShowMemoPad);

    QMenu* help = bar->addMenu(Q("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(Q("mnuHelp"));
    contents_ = help->addAction(Q("目次 (&C)"));
    contents_->setObjectName(Q("mnuContents"));
    connect(contents_, &QAction::triggered, this, [this] { OpenHelp(state_, 0, this); });
    help->addSeparator();
    QAction* about = help->addAction(Q("Zavotaについて (&A)"));
    about->setObjectName(Q("mnuAbout"));
    connect(about, &QAction::triggered, this, [this] { RunAboutDialog(state_, this); });
}

void TMainForm::ConnectPage(CalcPageWidgets& w) {
    const Page page = w.page;
    const bool buy = page == Page::Buy;
    connect(w.go, &QPushButton::clicked, this, [this, page] { Go(page); });
    connect(w.slim, &QPushButton::clicked, this, [this, page] { SwitchToSlim(page); });
    connect(w.end, &QPushButton::clicked, this, &QWidget::close);
    connect(w.clear, &QPushButton::clicked, this, [this, page] { ClearPage(page); });

    connect(w.tax, &QComboBox::currentIndexChanged, this, [this, page, buy](int index) {
        if (index < 0) return;
        CalcPageWidgets& p = Widgets(page);
        const int kind = index == 0 ? 1 : 3;
        (buy ? state_.option().TaxTypeK : state_.option().TaxTypeU) = kind;
        if (!ApplyMarginRule(p.mini, kind)) (buy ? state_.option().MiniFlagK : state_.option().MiniFlagU) = 0;
        Recalculate(page);
    });
    auto tableChanged = [this, page](int& stored) {
        return [this, page, &stored](int index) {
            if (index < 0) return;
            stored = index;
            Recalculate(page);
        };
    };
    OptionSettings& o = state_.option();
    connect(w.table, &QComboBox::currentIndexChanged, this, tableChanged(buy ? o.MarginIndexK : o.MarginIndexU));
    connect(w.table2, &QComboBox::currentIndexChanged, this, tableChanged(buy ? o.MarginIndex2K : o.MarginIndex2U));
    connect(w.otc, &QCheckBox::clicked, this, [this, page, buy](bool checked) {
        (buy ? state_.option().TenFlagK : state_.option().TenFlagU) = checked ? 1 : 0;
        Recalculate(page);
    });
    connect(w.mini.check, &QCheckBox::clicked, this, [this, page, buy](bool checked) {
        ShowMiniChecked(Widgets(page).mini, checked);
        (buy ? state_.option().MiniFlagK : state_.option().MiniFlagU) = checked ? 1 : 0;
    });
}

// --- showing the window

void TMainForm::Run() {
    running_ = true;
    OptionSettings& o = state_.option();
    PlaceAtSavedPosition(this, state_.display().XY);

    ApplyMotto();
    ApplyColours();
    ResetManualEntries();

    for (Page page : {Page::Buy, Page::Sell}) {
        CalcPageWidgets& w = Widgets(page);
        const bool buy = page == Page::Buy;
        const int kind = buy ? o.TaxTypeK : o.TaxTypeU;
        SelectTradeKind(w.tax, kind);
        if (!ApplyMarginRule(w.mini, kind)) (buy ? o.MiniFlagK : o.MiniFlagU) = 0;
        FillTableNames(w.table, state_.calc.tables, buy ? o.MarginIndexK : o.MarginIndexU);
        FillTableNames(w.table2, state_.calc.tables, buy ? o.MarginIndex2K : o.MarginIndex2U);
        w.otc->setChecked((buy ? o.TenFlagK : o.TenFlagU) == 1);
        const bool mini = (buy ? o.MiniFlagK : o.MiniFlagU) == 1 && w.mini.check->isEnabled();
        w.mini.check->setChecked(mini);
        ShowMiniChecked(w.mini, mini);
        const double unit = buy ? o.MiniK : o.MiniU;
        w.mini.unit->setText(unit > 0 ? QString::fromStdString(ShortestText(unit)) : QString());
    }

    WindowHandover& h = state_.handover;
    const Page page = h.switchToMain && h.side == 1 ? Page::Sell : Page::Buy;
    {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(Index(page));
    }
    currentTab_ = Index(page);
    show();
    raise();
    activateWindow();

    if (h.switchToMain) {
        h.switchToMain = false;
        ClearInputs(page);
        const MainPageFill fill = MainPageFromHandover(h, page);
        CalcPageWidgets& w = Widgets(page);
        w.price->SetText(fill.price);
        w.shares->SetText(fill.shares);
        w.questions[0]->SetText(fill.r1);
        current_ = page;
        RestoreManualEntries(page);
        ShowCalcPage(page);
        if (!HandoverCalculates(h)) ClearPanel();
    } else {
        ClearInputs(Page::Buy);
        ClearInputs(Page::Sell);
        current_ = Page::Buy;
        ShowCalcPage(Page::Buy);
    }
}

void TMainForm::ApplyMotto() {
    const OptionSettings& o = state_.option();
    if (o.WordShow != 0) {
        setFixedHeight(initialHeight_);
        word_->show();
        border_->hide();
        const std::string text = o.WordYearGain == 1
                                     ? "現在の年間利益額は " + DecimalCalc::ToText(state_.calc.tax.YearGain, 0) + "円です。"
                                     : o.Word;
        word_->setText(QString::fromStdString(text));
        word_->setFont(NamedFont(QString::fromStdString(o.FontName), 13));
    } else {
        setFixedHeight(initialHeight_ - kWordHeight);
        word_->hide();
        border_->show();
    }
}

void TMainForm::ApplyColours() {
    const DisplaySettings& d = state_.display();
    for (Page page : {Page::Buy, Page::Sell}) {
        CalcPageWidgets& w = Widgets(page);
        const bool buy = page == Page::Buy;
        SetBackground(w.inputPanel, FromStoredColour(d[buy ? Colour::KaiPanel : Colour::UriPanel]));
        const QColor text = FromStoredColour(d[buy ? Colour::KaiPanelChar : Colour::UriPanelChar]);
        SetTextColour(w.priceLabel, text);
        SetTextColour(w.sharesLabel, text);
    }
    results_->ApplyColours();

    // In two-table mode a table selector wears the colour of the side whose table it selects.
    const bool two = state_.option().TwoFlag == 1;
    const QColor kai = FromStoredColour(d[Colour::KaiResult]);
    const QColor uri = FromStoredColour(d[Colour::UriResult]);
    const QColor chars = FromStoredColour(d[Colour::ResultChar]);
    const std::array<std::pair<QComboBox*, QColor>, 4> combos = {{{Widgets(Page::Buy).table, kai},
                                                                  {Widgets(Page::Sell).table, uri},
                                                                  {Widgets(Page::Buy).table2, uri},
                                                                  {Widgets(Page::Sell).table2, kai}}};
    for (const auto& [combo, colour] : combos) {
        QPalette p = combo->palette();
        p.setColor(QPalette::Base, two ? colour : QColor(Qt::white));
        p.setColor(QPalette::Button, two ? colour : QColor(Qt::white));
        p.setColor(QPalette::Text, two ? chars : QColor(Qt::black));
        p.setColor(QPalette::ButtonText, two ? chars : QColor(Qt::black));
        combo->setPalette(p);
    }
    for (Page page : {Page::Buy, Page::Sell}) {
        Widgets(page).table2->setVisible(two);
        Widgets(page).table2Label->setVisible(two);
    }
}

// --- pages

void TMainForm::TabChanged(int index) {
    if (currentTab_ == 2 && index != 2) {
        // The options tab stays current until its page lets go.
        {
            const QSignalBlocker block(tabs_);
            tabs_->setCurrentIndex(2);
        }
        if (!options_->Leave()) return;
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(index);
    }
    const int previous = currentTab_;
    currentTab_ = index;
    if (index == 2) {
        ShowOptionsPage(current_);
        return;
    }
    const Page page = index == 0 ? Page::Buy : Page::Sell;
    if (previous != 2 && previous != index) SaveManualTexts(previous == 0 ? Page::Buy : Page::Sell);
    RestoreManualEntries(page);
    current_ = page;
    ShowCalcPage(page);
}

void TMainForm::ShowOptionsPage(Page left) {
    SaveManualTexts(left);
    results_->SetManualEditable(false);
    results_->ExpensesButton()->setEnabled(false);
    options_->Enter();
}

bool TMainForm::LeaveOptions(bool forGood) { return currentTab_ != 2 || options_->Leave(forGood); }

void TMainForm::RefreshTableLists() {
    OptionSettings& o = state_.option();
    for (Page page : {Page::Buy, Page::Sell}) {
        const bool buy = page == Page::Buy;
        CalcPageWidgets& w = Widgets(page);
        int& first = buy ? o.MarginIndexK : o.MarginIndexU;
        int& second = buy ? o.MarginIndex2K : o.MarginIndex2U;
        FillTableNames(w.table, state_.calc.tables, first);
        FillTableNames(w.table2, state_.calc.tables, second);
        // An index beyond a shortened set would name no table; the list shows the first.
        first = std::max(w.table->currentIndex(), 0);
        second = std::max(w.table2->currentIndex(), 0);
    }
}

void TMainForm::ShowCalcPage(Page page) {
    const int side = Index(page);
    results_->SetExpensesCaption(state_.calc.keihiSelected[side]);
    results_->SetManualEditable(true);
    results_->ExpensesButton()->setEnabled(true);
    results_->PlaceBlocks(page);
    CalcPageWidgets& w = Widgets(page);
    for (Page p : {Page::Buy, Page::Sell}) Widgets(p).go->setDefault(p == page);
    w.price->setFocus();
    w.price->deselect();
    state_.handover.side = side;
    state_.calc.buyPageFlag = page == Page::Buy;
    Recalculate(page);
}

void TMainForm::Recalculate(Page page) {
    if (calculating_) return;
    const CalcPageWidgets& w = Widgets(page);
    if (!Blank(w.price) && !Blank(w.shares)) Go(page);
    else ClearPanel();
}

// --- manual commission figures

void TMainForm::ResetManualEntries() {
    for (auto& page : manual_)
        for (ManualEntry& m : page) m = {};
    for (int f = 0; f < 4; ++f) results_->SetManual(f, false, {});
    state_.calc.overrideBuyCommission = kNoOverride;
    state_.calc.overrideBuyCommissionTax = kNoOverride;
    state_.calc.overrideSellCommission = kNoOverride;
    state_.calc.overrideSellCommissionTax = kNoOverride;
}

void TMainForm::SaveManualTexts(Page page) {
    for (int f = 0; f < 4; ++f) {
        ManualEntry& m = manual_[Index(page)][f];
        m.text = m.on ? results_->ManualText(f).toStdString() : std::string();
    }
}

void TMainForm::RestoreManualEntries(Page page) {
    for (int f = 0; f < 4; ++f) {
        const ManualEntry& m = manual_[Index(page)][f];
        results_->SetManual(f, m.on, m.on ? QString::fromStdString(m.text) : QString());
    }
}

void TMainForm::ToggleManual(int f) {
    if (currentTab_ == 2 || f < 0 || f > 3) return;
    ManualEntry& m = manual_[Index(current_)][f];
    m.on = !m.on;
    m.text = m.on ? results_->ManualText(f).toStdString() : std::string();
    results_->SetManual(f, m.on, QString::fromStdString(m.text));
}

bool TMainForm::CheckManual(Page page) {
    const std::array<ManualEntry, 4> in = TypedManualEntries(page);
    std::array<ManualEntry, 4> out;
    const FieldCheck check = CheckManualFigures(state_.calc, in, out);
    TakeCheckedManualEntries(page, in, out);
    if (check.ok()) return true;
    state_.messages.ShowMessage(check.message);
    FocusField(this, check.focus);
    return false;
}

std::array<ManualEntry, 4> TMainForm::TypedManualEntries(Page page) const {
    std::array<ManualEntry, 4> entries = manual_[Index(page)];
    for (int f = 0; f < 4; ++f)
        if (entries[f].on) entries[f].text = results_->ManualText(f).toStdString();
    return entries;
}

void TMainForm::TakeCheckedManualEntries(Page page, const std::array<ManualEntry, 4>& typed,
                                         const std::array<ManualEntry, 4>& checked) {
    for (int f = 0; f < 4; ++f) {
        if (!typed[f].on) continue;
        if (!checked[f].on) results_->SetManual(f, false, {});
        else results_->SetManualText(f, QString::fromStdString(checked[f].text));
    }
    manual_[Index(page)] = checked;
}

// --- the calculation

void TMainForm::ClearPanel() {
    // The figures a user typed over stay: emptying them would silently switch them off at the
    // next press of "実　行".
    std::array<ManualEntry, 4>& flags = manual_[Index(current_)];
    if (currentTab_ != 2)
        for (int f = 0; f < 4; ++f)
            if (flags[f].on && !results_->ManualText(f).isEmpty()) flags[f].text = results_->ManualText(f).toStdString();
    results_->Clear();
    if (currentTab_ != 2)
        for (int f = 0; f < 4; ++f)
            if (flags[f].on) results_->SetManualText(f, QString::fromStdString(flags[f].text));
}

void TMainForm::Go(Page page) {
    if (calculating_) return;
    calculating_ = true;
    const auto done = qScopeGuard([this] { calculating_ = false; });

    CalcPageWidgets& w = Widgets(page);
    const int side = Index(page);
    PageInput in;
    in.page = page;
    in.price = w.price->Text();
    in.shares = w.shares->Text();
    for (int i = 0; i < 4; ++i) in.questions[i] = w.questions[i]->Text();
    in.miniInUse = MiniInUse(w.mini);
    in.miniUnit = w.mini.unit->text().toStdString();
    in.taxKindIndex = SelectedTradeKind(w.tax) == 1 ? 0 : 1;
    in.table = w.table->currentIndex();
    in.table2 = w.table2->currentIndex();
    in.twoTables = state_.option().TwoFlag == 1;
    in.otc = w.otc->isChecked();
    in.manual = TypedManualEntries(page);

    // The panel keeps showing these figures when nothing new is shown; the clipboard copies
    // from the state, so the state keeps them too.
    const TradeResult shownBefore = state_.calc.result;
    PageOutcome out;
    {
        const WaitCursor wait;
        out = RunPage(state_.calc, in);
    }
    TakeCheckedManualEntries(page, in.manual, out.manual);

    auto isManualBox = [](const std::string& name) {
        for (const char* box : kManualBoxes)
            if (name == box) return true;
        return false;
    };

    if (out.status != PageStatus::Ready) {
        // A refused manual figure is checked before the panel is touched.
        if (out.status == PageStatus::Refused && isManualBox(out.focus)) state_.calc.result = shownBefore;
        else ClearPanel();
        state_.messages.ShowMessage(out.message);
        FocusField(this, out.focus);
        return;
    }

    // Declined: the inputs no longer match any figures, so none are shown (and none copied).
    if (out.NeedsConfirmation() && !ConfirmAdjustment(state_, adjust_, out.adjustments, out.adjustWrites, this)) {
        ClearPanel();
        return;
    }
    WriteFields(this, out.writes);
    for (const std::string& name : out.emptied)
        if (auto* field = findChild<QLineEdit*>(QString::fromStdString(name))) field->clear();

    // The typed figures are kept where the calculation shows no figure of its own.
    std::array<QString, 4> typed;
    for (int f = 0; f < 4; ++f)
        if (manual_[side][f].on) typed[f] = QString::fromStdString(manual_[side][f].text);
    results_->ShowResult(state_.calc.result, out.show, page, out.expenseSet);
    for (int f = 0; f < 4; ++f)
        if (manual_[side][f].on && results_->ManualText(f).isEmpty()) results_->SetManualText(f, typed[f]);
    results_->Mark(out.mark);
    FocusField(this, out.focus);
}

// --- buttons and menus

void TMainForm::ClearInputs(Page page) {
    for (NumericEdit* e : Widgets(page).Inputs()) e->clear();
}

void TMainForm::ClearPage(Page page) {
    ClearInputs(page);
    for (int f = 0; f < 4; ++f) {
        manual_[Index(page)][f] = {};
        results_->SetManual(f, false, {});
    }
    ClearPanel();
    Widgets(page).price->setFocus();
}

void TMainForm::SwitchToSlim(Page page) {
    if (calculating_ || !CheckManual(page)) return;
    const CalcPageWidgets& w = Widgets(page);
    HandOverFromMainPage(state_.handover, page,
                         {w.price->Text(), w.shares->Text(), w.questions[0]->Text(), w.questions[1]->Text()});
    if (state_.CloseMemoPadIfVisible()) state_.memoPending = true;
    state_.handover.switchToSlim = true;
    state_.handover.side = Index(page);
    close();
}

void TMainForm::OpenKeihi() {
    if (calculating_ || currentTab_ == 2) return;
    const int side = Index(current_);
    RunKeihiDialog(state_, side, this);
    results_->SetExpensesCaption(state_.calc.keihiSelected[side]);
    Recalculate(current_);
}

void TMainForm::ToggleTopMost() {
    OptionSettings& o = state_.option();
    o.TopMost = o.TopMost == 1 ? 0 : 1;
    SetStayOnTop(this, o.TopMost == 1);
    topMost_->setChecked(o.TopMost == 1);
    state_.SavedUnasked(state_.store.SaveTopMost());
}

void TMainForm::ShowMemoPad() {
    if (!LeaveOptions()) return;
    state_.Post(zavota::ui::ShowMemoPad);
}

void TMainForm::MemoCalc(Page page, const QString& price, const QString& shares) {
    if (calculating_) return;
    if (tabs_->currentIndex() != Index(page)) tabs_->setCurrentIndex(Index(page));
    CalcPageWidgets& w = Widgets(page);
    ClearInputs(page);
    w.price->setText(price);
    w.shares->setText(shares);
    Go(page);
    w.questions[0]->setFocus();
}

bool TMainForm::event(QEvent* e) {
    const int type = static_cast<int>(e->type());
    if (type == MemoCalcBuy || type == MemoCalcSell) {
        if (auto* memo = dynamic_cast<MemoCalcEvent*>(e))
            MemoCalc(type == MemoCalcBuy ? Page::Buy : Page::Sell, memo->price, memo->shares);
        return true;
    }
    return QDialog::event(e);
}

void TMainForm::keyPressEvent(QKeyEvent* e) {
    // Escape would hide the window without its close procedure.
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

void TMainForm::StoreInputOptions() {
    OptionSettings& o = state_.option();
    state_.display().XY = FramePosition(this);
    o.MiniFlagK = Widgets(Page::Buy).mini.check->isChecked() ? 1 : 0;
    o.MiniFlagU = Widgets(Page::Sell).mini.check->isChecked() ? 1 : 0;
    o.MiniK = HandoverNumber(Widgets(Page::Buy).mini.unit->text().toStdString());
    o.MiniU = HandoverNumber(Widgets(Page::Sell).mini.unit->text().toStdString());
    o.TenFlagK = Widgets(Page::Buy).otc->isChecked() ? 1 : 0;
    o.TenFlagU = Widgets(Page::Sell).otc->isChecked() ? 1 : 0;
}

void TMainForm::closeEvent(QCloseEvent* e) {
    // A running search still writes into the state and the panel.
    if (calculating_ || !running_) {
        e->ignore();
        return;
    }
    // A page's failed write is reported here; the exit save that follows would fail alike and
    // need not say so a second time.
    const bool exiting = !state_.handover.switchToSlim;
    const int failures = state_.failedSaves;
    if (!LeaveOptions(exiting)) {
        e->ignore();
        return;
    }
    if (exiting && state_.failedSaves != failures) state_.unaskedSaveFailed = true;
    StoreInputOptions();
    if (!state_.handover.switchToSlim) {
        state_.CloseMemoPadIfVisible();
        state_.memoPending = false;
        state_.handover.exitRequested = true;
    }
    running_ = false;
    QDialog::closeEvent(e);
    emit closedForGood();
}

}  // namespace zavota::ui
