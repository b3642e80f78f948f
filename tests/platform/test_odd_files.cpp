// FIFOs, sockets and devices in place of a file, and the permissions of copies set aside.
#include <cerrno>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "platform/RegistryHive.h"
#include "support/FileFaults.h"
#include "support/TempFolder.h"

namespace zavota::platform {
namespace {

// A bound socket leaves its node behind when closed.
bool MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

mode_t KindOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

TEST(OddFiles, AFifoSocketOrDeviceIsRefusedAndLeftAsItIs) {
    struct Case {
        const char* what;
        std::function<bool(const std::string&)> make;
    };
    const Case cases[] = {
        {"fifo", [](const std::string& p) { return ::mkfifo(p.c_str(), 0644) == 0; }},
        {"socket", MakeSocket},
        {"device", [](const std::string& p) { return ::symlink("/dev/zero", p.c_str()) == 0; }},
    };
    // A read or write that waited on the node would hang the test: end it instead.
    ::alarm(20);
    for (const Case& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder / "f.ini";
        ASSERT_TRUE(c.make(path)) << c.what;
        const mode_t kind = KindOf(path);

        EXPECT_EQ(ReadFileBytes(path).status, ReadStatus::Failed) << c.what;
        EXPECT_TRUE(IsSpecialFile(path)) << c.what;
        errno = 0;
        EXPECT_FALSE(ReplaceFileAtomically(path, "new")) << c.what;
        EXPECT_EQ(errno, EINVAL) << c.what;
        EXPECT_FALSE(ReplaceDamagedFile(path, "new")) << c.what;

        ProfileFile profile(path);
        EXPECT_FALSE(profile.Refresh()) << c.what;
        EXPECT_FALSE(profile.Write("S", "K", "V")) << c.what;
        EXPECT_FALSE(profile.ReplaceAll({{"S", "K", "V"}})) << c.what;

        RegistryHive hive(path);
        hive.Reload();
        EXPECT_TRUE(hive.Unreadable()) << c.what;
        hive.WriteInteger("Software\\X", "V", 1);
        EXPECT_FALSE(hive.Commit()) << c.what;

        EXPECT_EQ(KindOf(path), kind) << c.what;
        EXPECT_TRUE(CopyAside(path).empty()) << c.what;
    }
    ::alarm(0);
}

TEST(OddFiles, ACopySetAsideKeepsTheOriginalsPermissions) {
    // Linked or, where links fail (another filesystem, FAT), copied: the same mode either way.
    const int linkErrors[] = {0, EPERM, EXDEV};
    const mode_t modes[] = {0600, 0640, 0644};
    const mode_t oldMask = ::umask(0022);
    for (int error : linkErrors) {
        for (mode_t mode : modes) {
            testing::TempFolder folder;
            const std::string path = folder / "settings.reg";
            std::ofstream(path) << "damaged";
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            testing::FileStepHookGuard fault(testing::FailStep(FileStep::Link, error));
            const std::string aside = CopyAside(path);
            ASSERT_FALSE(aside.empty()) << error;
            struct stat st {};
            ASSERT_EQ(::stat(aside.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 07777, mode) << "link error " << error;
            EXPECT_EQ(ReadFileBytes(aside).bytes, "damaged");
        }
    }
    ::umask(oldMask);
}

}  // namespace
}  // namespace zavota::platform
