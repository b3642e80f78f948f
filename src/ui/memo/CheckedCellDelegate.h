// The cell editor of the memo pad's number grids: every keystroke is checked while the cell is
// being edited, so a refused character is reported as it is typed and typing goes on after it.
#pragma once

#include <functional>
#include <optional>

#include <QStyledItemDelegate>

class QKeyEvent;

#include "core/MessageCatalogue.h"

namespace zavota::ui {

class CheckedCellDelegate : public QStyledItemDelegate {
public:
    // `keep` gives the text a cell of `column` keeps when it refuses `text`, nullopt to take it.
    using Keep = std::function<std::optional<QString>(int column, const QString& text)>;
    CheckedCellDelegate(Keep keep, int refusal, MessageCatalogue& messages, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Edited(QWidget* editor, int column);
    static bool EndsEditGoingDown(const QKeyEvent* key);

    Keep keep_;
    int refusal_;
    MessageCatalogue& messages_;
    bool reporting_ = false;
};

}  // namespace zavota::ui
