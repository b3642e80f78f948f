#include "ui/memo/CheckedCellDelegate.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace zavota::ui {

CheckedCellDelegate::CheckedCellDelegate(Keep keep, int refusal, MessageCatalogue& messages, QObject* parent)
    : QStyledItemDelegate(parent), keep_(std::move(keep)), refusal_(refusal), messages_(messages) {}

QWidget* CheckedCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    const QVariant align = index.data(Qt::TextAlignmentRole);
    if (align.isValid()) editor->setAlignment(Qt::Alignment(align.toInt()));
    auto* self = const_cast<CheckedCellDelegate*>(this);
    const int column = index.column();
    connect(editor, &QLineEdit::textEdited, self, [self, editor, column] { self->Edited(editor, column); });
    return editor;
}

void CheckedCellDelegate::Edited(QWidget* editor, int column) {
    auto* line = static_cast<QLineEdit*>(editor);
    if (const std::optional<QString> kept = keep_(column, line->text())) {
        line->setText(*kept);
        // The message box takes the focus; the editor must stay open for the next keys.
        reporting_ = true;
        messages_.ShowMessage(refusal_);
        reporting_ = false;
    }
    // The cell holds what is on screen at every moment, so a button pressed meanwhile reads it.
    emit commitData(editor);
}

bool CheckedCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (reporting_ && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)) return false;
    if (event->type() == QEvent::KeyPress && EndsEditGoingDown(static_cast<QKeyEvent*>(event))) {
        auto* editor = qobject_cast<QWidget*>(watched);
        auto* view = qobject_cast<QAbstractItemView*>(parent());
        if (editor != nullptr && view != nullptr) {
            // Return ends the edit and goes down a row, as a column of figures is typed.
            const QModelIndex at = view->currentIndex();
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            const QModelIndex below = at.sibling(at.row() + 1, at.column());
            if (below.isValid()) view->setCurrentIndex(below);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

bool CheckedCellDelegate::EndsEditGoingDown(const QKeyEvent* key) {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    return enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace zavota::ui
