// The result panel: captions and geometry of the three blocks, the figures of a calculation
// with their sign colours, the marker, clearing, block order per page, the colour settings
// and manual entry of the commission figures. Colours are read from what the widgets paint.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>

#include "ui/UiTest.h"
#include "core/PageLogic.h"
#include "ui/calculator/ResultView.h"
#include "ui/common/StoredColour.h"

namespace zavota::testing {
namespace {

using ui::FromStoredColour;

constexpr const char* kLongest10 = "12,345,678";
constexpr const char* kLongest11 = "123,456,789";
constexpr const char* kLongest17 = "1,234,567,891,234";
constexpr const char* kLongest18 = "+1,234,567,891,234";
constexpr const char* kLongestRate = "-123,456,789.34(%)";

struct RowCase {
    const char* panel;
    const char* label;  // nullptr: the expenses button
    const char* caption;
    const char* box;
    std::vector<const char*> longest;
};

const std::vector<RowCase>& AllRows() {
    static const std::vector<RowCase> rows = {
        {"pnlKai", "lblGaku_K", "　　買単価", "mmGaku_K", {kLongest11}},
        {"pnlKai", "lblNum_K", "×）株数", "mmNum_K", {kLongest10}},
        {"pnlKai", "lblYaku_K", "　　約定金額", "mmYaku_K", {kLongest17}},
        {"pnlKai", "lblMargin_K", "　　手数料", "mmMargin_K", {kLongest10}},
        {"pnlKai", "lblSZei_K", "＋）手数料分消費税", "mmSZei_K", {kLongest10}},
        {"pnlKai", "lblTotal_K", "　　支払合計額", "mmTotal_K", {kLongest17}},
        {"pnlKai", "lblPay_K", "　　ペイ単価", "mmPay_K", {kLongest11}},
        {"pnlUri", "lblGaku_U", "　　売単価", "mmGaku_U", {kLongest11}},
        {"pnlUri", "lblNum_U", "×）株数", "mmNum_U", {kLongest10}},
        {"pnlUri", "lblYaku_U", "　　約定金額", "mmYaku_U", {kLongest17}},
        {"pnlUri", "lblMargin_U", "　　手数料", "mmMargin_U", {kLongest10}},
        {"pnlUri", "lblSZei_U", "　　手数料分消費税", "mmSZei_U", {kLongest10}},
        {"pnlUri", "lblJZei_U", "－）＊＊＊＊", "mmJZei_U", {kLongest10}},
        {"pnlUri", "lblTotal_U", "　　受取合計額", "mmTotal_U", {kLongest17}},
        {"pnlUri", "lblPay_U", "　　ペイ単価", "mmPay_U", {kLongest11}},
        {"pnlResult", "lblResult_M", "　　利益額", "mmResult_M", {kLongest18, kLongestRate}},
        {"pnlResult", nullptr, "その他経費  ", "mmResult_Keihi", {kLongest10}},
        {"pnlResult", "lblResult_Z", "－）利益に対する課税", "mmResult_Tax", {kLongest10}},
        {"pnlResult", "lblResult_Last", "　　最終利益", "mmResult_Last", {kLongest18, kLongestRate}},
        {"pnlResult", "lblResult_R", "　　利益率", "mmResult_R", {kLongest18, kLongestRate}},
    };
    return rows;
}

// What the screen shows of a widget: its block rendered over the widget's area.
QImage Shot(QWidget* w) { return w->parentWidget()->grab(w->geometry()).toImage(); }

// The background at the left end of a figure box (figures are right-aligned).
QColor Background(QWidget* w) { return Shot(w).pixelColor(1, w->height() / 2); }

// The colour the text is painted in: the pixel farthest from the background, which must lie
// on the blend between background and text colour. Returns an invalid colour without text.
QColor Ink(QWidget* w, const QColor& background) {
    const QImage image = Shot(w);
    QColor best;
    int bestDistance = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int d = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                          std::abs(c.blue() - background.blue());
            if (d > bestDistance) {
                bestDistance = d;
                best = c;
            }
        }
    return best;
}

// Whether `ink` is `expected` blended over `background` with at least half coverage.
::testing::AssertionResult PaintedIn(QWidget* w, const QColor& background, const QColor& expected) {
    const QColor ink = Ink(w, background);
    if (!ink.isValid()) return ::testing::AssertionFailure() << w->objectName().toStdString() << " shows no text";
    const double channels[3][3] = {{double(background.red()), double(expected.red()), double(ink.red())},
                                   {double(background.green()), double(expected.green()), double(ink.green())},
                                   {double(background.blue()), double(expected.blue()), double(ink.blue())}};
    double num = 0, den = 0;
    for (const auto& c : channels) {
        num += (c[2] - c[0]) * (c[1] - c[0]);
        den += (c[1] - c[0]) * (c[1] - c[0]);
    }
    const double a = den > 0 ? num / den : 0;
    double residual = 0;
    for (const auto& c : channels) residual = std::max(residual, std::abs(c[0] + a * (c[1] - c[0]) - c[2]));
    if (a >= 0.5 && residual <= 24) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << w->objectName().toStdString() << " text painted in "
                                         << ink.name().toStdString() << ", expected "
                                         << expected.name().toStdString() << " over "
                                         << background.name().toStdString();
}

class ResultViewTest : public UiTest {
protected:
    ResultViewTest() : view(State().display()) {}

