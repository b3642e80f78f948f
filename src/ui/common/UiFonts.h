// The fonts of the windows: a fixed-pitch Japanese face for inputs and figures.
#pragma once

#include <QFont>
#include <QString>

namespace zavota::ui {

// The face the windows use where the program names "ＭＳ ゴシック": the first installed of a
// few fixed-pitch Japanese faces.
QString FixedJapaneseFamily();
QFont CaptionFont();  // result captions and labels, 12 pixels
QFont FigureFont();   // result figures, 15 pixels
QFont InputFont();    // edit boxes

// A font for a family name from the settings, falling back to the fixed-pitch face when the
// name is not installed.
QFont NamedFont(const QString& family, int pixelSize);

}  // namespace zavota::ui
