#include "ui/memo/Memounit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "memo/MemoPages.h"
#include "memo/StrandedPages.h"
#include "platform/ProfileText.h"
#include "platform/FileIo.h"
#include "platform/Folders.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/WaitCursor.h"
#include "ui/memo/MemoCalcPage.h"
#include "ui/memo/MemoFreePage.h"
#include "ui/memo/MemoStockPage.h"
#include "ui/memo/MemoSummaryPage.h"
#include "ui/memo/Memoname.h"
#include "ui/memo/Memoseq.h"
#include "ui/common/WindowPlacement.h"

namespace zavota::ui {

namespace {

const char* const kCaption = "Zavota　メモパッド";
const char* const kSavedCaption = "Zavota　メモパッド　【データ保存完了】";
constexpr int kMsgSaveFailed = 263;
constexpr int kMsgSavedInUtf8 = 30;
constexpr int kMsgNoDataFolder = 279;
constexpr int kMsgDeleteJournalSetAside = 297;
constexpr int kMsgListReloaded = 298;
constexpr int kMsgOtherProgramSaving = 300;
constexpr int kAskSaveStock = 3;
constexpr int kAskSaveFree = 4;
constexpr int kAskCopyPage = 5;
constexpr int kAskDeletePage = 6;
constexpr int kAskClearPage = 7;
constexpr int kAskWithText = 2;

}  // namespace

TfrmMemo::TfrmMemo(AppState& state, std::function<QWidget*()> calculator, QWidget* parent)
    : QDialog(parent), state_(state), calculator_(calculator),
      store_(std::make_unique<MemoStore>(platform::DataFolder(), state.store.Mutex())) {
    setObjectName(QStringLiteral("frmMemo"));
    setWindowTitle(Q(kCaption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);

    stockPage_ = new TMemoStockPage(state_, *store_, std::move(calculator), this);
    summaryPage_ = new TMemoSummaryPage(state_, *store_, this);
    freePage_ = new TMemoFreePage(state_, *store_, this);
    // The calculator page with the tab's own "閉じる" under it.
    calcTab_ = new QWidget(this);
    calcTab_->setObjectName(QStringLiteral("pnlMemo04"));
    calcPage_ = new TMemoCalcPage(state_, *store_, calcTab_);
    auto* calcEnd = new QPushButton(Q("閉じる"), calcTab_);
    calcEnd->setObjectName(QStringLiteral("btnEnd_04"));
    auto* calcButtons = new QHBoxLayout;
    calcButtons->addStretch();
    calcButtons->addWidget(calcEnd);
    auto* calcLayout = new QVBoxLayout(calcTab_);
    calcLayout->addWidget(calcPage_);
    calcLayout->addStretch();
    calcLayout->addLayout(calcButtons);
    connect(calcEnd, &QPushButton::clicked, this, &QWidget::close);
    stock_.view = stockPage_;
    free_.view = freePage_;

    tabMemo_ = new QTabWidget(this);
    tabMemo_->setObjectName(QStringLiteral("tabMemo"));
    NameStrip(tabMemo_->tabBar(), Q("メモの種類"));
    tabMemo_->addTab(stockPage_, Q("個別銘柄"));
    tabMemo_->addTab(summaryPage_, Q("サマリー"));
    tabMemo_->addTab(freePage_, Q("自由形式"));
    tabMemo_->addTab(calcTab_, Q("シンプル計算機"));

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(Q(caption), this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        return b;
    };
    btnNew_ = button("btnNew", "新規");
    btnRename_ = button("btnRename", "名前変更");
    btnChange_ = button("btnChange", "順序変更");
    btnDelete_ = button("btnDelete", "削除");
    btnSave_ = button("btnSave", "保存");
    btnPrev_ = button("btnPrev", "前ページ");
    btnNext_ = button("btnNext", "次ページ");
    auto* pageButtons = new QVBoxLayout;
    pageButtons->addSpacing(tabMemo_->tabBar()->sizeHint().height() + 40);
    for (QPushButton* b : {btnNew_, btnRename_, btnChange_, btnDelete_, btnSave_}) pageButtons->addWidget(b);
    pageButtons->addSpacing(24);
    pageButtons->addWidget(btnPrev_);
    pageButtons->addWidget(btnNext_);
    pageButtons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabMemo_, 1);
    layout->addLayout(pageButtons);
    // A window of fixed size, as the calculator windows are: window managers then draw no
    // resize handle, which would stand as a cut-off strip along the bottom.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    timCaption_ = new QTimer(this);
    timCaption_->setObjectName(QStringLiteral("timCaption"));
    timCaption_->setSingleShot(true);
    timCaption_->setInterval(1000);

    connect(tabMemo_, &QTabWidget::currentChanged, this, &TfrmMemo::TabChanged);
    for (PageTab* tab : {&stock_, &free_}) {
        connect(tab->view->TitleList(), &QComboBox::currentIndexChanged, this,
                [this, tab](int index) { cmbTitle_01Change(*tab, index); });
    }
    connect(stockPage_, &TMemoStockPage::reloadRequested, this, [this] { popReloadClick(stock_); });
    connect(stockPage_, &TMemoStockPage::clearRequested, this, [this] { popClearClick(stock_); });
    connect(freePage_, &TMemoFreePage::reloadRequested, this, [this] { popReloadClick(free_); });
    connect(freePage_, &TMemoFreePage::clearRequested, this, [this] { popClearClick(free_); });
    for (QPushButton* end : {stockPage_->CloseButton(), summaryPage_->CloseButton(), freePage_->CloseButton()})
        connect(end, &QPushButton::clicked, this, &QWidget::close);
    connect(btnNew_, &QPushButton::clicked, this, &TfrmMemo::btnNewClick);
    connect(btnRename_, &QPushButton::clicked, this, &TfrmMemo::btnRenameClick);
    connect(btnChange_, &QPushButton::clicked, this, &TfrmMemo::btnChangeClick);
    connect(btnDelete_, &QPushButton::clicked, this, &TfrmMemo::btnDeleteClick);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmMemo::btnSaveClick);
    connect(btnPrev_, &QPushButton::clicked, this, &TfrmMemo::btnPrevClick);
    connect(btnNext_, &QPushButton::clicked, this, &TfrmMemo::btnNextClick);
    connect(timCaption_, &QTimer::timeout, this, &TfrmMemo::timCaptionTimer);
    AddTabKeys();

