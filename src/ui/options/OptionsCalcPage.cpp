#include "ui/options/OptionsCalcPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/DecimalCalc.h"
#include "core/OptionChecks.h"
#include "ui/common/AppState.h"
#include "ui/common/FieldAccess.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/UiFonts.h"
#include "ui/options/Yobineunit.h"

namespace zavota::ui {

OptionsCalcPage::OptionsCalcPage(AppState& state, OptionsHost& host, QWidget* parent)
    : OptionsPage(parent), state_(state), host_(host) {
    useUnit_ = new QCheckBox(QStringLiteral("呼び値単位のチェックを行う"), this);
    useUnit_->setObjectName(QStringLiteral("chkUse_Unit"));
    twoTable_ = new QCheckBox(QStringLiteral("手数料テーブルを買いと売り別々に指定する"), this);
    twoTable_->setObjectName(QStringLiteral("chkTwoTable"));
    auto* yobine = new QPushButton(QStringLiteral("呼び値単位テーブルの編集..."), this);
    yobine->setObjectName(QStringLiteral("btnYobine"));
    connect(yobine, &QPushButton::clicked, this, &OptionsCalcPage::EditTickTables);

    auto* group = new QGroupBox(QStringLiteral("申告分離課税の計算用"), this);
    auto* gainLabel = new QLabel(QStringLiteral("年間利益額"), group);
    yearGain_ = new NumericEdit(FieldKind::SignedWholeNumber, &state_.messages, group, 17);
    yearGain_->setObjectName(QStringLiteral("edtYearGain"));
    yearGain_->setFont(InputFont());
    yearGain_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gainLabel->setBuddy(yearGain_);
    dontUse_ = new QCheckBox(QStringLiteral("利益に対する課税を常に０とする"), group);
    dontUse_->setObjectName(QStringLiteral("chkDontUse_Tax"));
    auto* gainRow = new QHBoxLayout;
    gainRow->addWidget(gainLabel);
    gainRow->addWidget(yearGain_, 1);
    gainRow->addWidget(new QLabel(QStringLiteral("円"), group));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(gainRow);
    groupLayout->addWidget(dontUse_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(useUnit_);
    layout->addWidget(twoTable_);
    layout->addWidget(yobine, 0, Qt::AlignLeft);
    layout->addSpacing(8);
    layout->addWidget(group);
    layout->addStretch();
}

void OptionsCalcPage::ShowPage() {
    const TaxSettings& tax = state_.calc.tax;
    // The change rule takes the separators out at once.
    yearGain_->ShowStored(DecimalCalc::ToText(tax.YearGain, 0));
    dontUse_->setChecked(tax.DontUse == 1);
    useUnit_->setChecked(state_.calc.listedTicks.DontUse != 1);
    twoTable_->setChecked(state_.option().TwoFlag != 0);
}

bool OptionsCalcPage::Commit(bool forGood) {
    TaxSettings& tax = state_.calc.tax;
    const FieldCheck gain = CommitYearGain(yearGain_->Text(), tax);
    if (!gain.ok()) {
        state_.messages.ShowMessage(gain.message);
        FocusField(this, gain.focus);
        return false;
    }
    if (state_.option().WordYearGain == 1) host_.ApplyMotto();
    tax.DontUse = dontUse_->isChecked() ? 1 : 0;
    state_.calc.SetTickCheck(useUnit_->isChecked());
    OptionSettings& o = state_.option();
    const int two = twoTable_->isChecked() ? 1 : 0;
    if (two != o.TwoFlag) {
        o.TwoFlag = two;
        host_.ApplyColours();
    }
    if (state_.Saved(state_.store.SaveCalcPage())) {
        failedValues_.reset();
        return true;
    }
    // The page holds the user once, so that a change can still be mended; a read-only folder
    // or a full disk must not keep anyone here. The values stay in force and are written at
    // the end of the program.
    const std::array<long long, 4> values = {tax.YearGain.raw, tax.DontUse, state_.calc.listedTicks.DontUse,
                                             o.TwoFlag};
    const bool again = failedValues_ == values;
    failedValues_ = values;
    return forGood || again;
}

void OptionsCalcPage::EditTickTables() {
    ModalDialogScope scope(state_);
    TfrmYobine dialog(state_, this);
    dialog.exec();
}

}  // namespace zavota::ui
