#include "ui/options/OptionsMarginPage.h"

#include <algorithm>

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "settings/MarginTableFile.h"
#include "ui/common/WaitCursor.h"
#include "ui/common/AppState.h"
#include "ui/options/Marginunit.h"

namespace zavota::ui {

namespace {

constexpr int kMsgTooMany = 110;
constexpr int kMsgLastTable = 111;
constexpr int kMsgImportFailed = 291;
constexpr int kMsgExportFailed = 292;
constexpr int kMsgNotATable = 293;
constexpr int kAskWithText = 2;

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

}  // namespace

OptionsMarginPage::OptionsMarginPage(AppState& state, OptionsHost& host, QWidget* parent)
    : OptionsPage(parent), state_(state), host_(host) {
    auto* heading = new QLabel(QStringLiteral("現在登録されている手数料テーブル"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstTables"));
    list_->setAccessibleName(heading->text());
    heading->setBuddy(list_);
    // A mouse click moves the current row before it selects it: the buttons follow the
    // selection too, or a click would leave them off.
    connect(list_, &QListWidget::currentRowChanged, this, &OptionsMarginPage::UpdateButtons);
    connect(list_, &QListWidget::itemSelectionChanged, this, &OptionsMarginPage::UpdateButtons);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (change_->isEnabled()) Change();
    });

    up_ = Button("btnUp", "▲", this);
    down_ = Button("btnDown", "▼", this);
    up_->setAccessibleName(QStringLiteral("上へ"));
    down_->setAccessibleName(QStringLiteral("下へ"));
    for (QPushButton* b : {up_, down_}) b->setFixedSize(28, 28);
    connect(up_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { Move(1); });

    max_ = new QLabel(QStringLiteral("登録できるテーブルは最大１５個までです"), this);
    max_->setObjectName(QStringLiteral("lblMax"));
    max_->setStyleSheet(QStringLiteral("color: #c00000;"));

    copyNew_ = Button("btnCopyNew", "コピーして新規", this);
    new_ = Button("btnNew", "新規作成", this);
    change_ = Button("btnChange", "修正／名前変更", this);
    delete_ = Button("btnDelete", "削除", this);
    out_ = Button("btnOut_M", "ファイルへ出力", this);
    in_ = Button("btnIn_M", "ファイルから入力", this);
    connect(copyNew_, &QPushButton::clicked, this, [this] { New(true); });
    connect(new_, &QPushButton::clicked, this, [this] { New(false); });
    connect(change_, &QPushButton::clicked, this, &OptionsMarginPage::Change);
    connect(delete_, &QPushButton::clicked, this, &OptionsMarginPage::Delete);
    connect(out_, &QPushButton::clicked, this, &OptionsMarginPage::Export);
    connect(in_, &QPushButton::clicked, this, &OptionsMarginPage::Import);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    arrows->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_, 1);
    listRow->addLayout(arrows);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(copyNew_, 0, 0);
    buttons->addWidget(new_, 0, 1);
    buttons->addWidget(change_, 1, 0);
    buttons->addWidget(delete_, 1, 1);
    buttons->addWidget(out_, 2, 0);
    buttons->addWidget(in_, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(heading);
    layout->addLayout(listRow, 1);
    layout->addWidget(max_);
    layout->addLayout(buttons);
}

int OptionsMarginPage::Count() const { return state_.calc.tables.UsedCount(); }

void OptionsMarginPage::ShowPage() {
    position_ = 0;
    mode_ = 0;
    changed_ = false;
    FillList();
}

void OptionsMarginPage::FillList() {
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& name : state_.calc.tables.UsedNames()) list_->addItem(QString::fromStdString(name));
        if (position_ >= 0 && position_ < list_->count()) list_->setCurrentRow(position_);
    }
    UpdateButtons();
}

void OptionsMarginPage::UpdateButtons() {
    const int count = list_->count();
    const bool full = count > kMaxTables - 1;
    for (QPushButton* b : {new_, copyNew_, in_}) b->setEnabled(!full);
    max_->setVisible(full);
    const int row = list_->currentRow();
    const bool selected = row >= 0 && list_->item(row)->isSelected();
    if (!selected) {
        for (QPushButton* b : {copyNew_, change_, delete_, down_, up_, out_}) b->setEnabled(false);
        return;
    }
    for (QPushButton* b : {change_, delete_, out_}) b->setEnabled(count > 0);
    down_->setEnabled(count > 1 && row < count - 1);
    up_->setEnabled(count > 1 && row > 0);
}

