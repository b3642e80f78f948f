// The system dialogs the options pages open to choose something: the commission table file
// to write or read and a colour. Tests put their own answers in place of these.
#pragma once

#include <functional>

#include <QColor>
#include <QString>

class QWidget;

namespace zavota::ui {

struct DialogChoosers {
    // The file to export a table to, asking before an existing file is overwritten; empty
    // when the user cancels. `folder` is where the dialog starts, `name` the file name offered.
    std::function<QString(QWidget* parent, const QString& folder, const QString& name)> saveTableFile;
    // An existing file to import a table from; empty when the user cancels.
    std::function<QString(QWidget* parent, const QString& folder)> openTableFile;
    // A solid colour; an invalid colour when the user cancels.
    std::function<QColor(QWidget* parent, QColor initial)> chooseColour;

    DialogChoosers();  // Qt's own dialogs, in Japanese
};

}  // namespace zavota::ui
