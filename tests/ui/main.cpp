// The window tests run on Qt's offscreen platform unless another one is asked for.
#include <cstdlib>

#include <QApplication>

#include <gtest/gtest.h>

#include "ui/common/Translations.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    zavota::ui::InstallJapaneseTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
