#include "ui/memo/MemoStockPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/DecimalCalc.h"
#include "memo/MemoPages.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/StoredColour.h"
#include "ui/common/UiFonts.h"
#include "ui/memo/CheckedCellDelegate.h"

namespace zavota::ui {

namespace {

constexpr int kRowHeight = 19;  // the least: a larger font makes the rows taller
constexpr int kHeaderHeight = 22;
constexpr int kGridWidth = 328;
constexpr int kMsgDigitsOnly = 229;

QLineEdit* FigureBox(const char* name, const char* caption, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setFont(FigureFont());
    box->setAccessibleName(Q(caption));
    box->setFixedWidth(150);
    return box;
}

QString Cell(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

TMemoStockPage::TMemoStockPage(AppState& state, MemoStore& store, std::function<QWidget*()> calculator,
                               QWidget* parent)
    : QWidget(parent), state_(state), store_(store), calculator_(std::move(calculator)) {
    setObjectName(QStringLiteral("pnlMemo01"));

    MakePageTitle(this, "01", cmbTitle_, lblPage_);

    grdMemo_ = new QTableWidget(kMemoRows, 3, this);
    grdMemo_->setObjectName(QStringLiteral("grdMemo"));
    grdMemo_->setHorizontalHeaderLabels({Q(" 　　（日付等）"), Q("　単　　価"), Q("　株　　数")});
    grdMemo_->verticalHeader()->hide();
    grdMemo_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdMemo_->verticalHeader()->setMinimumSectionSize(1);
    grdMemo_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdMemo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdMemo_->setFont(InputFont());
    grdMemo_->setAccessibleName(Q("銘柄メモ"));
    const int unit = kGridWidth - 8;
    const int widths[3] = {110 * unit / 240, 65 * unit / 240, 65 * unit / 240};
    for (int c = 0; c < 3; ++c) grdMemo_->setColumnWidth(c, widths[c]);
    for (int r = 0; r < kMemoRows; ++r)
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem;
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdMemo_->setItem(r, c, item);
        }
    grdMemo_->setItemDelegate(new CheckedCellDelegate(
        [](int column, const QString& text) -> std::optional<QString> {
            if (column == 0) return std::nullopt;
            const CellFilter filtered = FilterNumberCell(text.toStdString());
            return filtered.refused ? std::optional<QString>(Q(filtered.text)) : std::nullopt;
        },
        kMsgDigitsOnly, state_.messages, grdMemo_));
    grdMemo_->installEventFilter(this);
    grdMemo_->viewport()->installEventFilter(this);

    // The boxes stand in their own column; PlaceBoxes keeps each level with its grid row.
    checks_ = new QWidget(this);
    checks_->setFixedWidth(22);
    checks_->installEventFilter(this);
    btnAllSelect_ = new QPushButton(checks_);
    btnAllSelect_->setObjectName(QStringLiteral("btnAllSelect"));
    btnAllSelect_->setAccessibleName(Q("全選択"));
    btnAllSelect_->setToolTip(Q("全選択／全解除"));
    popLine_ = new QMenu(this);
    popLine_->setObjectName(QStringLiteral("popLine"));
    for (int r = 0; r < kMemoRows; ++r) {
        auto* box = new QCheckBox(checks_);
        box->setObjectName(QStringLiteral("chkS%1").arg(r + 1));
        box->setAccessibleName(Q("選択 %1").arg(r + 1));
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QCheckBox::clicked, this, [this, r](bool on) {
            // The shown totals were those of the rows ticked before.
            ClearResults();
            if (on) chkS1Click(r + 1);
        });
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, r, box](const QPoint& at) { PopupAt(r + 1, box->mapToGlobal(at)); });
        chkS_[r] = box;
    }
    struct PopupItem {
        const char* name;
        const char* caption;
        std::function<void()> act;
    };
    const PopupItem items[] = {
        {"popInsert", "空行挿入", [this] { ApplyRowMove(&InsertEmptyRow); }},
        {"popCopy", "行ｺﾋﾟｰ", [this] { ApplyRowMove(&CopyRowBelow); }},
        {"popDelete", "行削除", [this] { ApplyRowMove(&DeleteRow); }},
        {nullptr, nullptr, {}},
        {"popReload", "再読み込み", [this] { emit reloadRequested(); }},
        {"popClear", "ﾍﾟｰｼﾞ ｸﾘｱ", [this] { emit clearRequested(); }},
    };
    for (const PopupItem& item : items) {
        if (item.name == nullptr) {
            popLine_->addSeparator();
            continue;
        }
        QAction* a = popLine_->addAction(Q(item.caption));
        a->setObjectName(QString::fromUtf8(item.name));
        connect(a, &QAction::triggered, this, item.act);
    }

    // Results of the ticked rows.
    pnlResult_ = new QWidget(this);
    pnlResult_->setObjectName(QStringLiteral("pnlResult"));
    shape01_ = new QFrame(pnlResult_);
    shape01_->setObjectName(QStringLiteral("Shape01"));
    shape01_->setFrameShape(QFrame::Box);
    shape01_->setLineWidth(1);
    lblSelected_ = new QLabel(shape01_);
    lblSelected_->setObjectName(QStringLiteral("lblSelected"));
    lblSelected_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblSelected_->setAccessibleName(Q("選択行数"));
    lblBar_ = new QLabel(Q("・・・・・・・・・・・・・・・・"), shape01_);
    lblBar_->setObjectName(QStringLiteral("lblBar"));
    // Keeps its room while hidden, so the buttons below do not move under the mouse.
    QSizePolicy keepRoom = lblBar_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblBar_->setSizePolicy(keepRoom);
    lblBar_->hide();
    mmPrice_ = FigureBox("mmPrice", "単価平均", shape01_);
    mmNum_ = FigureBox("mmNum", "株数", shape01_);
    mmTotal_ = FigureBox("mmTotal", "合計金額", shape01_);
    auto* selectedCaption = new QLabel(Q("選択行数"), shape01_);
    auto* results = new QGridLayout(shape01_);
    results->addWidget(selectedCaption, 0, 0);
    results->addWidget(lblSelected_, 0, 1);
    results->addWidget(lblBar_, 1, 0, 1, 2);
    int line = 2;
    for (auto [caption, box] : {std::pair{"単価平均", mmPrice_}, {"株数", mmNum_}, {"合計金額", mmTotal_}}) {
        auto* label = new QLabel(Q(caption), shape01_);
        label->setBuddy(box);
        results->addWidget(label, line, 0);
        results->addWidget(box, line++, 1);
    }

    edtPrice_ = new NumericEdit(FieldKind::WholeNumber, &state_.messages, pnlResult_, 10);
    edtPrice_->setObjectName(QStringLiteral("edtPrice"));
    edtPrice_->setAccessibleName(Q("単価"));
    edtNum_ = new NumericEdit(FieldKind::WholeNumber, &state_.messages, pnlResult_, 10);
    edtNum_->setObjectName(QStringLiteral("edtNum"));
    edtNum_->setAccessibleName(Q("株数"));
    auto* kai = new QPushButton(Q("買値から計算を実行"), pnlResult_);
    kai->setObjectName(QStringLiteral("btnKai_Go"));
    auto* uri = new QPushButton(Q("売値から計算を実行"), pnlResult_);
    uri->setObjectName(QStringLiteral("btnUri_Go"));
    auto* handOver = new QGridLayout;
    int hrow = 0;
    for (auto [caption, edit] : {std::pair{"単価", edtPrice_}, {"株数", edtNum_}}) {
        auto* label = new QLabel(Q(caption), pnlResult_);
        label->setBuddy(edit);
        handOver->addWidget(label, hrow, 0);
        handOver->addWidget(edit, hrow++, 1);
    }
    handOver->addWidget(kai, hrow++, 0, 1, 2);
    handOver->addWidget(uri, hrow, 0, 1, 2);

    btnCalc_ = new QPushButton(Q("計　　算"), this);
    btnCalc_->setObjectName(QStringLiteral("btnCalc_01"));
    btnCalc_->setMinimumHeight(30);
    btnEnd_ = new QPushButton(Q("閉じる"), this);
    btnEnd_->setObjectName(QStringLiteral("btnEnd_01"));

    auto* right = new QVBoxLayout(pnlResult_);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(shape01_);
    right->addSpacing(12);
    right->addLayout(handOver);
    right->addStretch();

    auto* title = new QHBoxLayout;
    title->addWidget(cmbTitle_);
    title->addWidget(lblPage_);
    title->addStretch();
    auto* grid = new QHBoxLayout;
    grid->setSpacing(0);
    grid->addWidget(checks_, 0, Qt::AlignTop);
    grid->addWidget(grdMemo_, 0, Qt::AlignTop);
    grid->addSpacing(12);
    grid->addWidget(pnlResult_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCalc_);
    buttons->addWidget(btnEnd_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(btnAllSelect_, &QPushButton::clicked, this, &TMemoStockPage::btnAllSelectClick);
    connect(btnCalc_, &QPushButton::clicked, this, &TMemoStockPage::btnCalc_01Click);
    connect(kai, &QPushButton::clicked, this, [this] { HandOver(true); });
    connect(uri, &QPushButton::clicked, this, [this] { HandOver(false); });
    connect(grdMemo_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { grdMemoSetEditText(item->row(), item->column()); });
    connect(grdMemo_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TMemoStockPage::PlaceBoxes);
    connect(grdMemo_->verticalHeader(), &QHeaderView::sectionResized, this, &TMemoStockPage::PlaceBoxes);
    FitGridToRows();
}

