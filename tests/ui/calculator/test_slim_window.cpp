#include <QTabBar>
#include <QTabWidget>

#include "ui/UiTest.h"
#include "core/ResultPanel.h"
#include "core/SlimPage.h"
#include "ui/calculator/Adjustunit.h"
#include "ui/common/NumericEdit.h"
#include "ui/calculator/Slimunit.h"

namespace zavota::testing {
namespace {

constexpr const char* kFigures[] = {"mmPay_K", "mmTotal_K", "mmPay_U", "mmTotal_U", "mmResult_Last", "mmResult_R"};

// Records the private messages the window posts to the state window.
class MessageSink : public QObject {
public:
    bool event(QEvent* e) override {
        received.push_back(static_cast<int>(e->type()));
        return true;
    }
    std::vector<int> received;
};

class SlimWindowTest : public UiTest {
protected:
    ui::TSlimForm& Form() {
        if (!form_) form_ = std::make_unique<ui::TSlimForm>(State(), adjust_);
        return *form_;
    }
    // The inputs typed key by key, then "実行".
    void Calculate(const char* buy, const char* shares, const char* sell) {
        Enter(buy, shares, sell);
        Click(&Form(), "btnGo");
        Settle();
    }
    void Enter(const char* buy, const char* shares, const char* sell) {
        Type(&Form(), "edtYen_K", buy);
        Type(&Form(), "edtNum_K", shares);
        Type(&Form(), "edtR1_K", sell);
    }
    std::vector<std::string> FigureTexts() {
        std::vector<std::string> out;
        for (const char* f : kFigures) out.push_back(Text(&Form(), f).toStdString());
        return out;
    }
    QColor FigureColour(const char* name) { return Find<QLineEdit>(&Form(), name)->palette().color(QPalette::Text); }
    QColor WindowText() { return Form().palette().color(QPalette::WindowText); }
    // A second commission table, so that a table index other than 0 can be chosen.
    void AddSecondTable() {
        State().calc.tables.Copy(0, 1);
        State().calc.tables.Slot(1).Name = "二番目";
    }

private:
    ui::TfrmAdjust adjust_;
    std::unique_ptr<ui::TSlimForm> form_;
};

TEST_F(SlimWindowTest, ControlsCaptionsAndTabOrder) {
    Form().Run();
    EXPECT_EQ(Form().windowTitle(), "Zavota");
    EXPECT_LE(Form().width(), 160);
    const char* order[] = {"edtYen_K", "edtNum_K", "edtR1_K", "cmbTax_K", "cmbTable_K", "chkMini", "chkTen",
                           "edtMini",  "btnMemo",  "btnKeihi", "btnGo",   "btnNormal", "btnEnd"};
    QWidget* w = Find(&Form(), order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&Form())) w = w->nextInFocusChain();
        EXPECT_EQ(w->objectName().toStdString(), order[i]);
    }
    for (const char* f : kFigures) {
        auto* box = Find<QLineEdit>(&Form(), f);
        EXPECT_TRUE(box->isReadOnly() && !box->hasFrame()) << f;
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus) << f;
        EXPECT_TRUE(box->alignment() & Qt::AlignRight) << f;
    }
    for (const char* e : {"edtYen_K", "edtNum_K", "edtR1_K", "edtMini"}) {
        EXPECT_EQ(Find<ui::NumericEdit>(&Form(), e)->Limit(), 10) << e;
        EXPECT_FALSE(Find(&Form(), e)->testAttribute(Qt::WA_InputMethodEnabled)) << e;
    }
    EXPECT_TRUE(Find<QPushButton>(&Form(), "btnGo")->isDefault());
    EXPECT_EQ(Text(&Form(), "btnKeihi"), "その他経費  ");
    const QStringList kinds = {Find<QComboBox>(&Form(), "cmbTax_K")->itemText(0),
                               Find<QComboBox>(&Form(), "cmbTax_K")->itemText(1)};
    EXPECT_EQ(kinds, QStringList({"現物", "信用取引"}));
    EXPECT_EQ(Text(&Form(), "cmbTable_K"), "サンプル・定額式");
}

