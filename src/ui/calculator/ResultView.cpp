#include "ui/calculator/ResultView.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>

#include "core/ResultPanel.h"
#include "ui/common/NumericEdit.h"
#include "ui/common/StoredColour.h"
#include "ui/common/UiFonts.h"

namespace zavota::ui {

namespace {

constexpr int kWidth = 242;
constexpr int kEdge = 1;          // the raised edge around each block
constexpr int kRowHeight = 20;
constexpr int kButtonRowHeight = 24;
constexpr int kCaptionLeft = 5;   // from the block's left edge
constexpr int kFigureRight = 4;   // space between a figure and the block's right edge
constexpr int kFigurePadding = 3; // inside a figure box, left and right

enum BlockId { BuyBlock, SellBlock, ProfitBlock };
constexpr std::array<Colour, 3> kBackgrounds = {Colour::KaiResult, Colour::UriResult, Colour::GetResult};

struct RowDef {
    const char* label;  // nullptr: the row's caption is the "その他経費" button
    const char* box;
    int length;         // characters of the longest figure the box takes
};

struct BlockDef {
    const char* panel;
    const char* reader;  // the block's name for a screen reader
    const char* side;    // after each figure's name, since the buy and sell blocks share captions
    const char* rulePrefix;
    const char* ruleSuffix;
    std::vector<RowDef> rows;
};

const std::array<BlockDef, 3>& Blocks() {
    static const std::array<BlockDef, 3> blocks = {{
        {"pnlKai", "買い計算結果", "（買い）", "Shape", "_K",
         {{"lblGaku_K", "mmGaku_K", 11},
          {"lblNum_K", "mmNum_K", 10},
          {"lblYaku_K", "mmYaku_K", 17},
          {"lblMargin_K", "mmMargin_K", 10},
          {"lblSZei_K", "mmSZei_K", 10},
          {"lblTotal_K", "mmTotal_K", 17},
          {"lblPay_K", "mmPay_K", 11}}},
        {"pnlUri", "売り計算結果", "（売り）", "Shape", "_U",
         {{"lblGaku_U", "mmGaku_U", 11},
          {"lblNum_U", "mmNum_U", 10},
          {"lblYaku_U", "mmYaku_U", 17},
          {"lblMargin_U", "mmMargin_U", 10},
          {"lblSZei_U", "mmSZei_U", 10},
          {"lblJZei_U", "mmJZei_U", 10},
          {"lblTotal_U", "mmTotal_U", 17},
          {"lblPay_U", "mmPay_U", 11}}},
        {"pnlResult", "利益計算結果", "", "Shape", "_R",
         {{"lblResult_M", "mmResult_M", 18},
          {nullptr, "mmResult_Keihi", 10},
          {"lblResult_Z", "mmResult_Tax", 10},
          {"lblResult_Last", "mmResult_Last", 18},
          {"lblResult_R", "mmResult_R", 18}}},
    }};
    return blocks;
}

// The captions as the calculation names its figures, by box.
std::map<std::string, std::string> Captions() {
    std::map<std::string, std::string> captions;
    for (const PanelFigure& f : PanelFigures(TradeResult{}, PanelSide::All, Page::Buy, 1)) captions[f.box] = f.caption;
    return captions;
}

QString Name(const char* name) { return QString::fromUtf8(name); }

// "－）利益に対する課税" is read "利益に対する課税", "その他経費 1" "その他経費".
QString ReaderCaption(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    const qsizetype sign = text.indexOf(QChar(0xFF09));  // the full-width ")" after "－", "＋", "×"
    if (sign >= 0 && sign <= 2) text = text.mid(sign + 1);
    text.remove(QRegularExpression(QStringLiteral("[\\s\\d]+$")));
    text = text.remove(QChar(0x3000)).trimmed();
    // The sell side's further deduction has only stars for a caption.
    if (text.count(QChar(0xFF0A)) == text.size()) return QStringLiteral("その他の控除");
    return text;
}

QFont Weighted(QFont font, bool bold) {
    font.setBold(bold);
    return font;
}

// A read-only, borderless, right-aligned figure that Tab skips. The buy commission has the
// whole-number key filter for manual entry; the other figures are checked when used.
QLineEdit* MakeFigureBox(const char* name, const QFont& font, QWidget* panel) {
    const bool filtered = std::string_view(name) == kManualBoxes[ManualBuyCommission];
    QLineEdit* box = filtered ? new NumericEdit(FieldKind::WholeNumber, nullptr, panel, 0) : new QLineEdit(panel);
    box->setObjectName(Name(name));
    box->setFont(font);
    box->setFrame(false);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

// A block of rows on its colour, with a raised edge.
class BlockPanel : public QWidget {
public:
    using QWidget::QWidget;
    void SetColour(const QColor& colour) {
        colour_ = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, colour_);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }

private:
    QColor colour_ = Qt::white;
};

// The one-pixel rule between two rows.
class RulePanel : public QWidget {
public:
    using QWidget::QWidget;
    void SetColour(const QColor& colour) {
        colour_ = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

private:
    QColor colour_ = Qt::blue;
};

// A row caption that reports a double click (manual entry of its figure).
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onDoubleClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (onDoubleClick) onDoubleClick();
        QLabel::mouseDoubleClickEvent(event);
    }
};

}  // namespace

