// The first start as a user meets it: the real program on a fresh settings path, its question
// answered with keys sent by the X server.
#include <filesystem>
#include <functional>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "ui/common/AppState.h"

namespace zavota::testing {
namespace {

QString Xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The visible windows whose whole title is `title`.
QStringList Windows(const QString& title) {
    return Xdotool({"search", "--onlyvisible", "--name", '^' + title + '$'}).split('\n', Qt::SkipEmptyParts);
}
const QString kQuestion = QStringLiteral("Zavota 確認メッセージ");
const QString kMainWindow = QStringLiteral("Zavota");

bool Until(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 15000) return false;
        QThread::msleep(50);
    }
    return true;
}

// The desktop program on the settings path of the environment, ended by SIGKILL: what it
// stored before that, it stored at once.
class Program {
public:
    Program() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(ZAVOTA_APP_PATH), {});
    }
    ~Program() {
        process_.kill();
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

bool QuestionHasTheKeyboard() {
    const QStringList boxes = Windows(kQuestion);
    if (boxes.size() != 1) return false;
    Xdotool({"windowactivate", boxes.front()});
    return Xdotool({"getactivewindow"}) == boxes.front();
}

TEST(FirstStartUnderOpenbox, AnsweredOnceWithReturnOrNo) {
    IsolatedHome home;
    UnitTable today(0);
    today.LoadTodaysListedSteps();
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        std::filesystem::remove(home.HivePath());
        {
            Program first;
            ASSERT_TRUE(Until(QuestionHasTheKeyboard)) << "no question at the first start";
            EXPECT_TRUE(Windows(kMainWindow).isEmpty());  // before the calculator takes input
            Xdotool({"key", "--clearmodifiers", yes ? "Return" : "n"});  // はい is preselected; いいえ(&N)
            ASSERT_TRUE(Until([] { return !Windows(kMainWindow).isEmpty(); }));
            EXPECT_TRUE(Windows(kQuestion).isEmpty());
        }
        ui::AppState stored(home.HivePath());
        stored.store.LoadAll();
        const TaxSettings& t = stored.calc.tax;
        EXPECT_EQ(t.KaiS, Yen::FromInt(yes ? 10 : 5));
        EXPECT_EQ(t.UriS, Yen::FromInt(yes ? 10 : 5));
        EXPECT_EQ(t.ShinSyotoku, yes ? Yen::FromRaw(153150) : Yen::FromInt(7));
        EXPECT_EQ(t.ShinJyuumin, Yen::FromInt(yes ? 5 : 3));
        EXPECT_EQ(stored.calc.listedTicks, yes ? today : UnitTable(0));
        EXPECT_EQ(stored.calc.otcTicks, UnitTable(1));

        Program second;
        ASSERT_TRUE(Until([] { return !Windows(kMainWindow).isEmpty(); })) << "the second start never showed";
        EXPECT_TRUE(Windows(kQuestion).isEmpty()) << "asked again";
    }
}

}  // namespace
}  // namespace zavota::testing
