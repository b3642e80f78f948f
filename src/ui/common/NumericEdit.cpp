#include "ui/common/NumericEdit.h"

#include <algorithm>

#include <QKeyEvent>

namespace zavota::ui {

NumericEdit::NumericEdit(FieldKind kind, MessageCatalogue* catalogue, QWidget* parent, int limit)
    : QLineEdit(parent), kind_(kind), catalogue_(catalogue), limit_(catalogue != nullptr ? std::max(limit, 0) : 0) {
    // Direct half-width entry: no input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
    if (catalogue_ != nullptr) connect(this, &QLineEdit::textChanged, this, &NumericEdit::CheckChange);
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    if (isReadOnly()) return QLineEdit::keyPressEvent(event);
    char32_t key = 0;
    if (event->matches(QKeySequence::Copy)) key = kKeyCopy;
    else if (event->matches(QKeySequence::Paste)) key = kKeyPaste;
    else if (event->matches(QKeySequence::Cut)) key = kKeyCut;
    else if (event->key() == Qt::Key_Backspace) key = kKeyBackspace;
    else if (!event->text().isEmpty() && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter &&
             event->key() != Qt::Key_Escape && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)
        key = event->text().toUcs4().value(0);
    // Keys that type nothing (arrows, Delete, Home, Enter for the default button) pass.
    if (key != 0 && !KeyAllowed(kind_, key)) {
        event->accept();
        return;
    }
    // A full field takes no more typed characters, silently, as a field of fixed length does;
    // only a paste that is too long is worth a message.
    const bool typed = key >= U' ';
    if (typed && limit_ > 0 && text().size() - selectedText().size() >= limit_) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericEdit::ShowStored(const std::string& text) {
    stored_ = true;
    setText(QString::fromStdString(text));
    stored_ = false;
}

void NumericEdit::CheckChange() {
    if (checking_) return;
    checking_ = true;
    const NormalisedText n = NormaliseOnChange(text().toStdString(), kind_, stored_ ? 0 : limit_);
    if (n.tooLong) {
        setText(accepted_);
        catalogue_->ShowMessage(200);
    } else if (n.refused) {
        clear();
        catalogue_->ShowMessage(200);
    } else if (QString::fromStdString(n.text) != text()) {
        const int cursor = cursorPosition() - (text().left(cursorPosition()).count(QLatin1Char(',')));
        setText(QString::fromStdString(n.text));
        setCursorPosition(cursor);
    }
    accepted_ = text();
    checking_ = false;
}

}  // namespace zavota::ui
