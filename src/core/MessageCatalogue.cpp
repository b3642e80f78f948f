#include "MessageCatalogue.h"

#include <algorithm>
#include <iterator>

namespace zavota {

namespace {

struct NumberedText {
    int number;
    std::string_view text;
};

// Sorted by number; texts without the closing "。", which is added when a notice is shown.
constexpr NumberedText kNotices[] = {
    // A memo page Windows' code page cannot hold is kept in UTF-8; a Windows copy of the
    // program sharing the folder would show it garbled.
    {30, "シフトJISで表せない文字があるため、このページはUTF-8で保存しました"},
    {100, "買値を入力してください"},
    {101, "整数で入力してください"},
    {102, "株数を入力してください"},
    {103, "売買単価を入力してください"},
    {104, "売値を入力してください"},
    {105, "テーブル名を入力してください"},
    {107, "金額は0円から指定してください"},
    {108, "金額は整数で入力してください"},
    {109, "途中で行を空けないで指定してください"},
    {110, "手数料テーブルは１５個までしか持てません"},
    {111, "手数料テーブルは少なくとも１つは必要です"},
    {112, "入力できる数は小数点第２位までです"},
    {115, "入力できる数は小数点第３位までです"},
    {200, "入力が間違っています"},
    {201, "買値は1～99,999,999の範囲で入力してください"},
    {202, "株数は1～99,999,999の範囲で入力してください"},
    {203, "売買単価を正しく入力してください"},
    {204, "１０株未満は指定できません"},
    {205, "１０の倍数で指定してください"},
    {206, "ミニ株は売買単価の１０分の１単位で入力してください"},
    {207, "ミニ株は売買単価の１０分の９までしか入力できません"},
    {208, "売値は1～99,999,999の範囲で入力してください"},
    {209, "買値が０円以下になるような値幅の指定はできません"},
    {210, "値幅は1～99,999,999の範囲で入力してください"},
    {211, "利益額は1～99,999,999の範囲で入力してください"},
    {212, "利益率は0．01～999,999．99の範囲で入力してください"},
    {213, "こんなに差益を出すことはできません"},
    {214, "同名のテーブルがすでに存在します"},
    {215, "ゼロ以下の手数料限度額は指定できません"},
    {216, "100,000,000円以上の手数料限度額は指定できません"},
    {217, "セルの入力に誤りがあります"},
    {218, "マイナスの金額は指定できません"},
    {219, "10,000,000,000円以上の金額は指定できません"},
    {220, "行の指定に誤りがあります"},
    {221, "金額の範囲の指定に誤りがあります"},
    {222, "金額の範囲は連続して指定してください"},
    {223, "100%を超える手数料率は指定できません"},
    {224, "-100%以下の手数料率は指定できません"},
    {225, "100,000,000円以上の追加分は指定できません"},
    {226, "-100,000,000円以下の追加分は指定できません"},
    {227, "100%を超える割引率は指定できません"},
    {228, "-100%以下の割引率は指定できません"},
    {229, "数字を入力してください"},
    {230, "単位の金額が大きすぎます"},
    {231, "税率は0．00～99．99の範囲で入力してください"},
    // The income and resident tax take a third decimal (15.315 %).
    {232, "税率は0．000～99．999の範囲で入力してください"},
    {233, "100,000,000円以上の指定はできません"},
    {234, "売りペイ単価が０円の時は計算できません"},
    {235, "手数料限度額の最高額は最低額より大きく指定してください"},
    {236, "０円以下の金額は指定できません"},
    {237, "10,000,000,000円以上の指定はできません"},
    {238, "-10,000,000,000円以下の指定はできません"},
    {239, "%1行目の「円以下まで」の金額は、その行と次の行の両方の呼び値単位で割り切れる値にしてください"},
    {241, "呼び値がテーブルの範囲外になったため計算ができません"},
    {242, "約定金額が手数料テーブルの範囲外になったため計算ができません"},
    {243, "約定金額が10,000,000,000円以上になる指定はできません"},
    {244, "計算中に約定金額が10,000,000,000円以上になったため計算ができません"},
    {251, "ペイ単価計算中に呼び値がテーブルの範囲外になったため計算ができません"},
    {252, "ペイ単価計算中に約定金額が手数料テーブルの範囲外になったため計算ができません"},
    {253, "ペイ単価計算中に約定金額が10,000,000,000円以上にになったため計算ができません"},
    {260, "単価と株数の両方が入力されていない行は選択できません"},
    {261, "ページ名にカギカッコ（[ ]）を含めることはできません"},
    {262, "すでにその名前のページが存在しています"},
    {263, "データの保存に失敗しました"},
    {264, "トータル金額が10,000,000,000円以上になる計算はできません"},
    {265, "無効なデータが含まれるため計算を中止します"},
    {266, "99,999,999以上の指定はできません"},
    {267, "-99,999,999以下の指定はできません"},
    {268, "10,000,000,000以上になる計算はできません"},
    {269, "-10,000,000,000以下になる計算はできません"},
    {270, "単価が０であるか無効な値であるため選択できません"},
    {271, "株数が０であるか無効な値であるため選択できません"},
    // The memo pad's data folder cannot be made (shown with its path and the reason).
    {279, "メモパッドのデータフォルダを作成できません"},
    {280, "金額は0～99,999,999の範囲で入力してください"},
    {281, "年利は0．00～99．99の範囲で入力してください"},
    {282, "日数は0～365の範囲で入力してください"},
    {283, "-100,000,000円以下の指定はできません"},
    {290, "レジストリへの書き出しに失敗しました"},
    {291, "手数料テーブルのファイル入力ができません"},
    {292, "手数料テーブルのファイル出力ができません"},
    {293, "このファイルは手数料テーブルの形式ではありません"},
    // The manual is opened in the desktop's browser, which may be missing or fail to start.
    {294, "ヘルプを表示できません"},
    // A settings file that cannot be read whole is never overwritten unseen: the user is told
    // where the original is (295, shown with the copy's path) or that it was left alone (296,
    // with the file's path).
    {295, "設定ファイルを読み込めないため、初期設定で始めます。元のファイルは次の名前で残しました"},
    {296, "設定ファイルを読み込めないため、初期設定を使います"},
    // A page delete cut off while the page list changed since: not carried on, kept for the user
    // (shown with the journal's new path).
    {297, "中断されたページ削除の記録がページ一覧と合わないため、適用せずに次の名前で残しました"},
    // Another copy of the program changed a page list since this window read it: the operation
    // was not done, the list was read again and the shown page was saved under its own name.
    {298, "ほかのプログラムがページ一覧を変更したため、一覧を読み直しました。表示中のページは保存しました"},
    // Another copy of the program kept the mutex for the whole bounded wait: nothing was written,
    // and what the user entered stays for a later save.
    {300, "ほかのプログラムが保存中のため、保存できませんでした。入力した内容は残っています。あとでもう一度保存してください"},
};

constexpr NumberedText kConfirmations[] = {
    {3, "個別銘柄の新規ページを保存しますか？"},
    {4, "自由形式の新規ページを保存しますか？"},
    {5, "現在のページの内容をコピーして新規ページを作りますか？"},
    {6, "このページを削除してよろしいですか？"},
    {7, "このページの内容をクリアしてよろしいですか？"},
    // A new user would otherwise compute with the rules of long ago without knowing it.
    {kConfirmTodaysRules,
     "現在の税率と呼び値単位で計算しますか？\n\n"
     "消費税：10％\n所得税：15.315％\n住民税：5％\n呼び値単位：現在の呼び値（上場）\n\n"
     "「いいえ」を選ぶと初期値（消費税5％、所得税7％、住民税3％、以前の呼び値単位）のまま始めます。"
     "どちらも（各種設定）の「税率」と「計算時」でいつでも変えられます。"},
};

constexpr std::string_view kDefaultNotice = "エラーが発生しました";
// Where a notice names what it is about (a row of a table).
constexpr std::string_view kArgument = "%1";
constexpr std::string_view kDefaultConfirmation = "よろしいですか？";
// Number 2 asks a question the caller composes (for example the name of the table to delete).
constexpr int kCallerTextConfirmation = 2;

constexpr bool SortedByNumber(const auto& table) {
    return std::is_sorted(std::begin(table), std::end(table),
                          [](const NumberedText& a, const NumberedText& b) { return a.number < b.number; });
}
static_assert(SortedByNumber(kNotices));
static_assert(SortedByNumber(kConfirmations));

std::string_view Lookup(const auto& table, int number, std::string_view fallback) {
    const auto it = std::lower_bound(std::begin(table), std::end(table), number,
                                     [](const NumberedText& entry, int n) { return entry.number < n; });
    return it != std::end(table) && it->number == number ? it->text : fallback;
}

MessageIcon IconForNumber(int number) {
    if (number < 100) return MessageIcon::Information;
    if (number < 200) return MessageIcon::Warning;
    return MessageIcon::Error;
}

// Marks the catalogue busy while a box is open; restores the previous state so that a box
// opened from inside another one does not clear the flag of the outer box.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = previous_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

}  // namespace

std::string_view MessageCatalogue::NoticeText(int number) {
    return Lookup(kNotices, number, kDefaultNotice);
}

MessageBoxContent MessageCatalogue::Notice(int number, std::string_view detail) {
    MessageBoxContent box;
    box.title = std::string(kNoticeTitle);
    box.text = std::string(NoticeText(number));
    const bool named = box.text.find(kArgument) != std::string::npos;
    // Past each replacement, so a detail that itself holds "%1" cannot loop.
    for (std::size_t at = 0; (at = box.text.find(kArgument, at)) != std::string::npos; at += detail.size())
        box.text.replace(at, kArgument.size(), detail);
    box.text += "。";
    if (!named && !detail.empty()) {
        box.text += "\n";
        box.text += detail;
    }
    box.icon = IconForNumber(number);
    box.buttons = MessageButtons::Ok;
    box.defaultButton = 0;
    return box;
}

MessageBoxContent MessageCatalogue::Confirmation(int number, std::string_view text, bool okCancel) {
    MessageBoxContent box;
    box.title = std::string(kConfirmTitle);
    box.text = number == kCallerTextConfirmation ? std::string(text)
                                                 : std::string(Lookup(kConfirmations, number, kDefaultConfirmation));
    box.icon = MessageIcon::Question;
    if (number == kConfirmTodaysRules) {
        // Either answer is safe and there is no third way: Return takes the rules in force.
        box.buttons = MessageButtons::YesNo;
        box.defaultButton = 0;
        return box;
    }
    box.buttons = okCancel ? MessageButtons::OkCancel : MessageButtons::YesNoCancel;
    // The second button (Cancel or No), so that a stray Enter never confirms.
    box.defaultButton = 1;
    return box;
}

void MessageCatalogue::ShowMessage(int number, std::string_view detail) {
    current_ = number;
    if (presenter_ == nullptr) return;
    const MessageBoxContent box = Notice(number, detail);
    BusyScope busy(busy_);
    presenter_->Show(box);
}

MessageAnswer MessageCatalogue::AskConfirm(int number, std::string_view text, bool okCancel) {
    current_ = number;
    // Without anyone to ask, nothing is consented to.
    if (presenter_ == nullptr) return MessageAnswer::Cancel;
    const MessageBoxContent box = Confirmation(number, text, okCancel);
    BusyScope busy(busy_);
    return presenter_->Ask(box);
}

}  // namespace zavota
