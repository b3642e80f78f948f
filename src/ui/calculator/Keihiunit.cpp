#include "ui/calculator/Keihiunit.h"

#include <algorithm>
#include <memory>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "platform/FileIo.h"
#include "platform/Folders.h"
#include "settings/KeihiFile.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/WindowPlacement.h"
#include "ui/common/Help.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

constexpr int kHelpContext = 81;
// A set file that could not be written. (The commission-table file message would name the
// wrong files.)
constexpr int kMsgSaveFailed = 263;

const char* const kNoInput = "このページには入力できません";

struct FieldLayout {
    KeihiField field;
    FieldKind kind;
    int maxLength;  // 0: no limit
};

constexpr FieldLayout kFieldLayouts[] = {
    {KeihiField::RateK, FieldKind::Decimal, 7},
    {KeihiField::RateU, FieldKind::Decimal, 7},
    {KeihiField::DaysK, FieldKind::WholeNumber, 3},
    {KeihiField::DaysU, FieldKind::WholeNumber, 0},
    {KeihiField::Kanri, FieldKind::WholeNumber, 10},
    {KeihiField::Meigi, FieldKind::WholeNumber, 10},
    {KeihiField::Haitou, FieldKind::WholeNumber, 11},
    {KeihiField::Hibu, FieldKind::WholeNumber, 11},
    {KeihiField::Other, FieldKind::SignedWholeNumber, 11},
};

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// Enabled fields are white; disabled ones take the button face, as on the tab that holds no set.
void PaintField(QLineEdit* edit) {
    QPalette p = edit->palette();
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        p.setColor(g, QPalette::Base, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::Base, QGuiApplication::palette().color(QPalette::Button));
    edit->setPalette(p);
}

constexpr int kCommentChars = 60;

QLabel* Label(const char* text, QWidget* parent) { return new QLabel(Q(text), parent); }

}  // namespace

