#include "ui/common/EditGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace zavota::ui {

namespace {

constexpr int kMsgDigitsOnly = 229;

// Hands every keystroke of the cell editor to the cell at once, so that each change of the
// text is checked and a button pressed meanwhile reads what is on the screen.
class LiveCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setFont(option.font);  // typed text in the face of the cells around it
        auto* self = const_cast<LiveCellDelegate*>(this);
        connect(editor, &QLineEdit::textEdited, self, [self, editor] { emit self->commitData(editor); });
        return editor;
    }
};

}  // namespace

EditGrid::EditGrid(int rows, const QStringList& headers, bool allowPoint, MessageCatalogue& messages,
                   QWidget* parent)
    : QTableWidget(rows, static_cast<int>(headers.size()), parent), messages_(messages), allowPoint_(allowPoint) {
    setHorizontalHeaderLabels(headers);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
    setItemDelegate(new LiveCellDelegate(this));
    Load({});
    connect(this, &QTableWidget::itemChanged, this, &EditGrid::CellChanged);
}

void EditGrid::SetColumnShares(std::vector<int> shares, int total, int lastSlack) {
    shares_ = std::move(shares);
    shareTotal_ = total > 0 ? total : 1;
    lastSlack_ = lastSlack;
    ApplyColumnWidths();
}

void EditGrid::ApplyColumnWidths() {
    const int w = viewport()->width();
    int used = 0;
    for (int c = 0; c < columnCount() - 1 && c < static_cast<int>(shares_.size()); ++c) {
        const int width = w * shares_[static_cast<std::size_t>(c)] / shareTotal_;
        setColumnWidth(c, width);
        used += width;
    }
    if (columnCount() > 0) setColumnWidth(columnCount() - 1, std::max(w - used - lastSlack_, 10));
}

void EditGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    ApplyColumnWidths();
}

GridTexts EditGrid::Cells() const {
    GridTexts cells(static_cast<std::size_t>(rowCount()), std::vector<std::string>(static_cast<std::size_t>(columnCount())));
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (const QTableWidgetItem* it = item(r, c))
                cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = it->text().toStdString();
    return cells;
}

void EditGrid::Load(const std::vector<std::vector<std::string>>& rows) {
    loading_ = true;
    // A cell editor left open would write its old text back into the new rows.
    if (QWidget* editor = indexWidget(currentIndex())) closeEditor(editor, QAbstractItemDelegate::NoHint);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            QString text;
            if (r < static_cast<int>(rows.size()) && c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()))
                text = QString::fromStdString(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
            if (QTableWidgetItem* it = item(r, c)) it->setText(text);
            else setItem(r, c, new QTableWidgetItem(text));
        }
    loading_ = false;
}

void EditGrid::SetCurrent(int gridRow, int col) {
    if (gridRow < 1 || gridRow > rowCount() || col < 0 || col >= columnCount()) return;
    setCurrentCell(gridRow - 1, col);
    scrollToItem(item(gridRow - 1, col));
}

void EditGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        if (QTableWidgetItem* it = currentItem()) it->setText(QString());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void EditGrid::CellChanged(QTableWidgetItem* item) {
    if (loading_ || item == nullptr) return;
    if (CellNeedsDigits(item->text().toStdString(), allowPoint_)) messages_.ShowMessage(kMsgDigitsOnly);
}

}  // namespace zavota::ui
