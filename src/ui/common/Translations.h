// Qt's own dialogs and standard buttons in Japanese ("はい", "いいえ", "キャンセル").
#pragma once

class QApplication;

namespace zavota::ui {

// Loads Qt's Japanese translation when it is installed; true when it was found.
bool InstallJapaneseTranslations(QApplication& app);

}  // namespace zavota::ui
