// A lock that another process keeps is waited for a bounded time; then nothing is written and
// the values stay for a later save.
#include <chrono>
#include <string>

#include "SettingsFixture.h"
#include "support/LockHolder.h"
#include "memo/MemoStore.h"
#include "platform/FileIo.h"

namespace zavota::testing {
namespace {

class LockWaitTest : public SettingsFixture {};

TEST_F(LockWaitTest, ASaveGivesUpAfterTheWaitAndKeepsItsValuesForTheNextSave) {
    int waits = 0;
    bool nestedRefused = false;
    platform::NamedMutex& mutex = store.Mutex();
    mutex.SetWaitLimit(300, [&] {
        ++waits;
        // What the window does meanwhile must not write unlocked either.
        platform::MutexGuard nested(mutex);
        nestedRefused = nested.Busy();
    });
    MemoStore memo(home.HomePath() + "Data/", mutex);
    ASSERT_TRUE(store.SaveTopMost());
    const std::string before = platform::ReadFileBytes(home.HivePath()).bytes;
    program.option.TopMost = 1;
    {
        LockHolder other(mutex.LockPath());
        ASSERT_TRUE(other.Held());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(store.SaveTopMost());
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(store.LastSaveBusy());
        EXPECT_GE(waited, std::chrono::milliseconds(300));
        EXPECT_LT(waited, std::chrono::seconds(3));
        EXPECT_GT(waits, 3);
        EXPECT_TRUE(nestedRefused);
        EXPECT_EQ(platform::ReadFileBytes(home.HivePath()).bytes, before);
        EXPECT_FALSE(mutex.Busy());  // only while that Lock lasted

        // The memo pad's writes are refused the same way, and said to be.
        ASSERT_TRUE(memo.open("Calc.ini", MemoFileKind::Ini, false));
        EXPECT_FALSE(memo.writeCalculator(std::vector<std::string>(kCalculatorItems, "1")));
        memo.close();
        EXPECT_TRUE(memo.takeBusy());
        EXPECT_FALSE(memo.fileExists("Calc.ini"));
    }
    // The value the user set is still there for the next save.
    EXPECT_EQ(program.option.TopMost, 1);
    EXPECT_TRUE(store.SaveTopMost());
    EXPECT_FALSE(store.LastSaveBusy());
    EXPECT_EQ(Hive()->ReadInteger(kVekkar + "Option", "TopMost"), 1);
}

}  // namespace
}  // namespace zavota::testing
