// The first start asks once whether to use today's tax rates and tick sizes; the answer is
// stored at once, and runs without a user never ask.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ui/UiTest.h"
#include "ui/calculator/Baseunit.h"

namespace zavota::testing {
namespace {

// Answers the questions in turn and keeps what was asked.
struct Answering : MessagePresenter {
    void Show(const MessageBoxContent&) override {}
    MessageAnswer Ask(const MessageBoxContent& box) override {
        asked.push_back(box);
        return answer;
    }
    MessageAnswer answer = MessageAnswer::Yes;
    std::vector<MessageBoxContent> asked;
};

class FirstStartTest : public UiTest {
protected:
    // A start of the program as main() makes it; the number of times today's rules were offered.
    int StartWith(bool askFirstStart, MessageAnswer answer) {
        Answering user;
        user.answer = answer;
        ui::TBaseForm base(Home().HivePath(), "zavota", &user, askFirstStart);
        const std::string offer = MessageCatalogue::Confirmation(kConfirmTodaysRules, {}, false).text;
        return static_cast<int>(std::count_if(user.asked.begin(), user.asked.end(),
                                              [&](const MessageBoxContent& box) { return box.text == offer; }));
    }
};

TEST_F(FirstStartTest, AskedOnceOnlyWhenThereIsNoSettingsFile) {
    struct Case {
        const char* name;
        bool ask;                   // a user is there to answer
        MessageAnswer answer;
        bool asked;
        bool today;                 // today's rules in force after the start
    } cases[] = {
        {"yes", true, MessageAnswer::Yes, true, true},
        {"no", true, MessageAnswer::No, true, false},
        {"closed", true, MessageAnswer::Cancel, true, false},
        {"unattended", false, MessageAnswer::Yes, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(Home().HivePath());
        EXPECT_EQ(StartWith(c.ask, c.answer), c.asked ? 1 : 0);
        // Written at once, before the program ends: a start that is killed asks no more.
        EXPECT_EQ(std::filesystem::exists(Home().HivePath()), c.asked);
        Restart();
        const TaxSettings& t = State().calc.tax;
        EXPECT_EQ(t.KaiS, Yen::FromInt(c.today ? 10 : 5));
        EXPECT_EQ(t.UriS, Yen::FromInt(c.today ? 10 : 5));
        EXPECT_EQ(t.ShinSyotoku, c.today ? Yen::FromRaw(153150) : Yen::FromInt(7));
        EXPECT_EQ(t.ShinJyuumin, Yen::FromInt(c.today ? 5 : 3));
        EXPECT_EQ(State().calc.listedTicks.Elements, c.today ? 10 : 8);
        EXPECT_EQ(State().calc.listedTicks.Tick(Yen::FromInt(2512), true), Yen::FromInt(c.today ? 1 : 5));
        EXPECT_EQ(State().calc.listedTicks.DontUse, 0);
        if (!c.asked) continue;
        // Never again, whatever was answered.
        EXPECT_EQ(StartWith(true, MessageAnswer::Yes), 0);
        Restart();
        EXPECT_EQ(State().calc.tax.KaiS, Yen::FromInt(c.today ? 10 : 5));
    }
}

TEST_F(FirstStartTest, ASettingsFileOfAnyKindIsNoFirstStart) {
    const std::filesystem::path hive = Home().HivePath();
    std::filesystem::create_directories(hive.parent_path());
    // Somebody's settings: damaged, or the link to them dangling; an existing user's hive
    // without this version's answer.
    const std::function<void()> kinds[] = {
        [&] { std::ofstream(hive, std::ios::binary) << "junk"; },
        [&] { std::filesystem::create_symlink(hive.parent_path() / "elsewhere.reg", hive); },
        [&] {
            State().calc.tax.KaiS = Yen::FromInt(8);
            ASSERT_TRUE(State().store.SaveTaxRates());
        },
    };
    for (const auto& make : kinds) {
        std::filesystem::remove(hive);
        make();
        EXPECT_EQ(StartWith(true, MessageAnswer::Yes), 0);
    }
    Restart();
    EXPECT_EQ(State().calc.tax.KaiS, Yen::FromInt(8));
}

}  // namespace
}  // namespace zavota::testing
