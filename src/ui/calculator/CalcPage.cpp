#include "ui/calculator/CalcPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/common/ReaderNames.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

QString Name(const char* base, Page page) {
    return QString::fromUtf8(base) + (page == Page::Buy ? QStringLiteral("_K") : QStringLiteral("_U"));
}

QLabel* MakeLabel(const QString& text, QWidget* parent, const QString& name = {}) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

NumericEdit* MakeEdit(const QString& name, FieldKind kind, MessageCatalogue* catalogue, QWidget* parent) {
    auto* e = new NumericEdit(kind, catalogue, parent);
    e->setObjectName(name);
    e->setFont(InputFont());
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(84);
    return e;
}

}  // namespace

CalcPageWidgets BuildCalcPage(Page page, QWidget* tab, MessageCatalogue* catalogue) {
    const bool buy = page == Page::Buy;
    CalcPageWidgets w;
    w.page = page;
    w.tab = tab;
    tab->setObjectName(buy ? QStringLiteral("Tab_K") : QStringLiteral("Tab_U"));
    const PageFields& f = FieldsOf(page);

    // The two main inputs on their coloured panel.
    auto* panel = new QWidget(tab);
    panel->setObjectName(Name("pnlInput", page));
    panel->setAutoFillBackground(true);
    w.inputPanel = panel;
    w.price = MakeEdit(QString::fromUtf8(f.price), FieldKind::WholeNumber, catalogue, panel);
    w.shares = MakeEdit(QString::fromUtf8(f.shares), FieldKind::WholeNumber, catalogue, panel);
    w.priceLabel = MakeLabel(QStringLiteral("円 で"), panel, Name("lblInputChar01", page));
    w.sharesLabel = MakeLabel(buy ? QStringLiteral("株 買った場合．．．") : QStringLiteral("株 売った場合．．．"), panel,
                              Name("lblInputChar02", page));
    // The captions beside the two fields finish a sentence; the reader says what they hold.
    w.price->setAccessibleName(buy ? QStringLiteral("買値") : QStringLiteral("売値"));
    // Told apart from the other page's box and named as the result blocks name their figures.
    w.shares->setAccessibleName(buy ? QStringLiteral("株数（買い）") : QStringLiteral("株数（売り）"));
    auto* panelGrid = new QGridLayout(panel);
    panelGrid->setContentsMargins(8, 6, 6, 6);
    panelGrid->setHorizontalSpacing(6);
    panelGrid->setVerticalSpacing(4);
    panelGrid->addWidget(w.price, 0, 0);
    panelGrid->addWidget(w.priceLabel, 0, 1);
    panelGrid->addWidget(w.shares, 1, 0);
    panelGrid->addWidget(w.sharesLabel, 1, 1);
    panelGrid->setColumnStretch(1, 1);

    auto* heading = MakeLabel(QStringLiteral("■■ 選択指定 ■■"), tab, buy ? QStringLiteral("Label32") : QStringLiteral("Label33"));
    const char* questionTexts[2][4] = {
        {"円で売ると利益はいくら？", "円上がると利益はいくら？", "円の利益を上げるための売値は？", "％の利益を上げるための売値は？"},
        {"円で買い戻すと差益はいくら？", "円下がると差益はいくら？", "円の差益を上げるための買値は？", "％の差益を上げるための買値は？"},
    };
    auto* questionGrid = new QGridLayout;
    questionGrid->setHorizontalSpacing(3);
    questionGrid->setVerticalSpacing(3);
    for (int i = 0; i < 4; ++i) {
        w.questions[i] = MakeEdit(QString::fromUtf8(f.questions[i]), i == 3 ? FieldKind::Decimal : FieldKind::WholeNumber,
                                  catalogue, tab);
        questionGrid->addWidget(w.questions[i], i, 0);
        auto* label = MakeLabel(QString::fromUtf8(questionTexts[buy ? 0 : 1][i]), tab);
        label->setFont(CaptionFont());
        NameByLabel(label, w.questions[i]);
        questionGrid->addWidget(label, i, 1);
    }
    questionGrid->setColumnStretch(1, 1);

    // The trade choices.
    auto* group = new QGroupBox(QStringLiteral("手数料テーブルなどの選択"), tab);
    group->setObjectName(buy ? QStringLiteral("GroupBox1") : QStringLiteral("GroupBox2"));
    w.tax = new QComboBox(group);
    w.tax->setObjectName(Name("cmbTax", page));
    FillTradeKinds(w.tax);
    w.table = new QComboBox(group);
    w.table->setObjectName(Name("cmbTable", page));
    w.table2 = new QComboBox(group);
    w.table2->setObjectName(Name("cmbTable2", page));
    w.table2Label = MakeLabel(buy ? QStringLiteral("売り") : QStringLiteral("買い"), group);
    NameByLabel(w.table2Label, w.table2);
    for (QComboBox* c : {w.tax, w.table, w.table2}) c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    w.mini.check = new QCheckBox(QStringLiteral("ミニ株"), group);
    w.mini.check->setObjectName(Name("chkMini", page));
    w.mini.unitBefore = MakeLabel(QStringLiteral("売買単位"), group, Name("lblMini01", page));
    auto* unit = MakeEdit(Name("edtMini", page), FieldKind::WholeNumber, catalogue, group);
    unit->setFixedWidth(80);
    w.mini.unit = unit;
    w.mini.unitAfter = MakeLabel(QStringLiteral("株"), group, Name("lblMini02", page));
    w.mini.priceLabel = w.priceLabel;
    w.otc = new QCheckBox(QStringLiteral("店頭"), group);
    w.otc->setObjectName(Name("chkTen", page));

    auto* groupGrid = new QGridLayout(group);
    groupGrid->setContentsMargins(8, 4, 8, 6);
    groupGrid->setHorizontalSpacing(6);
    groupGrid->setVerticalSpacing(4);
    auto* taxLabel = MakeLabel(QStringLiteral("現物／信用"), group);
    auto* tableLabel = MakeLabel(QStringLiteral("手数料テーブル"), group);
    NameByLabel(taxLabel, w.tax);
    NameByLabel(tableLabel, w.table);
    NameByLabel(w.mini.unitBefore, unit);
    groupGrid->addWidget(taxLabel, 0, 0);
    groupGrid->addWidget(w.tax, 0, 1, 1, 3);
    groupGrid->addWidget(tableLabel, 1, 0);
    groupGrid->addWidget(w.table, 1, 1, 1, 3);
    groupGrid->addWidget(w.table2Label, 2, 0, Qt::AlignRight);
    groupGrid->addWidget(w.table2, 2, 1, 1, 3);
    auto* miniRow = new QHBoxLayout;
    miniRow->setSpacing(4);
    miniRow->addWidget(w.mini.check);
    miniRow->addSpacing(4);
    miniRow->addWidget(w.mini.unitBefore);
    miniRow->addWidget(unit);
    miniRow->addWidget(w.mini.unitAfter);
    miniRow->addStretch();
    groupGrid->addLayout(miniRow, 3, 0, 1, 4);
    groupGrid->addWidget(w.otc, 4, 0, 1, 4);
    groupGrid->setColumnStretch(1, 1);

    // The buttons.
    auto makeButton = [tab](const char* text, const QString& name) {
        auto* b = new QPushButton(QString::fromUtf8(text), tab);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    w.go = makeButton("実　行", Name("btnGo", page));
    w.slim = makeButton("画面切替", Name("btnSlim", page));
    w.end = makeButton("終了", Name("btnEnd", page));
    w.clear = makeButton("クリア", Name("btnClear", page));
    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(w.go, 0, 0, 1, 2);
    buttons->addWidget(w.clear, 0, 2);
    buttons->addWidget(w.slim, 1, 0);
    buttons->addWidget(w.end, 1, 2);
    w.go->setMinimumHeight(30);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(5);
    layout->addWidget(panel);
    layout->addWidget(heading);
    layout->addLayout(questionGrid);
    layout->addWidget(group);
    layout->addStretch();
    layout->addLayout(buttons);

    // Price, count, the questions, the choices, then the buttons in the page's own order.
    QList<QWidget*> order = {w.price, w.shares, w.questions[0], w.questions[1], w.questions[2], w.questions[3],
                             w.tax, w.table, w.mini.check, w.mini.unit, w.otc, w.table2, w.go};
    if (buy) order << w.slim << w.end << w.clear;
    else order << w.end << w.clear << w.slim;
    for (int i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
    return w;
}

}  // namespace zavota::ui
