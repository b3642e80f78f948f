// The about box: its texts, the modal-dialog flag while it is open, its place on the screen.
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>

#include "ui/UiTest.h"
#include "ui/calculator/Aboutunit.h"

namespace zavota::testing {
namespace {

class AboutDialogTest : public UiTest {};

TEST_F(AboutDialogTest, ShowsNameAndVersionCentredAndCloses) {
    bool seen = false;
    dialogs.Expect("frmAbout", [&](QWidget* w) {
        seen = true;
        EXPECT_TRUE(State().modalDialogOpen);
        EXPECT_EQ(w->windowTitle(), "Zavotaについて");
        QStringList texts;
        for (QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
        EXPECT_TRUE(texts.contains("Zavota")) << texts.join('|').toStdString();
        EXPECT_TRUE(texts.contains("Version 2.10")) << texts.join('|').toStdString();
        // The build's commit as `git rev-parse --short` prints it, or the word that there is none.
        const QString build = Text(w, "lblBuild");
        EXPECT_TRUE(QRegularExpression("^Build: ([0-9a-f]{4,40}|not a git checkout)$").match(build).hasMatch())
            << build.toStdString();
        const QPoint screenCentre = w->screen()->availableGeometry().center();
        EXPECT_LE((w->frameGeometry().center() - screenCentre).manhattanLength(), 2);
        EXPECT_EQ(Text(w, "btnClose"), "閉じる");
        Click(w, "btnClose");
        EXPECT_FALSE(w->isVisible());
    });
    ui::RunAboutDialog(State(), nullptr);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(State().modalDialogOpen);
}

}  // namespace
}  // namespace zavota::testing
