// A lock that another process keeps is waited for a bounded time; then nothing is written and
// the values stay for a later save.
#include <chrono>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SettingsFixture.h"
#include "memo/MemoStore.h"
#include "platform/FileIo.h"

namespace zavota::testing {
namespace {

// Another process holding the lock file until the object goes.
class LockHolder {
public:
    explicit LockHolder(const std::string& lockPath) {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release[1]);
            const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0644);
            char c = 1;
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], &c, 1) != 1) ::_exit(1);
            // Until the parent closes its end.
            ::_exit(::read(release[0], &c, 1) < 0 ? 1 : 0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char c = 0;
        pollfd p{ready[0], POLLIN, 0};
        held_ = ::poll(&p, 1, 5000) == 1 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (release_ >= 0) ::close(release_);
        if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    }
    bool Held() const { return held_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

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
