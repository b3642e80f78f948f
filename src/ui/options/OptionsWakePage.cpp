#include "ui/options/OptionsWakePage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/NumberText.h"
#include "ui/common/AppState.h"
#include "ui/common/ReaderNames.h"
#include "ui/common/TextLimit.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

constexpr int kMsgBadInput = 200;

QRadioButton* Radio(const char* name, const char* caption, QWidget* parent) {
    auto* r = new QRadioButton(QString::fromUtf8(caption), parent);
    r->setObjectName(QString::fromUtf8(name));
    return r;
}

}  // namespace

OptionsWakePage::OptionsWakePage(AppState& state, OptionsHost& host, QWidget* parent)
    : OptionsPage(parent), state_(state), host_(host) {
    auto* window = new QGroupBox(QStringLiteral("起動時の画面"), this);
    defaultShow0_ = Radio("rdbDefaultShow0", "通常", window);
    defaultShow1_ = Radio("rdbDefaultShow1", "スリム", window);
    auto* windowRow = new QHBoxLayout(window);
    windowRow->addWidget(defaultShow0_);
    windowRow->addWidget(defaultShow1_);
    windowRow->addStretch();

    memo_ = new QCheckBox(QStringLiteral("起動時にメモパッドを自動表示する"), this);
    memo_->setObjectName(QStringLiteral("chkMemo"));

    auto* motto = new QGroupBox(QStringLiteral("標語の設定"), this);
    wordShow1_ = Radio("rdbWordShow1", "あり", motto);
    wordShow0_ = Radio("rdbWordShow0", "なし", motto);
    // Two groups of radio buttons on one page must not exclude each other.
    auto* showGroup = new QButtonGroup(motto);
    showGroup->addButton(wordShow1_);
    showGroup->addButton(wordShow0_);
    connect(wordShow1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) WordShowChosen(true);
    });
    connect(wordShow0_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) WordShowChosen(false);
    });
    font_ = new QComboBox(motto);
    font_->setObjectName(QStringLiteral("cmbFont"));
    font_->setMaxVisibleItems(16);
    font_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    font_->setMinimumContentsLength(10);
    connect(font_, &QComboBox::currentIndexChanged, this, &OptionsWakePage::FontChosen);
    word_ = new QLineEdit(motto);
    word_->setObjectName(QStringLiteral("edtWord"));
    word_->setAccessibleName(QStringLiteral("標語"));
    wordKeeper_ = new Cp932Keeper(word_, kMottoBytes, state_.messages);
    wordYearGain_ = new QCheckBox(QStringLiteral("標語の部分に年間利益額を表示する"), motto);
    wordYearGain_->setObjectName(QStringLiteral("chkWordYearGain"));
    connect(wordYearGain_, &QCheckBox::clicked, this, &OptionsWakePage::WordYearGainClicked);

    auto* showRow = new QHBoxLayout;
    showRow->addWidget(new QLabel(QStringLiteral("標語の表示"), motto));
    showRow->addWidget(wordShow1_);
    showRow->addWidget(wordShow0_);
    showRow->addStretch();
    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("使用フォント"), motto);
    NameByLabel(fontLabel, font_);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(font_, 1);
    auto* mottoLayout = new QVBoxLayout(motto);
    mottoLayout->addLayout(showRow);
    mottoLayout->addLayout(fontRow);
    mottoLayout->addWidget(word_);
    mottoLayout->addWidget(wordYearGain_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(window);
    layout->addWidget(memo_);
    layout->addWidget(motto);
    layout->addStretch();
}

void OptionsWakePage::ShowPage() {
    const OptionSettings& o = state_.option();
    (o.DefaultShow != 0 ? defaultShow1_ : defaultShow0_)->setChecked(true);
    memo_->setChecked(o.ShowMemo != 0);
    const bool shown = o.WordShow != 0;
    (shown ? wordShow1_ : wordShow0_)->setChecked(true);
    WordShowChosen(shown);
    if (shown) {
        wordYearGain_->setChecked(o.WordYearGain == 1);
        WordYearGainClicked(wordYearGain_->isChecked());
    }
    word_->setText(QString::fromStdString(o.Word));
    word_->setCursorPosition(0);
    word_->deselect();
    FillFonts();
}

void OptionsWakePage::FillFonts() {
    const QString stored = QString::fromStdString(state_.option().FontName);
    {
        const QSignalBlocker block(font_);
        font_->clear();
        font_->addItems(QFontDatabase::families());
        int index = font_->findText(stored);
        // The stored default names a Windows face; the windows draw it in the fixed-pitch
        // Japanese face that stands in for it.
        if (index < 0 && stored == QString::fromUtf8(kDefaultFontName)) index = font_->findText(FixedJapaneseFamily());
        font_->setCurrentIndex(index >= 0 ? index : 0);
    }
    FontChosen();
}

void OptionsWakePage::FontChosen() {
    if (font_->currentIndex() < 0 && font_->count() > 0) {
        const QSignalBlocker block(font_);
        font_->setCurrentIndex(0);
    }
    word_->setFont(NamedFont(font_->currentText(), 13));
}

void OptionsWakePage::WordShowChosen(bool shown) {
    font_->setEnabled(shown);
    wordYearGain_->setEnabled(shown);
    word_->setEnabled(shown && !wordYearGain_->isChecked());
}

void OptionsWakePage::WordYearGainClicked(bool checked) {
    state_.option().WordYearGain = checked ? 1 : 0;
    word_->setEnabled(!checked && wordShow1_->isChecked());
    host_.ApplyMotto();
}

bool OptionsWakePage::Commit(bool /*forGood*/) {
    // A stored motto is shown whole; one the user can edit is refused until it fits, never
    // cut. While the field is off, the stored text stays as it came.
    if (word_->isEnabledTo(this) && !wordKeeper_->Fits()) {
        state_.messages.ShowMessage(kMsgBadInput);
        word_->setFocus();
        return false;
    }
    OptionSettings& o = state_.option();
    o.DefaultShow = defaultShow0_->isChecked() ? 0 : 1;
    o.ShowMemo = memo_->isChecked() ? 1 : 0;
    o.WordShow = wordShow0_->isChecked() ? 0 : 1;
    o.Word = std::string(TrimAscii(word_->text().toStdString()));
    o.WordYearGain = wordYearGain_->isChecked() ? 1 : 0;
    if (font_->currentIndex() < 0 && font_->count() > 0) font_->setCurrentIndex(0);
    o.FontName = font_->currentText().toStdString();
    state_.Saved(state_.store.SaveStartupOptions());
    host_.ApplyMotto();
    return true;
}

}  // namespace zavota::ui
