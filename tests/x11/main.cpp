// Window tests on a real X display with a window manager (see run-under-openbox): the frames,
// and where the window manager puts them, exist only there.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::puts("no X display: skipped");
        return 77;
    }
    unsetenv("QT_QPA_PLATFORM");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