    QColor Setting(Colour c) { return FromStoredColour(State().display()[c]); }

    QLineEdit* Box(const char* name) { return Find<QLineEdit>(&view, name); }
    std::string Figure(const char* name) { return Box(name)->text().toStdString(); }

    // One press of "実　行" through the calculation, shown as the main window shows it.
    PageOutcome Calculate(Page page, const char* price, const char* shares, std::array<std::string, 4> questions = {}) {
        PageInput in;
        in.page = page;
        in.price = price;
        in.shares = shares;
        in.questions = std::move(questions);
        State().calc.buyPageFlag = page == Page::Buy;
        const PageOutcome out = RunPage(State().calc, in);
        EXPECT_EQ(out.status, PageStatus::Ready) << "message " << out.message;
        view.ShowResult(State().calc.result, out.show, page, out.expenseSet);
        view.Mark(out.mark);
        return out;
    }

    ui::ResultView view;
};

TEST_F(ResultViewTest, RowsCarryTheirCaptionsAndLongestFiguresFitUnclipped) {
    EXPECT_EQ(view.width(), 242);
    // The column shares the window's height with the motto line (24) or its border (2).
    EXPECT_LE(view.height(), 460 - 24 - 2);
    for (const RowCase& row : AllRows()) {
        SCOPED_TRACE(row.box);
        QWidget* panel = Find(&view, row.panel);
        QLineEdit* box = Box(row.box);
        ASSERT_TRUE(panel && box);
        EXPECT_EQ(box->parentWidget(), panel);
        QWidget* caption = row.label != nullptr ? Find(&view, row.label) : view.ExpensesButton();
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(Text(&view, row.label != nullptr ? row.label : "btnKeihi").toStdString(), row.caption);
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_FALSE(box->hasFrame());
        EXPECT_TRUE(box->alignment() & Qt::AlignRight);

        // Caption and figure side by side on one line, inside the block.
        const QRect c = caption->geometry(), b = box->geometry();
        EXPECT_LE(c.right(), b.left());
        EXPECT_TRUE(panel->rect().contains(b)) << b.x() << "," << b.y() << " " << b.width() << "x" << b.height();
        if (auto* label = qobject_cast<QLabel*>(caption)) {
            EXPECT_GE(c.width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
        }
        for (const char* text : row.longest) {
            box->setText(QString::fromUtf8(text));
            QFont bold = box->font();
            bold.setBold(true);
            const int needed = QFontMetrics(bold).horizontalAdvance(box->text());
            EXPECT_LE(needed, box->contentsRect().width() - 6) << text;
        }
    }
}

TEST_F(ResultViewTest, RulesSeparateTheRowsInTheLineColour) {
    struct Block {
        const char* panel;
        const char* suffix;
        int rules;
    };
    for (const Block& block : {Block{"pnlKai", "_K", 6}, Block{"pnlUri", "_U", 7}, Block{"pnlResult", "_R", 4}}) {
        QWidget* panel = Find(&view, block.panel);
        ASSERT_NE(panel, nullptr);
        for (int i = 1; i <= block.rules + 1; ++i) {
            const std::string name = "Shape" + QString::number(i).rightJustified(2, '0').toStdString() + block.suffix;
            QWidget* rule = panel->findChild<QWidget*>(QString::fromStdString(name));
            if (i > block.rules) {
                EXPECT_EQ(rule, nullptr) << name;
                continue;
            }
            ASSERT_NE(rule, nullptr) << name;
            EXPECT_EQ(rule->height(), 1) << name;
            EXPECT_GE(rule->width(), 238) << name;
            EXPECT_EQ(Shot(rule).pixelColor(5, 0), Setting(Colour::ResultLine)) << name;
        }
    }
}

TEST_F(ResultViewTest, SellPagePutsTheSellBlockOnTop) {
    struct Case {
        Page page;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{Page::Sell, "pnlUri", "pnlKai"}, Case{Page::Buy, "pnlKai", "pnlUri"}}) {
        view.PlaceBlocks(c.page);
        QWidget* first = Find(&view, c.first);
        QWidget* second = Find(&view, c.second);
        QWidget* profit = Find(&view, "pnlResult");
        EXPECT_EQ(first->y(), 1) << c.first;
        EXPECT_EQ(second->y(), first->geometry().bottom() + 1) << c.second;
        EXPECT_EQ(profit->y(), second->geometry().bottom() + 1);
        EXPECT_EQ(profit->geometry().bottom(), view.height() - 1);
    }
}

TEST_F(ResultViewTest, FullCalculationShowsEveryFigureAndMarksTheFinalProfit) {
    QSignalSpy shown(&view, &ui::ResultView::resultsShown);
    const PageOutcome out = Calculate(Page::Buy, "1000", "1000", {"1100", "", "", ""});
    ASSERT_EQ(out.mark, "mmResult_Last");

    // Default table (1,500 flat, 5% tax on it), cash, listed ticks, 10% tax on the profit; no
    // expense set chosen, so no expenses figure.
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"mmGaku_K", "1,000"},        {"mmNum_K", "1,000"},       {"mmYaku_K", "1,000,000"},
        {"mmMargin_K", "1,500"},      {"mmSZei_K", "75"},         {"mmTotal_K", "1,001,575"},
        {"mmPay_K", "1,004"},         {"mmGaku_U", "1,100"},      {"mmNum_U", "1,000"},
        {"mmYaku_U", "1,100,000"},    {"mmMargin_U", "1,500"},    {"mmSZei_U", "75"},
        {"mmJZei_U", "0"},            {"mmTotal_U", "1,098,425"}, {"mmPay_U", "1,096"},
        {"mmResult_M", "+96,850"},    {"mmResult_Keihi", ""},     {"mmResult_Tax", "9,685"},
        {"mmResult_Last", "+87,165"}, {"mmResult_R", "8.70(%)"},
    };
    for (const auto& [box, text] : expected) EXPECT_EQ(Figure(box), text) << box;
    ASSERT_EQ(shown.count(), 1);
    EXPECT_TRUE(shown.at(0).at(0).toBool());
    EXPECT_TRUE(view.HasResults());

    QLineEdit* last = Box("mmResult_Last");
    EXPECT_EQ(Background(last), Setting(Colour::Marker));
    EXPECT_TRUE(PaintedIn(last, Setting(Colour::Marker), Setting(Colour::MarkerChar)));
    // Only the answer carries the marker; read-only boxes keep their block's colour.
    EXPECT_EQ(Background(Box("mmResult_M")), Setting(Colour::GetResult));
    EXPECT_EQ(Background(Box("mmGaku_K")), Setting(Colour::KaiResult));
    EXPECT_EQ(Background(Box("mmGaku_U")), Setting(Colour::UriResult));
    EXPECT_TRUE(PaintedIn(Box("mmResult_M"), Setting(Colour::GetResult), Setting(Colour::ResultChar)));
}

