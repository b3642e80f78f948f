#include <QMessageBox>
#include <QPushButton>

#include "ui/UiTest.h"
#include "ui/common/QtMessagePresenter.h"

namespace zavota::testing {
namespace {

class MessageBoxTest : public UiTest {};

// What the real box shows: the catalogue's title, text, icon and buttons, in Japanese.
struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    int width = 0;
};

// "はい(&Y)" reads "はい": the mnemonic is the translation's, not the program's.
QString Caption(const QAbstractButton* b) {
    QString text = b->text().remove(QLatin1Char('&'));
    const int mnemonic = text.indexOf(QLatin1Char('('));
    return mnemonic > 0 ? text.left(mnemonic) : text;
}

SeenBox Inspect(QWidget* w) {
    SeenBox seen;
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box == nullptr) return seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << Caption(b);
    seen.buttons.sort();
    if (box->defaultButton() != nullptr) seen.defaultButton = Caption(box->defaultButton());
    seen.width = box->width();
    return seen;
}

TEST_F(MessageBoxTest, NoticesAndQuestionsShowWhatTheCatalogueComposes) {
    ui::QtMessagePresenter presenter;
    MessageCatalogue catalogue(&presenter);
    struct Case {
        int number;
        bool confirm;
        bool okCancel;
        const char* text;
        QMessageBox::Icon icon;
        QStringList buttons;
        const char* defaultButton;
        const char* press;
        MessageAnswer answer;
    } cases[] = {
        {101, false, false, "整数で入力してください。", QMessageBox::Warning, {"OK"}, "OK", "OK", MessageAnswer::Ok},
        {294, false, false, "ヘルプを表示できません。", QMessageBox::Critical, {"OK"}, "OK", "OK", MessageAnswer::Ok},
        {299, false, false, "エラーが発生しました。", QMessageBox::Critical, {"OK"}, "OK", "OK", MessageAnswer::Ok},
        {50, false, false, "エラーが発生しました。", QMessageBox::Information, {"OK"}, "OK", "OK", MessageAnswer::Ok},
        {6, true, false, "このページを削除してよろしいですか？", QMessageBox::Question, {"いいえ", "キャンセル", "はい"},
         "いいえ", "はい", MessageAnswer::Yes},
        {6, true, false, "このページを削除してよろしいですか？", QMessageBox::Question, {"いいえ", "キャンセル", "はい"},
         "いいえ", "キャンセル", MessageAnswer::Cancel},
        {3, true, true, "個別銘柄の新規ページを保存しますか？", QMessageBox::Question, {"OK", "キャンセル"}, "キャンセル",
         "キャンセル", MessageAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        SeenBox seen;
        bool busyWhileOpen = false;
        dialogs.Expect("", [&](QWidget* w) {
            seen = Inspect(w);
            busyWhileOpen = catalogue.Busy();
            for (QAbstractButton* b : qobject_cast<QMessageBox*>(w)->buttons())
                if (Caption(b) == QString::fromUtf8(c.press)) b->click();
        });
        MessageAnswer answer = MessageAnswer::Ok;
        if (c.confirm) answer = catalogue.AskConfirm(c.number, "", c.okCancel);
        else catalogue.ShowMessage(c.number);
        EXPECT_EQ(seen.text.toStdString(), c.text);
        EXPECT_EQ(seen.title, c.confirm ? "Zavota 確認メッセージ" : "Zavota メッセージ");
        // The whole title fits beside the title bar's icon and three buttons, even in bold.
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(seen.width, QFontMetrics(bold).horizontalAdvance(seen.title) + 4 * 24);
        EXPECT_EQ(seen.icon, c.icon);
        QStringList expected = c.buttons;
        expected.sort();
        EXPECT_EQ(seen.buttons, expected);
        EXPECT_EQ(seen.defaultButton.toStdString(), c.defaultButton);
        EXPECT_TRUE(busyWhileOpen);
        EXPECT_FALSE(catalogue.Busy());
        if (c.confirm) {
            EXPECT_EQ(answer, c.answer);
        }
    }
}

}  // namespace
}  // namespace zavota::testing
