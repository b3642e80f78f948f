#include "ui/calculator/Slimunit.h"

#include <array>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/Handover.h"
#include "core/NumberText.h"
#include "core/ResultPanel.h"
#include "core/SlimPage.h"
#include "core/UnitTable.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/WindowPlacement.h"
#include "ui/calculator/Adjustunit.h"
#include "ui/common/FieldAccess.h"
#include "ui/calculator/Keihiunit.h"
#include "ui/common/NumericEdit.h"
#include "ui/calculator/TradeControls.h"
#include "ui/common/UiFonts.h"
#include "ui/common/WaitCursor.h"

namespace zavota::ui {

namespace {
// The client width of the window; the narrowest the captions allow in the fixed-pitch face.
constexpr int kClientWidth = 152;

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

// The figure boxes from the top, with the captions above them.
constexpr std::array<const char*, 6> kFigureNames = {"mmTotal_K", "mmTotal_U", "mmResult_Last",
                                                     "mmResult_R", "mmPay_K",   "mmPay_U"};
constexpr std::array<const char*, 6> kFigureCaptions = {"支払金額", "受取金額",          "最終利益",
                                                        "利益率",   "ペイ単価（買→売）", "ペイ単価（売→買）"};

// The paired settings of one calculator page.
struct SideSettings {
    int& taxType;
    int& tableIndex;
    int& miniFlag;
    double& unit;
    int& otcFlag;
};

SideSettings SettingsOfSide(OptionSettings& o, int side) {
    if (side == 1) return {o.TaxTypeU, o.MarginIndexU, o.MiniFlagU, o.MiniU, o.TenFlagU};
    return {o.TaxTypeK, o.MarginIndexK, o.MiniFlagK, o.MiniK, o.TenFlagK};
}

}  // namespace

struct TSlimForm::Controls : QObject {
    explicit Controls(QObject* owner) : QObject(owner) {}

    NumericEdit* buyPrice = nullptr;   // edtYen_K
    NumericEdit* shares = nullptr;     // edtNum_K
    NumericEdit* sellPrice = nullptr;  // edtR1_K
    QComboBox* tax = nullptr;          // cmbTax_K
    QComboBox* table = nullptr;        // cmbTable_K
    QCheckBox* otc = nullptr;          // chkTen
    MiniStockControls mini;            // chkMini, edtMini and its labels
    std::array<QLineEdit*, 6> figures{};
    QPushButton* keihi = nullptr;      // btnKeihi

    std::array<int, 2> keihiSets{0, 0};  // both sides' expense sets, copied when shown
    int side = 0;                        // the current side: 0 buy page, 1 sell page
    int keihiSet = 0;                    // the current side's expense set
    bool calculating = false;            // a press of "実行" has not finished yet
    bool closeDeferred = false;          // the window was asked to close meanwhile

