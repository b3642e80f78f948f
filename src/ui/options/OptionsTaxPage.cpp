#include "ui/options/OptionsTaxPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/OptionChecks.h"
#include "ui/common/AppState.h"
#include "ui/common/FieldAccess.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {
constexpr std::array<const char*, 4> kCaptions = {"買い計算時の消費税", "売り計算時の消費税", "所得税率", "住民税率"};
}

OptionsTaxPage::OptionsTaxPage(AppState& state, QWidget* parent) : OptionsPage(parent), state_(state) {
    auto* consumption = new QGridLayout;
    auto* profit = new QGroupBox(QStringLiteral("申告分離課税"), this);
    auto* profitGrid = new QGridLayout(profit);
    for (std::size_t i = 0; i < rates_.size(); ++i) {
        QWidget* owner = i < 2 ? static_cast<QWidget*>(this) : profit;
        QGridLayout* grid = i < 2 ? consumption : profitGrid;
        auto* e = new NumericEdit(FieldKind::Decimal, &state_.messages, owner, 7);
        e->setObjectName(QString::fromUtf8(kRateFields[i]));
        e->setFont(InputFont());
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFixedWidth(72);
        auto* label = new QLabel(QString::fromUtf8(kCaptions[i]), owner);
        label->setBuddy(e);
        const int row = static_cast<int>(i % 2);
        grid->addWidget(label, row, 0);
        grid->addWidget(e, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("％"), owner), row, 2);
        grid->setColumnStretch(3, 1);
        rates_[i] = e;
    }
    auto* reset = new QPushButton(QStringLiteral("初期値に戻す"), this);
    reset->setObjectName(QStringLiteral("btnReset_T"));
    connect(reset, &QPushButton::clicked, this, [this] {
        state_.calc.tax.ResetKeepingDontUse();
        ShowPage();
    });
    // Fills the fields only: the rates are taken, and checked, when the page is left.
    auto* today = new QPushButton(QStringLiteral("現在の税率"), this);
    today->setObjectName(QStringLiteral("btnToday_T"));
    today->setToolTip(QStringLiteral("消費税10％、所得税15.315％、住民税5％にします（ページを離れるときに確定）"));
    today->setAccessibleDescription(today->toolTip());
    connect(today, &QPushButton::clicked, this, [this] {
        TaxSettings rates;
        rates.LoadTodaysRates();
        ShowRates(rates);
    });
    calcEach_ = new QCheckBox(QStringLiteral("所得税と住民税を別々に計算する"), profit);
    calcEach_->setObjectName(QStringLiteral("chkCalcEach"));
    profitGrid->addWidget(calcEach_, 2, 0, 1, 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 6);
    layout->setSpacing(8);
    layout->addLayout(consumption);
    layout->addWidget(profit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addWidget(today);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
}

void OptionsTaxPage::ShowPage() {
    ShowRates(state_.calc.tax);
    calcEach_->setChecked(state_.calc.tax.CalcEach == 1);
}

void OptionsTaxPage::ShowRates(const TaxSettings& t) {
    const std::array<Yen, 4> values = {t.KaiS, t.UriS, t.ShinSyotoku, t.ShinJyuumin};
    for (std::size_t i = 0; i < values.size(); ++i) rates_[i]->ShowStored(TaxRateText(values[i]));
}

bool OptionsTaxPage::Commit(bool /*forGood*/) {
    TaxSettings& t = state_.calc.tax;
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = rates_[i]->Text();
    const FieldCheck check = CommitTaxRates(texts, t);
    if (!check.ok()) {
        state_.messages.ShowMessage(check.message);
        FocusField(this, check.focus);
        return false;
    }
    t.CalcEach = calcEach_->isChecked() ? 1 : 0;
    // A failed write is reported; the rates stay in force and the page may be left.
    state_.Saved(state_.store.SaveTaxRates());
    return true;
}

}  // namespace zavota::ui
