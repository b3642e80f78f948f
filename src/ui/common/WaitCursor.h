// The hourglass while a long piece of work runs on the window thread.
#pragma once

namespace zavota::ui {

// The hourglass while a calculation runs, restored on every way out.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace zavota::ui
