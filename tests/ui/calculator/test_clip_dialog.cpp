// The clipboard item dialog (what its buttons do to the selection in memory and in the hive)
// and the copy commands (the exact text on the clipboard after a real calculation).
#include <filesystem>
#include <string>
#include <vector>

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>

#include "ui/UiTest.h"
#include "core/PageLogic.h"
#include "platform/FileIo.h"
#include "platform/RegistryHive.h"
#include "ui/calculator/Clipunit.h"

namespace zavota::testing {
namespace {

using Flags = std::array<int, kClipboardItemCount>;

const Flags kDefaults = ClipboardItems().flags;

class ClipDialogTest : public UiTest {
protected:
    Flags& Selection() { return State().program.clipboard.flags; }

    // Opens the dialog and runs `act` on it while it is shown.
    void Run(std::function<void(QWidget*)> act) {
        dialogs.Expect("frmClip", [this, act](QWidget* w) {
            EXPECT_TRUE(State().modalDialogOpen);
            act(w);
            if (w->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                w->close();
            }
        });
        ui::RunClipDialog(State(), nullptr);
        EXPECT_FALSE(State().modalDialogOpen);
        EXPECT_FALSE(dialogs.Pending());
    }

    std::string Hive() const {
        platform::RegistryHive hive(Home().HivePath());
        hive.Reload();
        return hive.Serialise();
    }

