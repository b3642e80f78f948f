// The desktop program's word without a display, given before Qt would abort.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DisplayCheck.h"

namespace zavota::app {
namespace {

struct DisplayCase {
    const char* what;
    std::map<std::string, std::string> env;
    std::vector<const char*> args;
    DisplayCheck expected;
};

TEST(DisplayCheckTest, OpensWindowsOnlyWhereADisplayOrADisplaylessPlatformIs) {
    using enum DisplayCheck;
    const std::vector<DisplayCase> cases = {
        {"nothing set", {}, {}, Missing},
        {"empty variables", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, {}, Missing},
        {"X11", {{"DISPLAY", ":0"}}, {}, Available},
        {"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, Available},
        {"offscreen by variable", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, Available},
        {"offscreen with options", {{"QT_QPA_PLATFORM", "offscreen:fontengine=freetype"}}, {}, Available},
        {"a list with a displayless one", {{"QT_QPA_PLATFORM", "wayland;minimal"}}, {}, Available},
        {"xcb asked for", {{"QT_QPA_PLATFORM", "xcb"}}, {}, Missing},
        {"only display servers listed", {{"QT_QPA_PLATFORM", "wayland-egl;xcb"}}, {}, Missing},
        {"offscreen on the command line", {}, {"-platform", "offscreen"}, Available},
        {"command line over variable", {{"QT_QPA_PLATFORM", "offscreen"}}, {"-platform", "xcb"}, Missing},
        {"a picture needs no screen", {}, {"--screenshot", "shot.png"}, UseOffscreen},
        {"a picture on a named platform", {}, {"-platform", "xcb", "--screenshot", "s.png"}, Missing},
        {"a picture named -platform", {}, {"--screenshot", "-platform", "-off"}, UseOffscreen},
        {"a picture on a display", {{"DISPLAY", ":1"}}, {"--screenshot", "s.png"}, Available},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"zavota"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto env = [&c](const char* name) -> const char* {
            const auto found = c.env.find(name);
            return found == c.env.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(CheckDisplay(static_cast<int>(argv.size()), argv.data(), env), c.expected) << c.what;
    }
}

TEST(DisplayCheckTest, TheWordIsOneLineNamingDisplayAndTheCommandLineProgram) {
    const std::string message = kNoDisplayMessage;
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_NE(message.find("DISPLAY"), std::string::npos);
    EXPECT_NE(message.find("zavota-cli"), std::string::npos);
}

}  // namespace
}  // namespace zavota::app
