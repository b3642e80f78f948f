// Opening the manual: the address handed to the opener, and a failure that says where the
// manual is.
#include <fstream>

#include <QDesktopServices>
#include <QProcess>
#include <QSignalSpy>
#include <QUrl>

#include <sys/stat.h>

#include "platform/FileIo.h"
#include "ui/UiTest.h"
#include "ui/common/Help.h"

namespace zavota::testing {
namespace {

// Takes the addresses Qt would hand to a browser, so none starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class HelpTest : public UiTest {
protected:
    // An opener that notes the address it was given and exits with `status`.
    std::string Opener(int status) {
        const std::string path = Home() / ("opener" + std::to_string(status));
        std::ofstream(path) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << Home() / "opened" << "'\nexit " << status << "\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // Opens help and waits for the opener to end.
    bool OpenAndWait(int context) {
        QObject owner;
        const bool started = ui::OpenHelp(State(), context, &owner);
        if (auto* process = owner.findChild<QProcess*>()) {
            QSignalSpy ended(process, &QProcess::finished);
            EXPECT_TRUE(ended.wait(5000));
        }
        return started;
    }
    std::string Opened() { return platform::ReadFileBytes(Home() / "opened").bytes; }
};

TEST_F(HelpTest, TheOpenerGetsTheManualAtTheContextsTopic) {
    State().helpManual = "/opt/zavota 2/help/index.html";
    State().helpOpener = Opener(0);
    EXPECT_TRUE(OpenAndWait(0));
    EXPECT_EQ(Opened(), "file:///opt/zavota%202/help/index.html");
    EXPECT_TRUE(OpenAndWait(81));
    EXPECT_EQ(Opened(), "file:///opt/zavota%202/help/index.html#keihi");
    EXPECT_TRUE(Messages().numbers.empty());

    // Without the desktop's opener, Qt's own search for a browser.
    UrlCatcher catcher;
    State().helpOpener = "no-such-opener-here";
    EXPECT_TRUE(ui::OpenHelp(State(), 81));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].toLocalFile(), "/opt/zavota 2/help/index.html");
    EXPECT_EQ(catcher.opened[0].fragment(), "keihi");
}

TEST_F(HelpTest, HelpThatCannotOpenSaysWhereTheManualIs) {
    struct Case {
        const char* name;
        std::string manual;
        int openerStatus;
        bool started;
        const char* text;
    };
    const Case cases[] = {
        {"no manual", "", 0, false, "ヘルプを表示できません。"},
        {"a manual with no address", "help/index.html", 0, false,
         "ヘルプを表示できません。\nマニュアル：help/index.html"},
        // xdg-open's answer when it finds no browser.
        {"the opener finds no browser", "/usr/share/zavota/help/index.html", 3, true,
         "ヘルプを表示できません。\nマニュアル：/usr/share/zavota/help/index.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Messages().Clear();
        State().helpManual = c.manual;
        State().helpOpener = Opener(c.openerStatus);
        EXPECT_EQ(OpenAndWait(81), c.started);
        EXPECT_EQ(Messages().numbers, std::vector<int>{294});
        EXPECT_EQ(Messages().texts, std::vector<std::string>{c.text});
    }
}

}  // namespace
}  // namespace zavota::testing

#include "test_help.moc"
