#include "ui/options/Marginunit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/MarginGrid.h"
#include "settings/Cp932Field.h"
#include "ui/common/EditGrid.h"
#include "ui/common/WindowPlacement.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/TextLimit.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

constexpr int kModeNew = 1;
constexpr int kMsgBadInput = 200;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<std::vector<std::string>> SideRows(const MarginTable& table, int side) {
    const bool sell = side == 1;
    const int count = std::clamp(sell ? table.ElementsU : table.ElementsK, 0, kMaxBrackets);
    const auto& brackets = sell ? table.bracketsU : table.bracketsK;
    std::vector<std::vector<std::string>> rows;
    for (int n = 0; n < count; ++n) {
        const auto cells = MarginBracketCells(brackets[static_cast<std::size_t>(n)]);
        rows.emplace_back(cells.begin(), cells.end());
    }
    return rows;
}

}  // namespace

TfrmMargin::TfrmMargin(AppState& state, int position, int mode, QWidget* parent)
    : QDialog(parent), state_(state), position_(position), mode_(mode) {
    setObjectName(QStringLiteral("frmMargin"));
    setWindowTitle(Q("Zavota　－　手数料テーブルの編集"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* nameLabel = new QLabel(Q("テーブル名"), this);
    edtTableName_ = new QLineEdit(this);
    edtTableName_->setObjectName(QStringLiteral("edtTableName"));
    edtTableName_->setFont(InputFont());
    edtTableName_->setFixedWidth(QFontMetrics(InputFont()).horizontalAdvance(QString(15, QChar(0x3042))) + 12);
    nameLabel->setBuddy(edtTableName_);
    // Kept in code page 932 within 28 bytes, as a Windows copy stores it.
    nameKeeper_ = new Cp932Keeper(edtTableName_, kTableNameBytes, state_.messages);

    auto* formula = new QLabel(Q("手数料 = (約定金額  * (手数料率 /100) + 付加分 ) * ((100 - 割引率)/100)"), this);
    formula->setObjectName(QStringLiteral("pnlFormula"));
    formula->setFrameShape(QFrame::Panel);
    formula->setFrameShadow(QFrame::Sunken);
    formula->setMargin(6);

    chkKai_Uri_ = new QCheckBox(Q("買い手数料 ＝ 売り手数料"), this);
    chkKai_Uri_->setObjectName(QStringLiteral("chkKai_Uri"));

    tabMargin_ = new QTabBar(this);
    tabMargin_->setObjectName(QStringLiteral("tabMargin"));
    NameStrip(tabMargin_, Q("買い／売り"));
    tabMargin_->setExpanding(false);
    tabMargin_->setDrawBase(false);

    edtLowLimit_ = new NumericEdit(FieldKind::WholeNumber, &state_.messages, this, 8);
    edtLowLimit_->setObjectName(QStringLiteral("edtLowLimit"));
    edtHighLimit_ = new NumericEdit(FieldKind::WholeNumber, &state_.messages, this, 8);
    edtHighLimit_->setObjectName(QStringLiteral("edtHighLimit"));
    for (NumericEdit* e : {edtLowLimit_, edtHighLimit_}) {
        e->setFont(InputFont());
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFixedWidth(QFontMetrics(InputFont()).horizontalAdvance(QStringLiteral("000000000")) + 14);
    }

    grdMargin_ = new EditGrid(kMaxBrackets,
                              {Q(" xxxx 円超から"), Q(" yyyy 円以下まで"), Q("手数料率 (%)"), Q("付加分 (円)"), Q("割引率 (%)")},
                              true, state_.messages, this);
    grdMargin_->setObjectName(QStringLiteral("grdMargin"));
    grdMargin_->setFont(NamedFont(Q("ＭＳ Ｐゴシック"), 13));
    grdMargin_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int rowHeight = edtLowLimit_->sizeHint().height() * 8 / 10;
    grdMargin_->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, QFontMetrics(grdMargin_->font()).height() + 4));
    grdMargin_->setFixedSize(600, grdMargin_->horizontalHeader()->sizeHint().height() +
                                      12 * grdMargin_->verticalHeader()->defaultSectionSize() + 4);
    grdMargin_->SetColumnShares({100, 100, 75, 75}, 435, 6);
    grdMargin_->setAccessibleName(Q("手数料テーブル"));

    auto* limits = new QGroupBox(Q("手数料の限度額"), this);
    limits->setObjectName(QStringLiteral("grpLimit"));
    auto* lg = new QHBoxLayout(limits);
    const auto limitField = [&](const char* caption, NumericEdit* edit) {
        auto* label = new QLabel(Q(caption), limits);
        label->setBuddy(edit);
        lg->addWidget(label);
        lg->addWidget(edit);
        lg->addWidget(new QLabel(Q("円"), limits));
        lg->addSpacing(16);
    };
    limitField("最低", edtLowLimit_);
    limitField("最高", edtHighLimit_);
    lg->addStretch();

    chkMiniAfter_ = new QCheckBox(Q("ミニ株の場合、最低／最高限度額を最後に計算する"), this);
    chkMiniAfter_->setObjectName(QStringLiteral("chkMiniAfter"));

    btnOK_ = new QPushButton(Q("登録"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnOK_->setAutoDefault(false);
    btnCancel_ = new QPushButton(Q("キャンセル"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setAutoDefault(false);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(edtTableName_);
    nameRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(nameRow);
    layout->addWidget(formula);
    layout->addWidget(chkKai_Uri_);
    layout->addSpacing(4);
    layout->addWidget(tabMargin_);
    layout->addWidget(grdMargin_);
    layout->addWidget(limits);
    layout->addWidget(chkMiniAfter_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(chkKai_Uri_, &QCheckBox::clicked, this, &TfrmMargin::chkKai_UriClick);
    connect(chkMiniAfter_, &QCheckBox::clicked, this, &TfrmMargin::chkMiniAfterClick);
    connect(tabMargin_, &QTabBar::currentChanged, this, &TfrmMargin::tabMarginChange);
    connect(btnOK_, &QPushButton::clicked, this, &TfrmMargin::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmMargin::btnCancelClick);

    FormShow();
}

MarginTable* TfrmMargin::Table() {
    if (position_ < 0 || position_ >= kMaxTables) return nullptr;
    return &state_.calc.tables.Slot(position_);
}

bool TfrmMargin::Separate() {
    const MarginTable* t = Table();
    return t != nullptr && t->Same != 0;
}

void TfrmMargin::showEvent(QShowEvent* event) {
    if (!opened_ && parentWidget() != nullptr) CentreOn(this, parentWidget()->window());
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        // A new or copied table has no name yet: typing starts there, not in a number cell.
        if (mode_ == kModeNew && edtTableName_->isEnabled()) edtTableName_->setFocus();
        else grdMargin_->setFocus();
    }
}

void TfrmMargin::FormShow() {
    MarginTable* table = Table();
    if (table == nullptr) {
        // No table to edit: nothing is shown and nothing can be changed.
        for (QWidget* w : std::initializer_list<QWidget*>{edtTableName_, chkKai_Uri_, tabMargin_, grdMargin_,
                                                         edtLowLimit_, edtHighLimit_, chkMiniAfter_, btnOK_})
            w->setEnabled(false);
        return;
    }
    edtTableName_->setText(QString::fromStdString(table->Name));
    chkKai_Uri_->setChecked(table->Same == 0);
    backup_ = *table;
    side_ = 0;
    ShowTabs();
    LoadGrid(0);
}

void TfrmMargin::ShowTabs() {
    reverting_ = true;
    while (tabMargin_->count() > 0) tabMargin_->removeTab(0);
    if (Separate()) {
        tabMargin_->addTab(Q("買い"));
        tabMargin_->addTab(Q("売り"));
    } else {
        tabMargin_->addTab(Q("売り買い共通"));
    }
    tabMargin_->setCurrentIndex(0);
    reverting_ = false;
}

void TfrmMargin::LoadGrid(int side) {
    const MarginTable& table = *Table();
    const bool sell = side == 1 && table.Same != 0;
    grdMargin_->Load(SideRows(table, sell ? 1 : 0));
    edtLowLimit_->ShowStored(LimitText(sell ? table.LowLimitU : table.LowLimitK));
    edtHighLimit_->ShowStored(LimitText(sell ? table.HighLimitU : table.HighLimitK));
    chkMiniAfter_->setChecked((sell ? table.MiniAfterU : table.MiniAfterK) == 1);
    grdMargin_->SetCurrent(1, 0);
}

bool TfrmMargin::CommitGrid() {
    // A name from a table file is shown whole; it is taken only once it fits.
    if (!nameKeeper_->Fits()) {
        state_.messages.ShowMessage(kMsgBadInput);
        edtTableName_->setFocus();
        return false;
    }
    std::vector<std::string> others;
    for (int n = 0; n < kMaxTables; ++n)
        if (n != position_ && state_.calc.tables.Slot(n).inUse) others.push_back(state_.calc.tables.Slot(n).Name);
    const MarginEditTexts texts{edtTableName_->text().toStdString(), edtLowLimit_->Text(), edtHighLimit_->Text(),
                                grdMargin_->Cells()};
    const MarginCommit commit = CommitMarginGrid(*Table(), Separate() ? side_ : 0, texts, others);
    if (commit.Ok()) return true;
    if (commit.focus == MarginEditField::Grid) grdMargin_->SetCurrent(commit.check.row, commit.check.col);
    state_.messages.ShowMessage(commit.check.message);
    switch (commit.focus) {
    case MarginEditField::Name: edtTableName_->setFocus(); break;
    case MarginEditField::LowLimit: edtLowLimit_->setFocus(); break;
    case MarginEditField::HighLimit: edtHighLimit_->setFocus(); break;
    default: grdMargin_->setFocus(); break;
    }
    return false;
}

void TfrmMargin::chkKai_UriClick(bool checked) {
    MarginTable* table = Table();
    if (table == nullptr) return;
    // The grid is not committed: edits since the last commit are dropped.
    table->Same = checked ? 0 : 1;
    side_ = 0;
    ShowTabs();
    LoadGrid(0);
}

void TfrmMargin::chkMiniAfterClick(bool checked) {
    MarginTable* table = Table();
    if (table == nullptr) return;
    (Separate() && side_ == 1 ? table->MiniAfterU : table->MiniAfterK) = checked ? 1 : 0;
}

void TfrmMargin::tabMarginChange(int index) {
    if (reverting_ || !Separate() || index == side_ || index < 0) return;
    if (!CommitGrid()) {
        reverting_ = true;
        tabMargin_->setCurrentIndex(side_);
        reverting_ = false;
        return;
    }
    side_ = index;
    LoadGrid(side_);
}

void TfrmMargin::btnOKClick() {
    MarginTable* table = Table();
    if (table != nullptr) {
        if (!CommitGrid()) return;
        if (table->Same == 0) {
            table->LowLimitU = table->LowLimitK;
            table->HighLimitU = table->HighLimitK;
            table->MiniAfterU = table->MiniAfterK;
        }
        state_.Saved(state_.store.SaveCommissionTables());
        tablesChanged_ = true;
    }
    finished_ = true;
    accept();
}

void TfrmMargin::btnCancelClick() { reject(); }

void TfrmMargin::reject() {
    if (!finished_) {
        finished_ = true;
        Cancel();
    }
    QDialog::reject();
}

void TfrmMargin::Cancel() {
    MarginTable* table = Table();
    if (table == nullptr) return;
    if (mode_ == kModeNew) {
        table->Clear();
        --position_;
    } else {
        *table = backup_;
    }
    state_.Saved(state_.store.SaveCommissionTables());
}

}  // namespace zavota::ui
