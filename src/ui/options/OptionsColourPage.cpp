#include "ui/options/OptionsColourPage.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>
#include <QVBoxLayout>

#include "ui/common/AppState.h"
#include "ui/common/StoredColour.h"

namespace zavota::ui {

namespace {

struct PanelLook {
    Colour colour;
    const char* name;
    const char* caption;
    // For a text colour: the background it is drawn on; the colour itself otherwise.
    Colour background;
    bool text;
};

constexpr std::array<PanelLook, kColourCount> kPanels{{
    {Colour::KaiPanel, "pnlKaiPanel", "「買値から計算」のパネル", Colour::KaiPanel, false},
    {Colour::KaiPanelChar, "pnlKaiPanelChar", "「買値から計算」のパネル内の文字", Colour::KaiPanel, true},
    {Colour::UriPanel, "pnlUriPanel", "「売値から計算」のパネル", Colour::UriPanel, false},
    {Colour::UriPanelChar, "pnlUriPanelChar", "「売値から計算」のパネル内の文字", Colour::UriPanel, true},
    {Colour::KaiResult, "pnlKaiResult", "買い計算結果の背景", Colour::KaiResult, false},
    {Colour::UriResult, "pnlUriResult", "売り計算結果の背景", Colour::UriResult, false},
    {Colour::GetResult, "pnlGetResult", "利益計算結果の背景", Colour::GetResult, false},
    {Colour::ResultChar, "pnlResultChar", "計算結果の文字", Colour::GetResult, true},
    {Colour::ResultLine, "pnlResultLine", "計算結果の罫線", Colour::GetResult, false},
    {Colour::Marker, "pnlMarker", "計算結果のマーカー", Colour::Marker, false},
    {Colour::MarkerChar, "pnlMarkerChar", "計算結果のマーカー内の文字", Colour::Marker, true},
    {Colour::MinusChar, "pnlMinusChar", "計算結果のマイナス時の文字", Colour::GetResult, true},
    {Colour::MemoPanel, "pnlMemo", "メモパッドのパネル", Colour::MemoPanel, false},
}};

// A colour panel the keyboard reaches too: a button drawn as a sunken panel in its colour,
// with the sample text for a text colour.
class Swatch : public QPushButton {
public:
    Swatch(const QString& sample, QWidget* parent) : QPushButton(parent), sample_(sample) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect panel = rect().adjusted(2, 2, -2, -2);
        qDrawShadePanel(&p, panel, palette(), true, 1);
        p.fillRect(panel.adjusted(1, 1, -1, -1), palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(panel, Qt::AlignCenter, sample_);
        if (hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    QString sample_;
};

void Paint(QWidget* w, QColor background, QColor text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

OptionsColourPage::OptionsColourPage(AppState& state, OptionsHost& host, QWidget* parent)
    : OptionsPage(parent), state_(state), host_(host) {
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(6);
    for (std::size_t i = 0; i < kPanels.size(); ++i) {
        const PanelLook& s = kPanels[i];
        auto* panel = new Swatch(s.text ? QStringLiteral("abc") : QString(), this);
        panel->setObjectName(QString::fromUtf8(s.name));
        panel->setFixedSize(52, 24);
        panel->setCursor(Qt::PointingHandCursor);
        panel->setAutoDefault(false);
        panel->setAccessibleName(QString::fromUtf8(s.caption));
        panel->setAccessibleDescription(QStringLiteral("色を選ぶ"));
        connect(panel, &QPushButton::clicked, this, [this, i] { Choose(static_cast<int>(kPanels[i].colour)); });
        panels_[static_cast<std::size_t>(s.colour)] = panel;
        auto* label = new QLabel(QString::fromUtf8(s.caption), this);
        label->setBuddy(panel);
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(panel, static_cast<int>(i), 1);
    }
    // Room on the right, so that the page's edge never cuts a panel.
    grid->setColumnStretch(2, 1);
    // The rule colour is shown as a line on the profit block's background.
    QWidget* line = panels_[static_cast<std::size_t>(Colour::ResultLine)];
    shapeLine_ = new QWidget(line);
    shapeLine_->setObjectName(QStringLiteral("ShapeLine"));
    shapeLine_->setGeometry(6, 11, 40, 2);
    shapeLine_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* reset = new QPushButton(QStringLiteral("初期値に戻す"), this);
    reset->setObjectName(QStringLiteral("btnReset_C"));
    reset->setMinimumWidth(reset->fontMetrics().horizontalAdvance(reset->text()) + 24);
    connect(reset, &QPushButton::clicked, this, [this] {
        state_.display().ResetColours();
        ColoursChanged(true);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(grid);
    layout->addWidget(reset, 0, Qt::AlignRight);
    layout->addStretch();
}

void OptionsColourPage::ShowPage() { Preview(); }

void OptionsColourPage::Preview() {
    const DisplaySettings& d = state_.display();
    for (const PanelLook& s : kPanels) {
        const QColor own = FromStoredColour(d[s.colour]);
        const QColor background = FromStoredColour(d[s.background]);
        Paint(panels_[static_cast<std::size_t>(s.colour)], background, s.text ? own : background);
    }
    Paint(shapeLine_, FromStoredColour(d[Colour::ResultLine]), {});
}

void OptionsColourPage::Choose(int index) {
    const auto colour = static_cast<Colour>(index);
    QColor chosen;
    {
        ModalDialogScope scope(state_);
        chosen = state_.choosers.chooseColour(this, FromStoredColour(state_.display()[colour]));
    }
    if (!chosen.isValid()) return;
    state_.display()[colour] = ToStoredColour(chosen);
    ColoursChanged(colour == Colour::ResultChar || colour == Colour::ResultLine || colour == Colour::MemoPanel);
}

void OptionsColourPage::ColoursChanged(bool memoPad) {
    Preview();
    host_.ApplyColours();
    if (memoPad) state_.RepaintMemoPadIfVisible();
}

bool OptionsColourPage::Commit(bool /*forGood*/) {
    state_.Saved(state_.store.SaveColours());
    return true;
}

}  // namespace zavota::ui