    stock_.list = free_.list = PlaceholderList();
    FillList(stock_);
    FillList(free_);
    stockPage_->CalculateButton()->setDefault(true);
    ApplyColours();
    state_.memoRepaint = [this] { ApplyColours(); };
    UpdateButtons();
    resize(sizeHint());
}

TfrmMemo::~TfrmMemo() { state_.memoRepaint = nullptr; }

void TfrmMemo::AddTabKeys() {
    // From anywhere in the pad, grids and their cell editors included, which keep the plain
    // keys for themselves.
    const struct {
        QKeySequence keys;
        int step;
    } keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                {QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(k.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = k.step] {
            const int n = tabMemo_->count();
            tabMemo_->setCurrentIndex((tabMemo_->currentIndex() + step + n) % n);
        });
    }
}

void TfrmMemo::ApplyColours() {
    const DisplaySettings& d = state_.display();
    stockPage_->ApplyColours(d);
    summaryPage_->ApplyColours(d);
    freePage_->ApplyColours(d);
    PaintMemoPanel(calcTab_, d);
}

// --- opening and closing

void TfrmMemo::showEvent(QShowEvent* event) {
    // A restore from the task bar is no new opening.
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfrmMemo::setVisible(bool visible) {
    // Placed before the window is mapped, as the calculator windows are: a move while it is
    // being shown lands the frame a pixel off under some window managers.
    if (visible && !isVisible()) {
        // Never placed by the user: beside the calculator, so that neither hides the other.
        QWidget* calculator = calculator_ ? calculator_() : nullptr;
        const DisplaySettings& d = state_.display();
        if (!d.MXYStored && calculator != nullptr && calculator->isVisible())
            PlaceBesideOrAt(this, calculator, d.MXY);
        else
            PlaceAtSavedPosition(this, d.MXY);
    }
    QDialog::setVisible(visible);
}

void TfrmMemo::FormShow() {
    stock_.last = free_.last = 0;
    mode_ = StockMode;
    // A folder that cannot be written is reported at the first save; the pad still opens, so
    // what is typed stays on screen until then. One that cannot even be made is said at once.
    folderReported_ = false;
    platform::ClearFileFailure();
    if (!store_->folderWritable() && !platform::FolderExists(store_->folder()) && !missingFolderReported_) {
        missingFolderReported_ = true;
        state_.messages.ShowMessage(kMsgNoDataFolder, FailureDetail());
    }
    OfferStrandedPages();
    ApplyColours();
    // The four tabs share the width of the tab control.
    const int tabWidth = (tabMemo_->width() - 4) / tabMemo_->count();
    tabMemo_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: %1px; max-width: %1px; }")
                                          .arg(std::max(tabWidth - 2, 40)));
    calcPage_->Load();
    LoadStockPages();
    freeLoaded_ = false;
    if (tabMemo_->currentIndex() == 0) TabChanged(0);
    else tabMemo_->setCurrentIndex(0);
}