TfrmKeihi::TfrmKeihi(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmKeihi"));
    setWindowTitle(Q("その他経費の指定"));
    setWindowFlags(FixedDialogFlags());

    tabKeihi_ = new QTabBar(this);
    tabKeihi_->setObjectName(QStringLiteral("tabKeihi"));
    NameStrip(tabKeihi_, Q("経費の組"));
    for (const char* caption : {"経費を指定しない", "１", "２", "３", "４"}) tabKeihi_->addTab(Q(caption));
    tabKeihi_->setExpanding(false);
    tabKeihi_->setDrawBase(false);

    auto* page = new QFrame(this);
    page->setObjectName(QStringLiteral("pnlKeihi"));
    page->setFrameShape(QFrame::StyledPanel);

    const QFontMetrics digits(InputFont());
    const auto widthFor = [&digits](int chars) { return digits.horizontalAdvance(QLatin1Char('0')) * chars + 14; };

    for (const FieldLayout& f : kFieldLayouts) {
        auto* e = new NumericEdit(f.kind, &state_.messages, page, f.maxLength);
        e->setObjectName(Q(std::string(KeihiFieldControl(f.field))));
        e->setFont(InputFont());
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PaintField(e);
        edits_[static_cast<int>(f.field)] = e;
    }
    const auto edit = [this](KeihiField f) { return edits_[static_cast<int>(f)]; };
    for (KeihiField f : {KeihiField::RateK, KeihiField::RateU}) edit(f)->setFixedWidth(widthFor(7));
    for (KeihiField f : {KeihiField::DaysK, KeihiField::DaysU}) edit(f)->setFixedWidth(widthFor(4));
    const int amountWidth = widthFor(7) + widthFor(4) + 40;  // ends where the day fields end
    for (KeihiField f : {KeihiField::Kanri, KeihiField::Meigi, KeihiField::Haitou, KeihiField::Hibu, KeihiField::Other})
        edit(f)->setFixedWidth(amountWidth);

    edtComment_ = new QLineEdit(page);
    edtComment_->setObjectName(QStringLiteral("edtComment"));
    edtComment_->setFont(InputFont());
    edtComment_->setMaxLength(kCommentChars);
    PaintField(edtComment_);

    // Margin-trading expenses: label, figure, unit; the two interest rows carry the days too.
    auto* margin = new QGroupBox(Q("信用取引に関する経費"), page);
    margin->setObjectName(QStringLiteral("grpShinyou"));
    auto* mg = new QGridLayout(margin);
    mg->setHorizontalSpacing(6);
    // Each figure is named for a screen reader by its own short name, not the group's title.
    const auto named = [&](KeihiField f, const char* reader) { edit(f)->setAccessibleName(Q(reader)); };
    const auto interestRow = [&](int row, const char* caption, KeihiField rate, KeihiField days) {
        QLabel* label = Label(caption, margin);
        label->setBuddy(edit(rate));
        mg->addWidget(label, row, 0);
        mg->addWidget(edit(rate), row, 1);
        mg->addWidget(Label("% ×", margin), row, 2);
        mg->addWidget(edit(days), row, 3);
        mg->addWidget(Label("日", margin), row, 4);
    };
    interestRow(0, "信用取引金利 （買方）　　年利", KeihiField::RateK, KeihiField::DaysK);
    interestRow(1, "信用取引金利 （売方）　　年利", KeihiField::RateU, KeihiField::DaysU);
    const auto amountRow = [&](QGridLayout* g, QWidget* box, int row, const char* caption, KeihiField f) {
        QLabel* label = Label(caption, box);
        label->setBuddy(edit(f));
        g->addWidget(label, row, 0);
        g->addWidget(edit(f), row, 1, 1, 3, Qt::AlignRight);
        g->addWidget(Label("円", box), row, 4);
    };
    amountRow(mg, margin, 2, "信用取引口座　管理費", KeihiField::Kanri);
    amountRow(mg, margin, 3, "決算繰越時の名義書換料", KeihiField::Meigi);
    amountRow(mg, margin, 4, "配当調整金 合計額", KeihiField::Haitou);
    amountRow(mg, margin, 5, "逆日歩 合計額", KeihiField::Hibu);
    mg->setColumnStretch(5, 1);

    auto* other = new QGroupBox(Q("それ以外の経費"), page);
    other->setObjectName(QStringLiteral("grpOther"));
    auto* og = new QGridLayout(other);
    og->setHorizontalSpacing(6);
    amountRow(og, other, 0, "それ以外の経費", KeihiField::Other);
    og->addWidget(Label("（マイナス入力可）", other), 0, 5);
    og->setColumnStretch(6, 1);

    // The caption columns of both groups share one width so that the figures line up.
    int captionWidth = 0;
    for (QGridLayout* g : {mg, og})
        for (int r = 0; r < g->rowCount(); ++r)
            if (QLayoutItem* item = g->itemAtPosition(r, 0))
                captionWidth = std::max(captionWidth, item->sizeHint().width());
    for (QGridLayout* g : {mg, og}) g->setColumnMinimumWidth(0, captionWidth);

    named(KeihiField::RateK, "買方金利 年利");
    named(KeihiField::DaysK, "買方金利の日数");
    named(KeihiField::RateU, "売方金利 年利");
    named(KeihiField::DaysU, "売方金利の日数");
    named(KeihiField::Kanri, "管理費");
    named(KeihiField::Meigi, "名義書換料");
    named(KeihiField::Haitou, "配当調整金");
    named(KeihiField::Hibu, "逆日歩");
    named(KeihiField::Other, "それ以外の経費の金額");  // the group has the caption's words

    auto* commentRow = new QHBoxLayout;
    QLabel* commentLabel = Label("備考", page);
    NameByLabel(commentLabel, edtComment_);
    commentRow->addWidget(commentLabel);
    commentRow->addWidget(edtComment_, 1);

    btnClear_ = new QPushButton(Q("クリア"), page);
    btnClear_->setObjectName(QStringLiteral("btnClear"));
    btnSave_ = new QPushButton(Q("保存"), page);
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    auto* pageButtons = new QHBoxLayout;
    pageButtons->addStretch();
    pageButtons->addWidget(btnClear_);
    pageButtons->addWidget(btnSave_);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(10, 10, 10, 10);
    pageLayout->addWidget(margin);
    pageLayout->addWidget(other);
    pageLayout->addLayout(commentRow);
    pageLayout->addLayout(pageButtons);

    btnOk_ = new QPushButton(Q("OK"), this);
    btnOk_->setObjectName(QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(Q("キャンセル"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnHelp_ = new QPushButton(Q("ヘルプ"), this);
    btnHelp_->setObjectName(QStringLiteral("btnHelp"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    buttons->addWidget(btnHelp_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(0);
    layout->addWidget(tabKeihi_);
    layout->addWidget(page);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Only the edit boxes and the buttons take the focus, in the order the sets are applied.
    setTabOrder(tabKeihi_, edit(KeihiField::RateK));
    setTabOrder(edit(KeihiField::RateK), edit(KeihiField::DaysK));
    setTabOrder(edit(KeihiField::DaysK), edit(KeihiField::RateU));
    setTabOrder(edit(KeihiField::RateU), edit(KeihiField::DaysU));
    setTabOrder(edit(KeihiField::DaysU), edit(KeihiField::Kanri));
    setTabOrder(edit(KeihiField::Kanri), edit(KeihiField::Meigi));
    setTabOrder(edit(KeihiField::Meigi), edit(KeihiField::Haitou));
    setTabOrder(edit(KeihiField::Haitou), edit(KeihiField::Hibu));
    setTabOrder(edit(KeihiField::Hibu), edit(KeihiField::Other));
    setTabOrder(edit(KeihiField::Other), edtComment_);

    connect(tabKeihi_, &QTabBar::currentChanged, this, &TfrmKeihi::tabKeihiChange);
    connect(btnOk_, &QPushButton::clicked, this, &TfrmKeihi::btnOkClick);
    connect(btnCancel_, &QPushButton::clicked, this, &TfrmKeihi::btnCancelClick);
    connect(btnClear_, &QPushButton::clicked, this, &TfrmKeihi::btnClearClick);
    connect(btnSave_, &QPushButton::clicked, this, &TfrmKeihi::btnSaveClick);
    connect(btnHelp_, &QPushButton::clicked, this, &TfrmKeihi::btnHelpClick);

    ShowSet(0);
    adjustSize();
}

void TfrmKeihi::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        FormShow();
    }
}

void TfrmKeihi::FormShow() {
    accepted_ = false;
    PlaceDialog();
    dataFolder_ = platform::DataFolder();
    // Without the data folder there are no set files to read: the sets in memory stand, and
    // the backup and the page's tab are still taken so that "キャンセル" and "OK" keep them.
    if (platform::EnsureFolder(dataFolder_)) {
        for (int n = 1; n <= kKeihiSetCount; ++n)
            state_.calc.keihiSets[n - 1] = ReadKeihiSet(dataFolder_, n, state_.store.Mutex());
    }
    TakeBackup();

    const int side = state_.keihiSide;
    const int selected = (side == 0 || side == 1) ? state_.calc.keihiSelected[side] : 0;
    const int tab = (selected >= 0 && selected <= kKeihiSetCount) ? selected : 0;
    reverting_ = true;  // showing the first set applies nothing
    tabKeihi_->setCurrentIndex(tab);
    reverting_ = false;
    ShowSet(tab);
}

void TfrmKeihi::PlaceDialog() {
    PlaceAtSavedPosition(this, state_.display().KXY);
}

void TfrmKeihi::ShowSet(int tab) {
    shown_ = tab;
    const bool editable = tab > 0;
    KeihiTexts texts;
    if (editable) texts = KeihiSetTexts(state_.calc.keihiSets[tab - 1]);
    else texts.comment = kNoInput;
    for (const KeihiField f : kKeihiFields) {
        NumericEdit* e = edits_[static_cast<int>(f)];
        e->setEnabled(editable);
        e->ShowStored(texts[f]);
    }
    edtComment_->setEnabled(editable);
    // A longer comment from a set file is shown and kept whole, not cut to 60 characters.
    const QString comment = Q(texts.comment);
    edtComment_->setMaxLength(std::max(kCommentChars, static_cast<int>(comment.size())));
    edtComment_->setText(comment);
    btnClear_->setEnabled(editable);
    btnSave_->setEnabled(editable);
}

bool TfrmKeihi::ApplyShown() {
    if (shown_ <= 0) return true;
    KeihiTexts texts;
    for (const KeihiField f : kKeihiFields) texts[f] = edits_[static_cast<int>(f)]->Text();
    texts.comment = edtComment_->text().toStdString();
    const KeihiApplyResult result = ApplyKeihiTexts(state_.calc.keihiSets[shown_ - 1], texts);
    if (result.Ok()) return true;
    state_.messages.ShowMessage(result.message);
    NumericEdit* failed = edits_[static_cast<int>(result.field)];
    failed->setFocus();
    failed->selectAll();
    return false;
}

void TfrmKeihi::TakeBackup() {
    backup_.sets = state_.calc.keihiSets;
    backup_.selected = state_.calc.keihiSelected;
}

void TfrmKeihi::WriteAllSets() {
    for (int n = 1; n <= kKeihiSetCount; ++n) {
        if (!WriteKeihiSet(dataFolder_, n, state_.calc.keihiSets[n - 1], state_.store.Mutex())) {
            state_.messages.ShowMessage(kMsgSaveFailed);
            return;
        }
    }
}

void TfrmKeihi::tabKeihiChange(int index) {
    if (reverting_) return;
    if (!ApplyShown()) {
        reverting_ = true;
        tabKeihi_->setCurrentIndex(shown_);
        reverting_ = false;
        return;
    }
    ShowSet(index);
}

void TfrmKeihi::btnOkClick() {
    accepted_ = true;
    close();
}

void TfrmKeihi::btnCancelClick() {
    state_.calc.keihiSets = backup_.sets;
    state_.calc.keihiSelected = backup_.selected;
    cancelled_ = true;
    close();
}

void TfrmKeihi::btnClearClick() {
    for (NumericEdit* e : edits_) e->clear();
    edtComment_->clear();
}

void TfrmKeihi::btnSaveClick() {
    if (shown_ <= 0 || !ApplyShown()) return;
    if (!WriteKeihiSet(dataFolder_, shown_, state_.calc.keihiSets[shown_ - 1], state_.store.Mutex())) {
        state_.messages.ShowMessage(kMsgSaveFailed);
        return;
    }
    TakeBackup();
}

void TfrmKeihi::btnHelpClick() { OpenHelp(state_, kHelpContext, this); }

void TfrmKeihi::reject() {
    if (closing_) QDialog::reject();
    else close();
}

void TfrmKeihi::closeEvent(QCloseEvent* event) {
    if (!cancelled_ && !ApplyShown()) {
        // A refused "OK" is forgotten: a later close by the title bar must not select or write.
        accepted_ = false;
        event->ignore();
        return;
    }
    state_.display().KXY = FramePosition(this);
    if (accepted_) {
        const int side = state_.keihiSide;
        if (side == 0 || side == 1) state_.calc.keihiSelected[side] = shown_;
        WriteAllSets();
    }
    closing_ = true;
    QDialog::closeEvent(event);
    closing_ = false;
}

void RunKeihiDialog(AppState& state, int side, QWidget* parent) {
    state.keihiSide = side;
    const ModalDialogScope modal(state);
    const std::unique_ptr<TfrmKeihi> dialog = std::make_unique<TfrmKeihi>(state, parent);
    dialog->exec();
}

}  // namespace zavota::ui
