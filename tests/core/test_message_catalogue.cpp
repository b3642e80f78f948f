#include "core/MessageCatalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zavota {
namespace {

// Records every box and whether the catalogue reported itself busy while it was open;
// confirmations are answered with `answer`; `onShow` runs once inside the next Show.
class RecordingPresenter : public MessagePresenter {
public:
    explicit RecordingPresenter(const MessageCatalogue& catalogue) : catalogue_(catalogue) {}

    void Show(const MessageBoxContent& box) override {
        shown.push_back(box);
        busyDuring.push_back(catalogue_.Busy());
        // One-shot, so that a box shown from inside the hook does not run it again.
        if (auto hook = std::exchange(onShow, nullptr)) hook();
    }
    MessageAnswer Ask(const MessageBoxContent& box) override {
        asked.push_back(box);
        busyDuring.push_back(catalogue_.Busy());
        return answer;
    }

    std::vector<MessageBoxContent> shown;
    std::vector<MessageBoxContent> asked;
    std::vector<bool> busyDuring;
    MessageAnswer answer = MessageAnswer::Ok;
    std::function<void()> onShow;

private:
    const MessageCatalogue& catalogue_;
};

TEST(MessageCatalogueTest, NoticeTextIconAndTitle) {
    struct Case {
        int number;
        const char* text;  // as shown, with the closing "。"
        MessageIcon icon;
    };
    const Case cases[] = {
        {101, "整数で入力してください。", MessageIcon::Warning},
        {110, "手数料テーブルは１５個までしか持てません。", MessageIcon::Warning},
        {115, "入力できる数は小数点第３位までです。", MessageIcon::Warning},
        {200, "入力が間違っています。", MessageIcon::Error},
        {212, "利益率は0．01～999,999．99の範囲で入力してください。", MessageIcon::Error},
        {253, "ペイ単価計算中に約定金額が10,000,000,000円以上にになったため計算ができません。",
         MessageIcon::Error},
        {261, "ページ名にカギカッコ（[ ]）を含めることはできません。", MessageIcon::Error},
        {283, "-100,000,000円以下の指定はできません。", MessageIcon::Error},
        {293, "このファイルは手数料テーブルの形式ではありません。", MessageIcon::Error},
        // Numbers without a text of their own keep the icon of their range.
        {0, "エラーが発生しました。", MessageIcon::Information},
        {-5, "エラーが発生しました。", MessageIcon::Information},
        {99, "エラーが発生しました。", MessageIcon::Information},
        {106, "エラーが発生しました。", MessageIcon::Warning},
        {199, "エラーが発生しました。", MessageIcon::Warning},
        {232, "税率は0．000～99．999の範囲で入力してください。", MessageIcon::Error},
        {250, "エラーが発生しました。", MessageIcon::Error},
        {299, "エラーが発生しました。", MessageIcon::Error},
        {100000, "エラーが発生しました。", MessageIcon::Error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const MessageBoxContent box = MessageCatalogue::Notice(c.number);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.title, "Zavota メッセージ");
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.defaultButton, 0);
    }
    EXPECT_EQ(MessageCatalogue::NoticeText(101), "整数で入力してください");
    // The tick editor's refusal names its row.
    EXPECT_EQ(MessageCatalogue::Notice(239, "3").text,
              "3行目の「円以下まで」の金額は、その行と次の行の両方の呼び値単位で割り切れる値にしてください。");
}

TEST(MessageCatalogueTest, Confirmations) {
    struct Case {
        int number;
        const char* callerText;
        bool okCancel;
        const char* text;
        MessageButtons buttons;
    };
    const Case cases[] = {
        {2, "「標準」を削除してよろしいですか？", true, "「標準」を削除してよろしいですか？",
         MessageButtons::OkCancel},
        {2, "", true, "", MessageButtons::OkCancel},
        {3, "ignored", false, "個別銘柄の新規ページを保存しますか？", MessageButtons::YesNoCancel},
        {4, "", false, "自由形式の新規ページを保存しますか？", MessageButtons::YesNoCancel},
        {5, "", true, "現在のページの内容をコピーして新規ページを作りますか？", MessageButtons::OkCancel},
        {6, "", false, "このページを削除してよろしいですか？", MessageButtons::YesNoCancel},
        {7, "", true, "このページの内容をクリアしてよろしいですか？", MessageButtons::OkCancel},
        {1, "ignored", true, "よろしいですか？", MessageButtons::OkCancel},
        {9, "", false, "よろしいですか？", MessageButtons::YesNoCancel},
        {101, "", true, "よろしいですか？", MessageButtons::OkCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const MessageBoxContent box = MessageCatalogue::Confirmation(c.number, c.callerText, c.okCancel);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.buttons, c.buttons);
        EXPECT_EQ(box.title, "Zavota 確認メッセージ");
        EXPECT_EQ(box.icon, MessageIcon::Question);
        EXPECT_EQ(box.defaultButton, 1);
    }
}