struct ResultView::Row {
    BlockId block = BuyBlock;
    QWidget* caption = nullptr;  // a CaptionLabel, or the expenses button
    QLineEdit* box = nullptr;
    bool profit = false;         // coloured by sign
    bool negative = false;
    bool marked = false;
    bool manualOn = false;       // a manual figure shown in bold
    QString sheet;               // the style sheet last set on the box
};

struct ResultView::Rows {
    std::array<BlockPanel*, 3> panels{};
    std::array<int, 3> heights{};
    std::vector<RulePanel*> rules;
    std::vector<CaptionLabel*> labels;
    std::vector<Row> rows;
    std::array<Row*, 4> manual{};
    QPushButton* expenses = nullptr;
};

ResultView::ResultView(const DisplaySettings& display, QWidget* parent)
    : QWidget(parent), display_(display), rows_(std::make_unique<Rows>()) {
    const std::map<std::string, std::string> captions = Captions();
    const QFont captionFont = CaptionFont();
    const QFont figureFont = FigureFont();
    const QFontMetrics figureMetrics(Weighted(figureFont, true));
    const QFontMetrics captionMetrics(Weighted(captionFont, true));

    Rows& r = *rows_;
    r.rows.reserve(20);
    for (int b = 0; b < 3; ++b) {
        const BlockDef& def = Blocks()[static_cast<std::size_t>(b)];
        auto* panel = new BlockPanel(this);
        panel->setObjectName(Name(def.panel));
        panel->setAccessibleName(QString::fromUtf8(def.reader));
        r.panels[static_cast<std::size_t>(b)] = panel;

        int y = kEdge;
        for (std::size_t i = 0; i < def.rows.size(); ++i) {
            const RowDef& rd = def.rows[i];
            if (i > 0) {
                auto* rule = new RulePanel(panel);
                char name[16];
                std::snprintf(name, sizeof name, "%s%02d%s", def.rulePrefix, static_cast<int>(i), def.ruleSuffix);
                rule->setObjectName(Name(name));
                rule->setGeometry(kEdge, y, kWidth - 2 * kEdge, 1);
                r.rules.push_back(rule);
                ++y;
            }
            const int height = rd.label != nullptr ? kRowHeight : kButtonRowHeight;
            Row row;
            row.block = static_cast<BlockId>(b);
            row.profit = b == ProfitBlock;

            int captionRight = 0;
            if (rd.label != nullptr) {
                auto* label = new CaptionLabel(QString::fromStdString(captions.at(rd.box)), panel);
                label->setObjectName(Name(rd.label));
                label->setFont(captionFont);
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                const int width = captionMetrics.horizontalAdvance(label->text()) + 4;
                label->setGeometry(kCaptionLeft, y, width, height);
                captionRight = kCaptionLeft + width;
                r.labels.push_back(label);
                row.caption = label;
            } else {
                auto* button = new QPushButton(QString::fromStdString(ExpensesCaption(0)), panel);
                button->setObjectName(QStringLiteral("btnKeihi"));
                button->setFont(captionFont);
                const int width = captionMetrics.horizontalAdvance(QString::fromStdString(ExpensesCaption(4))) + 18;
                button->setGeometry(kCaptionLeft - 2, y + 1, width, height - 2);
                captionRight = kCaptionLeft - 2 + width + 2;
                r.expenses = button;
                row.caption = button;
            }

            QLineEdit* box = MakeFigureBox(rd.box, figureFont, panel);
            // Read by the caption's words, without the sign and the spaces that align them.
            box->setAccessibleName(ReaderCaption(captions.at(rd.box)) + QString::fromUtf8(def.side));
            const int boxWidth = figureMetrics.horizontalAdvance(QString(rd.length, QLatin1Char('0'))) + 2 * kFigurePadding + 2;
            const int right = kWidth - kEdge - kFigureRight;
            const int left = std::max(captionRight, right - boxWidth);
            box->setGeometry(left, y, right - left, height);
            row.box = box;
            r.rows.push_back(row);
            y += height;
        }
        const int height = y + kEdge;
        panel->resize(kWidth, height);
        r.heights[static_cast<std::size_t>(b)] = height;
    }

    for (int f = 0; f < 4; ++f) {
        Row* row = FindRow(kManualBoxes[static_cast<std::size_t>(f)]);
        r.manual[static_cast<std::size_t>(f)] = row;
        static_cast<CaptionLabel*>(row->caption)->onDoubleClick = [this, f] { emit manualToggleRequested(f); };
    }

    setFixedSize(kWidth, 1 + r.heights[0] + r.heights[1] + r.heights[2]);
    PlaceBlocks(Page::Buy);
    ApplyColours();
}

ResultView::~ResultView() = default;

