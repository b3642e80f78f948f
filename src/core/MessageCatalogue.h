// Every notice and question the program shows: numbered texts, icons by range, box titles.
// Windows name a number; the presenter (a message box in the windows, a recorder in tests)
// shows what the catalogue composes.
#pragma once

#include <string>
#include <string_view>

namespace zavota {

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNoCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxContent {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    // 0-based index of the default button; confirmations default to the second button.
    int defaultButton = 0;
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void Show(const MessageBoxContent& box) = 0;
    virtual MessageAnswer Ask(const MessageBoxContent& box) = 0;
};

inline constexpr std::string_view kNoticeTitle = "Zavota メッセージ";
inline constexpr std::string_view kConfirmTitle = "Zavota 確認メッセージ";
// The first start's question: today's tax rates and listed tick sizes, or the defaults.
inline constexpr int kConfirmTodaysRules = 8;

class MessageCatalogue {
public:
    explicit MessageCatalogue(MessagePresenter* presenter = nullptr) : presenter_(presenter) {}

    void SetPresenter(MessagePresenter* presenter) { presenter_ = presenter; }

    // The notice text without the closing "。"; "エラーが発生しました" for a number without text.
    static std::string_view NoticeText(int number);
    // The notice as shown: text plus "。", icon by range, title, single OK button. `detail` is
    // what the user needs besides the text: it stands for "%1" in the few texts that name a row,
    // else (a path) it follows on a line of its own.
    static MessageBoxContent Notice(int number, std::string_view detail = {});
    // A confirmation: number 2 shows `text` unchanged; others their own text. The question of
    // the first start offers only はい and いいえ, はい preselected, whatever `okCancel` says.
    static MessageBoxContent Confirmation(int number, std::string_view text, bool okCancel);

    void ShowMessage(int number, std::string_view detail = {});
    MessageAnswer AskConfirm(int number, std::string_view text, bool okCancel);

    // True while one of the catalogue's boxes is open.
    bool Busy() const { return busy_; }
    int CurrentNumber() const { return current_; }

private:
    MessagePresenter* presenter_ = nullptr;
    bool busy_ = false;
    int current_ = 0;
};

}  // namespace zavota
