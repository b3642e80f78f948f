#include "ui/options/OptionsPages.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/common/AppState.h"
#include "ui/options/OptionsCalcPage.h"
#include "ui/options/OptionsColourPage.h"
#include "ui/options/OptionsMarginPage.h"
#include "ui/options/OptionsTaxPage.h"
#include "ui/options/OptionsWakePage.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

struct PageName {
    const char* selector;
    const char* caption;
    const char* tab;
};

constexpr std::array<PageName, TOptionsTab::PageCount> kPages{{
    {"btnCalc_Opt", "計算時", "Tab_Calc"},
    {"btnMargin_Opt", "手数料", "Tab_Margin"},
    {"btnTax_Opt", "税率", "Tab_Tax"},
    {"btnWake_Opt", "起動時", "Tab_Wake"},
    {"btnColor_Opt", "画面の色", "Tab_Color"},
}};

}  // namespace

TOptionsTab::TOptionsTab(AppState& state, OptionsHost& host, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Tab_Opt"));
    setFont(CaptionFont());

    pages_ = {new OptionsCalcPage(state, host), new OptionsMarginPage(state, host), new OptionsTaxPage(state),
              new OptionsWakePage(state, host), new OptionsColourPage(state, host)};

    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    auto* selectors = new QHBoxLayout;
    selectors->setSpacing(1);
    pgcOpt_ = new QTabWidget(this);
    pgcOpt_->setObjectName(QStringLiteral("pgcOpt"));
    // The selector buttons choose the page; the page control's own strip stays hidden.
    pgcOpt_->tabBar()->hide();
    // Nor does it take the focus: its hidden strip would be a stop Tab cannot leave.
    pgcOpt_->setFocusPolicy(Qt::NoFocus);
    pgcOpt_->tabBar()->setFocusPolicy(Qt::NoFocus);
    pgcOpt_->setDocumentMode(true);
    for (int i = 0; i < PageCount; ++i) {
        const PageName& n = kPages[static_cast<std::size_t>(i)];
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(n.caption));
        b->setObjectName(QString::fromUtf8(n.selector));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFixedSize(52, 24);
        group_->addButton(b, i);
        selectors->addWidget(b);
        selectors_[static_cast<std::size_t>(i)] = b;
        OptionsPage* page = pages_[static_cast<std::size_t>(i)];
        page->setObjectName(QString::fromUtf8(n.tab));
        pgcOpt_->addTab(page, QString::fromUtf8(n.caption));
    }
    selectors->addStretch();
    selectors_[CalcPage]->setChecked(true);
    connect(group_, &QButtonGroup::idClicked, this, &TOptionsTab::Choose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 4, 2, 2);
    layout->setSpacing(4);
    layout->addLayout(selectors);
    layout->addWidget(pgcOpt_, 1);
}

void TOptionsTab::Enter() {
    pgcOpt_->setCurrentIndex(current_);
    pages_[static_cast<std::size_t>(current_)]->ShowPage();
}

bool TOptionsTab::Leave(bool forGood) { return pages_[static_cast<std::size_t>(current_)]->Commit(forGood); }

void TOptionsTab::Choose(int index) {
    if (index == current_) return;
    if (!Leave()) {
        selectors_[static_cast<std::size_t>(current_)]->setChecked(true);
        return;
    }
    current_ = index;
    pgcOpt_->setCurrentIndex(index);
    pages_[static_cast<std::size_t>(index)]->ShowPage();
}

}  // namespace zavota::ui