// Pages an older build left beside the installed executable: offered once a run, moved before
// the pad reads its pages, so that they show at once.
void TfrmMemo::OfferStrandedPages() {
    if (strandedOffered_) return;
    strandedOffered_ = true;
    const std::string from = StrandedMemoFolder(platform::ExecutableFolder(), store_->folder());
    if (from.empty()) return;
    if (state_.messages.AskConfirm(kAskWithText, StrandedMemoQuestion(from, store_->folder()), true) == MessageAnswer::Ok)
        MoveStrandedMemoFiles(from, store_->folder());
}

void TfrmMemo::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QDialog::closeEvent(event);
}

void TfrmMemo::keyPressEvent(QKeyEvent* event) {
    // Escape closes through the leave-with-save rules, never by hiding the window past them.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmMemo::FormCloseQuery() {
    // A failed save is reported and never holds the pad open: with a read-only folder or a full
    // disk there would be no way out. The other side is not saved after a failure.
    const Left stock = LeaveTab(stock_, kAskSaveStock);
    if (stock == Left::Refused) return false;
    if (stock == Left::SaveFailed || !freeLoaded_) return true;
    return LeaveTab(free_, kAskSaveFree) != Left::Refused;
}

TfrmMemo::Left TfrmMemo::LeaveTab(PageTab& tab, int confirmation) {
    // Only a lock another program holds for a moment keeps the pad open: the save can be tried
    // again; any other failure is reported and the close goes on.
    if (Shown(tab)) {
        if (SaveShown(tab)) return Left::Done;
        return ReportSaveFailure(false) ? Left::Refused : Left::SaveFailed;
    }
    if (!tab.view->HasContent()) return Left::Done;
    switch (state_.messages.AskConfirm(confirmation, "", false)) {
        case MessageAnswer::Yes: break;
        case MessageAnswer::No: return Left::Done;
        default: return Left::Refused;
    }
    const std::optional<QString> name = AskName(tab);
    if (!name) return Left::Refused;
    pendingName_ = *name;
    const MemoPageEntry entry{pendingName_.toStdString(), 1};
    if (!SavePage(tab, entry)) return ReportSaveFailure(false) ? Left::Refused : Left::SaveFailed;
    tab.list = {entry};
    FillList(tab);
    return Left::Done;
}

void TfrmMemo::FormClose() {
    // Once the folder has been reported, its failure needs no second box at the same close.
    platform::ClearFileFailure();
    if (!calcPage_->Save()) ReportSaveFailure(folderReported_);
    timCaption_->stop();
    setWindowTitle(Q(kCaption));
    state_.display().MXY = FramePosition(this);
    state_.store.SaveMemoPosition();
}

// --- loading

