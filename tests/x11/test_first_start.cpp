// The program's first start as a user meets it: the real program on a fresh settings path, its
// question answered with real keys sent by the X server.
#include <filesystem>
#include <functional>
#include <memory>

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

// The visible windows whose title matches `title` (a regular expression), one id a line.
QStringList Windows(const QString& title) {
    return Xdotool({"search", "--onlyvisible", "--name", title}).split('\n', Qt::SkipEmptyParts);
}

const QString kQuestion = QStringLiteral("^Zavota 確認メッセージ$");
const QString kMainWindow = QStringLiteral("^Zavota$");

bool Until(const std::function<bool()>& done, int ms = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

// The desktop program on the fixture's settings path (from the environment), ended with
// SIGKILL: what it stored before that was stored at once.
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

// The question's window, once it has the keyboard.
bool QuestionHasFocus() {
    const QStringList boxes = Windows(kQuestion);
    if (boxes.size() != 1) return false;
    Xdotool({"windowactivate", boxes.front()});
    return Xdotool({"getactivewindow"}) == boxes.front();
}

class FirstStartUnderOpenbox : public ::testing::Test {
protected:
    // The settings the next start of the program will load.
    ui::AppState& Stored() {
        state_ = std::make_unique<ui::AppState>(home_.HivePath());
        state_->store.LoadAll();
        return *state_;
    }

    IsolatedHome home_;
    std::unique_ptr<ui::AppState> state_;
};

TEST_F(FirstStartUnderOpenbox, AnsweredOnceWithReturnOrNo) {
    struct Case {
        const char* keys;  // xdotool key names
        bool today;
    } cases[] = {{"Return", true}, {"n", false}};  // はい is preselected; いいえ(&N)
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        std::filesystem::remove(home_.HivePath());
        {
            Program first;
            ASSERT_TRUE(Until(QuestionHasFocus)) << "no question at the first start";
            EXPECT_TRUE(Windows(kMainWindow).isEmpty());  // before the calculator takes input
            Xdotool({"key", "--clearmodifiers", c.keys});
            ASSERT_TRUE(Until([] { return !Windows(kMainWindow).isEmpty(); }));
            EXPECT_TRUE(Windows(kQuestion).isEmpty());
        }
        const ui::AppState& s = Stored();
        const TaxSettings& t = s.calc.tax;
        EXPECT_EQ(t.KaiS, Yen::FromInt(c.today ? 10 : 5));
        EXPECT_EQ(t.UriS, Yen::FromInt(c.today ? 10 : 5));
        EXPECT_EQ(t.ShinSyotoku, c.today ? Yen::FromRaw(153150) : Yen::FromInt(7));
        EXPECT_EQ(t.ShinJyuumin, Yen::FromInt(c.today ? 5 : 3));
        UnitTable today(0);
        today.LoadTodaysListedSteps();
        EXPECT_EQ(s.calc.listedTicks, c.today ? today : UnitTable(0));
        EXPECT_EQ(s.calc.otcTicks, UnitTable(1));

        Program second;
        ASSERT_TRUE(Until([] { return !Windows(kMainWindow).isEmpty(); })) << "the second start never showed up";
        EXPECT_TRUE(Windows(kQuestion).isEmpty()) << "asked again";
    }
}

}  // namespace
}  // namespace zavota::testing
