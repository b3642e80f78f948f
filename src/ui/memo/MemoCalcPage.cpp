#include "ui/memo/MemoCalcPage.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QValidator>
#include <QVBoxLayout>

#include "memo/MemoStore.h"
#include "ui/common/AppState.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/UiFonts.h"
#include "ui/memo/CheckedCellDelegate.h"

namespace zavota::ui {

namespace {

constexpr int kOperandChars = 12;
constexpr int kMemoryChars = 18;
constexpr int kMsgDigitsOnly = 229;
constexpr int kGridHeight = 10 * 22 + 11;
constexpr int kGridWidth = 150;
constexpr int kRowLabelWidth = 22;
constexpr const char* kRowSymbols[4] = {"＋", "－", "×", "÷"};
constexpr const char* kTargetCaptions[4] = {"A", "B", "M1", "M2"};

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string S(const QString& text) { return text.toStdString(); }

// The length limit of what a user types or pastes. Unlike QLineEdit's maximum length it does
// not cut texts the page writes itself: a result of 13 characters moved into A stays whole.
class TypedLength : public QValidator {
public:
    TypedLength(int chars, QObject* parent) : QValidator(parent), chars_(chars) {}
    State validate(QString& input, int&) const override { return input.size() <= chars_ ? Acceptable : Invalid; }

private:
    int chars_;
};

QPushButton* Button(const QString& name, const char* caption, QWidget* parent, int width = 0) {
    auto* b = new QPushButton(Q(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (width > 0) b->setFixedWidth(width);
    return b;
}

QLineEdit* Figure(const QString& name, const char* accessible, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    e->setFont(InputFont());
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setAccessibleName(Q(accessible));
    return e;
}

// A titled frame. The title is a label above it: the group box's own title is sized by the
// ink of its glyphs and cuts "（ メモリ ）" short at the bracket.
struct Section {
    QWidget* outer;
    QGroupBox* frame;
};
Section MakeSection(const char* title, QWidget* parent) {
    auto* outer = new QWidget(parent);
    auto* v = new QVBoxLayout(outer);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* label = new QLabel(Q(title), outer);
    v->addWidget(label);
    auto* frame = new QGroupBox(outer);
    v->addWidget(frame, 1);
    return {outer, frame};
}

// "btnCalc_R23" → {2, 3}; the family's handlers find their row and target from the name.
std::pair<int, int> Digits(const QObject* sender) {
    const QString name = sender != nullptr ? sender->objectName() : QString();
    if (name.size() < 2) return {0, 0};
    return {name.at(name.size() - 2).digitValue(), name.at(name.size() - 1).digitValue()};
}

}  // namespace

TMemoCalcPage::TMemoCalcPage(AppState& state, MemoStore& store, QWidget* parent)
    : QWidget(parent), state_(state), store_(store) {
    // A Japanese face throughout: with a fallback face the group titles lose their last glyph.
    setFont(CaptionFont());
    BuildControls();
    LayOut();
    Reset();
}

TMemoCalcPage::~TMemoCalcPage() = default;

void TMemoCalcPage::BuildControls() {
    cmbS4_ = new QComboBox(this);
    cmbS4_->setObjectName(QStringLiteral("cmbS4"));
    for (const char* d : {"0", "1", "2", "3"}) cmbS4_->addItem(Q(d));
    cmbS4_->setAccessibleName(Q("小数第何位まで求めるか"));
    roundingGroup_ = new QButtonGroup(this);
    const char* roundings[3] = {"切り捨て", "四捨五入", "切り上げ"};
    for (int i = 0; i < 3; ++i) {
        rbtnS_[i] = new QRadioButton(Q(roundings[i]), this);
        rbtnS_[i]->setObjectName(QStringLiteral("rbtnS%1").arg(i + 1));
        roundingGroup_->addButton(rbtnS_[i], i + 1);
    }

    grdCalc_ = new QTableWidget(kCalcCells, 1, this);
    grdCalc_->setObjectName(QStringLiteral("grdCalc"));
    grdCalc_->setAccessibleName(Q("平均／合計"));
    grdCalc_->horizontalHeader()->hide();
    grdCalc_->verticalHeader()->hide();
    grdCalc_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdCalc_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdCalc_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdCalc_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                              QAbstractItemView::EditKeyPressed);
    grdCalc_->setTabKeyNavigation(false);
    grdCalc_->setFont(InputFont());
    grdCalc_->setFixedSize(kGridWidth, kGridHeight);
    // Each row (height - 10 - 1) / 10 pixels, the column the width less 4: the rows fill the grid.
    const int rowHeight = (kGridHeight - 10 - 1) / 10;
    grdCalc_->verticalHeader()->setMinimumSectionSize(1);
    for (int r = 0; r < kCalcCells; ++r) {
        grdCalc_->setRowHeight(r, rowHeight);
        auto* item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdCalc_->setItem(r, 0, item);
    }
    grdCalc_->setColumnWidth(0, kGridWidth - 4);
    grdCalc_->installEventFilter(this);
    grdCalc_->setItemDelegate(new CheckedCellDelegate(
        [](int, const QString& text) -> std::optional<QString> {
            const CellCheck check = CheckCalcCell(S(text));
            return check.refused ? std::optional<QString>(Q(check.text)) : std::nullopt;
        },
        kMsgDigitsOnly, state_.messages, grdCalc_));
    connect(grdCalc_, &QTableWidget::itemChanged, this, &TMemoCalcPage::grdCalcSetEditText);
    for (int r = 0; r < kCalcCells; ++r) {
        lblPage04_[r] = new QLabel(QStringLiteral("%1").arg(r + 1, 2, 10, QLatin1Char('0')), this);
        lblPage04_[r]->setObjectName(QStringLiteral("lblPage04_%1").arg(r + 1, 2, 10, QLatin1Char('0')));
        lblPage04_[r]->setAlignment(Qt::AlignCenter);
        lblPage04_[r]->setFixedSize(kRowLabelWidth, rowHeight);
    }
    mmCalc_H_ = Figure(QStringLiteral("mmCalc_H"), "平均", this);
    mmCalc_T_ = Figure(QStringLiteral("mmCalc_T"), "合計", this);
    btnCalc01_ = Button(QStringLiteral("btnCalc01"), "計算", this);
    btnClear01_ = Button(QStringLiteral("btnClear01"), "クリア", this);
    connect(btnCalc01_, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc01Click);
    connect(btnClear01_, &QPushButton::clicked, this, &TMemoCalcPage::btnClear01Click);

    const auto operand = [this](const char* name, const char* accessible, int chars) {
        auto* e = new NumericEdit(FieldKind::SignedDecimal, &state_.messages, this, 0);
        e->setObjectName(Q(name));
        e->setValidator(new TypedLength(chars, e));
        e->setFont(InputFont());
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setAccessibleName(Q(accessible));
        return e;
    };
    edtCalc_A_ = operand("edtCalc_A", "A", kOperandChars);
    edtCalc_B_ = operand("edtCalc_B", "B", kOperandChars);
    chkPer_ = new QCheckBox(QStringLiteral("%"), this);
    chkPer_->setObjectName(QStringLiteral("chkPer"));
    btnCalc02_ = Button(QStringLiteral("btnCalc02"), "計算", this);
    btnClear02_ = Button(QStringLiteral("btnClear02"), "クリア", this);
    connect(btnCalc02_, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc02Click);
    connect(btnClear02_, &QPushButton::clicked, this, &TMemoCalcPage::btnClear02Click);
    for (int row = 0; row < 4; ++row) {
        mmCalc_R_[row] = Figure(QStringLiteral("mmCalc_R%1").arg(row + 1), kRowSymbols[row], this);
        for (int t = 0; t < 4; ++t) {
            QPushButton* b = Button(QStringLiteral("btnCalc_R%1%2").arg(row + 1).arg(t + 1), kTargetCaptions[t], this, 34);
            connect(b, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc_R11Click);
            btnCalc_R_[row][t] = b;
        }
    }
    rbtnCalc_R51_ = new QRadioButton(this);
    rbtnCalc_R51_->setObjectName(QStringLiteral("rbtnCalc_R51"));
    rbtnCalc_R52_ = new QRadioButton(this);
    rbtnCalc_R52_->setObjectName(QStringLiteral("rbtnCalc_R52"));
    auto* splitGroup = new QButtonGroup(this);
    splitGroup->addButton(rbtnCalc_R51_);
    splitGroup->addButton(rbtnCalc_R52_);
    btnCalc_R53_ = Button(QStringLiteral("btnCalc_R53"), "M1", this, 34);
    btnCalc_R54_ = Button(QStringLiteral("btnCalc_R54"), "M2", this, 34);
    connect(btnCalc_R53_, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc_R53Click);
    connect(btnCalc_R54_, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc_R53Click);

    edtCalc_M1_ = operand("edtCalc_M1", "M1", kMemoryChars);
    edtCalc_M2_ = operand("edtCalc_M2", "M2", kMemoryChars);
    for (int m = 0; m < 2; ++m) {
        for (int z = 0; z < 2; ++z) {
            QPushButton* b = Button(QStringLiteral("btnCalc_M%1%2").arg(m + 1).arg(z + 1), kTargetCaptions[z], this, 34);
            connect(b, &QPushButton::clicked, this, &TMemoCalcPage::btnCalc_M11Click);
            btnCalc_M_[m][z] = b;
        }
    }
    btnClear03_ = Button(QStringLiteral("btnClear03"), "クリア", this);
    connect(btnClear03_, &QPushButton::clicked, this, &TMemoCalcPage::btnClear03Click);

    // For a screen reader: the symbols say what they are, the transfer buttons where they send.
    constexpr const char* kResultNames[4] = {"和", "差", "積", "商"};
    for (int row = 0; row < 4; ++row) {
        mmCalc_R_[row]->setAccessibleName(Q(kResultNames[row]));
        mmCalc_R_[row]->setAccessibleDescription(Q(kRowSymbols[row]));
        for (int t = 0; t < 4; ++t)
            btnCalc_R_[row][t]->setAccessibleDescription(Q(kRowSymbols[row]) + Q(" の結果を ") + Q(kTargetCaptions[t]) +
                                                         Q(" へ"));
    }
    rbtnCalc_R51_->setAccessibleName(Q("A の割合"));
    rbtnCalc_R52_->setAccessibleName(Q("B の割合"));
    btnCalc_R53_->setAccessibleDescription(Q("選んだ割合を M1 へ"));
    btnCalc_R54_->setAccessibleDescription(Q("選んだ割合を M2 へ"));
    for (int m = 0; m < 2; ++m)
        for (int z = 0; z < 2; ++z)
            btnCalc_M_[m][z]->setAccessibleDescription(Q(kTargetCaptions[m + 2]) + Q(" を ") + Q(kTargetCaptions[z]) +
                                                       Q(" へ"));
    grdCalc_->setAccessibleName(Q("平均／合計の数"));
    NameCombo(cmbS4_, Q("小数第何位まで求めるか"));
    chkPer_->setAccessibleDescription(Q("B を百分率として計算する"));
    grdCalc_->setHorizontalHeaderItem(0, new QTableWidgetItem(Q("数値")));  // the hidden header names the column
}

void TMemoCalcPage::LayOut() {
    const QFontMetrics digits(InputFont());
    const auto widthFor = [&digits](int chars) { return digits.horizontalAdvance(QLatin1Char('0')) * chars + 14; };

    auto* setting = new QHBoxLayout;
    for (QRadioButton* r : rbtnS_) setting->addWidget(r);
    setting->addSpacing(12);
    setting->addWidget(new QLabel(Q("で 小数第"), this));
    setting->addWidget(cmbS4_);
    setting->addWidget(new QLabel(Q("位まで求める"), this));
    setting->addStretch(1);

    const Section columnSection = MakeSection("平均／合計", this);
    QGroupBox* column = columnSection.frame;
    auto* cg = new QGridLayout(column);
    auto* labels = new QVBoxLayout;
    labels->setSpacing(0);
    labels->setContentsMargins(0, grdCalc_->frameWidth(), 0, 0);
    for (QLabel* l : lblPage04_) labels->addWidget(l);
    labels->addStretch(1);
    cg->addLayout(labels, 0, 0, 6, 1);
    cg->addWidget(grdCalc_, 0, 1, 6, 1, Qt::AlignTop);
    cg->addWidget(new QLabel(Q("平均"), column), 0, 2);
    mmCalc_H_->setFixedWidth(widthFor(kMemoryChars));
    mmCalc_T_->setFixedWidth(widthFor(kMemoryChars));
    cg->addWidget(mmCalc_H_, 1, 2);
    cg->addWidget(new QLabel(Q("合計"), column), 2, 2);
    cg->addWidget(mmCalc_T_, 3, 2);
    auto* columnButtons = new QHBoxLayout;
    columnButtons->addWidget(btnCalc01_);
    columnButtons->addWidget(btnClear01_);
    cg->addLayout(columnButtons, 4, 2);
    cg->setRowStretch(5, 1);

    const Section twoSection = MakeSection("２つの数の計算", this);
    QGroupBox* two = twoSection.frame;
    auto* tg = new QGridLayout(two);
    tg->setHorizontalSpacing(4);
    const int figureWidth = widthFor(15);
    edtCalc_A_->setFixedWidth(figureWidth);
    edtCalc_B_->setFixedWidth(figureWidth);
    tg->addWidget(new QLabel(QStringLiteral("A"), two), 0, 0, Qt::AlignCenter);
    tg->addWidget(edtCalc_A_, 0, 1);
    auto* twoButtons = new QHBoxLayout;
    twoButtons->addWidget(btnCalc02_);
    twoButtons->addWidget(btnClear02_);
    tg->addLayout(twoButtons, 0, 2, 1, 4);
    tg->addWidget(new QLabel(QStringLiteral("B"), two), 1, 0, Qt::AlignCenter);
    tg->addWidget(edtCalc_B_, 1, 1);
    tg->addWidget(chkPer_, 1, 2, 1, 2);
    for (int row = 0; row < 4; ++row) {
        tg->addWidget(new QLabel(Q(kRowSymbols[row]), two), row + 2, 0, Qt::AlignCenter);
        mmCalc_R_[row]->setFixedWidth(figureWidth);
        tg->addWidget(mmCalc_R_[row], row + 2, 1);
        for (int t = 0; t < 4; ++t) tg->addWidget(btnCalc_R_[row][t], row + 2, 2 + t);
    }
    tg->addWidget(new QLabel(Q("％"), two), 6, 0, Qt::AlignCenter);
    auto* split = new QHBoxLayout;
    split->addWidget(rbtnCalc_R51_, 1);
    split->addWidget(new QLabel(Q("："), two));
    split->addWidget(rbtnCalc_R52_, 1);
    tg->addLayout(split, 6, 1, 1, 3);
    tg->addWidget(btnCalc_R53_, 6, 4);
    tg->addWidget(btnCalc_R54_, 6, 5);
    tg->setColumnStretch(6, 1);

    const Section memorySection = MakeSection("（ メモリ ）", this);
    QGroupBox* memory = memorySection.frame;
    auto* mg = new QGridLayout(memory);
    mg->setHorizontalSpacing(4);
    const std::array<NumericEdit*, 2> memories = {edtCalc_M1_, edtCalc_M2_};
    for (int m = 0; m < 2; ++m) {
        memories[m]->setFixedWidth(widthFor(kMemoryChars));
        mg->addWidget(new QLabel(QStringLiteral("M%1").arg(m + 1), memory), m, 0);
        mg->addWidget(memories[m], m, 1);
        mg->addWidget(btnCalc_M_[m][0], m, 2);
        mg->addWidget(btnCalc_M_[m][1], m, 3);
    }
    mg->addWidget(btnClear03_, 0, 4, 2, 1);
    mg->setColumnStretch(5, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(twoSection.outer);
    right->addWidget(memorySection.outer);
    right->addStretch(1);
    auto* sections = new QHBoxLayout;
    sections->addWidget(columnSection.outer, 0, Qt::AlignTop);
    sections->addLayout(right, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(setting);
    page->addLayout(sections, 1);
}

QTableWidgetItem* TMemoCalcPage::Cell(int row) const { return grdCalc_->item(row, 0); }

void TMemoCalcPage::SetCell(int row, const QString& text) {
    settingCells_ = true;
    Cell(row)->setText(text);
    settingCells_ = false;
}

CalcRounding TMemoCalcPage::Rounding() const {
    CalcRounding r;
    r.digits = std::max(cmbS4_->currentIndex(), 0);
    r.mode = rbtnS_[0]->isChecked()   ? RoundDown
             : rbtnS_[1]->isChecked() ? RoundHalfUp
             : rbtnS_[2]->isChecked() ? RoundUp
                                      : RoundNone;
    return r;
}

CalcPageValues TMemoCalcPage::Values() const {
    CalcPageValues v;
    for (int r = 0; r < kCalcCells; ++r) v.cells[r] = S(Cell(r)->text());
    v.a = edtCalc_A_->Text();
    v.b = edtCalc_B_->Text();
    v.percent = chkPer_->isChecked();
    v.m1 = edtCalc_M1_->Text();
    v.m2 = edtCalc_M2_->Text();
    v.rounding = Rounding();
    return v;
}

void TMemoCalcPage::SetValues(const CalcPageValues& v) {
    for (int r = 0; r < kCalcCells; ++r) SetCell(r, Q(v.cells[r]));
    edtCalc_A_->SetText(v.a);
    edtCalc_B_->SetText(v.b);
    chkPer_->setChecked(v.percent);
    edtCalc_M1_->SetText(v.m1);
    edtCalc_M2_->SetText(v.m2);
    const int mode = v.rounding.mode == RoundHalfUp ? 1 : v.rounding.mode == RoundUp ? 2 : 0;
    rbtnS_[mode]->setChecked(true);
    cmbS4_->setCurrentIndex(v.rounding.digits);
}

void TMemoCalcPage::Reset() {
    SetValues(CalcPageValues{});
    mmCalc_H_->clear();
    mmCalc_T_->clear();
    ClearResults();
    rbtnCalc_R51_->setChecked(true);
}

void TMemoCalcPage::ClearResults() {
    // A button must never stand beside a row that no longer shows its result.
    for (int row = 0; row < 4; ++row) {
        mmCalc_R_[row]->clear();
        EnableRow(row, false, false);
    }
    rbtnCalc_R51_->setText(QString());
    rbtnCalc_R52_->setText(QString());
    EnableSplit(false);
}

void TMemoCalcPage::Load() {
    Reset();
    std::vector<std::string> items;
    bool read = store_.open(kMemoCalculatorFileName, MemoFileKind::Ini, true);
    if (read) {
        read = store_.readCalculator(items);
        store_.close();
    }
    if (!read) {
        btnClear01Click();
        btnClear02Click();
        btnClear03Click();
        return;
    }
    SetValues(CalcValuesFromItems(items));
}

bool TMemoCalcPage::Save() {
    if (!store_.open(kMemoCalculatorFileName, MemoFileKind::Ini, false)) return false;
    const bool written = store_.writeCalculator(StoredCalcItems(Values()));
    const bool closed = store_.close();
    return written && closed;
}

void TMemoCalcPage::FocusGrid() { grdCalc_->setFocus(); }

void TMemoCalcPage::EnableRow(int row, bool operands, bool memories) {
    for (int t = 0; t < 4; ++t) btnCalc_R_[row][t]->setEnabled(t < 2 ? operands : memories);
}

void TMemoCalcPage::EnableSplit(bool enabled) {
    btnCalc_R53_->setEnabled(enabled);
    btnCalc_R54_->setEnabled(enabled);
}

NumericEdit* TMemoCalcPage::Target(int target) const {
    switch (target) {
        case 1: return edtCalc_A_;
        case 2: return edtCalc_B_;
        case 3: return edtCalc_M1_;
        case 4: return edtCalc_M2_;
        default: return nullptr;
    }
}

void TMemoCalcPage::btnCalc01Click() {
    mmCalc_H_->clear();
    mmCalc_T_->clear();
    std::array<std::string, kCalcCells> cells;
    for (int r = 0; r < kCalcCells; ++r) cells[r] = S(Cell(r)->text());
    const ColumnResult result = AverageAndTotal(cells, Rounding());
    for (int r = 0; r < kCalcCells; ++r)
        if (result.emptied[r]) SetCell(r, QString());
    if (result.message != 0) {
        state_.messages.ShowMessage(result.message);
        grdCalc_->setCurrentCell(result.row, 0);
        grdCalc_->setFocus();
        return;
    }
    mmCalc_H_->setText(Q(result.average));
    mmCalc_T_->setText(Q(result.total));
}

void TMemoCalcPage::btnClear01Click() {
    for (int r = 0; r < kCalcCells; ++r) SetCell(r, QString());
    mmCalc_H_->clear();
    mmCalc_T_->clear();
    grdCalc_->setFocus();
}

void TMemoCalcPage::btnCalc02Click() {
    ClearResults();
    const TwoNumberResult result = TwoNumbers(edtCalc_A_->Text(), edtCalc_B_->Text(), chkPer_->isChecked(), Rounding());
    if (result.message != 0) {
        state_.messages.ShowMessage(result.message);
        Target(result.focus)->setFocus();
        return;
    }
    for (int row = 0; row < 4; ++row) {
        mmCalc_R_[row]->setText(Q(result.rows[row].text));
        EnableRow(row, result.rows[row].toOperands, result.rows[row].toMemories);
    }
    rbtnCalc_R51_->setText(Q(result.split[0]));
    rbtnCalc_R52_->setText(Q(result.split[1]));
    EnableSplit(result.splitToMemories);
}

void TMemoCalcPage::btnClear02Click() {
    edtCalc_A_->clear();
    edtCalc_B_->clear();
    chkPer_->setChecked(false);
    ClearResults();
    rbtnCalc_R51_->setChecked(true);
    edtCalc_A_->setFocus();
}

void TMemoCalcPage::btnClear03Click() {
    edtCalc_M1_->clear();
    edtCalc_M2_->clear();
}

void TMemoCalcPage::btnCalc_R11Click() {
    const auto [row, target] = Digits(sender());
    NumericEdit* field = Target(target);
    if (row < 1 || row > 4 || field == nullptr) return;
    const std::string text = ResultForField(S(mmCalc_R_[row - 1]->text()), Rounding());
    if (!text.empty()) field->SetText(text);
}

void TMemoCalcPage::btnCalc_R53Click() {
    const auto [row, target] = Digits(sender());
    NumericEdit* memory = Target(target);
    if (row != 5 || (target != 3 && target != 4)) return;
    const QRadioButton* chosen = rbtnCalc_R52_->isChecked() ? rbtnCalc_R52_ : rbtnCalc_R51_;
    memory->SetText(SplitForMemory(S(chosen->text())));
}

void TMemoCalcPage::btnCalc_M11Click() {
    const auto [m, z] = Digits(sender());
    if (m < 1 || m > 2 || z < 1 || z > 2) return;
    NumericEdit* memory = Target(m + 2);
    const MemoryTransfer transfer = MemoryForOperand(memory->Text());
    if (transfer.message != 0) {
        state_.messages.ShowMessage(transfer.message);
        memory->setFocus();
        return;
    }
    Target(z)->SetText(transfer.text);
}

void TMemoCalcPage::grdCalcSetEditText(QTableWidgetItem* item) {
    if (settingCells_ || item == nullptr) return;
    const CellCheck check = CheckCalcCell(S(item->text()));
    if (!check.refused) return;
    SetCell(item->row(), Q(check.text));
    state_.messages.ShowMessage(kMsgDigitsOnly);
}

bool TMemoCalcPage::eventFilter(QObject* watched, QEvent* event) {
    // Keys reach the grid itself only while no cell is being edited (the editor takes them).
    if (watched == grdCalc_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (QTableWidgetItem* item = grdCalc_->currentItem()) SetCell(item->row(), QString());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zavota::ui