    QLineEdit* Figure(const char* name) const {
        for (QLineEdit* f : figures)
            if (f->objectName() == QLatin1String(name)) return f;
        return nullptr;
    }
};

TSlimForm::TSlimForm(AppState& state, TfrmAdjust& adjust, QWidget* parent)
    : QDialog(parent), state_(state), adjust_(adjust), c_(new Controls(this)) {
    setObjectName(QStringLiteral("SlimForm"));
    setWindowTitle(QStringLiteral("Zavota"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(CaptionFont());

    auto edit = [this](const char* name) {
        auto* e = new NumericEdit(FieldKind::WholeNumber, &state_.messages, this, 10);
        e->setObjectName(QString::fromUtf8(name));
        e->setFont(InputFont());
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    c_->buyPrice = edit("edtYen_K");
    c_->shares = edit("edtNum_K");
    c_->sellPrice = edit("edtR1_K");
    auto* unit = edit("edtMini");

    c_->tax = new QComboBox(this);
    c_->tax->setObjectName(QStringLiteral("cmbTax_K"));
    FillTradeKinds(c_->tax);
    c_->table = new QComboBox(this);
    c_->table->setObjectName(QStringLiteral("cmbTable_K"));
    // No labels here for room: named as on the main window.
    NameCombo(c_->tax, QStringLiteral("現物／信用"));
    NameCombo(c_->table, QStringLiteral("手数料テーブル"));
    auto* miniCheck = new QCheckBox(QStringLiteral("ミニ株"), this);
    miniCheck->setObjectName(QStringLiteral("chkMini"));
    c_->otc = new QCheckBox(QStringLiteral("店頭"), this);
    c_->otc->setObjectName(QStringLiteral("chkTen"));
    c_->mini = {miniCheck, unit, MakeLabel("lblMini01", "売買単位", this), MakeLabel("lblMini02", "株", this), nullptr};

    auto* inputs = new QGridLayout;
    inputs->setHorizontalSpacing(3);
    inputs->setVerticalSpacing(3);
    auto inputRow = [&](int row, QLabel* before, QLineEdit* e, QLabel* after) {
        NameByLabel(before, e);
        inputs->addWidget(before, row, 0);
        inputs->addWidget(e, row, 1);
        inputs->addWidget(after, row, 2);
    };
    inputRow(0, MakeLabel("lblYen_K", "買い単価", this), c_->buyPrice, MakeLabel("lblYen02_K", "円", this));
    inputRow(1, MakeLabel("lblNum_K", "株数", this), c_->shares, MakeLabel("lblNum02_K", "株", this));
    inputRow(2, MakeLabel("lblR1_K", "売り単価", this), c_->sellPrice, MakeLabel("lblR102_K", "円", this));
    inputs->addWidget(c_->tax, 3, 0, 1, 3);
    inputs->addWidget(c_->table, 4, 0, 1, 3);
    auto* checks = new QHBoxLayout;
    checks->addWidget(miniCheck);
    checks->addWidget(c_->otc);
    checks->addStretch();
    inputs->addLayout(checks, 5, 0, 1, 3);
    inputRow(6, c_->mini.unitBefore, unit, c_->mini.unitAfter);

    auto* results = new QVBoxLayout;
    results->setSpacing(0);
    for (std::size_t i = 0; i < kFigureNames.size(); ++i) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString::fromUtf8(kFigureNames[i]));
        f->setReadOnly(true);
        f->setFrame(false);
        f->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        f->setFocusPolicy(Qt::NoFocus);
        f->setFont(FigureFont());
        f->setTextMargins(0, 0, 2, 0);
        c_->figures[i] = f;
        QLabel* caption = MakeLabel((std::string("lbl") + kFigureNames[i]).c_str(), kFigureCaptions[i], this);
        NameByLabel(caption, f);
        results->addWidget(caption);
        results->addWidget(f);
        if (i == 3) results->addSpacing(6);  // the break-even pair stands apart from the totals
    }

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromUtf8(name));
        // The buttons wear the face of the main window's buttons: in the fixed-pitch face of
        // the labels, "Memo" would take its Latin letters from another design than the
        // Japanese captions beside it.
        b->setFont(QApplication::font(b));
        // The style's usual minimum width would not let two buttons share the narrow row.
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 14);
        return b;
    };
    QPushButton* memo = button("btnMemo", "Memo");
    c_->keihi = button("btnKeihi", "その他経費  ");
    QPushButton* go = button("btnGo", "実行");
    go->setDefault(true);
    QPushButton* normal = button("btnNormal", "画面切替");
    QPushButton* end = button("btnEnd", "終了");
    // Rows of their own, so that no column forces the width of the one above it.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(3);
    for (const auto& row : {std::pair<QPushButton*, QPushButton*>{memo, c_->keihi}, {go, nullptr}, {normal, end}}) {
        auto* line = new QHBoxLayout;
        line->setSpacing(3);
        line->addWidget(row.first, 1);
        if (row.second != nullptr) line->addWidget(row.second, 1);
        buttons->addLayout(line);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    layout->addLayout(inputs);
    layout->addLayout(results);
    layout->addLayout(buttons);

    QWidget* order[] = {c_->buyPrice, c_->shares, c_->sellPrice, c_->tax, c_->table, miniCheck, c_->otc,
                        unit,         memo,       c_->keihi,     go,      normal,    end};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    // As narrow as the captions allow; wider only if the face in use needs it.
    layout->activate();
    const QSize needed = layout->minimumSize();
    setFixedSize(std::max(kClientWidth, needed.width()), needed.height());

    connect(go, &QPushButton::clicked, this, [this] { Calculate(); });
    connect(end, &QPushButton::clicked, this, &QWidget::close);
    connect(normal, &QPushButton::clicked, this, [this] { SwitchToMain(); });
    connect(memo, &QPushButton::clicked, this, [this] { state_.Post(ShowMemoPad); });
    connect(c_->keihi, &QPushButton::clicked, this, [this] { ChooseExpenses(); });
    connect(c_->tax, &QComboBox::currentIndexChanged, this, [this] { TradeKindChanged(); });
    connect(c_->table, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        SettingsOfSide(state_.option(), c_->side).tableIndex = index;
        Recalculate();
    });
    connect(c_->otc, &QCheckBox::clicked, this, [this](bool checked) {
        SettingsOfSide(state_.option(), c_->side).otcFlag = checked ? 1 : 0;
        Recalculate();
    });
    connect(miniCheck, &QCheckBox::clicked, this, [this](bool checked) {
        ShowMiniChecked(c_->mini, checked);
        SettingsOfSide(state_.option(), c_->side).miniFlag = checked ? 1 : 0;
    });
    // Alt+M opens the memo pad, with or without Shift.
    for (const QKeySequence& keys : {QKeySequence(Qt::ALT | Qt::Key_M), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_M)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { state_.Post(ShowMemoPad); });
}