// The first start's question has no third way out and Return takes today's rules; it names
// what it offers.
TEST(MessageCatalogueTest, TodaysRulesQuestionPreselectsYes) {
    for (const bool okCancel : {false, true}) {
        const MessageBoxContent box = MessageCatalogue::Confirmation(kConfirmTodaysRules, "ignored", okCancel);
        EXPECT_EQ(box.buttons, MessageButtons::YesNo);
        EXPECT_EQ(box.defaultButton, 0);
        EXPECT_EQ(box.title, "Zavota 確認メッセージ");
        EXPECT_EQ(box.icon, MessageIcon::Question);
        for (const char* named : {"消費税：10％", "所得税：15.315％", "住民税：5％", "現在の呼び値（上場）"})
            EXPECT_NE(box.text.find(named), std::string::npos) << named;
    }
}

TEST(MessageCatalogueTest, ShowMessageGoesThroughPresenterWhileBusy) {
    MessageCatalogue catalogue;
    RecordingPresenter presenter(catalogue);
    catalogue.SetPresenter(&presenter);

    catalogue.ShowMessage(101);
    catalogue.ShowMessage(299);

    ASSERT_EQ(presenter.shown.size(), 2u);
    EXPECT_EQ(presenter.shown[0].text, "整数で入力してください。");
    EXPECT_EQ(presenter.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(presenter.shown[1].text, "エラーが発生しました。");
    EXPECT_EQ(presenter.busyDuring, (std::vector<bool>{true, true}));
    EXPECT_FALSE(catalogue.Busy());
    EXPECT_EQ(catalogue.CurrentNumber(), 299);
    EXPECT_TRUE(presenter.asked.empty());
}

TEST(MessageCatalogueTest, AskConfirmReturnsTheAnswerWhileBusy) {
    MessageCatalogue catalogue;
    RecordingPresenter presenter(catalogue);
    catalogue.SetPresenter(&presenter);

    for (const MessageAnswer answer :
         {MessageAnswer::Ok, MessageAnswer::Cancel, MessageAnswer::Yes, MessageAnswer::No}) {
        presenter.answer = answer;
        EXPECT_EQ(catalogue.AskConfirm(6, "", false), answer);
    }
    ASSERT_EQ(presenter.asked.size(), 4u);
    EXPECT_EQ(presenter.asked[0].text, "このページを削除してよろしいですか？");
    EXPECT_EQ(presenter.asked[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(presenter.asked[0].defaultButton, 1);
    EXPECT_EQ(presenter.busyDuring, (std::vector<bool>(4, true)));
    EXPECT_FALSE(catalogue.Busy());
    EXPECT_EQ(catalogue.CurrentNumber(), 6);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST(MessageCatalogueTest, BoxOpenedFromInsideAnotherKeepsOuterBusy) {
    MessageCatalogue catalogue;
    RecordingPresenter presenter(catalogue);
    catalogue.SetPresenter(&presenter);
    bool busyAfterInner = false;
    presenter.onShow = [&] {
        catalogue.ShowMessage(200);
        busyAfterInner = catalogue.Busy();
    };

    catalogue.ShowMessage(290);

    EXPECT_TRUE(busyAfterInner);
    EXPECT_FALSE(catalogue.Busy());
    EXPECT_EQ(presenter.shown.size(), 2u);
}

TEST(MessageCatalogueTest, WithoutPresenterNothingIsShownOrConsented) {
    MessageCatalogue catalogue;
    catalogue.ShowMessage(200);
    EXPECT_FALSE(catalogue.Busy());
    EXPECT_EQ(catalogue.AskConfirm(6, "", false), MessageAnswer::Cancel);
    EXPECT_EQ(catalogue.AskConfirm(2, "x", true), MessageAnswer::Cancel);
    EXPECT_FALSE(catalogue.Busy());

    // A presenter removed again is no longer called.
    RecordingPresenter presenter(catalogue);
    catalogue.SetPresenter(&presenter);
    catalogue.SetPresenter(nullptr);
    catalogue.ShowMessage(101);
    EXPECT_TRUE(presenter.shown.empty());
}

}  // namespace
}  // namespace zavota
