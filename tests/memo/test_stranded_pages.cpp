// Memo pages an older build left in Data/ beside an installed executable: when they are offered,
// and that moving them overwrites nothing and removes the old folder only when it is empty.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "memo/StrandedPages.h"
#include "platform/FileIo.h"
#include "support/TempFolder.h"

namespace zavota {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

void Put(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Bytes(const std::string& path) { return platform::ReadFileBytes(path).bytes; }

// A copy of an installed program: <prefix>/bin/zavota beside <prefix>/share/zavota/.
std::string InstalledCopy(const std::string& prefix, bool installed) {
    fs::create_directories(prefix + "bin");
    fs::copy_file("/proc/self/exe", prefix + "bin/zavota");
    if (installed) fs::create_directories(prefix + "share/zavota/help");
    return prefix + "bin/";
}

TEST(StrandedPagesTest, OfferedOnlyBesideAnInstalledProgramWhileTheUserHasNoPages) {
    struct Case {
        const char* what;
        bool installed;
        std::vector<const char*> old;   // files in <bin>/Data/
        std::vector<const char*> user;  // files in the user's data folder
        bool dataFolderIsOld;
        bool offered;
    };
    const std::vector<Case> cases = {
        {"pages after an upgrade", true, {"M00index.ini", "M_1.ini"}, {}, false, true},
        {"only the simple calculator", true, {"Calc.ini"}, {"K_1.ini"}, false, true},
        {"the user has pages already", true, {"M00index.ini"}, {"N_3.txt"}, false, false},
        {"a copy not installed", false, {"M00index.ini"}, {}, false, false},
        {"no memo file in the old folder", true, {"K_1.ini", "notes.txt"}, {}, false, false},
        {"the old folder is the data folder", true, {"M00index.ini"}, {}, true, false},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const std::string bin = InstalledCopy(temp.Path(), c.installed);
        for (const char* name : c.old) Put(bin + "Data/" + name, "old");
        const std::string data = c.dataFolderIsOld ? bin + "Data/" : temp / "home/Data/";
        fs::create_directories(data);
        for (const char* name : c.user) Put(data + name, "new");
        EXPECT_EQ(StrandedMemoFolder(bin, data), c.offered ? bin + "Data/" : "") << c.what;
    }
}

// The user's own M_1.ini stays; the old one stays beside it with the expense set nobody asked to
// move, so the old folder is kept.
TEST(StrandedPagesTest, MovesWithoutOverwritingAndKeepsAFolderThatIsNotEmpty) {
    TempFolder temp;
    const std::string old = temp / "bin/Data/";
    const std::string data = temp / "home/Data/";
    for (const char* name : {"M00index.ini", "M_1.ini", "M_2.ini", "N_1.txt", "Calc.ini", "K_1.ini"})
        Put(old + name, std::string("old ") + name);
    Put(data + "M_1.ini", "the user's own");

    const StrandedMoveResult result = MoveStrandedMemoFiles(old, data);
    EXPECT_EQ(result.moved, 4);
    EXPECT_EQ(result.left, std::vector<std::string>{"M_1.ini"});
    EXPECT_FALSE(result.folderRemoved);
    EXPECT_EQ(Bytes(data + "M_1.ini"), "the user's own");
    EXPECT_EQ(Bytes(old + "M_1.ini"), "old M_1.ini");
    EXPECT_EQ(Bytes(old + "K_1.ini"), "old K_1.ini");
    EXPECT_FALSE(fs::exists(data + "K_1.ini"));
    for (const char* name : {"M00index.ini", "M_2.ini", "N_1.txt", "Calc.ini"}) {
        EXPECT_EQ(Bytes(data + name), std::string("old ") + name) << name;
        EXPECT_FALSE(fs::exists(old + name)) << name << " was copied, not moved";
    }
}

// Into a folder not made yet, and across file systems when /dev/shm is another one: nothing is
// left, so the old folder goes.
TEST(StrandedPagesTest, MovesEverythingAcrossFileSystemsAndRemovesTheEmptyFolder) {
    TempFolder here;
    std::vector<std::string> targets = {here / "home/Data/"};
    struct stat shm {};
    struct stat tmp {};
    if (::stat("/dev/shm", &shm) == 0 && ::stat(here.Path().c_str(), &tmp) == 0 && shm.st_dev != tmp.st_dev &&
        ::access("/dev/shm", W_OK) == 0)
        targets.push_back("/dev/shm/zavota-stranded-" + std::to_string(::getpid()) + "/Data/");
    for (const std::string& data : targets) {
        const std::string old = here / "bin/Data/";
        Put(old + "M00index.ini", "[Index]\r\n");
        Put(old + "M_1.ini", std::string("\x83\x81\x83\x82", 4));
        const StrandedMoveResult result = MoveStrandedMemoFiles(old, data);
        EXPECT_EQ(result.moved, 2) << data;
        EXPECT_TRUE(result.left.empty()) << data;
        EXPECT_TRUE(result.folderRemoved) << data;
        EXPECT_FALSE(fs::exists(old)) << data;
        EXPECT_EQ(Bytes(data + "M_1.ini"), std::string("\x83\x81\x83\x82", 4)) << data;
        std::error_code ec;
        if (data.starts_with("/dev/shm/")) fs::remove_all(fs::path(data).parent_path().parent_path(), ec);
    }
}

}  // namespace
}  // namespace zavota