TEST_F(SlimWindowTest, FillsTheFiguresOfTheLegsGiven) {
    struct Case {
        const char *buy, *sell;
        std::vector<std::string> figures;  // kFigures order
        const char* focus;
    };
    const Case cases[] = {
        {"", "1100", {"", "", "1,096", "1,098,425", "", ""}, "edtR1_K"},
        {"1000", "", {"1,004", "1,001,575", "", "", "", ""}, "edtYen_K"},
        {"1000", "1100", {"1,004", "1,001,575", "1,096", "1,098,425", "+87,165", "8.70(%)"}, "edtR1_K"},
        {"1000", "990", {"1,004", "1,001,575", "986", "988,425", "-13,150", "-1.31(%)"}, "edtR1_K"},
    };
    Form().Run();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.buy) + " / " + c.sell);
        for (const char* e : {"edtYen_K", "edtNum_K", "edtR1_K"}) Paste(&Form(), e, "");
        Calculate(c.buy, "1000", c.sell);
        EXPECT_EQ(FigureTexts(), c.figures);
        EXPECT_EQ(QApplication::focusWidget(), Find(&Form(), c.focus));
        const bool loss = c.figures[4].starts_with("-");
        const QColor expected = loss ? QColor(255, 0, 0) : WindowText();
        EXPECT_EQ(FigureColour("mmResult_Last"), expected);
        EXPECT_EQ(FigureColour("mmResult_R"), expected);
    }
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(SlimWindowTest, RefusedInputsShowTheirMessageAndLeaveTheFiguresEmpty) {
    struct Case {
        const char *buy, *shares, *sell;
        int message;
        const char* focus;
    };
    const Case cases[] = {
        {"", "1000", "", 100, "edtYen_K"},
        {"1000", "1000", "0", 208, "edtR1_K"},
        {"99999999", "1000", "", 243, "edtNum_K"},  // the focus stays where it was
    };
    Form().Run();
    Calculate("1000", "1000", "1100");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        for (const char* e : {"edtYen_K", "edtNum_K", "edtR1_K"}) Paste(&Form(), e, "");
        Messages().Clear();
        Enter(c.buy, c.shares, c.sell);
        Find(&Form(), "edtNum_K")->setFocus();
        Click(&Form(), "btnGo");
        EXPECT_EQ(Messages().numbers, std::vector<int>{c.message});
        EXPECT_EQ(QApplication::focusWidget(), Find(&Form(), c.focus));
        EXPECT_EQ(FigureTexts(), std::vector<std::string>(6));
    }
}