TEST_F(ResultViewTest, OnlyTheSidesShownAreFilled) {
    Calculate(Page::Buy, "1000", "1000");
    EXPECT_EQ(Figure("mmPay_K"), "1,004");
    EXPECT_EQ(Background(Box("mmPay_K")), Setting(Colour::Marker));
    for (const char* empty : {"mmGaku_U", "mmTotal_U", "mmResult_M", "mmResult_Last", "mmResult_R"})
        EXPECT_EQ(Figure(empty), "") << empty;

    Calculate(Page::Sell, "1100", "1000");
    EXPECT_EQ(Figure("mmTotal_U"), "1,098,425");
    EXPECT_EQ(Background(Box("mmPay_U")), Setting(Colour::Marker));
    EXPECT_EQ(Background(Box("mmPay_K")), Setting(Colour::KaiResult));
    for (const char* empty : {"mmGaku_K", "mmTotal_K", "mmResult_Last"}) EXPECT_EQ(Figure(empty), "") << empty;
}

struct SignCase {
    const char* what;
    std::int64_t profit, tax, finalProfit, rateRaw;  // rate in 1/10,000 percent
    const char* profitText;
    const char* taxText;
    const char* finalText;
    const char* rateText;
};

void PrintTo(const SignCase& c, std::ostream* os) { *os << c.what; }