PageList TfrmMemo::LoadListOf(MemoPageKind kind) {
    PendingDelete settled = PendingDelete::None;
    std::string aside;
    PageList list = LoadPageList(*store_, kind, &settled, &aside);
    // A delete journal left for later while another program kept the lock is no save failure.
    store_->takeBusy();
    if (settled == PendingDelete::SetAside) state_.messages.ShowMessage(kMsgDeleteJournalSetAside, aside);
    return list;
}

void TfrmMemo::LoadStockPages() {
    const WaitCursor wait;
    stockPage_->ClearPage();
    stock_.list = LoadListOf(MemoPageKind::PerStock);
    stock_.last = 0;
    FillList(stock_);
    if (Shown(stock_)) LoadShown(stock_);
    UpdateButtons();
}

void TfrmMemo::LoadFreePages() {
    const WaitCursor wait;
    freePage_->ClearPage();
    free_.list = LoadListOf(MemoPageKind::FreeForm);
    int font = 1;
    if (!HoldsOnlyPlaceholder(free_.list) &&
        store_->open(MemoIndexFileName(MemoPageKind::FreeForm), MemoFileKind::Ini, true)) {
        if (!store_->readFontSize(font)) font = 1;
        store_->close();
    }
    freePage_->SetFontIndex(font);
    free_.last = 0;
    FillList(free_);
    if (Shown(free_)) LoadShown(free_);
    UpdateButtons();
}

void TfrmMemo::TabChanged(int index) {
    const int previous = mode_;
    const int next = index + 1;
    if (previous == StockMode && next != StockMode && Shown(stock_) && !SaveShown(stock_)) ReportSaveFailure(true);
    if (previous == FreeMode && next != FreeMode && freeLoaded_ && Shown(free_) && !SaveShown(free_))
        ReportSaveFailure(true);
    mode_ = next;
    switch (mode_) {
        case StockMode:
            UpdateButtons();
            stockPage_->FocusPage();
            break;
        case SummaryMode:
            UpdateButtons();
            summaryPage_->Build(stock_.list);
            break;
        case FreeMode:
            if (!freeLoaded_) {
                LoadFreePages();
                freeLoaded_ = true;
            } else {
                UpdateButtons();
            }
            freePage_->FocusPage();
            break;
        default:
            calcPage_->FocusGrid();
            UpdateButtons();
            break;
    }
}

// --- the page list of a tab

TfrmMemo::PageTab* TfrmMemo::ShownTab() {
    if (mode_ == StockMode) return &stock_;
    if (mode_ == FreeMode) return &free_;
    return nullptr;
}

bool TfrmMemo::Shown(const PageTab& tab) const {
    return tab.last >= 0 && tab.last < static_cast<int>(tab.list.size()) && tab.list[tab.last].number > 0;
}

void TfrmMemo::FillList(PageTab& tab) {
    QComboBox* combo = tab.view->TitleList();
    {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const MemoPageEntry& e : tab.list) combo->addItem(Q(e.name), e.number);
    }
    ShowPosition(tab, std::clamp(tab.last, 0, static_cast<int>(tab.list.size()) - 1));
}

void TfrmMemo::ShowPosition(PageTab& tab, int position) {
    tab.last = position;
    {
        const QSignalBlocker block(tab.view->TitleList());
        tab.view->TitleList()->setCurrentIndex(position);
    }
    tab.view->PositionLabel()->setText(QStringLiteral("%1/%2").arg(position + 1).arg(tab.list.size()));
}

bool TfrmMemo::LoadShown(PageTab& tab) {
    if (Shown(tab) && tab.view->LoadPage(tab.list[tab.last].number)) return true;
    tab.view->ClearPage();
    return false;
}

bool TfrmMemo::SaveShown(PageTab& tab) {
    if (tab.last < 0 || tab.last >= static_cast<int>(tab.list.size())) return false;
    MemoPageEntry entry = tab.list[tab.last];
    if (entry.number <= 0) entry = {pendingName_.toStdString(), static_cast<int>(tab.list.size())};
    return SavePage(tab, entry);
}

