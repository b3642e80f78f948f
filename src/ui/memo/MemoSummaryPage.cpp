#include "ui/memo/MemoSummaryPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/DecimalCalc.h"
#include "memo/StockRows.h"
#include "ui/common/WaitCursor.h"
#include "ui/memo/MemoPageView.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

constexpr int kShownRows = 16;
constexpr int kSumWidth = 440;

}  // namespace

TMemoSummaryPage::TMemoSummaryPage(AppState& state, MemoStore& store, QWidget* parent)
    : QWidget(parent), state_(state), store_(store) {
    setObjectName(QStringLiteral("pnlMemo02"));
    grdSum_ = new QTableWidget(kShownRows, 5, this);
    grdSum_->setObjectName(QStringLiteral("grdSum"));
    grdSum_->setHorizontalHeaderLabels({Q("　　　　銘　　柄"), Q(" 平均単価"), Q("　株　　数"), Q("　　金　　額"), Q(" 　％")});
    grdSum_->verticalHeader()->hide();
    grdSum_->verticalHeader()->setDefaultSectionSize(20);
    grdSum_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdSum_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSum_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdSum_->setFixedWidth(kSumWidth);
    grdSum_->setMinimumHeight(24 + kShownRows * 20);
    grdSum_->setFont(InputFont());
    grdSum_->setAccessibleName(Q("サマリー"));
    const int parts[5] = {134, 65, 65, 100, 42};
    const int inner = kSumWidth - 18;  // room for the vertical scroll bar beyond 16 pages
    for (int c = 0; c < 5; ++c) grdSum_->setColumnWidth(c, parts[c] * inner / 432);

    mmSum_ = new QLineEdit(this);
    mmSum_->setObjectName(QStringLiteral("mmSum"));
    mmSum_->setReadOnly(true);
    mmSum_->setFocusPolicy(Qt::NoFocus);
    mmSum_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mmSum_->setFont(FigureFont());
    mmSum_->setAccessibleName(Q("合計金額"));
    lblSumCount_ = new QLabel(this);
    lblSumCount_->setObjectName(QStringLiteral("lblSumCount"));
    lblSumCount_->setAccessibleName(Q("銘柄数"));
    btnEnd_ = new QPushButton(Q("閉じる"), this);
    btnEnd_->setObjectName(QStringLiteral("btnEnd_02"));

    auto* totals = new QHBoxLayout;
    auto* count = new QLabel(Q("銘柄数"), this);
    count->setBuddy(lblSumCount_);
    auto* sum = new QLabel(Q("合計金額"), this);
    sum->setBuddy(mmSum_);
    totals->addWidget(count);
    totals->addWidget(lblSumCount_);
    totals->addStretch();
    totals->addWidget(sum);
    totals->addWidget(mmSum_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnEnd_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdSum_, 0, Qt::AlignLeft);
    layout->addLayout(totals);
    layout->addStretch();
    layout->addLayout(buttons);
}

void TMemoSummaryPage::ApplyColours(const DisplaySettings& colours) {
    PaintMemoPanel(this, colours);
    PaintResultText(mmSum_, colours);
    PaintResultText(lblSumCount_, colours);
}

void TMemoSummaryPage::Build(const PageList& pages) {
    const WaitCursor wait;
    const int n = static_cast<int>(pages.size());
    grdSum_->clearContents();
    grdSum_->setRowCount(std::max(kShownRows, n));
    mmSum_->clear();
    lblSumCount_->clear();
    auto put = [this](int row, int column, const std::string& text) {
        auto* item = new QTableWidgetItem(Q(text));
        if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdSum_->setItem(row, column, item);
    };

    Yen grand{};
    int shown = 0;
    for (const MemoPageEntry& e : pages) {
        if (e.number <= 0) return;  // the placeholder: no page yet
        const int row = shown;
        put(row, 0, e.name);
        const PageTotals t = store_.pageTotals(e.number);
        if (t.status == kTotalsInvalid) {
            lblSumCount_->setText(QString::number(n));
            mmSum_->setText(Q("*********"));
            state_.messages.ShowMessage(265);
            return;
        }
        if (t.status != kTotalsDone) {
            for (int c = 1; c <= 3; ++c) put(row, c, "0");
        } else {
            put(row, 1, DecimalCalc::ToText(t.average, 0));
            put(row, 2, DecimalCalc::ToText(t.shares, 0));
            put(row, 3, DecimalCalc::ToText(t.amount, 0));
            grand = DecimalCalc::Add(grand, t.amount, 0, RoundHalfUp);
            if (grand >= kMemoAmountLimit || t.amount >= kMemoAmountLimit) {
                state_.messages.ShowMessage(264);
                return;
            }
        }
        ++shown;
    }
    lblSumCount_->setText(QString::number(n));
    mmSum_->setText(Q(DecimalCalc::ToText(grand, 0)));
    for (int row = 0; row < shown; ++row) {
        const QTableWidgetItem* amount = grdSum_->item(row, 3);
        put(row, 4, SummaryShare(amount ? amount->text().toStdString() : std::string(), grand));
    }
}

}  // namespace zavota::ui
