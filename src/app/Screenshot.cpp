#include <functional>

#include "Screenshot.h"

#include <cstdio>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>

#include "ui/calculator/Baseunit.h"

namespace zavota::app {

namespace {

void Fill(QWidget* window, const char* name, const char* text) {
    if (auto* field = window->findChild<QLineEdit*>(QString::fromUtf8(name))) field->setText(QString::fromUtf8(text));
}

void Press(QWidget* window, const char* name) {
    if (auto* button = window->findChild<QAbstractButton*>(QString::fromUtf8(name))) button->click();
}

}  // namespace

void ScheduleScreenshot(ui::TBaseForm& base, const QString& file, std::function<void(int)> done) {
    QTimer::singleShot(400, &base, [&base, file, done] {
        QWidget* window = base.VisibleCalculator();
        if (window == nullptr) {
            std::fprintf(stderr, "zavota: no calculator window to take a picture of\n");
            done(1);
            return;
        }
        // The main and the slim window name their buy price, count and sell price alike.
        Fill(window, "edtYen_K", "1000");
        Fill(window, "edtNum_K", "1000");
        Fill(window, "edtR1_K", "1100");
        Press(window, window->objectName() == QStringLiteral("MainForm") ? "btnGo_K" : "btnGo");
        QTimer::singleShot(300, window, [window, file, done] {
            if (!window->grab().save(file)) {
                std::fprintf(stderr, "zavota: could not write %s\n", file.toLocal8Bit().constData());
                done(1);
                return;
            }
            std::printf("zavota: saved a picture of the calculator window to %s\n", file.toLocal8Bit().constData());
            done(0);
        });
    });
}

}  // namespace zavota::app