bool TfrmMemo::SavePage(PageTab& tab, const MemoPageEntry& entry) {
    platform::ClearFileFailure();
    listReloaded_ = false;
    bool saved = false;
    if (RunOnLoadedList(*store_, tab.view->Kind(), tab.list, [&] { return SaveUnchecked(tab, entry); }, &saved) ==
        PageListCheck::Changed)
        ReloadChangedList(tab, entry.name);
    NoticeUtf8Fallback();
    return saved;
}

bool TfrmMemo::SaveUnchecked(PageTab& tab, const MemoPageEntry& entry) {
    const bool fresh = std::none_of(tab.list.begin(), tab.list.end(),
                                    [&](const MemoPageEntry& e) { return e.number == entry.number; });
    // A file an index lost (left by a kill) is set aside rather than overwritten.
    return (!fresh || store_->setAsideOrphan(tab.view->Kind(), entry.number)) && tab.view->SavePage(entry);
}

void TfrmMemo::ReloadChangedList(PageTab& tab, const std::string& name) {
    // Another program changed the list: the list is read again, and what this window shows is
    // saved under its own page, or as a new page when that one is gone.
    const MemoPageKind kind = tab.view->Kind();
    tab.list = LoadListOf(kind);
    const auto found = std::find_if(tab.list.begin(), tab.list.end(), [&](const MemoPageEntry& e) {
        return e.number > 0 && platform::profile::SameName(e.name, name);
    });
    const MemoPageEntry keep = found != tab.list.end() ? *found : MemoPageEntry{name, NewPageNumber(tab.list)};
    bool saved = false;
    if (!name.empty())
        RunOnLoadedList(*store_, kind, tab.list, [&] { return SaveUnchecked(tab, keep); }, &saved);
    if (saved && found == tab.list.end()) {
        if (HoldsOnlyPlaceholder(tab.list)) tab.list.clear();
        tab.list.push_back(keep);
    }
    const auto shown = std::find(tab.list.begin(), tab.list.end(), keep);
    tab.last = shown != tab.list.end() ? static_cast<int>(shown - tab.list.begin()) : 0;
    FillList(tab);
    // Unsaved, the typed text stays on screen.
    if (saved) LoadShown(tab);
    UpdateButtons();
    listReloaded_ = true;
    state_.messages.ShowMessage(saved ? kMsgListReloaded : kMsgSaveFailed);
}

bool TfrmMemo::RunOnList(PageTab& tab, const std::function<bool()>& operation) {
    const PageList loaded = tab.list;
    const std::string shown = Shown(tab) ? tab.list[tab.last].name : std::string();
    bool done = false;
    listReloaded_ = false;
    switch (RunOnLoadedList(*store_, tab.view->Kind(), loaded, operation, &done)) {
        case PageListCheck::Same: return done;
        case PageListCheck::Changed:
            tab.list = loaded;
            ReloadChangedList(tab, shown);
            return false;
        case PageListCheck::Failed:
        case PageListCheck::Busy: return false;
    }
    return false;
}

void TfrmMemo::NoticeUtf8Fallback() {
    if (store_->takeUtf8Fallback()) state_.messages.ShowMessage(kMsgSavedInUtf8);
}

bool TfrmMemo::ReportSaveFailure(bool quiet) {
    // A reload after another program's change has said what happened already.
    if (std::exchange(listReloaded_, false)) return false;
    // Another program kept the lock: the page stays on screen for a later save.
    if (store_->takeBusy()) {
        state_.messages.ShowMessage(kMsgOtherProgramSaving);
        return true;
    }
    const std::string detail = FailureDetail();  // before the folder probe below overwrites it
    const bool folder = !store_->folderWritable();
    if (quiet && !(folder && !folderReported_)) return false;
    folderReported_ = folderReported_ || folder;
    state_.messages.ShowMessage(kMsgSaveFailed, detail);
    return false;
}

std::string TfrmMemo::FailureDetail() const {
    // The file step that failed names its file and the system's reason; a failure without
    // one (a file another program holds open) names the folder.
    const std::string detail = platform::DescribeFailure(platform::LastFileFailure());
    return detail.empty() ? store_->folder() : detail;
}