void OptionsMarginPage::TablesWritten() {
    state_.Saved(state_.store.SaveCommissionTables());
    changed_ = true;
}

void OptionsMarginPage::Move(int offset) {
    const int row = list_->currentRow();
    const int to = row + offset;
    if (row < 0 || !state_.calc.tables.Swap(row, to)) return;
    TablesWritten();
    position_ = to;
    FillList();
}

void OptionsMarginPage::Delete() {
    const int row = list_->currentRow();
    const int count = Count();
    if (row < 0 || row >= count) return;
    if (count == 1) {
        state_.messages.ShowMessage(kMsgLastTable);
        return;
    }
    const std::string question = "「" + state_.calc.tables.Used(row)->Name + "」を削除してよろしいですか？";
    if (state_.messages.AskConfirm(kAskWithText, question, true) != MessageAnswer::Ok) return;
    if (!state_.calc.tables.Remove(row)) return;
    TablesWritten();
    position_ = row == count - 1 ? row - 1 : row;
    FillList();
}

void OptionsMarginPage::New(bool copy) {
    MarginTableSet& set = state_.calc.tables;
    if (Count() >= kMaxTables) {
        state_.messages.ShowMessage(kMsgTooMany);
        return;
    }
    const int slot = copy ? set.AddCopy(list_->currentRow()) : set.AddNew();
    if (slot < 0) return;
    position_ = slot;
    mode_ = 1;
    OpenEditor();
}

void OptionsMarginPage::Change() {
    const int row = list_->currentRow();
    if (row < 0 || row >= Count()) return;
    position_ = row;
    mode_ = 2;
    OpenEditor();
}

void OptionsMarginPage::OpenEditor() {
    {
        ModalDialogScope scope(state_);
        TfrmMargin editor(state_, position_, mode_, this);
        editor.exec();
        position_ = editor.Position();
        if (editor.TablesChanged()) changed_ = true;
    }
    host_.RefreshTableLists();
    FillList();
}

void OptionsMarginPage::RememberFolder(const QString& file) {
    QString folder = QFileInfo(file).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    state_.option().MarginPath = folder.toStdString();
}

void OptionsMarginPage::Export() {
    const int row = list_->currentRow();
    if (row < 0 || row >= Count()) return;
    const MarginTable& table = *state_.calc.tables.Used(row);
    QString file;
    {
        ModalDialogScope scope(state_);
        file = state_.choosers.saveTableFile(this, QString::fromStdString(state_.option().MarginPath),
                                             QString::fromStdString(table.Name));
    }
    if (file.isEmpty()) return;
    RememberFolder(file);
    bool written = false;
    {
        const WaitCursor wait;
        written = ExportMarginTable(table, file.toStdString(), state_.store.Mutex());
    }
    if (!written) state_.messages.ShowMessage(kMsgExportFailed);
}

void OptionsMarginPage::Import() {
    if (Count() >= kMaxTables) return;
    QString file;
    {
        ModalDialogScope scope(state_);
        file = state_.choosers.openTableFile(this, QString::fromStdString(state_.option().MarginPath));
    }
    if (file.isEmpty()) return;
    RememberFolder(file);
    MarginTableSet& set = state_.calc.tables;
    const int slot = set.AddNew();
    if (slot < 0) return;
    ImportResult result = ImportUnreadable;
    {
        const WaitCursor wait;
        result = ImportMarginTable(file.toStdString(), set.Slot(slot), state_.store.Mutex());
    }
    if (result != ImportDone) {
        set.Remove(slot);
        state_.messages.ShowMessage(result == ImportNotATable ? kMsgNotATable : kMsgImportFailed);
        return;
    }
    position_ = slot;
    mode_ = 1;
    OpenEditor();
}

bool OptionsMarginPage::Commit(bool /*forGood*/) {
    if (!changed_) return true;
    OptionSettings& o = state_.option();
    const int position = std::max(position_, 0);
    o.MarginIndexK = o.MarginIndexU = position;
    if (o.TwoFlag == 1) o.MarginIndex2K = o.MarginIndex2U = position;
    host_.RefreshTableLists();
    return true;
}

}  // namespace zavota::ui