void TSlimForm::Run() {
    // Where the main window stood, kept on the screen.
    PlaceAtSavedPosition(this, state_.display().XY);

    for (QLineEdit* e : {static_cast<QLineEdit*>(c_->buyPrice), static_cast<QLineEdit*>(c_->shares),
                         static_cast<QLineEdit*>(c_->sellPrice)})
        e->clear();
    ClearFigures();

    c_->side = state_.handover.side == 1 ? 1 : 0;
    SideSettings s = SettingsOfSide(state_.option(), c_->side);
    s.taxType = s.taxType > 1 ? TradeMargin : TradeCash;
    SelectTradeKind(c_->tax, s.taxType);
    if (!ApplyMarginRule(c_->mini, s.taxType)) s.miniFlag = 0;
    FillTableNames(c_->table, state_.calc.tables, s.tableIndex);
    {
        const QSignalBlocker block(c_->mini.check);
        c_->mini.check->setChecked(s.miniFlag == 1);
    }
    ShowMiniChecked(c_->mini, c_->mini.check->isChecked());
    c_->mini.unit->setText(s.unit != 0 ? QString::fromStdString(ShortestText(s.unit)) : QString());
    c_->otc->setChecked(s.otcFlag == 1);

    c_->keihiSets = state_.calc.keihiSelected;
    c_->keihiSet = c_->keihiSets[c_->side];
    c_->keihi->setText(QString::fromStdString(ExpensesCaption(c_->keihiSet)));
    // The profit tax of the slim window is always that of a purchase followed by a sale.
    state_.calc.buyPageFlag = true;

    show();
    c_->buyPrice->setFocus();

    WindowHandover& h = state_.handover;
    if (h.switchToSlim) {
        h.switchToSlim = false;
        c_->buyPrice->setText(QString::fromStdString(HandoverText(h.buyPrice)));
        c_->shares->setText(QString::fromStdString(HandoverText(h.shares)));
        c_->sellPrice->setText(QString::fromStdString(HandoverText(h.sellPrice)));
        if (HandoverCalculates(h)) Calculate();
    }
}

void TSlimForm::ClearFigures() {
    for (QLineEdit* f : c_->figures) ShowFigure(f, QString(), false);
}

void TSlimForm::ShowFigure(QLineEdit* box, const QString& text, bool negative) {
    QPalette p = box->palette();
    const QColor colour = negative ? QColor(255, 0, 0) : palette().color(QPalette::WindowText);
    p.setColor(QPalette::Text, colour);
    box->setPalette(p);
    box->setText(text);
}

void TSlimForm::Calculate() {
    if (c_->calculating) return;
    c_->calculating = true;
    CalculateNow();
    c_->calculating = false;
    if (c_->closeDeferred) {
        c_->closeDeferred = false;
        close();
    }
}

