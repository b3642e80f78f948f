// The cross-process mutex: recursive in one process, exclusive between threads and processes,
// never left held by a process that died or by a child that inherited it through fork().
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileIo.h"
#include "platform/NamedMutex.h"
#include "support/TempFolder.h"

namespace zavota::platform {
namespace {

using zavota::testing::TempFolder;

// Whether some open file description other than ours holds the lock file.
bool HeldElsewhere(const std::string& lockPath) {
    int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// Waits up to `ms` for a byte on a pipe.
bool ReadByte(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    char c;
    return ::poll(&p, 1, ms) == 1 && ::read(fd, &c, 1) == 1;
}

int WaitExitCode(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A Lock that never returns would hang the whole run; end it loudly instead.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
};

TEST(NamedMutex, IsRecursiveAcrossObjectsOfOneProcess) {
    TempFolder tmp;
    const std::string folder = tmp / "not/yet/there/";
    NamedMutex a("VekkarMutex", folder), b("VekkarMutex", folder);
    EXPECT_EQ(a.LockPath(), folder + "VekkarMutex.lock");
    Deadline deadline(10);

    EXPECT_TRUE(a.Lock());
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(a.Lock());
    EXPECT_TRUE(b.Lock());  // another object, same thread: no self-deadlock
    EXPECT_EQ(a.Depth(), 2);
    EXPECT_EQ(b.Depth(), 1);
    EXPECT_TRUE(HeldElsewhere(a.LockPath()));
    a.Unlock();
    a.Unlock();
    EXPECT_TRUE(HeldElsewhere(a.LockPath()));  // b still holds it
    b.Unlock();
    EXPECT_FALSE(HeldElsewhere(a.LockPath()));
    b.Unlock();  // an extra Unlock is harmless
    EXPECT_EQ(b.Depth(), 0);

    // Another spelling of the same folder shares the lock instead of waiting for itself.
    NamedMutex c("VekkarMutex", tmp / "not//yet/./there");
    EXPECT_TRUE(a.Lock());
    EXPECT_TRUE(c.Lock());
    c.Unlock();
    a.Unlock();

    {
        NamedMutex d("VekkarMutex", folder);
        d.Lock();
        d.Lock();
        EXPECT_TRUE(HeldElsewhere(d.LockPath()));
    }  // the destructor releases both
    EXPECT_FALSE(HeldElsewhere(a.LockPath()));
}

TEST(NamedMutex, LockWithoutALockFileStillBalances) {
    TempFolder tmp;
    ASSERT_TRUE(ReplaceFileAtomically(tmp / "file", "x"));
    NamedMutex m("VekkarMutex", tmp / "file/");  // the folder is a file
    EXPECT_FALSE(m.Lock());
    EXPECT_FALSE(m.Lock());
    EXPECT_EQ(m.Depth(), 2);
    m.Unlock();
    m.Unlock();
    EXPECT_EQ(m.Depth(), 0);
}

TEST(NamedMutex, ALinkInPlaceOfTheLockFileIsNeverFollowed) {
    TempFolder tmp;
    std::filesystem::create_symlink(tmp / "elsewhere", tmp / "VekkarMutex.lock");
    NamedMutex m("VekkarMutex", tmp.Path());
    EXPECT_FALSE(m.Lock());  // the caller works unlocked, as without a lock file
    m.Unlock();
    EXPECT_FALSE(std::filesystem::exists(tmp / "elsewhere"));
}

TEST(NamedMutex, ThreadsExcludeEachOther) {
    TempFolder tmp;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    int counter = 0;  // plain on purpose: only the mutex protects it
    Deadline deadline(20);
    auto work = [&] {
        NamedMutex m("VekkarMutex", tmp.Path());
        for (int i = 0; i < 300; ++i) {
            MutexGuard guard(m);
            if (inside.fetch_add(1) != 0) ++overlaps;
            int seen = counter;
            std::this_thread::yield();
            counter = seen + 1;
            inside.fetch_sub(1);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back(work);
    for (auto& t : threads) t.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(counter, 1200);
}

TEST(NamedMutex, ProcessesExcludeEachOther) {
    TempFolder tmp;
    const std::string counterPath = tmp / "counter";
    ASSERT_TRUE(ReplaceFileAtomically(counterPath, "0"));
    constexpr int kChildren = 8, kRounds = 200;
    Deadline deadline(30);

    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::alarm(20);  // a child stuck on a broken lock must not outlive the test
            NamedMutex m("VekkarMutex", tmp.Path());
            for (int i = 0; i < kRounds; ++i) {
                if (!m.Lock()) std::_Exit(2);
                int fd = ::open(counterPath.c_str(), O_RDWR | O_CLOEXEC);
                char buf[32] = {};
                if (fd < 0 || ::pread(fd, buf, sizeof buf - 1, 0) <= 0) std::_Exit(3);
                std::string next = std::to_string(std::atoi(buf) + 1);
                if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, next.data(), next.size(), 0) != static_cast<ssize_t>(next.size()))
                    std::_Exit(4);
                ::close(fd);
                m.Unlock();
            }
            std::_Exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) EXPECT_EQ(WaitExitCode(pid), 0);
    EXPECT_EQ(ReadFileBytes(counterPath).bytes, std::to_string(kChildren * kRounds));
}

TEST(NamedMutex, AHolderThatDiesReleasesTheLock) {
    struct Case {
        const char* what;
        bool kill;
    };
    for (const Case& c : {Case{"killed", true}, Case{"exits without Unlock", false}}) {
        SCOPED_TRACE(c.what);
        TempFolder tmp;
        int ready[2], go[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(go), 0);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::alarm(20);
            NamedMutex m("VekkarMutex", tmp.Path());
            if (!m.Lock()) std::_Exit(2);
            char b = 1;
            if (::write(ready[1], &b, 1) != 1) std::_Exit(3);
            ReadByte(go[0], 10000);
            std::_Exit(0);  // still holding it
        }
        ASSERT_TRUE(ReadByte(ready[0], 5000)) << "the child never took the lock";
        NamedMutex m("VekkarMutex", tmp.Path());
        EXPECT_TRUE(HeldElsewhere(m.LockPath()));
        if (c.kill) {
            ::kill(pid, SIGKILL);
        } else {
            char b = 1;
            ASSERT_EQ(::write(go[1], &b, 1), 1);
        }
        WaitExitCode(pid);
        Deadline deadline(5);
        EXPECT_TRUE(m.Lock());
        m.Unlock();
        for (int fd : {ready[0], ready[1], go[0], go[1]}) ::close(fd);
    }
}

TEST(NamedMutex, AForkedChildNeitherReleasesNorSharesTheParentsLock) {
    TempFolder tmp;
    NamedMutex m("VekkarMutex", tmp.Path());
    ASSERT_TRUE(m.Lock());
    Deadline deadline(20);

    // The child's copy of m must not unlock the parent: its Unlock and its exit do nothing.
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::alarm(20);
        m.Unlock();
        std::_Exit(0);
    }
    EXPECT_EQ(WaitExitCode(pid), 0);
    EXPECT_TRUE(HeldElsewhere(m.LockPath()));

    // A Lock in the child is a new holder: it waits for the parent instead of nesting.
    int locked[2];
    ASSERT_EQ(::pipe(locked), 0);
    pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::alarm(20);
        bool ok = m.Lock();
        char b = 1;
        if (::write(locked[1], &b, 1) != 1) std::_Exit(3);
        m.Unlock();
        m.Unlock();
        std::_Exit(ok ? 0 : 2);
    }
    EXPECT_FALSE(ReadByte(locked[0], 300)) << "the child took a lock the parent holds";
    m.Unlock();
    EXPECT_TRUE(ReadByte(locked[0], 5000)) << "the child never got the released lock";
    EXPECT_EQ(WaitExitCode(pid), 0);
    EXPECT_FALSE(HeldElsewhere(m.LockPath()));
    ::close(locked[0]);
    ::close(locked[1]);
}

}  // namespace
}  // namespace zavota::platform