void TMemoStockPage::FitGridToRows() {
    // Rows as tall as the font needs, and a grid tall enough to show all twenty without scrolling.
    const int rowHeight = std::max(kRowHeight, QFontMetrics(grdMemo_->font()).height() + 2);
    for (int r = 0; r < kMemoRows; ++r) grdMemo_->setRowHeight(r, rowHeight);
    const int headerHeight = std::max(kHeaderHeight, grdMemo_->horizontalHeader()->sizeHint().height());
    grdMemo_->horizontalHeader()->setFixedHeight(headerHeight);
    const int height = headerHeight + kMemoRows * rowHeight + 2 * grdMemo_->frameWidth();
    grdMemo_->setFixedSize(kGridWidth, height);
    checks_->setFixedHeight(height);
    btnAllSelect_->setGeometry(3, grdMemo_->frameWidth() + 4, 16, headerHeight - 8);
    PlaceBoxes();
}

void TMemoStockPage::PlaceBoxes() {
    // Each box takes its row's place as the grid shows it now (scrolled or not, any font); a
    // box whose row is not wholly in view is hidden, so no box can stand beside another row.
    const QWidget* view = grdMemo_->viewport();
    const int viewTop = checks_->mapFromGlobal(view->mapToGlobal(QPoint(0, 0))).y();
    const int viewBottom = viewTop + view->height();
    for (int r = 0; r < kMemoRows; ++r) {
        const int top = viewTop + grdMemo_->rowViewportPosition(r);
        const int height = grdMemo_->rowHeight(r);
        chkS_[r]->setGeometry(3, top, 18, height);
        chkS_[r]->setVisible(top >= viewTop && top + height <= viewBottom);
    }
}

