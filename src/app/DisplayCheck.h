// Whether the desktop program has a display to open its windows on, decided before the toolkit
// starts: without one Qt aborts with advice (reinstalling) that does not help.
#pragma once

#include <functional>

namespace zavota::app {

enum class DisplayCheck {
    Available,     // start as usual
    UseOffscreen,  // a --screenshot run without a display: draw offscreen
    Missing,       // say kNoDisplayMessage and end with 1
};

inline constexpr const char* kNoDisplayMessage =
    "ウィンドウを表示するディスプレイがないため起動できません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。"
    "コマンドラインで計算するには zavota-cli を使ってください。";

// `env` reads an environment variable (nullptr when unset). The platform is Qt's: "-platform
// NAME" on the command line, else QT_QPA_PLATFORM, else the X11 one.
DisplayCheck CheckDisplay(int argc, const char* const* argv, const std::function<const char*(const char*)>& env);

}  // namespace zavota::app
