#include "ui/options/Yobineunit.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/UnitGrid.h"
#include "ui/common/EditGrid.h"
#include "ui/common/WindowPlacement.h"

namespace zavota::ui {

namespace {
constexpr int kMsgTicksDoNotChain = 239;
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

TfrmYobine::TfrmYobine(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmYobine"));
    setWindowTitle(Q("Zavota　－　呼び値単位テーブルの編集"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("rdgrpUnitType"));
    auto* gl = new QHBoxLayout(group);
    rdgrpUnitType_ = new QButtonGroup(this);
    int id = 0;
    for (const char* caption : {"上場銘柄用テーブル", "店頭銘柄用テーブル"}) {
        auto* radio = new QRadioButton(Q(caption), group);
        radio->setObjectName(id == 0 ? QStringLiteral("rdbListed") : QStringLiteral("rdbOtc"));
        rdgrpUnitType_->addButton(radio, id++);
        gl->addWidget(radio, 1);
    }

    // Only its height matters: the rows are as tall as an edit box of the dialog's font.
    edtDummy_ = new QLineEdit(this);
    edtDummy_->setObjectName(QStringLiteral("edtDummy"));
    edtDummy_->hide();

    grdYobine_ = new EditGrid(kMaxUnitRows, {Q(" xxxx 円超から"), Q(" yyyy 円以下まで"), Q(" 呼び値単位")}, false,
                              state_.messages, this);
    grdYobine_->setObjectName(QStringLiteral("grdYobine"));
    grdYobine_->setAccessibleName(Q("呼び値単位テーブル"));
    const int rowHeight = std::max(edtDummy_->sizeHint().height() * 8 / 10, QFontMetrics(font()).height() + 4);
    grdYobine_->verticalHeader()->setDefaultSectionSize(rowHeight);
    grdYobine_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdYobine_->setFixedSize(380, grdYobine_->horizontalHeader()->sizeHint().height() + kMaxUnitRows * rowHeight + 4);
    grdYobine_->SetColumnShares({100, 110}, 308, 4);

    btnOK_ = new QPushButton(Q("ＯＫ"), this);
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_ = new QPushButton(Q("キャンセル"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnReset_ = new QPushButton(Q("初期値に戻す"), this);
    btnReset_->setObjectName(QStringLiteral("btnReset"));
    btnToday_ = new QPushButton(Q("現在の呼び値（上場）"), this);
    btnToday_->setObjectName(QStringLiteral("btnToday"));
    btnToday_->setToolTip(Q("上場銘柄用テーブルを取引所の現在の呼び値単位にします（ＯＫで確定）"));
    btnToday_->setAccessibleDescription(btnToday_->toolTip());
    for (QPushButton* b : {btnOK_, btnCancel_, btnReset_, btnToday_}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnReset_);
    buttons->addWidget(btnToday_);
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(group);
    layout->addWidget(grdYobine_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(rdgrpUnitType_, &QButtonGroup::idClicked, this, &TfrmYobine::rdgrpUnitTypeClick);
    connect(btnOK_, &QPushButton::clicked, this, &TfrmYobine::btnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmYobine::btnCancelClick);
    connect(btnReset_, &QPushButton::clicked, this, &TfrmYobine::btnResetClick);
    connect(btnToday_, &QPushButton::clicked, this, &TfrmYobine::btnTodayClick);

    FormShow();
}

UnitTable& TfrmYobine::Table(int index) { return index == 1 ? state_.calc.otcTicks : state_.calc.listedTicks; }

void TfrmYobine::showEvent(QShowEvent* event) {
    if (!opened_ && parentWidget() != nullptr) CentreOn(this, parentWidget()->window());
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        grdYobine_->setFocus();
    }
}

void TfrmYobine::FormShow() {
    backupListed_ = state_.calc.listedTicks;
    backupOtc_ = state_.calc.otcTicks;
    SelectRadio(0);
    LoadGrid(0);
}

void TfrmYobine::SelectRadio(int index) { rdgrpUnitType_->button(index)->setChecked(true); }

void TfrmYobine::LoadGrid(int index) {
    const UnitTable& table = Table(index);
    std::vector<std::vector<std::string>> rows;
    for (int n = 0; n < std::clamp(table.Elements, 0, kMaxUnitRows); ++n) {
        const auto cells = UnitRowCells(table.rows[static_cast<std::size_t>(n)]);
        rows.emplace_back(cells.begin(), cells.end());
    }
    grdYobine_->Load(rows);
    grdYobine_->SetCurrent(1, 0);
    current_ = index;
}

bool TfrmYobine::CommitGrid() {
    const GridCheck check = CommitUnitGrid(Table(current_), grdYobine_->Cells());
    if (check.Ok()) return true;
    grdYobine_->SetCurrent(check.row, check.col);
    // Only the chaining message names its row (as "%1"); the others say which cell by the focus.
    state_.messages.ShowMessage(check.message, check.message == kMsgTicksDoNotChain ? std::to_string(check.row) : "");
    grdYobine_->setFocus();
    return false;
}

void TfrmYobine::rdgrpUnitTypeClick(int index) {
    index = std::max(index, 0);
    if (index == current_) return;
    if (CommitGrid()) LoadGrid(index);
    else SelectRadio(current_);
}

void TfrmYobine::btnOKClick() {
    if (!CommitGrid()) return;
    state_.Saved(state_.store.SaveTickTables());
    finished_ = true;
    accept();
}

void TfrmYobine::btnCancelClick() { reject(); }

void TfrmYobine::reject() {
    if (!finished_) {
        finished_ = true;
        state_.calc.listedTicks = backupListed_;
        state_.calc.otcTicks = backupOtc_;
    }
    QDialog::reject();
}

void TfrmYobine::btnResetClick() {
    // The grid is not committed: its unconfirmed edits go with the old rows.
    state_.calc.listedTicks.ResetKeepingDontUse();
    state_.calc.otcTicks.ResetKeepingDontUse();
    SelectRadio(0);
    LoadGrid(0);
}

void TfrmYobine::btnTodayClick() {
    // Only the listed table changes: the OTC rows on the grid are taken first, as a switch of
    // table takes them, so that their edits are not lost.
    if (current_ == 1 && !CommitGrid()) return;
    state_.calc.listedTicks.LoadTodaysListedSteps();
    SelectRadio(0);
    LoadGrid(0);
}

}  // namespace zavota::ui
