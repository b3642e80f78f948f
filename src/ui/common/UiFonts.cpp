#include "ui/common/UiFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace zavota::ui {

QString FixedJapaneseFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"ＭＳ ゴシック", "MS Gothic", "Noto Sans Mono CJK JP", "IPAGothic", "VL Gothic"})
            if (installed.contains(QString::fromUtf8(name))) return QString::fromUtf8(name);
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

namespace {
QFont Fixed(int pixelSize) {
    QFont font(FixedJapaneseFamily());
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
}  // namespace

QFont CaptionFont() { return Fixed(12); }
QFont FigureFont() { return Fixed(15); }
QFont InputFont() { return Fixed(13); }

QFont NamedFont(const QString& family, int pixelSize) {
    if (!QFontDatabase::families().contains(family)) return Fixed(pixelSize);
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace zavota::ui
