#include "ui/memo/MemoFreePage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "memo/MemoPages.h"
#include "ui/common/ReaderNames.h"

namespace zavota::ui {

namespace {

constexpr int kDefaultFontIndex = 1;

}  // namespace

TMemoFreePage::TMemoFreePage(AppState& state, MemoStore& store, QWidget* parent)
    : QWidget(parent), state_(state), store_(store) {
    setObjectName(QStringLiteral("pnlMemo03"));
    MakePageTitle(this, "03", cmbTitle_, lblPage_);
    cmbFont_ = new QComboBox(this);
    cmbFont_->setObjectName(QStringLiteral("cmbFont"));
    for (int size = 8; size <= 14; ++size) cmbFont_->addItem(QString::number(size));
    auto* fontCaption = new QLabel(Q("表示するフォントの大きさ"), this);
    NameByLabel(fontCaption, cmbFont_);

    redtMemo_ = new QPlainTextEdit(this);
    redtMemo_->setObjectName(QStringLiteral("redtMemo"));
    redtMemo_->setAccessibleName(Q("メモ"));
    redtMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    redtMemo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redtMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    redtMemo_->setTabChangesFocus(false);
    redtMemo_->setContextMenuPolicy(Qt::CustomContextMenu);

    popText_ = new QMenu(this);
    popText_->setObjectName(QStringLiteral("popText"));
    auto add = [this](const char* name, const char* caption, auto act) {
        QAction* a = popText_->addAction(Q(caption));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, act);
        return a;
    };
    add("popSelectAll", "全選択", [this] { redtMemo_->selectAll(); });
    popCut_ = add("popTextCut", "切り取り", [this] { redtMemo_->cut(); });
    popCopy_ = add("popTextCopy", "ｺﾋﾟｰ", [this] { redtMemo_->copy(); });
    popPaste_ = add("popTextPaste", "貼り付け", [this] { redtMemo_->paste(); });
    popText_->addSeparator();
    add("popReload", "再読み込み", [this] { emit reloadRequested(); });
    add("popClear", "ﾍﾟｰｼﾞ ｸﾘｱ", [this] { emit clearRequested(); });

    btnEnd_ = new QPushButton(Q("閉じる"), this);
    btnEnd_->setObjectName(QStringLiteral("btnEnd_03"));

    auto* top = new QHBoxLayout;
    top->addWidget(cmbTitle_);
    top->addWidget(lblPage_);
    top->addStretch();
    top->addWidget(fontCaption);
    top->addWidget(cmbFont_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnEnd_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(redtMemo_, 1);
    layout->addLayout(buttons);

    connect(cmbFont_, &QComboBox::currentIndexChanged, this, &TMemoFreePage::cmbFontChange);
    connect(redtMemo_, &QWidget::customContextMenuRequested, this, &TMemoFreePage::popTextPopup);
    SetFontIndex(kDefaultFontIndex);
}

void TMemoFreePage::ApplyColours(const DisplaySettings& colours) { PaintMemoPanel(this, colours); }

bool TMemoFreePage::HasContent() const { return !redtMemo_->toPlainText().isEmpty(); }

void TMemoFreePage::ClearPage() { redtMemo_->clear(); }

bool TMemoFreePage::LoadPage(int number) {
    const std::optional<std::string> text = LoadFreePage(store_, number);
    if (!text) return false;
    redtMemo_->setPlainText(Q(*text));
    return true;
}

bool TMemoFreePage::SavePage(const MemoPageEntry& entry) {
    return SaveFreePage(store_, entry, FontIndex(), redtMemo_->toPlainText().toStdString());
}

void TMemoFreePage::FocusPage() { redtMemo_->setFocus(); }

void TMemoFreePage::SetFontIndex(int index) {
    cmbFont_->setCurrentIndex(index >= 0 && index < cmbFont_->count() ? index : kDefaultFontIndex);
    cmbFontChange();
}

int TMemoFreePage::FontIndex() const {
    return cmbFont_->currentIndex() >= 0 ? cmbFont_->currentIndex() : kDefaultFontIndex;
}

void TMemoFreePage::cmbFontChange() {
    if (cmbFont_->currentIndex() < 0) cmbFont_->setCurrentIndex(0);
    QFont font = redtMemo_->font();
    font.setPointSize(cmbFont_->currentText().toInt());
    redtMemo_->setFont(font);
}

void TMemoFreePage::popTextPopup(const QPoint& at) {
    const bool selected = redtMemo_->textCursor().hasSelection();
    popCut_->setEnabled(selected);
    popCopy_->setEnabled(selected);
    popPaste_->setEnabled(!QApplication::clipboard()->text().isEmpty());
    popText_->popup(redtMemo_->mapToGlobal(at));
}

}  // namespace zavota::ui
