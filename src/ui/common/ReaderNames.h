// What a screen reader says for a control: the text of the label the user sees beside it.
#pragma once

class QComboBox;
class QLabel;
class QString;
class QWidget;

namespace zavota::ui {

// The label names the box: as its buddy, and as its accessible name, since a reader looks for
// a buddy only among the box's siblings and otherwise names a box inside a group box after
// the group.
void NameByLabel(QLabel* label, QWidget* box);

// A combo box named for the reader. Qt's own reader interface names a combo box on Linux by
// its current value, so the question would never be heard; this one says the name and gives
// the value as the value.
void NameCombo(QComboBox* combo, const QString& name);

}  // namespace zavota::ui
