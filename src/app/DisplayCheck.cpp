#include "DisplayCheck.h"

#include <string>
#include <string_view>

namespace zavota::app {

namespace {

// One of Qt's platforms ("wayland;xcb" tries them in turn, ":" starts a platform's options)
// that draws without a display server: offscreen, minimal, vnc, eglfs, linuxfb and the like.
bool AnyWithoutDisplayServer(std::string_view platforms) {
    if (platforms.empty()) return false;  // Qt's default, X11
    while (!platforms.empty()) {
        const auto end = platforms.find(';');
        std::string_view name = platforms.substr(0, end);
        name = name.substr(0, name.find(':'));
        if (!name.empty() && name != "xcb" && !name.starts_with("wayland")) return true;
        if (end == std::string_view::npos) break;
        platforms.remove_prefix(end + 1);
    }
    return false;
}

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

DisplayCheck CheckDisplay(int argc, const char* const* argv, const std::function<const char*(const char*)>& env) {
    std::string platform = IsSet(env("QT_QPA_PLATFORM")) ? env("QT_QPA_PLATFORM") : "";
    bool screenshot = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--screenshot") {
            screenshot = true;
            ++i;  // the file name
        } else if ((arg == "-platform" || arg == "--platform") && i + 1 < argc) {
            platform = argv[++i];
        }
    }
    if (AnyWithoutDisplayServer(platform) || IsSet(env("DISPLAY")) || IsSet(env("WAYLAND_DISPLAY")))
        return DisplayCheck::Available;
    // A picture needs no screen; a platform the user named is left to fail as Qt fails.
    return screenshot && platform.empty() ? DisplayCheck::UseOffscreen : DisplayCheck::Missing;
}

}  // namespace zavota::app