    static bool Checked(QWidget* w, const char* name) {
        auto* b = Find<QCheckBox>(w, name);
        return b != nullptr && b->isChecked();
    }
};

Flags With(Flags f, std::initializer_list<std::pair<int, int>> changes) {
    for (auto [item, value] : changes) f[item] = value;
    return f;
}

TEST_F(ClipDialogTest, ShowsTheSelectionInItsGroups) {
    Selection() = With(kDefaults, {{0, 0}, {6, 1}, {15, 1}});
    Run([](QWidget* w) {
        EXPECT_FALSE(Checked(w, "chkGaku_K"));
        EXPECT_TRUE(Checked(w, "chkNum_K"));
        EXPECT_TRUE(Checked(w, "chkPay_K"));
        EXPECT_TRUE(Checked(w, "chkResult_Keihi"));
        EXPECT_FALSE(Checked(w, "chkResult_M"));
        // Each box in its group; the profit boxes in the dialog's own order, top to bottom.
        const std::vector<std::pair<const char*, std::vector<const char*>>> groups = {
            {"買い", {"chkGaku_K", "chkNum_K", "chkYakutei_K", "chkMargin_K", "chkSZei_K", "chkTotal_K", "chkPay_K"}},
            {"売り", {"chkGaku_U", "chkNum_U", "chkYakutei_U", "chkMargin_U", "chkSZei_U", "chkTotal_U", "chkPay_U"}},
            {"利益", {"chkResult_M", "chkResult_Last", "chkResult_R", "chkResult_Tax", "chkResult_Keihi"}},
        };
        for (const auto& [title, names] : groups) {
            int lastY = -1;
            for (const char* name : names) {
                QCheckBox* b = Find<QCheckBox>(w, name);
                if (b == nullptr) continue;
                auto* group = qobject_cast<QGroupBox*>(b->parentWidget());
                EXPECT_EQ(group != nullptr ? group->title() : QString(), QString::fromUtf8(title)) << name;
                EXPECT_GT(b->y(), lastY) << name;
                lastY = b->y();
            }
        }
        EXPECT_EQ(Text(w, "chkResult_Tax"), "利益に対する課税");
        EXPECT_EQ(Text(w, "chkTotal_U"), "受取合計額");
        Click(w, "btnCancel");
    });
}

TEST_F(ClipDialogTest, CancelPutsBackTheSelectionItWasShownWith) {
    const Flags before = With(kDefaults, {{2, 1}, {18, 0}});
    struct Case {
        const char* name;
        std::vector<const char*> clicks;
        Flags during;  // the selection in memory before "キャンセル"
    };
    const std::vector<Case> cases = {
        {"clicks", {"chkGaku_K", "chkYakutei_K", "chkPay_U", "chkResult_R"},
         With(before, {{0, 0}, {2, 0}, {13, 1}, {18, 1}})},
        {"clicked twice", {"chkNum_U", "chkNum_U"}, before},
        {"初期値に戻す", {"chkResult_Tax", "btnDefault"}, kDefaults},
        {"初期値に戻す, then clicks", {"btnDefault", "chkResult_M"}, With(kDefaults, {{14, 1}})},
    };
    for (const Case& c : cases) {
        Selection() = before;
        Run([&](QWidget* w) {
            for (const char* name : c.clicks) Click(w, name);
            EXPECT_EQ(Selection(), c.during) << c.name;
            EXPECT_EQ(Checked(w, "chkResult_M"), c.during[14] == 1) << c.name;
            EXPECT_EQ(Checked(w, "chkYakutei_K"), c.during[2] == 1) << c.name;
            Click(w, "btnCancel");
        });
        EXPECT_EQ(Selection(), before) << c.name;
    }
    EXPECT_EQ(Hive().find("Clipboard"), std::string::npos) << "nothing is saved before 変更";
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(ClipDialogTest, ChangeSavesTheSelection) {
    Run([](QWidget* w) {
        Click(w, "chkGaku_K");
        Click(w, "chkPay_U");
        Click(w, "chkResult_Keihi");
        Click(w, "btnOk");
    });
    const Flags chosen = With(kDefaults, {{0, 0}, {13, 1}, {15, 1}});
    EXPECT_EQ(Selection(), chosen);
    EXPECT_TRUE(Messages().numbers.empty());
    const std::string hive = Hive();
    EXPECT_NE(hive.find("\\Clipboard]"), std::string::npos) << hive;
    EXPECT_NE(hive.find("\"GakuK\"=dword:00000000"), std::string::npos) << hive;
    EXPECT_NE(hive.find("\"PayU\"=dword:00000001"), std::string::npos) << hive;
    Restart();
    EXPECT_EQ(Selection(), chosen);
}

TEST_F(ClipDialogTest, TitleBarCloseKeepsTheClicksWithoutSaving) {
    Run([](QWidget* w) {
        Click(w, "chkTotal_K");
        Click(w, "btnDefault");
        Click(w, "chkMargin_U");
        w->close();
    });
    EXPECT_EQ(Selection(), With(kDefaults, {{10, 1}}));
    Restart();
    EXPECT_EQ(Selection(), kDefaults);
}

TEST_F(ClipDialogTest, AFailedSaveIsReportedAndTheSelectionStays) {
    // A folder where the hive file should be cannot be replaced by a file.
    std::filesystem::create_directories(Home().HivePath());
    Run([](QWidget* w) {
        Click(w, "chkSZei_K");
        Click(w, "btnOk");
    });
    EXPECT_EQ(Messages().numbers, std::vector<int>{290});
    EXPECT_EQ(Selection(), With(kDefaults, {{4, 1}}));
}

// One purchase of 1,000 shares at 1,000 yen sold at 1,100 yen, on the stored default tables.
class CopyResultsTest : public ClipDialogTest {
protected:
    void Calculate(Page page) {
        PageInput in;
        in.page = page;
        in.price = "1000";
        in.shares = "1000";
        in.questions[0] = page == Page::Buy ? "1100" : "900";
        in.taxKindIndex = 0;
        const PageOutcome out = RunPage(State().calc, in);
        ASSERT_EQ(out.status, PageStatus::Ready) << out.message;
        State().handover.side = page == Page::Buy ? 0 : 1;
    }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(CopyResultsTest, CopiesTheCalculatedFiguresInBothLayouts) {
    Calculate(Page::Buy);
    ui::CopyResults(State(), ClipboardLayout::Vertical, {true, true, true});
    EXPECT_EQ(Clipboard().toStdString(),
              "[買]単価\t1,000\r\n[買]株数\t1,000\r\n[買]支払合計額\t1,001,575\r\n"
              "[売]単価\t1,100\r\n[売]株数\t1,000\r\n[売]受取合計額\t1,098,425\r\n"
              "最終利益\t87,165\r\n利益率\t8.70%\r\n");
    ui::CopyResults(State(), ClipboardLayout::Horizontal, {true, true, true});
    EXPECT_EQ(Clipboard().toStdString(),
              "[買]単価\t[買]株数\t[買]支払合計額\t[売]単価\t[売]株数\t[売]受取合計額\t最終利益\t利益率\r\n"
              "1,000\t1,000\t1,001,575\t1,100\t1,000\t1,098,425\t87,165\t8.70%\r\n");
    // Only what the panel shows takes part, whatever the state holds.
    ui::CopyResults(State(), ClipboardLayout::Horizontal, {true, false, false});
    EXPECT_EQ(Clipboard().toStdString(), "[買]単価\t[買]株数\t[買]支払合計額\t\r\n1,000\t1,000\t1,001,575\t\r\n");
}

TEST_F(CopyResultsTest, OnTheSellPageTheSaleComesFirst) {
    Calculate(Page::Sell);
    ui::CopyResults(State(), ClipboardLayout::Horizontal, {true, true, true});
    EXPECT_EQ(Clipboard().toStdString(),
              "[売]単価\t[売]株数\t[売]受取合計額\t[買]単価\t[買]株数\t[買]支払合計額\t最終利益\t利益率\r\n"
              "1,000\t1,000\t998,425\t900\t1,000\t901,575\t87,165\t9.67%\r\n");
}

TEST_F(CopyResultsTest, NothingIsCopiedWithoutALeg) {
    Calculate(Page::Buy);
    QGuiApplication::clipboard()->setText("kept");
    ui::CopyResults(State(), ClipboardLayout::Vertical, {false, false, true});
    ui::CopyResults(State(), ClipboardLayout::Horizontal, {false, false, false});
    EXPECT_EQ(Clipboard(), "kept");
}

}  // namespace
}  // namespace zavota::testing