void TMemoStockPage::ApplyColours(const DisplaySettings& colours) {
    PaintMemoPanel(this, colours);
    QPalette p = shape01_->palette();
    p.setColor(QPalette::WindowText, FromStoredColour(colours[Colour::ResultLine]));
    shape01_->setPalette(p);
    for (QWidget* w : shape01_->findChildren<QWidget*>()) PaintResultText(w, colours);
}

StockGrid TMemoStockPage::Rows() const {
    StockGrid rows;
    for (int r = 0; r < kMemoRows; ++r) {
        rows[r].comment = Cell(grdMemo_, r, 0).toStdString();
        rows[r].price = Cell(grdMemo_, r, 1).toStdString();
        rows[r].shares = Cell(grdMemo_, r, 2).toStdString();
        rows[r].selected = chkS_[r]->isChecked();
    }
    return rows;
}

void TMemoStockPage::SetRows(const StockGrid& rows) {
    const QSignalBlocker block(grdMemo_);
    for (int r = 0; r < kMemoRows; ++r) {
        grdMemo_->item(r, 0)->setText(Q(rows[r].comment));
        grdMemo_->item(r, 1)->setText(Q(rows[r].price));
        grdMemo_->item(r, 2)->setText(Q(rows[r].shares));
        chkS_[r]->setChecked(rows[r].selected);
    }
}

bool TMemoStockPage::HasContent() const {
    for (int r = 0; r < kMemoRows; ++r)
        for (int c = 0; c < 3; ++c)
            if (!Cell(grdMemo_, r, c).trimmed().isEmpty()) return true;
    return false;
}

void TMemoStockPage::ClearResults() {
    lblSelected_->clear();
    lblBar_->hide();
    for (QLineEdit* e : {mmPrice_, mmNum_, mmTotal_, static_cast<QLineEdit*>(edtPrice_), static_cast<QLineEdit*>(edtNum_)})
        e->clear();
}

void TMemoStockPage::ClearPage() {
    SetRows(StockGrid{});
    ClearResults();
}

bool TMemoStockPage::LoadPage(int number) {
    StockGrid rows;
    if (!LoadStockPage(store_, number, rows)) return false;
    StockGrid unticked = rows;
    for (StockRow& row : unticked) row.selected = false;
    SetRows(unticked);
    // A stored tick is a tick by the user: it passes the same row check, messages included.
    for (int r = 0; r < kMemoRows; ++r)
        if (rows[r].selected) {
            chkS_[r]->setChecked(true);
            chkS1Click(r + 1);
        }
    btnCalc_01Click();
    return true;
}

