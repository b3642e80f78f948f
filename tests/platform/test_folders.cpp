// Where the program keeps its files, under each combination of the environment variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileIo.h"
#include "platform/Folders.h"
#include "support/TempFolder.h"

namespace zavota::platform {
namespace {

using zavota::testing::TempFolder;

// Sets or unsets variables for one case and puts every one back afterwards.
class Environment {
public:
    using Setting = std::optional<std::string>;  // nullopt: unset
    Environment() {
        for (const char* name : kNames) {
            const char* v = std::getenv(name);
            saved_.push_back(v ? Setting(v) : std::nullopt);
        }
    }
    ~Environment() {
        for (std::size_t i = 0; i < saved_.size(); ++i) Set(kNames[i], saved_[i]);
    }
    static void Set(const char* name, const Setting& value) {
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }

private:
    static constexpr const char* kNames[] = {"ZAVOTA_HOME", "ZAVOTA_REGISTRY", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                             "HOME", "ZAVOTA_PROBE_OUT"};
    std::vector<Setting> saved_;
};

TEST(Folders, HivePathFollowsTheEnvironment) {
    struct Case {
        Environment::Setting registry, configHome, home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/r/my.reg", "/c", "/h", "/r/my.reg"},
        {"", "/c", "/h", "/c/Orvane/Vekkar.reg"},
        {std::nullopt, "/c/", "/h", "/c/Orvane/Vekkar.reg"},
        {std::nullopt, "", "/h", "/h/.config/Orvane/Vekkar.reg"},
        {std::nullopt, std::nullopt, "/h/", "/h/.config/Orvane/Vekkar.reg"},
        {std::nullopt, "relative/config", "/h", "/h/.config/Orvane/Vekkar.reg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        Environment env;
        Environment::Set("ZAVOTA_REGISTRY", c.registry);
        Environment::Set("XDG_CONFIG_HOME", c.configHome);
        Environment::Set("HOME", c.home);
        EXPECT_EQ(HivePath(), c.expected);
    }
}

TEST(Folders, ProgramFolderFromZavotaHome) {
    struct Case {
        Environment::Setting home;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{{"/p", "/p/"}, {"/p/", "/p/"}}) {
        Environment env;
        Environment::Set("ZAVOTA_HOME", c.home);
        EXPECT_EQ(ProgramFolder(), c.expected);
        EXPECT_EQ(DataFolder(), c.expected + "Data/");
    }
}

// Run in a copy of this program, by the test below.
TEST(Folders, ProbeForACopyOfTheProgram) {
    const char* out = std::getenv("ZAVOTA_PROBE_OUT");
    if (out == nullptr) GTEST_SKIP() << "only run by ProgramFolderBesideTheExecutableOnlyInAPortableCopy";
    ASSERT_TRUE(ReplaceFileAtomically(out, ExecutableFolder() + "\n" + ProgramFolder() + "\n"));
}

// The executable's folder is writable in every case: as root, /usr/bin is too.
TEST(Folders, ProgramFolderBesideTheExecutableOnlyInAPortableCopy) {
    struct Case {
        const char* name;
        std::vector<const char*> made;  // below the prefix; "bin/zavota.portable" is the marker file
        const char* dataHome;           // "" for none (home's default)
        bool portable;
    };
    const std::vector<Case> cases = {
        {"a writable folder alone", {}, "/d", false},
        {"a relative XDG_DATA_HOME counts for nothing", {}, "relative", false},
        {"the marker", {"bin/zavota.portable"}, "", true},
        {"a Data folder the user keeps there", {"bin/Data/"}, "/d", true},
        {"installed under a prefix, marker and all", {"share/zavota/", "bin/Data/", "bin/zavota.portable"}, "/d", false},
        {"a folder named like the marker", {"bin/zavota.portable/"}, "/d", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder tmp;
        const std::string bin = tmp / "bin/";
        ASSERT_TRUE(EnsureFolder(bin));
        for (const std::string f : c.made) {
            ASSERT_TRUE(f.back() == '/' ? EnsureFolder(tmp / f) : ReplaceFileAtomically(tmp / f, ""));
        }
        std::filesystem::copy_file("/proc/self/exe", bin + "probe");
        ASSERT_EQ(::chmod((bin + "probe").c_str(), 0755), 0);

        Environment env;
        Environment::Set("ZAVOTA_HOME", std::nullopt);
        Environment::Set("XDG_DATA_HOME", c.dataHome);
        Environment::Set("HOME", tmp / "home");
        Environment::Set("ZAVOTA_PROBE_OUT", tmp / "probe.txt");
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::execl((bin + "probe").c_str(), "probe", "--gtest_filter=Folders.ProbeForACopyOfTheProgram",
                    static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string data = c.dataHome == std::string("/d") ? "/d/Zavota/" : tmp / "home/.local/share/Zavota/";
        EXPECT_EQ(ReadFileBytes(tmp / "probe.txt").bytes, bin + "\n" + (c.portable ? bin : data) + "\n");
    }
}

}  // namespace
}  // namespace zavota::platform

namespace zavota::platform {
namespace {

TEST(Folders, InstalledFolderLiesInTheSharedDataOfThePrefix) {
    struct Case {
        const char* name;
        const char* made;      // a folder below the temporary root, "" for none
        const char* file;      // a plain file below the root, "" for none
        const char* expected;  // below the root, "" for none
    };
    const Case cases[] = {
        {"installed", "share/zavota/Tables", "", "share/zavota/Tables/"},
        {"missing", "share/zavota/help", "", ""},
        {"a file of that name is no folder", "share/zavota", "share/zavota/Tables", ""},
        {"another program's share", "share/other/Tables", "", ""},
    };
    for (const Case& c : cases) {
        zavota::testing::TempFolder root;
        ASSERT_TRUE(EnsureFolder(root / "bin/"));
        if (*c.made) {
            ASSERT_TRUE(EnsureFolder(root / c.made));
        }
        if (*c.file) {
            ASSERT_TRUE(ReplaceFileAtomically(root / c.file, ""));
        }
        const std::string expected =
            *c.expected ? std::filesystem::canonical(root / c.expected).string() + "/" : std::string();
        EXPECT_EQ(InstalledFolder(root / "bin/", "Tables"), expected) << c.name;
    }
}

}  // namespace
}  // namespace zavota::platform