bool TfrmMemo::SaveBeforeLeaving(PageTab& tab) {
    if (!Shown(tab) || SaveShown(tab)) return true;
    ReportSaveFailure(false);
    return false;
}

std::optional<QString> TfrmMemo::AskName(const PageTab& tab) {
    return AskPageName(state_, tab.list, tab.view->Kind(), pendingName_, this);
}

void TfrmMemo::UpdateButtons() {
    const PageTab* tab = ShownTab();
    const int n = tab ? static_cast<int>(tab->list.size()) : 0;
    const int p = tab ? std::max(tab->last, 0) : 0;
    btnNew_->setEnabled(tab && Shown(*tab));
    for (QPushButton* b : {btnRename_, btnDelete_}) b->setEnabled(tab != nullptr);
    btnSave_->setEnabled(tab != nullptr && !timCaption_->isActive());
    btnChange_->setEnabled(tab && n > 1);
    btnPrev_->setEnabled(tab && p != 0);
    btnNext_->setEnabled(tab && n > 1 && p < n - 1);
}

// --- page operations

void TfrmMemo::cmbTitle_01Change(PageTab& tab, int index) {
    if (index < 0) return;
    if (!SaveBeforeLeaving(tab)) {
        ShowPosition(tab, tab.last);
        return;
    }
    ShowPosition(tab, index);
    if (!HoldsOnlyPlaceholder(tab.list)) LoadShown(tab);
    UpdateButtons();
    if (&tab == &stock_) stockPage_->FocusCalculate();
}

void TfrmMemo::btnNewClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr || !Shown(*tab)) return;
    bool clear = false;
    if (tab->view->HasContent()) {
        switch (state_.messages.AskConfirm(kAskCopyPage, "", false)) {
            case MessageAnswer::Yes: pendingName_ = Q(tab->list[tab->last].name); break;
            case MessageAnswer::No:
                pendingName_.clear();
                clear = true;
                break;
            default: return;
        }
    }
    const std::optional<QString> name = AskName(*tab);
    if (!name) return;
    pendingName_ = *name;
    if (!SaveBeforeLeaving(*tab)) return;
    if (clear) tab->view->ClearPage();
    const MemoPageEntry entry{pendingName_.toStdString(), NewPageNumber(tab->list)};
    if (SavePage(*tab, entry)) {
        tab->list.push_back(entry);
        tab->last = static_cast<int>(tab->list.size()) - 1;
        FillList(*tab);
    } else if (!std::exchange(listReloaded_, false)) {
        // The page may or may not be in the index now: the list shows what is, so that the
        // next new page neither skips a number nor takes this one's.
        const int previous = tab->last;
        tab->list = LoadListOf(tab->view->Kind());
        tab->last = std::min(previous, static_cast<int>(tab->list.size()) - 1);
        FillList(*tab);
        LoadShown(*tab);
        ReportSaveFailure(false);
    }
    UpdateButtons();
}

void TfrmMemo::btnRenameClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr) return;
    if (tab->last < 0) ShowPosition(*tab, 0);
    const MemoPageEntry old = tab->list[tab->last];
    pendingName_ = old.number > 0 ? Q(old.name) : QString();
    const std::optional<QString> name = AskName(*tab);
    if (!name) return;
    pendingName_ = *name;
    const int position = tab->last;
    const MemoPageKind kind = tab->view->Kind();
    const bool renamed = RunOnList(*tab, [&] {
        PageList list = tab->list;
        // A placeholder named becomes page 1, its place cleared of a file an index lost.
        list[position] = {pendingName_.toStdString(), old.number > 0 ? old.number : 1};
        if ((old.number <= 0 && !store_->setAsideOrphan(kind, 1)) || !RewritePageIndex(*store_, kind, list))
            return false;
        tab->list = std::move(list);
        return true;
    });
    if (!renamed && !std::exchange(listReloaded_, false)) {
        FillList(*tab);
        ReportSaveFailure(false);
    } else if (renamed) {
        FillList(*tab);
    }
    NoticeUtf8Fallback();
    UpdateButtons();
}