TEST_F(SlimWindowTest, MarginTradingTakesAwayMiniStock) {
    State().option().MiniFlagK = 1;
    State().option().MiniK = 100;
    Form().Run();
    auto* mini = Find<QCheckBox>(&Form(), "chkMini");
    auto* unit = Find<QLineEdit>(&Form(), "edtMini");
    ASSERT_TRUE(mini->isChecked());
    EXPECT_EQ(unit->text(), "100");
    EXPECT_TRUE(unit->isEnabled());

    Select(&Form(), "cmbTax_K", 1);
    EXPECT_FALSE(mini->isChecked());
    EXPECT_FALSE(mini->isEnabled());
    EXPECT_FALSE(unit->isEnabled());
    EXPECT_EQ(unit->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_EQ(State().option().TaxTypeK, 3);
    EXPECT_EQ(State().option().MiniFlagK, 0);

    Select(&Form(), "cmbTax_K", 0);
    EXPECT_TRUE(mini->isEnabled());
    EXPECT_FALSE(mini->isChecked());
    EXPECT_EQ(State().option().TaxTypeK, 1);
    Click(&Form(), "chkMini");
    EXPECT_TRUE(unit->isEnabled());
    EXPECT_EQ(State().option().MiniFlagK, 1);
}

TEST_F(SlimWindowTest, SettingsChangesRecalculateOnlyWithACountAndAPrice) {
    AddSecondTable();
    Form().Run();
    Enter("1000", "", "1100");
    Select(&Form(), "cmbTable_K", 1);
    Click(&Form(), "chkTen");
    Select(&Form(), "cmbTax_K", 1);
    EXPECT_TRUE(Messages().numbers.empty()) << "no calculation without a count";
    EXPECT_EQ(State().option().MarginIndexK, 1);
    EXPECT_EQ(State().option().TenFlagK, 1);

    Type(&Form(), "edtNum_K", "1000");
    Select(&Form(), "cmbTable_K", 0);
    EXPECT_EQ(Text(&Form(), "mmResult_Last").toStdString().substr(0, 1), "+");
    Paste(&Form(), "mmResult_Last", "");
    Click(&Form(), "chkTen");
    EXPECT_FALSE(Text(&Form(), "mmResult_Last").isEmpty());
    Paste(&Form(), "mmResult_Last", "");
    Click(&Form(), "chkMini");  // the mini-stock box never recalculates
    EXPECT_TRUE(Text(&Form(), "mmResult_Last").isEmpty());
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(SlimWindowTest, TheCurrentSideSelectsThePairedSettings) {
    for (const int side : {0, 1}) {
        SCOPED_TRACE(side);
        Restart();
        AddSecondTable();
        OptionSettings& o = State().option();
        // The other side holds different values, which must stay untouched.
        o.TaxTypeK = o.TaxTypeU = 1;
        o.MarginIndexK = o.MarginIndexU = 0;
        o.MiniFlagK = o.MiniFlagU = 0;
        o.MiniK = o.MiniU = 0;
        o.TenFlagK = o.TenFlagU = 0;
        (side == 1 ? o.MarginIndexU : o.MarginIndexK) = 1;
        (side == 1 ? o.MiniFlagU : o.MiniFlagK) = 1;
        (side == 1 ? o.MiniU : o.MiniK) = 500;
        (side == 1 ? o.TenFlagU : o.TenFlagK) = 1;
        (side == 1 ? o.TaxTypeU : o.TaxTypeK) = 2;  // anything above 1 is margin, stored back as 3
        State().handover.side = side;

        ui::TfrmAdjust adjust;
        ui::TSlimForm form(State(), adjust);
        form.Run();
        EXPECT_EQ(Text(&form, "cmbTax_K"), "信用取引");
        EXPECT_EQ(Text(&form, "cmbTable_K"), "二番目");
        EXPECT_FALSE(Find<QCheckBox>(&form, "chkMini")->isChecked());  // margin allows no mini-stock
        EXPECT_EQ(Text(&form, "edtMini"), "500");
        EXPECT_TRUE(Find<QCheckBox>(&form, "chkTen")->isChecked());

        Select(&form, "cmbTax_K", 0);
        Click(&form, "chkMini");
        Paste(&form, "edtMini", "100");
        Select(&form, "cmbTable_K", 0);
        Click(&form, "chkTen");
        form.close();

        const int mine[] = {side == 1 ? o.TaxTypeU : o.TaxTypeK, side == 1 ? o.MarginIndexU : o.MarginIndexK,
                            side == 1 ? o.MiniFlagU : o.MiniFlagK, side == 1 ? o.TenFlagU : o.TenFlagK};
        const int others[] = {side == 1 ? o.TaxTypeK : o.TaxTypeU, side == 1 ? o.MarginIndexK : o.MarginIndexU,
                              side == 1 ? o.MiniFlagK : o.MiniFlagU, side == 1 ? o.TenFlagK : o.TenFlagU};
        EXPECT_EQ(std::vector<int>(std::begin(mine), std::end(mine)), (std::vector<int>{1, 0, 1, 0}));
        EXPECT_EQ(std::vector<int>(std::begin(others), std::end(others)), (std::vector<int>{1, 0, 0, 0}));
        EXPECT_EQ(side == 1 ? o.MiniU : o.MiniK, 100);
        EXPECT_EQ(side == 1 ? o.MiniK : o.MiniU, 0);
        EXPECT_EQ(State().keihiSide, side);
    }
}

TEST_F(SlimWindowTest, TakesOverTheInputsOfTheMainWindowAndCalculates) {
    WindowHandover& h = State().handover;
    h = {1000, 1000, 1100, false, true, false, 0};
    Form().Run();
    EXPECT_FALSE(h.switchToSlim);
    EXPECT_EQ(Text(&Form(), "edtYen_K"), "1000");
    EXPECT_EQ(Text(&Form(), "edtR1_K"), "1100");
    EXPECT_EQ(Text(&Form(), "mmResult_Last"), "+87,165");
    EXPECT_TRUE(State().calc.buyPageFlag);

    // Without the switch flag a show starts empty.
    Form().close();
    h.buyPrice = 2000;
    Form().Run();
    EXPECT_TRUE(Text(&Form(), "edtYen_K").isEmpty());
    EXPECT_TRUE(Text(&Form(), "mmResult_Last").isEmpty());
}

TEST_F(SlimWindowTest, SwitchingWithOnlyASellPriceOpensTheSellPage) {
    MessageSink sink;
    State().stateWindow = &sink;
    Form().Run();
    bool closed = false;
    QObject::connect(&Form(), &ui::TSlimForm::closedForGood, [&] { closed = true; });
    Calculate("", "300", "1500");
    Click(&Form(), "btnNormal");
    const WindowHandover& h = State().handover;
    EXPECT_EQ(h.side, 1);
    EXPECT_FALSE(State().calc.buyPageFlag);
    EXPECT_TRUE(h.switchToMain);
    EXPECT_FALSE(h.exitRequested);
    EXPECT_EQ(h.buyPrice, 0);
    EXPECT_EQ(h.shares, 300);
    EXPECT_EQ(h.sellPrice, 1500);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(Form().isVisible());
}

TEST_F(SlimWindowTest, ClosingEndsTheProgramAndKeepsThePosition) {
    auto memo = std::make_unique<QWidget>();
    memo->show();
    State().memoPad = memo.get();
    State().memoPending = true;
    State().display().XY = {-30, 40};
    Form().Run();
    EXPECT_EQ(Form().pos(), QPoint(0, 40));
    Form().move(70, 90);
    QTest::keyClick(Find(&Form(), "edtYen_K"), Qt::Key_Escape);  // no cancel button: Escape closes nothing
    EXPECT_TRUE(Form().isVisible());
    Form().close();
    EXPECT_TRUE(State().handover.exitRequested);
    EXPECT_FALSE(State().memoPending);
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(State().display().XY, (WindowPosition{70, 90}));
}

TEST_F(SlimWindowTest, AdjustedPricesNeedConsent) {
    Form().Run();
    Calculate("1000", "1000", "1100");
    ASSERT_NE(FigureTexts(), std::vector<std::string>(6));
    // Declined: the earlier figures go too, as in the main window.
    for (const char* field : {"edtYen_K", "edtNum_K", "edtR1_K"}) Paste(&Form(), field, "");
    dialogs.Click("frmAdjust", "キャンセル");
    Calculate("2003", "100", "");
    EXPECT_EQ(FigureTexts(), std::vector<std::string>(6));
    EXPECT_EQ(Text(&Form(), "edtYen_K"), "2003");
    EXPECT_FALSE(State().modalDialogOpen);

    dialogs.Expect("frmAdjust", [this](QWidget* d) {
        EXPECT_TRUE(State().modalDialogOpen);
        EXPECT_EQ(Text(d, "lblAdjust1"), "2003円 → 2005円 （呼び値単位：5円）");
        Click(d, "btnOk");
    });
    Click(&Form(), "btnGo");
    Settle();
    EXPECT_EQ(Text(&Form(), "edtYen_K"), "2005");
    EXPECT_FALSE(Text(&Form(), "mmTotal_K").isEmpty());
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(SlimWindowTest, MemoPadMessagesCalculateTheirLeg) {
    MessageSink sink;
    State().stateWindow = &sink;
    Form().Run();
    Calculate("1000", "1000", "1100");

    ui::MemoCalcEvent sell(ui::MemoCalcSell, "1,100", "1000");
    QCoreApplication::sendEvent(&Form(), &sell);
    EXPECT_TRUE(Text(&Form(), "edtYen_K").isEmpty());
    EXPECT_EQ(Text(&Form(), "edtR1_K"), "1100");
    EXPECT_EQ(FigureTexts(), (std::vector<std::string>{"", "", "1,096", "1,098,425", "", ""}));
    EXPECT_EQ(QApplication::focusWidget(), Find(&Form(), "edtR1_K"));

    ui::MemoCalcEvent buy(ui::MemoCalcBuy, "1000", "1000");
    QCoreApplication::sendEvent(&Form(), &buy);
    EXPECT_TRUE(Text(&Form(), "edtR1_K").isEmpty());
    EXPECT_EQ(FigureTexts(), (std::vector<std::string>{"1,004", "1,001,575", "", "", "", ""}));
    EXPECT_EQ(QApplication::focusWidget(), Find(&Form(), "edtYen_K"));

    Click(&Form(), "btnMemo");
    QTest::keyClick(Find(&Form(), "edtNum_K"), Qt::Key_M, Qt::AltModifier);
    Settle();
    EXPECT_EQ(sink.received, (std::vector<int>{ui::ShowMemoPad, ui::ShowMemoPad}));
}

TEST_F(SlimWindowTest, TheChosenExpenseSetReachesTheCalculation) {
    Form().Run();
    Enter("1000", "1000", "1100");
    dialogs.Expect("frmKeihi", [this](QWidget* d) {
        if (auto* bar = d->findChild<QTabBar*>("tabKeihi")) bar->setCurrentIndex(2);
        else if (auto* tabs = d->findChild<QTabWidget*>("tabKeihi")) tabs->setCurrentIndex(2);
        Settle();
        Paste(d, "edtOther", "1000");
        Click(d, "btnOk");
    });
    Click(&Form(), "btnKeihi");
    Settle();
    EXPECT_EQ(Text(&Form(), "btnKeihi"), "その他経費 2");
    EXPECT_EQ(State().calc.keihiSelected[0], 2);

    // The same calculation in the core, with the set the dialog left behind.
    CalcState expected;
    expected.keihiSets = State().calc.keihiSets;
    expected.keihiSelected = {2, 0};
    SlimInput in;
    in.buyPrice = "1000", in.shares = "1000", in.sellPrice = "1100", in.taxKindIndex = 0;
    ASSERT_EQ(RunSlim(expected, in).status, PageStatus::Ready);
    EXPECT_EQ(Text(&Form(), "mmResult_Last").toStdString(), SignedYenText(expected.result.finalProfit));
    EXPECT_NE(Text(&Form(), "mmResult_Last"), "+87,165");
}

// A long break-even loop yields to the event loop; what arrives meanwhile must not start a
// second calculation, and a close waits until the figures are in.
TEST_F(SlimWindowTest, NothingInterruptsARunningCalculation) {
    State().calc.SetTickCheck(false);  // one-yen steps: thousands of rounds for one share
    State().calc.walk = Walk::RoundByRound;  // the fast walk would finish before any repaint
    Form().Run();
    Enter("1000", "1", "5000");
    bool interrupted = false;
    QTimer::singleShot(0, [&] {
        interrupted = true;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        Click(&Form(), "btnGo");
        Form().close();
    });
    const std::int64_t before = State().calc.Rounds();
    Click(&Form(), "btnGo");
    ASSERT_TRUE(interrupted) << "the calculation never yielded";
    const std::int64_t oneRun = State().calc.Rounds() - before;

    CalcState alone;
    alone.walk = Walk::RoundByRound;
    alone.SetTickCheck(false);
    SlimInput in;
    in.buyPrice = "1000", in.shares = "1", in.sellPrice = "5000", in.taxKindIndex = 0;
    RunSlim(alone, in);
    EXPECT_EQ(oneRun, alone.Rounds());
    EXPECT_FALSE(Text(&Form(), "mmResult_Last").isEmpty());
    EXPECT_FALSE(Form().isVisible());
    EXPECT_TRUE(State().handover.exitRequested);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace zavota::testing
