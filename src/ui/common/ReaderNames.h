// What a screen reader says for a control: the text of the label the user sees beside it.
#pragma once

class QComboBox;
class QLabel;
class QString;
class QTabBar;
class QWidget;

namespace zavota::ui {

// The label names the box: as its buddy, and as its accessible name, since a reader looks for
// a buddy only among the box's siblings and otherwise names a box inside a group box after
// the group.
void NameByLabel(QLabel* label, QWidget* box);

// A combo box named for the reader. Qt's own reader interface names a combo box on Linux by
// its current value, so the question would never be heard; this one keeps Qt's interface (the
// list, the actions, the value) and says the name as the name and the current choice as the
// value and as the box's text, announced on every change.
void NameCombo(QComboBox* combo, const QString& name);

// A tab strip named for the reader. Qt's own interface names a strip after its current tab,
// so the name would change with every switch; this one keeps the name and leaves the current
// tab to be heard as the selected child.
void NameStrip(QTabBar* strip, const QString& name);

}  // namespace zavota::ui