void TfrmMemo::btnChangeClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr || !SaveBeforeLeaving(*tab)) return;
    int selected = 0;
    const PageList order = AskPageOrder(state_, tab->list, selected, this);
    const WaitCursor wait;
    const bool rewritten =
        RunOnList(*tab, [&] { return RewritePageIndex(*store_, tab->view->Kind(), order); });
    if (std::exchange(listReloaded_, false)) return;
    // A failed rewrite leaves the list in the order the index still has.
    if (rewritten) {
        tab->list = order;
        tab->last = selected;
    }
    FillList(*tab);
    LoadShown(*tab);
    UpdateButtons();
    if (!rewritten) ReportSaveFailure(false);
}

void TfrmMemo::btnDeleteClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr || state_.messages.AskConfirm(kAskDeletePage, "", true) != MessageAnswer::Ok) return;
    if (!Shown(*tab)) {
        tab->view->ClearPage();
        return;
    }
    const WaitCursor wait;
    PageDeletion deletion;
    RunOnList(*tab, [&] {
        deletion = DeletePage(*store_, tab->view->Kind(), tab->list, tab->last);
        return deletion.done;
    });
    if (std::exchange(listReloaded_, false)) return;
    if (!deletion.done) {
        ReportSaveFailure(false);
        return;
    }
    tab->last = deletion.position;
    FillList(*tab);
    if (HoldsOnlyPlaceholder(tab->list)) {
        tab->view->ClearPage();
        if (tab == &free_) freePage_->SetFontIndex(1);
    } else {
        LoadShown(*tab);
    }
    UpdateButtons();
    // The files moved, so the list shows the delete; its end comes at the next page operation.
    if (!deletion.indexRewritten || !deletion.journalRemoved) ReportSaveFailure(false);
}

void TfrmMemo::btnSaveClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr) return;
    if (tab->last < 0) ShowPosition(*tab, 0);
    const bool placeholder = !Shown(*tab);
    if (placeholder) {
        pendingName_.clear();
        const std::optional<QString> name = AskName(*tab);
        if (!name) return;
        pendingName_ = *name;
    }
    const MemoPageEntry entry =
        placeholder ? MemoPageEntry{pendingName_.toStdString(), static_cast<int>(tab->list.size())}
                    : tab->list[tab->last];
    bool saved = false;
    {
        const WaitCursor wait;
        saved = SavePage(*tab, entry);
    }
    if (!saved) {
        ReportSaveFailure(false);
        return;
    }
    if (placeholder) {
        tab->list = {entry};
        tab->last = 0;
        FillList(*tab);
    }
    UpdateButtons();
    setWindowTitle(Q(kSavedCaption));
    btnSave_->setEnabled(false);
    timCaption_->start();
}

void TfrmMemo::timCaptionTimer() {
    timCaption_->stop();
    setWindowTitle(Q(kCaption));
    btnSave_->setEnabled(mode_ == StockMode || mode_ == FreeMode);
}

void TfrmMemo::btnPrevClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr || !SaveBeforeLeaving(*tab)) return;
    if (tab->last <= 0) return;
    ShowPosition(*tab, tab->last - 1);
    const WaitCursor wait;
    LoadShown(*tab);
    UpdateButtons();
}

void TfrmMemo::btnNextClick() {
    PageTab* tab = ShownTab();
    if (tab == nullptr || !SaveBeforeLeaving(*tab)) return;
    if (tab->last >= static_cast<int>(tab->list.size()) - 1) return;
    ShowPosition(*tab, tab->last + 1);
    const WaitCursor wait;
    LoadShown(*tab);
    UpdateButtons();
}

void TfrmMemo::popReloadClick(PageTab& tab) {
    if (HoldsOnlyPlaceholder(tab.list)) tab.view->ClearPage();
    else LoadShown(tab);
}

void TfrmMemo::popClearClick(PageTab& tab) {
    if (state_.messages.AskConfirm(kAskClearPage, "", true) == MessageAnswer::Ok) tab.view->ClearPage();
}

}  // namespace zavota::ui
