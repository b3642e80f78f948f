#include <gtest/gtest.h>

#include "settings/WindowRules.h"

namespace zavota {
namespace {

TEST(WindowRules, PlaceOnScreenKeepsTheWindowInside) {
    struct Case {
        WindowPosition saved;
        WindowPosition placed;
    } cases[] = {
        {{10, 20}, {10, 20}},
        {{-5, -1}, {0, 0}},
        {{1500, 20}, {1920 - 522, 20}},    // would cross the right edge
        {{10, 1000}, {10, 1080 - 480}},    // would cross the bottom edge
        {{1398, 600}, {1398, 600}},        // exactly at the edges
        {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOnScreen(c.saved, 522, 480, 1920, 1080), c.placed) << c.saved.x << "," << c.saved.y;
    // A window larger than the screen keeps its title bar on it.
    EXPECT_EQ(PlaceOnScreen({50, 50}, 800, 600, 640, 480), (WindowPosition{0, 0}));
    // A panel along the top and one along the left take part of the screen.
    const ScreenArea area{40, 30, 1326, 738};
    EXPECT_EQ(PlaceOnScreen({0, 0}, 522, 480, area), (WindowPosition{40, 30}));
    EXPECT_EQ(PlaceOnScreen({1300, 700}, 522, 480, area), (WindowPosition{40 + 1326 - 522, 30 + 738 - 480}));
}

TEST(WindowRules, SafeStartNeedsTheSwitchWithItsSpace) {
    struct Case {
        const char* line;
        bool safe;
    } cases[] = {
        {"zavota -off", true},  {"zavota -OFF", true},  {"/usr/bin/zavota -off extra", true},
        {"zavota -Off", false}, {"zavota /off", false}, {"-off", false}, {"zavota", false}, {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(SafeStartRequested(c.line), c.safe) << c.line;
}

TEST(WindowRules, OnTopOnlyWithoutTheProgramsOwnBoxes) {
    EXPECT_TRUE(KeepOnTop(1, false, false));
    EXPECT_FALSE(KeepOnTop(1, true, false));
    EXPECT_FALSE(KeepOnTop(1, false, true));
    EXPECT_FALSE(KeepOnTop(0, false, false));
    EXPECT_FALSE(KeepOnTop(2, false, false));
}

}  // namespace
}  // namespace zavota

namespace zavota {
namespace {

// Beside the calculator when the whole window fits there (right first), else nowhere.
TEST(WindowRules, AWindowOpensBesideAnotherWhereItFitsWhole) {
    const ScreenArea wide{0, 0, 1920, 1080}, laptop{0, 0, 1366, 768}, panelled{0, 30, 1366, 738};
    const struct {
        WindowPosition anchor;
        int anchorWidth, width, height;
        ScreenArea area;
        std::optional<WindowPosition> expected;
    } cases[] = {
        {{10, 20}, 600, 700, 500, wide, WindowPosition{610, 20}},
        {{1000, 20}, 600, 700, 500, wide, WindowPosition{300, 20}},        // no room right: left
        {{10, 20}, 600, 756, 500, laptop, WindowPosition{610, 20}},        // ends on the last column
        {{10, 20}, 600, 757, 500, laptop, std::nullopt},                  // one pixel too wide
        {{300, 20}, 600, 500, 500, laptop, std::nullopt},                  // neither side
        {{10, 300}, 600, 400, 468, laptop, WindowPosition{610, 300}},     // ends on the last row
        {{10, 300}, 600, 400, 468, panelled, WindowPosition{610, 300}},
        {{10, 300}, 600, 400, 469, laptop, std::nullopt},                  // too tall at that height
        {{10, 10}, 600, 400, 300, panelled, std::nullopt},                 // under the panel
    };
    for (const auto& c : cases) {
        const auto at = PlaceBeside(c.anchor, c.anchorWidth, c.width, c.height, c.area);
        EXPECT_EQ(at.has_value(), c.expected.has_value()) << c.anchor.x << "," << c.width;
        if (at && c.expected) EXPECT_EQ(*at, *c.expected) << c.anchor.x << "," << c.width;
    }
}

}  // namespace
}  // namespace zavota
