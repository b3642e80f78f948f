#include "WindowRules.h"

#include <algorithm>

namespace zavota {

namespace {
int PlaceAlong(int saved, int size, int start, int extent) {
    if (saved + size > start + extent) saved = start + extent - size;
    // A window larger than the screen keeps its title bar reachable.
    return std::max(saved, start);
}
}  // namespace

WindowPosition PlaceOnScreen(WindowPosition saved, int width, int height, ScreenArea area) {
    return {PlaceAlong(saved.x, width, area.x, area.width), PlaceAlong(saved.y, height, area.y, area.height)};
}

std::optional<WindowPosition> PlaceBeside(WindowPosition anchor, int anchorWidth, int width, int height,
                                          ScreenArea area) {
    const auto fits = [&](int x) {
        return x >= area.x && x + width <= area.x + area.width && anchor.y >= area.y &&
               anchor.y + height <= area.y + area.height;
    };
    if (const int right = anchor.x + anchorWidth; fits(right)) return WindowPosition{right, anchor.y};
    if (const int left = anchor.x - width; fits(left)) return WindowPosition{left, anchor.y};
    return std::nullopt;
}

bool SafeStartRequested(std::string_view commandLine) {
    return commandLine.find(" -off") != std::string_view::npos || commandLine.find(" -OFF") != std::string_view::npos;
}

bool KeepOnTop(int topMost, bool messageBoxOpen, bool modalDialogOpen) {
    return topMost == 1 && !messageBoxOpen && !modalDialogOpen;
}

}  // namespace zavota
