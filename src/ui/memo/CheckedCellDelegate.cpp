#include "ui/memo/CheckedCellDelegate.h"

#include <QEvent>
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
    return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace zavota::ui
