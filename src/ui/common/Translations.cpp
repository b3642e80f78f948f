#include "ui/common/Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zavota::ui {

bool InstallJapaneseTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ja"), folder)) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace zavota::ui
