// Failures at each step of a save: reported, the old file kept, nothing left behind.
#include <cerrno>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "platform/RegistryHive.h"
#include "support/FileFaults.h"
#include "support/TempFolder.h"

namespace zavota::platform {
namespace {

using testing::FailStep;
using testing::FileStepHookGuard;

void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string Get(const std::string& path) { return ReadFileBytes(path).bytes; }

int EntriesIn(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(FileFaults, EveryFailedStepIsReportedAndKeepsTheOldFile) {
    struct Case {
        FileStep step;
        int error;
        const char* after;  // the file after the failed save
    };
    const Case cases[] = {
        {FileStep::Create, ENOSPC, "old"},     {FileStep::Write, ENOSPC, "old"}, {FileStep::Write, EIO, "old"},
        {FileStep::Write, kWroteNothing, "old"}, {FileStep::Sync, EIO, "old"},   {FileStep::Close, EIO, "old"},
        {FileStep::Rename, EACCES, "old"},
        // The new file is in place but may not survive a crash: still a failure.
        {FileStep::SyncFolder, EIO, "new"},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder / "f";
        Put(path, "old");
        {
            FileStepHookGuard fault(FailStep(c.step, c.error));
            errno = 0;
            EXPECT_FALSE(ReplaceFileAtomically(path, "new")) << static_cast<int>(c.step);
            EXPECT_EQ(errno, c.error == kWroteNothing ? EIO : c.error) << static_cast<int>(c.step);
            // What a window names: the file saved, not the temporary one, and the reason.
            EXPECT_EQ(LastFileFailure().path, path);
            EXPECT_EQ(LastFileFailure().error, errno);
        }
        EXPECT_EQ(Get(path), c.after) << static_cast<int>(c.step);
        EXPECT_EQ(EntriesIn(folder.Path()), 1) << static_cast<int>(c.step);  // no temporary file left
        EXPECT_TRUE(ReplaceFileAtomically(path, "next"));
        EXPECT_EQ(Get(path), "next");
    }
}

// Every other step that fails leaves its path and reason for the report; a file that is simply
// missing is no failure.
TEST(FileFaults, TheLastFailureNamesThePathAndTheReason) {
    testing::TempFolder folder;
    const std::string file = folder / "file", dir = folder / "dir";
    Put(file, "x");
    std::filesystem::create_directory(dir);
    const struct {
        const char* what;
        std::function<bool()> step;
        std::string path;  // empty: nothing recorded
        int error;
    } cases[] = {
        {"read a folder", [&] { return ReadFileBytes(dir).status == ReadStatus::Ok; }, dir, EISDIR},
        {"read a missing file", [&] { return ReadFileBytes(folder / "none").status == ReadStatus::Ok; }, "", 0},
        {"folder under a file", [&] { return EnsureFolder(file + "/sub/"); }, file + "/sub", ENOTDIR},
        {"rename a missing file", [&] { return RenameFile(folder / "none", file); }, folder / "none", ENOENT},
        {"remove a missing file", [&] { return RemoveFile(folder / "none"); }, "", 0},
        {"replace under a file", [&] { return ReplaceFileAtomically(file + "/f", "x"); }, file + "/f", ENOTDIR},
    };
    for (const auto& c : cases) {
        ClearFileFailure();
        EXPECT_FALSE(c.step()) << c.what;
        EXPECT_EQ(LastFileFailure().path, c.path) << c.what;
        EXPECT_EQ(LastFileFailure().error, c.error) << c.what;
    }
    EXPECT_EQ(DescribeFailure({"/a/b", ENOSPC}), std::string("/a/b: ") + std::strerror(ENOSPC));
    EXPECT_EQ(DescribeFailure({}), "");
}

TEST(FileFaults, AReadOnlyFileIsNeverReplaced) {
    testing::TempFolder folder;
    const std::string ini = folder / "K_1.ini", hive = folder / "Vekkar.reg";
    Put(ini, "[S]\r\nk=old\r\n");
    Put(hive, "");
    RegistryHive registry(hive);
    registry.Reload();  // empty and damaged: it would be kept aside and replaced
    ASSERT_TRUE(registry.WriteInteger("Software\\X", "v", 1));
    chmod(ini.c_str(), 0444);
    chmod(hive.c_str(), 0444);

    ProfileFile profile(ini);
    EXPECT_FALSE(profile.Write("S", "k", "new"));
    EXPECT_FALSE(profile.WriteBatch({{"S", "k", "new"}}));
    EXPECT_EQ(profile.Read("S", "k"), "old");
    EXPECT_FALSE(registry.Commit());
    EXPECT_EQ(Get(ini), "[S]\r\nk=old\r\n");
    EXPECT_EQ(Get(hive), "");
    EXPECT_EQ(EntriesIn(folder.Path()), 2);

    chmod(ini.c_str(), 0644);
    EXPECT_TRUE(profile.Write("S", "k", "new"));
}

TEST(FileFaults, ADamagedHiveComesBackWhenTheNewOneCannotBeWritten) {
    testing::TempFolder folder;
    const std::string hive = folder / "Vekkar.reg";
    const std::string damaged = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n\"Tables\"=junk\r\n";
    Put(hive, damaged);
    RegistryHive registry(hive);
    registry.Reload();
    ASSERT_TRUE(registry.Damaged());
    ASSERT_TRUE(registry.WriteInteger("Software\\X", "v", 1));
    {
        FileStepHookGuard fault(FailStep(FileStep::Write, ENOSPC));
        EXPECT_FALSE(registry.Commit());
    }
    EXPECT_EQ(Get(hive), damaged);
    EXPECT_EQ(EntriesIn(folder.Path()), 1);
    EXPECT_TRUE(registry.Commit());  // once the disk has room, it is kept aside as before
    EXPECT_EQ(EntriesIn(folder.Path()), 2);
}

TEST(FileFaults, AFileOfExactlyTheLimitIsRead) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    const struct {
        std::size_t size;
        ReadStatus status;
    } cases[] = {{15, ReadStatus::Ok}, {16, ReadStatus::Ok}, {17, ReadStatus::TooLarge}};
    for (const auto& c : cases) {
        Put(path, std::string(c.size, 'x'));
        const FileContent content = ReadFileBytes(path, 16);
        EXPECT_EQ(content.status, c.status) << c.size;
        EXPECT_EQ(content.bytes.size(), c.status == ReadStatus::Ok ? c.size : 0u) << c.size;
    }
}

}  // namespace
}  // namespace zavota::platform
