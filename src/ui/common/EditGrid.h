// The string grid of the table editors: a header row, cells edited in place with the editor
// opened on the current cell, Delete emptying the current cell, a check of every change of a
// cell's text (message 229), and column widths as shares of the grid's client width.
#pragma once

#include <string>
#include <vector>

#include <QTableWidget>

#include "core/MessageCatalogue.h"
#include "core/RangeGrid.h"

namespace zavota::ui {

class EditGrid : public QTableWidget {
    Q_OBJECT
public:
    // `allowPoint`: "." counts as a digit in the typing check.
    EditGrid(int rows, const QStringList& headers, bool allowPoint, MessageCatalogue& messages,
             QWidget* parent = nullptr);

    // Widths of all columns but the last as shares of the client width (w·share/total); the last
    // takes the rest less `lastSlack` pixels.
    void SetColumnShares(std::vector<int> shares, int total, int lastSlack);

    GridTexts Cells() const;
    // Every cell emptied, then `rows` written from grid row 1; the typing check stays quiet.
    void Load(const std::vector<std::vector<std::string>>& rows);
    // Grid row 1 is the first row below the header.
    void SetCurrent(int gridRow, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CellChanged(QTableWidgetItem* item);
    void ApplyColumnWidths();

    MessageCatalogue& messages_;
    bool allowPoint_;
    bool loading_ = false;
    std::vector<int> shares_;
    int shareTotal_ = 1;
    int lastSlack_ = 0;
};

}  // namespace zavota::ui
