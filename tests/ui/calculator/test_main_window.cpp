#include <QFont>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

#include "ui/MainWindowTest.h"
#include "ui/calculator/Keihiunit.h"

namespace zavota::testing {
namespace {

TEST_F(MainWindowTest, FieldsNormaliseAndRefuseWhatIsNoNumber) {
    Open();
    struct Case {
        const char* field;
        const char* text;
        bool typed;
        const char* expected;
        bool message200;
    } cases[] = {
        {"edtYen_K", "1,234", true, "1234", false},   // the comma key is refused
        {"edtYen_K", "1,234", false, "1234", false},  // a pasted separator is removed
        {"edtNum_K", "+", true, "+", false},
        {"edtYen_K", "abc", false, "", true},
        {"edtR1_U", "12a", true, "12", false},
        {"edtU2_K", "1.5", true, "1.5", false},
        {"edtR2_K", "1.5", true, "15", false},        // "." only in the rate fields
        {"edtK1_U", "9-9", false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        if (std::string(c.field).ends_with("_U")) Find<QTabWidget>(W(), "pgcCalcInput")->setCurrentIndex(1);
        else Find<QTabWidget>(W(), "pgcCalcInput")->setCurrentIndex(0);
        Paste(W(), c.field, "");
        Messages().Clear();
        if (c.typed) Type(W(), c.field, QString::fromUtf8(c.text));
        else Paste(W(), c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(Text(W(), c.field).toStdString(), c.expected);
        EXPECT_EQ(Messages().numbers, c.message200 ? std::vector<int>{200} : std::vector<int>{});
    }
}

TEST_F(MainWindowTest, RefusalsNameTheirMessageAndFocusTheField) {
    Open();
    struct Case {
        const char* price;
        const char* shares;
        const char* question;
        const char* value;
        int message;
        const char* focus;
    } cases[] = {
        {"0", "100", nullptr, nullptr, 201, "edtYen_K"},
        {"", "100", nullptr, nullptr, 100, "edtYen_K"},
        {"12.5", "100", nullptr, nullptr, 101, "edtYen_K"},
        {"1000", "", nullptr, nullptr, 102, "edtNum_K"},
        {"1000", "100", "edtR1_K", "0", 208, "edtR1_K"},
        {"1000", "100", "edtU2_K", "1000000", 212, "edtU2_K"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.price) + " x " + c.shares);
        Click(W(), "btnClear_K");
        Messages().Clear();
        Calculate(c.price, c.shares, c.question, c.value);
        EXPECT_EQ(Messages().numbers, std::vector<int>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Find(W(), c.focus));
        EXPECT_TRUE(Text(W(), "mmGaku_K").isEmpty());
        EXPECT_FALSE(Find<QMenu>(W(), "mnuEdit")->isEnabled());
    }
}

TEST_F(MainWindowTest, RoundTripShowsTheMarkedFinalProfit) {
    Open();
    Calculate("1000", "1000", "edtR1_K", "1100");
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_EQ(Text(W(), "mmResult_Last"), "+87,165");
    EXPECT_EQ(Text(W(), "mmResult_R"), "8.70(%)");
    EXPECT_EQ(Text(W(), "mmTotal_K"), "1,001,575");
    EXPECT_EQ(Background("mmResult_Last"), ColourOf(Colour::Marker));
    EXPECT_NE(Background("mmResult_M"), ColourOf(Colour::Marker));
    EXPECT_TRUE(Find<QMenu>(W(), "mnuEdit")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Find(W(), "edtR1_K"));
}

TEST_F(MainWindowTest, OnlyTheFirstQuestionIsAskedAndTheOthersEmptied) {
    Open();
    Paste(W(), "edtU1_K", "5000");
    Calculate("1000", "1000", "edtR1_K", "1100");
    EXPECT_EQ(Text(W(), "mmResult_Last"), "+87,165");
    EXPECT_TRUE(Text(W(), "edtU1_K").isEmpty());
    EXPECT_EQ(Text(W(), "edtR1_K"), "1100");

    // No question: the buy block alone, the break-even marked.
    Paste(W(), "edtR1_K", "");
    Calculate("1000", "1000");
    EXPECT_FALSE(Text(W(), "mmPay_K").isEmpty());
    EXPECT_TRUE(Text(W(), "mmGaku_U").isEmpty());
    EXPECT_TRUE(Text(W(), "mmResult_M").isEmpty());
    EXPECT_EQ(Background("mmPay_K"), ColourOf(Colour::Marker));
}

TEST_F(MainWindowTest, CancelledAdjustmentEmptiesThePanelButKeepsTypedOverFigures) {
    Open();
    QTest::mouseDClick(Find(W(), "lblMargin_K"), Qt::LeftButton);
    Find<QLineEdit>(W(), "mmMargin_K")->setText("300");
    Calculate("1000", "1000", "edtR1_K", "1100");
    ASSERT_FALSE(Text(W(), "mmResult_Last").isEmpty());
    Paste(W(), "edtR1_K", "");
    dialogs.Click("frmAdjust", "キャンセル");
    Calculate("2003", "100");
    EXPECT_EQ(Text(W(), "edtYen_K"), "2003");
    for (const char* box : {"mmGaku_K", "mmPay_K", "mmResult_Last", "mmGaku_U"}) EXPECT_TRUE(Text(W(), box).isEmpty()) << box;
    EXPECT_EQ(Text(W(), "mmMargin_K"), "300");
    EXPECT_FALSE(Find<QMenu>(W(), "mnuEdit")->isEnabled());  // nothing stale to copy
    EXPECT_EQ(State().calc.result.buyPrice, Yen{});

    dialogs.Expect("frmAdjust", [](QWidget* d) {
        EXPECT_EQ(Find<QLabel>(d, "lblAdjust1")->text(), "2003円 → 2005円 （呼び値単位：5円）");
        EXPECT_FALSE(Find<QLabel>(d, "lblAdjust2")->isVisible());
        Find<QPushButton>(d, "btnOk")->click();
    });
    Click(W(), "btnGo_K");
    Settle();
    EXPECT_EQ(Text(W(), "edtYen_K"), "2005");
    EXPECT_EQ(Text(W(), "mmGaku_K"), "2,005");
    EXPECT_TRUE(Text(W(), "mmResult_Last").isEmpty());
    EXPECT_FALSE(State().modalDialogOpen);
}

TEST_F(MainWindowTest, AdjustmentDialogOpensOnTheCalculatorWithEnterOnOk) {
    Open();
    W()->move(300, 200);
    // Each showing: where it stands, and what Enter answers. The first answer moves the focus
    // to "キャンセル" and uses it; the next showing must start on "OK" again.
    std::vector<QPoint> offsets;
    const auto answer = [&](bool tabToCancel) {
        return [&, tabToCancel](QWidget* d) {
            offsets.push_back(d->frameGeometry().center() - W()->frameGeometry().center());
            if (tabToCancel) Find(d, "btnCancel")->setFocus();
            ASSERT_NE(d->focusWidget(), nullptr);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        };
    };
    dialogs.Expect("frmAdjust", answer(true));
    Calculate("2003", "100");
    EXPECT_TRUE(Text(W(), "mmGaku_K").isEmpty());
    dialogs.Expect("frmAdjust", answer(false));
    Click(W(), "btnGo_K");
    Settle();
    EXPECT_EQ(Text(W(), "mmGaku_K"), "2,005");
    ASSERT_EQ(offsets.size(), 2u);
    for (const QPoint& o : offsets) EXPECT_LE(o.manhattanLength(), 3) << o.x() << "," << o.y();
}

TEST_F(MainWindowTest, ManualCommissionSurvivesOtherPagesAndIsUsed) {
    Open();
    QTabWidget* tabs = Find<QTabWidget>(W(), "pgcCalcInput");
    QWidget* label = Find(W(), "lblMargin_K");
    QTest::mouseDClick(label, Qt::LeftButton);
    QLineEdit* figure = Find<QLineEdit>(W(), "mmMargin_K");
    ASSERT_FALSE(figure->isReadOnly());
    EXPECT_TRUE(figure->font().bold());
    figure->setText("");
    QTest::keyClicks(figure, "5a00");
    EXPECT_EQ(figure->text(), "500");

    for (int visit : {1, 2}) {
        tabs->setCurrentIndex(visit);
        Settle();
        tabs->setCurrentIndex(0);
        Settle();
        SCOPED_TRACE(visit);
        EXPECT_EQ(figure->text(), "500");
        EXPECT_FALSE(figure->isReadOnly());
        EXPECT_TRUE(figure->font().bold());
        EXPECT_TRUE(label->font().bold());
    }
    Calculate("1000", "1000");
    EXPECT_EQ(figure->text(), "500");
    EXPECT_EQ(Text(W(), "mmTotal_K"), "1,000,525");  // 500 + 5 % tax on it

    // A refused input does not drop the typed figure.
    Calculate("", "1000");
    EXPECT_EQ(figure->text(), "500");
    Calculate("1000", "1000");
    EXPECT_EQ(Text(W(), "mmTotal_K"), "1,000,525");

    // Out of range: 280, the figure keeps the focus; emptied: back to the table.
    figure->setText("100000000");
    Messages().Clear();
    Click(W(), "btnGo_K");
    EXPECT_EQ(Messages().numbers, std::vector<int>{280});
    EXPECT_EQ(QApplication::focusWidget(), figure);
    figure->setText("");
    Calculate("1000", "1000");
    EXPECT_TRUE(figure->isReadOnly());
    EXPECT_FALSE(figure->font().bold());
    EXPECT_EQ(Text(W(), "mmMargin_K"), "1,500");
}

TEST_F(MainWindowTest, MarginTradingTakesMiniStockAway) {
    Open();
    QCheckBox* mini = Find<QCheckBox>(W(), "chkMini_K");
    mini->click();
    EXPECT_TRUE(mini->isChecked());
    EXPECT_EQ(Text(W(), "lblInputChar01_K"), "円で　ミニ株を");
    EXPECT_TRUE(Find(W(), "edtMini_K")->isEnabled());
    Select(W(), "cmbTax_K", 1);
    EXPECT_FALSE(mini->isChecked());
    EXPECT_FALSE(mini->isEnabled());
    EXPECT_FALSE(Find(W(), "edtMini_K")->isEnabled());
    EXPECT_EQ(State().option().TaxTypeK, 3);
    EXPECT_EQ(State().option().MiniFlagK, 0);
    Select(W(), "cmbTax_K", 0);
    EXPECT_TRUE(mini->isEnabled());
    EXPECT_FALSE(mini->isChecked());
    EXPECT_EQ(State().option().TaxTypeK, 1);
}

TEST_F(MainWindowTest, SellPageShowsItsBlockFirstAndMarksItsAnswer) {
    Open();
    Find<QTabWidget>(W(), "pgcCalcInput")->setCurrentIndex(1);
    Settle();
    EXPECT_EQ(State().handover.side, 1);
    EXPECT_FALSE(State().calc.buyPageFlag);
    Calculate("1100", "1000", "edtR1_U", "1000", false);
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_EQ(Text(W(), "mmResult_M"), "+96,850");
    EXPECT_LT(Find(W(), "pnlUri")->y(), Find(W(), "pnlKai")->y());
    EXPECT_EQ(Background("mmResult_Last"), ColourOf(Colour::Marker));
}

// Tick tables a settings file may still hold whose bands send a search back and forth: the
// press ends at once with the walk's error instead of hanging the window.
TEST_F(MainWindowTest, ASearchThatGoesRoundEndsWithMessage241) {
    struct Loop {
        UnitRow low, high;
        const char *price, *shares, *rate;
    };
    auto y = [](std::int64_t v) { return Yen::FromInt(v); };
    const Loop loops[] = {{{y(0), y(100), y(30)}, {y(100), y(1'000), y(7)}, "200", "100", "90"},
                          {{y(0), y(895), y(10)}, {y(895), y(1'137), y(3)}, "893", "1000", "3"}};
    for (const Loop& l : loops) {
        UnitTable& t = State().calc.listedTicks;
        t.Clear();
        t.Elements = 2;
        t.rows[0] = l.low;
        t.rows[1] = l.high;
        Open();
        Find<QTabWidget>(W(), "pgcCalcInput")->setCurrentIndex(1);
        Calculate(l.price, l.shares, "edtK2_U", l.rate, false);
        EXPECT_EQ(Messages().numbers, std::vector<int>{241}) << l.price;
        EXPECT_EQ(Text(W(), "mmGaku_K"), "") << l.price;
        main_->close();
    }
}

TEST_F(MainWindowTest, ExpenseSetChosenWithOkIsWrittenAndApplied) {
    Open();
    Select(W(), "cmbTax_K", 1);  // margin trading, so the interest applies
    dialogs.Expect("frmKeihi", [](QWidget* d) {
        Find<QTabBar>(d, "tabKeihi")->setCurrentIndex(2);
        Paste(d, "edtNenriK", "3");
        Paste(d, "edtNenri2K", "30");
        Find<QPushButton>(d, "btnOk")->click();
    });
    Click(W(), "btnKeihi");
    Settle();
    EXPECT_EQ(Text(W(), "btnKeihi"), "その他経費 2");
    EXPECT_EQ(State().calc.keihiSelected[0], 2);
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(std::filesystem::exists(Home().HomePath() + "Data/K_" + std::to_string(n) + ".ini")) << n;
    Calculate("1000", "1000", "edtR1_K", "1100");
    EXPECT_EQ(Text(W(), "mmResult_Keihi"), "2,465");
}

TEST_F(MainWindowTest, TopMostIsWrittenAtOnceAndCloseStoresTheChoices) {
    Open();
    Find<QAction>(W(), "mnuTopMost")->trigger();
    EXPECT_EQ(State().option().TopMost, 1);
    Find<QCheckBox>(W(), "chkTen_U")->click();
    Find<QCheckBox>(W(), "chkMini_K")->click();
    Paste(W(), "edtMini_K", "100");
    W()->move(33, 44);
    W()->close();
    EXPECT_TRUE(State().handover.exitRequested);
    EXPECT_EQ(State().option().TenFlagU, 1);
    EXPECT_EQ(State().option().MiniFlagK, 1);
    EXPECT_EQ(State().option().MiniK, 100);
    EXPECT_EQ(State().display().XY.x, W()->x());

    Restart();  // only TopMost was written; the rest waits for the end of the program
    EXPECT_EQ(State().option().TopMost, 1);
    EXPECT_EQ(State().option().TenFlagU, 0);
}

TEST_F(MainWindowTest, MottoLineFollowsTheOptions) {
    State().option().WordShow = 1;
    State().option().Word = "今日も一日";
    Open();
    EXPECT_EQ(Text(W(), "pnlWord"), "今日も一日");
    const int tall = W()->height();
    State().option().WordYearGain = 1;
    State().calc.tax.YearGain = Yen::FromInt(1234567);
    W()->ApplyMotto();
    EXPECT_EQ(Text(W(), "pnlWord"), "現在の年間利益額は 1,234,567円です。");
    State().option().WordShow = 0;
    W()->ApplyMotto();
    EXPECT_FALSE(Find(W(), "pnlWord")->isVisible());
    EXPECT_TRUE(Find(W(), "pnlBorder")->isVisible());
    EXPECT_EQ(W()->height(), tall - 24);
}

}  // namespace
}  // namespace zavota::testing

namespace zavota::testing {
namespace {

// While a long search runs, the window answers but starts no second calculation.
struct Interference {
    QWidget* window = nullptr;
    int rounds = 0;
    bool hourglass = true;
};

void PressAgain(void* context) {
    auto* i = static_cast<Interference*>(context);
    ++i->rounds;
    const QCursor* cursor = QApplication::overrideCursor();
    i->hourglass = i->hourglass && cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    i->window->findChild<QPushButton*>("btnGo_K")->click();
    i->window->findChild<QCheckBox*>("chkTen_K")->click();
    QApplication::processEvents();
}

TEST_F(MainWindowTest, ASecondPressDuringASearchIsIgnored) {
    Open();
    // One share at one yen with a sale commission typed at 20,000 yen: the break-even climbs
    // some 2,600 ticks.
    QTest::mouseDClick(Find(W(), "lblMargin_U"), Qt::LeftButton);
    Find<QLineEdit>(W(), "mmMargin_U")->setText("20000");
    Calculate("1", "1");
    const std::string quiet = Text(W(), "mmPay_K").toStdString();
    ASSERT_FALSE(quiet.empty());

    Interference interference{W()};
    State().calc.walk = Walk::RoundByRound;  // the fast walk would finish before any repaint
    State().calc.SetYieldHook(&PressAgain, &interference);
    Click(W(), "btnGo_K");
    State().calc.SetYieldHook(nullptr, nullptr);
    ASSERT_GT(interference.rounds, 0) << "the search never yielded";
    EXPECT_TRUE(interference.hourglass);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Text(W(), "mmPay_K").toStdString(), quiet);
    EXPECT_EQ(quiet, "22,580");  // 1 + 1,500 + 75 paid; 20,000 + 1,000 tax to sell
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(MainWindowTest, MemoPadPricesAreCalculatedOnTheirPage) {
    Open();
    QCoreApplication::postEvent(W(), new ui::MemoCalcEvent(ui::MemoCalcSell, "1100", "1000"));
    Settle();
    EXPECT_EQ(Find<QTabWidget>(W(), "pgcCalcInput")->currentIndex(), 1);
    EXPECT_EQ(Text(W(), "edtYen_U"), "1100");
    EXPECT_FALSE(Text(W(), "mmPay_U").isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), Find(W(), "edtR1_U"));

    QCoreApplication::postEvent(W(), new ui::MemoCalcEvent(ui::MemoCalcBuy, "2000", "300"));
    Settle();
    EXPECT_EQ(Find<QTabWidget>(W(), "pgcCalcInput")->currentIndex(), 0);
    EXPECT_EQ(Text(W(), "mmGaku_K"), "2,000");
    EXPECT_EQ(Text(W(), "mmNum_K"), "300");
    EXPECT_EQ(QApplication::focusWidget(), Find(W(), "edtR1_K"));
}

}  // namespace
}  // namespace zavota::testing
