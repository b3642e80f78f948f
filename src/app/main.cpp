// The desktop program: the hidden state window runs the calculator windows until one of them
// ends the program.
#include <cstdlib>
#include <exception>
#include <functional>
#include <iostream>
#include <string>

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include "DisplayCheck.h"
#include "InfoOptions.h"
#include "Screenshot.h"
#include "platform/Folders.h"
#include "ui/calculator/Baseunit.h"
#include "ui/common/QtMessagePresenter.h"
#include "ui/common/Translations.h"

namespace {

void ShowFatal(const char* what) {
    QMessageBox::critical(nullptr, QStringLiteral("Zavota"),
                          QStringLiteral("予期しないエラーが発生したため終了します。\n\n") + QString::fromUtf8(what));
}

// An exception that reaches the event loop is shown and ends the program with a failure code.
class ZavotaApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowFatal(e.what());
        } catch (...) {
            ShowFatal("unknown exception");
        }
        std::_Exit(1);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (const auto code = zavota::app::AnswerInfoOption(argc, argv, std::cout)) return *code;
    switch (zavota::app::CheckDisplay(argc, argv, [](const char* name) { return std::getenv(name); })) {
        case zavota::app::DisplayCheck::Missing:
            std::cerr << zavota::app::kNoDisplayMessage << '\n';
            return 1;
        case zavota::app::DisplayCheck::UseOffscreen:
            qputenv("QT_QPA_PLATFORM", "offscreen");
            break;
        case zavota::app::DisplayCheck::Available:
            break;
    }
    ZavotaApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zavota"));
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.orvane.zavota"));  // the menu entry's icon and name
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zavota.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    zavota::ui::InstallJapaneseTranslations(app);

    // The command line as one text, the way the safe-start switch is looked for in it.
    QString screenshot;
    bool noQuestion = false;
    std::string commandLine = argc > 0 ? argv[0] : "zavota";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screenshot" && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (arg == zavota::app::kNoFirstStartQuestion) {
            noQuestion = true;
            continue;
        }
        commandLine += " " + arg;
    }
    // Nobody could answer a box on these platforms: the run would wait for ever.
    const QString platform = QGuiApplication::platformName();
    const bool unseen = platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
    const bool askFirstStart = screenshot.isEmpty() && !noQuestion && !unseen;

    try {
        zavota::ui::QtMessagePresenter presenter;
        // A screenshot run is unattended: no box may wait there for an answer.
        zavota::ui::TBaseForm base(zavota::platform::HivePath(), commandLine, screenshot.isEmpty() ? &presenter : nullptr,
                                   askFirstStart);
        QObject::connect(&base, &zavota::ui::TBaseForm::finished, &app, [] { QApplication::exit(0); });
        base.Start();
        if (!screenshot.isEmpty())
            zavota::app::ScheduleScreenshot(base, screenshot, [](int code) { QApplication::exit(code); });
        return app.exec();
    } catch (const std::exception& e) {
        ShowFatal(e.what());
    } catch (...) {
        ShowFatal("unknown exception");
    }
    return 1;
}
