// Finding the installed manual and the addresses of its topics.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileIo.h"
#include "platform/HelpFile.h"
#include "support/TempFolder.h"

namespace zavota::platform {
namespace {

using zavota::testing::TempFolder;

void Touch(const std::string& path) {
    ASSERT_TRUE(EnsureFolder(FolderOf(path)));
    ASSERT_TRUE(ReplaceFileAtomically(path, "<html></html>"));
}

TEST(HelpFile, FindsTheManualBesideTheExecutableFirst) {
    struct Case {
        const char* name;
        std::vector<std::string> files;  // below the temporary folder
        std::string expected;            // below the temporary folder, "" for none
    };
    const std::vector<Case> cases = {
        {"beside the executable", {"bin/help/index.html"}, "bin/help/index.html"},
        {"installed layout", {"share/zavota/help/index.html"}, "share/zavota/help/index.html"},
        {"both: the copy beside wins", {"bin/help/index.html", "share/zavota/help/index.html"}, "bin/help/index.html"},
        {"none", {}, ""},
        {"another file name is no manual", {"bin/help/manual.html", "share/zavota/help/Index.html"}, ""},
        {"a folder named index.html is no manual", {"bin/help/index.html/x"}, ""},
    };
    for (const Case& c : cases) {
        TempFolder root;
        ASSERT_TRUE(EnsureFolder(root / "bin/"));
        for (const std::string& f : c.files) Touch(root / f);
        // The temporary folder itself may lie behind a symbolic link.
        const std::string expected = c.expected.empty() ? "" : std::filesystem::canonical(root / c.expected).string();
        EXPECT_EQ(FindHelpManual(root / "bin/"), expected) << c.name;
    }
}

TEST(HelpFile, AddressesTheTopicOfAContext) {
    struct Case {
        std::string path;
        int context;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/opt/zavota/help/index.html", 0, "file:///opt/zavota/help/index.html"},
        {"/opt/zavota/help/index.html", 81, "file:///opt/zavota/help/index.html#keihi"},
        {"/opt/zavota/help/index.html", 82, "file:///opt/zavota/help/index.html"},
        {"/opt/zavota/help/index.html", -1, "file:///opt/zavota/help/index.html"},
        // A folder name must not end the path early or be read as an escape.
        {"/home/a b/#1/100%/help/index.html", 81, "file:///home/a%20b/%231/100%25/help/index.html#keihi"},
        {"/home/taro/株/help/index.html", 0, "file:///home/taro/%E6%A0%AA/help/index.html"},
        {"/x/a?b/index.html", 0, "file:///x/a%3Fb/index.html"},
        {"", 81, ""},
        {"help/index.html", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(HelpUrl(c.path, c.context), c.expected) << c.path << " " << c.context;
}

}  // namespace
}  // namespace zavota::platform