class ResultViewSigns : public ResultViewTest, public ::testing::WithParamInterface<SignCase> {};

TEST_P(ResultViewSigns, ProfitFiguresTakeTheColourOfTheirSign) {
    const SignCase& c = GetParam();
    TradeResult r;
    r.profit = Yen::FromInt(c.profit);
    r.profitTax = Yen::FromInt(c.tax);
    r.finalProfit = Yen::FromInt(c.finalProfit);
    r.profitRate = Yen::FromRaw(c.rateRaw);
    view.ShowResult(r, PanelSide::All, Page::Buy, 0);

    const QColor back = Setting(Colour::GetResult);
    const struct {
        const char* box;
        const char* text;
        bool negative;
    } rows[] = {{"mmResult_M", c.profitText, c.profit < 0},
                {"mmResult_Tax", c.taxText, c.tax < 0},
                {"mmResult_Last", c.finalText, c.finalProfit < 0},
                {"mmResult_R", c.rateText, c.rateRaw < 0}};
    for (const auto& row : rows) {
        QLineEdit* box = Box(row.box);
        EXPECT_EQ(box->text().toStdString(), row.text) << row.box;
        EXPECT_EQ(Background(box), back) << row.box;
        EXPECT_TRUE(PaintedIn(box, back, Setting(row.negative ? Colour::MinusChar : Colour::ResultChar)));
    }
    // The buy and sell figures are never painted in the minus colour.
    EXPECT_TRUE(PaintedIn(Box("mmGaku_K"), Setting(Colour::KaiResult), Setting(Colour::ResultChar)));
}

