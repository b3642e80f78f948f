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
    // undone with message 200.
    Cp932Keeper(QLineEdit* edit, std::size_t bytes, MessageCatalogue& messages);

    // Puts a stored text into the field; what the field cannot hold is left out.
    void SetText(const QString& text);

private:
    QLineEdit* edit_;
    std::size_t bytes_;
    MessageCatalogue& messages_;
};

}  // namespace zavota::ui
