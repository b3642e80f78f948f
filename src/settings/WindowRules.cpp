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

bool SafeStartRequested(std::string_view commandLine) {
    return commandLine.find(" -off") != std::string_view::npos || commandLine.find(" -OFF") != std::string_view::npos;
}

bool KeepOnTop(int topMost, bool messageBoxOpen, bool modalDialogOpen) {
    return topMost == 1 && !messageBoxOpen && !modalDialogOpen;
}

}  // namespace zavota