ResultView::Row* ResultView::FindRow(const char* box) const {
    if (box == nullptr) return nullptr;
    for (Row& row : rows_->rows)
        if (row.box->objectName() == QLatin1String(box)) return &row;
    return nullptr;
}

QLineEdit* ResultView::Box(const char* name) const {
    const Row* row = FindRow(name);
    return row != nullptr ? row->box : nullptr;
}

QPushButton* ResultView::ExpensesButton() const { return rows_->expenses; }

void ResultView::PlaceBlocks(Page page) {
    const std::array<BlockId, 3> order = page == Page::Sell ? std::array{SellBlock, BuyBlock, ProfitBlock}
                                                            : std::array{BuyBlock, SellBlock, ProfitBlock};
    int top = 1;
    for (BlockId b : order) {
        rows_->panels[b]->move(0, top);
        top += rows_->heights[b];
    }
}

void ResultView::PaintRow(Row& row) {
    QColor background = FromStoredColour(display_[kBackgrounds[row.block]]);
    QColor text = FromStoredColour(display_[row.profit && row.negative ? Colour::MinusChar : Colour::ResultChar]);
    if (row.marked) {
        background = FromStoredColour(display_[Colour::Marker]);
        // A loss stays in the minus colour even under the marker.
        const bool lossKept = row.negative && row.box->objectName() == QLatin1String("mmResult_Last");
        text = FromStoredColour(display_[lossKept ? Colour::MinusChar : Colour::MarkerChar]);
    }
    // Read-only boxes would otherwise take the style's base colour (white). The bottom
    // padding puts the figures' baseline level with the captions'.
    const QString sheet =
        QStringLiteral("QLineEdit { background-color: %1; color: %2; border: none; padding: 0px %3px 2px %3px; }")
            .arg(background.name(), text.name())
            .arg(kFigurePadding);
    if (sheet != row.sheet) {
        row.box->setStyleSheet(sheet);
        row.sheet = sheet;
    }
}

void ResultView::ApplyColours() {
    Rows& r = *rows_;
    for (std::size_t b = 0; b < 3; ++b) r.panels[b]->SetColour(FromStoredColour(display_[kBackgrounds[b]]));
    const QColor line = FromStoredColour(display_[Colour::ResultLine]);
    for (RulePanel* rule : r.rules) rule->SetColour(line);
    const QString captionSheet =
        QStringLiteral("QLabel { color: %1; background: transparent; }").arg(FromStoredColour(display_[Colour::ResultChar]).name());
    for (CaptionLabel* label : r.labels) label->setStyleSheet(captionSheet);
    for (Row& row : r.rows) PaintRow(row);
}

void ResultView::EmptyFigures() {
    for (Row& row : rows_->rows) {
        row.box->clear();
        row.negative = false;
        row.marked = false;
        PaintRow(row);
    }
}

void ResultView::Clear() {
    EmptyFigures();
    hasResults_ = false;
    emit resultsShown(false);
}

void ResultView::ShowResult(const TradeResult& result, PanelSide side, Page page, int expenseSet) {
    EmptyFigures();
    for (const PanelFigure& figure : PanelFigures(result, side, page, expenseSet)) {
        Row* row = FindRow(figure.box);
        if (row == nullptr) continue;
        row->box->setText(QString::fromStdString(figure.text));
        row->box->setCursorPosition(0);
        row->negative = figure.negative;
        PaintRow(*row);
    }
    hasResults_ = true;
    emit resultsShown(true);
}

void ResultView::Mark(const std::string& box) {
    // One answer at a time.
    for (Row& row : rows_->rows) {
        const bool marked = row.box->objectName() == QString::fromStdString(box);
        if (marked == row.marked) continue;
        row.marked = marked;
        PaintRow(row);
    }
}

void ResultView::SetExpensesCaption(int expenseSet) {
    rows_->expenses->setText(QString::fromStdString(ExpensesCaption(expenseSet)));
}

void ResultView::SetManual(int f, bool on, const QString& text) {
    if (f < 0 || f >= 4) return;
    Row& row = *rows_->manual[static_cast<std::size_t>(f)];
    row.manualOn = on;
    row.box->setFont(Weighted(FigureFont(), on));
    row.caption->setFont(Weighted(CaptionFont(), on));
    row.box->setReadOnly(!on);
    row.box->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (on) {
        row.box->setText(text);
        row.box->selectAll();
        row.box->setFocus();
    } else {
        if (row.box->hasFocus()) row.box->clearFocus();
        row.box->clear();
    }
}

QString ResultView::ManualText(int f) const {
    if (f < 0 || f >= 4) return {};
    return rows_->manual[static_cast<std::size_t>(f)]->box->text();
}

void ResultView::SetManualText(int f, const QString& text) {
    if (f < 0 || f >= 4) return;
    rows_->manual[static_cast<std::size_t>(f)]->box->setText(text);
}

void ResultView::SetManualEditable(bool editable) {
    for (Row* row : rows_->manual) {
        const bool on = editable && row->manualOn;
        if (!on && row->box->hasFocus()) row->box->clearFocus();
        row->box->setReadOnly(!on);
        row->box->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    }
}

}  // namespace zavota::ui
