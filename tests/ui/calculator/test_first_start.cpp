// The first start's question without a window manager: who is never asked, and what an
// unanswered box leaves (answers by key are driven under openbox, tests/x11).
#include <filesystem>
#include <fstream>
#include <functional>

#include "ui/UiTest.h"
#include "ui/calculator/Baseunit.h"

namespace zavota::testing {
namespace {

struct Answering : MessagePresenter {
    void Show(const MessageBoxContent&) override {}
    MessageAnswer Ask(const MessageBoxContent& box) override {
        offered += box.text == MessageCatalogue::Confirmation(kConfirmTodaysRules, {}, false).text;
        return answer;
    }
    MessageAnswer answer = MessageAnswer::Yes;
    int offered = 0;
};

using FirstStartTest = UiTest;

TEST_F(FirstStartTest, NeverAskedWithoutAUserOrWithSomebodysSettings) {
    const std::filesystem::path hive = Home().HivePath();
    std::filesystem::create_directories(hive.parent_path());
    struct Case {
        const char* name;
        bool user;
        MessageAnswer answer;
        std::function<void()> before;
        int offered;
        Yen kaiS;  // afterwards, as the next start loads it
    } cases[] = {
        {"unattended", false, MessageAnswer::Yes, [] {}, 0, Yen::FromInt(5)},
        {"closed unanswered", true, MessageAnswer::Cancel, [] {}, 1, Yen::FromInt(5)},
        {"damaged file", true, MessageAnswer::Yes, [&] { std::ofstream(hive) << "junk"; }, 0, Yen::FromInt(5)},
        {"dangling link", true, MessageAnswer::Yes, [&] { std::filesystem::create_symlink("gone.reg", hive); }, 0,
         Yen::FromInt(5)},
        {"an earlier version's settings", true, MessageAnswer::Yes,
         [&] {
             State().calc.tax.KaiS = Yen::FromInt(8);
             ASSERT_TRUE(State().store.SaveTaxRates());
         },
         0, Yen::FromInt(8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(hive);
        c.before();
        Answering user;
        user.answer = c.answer;
        { ui::TBaseForm base(hive, "zavota", &user, c.user); }
        EXPECT_EQ(user.offered, c.offered);
        // An answer, even none, is stored at once: the next start does not ask again.
        if (c.offered) EXPECT_TRUE(std::filesystem::exists(hive));
        if (!c.user) EXPECT_FALSE(std::filesystem::exists(hive));
        Restart();
        EXPECT_EQ(State().calc.tax.KaiS, c.kaiS);
        EXPECT_EQ(State().calc.listedTicks.Elements, 8);
    }
}

}  // namespace
}  // namespace zavota::testing