INSTANTIATE_TEST_SUITE_P(
    Signs, ResultViewSigns,
    ::testing::Values(SignCase{"loss", -12345, 0, -12345, -123400, "-12,345", "0", "-12,345", "-12.34(%)"},
                      SignCase{"zero", 0, 0, 0, 0, "+0", "0", "+0", "0.00(%)"},
                      SignCase{"small loss rate", -35, 0, -35, -35000, "-35", "0", "-35", "-3.50(%)"},
                      SignCase{"tax refund", 1000, -200, 1200, 1000000, "+1,000", "-200", "+1,200", "100.00(%)"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

TEST_F(ResultViewTest, MarkerKeepsTheMinusColourOnlyOnALossInTheFinalProfit) {
    const PageOutcome out = Calculate(Page::Buy, "1000", "1000", {"900", "", "", ""});
    ASSERT_EQ(out.mark, "mmResult_Last");
    EXPECT_EQ(Figure("mmResult_M"), "-103,150");
    EXPECT_EQ(Figure("mmResult_Tax"), "0");
    EXPECT_EQ(Figure("mmResult_Last"), "-103,150");
    EXPECT_EQ(Figure("mmResult_R"), "-10.30(%)");

    QLineEdit* last = Box("mmResult_Last");
    EXPECT_EQ(Background(last), Setting(Colour::Marker));
    EXPECT_TRUE(PaintedIn(last, Setting(Colour::Marker), Setting(Colour::MinusChar)));
    EXPECT_TRUE(PaintedIn(Box("mmResult_M"), Setting(Colour::GetResult), Setting(Colour::MinusChar)));

    // Marking another box hands the marker over and the loss keeps the minus colour.
    view.Mark("mmPay_K");
    EXPECT_EQ(Background(last), Setting(Colour::GetResult));
    EXPECT_TRUE(PaintedIn(last, Setting(Colour::GetResult), Setting(Colour::MinusChar)));
    EXPECT_EQ(Background(Box("mmPay_K")), Setting(Colour::Marker));
    EXPECT_TRUE(PaintedIn(Box("mmPay_K"), Setting(Colour::Marker), Setting(Colour::MarkerChar)));
}

TEST_F(ResultViewTest, ClearEmptiesEveryFigureAndRemovesTheMarker) {
    view.SetManual(ManualBuyCommission, true, "1500");
    Calculate(Page::Buy, "1000", "1000", {"900", "", "", ""});
    QSignalSpy shown(&view, &ui::ResultView::resultsShown);
    view.Clear();
    ASSERT_EQ(shown.count(), 1);
    EXPECT_FALSE(shown.at(0).at(0).toBool());
    EXPECT_FALSE(view.HasResults());
    for (const RowCase& row : AllRows()) EXPECT_EQ(Figure(row.box), "") << row.box;

    // The markable boxes are back to their blocks' look, and the next profit is not in the
    // minus colour of the loss before.
    const std::pair<const char*, Colour> markable[] = {
        {"mmGaku_K", Colour::KaiResult},  {"mmPay_K", Colour::KaiResult},      {"mmGaku_U", Colour::UriResult},
        {"mmPay_U", Colour::UriResult},   {"mmResult_Last", Colour::GetResult}};
    for (const auto& [box, back] : markable) EXPECT_EQ(Background(Box(box)), Setting(back)) << box;
    TradeResult r;
    r.buyPrice = r.finalProfit = Yen::FromInt(5);
    view.ShowResult(r, PanelSide::All, Page::Buy, 0);
    EXPECT_TRUE(PaintedIn(Box("mmResult_Last"), Setting(Colour::GetResult), Setting(Colour::ResultChar)));
}

TEST_F(ResultViewTest, ExpensesFigureAndCaptionFollowTheChosenSet) {
    State().calc.keihiSets[1].Other = 5000;
    State().calc.keihiSelected = {2, 0};
    view.SetExpensesCaption(2);
    EXPECT_EQ(view.ExpensesButton()->text().toStdString(), "その他経費 2");
    Calculate(Page::Buy, "1000", "1000", {"1100", "", "", ""});
    EXPECT_EQ(Figure("mmResult_Keihi"), "5,000");
    EXPECT_TRUE(PaintedIn(Box("mmResult_Keihi"), Setting(Colour::GetResult), Setting(Colour::ResultChar)));

    // The sell page has no set: the figure stays empty even after a full calculation.
    Calculate(Page::Sell, "1100", "1000", {"1000", "", "", ""});
    EXPECT_EQ(Figure("mmResult_Keihi"), "");
    EXPECT_FALSE(Box("mmResult_Last")->text().isEmpty());
    view.SetExpensesCaption(0);
    EXPECT_EQ(view.ExpensesButton()->text().toStdString(), "その他経費  ");
}

TEST_F(ResultViewTest, ChangedColoursRepaintEveryPart) {
    Calculate(Page::Buy, "1000", "1000", {"900", "", "", ""});
    DisplaySettings& d = State().display();
    d[Colour::KaiResult] = 0x00C0FFC0;   // pale green
    d[Colour::UriResult] = 0x00FFE0C0;   // pale blue
    d[Colour::GetResult] = 0x00E0E0E0;
    d[Colour::ResultChar] = 0x00800000;  // navy
    d[Colour::ResultLine] = 0x00008000;  // green
    d[Colour::MinusChar] = 0x00008080;   // olive
    d[Colour::Marker] = 0x0000FFFF;      // yellow
    d[Colour::MarkerChar] = 0x00FF0000;  // blue
    view.ApplyColours();

    const struct {
        const char* panel;
        Colour back;
        const char* box;
        const char* label;
    } blocks[] = {{"pnlKai", Colour::KaiResult, "mmYaku_K", "lblYaku_K"},
                  {"pnlUri", Colour::UriResult, "mmYaku_U", "lblYaku_U"},
                  {"pnlResult", Colour::GetResult, "mmResult_Tax", "lblResult_Z"}};
    for (const auto& b : blocks) {
        QWidget* panel = Find(&view, b.panel);
        EXPECT_EQ(Shot(panel).pixelColor(panel->width() - 3, 4), Setting(b.back)) << b.panel;
        EXPECT_EQ(Background(Box(b.box)), Setting(b.back)) << b.box;
        EXPECT_TRUE(PaintedIn(Box(b.box), Setting(b.back), Setting(Colour::ResultChar)));
        EXPECT_TRUE(PaintedIn(Find(&view, b.label), Setting(b.back), Setting(Colour::ResultChar)));
    }
    EXPECT_EQ(Shot(Find(&view, "Shape03_U")).pixelColor(3, 0), Setting(Colour::ResultLine));
    EXPECT_TRUE(PaintedIn(Box("mmResult_M"), Setting(Colour::GetResult), Setting(Colour::MinusChar)));
    EXPECT_EQ(Background(Box("mmResult_Last")), Setting(Colour::Marker));
    EXPECT_TRUE(PaintedIn(Box("mmResult_Last"), Setting(Colour::Marker), Setting(Colour::MinusChar)));
}

TEST_F(ResultViewTest, DoubleClickOnACommissionCaptionAsksForManualEntry) {
    QSignalSpy asked(&view, &ui::ResultView::manualToggleRequested);
    for (int f = 0; f < 4; ++f) {
        auto* label = Find(&view, kManualLabels[static_cast<std::size_t>(f)]);
        QTest::mouseDClick(label, Qt::LeftButton);
    }
    QTest::mouseDClick(Find(&view, "lblTotal_K"), Qt::LeftButton);
    ASSERT_EQ(asked.count(), 4);
    for (int f = 0; f < 4; ++f) EXPECT_EQ(asked.at(f).at(0).toInt(), f);
}

TEST_F(ResultViewTest, ManualFigureIsEditableAndBoldWhileOn) {
    view.show();
    QApplication::setActiveWindow(&view);
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        QLineEdit* box = Box(kManualBoxes[static_cast<std::size_t>(f)]);
        QLabel* label = Find<QLabel>(&view, kManualLabels[static_cast<std::size_t>(f)]);
        view.SetManual(f, true, "1,200");
        EXPECT_FALSE(box->isReadOnly());
        EXPECT_EQ(box->focusPolicy(), Qt::StrongFocus);
        EXPECT_TRUE(box->font().bold());
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(box->text().toStdString(), "1,200");
        EXPECT_EQ(box->selectedText().toStdString(), "1,200");
        EXPECT_EQ(view.focusWidget(), box);
        EXPECT_EQ(view.ManualText(f).toStdString(), "1,200");

        view.SetManual(f, false, "ignored");
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(box->font().bold());
        EXPECT_FALSE(label->font().bold());
        EXPECT_EQ(box->text().toStdString(), "");
    }
}

TEST_F(ResultViewTest, BuyCommissionTakesOnlyDigitsAndOptionsPageLocksManualFigures) {
    view.show();
    QApplication::setActiveWindow(&view);
    view.SetManual(ManualBuyCommission, true, "");
    view.SetManual(ManualSellCommissionTax, true, "");
    QTest::keyClicks(Box("mmMargin_K"), "1a2.3,");
    EXPECT_EQ(view.ManualText(ManualBuyCommission).toStdString(), "123");
    QTest::keyClicks(Box("mmSZei_U"), "1.5");  // checked when used, not while typed
    EXPECT_EQ(view.ManualText(ManualSellCommissionTax).toStdString(), "1.5");

    view.SetManualEditable(false);
    for (const char* box : kManualBoxes) {
        EXPECT_TRUE(Box(box)->isReadOnly()) << box;
        EXPECT_EQ(Box(box)->focusPolicy(), Qt::NoFocus) << box;
    }
    EXPECT_TRUE(Box("mmMargin_K")->font().bold());  // still marked as manual

    view.SetManualEditable(true);
    EXPECT_FALSE(Box("mmMargin_K")->isReadOnly());
    EXPECT_FALSE(Box("mmSZei_U")->isReadOnly());
    EXPECT_TRUE(Box("mmSZei_K")->isReadOnly());
    EXPECT_TRUE(Box("mmMargin_U")->isReadOnly());
    view.SetManualText(ManualBuyCommission, "800");
    EXPECT_EQ(Figure("mmMargin_K"), "800");
}

}  // namespace
}  // namespace zavota::testing
