#include "WindowRules.h"

#include <algorithm>

namespace zavota {

namespace {
int PlaceAlong(int saved, int size, int screen) {
    if (saved < 0) return 0;
    if (saved + size > screen) saved = screen - size;
    // A window larger than the screen keeps its title bar reachable.
    return std::max(saved, 0);
}
}  // namespace

WindowPosition PlaceOnScreen(WindowPosition saved, int width, int height, int screenWidth, int screenHeight) {
    return {PlaceAlong(saved.x, width, screenWidth), PlaceAlong(saved.y, height, screenHeight)};
}

bool SafeStartRequested(std::string_view commandLine) {
    return commandLine.find(" -off") != std::string_view::npos || commandLine.find(" -OFF") != std::string_view::npos;
}

bool KeepOnTop(int topMost, bool messageBoxOpen, bool modalDialogOpen) {
    return topMost == 1 && !messageBoxOpen && !modalDialogOpen;
}

}  // namespace zavota
