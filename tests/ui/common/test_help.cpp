// Opening the manual: the address handed to the desktop, and nothing without a manual.
#include <QDesktopServices>
#include <QUrl>

#include "ui/UiTest.h"
#include "ui/common/Help.h"

namespace zavota::testing {
namespace {

// Takes the addresses the desktop would open, so no browser starts.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class HelpTest : public UiTest {};

TEST_F(HelpTest, OpensTheManualAtTheContextsTopic) {
    UrlCatcher catcher;
    State().helpManual = "/opt/zavota 2/help/index.html";
    EXPECT_TRUE(ui::OpenHelp(State()));
    EXPECT_TRUE(ui::OpenHelp(State(), 81));
    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[0].toLocalFile(), "/opt/zavota 2/help/index.html");
    EXPECT_EQ(catcher.opened[0].fragment(), "");
    EXPECT_EQ(catcher.opened[1].toLocalFile(), "/opt/zavota 2/help/index.html");
    EXPECT_EQ(catcher.opened[1].fragment(), "keihi");
}

TEST_F(HelpTest, HelpThatCannotOpenSaysSo) {
    UrlCatcher catcher;
    // No manual (the expenses dialog's button stays enabled), and a manual with no address.
    for (const char* manual : {"", "help/index.html"}) {
        SCOPED_TRACE(manual);
        Messages().Clear();
        State().helpManual = manual;
        EXPECT_FALSE(ui::OpenHelp(State(), 81));
        EXPECT_EQ(Messages().numbers, std::vector<int>{294});
        EXPECT_EQ(Messages().texts, std::vector<std::string>{"ヘルプを表示できません。"});
    }
    EXPECT_TRUE(catcher.opened.isEmpty());
}

}  // namespace
}  // namespace zavota::testing

#include "test_help.moc"