void TSlimForm::CalculateNow() {
    ClearFigures();
    SlimInput in;
    in.buyPrice = c_->buyPrice->Text();
    in.shares = c_->shares->Text();
    in.sellPrice = c_->sellPrice->Text();
    in.miniInUse = MiniInUse(c_->mini);
    in.miniUnit = c_->mini.unit->text().toStdString();
    in.taxKindIndex = SelectedTradeKind(c_->tax) == TradeCash ? 0 : 1;
    in.table = c_->table->currentIndex();
    in.otc = c_->otc->isChecked();
    // The calculation takes the expense set of the side it decides on from the state.
    state_.calc.keihiSelected = c_->keihiSets;
    state_.calc.keihiSelected[c_->side] = c_->keihiSet;

    SlimOutcome out;
    {
        // The state's yield hook lets events in meanwhile; `calculating` keeps them harmless.
        const WaitCursor wait;
        out = RunSlim(state_.calc, in);
    }
    if (out.status != PageStatus::Ready) {
        state_.messages.ShowMessage(out.message);
        FocusField(this, out.focus);
        return;
    }
    if (out.NeedsConfirmation() && !ConfirmAdjustment(state_, adjust_, out.adjustments, out.adjustWrites, this)) return;
    for (const PanelFigure& f : SlimFigures(state_.calc.result, out.show))
        if (QLineEdit* box = c_->Figure(f.box)) ShowFigure(box, QString::fromStdString(f.text), f.negative);
    FocusField(this, out.focus);
}


void TSlimForm::Recalculate() {
    const bool hasPrice = !c_->buyPrice->text().trimmed().isEmpty() || !c_->sellPrice->text().trimmed().isEmpty();
    if (!c_->shares->text().trimmed().isEmpty() && hasPrice) Calculate();
}

void TSlimForm::TradeKindChanged() {
    if (c_->tax->currentIndex() < 0) return;
    SideSettings s = SettingsOfSide(state_.option(), c_->side);
    s.taxType = SelectedTradeKind(c_->tax);
    if (!ApplyMarginRule(c_->mini, s.taxType)) s.miniFlag = 0;
    Recalculate();
}

void TSlimForm::ChooseExpenses() {
    if (c_->calculating) return;
    state_.calc.keihiSelected[c_->side] = c_->keihiSet;
    RunKeihiDialog(state_, c_->side, this);
    c_->keihiSet = state_.calc.keihiSelected[c_->side];
    c_->keihiSets[c_->side] = c_->keihiSet;
    c_->keihi->setText(QString::fromStdString(ExpensesCaption(c_->keihiSet)));
    Recalculate();
}

void TSlimForm::SwitchToMain() {
    if (c_->calculating) return;
    HandOverFromSlim(state_.handover, state_.calc.buyPageFlag, c_->buyPrice->Text(), c_->shares->Text(),
                     c_->sellPrice->Text());
    if (state_.CloseMemoPadIfVisible()) state_.memoPending = true;
    state_.handover.switchToMain = true;
    close();
}

void TSlimForm::closeEvent(QCloseEvent* event) {
    // A close during a calculation waits for it, so the figures never land on a closed window.
    if (c_->calculating) {
        c_->closeDeferred = true;
        event->ignore();
        return;
    }
    state_.display().XY = FramePosition(this);
    SideSettings s = SettingsOfSide(state_.option(), c_->side);
    s.taxType = SelectedTradeKind(c_->tax);
    s.tableIndex = std::max(c_->table->currentIndex(), 0);
    s.miniFlag = c_->mini.check->isChecked() ? 1 : 0;
    s.unit = HandoverNumber(c_->mini.unit->text().toStdString());
    s.otcFlag = c_->otc->isChecked() ? 1 : 0;

    state_.calc.keihiSelected = c_->keihiSets;
    state_.keihiSide = c_->side;
    state_.calc.keihiSelected[c_->side] = c_->keihiSet;

    WindowHandover& h = state_.handover;
    if (!h.switchToMain) {
        state_.CloseMemoPadIfVisible();
        state_.memoPending = false;
        h.exitRequested = true;
    }
    QDialog::closeEvent(event);
    emit closedForGood();
}

void TSlimForm::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape must not hide the window behind the close procedure's back.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TSlimForm::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    if (type != MemoCalcBuy && type != MemoCalcSell) return QDialog::event(event);
    if (c_->calculating) return true;  // like a second press of "実行"
    const auto* memo = dynamic_cast<MemoCalcEvent*>(event);
    if (memo == nullptr) return true;
    const bool buy = type == MemoCalcBuy;
    NumericEdit* price = buy ? c_->buyPrice : c_->sellPrice;
    ClearFigures();
    (buy ? c_->sellPrice : c_->buyPrice)->clear();
    price->setText(memo->price);
    c_->shares->setText(memo->shares);
    Calculate();
    price->setFocus();
    return true;
}

}  // namespace zavota::ui
