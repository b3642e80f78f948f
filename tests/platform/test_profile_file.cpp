#include "platform/ProfileFile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/Utf8.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace zavota::platform {
namespace {

using Names = std::vector<std::string>;

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

// The files a write kept aside.
Names Aside(const testing::TempFolder& folder) {
    Names found;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        if (entry.path().filename().string().find(".damaged-") != std::string::npos)
            found.push_back(entry.path().string());
    return found;
}

struct Entry {
    std::string section, key, value;
};

TEST(ProfileFile, WritesExactBytes) {
    struct Case {
        const char* what;
        std::string before;  // empty: no file
        std::vector<Entry> writes;
        std::string after;
    };
    const Case cases[] = {
        {"new keys and sections in order, empty value, replacement in place", "",
         {{"S", "a", "1"}, {"S", "b", ""}, {"T", "c", "x"}, {"s", "A", "2"}},
         "[S]\r\na=2\r\nb=\r\n[T]\r\nc=x\r\n"},
        {"Japanese names in code page 932", "", {{"ソ表", "表", "ソ"}},
         "[\x83\x5C\x95\x5C]\r\n\x95\x5C=\x83\x5C\r\n"},
        {"new key after the last key line, not after blanks and comments",
         "[A]\r\nx=1\r\n\r\n; note\r\n[B]\r\ny=2\r\n", {{"a", "new", "v"}},
         "[A]\r\nx=1\r\nnew=v\r\n\r\n; note\r\n[B]\r\ny=2\r\n"},
        {"section without keys", "[S]\r\n;c\r\n", {{"S", "k", "v"}}, "[S]\r\nk=v\r\n;c\r\n"},
        {"replacement keeps the file's spelling; any line end becomes CR LF", "[S]\n  Key = old \rz=9",
         {{"s", "KEY", "new"}}, "[S]\r\nKey=new\r\nz=9\r\n"},
        {"first of duplicate sections", "[S]\r\na=1\r\n[T]\r\n[S]\r\nb=2\r\n", {{"S", "b", "3"}},
         "[S]\r\na=1\r\nb=3\r\n[T]\r\n[S]\r\nb=2\r\n"},
        {"a character outside the code page makes the file UTF-8", "", {{"S", "k", "€"}},
         "\xEF\xBB\xBF[S]\r\nk=\xE2\x82\xAC\r\n"},
        {"a wave dash is written as the code page writes it", "[S]\r\n", {{"S", "k", "〜"}}, "[S]\r\nk=\x81\x60\r\n"},
        {"as the Windows functions write: a line break becomes a space, nothing is escaped", "",
         {{"S", "v", "[evil]\r\nkey=1\n"}, {"S", "q", " a "}, {"S", " k=1", "x\ty"}, {"a]b\n", "\\:k", "\\:v"}},
         "[S]\r\nv=\"[evil] key=1 \"\r\nq=\" a \"\r\nk=1=x\ty\r\n[a]b]\r\n\\:k=\\:v\r\n"},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder / "p.ini";
        if (!c.before.empty()) Put(path, c.before);
        ProfileFile file(path);
        for (const auto& w : c.writes) EXPECT_TRUE(file.Write(w.section, w.key, w.value)) << c.what;
        EXPECT_EQ(Get(path), c.after) << c.what;
    }
}

TEST(ProfileFile, ReadsLikeTheWindowsProfileFunctions) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    // Code page 932 whose second bytes are "\", "[" and "]"; CR, LF and CR LF line ends.
    Put(path,
        "\x95\x5C=outside\r\n"
        "; [note]\r\n"
        "[\x83\x5C\x95\x5C]\n"
        "  \x95\x5C  =  \x83\x5C  \r"
        ";hidden=1\r\n"
        "noequals\r\n"
        "Quoted=\"  q  \"\r\n"
        "Single='s'\r\n"
        "Half=\"h\r\n"
        "Mixed=\"m'\r\n"
        "Lone=\"\r\n"
        "Pair=''\r\n"
        "dup=first\r\n"
        "DUP=second\r\n"
        "eq=a=b\r\n"
        "empty=\r\n"
        "[a]b]\r\n"
        "k=v\r\n"
        "[\x83\x5C\x95\x5C]\r\n"
        "later=x\r\n"
        "[\x83\x5B\x83\x5D]\r\n"
        "\x83\x5B=\x83\x5D");
    ProfileFile file(path);
    struct Case {
        std::string section, key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"ソ表", "表", "ソ"},          {"ソ表", "quoted", "  q  "}, {"ソ表", "single", "s"},
        {"ソ表", "half", "\"h"},       {"ソ表", "mixed", "\"m'"},   {"ソ表", "Dup", "first"},
        {"ソ表", "lone", "\""},        {"ソ表", "pair", ""},
        {"ソ表", "eq", "a=b"},         {"ソ表", "empty", ""},        {"A]B", "k", "v"},
        {"ゼゾ", "ゼ", "ゾ"},          {"ソ表", ";hidden", {}},       {"ソ表", "noequals", {}},
        {"ソ表", "later", {}},         {"ソ表", "k", {}},            {"", "表", {}},
        {"missing", "k", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(file.Read(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(file.ReadString("missing", "k", "fallback"), "fallback");
    EXPECT_EQ(file.Sections(), (Names{"ソ表", "a]b", "ゼゾ"}));
    EXPECT_EQ(file.Keys("ソ表"), (Names{"表", "Quoted", "Single", "Half", "Mixed", "Lone", "Pair", "dup", "eq", "empty"}));
    EXPECT_EQ(file.Keys("missing"), Names{});
    EXPECT_FALSE(file.Damaged());
}

TEST(ProfileFile, TextsReadBackAsWindowsReadsThem) {
    struct Case {
        std::string text, value, name;  // written; read back as a value; as a section and key name
    };
    const Case cases[] = {
        {"line1\nline2", "line1 line2", "line1 line2"},
        {"a\r\nb\rc", "a b c", "a b c"},
        {"  lead", "  lead", "lead"},
        {"trail\t", "trail\t", "trail"},
        {"\"quoted\"", "\"quoted\"", "\"quoted\""},
        {"\"", "\"", "\""},
        {"tab\there", "tab\there", "tab\there"},
        {"\\:x\\t", "\\:x\\t", "\\:x\\t"},  // what Windows wrote starting with "\:" is taken as it is
        {"〜", "～", "～"},  // stored as 0x8160, and found under either form
        {"ソ表", "ソ表", "ソ表"},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder / "p.ini";
        ProfileFile writer(path);
        ASSERT_TRUE(writer.WriteBatch({{"S", "k", c.text}, {c.text, "k2", "v"}, {"S", c.text, "v3"}})) << c.text;
        ProfileFile reader(path);
        EXPECT_EQ(reader.Read("S", "k"), c.value) << c.text;
        EXPECT_EQ(reader.Read(c.text, "k2"), "v") << c.text;  // looked up as it was stored
        EXPECT_EQ(reader.Read("S", c.text), "v3") << c.text;
        EXPECT_EQ(reader.Sections(), (Names{"S", c.name})) << c.text;
        EXPECT_EQ(reader.Keys("S"), (Names{"k", c.name})) << c.text;
    }
}

TEST(ProfileFile, UnicodeFilesLoadAndStayUnicode) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    Put(path, std::string(kUtf16LeBom) + Utf16LeFromUtf8("[ソ表]\r\n表=〜\r\n"));
    ProfileFile file(path);
    EXPECT_EQ(file.Read("ソ表", "表"), "〜");
    EXPECT_FALSE(file.Damaged());
    ASSERT_TRUE(file.Write("ソ表", "k", "v"));
    EXPECT_EQ(Get(path), std::string(kUtf16LeBom) + Utf16LeFromUtf8("[ソ表]\r\n表=〜\r\nk=v\r\n"));
}

TEST(ProfileFile, DamagedFileIsKeptAsideOnTheNextWrite) {
    struct Case {
        const char* what;
        std::string bytes;
        bool salvaged;  // "keep" is still readable
    };
    const Case cases[] = {
        {"invalid byte", "[S]\r\nkeep=1\r\nbad=\x80\r\n", true},
        {"NUL byte", std::string("[S]\r\nkeep=1\r\nbad=\0\r\n", 20), true},
        {"truncated character", "[S]\r\nkeep=1\r\nbad=\x83", true},
        {"invalid UTF-8 after a mark", "\xEF\xBB\xBF[S]\r\nkeep=1\r\nbad=\xC0\r\n", true},
        {"too large", "[S]\r\nkeep=1\r\n" + std::string(40u << 20, 'x'), false},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder / "p.ini";
        Put(path, c.bytes);
        ProfileFile file(path);
        EXPECT_EQ(file.Refresh(), c.salvaged) << c.what;
        EXPECT_TRUE(file.Damaged()) << c.what;
        EXPECT_EQ(file.Read("S", "keep").has_value(), c.salvaged) << c.what;
        ASSERT_TRUE(file.Write("S", "new", "2")) << c.what;
        EXPECT_FALSE(file.Damaged()) << c.what;
        const Names aside = Aside(folder);
        ASSERT_EQ(aside.size(), 1u) << c.what;
        EXPECT_TRUE(Get(aside[0]) == c.bytes) << c.what;
        ProfileFile reader(path);
        EXPECT_FALSE(reader.Damaged());
        EXPECT_EQ(reader.Read("S", "new"), "2") << c.what;
        EXPECT_EQ(reader.Read("S", "keep").has_value(), c.salvaged) << c.what;
        EXPECT_TRUE(file.Write("S", "new", "3"));
        EXPECT_EQ(Aside(folder).size(), 1u) << c.what;  // only the damaged version is kept
    }
}

TEST(ProfileFile, FailedWriteChangesNothing) {
    testing::TempFolder folder;
    testing::WherePermissionsBind(folder.Path(), [&] {
        const std::string dir = folder / "ro";
        std::filesystem::create_directory(dir);
        const std::string path = dir + "/p.ini";
        const std::string before = "[S]\r\nk=old\r\n";
        Put(path, before);
        ProfileFile file(path);
        ASSERT_EQ(file.Read("S", "k"), "old");
        chmod(dir.c_str(), 0555);
        EXPECT_FALSE(file.Write("S", "k", "new"));
        EXPECT_FALSE(file.Write("S", "other", "x"));
        EXPECT_EQ(Get(path), before);
        EXPECT_EQ(file.Read("S", "k"), "old");
        EXPECT_EQ(file.Keys("S"), Names{"k"});

        // A file that cannot be read must not be replaced by one holding only the new value.
        // Write-only (0200) passes the read-only check of the replace: only the failed read
        // stops it.
        for (const mode_t mode : {0000, 0200}) {
            const std::string locked = folder / "locked.ini";
            Put(locked, before);
            chmod(locked.c_str(), mode);
            ProfileFile other(locked);
            EXPECT_FALSE(other.Write("S", "k", "new")) << mode;
            EXPECT_FALSE(other.WriteBatch({{"S", "k", "new"}})) << mode;
            chmod(locked.c_str(), 0644);
            EXPECT_EQ(Get(locked), before) << mode;
        }

        // A replaced file keeps its permissions.
        const std::string own = folder / "own.ini";
        Put(own, before);
        chmod(own.c_str(), 0600);
        ASSERT_TRUE(ProfileFile(own).Write("S", "k", "new"));
        struct stat st {};
        ASSERT_EQ(stat(own.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
    });
}

TEST(ProfileFile, UnreadablePathIsNeverReplaced) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    std::filesystem::create_directory(path);
    ProfileFile file(path);
    EXPECT_FALSE(file.Refresh());
    EXPECT_FALSE(file.Write("S", "k", "v"));
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ProfileFile, SeesWritesOfOtherObjects) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    ProfileFile a(path), b(path);
    EXPECT_EQ(b.Read("S", "k"), std::nullopt);
    ASSERT_TRUE(a.Write("S", "k", "1"));
    EXPECT_EQ(b.Read("S", "k"), "1");
    ASSERT_TRUE(a.Write("S", "k", "2"));  // same size: a new file all the same
    EXPECT_EQ(b.Read("S", "k"), "2");
    ASSERT_TRUE(b.Write("S", "j", "3"));  // must not lose what a wrote
    EXPECT_EQ(a.Keys("S"), (Names{"k", "j"}));
    EXPECT_EQ(Get(path), "[S]\r\nk=2\r\nj=3\r\n");
}

TEST(ProfileFile, FlushCreatesOnlyAMissingFile) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    ProfileFile file(path);
    ASSERT_TRUE(file.Flush());
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Get(path), "");
    Put(path, "[S]\nk=v");  // written elsewhere: a flush must not rewrite it
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(Get(path), "[S]\nk=v");
}

}  // namespace
}  // namespace zavota::platform

