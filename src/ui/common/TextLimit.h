// Text fields kept within a byte limit in code page 932 (the motto, the table name): an edit
// that would not fit is undone, so nothing is ever stored cut or changed.
#pragma once

#include <cstddef>

#include <QObject>
#include <QString>

class QLineEdit;

namespace zavota {
class MessageCatalogue;
}

namespace zavota::ui {

class Cp932Keeper : public QObject {
    Q_OBJECT
public:
    // Checks the user's edits of `edit`: one that would leave more than `bytes` bytes is
    // undone; one that brings a character code page 932 lacks, or a control character, is
    // undone with message 200. A stored text is put in whole with setText (it is not cut);
    // while it does not fit, edits that only remove characters are still taken, so that the
    // user can shorten it.
    Cp932Keeper(QLineEdit* edit, std::size_t bytes, MessageCatalogue& messages);

    // Whether the field's text may be stored: for the commit, which refuses it with 200.
    bool Fits() const;

private:
    QLineEdit* edit_;
    std::size_t bytes_;
    MessageCatalogue& messages_;
};

}  // namespace zavota::ui
