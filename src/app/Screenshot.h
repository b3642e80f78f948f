// `zavota --screenshot FILE`: show the calculator with an example trade, save a picture of
// the window and end, without writing the settings.
#pragma once

#include <functional>

#include <QString>

namespace zavota::ui {
class TBaseForm;
}

namespace zavota::app {

// Once the first calculator window is up, calculates 1,000 shares bought at 1,000 yen and
// sold at 1,100 yen, saves the window to `file` and calls `done` with the exit code.
void ScheduleScreenshot(ui::TBaseForm& base, const QString& file, std::function<void(int)> done);

}  // namespace zavota::app