namespace zavota::platform {
namespace {

TEST(ProfileFile, BatchIsOneReplaceInOrder) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    Put(path, "[S]\r\nk=old\r\n");
    ProfileFile file(path);
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    ASSERT_TRUE(file.WriteBatch({{"S", "k", "1"}, {"T", "a", "x"}, {"S", "j", "2"}, {"s", "K", "3"}}));
    EXPECT_EQ(Get(path), "[S]\r\nk=3\r\nj=2\r\n[T]\r\na=x\r\n");
    struct stat after {};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);  // replaced, not edited in place

    testing::WherePermissionsBind(folder.Path(), [&] {
        chmod(folder.Path().c_str(), 0555);
        EXPECT_FALSE(file.WriteBatch({{"S", "k", "9"}, {"U", "b", "y"}}));
        chmod(folder.Path().c_str(), 0755);
        EXPECT_EQ(Get(path), "[S]\r\nk=3\r\nj=2\r\n[T]\r\na=x\r\n");
        EXPECT_EQ(file.Read("U", "b"), std::nullopt);
    });
}

}  // namespace
}  // namespace zavota::platform

namespace zavota::platform {
namespace {

// Listing one key of every section agrees with reading it section by section.
TEST(ProfileFile, ValuesOfGivesWhatReadGivesForEverySection) {
    testing::TempFolder folder;
    const std::string path = folder / "p.ini";
    Put(path, "[A]\r\nFileNo=1\r\nfileno=9\r\n[b]\r\nx=1\r\n[a]\r\nFileNo=7\r\n[B]\r\nFILENO=3\r\n[C]\r\nFileNo=\"5\"\r\n");
    ProfileFile file(path);
    const auto values = file.ValuesOf("FileNo");
    ASSERT_EQ(values.size(), 3u);
    for (const auto& [section, value] : values) EXPECT_EQ(value, file.Read(section, "FileNo")) << section;
    EXPECT_EQ(values[0], (std::pair<std::string, std::optional<std::string>>{"A", "1"}));
    EXPECT_EQ(values[1].second, std::nullopt);  // only the first block of a name counts
    EXPECT_EQ(values[2].second, "5");
}

}  // namespace
}  // namespace zavota::platform