bool TMemoStockPage::SavePage(const MemoPageEntry& entry) {
    StockGrid rows = Rows();
    const bool saved = SaveStockPage(store_, entry, rows);
    // Rows that could not stay ticked lose their tick on screen too, saved or not.
    for (int r = 0; r < kMemoRows; ++r) chkS_[r]->setChecked(rows[r].selected);
    return saved;
}

void TMemoStockPage::FocusPage() {
    grdMemo_->setFocus();
    if (grdMemo_->currentRow() < 0) grdMemo_->setCurrentCell(0, 0);
}

void TMemoStockPage::FocusCalculate() { btnCalc_->setFocus(); }

void TMemoStockPage::FocusCell(int row, int column) {
    grdMemo_->setCurrentCell(row - 1, column);
    grdMemo_->setFocus();
}

void TMemoStockPage::btnCalc_01Click() {
    ClearResults();
    StockGrid rows = Rows();
    const StockResults results = ComputeStockRows(rows);
    SetRows(rows);
    if (!results.shown) {
        state_.messages.ShowMessage(results.message);
        return;
    }
    const StockTotals& t = results.totals;
    lblSelected_->setText(QString::number(results.count));
    lblBar_->show();
    mmPrice_->setText(Q(DecimalCalc::ToText(t.average(), 0)));
    mmNum_->setText(Q(DecimalCalc::ToText(t.shares(), 0)));
    mmTotal_->setText(Q(DecimalCalc::ToText(t.amount(), 0)));
    edtPrice_->setText(Q(PlainDigits(t.average())));
    edtNum_->setText(Q(PlainDigits(t.shares())));
}

void TMemoStockPage::chkS1Click(int row) {
    StockGrid rows = Rows();
    const RowTick tick = CheckAndFormatRow(rows[row - 1]);
    if (tick.message != 0) rows[row - 1].selected = false;
    SetRows(rows);
    if (tick.message == 0) return;
    state_.messages.ShowMessage(tick.message);
    FocusCell(row, tick.focusColumn);
}

void TMemoStockPage::btnAllSelectClick() {
    StockGrid rows = Rows();
    const bool anyTicked = std::any_of(rows.begin(), rows.end(), [](const StockRow& r) { return r.selected; });
    if (anyTicked) {
        for (QCheckBox* box : chkS_) box->setChecked(false);
        ClearResults();
        return;
    }
    SelectValidRows(rows);
    SetRows(rows);
    btnCalc_01Click();
}

void TMemoStockPage::grdMemoSetEditText(int row, int column) {
    if (column == 0) return;
    if (chkS_[row]->isChecked()) ClearResults();
    QTableWidgetItem* item = grdMemo_->item(row, column);
    const CellFilter filtered = FilterNumberCell(item->text().toStdString());
    if (!filtered.refused) return;
    {
        const QSignalBlocker block(grdMemo_);
        item->setText(Q(filtered.text));
    }
    state_.messages.ShowMessage(kMsgDigitsOnly);
}

void TMemoStockPage::HandOver(bool buy) {
    const FieldCheck check = CheckMemoHandOver(edtPrice_->Text(), edtNum_->Text(), buy);
    if (!check.ok()) {
        state_.messages.ShowMessage(check.message);
        (std::string_view(check.focus) == "edtNum" ? edtNum_ : edtPrice_)->setFocus();
        return;
    }
    QWidget* target = calculator_ ? calculator_() : nullptr;
    if (target == nullptr) return;
    QCoreApplication::postEvent(target, new MemoCalcEvent(buy ? MemoCalcBuy : MemoCalcSell, edtPrice_->text(),
                                                          edtNum_->text()));
    // On a small screen the pad may cover the calculator: the answer must be seen.
    target->raise();
    target->activateWindow();
}

void TMemoStockPage::PopupAt(int row, const QPoint& where) {
    popupRow_ = row;
    popLine_->popup(where);
}

void TMemoStockPage::ApplyRowMove(void (*move)(StockGrid&, int)) {
    StockGrid rows = Rows();
    move(rows, popupRow_);
    SetRows(rows);
    // Rows and ticks moved: totals shown now could be handed over for rows that are no more.
    ClearResults();
    FocusCell(popupRow_, 1);
}

bool TMemoStockPage::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FontChange:
            if (watched == grdMemo_) FitGridToRows();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            if (watched == grdMemo_ || watched == checks_ || watched == grdMemo_->viewport()) PlaceBoxes();
            break;
        default: break;
    }
    // While a cell is edited its editor has the keys, so this is Delete outside editing.
    if (watched == grdMemo_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (QTableWidgetItem* item = grdMemo_->currentItem()) item->setText(QString());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zavota::ui
